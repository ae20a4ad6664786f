#include "single_picture.h"

#include "browsing_state.h"
#include "native_name.h"
#include "pelmix.h"
#include "pelmix_view.h"
#include "program.h"

#include <QCoreApplication>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <memory>

namespace {

struct DeviceContextDeleter {
    void operator()(PelmixDeviceContext* dc) const { PelmixDeleteDC(dc); }
};
using DeviceContext = std::unique_ptr<PelmixDeviceContext, DeviceContextDeleter>;

struct HandleDeleter {
    void operator()(void* handle) const { PelmixMemFree(static_cast<HGLOBAL>(handle)); }
};
using ImageHandle = std::unique_ptr<void, HandleDeleter>;

constexpr int kFullColour = 5;

// The library draws a handle into a fresh canvas; the canvas becomes the label's picture.
QPixmap rendered(HGLOBAL image, QSize size) {
    QImage canvas(size, QImage::Format_RGB32);
    if (canvas.isNull()) {
        return {};
    }
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const DeviceContext dc(PelmixCreatePainterDC(&painter));
    const bool drawn = PelmixDisplayHdc(dc.get(), image, size.width(), size.height(), 1) != 0;
    painter.end();
    return drawn ? QPixmap::fromImage(canvas) : QPixmap();
}

} // namespace

bool SinglePicture::libraryMode() const {
    return program_.settings.D256 == 1 || program_.settings.LDSP == 1;
}

void SinglePicture::releaseWorkImage() {
    HGLOBAL& work = program_.browse.WORK_IMAGE;
    if (work != nullptr) {
        PelmixMemFree(work);
        work = nullptr;
    }
    drawn_ = nullptr;
    stored_ = QSize();
    decodedFor_ = QSize();
}

QSize SinglePicture::loadWithLibrary(const QString& path, QSize box) {
    releaseWorkImage();
    IMAGE_INFO file{};
    ImageHandle image(loader_.loadHandle(path, box, &file));
    IMAGE_INFO info{};
    if (!image || PelmixImageInfo(static_cast<HGLOBAL>(image.get()), &info) == 0) {
        return {};
    }
    if (program_.settings.D256 == 1 && info.COLOR_TYPE == kFullColour) {
        const QByteArray text = QStringLiteral("256色への減色処理").toLocal8Bit();
        ImageHandle reduced(
            PelmixBit24To8(static_cast<HGLOBAL>(image.get()), text.constData(), ""));
        if (reduced) {
            image = std::move(reduced);
        }
    }
    program_.browse.WORK_IMAGE = static_cast<HGLOBAL>(image.release());
    drawn_ = program_.browse.WORK_IMAGE;
    stored_ = QSize(file.WIDTH, file.HEIGHT);
    const bool reduced = info.WIDTH < file.WIDTH || info.HEIGHT < file.HEIGHT;
    decodedFor_ = reduced ? box : QSize();
    return stored_;
}

bool SinglePicture::holdsWorkImage() const {
    return drawn_ != nullptr && program_.browse.WORK_IMAGE == drawn_;
}

QSize SinglePicture::storedSize() const {
    return holdsWorkImage() ? stored_ : QSize();
}

bool SinglePicture::drawWorkImage(QSize size) {
    if (program_.browse.WORK_IMAGE == nullptr || size.isEmpty()) {
        return false;
    }
    const QPixmap pixmap = rendered(program_.browse.WORK_IMAGE, size);
    if (pixmap.isNull()) {
        return false;
    }
    setPicture(pixmap);
    return true;
}

bool SinglePicture::loadNatural(const QString& path) {
    releaseWorkImage();
    const QImage image = loader_.loadImage(path, QSize());
    if (image.isNull()) {
        return false;
    }
    setPicture(QPixmap::fromImage(image));
    return true;
}

void SinglePicture::showTooLarge(const QString& path) {
    Prompter::Message message;
    message.caption = QCoreApplication::applicationName();
    message.text = native_name::forMessage(path) + QStringLiteral("は大きすぎて読み込めません");
    message.buttons = Prompter::Buttons::Ok;
    program_.prompter.message(owner_, message);
    setPicture(tooLarge_->pixmap());
}

void SinglePicture::clear() {
    picture_->clear();
}

void SinglePicture::setPicture(const QPixmap& pixmap) {
    picture_->setPixmap(pixmap);
    picture_->resize(pixmap.size());
}
