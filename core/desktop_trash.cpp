#include "desktop_trash.h"

#include "file_system.h"
#include "native_name.h"
#include "user_folders.h"

#include <QByteArray>
#include <QDateTime>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace desktop_trash {

namespace {

QString reasonOf(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool deviceOf(const QByteArray& path, dev_t& device) {
    struct stat info {};
    if (::stat(path.constData(), &info) != 0) {
        return false;
    }
    device = info.st_dev;
    return true;
}

QByteArray parentOf(const QByteArray& path) {
    const int slash = path.lastIndexOf('/');
    return slash <= 0 ? QByteArray("/") : path.left(slash);
}

// Makes path and its missing parents, each mode 0700.
bool makeFolders(const QByteArray& path) {
    struct stat info {};
    if (::stat(path.constData(), &info) == 0) {
        return S_ISDIR(info.st_mode);
    }
    if (path != "/" && !makeFolders(parentOf(path))) {
        return false;
    }
    return ::mkdir(path.constData(), 0700) == 0 || errno == EEXIST;
}

QByteArray userDataHome() {
    return native_name::toBytes(user_folders::of(user_folders::Kind::Data));
}

// The top folder of the volume that holds path: the last parent on the same device.
QByteArray volumeTop(const QByteArray& path, dev_t device) {
    QByteArray top = parentOf(path);
    while (top != "/") {
        const QByteArray up = parentOf(top);
        dev_t upDevice = 0;
        if (!deviceOf(up, upDevice) || upDevice != device) {
            break;
        }
        top = up;
    }
    return top;
}

struct Trash {
    QByteArray folder; // holds files/ and info/
    QByteArray top;    // "" for the user's trash (absolute paths), else the volume's top folder
};

// Whether path is a folder of this user's alone, made (mode 0700) when missing: a real folder,
// not a link, owned by the user and closed to others. A trash on a volume others can write to
// may have been planted, as a link or as a folder of another user's, to receive this user's files.
bool ownFolder(const QByteArray& path) {
    if (::mkdir(path.constData(), 0700) != 0 && errno != EEXIST) {
        return false;
    }
    struct stat info {};
    return ::lstat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 077) == 0;
}

// The trash of the volume top: the administrator's ".Trash" (a real folder with the sticky bit)
// with a folder per user, else ".Trash-<uid>"; "" when neither is this user's own.
QByteArray volumeTrash(const QByteArray& top) {
    const QByteArray base = top == "/" ? QByteArray() : top;
    const QByteArray uid = QByteArray::number(::getuid());
    const QByteArray shared = base + "/.Trash";
    struct stat info {};
    // The administrator's: a real folder with the sticky bit, made by root (or the user).
    if (::lstat(shared.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        (info.st_mode & S_ISVTX) != 0 && (info.st_uid == 0 || info.st_uid == ::getuid())) {
        const QByteArray own = shared + "/" + uid;
        if (ownFolder(own)) {
            return own;
        }
    }
    const QByteArray own = base + "/.Trash-" + uid;
    return ownFolder(own) ? own : QByteArray();
}

// The trash for file (on device fileDevice): the user's own when it is on the same volume, else
// the volume's. When the volume has no trash of the user's own, the user's trash takes the file
// across volumes (across is set).
bool findTrash(const QByteArray& file, dev_t fileDevice, Trash& trash, bool& across) {
    across = false;
    const QByteArray data = userDataHome();
    const QByteArray home = data.isEmpty() ? QByteArray() : data + "/Trash";
    dev_t homeDevice = 0;
    const bool haveHome = !home.isEmpty() && makeFolders(home) && deviceOf(home, homeDevice);
    if (haveHome && homeDevice == fileDevice) {
        trash = Trash{home, QByteArray()};
        return true;
    }
    const QByteArray top = volumeTop(file, fileDevice);
    const QByteArray volume = volumeTrash(top);
    if (!volume.isEmpty()) {
        trash = Trash{volume, top};
        return true;
    }
    trash = Trash{home, QByteArray()};
    across = true;
    return haveHome;
}

QByteArray infoText(const QByteArray& file, const Trash& trash) {
    QByteArray path = file;
    if (!trash.top.isEmpty() && trash.top != "/") {
        path = file.mid(trash.top.size() + 1);
    } else if (!trash.top.isEmpty()) {
        path = file.mid(1);
    }
    return "[Trash Info]\nPath=" + path.toPercentEncoding("/") + "\nDeletionDate=" +
           QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")).toLatin1() +
           "\n";
}

} // namespace

namespace {

QByteArray absolute(QByteArray file) {
    if (!file.startsWith('/')) {
        char* cwd = ::getcwd(nullptr, 0);
        file = QByteArray(cwd == nullptr ? "" : cwd) + "/" + file;
        std::free(cwd);
    }
    return file;
}

// Moves entry (name in the folder folderFd, or a path with AT_FDCWD) whose path is file into the
// trash.
Result moveEntry(int folderFd, const QByteArray& entry, const QByteArray& file) {
    struct stat info {};
    if (::fstatat(folderFd, entry.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0) {
        return Result{false, {}, reasonOf(errno)};
    }
    Trash trash;
    bool across = false;
    if (!findTrash(file, info.st_dev, trash, across) || !makeFolders(trash.folder + "/files") ||
        !makeFolders(trash.folder + "/info")) {
        return Result{false, {}, reasonOf(errno == 0 ? EACCES : errno)};
    }
    const QByteArray name = file.mid(file.lastIndexOf('/') + 1);
    // The info file is made first and exclusively: it reserves the name in the trash.
    for (int attempt = 1; attempt < 10000; ++attempt) {
        const QByteArray trashName = attempt == 1 ? name : name + "." + QByteArray::number(attempt);
        const QByteArray infoPath = trash.folder + "/info/" + trashName + ".trashinfo";
        const int fd = ::open(infoPath.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) {
                continue;
            }
            return Result{false, {}, reasonOf(errno)};
        }
        const QByteArray text = infoText(file, trash);
        const bool written = ::write(fd, text.constData(), text.size()) == text.size();
        const int writeError = errno;
        if (::close(fd) != 0 || !written) {
            ::unlink(infoPath.constData());
            return Result{false, {}, reasonOf(written ? errno : writeError)};
        }
        const QByteArray target = trash.folder + "/files/" + trashName;
        struct stat taken {};
        if (::lstat(target.constData(), &taken) == 0) {
            // A file left in the trash without its info: keep it, take the next name.
            ::unlink(infoPath.constData());
            continue;
        }
        if (across) {
            // A complete copy first; the file leaves its folder only then, and on a failure
            // it is still where it was, with no copy in the trash.
            const file_system::Result moved = file_system::moveFile(
                native_name::fromBytes(file), native_name::fromBytes(target), false);
            if (!moved.ok) {
                ::unlink(infoPath.constData());
                return Result{false, {}, moved.reason};
            }
        } else if (::renameat(folderFd, entry.constData(), AT_FDCWD, target.constData()) != 0) {
            const int error = errno;
            ::unlink(infoPath.constData());
            return Result{false, {}, reasonOf(error)};
        }
        return Result{true, native_name::fromBytes(target), {}};
    }
    return Result{false, {}, reasonOf(EEXIST)};
}

} // namespace

Result moveToTrash(const QString& path) {
    const QByteArray file = absolute(native_name::toBytes(path));
    return moveEntry(AT_FDCWD, file, file);
}

Result moveToTrash(const BoundFolder& folder, const QString& name, const QString& path) {
    const QByteArray entry = native_name::toBytes(name);
    if (!folder.holdsFile(entry.toStdString())) {
        return Result{false, {}, reasonOf(folder.open() ? EPERM : folder.error())};
    }
    return moveEntry(folder.fd(), entry, absolute(native_name::toBytes(path)));
}

} // namespace desktop_trash
