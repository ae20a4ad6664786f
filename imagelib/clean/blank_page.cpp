#include "blank_page.h"

#include <algorithm>
#include <cmath>

namespace pelmix {
namespace {

constexpr double kMmPerInch = 25.4;
// Specks of dust and single noisy pixels are smaller than this on both sides; the dot of a
// full stop is not.
constexpr double kLargestSpeckMm = 0.4;
// The scanner's shadow along the sheet's edges is not the page's.
constexpr double kEdgeMarginMm = 3;
// Punch holes: round, 4 to 9 mm across, within 25 mm of an edge of the sheet.
constexpr double kHoleSmallestMm = 4;
constexpr double kHoleLargestMm = 9;
constexpr double kHoleFromEdgeMm = 25;

// How much darker than the paper a mark must be, in grey levels, at sensitivity s.
l_int32 markDepth(int s) {
    return static_cast<l_int32>(std::lround(10 + (100 - std::clamp(s, 1, 100)) * 0.8));
}

bool isPunchHole(BOX* box, l_int32 width, l_int32 height, double pxPerMm) {
    l_int32 x = 0;
    l_int32 y = 0;
    l_int32 w = 0;
    l_int32 h = 0;
    boxGetGeometry(box, &x, &y, &w, &h);
    const double across = std::max(w, h) / pxPerMm;
    const bool round = std::abs(w - h) <= 0.2 * std::max(w, h);
    const double fromEdge = std::min({x, y, width - (x + w), height - (y + h)}) / pxPerMm;
    return round && across >= kHoleSmallestMm && across <= kHoleLargestMm &&
           fromEdge <= kHoleFromEdgeMm;
}

} // namespace

bool looksBlank(PIX* grey, int dpi, int sensitivity) {
    if (grey == nullptr || pixGetDepth(grey) != 8) {
        return false;
    }
    const double pxPerMm = (dpi > 0 ? dpi : 300) / kMmPerInch;
    const l_int32 width = pixGetWidth(grey);
    const l_int32 height = pixGetHeight(grey);
    // On a small picture (a card, a test's), at most a twentieth of its sides.
    const auto margin =
        std::min({static_cast<l_int32>(kEdgeMarginMm * pxPerMm), width / 20, height / 20});
    if (width <= 2 * margin || height <= 2 * margin) {
        return false;
    }
    OwnedBox inside(boxCreate(margin, margin, width - 2 * margin, height - 2 * margin));
    OwnedPix sheet(pixClipRectangle(grey, inside.get(), nullptr));
    if (!sheet) {
        return false;
    }
    // The paper's shade is what most of the page is.
    l_float32 paper = 0;
    if (pixGetRankValueMasked(sheet.get(), nullptr, 0, 0, 2, 0.5, &paper, nullptr) != 0) {
        return false;
    }
    const l_int32 below = static_cast<l_int32>(paper) - markDepth(sensitivity);
    if (below <= 0) {
        return false; // a page darker than any paper is a picture
    }
    OwnedPix marks(pixThresholdToBinary(sheet.get(), below));
    if (!marks) {
        return false;
    }
    // What is larger than a speck on either side, and is not a punch hole, is a mark.
    const auto speck = static_cast<l_int32>(std::ceil(kLargestSpeckMm * pxPerMm));
    l_int32 changed = 0;
    OwnedPix larger(pixSelectBySize(marks.get(), speck, speck, 8, L_SELECT_IF_EITHER,
                                    L_SELECT_IF_GT, &changed));
    if (!larger) {
        return false;
    }
    l_int32 count = 0;
    pixCountPixels(larger.get(), &count, nullptr);
    if (count == 0) {
        return true;
    }
    BOXA* found = pixConnCompBB(larger.get(), 8);
    if (found == nullptr) {
        return false;
    }
    bool blank = true;
    const l_int32 n = boxaGetCount(found);
    for (l_int32 i = 0; i < n && blank; ++i) {
        OwnedBox box(boxaGetBox(found, i, L_COPY));
        blank =
            isPunchHole(box.get(), pixGetWidth(sheet.get()), pixGetHeight(sheet.get()), pxPerMm);
    }
    boxaDestroy(&found);
    return blank;
}

} // namespace pelmix
