#include "snaplet_inf.h"

#include "native_name.h"
#include "settings_line.h"
#include "settings_line_reader.h"

#include <QFile>

int16_t READ_SNAPLET_INF(const QString& folder, QString& value) {
    QFile file;
    if (!native_name::openForReading(file, folder + QStringLiteral("SNAPLET.INF"))) {
        return -1;
    }
    SettingsLineReader reader(file);
    QString line;
    // The file has no end marker: every line up to the physical end counts.
    while (reader.next(line)) {
        if (line.startsWith(QLatin1Char('\''))) {
            continue;
        }
        const SettingLine entry = settings_line::split(settings_line::trimBlanks(line));
        if (entry.key == QLatin1String("TNDN")) {
            value = entry.value;
        }
    }
    return 0;
}

QString companionThumbnails(const QString& folder) {
    QString value;
    if (READ_SNAPLET_INF(folder, value) != 0) {
        return {};
    }
    value.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (value.endsWith(QLatin1Char('/'))) {
        value.chop(1);
    }
    // A sub-folder of folder only: deleting and renaming follow the thumbnails, so a value that
    // points elsewhere must not take files outside the folder with it.
    if (value.isEmpty() || value.startsWith(QLatin1Char('/')) ||
        value.split(QLatin1Char('/')).contains(QStringLiteral(".."))) {
        return {};
    }
    return value + QLatin1Char('/');
}
