#include "thumbnail_folder.h"

#include "dib_qimage.h"
#include "pelmix.h"

#include <cctype>
#include <fcntl.h>
#include <fstream>
#include <sstream>
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

bool save(const fs::path& path, HGLOBAL image, Format format) {
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

// Writes the thumbnail of picture; it gets the picture's modification time, which is how the
// next run (and the main program) knows that it is current.
bool writeThumbnail(const fs::path& picture, const fs::path& thumbnail, Format format,
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
    const bool saved = save(thumbnail, image, format);
    PelmixMemFree(image);
    if (!saved) {
        return false;
    }
    const struct timespec times[2] = {time, time};
    return ::utimensat(AT_FDCWD, thumbnail.c_str(), times, 0) == 0;
}

std::string describe() {
    return std::string("' Thumbnails of the pictures of this folder\nTNDN,") + kFolder + "\n";
}

// SNAPLET.INF, rewritten only when its text would change.
bool writeDescription(const fs::path& folder) {
    const fs::path file = folder / "SNAPLET.INF";
    const std::string text = describe();
    {
        std::ifstream in(file, std::ios::binary);
        std::stringstream present;
        present << in.rdbuf();
        if (in && present.str() == text) {
            return true;
        }
    }
    const fs::path temporary = folder / ".SNAPLET.INF.tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << text;
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temporary, ec);
            return false;
        }
    }
    std::error_code ec;
    fs::rename(temporary, file, ec);
    return !ec;
}

} // namespace

bool update(const fs::path& folder, Counts& counts) {
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        return false;
    }
    const fs::path thumbnails = folder / kFolder;
    fs::create_directory(thumbnails, ec);
    if (!fs::is_directory(thumbnails, ec)) {
        return false;
    }
    // The folder's own thumbnails are cleaned up only when this program made the folder: a
    // folder of that name the user keeps, or a link to one, is left alone.
    std::error_code linkError;
    const bool ours =
        fs::exists(folder / "SNAPLET.INF", ec) && !fs::is_symlink(thumbnails, linkError);
    fs::directory_iterator entries(folder, ec);
    for (; !ec && entries != fs::directory_iterator(); entries.increment(ec)) {
        const fs::directory_entry& entry = *entries;
        const Format format = formatOf(entry.path());
        std::error_code fileError;
        if (format == Format::None || !entry.is_regular_file(fileError)) {
            continue;
        }
        struct timespec pictureTime {};
        if (!modificationTime(entry.path(), pictureTime)) {
            ++counts.failed;
            continue;
        }
        const fs::path thumbnail = thumbnails / entry.path().filename();
        struct timespec thumbnailTime {};
        if (modificationTime(thumbnail, thumbnailTime) && sameTime(thumbnailTime, pictureTime)) {
            ++counts.kept;
            continue;
        }
        if (writeThumbnail(entry.path(), thumbnail, format, pictureTime)) {
            ++counts.written;
        } else {
            ++counts.failed;
        }
    }
    if (ours) {
        std::error_code listError;
        fs::directory_iterator old(thumbnails, listError);
        for (; !listError && old != fs::directory_iterator(); old.increment(listError)) {
            std::error_code fileError;
            if (formatOf(old->path()) != Format::None &&
                !fs::exists(folder / old->path().filename(), fileError) && !fileError) {
                fs::remove(old->path(), fileError);
                ++counts.removed;
            }
        }
    }
    return writeDescription(folder);
}

} // namespace thumbnail_folder
