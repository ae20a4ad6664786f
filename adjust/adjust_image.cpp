#include "adjust_image.h"

#include "dib_qimage.h"
#include "native_name.h"

#include <QCoreApplication>
#include <cmath>

namespace {

// The library's progress captions of the operations on the base image.
struct Turn {
    const char* caption;
    int mode; // PelmixRotation mode, -1 for the negative
};
constexpr Turn kTurns[] = {
    {QT_TRANSLATE_NOOP("AdjustImage", "右90度処理"), PELMIX_ROTATE_RIGHT},
    {QT_TRANSLATE_NOOP("AdjustImage", "左90度処理"), PELMIX_ROTATE_LEFT},
    {QT_TRANSLATE_NOOP("AdjustImage", "180度回転処理"), PELMIX_ROTATE_180},
    {QT_TRANSLATE_NOOP("AdjustImage", "左右反転"), PELMIX_MIRROR_LEFT_RIGHT},
    {QT_TRANSLATE_NOOP("AdjustImage", "上下反転"), PELMIX_FLIP_TOP_BOTTOM},
    {QT_TRANSLATE_NOOP("AdjustImage", "ネガポジ反転"), -1},
};

} // namespace

AdjustImage::~AdjustImage() {
    release();
}

void AdjustImage::release() {
    replaceBase(nullptr);
}

void AdjustImage::replaceBase(HGLOBAL image) {
    dropPreview();
    if (base_ != nullptr) {
        PelmixMemFree(base_);
    }
    base_ = image;
}

void AdjustImage::dropPreview() {
    if (preview_ != nullptr) {
        PelmixMemFree(preview_);
        preview_ = nullptr;
    }
    previewValid_ = false;
}

void AdjustImage::load(const QString& path) {
    release();
    const QByteArray bytes = native_name::toBytes(path);
    const QByteArray caption = QCoreApplication::translate("AdjustImage", "Loading").toLocal8Bit();
    replaceBase(PelmixFileLoad(bytes.constData(), caption.constData(), bytes.constData()));
}

IMAGE_INFO AdjustImage::info() const {
    IMAGE_INFO info{};
    if (base_ != nullptr) {
        PelmixImageInfo(base_, &info);
    }
    return info;
}

bool AdjustImage::turn(int index) {
    if (base_ == nullptr || index < 0 || index >= int(std::size(kTurns))) {
        return false;
    }
    const Turn& turn = kTurns[index];
    const QByteArray caption =
        QCoreApplication::translate("AdjustImage", turn.caption).toLocal8Bit();
    if (turn.mode < 0) {
        const bool done = PelmixColorReverse(base_, caption.constData(), "") != 0;
        dropPreview();
        return done;
    }
    HGLOBAL turned = PelmixRotation(base_, caption.constData(), "", turn.mode);
    if (turned == nullptr) {
        return false;
    }
    replaceBase(turned);
    return true;
}

bool AdjustImage::cut(int left, int top, int right, int bottom) {
    if (base_ == nullptr) {
        return false;
    }
    const QByteArray caption = QCoreApplication::translate("AdjustImage", "Cutting").toLocal8Bit();
    const QByteArray text = QCoreApplication::translate("AdjustImage", "Please Wait").toLocal8Bit();
    HGLOBAL piece =
        PelmixRectCut(base_, caption.constData(), text.constData(), left, top, right, bottom);
    if (piece == nullptr) {
        return false;
    }
    replaceBase(piece);
    return true;
}

HGLOBAL AdjustImage::adjusted(HGLOBAL source, int bright, int red, int green, int blue) {
    if (source == nullptr) {
        return nullptr;
    }
    HGLOBAL result = PelmixCopy(source, "", "");
    if (result == nullptr) {
        return nullptr;
    }
    PelmixBright(result, "", "", bright / 100.0);
    PelmixRGB(result, "", "", red, green, blue);
    IMAGE_INFO info{};
    PelmixImageInfo(result, &info);
    if (info.COLOR_TYPE != PELMIX_FULL_COLOUR) {
        PelmixConvertColor(result, 24, 0, 0, "", "");
    }
    return result;
}

HGLOBAL AdjustImage::preview(QSize bounds) {
    if (base_ == nullptr) {
        return nullptr;
    }
    const IMAGE_INFO whole = info();
    const QSize full(whole.WIDTH, whole.HEIGHT);
    const QSize wanted = full.scaled(bounds.expandedTo(QSize(1, 1)), Qt::KeepAspectRatio);
    // A kept preview serves as long as it is at least as large as wanted and not more than
    // twice as large: drawing shrinks it smoothly, and a new reduction costs a pass over every
    // pixel of the base.
    const bool fits = previewValid_ &&
                      previewSize_.width() >= std::min(wanted.width(), full.width()) &&
                      previewSize_.height() >= std::min(wanted.height(), full.height()) &&
                      (previewSize_.width() <= 2 * wanted.width() || preview_ == nullptr);
    if (fits) {
        return preview_ != nullptr ? preview_ : base_;
    }
    dropPreview();
    previewValid_ = true;
    if (wanted.width() >= full.width() || wanted.height() >= full.height()) {
        previewSize_ = full;
        return base_;
    }
    const QImage reduced =
        PelmixToQImage(base_).scaled(wanted, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    preview_ = PelmixFromQImage(reduced);
    if (preview_ == nullptr) {
        previewSize_ = full;
        return base_;
    }
    previewSize_ = wanted;
    return preview_;
}
