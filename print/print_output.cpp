#include "print_output.h"

#include "file_system.h"
#include "native_name.h"

#include <QByteArray>
#include <QPrinter>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

QByteArray folderOf(const QByteArray& path) {
    const qsizetype slash = path.lastIndexOf('/');
    return slash < 0 ? QByteArray(".") : slash == 0 ? QByteArray("/") : path.left(slash);
}

// Whether the file at fd ends like a PDF document that was written to its end.
bool completePdf(int fd) {
    struct stat info {};
    if (::fstat(fd, &info) != 0 || info.st_size < 16) {
        return false;
    }
    char tail[64] = {};
    const off_t from = info.st_size > off_t(sizeof tail) ? info.st_size - off_t(sizeof tail) : 0;
    const ssize_t read = ::pread(fd, tail, sizeof tail, from);
    return read > 0 && ::memmem(tail, size_t(read), "%%EOF", 5) != nullptr;
}

// Why a document the printer could not finish is not complete: the printer engine keeps the
// system's answer to itself, so the volume is asked; a full one is the usual cause.
int incompleteReason(const QByteArray& folder) {
    struct statvfs volume {};
    if (::statvfs(folder.constData(), &volume) == 0 &&
        uint64_t(volume.f_bavail) * volume.f_frsize < (uint64_t(1) << 20)) {
        return ENOSPC;
    }
    return EIO;
}

mode_t fileMode(const QByteArray& existing) {
    struct stat info {};
    if (::stat(existing.constData(), &info) == 0 && S_ISREG(info.st_mode)) {
        return info.st_mode & 07777;
    }
    // The process's umask as the system reports it: setting it to read it would change it for
    // every thread meanwhile.
    mode_t mask = 022;
    if (FILE* status = std::fopen("/proc/self/status", "re")) {
        char line[256];
        while (std::fgets(line, sizeof line, status) != nullptr) {
            unsigned value = 0;
            if (std::sscanf(line, "Umask: %o", &value) == 1) {
                mask = mode_t(value);
                break;
            }
        }
        std::fclose(status);
    }
    return 0666 & ~mask;
}

} // namespace

PrintOutput::PrintOutput(QPrinter& printer) : printer_(printer) {
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        target_ = printer.outputFileName();
    }
}

PrintOutput::~PrintOutput() {
    discard();
}

bool PrintOutput::fail(int error) {
    reason_ = QString::fromLocal8Bit(std::strerror(error));
    discard();
    return false;
}

void PrintOutput::discard() {
    if (!temporary_.isEmpty()) {
        ::unlink(native_name::toBytes(temporary_).constData());
        temporary_.clear();
        printer_.setOutputFileName(target_);
    }
}

bool PrintOutput::begin() {
    if (target_.isEmpty()) {
        return true;
    }
    QByteArray target = native_name::toBytes(target_);
    // A chosen file that is a link is replaced where the link points, as a save does.
    if (char* resolved = ::realpath(target.constData(), nullptr)) {
        target = resolved;
        std::free(resolved);
        target_ = native_name::fromBytes(target);
    }
    struct stat info {};
    replaces_ = ::lstat(target.constData(), &info) == 0;
    const QByteArray name = target.mid(target.lastIndexOf('/') + 1);
    QByteArray pattern = folderOf(target) + "/." + name + ".XXXXXX";
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0) {
        return fail(errno);
    }
    ::close(fd);
    temporary_ = native_name::fromBytes(pattern);
    printer_.setOutputFileName(temporary_);
    return true;
}

bool PrintOutput::finish(bool ended, bool printedAny) {
    if (temporary_.isEmpty()) {
        return ended;
    }
    printer_.setOutputFileName(target_);
    if (!printedAny) {
        discard();
        return true;
    }
    const QByteArray temporary = native_name::toBytes(temporary_);
    const QByteArray target = native_name::toBytes(target_);
    const int fd = ::open(temporary.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
    if (fd < 0) {
        return fail(errno);
    }
    if (!ended || !completePdf(fd)) {
        ::close(fd);
        return fail(incompleteReason(folderOf(target)));
    }
    if (::fsync(fd) != 0 || ::fchmod(fd, fileMode(target)) != 0) {
        const int error = errno;
        ::close(fd);
        return fail(error);
    }
    ::close(fd);
    const file_system::Result renamed = file_system::renameReplacing(
        native_name::fromBytes(temporary), native_name::fromBytes(target));
    if (!renamed) {
        return fail(renamed.error);
    }
    temporary_.clear();
    return true;
}
