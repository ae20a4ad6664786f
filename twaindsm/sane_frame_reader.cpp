#include "sane_frame_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace twaindsm {

SaneFrameReader::~SaneFrameReader() {
    releaseImage();
}

void SaneFrameReader::releaseImage() {
    pixels_.reset();
    if (image_ != nullptr) {
        GlobalFree(image_);
    }
    image_ = nullptr;
}

bool SaneFrameReader::begin(const SANE_Parameters& p, double xDpi, double yDpi) {
    active_ = false;
    releaseImage();
    partial_.clear();
    rows_.clear();
    rowCount_ = 0;
    received_ = 0;

    const bool grey = p.format == SANE_FRAME_GRAY;
    if (!grey && p.format != SANE_FRAME_RGB) {
        return false; // a single colour plane of a three-pass scan
    }
    if (p.depth != 1 && p.depth != 8 && p.depth != 16) {
        return false;
    }
    if (!grey && p.depth == 1) {
        return false;
    }
    const int64_t height = p.lines < 0 ? 1 : p.lines;
    if (p.lines < -1 || !pelmix::sizeAllowed(p.pixels_per_line, height)) {
        return false;
    }
    const uint64_t width = static_cast<uint64_t>(p.pixels_per_line);
    const uint64_t samples = grey ? width : width * 3;
    const uint64_t needed = p.depth == 1 ? (samples + 7) / 8 : samples * (p.depth / 8);
    // Devices may pad lines (lost pixels at the end), but a line is never shorter than its pixels.
    if (p.bytes_per_line <= 0 || static_cast<uint64_t>(p.bytes_per_line) < needed ||
        static_cast<uint64_t>(p.bytes_per_line) > needed + (1u << 20)) {
        return false;
    }
    format_ = p.format;
    depth_ = p.depth;
    width_ = p.pixels_per_line;
    lines_ = p.lines < 0 ? -1 : p.lines;
    inStride_ = static_cast<size_t>(p.bytes_per_line);
    outBits_ = grey ? (p.depth == 1 ? 1 : 8) : 24;
    outStride_ = static_cast<size_t>(pelmix::rowBytes(outBits_, width));
    xDpi_ = std::isfinite(xDpi) ? std::clamp(xDpi, 0.0, 100000.0) : 0;
    yDpi_ = std::isfinite(yDpi) ? std::clamp(yDpi, 0.0, 100000.0) : 0;
    if (lines_ > 0) {
        image_ = pelmix::createDib(width_, lines_, outBits_);
        if (image_ == nullptr) {
            return false;
        }
        pixels_ = std::make_unique<pelmix::DibView>(image_);
    }
    partial_.reserve(inStride_);
    active_ = true;
    return true;
}

uint64_t SaneFrameReader::bytesExpected() const {
    return lines_ > 0 ? static_cast<uint64_t>(inStride_) * static_cast<uint64_t>(lines_) : 0;
}

bool SaneFrameReader::append(const uint8_t* data, size_t size) {
    if (!active_) {
        return false;
    }
    while (size > 0) {
        if (lines_ >= 0 && rowCount_ >= lines_) {
            return false; // more than the frame announced
        }
        if (partial_.empty() && size >= inStride_) {
            // A whole line in the data as it came: converted where it is.
            if (lines_ < 0 && !pelmix::sizeAllowed(width_, rowCount_ + 1)) {
                return false;
            }
            convertLine(data);
            data += inStride_;
            size -= inStride_;
            received_ += inStride_;
            continue;
        }
        const size_t take = std::min(size, inStride_ - partial_.size());
        partial_.insert(partial_.end(), data, data + take);
        data += take;
        size -= take;
        received_ += take;
        if (partial_.size() == inStride_) {
            if (lines_ < 0 && !pelmix::sizeAllowed(width_, rowCount_ + 1)) {
                return false;
            }
            convertLine(partial_.data());
            partial_.clear();
        }
    }
    return true;
}

uint8_t* SaneFrameReader::lineAt(int y) {
    if (pixels_ != nullptr) {
        return pixels_->row(y);
    }
    rows_.resize(rows_.size() + outStride_, 0);
    return rows_.data() + rows_.size() - outStride_;
}

void SaneFrameReader::convertLine(const uint8_t* in) {
    uint8_t* out = lineAt(rowCount_);
    const size_t w = static_cast<size_t>(width_);
    // 16-bit samples come in the host's byte order; the high byte is the 8-bit value.
    auto sample = [&](size_t i) -> uint8_t {
        if (depth_ == 8) {
            return in[i];
        }
        uint16_t v;
        std::memcpy(&v, in + 2 * i, 2);
        return static_cast<uint8_t>(v >> 8);
    };
    if (depth_ == 1) {
        // SANE's set bit is black; the image's index 0 is black.
        const size_t bytes = (w + 7) / 8;
        for (size_t i = 0; i < bytes; ++i) {
            out[i] = static_cast<uint8_t>(~in[i]);
        }
        if (w % 8 != 0) {
            out[bytes - 1] &= static_cast<uint8_t>(0xFF00 >> (w % 8));
        }
    } else if (format_ == SANE_FRAME_GRAY) {
        for (size_t x = 0; x < w; ++x) {
            out[x] = sample(x);
        }
    } else if (depth_ == 8) {
        for (size_t x = 0; x < w; ++x, in += 3, out += 3) {
            out[0] = in[2];
            out[1] = in[1];
            out[2] = in[0];
        }
    } else {
        for (size_t x = 0; x < w; ++x) {
            out[3 * x] = sample(3 * x + 2);
            out[3 * x + 1] = sample(3 * x + 1);
            out[3 * x + 2] = sample(3 * x);
        }
    }
    ++rowCount_;
}

HGLOBAL SaneFrameReader::finish() {
    if (!active_) {
        return nullptr;
    }
    active_ = false;
    partial_.clear();
    HGLOBAL image = nullptr;
    if (rowCount_ > 0 && image_ != nullptr && rowCount_ == lines_) {
        pixels_.reset();
        image = image_; // every line came: the image is complete as it is
        image_ = nullptr;
    } else if (rowCount_ > 0) {
        // A frame that ended early, or whose height was unknown: the lines that came.
        image = pelmix::createDib(width_, rowCount_, outBits_);
        if (image != nullptr) {
            pelmix::DibView dib(image);
            for (int y = 0; y < rowCount_; ++y) {
                const uint8_t* line = pixels_ != nullptr
                                          ? pixels_->row(y)
                                          : rows_.data() + static_cast<size_t>(y) * outStride_;
                std::memcpy(dib.row(y), line, outStride_);
            }
        }
    }
    releaseImage();
    if (image != nullptr) {
        pelmix::DibView dib(image);
        for (uint32_t i = 0; i < dib.colourCount(); ++i) {
            const uint8_t level = outBits_ == 1 ? static_cast<uint8_t>(i * 255) : uint8_t(i);
            dib.colours()[i] = pelmix::Rgbq{level, level, level, 0};
        }
        dib.header().biXPelsPerMeter = static_cast<int32_t>(std::lround(xDpi_ / 0.0254));
        dib.header().biYPelsPerMeter = static_cast<int32_t>(std::lround(yDpi_ / 0.0254));
    }
    rows_.clear();
    rows_.shrink_to_fit();
    rowCount_ = 0;
    return image;
}

} // namespace twaindsm
