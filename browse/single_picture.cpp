#include "single_picture.h"

#include "browsing_state.h"
#include "native_name.h"
#include "pelmix.h"
#include "pelmix_view.h"
#include "program.h"
#include "single_fit.h"

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

using ImageHandle = SingleAhead::Handle;

constexpr int kFullColour = 5;

// The library draws a handle into a fresh canvas, on any thread; the canvas becomes the label's
// picture.
QImage rendered(HGLOBAL image, QSize size) {
    QImage canvas(size, QImage::Format_RGB32);
    if (canvas.isNull()) {
        return {};
    }
    canvas.fill(Qt::white);
    QPainter painter(&canvas);
    const DeviceContext dc(PelmixCreatePainterDC(&painter));
    const bool drawn = PelmixDisplayHdc(dc.get(), image, size.width(), size.height(), 1) != 0;
    painter.end();
    return drawn ? canvas : QImage();
}

} // namespace

SinglePicture::SinglePicture(Program& program, QLabel* picture, QLabel* tooLarge,
                             QWidget* messageOwner)
    : program_(program), picture_(picture), tooLarge_(tooLarge), owner_(messageOwner),
      ahead_([](const SingleAhead::Request& request) { return decode(request); },
             [this] {
                 QMetaObject::invokeMethod(
                     &context_, [this] { takeFinal(); }, Qt::QueuedConnection);
             }) {}

SingleAhead::Picture SinglePicture::decode(const SingleAhead::Request& request, bool* firstSight) {
    SingleAhead::Picture picture;
    if (!request.library) {
        QSize natural;
        picture.drawn = PictureLoader::decodeImage(request.path, QSize(), &natural);
        picture.file.WIDTH = natural.width();
        picture.file.HEIGHT = natural.height();
        return picture;
    }
    picture.handle.reset(
        PictureLoader::decodeHandle(request.path, request.box, &picture.file, firstSight));
    if (picture.handle && request.window.isValid()) {
        const QSize shown = SingleFit::shownSize(QSize(picture.file.WIDTH, picture.file.HEIGHT),
                                                 request.window, request.magnification);
        picture.drawn = rendered(static_cast<HGLOBAL>(picture.handle.get()), shown);
    }
    return picture;
}

bool SinglePicture::readsAhead() const {
    // The reduction to 256 colours shows its progress: the window's thread does it.
    return program_.settings.D256 != 1;
}

void SinglePicture::readAhead(const QString& path, QSize box, QSize window) {
    if (!readsAhead()) {
        return;
    }
    if (libraryMode()) {
        ahead_.want({path, box, window, program_.settings.D1MD, true});
    } else {
        ahead_.want({path, QSize(), QSize(), 0, false});
    }
}

void SinglePicture::forgetAhead() {
    ahead_.forget();
}

void SinglePicture::takeFinal() {
    if (!refining_ || !holdsWorkImage()) {
        return;
    }
    std::optional<SingleAhead::Picture> done = ahead_.take(*refining_, false);
    if (!done) {
        return; // not decoded yet: the worker tells again
    }
    refining_.reset();
    IMAGE_INFO now{}, decoded{};
    HGLOBAL& work = program_.browse.WORK_IMAGE;
    if (!done->handle || PelmixImageInfo(work, &now) == 0 ||
        PelmixImageInfo(done->handle.get(), &decoded) == 0 || now.WIDTH != decoded.WIDTH ||
        now.HEIGHT != decoded.HEIGHT) {
        return; // the file changed meanwhile: the first sight stays until the next refresh
    }
    PelmixMemFree(work);
    work = done->handle.release();
    drawn_ = work;
    prepared_ = std::move(done->drawn);
    if (refined) {
        refined();
    }
}

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
    prepared_ = QImage();
    refining_.reset();
}

QSize SinglePicture::loadWithLibrary(const QString& path, QSize box, QSize window) {
    releaseWorkImage();
    loader_.note(path, box);
    const SingleAhead::Request request{path, box, window, program_.settings.D1MD, true};
    std::optional<SingleAhead::Picture> ahead;
    if (readsAhead()) {
        ahead = ahead_.take(request);
    }
    SingleAhead::Picture picture;
    if (ahead) {
        picture = std::move(*ahead);
    } else {
        // Not read ahead: a progressive file is shown from a first sight at once, and the worker
        // decodes the final picture first of all.
        bool firstSight = false;
        picture = decode({path, box, {}, 0, true}, readsAhead() ? &firstSight : nullptr);
        if (firstSight) {
            refining_ = request;
            ahead_.want(request, true);
        }
    }
    const IMAGE_INFO file = picture.file;
    ImageHandle image = std::move(picture.handle);
    IMAGE_INFO info{};
    if (!image || PelmixImageInfo(static_cast<HGLOBAL>(image.get()), &info) == 0) {
        return {};
    }
    if (program_.settings.D256 == 1 && info.COLOR_TYPE == kFullColour) {
        const QByteArray text =
            QCoreApplication::translate("SinglePicture", "256色への減色処理").toLocal8Bit();
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
    prepared_ = std::move(picture.drawn);
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
    if (!prepared_.isNull() && prepared_.size() == size && holdsWorkImage()) {
        setPicture(QPixmap::fromImage(std::move(prepared_)));
        prepared_ = QImage();
        return true;
    }
    prepared_ = QImage();
    const QPixmap pixmap = QPixmap::fromImage(rendered(program_.browse.WORK_IMAGE, size));
    if (pixmap.isNull()) {
        return false;
    }
    setPicture(pixmap);
    return true;
}

bool SinglePicture::loadNatural(const QString& path) {
    releaseWorkImage();
    loader_.note(path, QSize());
    const SingleAhead::Request request{path, QSize(), QSize(), 0, false};
    std::optional<SingleAhead::Picture> ahead;
    if (readsAhead()) {
        ahead = ahead_.take(request);
    }
    QImage image = ahead ? std::move(ahead->drawn) : decode(request).drawn;
    if (image.isNull()) {
        return false;
    }
    setPicture(QPixmap::fromImage(std::move(image)));
    return true;
}

void SinglePicture::showTooLarge(const QString& path) {
    Prompter::Message message;
    message.caption = QCoreApplication::applicationName();
    message.text = QCoreApplication::translate("SinglePicture", "%1は大きすぎて読み込めません")
                       .arg(native_name::forMessage(path));
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
