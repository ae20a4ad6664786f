// What the JPEG decoder needs to know about a file that the TurboJPEG interface does not tell:
// the JFIF density, the Adobe marker that decides how CMYK is stored, the Exif orientation and
// whether the file is complete. Read by walking the marker segments ourselves, every length checked
// against the data.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelmix {

struct JpegMarkers {
    // JFIF APP0 density: units 0 = aspect ratio only, 1 = dots per inch, 2 = dots per cm;
    // -1 when the file has no JFIF segment.
    int densityUnits = -1;
    uint16_t xDensity = 0;
    uint16_t yDensity = 0;
    // An Adobe APP14 segment is present (CMYK is then stored inverted).
    bool adobe = false;
    // The Orientation of the first Exif APP1 segment (1 to 8); 1 without one.
    int orientation = 1;
    // The frame is progressive (Huffman or arithmetic coded).
    bool progressive = false;
    // An end-of-image marker follows at least one scan: the data was not cut short.
    bool complete = false;
    // No end-of-image marker: the file ends in the entropy-coded data of a scan, and the scans
    // seen so far carry every coefficient of every component to full precision. Such a file
    // lacks only its end marker if that last scan's data is whole (which only decoding tells).
    bool endsInFinalScan = false;
    // For Huffman-coded frames, a lower bound on the entropy-coded bits a real file of this size
    // needs (every 8 x 8 block of every component costs at least one bit); 0 when unknown.
    uint64_t minimumBits = 0;
};

// The 8 x 8 blocks of every component of a frame header's payload; 0 when it is malformed.
uint64_t jpegFrameBlocks(const uint8_t* payload, size_t length);

// False when the data does not start with a JPEG start-of-image marker.
bool readJpegMarkers(const uint8_t* data, size_t size, JpegMarkers& out);

// Sets the JFIF density of an encoded file to dots per inch, replacing the density of its JFIF
// segment or inserting one after the start-of-image marker. False for data that is not a JPEG.
bool setJfifDensity(std::vector<uint8_t>& jpeg, uint16_t xDpi, uint16_t yDpi);

// Pixels per metre for a JFIF density value, 0 when the units say nothing about size.
int32_t pelsPerMetre(int units, uint16_t density);

} // namespace pelmix
