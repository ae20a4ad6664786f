// Every file save replaces its target as a whole: through symbolic links, keeping the target's
// permissions, refusing files the user protected, and with a temporary name that fits beside
// targets of any length.
#include "temp_dir.h"
#include "test_images.h"

#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

struct Saver {
    const char* format;
    std::function<int32_t(const char*, HGLOBAL)> save;
};

const Saver kSavers[] = {
    {"BMP", [](const char* p, HGLOBAL i) { return PelmixBmpFileSave(p, i, "", "", 0); }},
    {"JPEG", [](const char* p, HGLOBAL i) { return PelmixJpegFileSave(p, i, "", "", 90, 0); }},
    {"TIFF", [](const char* p, HGLOBAL i) { return PelmixTiffFileSave(p, i, "", "", 0); }},
};

mode_t modeOf(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 ? st.st_mode & 07777 : 0;
}

mode_t newFileMode() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// A name of exactly bytes bytes made of two-byte characters, so that a cut lands inside one.
std::string longName(size_t bytes) {
    std::string name = bytes % 2 != 0 ? "x" : "";
    while (name.size() < bytes) {
        name += "\xC3\xA4"; // "ä"
    }
    return name;
}

} // namespace

TEST(FileSave, ReplacesTheTargetWholeAndKeepsWhatTheUserSetOnIt) {
    struct Case {
        const char* rule;
        std::string name;               // the target in the folder
        std::optional<mode_t> before;   // an existing target and its mode
        std::vector<std::string> links; // saved through these links, the first named by the call
        bool saved;
        std::optional<mode_t> after; // the target's mode after the call (none: a new file's)
    };
    const Case cases[] = {
        {"an owner-only file stays owner-only", "private.bmp", 0600, {}, true, 0600},
        {"a read-only file is refused", "locked.bmp", 0444, {}, false, 0444},
        {"a link chain is written through", "real.bmp", 0640, {"outer", "inner"}, true, 0640},
        {"a 250-byte name", longName(250), std::nullopt, {}, true, std::nullopt},
        {"an existing 255-byte name", longName(255), 0604, {}, true, 0604},
    };
    const std::string original = "the user's own bytes";
    ImageHandle image = makeRgbImage(6, 4, [](int x, int y) {
        return Colour{uint8_t(40 * x), uint8_t(60 * y), 200};
    });

    for (const Saver& saver : kSavers) {
        for (const Case& c : cases) {
            SCOPED_TRACE(std::string(saver.format) + ": " + c.rule);
            TempDir dir;
            const std::string target = dir.file(c.name);
            if (c.before) {
                ASSERT_TRUE(writeBytes(target, original.data(), original.size()));
                ASSERT_EQ(::chmod(target.c_str(), *c.before), 0);
            }
            // outer -> inner -> target, relative to the links' own folders.
            std::string called = target;
            if (!c.links.empty()) {
                fs::create_directory(dir.file("links"));
                fs::create_symlink("../" + c.name, dir.file("links/" + c.links.back()));
                for (size_t i = c.links.size() - 1; i > 0; --i) {
                    fs::create_symlink(c.links[i], dir.file("links/" + c.links[i - 1]));
                }
                called = dir.file("links/" + c.links.front());
            }

            EXPECT_EQ(saver.save(called.c_str(), image.get()), c.saved ? 1 : 0);

            EXPECT_EQ(modeOf(target), c.after.value_or(newFileMode()));
            if (c.saved) {
                ImageHandle back(PelmixFileLoad(target.c_str(), "", ""));
                ASSERT_TRUE(back);
                EXPECT_EQ(infoOf(back.get()).WIDTH, 6);
            } else {
                EXPECT_EQ(readBytes(target), original);
            }
            for (const std::string& link : c.links) {
                EXPECT_TRUE(fs::is_symlink(dir.file("links/" + link))) << link;
            }
            size_t entries = 0;
            for (const auto& entry : fs::directory_iterator(dir.path())) {
                (void)entry;
                ++entries;
            }
            EXPECT_EQ(entries, c.links.empty() ? 1u : 2u) << "a temporary file was left";
        }
    }
}
