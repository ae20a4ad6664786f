// PelmixScanExec's batches: the choice of source, the per-page callback and its stop flag,
// cancelled transfers, batches that keep the source open, and page files.
#include "acquisition_fixture.h"
#include "temp_dir.h"

#include <filesystem>

namespace {

using namespace acqtest;
using fakedsm::Page;

// What the page callback saw, page by page.
struct CallbackLog {
    std::vector<std::vector<uint8_t>> images;
    std::vector<HGLOBAL> handles;
    std::vector<int32_t> counters;
    std::vector<int32_t> stopOnEntry;
    int stopAtPage = 0; // set the stop flag on this page (1-based), 0 never
};

CallbackLog* callbackLog = nullptr;

void PMXACQ_CALL recordPage(HGLOBAL* image, int32_t* counter, int32_t* stop) {
    callbackLog->handles.push_back(*image);
    callbackLog->images.push_back(blockBytes(*image));
    callbackLog->counters.push_back(*counter);
    callbackLog->stopOnEntry.push_back(*stop);
    if (callbackLog->stopAtPage == *counter) {
        *stop = 1;
    }
}

class ExecBatch : public Acquisition {
protected:
    void SetUp() override {
        Acquisition::SetUp();
        callbackLog = &log_;
    }
    void TearDown() override {
        callbackLog = nullptr;
        Acquisition::TearDown();
    }

    CallbackLog log_;
};

TEST_F(ExecBatch, ChoosesTheSourceByName) {
    fake().script.sources = {"Alpha", "Fake Scanner", "Scanner B"};
    const auto opened = [] {
        for (const fakedsm::Call& call : fake().calls) {
            if (call.msg == MSG_OPENDS && call.dat == DAT_IDENTITY) {
                return call.identityName;
            }
        }
        return std::string("(not opened)");
    };
    ScanExecParam p = execParam();
    p.sourceName = "Scanner B";
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(opened(), "Scanner B");
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT), 0u);

    fake().calls.clear();
    fake().script.notices = {MSG_CLOSEDSREQ};
    p = execParam();
    p.sourceName = "";
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT), 1u);
    EXPECT_EQ(opened(), "Fake Scanner");

    fake().calls.clear();
    fake().script.notices = {MSG_CLOSEDSREQ};
    p = execParam();
    p.sourceName = nullptr;
    PelmixScanExec(window(), &p, nullptr);
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT), 0u);
    EXPECT_EQ(opened(), "");
}

TEST_F(ExecBatch, CallbackSeesEveryPageWithItsCounter) {
    oneBatch(3);
    fake().setCap(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_PALETTE);
    fake().setCapFix32(ICAP_XRESOLUTION, 600);
    fake().script.layout.Frame.Right = fix32(4.5);
    ScanExecParam p = execParam(PMXACQ_GRAY);
    p.mode = 1;
    EXPECT_EQ(PelmixScanExec(window(), &p, &recordPage), 3);
    EXPECT_EQ(p.result, PMXACQ_OK);
    EXPECT_EQ(log_.counters, (std::vector<int32_t>{1, 2, 3}));
    EXPECT_EQ(log_.stopOnEntry, (std::vector<int32_t>{0, 0, 0}));
    ASSERT_EQ(log_.images.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(log_.images[i], repacked(Page(), i + 1)) << "page " << i + 1;
        EXPECT_TRUE(freed(log_.handles[i])) << "released after the callback";
    }
    // The frame is set again before every transfer.
    const std::vector<std::string> names = fake().names();
    for (size_t i = 0; i < names.size(); ++i) {
        if (names[i] == "XFER") {
            ASSERT_GT(i, 0u);
            EXPECT_EQ(names[i - 1], "SET FRAME");
        }
    }
    for (const fakedsm::Call& call : fake().calls) {
        if (call.dat == DAT_IMAGELAYOUT && call.msg == MSG_SET) {
            EXPECT_EQ(call.layout.Frame.Top.Whole, -2);
            EXPECT_EQ(call.layout.Frame.Top.Frac, 0xC001);
            EXPECT_EQ(call.layout.Frame.Bottom.Whole, 300);
        }
    }
    // Refreshed from the source after the batch.
    EXPECT_EQ(p.pixelType, PMXACQ_PALETTE);
    EXPECT_FLOAT_EQ(p.resolution, 600.0f);
    EXPECT_FLOAT_EQ(p.frameRight, 4.5f);
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());
}

TEST_F(ExecBatch, StopFlagEndsTheBatchWithoutAnotherTransfer) {
    oneBatch(4);
    log_.stopAtPage = 2;
    ScanExecParam p = execParam();
    EXPECT_EQ(PelmixScanExec(window(), &p, &recordPage), 2);
    EXPECT_EQ(p.result, PMXACQ_CANCELLED);
    EXPECT_EQ(fake().count(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET), 2u);
    ASSERT_EQ(log_.handles.size(), 2u);
    EXPECT_TRUE(freed(log_.handles[1]));
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());
    expectAllClosed();

    // The next call starts uncancelled.
    restart();
    log_ = CallbackLog();
    oneBatch(1);
    p = execParam();
    EXPECT_EQ(PelmixScanExec(window(), &p, &recordPage), 1);
    EXPECT_EQ(p.result, PMXACQ_OK);
}

TEST_F(ExecBatch, CancelledTransferIsNotCounted) {
    Page cancelled;
    cancelled.result = TWRC_CANCEL;
    fake().script.notices = {MSG_XFERREADY};
    fake().script.batches = {{Page(), cancelled, Page()}};
    ScanExecParam p = execParam();
    EXPECT_EQ(PelmixScanExec(window(), &p, &recordPage), 2);
    EXPECT_EQ(p.result, PMXACQ_CANCELLED);
    EXPECT_EQ(log_.counters, (std::vector<int32_t>{1, 2}));
}

TEST_F(ExecBatch, ModeZeroKeepsTheSourceOpenForMoreBatches) {
    fake().script.notices = {MSG_XFERREADY, MSG_XFERREADY, MSG_CLOSEDSREQ};
    fake().addBatch(2);
    fake().addBatch(3);
    ScanExecParam p = execParam();
    p.mode = 0;
    EXPECT_EQ(PelmixScanExec(window(), &p, &recordPage), 5);
    EXPECT_EQ(log_.counters, (std::vector<int32_t>{1, 2, 3, 4, 5}));
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());

    restart();
    log_ = CallbackLog();
    fake().script.notices = {MSG_XFERREADY, MSG_XFERREADY, MSG_CLOSEDSREQ};
    fake().addBatch(2);
    fake().addBatch(3);
    p = execParam();
    p.mode = 1;
    EXPECT_EQ(PelmixScanExec(window(), &p, &recordPage), 2) << "mode 1 takes one batch";
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());
}

TEST_F(ExecBatch, WritesPageFilesAndCountsWithoutThem) {
    TempDir folder;
    const std::string base = folder.file("EXEC");
    oneBatch(2);
    ScanExecParam p = execParam();
    p.baseName = base.c_str();
    EXPECT_EQ(PelmixScanExec(window(), &p, nullptr), 2);
    EXPECT_TRUE(std::filesystem::exists(base + ".000"));
    EXPECT_TRUE(std::filesystem::exists(base + ".001"));
    EXPECT_FALSE(std::filesystem::exists(base + ".002"));

    restart();
    oneBatch(3);
    p = execParam();
    p.baseName = "";
    EXPECT_EQ(PelmixScanExec(window(), &p, nullptr), 3);
    for (HGLOBAL block : fake().imagesHandedOut) {
        EXPECT_TRUE(freed(block));
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()),
                            std::filesystem::directory_iterator()),
              2);
}

TEST_F(ExecBatch, TooLongBaseNameWritesNothing) {
    TempDir folder;
    const std::string base = folder.path() + "/" + std::string(300, 'x');
    oneBatch(1);
    ScanExecParam p = execParam();
    p.baseName = base.c_str();
    EXPECT_EQ(PelmixScanExec(window(), &p, nullptr), 0);
    EXPECT_TRUE(std::filesystem::is_empty(folder.path()));
}

} // namespace
