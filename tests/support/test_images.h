// Image handles made by tests, pixel by pixel, and ways to look at them.
#pragma once

#include "pelmix.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Colour {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Colour&) const = default;
};

// Owns an image handle and releases it with PelmixMemFree.
class ImageHandle {
public:
    ImageHandle() = default;
    explicit ImageHandle(HGLOBAL h) : h_(h) {}
    ~ImageHandle() { reset(); }
    ImageHandle(ImageHandle&& o) noexcept : h_(o.release()) {}
    ImageHandle& operator=(ImageHandle&& o) noexcept {
        reset(o.release());
        return *this;
    }
    HGLOBAL get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }
    HGLOBAL release() {
        HGLOBAL h = h_;
        h_ = nullptr;
        return h;
    }
    void reset(HGLOBAL h = nullptr) {
        if (h_ != nullptr) {
            PelmixMemFree(h_);
        }
        h_ = h;
    }

private:
    HGLOBAL h_ = nullptr;
};

// A 24-bit image whose pixel (x, y) (y = 0 at the top) is pixel(x, y).
ImageHandle makeRgbImage(int width, int height, const std::function<Colour(int, int)>& pixel);

// A 1-, 4- or 8-bit image with the given palette and indices index(x, y).
ImageHandle makeIndexedImage(int width, int height, int bits, const std::vector<Colour>& palette,
                             const std::function<uint8_t(int, int)>& index);

// The 2^bits grey ramp (black first).
std::vector<Colour> greyPalette(int bits);

// The colour of pixel (x, y), y = 0 at the top, of any 1/4/8/24-bit image handle.
Colour pixelAt(HGLOBAL image, int x, int y);

// The palette index at (x, y) of a 1/4/8-bit image.
uint8_t indexAt(HGLOBAL image, int x, int y);

IMAGE_INFO infoOf(HGLOBAL image);
// The image's BITMAPINFOHEADER as it is stored.
PELMIX_BITMAPINFOHEADER headerOf(HGLOBAL image);

// A picture with structure (gradients and blocks), for lossy round trips.
Colour testPattern(int x, int y, int width, int height);

// Mean absolute difference per channel between two images of the same size (255 if they differ
// in size or cannot be read).
double meanDifference(HGLOBAL a, HGLOBAL b);

// Gives the JPEG file at path an Exif block whose only entry is the Orientation (1 … 8), as a
// camera marks a picture taken on its side; false when the file is no JPEG.
bool setExifOrientation(const std::string& path, int orientation);

// Makes the frame header of the JPEG file at path declare width x height, its data left as it is
// (a picture far larger than its file); false when the file has no frame header.
bool setFrameSize(const std::string& path, int width, int height);
