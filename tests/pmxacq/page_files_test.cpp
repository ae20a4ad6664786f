// PelmixScanMulti: every page delivered while the source's window is open becomes a BMP page
// file "<base>.000", "<base>.001", …; the count comes back.
#include "acquisition_fixture.h"
#include "temp_dir.h"
#include "test_images.h"

#include <cstdlib>
#include <filesystem>
#include <regex>
#include <unistd.h>

namespace {

using namespace acqtest;
using fakedsm::Page;

class PageFiles : public Acquisition {
protected:
    static std::string name(const std::string& base, int page) {
        char suffix[16];
        std::snprintf(suffix, sizeof(suffix), ".%03d", page);
        return base + suffix;
    }

    static size_t files(const TempDir& folder) {
        return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(folder.path()),
                                                 std::filesystem::directory_iterator()));
    }

    // The page file holds the page's pixels (the meaningful bytes of every row).
    static void expectPage(const std::string& path, const Page& page, int pattern) {
        ImageHandle loaded(PelmixFileLoad(path.c_str(), "", ""));
        ASSERT_TRUE(loaded) << path;
        const std::vector<uint8_t> got = blockBytes(loaded.get());
        const std::vector<uint8_t> want = repacked(page, pattern);
        ASSERT_GE(got.size(), 40u);
        int32_t width = 0, height = 0;
        std::memcpy(&width, &got[4], 4);
        std::memcpy(&height, &got[8], 4);
        EXPECT_EQ(width, page.width);
        EXPECT_EQ(height, page.height);
        const size_t stride = fakedsm::rowBytes(page.width, page.bitCount);
        const size_t used = static_cast<size_t>(page.width) * page.bitCount / 8;
        const size_t header = got.size() - stride * page.height;
        const size_t wantHeader = want.size() - stride * page.height;
        for (int y = 0; y < page.height; ++y) {
            for (size_t x = 0; x < used; ++x) {
                ASSERT_EQ(got[header + y * stride + x], want[wantHeader + y * stride + x])
                    << path << " row " << y << " byte " << x;
            }
        }
    }
};

TEST_F(PageFiles, FivePagesBecomeFiveNumberedFiles) {
    TempDir folder;
    const std::string base = folder.file("ORVA_TMP");
    Page page;
    page.extraLocks = 2;
    oneBatch(5, page);
    EXPECT_EQ(PelmixScanMulti(window(), base.c_str()), 5);
    EXPECT_EQ(files(folder), 5u);
    for (int i = 0; i < 5; ++i) {
        expectPage(name(base, i), page, i + 1);
    }
    for (HGLOBAL block : fake().imagesHandedOut) {
        EXPECT_TRUE(freed(block));
    }
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());
    for (const fakedsm::Call& call : fake().calls) {
        if (call.msg == MSG_ENABLEDS) {
            EXPECT_EQ(call.showUI, 1);
            EXPECT_EQ(call.modalUI, 1);
            EXPECT_EQ(call.hParent, window());
        }
    }
    EXPECT_TRUE(fake().capabilityCalls().empty()) << "the source's own settings are used";
    expectAllClosed();

    // A second call counts from .000 again and overwrites the earlier pages.
    restart();
    Page other;
    other.pattern = 40;
    oneBatch(2, other);
    EXPECT_EQ(PelmixScanMulti(window(), base.c_str()), 2);
    expectPage(name(base, 0), other, 40);
    expectPage(name(base, 1), other, 40);
    expectPage(name(base, 2), page, 3);
    EXPECT_EQ(files(folder), 5u);
}

TEST_F(PageFiles, SourceStaysOpenUntilTheUserClosesIt) {
    TempDir folder;
    const std::string base = folder.file("ORVA_TMP");
    Page cancelled;
    cancelled.result = TWRC_CANCEL;
    fake().script.notices = {MSG_XFERREADY, MSG_XFERREADY, MSG_XFERREADY, MSG_CLOSEDSREQ};
    fake().script.batches = {{Page(), Page()}, {cancelled}, {Page()}};
    EXPECT_EQ(PelmixScanMulti(window(), base.c_str()), 3);
    EXPECT_EQ(files(folder), 3u);
    expectPage(name(base, 2), Page(), 4); // nothing was written for the cancelled page
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());
}

TEST_F(PageFiles, EmptyBaseNameRunsTheSourceButWritesNothing) {
    TempDir folder;
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(folder.path()); // a stray ".000" would land here
    oneBatch(2);
    EXPECT_EQ(PelmixScanMulti(window(), ""), 0);
    std::filesystem::current_path(before);
    EXPECT_EQ(files(folder), 0u);
    EXPECT_EQ(fake().count(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET), 2u);
    for (HGLOBAL block : fake().imagesHandedOut) {
        EXPECT_TRUE(freed(block));
    }
    EXPECT_EQ(fake().lifecycle(), fullLifecycle());
}

TEST_F(PageFiles, NullBaseNameIsRefused) {
    EXPECT_EQ(PelmixScanMulti(window(), nullptr), 0);
    EXPECT_EQ(fake().count(DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS), 0u);
    expectAllClosed();
}

TEST_F(PageFiles, BaseNameMustLeaveRoomForTheNumber) {
    TempDir folder;
    // 256 bytes hold the base name, ".", three digits and the terminator.
    const std::string prefix = folder.path() + "/";
    const std::string fits = prefix + std::string(251 - prefix.size(), 'a');
    const std::string tooLong = prefix + std::string(252 - prefix.size(), 'b');
    ASSERT_EQ(fits.size(), 251u);

    oneBatch(1);
    EXPECT_EQ(PelmixScanMulti(window(), tooLong.c_str()), 0);
    EXPECT_EQ(files(folder), 0u);

    restart();
    const std::string huge = prefix + std::string(4000, 'c');
    oneBatch(1);
    EXPECT_EQ(PelmixScanMulti(window(), huge.c_str()), 0);
    EXPECT_EQ(files(folder), 0u);

    restart();
    oneBatch(1);
    EXPECT_EQ(PelmixScanMulti(window(), fits.c_str()), 1);
    EXPECT_TRUE(std::filesystem::exists(fits + ".000"));
}

// The acquisition folder refuses one page file (a folder already has its name, which no user can
// write over): that page is kept in the kept-page folder, or in the temporary folder when that one
// cannot be made, and the call ends at once without asking for more pages.
TEST_F(PageFiles, APageTheFolderRefusesIsKeptAndEndsTheCall) {
    struct Case {
        bool exec;          // PelmixScanExec with a base name, else PelmixScanMulti
        int refused;        // the page (from 0) whose file name is taken
        bool keptDirUsable; // else the temporary folder takes the page
        int32_t returned;
        size_t resets; // MSG_RESET: only when pages were still pending
    };
    const Case cases[] = {
        {false, 2, true, 2, 1},
        {false, 4, true, 4, 0},
        {true, 2, false, 3, 1},
    };
    const char* const oldTmp = std::getenv("TMPDIR");
    const std::string savedTmp = oldTmp != nullptr ? oldTmp : "";
    const auto restoreTmp = [&] {
        if (oldTmp != nullptr) {
            setenv("TMPDIR", savedTmp.c_str(), 1);
        } else {
            unsetenv("TMPDIR");
        }
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << (c.exec ? "exec" : "multi") << " refusing " << c.refused);
        restart();
        TempDir folder, tmp;
        const std::string base = folder.file("ORVA_TMP");
        std::filesystem::create_directory(name(base, c.refused));
        std::string kept = kept_.path() + "/made/" + std::to_string(c.refused) + "/";
        if (!c.keptDirUsable) {
            ASSERT_TRUE(writeBytes(folder.file("plain"), "x", 1));
            setenv("ORVANA_KEPT_DIR", folder.file("plain/kept").c_str(), 1);
            kept = tmp.path() + "/";
        } else {
            setenv("ORVANA_KEPT_DIR", kept.c_str(), 1);
        }
        oneBatch(5);

        ScanExecParam p = execParam();
        p.baseName = base.c_str();
        setenv("TMPDIR", tmp.path().c_str(), 1);
        EXPECT_EQ(c.exec ? PelmixScanExec(window(), &p, nullptr)
                         : PelmixScanMulti(window(), base.c_str()),
                  c.returned);
        restoreTmp();
        if (c.exec) {
            EXPECT_EQ(p.result, PMXACQ_FAILED);
        }

        for (int i = 0; i < 5; ++i) {
            EXPECT_EQ(std::filesystem::is_regular_file(name(base, i)), i < c.refused) << i;
        }
        std::vector<std::string> keptFiles;
        for (const auto& entry : std::filesystem::directory_iterator(kept)) {
            keptFiles.push_back(entry.path().filename().string());
        }
        ASSERT_EQ(keptFiles.size(), 1u);
        char number[8];
        std::snprintf(number, sizeof(number), "%04d", c.refused);
        const std::regex form("ORVA_KEEP\\.[0-9]{8}-[0-9]{6}\\." + std::to_string(getpid()) +
                              "\\." + number + "\\.bmp");
        EXPECT_TRUE(std::regex_match(keptFiles[0], form)) << keptFiles[0];
        expectPage(kept + keptFiles[0], Page(), c.refused + 1);
        if (c.keptDirUsable) {
            EXPECT_EQ(std::filesystem::status(kept_.path() + "/made").permissions(),
                      std::filesystem::perms::owner_all);
        }

        EXPECT_EQ(fake().count(DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET),
                  static_cast<size_t>(c.refused + 1));
        EXPECT_EQ(fake().count(DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET), c.resets);
        EXPECT_EQ(fake().lifecycle(), fullLifecycle());
        expectAllClosed();
        for (HGLOBAL block : fake().imagesHandedOut) {
            EXPECT_TRUE(freed(block));
        }
    }
}

} // namespace
