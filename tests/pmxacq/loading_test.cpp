// Loading and unloading the manager, the application identity, and the way every call ends after
// each point of failure: what is torn down, in which order, and which result code is written.
#include "acquisition_fixture.h"
#include "temp_dir.h"

#include <algorithm>
#include <dlfcn.h>
#include <filesystem>

namespace {

using namespace acqtest;

const char missingText[] = "TWAIN_32.DLL が Windows にインストールされていません．";

class Loading : public Acquisition {};

TEST_F(Loading, MissingManagerShowsOneErrorBoxPerCallAndReturnsZero) {
    TempDir empty;
    setenv("ORVANA_WINDOWS_DIR", empty.path().c_str(), 1);

    ScanInfo info{};
    ScanExecParam param = execParam();
    param.result = 77;
    char buffer[8] = "untouch";
    EXPECT_EQ(PelmixScanSelect(window()), 0);
    EXPECT_EQ(PelmixScanListLen(window()), 0);
    EXPECT_EQ(PelmixScanList(window(), buffer), 0);
    EXPECT_EQ(PelmixScan(window(), &info), nullptr);
    EXPECT_EQ(PelmixScanEasy(window(), &info), nullptr);
    EXPECT_EQ(PelmixScanExec(window(), &param, nullptr), 0);
    EXPECT_EQ(PelmixScanMulti(window(), empty.file("ORVA_TMP").c_str()), 0);

    EXPECT_STREQ(buffer, "untouch");
    EXPECT_TRUE(param.result == 77 || param.result == PMXACQ_OK)
        << "no failure code is written when the manager is missing: " << param.result;
    ASSERT_EQ(boxes_.size(), 7u);
    for (const Box& box : boxes_) {
        EXPECT_EQ(box.caption, "エラー");
        EXPECT_EQ(box.text, missingText);
        EXPECT_EQ(box.type & MB_ICONMASK, MB_ICONERROR);
        EXPECT_EQ(box.owner, window());
    }
    EXPECT_TRUE(fake().calls.empty());
    EXPECT_TRUE(std::filesystem::is_empty(empty.path()));
}

TEST_F(Loading, ManagerWithoutEntryPointFailsQuietly) {
    // Any library without DSM_Entry will do: this test program's acquisition library itself.
    Dl_info self{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(&PelmixScan), &self), 0);
    TempDir folder;
    std::filesystem::create_symlink(self.dli_fname, folder.file("libTWAIN_32.so"));
    setenv("ORVANA_WINDOWS_DIR", folder.path().c_str(), 1);

    ScanInfo info{};
    EXPECT_EQ(PelmixScan(window(), &info), nullptr);
    EXPECT_EQ(info.result, PMXACQ_FAILED);
    ScanExecParam param = execParam();
    EXPECT_EQ(PelmixScanExec(window(), &param, nullptr), 0);
    EXPECT_EQ(param.result, PMXACQ_FAILED);
    char buffer[8] = "untouch";
    EXPECT_EQ(PelmixScanList(window(), buffer), 0);
    EXPECT_STREQ(buffer, "untouch");
    EXPECT_EQ(PelmixScanMulti(window(), folder.file("ORVA_TMP").c_str()), 0);
    EXPECT_TRUE(boxes_.empty());
    EXPECT_TRUE(fake().calls.empty());
}

TEST_F(Loading, SendsTheApplicationIdentityWithEveryCall) {
    oneBatch(1);
    ScanInfo info{};
    HGLOBAL image = PelmixScan(window(), &info);
    ASSERT_NE(image, nullptr);
    GlobalFree(image);

    ASSERT_FALSE(fake().calls.empty());
    for (const fakedsm::Call& call : fake().calls) {
        ASSERT_TRUE(call.hasOrigin);
        const TW_IDENTITY& id = call.origin;
        EXPECT_EQ(id.Version.MajorNum, 1);
        EXPECT_EQ(id.Version.MinorNum, 5);
        EXPECT_EQ(id.Version.Language, 81);
        EXPECT_EQ(id.Version.Country, 81);
        EXPECT_STREQ(id.Version.Info, "Pelmix32");
        EXPECT_EQ(id.ProtocolMajor, 1);
        EXPECT_EQ(id.ProtocolMinor, 6);
        EXPECT_EQ(id.SupportedGroups, 3u);
        EXPECT_STREQ(id.Manufacturer, "Kestrix Corp.");
        EXPECT_STREQ(id.ProductFamily, "Pelmix");
        EXPECT_STREQ(id.ProductName, "Pelmix32 Ver. 1.40");
    }
    const fakedsm::Call& open = fake().calls.front();
    EXPECT_EQ(open.msg, MSG_OPENDSM);
    EXPECT_EQ(TW_UINT32{open.origin.Id}, 0u);
    EXPECT_EQ(open.parent, window());
    // The manager assigned an Id at open; the library keeps using the identity it was given.
    EXPECT_EQ(TW_UINT32{fake().calls.back().origin.Id}, 1u);
}

TEST_F(Loading, EveryCallStartsWithFreshIdentities) {
    fake().script.sources = {"Alpha", "Scanner B"};
    ScanExecParam param = execParam();
    param.sourceName = "Scanner B";
    PelmixScanExec(window(), &param, nullptr);
    fake().calls.clear();
    fake().script.notices = {MSG_CLOSEDSREQ};

    param = execParam();
    param.sourceName = nullptr;
    PelmixScanExec(window(), &param, nullptr);
    ASSERT_FALSE(fake().calls.empty());
    EXPECT_EQ(fake().calls.front().msg, MSG_OPENDSM);
    EXPECT_EQ(TW_UINT32{fake().calls.front().origin.Id}, 0u) << "application identity refilled";
    for (const fakedsm::Call& call : fake().calls) {
        if (call.msg == MSG_OPENDS) {
            EXPECT_EQ(call.identityName, "") << "no source chosen at the start of a call";
            EXPECT_EQ(call.identityId, 0u);
        }
    }
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT), 0u);
}

TEST_F(Loading, SuccessfulCallTearsDownInOrder) {
    oneBatch(1);
    ScanInfo info{};
    HGLOBAL image = PelmixScan(window(), &info);
    GlobalFree(image);
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());
    for (const fakedsm::Call& call : fake().calls) {
        EXPECT_NE(call.rc, TWRC_FAILURE) << "refused: " << call.msg;
    }
    expectAllClosed();
}

TEST_F(Loading, RefusedManagerOpenLeavesNothingToClose) {
    fake().fail(DG_CONTROL, DAT_PARENT, MSG_OPENDSM, TWCC_LOWMEMORY);
    ScanInfo info{};
    EXPECT_EQ(PelmixScan(window(), &info), nullptr);
    // The manager never opened, so its condition is unknown rather than "low memory".
    EXPECT_EQ(info.result, PMXACQ_FAILED);
    EXPECT_EQ(fake().lifecycle(), std::vector<std::string>{"OPENDSM"});

    ScanExecParam param = execParam();
    EXPECT_EQ(PelmixScanExec(window(), &param, nullptr), 0);
    EXPECT_EQ(param.result, PMXACQ_FAILED);
    EXPECT_EQ(PelmixScanSelect(window()), 0);
    EXPECT_EQ(PelmixScanMulti(window(), "/nonexistent/ORVA_TMP"), 0);
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM), 0u);
}

TEST_F(Loading, NoDefaultSourceClosesTheManager) {
    fake().script.defaultSource.reset();
    ScanInfo info{};
    EXPECT_EQ(PelmixScanEasy(window(), &info), nullptr);
    EXPECT_EQ(info.result, PMXACQ_FAILED);
    EXPECT_EQ(fake().lifecycle(), (std::vector<std::string>{"OPENDSM", "CLOSEDSM"}));

    fake().calls.clear();
    ScanExecParam param = execParam();
    EXPECT_EQ(PelmixScanExec(window(), &param, nullptr), 0);
    EXPECT_EQ(param.result, PMXACQ_FAILED);
    EXPECT_EQ(fake().lifecycle(), (std::vector<std::string>{"OPENDSM", "CLOSEDSM"}));

    EXPECT_EQ(PelmixScanMulti(window(), "/nonexistent/ORVA_TMP"), 0);
    expectAllClosed();
}

TEST_F(Loading, RefusedSourceOpenGivesTheManagersCondition) {
    fake().fail(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWCC_BADVALUE);
    ScanInfo info{};
    EXPECT_EQ(PelmixScan(window(), &info), nullptr);
    EXPECT_EQ(info.result, PMXACQ_BADVALUE);
    EXPECT_EQ(fake().lifecycle(), (std::vector<std::string>{"OPENDSM", "OPENDS", "CLOSEDSM"}));
    const std::vector<std::string> names = fake().names();
    EXPECT_NE(std::find(names.begin(), names.end(), "STATUS manager"), names.end());
    expectAllClosed();
}

TEST_F(Loading, NamedSourceThatCannotOpenGivesTheManagersCondition) {
    ScanExecParam param = execParam();
    param.sourceName = "Not Installed";
    fake().fail(DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, TWCC_LOWMEMORY);
    EXPECT_EQ(PelmixScanExec(window(), &param, nullptr), 0);
    EXPECT_EQ(param.result, PMXACQ_LOWMEMORY);
    EXPECT_EQ(fake().lifecycle(), (std::vector<std::string>{"OPENDSM", "OPENDS", "CLOSEDSM"}));
}

TEST_F(Loading, SourceThatDoesNotAnswerTheProbeIsClosed) {
    // The probe's own condition would map to 3; a silent source is a plain failure.
    fake().failCap(MSG_GETCURRENT, ICAP_UNITS, TWCC_BADVALUE);
    ScanInfo info{};
    EXPECT_EQ(PelmixScan(window(), &info), nullptr);
    EXPECT_EQ(info.result, PMXACQ_FAILED);
    const std::vector<std::string> expected = {"OPENDSM", "OPENDS", "CLOSEDS", "CLOSEDSM"};
    EXPECT_EQ(fake().lifecycle(), expected);
    const std::vector<std::string> names = fake().names();
    auto opened = std::find(names.begin(), names.end(), "OPENDS");
    ASSERT_NE(opened, names.end());
    ASSERT_NE(opened + 1, names.end());
    EXPECT_EQ(*(opened + 1), "GETCURRENT ICAP_UNITS") << "the probe comes right after opening";

    fake().calls.clear();
    EXPECT_EQ(PelmixScanMulti(window(), "/nonexistent/ORVA_TMP"), 0);
    EXPECT_EQ(fake().lifecycle(), expected);
}

TEST_F(Loading, RefusedTransferCountIsAPlainFailure) {
    fake().failCap(MSG_SET, CAP_XFERCOUNT, TWCC_BADCAP);
    ScanInfo info{};
    EXPECT_EQ(PelmixScanEasy(window(), &info), nullptr);
    EXPECT_EQ(info.result, PMXACQ_FAILED);
    EXPECT_EQ(fake().lifecycle(),
              (std::vector<std::string>{"OPENDSM", "OPENDS", "CLOSEDS", "CLOSEDSM"}));
    EXPECT_EQ(fake().lastSet(ICAP_PIXELTYPE), nullptr) << "nothing negotiated after the failure";
}

TEST_F(Loading, RefusedEnableClosesSourceAndManager) {
    fake().fail(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, TWCC_BADVALUE);
    const std::vector<std::string> expected = {"OPENDSM", "OPENDS", "ENABLEDS", "CLOSEDS",
                                               "CLOSEDSM"};
    ScanInfo info{};
    EXPECT_EQ(PelmixScan(window(), &info), nullptr);
    EXPECT_EQ(info.result, PMXACQ_FAILED);
    EXPECT_EQ(fake().lifecycle(), expected);

    fake().calls.clear();
    ScanExecParam param = execParam();
    EXPECT_EQ(PelmixScanExec(window(), &param, nullptr), 0);
    EXPECT_EQ(param.result, PMXACQ_FAILED);
    EXPECT_EQ(fake().lifecycle(), expected);

    fake().calls.clear();
    EXPECT_EQ(PelmixScanMulti(window(), "/nonexistent/ORVA_TMP"), 0);
    EXPECT_EQ(fake().lifecycle(), expected);
    expectAllClosed();
}

// The condition read after a failed negotiation, and how it maps onto the result code.
struct Mapping {
    TW_UINT16 condition;
    bool unreadable;
    int32_t result;
};

class ConditionMapping : public Acquisition, public ::testing::WithParamInterface<Mapping> {};

TEST_P(ConditionMapping, MapsTheSourcesCondition) {
    fake().failCap(MSG_SET, ICAP_PIXELTYPE, GetParam().condition);
    fake().script.statusUnreadable = GetParam().unreadable;
    ScanInfo info{};
    info.pixelType = PMXACQ_RGB;
    info.resolution = 200;
    info.frameRight = 4;
    info.frameBottom = 4;
    EXPECT_EQ(PelmixScanEasy(window(), &info), nullptr);
    EXPECT_EQ(info.result, GetParam().result);
    const std::vector<std::string> names = fake().names();
    EXPECT_NE(std::find(names.begin(), names.end(), "STATUS source"), names.end());
    EXPECT_EQ(fake().lifecycle(),
              (std::vector<std::string>{"OPENDSM", "OPENDS", "CLOSEDS", "CLOSEDSM"}));
}

INSTANTIATE_TEST_SUITE_P(
    Conditions, ConditionMapping,
    ::testing::Values(Mapping{TWCC_SUCCESS, false, 0}, Mapping{TWCC_LOWMEMORY, false, 1},
                      Mapping{TWCC_BADCAP, false, 2}, Mapping{TWCC_BADVALUE, false, 3},
                      Mapping{TWCC_SEQERROR, false, 4}, Mapping{TWCC_BUMMER, false, 4},
                      Mapping{TWCC_BADVALUE, true, 4}));

// A private copy of the fake, loaded only by the library: whether it is still mapped after a
// call tells whether the library unloaded it. (Its calls into the fake's C++ side bind to the
// instance this program links, which comes first in symbol lookup, so the script is shared.)
class Unloading : public Acquisition {
protected:
    void SetUp() override {
        Acquisition::SetUp();
        copy_ = folder_.file("libTWAIN_32.so");
        std::filesystem::copy_file(std::string(FAKE_DSM_DIR) + "/libTWAIN_32.so", copy_);
        setenv("ORVANA_WINDOWS_DIR", folder_.path().c_str(), 1);
        void* probe = dlopen(copy_.c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(probe, nullptr);
        dlclose(probe);
        if (loaded()) {
            GTEST_SKIP() << "this system keeps the library mapped after dlclose";
        }
    }
    bool loaded() const {
        void* handle = dlopen(copy_.c_str(), RTLD_NOW | RTLD_NOLOAD);
        if (handle != nullptr) {
            dlclose(handle);
        }
        return handle != nullptr;
    }
    TempDir folder_;
    std::string copy_;
};

TEST_F(Unloading, EveryReturnPathUnloadsTheManager) {
    EXPECT_GT(PelmixScanListLen(window()), 0);
    EXPECT_FALSE(loaded());
    ScanInfo info{};
    EXPECT_EQ(PelmixScan(window(), &info), nullptr); // the source closes at once
    EXPECT_EQ(info.result, PMXACQ_OK);
    EXPECT_FALSE(loaded());
    fake().script.notices = {MSG_CLOSEDSREQ};
    EXPECT_EQ(PelmixScanMulti(window(), folder_.file("ORVA_TMP").c_str()), 0);
    EXPECT_FALSE(loaded());
    ScanExecParam param = execParam();
    param.sourceName = "Not Installed";
    EXPECT_EQ(PelmixScanExec(window(), &param, nullptr), 0);
    EXPECT_EQ(param.result, PMXACQ_FAILED);
    EXPECT_FALSE(loaded());
}

} // namespace
