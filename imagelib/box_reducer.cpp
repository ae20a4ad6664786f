#include "box_reducer.h"

namespace pelmix {

BoxReducer::BoxReducer(HGLOBAL target, uint32_t sourceWidth, uint32_t sourceHeight,
                       bool bottomFirst)
    : dib_(target), sourceHeight_(sourceHeight), bottomFirst_(bottomFirst) {
    if (!dib_.valid() || (dib_.bitCount() != 8 && dib_.bitCount() != 24) || sourceWidth == 0 ||
        sourceHeight == 0 || static_cast<uint32_t>(dib_.width()) > sourceWidth ||
        static_cast<uint32_t>(dib_.height()) > sourceHeight) {
        return;
    }
    channels_ = dib_.bitCount() / 8;
    const auto width = static_cast<uint64_t>(dib_.width());
    column_.resize(sourceWidth);
    columns_.assign(static_cast<size_t>(width), 0);
    for (uint32_t x = 0; x < sourceWidth; ++x) {
        column_[x] = static_cast<uint32_t>(x * width / sourceWidth);
        ++columns_[column_[x]];
    }
    sums_.assign(static_cast<size_t>(width * channels_), 0);
    valid_ = true;
}

void BoxReducer::addRow(const uint8_t* pixels) {
    if (!valid_ || sourceRow_ >= sourceHeight_) {
        return;
    }
    const auto target =
        static_cast<uint32_t>(uint64_t(sourceRow_) * uint64_t(dib_.height()) / sourceHeight_);
    if (target != targetRow_) {
        flush();
        targetRow_ = target;
    }
    const auto width = static_cast<uint32_t>(column_.size());
    if (channels_ == 1) {
        for (uint32_t x = 0; x < width; ++x) {
            sums_[column_[x]] += pixels[x];
        }
    } else {
        for (uint32_t x = 0; x < width; ++x, pixels += 3) {
            uint64_t* sum = &sums_[size_t(column_[x]) * 3];
            sum[0] += pixels[0];
            sum[1] += pixels[1];
            sum[2] += pixels[2];
        }
    }
    ++rowsIn_;
    if (++sourceRow_ == sourceHeight_) {
        flush();
    }
}

void BoxReducer::flush() {
    if (rowsIn_ == 0) {
        return;
    }
    const auto y = static_cast<int32_t>(targetRow_);
    uint8_t* out = dib_.row(bottomFirst_ ? dib_.height() - 1 - y : y);
    for (size_t x = 0; x < columns_.size(); ++x) {
        const uint64_t count = uint64_t(columns_[x]) * rowsIn_;
        for (uint32_t c = 0; c < channels_; ++c) {
            uint64_t& sum = sums_[x * channels_ + c];
            out[x * channels_ + c] = static_cast<uint8_t>((sum + count / 2) / count);
            sum = 0;
        }
    }
    rowsIn_ = 0;
}

} // namespace pelmix
