// The page and file choice of the two views and the refresh procedures, driven through a
// recording view that reports scroll value changes back the way the window's scroll bars do.
#include "browse_view.h"
#include "browsing_state.h"
#include "display_refresh.h"
#include "folder_list.h"
#include "program.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "temp_dir.h"
#include "without_root_rights.h"

#include <QStringList>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct BarState {
    int min = 0, max = 0, largeChange = 0, value = 0;
    bool enabled = true;
};

class RecordingView : public BrowseView {
public:
    DisplayRefresh* refresh = nullptr;
    QStringList log;
    BarState bars[2];
    QString fileCount;
    int countsSet = 0;
    QString waitCaption;
    bool waitShown = false;
    bool commandsEnabled = true;
    QString panel;
    QStringList cells[12];
    std::vector<bool> stopWhenDrawn;
    std::array<int, 12> marks{}; // 1 marked, 0 unmarked, -1 not touched
    QString single;
    bool singleCurrent = false;
    std::function<void(int)> onEvents; // called with the number of the event pass
    int eventPasses = 0;

    BarState& of(BrowseView::Bar which) {
        return bars[which == BrowseView::Bar::Catalogue ? 0 : 1];
    }

    void setFileCount(const QString& caption) override {
        fileCount = caption;
        ++countsSet;
    }
    void setScrollRange(BrowseView::Bar which, int min, int max, int largeChange) override {
        BarState& b = of(which);
        b.min = min;
        b.max = max;
        b.largeChange = largeChange;
        moveTo(which, std::clamp(b.value, min, std::max(min, max)));
    }
    void setScrollValue(BrowseView::Bar which, int value) override { moveTo(which, value); }
    void setScrollEnabled(BrowseView::Bar which, bool enabled) override {
        of(which).enabled = enabled;
        log << QString("bar%1 %2").arg(which == BrowseView::Bar::Catalogue ? 8 : 1).arg(enabled);
    }
    void showWaitFrame(const QString& caption) override {
        waitShown = true;
        waitCaption = caption;
        log << "wait " + caption;
    }
    void setWaitCaption(const QString& caption) override {
        waitCaption = caption;
        log << "caption " + caption;
    }
    void setWaitProgress(int done, int total) override {
        log << QString("progress %1/%2").arg(done).arg(total);
    }
    void hideWaitFrame() override {
        waitShown = false;
        log << "hide wait";
    }
    void setCommandsEnabled(bool enabled) override {
        commandsEnabled = enabled;
        log << QString("commands %1").arg(enabled);
    }
    void showCataloguePanel() override {
        panel = "catalogue";
        log << "show catalogue";
    }
    void showSinglePanel() override {
        panel = "single";
        log << "show single";
    }
    void processPendingEvents() override {
        log << "events";
        ++eventPasses;
        if (onEvents) {
            onEvents(eventPasses);
        }
    }
    QSize screenSize() const override { return {1920, 1080}; }
    QWidget* messageOwner() override { return nullptr; }
    void drawCell(int index, const QString& name) override {
        cells[index] << name;
        stopWhenDrawn.push_back(refresh != nullptr && stopFlag());
        log << QString("cell %1 %2").arg(index).arg(name);
    }
    void markCell(int index, bool current) override { marks[index] = current ? 1 : 0; }
    void drawSingle(const QString& name, bool current, const QString& next) override {
        single = name;
        singleCurrent = current;
        log << "single " + name + (next.isEmpty() ? QString() : " then " + next);
    }
    void clearSingle() override { log << "clear single"; }
    void relayout() override { log << "relayout"; }

    std::function<bool()> stopFlag;

private:
    // As a scroll bar does: a value is kept inside the range, and a real change is reported.
    void moveTo(BrowseView::Bar which, int value) {
        BarState& b = of(which);
        value = std::clamp(value, b.min, std::max(b.min, b.max));
        if (value == b.value) {
            return;
        }
        b.value = value;
        if (refresh == nullptr) {
            return;
        }
        if (which == BrowseView::Bar::Catalogue) {
            refresh->catalogueScrolled(value);
        } else {
            refresh->singleScrolled(value);
        }
    }
};

class RefreshTest : public ::testing::Test {
protected:
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    RecordingView view;
    DisplayRefresh refresh{program, view};
    TempDir dir;
    BrowsingState& state = program.browse;

    void SetUp() override {
        view.refresh = &refresh;
        view.stopFlag = [this] { return state.CAT_STOP; };
        state.DISP_DIR = QString::fromStdString(dir.path()) + "/";
        program.settings.CMTT = 8;
    }

    // n files f00.jpg, f01.jpg, …
    void makeFiles(int n) {
        for (int i = 0; i < n; ++i) {
            ASSERT_TRUE(writeBytes(dir.file(name(i).toStdString()), "x", 1));
        }
    }
    static QString name(int i) { return QString("f%1.jpg").arg(i, 2, 10, QLatin1Char('0')); }
    // Index of the file in cell 0, -1 when the page is empty.
    int pageStart() const {
        const QString first = state.PAGE_NAME[0];
        return first.isEmpty() ? -1 : first.mid(1, 2).toInt();
    }
    int usedCells() const {
        int used = 0;
        for (const QString& n : state.PAGE_NAME) {
            used += n.isEmpty() ? 0 : 1;
        }
        return used;
    }
    BarState& catBar() { return view.bars[0]; }
    BarState& oneBar() { return view.bars[1]; }
};

TEST_F(RefreshTest, PagesOfTwentyFilesByEight) {
    makeFiles(20);
    refresh.displayFolderChanged(); // start name not found: from the first file
    EXPECT_EQ(pageStart(), 0);
    EXPECT_EQ(catBar().min, 1);
    EXPECT_EQ(catBar().max, 13);
    EXPECT_EQ(catBar().largeChange, 8);
    EXPECT_TRUE(catBar().enabled);
    EXPECT_EQ(catBar().value, 1);

    refresh.nextPage();
    EXPECT_EQ(pageStart(), 8);
    EXPECT_EQ(state.PAGE_FIRST, name(8));
    EXPECT_EQ(state.PAGE_LAST, name(15));
    EXPECT_EQ(catBar().value, 9);

    refresh.nextPage();
    EXPECT_EQ(pageStart(), 13);
    EXPECT_EQ(usedCells(), 7); // 13..19: the last page may hold fewer files
    EXPECT_EQ(state.PAGE_LAST, name(19));
    EXPECT_EQ(catBar().value, 13); // 14 limited to Max

    refresh.nextPage();
    EXPECT_EQ(pageStart(), 13);

    refresh.previousPage(); // 13 first clamped to 12, then 8 back
    EXPECT_EQ(pageStart(), 4);
    EXPECT_EQ(state.PAGE_LAST, name(11));
    refresh.previousPage();
    EXPECT_EQ(pageStart(), 0);
    EXPECT_EQ(state.PAGE_DATE[0], FolderList::dateTimeText(state.DISP_DIR + name(0)));
}

TEST_F(RefreshTest, FolderThatFitsOnOnePage) {
    makeFiles(5);
    refresh.displayFolderChanged();
    EXPECT_EQ(pageStart(), 0);
    EXPECT_EQ(catBar().max, 1);
    EXPECT_FALSE(catBar().enabled); // stays off after the refresh ends
    EXPECT_EQ(usedCells(), 5);

    refresh.redrawInPlace();
    EXPECT_EQ(pageStart(), 0);
    refresh.previousPage();
    EXPECT_EQ(pageStart(), 0);
    refresh.nextPage();
    EXPECT_EQ(pageStart(), 1);
    EXPECT_EQ(usedCells(), 4);
    EXPECT_EQ(view.cells[4].last(), ""); // the freed cell is drawn empty
}

TEST_F(RefreshTest, StartNameMatchesWithoutRegardToCase) {
    makeFiles(20);
    state.PAGE_ANCHOR = "F05.JPG";
    refresh.REFRESH_CATALOGUE(0);
    EXPECT_EQ(pageStart(), 5);
    // An anchor no longer in the folder (a deleted first file) starts at the first file.
    state.PAGE_ANCHOR = "gone.jpg";
    refresh.REFRESH_CATALOGUE(0);
    EXPECT_EQ(pageStart(), 0);
}

TEST_F(RefreshTest, NamesDifferingOnlyInCaseAreBothReachable) {
    makeFiles(10);
    ASSERT_TRUE(writeBytes(dir.file("a.jpg"), "x", 1));
    ASSERT_TRUE(writeBytes(dir.file("A.jpg"), "x", 1));
    FolderList list;
    ASSERT_TRUE(list.setFolder(state.DISP_DIR));
    state.PAGE_ANCHOR = list.name(1); // the second of the two
    refresh.REFRESH_CATALOGUE(0);
    EXPECT_EQ(state.PAGE_NAME[0], list.name(1));
    EXPECT_EQ(catBar().value, 2);
}

TEST_F(RefreshTest, CountLabelWaitCaptionsAndOrderOfSteps) {
    makeFiles(5);
    refresh.REFRESH_CATALOGUE(0);
    EXPECT_EQ(view.fileCount, " 5");
    const QStringList expectedStart{"bar8 0", "commands 0", "wait 表示ファイル名検索",
                                    "show catalogue", "events"};
    EXPECT_EQ(view.log.mid(0, 5), expectedStart);
    const int firstCell = static_cast<int>(view.log.indexOf("caption カタログ表示準備 ( 1/ 8)"));
    ASSERT_GT(firstCell, 0);
    EXPECT_EQ(view.log[firstCell - 1], "events");
    EXPECT_EQ(view.log[firstCell + 1], "progress 1/8");
    EXPECT_EQ(view.log[firstCell + 2], "cell 0 f00.jpg");
    EXPECT_TRUE(view.log.contains("caption カタログ表示準備 ( 8/ 8)"));
    EXPECT_EQ(view.log.mid(view.log.size() - 3),
              (QStringList{"hide wait", "commands 1", "bar8 0"}));
    EXPECT_FALSE(state.CAT_BUSY);
    EXPECT_EQ(view.panel, "catalogue");
    EXPECT_EQ(refresh.largeBounds(), QSize(480, 540));
}

TEST_F(RefreshTest, EmptyFolderShowsNothing) {
    // The folder had two pages a moment ago: the bar must not keep their range.
    makeFiles(20);
    refresh.REFRESH_CATALOGUE(1);
    ASSERT_TRUE(catBar().enabled);
    for (int i = 0; i < 20; ++i) {
        std::filesystem::remove(dir.file(name(i).toStdString()));
    }
    state.PAGE_FIRST = state.PAGE_LAST = "old.jpg";
    state.ONE_NAME = state.ONE_NEIGHBOUR = "old.jpg";
    refresh.REFRESH_CATALOGUE(1);
    EXPECT_EQ(view.fileCount, " 0");
    EXPECT_EQ(usedCells(), 0);
    EXPECT_EQ(state.PAGE_FIRST, "");
    EXPECT_EQ(state.PAGE_LAST, "");
    EXPECT_FALSE(catBar().enabled);
    EXPECT_EQ(catBar().max, 1);
    refresh.REFRESH_SINGLE(0);
    EXPECT_EQ(state.ONE_NAME, "");
    EXPECT_EQ(state.ONE_NEIGHBOUR, "");
    EXPECT_EQ(view.single, "");
    EXPECT_FALSE(oneBar().enabled);
    EXPECT_TRUE(prompter.requests.empty());
}

TEST_F(RefreshTest, MissingFolderIsSilentAndEmptiesTheCatalogue) {
    makeFiles(3);
    refresh.displayFolderChanged();
    state.ONE_NAME = name(1);
    state.DISP_DIR += "missing/";
    refresh.REFRESH_CATALOGUE(0);
    EXPECT_TRUE(prompter.requests.empty());
    EXPECT_EQ(usedCells(), 0);
    EXPECT_EQ(state.PAGE_FIRST, name(0)); // nothing else changes
    EXPECT_EQ(state.PAGE_LAST, name(2));
    EXPECT_FALSE(state.CAT_BUSY);
    EXPECT_TRUE(view.commandsEnabled);

    refresh.REFRESH_SINGLE(1); // the single view goes on with its file
    EXPECT_EQ(state.ONE_NAME, name(1));
    EXPECT_EQ(view.single, name(1));
}

TEST_F(RefreshTest, UnreadableFolderIsReported) {
    const WithoutRootRights ordinaryUser;
    if (!ordinaryUser.enforced()) {
        GTEST_SKIP() << "permissions are not enforced here";
    }
    const std::string locked = dir.file("locked");
    std::filesystem::create_directory(locked);
    ASSERT_EQ(chmod(locked.c_str(), 0), 0);
    state.DISP_DIR = QString::fromStdString(locked) + "/";
    state.PAGE_NAME[3] = "x.jpg";
    refresh.REFRESH_CATALOGUE(0);
    chmod(locked.c_str(), 0700);

    EXPECT_EQ(usedCells(), 0);
    ASSERT_EQ(prompter.requests.size(), 1u);
    const Prompter::Message& m = prompter.requests[0].message;
    EXPECT_EQ(m.caption, "Orvana");
    EXPECT_EQ(m.icon, Prompter::Icon::Exclamation);
    EXPECT_EQ(m.buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(m.text, "フォルダー読み込みエラー \n"
                      "ErrorCode ( 70)\n"
                      "理由 : " +
                          QString::fromLocal8Bit(strerror(EACCES)) +
                          "\n"
                          "フォルダー名 : " +
                          state.DISP_DIR +
                          "\n"
                          "読み込みを中止します");
}

TEST_F(RefreshTest, FolderFarTooLongIsReportedWithBothEndsOfItsName) {
    // The system refuses the name; the message box stays within the screen.
    const QString tooLong = QLatin1Char('/') + QString(70000, QLatin1Char('d')) + "/end/";
    state.DISP_DIR = tooLong;
    refresh.REFRESH_CATALOGUE(0);
    ASSERT_EQ(prompter.requests.size(), 1u);
    const QStringList lines = prompter.requests[0].message.text.split('\n');
    ASSERT_EQ(lines.size(), 5);
    const QString shown = lines[3].mid(QStringLiteral("フォルダー名 : ").size());
    EXPECT_EQ(shown.size(), 260);
    EXPECT_EQ(shown, tooLong.left(130) + QChar(0x2026) + tooLong.right(129));
}

TEST_F(RefreshTest, RefreshAskedForDuringARefreshIsDropped) {
    makeFiles(20);
    refresh.displayFolderChanged();
    const int listings = view.countsSet;
    view.onEvents = [this](int) { refresh.nextPage(); };
    refresh.nextPage();
    view.onEvents = nullptr;
    EXPECT_EQ(pageStart(), 8); // one step, not more
    EXPECT_EQ(view.countsSet, listings + 1);
    EXPECT_FALSE(state.CAT_BUSY);
    refresh.nextPage(); // and the guard is released afterwards
    EXPECT_EQ(pageStart(), 13);
}

TEST_F(RefreshTest, CancelStopsPicturesForTheRestOfThisRefreshOnly) {
    makeFiles(8);
    view.onEvents = [this](int pass) {
        if (pass == 4) { // before cell 2 (the first pass comes before the page is read)
            refresh.cancelPressed();
        }
    };
    refresh.REFRESH_CATALOGUE(0);
    view.onEvents = nullptr;
    EXPECT_EQ(view.stopWhenDrawn,
              (std::vector<bool>{false, false, true, true, true, true, true, true}));
    EXPECT_TRUE(state.CAT_STOP);
    view.stopWhenDrawn.clear();
    refresh.REFRESH_CATALOGUE(0);
    EXPECT_EQ(view.stopWhenDrawn.front(), false);
}

TEST_F(RefreshTest, ScrollBarMovedByTheReaderTriggersNothing) {
    makeFiles(20);
    refresh.displayFolderChanged();
    refresh.nextPage(); // the bar goes to 9
    EXPECT_EQ(catBar().value, 9);
    EXPECT_EQ(state.PAGE_ANCHOR, ""); // the change handler did not run

    refresh.REFRESH_SINGLE(1);
    const int listings = view.countsSet;
    refresh.nextFile(); // DSP1_SCR moves; no second single refresh
    EXPECT_EQ(view.countsSet, listings + 1);
    EXPECT_EQ(state.ONE_NAME, name(1));
    EXPECT_EQ(oneBar().value, 2);
}

TEST_F(RefreshTest, UserScrollsShowThePositionChosen) {
    makeFiles(20);
    refresh.displayFolderChanged();
    view.setScrollValue(BrowseView::Bar::Catalogue, 6); // as the user would
    EXPECT_EQ(state.PAGE_ANCHOR, name(5));
    EXPECT_EQ(pageStart(), 5);
    EXPECT_EQ(catBar().value, 6);

    refresh.REFRESH_SINGLE(0);
    view.setScrollValue(BrowseView::Bar::Single, 17);
    EXPECT_EQ(state.ONE_NAME, name(16));
    EXPECT_EQ(view.single, name(16));
}

TEST_F(RefreshTest, SingleViewSteps) {
    makeFiles(4);
    state.ONE_NAME = name(0);
    refresh.previousFile(); // stays on the first file
    EXPECT_EQ(state.ONE_NAME, name(0));
    EXPECT_EQ(state.ONE_NEIGHBOUR, name(1));
    EXPECT_EQ(oneBar().min, 1);
    EXPECT_EQ(oneBar().max, 4);
    EXPECT_EQ(oneBar().largeChange, 8);
    EXPECT_EQ(oneBar().value, 1);
    EXPECT_TRUE(oneBar().enabled);
    EXPECT_EQ(view.panel, "single");

    state.ONE_NAME = name(3);
    const int listings = view.countsSet;
    view.single = "drawn before";
    refresh.nextFile(); // next from the last file stays on it: one listing, nothing drawn
    EXPECT_EQ(view.countsSet, listings + 1);
    EXPECT_EQ(view.single, "drawn before");
    EXPECT_EQ(state.ONE_NAME, name(3));
    EXPECT_EQ(state.ONE_NEIGHBOUR, name(2));
    EXPECT_EQ(oneBar().value, 4);

    refresh.previousFile();
    EXPECT_EQ(state.ONE_NAME, name(2));
    EXPECT_EQ(state.ONE_NEIGHBOUR, name(3));

    // Exact comparison: a name differing in case is not found, so next gives the first file
    // and in place gives the first file too.
    state.ONE_NAME = "F02.JPG";
    refresh.nextFile();
    EXPECT_EQ(state.ONE_NAME, name(0));
    state.ONE_NAME = "F02.JPG";
    refresh.REFRESH_SINGLE(0);
    EXPECT_EQ(state.ONE_NAME, name(0));
    EXPECT_EQ(oneBar().value, 1);
}

TEST_F(RefreshTest, OneFileHasNoNeighbour) {
    makeFiles(1);
    state.CAT_CURRENT = name(0);
    refresh.REFRESH_SINGLE(1);
    EXPECT_EQ(state.ONE_NAME, name(0));
    EXPECT_EQ(state.ONE_NEIGHBOUR, "");
    EXPECT_TRUE(view.singleCurrent);
}

TEST_F(RefreshTest, CurrentCellMarkIsExactAndNeverOnEmptyCells) {
    makeFiles(3);
    refresh.displayFolderChanged();
    state.CAT_CURRENT = name(1);
    refresh.MARK_CURRENT_CELL();
    EXPECT_EQ(view.marks, (std::array<int, 12>{0, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
    state.CAT_CURRENT = "F01.JPG";
    refresh.MARK_CURRENT_CELL();
    EXPECT_EQ(view.marks[1], 0);
    state.CAT_CURRENT = "";
    view.marks.fill(-1);
    refresh.MARK_CURRENT_CELL();
    EXPECT_EQ(view.marks, (std::array<int, 12>{0, 0, 0, 0, 0, 0, 0, 0, -1, -1, -1, -1}));
}

TEST_F(RefreshTest, SwitchToSingleAndBack) {
    makeFiles(20);
    refresh.displayFolderChanged();
    state.CAT_STALE = true;
    refresh.switchView(); // no current file: the page's first
    EXPECT_EQ(program.settings.DSPM, 2);
    EXPECT_EQ(state.ONE_NAME, name(0));
    EXPECT_FALSE(state.CAT_STALE);
    EXPECT_EQ(view.panel, "single");
    EXPECT_TRUE(view.log.contains("relayout"));

    // Back with the file still on the page: no new listing.
    refresh.nextFile();
    int listings = view.countsSet;
    refresh.switchView();
    EXPECT_EQ(program.settings.DSPM, 1);
    EXPECT_EQ(view.countsSet, listings);
    EXPECT_EQ(view.panel, "catalogue");
    EXPECT_EQ(view.log.last(), "clear single");

    // The current file goes to the single view; stepping off the page and back re-reads it
    // from there.
    state.CAT_CURRENT = name(3);
    refresh.switchView();
    EXPECT_EQ(state.ONE_NAME, name(3));
    EXPECT_TRUE(view.singleCurrent);
    view.setScrollValue(BrowseView::Bar::Single, 11);
    refresh.switchView();
    EXPECT_EQ(pageStart(), 10);
    EXPECT_EQ(state.PAGE_ANCHOR, name(10));
    EXPECT_EQ(view.marks[0], 0);

    // A stale page is read again even when the file is on it.
    refresh.switchView();
    state.CAT_STALE = true;
    listings = view.countsSet;
    refresh.switchView();
    EXPECT_EQ(view.countsSet, listings + 1);
}

TEST_F(RefreshTest, NewFolderStartsAtItsFirstFile) {
    makeFiles(20);
    refresh.displayFolderChanged();
    refresh.nextPage();
    TempDir other;
    for (int i = 0; i < 20; ++i) { // the same names: the old page must not carry over
        ASSERT_TRUE(writeBytes(other.file(name(i).toStdString()), "y", 1));
    }
    state.DISP_DIR = QString::fromStdString(other.path()) + "/";
    refresh.displayFolderChanged();
    EXPECT_EQ(pageStart(), 0);
    EXPECT_EQ(state.PAGE_ANCHOR, "");
}

TEST_F(RefreshTest, CellCountFollowsTheSettings) {
    makeFiles(20);
    program.settings.CMTT = 12;
    refresh.displayFolderChanged();
    EXPECT_EQ(usedCells(), 12);
    EXPECT_EQ(catBar().max, 9);
    program.settings.CMTT = 1;
    refresh.nextPage();
    EXPECT_EQ(usedCells(), 1);
    EXPECT_EQ(pageStart(), 12);
    EXPECT_EQ(view.log.last(), "bar8 1");
}

} // namespace

TEST_F(RefreshTest, WhatTheViewShowsAfterAFileChanged) {
    // Files f00..f19 with 8 cells a page; the page starts at f08, f10 is current and on show.
    // A file dragged away leaves the single view on its neighbour; the menu's delete works on
    // the current file, which need not be the one on show, so the single view starts again from
    // the folder's first file.
    enum Change { Left, Deleted, Renamed };
    const struct {
        Change change;
        int view;      // DSPM
        int file;      // the file changed
        int cell;      // the cell it was dragged from
        QString shown; // ONE_NAME afterwards, or the page's first file in the catalogue
        bool stale;
        bool currentKept;
    } cases[] = {
        {Left, 2, 10, -1, name(11), true, false},
        {Left, 1, 8, 0, name(9), false, true},
        {Left, 1, 10, 2, name(8), false, false},
        {Left, 1, 12, 4, name(8), false, true},
        // The single view starts again from the first file.
        {Deleted, 2, 10, -1, name(0), false, false},
        {Deleted, 1, 8, -1, name(9), false, false},
        {Deleted, 1, 10, -1, name(8), false, false},
        {Renamed, 2, 10, -1, "new.jpg", true, false},
        // The last page, which holds new.jpg.
        {Renamed, 1, 8, -1, name(13), false, true},
        {Renamed, 1, 12, -1, name(8), false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("change %1 view %2 file %3")
                         .arg(c.change)
                         .arg(c.view)
                         .arg(c.file)
                         .toStdString());
        std::filesystem::remove_all(dir.path());
        std::filesystem::create_directory(dir.path());
        makeFiles(20);
        program.settings.DSPM = 1;
        state.PAGE_ANCHOR = name(8);
        refresh.REFRESH_CATALOGUE(0);
        ASSERT_EQ(pageStart(), 8);
        state.CAT_CURRENT = state.ONE_NAME = name(10);
        state.ONE_NEIGHBOUR = name(11);
        state.CAT_STALE = false;
        program.settings.DSPM = c.view;
        const QString changed = name(c.file);
        if (c.change == Renamed) {
            std::filesystem::rename(dir.file(changed.toStdString()), dir.file("new.jpg"));
        } else {
            std::filesystem::remove(dir.file(changed.toStdString()));
        }
        switch (c.change) {
        case Left:
            refresh.fileLeft(changed, c.cell);
            break;
        case Deleted:
            refresh.fileDeleted(changed);
            break;
        case Renamed:
            refresh.fileRenamed(changed, "new.jpg");
            break;
        }
        EXPECT_EQ(c.view == 2 ? state.ONE_NAME : state.PAGE_NAME[0], c.shown);
        EXPECT_EQ(state.CAT_STALE, c.stale);
        EXPECT_EQ(state.CAT_CURRENT, c.currentKept ? name(10) : QString());
    }
}

TEST_F(RefreshTest, WhatTheViewShowsAfterTheFolderChanged) {
    // f00..f19 on show from f08, f10 current and in the single view; the other folder holds
    // f00..f11, so the current file's name is one of its names too, but not its file.
    const QString other = state.DISP_DIR + "other/";
    std::filesystem::create_directory(dir.file("other"));
    for (int i = 0; i < 12; ++i) {
        ASSERT_TRUE(writeBytes(dir.file("other/" + name(i).toStdString()), "x", 1));
    }
    makeFiles(20);
    const QString home = state.DISP_DIR;
    const struct {
        bool toOther;
        int view;          // DSPM
        QString firstFile; // "" from the first file; an acquisition names its first new file
        QString shown;     // ONE_NAME afterwards, or the page's first file in the catalogue
    } cases[] = {
        {false, 1, "", name(0)},        {false, 1, name(13), name(12)},
        {false, 2, "", name(0)},        {false, 2, name(13), name(13)},
        {true, 1, "", name(0)},         {true, 1, name(10), name(4)},
        {true, 2, "", name(0)},         {true, 2, name(11), name(11)},
        {true, 2, "gone.jpg", name(0)}, // no longer listed: the first file
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(QString("other %1 view %2 first %3")
                         .arg(c.toOther)
                         .arg(c.view)
                         .arg(c.firstFile)
                         .toStdString());
        state.DISP_DIR = home;
        program.settings.DSPM = 1;
        state.PAGE_ANCHOR = name(8);
        refresh.REFRESH_CATALOGUE(0);
        ASSERT_EQ(pageStart(), 8);
        state.CAT_CURRENT = state.ONE_NAME = name(10);
        program.settings.DSPM = c.view;

        refresh.folderChanged(c.toOther ? other : home, c.firstFile);
        EXPECT_EQ(state.DISP_DIR, c.toOther ? other : home);
        EXPECT_EQ(c.view == 2 ? state.ONE_NAME : state.PAGE_NAME[0], c.shown);
        EXPECT_EQ(view.panel, c.view == 2 ? "single" : "catalogue");
        // Another folder has no current file, and none of its cells keeps a picture.
        EXPECT_EQ(state.CAT_CURRENT, c.toOther ? QString() : name(10));
        if (c.view == 1) {
            EXPECT_EQ(refresh.oldNames()[0], c.toOther ? QString() : name(8));
        }
    }
}
