// Turns the bytes of one SANE frame into a packed DIB: one-bit grey frames become 1-bit BW images
// (SANE's 1 is black), 8- and 16-bit grey frames 8-bit GRAY images, RGB frames 24-bit images.
// 16-bit samples keep their high byte. A frame of known height is converted straight into its
// image; one of unknown height (a hand scanner's lines = -1) grows as lines arrive. Separate
// colour planes (three-pass scanners) are not taken.
#pragma once

#include "dib.h"
#include "winport.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <sane/sane.h>
#include <vector>

namespace twaindsm {

class SaneFrameReader {
public:
    SaneFrameReader() = default;
    ~SaneFrameReader();
    SaneFrameReader(const SaneFrameReader&) = delete;
    SaneFrameReader& operator=(const SaneFrameReader&) = delete;

    // Starts a frame; false when it is not one this reader takes (its format, depth or size),
    // and then append and finish refuse it too. xDpi / yDpi go into the image's header.
    bool begin(const SANE_Parameters& parameters, double xDpi, double yDpi);

    // Adds bytes as sane_read returned them. False when they would make the frame larger than it
    // said or than an image may be.
    bool append(const uint8_t* data, size_t size);

    // The image of the complete lines received so far (a partial last line is dropped); the
    // caller owns it. 0 when not a single line came. Ends the frame.
    HGLOBAL finish();

    uint64_t bytesReceived() const { return received_; }
    // bytes_per_line x lines; 0 while the height is unknown.
    uint64_t bytesExpected() const;

private:
    void convertLine(const uint8_t* in);
    // Where the converted line y (top first) goes.
    uint8_t* lineAt(int y);
    void releaseImage();

    bool active_ = false;
    SANE_Frame format_ = SANE_FRAME_GRAY;
    int depth_ = 0;
    int width_ = 0;
    int lines_ = 0; // -1: unknown
    size_t inStride_ = 0;
    size_t outStride_ = 0;
    uint16_t outBits_ = 0;
    double xDpi_ = 0;
    double yDpi_ = 0;
    uint64_t received_ = 0;
    std::vector<uint8_t> partial_;            // bytes of the line being assembled
    HGLOBAL image_ = nullptr;                 // the frame's image, when its height is known
    std::unique_ptr<pelmix::DibView> pixels_; // that image, locked while lines arrive
    std::vector<uint8_t> rows_; // else the converted lines, top first, outStride_ each
    int rowCount_ = 0;
};

} // namespace twaindsm
