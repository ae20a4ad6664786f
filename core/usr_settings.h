// The main program's lasting settings: one record whose members are named by the four-letter
// keys of ORVA.CNF, and the table of keys the settings store walks when it reads or writes them.
#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <limits>
#include <string_view>
#include <variant>

struct USR_SETTINGS {
    // Acquisition folder and naming.
    QString BASD;
    int16_t BADM = 0;
    double MKDR = 0;
    QString NTOP;
    int16_t SCNN = 3;
    int16_t NBMD = 0;
    int32_t NBNB = 0;
    int16_t SVMD = 0; // 0 BMP, 1 JPEG, 2-4 TIFF (none, PackBits, Group 4), 5 one PDF a run
    int32_t JPGP = 0;
    int16_t PDTX = 0;                         // PDF documents carry the words of their pages
    QString PDLG = QStringLiteral("jpn+eng"); // the languages of those words
    // Each acquired page cleaned, in this order, before it is named and stored.
    int16_t CLBR = 0;  // the dark frame around the paper cut away
    int16_t CLSK = 0;  // the skew straightened
    int16_t CLUP = 0;  // turned so that its text stands upright
    int16_t CLBL = 0;  // a blank page moved to the trash instead of stored
    int16_t CLBS = 50; // how faint a mark still makes a page not blank (1 to 100)
    int16_t NTWF = 0;
    QString NTWP; // the program folder, filled in when the settings are loaded
    int16_t TWBT = 1;
    int16_t SUTW = 0;
    int16_t CKTD = 0;
    QString CKTN;

    // Main window.
    int16_t DSPM = 1;
    int32_t POSL = 0;
    int32_t POST = 0;
    int32_t POSW = 0;
    int32_t POSH = 0;
    int16_t DSTL = 0;
    int16_t DSTR = 0;
    int16_t DSFT = 0;
    int16_t CTDM = 0;
    QString FTRD;
    int16_t EXTM = 0;

    // Folder history, DD00 the most recent, and the start-up folder.
    QString DD00;
    QString DD01;
    QString DD02;
    QString DD03;
    QString DD04;
    QString DD05;
    QString DD06;
    QString DD07;
    QString DD08;
    QString DD09;
    int16_t DFDF = 0;
    QString DFDS;

    // Catalogue view.
    double CMTX = 4;
    double CMTY = 2;
    double CMTT = 8;
    int16_t DSPD = 0;
    int16_t DSDF = 0;
    int16_t CD16 = 0;
    int16_t C256 = 0;

    // Single-image view.
    int16_t D256 = 0;
    int16_t LDSP = 0;
    float D1MD = 0;

    // Editors and the companion catalogue program.
    QString LEXE;
    QString LEX2;
    int16_t USP1 = 0;
    int16_t USP2 = 0;
    int16_t UTNM = 0;
    int16_t UTNT = 1;
    QString UTNP;
    int16_t UTNS = 0;

    // Catalogue print.
    int16_t MPRX = 1;
    int16_t MPRY = 1;
    int16_t MPRD = 0;
    int16_t MPFN = 0;
    int16_t MPPA = 0;
    int16_t MPPG = 0;

    // Image adjustment and rename dialogs.
    int16_t CFDM = 0;
    int16_t CNFD = 0;
    int16_t CNFP = 0;
    int16_t RNDN = 1; // 0: rename to MS-DOS compatible names
    int16_t RNDU = 0;
};

// One field of the record: the member it names, which also fixes how the value is read and
// written (int16_t/int32_t as integers, float as a fraction, double as a rounded integer, QString
// as it is), and the accepted range of numeric values, bounds included.
using SettingMember =
    std::variant<int16_t USR_SETTINGS::*, int32_t USR_SETTINGS::*, float USR_SETTINGS::*,
                 double USR_SETTINGS::*, QString USR_SETTINGS::*>;

struct SettingKey {
    std::string_view name;
    SettingMember member;
    double minimum = 0;
    double maximum = 0;
};

namespace setting_range {
inline constexpr double int16Min = std::numeric_limits<int16_t>::min();
inline constexpr double int16Max = std::numeric_limits<int16_t>::max();
inline constexpr double int32Min = std::numeric_limits<int32_t>::min();
inline constexpr double int32Max = std::numeric_limits<int32_t>::max();
inline constexpr double floatMax = std::numeric_limits<float>::max();
} // namespace setting_range

namespace setting_key_detail {
using namespace setting_range;
using S = USR_SETTINGS;

constexpr SettingKey text(std::string_view name, QString S::*member) {
    return {name, member, 0, 0};
}
constexpr SettingKey int16(std::string_view name, int16_t S::*member, double lo = int16Min,
                           double hi = int16Max) {
    return {name, member, lo, hi};
}
constexpr SettingKey flag(std::string_view name, int16_t S::*member) {
    return {name, member, 0, 1};
}
constexpr SettingKey int32(std::string_view name, int32_t S::*member, double lo = int32Min,
                           double hi = int32Max) {
    return {name, member, lo, hi};
}
// Number fields hold whole counts and are written back as integers, so they share the 32-bit
// range rather than the whole span of a double.
constexpr SettingKey number(std::string_view name, double S::*member, double lo = int32Min,
                            double hi = int32Max) {
    return {name, member, lo, hi};
}
constexpr SettingKey single(std::string_view name, float S::*member) {
    return {name, member, -floatMax, floatMax};
}
} // namespace setting_key_detail

// Every key of the record exactly once.
inline constexpr auto SETTING_KEYS = [] {
    using namespace setting_key_detail;
    return std::to_array<SettingKey>({
        text("BASD", &S::BASD),          flag("BADM", &S::BADM),
        number("MKDR", &S::MKDR, 0, 1),  text("NTOP", &S::NTOP),
        int16("DSPM", &S::DSPM, 1, 2),   int16("TWBT", &S::TWBT, 1, 4),
        int32("POSL", &S::POSL),         int32("POST", &S::POST),
        int32("POSW", &S::POSW),         int32("POSH", &S::POSH),
        text("LEXE", &S::LEXE),          text("LEX2", &S::LEX2),
        flag("D256", &S::D256),          flag("DSTL", &S::DSTL),
        text("DD00", &S::DD00),          text("DD01", &S::DD01),
        text("DD02", &S::DD02),          text("DD03", &S::DD03),
        text("DD04", &S::DD04),          text("DD05", &S::DD05),
        text("DD06", &S::DD06),          text("DD07", &S::DD07),
        text("DD08", &S::DD08),          text("DD09", &S::DD09),
        flag("LDSP", &S::LDSP),          int16("MPRX", &S::MPRX),
        int16("MPRY", &S::MPRY),         flag("DFDF", &S::DFDF),
        text("DFDS", &S::DFDS),          int16("SVMD", &S::SVMD, 0, 5),
        int32("JPGP", &S::JPGP, 0, 100), flag("DSPD", &S::DSPD),
        flag("DSDF", &S::DSDF),          flag("DSTR", &S::DSTR),
        flag("DSFT", &S::DSFT),          flag("CD16", &S::CD16),
        flag("C256", &S::C256),          flag("SUTW", &S::SUTW),
        text("FTRD", &S::FTRD),          flag("MPRD", &S::MPRD),
        flag("MPFN", &S::MPFN),          flag("MPPA", &S::MPPA),
        flag("MPPG", &S::MPPG),          flag("CTDM", &S::CTDM),
        flag("CFDM", &S::CFDM),          number("CMTX", &S::CMTX, 1),
        number("CMTY", &S::CMTY, 1),     number("CMTT", &S::CMTT, 1, 12),
        int16("NTWF", &S::NTWF, 0, 2),   text("NTWP", &S::NTWP),
        flag("CNFD", &S::CNFD),          int16("CNFP", &S::CNFP),
        flag("CKTD", &S::CKTD),          text("CKTN", &S::CKTN),
        flag("RNDN", &S::RNDN),          flag("USP1", &S::USP1),
        flag("USP2", &S::USP2),          flag("UTNM", &S::UTNM),
        flag("UTNT", &S::UTNT),          text("UTNP", &S::UTNP),
        flag("UTNS", &S::UTNS),          int16("SCNN", &S::SCNN, 1),
        flag("NBMD", &S::NBMD),          int32("NBNB", &S::NBNB),
        flag("RNDU", &S::RNDU),          single("D1MD", &S::D1MD),
        flag("EXTM", &S::EXTM),          flag("PDTX", &S::PDTX),
        text("PDLG", &S::PDLG),          flag("CLBR", &S::CLBR),
        flag("CLSK", &S::CLSK),          flag("CLUP", &S::CLUP),
        flag("CLBL", &S::CLBL),          int16("CLBS", &S::CLBS, 1, 100),
    });
}();

// The entry of a key, compared exactly (case matters); nullptr for a key the record does not have.
inline const SettingKey* findSettingKey(std::string_view name) {
    for (const SettingKey& key : SETTING_KEYS) {
        if (key.name == name) {
            return &key;
        }
    }
    return nullptr;
}
