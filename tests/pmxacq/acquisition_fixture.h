// Shared set-up of the acquisition library's tests: the library loads the scripted fake manager
// (linked into this program, so its record survives the library's FreeLibrary), the test's window
// belongs to this thread's queue, and a watchdog fails a test whose message loop never ends.
#pragma once

#include "../winport/watchdog.h"
#include "fake_dsm.h"
#include "pmxacq.h"
#include "temp_dir.h"

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace acqtest {

// A window value that points at itself: whether the manager is handed the window or the address
// of a variable holding it, reading the data as HWND* gives the window back.
inline HWND testWindow() {
    static void* self = &self;
    return reinterpret_cast<HWND>(&self);
}

// TW_FIX32 as the wire carries it: (x * 65536 + 0.5) truncated, split into halves.
inline TW_FIX32 fix32(double x) {
    const auto v = static_cast<int32_t>(x * 65536.0 + 0.5);
    return TW_FIX32{static_cast<TW_INT16>(v >> 16), static_cast<TW_UINT16>(v & 0xFFFF)};
}

inline TW_FIX32 itemAsFix32(const fakedsm::Call& call) {
    TW_FIX32 fix{};
    std::memcpy(&fix, &call.item, sizeof(fix));
    return fix;
}

inline std::vector<uint8_t> blockBytes(HGLOBAL block) {
    std::vector<uint8_t> bytes;
    const SIZE_T size = GlobalSize(block);
    const auto* p = static_cast<const uint8_t*>(GlobalLock(block));
    if (p != nullptr) {
        bytes.assign(p, p + size);
        GlobalUnlock(block);
    }
    return bytes;
}

// A page as the library must hand it on: the source's bytes with biSizeImage filled in.
inline std::vector<uint8_t> repacked(const fakedsm::Page& page, int pattern) {
    std::vector<uint8_t> bytes = fakedsm::pageBytes(page, pattern);
    const auto size =
        static_cast<uint32_t>(fakedsm::rowBytes(page.width, page.bitCount) * page.height);
    std::memcpy(&bytes[20], &size, sizeof(size));
    return bytes;
}

inline bool freed(HGLOBAL block) {
    return GlobalFlags(block) == GMEM_INVALID_HANDLE;
}

inline void drainQueue() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

struct Box {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
};

class Acquisition : public ::testing::Test {
protected:
    void SetUp() override {
        setenv("ORVANA_WINDOWS_DIR", FAKE_DSM_DIR, 1);
        // Pages a test's folder refuses land here, never in the user's own data folder.
        setenv("ORVANA_KEPT_DIR", kept_.path().c_str(), 1);
        fake().reset();
        WinportBindWindow(window());
        WinportSetMessageBoxHandler(&Acquisition::recordBox, &boxes_);
        drainQueue();
    }

    void TearDown() override {
        WinportSetMessageBoxHandler(nullptr, nullptr);
        drainQueue();
        setenv("ORVANA_WINDOWS_DIR", FAKE_DSM_DIR, 1);
        unsetenv("ORVANA_KEPT_DIR");
    }

    static fakedsm::FakeDsm& fake() { return fakedsm::FakeDsm::instance(); }

    // A fresh script for a further call in the same test, without notices left from the last.
    static void restart() {
        fake().reset();
        drainQueue();
    }
    static HWND window() { return testWindow(); }

    // Scripts one batch of pages delivered after the source is enabled, then the source closing.
    static void oneBatch(int pages, const fakedsm::Page& page = fakedsm::Page()) {
        fake().script.notices = {MSG_XFERREADY, MSG_CLOSEDSREQ};
        fake().addBatch(pages, page);
    }

    void expectAllClosed() const {
        EXPECT_FALSE(fake().sourceEnabled());
        EXPECT_FALSE(fake().sourceOpen());
        EXPECT_FALSE(fake().managerOpen());
    }

    static std::vector<std::string> fullLifecycle() {
        return {"OPENDSM", "OPENDS", "ENABLEDS", "DISABLEDS", "CLOSEDS", "CLOSEDSM"};
    }

    std::vector<Box> boxes_;
    TempDir kept_;

private:
    static int recordBox(void* context, HWND owner, LPCSTR text, LPCSTR caption, UINT type) {
        static_cast<std::vector<Box>*>(context)->push_back(Box{owner, text, caption, type});
        return IDOK;
    }

    Watchdog watchdog_{std::chrono::seconds(20)};
};

// A mode-2 record with every field in range.
inline ScanExecParam execParam(int16_t pixelType = PMXACQ_RGB) {
    ScanExecParam p{};
    p.pixelType = pixelType;
    p.frameLeft = 0.5f;
    p.frameTop = -1.25f;
    p.frameRight = 8.0f;
    p.frameBottom = 300.0f;
    p.resolution = 300.0f;
    p.bitDepth = pixelType == PMXACQ_BW ? 1 : pixelType == PMXACQ_RGB ? 24 : 8;
    p.brightness = -20;
    p.contrast = 35;
    p.gamma = 2.25f;
    p.highlight = 240;
    p.threshold = 100;
    p.shadow = 12;
    p.indicators = 1;
    p.feeder = 0;
    p.baseName = nullptr;
    p.sourceName = "";
    p.mode = 2;
    p.result = -1;
    return p;
}

} // namespace acqtest
