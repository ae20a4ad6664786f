#include "jpeg_extent.h"

#include "dib.h"
#include "exif_orientation.h"
#include "jpeg_markers.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace pelmix {
namespace {

constexpr uint64_t kWindow = uint64_t(64) << 10;
// The decoder skips stray bytes between segments, whatever their number; a real file has a few.
constexpr uint64_t kMostStrayBytes = uint64_t(1) << 20;
// No block of any component costs more than about 210 bytes of Huffman-coded data, twice that
// with every byte stuffed: a scan longer than this per block (plus an allowance for restart
// markers and small pictures) is no picture. A run of zero bytes is what an encoder writes for the
// cheapest blocks, a few bits each; one longer than this per block is a hole, not a picture.
constexpr uint64_t kMostScanBytesPerBlock = 1024;
constexpr uint64_t kMostZeroBytesPerBlock = 32;
constexpr uint64_t kAllowance = uint64_t(1) << 20;

// The file through a window of kWindow bytes; holes read as zeros without reading them.
class Window {
public:
    explicit Window(const FileReader& file) : file_(file), bytes_(kWindow) {}

    uint64_t size() const { return file_.size(); }
    // The byte at pos, -1 past the end.
    int at(uint64_t pos) {
        if (!load(pos)) {
            return -1;
        }
        return pos < holeEnd_ ? 0 : bytes_[pos - start_];
    }
    // Moves pos to the next 0xFF (to size() when there is none). False, pos left anywhere,
    // when more than mostBytes bytes, or a run of more than mostZeros zero bytes, come first
    // (the run counted in whole windows and holes).
    bool nextFf(uint64_t& pos, uint64_t mostBytes, uint64_t mostZeros) {
        const uint64_t from = pos;
        uint64_t zeros = 0;
        while (load(pos)) {
            if (pos < holeEnd_) {
                zeros += holeEnd_ - pos;
                pos = holeEnd_;
            } else {
                const uint8_t* begin = bytes_.data() + (pos - start_);
                const uint8_t* end = bytes_.data() + count_;
                const void* ff = std::memchr(begin, 0xFF, static_cast<size_t>(end - begin));
                if (ff != nullptr) {
                    pos += static_cast<uint64_t>(static_cast<const uint8_t*>(ff) - begin);
                    return pos - from <= mostBytes;
                }
                const bool allZero = std::all_of(begin, end, [](uint8_t b) { return b == 0; });
                zeros = allZero ? zeros + static_cast<uint64_t>(end - begin) : 0;
                pos = start_ + count_;
            }
            if (zeros > mostZeros || pos - from > mostBytes) {
                return false;
            }
        }
        pos = std::min(pos, size());
        return pos - from <= mostBytes;
    }
    // count bytes from pos into out; false when the file holds fewer.
    bool read(uint64_t pos, size_t count, std::vector<uint8_t>& out) {
        out.resize(count);
        return file_.readAt(pos, out.data(), count) == count;
    }

private:
    // Makes pos readable; false past the end of the data.
    bool load(uint64_t pos) {
        if (pos < holeEnd_ && pos >= holeStart_) {
            return true;
        }
        if (pos >= start_ && pos < start_ + count_) {
            return true;
        }
        if (pos >= size()) {
            return false;
        }
        const uint64_t data = file_.dataFrom(pos);
        if (data > pos) {
            holeStart_ = pos;
            holeEnd_ = data;
            count_ = 0;
            return true;
        }
        holeStart_ = holeEnd_ = 0;
        start_ = pos;
        count_ = file_.readAt(pos, bytes_.data(), bytes_.size());
        return count_ > 0;
    }

    const FileReader& file_;
    std::vector<uint8_t> bytes_;
    uint64_t start_ = 0;
    uint64_t count_ = 0;
    uint64_t holeStart_ = 0;
    uint64_t holeEnd_ = 0;
};

bool isStandalone(int code) {
    return code == 0x01 || (code >= 0xD0 && code <= 0xD7);
}

bool isFrameHeader(int code) {
    return code >= 0xC0 && code <= 0xCF && code != 0xC4 && code != 0xC8 && code != 0xCC;
}

// Skips a scan's entropy-coded data from pos to the marker that ends it (or the end of the file);
// false when the data cannot belong to a frame of that many blocks.
bool skipScan(Window& window, uint64_t blocks, uint64_t& pos) {
    const uint64_t end = pos + blocks * kMostScanBytesPerBlock + kAllowance;
    const uint64_t mostZeros = blocks * kMostZeroBytesPerBlock + kAllowance;
    while (pos < window.size()) {
        if (pos > end || !window.nextFf(pos, end - pos, mostZeros)) {
            return false;
        }
        const int next = window.at(pos + 1);
        if (next < 0) {
            pos = window.size();
        } else if (next == 0x00 || (next >= 0xD0 && next <= 0xD7)) {
            pos += 2; // a stuffed byte or a restart marker: still the scan's data
        } else if (next == 0xFF) {
            ++pos; // a fill byte before a marker
        } else {
            return true;
        }
    }
    pos = window.size();
    return true;
}

// Where the JPEG starting the file ends; false when it does not start with a start-of-image
// marker.
bool walk(const FileReader& file, JpegExtent& out, bool& sawScan) {
    Window window(file);
    if (window.at(0) != 0xFF || window.at(1) != 0xD8) {
        return false;
    }
    std::vector<uint8_t> payload;
    uint64_t blocks = 0;
    bool sawFrame = false, sawExif = false;
    uint64_t pos = 2;
    for (;;) {
        // Stray bytes, then fill bytes, before a marker.
        const uint64_t stray = pos;
        if (!window.nextFf(pos, kMostStrayBytes, kMostStrayBytes)) {
            out.bytes = stray;
            return true;
        }
        while (window.at(pos) == 0xFF) {
            ++pos;
        }
        const int code = window.at(pos++);
        if (code < 0) {
            out.bytes = window.size();
            return true;
        }
        if (code == 0xD9) {
            out.bytes = pos;
            out.complete = true;
            return true;
        }
        if (code == 0x00 || isStandalone(code)) {
            continue;
        }
        const int high = window.at(pos), low = window.at(pos + 1);
        const uint64_t length = high < 0 || low < 0 ? 0 : uint64_t(high) << 8 | uint64_t(low);
        if (length < 2) {
            out.bytes = window.size(); // a broken segment: the decoder refuses it
            return true;
        }
        if (isFrameHeader(code) && !sawFrame) {
            sawFrame = true;
            if (window.read(pos + 2, static_cast<size_t>(length - 2), payload) &&
                payload.size() >= 6) {
                out.height = payload[1] << 8 | payload[2];
                out.width = payload[3] << 8 | payload[4];
                out.components = payload[5];
                blocks = jpegFrameBlocks(payload.data(), payload.size());
                if (!sizeAllowed(out.width, out.height)) {
                    out.picture = false;
                    return true;
                }
            }
        } else if (code == 0xE1 && !sawExif && length >= 8 &&
                   window.read(pos + 2, static_cast<size_t>(length - 2), payload) &&
                   std::memcmp(payload.data(), "Exif\0\0", 6) == 0) {
            sawExif = true;
            out.orientation = exifOrientation(payload.data(), payload.size());
        }
        pos += length;
        if (code == 0xDA) {
            sawScan = true;
            if (!skipScan(window, blocks, pos)) {
                out.picture = false;
                return true;
            }
        }
    }
}

} // namespace

bool scanJpegExtent(const FileReader& file, JpegExtent& out) {
    out = JpegExtent{};
    bool sawScan = false;
    if (!walk(file, out, sawScan)) {
        return false;
    }
    out.picture = out.picture && sawScan;
    return true;
}

} // namespace pelmix
