#include "settings_disk.h"

#include "file_system.h"

#include <QFile>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace settings_disk {

bool flushToDisk(QFile& file) {
    if (!file.flush()) {
        return false;
    }
#ifdef _WIN32
    return ::_commit(file.handle()) == 0;
#else
    return ::fsync(file.handle()) == 0;
#endif
}

bool replaceFile(const QString& from, const QString& to) {
    return bool(file_system::renameReplacing(from, to));
}

} // namespace settings_disk
