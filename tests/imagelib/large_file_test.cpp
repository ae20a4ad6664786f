// Loads of files far larger than the picture in them: the process never holds the file (a
// sparse 600 MB file costs no more than its picture), the cost estimate agrees with the load,
// and a file cut short or extended while it is decoded gives a picture or nothing, never a crash.
#include "peak_memory.h"
#include "temp_dir.h"
#include "test_images.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <gtest/gtest.h>
#include <string>
#include <thread>
#include <turbojpeg.h>
#include <unistd.h>

namespace {

constexpr off_t kSparseBytes = off_t(600) << 20;

std::string jpegOf(int width, int height) {
    std::vector<uint8_t> pixels(size_t(width) * height * 3);
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<uint8_t>((i * 13) % 251);
    }
    tjhandle tj = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    tjCompress2(tj, pixels.data(), width, 0, height, TJPF_RGB, &out, &size, TJSAMP_420, 90, 0);
    std::string bytes(reinterpret_cast<char*>(out), size);
    tjFree(out);
    tjDestroy(tj);
    return bytes;
}

// A JPEG's segments up to its scan header (withScan) or up to its frame header and tables only,
// the frame declaring width x height.
std::string headerDeclaring(int width, int height, bool withScan) {
    std::string bytes = jpegOf(16, 16);
    for (size_t pos = 2; pos + 4 <= bytes.size();) {
        const auto code = static_cast<uint8_t>(bytes[pos + 1]);
        const size_t length = size_t(uint8_t(bytes[pos + 2])) << 8 | uint8_t(bytes[pos + 3]);
        if (code == 0xC0) {
            bytes[pos + 5] = char(height >> 8);
            bytes[pos + 6] = char(height & 0xFF);
            bytes[pos + 7] = char(width >> 8);
            bytes[pos + 8] = char(width & 0xFF);
        } else if (code == 0xDA) {
            bytes.resize(withScan ? pos + 2 + length : pos);
            break;
        }
        pos += 2 + length;
    }
    return bytes;
}

// A JPEG with bytes of segments (a photograph's depth map, say) between its start and its frame.
std::string withSegmentsBefore(const std::string& jpeg, size_t bytes) {
    std::string segments;
    for (size_t done = 0; done < bytes; done += 65533) {
        segments += std::string("\xFF\xEF\xFF\xFF", 4) + std::string(65533, 'd');
    }
    return jpeg.substr(0, 2) + segments + jpeg.substr(2);
}

bool writeSparse(const std::string& path, const std::string& head, off_t size) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const bool written = fd >= 0 && ::write(fd, head.data(), head.size()) == ssize_t(head.size()) &&
                         ::ftruncate(fd, size) == 0;
    if (fd >= 0) {
        ::close(fd);
    }
    return written;
}

// Kilobytes of a /proc/self/status field.
struct SparseCase {
    const char* name;
    std::string head;
    int width; // of the loaded picture; 0: refused
    int height;
};

TEST(LargeFiles, SparseJpegFilesCostOnlyTheirPicture) {
    TempDir dir;
    const SparseCase cases[] = {
        {"a picture, then a hole", jpegOf(640, 480), 640, 480},
        {"a huge frame whose scan is a hole", headerDeclaring(16000, 12000, true), 0, 0},
        {"a huge frame without a scan, then a hole", headerDeclaring(16000, 12000, false), 0, 0},
        {"a frame beyond the largest picture", headerDeclaring(65000, 65000, true), 0, 0},
    };
    for (const SparseCase& c : cases) {
        const std::string path = dir.file("sparse.jpg");
        ASSERT_TRUE(writeSparse(path, c.head, kSparseBytes)) << c.name;
        IMAGE_INFO loaded;
        const int64_t cost = PelmixFileLoadFitCost(path.c_str(), 0, 0, &loaded);
        EXPECT_EQ(loaded.WIDTH, c.width) << c.name;
        EXPECT_EQ(cost > 0, c.width > 0) << c.name;
        EXPECT_LT(cost, int64_t(16) << 20) << c.name;

        const bool resettable = peak_memory::resetPeak();
        const long before = peak_memory::statusKb("VmRSS");
        IMAGE_INFO info;
        ImageHandle image(PelmixFileLoadFit(path.c_str(), 0, 0, &info));
        if (resettable) {
            EXPECT_LT(peak_memory::statusKb("VmHWM") - before, 64 * 1024) << c.name;
        }
        EXPECT_EQ(image.get() != nullptr, c.width > 0) << c.name;
        EXPECT_EQ(info.WIDTH, c.width) << c.name;
        EXPECT_EQ(info.HEIGHT, c.height) << c.name;
    }
}

TEST(LargeFiles, TheCostEstimateFollowsTheReducedLoad) {
    TempDir dir;
    const std::string jpeg = dir.file("in.jpg");
    const std::string bytes = jpegOf(2400, 1600);
    ASSERT_TRUE(writeBytes(jpeg, bytes.data(), bytes.size()));
    ImageHandle picture(PelmixFileLoad(jpeg.c_str(), "", ""));
    const std::string tiff = dir.file("in.tif");
    ASSERT_EQ(PelmixTiffFileSave(tiff.c_str(), picture.get(), "", "", PELMIX_TIFF_NONE), 1);
    const std::string png = dir.file("in.png");
    ASSERT_TRUE(writeBytes(png, "\x89PNG\r\n\x1a\n", 8));

    struct {
        std::string path;
        int32_t box;
        int width, height; // what the load gives
    } const cases[] = {
        {jpeg, 0, 2400, 1600}, {jpeg, 300, 300, 200}, // an eighth of the stored picture
        {jpeg, 600, 600, 400}, {tiff, 0, 2400, 1600}, {tiff, 300, 300, 200},
    };
    for (const auto& c : cases) {
        IMAGE_INFO loaded, info;
        const int64_t cost = PelmixFileLoadFitCost(c.path.c_str(), c.box, c.box, &loaded);
        ImageHandle image(PelmixFileLoadFit(c.path.c_str(), c.box, c.box, &info));
        ASSERT_NE(image.get(), nullptr) << c.path << " " << c.box;
        const IMAGE_INFO got = infoOf(image.get());
        EXPECT_EQ(got.WIDTH, c.width) << c.path << " " << c.box;
        EXPECT_EQ(got.HEIGHT, c.height) << c.path << " " << c.box;
        EXPECT_EQ(loaded.WIDTH, got.WIDTH) << c.path << " " << c.box;
        EXPECT_EQ(loaded.HEIGHT, got.HEIGHT) << c.path << " " << c.box;
        // At least the image itself, and not many times it beside the JPEG's data.
        const int64_t imageBytes = int64_t(got.WIDTH) * got.HEIGHT * 3;
        const int64_t held = c.path == jpeg ? int64_t(bytes.size()) : 0;
        EXPECT_GE(cost, imageBytes + held) << c.path << " " << c.box;
        EXPECT_LT(cost, imageBytes * 4 + held + (int64_t(1) << 20)) << c.path << " " << c.box;
    }
    EXPECT_EQ(PelmixFileLoadFitCost(png.c_str(), 0, 0, nullptr), -1);
    EXPECT_EQ(PelmixFileLoadFitCost(dir.file("missing.jpg").c_str(), 0, 0, nullptr), -1);
}

// Files whose headers describe a small picture (or one refused) and then run on in a hole to
// 2 GiB: every reader, the PDF's included, reads what the headers describe and no more, and the
// PDF names a picture it refuses for its size as too large.
TEST(LargeFiles, TwoGigabyteHolesCostOnlyWhatTheHeadersDescribe) {
    TempDir dir;
    ImageHandle dot = makeRgbImage(1, 1, [](int, int) { return Colour{10, 20, 30}; });
    ImageHandle bits = makeIndexedImage(8, 4, 1, greyPalette(1),
                                        [](int x, int y) { return uint8_t((x + y) % 2); });
    ASSERT_EQ(PelmixBmpFileSave(dir.file("dot.bmp").c_str(), dot.get(), "", "", 0), 1);
    ASSERT_EQ(PelmixBmpFileSave(dir.file("bits.bmp").c_str(), bits.get(), "", "", 0), 1);
    struct Case {
        const char* name;
        std::string head;
        const char* extension;
        int width;          // of the loaded picture; 0: refused
        int32_t pdfFailure; // PelmixPdfError after a refused PelmixPdfAddFile
    };
    const Case cases[] = {
        {"a 1 x 1 BMP", readBytes(dir.file("dot.bmp")), ".bmp", 1, PELMIX_PDF_OK},
        {"a black-and-white BMP", readBytes(dir.file("bits.bmp")), ".bmp", 8, PELMIX_PDF_OK},
        {"the first 20 bytes of a JPEG", jpegOf(16, 16).substr(0, 20), ".jpg", 0,
         PELMIX_PDF_NOT_A_PICTURE},
        {"a JPEG frame of 30000 x 30000", headerDeclaring(30000, 30000, true), ".jpg", 0,
         PELMIX_PDF_TOO_LARGE},
        {"a JPEG with 2 MiB of segments before its frame",
         withSegmentsBefore(jpegOf(16, 16), size_t(2) << 20), ".jpg", 16, PELMIX_PDF_OK},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file(std::string("hole") + c.extension);
        ASSERT_TRUE(writeSparse(path, c.head, (off_t(2) << 30) - 1));
        const bool resettable = peak_memory::resetPeak();
        const long before = peak_memory::statusKb("VmRSS");
        const auto start = std::chrono::steady_clock::now();

        ImageHandle whole(PelmixFileLoad(path.c_str(), "", ""));
        IMAGE_INFO info;
        ImageHandle fitted(PelmixFileLoadFit(path.c_str(), 4, 4, &info));
        EXPECT_EQ(whole ? infoOf(whole.get()).WIDTH : 0, c.width);
        EXPECT_EQ(info.WIDTH, c.width);
        PELMIX_PDF* pdf = PelmixPdfCreate();
        EXPECT_EQ(PelmixPdfAddFile(pdf, path.c_str(), 1), c.width > 0 ? 1 : 0);
        int32_t width = 0, height = 0;
        EXPECT_EQ(PelmixPdfError(pdf, nullptr, &width, &height), c.pdfFailure);
        if (c.pdfFailure == PELMIX_PDF_TOO_LARGE) {
            EXPECT_EQ(width, 30000);
            EXPECT_EQ(height, 30000);
        }
        if (c.width > 0) {
            EXPECT_EQ(PelmixPdfSave(pdf, dir.file("hole.pdf").c_str()), 1);
            EXPECT_EQ(PelmixPdfFilePages(dir.file("hole.pdf").c_str()), 1);
        }
        PelmixPdfFree(pdf);

        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        if (resettable) {
            EXPECT_LT(peak_memory::statusKb("VmHWM") - before, 64 * 1024);
        }
        std::remove(path.c_str());
    }
}

// A writer cuts the file short and restores it over and over while it is decoded: each load
// gives the whole picture or nothing.
TEST(LargeFiles, AFileChangingWhileItIsDecodedNeverCrashes) {
    TempDir dir;
    const std::string jpeg = jpegOf(1200, 800);
    const std::string source = dir.file("source.jpg");
    ASSERT_TRUE(writeBytes(source, jpeg.data(), jpeg.size()));
    ImageHandle decoded(PelmixFileLoad(source.c_str(), "", ""));
    const std::string tiff = dir.file("changing.tif");
    ASSERT_EQ(PelmixTiffFileSave(tiff.c_str(), decoded.get(), "", "", PELMIX_TIFF_NONE), 1);
    const std::string whole = readBytes(tiff);
    for (const std::string& path : {tiff, source}) {
        const std::string bytes = path == tiff ? whole : jpeg;
        std::atomic<bool> stop{false};
        std::thread writer([&] {
            const int fd = ::open(path.c_str(), O_WRONLY);
            for (size_t i = 0; fd >= 0 && !stop; ++i) {
                const off_t cut = off_t(bytes.size() * (i % 7) / 8);
                (void)!::ftruncate(fd, cut);
                (void)!::pwrite(fd, bytes.data() + cut, bytes.size() - cut, cut);
                (void)!::pwrite(fd, "tail", 4, off_t(bytes.size())); // and longer
            }
            if (fd >= 0) {
                ::close(fd);
            }
        });
        for (int i = 0; i < 40; ++i) {
            ImageHandle image(PelmixFileLoadFit(path.c_str(), 0, 0, nullptr));
            if (image) {
                EXPECT_EQ(infoOf(image.get()).WIDTH, 1200) << path;
            }
        }
        stop = true;
        writer.join();
    }
}

} // namespace
