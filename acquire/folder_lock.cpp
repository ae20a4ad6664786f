#include "folder_lock.h"

#include "native_name.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

FolderLock::FolderLock(const QString& folder) {
    const QByteArray path = native_name::toBytes(folder + QLatin1String(fileName));
    // Read-only is enough for the lock, works where another run's lock file cannot be written,
    // and holds nothing open for writing on the folder's volume.
    fd_ = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0 && errno == ENOENT) {
        fd_ = ::open(path.constData(), O_RDONLY | O_CREAT | O_CLOEXEC, 0666);
    }
    if (fd_ < 0) {
        return;
    }
    int rc = 0;
    do {
        rc = ::flock(fd_, LOCK_EX | LOCK_NB);
    } while (rc != 0 && errno == EINTR);
    if (rc == 0) {
        state_ = State::Held;
        return;
    }
    state_ = errno == EWOULDBLOCK ? State::Busy : State::Failed;
    ::close(fd_);
    fd_ = -1;
}

FolderLock::~FolderLock() {
    if (fd_ >= 0) {
        ::close(fd_); // closing the only descriptor drops the lock
    }
}
