#include "kept_folder.h"

#include "startup_folders.h"

#include <QDir>

namespace kept_folder {

QString dataFolder() {
    QString data = qEnvironmentVariable("XDG_DATA_HOME");
    if (!data.startsWith(QLatin1Char('/'))) {
        data = QDir::homePath() + QStringLiteral("/.local/share");
    }
    return withTrailingSlash(data) + QStringLiteral("orvana/");
}

QString primary() {
    const QString chosen = qEnvironmentVariable("ORVANA_KEPT_DIR");
    if (!chosen.isEmpty()) {
        return withTrailingSlash(chosen);
    }
    return dataFolder() + QStringLiteral("kept/");
}

QString temporary() {
    // Qt gives "" for a temporary folder that does not exist; "/" must not stand in for it.
    const QString folder = QDir::tempPath();
    return folder.isEmpty() ? QString() : withTrailingSlash(folder);
}

QStringList all() {
    QStringList folders{primary()};
    const QString last = temporary();
    if (!last.isEmpty() && !folders.contains(last)) {
        folders += last;
    }
    return folders;
}

} // namespace kept_folder
