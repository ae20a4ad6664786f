// How the rows of a TIFF that libtiff delivers line by line become image rows.
#pragma once

#include "dib.h"
#include "tiff_layout.h"

#include <cstdint>

namespace pelmix {

// Indexed: one sample of 1, 2, 4 or 8 bits, kept as palette indices (2 bits widened to 4).
// Grey: one grey sample of 16 bits, or 8 or 16 bits with an extra sample: 8-bit grey.
// Colour: RGB of 8 or 16 bits, with or without an extra sample: 24 bits.
// An alpha channel is composed on white, as viewers show it.
enum class LineKind { Indexed, Grey, Colour };

struct LinePlan {
    LineKind kind = LineKind::Indexed;
    uint32_t width = 0;
    uint16_t bits = 0;
    uint16_t samples = 0;
    uint16_t alpha = EXTRASAMPLE_UNSPECIFIED; // EXTRASAMPLE_ASSOCALPHA, _UNASSALPHA or none
    bool whiteIsZero = false;
    bool flipX = false;
    bool bottomFirst = false;
    // Indexed: the image's bit count, colour table and stored value -> index.
    uint16_t outBits = 0;
    uint32_t colours = 0;
    Rgbq palette[256] = {};
    uint8_t map[256] = {};
    bool identity = true; // stored rows are already index rows

    uint32_t bitsPerPixel() const { return uint32_t(bits) * samples; }
    // The bit count of the full-size image.
    uint16_t imageBits() const {
        return kind == LineKind::Indexed ? outBits : kind == LineKind::Grey ? 8 : 24;
    }
    // Whether the pixels are grey, so that a reduced picture can be 8-bit grey.
    bool grey() const;
};

// Whether the layout is one of the kinds above, and its plan; false sends the picture to
// libtiff's RGBA reader.
bool planLines(TIFF* tif, const Layout& layout, LinePlan& plan);

// A stored row as a row of the full-size image (plan.imageBits() bits a pixel).
void toImageRow(const LinePlan& plan, const uint8_t* in, uint8_t* out);

// A stored row as grey bytes (plan.grey()) or blue, green, red triples, for reduction.
void toPixels(const LinePlan& plan, const uint8_t* in, uint8_t* out);

} // namespace pelmix
