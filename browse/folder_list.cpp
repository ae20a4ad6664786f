#include "folder_list.h"

#include "native_name.h"

#include <QDateTime>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <memory>
#include <sys/stat.h>

namespace {

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};
using DirHandle = std::unique_ptr<DIR, DirCloser>;

int errorNumberFor(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return FolderList::kPathNotFound;
    case EACCES:
    case EPERM:
        return FolderList::kAccessDenied;
    default:
        return FolderList::kAccessError;
    }
}

bool endsWithAsciiNoCase(const char* name, size_t length, const char* ending) {
    const size_t endingLength = std::strlen(ending);
    if (length < endingLength) {
        return false;
    }
    const char* tail = name + length - endingLength;
    for (size_t i = 0; i < endingLength; ++i) {
        char c = tail[i];
        if (c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c - 'A' + 'a');
        }
        if (c != ending[i]) {
            return false;
        }
    }
    return true;
}

// The pattern is tested on the raw bytes so that names that cannot match are dropped before they
// are decoded; the endings are plain ASCII in every encoding the file system may use.
bool rawNameMatches(const char* name) {
    const size_t length = std::strlen(name);
    return endsWithAsciiNoCase(name, length, ".bmp") || endsWithAsciiNoCase(name, length, ".jpg") ||
           endsWithAsciiNoCase(name, length, ".tif");
}

// Whether the entry is a file. The entry type usually answers it without a stat; links and file
// systems that give no type are examined (a link counts as what it points to).
bool isRegularFile(int dirFd, const dirent* entry) {
    if (entry->d_type == DT_REG) {
        return true;
    }
    if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) {
        return false;
    }
    struct stat info {};
    return fstatat(dirFd, entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

} // namespace

bool FolderList::setFolder(const QString& folder) {
    folder_ = folder;
    return refresh();
}

bool FolderList::refresh() {
    names_.clear();
    errorNumber_ = 0;
    errorText_.clear();

    const QByteArray path = native_name::toBytes(folder_);
    errno = 0;
    DirHandle dir(path.isEmpty() ? nullptr : opendir(path.constData()));
    if (!dir) {
        const int error = path.isEmpty() ? ENOENT : errno;
        errorNumber_ = errorNumberFor(error);
        errorText_ = QString::fromLocal8Bit(std::strerror(error));
        return false;
    }

    const int dirFd = dirfd(dir.get());
    for (;;) {
        errno = 0;
        const dirent* entry = readdir(dir.get());
        if (entry == nullptr) {
            if (errno != 0) {
                const int error = errno;
                names_.clear();
                errorNumber_ = errorNumberFor(error);
                errorText_ = QString::fromLocal8Bit(std::strerror(error));
                return false;
            }
            break;
        }
        // Names starting with "." are the hidden files here (and "." and "..").
        if (entry->d_name[0] == '.' || !rawNameMatches(entry->d_name) ||
            !isRegularFile(dirFd, entry)) {
            continue;
        }
        names_.append(native_name::fromBytes(entry->d_name));
    }

    std::stable_sort(names_.begin(), names_.end(), [](const QString& a, const QString& b) {
        return QString::compare(a, b, Qt::CaseInsensitive) < 0;
    });
    return true;
}

QString FolderList::name(int index) const {
    if (index < 0 || index >= count()) {
        return {};
    }
    return names_.at(index);
}

QString FolderList::dateTimeText(const QString& path) {
    struct stat info {};
    const QByteArray encoded = native_name::toBytes(path);
    if (encoded.isEmpty() || stat(encoded.constData(), &info) != 0) {
        return {};
    }
    const QDateTime time = QDateTime::fromSecsSinceEpoch(info.st_mtim.tv_sec);
    return time.toString(QStringLiteral("yyyy/MM/dd hh:mm:ss")) + QLatin1Char('.') +
           QStringLiteral("%1").arg(static_cast<qlonglong>(info.st_mtim.tv_nsec), 9, 10,
                                    QLatin1Char('0'));
}

bool FolderList::matchesPattern(const QString& name) {
    const QByteArray encoded = native_name::toBytes(name);
    return rawNameMatches(encoded.constData());
}
