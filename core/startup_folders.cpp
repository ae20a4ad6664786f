#include "startup_folders.h"

#include "desktop.h"
#include "program.h"
#include "user_folders.h"

#include <QFileInfo>

QString todayText(const QDate& date) {
    return date.toString(QStringLiteral("MMddyyyy"));
}

QString withTrailingSlash(const QString& path) {
    return path.endsWith(QLatin1Char('/')) ? path : path + QLatin1Char('/');
}

void makeAcquisitionFolder(Program& program, const QString& desktop) {
    USR_SETTINGS& s = program.settings;
    if (s.BADM != 0) {
        s.BASD = withTrailingSlash(desktop);
    }
    program.ACQ_DIR = s.BASD;
    if (s.MKDR == 1) {
        program.ACQ_DIR = s.BASD + program.TODAY_STR + QLatin1Char('/');
    }
}

void MAKE_ACQ_DIR(Program& program) {
    makeAcquisitionFolder(program, program.settings.BADM != 0 ? GET_DESKTOP_DIR() : QString());
}

void settleFirstRunBase(Program& program, const QString& desktop) {
    USR_SETTINGS& s = program.settings;
    if (s.BADM != 0) {
        s.BASD = desktop;
    } else if (!desktop.isEmpty() && QFileInfo(desktop).isDir()) {
        s.BASD = desktop;
    } else if (!user_folders::home().isEmpty() && QFileInfo(user_folders::home()).isDir()) {
        s.BASD = user_folders::home(); // where a user looks for what has no desktop
    } else {
        s.BASD = program.PROGRAM_DIR; // without a home either, the program's own folder exists
    }
    s.BASD = withTrailingSlash(s.BASD);
    s.FTRD = s.BASD;
    s.MKDR = 1;
}

QString startFolder(const USR_SETTINGS& settings, const QString& acquisitionFolder) {
    // A first start has no last folder yet, even when the defaults ask for it.
    return settings.DFDF == 1 && !settings.DFDS.isEmpty() ? settings.DFDS : acquisitionFolder;
}
