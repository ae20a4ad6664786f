#include "dark_borders.h"

namespace pelmix {
namespace {

// A line of the frame is nearly all dark; the paper, even a page of text or a dark photograph
// on it, is not. Dark is what a black lid or backing gives, far below any paper's shade.
constexpr l_int32 kDarkBelow = 80;
constexpr double kFrameLineDark = 0.75;
// The frame is never more than a third of the picture on a side; a band wider than that is a
// dark picture, not a frame.
constexpr double kLargestBand = 1.0 / 3;
// The frame ends at the paper's edge: a few lines on, the lines are light on average. A picture
// that darkens towards an edge has no such edge and keeps its dark part.
constexpr l_int32 kPastTheEdge = 3;
constexpr double kPaperLineAbove = 120;

// How many lines from the start (or end) are frame: counts has the dark pixels of each line of
// length, means the lines' mean grey.
l_int32 band(NUMA* counts, NUMA* means, l_int32 length, bool fromEnd) {
    const l_int32 lines = numaGetCount(counts);
    const auto limit = static_cast<l_int32>(lines * kLargestBand);
    auto at = [&](l_int32 n) { return fromEnd ? lines - 1 - n : n; };
    l_int32 n = 0;
    for (; n < limit; ++n) {
        l_int32 dark = 0;
        numaGetIValue(counts, at(n), &dark);
        if (dark < kFrameLineDark * length) {
            break;
        }
    }
    l_float32 beyond = 0;
    if (n == 0 || n + kPastTheEdge >= limit ||
        numaGetFValue(means, at(n + kPastTheEdge), &beyond) != 0 || beyond < kPaperLineAbove) {
        return 0;
    }
    return n;
}

} // namespace

OwnedBox paperInsideDarkFrame(PIX* grey) {
    if (grey == nullptr || pixGetDepth(grey) != 8) {
        return nullptr;
    }
    // 1 where dark, in a picture of 1 bit.
    OwnedPix dark(pixThresholdToBinary(grey, kDarkBelow));
    if (!dark) {
        return nullptr;
    }
    const l_int32 width = pixGetWidth(grey);
    const l_int32 height = pixGetHeight(grey);
    OwnedNuma rows(pixCountPixelsByRow(dark.get(), nullptr));
    OwnedNuma columns(pixCountPixelsByColumn(dark.get()));
    OwnedNuma rowMeans(pixAverageByRow(grey, nullptr, L_WHITE_IS_MAX));
    OwnedNuma columnMeans(pixAverageByColumn(grey, nullptr, L_WHITE_IS_MAX));
    if (!rows || !columns || !rowMeans || !columnMeans) {
        return nullptr;
    }
    const l_int32 top = band(rows.get(), rowMeans.get(), width, false);
    const l_int32 bottom = band(rows.get(), rowMeans.get(), width, true);
    const l_int32 left = band(columns.get(), columnMeans.get(), height, false);
    const l_int32 right = band(columns.get(), columnMeans.get(), height, true);
    if (top + bottom + left + right == 0) {
        return nullptr;
    }
    return OwnedBox(boxCreate(left, top, width - left - right, height - top - bottom));
}

} // namespace pelmix
