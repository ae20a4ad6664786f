#include "snaplet_inf.h"

#include "file_system.h"
#include "native_name.h"
#include "settings_line.h"
#include "settings_line_reader.h"

#include <QFile>

int16_t READ_SNAPLET_INF(const QString& folder, QString& value) {
    QFile file;
    if (!file_system::openForReading(file, folder + QStringLiteral("SNAPLET.INF"))) {
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

namespace {

// The TNDN value as a plain path below the folder, without the trailing "/"; "" when it is none.
QString plainThumbnailValue(const QString& folder) {
    QString value;
    if (READ_SNAPLET_INF(folder, value) != 0) {
        return {};
    }
    value.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (value.endsWith(QLatin1Char('/'))) {
        value.chop(1);
    }
    return BoundFolder::isPlainRelative(native_name::toBytes(value).toStdString()) ? value
                                                                                   : QString();
}

BoundFolder openBelow(const QString& folder, const QString& value) {
    if (value.isEmpty()) {
        return {};
    }
    return BoundFolder::at(native_name::toBytes(folder).toStdString())
        .below(native_name::toBytes(value).toStdString());
}

} // namespace

QString companionThumbnails(const QString& folder) {
    QString relative;
    companionFolder(folder, &relative);
    return relative;
}

BoundFolder companionFolder(const QString& folder, QString* relative) {
    const QString value = plainThumbnailValue(folder);
    BoundFolder thumbnails = openBelow(folder, value);
    if (relative != nullptr) {
        *relative = thumbnails.open() ? value + QLatin1Char('/') : QString();
    }
    return thumbnails;
}
