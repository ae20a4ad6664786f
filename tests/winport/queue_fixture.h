// Starts and ends every queue test with the calling thread's queue empty and no pump.
#pragma once

#include "winport.h"

#include <gtest/gtest.h>

class QueueTest : public ::testing::Test {
protected:
    void SetUp() override { drain(); }
    void TearDown() override {
        WinportSetMessagePump(nullptr, nullptr, nullptr);
        drain();
    }
    static void drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
};
