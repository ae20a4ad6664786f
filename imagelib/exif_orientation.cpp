#include "exif_orientation.h"

#include <cstring>

namespace pelmix {
namespace {

constexpr uint16_t kOrientationTag = 0x0112;
constexpr uint16_t kShortType = 3;
constexpr size_t kHeaderBytes = 6; // "Exif\0\0"
constexpr size_t kEntryBytes = 12;

// Reads 16- and 32-bit values of the TIFF structure that follows the Exif header, in its byte
// order. Every read is checked against the end of the segment.
class TiffReader {
public:
    TiffReader(const uint8_t* data, size_t size, bool bigEndian)
        : data_(data), size_(size), bigEndian_(bigEndian) {}

    bool u16(size_t at, uint16_t& out) const {
        if (at > size_ || size_ - at < 2) {
            return false;
        }
        const uint8_t* p = data_ + at;
        out = static_cast<uint16_t>(bigEndian_ ? (p[0] << 8) | p[1] : (p[1] << 8) | p[0]);
        return true;
    }

    bool u32(size_t at, uint32_t& out) const {
        uint16_t first = 0, second = 0;
        if (!u16(at, first) || !u16(at + 2, second)) {
            return false;
        }
        out = bigEndian_ ? (uint32_t(first) << 16) | second : (uint32_t(second) << 16) | first;
        return true;
    }

private:
    const uint8_t* data_;
    size_t size_;
    bool bigEndian_;
};

} // namespace

int exifOrientation(const uint8_t* payload, size_t size) {
    if (payload == nullptr || size < kHeaderBytes + 8 ||
        std::memcmp(payload, "Exif\0\0", kHeaderBytes) != 0) {
        return 1;
    }
    const uint8_t* tiff = payload + kHeaderBytes;
    const size_t tiffSize = size - kHeaderBytes;
    bool bigEndian = false;
    if (tiff[0] == 'M' && tiff[1] == 'M') {
        bigEndian = true;
    } else if (tiff[0] != 'I' || tiff[1] != 'I') {
        return 1;
    }
    const TiffReader reader(tiff, tiffSize, bigEndian);
    uint16_t magic = 0, entries = 0;
    uint32_t ifd = 0;
    if (!reader.u16(2, magic) || magic != 42 || !reader.u32(4, ifd) || !reader.u16(ifd, entries)) {
        return 1;
    }
    // A directory that claims more entries than the segment holds is not trusted at all.
    if ((tiffSize - ifd - 2) / kEntryBytes < entries) {
        return 1;
    }
    for (size_t i = 0; i < entries; ++i) {
        const size_t entry = size_t(ifd) + 2 + i * kEntryBytes;
        uint16_t tag = 0, type = 0, value = 0;
        uint32_t count = 0;
        if (!reader.u16(entry, tag) || !reader.u16(entry + 2, type) ||
            !reader.u32(entry + 4, count) || !reader.u16(entry + 8, value)) {
            return 1;
        }
        if (tag == kOrientationTag) {
            return type == kShortType && count == 1 && value >= 1 && value <= 8 ? value : 1;
        }
    }
    return 1;
}

} // namespace pelmix
