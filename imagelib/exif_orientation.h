// The Orientation tag of an Exif APP1 segment: how the stored rows relate to the picture as a
// camera saw it. Only IFD0 is read, and only as far as that tag.
#pragma once

#include <cstddef>
#include <cstdint>

namespace pelmix {

// The orientation (1 to 8, the TIFF/Exif meaning) given by the payload of an APP1 segment (the
// bytes after its length field). 1 for a segment that is not Exif, has no such tag, or is
// malformed or cut short anywhere on the way to it.
int exifOrientation(const uint8_t* payload, size_t size);

} // namespace pelmix
