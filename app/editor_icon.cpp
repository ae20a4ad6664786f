#include "editor_icon.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QIcon>
#include <QPainter>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

constexpr int kSide = 32;

// The program an Exec line starts: its first word, quotes removed, an "env VAR=…" prefix skipped.
QString execProgram(const QString& exec) {
    QStringList words = QProcess::splitCommand(exec);
    while (!words.isEmpty() &&
           (words.first() == QLatin1String("env") || words.first().contains(QLatin1Char('=')))) {
        words.removeFirst();
    }
    return words.isEmpty() ? QString() : words.first();
}

QString resolved(const QString& program) {
    const QString path =
        program.contains(QLatin1Char('/')) ? program : QStandardPaths::findExecutable(program);
    const QString canonical = QFileInfo(path).canonicalFilePath();
    return canonical.isEmpty() ? path : canonical;
}

// The keys of the [Desktop Entry] group of a desktop file.
bool readEntry(const QString& file, QString& exec, QString& icon) {
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return false;
    }
    QTextStream stream(&in);
    bool inEntry = false;
    while (!stream.atEnd()) {
        const QString line = stream.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            inEntry = line == QLatin1String("[Desktop Entry]");
        } else if (inEntry && line.startsWith(QLatin1String("Exec="))) {
            exec = line.mid(5);
        } else if (inEntry && line.startsWith(QLatin1String("Icon="))) {
            icon = line.mid(5);
        }
    }
    return !exec.isEmpty();
}

QIcon iconNamed(const QString& name) {
    if (QFileInfo(name).isAbsolute()) {
        return QFileInfo::exists(name) ? QIcon(name) : QIcon();
    }
    QIcon icon = QIcon::fromTheme(name);
    if (!icon.isNull()) {
        return icon;
    }
    for (const char* suffix : {".png", ".svg", ".xpm"}) {
        const QString file = QStringLiteral("/usr/share/pixmaps/") + name + QLatin1String(suffix);
        if (QFileInfo::exists(file)) {
            return QIcon(file);
        }
    }
    return {};
}

} // namespace

QString desktopEntryIcon(const QString& program, const QStringList& folders) {
    const QString wanted = resolved(program);
    for (const QString& folder : folders) {
        QDirIterator entries(folder, {QStringLiteral("*.desktop")}, QDir::Files,
                             QDirIterator::Subdirectories);
        while (entries.hasNext()) {
            QString exec;
            QString icon;
            if (readEntry(entries.next(), exec, icon) && !icon.isEmpty() &&
                resolved(execProgram(exec)) == wanted) {
                return icon;
            }
        }
    }
    return {};
}

QPixmap editorIcon(const QString& program, const QColor& background,
                   const QStringList& applicationFolders) {
    const QStringList folders =
        applicationFolders.isEmpty()
            ? QStandardPaths::standardLocations(QStandardPaths::ApplicationsLocation)
            : applicationFolders;
    QIcon icon;
    const QString name = desktopEntryIcon(program, folders);
    if (!name.isEmpty()) {
        icon = iconNamed(name);
    }
    if (icon.isNull()) {
        icon = QFileIconProvider().icon(QFileInfo(program));
    }
    const QPixmap drawn = icon.isNull() ? QPixmap() : icon.pixmap(kSide, kSide);
    if (drawn.isNull()) {
        return {};
    }
    QPixmap picture(kSide, kSide);
    picture.fill(background);
    QPainter painter(&picture);
    painter.drawPixmap(QRect(0, 0, kSide, kSide), drawn);
    return picture;
}
