// The decoders and encoders behind the exported load and save functions. Each works on a whole
// file in memory (TIFF also straight from the file) and returns 0 / false for anything it cannot
// handle, never crashing.
#pragma once

#include "fit_size.h"
#include "pelmix.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace pelmix {

class FileReader;

enum class FileKind { Unknown, Bmp, Jpeg, Tiff };

// The format of a file, from its first bytes.
FileKind sniff(const uint8_t* data, size_t size);

// New image handles, or 0.
HGLOBAL decodeBmp(const uint8_t* data, size_t size);
// The same, reading only the headers and the pixel data they describe.
HGLOBAL decodeBmp(const FileReader& file);
// maxWidth/maxHeight > 0 ask for a reduced picture (see PelmixFileLoadFit); full, when not null,
// receives the stored picture's description. upright turns the picture as its Orientation (Exif
// for JPEG, the tag for TIFF) says, the box and the description then meaning the turned picture.
// early, when not null, asks for a first sight of a progressive JPEG (see PelmixFileLoadFitFirst)
// and receives whether the picture is one.
HGLOBAL decodeJpeg(const uint8_t* data, size_t size, int32_t maxWidth, int32_t maxHeight,
                   IMAGE_INFO* full, bool upright = false, bool* early = nullptr);
HGLOBAL decodeTiff(const uint8_t* data, size_t size, int32_t maxWidth, int32_t maxHeight,
                   IMAGE_INFO* full, bool upright = false);
// The same, read from the file a strip or tile at a time.
HGLOBAL decodeTiff(const FileReader& file, int32_t maxWidth, int32_t maxHeight, IMAGE_INFO* full,
                   bool upright = false);

// The size decodeJpeg gives a stored picture of width x height for the box.
FitSize jpegScaledSize(int width, int height, int32_t maxWidth, int32_t maxHeight);

// Encoders from a valid image handle. BMP and JPEG produce bytes; TIFF writes the file at path
// (the caller passes a temporary file that it renames afterwards).
bool encodeBmp(HGLOBAL image, std::vector<uint8_t>& out);
// The BMP file of image written at path as AtomicFile writes, the pixels straight from the image.
bool saveBmp(HGLOBAL image, const char* path);
bool encodeJpeg(HGLOBAL image, int32_t quality, bool grey, std::vector<uint8_t>& out);
bool encodeTiff(HGLOBAL image, int32_t compression, const char* path);
// The CCITT Group 4 data (one strip, K = -1) of a 1-bit image, and whether its index 0 is the
// dark colour.
bool encodeGroup4(HGLOBAL image, std::vector<uint8_t>& out, bool& zeroIsBlack);

} // namespace pelmix
