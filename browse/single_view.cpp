#include "single_view.h"

#include "browsing_state.h"
#include "disabled_input.h"
#include "native_name.h"
#include "program.h"
#include "single_fit.h"
#include "single_picture.h"
#include "single_twips.h"

#include <QCoreApplication>
#include <QDrag>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <QMouseEvent>
#include <QScrollBar>
#include <QUrl>
#include <algorithm>

namespace {

// Design places inside the frame, in twips: the picture area leaves a margin of 60 on each side
// and 180 above it, where the name is.
constexpr int kMargin = 60;
constexpr int kNameHeight = 180;
constexpr int kBottomMargin = 60;

} // namespace

SingleView::SingleView(Program& program, const SingleControls& controls, int16_t& dragState)
    : program_(program), c_(controls), dragState_(dragState),
      picture_(std::make_unique<SinglePicture>(program, controls.DSP1_PIC, controls.TOOLARGE,
                                               controls.owner)) {
    startDrag = [this](QWidget* source) { dragFile(source); };
    picture_->refined = [this] {
        if (!paintLock_ && libraryDrawn_) {
            paintLock_ = true;
            libraryDrawn_ = picture_->drawWorkImage(c_.DSP1_PIC->size());
            paintLock_ = false;
        }
    };
    for (QObject* watched : std::initializer_list<QObject*>{
             c_.PIC1_BASE, c_.DSP1_MAXDSP, c_.DSP1_PICWAKU, c_.DSP1_PIC, c_.DSP1_NAME}) {
        watched->installEventFilter(this);
    }
    regrowTimer_.setSingleShot(true);
    regrowTimer_.setInterval(kRegrowDelayMs);
    connect(&regrowTimer_, &QTimer::timeout, this, &SingleView::redecodeGrown);
    connect(c_.DSP1_HSC, &QScrollBar::valueChanged, this, &SingleView::scrolledHorizontally);
    connect(c_.DSP1_VSC, &QScrollBar::valueChanged, this, &SingleView::scrolledVertically);
    // The name has the strip above the picture area to itself.
    QFont font = c_.DSP1_NAME->font();
    font.setPixelSize(std::max(8, Twips::toPixelsY(c_.DSP1_NAME, kNameHeight - 15)));
    c_.DSP1_NAME->setFont(font);
}

SingleView::~SingleView() = default;

PictureLoader& SingleView::loader() {
    return picture_->loader();
}

SingleAhead& SingleView::ahead() {
    return picture_->ahead();
}

bool SingleView::showsFirstSight() const {
    return picture_->showsFirstSight();
}

void SingleView::SINGLE_LAYOUT() {
    const int width = Twips::width(c_.PIC1_BASE);
    const int height = Twips::height(c_.PIC1_BASE);
    const int bar = Twips::width(c_.DSP1_SCR);
    Twips::place(c_.DSP1_SCR, width - bar, 0, bar, height);
    // A refused size keeps the frame as it was; the picture area follows whatever it has.
    int frameWidth = width - bar;
    int frameHeight = height;
    if (!Twips::place(c_.DSP1_FRM, 0, 0, frameWidth, frameHeight)) {
        frameWidth = Twips::width(c_.DSP1_FRM);
        frameHeight = Twips::height(c_.DSP1_FRM);
    }
    Twips::place(c_.DSP1_NAME, kMargin, 0, frameWidth - 2 * kMargin, kNameHeight);
    Twips::place(c_.DSP1_MAXDSP, kMargin, kNameHeight, frameWidth - 2 * kMargin,
                 frameHeight - kNameHeight - kBottomMargin);
    layoutPictureArea();
}

void SingleView::layoutPictureArea() {
    const int width = Twips::width(c_.DSP1_MAXDSP);
    const int height = Twips::height(c_.DSP1_MAXDSP);
    const int vertical = Twips::width(c_.DSP1_VSC);
    const int horizontal = Twips::height(c_.DSP1_HSC);
    Twips::place(c_.DSP1_PICWAKU, 0, 0, width - vertical, height - horizontal);
    const int windowWidth = Twips::width(c_.DSP1_PICWAKU);
    const int windowHeight = Twips::height(c_.DSP1_PICWAKU);
    Twips::place(c_.DSP1_VSC, windowWidth, 0, vertical, windowHeight);
    Twips::place(c_.DSP1_HSC, 0, windowHeight, windowWidth, horizontal);
    const QSize window = windowSize();
    setRanges(SingleFit::scrollMax(c_.DSP1_PIC->width(), window.width()),
              SingleFit::scrollMax(c_.DSP1_PIC->height(), window.height()));
}

QSize SingleView::windowSize() const {
    return c_.DSP1_PICWAKU->contentsRect().size();
}

void SingleView::setRanges(int horizontalMax, int verticalMax) {
    // A scroll bar cannot hold a maximum below its minimum; the picture's offset is placed
    // directly instead (centre), so the bar just has nothing to scroll.
    c_.DSP1_HSC->setRange(0, std::max(0, horizontalMax));
    c_.DSP1_VSC->setRange(0, std::max(0, verticalMax));
}

void SingleView::setMark(bool current) {
    c_.DSP1_FRM->setBackgroundRole(current ? QPalette::Highlight : QPalette::Button);
    c_.DSP1_FRM->update();
}

void SingleView::draw(const QString& name, bool current, const QString& next) {
    if (name.isEmpty()) {
        c_.DSP1_FRM->hide();
        return;
    }
    setMark(current);
    c_.DSP1_NAME->setText(native_name::forDisplay(name));
    c_.DSP1_FRM->show();
    layoutPictureArea();
    showPicture(program_.browse.DISP_DIR + name);
    if (!next.isEmpty()) {
        picture_->readAhead(program_.browse.DISP_DIR + next, decodeBox(), windowSize());
    }
}

void SingleView::showPicture(const QString& path) {
    if (picture_->libraryMode()) {
        showWithLibrary(path);
        return;
    }
    libraryDrawn_ = false;
    if (!picture_->loadNatural(path)) {
        picture_->showTooLarge(path);
    }
    // The magnification does not apply here: the picture keeps its natural size.
    centre();
}

bool SingleView::showWithLibrary(const QString& path, bool tellFailure) {
    paintLock_ = true;
    libraryDrawn_ = false;
    picture_->clear();
    picture_->releaseWorkImage();
    QCoreApplication::processEvents();
    const QSize stored = picture_->loadWithLibrary(path, decodeBox(), windowSize());
    if (stored.isEmpty()) {
        if (tellFailure) {
            picture_->showTooLarge(path);
        }
        centre();
        paintLock_ = false;
        return false;
    }
    const QSize shown = SingleFit::shownSize(stored, windowSize(), program_.settings.D1MD);
    c_.DSP1_PIC->resize(shown);
    centre();
    libraryDrawn_ = picture_->drawWorkImage(shown);
    paintLock_ = false;
    return true;
}

QSize SingleView::decodeBox() const {
    if (program_.settings.D1MD > 0) {
        return {};
    }
    const qreal ratio = c_.DSP1_PICWAKU->devicePixelRatioF();
    const QSize window = windowSize();
    return QSize(std::max(1, int(window.width() * ratio)),
                 std::max(1, int(window.height() * ratio)));
}

void SingleView::noteGrowth() {
    const QSize decoded = picture_->decodedFor();
    const QSize now = decodeBox();
    if (decoded.isValid() && now.isValid() &&
        (now.width() > decoded.width() || now.height() > decoded.height())) {
        regrowTimer_.start(); // again from the start while the size keeps changing
    }
}

void SingleView::redecodeGrown() {
    const QSize decoded = picture_->decodedFor();
    const QSize now = decodeBox();
    const QString& name = program_.browse.ONE_NAME;
    if (program_.settings.DSPM != 2 || !decoded.isValid() || !now.isValid() || name.isEmpty() ||
        !picture_->libraryMode() ||
        (now.width() <= decoded.width() && now.height() <= decoded.height())) {
        return;
    }
    if (paintLock_ || !c_.DSP1_SCR->isEnabled()) {
        regrowTimer_.start(); // a load runs now; look again afterwards
        return;
    }
    // A file gone meanwhile keeps what is shown until the next refresh says so.
    showWithLibrary(program_.browse.DISP_DIR + name, false);
    c_.DSP1_PIC->show();
}

void SingleView::centre() {
    const QSize window = windowSize();
    const int horizontalMax = SingleFit::scrollMax(c_.DSP1_PIC->width(), window.width());
    const int verticalMax = SingleFit::scrollMax(c_.DSP1_PIC->height(), window.height());
    bool& lock = program_.browse.ONE_SCROLL_LOCK;
    lock = true;
    setRanges(horizontalMax, verticalMax);
    c_.DSP1_HSC->setValue(std::max(0, SingleFit::middle(horizontalMax)));
    c_.DSP1_VSC->setValue(std::max(0, SingleFit::middle(verticalMax)));
    c_.DSP1_PIC->move(-SingleFit::middle(horizontalMax), -SingleFit::middle(verticalMax));
    lock = false;
    // No usable step (a bar with nothing or little to scroll) leaves the step as it was.
    if (const int step = SingleFit::largeChange(horizontalMax); step > 0) {
        c_.DSP1_HSC->setPageStep(step);
    }
    if (const int step = SingleFit::largeChange(verticalMax); step > 0) {
        c_.DSP1_VSC->setPageStep(step);
    }
}

void SingleView::scrolledHorizontally(int value) {
    bool& lock = program_.browse.ONE_SCROLL_LOCK;
    if (lock) {
        return;
    }
    lock = true;
    c_.DSP1_PIC->move(-value, c_.DSP1_PIC->y());
    lock = false;
}

void SingleView::scrolledVertically(int value) {
    bool& lock = program_.browse.ONE_SCROLL_LOCK;
    if (lock) {
        return;
    }
    lock = true;
    c_.DSP1_PIC->move(c_.DSP1_PIC->x(), -value);
    lock = false;
}

void SingleView::clear() {
    picture_->clear();
    picture_->forgetAhead();
    libraryDrawn_ = false;
}

void SingleView::refit() {
    if (program_.settings.LDSP != 1 || !picture_->holdsWorkImage()) {
        return;
    }
    paintLock_ = true;
    const QSize shown =
        SingleFit::shownSize(picture_->storedSize(), windowSize(), program_.settings.D1MD);
    c_.DSP1_PIC->resize(shown);
    centre();
    libraryDrawn_ = picture_->drawWorkImage(shown);
    paintLock_ = false;
    c_.DSP1_PIC->show();
    c_.DSP1_FRM->show();
}

void SingleView::pressed(QWidget* source, int button) {
    dragState_ = 0;
    BrowsingState& state = program_.browse;
    if (button == Qt::LeftButton) {
        dragState_ = 1;
        if (state.CAT_CURRENT == state.ONE_NAME) {
            state.CAT_CURRENT.clear();
            setMark(false);
        } else {
            state.CAT_CURRENT = state.ONE_NAME;
            setMark(true);
            startDrag(source);
        }
    } else if (button == Qt::RightButton) {
        dragState_ = 2;
    }
}

void SingleView::dragFile(QWidget* source) {
    const BrowsingState& state = program_.browse;
    auto* data = new QMimeData;
    data->setData(QStringLiteral("application/x-orvana-single"), state.ONE_NAME.toUtf8());
    data->setUrls({QUrl::fromLocalFile(state.DISP_DIR + state.ONE_NAME)});
    auto* drag = new QDrag(source);
    drag->setMimeData(data);
    drag->exec(Qt::CopyAction | Qt::MoveAction);
}

bool SingleView::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type == QEvent::Resize) {
        if (watched == c_.PIC1_BASE) {
            SINGLE_LAYOUT();
        } else if (watched == c_.DSP1_MAXDSP) {
            layoutPictureArea();
            noteGrowth();
        }
        return false;
    }
    if (type == QEvent::Paint && watched == c_.DSP1_PIC) {
        // The label keeps the last drawing; it is drawn again from WORK_IMAGE when it no
        // longer matches the picture's size.
        if (libraryDrawn_ && !paintLock_ && picture_->holdsWorkImage() &&
            c_.DSP1_PIC->pixmap().size() != c_.DSP1_PIC->size()) {
            paintLock_ = true;
            picture_->drawWorkImage(c_.DSP1_PIC->size());
            paintLock_ = false;
        }
        return false;
    }
    if ((type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
         type != QEvent::MouseButtonDblClick) ||
        inputToDisabled(watched, event)) {
        return false;
    }
    auto* mouse = static_cast<QMouseEvent*>(event);
    auto* widget = static_cast<QWidget*>(watched);
    mouse->accept();
    if (watched == c_.DSP1_NAME) {
        if (type == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton &&
            widget->rect().contains(mouse->position().toPoint()) &&
            !program_.browse.ONE_NAME.isEmpty()) {
            program_.RENAME_NAME = program_.browse.ONE_NAME;
            emit renameRequested();
        }
        return true;
    }
    if (watched != c_.DSP1_PIC && watched != c_.DSP1_PICWAKU) {
        return false;
    }
    if (type == QEvent::MouseButtonPress) {
        pressed(widget, mouse->button());
    } else if (type == QEvent::MouseButtonRelease) {
        if (dragState_ == 2 && widget->rect().contains(mouse->position().toPoint())) {
            emit backToCatalogue();
        }
    } else if (dragState_ == 1) {
        emit backToCatalogue();
    }
    return true;
}
