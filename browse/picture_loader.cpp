#include "picture_loader.h"

#include "dib_qimage.h"
#include "file_system.h"
#include "native_name.h"

#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <type_traits>
#include <unistd.h>

namespace {

struct HandleFree {
    void operator()(void* handle) const { PelmixMemFree(static_cast<HGLOBAL>(handle)); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, HandleFree>;

// The size the reader's picture is shown at, turned upright, from its header alone.
QSize uprightSize(QImageReader& reader) {
    reader.setAutoTransform(true);
    QSize size = reader.size();
    if (size.isValid() && (reader.transformation() & QImageIOHandler::TransformationRotate90)) {
        size.transpose();
    }
    return size;
}

// What the image library refuses (PNG data under a picture's name, a format it does not read)
// the system's loader may still read, reduced to fit the box. The file is opened by its bytes.
QImage systemLoad(const QString& path, QSize box, QSize* natural) {
    QFile file;
    if (!file_system::openForReading(file, path)) {
        return {};
    }
    QImageReader reader(&file);
    const QSize size = uprightSize(reader);
    // Memory follows what is shown: a picture claiming more than the library allows is refused.
    if (!size.isValid() || qint64(size.width()) * size.height() > (qint64(1) << 28)) {
        return {};
    }
    if (natural != nullptr) {
        *natural = size;
    }
    if (box.isValid() && (size.width() > box.width() || size.height() > box.height())) {
        reader.setScaledSize(size.scaled(box, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    }
    return reader.read();
}

} // namespace

HGLOBAL PictureLoader::decodeHandle(const QString& path, QSize box, IMAGE_INFO* info,
                                    bool* firstSight) {
    IMAGE_INFO stored;
    std::memset(&stored, 0, sizeof stored);
    const QByteArray name = native_name::toBytes(path);
    const int32_t width = box.isValid() ? box.width() : 0;
    const int32_t height = box.isValid() ? box.height() : 0;
    int32_t first = 0;
    HGLOBAL image = nullptr;
    if (!name.isEmpty()) {
        image = firstSight != nullptr
                    ? PelmixFileLoadFitFirst(name.constData(), width, height, &stored, &first)
                    : PelmixFileLoadFit(name.constData(), width, height, &stored);
    }
    if (firstSight != nullptr) {
        *firstSight = first != 0;
    }
    // A file of the library's formats without a header it can read, or that cannot hold the
    // picture it declares (a frame header followed by a hole, say), goes no further: the system's
    // loader would only walk the whole file to find the same.
    if (image == nullptr &&
        (name.isEmpty() || PelmixFileLoadFitCost(name.constData(), width, height, nullptr) != 0)) {
        QSize natural;
        const QImage picture = systemLoad(path, box, &natural);
        image = picture.isNull() ? nullptr : PelmixFromQImage(picture);
        if (image != nullptr) {
            PelmixImageInfo(image, &stored);
            stored.WIDTH = natural.width();
            stored.HEIGHT = natural.height();
        }
    }
    if (info != nullptr) {
        *info = stored;
    }
    return image;
}

qint64 PictureLoader::decodeCost(const QString& path, QSize box) {
    const QByteArray name = native_name::toBytes(path);
    const int32_t width = box.isValid() ? box.width() : 0;
    const int32_t height = box.isValid() ? box.height() : 0;
    IMAGE_INFO loaded;
    const int64_t cost =
        name.isEmpty() ? -1 : PelmixFileLoadFitCost(name.constData(), width, height, &loaded);
    if (cost >= 0) {
        // The picture as a QImage beside the handle it is made from.
        return cost + qint64(loaded.WIDTH) * loaded.HEIGHT * 4;
    }
    // The system's loader holds the picture as read and as reduced for the box.
    const QSize natural = storedSize(path);
    const qint64 pixels = natural.isValid() ? qint64(natural.width()) * natural.height() : 0;
    return std::min(pixels, qint64(1) << 28) * 4 * 2;
}

QSize PictureLoader::storedSize(const QString& path) {
    QFile file;
    if (!file_system::openForReading(file, path)) {
        return {};
    }
    QImageReader reader(&file);
    return uprightSize(reader);
}

HGLOBAL PictureLoader::loadHandle(const QString& path, QSize box, IMAGE_INFO* info) {
    note(path, box);
    return decodeHandle(path, box, info);
}

QImage PictureLoader::loadImage(const QString& path, QSize box, QSize* natural) {
    note(path, box);
    return decodeImage(path, box, natural);
}

QImage PictureLoader::decodeImage(const QString& path, QSize box, QSize* natural) {
    IMAGE_INFO info;
    OwnedHandle image(decodeHandle(path, box, &info));
    if (natural != nullptr) {
        *natural = image ? QSize(info.WIDTH, info.HEIGHT) : QSize();
    }
    return image ? PelmixToQImage(image.get()) : QImage();
}
