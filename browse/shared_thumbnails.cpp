#include "shared_thumbnails.h"

#include "bound_folder.h"
#include "file_system.h"
#include "native_name.h"
#include "picture_loader.h"
#include "thumbnail_record.h"
#include "user_folders.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QImageReader>
#include <QImageWriter>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr int kLarge = 256;
constexpr int kExtraLarge = 512;

// Makes path and any missing folder above it, readable by the user alone.
bool makeFolders(const QByteArray& path) {
    qsizetype slash = 0;
    do {
        slash = path.indexOf('/', slash + 1);
        const QByteArray part = slash < 0 ? path : path.left(slash);
        if (mkdir(part.constData(), 0700) != 0 && errno != EEXIST) {
            return false;
        }
    } while (slash >= 0);
    struct stat info {};
    return stat(path.constData(), &info) == 0 && S_ISDIR(info.st_mode);
}

const char* folderOf(int flavour) {
    return flavour == kLarge ? "/large" : "/x-large";
}

// The flavour's folder of the cache root when the user owns it: root and the flavour's folder
// real folders, not links, and the user's own; with create, missing ones are made (mode 0700).
// A link or another user's folder planted there would receive this user's thumbnails.
BoundFolder flavourFolder(const QString& root, int flavour, bool create) {
    const QByteArray top = native_name::toBytes(root);
    const qsizetype slash = top.lastIndexOf('/');
    if (slash <= 0 || (create && !makeFolders(top))) {
        return {};
    }
    const BoundFolder cache =
        BoundFolder::at(top.left(slash).toStdString()).below(top.mid(slash + 1).toStdString());
    BoundFolder folder = cache.below(folderOf(flavour) + 1, create, 0700);
    struct stat own {};
    struct stat kind {};
    if (!folder.open() || fstat(cache.fd(), &own) != 0 || own.st_uid != geteuid() ||
        fstat(folder.fd(), &kind) != 0 || kind.st_uid != geteuid()) {
        return {};
    }
    return folder;
}

bool fits(QSize box, int side) {
    return box.width() <= side && box.height() <= side;
}

// What the cell shows of a picture of size natural: reduced to the box, never enlarged.
QSize shownSize(QSize natural, QSize box) {
    if (natural.width() <= box.width() && natural.height() <= box.height()) {
        return natural;
    }
    return natural.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1));
}

// The thumbnail in file when it is one of this flavour and shows the picture as it is now; a
// null image otherwise.
QImage readCurrent(const QString& name, const QByteArray& uri, const FileStamp& stamp,
                   int flavour) {
    // A thumbnail written within the second the picture last changed in may show the picture
    // as it was before the change: the time in it cannot tell.
    const FileStamp own = FileStamp::of(name);
    QFile file;
    if (!own.valid || own.seconds <= stamp.seconds || !file_system::openForReading(file, name)) {
        return {};
    }
    return thumbnail_record::read(file, uri, stamp, flavour);
}

} // namespace

QString SharedThumbnails::userCache() {
    const QString cache = user_folders::of(user_folders::Kind::Cache);
    return cache.isEmpty() ? QString() : cache + QStringLiteral("/thumbnails");
}

QByteArray SharedThumbnails::uriOf(const QString& absolutePath) {
    static const char kHex[] = "0123456789ABCDEF";
    const QByteArray bytes = native_name::toBytes(absolutePath);
    QByteArray uri("file://");
    uri.reserve(uri.size() + bytes.size() * 3);
    for (const char c : bytes) {
        const auto u = static_cast<unsigned char>(c);
        const bool plain = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') ||
                           (u >= '0' && u <= '9') || std::strchr("!$&'()*+,-./:=@_~", u) != nullptr;
        if (plain && u != 0) {
            uri.append(c);
        } else {
            uri.append('%').append(kHex[u >> 4]).append(kHex[u & 15]);
        }
    }
    return uri;
}

QString SharedThumbnails::fileOf(const QByteArray& uri, int flavour) const {
    const QByteArray md5 = QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
    return root_ + QLatin1String(folderOf(flavour)) + QLatin1Char('/') + QLatin1String(md5) +
           QStringLiteral(".png");
}

QSize SharedThumbnails::decodeBox(QSize box) {
    return fits(box, kExtraLarge) ? box.expandedTo(QSize(kLarge, kLarge)) : box;
}

SharedThumbnails::Found SharedThumbnails::find(const QString& path, const FileStamp& stamp,
                                               QSize box) const {
    if (!enabled() || !stamp.valid || !box.isValid()) {
        return {};
    }
    const QByteArray uri = uriOf(path);
    // What the cell shows is known once a thumbnail tells the picture's size: the smaller
    // flavour is tried first.
    for (const int flavour : {kLarge, kExtraLarge}) {
        if (!flavourFolder(root_, flavour, false).open()) {
            continue;
        }
        Found found;
        found.file = fileOf(uri, flavour);
        const QImage image = readCurrent(found.file, uri, stamp, flavour);
        const QSize natural =
            image.isNull() ? QSize() : thumbnail_record::pictureSize(image, [&path] {
                return PictureLoader::storedSize(path);
            });
        if (natural.isEmpty()) {
            continue;
        }
        const QSize needed = shownSize(natural, box);
        if (image.width() + 1 < needed.width() || image.height() + 1 < needed.height()) {
            continue; // too small for this cell: the picture itself is read
        }
        found.image = image;
        found.natural = natural;
        return found;
    }
    return {};
}

bool SharedThumbnails::store(const QString& path, const FileStamp& stamp, const QImage& decoded,
                             QSize natural, QSize box) const {
    if (!enabled() || !stamp.valid || decoded.isNull() || natural.isEmpty() || !box.isValid()) {
        return false;
    }
    const QSize shown = shownSize(natural, box);
    const int flavour = fits(shown, kLarge) ? kLarge : fits(shown, kExtraLarge) ? kExtraLarge : 0;
    if (flavour == 0 || fits(natural, flavour) || path.startsWith(root_ + QLatin1Char('/'))) {
        return false;
    }
    const QSize size = natural.scaled(flavour, flavour, Qt::KeepAspectRatio).expandedTo({1, 1});
    if (decoded.width() + 1 < size.width() || decoded.height() + 1 < size.height()) {
        return false; // decoded too small to make a full thumbnail from
    }
    // A picture changed since it was decoded, or changed within this second (when another
    // change in the same second would keep its time), gets no thumbnail.
    if (FileStamp::of(path) != stamp || QDateTime::currentSecsSinceEpoch() <= stamp.seconds) {
        return false;
    }
    QImage thumbnail = decoded.size() == size
                           ? decoded
                           : decoded.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    const QByteArray uri = uriOf(path);
    thumbnail.setText(QStringLiteral("Thumb::URI"), QString::fromLatin1(uri));
    thumbnail.setText(QStringLiteral("Thumb::MTime"), QString::number(stamp.seconds));
    thumbnail.setText(QStringLiteral("Thumb::Size"), QString::number(stamp.size));
    thumbnail.setText(QStringLiteral("Thumb::Image::Width"), QString::number(natural.width()));
    thumbnail.setText(QStringLiteral("Thumb::Image::Height"), QString::number(natural.height()));
    thumbnail.setText(QStringLiteral("Software"), QStringLiteral("Orvana"));

    const BoundFolder folder = flavourFolder(root_, flavour, true);
    if (!folder.open()) {
        return false;
    }
    // Written under a name of its own and renamed, readable by the user alone.
    static std::atomic<unsigned> writes{0};
    const std::string name = fileOf(uri, flavour).section(QLatin1Char('/'), -1).toStdString();
    const std::string temporary =
        name + "." + std::to_string(getpid()) + "." + std::to_string(writes.fetch_add(1)) + ".tmp";
    const int fd = folder.openFile(temporary, O_WRONLY | O_CREAT | O_EXCL, 0600);
    if (fd < 0) {
        return false;
    }
    bool written = false;
    {
        QFile file;
        if (file.open(fd, QIODevice::WriteOnly, QFileDevice::DontCloseHandle)) {
            QImageWriter writer(&file, "png");
            written = writer.write(thumbnail) && file.flush();
        }
    }
    written = close(fd) == 0 && written;
    if (!written || renameat(folder.fd(), temporary.c_str(), folder.fd(), name.c_str()) != 0) {
        unlinkat(folder.fd(), temporary.c_str(), 0);
        return false;
    }
    return true;
}
