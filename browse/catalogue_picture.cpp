#include "catalogue_picture.h"

#include "dib_qimage.h"
#include "picture_loader.h"
#include "upper_ascii.h"
#include "usr_settings.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

void release(HGLOBAL& image) {
    if (image != nullptr) {
        PelmixMemFree(image);
        image = nullptr;
    }
}

QSize natural(const IMAGE_INFO& info) {
    return QSize(info.WIDTH, info.HEIGHT);
}

} // namespace

QImage CataloguePicture::scaledForCell(const QImage& picture, QSize size) {
    if (picture.isNull() || size.isEmpty()) {
        return {};
    }
    if (picture.size() == size) {
        return picture;
    }
    // Smooth scaling reads every source pixel; past four source pixels per target pixel a plain
    // sub-sample to twice the target keeps the result as good and bounds the work.
    QImage source = picture;
    if (picture.width() > 4 * size.width() && picture.height() > 4 * size.height()) {
        source = picture.scaled(size * 2, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    return source.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

CataloguePicture::Picture CataloguePicture::make(const QString& path, const QString& name,
                                                 QSize box, QSize largeBounds) {
    if (settings_.LDSP == 1) {
        return large(path, largeBounds);
    }
    if (UPPER_ASCII(path).endsWith(QLatin1String(".TIF")) || settings_.CD16 == 1) {
        return throughHandle(path, name, box);
    }
    Picture picture;
    picture.image = loader_.loadImage(path, box, &picture.natural);
    return picture;
}

CataloguePicture::Picture CataloguePicture::large(const QString& path, QSize largeBounds) {
    release(workImage_);
    IMAGE_INFO info{};
    workImage_ = loader_.loadHandle(path, largeBounds, &info);
    Picture picture;
    if (workImage_ != nullptr && largeBounds.width() > 0 && largeBounds.height() > 0) {
        // Drawn at the size that fits the bounds, enlarged or reduced.
        const double scale = std::max(double(info.WIDTH) / largeBounds.width(),
                                      double(info.HEIGHT) / largeBounds.height());
        const QSize drawn(std::max(1L, std::lround(info.WIDTH / scale)),
                          std::max(1L, std::lround(info.HEIGHT / scale)));
        picture.image = scaledForCell(PelmixToQImage(workImage_), drawn);
        picture.natural = drawn;
    }
    release(workImage_);
    return picture;
}

CataloguePicture::Picture CataloguePicture::throughHandle(const QString& path, const QString& name,
                                                          QSize box) {
    release(workImage_);
    IMAGE_INFO info{};
    workImage_ = loader_.loadHandle(path, box, &info);
    Picture picture;
    if (workImage_ == nullptr) {
        return picture;
    }
    bool drawable = true;
    if (settings_.CD16 == 1) {
        const QByteArray caption =
            QCoreApplication::translate("CataloguePicture", "16色へ変換処理中").toLocal8Bit();
        const QByteArray text = name.toLocal8Bit();
        IMAGE_INFO loaded{};
        PelmixImageInfo(workImage_, &loaded);
        if (loaded.COLOR_TYPE != PELMIX_FULL_COLOUR) {
            drawable = PelmixConvertColor(workImage_, 24, -1, 0, "", "") != 0;
        }
        drawable = drawable && PelmixConvertColor(workImage_, 4, -1, -1, caption.constData(),
                                                  text.constData()) != 0;
    }
    if (drawable) {
        picture.image = PelmixToQImage(workImage_);
        picture.natural = natural(info);
    }
    release(workImage_);
    return picture;
}

HGLOBAL CataloguePicture::make256(const QString& path, QSize box, QSize* naturalSize) {
    IMAGE_INFO info{};
    HGLOBAL image = loader_.loadHandle(path, box, &info);
    *naturalSize = image != nullptr ? natural(info) : QSize();
    if (image == nullptr) {
        return nullptr;
    }
    // Palette pictures are opened up to full colour first, so that the reduction chooses a
    // palette for the whole picture rather than keeping the file's.
    IMAGE_INFO loaded{};
    PelmixImageInfo(image, &loaded);
    bool done = true;
    if (loaded.COLOR_TYPE == PELMIX_256_COLOURS || loaded.COLOR_TYPE == PELMIX_256_GREYS) {
        done = PelmixConvertColor(image, 24, 0, 0, "", "") != 0;
    }
    done = done && PelmixConvertColor(image, 8, -1, -1, "", "") != 0;
    if (!done) {
        PelmixMemFree(image);
        *naturalSize = QSize();
        return nullptr;
    }
    return image;
}
