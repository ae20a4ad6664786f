// BMP files. The reader takes no field on trust: every offset, count and size is checked against
// the bytes actually present before anything is allocated. The writer produces the plainest form
// every reader knows: a 40-byte header, a full colour table and uncompressed bottom-up rows.
#include "codecs.h"
#include "dib.h"
#include "file_io.h"
#include "file_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <new>
#include <vector>

namespace pelmix {
namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr uint32_t kCoreHeaderSize = 12; // OS/2: 16-bit sizes, 3-byte palette entries
constexpr uint32_t kInfoHeaderSize = 40;
// OS/2 2.x: a 64-byte header starting like the 40-byte one, which may be cut short after any
// field from 16 bytes on (missing fields are 0); 4-byte palette entries.
constexpr uint32_t kOs2ShortHeaderSize = 16;
constexpr uint32_t kOs2HeaderSize = 64;
constexpr uint32_t kOs2Huffman1D = 3; // not BI_BITFIELDS in an OS/2 header

bool isOs2v2Header(uint32_t size) {
    return size >= kOs2ShortHeaderSize && size <= kOs2HeaderSize && size % 4 == 0 &&
           size != kInfoHeaderSize && size != 52 && size != 56;
}

// An RLE picture may be announced by a few bytes (a bare end-of-bitmap code), so its size cannot
// be checked against the file like an uncompressed one. A real encoder covers at most 255 pixels
// per two bytes of runs; allowing a generous multiple of that, plus a fixed allowance for small
// pictures, stops a tiny file from making us allocate a quarter of a gigabyte.
constexpr uint64_t kRlePixelsPerByte = 1024;
constexpr uint64_t kRleFreePixels = uint64_t(1) << 24;

uint16_t le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t le32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// One colour channel of a 16- or 32-bit pixel, scaled to 0..255 whatever its width.
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    uint32_t max = 1;

    // Palette and 24-bit layouts carry no masks; a zero mask then simply reads as 0.
    explicit Channel(uint32_t m)
        : mask(m), shift(m == 0 ? 0 : std::countr_zero(m)), max(m == 0 ? 1 : m >> shift) {}
    uint8_t operator()(uint32_t pixel) const {
        const uint64_t value = (pixel & mask) >> shift;
        return static_cast<uint8_t>((value * 255 + max / 2) / max);
    }
};

// A usable mask is a single run of bits inside the pixel.
bool maskUsable(uint32_t mask, uint16_t bits) {
    if (mask == 0 || (bits == 16 && mask > 0xFFFF)) {
        return false;
    }
    const uint64_t run = mask >> std::countr_zero(mask);
    return (run & (run + 1)) == 0;
}

// Everything the headers say, after checking.
struct Layout {
    int32_t width = 0;
    int32_t height = 0;
    bool topDown = false;
    uint16_t bits = 0;
    uint32_t compression = PELMIX_BI_RGB;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    size_t paletteOffset = 0;
    uint32_t paletteEntries = 0;
    uint32_t entrySize = 4;
    uint32_t masks[3] = {0, 0, 0}; // red, green, blue
    size_t pixelOffset = 0;
};

bool depthAndCompressionKnown(uint16_t bits, uint32_t compression) {
    switch (compression) {
    case PELMIX_BI_RGB:
        return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    case PELMIX_BI_BITFIELDS:
        return bits == 16 || bits == 32;
    case PELMIX_BI_RLE8:
        return bits == 8;
    case PELMIX_BI_RLE4:
        return bits == 4;
    default:
        return false;
    }
}

bool readMasks(const uint8_t* data, size_t size, uint32_t headerSize, Layout& layout,
               size_t& headersEnd) {
    const uint8_t* at = nullptr;
    if (layout.compression == PELMIX_BI_BITFIELDS) {
        if (headerSize == kInfoHeaderSize) {
            // The plain header keeps its masks just after itself, where a palette would be.
            if (headersEnd + 12 > size) {
                return false;
            }
            at = data + headersEnd;
            headersEnd += 12;
        } else {
            at = data + kFileHeaderSize + kInfoHeaderSize;
        }
        for (int i = 0; i < 3; ++i) {
            layout.masks[i] = le32(at + 4 * i);
        }
    } else if (layout.bits == 16) {
        layout.masks[0] = 0x7C00;
        layout.masks[1] = 0x03E0;
        layout.masks[2] = 0x001F;
    } else {
        layout.masks[0] = 0x00FF0000;
        layout.masks[1] = 0x0000FF00;
        layout.masks[2] = 0x000000FF;
    }
    const uint32_t* m = layout.masks;
    return maskUsable(m[0], layout.bits) && maskUsable(m[1], layout.bits) &&
           maskUsable(m[2], layout.bits) && (m[0] & m[1]) == 0 && (m[0] & m[2]) == 0 &&
           (m[1] & m[2]) == 0;
}

// headersOnly: data is only the start of the file, and the pixel data is not looked for in it.
bool parseHeaders(const uint8_t* data, size_t size, Layout& layout, bool headersOnly = false) {
    if (size < kFileHeaderSize + 4 || data[0] != 'B' || data[1] != 'M') {
        return false;
    }
    const uint32_t pixelOffset = le32(data + 10);
    const uint32_t headerSize = le32(data + kFileHeaderSize);
    const bool os2 = isOs2v2Header(headerSize);
    if (headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize && headerSize != 52 &&
        headerSize != 56 && headerSize != 108 && headerSize != 124 && !os2) {
        return false;
    }
    if (kFileHeaderSize + headerSize > size) {
        return false;
    }
    const uint8_t* h = data + kFileHeaderSize;
    int64_t height = 0;
    uint16_t planes = 0;
    uint32_t clrUsed = 0;
    if (headerSize == kCoreHeaderSize) {
        layout.width = le16(h + 4);
        height = le16(h + 6);
        planes = le16(h + 8);
        layout.bits = le16(h + 10);
        layout.entrySize = 3;
    } else {
        // Fields a short OS/2 header leaves out read as 0.
        const auto field = [h, headerSize](uint32_t offset) {
            return offset + 4 <= headerSize ? le32(h + offset) : 0u;
        };
        layout.width = static_cast<int32_t>(field(4));
        height = static_cast<int32_t>(field(8));
        planes = le16(h + 12);
        layout.bits = le16(h + 14);
        layout.compression = field(16);
        layout.xPelsPerMeter = static_cast<int32_t>(field(24));
        layout.yPelsPerMeter = static_cast<int32_t>(field(28));
        clrUsed = field(32);
        if (os2 && layout.compression == kOs2Huffman1D) {
            return false;
        }
    }
    layout.topDown = height < 0;
    height = height < 0 ? -height : height;
    const bool rle = layout.compression == PELMIX_BI_RLE8 || layout.compression == PELMIX_BI_RLE4;
    // A planes value of 0 is a common writer slip; more than one plane is a layout we cannot read.
    if (planes > 1 || !sizeAllowed(layout.width, height) ||
        !depthAndCompressionKnown(layout.bits, layout.compression) || (rle && layout.topDown)) {
        return false;
    }
    layout.height = static_cast<int32_t>(height);

    size_t headersEnd = kFileHeaderSize + headerSize;
    if (layout.bits > 8 && !readMasks(data, size, headerSize, layout, headersEnd)) {
        return false;
    }
    if (pixelOffset < headersEnd || (!headersOnly && pixelOffset >= size)) {
        return false;
    }
    layout.pixelOffset = pixelOffset;
    layout.paletteOffset = headersEnd;
    if (layout.bits <= 8) {
        const uint32_t most = 1u << layout.bits;
        uint32_t entries = clrUsed == 0 ? most : clrUsed;
        if (entries > most) {
            return false;
        }
        // OS/2 files carry no count; some writers store fewer entries than the depth allows and
        // the pixel data then starts where the short table ends.
        if (headerSize == kCoreHeaderSize && pixelOffset < headersEnd + 3ull * entries) {
            entries = static_cast<uint32_t>((pixelOffset - headersEnd) / 3);
        }
        if (headersEnd + static_cast<uint64_t>(entries) * layout.entrySize > size) {
            return false;
        }
        layout.paletteEntries = entries;
    }
    if (headersOnly) {
        return true;
    }

    const uint64_t available = size - pixelOffset;
    if (rle) {
        const uint64_t pixels = static_cast<uint64_t>(layout.width) * layout.height;
        return pixels <= kRleFreePixels || pixels <= available * kRlePixelsPerByte;
    }
    // Rows are padded to 4 bytes; only the last row may lack its padding.
    const uint64_t stride = rowBytes(layout.bits, static_cast<uint64_t>(layout.width));
    const uint64_t used = (static_cast<uint64_t>(layout.bits) * layout.width + 7) / 8;
    return stride != 0 && stride * (layout.height - 1) + used <= available;
}

void copyPalette(const uint8_t* data, const Layout& layout, Rgbq* colours) {
    // Entries beyond the file's table stay zero, so an index past it reads as black.
    const uint8_t* entry = data + layout.paletteOffset;
    for (uint32_t i = 0; i < layout.paletteEntries; ++i, entry += layout.entrySize) {
        colours[i] = Rgbq{entry[0], entry[1], entry[2], 0};
    }
}

void copyRows(const uint8_t* data, const Layout& layout, const DibView& out) {
    const uint64_t stride = rowBytes(layout.bits, static_cast<uint64_t>(layout.width));
    const size_t used = (static_cast<size_t>(layout.bits) * layout.width + 7) / 8;
    const Channel red(layout.masks[0]), green(layout.masks[1]), blue(layout.masks[2]);
    for (int32_t row = 0; row < layout.height; ++row) {
        const uint8_t* in = data + layout.pixelOffset + row * stride;
        uint8_t* dst = out.row(layout.topDown ? row : layout.height - 1 - row);
        if (layout.bits <= 8 || layout.bits == 24) {
            std::memcpy(dst, in, used);
            continue;
        }
        for (int32_t x = 0; x < layout.width; ++x, dst += 3) {
            const uint32_t pixel = layout.bits == 16 ? le16(in + 2 * x) : le32(in + 4 * x);
            dst[0] = blue(pixel);
            dst[1] = green(pixel);
            dst[2] = red(pixel);
        }
    }
}

// Runs that leave the picture are clipped; a stream that stops early leaves the rest at index 0.
void decodeRle(const uint8_t* p, size_t n, const DibView& out, uint16_t bits) {
    const int64_t width = out.width();
    const int64_t height = out.height();
    int64_t x = 0;
    int64_t y = 0; // counted from the bottom, as the stream runs
    const auto put = [&](uint8_t value) {
        if (x < width) {
            setIndexAt(out.row(static_cast<int32_t>(height - 1 - y)), static_cast<int32_t>(x), bits,
                       value);
            ++x;
        }
    };
    // RLE4 runs alternate the two nibbles of their byte, high first.
    const auto pick = [bits](uint8_t byte, int k) -> uint8_t {
        return bits == 8 ? byte : (k & 1) ? (byte & 0x0F) : (byte >> 4);
    };
    size_t i = 0;
    while (i + 1 < n && y < height) {
        const uint8_t count = p[i];
        const uint8_t code = p[i + 1];
        i += 2;
        if (count != 0) {
            for (int k = 0; k < count && x < width; ++k) {
                put(pick(code, k));
            }
            continue;
        }
        switch (code) {
        case 0: // end of line
            x = 0;
            ++y;
            break;
        case 1: // end of bitmap
            return;
        case 2: // delta: the skipped pixels keep index 0
            if (i + 1 >= n) {
                return;
            }
            x = std::min<int64_t>(x + p[i], width);
            y += p[i + 1];
            i += 2;
            break;
        default: { // absolute run of `code` pixels, padded to a 16-bit boundary
            const size_t bytes = bits == 8 ? code : (code + 1u) / 2;
            for (int k = 0; k < code; ++k) {
                const size_t at = i + (bits == 8 ? k : k / 2);
                if (at >= n) {
                    return;
                }
                put(pick(p[at], k));
            }
            i += bytes + (bytes & 1);
        }
        }
    }
}

void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, static_cast<uint16_t>(v));
    put16(out, static_cast<uint16_t>(v >> 16));
}

// Writes a bottom-up BI_RGB image of 1, 4, 8 or 24 bits as it is stored.
// The file header, the info header and the colour table of dib; false when the file would pass
// the format's 4 GiB.
bool writeHeaders(const DibView& dib, std::vector<uint8_t>& out) {
    const uint32_t colours = dib.colourCount();
    const uint64_t image = static_cast<uint64_t>(dib.stride()) * dib.height();
    const uint64_t offset = kFileHeaderSize + kInfoHeaderSize + 4ull * colours;
    if (offset + image > UINT32_MAX) {
        return false;
    }
    out.clear();
    out.reserve(static_cast<size_t>(offset));
    out.push_back('B');
    out.push_back('M');
    put32(out, static_cast<uint32_t>(offset + image));
    put32(out, 0); // reserved
    put32(out, static_cast<uint32_t>(offset));
    const PELMIX_BITMAPINFOHEADER& h = dib.header();
    put32(out, kInfoHeaderSize);
    put32(out, static_cast<uint32_t>(dib.width()));
    put32(out, static_cast<uint32_t>(dib.height()));
    put16(out, 1);
    put16(out, dib.bitCount());
    put32(out, PELMIX_BI_RGB);
    put32(out, static_cast<uint32_t>(image));
    put32(out, static_cast<uint32_t>(h.biXPelsPerMeter));
    put32(out, static_cast<uint32_t>(h.biYPelsPerMeter));
    put32(out, colours);
    put32(out, 0); // every colour matters
    for (uint32_t i = 0; i < colours; ++i) {
        const Rgbq& c = dib.colours()[i];
        out.insert(out.end(), {c.blue, c.green, c.red, 0});
    }
    return true;
}

bool writeFile(const DibView& dib, std::vector<uint8_t>& out) {
    try {
        if (!writeHeaders(dib, out)) {
            return false;
        }
        const size_t image = static_cast<size_t>(dib.stride()) * dib.height();
        out.insert(out.end(), dib.pixels(), dib.pixels() + image);
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
    return true;
}

// Writes dib as a file at path, its pixels straight from the image.
bool saveFile(const DibView& dib, const char* path) {
    std::vector<uint8_t> headers;
    try {
        if (!writeHeaders(dib, headers)) {
            return false;
        }
    } catch (const std::bad_alloc&) {
        return false;
    }
    const size_t image = static_cast<size_t>(dib.stride()) * dib.height();
    AtomicFile file(path);
    return file.create() && file.write({{headers.data(), headers.size()}, {dib.pixels(), image}}) &&
           file.commit();
}

// The bytes of pixel data a picture of layout can use: its rows, or for RLE what the longest
// stream of absolute runs and line ends would take.
uint64_t pixelBytesUsed(const Layout& layout) {
    const uint64_t width = static_cast<uint64_t>(layout.width);
    const uint64_t height = static_cast<uint64_t>(layout.height);
    if (layout.compression == PELMIX_BI_RLE8 || layout.compression == PELMIX_BI_RLE4) {
        return (width + 4) * 2 * height + 2;
    }
    return rowBytes(layout.bits, width) * height;
}

// Calls write with image as a plain file holds it: the image itself, or for top-down rows and
// 16/32-bit pixels a normalised copy.
template <typename Write> bool withPlainDib(HGLOBAL image, Write write) {
    {
        DibView dib(image);
        if (!dib.valid()) {
            return false;
        }
        const uint16_t bits = dib.bitCount();
        if (dib.bottomUp() && bits != 16 && bits != 32) {
            return write(dib);
        }
    }
    OwnedDib copy(normalizedCopy(image));
    if (!copy) {
        return false;
    }
    DibView dib(copy.get());
    return dib.valid() && write(dib);
}

} // namespace

HGLOBAL decodeBmp(const FileReader& file) {
    // Every header and the largest colour table fit in this much of the file's start.
    constexpr size_t kHeadBytes = 2048;
    std::vector<uint8_t> head(static_cast<size_t>(std::min<uint64_t>(file.size(), kHeadBytes)));
    head.resize(file.readAt(0, head.data(), head.size()));
    Layout layout;
    if (!parseHeaders(head.data(), head.size(), layout, true) ||
        layout.pixelOffset >= file.size()) {
        return nullptr;
    }
    // Only the headers, the table and the pixel data the picture can use are read: a file
    // extended with a hole (or anything else after the picture) costs nothing. Where the pixels
    // start after a gap, they are put straight after the table.
    const size_t tableEnd = static_cast<size_t>(layout.paletteOffset) +
                            size_t(layout.paletteEntries) * layout.entrySize;
    const size_t kept = std::min(tableEnd, layout.pixelOffset);
    // Pixels that start inside a nominally full table still leave the table whole.
    const uint64_t wanted = std::max<uint64_t>(pixelBytesUsed(layout), tableEnd - kept);
    const uint64_t pixels = std::min(file.size() - layout.pixelOffset, wanted);
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(kept + static_cast<size_t>(pixels));
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    std::copy(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(std::min(kept, head.size())),
              bytes.begin());
    const size_t got = file.readAt(layout.pixelOffset, bytes.data() + kept, bytes.size() - kept);
    bytes.resize(kept + got);
    const uint32_t offset = static_cast<uint32_t>(kept);
    for (int i = 0; i < 4; ++i) {
        bytes[10 + i] = static_cast<uint8_t>(offset >> (8 * i));
    }
    return decodeBmp(bytes.data(), bytes.size());
}

HGLOBAL decodeBmp(const uint8_t* data, size_t size) {
    Layout layout;
    if (data == nullptr || !parseHeaders(data, size, layout)) {
        return nullptr;
    }
    const uint16_t outBits = layout.bits <= 8 ? layout.bits : 24;
    OwnedDib image(createDib(layout.width, layout.height, outBits));
    if (!image) {
        return nullptr;
    }
    {
        DibView out(image.get());
        if (!out.valid()) {
            return nullptr;
        }
        out.header().biXPelsPerMeter = layout.xPelsPerMeter;
        out.header().biYPelsPerMeter = layout.yPelsPerMeter;
        if (outBits <= 8) {
            copyPalette(data, layout, out.colours());
        }
        if (layout.compression == PELMIX_BI_RLE8 || layout.compression == PELMIX_BI_RLE4) {
            decodeRle(data + layout.pixelOffset, size - layout.pixelOffset, out, layout.bits);
        } else {
            copyRows(data, layout, out);
        }
    }
    return image.release();
}

bool saveBmp(HGLOBAL image, const char* path) {
    return withPlainDib(image, [&](const DibView& dib) { return saveFile(dib, path); });
}

bool encodeBmp(HGLOBAL image, std::vector<uint8_t>& out) {
    return withPlainDib(image, [&](const DibView& dib) { return writeFile(dib, out); });
}

} // namespace pelmix
