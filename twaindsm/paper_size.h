// The page sizes a scan window offers: the usual papers (A3, A4, A5, B5 of JIS, Letter, Legal,
// a business card) where they fit on the device's area in either orientation, the whole area,
// and a size of the user's own. Sizes in millimetres, width before height, portrait.
#pragma once

#include <QString>
#include <vector>

namespace twaindsm {

struct PaperSize {
    enum class Kind { Paper, WholeArea, Custom };
    Kind kind = Kind::Paper;
    QString name; // as the list shows it, in the user's language
    double width = 0;
    double height = 0;

    // Whether the paper lies on an area of areaWidth x areaHeight mm, portrait or turned.
    bool fitsPortrait(double areaWidth, double areaHeight) const;
    bool fitsLandscape(double areaWidth, double areaHeight) const;

    // The sizes offered for an area: the papers that fit, then the whole area, then custom.
    static std::vector<PaperSize> offered(double areaWidth, double areaHeight);
};

} // namespace twaindsm
