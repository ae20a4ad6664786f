#include "file_move.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

namespace {

// Rename that refuses to replace: errno EEXIST when the destination is there already.
int renameNoReplace(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    // A file system without the flag: test, then rename (the run is the only writer here).
    std::error_code ec;
    if (fs::exists(fs::path(to), ec) || ec) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from, to);
}

bool copyThenRemove(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const auto size = fs::file_size(from, ec);
    if (ec) {
        return false;
    }
    // copy_options::none fails when the destination exists.
    if (!fs::copy_file(from, to, fs::copy_options::none, ec) || ec) {
        if (ec.value() != EEXIST) {
            fs::remove(to, ec);
        }
        return false;
    }
    std::error_code sizeError;
    if (fs::file_size(to, sizeError) != size || sizeError) {
        fs::remove(to, ec);
        return false;
    }
    if (!fs::remove(from, ec) || ec) {
        // Two copies are better than none: the copy stays, the source too.
        return false;
    }
    return true;
}

} // namespace

bool moveFile(const QString& source, const QString& destination) {
    if (source.isEmpty() || destination.isEmpty()) {
        return false;
    }
    const QByteArray from = QFile::encodeName(source);
    const QByteArray to = QFile::encodeName(destination);
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(from.toStdString()), ec)) {
        return false;
    }
    if (renameNoReplace(from.constData(), to.constData()) == 0) {
        return true;
    }
    if (errno != EXDEV) {
        return false;
    }
    return copyThenRemove(fs::path(from.toStdString()), fs::path(to.toStdString()));
}
