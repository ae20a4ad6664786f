#include "folder_lock.h"

#include "native_name.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Another run may remove the file between our open and our lock; a lock on a file that is no
// longer the folder's lock file holds nothing, so a few fresh tries follow.
constexpr int kTries = 8;

bool sameFile(int fd, const char* path) {
    struct stat held {};
    struct stat named {};
    return ::fstat(fd, &held) == 0 && ::stat(path, &named) == 0 && held.st_dev == named.st_dev &&
           held.st_ino == named.st_ino;
}

} // namespace

FolderLock::FolderLock(const QString& folder)
    : path_(native_name::toBytes(folder + QLatin1String(fileName))) {
    for (int attempt = 0; attempt < kTries; ++attempt) {
        // Read-only is enough for the lock, works where another run's lock file cannot be
        // written, and holds nothing open for writing on the folder's volume.
        fd_ = ::open(path_.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
        if (fd_ < 0) {
            return;
        }
        int rc = 0;
        do {
            rc = ::flock(fd_, LOCK_EX | LOCK_NB);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0) {
            state_ = errno == EWOULDBLOCK ? State::Busy : State::Failed;
            ::close(fd_);
            fd_ = -1;
            return;
        }
        if (sameFile(fd_, path_.constData())) {
            state_ = State::Held;
            return;
        }
        ::close(fd_);
        fd_ = -1;
    }
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        // Removed while still locked, so that no other run can lock it and then lose it; one
        // that opened it meanwhile finds it gone once it has the lock and makes a new one.
        ::unlink(path_.constData());
        ::close(fd_);
    }
}
