#include "picture_loader.h"

#include "dib_qimage.h"
#include "native_name.h"

#include <QFile>
#include <cstring>
#include <memory>
#include <type_traits>

namespace {

struct HandleFree {
    void operator()(void* handle) const { PelmixMemFree(static_cast<HGLOBAL>(handle)); }
};
using OwnedHandle = std::unique_ptr<std::remove_pointer_t<HGLOBAL>, HandleFree>;

} // namespace

HGLOBAL PictureLoader::loadHandle(const QString& path, QSize box, IMAGE_INFO* info) {
    paths_.append(path);
    boxes_.append(box);
    IMAGE_INFO stored;
    std::memset(&stored, 0, sizeof stored);
    const QByteArray name = native_name::toBytes(path);
    const int32_t width = box.isValid() ? box.width() : 0;
    const int32_t height = box.isValid() ? box.height() : 0;
    HGLOBAL image =
        name.isEmpty() ? nullptr : PelmixFileLoadFit(name.constData(), width, height, &stored);
    if (info != nullptr) {
        *info = stored;
    }
    return image;
}

QImage PictureLoader::loadImage(const QString& path, QSize box, QSize* natural) {
    IMAGE_INFO info;
    OwnedHandle image(loadHandle(path, box, &info));
    if (natural != nullptr) {
        *natural = image ? QSize(info.WIDTH, info.HEIGHT) : QSize();
    }
    return image ? PelmixToQImage(image.get()) : QImage();
}
