// The library's own message loop: the caller's other window messages keep flowing while the
// source is active, and WM_QUIT ends the loop without leaving the source or manager open.
#include "acquisition_fixture.h"
#include "temp_dir.h"

#include <algorithm>

namespace {

using namespace acqtest;

const UINT callerMessage = WM_USER + 5;

std::vector<UINT>* dispatched = nullptr;

LRESULT recordMessage(HWND, UINT message, WPARAM, LPARAM) {
    if (dispatched != nullptr) {
        dispatched->push_back(message);
    }
    return 0;
}

class MessageLoop : public Acquisition {
protected:
    void SetUp() override {
        Acquisition::SetUp();
        dispatched = &messages_;
        WinportSetWindowProc(window(), &recordMessage);
    }
    void TearDown() override {
        WinportSetWindowProc(window(), nullptr);
        dispatched = nullptr;
        Acquisition::TearDown();
    }

    std::vector<UINT> messages_;
};

TEST_F(MessageLoop, CallersMessagesAreOfferedToTheSourceThenDispatched) {
    fake().script.notices = {MSG_XFERREADY};
    fake().addBatch(1);
    PostMessageA(window(), callerMessage, 1, 2);
    ScanInfo info{};
    HGLOBAL image = PelmixScan(window(), &info);
    ASSERT_NE(image, nullptr);
    GlobalFree(image);
    ASSERT_FALSE(messages_.empty());
    EXPECT_EQ(messages_.front(), callerMessage);
    EXPECT_EQ(std::count(messages_.begin(), messages_.end(), fakedsm::noticeMessage()), 0)
        << "source events are not dispatched";
    bool offered = false;
    for (const fakedsm::Call& call : fake().calls) {
        offered = offered || (call.msg == MSG_PROCESSEVENT && call.eventMessage == callerMessage);
    }
    EXPECT_TRUE(offered);
}

TEST_F(MessageLoop, QuitEndsTheLoopAndTheCallStillTearsDown) {
    TempDir folder;
    fake().script.notices.clear(); // the source never says anything
    PostQuitMessage(0);
    EXPECT_EQ(PelmixScanMulti(window(), folder.file("ORVA_TMP").c_str()), 0);
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());
    expectAllClosed();
}

} // namespace
