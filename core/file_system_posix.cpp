// The system's side of file_system on POSIX systems.
#include "file_system.h"
#include "file_system_native.h"
#include "native_name.h"

#include <QByteArray>
#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>

namespace file_system {

namespace {

// The path's bytes for the system; empty (so refused by every caller) when they hold a NUL, which
// would cut the name short where the system reads it: "AB\0CD" must never mean "AB".
QByteArray bytes(const QString& path) {
    QByteArray name = native_name::toBytes(path);
    if (name.contains('\0')) {
        name.clear();
    }
    return name;
}

bool statOf(const QString& path, struct stat& info) {
    const QByteArray name = bytes(path);
    return !name.isEmpty() && ::stat(name.constData(), &info) == 0;
}

Result result(int status) {
    return status == 0 ? Result{} : Result::failure(errno);
}

struct DirClose {
    void operator()(DIR* dir) const { ::closedir(dir); }
};

// Closes a descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    int get() const { return fd_; }
    void reset(int fd) {
        if (fd_ >= 0) {
            ::close(fd_);
        }
        fd_ = fd;
    }
    // Closes now and reports whether the system accepted the last writes.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

int renameWithoutReplacing(const char* from, const char* to) {
    if (::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) {
        return 0;
    }
    if (errno != EINVAL && errno != ENOSYS) {
        return -1;
    }
    // A file system without the flag: a hard link refuses an existing name just as well; one
    // without hard links either gets a test, then a plain rename.
    if (::link(from, to) == 0) {
        ::unlink(from);
        return 0;
    }
    if (errno == EEXIST || errno == EXDEV) {
        return -1;
    }
    struct stat there {};
    if (::lstat(to, &there) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from, to);
}

QByteArray temporaryBeside(const QByteArray& destination) {
    static std::atomic<int> serial{0};
    const int slash = destination.lastIndexOf('/');
    return destination.left(slash + 1) + ".orva_copy." + QByteArray::number(::getpid()) + "." +
           QByteArray::number(serial++);
}

bool writeAll(int fd, const char* data, ssize_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= written;
    }
    return true;
}

// Copies the bytes of from into a new temporary file beside to; the temporary name, or "" with
// error set.
QByteArray copyToTemporary(const QByteArray& from, const QByteArray& to, int& error) {
    // Not blocking, so that a FIFO in the source's place is refused rather than waited on (a
    // regular file under a lease is opened again the usual way).
    Descriptor in(::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY));
    struct stat info {};
    if (in.get() < 0 && (errno == EWOULDBLOCK || errno == EAGAIN) &&
        ::stat(from.constData(), &info) == 0 && S_ISREG(info.st_mode)) {
        in.reset(::open(from.constData(), O_RDONLY | O_CLOEXEC | O_NOCTTY));
    }
    if (in.get() < 0 || ::fstat(in.get(), &info) != 0) {
        error = errno;
        return {};
    }
    if (!S_ISREG(info.st_mode)) {
        error = S_ISDIR(info.st_mode) ? EISDIR : EINVAL;
        return {};
    }
    const QByteArray temporary = temporaryBeside(to);
    Descriptor out(::open(temporary.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC,
                          info.st_mode & 07777));
    if (out.get() < 0) {
        error = errno;
        return {};
    }
    QByteArray buffer(1 << 20, Qt::Uninitialized);
    off_t total = 0;
    for (;;) {
        const ssize_t got = ::read(in.get(), buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 || !writeAll(out.get(), buffer.constData(), got)) {
            error = errno;
            ::unlink(temporary.constData());
            return {};
        }
        if (got == 0) {
            break;
        }
        total += got;
    }
    if (total != info.st_size || ::fsync(out.get()) != 0 || !out.close()) {
        error = total != info.st_size ? EIO : errno;
        ::unlink(temporary.constData());
        return {};
    }
    return temporary;
}

// Regular files only: a FIFO or a device is refused at once, never waited on. A regular file
// under a lease (a network share's lock, which a non-blocking open refuses) is opened again the
// usual way.
bool openFd(QFile& file, const QString& path, int flags, QIODevice::OpenMode mode) {
    const QByteArray name = bytes(path);
    if (name.isEmpty()) {
        return false;
    }
    int fd = ::open(name.constData(), flags | O_CLOEXEC | O_NONBLOCK | O_NOCTTY, 0666);
    struct stat info {};
    if (fd < 0 && (errno == EWOULDBLOCK || errno == EAGAIN) &&
        ::stat(name.constData(), &info) == 0 && S_ISREG(info.st_mode)) {
        fd = ::open(name.constData(), flags | O_CLOEXEC | O_NOCTTY, 0666);
    }
    if (fd < 0) {
        return false;
    }
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) ||
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0) {
        ::close(fd);
        return false;
    }
    if (!file.open(fd, mode, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return false;
    }
    return true;
}

} // namespace

namespace native {

bool entries(const QString& folder, QStringList& names) {
    const QByteArray path = bytes(folder);
    std::unique_ptr<DIR, DirClose> dir(path.isEmpty() ? nullptr : ::opendir(path.constData()));
    if (!dir) {
        return false;
    }
    while (const dirent* entry = ::readdir(dir.get())) {
        if (std::strcmp(entry->d_name, ".") != 0 && std::strcmp(entry->d_name, "..") != 0) {
            names += native_name::fromBytes(entry->d_name);
        }
    }
    return true;
}

int removalError(const QString& path) {
    QByteArray folder = bytes(path);
    const int slash = folder.lastIndexOf('/');
    folder = slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : folder.left(slash);
    // The effective rights, as the removal itself will meet them.
    return ::faccessat(AT_FDCWD, folder.constData(), W_OK | X_OK, AT_EACCESS) == 0 ? 0 : errno;
}

bool acrossVolumes(const Result& renamed) {
    return renamed.error == EXDEV;
}

} // namespace native

bool exists(const QString& path) {
    const QByteArray name = bytes(path);
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
    return isFolder(path) &&
           ::faccessat(AT_FDCWD, bytes(path).constData(), W_OK | X_OK, AT_EACCESS) == 0;
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
    const QByteArray name = bytes(path);
    if (name.isEmpty()) {
        return {};
    }
    std::unique_ptr<char, decltype(&std::free)> resolved(::realpath(name.constData(), nullptr),
                                                         &std::free);
    return resolved ? native_name::fromBytes(resolved.get()) : QString();
}

bool sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return statOf(a, first) && statOf(b, second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

Stamp stampOf(const QString& path) {
    struct stat info {};
    if (!statOf(path, info)) {
        return {};
    }
    return {quint64(info.st_dev), quint64(info.st_ino), qint64(info.st_size),
            qint64(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec};
}

Result makeFolder(const QString& path) {
    const QByteArray name = bytes(path);
    return name.isEmpty() ? Result::failure(ENOENT) : result(::mkdir(name.constData(), 0777));
}

Result makePath(const QString& folder) {
    QByteArray name = bytes(folder);
    while (name.size() > 1 && name.endsWith('/')) {
        name.chop(1);
    }
    if (name.isEmpty()) {
        return Result::failure(ENOENT);
    }
    if (isFolder(folder)) {
        return {};
    }
    const int slash = name.lastIndexOf('/');
    if (slash > 0) {
        const Result parent = makePath(native_name::fromBytes(name.left(slash)));
        if (!parent) {
            return parent;
        }
    }
    if (::mkdir(name.constData(), 0777) == 0) {
        return {};
    }
    const int error = errno;
    if (isFolder(folder)) {
        return {};
    }
    return Result::failure(error == EEXIST ? ENOTDIR : error);
}

Result remove(const QString& path) {
    const QByteArray name = bytes(path);
    return name.isEmpty() ? Result::failure(ENOENT) : result(::unlink(name.constData()));
}

Result renameNoReplace(const QString& from, const QString& to) {
    const QByteArray source = bytes(from);
    const QByteArray target = bytes(to);
    if (source.isEmpty() || target.isEmpty()) {
        return Result::failure(ENOENT);
    }
    return result(renameWithoutReplacing(source.constData(), target.constData()));
}

Result renameReplacing(const QString& from, const QString& to) {
    const QByteArray source = bytes(from);
    const QByteArray target = bytes(to);
    if (source.isEmpty() || target.isEmpty()) {
        return Result::failure(ENOENT);
    }
    if (::rename(source.constData(), target.constData()) != 0) {
        return Result::failure(errno);
    }
    // The new name reaches the disk too, not only the contents.
    const int slash = target.lastIndexOf('/');
    const QByteArray folder = slash < 0 ? QByteArray(".") : target.left(slash + 1);
    const int fd = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
    return {};
}

Result copyFile(const QString& source, const QString& destination, bool replace) {
    const QByteArray from = bytes(source);
    const QByteArray to = bytes(destination);
    if (from.isEmpty() || to.isEmpty()) {
        return Result::failure(ENOENT);
    }
    if (!replace && exists(destination)) {
        return Result::failure(EEXIST);
    }
    int error = 0;
    const QByteArray temporary = copyToTemporary(from, to, error);
    if (temporary.isEmpty()) {
        return Result::failure(error);
    }
    const int renamed = replace ? ::rename(temporary.constData(), to.constData())
                                : renameWithoutReplacing(temporary.constData(), to.constData());
    if (renamed != 0) {
        error = errno;
        ::unlink(temporary.constData());
        return Result::failure(error);
    }
    return {};
}

bool openForReading(QFile& file, const QString& path) {
    return openFd(file, path, O_RDONLY, QIODevice::ReadOnly);
}

bool openForWriting(QFile& file, const QString& path) {
    return openFd(file, path, O_WRONLY | O_CREAT | O_TRUNC, QIODevice::WriteOnly);
}

} // namespace file_system
