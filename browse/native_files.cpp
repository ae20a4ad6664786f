#include "native_files.h"

#include "native_name.h"

#include <QRegularExpression>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace native_files {

namespace {

struct DirClose {
    void operator()(DIR* dir) const { closedir(dir); }
};

fs::path pathOf(const QString& path) {
    return fs::path(native_name::toBytes(path).toStdString());
}

bool statOf(const QString& path, struct stat& info) {
    const QByteArray name = native_name::toBytes(path);
    return !name.isEmpty() && ::stat(name.constData(), &info) == 0;
}

} // namespace

QStringList list(const QString& folder, const QString& pattern) {
    const QByteArray bytes = native_name::toBytes(folder);
    std::unique_ptr<DIR, DirClose> dir(bytes.isEmpty() ? nullptr : opendir(bytes.constData()));
    if (!dir) {
        return {};
    }
    const QRegularExpression wanted(
        pattern.isEmpty() ? QString() : QRegularExpression::wildcardToRegularExpression(pattern));
    QString base = folder;
    if (!base.endsWith(QLatin1Char('/'))) {
        base += QLatin1Char('/');
    }
    QStringList names;
    while (const dirent* entry = readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") == 0 || std::strcmp(entry->d_name, "..") == 0) {
            continue;
        }
        const QString name = native_name::fromBytes(entry->d_name);
        if (!pattern.isEmpty() && !wanted.match(name).hasMatch()) {
            continue;
        }
        struct stat info {};
        if (!statOf(base + name, info)) {
            // A link to nothing still takes its name, as a file would.
            if (exists(base + name)) {
                names += name;
            }
            continue;
        }
        if (S_ISREG(info.st_mode)) {
            names += name;
        }
    }
    names.sort();
    return names;
}

bool exists(const QString& path) {
    const QByteArray name = native_name::toBytes(path);
    struct stat info {};
    return !name.isEmpty() && ::lstat(name.constData(), &info) == 0;
}

bool isFile(const QString& path) {
    struct stat info {};
    return statOf(path, info) && S_ISREG(info.st_mode);
}

bool isFolder(const QString& path) {
    struct stat info {};
    return statOf(path, info) && S_ISDIR(info.st_mode);
}

bool isWritableFolder(const QString& path) {
    const QByteArray name = native_name::toBytes(path);
    return isFolder(path) && ::access(name.constData(), W_OK | X_OK) == 0;
}

QDateTime lastModified(const QString& path) {
    struct stat info {};
    if (!statOf(path, info)) {
        return {};
    }
    return QDateTime::fromMSecsSinceEpoch(qint64(info.st_mtim.tv_sec) * 1000 +
                                          info.st_mtim.tv_nsec / 1000000);
}

QString canonical(const QString& path) {
    std::error_code ec;
    const fs::path resolved = fs::canonical(pathOf(path), ec);
    return ec ? QString() : native_name::fromBytes(QByteArray::fromStdString(resolved.native()));
}

bool makePath(const QString& folder) {
    if (folder.isEmpty()) {
        return false;
    }
    std::error_code ec;
    fs::create_directories(pathOf(folder), ec);
    return isFolder(folder);
}

bool remove(const QString& path) {
    const QByteArray name = native_name::toBytes(path);
    return !name.isEmpty() && ::unlink(name.constData()) == 0;
}

bool renameNoReplace(const QString& from, const QString& to) {
    const QByteArray source = native_name::toBytes(from);
    const QByteArray target = native_name::toBytes(to);
    if (source.isEmpty() || target.isEmpty()) {
        return false;
    }
    if (::renameat2(AT_FDCWD, source.constData(), AT_FDCWD, target.constData(), RENAME_NOREPLACE) ==
        0) {
        return true;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return false;
    }
    // A file system without the flag: test, then rename.
    return !exists(to) && ::rename(source.constData(), target.constData()) == 0;
}

bool copy(const QString& from, const QString& to, QString* errorText) {
    std::error_code ec;
    // copy_options::none fails when the destination exists.
    if (!fs::copy_file(pathOf(from), pathOf(to), fs::copy_options::none, ec) || ec) {
        if (errorText != nullptr) {
            *errorText = QString::fromStdString(ec.message());
        }
        return false;
    }
    return true;
}

bool openForWriting(QFile& file, const QString& path) {
    const QByteArray name = native_name::toBytes(path);
    const int fd = name.isEmpty()
                       ? -1
                       : ::open(name.constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (fd < 0) {
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace native_files
