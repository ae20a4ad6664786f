#include "user_folders.h"

#include "base_folders.h"
#include "native_name.h"

namespace user_folders {

QString of(Kind kind) {
    static constexpr winport::BaseFolder kFolders[] = {
        winport::BaseFolder::Config, winport::BaseFolder::Data, winport::BaseFolder::Cache};
    return native_name::fromBytes(winport::baseFolder(kFolders[int(kind)]));
}

QString home() {
    return native_name::fromBytes(winport::baseFolder(winport::BaseFolder::Home));
}

} // namespace user_folders
