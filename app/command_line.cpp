#include "command_line.h"

#include <QDir>
#include <QFileInfo>

FolderName folderFromName(const QString& name) {
    FolderName result;
    if (name.isEmpty()) {
        return result;
    }
    const QFileInfo info(name);
    if (info.isDir()) {
        result.isFolder = true;
    } else {
        for (qsizetype i = name.size() - 1; i >= 0; --i) {
            const QChar c = name.at(i);
            if (c == QLatin1Char('/') || c == QLatin1Char(':')) {
                result.isFolder = true;
                break;
            }
            if (c == QLatin1Char('.')) {
                break;
            }
        }
    }
    if (result.isFolder) {
        // A relative folder means another one once the program runs from elsewhere.
        result.folder =
            info.isDir() && info.isRelative() ? QDir::cleanPath(info.absoluteFilePath()) : name;
        if (!result.folder.endsWith(QLatin1Char('/'))) {
            result.folder += QLatin1Char('/');
        }
    }
    return result;
}

QString commandLineText(const QStringList& arguments) {
    QString text = arguments.mid(1).join(QLatin1Char(' '));
    if (text.size() >= 2 && text.startsWith(QLatin1Char('"')) && text.endsWith(QLatin1Char('"'))) {
        text = text.mid(1, text.size() - 2);
    }
    return text;
}
