#include "tiff_line_plan.h"

#include <cstring>

namespace pelmix {

namespace {

uint8_t colourMapValue(uint16_t value, bool eightBit) {
    return eightBit ? static_cast<uint8_t>(value)
                    : static_cast<uint8_t>((static_cast<uint32_t>(value) * 255 + 32767) / 65535);
}

bool planIndexed(TIFF* tif, uint16_t photometric, LinePlan& plan) {
    const uint16_t bits = plan.bits;
    const uint32_t values = 1u << bits;
    plan.outBits = bits == 2 ? 4 : bits;
    plan.colours = 1u << plan.outBits;
    plan.identity = bits == plan.outBits && !plan.flipX;
    for (uint32_t v = 0; v < values; ++v) {
        plan.map[v] = static_cast<uint8_t>(v);
    }
    if (photometric == PHOTOMETRIC_PALETTE) {
        uint16_t* red = nullptr;
        uint16_t* green = nullptr;
        uint16_t* blue = nullptr;
        if (TIFFGetField(tif, TIFFTAG_COLORMAP, &red, &green, &blue) != 1 || !red || !green ||
            !blue) {
            return false;
        }
        // Some old writers stored 8-bit values; a map with nothing above 255 is one of those.
        bool eightBit = true;
        for (uint32_t i = 0; i < values; ++i) {
            eightBit = eightBit && red[i] <= 255 && green[i] <= 255 && blue[i] <= 255;
        }
        for (uint32_t i = 0; i < values; ++i) {
            plan.palette[i] = {colourMapValue(blue[i], eightBit),
                               colourMapValue(green[i], eightBit), colourMapValue(red[i], eightBit),
                               0};
        }
        return true;
    }
    if (bits == 1) {
        // Keep the bits; the two-entry table carries the polarity.
        const uint8_t first = plan.whiteIsZero ? 255 : 0;
        const auto second = static_cast<uint8_t>(255 - first);
        plan.palette[0] = {first, first, first, 0};
        plan.palette[1] = {second, second, second, 0};
        return true;
    }
    // Grey: a plain black-first ramp, stored values turned into indices on it.
    const uint32_t step = 255 / (plan.colours - 1);
    for (uint32_t i = 0; i < plan.colours; ++i) {
        const auto g = static_cast<uint8_t>(i * step);
        plan.palette[i] = {g, g, g, 0};
    }
    const uint32_t scale = (plan.colours - 1) / (values - 1);
    for (uint32_t v = 0; v < values; ++v) {
        const uint32_t level = plan.whiteIsZero ? values - 1 - v : v;
        plan.map[v] = static_cast<uint8_t>(level * scale);
    }
    plan.identity = plan.identity && !plan.whiteIsZero;
    return true;
}

uint8_t packedSample(const uint8_t* line, uint32_t x, uint16_t bits) {
    if (bits == 8) {
        return line[x];
    }
    const uint32_t bit = x * bits;
    const uint32_t shift = 8 - bits - (bit & 7);
    return static_cast<uint8_t>((line[bit >> 3] >> shift) & ((1u << bits) - 1));
}

// Sample s of pixel x of a row of 8- or 16-bit samples, as 8 bits.
uint8_t sample8(const LinePlan& plan, const uint8_t* in, uint32_t x, uint32_t s) {
    const size_t i = size_t(x) * plan.samples + s;
    if (plan.bits == 8) {
        return in[i];
    }
    uint16_t value = 0;
    std::memcpy(&value, in + 2 * i, 2);
    return static_cast<uint8_t>((uint32_t(value) * 255 + 32767) / 65535);
}

// A value under the alpha a, composed on white.
uint8_t onWhite(uint32_t value, uint32_t a, uint16_t alpha) {
    if (alpha == EXTRASAMPLE_ASSOCALPHA) {
        const uint32_t v = value + 255 - a;
        return static_cast<uint8_t>(v > 255 ? 255 : v);
    }
    if (alpha == EXTRASAMPLE_UNASSALPHA) {
        return static_cast<uint8_t>((value * a + 255 * (255 - a) + 127) / 255);
    }
    return static_cast<uint8_t>(value);
}

} // namespace

bool planLines(TIFF* tif, const Layout& layout, LinePlan& plan) {
    if (layout.sampleFormat != SAMPLEFORMAT_UINT || layout.orientation < ORIENTATION_TOPLEFT ||
        layout.orientation > ORIENTATION_BOTLEFT || layout.extraSamples > 1 ||
        (layout.samples > 1 && layout.planar != PLANARCONFIG_CONTIG)) {
        return false;
    }
    plan.width = layout.width;
    plan.bits = layout.bits;
    plan.samples = layout.samples;
    plan.alpha = layout.extraSamples == 1 ? layout.extraType : EXTRASAMPLE_UNSPECIFIED;
    plan.whiteIsZero = layout.photometric == PHOTOMETRIC_MINISWHITE;
    plan.flipX =
        layout.orientation == ORIENTATION_TOPRIGHT || layout.orientation == ORIENTATION_BOTRIGHT;
    plan.bottomFirst =
        layout.orientation == ORIENTATION_BOTRIGHT || layout.orientation == ORIENTATION_BOTLEFT;
    const bool wide = layout.bits == 8 || layout.bits == 16;
    const uint16_t colourSamples = layout.samples - layout.extraSamples;
    switch (layout.photometric) {
    case PHOTOMETRIC_MINISBLACK:
    case PHOTOMETRIC_MINISWHITE:
    case PHOTOMETRIC_PALETTE:
        if (colourSamples != 1) {
            return false;
        }
        if (layout.samples == 1 &&
            (layout.bits == 1 || layout.bits == 2 || layout.bits == 4 || layout.bits == 8)) {
            plan.kind = LineKind::Indexed;
            return planIndexed(tif, layout.photometric, plan);
        }
        plan.kind = LineKind::Grey;
        return wide && layout.photometric != PHOTOMETRIC_PALETTE;
    case PHOTOMETRIC_RGB:
        plan.kind = LineKind::Colour;
        return colourSamples == 3 && wide;
    default:
        return false;
    }
}

bool LinePlan::grey() const {
    return kind == LineKind::Grey || (kind == LineKind::Indexed && greyPalette(palette, colours));
}

void toImageRow(const LinePlan& plan, const uint8_t* in, uint8_t* out) {
    const uint32_t width = plan.width;
    if (plan.kind != LineKind::Indexed) {
        toPixels(plan, in, out);
    } else if (plan.identity) {
        std::memcpy(out, in, (size_t(width) * plan.bits + 7) / 8);
    } else {
        for (uint32_t x = 0; x < width; ++x) {
            const uint8_t index = plan.map[packedSample(in, x, plan.bits)];
            setIndexAt(out, static_cast<int32_t>(plan.flipX ? width - 1 - x : x), plan.outBits,
                       index);
        }
    }
}

void toPixels(const LinePlan& plan, const uint8_t* in, uint8_t* out) {
    const uint32_t width = plan.width;
    const bool grey = plan.grey();
    for (uint32_t x = 0; x < width; ++x) {
        const uint32_t at = plan.flipX ? width - 1 - x : x;
        if (plan.kind == LineKind::Indexed) {
            const Rgbq& c = plan.palette[plan.map[packedSample(in, x, plan.bits)]];
            if (grey) {
                out[at] = c.red;
            } else {
                out[3 * at] = c.blue;
                out[3 * at + 1] = c.green;
                out[3 * at + 2] = c.red;
            }
            continue;
        }
        const uint32_t a = plan.samples > (plan.kind == LineKind::Grey ? 1 : 3)
                               ? sample8(plan, in, x, plan.samples - 1)
                               : 255;
        if (plan.kind == LineKind::Grey) {
            uint8_t g = sample8(plan, in, x, 0);
            if (plan.whiteIsZero) {
                g = static_cast<uint8_t>(255 - g);
            }
            out[at] = onWhite(g, a, plan.alpha);
        } else {
            out[3 * at] = onWhite(sample8(plan, in, x, 2), a, plan.alpha);
            out[3 * at + 1] = onWhite(sample8(plan, in, x, 1), a, plan.alpha);
            out[3 * at + 2] = onWhite(sample8(plan, in, x, 0), a, plan.alpha);
        }
    }
}

} // namespace pelmix
