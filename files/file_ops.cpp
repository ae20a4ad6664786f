#include "file_ops.h"

#include "native_files.h"
#include "native_name.h"
#include "upper_ascii.h"

#include <QByteArray>
#include <QDir>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace file_ops {

namespace {

QByteArray bytes(const QString& path) {
    return native_name::toBytes(path);
}

Result failure(int error) {
    return Result{false, QString::fromLocal8Bit(std::strerror(error))};
}

bool statOf(const QString& path, struct stat& info) {
    const QByteArray p = bytes(path);
    return !p.isEmpty() && ::stat(p.constData(), &info) == 0;
}

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
    // Closes now and reports whether the system accepted the last writes.
    bool close() {
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

private:
    int fd_;
};

int renameNoReplace(const char* from, const char* to) {
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
    if (errno == EEXIST) {
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
// errno set.
QByteArray copyToTemporary(const QByteArray& from, const QByteArray& to, int& error) {
    Descriptor in(::open(from.constData(), O_RDONLY | O_CLOEXEC));
    struct stat info {};
    if (in.get() < 0 || ::fstat(in.get(), &info) != 0) {
        error = errno;
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

} // namespace

bool exists(const QString& path) {
    return native_files::exists(path);
}

bool isFile(const QString& path) {
    return native_files::isFile(path);
}

bool isFolder(const QString& path) {
    return native_files::isFolder(path);
}

bool sameFile(const QString& a, const QString& b) {
    struct stat first {};
    struct stat second {};
    return statOf(a, first) && statOf(b, second) && first.st_dev == second.st_dev &&
           first.st_ino == second.st_ino;
}

QString findName(const QString& folder, const QString& name) {
    if (exists(folder + name)) {
        return name;
    }
    const QByteArray path = bytes(folder);
    DIR* dir = ::opendir(path.isEmpty() ? "." : path.constData());
    if (dir == nullptr) {
        return {};
    }
    const QString wanted = UPPER_ASCII(name);
    QString found;
    while (const dirent* entry = ::readdir(dir)) {
        const QString candidate = native_name::fromBytes(entry->d_name);
        if (UPPER_ASCII(candidate) == wanted) {
            found = candidate;
            break;
        }
    }
    ::closedir(dir);
    return found;
}

Result copyFile(const QString& source, const QString& destination, bool replace) {
    const QByteArray from = bytes(source);
    const QByteArray to = bytes(destination);
    if (!replace && exists(destination)) {
        return failure(EEXIST);
    }
    int error = 0;
    const QByteArray temporary = copyToTemporary(from, to, error);
    if (temporary.isEmpty()) {
        return failure(error);
    }
    const int renamed = replace ? ::rename(temporary.constData(), to.constData())
                                : renameNoReplace(temporary.constData(), to.constData());
    if (renamed != 0) {
        error = errno;
        ::unlink(temporary.constData());
        return failure(error);
    }
    return {};
}

Result moveFile(const QString& source, const QString& destination, bool replace) {
    const QByteArray from = bytes(source);
    const QByteArray to = bytes(destination);
    if (!isFile(source)) {
        return failure(ENOENT);
    }
    const int renamed = replace ? ::rename(from.constData(), to.constData())
                                : renameNoReplace(from.constData(), to.constData());
    if (renamed == 0) {
        return {};
    }
    if (errno != EXDEV) {
        return failure(errno);
    }
    // Another file system: a complete copy first, then the source goes. When the source cannot be
    // removed (a read-only folder) the file exists twice and the user is told; nothing is lost.
    const Result copied = copyFile(source, destination, replace);
    if (!copied.ok) {
        return copied;
    }
    if (::unlink(from.constData()) != 0) {
        return failure(errno);
    }
    return {};
}

Result rename(const QString& from, const QString& to) {
    const QByteArray a = bytes(from);
    const QByteArray b = bytes(to);
    if (renameNoReplace(a.constData(), b.constData()) != 0) {
        return failure(errno);
    }
    return {};
}

Result makeFolder(const QString& path) {
    const QByteArray p = bytes(path);
    if (p.isEmpty() || ::mkdir(p.constData(), 0777) != 0) {
        return failure(p.isEmpty() ? ENOENT : errno);
    }
    return {};
}

} // namespace file_ops
