#include "page_reader.h"

#include "browse_view.h"
#include "browsing_state.h"
#include "native_name.h"
#include "program.h"
#include "upper_ascii.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

int PageReader::cellsPerPage(const USR_SETTINGS& settings) {
    const double cells = settings.CMTT;
    if (!(cells >= 1)) { // also NaN
        return 1;
    }
    return cells >= 12 ? 12 : static_cast<int>(std::lround(cells));
}

void PageReader::FOLDER_READ_ERROR(int errorNumber, const QString& reason) {
    Prompter::Message message;
    message.caption = program_.APP_TITLE;
    message.icon = Prompter::Icon::Exclamation;
    message.buttons = Prompter::Buttons::Ok;
    message.text =
        QStringList{
            QCoreApplication::translate("PageReader", "フォルダー読み込みエラー "),
            QCoreApplication::translate("PageReader", "ErrorCode (%1)")
                .arg(signedNumberText(errorNumber)),
            QCoreApplication::translate("PageReader", "理由 : %1").arg(reason),
            QCoreApplication::translate("PageReader", "フォルダー名 : %1")
                .arg(native_name::forMessage(program_.browse.DISP_DIR)),
            QCoreApplication::translate("PageReader", "読み込みを中止します"),
        }
            .join(QLatin1Char('\n'));
    program_.prompter.message(view_.messageOwner(), message);
}

int PageReader::listFolder() {
    if (!list_.setFolder(program_.browse.DISP_DIR)) {
        if (list_.errorNumber() != FolderList::kPathNotFound) {
            FOLDER_READ_ERROR(list_.errorNumber(), list_.errorText());
        }
        return -1;
    }
    const int n = list_.count();
    view_.setFileCount(signedNumberText(n));
    return n;
}

int PageReader::firstOfPage(int direction) const {
    const BrowsingState& state = program_.browse;
    const int n = list_.count();
    const int p = cellsPerPage(program_.settings);
    const QString& start = direction > 0   ? state.PAGE_LAST
                           : direction < 0 ? state.PAGE_FIRST
                                           : state.PAGE_ANCHOR;
    // The name itself first: two files whose names differ only in case are two files here,
    // and the second must stay reachable. Without it, the first name equal but for case.
    int k = static_cast<int>(list_.names().indexOf(start));
    if (k < 0) {
        const QString wanted = UPPER_ASCII(start);
        for (int i = 0; i < n; ++i) {
            if (UPPER_ASCII(list_.name(i)) == wanted) {
                k = i;
                break;
            }
        }
    }
    if (k >= 0 && k + p > n) {
        k = std::max(n - p, 0);
    }
    if (direction > 0) {
        return k + 1;
    }
    if (direction < 0) {
        return std::max(k - p, 0);
    }
    return std::max(k, 0); // an anchor no longer listed starts at the first file
}

QStringList PageReader::namesAhead(int direction) const {
    const BrowsingState& state = program_.browse;
    if (list_.count() == 0 || state.PAGE_FIRST.isEmpty()) {
        return {};
    }
    const int n = list_.count();
    QStringList names;
    for (int t = firstOfPage(direction); t < n && names.size() < cellsPerPage(program_.settings);
         ++t) {
        names << list_.name(t);
    }
    return names;
}

bool PageReader::READ_CATALOGUE_PAGE(int direction) {
    BrowsingState& state = program_.browse;
    for (QString& name : state.PAGE_NAME) {
        name.clear();
    }
    const int n = listFolder();
    const int p = cellsPerPage(program_.settings);
    // An empty or unreadable folder leaves no page to scroll to: the bar does not keep the old
    // folder's range.
    const int max = n <= p ? 1 : n - p + 1;
    catalogueBarUsable_ = n > p;
    // Changing the range can move the value; that is not the user's scroll.
    state.CAT_SCROLL_LOCK = true;
    view_.setScrollRange(BrowseView::Bar::Catalogue, 1, max, p);
    view_.setScrollEnabled(BrowseView::Bar::Catalogue, catalogueBarUsable_);
    state.CAT_SCROLL_LOCK = false;
    if (n < 0) {
        return false;
    }
    if (n == 0) {
        state.PAGE_FIRST.clear();
        state.PAGE_LAST.clear();
        return true;
    }

    int t = firstOfPage(direction);

    state.CAT_SCROLL_LOCK = true;
    view_.setScrollValue(BrowseView::Bar::Catalogue, std::clamp(t + 1, 1, max));
    state.CAT_SCROLL_LOCK = false;

    int c = 0;
    for (; c <= p - 1 && t < n; ++c, ++t) {
        state.PAGE_NAME[c] = list_.name(t);
        state.PAGE_DATE[c] = FolderList::dateTimeText(state.DISP_DIR + list_.name(t));
    }
    state.PAGE_FIRST = state.PAGE_NAME[0];
    state.PAGE_LAST = c > 0 ? state.PAGE_NAME[c - 1] : QString();
    return true;
}

bool PageReader::READ_SINGLE_POSITION(int direction) {
    BrowsingState& state = program_.browse;
    const int n = listFolder();
    if (n < 0) {
        return false;
    }
    if (n == 0) {
        state.ONE_NAME.clear();
        state.ONE_NEIGHBOUR.clear();
        return true;
    }

    state.ONE_SCROLL_LOCK = true;
    view_.setScrollRange(BrowseView::Bar::Single, 1, n, 8);
    state.ONE_SCROLL_LOCK = false;

    const int k = static_cast<int>(list_.names().indexOf(state.ONE_NAME));
    int j;
    if (direction > 0) {
        j = std::min(k + 1, n - 1); // next from the last file stays on it
    } else if (direction < 0) {
        j = std::max(k - 1, 0);
    } else {
        j = std::max(k, 0); // a file no longer listed gives the first file
    }

    state.ONE_SCROLL_LOCK = true;
    view_.setScrollValue(BrowseView::Bar::Single, j + 1);
    state.ONE_SCROLL_LOCK = false;

    state.ONE_NAME = list_.name(j);
    if (j + 1 <= n - 1) {
        state.ONE_NEIGHBOUR = list_.name(j + 1);
    } else if (j - 1 >= 0) {
        state.ONE_NEIGHBOUR = list_.name(j - 1);
    } else {
        state.ONE_NEIGHBOUR.clear();
    }
    return true;
}
