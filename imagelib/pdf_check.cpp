#include "pdf_check.h"

#include "file_reader.h"

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
// qpdf's own pointers are std::shared_ptr throughout.
#define POINTERHOLDER_TRANSITION 4
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFObjectHandle.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <stdexcept>

namespace pelmix {

namespace {

constexpr uint64_t kMostBytes = uint64_t(1) << 40;
// Writers may put a line end or some padding after the marker.
constexpr size_t kTailBytes = 1024;

bool endsInMarker(const FileReader& file) {
    char tail[kTailBytes];
    const uint64_t from = file.size() > kTailBytes ? file.size() - kTailBytes : 0;
    const size_t got = file.readAt(from, tail, sizeof tail);
    return std::string_view(tail, got).rfind("%%EOF") != std::string_view::npos;
}

} // namespace

int32_t wholePdfPages(const char* path) {
    FileReader probe;
    if (path == nullptr || !probe.open(path, kMostBytes) || probe.size() == 0 ||
        !endsInMarker(probe)) {
        return -1;
    }
    try {
        QPDF pdf;
        pdf.setSuppressWarnings(true);
        pdf.setAttemptRecovery(false);
        // qpdf reads the file looked at, opened again the same way (never waiting on a FIFO put
        // in its place), and closes it.
        const int fd = openRegularFile(path);
        struct stat info {};
        const bool same = fd >= 0 && ::fstat(fd, &info) == 0 &&
                          static_cast<uint64_t>(info.st_size) == probe.size();
        FILE* stream = same ? ::fdopen(fd, "rb") : nullptr;
        if (stream == nullptr) {
            if (fd >= 0) {
                ::close(fd);
            }
            return -1;
        }
        pdf.processFile(path, stream, true);
        const int32_t pages =
            static_cast<int32_t>(QPDFPageDocumentHelper(pdf).getAllPages().size());
        // Every object is read where the cross-reference says; a stream whose data does not end
        // in "endstream" where its length says is a warning, so its data need not be read.
        pdf.getAllObjects();
        return pdf.anyWarnings() ? -1 : pages;
    } catch (const std::exception&) {
        return -1;
    }
}

} // namespace pelmix
