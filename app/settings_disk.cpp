#include "settings_disk.h"

#include <QFile>
#include <QFileInfo>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#else
#include <fcntl.h>
#include <unistd.h>
#endif

namespace settings_disk {

namespace {

#ifndef _WIN32
// After a rename the folder entry itself has to reach the disk too.
void flushFolder(const QString& folder) {
    int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}
#endif

} // namespace

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
    // std::filesystem::rename replaces an existing target atomically on POSIX systems and
    // with MoveFileEx(MOVEFILE_REPLACE_EXISTING) on Windows.
    std::error_code error;
    std::filesystem::rename(std::filesystem::path(from.toStdU16String()),
                            std::filesystem::path(to.toStdU16String()), error);
    if (error) {
        return false;
    }
#ifndef _WIN32
    flushFolder(QFileInfo(to).absolutePath());
#endif
    return true;
}

} // namespace settings_disk
