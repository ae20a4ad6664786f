#include "dib.h"

#include <cstring>

namespace pelmix {

uint64_t rowBytes(uint32_t bitCount, uint64_t width) {
    const uint64_t bytes = ((static_cast<uint64_t>(bitCount) * width + 31) / 32) * 4;
    return bytes > UINT32_MAX ? 0 : bytes;
}

bool sizeAllowed(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= PELMIX_MAX_SIDE && height <= PELMIX_MAX_SIDE &&
           static_cast<uint64_t>(width) * static_cast<uint64_t>(height) <= PELMIX_MAX_PIXELS;
}

uint32_t colourEntries(const PELMIX_BITMAPINFOHEADER& header) {
    if (header.biCompression == PELMIX_BI_BITFIELDS &&
        (header.biBitCount == 16 || header.biBitCount == 32)) {
        return 3;
    }
    if (header.biBitCount > 8) {
        return 0;
    }
    const uint32_t most = 1u << header.biBitCount;
    if (header.biClrUsed != 0 && header.biClrUsed < most) {
        return header.biClrUsed;
    }
    return most;
}

HGLOBAL createDib(int32_t width, int32_t height, uint16_t bitCount) {
    if (!sizeAllowed(width, height) ||
        (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24)) {
        return nullptr;
    }
    const uint64_t stride = rowBytes(bitCount, static_cast<uint64_t>(width));
    const uint32_t colours = bitCount <= 8 ? (1u << bitCount) : 0;
    const uint64_t image = stride * static_cast<uint64_t>(height);
    if (stride == 0 || image > UINT32_MAX) {
        return nullptr;
    }
    const uint64_t total = kHeaderSize + colours * 4ull + image;
    HGLOBAL handle = GlobalAlloc(GHND, static_cast<SIZE_T>(total));
    if (handle == nullptr) {
        return nullptr;
    }
    auto* header = static_cast<PELMIX_BITMAPINFOHEADER*>(GlobalLock(handle));
    header->biSize = kHeaderSize;
    header->biWidth = width;
    header->biHeight = height;
    header->biPlanes = 1;
    header->biBitCount = bitCount;
    header->biCompression = PELMIX_BI_RGB;
    header->biSizeImage = static_cast<uint32_t>(image);
    header->biClrUsed = colours;
    GlobalUnlock(handle);
    return handle;
}

DibView::DibView(HGLOBAL handle) : handle_(handle) {
    if (handle == nullptr) {
        return;
    }
    auto* base = static_cast<uint8_t*>(GlobalLock(handle));
    if (base == nullptr) {
        return;
    }
    const uint64_t blockSize = GlobalSize(handle);
    const auto fail = [&] { GlobalUnlock(handle); };
    if (blockSize < kHeaderSize) {
        fail();
        return;
    }
    PELMIX_BITMAPINFOHEADER header;
    std::memcpy(&header, base, sizeof header);
    const uint16_t bits = header.biBitCount;
    const bool knownDepth =
        bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
    const bool knownCompression =
        header.biCompression == PELMIX_BI_RGB ||
        (header.biCompression == PELMIX_BI_BITFIELDS && (bits == 16 || bits == 32));
    if (header.biSize != kHeaderSize || !knownDepth || !knownCompression || header.biPlanes > 1) {
        fail();
        return;
    }
    if (header.biHeight == INT32_MIN) {
        fail();
        return;
    }
    const int64_t height =
        header.biHeight < 0 ? -static_cast<int64_t>(header.biHeight) : header.biHeight;
    if (!sizeAllowed(header.biWidth, height)) {
        fail();
        return;
    }
    const uint64_t stride = rowBytes(bits, static_cast<uint64_t>(header.biWidth));
    const uint32_t colours = colourEntries(header);
    const uint64_t need = kHeaderSize + colours * 4ull + stride * static_cast<uint64_t>(height);
    if (stride == 0 || need > blockSize) {
        fail();
        return;
    }
    base_ = base;
    bits_ = base + kHeaderSize + colours * 4;
    width_ = header.biWidth;
    height_ = static_cast<int32_t>(height);
    stride_ = static_cast<uint32_t>(stride);
    colourCount_ = colours;
    bottomUp_ = header.biHeight > 0;
}

DibView::~DibView() {
    if (base_ != nullptr) {
        GlobalUnlock(handle_);
    }
}

void DibView::masks(uint32_t& red, uint32_t& green, uint32_t& blue) const {
    if (header().biCompression == PELMIX_BI_BITFIELDS) {
        uint32_t m[3];
        std::memcpy(m, colours(), sizeof m);
        red = m[0];
        green = m[1];
        blue = m[2];
    } else if (bitCount() == 16) {
        red = 0x7C00;
        green = 0x03E0;
        blue = 0x001F;
    } else {
        red = 0x00FF0000;
        green = 0x0000FF00;
        blue = 0x000000FF;
    }
}

bool greyPalette(const Rgbq* colours, uint32_t count) {
    for (uint32_t i = 0; i < count; ++i) {
        if (colours[i].red != colours[i].green || colours[i].green != colours[i].blue) {
            return false;
        }
    }
    return true;
}

int32_t colourType(const DibView& dib) {
    switch (dib.bitCount()) {
    case 1:
        return PELMIX_TWO_COLOUR;
    case 4:
        return greyPalette(dib.colours(), dib.colourCount()) ? PELMIX_16_GREYS : PELMIX_16_COLOURS;
    case 8:
        return greyPalette(dib.colours(), dib.colourCount()) ? PELMIX_256_GREYS
                                                             : PELMIX_256_COLOURS;
    default:
        return PELMIX_FULL_COLOUR;
    }
}

namespace {

// Value of a channel under a mask, scaled to 0..255.
uint8_t channel(uint32_t pixel, uint32_t mask) {
    if (mask == 0) {
        return 0;
    }
    int shift = 0;
    while (((mask >> shift) & 1) == 0) {
        ++shift;
    }
    const uint32_t max = mask >> shift;
    const uint32_t value = (pixel & mask) >> shift;
    return static_cast<uint8_t>((static_cast<uint64_t>(value) * 255 + max / 2) / max);
}

} // namespace

HGLOBAL normalizedCopy(HGLOBAL image) {
    DibView source(image);
    if (!source.valid()) {
        return nullptr;
    }
    const uint16_t bits = source.bitCount();
    const uint16_t target = bits > 8 ? 24 : bits;
    HGLOBAL result = createDib(source.width(), source.height(), target);
    if (result == nullptr) {
        return nullptr;
    }
    DibView out(result);
    copyResolution(source.header(), out.header());
    if (target <= 8) {
        std::memcpy(out.colours(), source.colours(), source.colourCount() * sizeof(Rgbq));
    }
    const int32_t width = source.width();
    const bool direct = bits == 24 || bits <= 8;
    uint32_t rm = 0, gm = 0, bm = 0;
    if (!direct) {
        source.masks(rm, gm, bm);
    }
    for (int32_t y = 0; y < source.height(); ++y) {
        const uint8_t* in = source.row(y);
        uint8_t* dst = out.row(y);
        if (direct) {
            std::memcpy(dst, in, out.stride());
            continue;
        }
        for (int32_t x = 0; x < width; ++x) {
            uint32_t pixel;
            if (bits == 16) {
                pixel =
                    static_cast<uint32_t>(in[2 * x]) | (static_cast<uint32_t>(in[2 * x + 1]) << 8);
            } else {
                std::memcpy(&pixel, in + 4 * x, 4);
            }
            dst[3 * x] = channel(pixel, bm);
            dst[3 * x + 1] = channel(pixel, gm);
            dst[3 * x + 2] = channel(pixel, rm);
        }
    }
    return result;
}

bool replaceContents(HGLOBAL target, HGLOBAL source) {
    const SIZE_T size = GlobalSize(source);
    if (size == 0 || target == source || (GlobalFlags(target) & GMEM_INVALID_HANDLE) != 0 ||
        (GlobalFlags(target) & GMEM_LOCKCOUNT) != 0) {
        return false;
    }
    if (GlobalReAlloc(target, size, GMEM_MOVEABLE) == nullptr) {
        return false;
    }
    void* to = GlobalLock(target);
    void* from = GlobalLock(source);
    if (to == nullptr || from == nullptr) {
        if (to) {
            GlobalUnlock(target);
        }
        if (from) {
            GlobalUnlock(source);
        }
        return false;
    }
    std::memcpy(to, from, size);
    GlobalUnlock(source);
    GlobalUnlock(target);
    GlobalFree(source);
    return true;
}

void copyResolution(const PELMIX_BITMAPINFOHEADER& from, PELMIX_BITMAPINFOHEADER& to) {
    to.biXPelsPerMeter = from.biXPelsPerMeter;
    to.biYPelsPerMeter = from.biYPelsPerMeter;
}

} // namespace pelmix
