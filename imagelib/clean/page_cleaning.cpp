#include "page_cleaning.h"

#include "blank_page.h"
#include "dark_borders.h"
#include "leptonica_pix.h"
#include "page_words.h"
#include "skew.h"
#include "temporary_file.h"

#include <cmath>

namespace pelmix {
namespace {

// Smaller skews are left alone: turning a page costs it a little sharpness.
constexpr double kLeastSkewDegrees = 0.1;
// Tesseract's orientation confidence above which a page is turned; a page without text, or a
// picture, scores far below.
constexpr double kSureOrientation = 2.0;
constexpr int kAssumedDpi = 300;
constexpr int kTilesAcross = 5;

int dpiOf(PIX* pix) {
    const l_int32 dpi = pixGetXRes(pix);
    return dpi > 0 ? dpi : kAssumedDpi;
}

// Which way the text of pix stands, from its 1-bit ink handed to the helper in a file.
PageOrientation orientationOf(PIX* pix, const std::string& textData,
                              const std::atomic<bool>& cancelled) {
    OwnedPix grey(greyOf(pix));
    OwnedPix ink(grey ? pixThresholdToBinary(grey.get(), 140) : nullptr);
    if (!ink) {
        return {};
    }
    pixCopyResolution(ink.get(), pix);
    // Tesseract's time grows with the letters it looks at, and a ninth of a page of text holds
    // plenty: the ninth with the most ink.
    const l_int32 width = pixGetWidth(ink.get());
    const l_int32 height = pixGetHeight(ink.get());
    OwnedPix best;
    l_int32 mostInk = -1;
    for (int row = 0; row < kTilesAcross; ++row) {
        for (int column = 0; column < kTilesAcross; ++column) {
            OwnedBox box(boxCreate(column * width / kTilesAcross, row * height / kTilesAcross,
                                   width / kTilesAcross, height / kTilesAcross));
            OwnedPix tile(pixClipRectangle(ink.get(), box.get(), nullptr));
            l_int32 count = 0;
            if (tile && pixCountPixels(tile.get(), &count, nullptr) == 0 && count > mostInk) {
                mostInk = count;
                best = std::move(tile);
            }
        }
    }
    if (!best) {
        return {};
    }
    pixCopyResolution(best.get(), pix);
    const OwnedDib picture(imageFromPix(best.get()));
    const TemporaryFile file("pelmix-upright");
    if (!picture || !file.made() ||
        PelmixBmpFileSave(file.path().c_str(), picture.get(), nullptr, nullptr, 0) == 0) {
        return {};
    }
    return readPageOrientation(file.path(), dpiOf(pix), textData, cancelled);
}

} // namespace

CleanedPage cleanPage(HGLOBAL image, const CleaningSteps& steps,
                      const std::atomic<bool>& cancelled) {
    CleanedPage cleaned;
    if (!steps.any()) {
        return cleaned;
    }
    OwnedPix page(pixFromImage(image));
    if (!page) {
        return cleaned;
    }
    bool changed = false;
    if (steps.cutBorders) {
        OwnedPix grey(greyOf(page.get()));
        OwnedBox paper(paperInsideDarkFrame(grey.get()));
        OwnedPix cut(paper ? pixClipRectangle(page.get(), paper.get(), nullptr) : nullptr);
        if (cut) {
            page = std::move(cut);
            changed = true;
        }
    }
    if (steps.straighten && !cancelled) {
        OwnedPix grey(greyOf(page.get()));
        const Skew skew = findSkew(grey.get());
        if (skew.found && std::abs(skew.degrees) > kLeastSkewDegrees) {
            OwnedPix straight(straighten(page.get(), skew.degrees));
            if (straight) {
                page = std::move(straight);
                cleaned.skewDegrees = skew.degrees;
                changed = true;
            }
        }
    }
    if (steps.turnUpright && !cancelled) {
        const PageOrientation found = orientationOf(page.get(), steps.textData, cancelled);
        if (found.found && found.turn != 0 && found.confidence >= kSureOrientation) {
            OwnedPix turned(pixRotateOrth(page.get(), found.turn / 90));
            if (turned) {
                page = std::move(turned);
                cleaned.turnDegrees = found.turn;
                changed = true;
            }
        }
    }
    if (steps.findBlank) {
        OwnedPix grey(greyOf(page.get()));
        cleaned.blank = looksBlank(grey.get(), dpiOf(page.get()), steps.blankSensitivity);
    }
    if (changed) {
        cleaned.image.reset(imageFromPix(page.get()));
    }
    return cleaned;
}

} // namespace pelmix
