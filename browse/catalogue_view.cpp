#include "catalogue_view.h"

#include "browsing_state.h"
#include "catalogue_layout.h"
#include "catalogue_picture.h"
#include "display_refresh.h"
#include "file_system.h"
#include "folder_list.h"
#include "native_name.h"
#include "pelmix_view.h"
#include "program.h"
#include "snaplet_inf.h"
#include "twips.h"

#include <QCheckBox>
#include <QEvent>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <algorithm>

CatalogueView::CatalogueView(Program& program, const CatalogueControls& controls)
    : program_(program), c_(controls), state_(program.browse),
      ahead_(SharedThumbnails(program.sharedThumbnails)), input_(program, c_, *this) {
    c_.PIC8_BASE->installEventFilter(this);
    for (QLabel* picture : c_.DSP8_IMG2) {
        picture->installEventFilter(this);
    }
    regrowTimer_.setSingleShot(true);
    regrowTimer_.setInterval(kRegrowDelayMs);
    connect(&regrowTimer_, &QTimer::timeout, this, &CatalogueView::redecodeGrownCells);
}

CatalogueView::~CatalogueView() {
    for (HGLOBAL& image : state_.PAGE_IMAGE) {
        if (image != nullptr) {
            PelmixMemFree(image);
            image = nullptr;
        }
    }
}

int CatalogueView::pixelsX(double twips) const {
    return twipsToPixels(std::llround(twips), c_.PIC8_BASE->logicalDpiX());
}

int CatalogueView::pixelsY(double twips) const {
    return twipsToPixels(std::llround(twips), c_.PIC8_BASE->logicalDpiY());
}

QRect CatalogueView::pixelRect(const QRect& twips, double dpiX, double dpiY) {
    // Edges are converted rather than lengths, so that cells touching in twips touch on screen.
    const auto x = [dpiX](double t) { return ::twipsToPixels(std::llround(t), dpiX); };
    const auto y = [dpiY](double t) { return ::twipsToPixels(std::llround(t), dpiY); };
    const int left = x(twips.x());
    const int top = y(twips.y());
    return QRect(left, top, x(double(twips.x()) + twips.width()) - left,
                 y(double(twips.y()) + twips.height()) - top);
}

QRect CatalogueView::toPixels(const QRect& twips) const {
    return pixelRect(twips, c_.PIC8_BASE->logicalDpiX(), c_.PIC8_BASE->logicalDpiY());
}

int CatalogueView::cellsPerPage() const {
    return PageReader::cellsPerPage(program_.settings);
}

QSize CatalogueView::pictureSize(int index) const {
    return index >= 0 && index < kCells ? cells_[index].pageSize : QSize();
}

QRect CatalogueView::cellTwips(int index) const {
    return index >= 0 && index < kCells ? cells_[index].twips : QRect();
}

std::optional<QRect> CatalogueView::pictureTwips(int index) const {
    if (index < 0 || index >= kCells) {
        return std::nullopt;
    }
    return CatalogueLayout::fitPicture(cells_[index].pageSize, cells_[index].twips.size());
}

void CatalogueView::CATALOGUE_LAYOUT() {
    QFrame* base = c_.PIC8_BASE;
    const double dpiX = base->logicalDpiX();
    const double dpiY = base->logicalDpiY();
    const QSize inner(pixelsToTwips(base->width(), dpiX), pixelsToTwips(base->height(), dpiY));
    const int bar = pixelsToTwips(c_.DSP8_SCR->width(), dpiX);
    const USR_SETTINGS& settings = program_.settings;
    const CatalogueLayout grid(inner, bar, settings.CMTX, settings.CMTY);

    c_.DSP8_SCR->setGeometry(base->width() - c_.DSP8_SCR->width(), 0, c_.DSP8_SCR->width(),
                             base->height());

    const QPoint origin(pixelsToTwips(base->x(), dpiX), pixelsToTwips(base->y(), dpiY));
    c_.DSP8_WAIT_FRM->setGeometry(toPixels(grid.waitFrame(QSize(kWaitWidth, kWaitHeight), origin)));
    const QSize wait = c_.DSP8_WAIT_FRM->size();
    const int top = c_.DSP8_WAIT_FRM->fontMetrics().height() + 4;
    c_.DSP8_WAIT_BAR->setGeometry(8, top, std::max(0, wait.width() - 16), 18);
    const QSize cancel = c_.Command3->sizeHint();
    c_.Command3->setGeometry((wait.width() - cancel.width()) / 2, top + 22, cancel.width(),
                             cancel.height());

    const int used = cellsPerPage();
    for (int i = 0; i < kCells; ++i) {
        cells_[i].twips = grid.cell(i);
        QFrame* cell = c_.DSP8_FRM[i];
        cell->setGeometry(toPixels(cells_[i].twips));
        const bool hasFile = i < used && !state_.PAGE_NAME[i].isEmpty();
        if (!hasFile) {
            cell->hide();
            continue;
        }
        placePicture(i);
        cell->show();
        placeName(i, state_.PAGE_NAME[i]);
    }
}

void CatalogueView::placeName(int index, const QString& name) {
    QCheckBox* check = c_.SEL_CHECK[index];
    check->setGeometry(QRect(QPoint(0, 0), check->sizeHint()));
    QLabel* measure = c_.DSP8_SIZECHK;
    measure->setFont(c_.DSP8_NAME[index]->font());
    const QString shown = native_name::forDisplay(name);
    measure->setText(shown);
    measure->adjustSize();
    QLineEdit* box = c_.DSP8_NAME[index];
    // A line edit keeps a few pixels of margin around its text.
    const int room = std::max(0, c_.DSP8_FRM[index]->width() - check->width());
    box->setGeometry(check->width(), 0, std::min(measure->width() + 8, room),
                     std::max(measure->height(), check->height()));
    if (box->text() != shown) {
        box->setText(shown);
        box->setCursorPosition(0);
    }
    box->update();
}

void CatalogueView::placePicture(int index) {
    const bool pictures = program_.settings.DSPD == 0;
    const bool handleMode = cells_[index].fromHandle;
    QLabel* scaled = c_.DSP8_IMG[index];
    QLabel* painted = c_.DSP8_IMG2[index];
    const std::optional<QRect> fit = pictureTwips(index);
    const bool shown =
        pictures && fit.has_value() &&
        (handleMode ? state_.PAGE_IMAGE[index] != nullptr : !cells_[index].picture.isNull());
    if (!shown) {
        scaled->hide();
        painted->hide();
        return;
    }
    const QRect rect = toPixels(*fit);
    if (handleMode) {
        scaled->hide();
        painted->setGeometry(rect);
        painted->show();
        painted->update();
        return;
    }
    painted->hide();
    scaled->setGeometry(rect);
    const QPixmap current = scaled->pixmap();
    if (current.size() != rect.size()) {
        scaled->setPixmap(QPixmap::fromImage(
            cells_[index].ready.size() == rect.size()
                ? cells_[index].ready
                : CataloguePicture::scaledForCell(cells_[index].picture, rect.size())));
    }
    cells_[index].ready = QImage();
    scaled->show();
    scaled->update();
}

void CatalogueView::clearPicture(int index) {
    c_.DSP8_IMG[index]->clear();
    c_.DSP8_IMG[index]->hide();
    c_.DSP8_IMG2[index]->hide();
    cells_[index].picture = QImage();
    cells_[index].ready = QImage();
    cells_[index].pageSize = QSize();
    cells_[index].fromHandle = false;
}

void CatalogueView::drawCell(int index, const QString& name) {
    if (index < 0 || index >= kCells) {
        return;
    }
    if (index == 0) {
        thumbnails_.reset();
        shiftPictures();
        for (int i = cellsPerPage(); i < kCells; ++i) {
            c_.DSP8_FRM[i]->hide();
        }
        queueThisPage();
    }
    drawCellNow(index, name);
    if (index == cellsPerPage() - 1) {
        queueNextPage(); // the page is drawn: the workers go on with the next one
    }
}

void CatalogueView::drawCellNow(int index, const QString& name) {
    QFrame* cell = c_.DSP8_FRM[index];
    if (name.isEmpty()) {
        cell->hide();
        return;
    }
    cell->show();
    placeName(index, name);
    const QString& date = state_.PAGE_DATE[index];
    if (cells_[index].shownName == name && cells_[index].shownDate == date) {
        return; // the same file, unchanged: its picture stays
    }
    drawPicture(index, name);
    cells_[index].shownName = name;
    cells_[index].shownDate = date;
}

void CatalogueView::shiftPictures() {
    const DisplayRefresh& refresh = c_.refresh();
    for (int i = 0; i < kCells; ++i) {
        cells_[i].shownName = refresh.oldNames()[i];
        cells_[i].shownDate = refresh.oldDates()[i];
    }
    std::array<int, kCells> source{};
    source.fill(-1);
    std::array<bool, kCells> kept{};
    int shift = 0;
    for (int i = 0; i < kCells; ++i) {
        if (state_.PAGE_NAME[i].isEmpty()) {
            continue;
        }
        for (int j = 0; j < kCells; ++j) {
            if (cells_[j].shownName == state_.PAGE_NAME[i] &&
                cells_[j].shownDate == state_.PAGE_DATE[i]) {
                kept[j] = true;
                source[i] = j;
                shift = j > i ? 1 : (j < i ? -1 : 0);
                break;
            }
        }
    }
    if (shift == 0) {
        return;
    }
    for (int j = 0; j < kCells; ++j) {
        if (!kept[j] && state_.PAGE_IMAGE[j] != nullptr) {
            PelmixMemFree(state_.PAGE_IMAGE[j]);
            state_.PAGE_IMAGE[j] = nullptr;
        }
    }
    // Forward shifts fill cells from the top, backward ones from the bottom, so that no picture
    // is overwritten before it has moved.
    for (int step = 0; step < kCells; ++step) {
        const int i = shift > 0 ? step : kCells - 1 - step;
        if (source[i] >= 0 && source[i] != i) {
            moveCell(source[i], i);
        }
    }
}

void CatalogueView::moveCell(int from, int to) {
    if (state_.PAGE_IMAGE[to] != nullptr) {
        PelmixMemFree(state_.PAGE_IMAGE[to]);
    }
    state_.PAGE_IMAGE[to] = state_.PAGE_IMAGE[from];
    state_.PAGE_IMAGE[from] = nullptr;
    c_.DSP8_IMG[to]->setPixmap(c_.DSP8_IMG[from]->pixmap());
    c_.DSP8_IMG[to]->setGeometry(c_.DSP8_IMG[from]->geometry());
    c_.DSP8_IMG[to]->setVisible(!c_.DSP8_IMG[from]->isHidden());
    c_.DSP8_IMG2[to]->setGeometry(c_.DSP8_IMG2[from]->geometry());
    c_.DSP8_IMG2[to]->setVisible(!c_.DSP8_IMG2[from]->isHidden());
    cells_[to].picture = cells_[from].picture;
    cells_[to].fromHandle = cells_[from].fromHandle;
    cells_[to].decodedFor = cells_[from].decodedFor;
    cells_[to].pageSize = cells_[from].pageSize;
    cells_[to].shownName = cells_[from].shownName;
    cells_[to].shownDate = cells_[from].shownDate;
    clearPicture(from);
    cells_[from].shownName.clear();
    cells_[from].shownDate.clear();
    placePicture(to); // the cells may differ in size by a pixel
}

QString CatalogueView::thumbnailPrefix() {
    if (!thumbnails_.has_value()) {
        thumbnails_ =
            program_.settings.UTNT == 1 ? companionThumbnails(state_.DISP_DIR) : QString();
    }
    return *thumbnails_;
}

bool CatalogueView::decodesAhead() const {
    const USR_SETTINGS& settings = program_.settings;
    return settings.DSPD == 0 && settings.C256 == 0 && settings.LDSP == 0 && settings.CD16 == 0;
}

DecodeAhead::Request CatalogueView::requestFor(int index, const QString& name) {
    const QString file = state_.DISP_DIR + name;
    DecodeAhead::Request request{file, pictureBox(index), true, {}};
    request.shownSize = [cell = cells_[index].twips.size(), dpiX = c_.PIC8_BASE->logicalDpiX(),
                         dpiY = c_.PIC8_BASE->logicalDpiY()](QSize natural) {
        const std::optional<QRect> fit = CatalogueLayout::fitPicture(natural, cell);
        return fit ? pixelRect(*fit, dpiX, dpiY).size() : QSize();
    };
    const QString thumbnails = thumbnailPrefix();
    if (!thumbnails.isEmpty()) {
        const QString thumbnail = state_.DISP_DIR + thumbnails + name;
        const QString thumbnailDate = FolderList::dateTimeText(thumbnail);
        if (file_system::isFile(thumbnail) && !thumbnailDate.isEmpty() &&
            thumbnailDate == FolderList::dateTimeText(file)) {
            // The companion's thumbnail comes before any other.
            request.path = thumbnail;
            request.shared = false;
        }
    }
    return request;
}

void CatalogueView::queueThisPage() {
    if (!decodesAhead() || state_.CAT_STOP) {
        return;
    }
    std::vector<DecodeAhead::Request> requests;
    for (int i = 0; i < cellsPerPage(); ++i) {
        const QString& name = state_.PAGE_NAME[i];
        if (!name.isEmpty() &&
            (cells_[i].shownName != name || cells_[i].shownDate != state_.PAGE_DATE[i])) {
            requests.push_back(requestFor(i, name));
        }
    }
    ahead_.wantNow(requests);
}

void CatalogueView::queueNextPage() {
    if (!decodesAhead() || state_.CAT_STOP) {
        return;
    }
    const DisplayRefresh& refresh = c_.refresh();
    const QStringList names = refresh.reader().namesAhead(refresh.travel());
    std::vector<DecodeAhead::Request> requests;
    for (int i = 0; i < names.size() && i < cellsPerPage(); ++i) {
        requests.push_back(requestFor(i, names[i]));
    }
    ahead_.wantLater(requests);
}

void CatalogueView::showNoPicture(int index) {
    clearPicture(index);
    if (state_.PAGE_IMAGE[index] != nullptr) {
        PelmixMemFree(state_.PAGE_IMAGE[index]);
        state_.PAGE_IMAGE[index] = nullptr;
    }
}

void CatalogueView::drawPicture(int index, const QString& name) {
    const USR_SETTINGS& settings = program_.settings;
    if (settings.DSPD != 0 || state_.CAT_STOP) {
        showNoPicture(index);
        if (state_.CAT_STOP) {
            ahead_.dropPending();
            // Cut short by Cancel: the next refresh draws this cell again.
            state_.PAGE_DATE[index] = QStringLiteral("DUMMY");
        }
        return;
    }

    const DecodeAhead::Request request = requestFor(index, name);
    const QString& path = request.path;
    const QSize box = request.box;
    CataloguePicture maker(loader_, settings, state_.WORK_IMAGE);
    clearPicture(index);
    if (settings.C256 != 0) {
        paintLock_ = true;
        if (state_.PAGE_IMAGE[index] != nullptr) {
            PelmixMemFree(state_.PAGE_IMAGE[index]);
        }
        QSize natural;
        state_.PAGE_IMAGE[index] = maker.make256(path, box, &natural);
        paintLock_ = false;
        if (state_.PAGE_IMAGE[index] != nullptr) {
            cells_[index].fromHandle = true;
            cells_[index].pageSize = natural;
            cells_[index].decodedFor =
                natural.width() > box.width() || natural.height() > box.height() ? box : QSize();
            placePicture(index);
            return;
        }
    }

    CataloguePicture::Picture picture;
    if (decodesAhead()) {
        DecodeAhead::Picture taken = ahead_.take(request);
        loader_.note(taken.source, box);
        picture.image = taken.image;
        picture.natural = taken.natural;
        cells_[index].ready = taken.shown;
    } else if (settings.C256 == 0) {
        picture = maker.make(path, name, box, c_.refresh().largeBounds());
    }
    if (picture.image.isNull() || picture.natural.isEmpty()) {
        // A file that cannot be read shows the too-large picture, without a message.
        picture.image = c_.TOOLARGE->pixmap().toImage();
        picture.natural = picture.image.size();
    }
    cells_[index].picture = picture.image;
    cells_[index].pageSize = picture.natural;
    const bool reduced = picture.image.width() < picture.natural.width() ||
                         picture.image.height() < picture.natural.height();
    cells_[index].decodedFor = reduced ? box : QSize();
    placePicture(index);
}

QSize CatalogueView::pictureBox(int index) const {
    const qreal ratio = c_.owner->devicePixelRatioF();
    return QSize(
        std::max(1,
                 int(pixelsX(cells_[index].twips.width() - CatalogueLayout::kSideMargin) * ratio)),
        std::max(1, int(pixelsY(cells_[index].twips.height() - CatalogueLayout::kVerticalMargin) *
                        ratio)));
}

bool CatalogueView::settled() const {
    return !state_.CAT_BUSY && !regrowTimer_.isActive();
}

void CatalogueView::noteGrownCells() {
    for (int i = 0; i < cellsPerPage(); ++i) {
        const QSize decoded = cells_[i].decodedFor;
        const QSize now = pictureBox(i);
        if (decoded.isValid() &&
            (now.width() > decoded.width() || now.height() > decoded.height())) {
            regrowTimer_.start(); // again from the start while the size keeps changing
            return;
        }
    }
}

void CatalogueView::redecodeGrownCells() {
    if (state_.CAT_BUSY) {
        regrowTimer_.start(); // a refresh draws the cells now; look again afterwards
        return;
    }
    for (int i = 0; i < cellsPerPage(); ++i) {
        const QSize decoded = cells_[i].decodedFor;
        const QSize now = pictureBox(i);
        if (decoded.isValid() && !state_.PAGE_NAME[i].isEmpty() &&
            (now.width() > decoded.width() || now.height() > decoded.height())) {
            drawPicture(i, state_.PAGE_NAME[i]);
        }
    }
}

void CatalogueView::markCell(int index, bool current) {
    if (index < 0 || index >= kCells) {
        return;
    }
    QWidget* frame = c_.DSP8_FRM[index];
    frame->setBackgroundRole(current ? QPalette::Highlight : QPalette::Button);
    frame->update();
    // A line edit paints its own base colour, whatever its background role says.
    QLineEdit* name = c_.DSP8_NAME[index];
    name->setBackgroundRole(current ? QPalette::Highlight : QPalette::Button);
    // Each colour group from its own colours: a mark made while the window is disabled (a dialog
    // holds it) must not leave the disabled grey in the colours of the enabled window.
    QPalette palette = frame->palette();
    for (const QPalette::ColorGroup group :
         {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::Base,
                         palette.color(group, current ? QPalette::Highlight : QPalette::Button));
        palette.setColor(
            group, QPalette::Text,
            palette.color(group, current ? QPalette::HighlightedText : QPalette::ButtonText));
    }
    name->setPalette(palette);
    name->update();
    c_.SEL_CHECK[index]->setChecked(current);
}

void CatalogueView::UNMARK_CURRENT_CELL() {
    const int used = cellsPerPage();
    for (int i = 0; i < used; ++i) {
        if (state_.PAGE_NAME[i] == state_.CAT_CURRENT) {
            markCell(i, false);
            return;
        }
    }
}

void CatalogueView::paintHandle(int index) {
    QLabel* box = c_.DSP8_IMG2[index];
    QPainter painter(box);
    HDC dc = PelmixCreatePainterDC(&painter);
    PelmixDisplayHdc(dc, state_.PAGE_IMAGE[index], box->width(), box->height(), 1);
    PelmixDeleteDC(dc);
}

bool CatalogueView::eventFilter(QObject* watched, QEvent* event) {
    if (watched == c_.PIC8_BASE) {
        if (event->type() == QEvent::Resize) {
            CATALOGUE_LAYOUT();
            noteGrownCells();
        }
        return false;
    }
    if (event->type() == QEvent::Paint) {
        const int index = watched->property("index").toInt();
        if (index >= 0 && index < kCells && watched == c_.DSP8_IMG2[index]) {
            if (!paintLock_ && state_.PAGE_IMAGE[index] != nullptr) {
                paintHandle(index);
            }
            return true;
        }
    }
    return false;
}
