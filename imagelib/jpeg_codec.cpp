// JPEG through the TurboJPEG interface of libjpeg-turbo. The decoder writes straight into the
// image handle (bottom-up BGR or grey rows at the handle's own row length), scales in the DCT for
// reduced loads and turns CMYK into RGB itself. The marker walk in jpeg_markers.cpp supplies what
// TurboJPEG does not report: resolution, the Adobe CMYK convention and whether data is missing.
#include "codecs.h"
#include "dib.h"
#include "fit_size.h"
#include "jpeg_first_scans.h"
#include "jpeg_handles.h"
#include "jpeg_markers.h"
#include "upright.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace pelmix {
namespace {

// Never show the library more than this many progressive scans: a hostile file can otherwise
// keep the decoder busy for minutes.
constexpr int kDecodeFlags = TJFLAG_BOTTOMUP | TJFLAG_LIMITSCANS;

// The smallest scale (at most 1) whose result still covers the fitted picture.
tjscalingfactor chooseScale(int width, int height, int32_t boxWidth, int32_t boxHeight) {
    tjscalingfactor best{1, 1};
    if (boxWidth <= 0 || boxHeight <= 0) {
        return best;
    }
    const FitSize wanted = fitInto(width, height, boxWidth, boxHeight);
    int count = 0;
    const tjscalingfactor* factors = tjGetScalingFactors(&count);
    for (int i = 0; factors != nullptr && i < count; ++i) {
        const tjscalingfactor f = factors[i];
        if (f.num <= 0 || f.denom <= 0 || f.num > f.denom) {
            continue;
        }
        if (TJSCALED(width, f) >= wanted.width && TJSCALED(height, f) >= wanted.height &&
            int64_t(f.num) * best.denom < int64_t(best.num) * f.denom) {
            best = f;
        }
    }
    return best;
}

// The compressed data, with whether a decoder warning may be recovered from.
struct JpegInput {
    const uint8_t* data = nullptr;
    size_t size = 0;
    bool tolerant = true;
};

// Decodes into dst. A file with warnings is first stopped at its first warning; when it was
// only a warning (and the input tolerates one), it is decoded again letting the library recover,
// and the result is kept unless a fatal error followed (TurboJPEG reports "warning" for any
// failure once a warning was seen, so the message, which then names the last error instead of the
// first warning, tells them apart).
bool decompress(tjhandle tj, const JpegInput& in, uint8_t* dst, int width, int pitch, int height,
                int pixelFormat, int flags) {
    const auto run = [&](int extra) {
        return tjDecompress2(tj, in.data, static_cast<unsigned long>(in.size), dst, width, pitch,
                             height, pixelFormat, flags | extra) == 0;
    };
    if (run(TJFLAG_STOPONWARNING)) {
        return true;
    }
    if (!in.tolerant || tjGetErrorCode(tj) != TJERR_WARNING) {
        return false;
    }
    const std::string firstWarning = tjGetErrorStr2(tj);
    if (run(0)) {
        return true;
    }
    return tjGetErrorCode(tj) == TJERR_WARNING && firstWarning == tjGetErrorStr2(tj);
}

void setGreyRamp(const DibView& dib) {
    for (uint32_t i = 0; i < 256; ++i) {
        const auto v = static_cast<uint8_t>(i);
        dib.colours()[i] = Rgbq{v, v, v, 0};
    }
}

// CMYK rows (top-down, 4 bytes a pixel) into the 24-bit image. Adobe files store the inks
// inverted (0 = full ink), others store them plainly.
void cmykToBgr(const uint8_t* cmyk, const DibView& dib, bool inverted) {
    const int32_t width = dib.width();
    for (int32_t y = 0; y < dib.height(); ++y) {
        const uint8_t* in = cmyk + static_cast<size_t>(y) * width * 4;
        uint8_t* out = dib.row(y);
        for (int32_t x = 0; x < width; ++x, in += 4, out += 3) {
            const unsigned k = inverted ? in[3] : 255 - in[3];
            const unsigned c = inverted ? in[0] : 255 - in[0];
            const unsigned m = inverted ? in[1] : 255 - in[1];
            const unsigned yellow = inverted ? in[2] : 255 - in[2];
            out[0] = static_cast<uint8_t>((yellow * k + 127) / 255);
            out[1] = static_cast<uint8_t>((m * k + 127) / 255);
            out[2] = static_cast<uint8_t>((c * k + 127) / 255);
        }
    }
}

// How far a progressive file is read: to its end, or only its first scans.
struct ScansWanted {
    bool first = false;
    PelmixFirstScans until = PELMIX_SCANS_DC;
    tjscalingfactor scale{1, 1};
    bool early = false; // out: stopped before the end
};

// A progressive file read from its first scans; anything that route does not take cleanly gets
// the full decode.
bool decodeFirstScans(const JpegInput& in, const DibView& dib, bool grey, ScansWanted& wanted) {
    const PelmixScansResult result =
        pelmixDecodeFirstScans(in.data, in.size, wanted.until, wanted.scale.num, wanted.scale.denom,
                               dib.pixels(), dib.width(), static_cast<int>(dib.stride()),
                               dib.height(), grey ? 1 : 0, dib.bottomUp() ? 1 : 0);
    wanted.early = result == PELMIX_SCANS_EARLY;
    return result == PELMIX_SCANS_EARLY || result == PELMIX_SCANS_WHOLE;
}

HGLOBAL decodeInto(tjhandle tj, const JpegInput& in, int width, int height, int colourspace,
                   bool adobe, ScansWanted& scans) {
    const bool grey = colourspace == TJCS_GRAY;
    const bool cmyk = colourspace == TJCS_CMYK || colourspace == TJCS_YCCK;
    OwnedDib image(createDib(width, height, grey ? 8 : 24));
    if (!image) {
        return nullptr;
    }
    {
        DibView dib(image.get());
        if (!dib.valid()) {
            return nullptr;
        }
        const int pitch = static_cast<int>(dib.stride());
        if (scans.first && !cmyk && decodeFirstScans(in, dib, grey, scans)) {
            if (grey) {
                setGreyRamp(dib);
            }
        } else if (grey) {
            setGreyRamp(dib);
            if (!decompress(tj, in, dib.pixels(), width, pitch, height, TJPF_GRAY, kDecodeFlags)) {
                return nullptr;
            }
        } else if (cmyk) {
            const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
            std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[bytes]);
            if (!buffer || !decompress(tj, in, buffer.get(), width, width * 4, height, TJPF_CMYK,
                                       kDecodeFlags & ~TJFLAG_BOTTOMUP)) {
                return nullptr;
            }
            cmykToBgr(buffer.get(), dib, adobe);
        } else if (!decompress(tj, in, dib.pixels(), width, pitch, height, TJPF_BGR,
                               kDecodeFlags)) {
            return nullptr;
        }
    }
    return image.release();
}

// Luminance of a colour, rounded, with the usual broadcast weights.
uint8_t luminance(unsigned r, unsigned g, unsigned b) {
    return static_cast<uint8_t>((299 * r + 587 * g + 114 * b + 500) / 1000);
}

// What tjCompress2 reads: either the image's own rows or a packed top-down copy.
struct EncodeSource {
    const uint8_t* pixels = nullptr;
    int pitch = 0;
    int pixelFormat = TJPF_BGR;
    int flags = 0;
    std::unique_ptr<uint8_t[]> buffer;
};

bool prepareSource(const DibView& dib, bool grey, EncodeSource& source) {
    const int32_t width = dib.width(), height = dib.height();
    const uint16_t bits = dib.bitCount();
    if (bits == 24 && !grey) {
        source.pixels = dib.pixels();
        source.pitch = static_cast<int>(dib.stride());
        source.flags = dib.bottomUp() ? TJFLAG_BOTTOMUP : 0;
        return true;
    }
    const size_t channels = grey ? 1 : 3;
    source.pitch = static_cast<int>(width * channels);
    source.pixelFormat = grey ? TJPF_GRAY : TJPF_BGR;
    source.buffer.reset(new (std::nothrow) uint8_t[static_cast<size_t>(source.pitch) * height]);
    if (!source.buffer) {
        return false;
    }
    source.pixels = source.buffer.get();
    // Palette indices beyond the colour table read as black.
    Rgbq palette[256] = {};
    std::memcpy(palette, dib.colours(), std::min<uint32_t>(dib.colourCount(), 256) * 4);
    uint8_t greyOf[256];
    for (int i = 0; i < 256; ++i) {
        greyOf[i] = luminance(palette[i].red, palette[i].green, palette[i].blue);
    }
    for (int32_t y = 0; y < height; ++y) {
        const uint8_t* in = dib.row(y);
        uint8_t* out = source.buffer.get() + static_cast<size_t>(y) * source.pitch;
        for (int32_t x = 0; x < width; ++x) {
            if (bits == 24) {
                out[x] = luminance(in[3 * x + 2], in[3 * x + 1], in[3 * x]);
                continue;
            }
            const uint8_t index = indexAt(in, x, bits);
            if (grey) {
                out[x] = greyOf[index];
            } else {
                out[3 * x] = palette[index].blue;
                out[3 * x + 1] = palette[index].green;
                out[3 * x + 2] = palette[index].red;
            }
        }
    }
    return true;
}

uint16_t dotsPerInch(int32_t pelsPerMetre) {
    if (pelsPerMetre <= 0) {
        return 0;
    }
    return static_cast<uint16_t>(std::clamp<long>(std::lround(pelsPerMetre * 0.0254), 1, 65535));
}

} // namespace

FitSize jpegScaledSize(int width, int height, int32_t maxWidth, int32_t maxHeight) {
    const tjscalingfactor scale = chooseScale(width, height, maxWidth, maxHeight);
    return {TJSCALED(width, scale), TJSCALED(height, scale)};
}

HGLOBAL decodeJpeg(const uint8_t* data, size_t size, int32_t maxWidth, int32_t maxHeight,
                   IMAGE_INFO* full, bool upright, bool* early) {
    if (early != nullptr) {
        *early = false;
    }
    if (full != nullptr) {
        std::memset(full, 0, sizeof *full);
    }
    JpegMarkers markers;
    if (data == nullptr || size > ULONG_MAX - 2 || !readJpegMarkers(data, size, markers) ||
        (!markers.complete && !markers.endsInFinalScan) || markers.minimumBits / 8 > size) {
        return nullptr;
    }
    // A file whose last scan runs to its end gets the end marker it lacks. If that scan's data is
    // whole, the decoder then meets no surprise; if it was cut short, the decoder warns that the
    // data ran out, and the file is refused.
    JpegInput in{data, size, true};
    std::vector<uint8_t> completed;
    if (!markers.complete) {
        completed.reserve(size + 2);
        completed.assign(data, data + size);
        completed.push_back(0xFF);
        completed.push_back(0xD9);
        in = {completed.data(), completed.size(), false};
    }
    TjHandle tj(tjInitDecompress());
    if (!tj) {
        return nullptr;
    }
    // A header with a recoverable flaw reports a warning but still describes the picture; the
    // decode below decides whether the flaw is fatal. Sampling factors TurboJPEG has no name for
    // (4:1:0 and the like) are refused by the header call after it has described the picture;
    // the decoder itself handles them.
    int width = 0, height = 0, subsampling = -1, colourspace = -1;
    const bool described =
        tjDecompressHeader3(tj.get(), in.data, static_cast<unsigned long>(in.size), &width, &height,
                            &subsampling, &colourspace) == 0 ||
        tjGetErrorCode(tj.get()) == TJERR_WARNING || subsampling < 0;
    if (!described || colourspace < 0 || !sizeAllowed(width, height)) {
        return nullptr;
    }
    const int orientation = upright ? markers.orientation : 1;
    if (sidesExchanged(orientation)) {
        std::swap(maxWidth, maxHeight); // the box is meant for the turned picture
    }
    const tjscalingfactor scale = chooseScale(width, height, maxWidth, maxHeight);
    // At 1/8 the DC scans give the final picture; at other scales the first sight a caller asked
    // for ends once every coefficient has arrived.
    ScansWanted scans;
    scans.scale = scale;
    scans.first = markers.progressive && markers.complete;
    if (scale.num * 8 == scale.denom) {
        scans.until = PELMIX_SCANS_DC;
    } else if (early != nullptr) {
        scans.until = PELMIX_SCANS_EVERY_COEFFICIENT;
    } else {
        scans.first = false;
    }
    HGLOBAL image = decodeInto(tj.get(), in, TJSCALED(width, scale), TJSCALED(height, scale),
                               colourspace, markers.adobe, scans);
    if (image == nullptr) {
        return nullptr;
    }
    if (early != nullptr) {
        *early = scans.early && scans.until != PELMIX_SCANS_DC;
    }
    {
        DibView dib(image);
        dib.header().biXPelsPerMeter = pelsPerMetre(markers.densityUnits, markers.xDensity);
        dib.header().biYPelsPerMeter = pelsPerMetre(markers.densityUnits, markers.yDensity);
    }
    image = turnUpright(image, orientation);
    if (full != nullptr && PelmixImageInfo(image, full)) {
        full->WIDTH = sidesExchanged(orientation) ? height : width;
        full->HEIGHT = sidesExchanged(orientation) ? width : height;
    }
    return image;
}

bool encodeJpeg(HGLOBAL image, int32_t quality, bool grey, std::vector<uint8_t>& out) {
    out.clear();
    OwnedDib normalized;
    HGLOBAL input = image;
    {
        DibView probe(image);
        if (!probe.valid()) {
            return false;
        }
        if (probe.bitCount() == 16 || probe.bitCount() == 32) {
            normalized.reset(normalizedCopy(image));
            input = normalized.get();
        }
    }
    DibView dib(input);
    TjHandle tj(tjInitCompress());
    EncodeSource source;
    if (!dib.valid() || !tj || !prepareSource(dib, grey, source)) {
        return false;
    }
    quality = std::clamp(quality, 1, 100);
    const int subsampling = grey ? TJSAMP_GRAY : (quality < 90 ? TJSAMP_420 : TJSAMP_444);
    unsigned char* jpegBytes = nullptr;
    unsigned long jpegSize = 0;
    const int result =
        tjCompress2(tj.get(), source.pixels, dib.width(), source.pitch, dib.height(),
                    source.pixelFormat, &jpegBytes, &jpegSize, subsampling, quality, source.flags);
    TjBuffer owned(jpegBytes);
    if (result != 0 || jpegBytes == nullptr) {
        return false;
    }
    out.assign(jpegBytes, jpegBytes + jpegSize);
    uint16_t xDpi = dotsPerInch(dib.header().biXPelsPerMeter);
    uint16_t yDpi = dotsPerInch(dib.header().biYPelsPerMeter);
    if (xDpi == 0) {
        xDpi = yDpi;
    }
    if (yDpi == 0) {
        yDpi = xDpi;
    }
    if (xDpi != 0 && !setJfifDensity(out, xDpi, yDpi)) {
        out.clear();
        return false;
    }
    return true;
}

} // namespace pelmix
