// What the first directory of a TIFF says about its pixels.
#pragma once

#include "pelmix.h"

#include <cstdint>
#include <tiffio.h>

namespace pelmix {

// The pixel layout, with libtiff's defaults filled in.
struct Layout {
    uint32_t width = 0;
    uint32_t height = 0;
    uint16_t bits = 1;
    uint16_t samples = 1;
    uint16_t photometric = 0xFFFF; // absent
    uint16_t planar = PLANARCONFIG_CONTIG;
    uint16_t compression = COMPRESSION_NONE;
    uint16_t sampleFormat = SAMPLEFORMAT_UINT;
    uint16_t orientation = ORIENTATION_TOPLEFT;
    uint16_t extraSamples = 0;
    uint16_t extraType = EXTRASAMPLE_UNSPECIFIED; // of the first extra sample
    bool tiled = false;
};

bool readLayout(TIFF* tif, Layout& layout);

// Refuses a file whose strips or tiles lie outside it, or that holds fewer bytes than any
// encoder of its compression needs for the size it promises (uncompressed: exactly its rows),
// before anything is allocated for the picture.
bool dataPresent(TIFF* tif, const Layout& layout, uint64_t fileSize);

// The resolution tags, in pixels per metre, into the header (left alone when absent).
void setResolution(TIFF* tif, PELMIX_BITMAPINFOHEADER& header);

} // namespace pelmix
