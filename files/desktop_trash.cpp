#include "desktop_trash.h"

#include "native_name.h"

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
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data != nullptr && data[0] == '/') {
        return QByteArray(data);
    }
    const char* home = std::getenv("HOME");
    return home == nullptr ? QByteArray() : QByteArray(home) + "/.local/share";
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

// The trash of the volume top: the administrator's ".Trash" (a real folder with the sticky bit)
// with a folder per user, else ".Trash-<uid>".
QByteArray volumeTrash(const QByteArray& top) {
    const QByteArray base = top == "/" ? QByteArray() : top;
    const QByteArray uid = QByteArray::number(::getuid());
    const QByteArray shared = base + "/.Trash";
    struct stat info {};
    if (::lstat(shared.constData(), &info) == 0 && S_ISDIR(info.st_mode) &&
        (info.st_mode & S_ISVTX) != 0) {
        const QByteArray own = shared + "/" + uid;
        if (makeFolders(own)) {
            return own;
        }
    }
    return base + "/.Trash-" + uid;
}

bool findTrash(const QByteArray& file, Trash& trash) {
    dev_t fileDevice = 0;
    if (!deviceOf(file, fileDevice)) {
        return false;
    }
    const QByteArray data = userDataHome();
    if (!data.isEmpty()) {
        const QByteArray home = data + "/Trash";
        dev_t homeDevice = 0;
        if (makeFolders(home) && deviceOf(home, homeDevice) && homeDevice == fileDevice) {
            trash = Trash{home, QByteArray()};
            return true;
        }
    }
    const QByteArray top = volumeTop(file, fileDevice);
    trash = Trash{volumeTrash(top), top};
    return true;
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

Result moveToTrash(const QString& path) {
    QByteArray file = native_name::toBytes(path);
    if (!file.startsWith('/')) {
        char* cwd = ::getcwd(nullptr, 0);
        file = QByteArray(cwd == nullptr ? "" : cwd) + "/" + file;
        std::free(cwd);
    }
    struct stat info {};
    if (::lstat(file.constData(), &info) != 0) {
        return Result{false, {}, reasonOf(errno)};
    }
    Trash trash;
    if (!findTrash(file, trash) || !makeFolders(trash.folder + "/files") ||
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
        if (::rename(file.constData(), target.constData()) != 0) {
            const int error = errno;
            ::unlink(infoPath.constData());
            return Result{false, {}, reasonOf(error)};
        }
        return Result{true, native_name::fromBytes(target), {}};
    }
    return Result{false, {}, reasonOf(EEXIST)};
}

} // namespace desktop_trash
