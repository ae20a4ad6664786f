#include "kept_folder.h"

#include "startup_folders.h"
#include "user_folders.h"

#include <QDir>

namespace kept_folder {

QString dataFolder() {
    const QString data = user_folders::of(user_folders::Kind::Data);
    return data.isEmpty() ? QString() : withTrailingSlash(data) + QStringLiteral("orvana/");
}

QString primary() {
    const QString chosen = qEnvironmentVariable("ORVANA_KEPT_DIR");
    if (!chosen.isEmpty()) {
        return withTrailingSlash(chosen);
    }
    const QString data = dataFolder();
    return data.isEmpty() ? QString() : data + QStringLiteral("kept/");
}

QString temporary() {
    // Qt gives "" for a temporary folder that does not exist; "/" must not stand in for it.
    const QString folder = QDir::tempPath();
    return folder.isEmpty() ? QString() : withTrailingSlash(folder);
}

QStringList all() {
    QStringList folders;
    if (const QString first = primary(); !first.isEmpty()) {
        folders += first;
    }
    const QString last = temporary();
    if (!last.isEmpty() && !folders.contains(last)) {
        folders += last;
    }
    return folders;
}

} // namespace kept_folder
