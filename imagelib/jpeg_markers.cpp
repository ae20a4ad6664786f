#include "jpeg_markers.h"

#include "exif_orientation.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace pelmix {
namespace {

constexpr uint8_t kSoi = 0xD8;
constexpr uint8_t kEoi = 0xD9;
constexpr uint8_t kSos = 0xDA;
constexpr uint8_t kApp0 = 0xE0;
constexpr uint8_t kApp1 = 0xE1;
constexpr uint8_t kApp14 = 0xEE;

uint16_t be16(const uint8_t* p) {
    return static_cast<uint16_t>((p[0] << 8) | p[1]);
}

bool isStandalone(uint8_t code) {
    return code == 0x01 || (code >= 0xD0 && code <= 0xD7);
}

// SOF0..SOF15 except DHT (C4), JPG (C8) and DAC (CC).
bool isFrameHeader(uint8_t code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// Baseline, extended and progressive Huffman frames: the ones whose minimum cost per block we
// know. Arithmetic coding can squeeze a flat picture far below one bit per block.
bool isHuffmanFrame(uint8_t code) {
    return code == 0xC0 || code == 0xC1 || code == 0xC2;
}

uint64_t ceilDiv(uint64_t a, uint64_t b) {
    return (a + b - 1) / b;
}

} // namespace

uint64_t jpegFrameBlocks(const uint8_t* p, size_t length) {
    if (length < 6) {
        return 0;
    }
    const uint64_t height = be16(p + 1);
    const uint64_t width = be16(p + 3);
    const size_t components = p[5];
    if (components == 0 || length < 6 + 3 * components) {
        return 0;
    }
    unsigned hMax = 1, vMax = 1;
    for (size_t i = 0; i < components; ++i) {
        const unsigned h = p[6 + 3 * i + 1] >> 4, v = p[6 + 3 * i + 1] & 15;
        if (h < 1 || h > 4 || v < 1 || v > 4) {
            return 0;
        }
        hMax = std::max(hMax, h);
        vMax = std::max(vMax, v);
    }
    uint64_t blocks = 0;
    for (size_t i = 0; i < components; ++i) {
        const unsigned h = p[6 + 3 * i + 1] >> 4, v = p[6 + 3 * i + 1] & 15;
        blocks += ceilDiv(ceilDiv(width * h, hMax), 8) * ceilDiv(ceilDiv(height * v, vMax), 8);
    }
    return blocks;
}

namespace {

// Skips entropy-coded data from pos to the next real marker (stuffed zeros and restart markers
// belong to the data). Returns the position of the marker's 0xFF, or size.
size_t skipEntropyData(const uint8_t* data, size_t size, size_t pos) {
    while (pos < size) {
        const void* ff = std::memchr(data + pos, 0xFF, size - pos);
        if (ff == nullptr) {
            return size;
        }
        pos = static_cast<size_t>(static_cast<const uint8_t*>(ff) - data);
        if (pos + 1 >= size) {
            return size;
        }
        const uint8_t next = data[pos + 1];
        if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
            pos += 2;
        } else if (next == 0xFF) {
            ++pos; // fill byte before a marker
        } else {
            return pos;
        }
    }
    return size;
}

// Which coefficients of each frame component the scans have delivered to full precision.
class ScanCoverage {
public:
    void frame(const uint8_t* p, size_t length) {
        if (length < 6 || p[5] == 0 || p[5] > kMaxComponents || length < 6 + 3u * p[5]) {
            return;
        }
        count_ = p[5];
        for (size_t i = 0; i < count_; ++i) {
            ids_[i] = p[6 + 3 * i];
        }
    }
    void scan(const uint8_t* p, size_t length) {
        if (length < 1 || length < 1 + 2u * p[0] + 3) {
            return;
        }
        const size_t components = p[0];
        const uint8_t* tail = p + 1 + 2 * components;
        const unsigned first = tail[0], last = tail[1], low = tail[2] & 15;
        if (low != 0 || first > last || last > 63) {
            return; // a scan that leaves refinement bits to later ones
        }
        const uint64_t bits = (last == 63 ? ~uint64_t(0) : (uint64_t(1) << (last + 1)) - 1) &
                              ~((uint64_t(1) << first) - 1);
        for (size_t c = 0; c < components; ++c) {
            for (size_t i = 0; i < count_; ++i) {
                if (ids_[i] == p[1 + 2 * c]) {
                    done_[i] |= bits;
                }
            }
        }
    }
    bool complete() const {
        for (size_t i = 0; i < count_; ++i) {
            if (done_[i] != ~uint64_t(0)) {
                return false;
            }
        }
        return count_ > 0;
    }

private:
    static constexpr size_t kMaxComponents = 4;
    size_t count_ = 0;
    uint8_t ids_[kMaxComponents] = {};
    uint64_t done_[kMaxComponents] = {};
};

} // namespace

bool readJpegMarkers(const uint8_t* data, size_t size, JpegMarkers& out) {
    out = JpegMarkers{};
    if (data == nullptr || size < 2 || data[0] != 0xFF || data[1] != kSoi) {
        return false;
    }
    bool sawScan = false;
    bool sawFrame = false;
    bool inScanData = false;
    bool sawExif = false;
    ScanCoverage coverage;
    size_t pos = 2;
    while (pos < size) {
        // Like the decoder, tolerate stray bytes before a marker, then any fill bytes.
        while (pos < size && data[pos] != 0xFF) {
            ++pos;
        }
        while (pos < size && data[pos] == 0xFF) {
            ++pos;
        }
        if (pos >= size) {
            break;
        }
        const uint8_t code = data[pos++];
        inScanData = false;
        if (code == kEoi) {
            out.complete = sawScan;
            break;
        }
        if (code == 0x00 || isStandalone(code)) {
            continue;
        }
        if (size - pos < 2) {
            break;
        }
        const size_t length = be16(data + pos);
        if (length < 2 || length > size - pos) {
            break;
        }
        const uint8_t* payload = data + pos + 2;
        const size_t payloadSize = length - 2;
        pos += length;

        if (code == kApp0 && out.densityUnits < 0 && payloadSize >= 12 &&
            std::memcmp(payload, "JFIF\0", 5) == 0) {
            out.densityUnits = payload[7];
            out.xDensity = be16(payload + 8);
            out.yDensity = be16(payload + 10);
        } else if (code == kApp1 && !sawExif && payloadSize >= 6 &&
                   std::memcmp(payload, "Exif\0\0", 6) == 0) {
            sawExif = true;
            out.orientation = exifOrientation(payload, payloadSize);
        } else if (code == kApp14 && payloadSize >= 12 && std::memcmp(payload, "Adobe", 5) == 0) {
            out.adobe = true;
        } else if (isFrameHeader(code) && !sawFrame) {
            sawFrame = true;
            coverage.frame(payload, payloadSize);
            out.progressive = code == 0xC2 || code == 0xCA;
            if (isHuffmanFrame(code)) {
                out.minimumBits = jpegFrameBlocks(payload, payloadSize);
            }
        } else if (code == kSos) {
            sawScan = true;
            coverage.scan(payload, payloadSize);
            pos = skipEntropyData(data, size, pos);
            inScanData = true;
        }
    }
    out.endsInFinalScan = !out.complete && inScanData && pos >= size && coverage.complete();
    return true;
}

bool setJfifDensity(std::vector<uint8_t>& jpeg, uint16_t xDpi, uint16_t yDpi) {
    if (jpeg.size() < 4 || jpeg[0] != 0xFF || jpeg[1] != kSoi) {
        return false;
    }
    // Offsets within the file when the JFIF segment directly follows the start-of-image marker,
    // as every encoder writes it.
    constexpr size_t kUnits = 13, kX = 14, kY = 16, kSegmentEnd = 20;
    const bool hasJfif = jpeg.size() >= kSegmentEnd && jpeg[2] == 0xFF && jpeg[3] == kApp0 &&
                         be16(&jpeg[4]) >= 16 && std::memcmp(&jpeg[6], "JFIF\0", 5) == 0;
    if (!hasJfif) {
        static constexpr uint8_t segment[18] = {0xFF, kApp0, 0, 16, 'J', 'F', 'I', 'F', 0,
                                                1,    1,     0, 0,  1,   0,   1,   0,   0};
        jpeg.insert(jpeg.begin() + 2, std::begin(segment), std::end(segment));
    }
    jpeg[kUnits] = 1;
    jpeg[kX] = static_cast<uint8_t>(xDpi >> 8);
    jpeg[kX + 1] = static_cast<uint8_t>(xDpi & 0xFF);
    jpeg[kY] = static_cast<uint8_t>(yDpi >> 8);
    jpeg[kY + 1] = static_cast<uint8_t>(yDpi & 0xFF);
    return true;
}

int32_t pelsPerMetre(int units, uint16_t density) {
    switch (units) {
    case 1:
        return static_cast<int32_t>(std::lround(density / 0.0254));
    case 2:
        return static_cast<int32_t>(density) * 100;
    default:
        return 0;
    }
}

} // namespace pelmix
