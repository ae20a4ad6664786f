// The memory budget the decoding threads share: a decode over it waits for what runs to finish,
// one larger than all of it still runs alone, and the window's decode goes before the workers'.
#include "decode_budget.h"

#include <chrono>
#include <gtest/gtest.h>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

class Events {
public:
    void add(const std::string& event) {
        std::lock_guard lock(mutex_);
        events_.push_back(event);
    }
    std::string all() const {
        std::lock_guard lock(mutex_);
        std::string joined;
        for (const std::string& event : events_) {
            joined += (joined.empty() ? "" : " ") + event;
        }
        return joined;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> events_;
};

// Waits until count decodes wait for their share: the order is set by the budget's own state,
// whatever the machine's speed.
void untilWaiting(const DecodeBudget& budget, int count) {
    while (budget.waiting() < count) {
        std::this_thread::sleep_for(1ms);
    }
}

// Takes bytes, notes when it got them, holds them a moment and gives them back.
std::thread decode(DecodeBudget& budget, Events& events, const std::string& name, qint64 bytes,
                   bool urgent) {
    return std::thread([&budget, &events, name, bytes, urgent] {
        const DecodeBudget::Share share = budget.take(bytes, urgent);
        events.add(name);
        std::this_thread::sleep_for(20ms);
        events.add(name + "-done");
    });
}

TEST(DecodeBudgetTest, APictureLargerThanTheBudgetIsDecodedAloneAndNothingJoinsIt) {
    DecodeBudget budget(100);
    Events events;
    std::thread worker;
    {
        const DecodeBudget::Share large = budget.take(1000, false); // nothing held: no wait
        EXPECT_EQ(budget.held(), 1000);
        worker = decode(budget, events, "small", 1, false);
        untilWaiting(budget, 1);
        events.add("large-done");
    }
    worker.join();
    EXPECT_EQ(events.all(), "large-done small small-done");
    EXPECT_EQ(budget.held(), 0);
}

TEST(DecodeBudgetTest, TheWindowsDecodeGoesBeforeTheWorkersWaiting) {
    DecodeBudget budget(100);
    Events events;
    std::thread worker, window;
    {
        const DecodeBudget::Share running = budget.take(80, false);
        worker = decode(budget, events, "worker", 50, false); // 80 + 50: over the budget
        untilWaiting(budget, 1);
        window = decode(budget, events, "window", 60, true);
        untilWaiting(budget, 2);
        events.add("running-done");
    }
    window.join();
    worker.join();
    // The window's decode waited only for the one running; the worker's, which does not fit
    // beside it, for the window's.
    EXPECT_EQ(events.all(), "running-done window window-done worker worker-done");
}

} // namespace
