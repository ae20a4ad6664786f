#include "thumbnail_folder.h"

#include "bound_folder.h"
#include "dib_qimage.h"
#include "file_system.h"
#include "native_name.h"
#include "pelmix.h"

#include <QFile>
#include <cctype>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace thumbnail_folder {

namespace {

enum class Format { None, Bmp, Jpeg, Tiff };

Format formatOf(const fs::path& file) {
    std::string extension = file.extension().string();
    for (char& c : extension) {
        c = char(std::tolower(static_cast<unsigned char>(c)));
    }
    if (extension == ".bmp") {
        return Format::Bmp;
    }
    if (extension == ".jpg" || extension == ".jpeg") {
        return Format::Jpeg;
    }
    if (extension == ".tif" || extension == ".tiff") {
        return Format::Tiff;
    }
    return Format::None;
}

bool modificationTime(const fs::path& file, struct timespec& time) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) {
        return false;
    }
    time = info.st_mtim;
    return true;
}

bool sameTime(const struct timespec& a, const struct timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

bool save(const std::string& path, HGLOBAL image, Format format) {
    switch (format) {
    case Format::Bmp:
        return PelmixBmpFileSave(path.c_str(), image, "", "", 0) != 0;
    case Format::Jpeg:
        return PelmixJpegFileSave(path.c_str(), image, "", "", 85, 0) != 0;
    case Format::Tiff:
        return PelmixTiffFileSave(path.c_str(), image, "", "", 5) != 0;
    case Format::None:
        break;
    }
    return false;
}

// Writes the thumbnail of picture as name in thumbnails; it gets the picture's modification time,
// which is how the next run (and the main program) knows that it is current. The picture is
// written in private (a folder of this run's own, which nobody else can plant anything in) and
// then renamed over name, so a link or anything else planted at name is replaced, never written
// through. Both folders are reached through their descriptors, so neither can be swapped for a
// link meanwhile.
bool writeThumbnail(const fs::path& picture, const BoundFolder& thumbnails,
                    const BoundFolder& scratch, const std::string& name, Format format,
                    const struct timespec& time) {
    HGLOBAL decoded = PelmixFileLoadFit(picture.c_str(), kSide, kSide, nullptr);
    if (decoded == nullptr) {
        return false;
    }
    // The reduced decode is at least the box; the rest of the way is a smooth scaling.
    const QImage full = PelmixToQImage(decoded);
    PelmixMemFree(decoded);
    if (full.isNull()) {
        return false;
    }
    const QImage small =
        full.width() > kSide || full.height() > kSide
            ? full.scaled(kSide, kSide, Qt::KeepAspectRatio, Qt::SmoothTransformation)
            : full;
    HGLOBAL image = PelmixFromQImage(small);
    if (image == nullptr) {
        return false;
    }
    const std::string through = "/proc/self/fd/" + std::to_string(scratch.fd()) + "/" + name;
    const bool saved = save(through, image, format);
    PelmixMemFree(image);
    const struct timespec times[2] = {time, time};
    if (!saved || !scratch.holdsFile(name) ||
        ::utimensat(scratch.fd(), name.c_str(), times, AT_SYMLINK_NOFOLLOW) != 0 ||
        ::renameat(scratch.fd(), name.c_str(), thumbnails.fd(), name.c_str()) != 0) {
        ::unlinkat(scratch.fd(), name.c_str(), 0);
        return false;
    }
    return true;
}

// A folder of this run's own in thumbnails (mode 0700, a name nobody can guess), for writing in
// private; removed with what is left in it by removeScratch.
BoundFolder makeScratch(const BoundFolder& thumbnails, std::string& name) {
    std::string pattern = "/proc/self/fd/" + std::to_string(thumbnails.fd()) + "/.snaplet-XXXXXX";
    if (::mkdtemp(pattern.data()) == nullptr) {
        return {};
    }
    name = pattern.substr(pattern.rfind('/') + 1);
    return thumbnails.below(name);
}

void removeScratch(const BoundFolder& thumbnails, const BoundFolder& scratch,
                   const std::string& name) {
    std::error_code ec;
    for (const auto& entry :
         fs::directory_iterator("/proc/self/fd/" + std::to_string(scratch.fd()), ec)) {
        scratch.removeFile(entry.path().filename().string());
    }
    ::unlinkat(thumbnails.fd(), name.c_str(), AT_REMOVEDIR);
}

std::string describe() {
    return std::string("' Thumbnails of the pictures of this folder\nTNDN,") + kFolder + "\n";
}

// SNAPLET.INF, rewritten only when its text would change, through a temporary file of its own
// (never one planted under that name) renamed over it.
bool writeDescription(const fs::path& path, const BoundFolder& folder) {
    const std::string text = describe();
    {
        // Read as a regular file only: a FIFO planted under the name is never waited on.
        QFile present;
        const QString name = native_name::fromBytes(QByteArray::fromStdString(path.string())) +
                             QStringLiteral("/SNAPLET.INF");
        if (file_system::openForReading(present, name) &&
            present.read(qint64(text.size()) + 1) == QByteArray::fromStdString(text)) {
            return true;
        }
    }
    const std::string temporary = ".SNAPLET.INF." + std::to_string(::getpid());
    ::unlinkat(folder.fd(), temporary.c_str(), 0);
    const int fd = folder.openFile(temporary, O_WRONLY | O_CREAT | O_EXCL, 0666);
    if (fd < 0) {
        return false;
    }
    const bool written =
        ::write(fd, text.data(), text.size()) == ssize_t(text.size()) && ::fsync(fd) == 0;
    if (::close(fd) != 0 || !written ||
        ::renameat(folder.fd(), temporary.c_str(), folder.fd(), "SNAPLET.INF") != 0) {
        ::unlinkat(folder.fd(), temporary.c_str(), 0);
        return false;
    }
    return true;
}

} // namespace

bool update(const fs::path& folder, Counts& counts) {
    const BoundFolder pictures = BoundFolder::at(folder.string());
    // The thumbnail folder must be a real folder inside this one: one that is a link (or a file)
    // would take the thumbnails, and the removal of old ones, into another folder.
    const BoundFolder thumbnails = pictures.below(kFolder, true);
    std::string scratchName;
    const BoundFolder scratch =
        thumbnails.open() ? makeScratch(thumbnails, scratchName) : BoundFolder();
    if (!scratch.open()) {
        return false;
    }
    // The folder's own thumbnails are cleaned up only when this program made the folder: a
    // folder of that name the user keeps is left alone.
    const QString base = native_name::fromBytes(QByteArray::fromStdString(folder.string())) + '/';
    const bool ours = file_system::exists(base + QStringLiteral("SNAPLET.INF"));
    for (const QString& listed : file_system::list(base)) {
        const std::string name = native_name::toBytes(listed).toStdString();
        const fs::path picture = folder / name;
        const Format format = formatOf(picture);
        if (format == Format::None || !file_system::isFile(base + listed)) {
            continue;
        }
        struct timespec pictureTime {};
        if (!modificationTime(picture, pictureTime)) {
            ++counts.failed;
            continue;
        }
        struct stat present {};
        if (::fstatat(thumbnails.fd(), name.c_str(), &present, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(present.st_mode) && sameTime(present.st_mtim, pictureTime)) {
            ++counts.kept;
            continue;
        }
        if (writeThumbnail(picture, thumbnails, scratch, name, format, pictureTime)) {
            ++counts.written;
        } else {
            ++counts.failed;
        }
    }
    if (ours) {
        for (const QString& listed : file_system::list(base + QLatin1String(kFolder))) {
            const std::string name = native_name::toBytes(listed).toStdString();
            if (formatOf(fs::path(name)) != Format::None && !file_system::isFile(base + listed) &&
                thumbnails.removeFile(name) == 0) {
                ++counts.removed;
            }
        }
    }
    removeScratch(thumbnails, scratch, scratchName);
    return writeDescription(folder, pictures);
}

} // namespace thumbnail_folder
