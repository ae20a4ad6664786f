#include "display_refresh.h"

#include "browse_view.h"
#include "browsing_state.h"
#include "program.h"
#include "upper_ascii.h"

#include <QCoreApplication>

DisplayRefresh::DisplayRefresh(Program& program, BrowseView& view)
    : program_(program), view_(view), reader_(program, view) {}

void DisplayRefresh::REFRESH_CATALOGUE(int direction) {
    BrowsingState& state = program_.browse;
    if (state.CAT_BUSY) {
        return;
    }
    state.CAT_BUSY = true;
    state.CAT_STOP = false;
    if (direction != 0) {
        travel_ = direction;
    }

    view_.setScrollEnabled(BrowseView::Bar::Catalogue, false);
    view_.setCommandsEnabled(false);

    view_.showWaitFrame(QCoreApplication::translate("DisplayRefresh", "表示ファイル名検索"));
    view_.showCataloguePanel();

    const QSize screen = view_.screenSize();
    largeBounds_ = QSize(screen.width() / 4, screen.height() / 2);

    const int p = PageReader::cellsPerPage(program_.settings);
    oldNames_ = {};
    oldDates_ = {};
    for (int i = 0; i < p; ++i) {
        oldNames_[i] = state.PAGE_NAME[i];
        oldDates_[i] = state.PAGE_DATE[i];
    }

    view_.processPendingEvents();
    reader_.READ_CATALOGUE_PAGE(direction);

    const QString total = signedNumberText(p);
    for (int i = 0; i < p; ++i) {
        view_.processPendingEvents();
        view_.setWaitCaption(
            QCoreApplication::translate("DisplayRefresh", "カタログ表示準備 (%1/%2)")
                .arg(signedNumberText(i + 1), total));
        view_.setWaitProgress(i + 1, p);
        view_.drawCell(i, state.PAGE_NAME[i]);
    }

    MARK_CURRENT_CELL();
    view_.hideWaitFrame();
    view_.setCommandsEnabled(true);
    // The bar stays off when the whole folder fits on one page.
    view_.setScrollEnabled(BrowseView::Bar::Catalogue, reader_.catalogueBarUsable());
    state.CAT_BUSY = false;
}

void DisplayRefresh::nextFile() {
    BrowsingState& state = program_.browse;
    singleTravel_ = 1;
    const QString shown = state.ONE_NAME;
    reader_.READ_SINGLE_POSITION(1);
    if (!shown.isEmpty() && state.ONE_NAME == shown) {
        return; // the last file: it stays as it is drawn
    }
    view_.setScrollEnabled(BrowseView::Bar::Single, false);
    view_.showSinglePanel();
    drawSingleFile();
}

void DisplayRefresh::REFRESH_SINGLE(int direction) {
    if (direction != 0) {
        singleTravel_ = direction > 0 ? 1 : -1;
    }
    view_.setScrollEnabled(BrowseView::Bar::Single, false);
    view_.showSinglePanel();
    reader_.READ_SINGLE_POSITION(direction);
    drawSingleFile();
}

void DisplayRefresh::drawSingleFile() {
    const BrowsingState& state = program_.browse;
    if (state.ONE_NAME.isEmpty()) {
        view_.drawSingle(QString(), false, QString());
        return;
    }
    const QStringList& names = reader_.list().names();
    const qsizetype at = names.indexOf(state.ONE_NAME);
    const qsizetype next = at + singleTravel_;
    view_.drawSingle(state.ONE_NAME, state.ONE_NAME == state.CAT_CURRENT,
                     at >= 0 && next >= 0 && next < names.size() ? names[next] : QString());
    view_.setScrollEnabled(BrowseView::Bar::Single, true);
}

void DisplayRefresh::MARK_CURRENT_CELL() {
    const BrowsingState& state = program_.browse;
    const int p = PageReader::cellsPerPage(program_.settings);
    for (int i = 0; i < p; ++i) {
        view_.markCell(i, !state.CAT_CURRENT.isEmpty() && state.PAGE_NAME[i] == state.CAT_CURRENT);
    }
}

void DisplayRefresh::redrawInPlace() {
    BrowsingState& state = program_.browse;
    if (program_.settings.DSPM == 2) {
        REFRESH_SINGLE(0);
    } else {
        state.PAGE_ANCHOR = state.PAGE_NAME[0];
        REFRESH_CATALOGUE(0);
    }
}

void DisplayRefresh::switchView() {
    if (program_.settings.DSPM == 2) {
        toCatalogue();
    } else {
        toSingle();
    }
}

void DisplayRefresh::toSingle(bool fromCurrent) {
    BrowsingState& state = program_.browse;
    state.ONE_NAME =
        !fromCurrent || state.CAT_CURRENT.isEmpty() ? state.PAGE_NAME[0] : state.CAT_CURRENT;
    view_.showSinglePanel();
    REFRESH_SINGLE(0);
    program_.settings.DSPM = 2;
    view_.relayout();
    state.CAT_STALE = false;
}

void DisplayRefresh::toCatalogue() {
    BrowsingState& state = program_.browse;
    view_.showCataloguePanel();
    const int p = PageReader::cellsPerPage(program_.settings);
    bool onPage = false;
    for (int i = 0; i < p; ++i) {
        onPage = onPage || state.PAGE_NAME[i] == state.ONE_NAME;
    }
    if (state.CAT_STALE || !onPage) {
        state.PAGE_ANCHOR = state.ONE_NAME;
        REFRESH_CATALOGUE(0);
    }
    view_.showCataloguePanel();
    program_.settings.DSPM = 1;
    view_.relayout();
    view_.clearSingle();
    MARK_CURRENT_CELL();
}

void DisplayRefresh::catalogueScrolled(int value) {
    BrowsingState& state = program_.browse;
    if (state.CAT_SCROLL_LOCK) {
        return;
    }
    state.PAGE_ANCHOR = reader_.list().name(value - 1);
    REFRESH_CATALOGUE(0);
}

void DisplayRefresh::singleScrolled(int value) {
    BrowsingState& state = program_.browse;
    if (state.ONE_SCROLL_LOCK) {
        return;
    }
    const qsizetype from = reader_.list().names().indexOf(state.ONE_NAME);
    singleTravel_ = value - 1 >= from ? 1 : -1;
    state.ONE_NAME = reader_.list().name(value - 1);
    REFRESH_SINGLE(0);
}

void DisplayRefresh::displayFolderChanged() {
    folderChanged(program_.browse.DISP_DIR);
}

void DisplayRefresh::cancelPressed() {
    program_.browse.CAT_STOP = true;
}
