#include "thumbnail_record.h"

#include <QBuffer>
#include <QImageReader>
#include <cmath>

namespace thumbnail_record {

namespace {

// Whether a thumbnail's keys describe the picture as it is now (keys a thumbnail lacks are
// not asked for, but the URI and the time must be there). Keys: a QImage or a QImageReader.
template <class Keys>
bool describes(const Keys& keys, const QByteArray& uri, const FileStamp& stamp) {
    bool ok = false;
    const qint64 time = keys.text(QStringLiteral("Thumb::MTime")).toLongLong(&ok);
    const QString bytes = keys.text(QStringLiteral("Thumb::Size"));
    return keys.text(QStringLiteral("Thumb::URI")).toLatin1() == uri && ok &&
           time == stamp.seconds && (bytes.isEmpty() || bytes.toLongLong() == stamp.size);
}

// Far beyond a thumbnail of 512 pixels a side, with its keys.
constexpr qint64 kMostBytes = qint64(16) << 20;
// Thumbnails keep their keys in a few short text chunks; a long one is no thumbnail's (and a
// compressed one could unpack to far more).
constexpr quint32 kMostTextBytes = 64 * 1024;

quint32 bigEndian(const char* p) {
    const auto* u = reinterpret_cast<const unsigned char*>(p);
    return quint32(u[0]) << 24 | quint32(u[1]) << 16 | quint32(u[2]) << 8 | quint32(u[3]);
}

// Whether the PNG's chunks lie within it up to its end chunk. The reader allocates what a chunk's
// length says before it reads: a 1 KiB file claiming a text chunk of 2 GB would cost 2 GB.
bool chunksFit(const QByteArray& png) {
    static const char kSignature[] = "\x89PNG\r\n\x1a\n";
    if (!png.startsWith(QByteArray::fromRawData(kSignature, 8))) {
        return false;
    }
    for (qsizetype at = 8; at + 12 <= png.size();) {
        const quint32 length = bigEndian(png.constData() + at);
        const QByteArray type = png.mid(at + 4, 4);
        if (length > quint64(png.size() - at - 12) ||
            ((type == "tEXt" || type == "zTXt" || type == "iTXt") && length > kMostTextBytes)) {
            return false;
        }
        if (type == "IEND") {
            return true;
        }
        at += 12 + qsizetype(length);
    }
    return false;
}

bool sameShape(QSize thumbnail, QSize natural) {
    const double expected = double(natural.height()) * thumbnail.width() / natural.width();
    return std::abs(expected - thumbnail.height()) <= 1.0 + 0.02 * thumbnail.height();
}

} // namespace

QImage read(QIODevice& device, const QByteArray& uri, const FileStamp& stamp, int flavour) {
    if (device.size() > kMostBytes) {
        return {};
    }
    QByteArray png = device.read(kMostBytes + 1);
    if (png.size() > kMostBytes || !chunksFit(png)) {
        return {};
    }
    QBuffer bytes(&png);
    bytes.open(QIODevice::ReadOnly);
    QImageReader reader(&bytes, "png");
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > 2 * flavour || size.height() > 2 * flavour) {
        return {}; // not a thumbnail of this cache
    }
    // Keys written before the pixels are known before the pixels are decoded.
    if (!reader.text(QStringLiteral("Thumb::URI")).isEmpty() && !describes(reader, uri, stamp)) {
        return {};
    }
    QImage image = reader.read();
    return !image.isNull() && describes(image, uri, stamp) ? image : QImage();
}

QSize pictureSize(const QImage& thumbnail, const std::function<QSize()>& header) {
    QSize natural(thumbnail.text(QStringLiteral("Thumb::Image::Width")).toInt(),
                  thumbnail.text(QStringLiteral("Thumb::Image::Height")).toInt());
    if (natural.isEmpty()) {
        natural = header();
    }
    if (natural.isEmpty()) {
        return {};
    }
    if (sameShape(thumbnail.size(), natural)) {
        return natural;
    }
    return sameShape(thumbnail.size(), natural.transposed()) ? natural.transposed() : QSize();
}

} // namespace thumbnail_record
