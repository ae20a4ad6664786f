// Messages between threads: waking a waiting GetMessageA and routing windows to their threads.
#include "watchdog.h"
#include "queue_fixture.h"
#include "winport.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

const HWND unboundWindow = reinterpret_cast<HWND>(0x3000);
const HWND workerWindow = reinterpret_cast<HWND>(0x4000);

// The main thread is the first to use a queue, so it is the user-interface thread.
class MessageThreads : public QueueTest {};

// A host event loop stand-in: one pass waits until woken (or gives up after a while).
struct HostLoop {
    std::mutex mutex;
    std::condition_variable changed;
    bool pumping = false;
    bool woken = false;
    int pumpCalls = 0;
    int wakeCalls = 0;
    bool gaveUp = false;
    std::thread::id wakeThread;
};

void hostPump(void* context) {
    auto* loop = static_cast<HostLoop*>(context);
    std::unique_lock<std::mutex> lock(loop->mutex);
    ++loop->pumpCalls;
    loop->pumping = true;
    loop->changed.notify_all();
    if (!loop->changed.wait_for(lock, 5s, [loop] { return loop->woken; })) {
        loop->gaveUp = true;
    }
    loop->woken = false;
}

void hostWake(void* context) {
    auto* loop = static_cast<HostLoop*>(context);
    std::lock_guard<std::mutex> lock(loop->mutex);
    ++loop->wakeCalls;
    loop->wakeThread = std::this_thread::get_id();
    loop->woken = true;
    loop->changed.notify_all();
}

TEST_F(MessageThreads, PostFromAnotherThreadWakesTheWaitingPump) {
    Watchdog watchdog(20s);
    HostLoop loop;
    WinportSetMessagePump(hostPump, hostWake, &loop);

    std::thread poster([&loop] {
        {
            std::unique_lock<std::mutex> lock(loop.mutex);
            loop.changed.wait(lock, [&loop] { return loop.pumping; });
        }
        PostMessageA(unboundWindow, WM_USER + 1, 5, 0);
    });
    MSG msg;
    ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
    poster.join();

    EXPECT_EQ(msg.message, WM_USER + 1);
    EXPECT_EQ(msg.wParam, 5u);
    EXPECT_FALSE(loop.gaveUp) << "the wake function did not end the pump's wait";
    EXPECT_EQ(loop.pumpCalls, 1) << "no pumping once the message had arrived";
    EXPECT_EQ(loop.wakeCalls, 1);
    EXPECT_NE(loop.wakeThread, std::this_thread::get_id());

    // A post from the thread itself needs no wake-up.
    PostMessageA(nullptr, WM_USER + 2, 0, 0);
    EXPECT_EQ(loop.wakeCalls, 1);
}

TEST_F(MessageThreads, PostFromAnotherThreadWakesASleepingGetMessage) {
    Watchdog watchdog(20s);
    // A pump registered and removed again: GetMessageA must sleep, not pump.
    HostLoop loop;
    WinportSetMessagePump(hostPump, hostWake, &loop);
    WinportSetMessagePump(nullptr, hostWake, &loop);

    for (int round = 0; round < 20; ++round) {
        std::thread poster([round] {
            std::this_thread::sleep_for(std::chrono::milliseconds(round % 4 == 0 ? 20 : 0));
            PostMessageA(unboundWindow, WM_USER, static_cast<WPARAM>(round), 0);
        });
        MSG msg;
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        EXPECT_EQ(msg.wParam, static_cast<WPARAM>(round));
        poster.join();
    }
    EXPECT_EQ(loop.pumpCalls, 0);
    EXPECT_EQ(loop.wakeCalls, 0);
}

TEST_F(MessageThreads, WindowsRouteToTheThreadThatBoundThem) {
    Watchdog watchdog(20s);
    std::atomic<bool> bound{false};
    MSG workerGot{};
    MSG workerOwn{};
    bool workerOwnFound = false;

    std::thread worker([&] {
        WinportBindWindow(workerWindow);
        bound = true;
        GetMessageA(&workerGot, nullptr, 0, 0);
        // Posting to no window reaches the poster's own queue, and an unbound window the
        // user-interface thread's.
        PostMessageA(nullptr, WM_USER + 3, 0, 0);
        PostMessageA(unboundWindow, WM_USER + 4, 0, 0);
        workerOwnFound = PeekMessageA(&workerOwn, nullptr, 0, 0, PM_REMOVE) != FALSE;
    });
    while (!bound) {
        std::this_thread::yield();
    }
    EXPECT_TRUE(PostMessageA(unboundWindow, WM_USER + 2, 0, 0));
    EXPECT_TRUE(PostMessageA(workerWindow, WM_USER + 1, 0, 0));
    worker.join();

    EXPECT_EQ(workerGot.hwnd, workerWindow);
    EXPECT_EQ(workerGot.message, WM_USER + 1);
    ASSERT_TRUE(workerOwnFound);
    EXPECT_EQ(workerOwn.message, WM_USER + 3);

    MSG msg;
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 2);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 4);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    // The worker has ended: its window's messages are dropped, not delivered here.
    EXPECT_TRUE(PostMessageA(workerWindow, WM_USER + 5, 0, 0));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));

    // Once unbound, the window is like any other: its messages come here.
    WinportUnbindWindow(workerWindow);
    PostMessageA(workerWindow, WM_USER + 6, 0, 0);
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, WM_USER + 6);
}

TEST_F(MessageThreads, ManyPostersLoseNothing) {
    Watchdog watchdog(60s);
    constexpr int posters = 4;
    constexpr int perPoster = 500;
    std::vector<std::thread> threads;
    for (int p = 0; p < posters; ++p) {
        threads.emplace_back([p] {
            for (int i = 0; i < perPoster; ++i) {
                PostMessageA(unboundWindow, WM_USER, static_cast<WPARAM>(p),
                             static_cast<LPARAM>(i));
            }
        });
    }
    int next[posters] = {};
    for (int received = 0; received < posters * perPoster; ++received) {
        MSG msg;
        ASSERT_EQ(GetMessageA(&msg, nullptr, 0, 0), TRUE);
        ASSERT_LT(msg.wParam, static_cast<WPARAM>(posters));
        // Each poster's messages keep their order.
        EXPECT_EQ(msg.lParam, next[msg.wParam]++);
    }
    for (std::thread& t : threads) {
        t.join();
    }
}

} // namespace
