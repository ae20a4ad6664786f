// The calling thread's own queue: order, filters, WM_QUIT, the pump and window procedures.
#include "queue_fixture.h"
#include "winport.h"

#include <gtest/gtest.h>

namespace {

const HWND windowA = reinterpret_cast<HWND>(0x1000);
const HWND windowB = reinterpret_cast<HWND>(0x2000);

class MessageQueue : public QueueTest {};

TEST_F(MessageQueue, DeliversPostedMessagesInOrder) {
    for (UINT i = 1; i <= 3; ++i) {
        EXPECT_TRUE(PostMessageA(nullptr, WM_USER + i, i * 10, -static_cast<LPARAM>(i)));
    }
    DWORD lastTime = 0;
    for (UINT i = 1; i <= 3; ++i) {
        MSG msg;
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_EQ(msg.hwnd, nullptr);
        EXPECT_EQ(msg.message, WM_USER + i);
        EXPECT_EQ(msg.wParam, i * 10);
        EXPECT_EQ(msg.lParam, -static_cast<LPARAM>(i));
        EXPECT_GE(msg.time, lastTime);
        EXPECT_EQ(msg.pt.x, 0);
        EXPECT_EQ(msg.pt.y, 0);
        lastTime = msg.time;
    }
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(GetMessageA(nullptr, nullptr, 0, 0), -1);
    EXPECT_FALSE(PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE));
}

TEST_F(MessageQueue, FiltersByWindowAndMessageRange) {
    PostMessageA(windowA, WM_USER + 1, 1, 0);
    PostMessageA(windowB, WM_USER + 2, 2, 0);
    PostMessageA(windowA, WM_USER + 3, 3, 0);
    PostMessageA(nullptr, WM_CLOSE, 4, 0);
    MSG msg;

    // Looking without removing leaves the message for later.
    ASSERT_TRUE(PeekMessageA(&msg, windowB, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 2u);
    ASSERT_TRUE(PeekMessageA(&msg, windowB, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.wParam, 2u);

    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 3, WM_USER + 9, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 3u);
    ASSERT_EQ(GetMessageA(&msg, windowA, 0, 0), TRUE);
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_FALSE(PeekMessageA(&msg, windowA, 0, 0, PM_REMOVE));
    EXPECT_FALSE(PeekMessageA(&msg, windowB, WM_USER + 3, WM_USER + 9, PM_REMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_CLOSE, WM_CLOSE, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 4u);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.hwnd, windowB);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
}

TEST_F(MessageQueue, QuitComesOnlyAfterTheOtherMessages) {
    PostQuitMessage(7);
    PostMessageA(windowA, WM_USER, 1, 0);
    PostMessageA(nullptr, WM_USER + 1, 2, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_USER);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_USER);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_USER + 1);

    // Peeking without removing leaves the quit request in place.
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE));
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(msg.wParam, 7u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE)) << "delivered once";
}

TEST_F(MessageQueue, QuitPassesEveryFilter) {
    PostMessageA(windowA, WM_USER, 0, 0);
    PostQuitMessage(-3);
    MSG msg;
    // Nothing else is accepted by this filter, so the quit request is due at once.
    EXPECT_EQ(GetMessageA(&msg, windowB, WM_CLOSE, WM_CLOSE), FALSE);
    EXPECT_EQ(msg.message, WM_QUIT);
    EXPECT_EQ(static_cast<int>(msg.wParam), -3);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER);

    // A WM_QUIT posted like any message also ends the loop and is not filtered out.
    PostMessageA(nullptr, WM_QUIT, 9, 0);
    EXPECT_EQ(GetMessageA(&msg, windowB, WM_USER, WM_USER), FALSE);
    EXPECT_EQ(msg.wParam, 9u);
}

struct PumpState {
    int calls = 0;
    int postOnCall = 0;
    bool ranWithMessageWaiting = false;
};

void countingPump(void* context) {
    auto* state = static_cast<PumpState*>(context);
    ++state->calls;
    MSG waiting;
    if (PeekMessageA(&waiting, nullptr, 0, 0, PM_NOREMOVE)) {
        state->ranWithMessageWaiting = true;
    }
    if (state->calls == state->postOnCall) {
        PostMessageA(nullptr, WM_USER + 5, 0, 0); // the host's event turned into a message
    }
}

TEST_F(MessageQueue, PumpRunsOnlyWhileTheQueueIsEmpty) {
    PumpState state;
    state.postOnCall = 3;
    WinportSetMessagePump(countingPump, nullptr, &state);

    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(state.calls, 0) << "PeekMessageA never pumps";

    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_USER + 5);
    EXPECT_EQ(state.calls, 3) << "the pump stops as soon as the message is there";
    EXPECT_FALSE(state.ranWithMessageWaiting);

    PostMessageA(nullptr, WM_USER + 6, 0, 0);
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_EQ(msg.message, WM_USER + 6);
    EXPECT_EQ(state.calls, 3) << "a waiting message is taken without pumping";

    // A message that does not pass the filter does not stop the pump.
    PostMessageA(windowA, WM_USER + 7, 0, 0);
    state.postOnCall = 5;
    ASSERT_EQ(GetMessageA(&msg, nullptr, WM_USER + 5, WM_USER + 5), TRUE);
    EXPECT_EQ(state.calls, 5);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 7);
}

struct Dispatched {
    HWND hwnd = nullptr;
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};
Dispatched lastDispatched;

LRESULT recordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    lastDispatched = Dispatched{hwnd, message, wParam, lParam};
    return 1000 + static_cast<LRESULT>(message);
}

TEST_F(MessageQueue, DispatchCallsTheWindowProcedure) {
    WinportSetWindowProc(windowA, recordingProc);
    PostMessageA(windowA, WM_USER + 2, 11, 22);
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    EXPECT_FALSE(TranslateMessage(&msg));
    EXPECT_EQ(DispatchMessageA(&msg), 1000 + static_cast<LRESULT>(WM_USER + 2));
    EXPECT_EQ(lastDispatched.hwnd, windowA);
    EXPECT_EQ(lastDispatched.message, WM_USER + 2);
    EXPECT_EQ(lastDispatched.wParam, 11u);
    EXPECT_EQ(lastDispatched.lParam, 22);

    lastDispatched = Dispatched{};
    msg.hwnd = windowB; // no procedure
    EXPECT_EQ(DispatchMessageA(&msg), 0);
    EXPECT_EQ(DispatchMessageA(nullptr), 0);
    EXPECT_EQ(lastDispatched.hwnd, nullptr);

    msg.hwnd = windowA;
    WinportSetWindowProc(windowA, nullptr);
    EXPECT_EQ(DispatchMessageA(&msg), 0);

    // Unbinding a window forgets its procedure too.
    WinportBindWindow(windowB);
    WinportSetWindowProc(windowB, recordingProc);
    msg.hwnd = windowB;
    EXPECT_NE(DispatchMessageA(&msg), 0);
    WinportUnbindWindow(windowB);
    EXPECT_EQ(DispatchMessageA(&msg), 0);
}

} // namespace
