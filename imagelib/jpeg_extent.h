// How much of a file its JPEG takes, found by walking the markers straight from the file a window
// at a time, before any of it is read into memory. The walk stops at the end-of-image marker, so
// whatever follows (trailing data, or a hole the file was extended with) is never read, and it
// gives up on data that cannot be a picture of the size its frame header declares.
#pragma once

#include "file_reader.h"

#include <cstdint>

namespace pelmix {

struct JpegExtent {
    // False when the file cannot hold a picture: no scan, a frame larger than any the library
    // decodes, or a scan longer, or a run of zero bytes within it longer, than the frame's blocks
    // can need.
    bool picture = true;
    // The data ends in an end-of-image marker.
    bool complete = false;
    // The bytes a decoder is given: through the end-of-image marker, or to where the data stops
    // (the end of the file, or the start of a run of stray bytes no marker follows).
    uint64_t bytes = 0;
    // The first frame header's picture (0 when there is none) and the first Exif orientation.
    int width = 0;
    int height = 0;
    int components = 0;
    int orientation = 1;
};

// False when the file does not start with a JPEG start-of-image marker.
bool scanJpegExtent(const FileReader& file, JpegExtent& out);

} // namespace pelmix
