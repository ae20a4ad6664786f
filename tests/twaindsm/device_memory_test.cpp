// What is remembered of a device: back for the same device, for a network device under another
// host name by its vendor and model, never for another device; a file that is not one of ours
// remembers nothing and says so.
#include "device_memory.h"
#include "temp_dir.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>

using twaindsm::DeviceMemory;
using twaindsm::SaneValue;

namespace {

class DeviceMemoryTest : public ::testing::Test {
protected:
    void SetUp() override { ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1); }

    static DeviceMemory::Read readBack(const DeviceMemory::Device& device,
                                       std::map<std::string, SaneValue>* values = nullptr) {
        DeviceMemory memory(device);
        const DeviceMemory::Read read = memory.read();
        if (values != nullptr) {
            *values = memory.values();
        }
        return read;
    }

    TempDir config_;
};

TEST_F(DeviceMemoryTest, ValuesComeBackForTheSameDeviceOnly) {
    const DeviceMemory::Device scanner{"net:scanbox:epson2:libusb:001:004", "Epson", "GT-S650"};
    DeviceMemory memory(scanner);
    EXPECT_EQ(memory.read(), DeviceMemory::Read::Nothing);
    ASSERT_TRUE(memory.remember("gamma", SaneValue{{0, 1.5, 255}, {}}));
    ASSERT_TRUE(memory.remember("lamp", SaneValue{{1}, {}}));
    ASSERT_TRUE(memory.remember("film", SaneValue{{}, "Positive \"slide\" ／ 写真"}));
    ASSERT_TRUE(memory.remember("orvana.window", SaneValue{{2, 300}, "ADF Duplex"}));

    std::map<std::string, SaneValue> values;
    ASSERT_EQ(readBack(scanner, &values), DeviceMemory::Read::Values);
    EXPECT_EQ(values, memory.values());

    struct Row {
        const char* what;
        DeviceMemory::Device device;
        DeviceMemory::Read read;
    };
    const Row rows[] = {
        {"the same scanner, its server under another name",
         {"net:192.168.1.20:epson2:libusb:001:004", "Epson", "GT-S650"},
         DeviceMemory::Read::Values},
        {"another model on another server",
         {"net:other:epson2:libusb:001:004", "Epson", "DS-30"},
         DeviceMemory::Read::Nothing},
        {"the same kind of device on this machine",
         {"epson2:libusb:001:004", "Epson", "GT-S650"},
         DeviceMemory::Read::Nothing},
        {"a name that climbs out of the folder",
         {"../../../etc/passwd", "Epson", "GT-S650"},
         DeviceMemory::Read::Nothing},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(readBack(row.device), row.read);
    }
    // One file, in the folder, whatever the names hold.
    EXPECT_EQ(QDir(DeviceMemory::folder()).entryList(QDir::Files).size(), 1);

    ASSERT_TRUE(memory.forget("lamp"));
    ASSERT_EQ(readBack(scanner, &values), DeviceMemory::Read::Values);
    EXPECT_EQ(values.count("lamp"), 0u);
    ASSERT_TRUE(memory.clear());
    EXPECT_EQ(readBack(scanner), DeviceMemory::Read::Nothing);
}

TEST_F(DeviceMemoryTest, AFileThatIsNotOursRemembersNothing) {
    const DeviceMemory::Device scanner{"test:0", "Noname", "frontend-tester"};
    DeviceMemory memory(scanner);
    ASSERT_TRUE(memory.remember("int", SaneValue{{42}, {}}));
    const QString file =
        DeviceMemory::folder() + QDir(DeviceMemory::folder()).entryList(QDir::Files).first();
    const QByteArray contents[] = {
        "",
        "{\"device\": \"test:0\", \"options\": {\"int\": {\"numbers\": [4",
        "[1, 2, 3]",
        "{\"device\": \"test:0\", \"options\": {\"int\": {\"numbers\": [\"42\"]}}}",
        "{\"device\": \"test:0\", \"options\": {\"string\": {\"text\": \"a\\u0000b\"}}}",
        "{\"options\": {}}",
        QByteArray(2 << 20, ' ') + "{}",
    };
    for (const QByteArray& bytes : contents) {
        SCOPED_TRACE(bytes.left(60).toStdString());
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        std::map<std::string, SaneValue> values;
        EXPECT_EQ(readBack(scanner, &values), DeviceMemory::Read::Damaged);
        EXPECT_TRUE(values.empty());
    }
    // The next value written replaces the damaged file.
    ASSERT_TRUE(memory.remember("int", SaneValue{{43}, {}}));
    EXPECT_EQ(readBack(scanner), DeviceMemory::Read::Values);
}

// The last preview comes back for the same area only; a file that is not a picture of ours, or
// is no file at all, is no preview (and never a hang or a huge allocation).
TEST_F(DeviceMemoryTest, ThePreviewIsKeptForTheAreaItShows) {
    const DeviceMemory memory({"test:0", "Noname", "frontend-tester"});
    QImage glass(120, 90, QImage::Format_RGB32);
    glass.fill(Qt::white);
    glass.setPixel(7, 5, qRgb(10, 20, 30));
    const QString area = "area 0 0 8.5 11.7 in";
    EXPECT_TRUE(memory.keptPreview(area).isNull());
    ASSERT_TRUE(memory.keepPreview(glass, area));
    const QImage back = memory.keptPreview(area);
    ASSERT_EQ(back.size(), glass.size());
    EXPECT_EQ(back.pixel(7, 5), glass.pixel(7, 5));
    EXPECT_TRUE(memory.keptPreview("area 0 0 8.5 14 in").isNull());
    EXPECT_TRUE(DeviceMemory({"test:1", "Noname", "frontend-tester"}).keptPreview(area).isNull());

    const QString file = DeviceMemory::folder() +
                         QDir(DeviceMemory::folder()).entryList({"*.png"}, QDir::Files).first();
    // A real PNG far wider than any glass at a preview's resolution: a few bytes on disk, a
    // large picture in memory.
    QImage wide(9000, 2, QImage::Format_Mono);
    wide.fill(0);
    QByteArray truncated;
    QBuffer full(&truncated);
    full.open(QIODevice::WriteOnly);
    glass.save(&full, "png");
    truncated.chop(truncated.size() / 2);
    ASSERT_TRUE(memory.keepPreview(wide, area));
    EXPECT_TRUE(memory.keptPreview(area).isNull()) << "a picture too large";
    for (const QByteArray& bytes : {QByteArray("not a picture"), truncated}) {
        QFile out(file);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(bytes);
        out.close();
        EXPECT_TRUE(memory.keptPreview(area).isNull()) << bytes.size();
    }
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_EQ(::mkfifo(QFile::encodeName(file).constData(), 0600), 0);
    EXPECT_TRUE(memory.keptPreview(area).isNull());
    // The next preview takes the place of what was there.
    ASSERT_TRUE(QFile::remove(file));
    ASSERT_TRUE(memory.keepPreview(glass, area));
    EXPECT_FALSE(memory.keptPreview(area).isNull());
}

} // namespace
