// A desktop that speaks English gets the program in English: every window the user opens, every
// menu, button, tip and list item, and every message, with no Japanese text left.
#include "browsing_state.h"
#include "display_refresh.h"
#include "help_window.h"
#include "md_win.h"
#include "orva_win.h"
#include "orva_win_file_view.h"
#include "page_store_messages.h"
#include "program.h"
#include "program_language.h"
#include "progress_window.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "sane_source_window.h"
#include "scripted_prompter.h"
#include "source_chooser.h"
#include "startup_messages.h"
#include "sv_cpr.h"
#include "temp_dir.h"
#include "virtual_scanner_window.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTabBar>
#include <QTest>
#include <QTextBrowser>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

bool japanese(const QString& text) {
    return std::any_of(text.begin(), text.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= 0x3000 && u <= 0x30ff) || (u >= 0x4e00 && u <= 0x9fff) ||
               (u >= 0xff00 && u <= 0xffef);
    });
}

// Every text of widget and the widgets and actions inside it that is still Japanese, as
// "object name: text".
QStringList japaneseLeft(QWidget* widget) {
    QStringList left;
    auto note = [&](const QObject* object, const QString& text) {
        if (japanese(text)) {
            left << object->metaObject()->className() + QStringLiteral(" ") + object->objectName() +
                        QStringLiteral(": ") + text;
        }
    };
    QList<QWidget*> widgets = widget->findChildren<QWidget*>();
    widgets.prepend(widget);
    for (QWidget* w : widgets) {
        note(w, w->windowTitle());
        note(w, w->toolTip());
        if (auto* b = qobject_cast<QAbstractButton*>(w)) {
            note(b, b->text());
        } else if (auto* l = qobject_cast<QLabel*>(w)) {
            note(l, l->text());
        } else if (auto* g = qobject_cast<QGroupBox*>(w)) {
            note(g, g->title());
        } else if (auto* e = qobject_cast<QLineEdit*>(w)) {
            note(e, e->placeholderText());
        } else if (auto* m = qobject_cast<QMenu*>(w)) {
            note(m, m->title());
        } else if (auto* c = qobject_cast<QComboBox*>(w)) {
            for (int i = 0; i < c->count(); ++i) {
                note(c, c->itemText(i));
            }
        } else if (auto* t = qobject_cast<QTabBar*>(w)) {
            for (int i = 0; i < t->count(); ++i) {
                note(t, t->tabText(i));
            }
        } else if (auto* v = qobject_cast<QAbstractItemView*>(w); v && v->model()) {
            for (int i = 0; i < v->model()->columnCount(); ++i) {
                note(v, v->model()->headerData(i, Qt::Horizontal).toString());
            }
        }
        if (auto* browser = qobject_cast<QTextBrowser*>(w)) {
            note(browser, browser->toPlainText());
        }
        for (const QAction* action : w->actions()) {
            note(action, action->text());
            note(action, action->toolTip());
        }
    }
    return left;
}

class EnglishTextsTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        ASSERT_TRUE(language.install(ProgramLanguage::English));
        program.PROGRAM_DIR = QStringLiteral(ORVANA_RESOURCES "/");
        program.settings.LEXE = QStringLiteral("/usr/bin/true");
        program.settings.LEX2 = QStringLiteral("/usr/bin/true");
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        for (const char* name : {"p00.bmp", "p01.bmp"}) {
            ASSERT_TRUE(picture.save(q(folder.file(name)), "BMP"));
        }
        program.browse.DISP_DIR = q(folder.path()) + QLatin1Char('/');
        program.ACQ_DIR = program.browse.DISP_DIR;
        program.browse.CAT_CURRENT = QStringLiteral("p00.bmp");
        window = std::make_unique<ORVA_WIN>(program);
        window->show();
        window->REFRESH_EDITOR_BUTTONS();
        window->displayRefresh().REFRESH_CATALOGUE(0);
    }
    void TearDown() override {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top != window.get()) {
                top->close();
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    ProgramLanguage language;
    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    TempDir folder;
    std::unique_ptr<ORVA_WIN> window;
};

TEST_F(EnglishTextsTest, EveryWindowTheUserOpensIsInEnglish) {
    ORVA_WIN& w = *window;
    const std::vector<std::pair<const char*, std::function<void()>>> openers = {
        {"main window", [] {}},
        {"settings", [&] { w.MNU_SETUP_SETUP->trigger(); }},
        {"print one picture", [&] { w.MNU_FILE_1PRNT->trigger(); }},
        {"catalogue print", [&] { w.MNU_FILE_CATPRINT->trigger(); }},
        {"rename", [&] { w.MNU_FILE_RENAME->trigger(); }},
        {"adjust", [&] { w.MNU_FILE_CNF->trigger(); }},
        {"folder to show", [&] { w.MNU_DISP_DFILE->trigger(); }},
        {"acquisition folder", [&] { w.MNU_FILE_SELGETDIR->trigger(); }},
        {"help", [&] { w.MNU_HELP_HELP->trigger(); }},
        {"new folder", [&] { (new MD_WIN(program, w.fileView(), &w))->show(); }},
        {"JPEG quality", [&] { (new SV_CPR(75, &w))->show(); }},
        {"progress", [&] { (new ProgressWindow(&w))->show(); }},
        // The scan windows are the data sources' own, and speak the desktop's language too.
        {"virtual scanner", [&] { (new twaindsm::VirtualScannerWindow(&w, TWPT_RGB, 1))->show(); }},
        {"scanner chooser",
         [&] {
             (new twaindsm::SourceChooser({QStringLiteral("Virtual Scanner")}, 0, &w))->show();
         }},
        {"SANE scanner",
         [&] {
             auto* sane = new twaindsm::SaneSourceWindow(&w, QStringLiteral("Scanner"),
                                                         twaindsm::SourceLimits{},
                                                         twaindsm::ScanSettings{}, {});
             sane->show();
         }},
    };
    for (const auto& [name, open] : openers) {
        SCOPED_TRACE(name);
        const QWidgetList before = QApplication::topLevelWidgets();
        open();
        QCoreApplication::processEvents();
        bool opened = std::string(name) == "main window";
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && (top == &w || !before.contains(top))) {
                opened = opened || top != &w;
                EXPECT_EQ(japaneseLeft(top), QStringList()) << top->metaObject()->className();
            }
        }
        EXPECT_TRUE(opened) << "no window opened";
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top != &w && !before.contains(top)) {
                top->close();
            }
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_TRUE(prompter.requests.empty()) << prompter.messages().join('\n').toStdString();
}

TEST_F(EnglishTextsTest, EveryMessageIsInEnglish) {
    const QString t = QStringLiteral("Orvana");
    const QString f = QStringLiteral("/home/u/scans/");
    const std::vector<std::pair<const char*, Prompter::Message>> messages = {
        {"drawPicturesQuestion", startup_messages::drawPicturesQuestion(t, f)},
        {"deviceListFailedAtStart", startup_messages::deviceListFailedAtStart(t)},
        {"deviceListFailedAtExit", startup_messages::deviceListFailedAtExit(t)},
        {"deviceChanged", startup_messages::deviceChanged(t, "Scanner A", "Scanner B")},
        {"acquireNowQuestion", startup_messages::acquireNowQuestion(t)},
        {"exitQuestion", startup_messages::exitQuestion()},
        {"commandLineNotFolder", startup_messages::commandLineNotFolder(t, "a.jpg")},
        {"droppedNotFolder", startup_messages::droppedNotFolder(t, "a.jpg")},
        {"defaultsMissing", startup_messages::defaultsMissing(t, f + "DEF_ORVA.CNF")},
        {"settingsNotSaved", startup_messages::settingsNotSaved(t, f + "ORVA.CNF")},
        {"noNameLeft", page_store_messages::noNameLeft(t)},
        {"acquisitionFolderUnavailable", page_store_messages::acquisitionFolderUnavailable(t, f)},
        {"digitOverflow", page_store_messages::digitOverflow(t)},
        {"jpegFallback", page_store_messages::jpegFallback(t, 1)},
        {"group4Fallback", page_store_messages::group4Fallback(t, 5)},
        {"pagesKept", page_store_messages::pagesKept(t, {3, {f}, {f + "a.jpg"}, "full", true})},
        {"folderBusy", page_store_messages::folderBusy(t, f)},
        {"interruptedPagesStored",
         page_store_messages::interruptedPagesStored(t, 2, f, "IMG001.jpg", "IMG002.jpg")},
        {"sourceFilesStayed", page_store_messages::sourceFilesStayed(t, {f + "a.jpg"})},
    };
    for (const auto& [name, m] : messages) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(m.text.isEmpty());
        EXPECT_FALSE(japanese(m.caption + m.text)) << m.text.toStdString();
    }
    for (int colourType = 0; colourType <= 5; ++colourType) {
        EXPECT_FALSE(japanese(page_store_messages::colourTypeName(colourType)));
    }
}

TEST(ProgramLanguageTest, EnglishOnlyForADesktopThatPrefersItToJapanese) {
    const std::vector<std::pair<QStringList, ProgramLanguage::Language>> rows = {
        {{"en-GB", "en"}, ProgramLanguage::English},
        {{"en-US"}, ProgramLanguage::English},
        {{"EN_us"}, ProgramLanguage::English},
        {{"de-DE", "en-GB"}, ProgramLanguage::English},
        {{"ja-JP", "en-US"}, ProgramLanguage::Japanese},
        {{"de-DE"}, ProgramLanguage::Japanese},
        {{"C"}, ProgramLanguage::Japanese},
        {{"eng"}, ProgramLanguage::Japanese},
        {{}, ProgramLanguage::Japanese},
    };
    for (const auto& [languages, expected] : rows) {
        EXPECT_EQ(ProgramLanguage::forDesktop(languages), expected)
            << languages.join(',').toStdString();
    }
}

} // namespace
