#include "user_folders.h"

#include "base_folders.h"
#include "native_name.h"

#include <QDir>

namespace user_folders {

QString of(Kind kind) {
    static constexpr winport::BaseFolder kFolders[] = {
        winport::BaseFolder::Config, winport::BaseFolder::Data, winport::BaseFolder::Cache};
    return native_name::fromBytes(winport::baseFolder(kFolders[int(kind)]));
}

QString home() {
    return native_name::fromBytes(winport::baseFolder(winport::BaseFolder::Home));
}

bool packageOwned(const QString& programDir) {
    return QDir::cleanPath(programDir).startsWith(QLatin1String("/usr/"));
}

} // namespace user_folders
