#include "thumbnail_record.h"

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

bool sameShape(QSize thumbnail, QSize natural) {
    const double expected = double(natural.height()) * thumbnail.width() / natural.width();
    return std::abs(expected - thumbnail.height()) <= 1.0 + 0.02 * thumbnail.height();
}

} // namespace

QImage read(QIODevice& device, const QByteArray& uri, const FileStamp& stamp, int flavour) {
    QImageReader reader(&device, "png");
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
