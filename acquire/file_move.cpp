#include "file_move.h"

#include "native_name.h"

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

MoveResult copyThenRemove(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    const auto size = fs::file_size(from, ec);
    if (ec) {
        return MoveResult::Failed;
    }
    // copy_options::none fails when the destination exists.
    if (!fs::copy_file(from, to, fs::copy_options::none, ec) || ec) {
        if (ec.value() != EEXIST) {
            fs::remove(to, ec);
        }
        return MoveResult::Failed;
    }
    std::error_code sizeError;
    if (fs::file_size(to, sizeError) != size || sizeError) {
        fs::remove(to, ec);
        return MoveResult::Failed;
    }
    if (!fs::remove(from, ec) || ec) {
        // A copy whose source stays would be copied again by every later run.
        fs::remove(to, ec);
        return MoveResult::SourceStays;
    }
    return MoveResult::Moved;
}

} // namespace

MoveResult moveFile(const QString& source, const QString& destination) {
    if (source.isEmpty() || destination.isEmpty()) {
        return MoveResult::Failed;
    }
    const QByteArray from = native_name::toBytes(source);
    const QByteArray to = native_name::toBytes(destination);
    std::error_code ec;
    if (!fs::is_regular_file(fs::path(from.toStdString()), ec)) {
        return MoveResult::Failed;
    }
    if (renameNoReplace(from.constData(), to.constData()) == 0) {
        return MoveResult::Moved;
    }
    if (errno != EXDEV) {
        return MoveResult::Failed;
    }
    return copyThenRemove(fs::path(from.toStdString()), fs::path(to.toStdString()));
}
