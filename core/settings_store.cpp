#include "settings_store.h"

#include "native_name.h"
#include "settings_disk.h"
#include "settings_field.h"
#include "settings_line.h"
#include "settings_line_reader.h"
#include "user_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <string>

namespace {

const QString endMarker = QStringLiteral("[EOF]");

const SettingKey* keyOf(const QString& key) {
    return findSettingKey(key.toStdString());
}

// Copies the defaults file over the settings file byte for byte. The copy is written under a
// temporary name and renamed, so that a failed copy never leaves a half-written settings file.
bool copyFile(const QString& from, const QString& to) {
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        return false;
    }
    QSaveFile target(to);
    if (!target.open(QIODevice::WriteOnly)) {
        return false;
    }
    char buffer[16 * 1024];
    qint64 got = 0;
    while ((got = source.read(buffer, sizeof buffer)) > 0) {
        if (target.write(buffer, got) != got) {
            target.cancelWriting();
            break;
        }
    }
    if (got < 0) {
        target.cancelWriting();
    }
    return target.commit();
}

void readSettings(QFile& file, USR_SETTINGS& settings) {
    SettingsLineReader reader(file);
    QString line;
    // The physical end of the file ends the reading as "[EOF]" does.
    while (reader.next(line)) {
        if (line == endMarker) {
            break;
        }
        if (line.startsWith(QLatin1Char('\''))) {
            continue;
        }
        SettingLine parts = settings_line::split(settings_line::trimBlanks(line));
        if (const SettingKey* key = keyOf(parts.key)) {
            settings_field::store(settings, *key, parts.value);
        }
    }
}

// Writes settings in the layout of template to out; false when reading or writing fails.
bool writeSettings(QFile& templateFile, QFile& out, const USR_SETTINGS& settings) {
    bool written = true;
    auto writeLine = [&](const QString& text) {
        QByteArray bytes = native_name::toBytes(text);
        bytes.append("\r\n");
        written = written && out.write(bytes) == bytes.size();
    };

    SettingsLineReader reader(templateFile);
    QString line;
    while (written && reader.next(line)) {
        QString trimmed = settings_line::trimBlanks(line);
        if (trimmed == endMarker) {
            break;
        }
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('\''))) {
            writeLine(trimmed);
            continue;
        }
        SettingLine parts = settings_line::split(trimmed);
        const SettingKey* key = keyOf(parts.key);
        QString value =
            key ? settings_field::format(settings, *key) : settings_line::encodeValue(parts.value);
        writeLine(parts.key + QLatin1String(" , ") + value + QLatin1Char(' ') + parts.comment);
    }
    writeLine(endMarker);
    return written && templateFile.error() == QFileDevice::NoError;
}

} // namespace

void SettingsStore::setBuiltInDefaults(USR_SETTINGS& settings) const {
    settings.BASD.clear();
    settings.MKDR = 0;
    settings.NTOP.clear();
    settings.TWBT = 1;
    settings.MPRX = 1;
    settings.MPRY = 1;
    settings.CTDM = 0;
    settings.CFDM = 0;
    settings.CMTX = 4;
    settings.CMTY = 2;
    settings.CMTT = 8;
    settings.BADM = 0;
    settings.NTWF = 0;
    settings.NTWP = programDir_;
    settings.UTNM = 0;
    settings.UTNT = 1;
    settings.SCNN = 3;
    settings.RNDU = 0;
    settings.EXTM = 0;
}

SettingsLoadResult SettingsStore::LOAD_SETTINGS(USR_SETTINGS& settings) const {
    setBuiltInDefaults(settings);

    QFile file(settingsPath());
    SettingsLoadResult result = SettingsLoadResult::Loaded;
    if (!file.open(QIODevice::ReadOnly)) {
        result = SettingsLoadResult::CreatedFromDefaults;
        if (!copyFile(defaultsPath(), settingsPath()) || !file.open(QIODevice::ReadOnly)) {
            // The folder may be read-only: the defaults can still be read where they are.
            result = SettingsLoadResult::ReadDefaultsOnly;
            file.setFileName(defaultsPath());
            if (!file.open(QIODevice::ReadOnly)) {
                return SettingsLoadResult::DefaultsMissing;
            }
        }
    }
    readSettings(file, settings);
    // An empty source folder would make the folder method move nothing: it means the program's.
    if (settings.NTWP.isEmpty()) {
        settings.NTWP = programDir_;
    }
    return result;
}

QString SettingsStore::settingsFolder(const QString& programDir) {
    const QString config = user_folders::of(user_folders::Kind::Config);
    if (config.isEmpty()) {
        return programDir;
    }
    const QString user = config + QStringLiteral("/orvana/");
    if (QFileInfo::exists(user + QLatin1String(settingsFileName))) {
        return user;
    }
    if ((QFileInfo(programDir).isWritable() && !user_folders::packageOwned(programDir)) ||
        !QDir().mkpath(user)) {
        return programDir;
    }
    return user;
}

QString SettingsStore::temporaryPath() const {
    return settingsDir_ + QStringLiteral("ORVA_CNF.%1.TMP").arg(QCoreApplication::applicationPid());
}

SettingsSaveResult SettingsStore::SAVE_SETTINGS(USR_SETTINGS& settings,
                                                const SettingsSaveMoment& moment) const {
    settings.DFDS = moment.displayedFolder;
    settings.POSL = moment.left;
    settings.POST = moment.top;
    settings.POSW = moment.width;
    settings.POSH = moment.height;

    QFile templateFile(defaultsPath());
    if (!templateFile.open(QIODevice::ReadOnly)) {
        return SettingsSaveResult::TemplateMissing;
    }
    QFile out(temporaryPath());
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        QFile::remove(temporaryPath());
        return SettingsSaveResult::WriteFailed;
    }
    bool written = writeSettings(templateFile, out, settings);
    written = settings_disk::flushToDisk(out) && written;
    out.close();
    if (!written || out.error() != QFileDevice::NoError) {
        out.remove();
        return SettingsSaveResult::WriteFailed;
    }
    if (!settings_disk::replaceFile(temporaryPath(), settingsPath())) {
        return SettingsSaveResult::ReplaceFailed;
    }
    return SettingsSaveResult::Saved;
}
