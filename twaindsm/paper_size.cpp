#include "paper_size.h"

#include <QCoreApplication>

namespace twaindsm {

namespace {

// A scanner's area is often given to the millimetre: a paper that is a fraction larger still
// lies on it.
constexpr double kSlackMm = 0.5;

QString text(const char* source) {
    return QCoreApplication::translate("PaperSize", source);
}

} // namespace

bool PaperSize::fitsPortrait(double areaWidth, double areaHeight) const {
    return width <= areaWidth + kSlackMm && height <= areaHeight + kSlackMm;
}

bool PaperSize::fitsLandscape(double areaWidth, double areaHeight) const {
    return height <= areaWidth + kSlackMm && width <= areaHeight + kSlackMm;
}

std::vector<PaperSize> PaperSize::offered(double areaWidth, double areaHeight) {
    const std::vector<PaperSize> papers = {
        {Kind::Paper, text(QT_TRANSLATE_NOOP("PaperSize", "A3 (297 × 420 mm)")), 297, 420},
        {Kind::Paper, text(QT_TRANSLATE_NOOP("PaperSize", "A4 (210 × 297 mm)")), 210, 297},
        {Kind::Paper, text(QT_TRANSLATE_NOOP("PaperSize", "A5 (148 × 210 mm)")), 148, 210},
        {Kind::Paper, text(QT_TRANSLATE_NOOP("PaperSize", "B5 (182 × 257 mm)")), 182, 257},
        {Kind::Paper, text(QT_TRANSLATE_NOOP("PaperSize", "レター (216 × 279 mm)")), 215.9, 279.4},
        {Kind::Paper, text(QT_TRANSLATE_NOOP("PaperSize", "リーガル (216 × 356 mm)")), 215.9,
         355.6},
        {Kind::Paper, text(QT_TRANSLATE_NOOP("PaperSize", "名刺 (91 × 55 mm)")), 55, 91},
    };
    std::vector<PaperSize> sizes;
    for (const PaperSize& paper : papers) {
        if (paper.fitsPortrait(areaWidth, areaHeight) ||
            paper.fitsLandscape(areaWidth, areaHeight)) {
            sizes.push_back(paper);
        }
    }
    sizes.push_back({Kind::WholeArea, text(QT_TRANSLATE_NOOP("PaperSize", "読み取り範囲全体")),
                     areaWidth, areaHeight});
    sizes.push_back({Kind::Custom, text(QT_TRANSLATE_NOOP("PaperSize", "ユーザー定義")), 0, 0});
    return sizes;
}

} // namespace twaindsm
