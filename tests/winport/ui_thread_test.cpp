// Which thread is the user-interface thread: the first one that uses a queue, whichever it is.
#include "watchdog.h"
#include "winport.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace {

using namespace std::chrono_literals;

const HWND unboundWindow = reinterpret_cast<HWND>(0x5000);

// The only test of this program, so that no other test has claimed a queue before it.
TEST(UserInterfaceThread, IsTheFirstThreadToUseAQueue) {
    Watchdog watchdog(20s);
    std::atomic<bool> claimed{false};
    MSG got{};
    std::thread first([&] {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
        claimed = true;
        GetMessageA(&got, nullptr, 0, 0);
    });
    while (!claimed) {
        std::this_thread::yield();
    }
    // The main thread uses a queue only now: a window nobody bound still belongs to the first.
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    PostMessageA(unboundWindow, WM_USER + 1, 0, 0);
    first.join();
    EXPECT_EQ(got.message, WM_USER + 1);
    EXPECT_EQ(got.hwnd, unboundWindow);

    // With that thread gone, such messages are dropped rather than handed to another thread.
    EXPECT_TRUE(PostMessageA(unboundWindow, WM_USER + 2, 0, 0));
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
}

} // namespace
