// The settings dialog as a user works it: its input rules, OK bringing the main window up to date
// for each kind of change, Cancel leaving ORVA.CNF alone, the main window held while the dialog
// exists, a save that fails; and every menu item and tool button of the main window reaching its
// work.
#include "../browse/catalogue_fixture.h"
#include "acquisition_library.h"
#include "folder_tree.h"
#include "help_window.h"
#include "orva_win_picture_list.h"
#include "qt_support.h"
#include "set_win.h"
#include "settings_store.h"
#include "small_volume.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <QTreeView>
#include <filesystem>
#include <functional>

namespace fs = std::filesystem;

namespace {

const std::string shippedTemplate = std::string(ORVANA_RESOURCES) + "/DEF_ORVA.CNF";

// Counts every call the acquisition commands make into the library.
class CountingLibrary : public AcquisitionLibrary {
public:
    explicit CountingLibrary(Prompter& p) : AcquisitionLibrary(QString(), p) {}
    int calls = 0;
    bool sourceList(HWND, QString& list) override {
        ++calls;
        list = QStringLiteral("Test Source");
        return true;
    }
    bool selectSource(HWND) override {
        ++calls;
        return false;
    }
    int scanPages(HWND, const QString&) override {
        ++calls;
        return 0;
    }
};

QImage imageOf(const QIcon& icon) {
    return icon.pixmap(QSize(24, 24)).toImage();
}

// The settings the dialog edits, as text, to compare records.
QStringList edited(const USR_SETTINGS& s) {
    QStringList v{s.BASD, s.NTOP, s.UTNP, s.LEXE, s.LEX2};
    for (int n :
         {int(s.MKDR), int(s.SCNN), int(s.NBMD), int(s.NBNB), int(s.NTWF), int(s.TWBT), int(s.USP1),
          int(s.USP2), int(s.LDSP), int(s.DSPD), int(s.CD16), int(s.C256), int(s.CMTX), int(s.CMTY),
          int(s.CMTT), int(s.CTDM), int(s.D256), int(s.UTNT), int(s.SVMD), int(s.JPGP), int(s.UTNS),
          int(s.CKTD), int(s.DFDF), int(s.DSDF), int(s.SUTW), int(s.EXTM), int(s.UTNM), int(s.BADM),
          int(s.CLBR), int(s.CLSK), int(s.CLUP), int(s.CLBL), int(s.CLBS)}) {
        v << QString::number(n);
    }
    return v;
}

class SettingsDialogTest : public CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        QApplication::setQuitOnLastWindowClosed(false);
        fs::create_directories(root.file("prog"));
        const std::string defaults = readBytes(shippedTemplate);
        ASSERT_FALSE(defaults.empty());
        ASSERT_TRUE(writeBytes(root.file("prog/DEF_ORVA.CNF"), defaults.data(), defaults.size()));
        program.PROGRAM_DIR = q(root.file("prog")) + QLatin1Char('/');
        program.SETTINGS_DIR = program.PROGRAM_DIR;
        SettingsStore(program.PROGRAM_DIR).LOAD_SETTINGS(program.settings);
        USR_SETTINGS& s = program.settings;
        s.CMTX = 4;
        s.CMTY = 2;
        s.CMTT = 8;
        s.BASD = program.browse.DISP_DIR;
        s.BADM = 0;
        s.MKDR = 0;
        s.DSPM = 1;
        s.DSPD = 0;
        s.LDSP = 0;
        s.CD16 = 0;
        s.C256 = 0;
        s.D256 = 0;
        s.NTOP = QStringLiteral("IMG");
        s.SCNN = 3;
        s.NBMD = 0;
        s.NTWF = 0;
        s.JPGP = 50;
        s.UTNM = 0;
        s.UTNP.clear();
        s.LEXE.clear();
        s.LEX2.clear();
        s.EXTM = 1;
        program.TODAY_STR = QStringLiteral("01022026");
        program.ACQ_DIR = s.BASD;
        makePictures(5);
        window().REFRESH_EDITOR_BUTTONS();
        window().MNU_DISP_MKTN->setVisible(false);
        refresh().REFRESH_CATALOGUE(0);
        ASSERT_TRUE(saveSettingsFile());
    }
    void TearDown() override { closeOthers(); }

    std::string cnf() const { return readBytes((program.SETTINGS_DIR + "ORVA.CNF").toStdString()); }
    bool saveSettingsFile() {
        return SettingsStore(program.PROGRAM_DIR, program.SETTINGS_DIR)
                   .SAVE_SETTINGS(program.settings, {}) == SettingsSaveResult::Saved;
    }
    USR_SETTINGS savedSettings() const {
        USR_SETTINGS saved;
        SettingsStore(program.PROGRAM_DIR, program.SETTINGS_DIR).LOAD_SETTINGS(saved);
        return saved;
    }

    static std::vector<QWidget*> openWindows(const char* className = nullptr) {
        std::vector<QWidget*> found;
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && qobject_cast<ORVA_WIN*>(top) == nullptr &&
                (className == nullptr || top->metaObject()->className() == QByteArray(className))) {
                found.push_back(top);
            }
        }
        return found;
    }
    // Closes every window the main window opened, then shows the main window again.
    void closeOthers() {
        for (QWidget* top : openWindows()) {
            top->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        if (window_ && !window_->isVisible()) {
            window_->show();
        }
    }

    // The one settings dialog, active as a window manager makes a new dialog.
    SET_WIN* dialog() {
        const auto open = openWindows("SET_WIN");
        if (open.size() != 1) {
            ADD_FAILURE() << open.size() << " settings dialogs";
            return nullptr;
        }
        auto* d = static_cast<SET_WIN*>(open.front());
        QApplication::setActiveWindow(d);
        EXPECT_TRUE(QTest::qWaitForWindowActive(d));
        return d;
    }
    // Tesseract's data as the dialog finds it: a folder of (empty) language files of the test's.
    void fakeTextData(const std::string& name, const std::vector<std::string>& languages) {
        const std::string data = root.file(name);
        fs::create_directories(data);
        for (const std::string& language : languages) {
            ASSERT_TRUE(writeBytes(data + "/" + language + ".traineddata", "x", 1));
        }
        qputenv("TESSDATA_PREFIX", QByteArray::fromStdString(data));
    }
    // Puts TESSDATA_PREFIX back as it was, however the test ends.
    struct TextData {
        QByteArray before = qgetenv("TESSDATA_PREFIX");
        bool was = qEnvironmentVariableIsSet("TESSDATA_PREFIX");
        ~TextData() {
            if (was) {
                qputenv("TESSDATA_PREFIX", before);
            } else {
                qunsetenv("TESSDATA_PREFIX");
            }
        }
    };

    SET_WIN* openFromMenu() {
        window().MNU_SETUP_SETUP->trigger();
        return dialog();
    }

    static void page(SET_WIN& d, int index) { clickText(d.SET_BASE_CNG[index]); }
    // A check box or option button clicked on its text.
    static void clickText(QWidget* w) {
        QTest::mouseClick(w, Qt::LeftButton, {}, QPoint(8, w->height() / 2));
    }
    static void leave() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    static void ok(SET_WIN* d) {
        QTest::mouseClick(d->Command1, Qt::LeftButton);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    TempDir root; // prog/ is the program folder
};

} // namespace

TEST_F(SettingsDialogTest, InputRules) {
    SET_WIN* d = openFromMenu();
    ASSERT_NE(d, nullptr);

    // Characters a file name cannot hold never reach the prefix; the matrix takes digits only.
    typeInto(d->Text1, QStringLiteral("a\\b/c:d;e.f*g\"h<i>j|k"));
    EXPECT_EQ(d->Text1->text(), QStringLiteral("abcdefghijk"));
    page(*d, 2);
    typeInto(d->CMATRIX[0], QStringLiteral("1a-2.3"));
    EXPECT_EQ(d->CMATRIX[0]->text(), QStringLiteral("123"));
    typeInto(d->CMATRIX[0], QStringLiteral("4"));

    // The digit count and the prefix never make a name longer than 239 characters.
    struct Pair {
        int prefix;
        const char* digits;
        const char* kept;
        bool firstLost;
    };
    const Pair pairs[] = {{3, "12", "9", false},
                          {10, "4", "4", false},
                          {238, "5", "2", false},
                          {240, "5", "1", true}};
    page(*d, 0);
    for (const Pair& p : pairs) {
        SCOPED_TRACE(p.prefix);
        const QString prefix = QStringLiteral("X") + QString(p.prefix - 1, QLatin1Char('a'));
        typeInto(d->Text1, prefix);
        typeInto(d->Text5, QString::fromLatin1(p.digits));
        leave();
        EXPECT_EQ(d->Text5->text(), QString::fromLatin1(p.kept));
        EXPECT_EQ(d->Text1->text(), p.firstLost ? prefix.mid(1) : prefix);
    }
    typeInto(d->Text1, QStringLiteral("IMG"));
    typeInto(d->Text5, QStringLiteral("3"));
    leave();

    // A start number is checked against the digits when it is left.
    EXPECT_FALSE(d->Text6->isEnabled());
    clickText(d->Check11);
    ASSERT_TRUE(d->Text6->isEnabled());
    prompter.requests.clear();
    typeInto(d->Text6, QStringLiteral("999"));
    leave();
    EXPECT_TRUE(prompter.messages().isEmpty());
    typeInto(d->Text6, QStringLiteral("12345"));
    leave();
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("12345は桁数をオーバーしています。")});
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), d->Text6);
    // OK refuses it too, with one message.
    prompter.requests.clear();
    typeInto(d->Text6, QStringLiteral("1000"));
    QTest::mouseClick(d->Command1, Qt::LeftButton);
    EXPECT_EQ(prompter.messages(), QStringList{QStringLiteral("1000は桁数をオーバーしています。")});
    ASSERT_EQ(openWindows("SET_WIN").size(), 1u);
    QTest::qWait(20);
    EXPECT_EQ(QApplication::focusWidget(), d->Text6);
    typeInto(d->Text6, QStringLiteral("7"));

    // The save format names the extension.
    page(*d, 3);
    const char* labels[] = {"NNN.BMP", "NNN.JPG", "NNN.TIF", "NNN.TIF", "NNN.TIF", "NNN.PDF"};
    for (int i = 0; i < 6; ++i) {
        clickText(d->Option5[i]);
        EXPECT_EQ(d->Label1->text(), QString::fromLatin1(labels[i])) << i;
    }

    // The desktop as base greys the destination.
    page(*d, 0);
    clickText(d->Check7);
    EXPECT_FALSE(d->Drive1->isEnabled());
    EXPECT_FALSE(d->Dir1->isEnabled());
    clickText(d->Check7);
    EXPECT_TRUE(d->Drive1->isEnabled());
    EXPECT_TRUE(d->Dir1->isEnabled());

    // The companion program is looked for beside the program folder.
    page(*d, 4);
    prompter.requests.clear();
    clickText(d->Check9);
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("Snaplet が見つかりません。\nインストールしている場"
                                         "合、場所の設定をしてください。")});
    EXPECT_TRUE(d->Text4->text().isEmpty());
    clickText(d->Check9);
    fs::create_directories(root.file("Snaplet"));
    ASSERT_TRUE(writeBytes(root.file("Snaplet/SNAPLET"), "#!/bin/sh\n", 10));
    prompter.requests.clear();
    clickText(d->Check9);
    EXPECT_EQ(prompter.messages(),
              QStringList{QStringLiteral("Snaplet がみつかりました。\n正しくない場合、"
                                         "正しいSnapletを指定してください。")});
    EXPECT_EQ(d->Text4->text(), q(root.file("Snaplet/SNAPLET")));
    EXPECT_EQ(program.settings.UTNT, 1);
    EXPECT_TRUE(d->Option18[0]->isChecked());

    ok(d);
    EXPECT_TRUE(openWindows("SET_WIN").empty());
    EXPECT_EQ(program.settings.SCNN, 3);
    EXPECT_EQ(program.settings.NBMD, 1);
    EXPECT_EQ(program.settings.NBNB, 7);
    EXPECT_EQ(program.settings.SVMD, 5);
    EXPECT_EQ(program.settings.UTNP, q(root.file("Snaplet/SNAPLET")));
}

TEST_F(SettingsDialogTest, OkAppliesEachKindOfChange) {
    const TextData restore;
    fakeTextData("text-data", {"jpn", "eng"});
    const std::string acq = root.file("acq");
    fs::create_directories(acq);
    writePicture(acq + "/q00.jpg", colourOf(7), 64, 48);
    const std::string editor = root.file("editor");
    ASSERT_TRUE(writeBytes(editor, "#!/bin/sh\n", 10));
    ORVA_WIN& w = window();
    const USR_SETTINGS& s = program.settings;
    ASSERT_NE(imageOf(w.IMG_CAM2->picture(0)), imageOf(w.IMG_SCN->picture(0)));
    ASSERT_NE(imageOf(w.IMG_PICK->picture(0)), imageOf(w.IMG_CAM2->picture(0)));

    struct Change {
        const char* name;
        std::function<void(SET_WIN&)> edit;
        std::function<void()> check;
    };
    const Change changes[] = {
        {"acquisition folder",
         [&](SET_WIN& d) {
             ASSERT_TRUE(folder_tree::show(d.Dir1, q(acq)));
             const QRect cell = d.Dir1->visualRect(d.Dir1->currentIndex());
             if (cell.isValid()) {
                 QTest::mouseClick(d.Dir1->viewport(), Qt::LeftButton, {}, cell.center());
             }
         },
         [&] {
             EXPECT_EQ(s.BASD, q(acq) + '/');
             EXPECT_EQ(program.ACQ_DIR, s.BASD);
             EXPECT_EQ(program.browse.DISP_DIR, program.ACQ_DIR);
             EXPECT_EQ(program.FOLDER_HISTORY[0], program.ACQ_DIR);
             EXPECT_EQ(w.DSP8_NAME[0]->text(), QStringLiteral("q00.jpg"));
             EXPECT_TRUE(near(shownColour(0), colourOf(7)));
             EXPECT_FALSE(w.DSP8_FRM[1]->isVisibleTo(w.PIC8_BASE));
         }},
        {"pictures in the catalogue",
         [&](SET_WIN& d) {
             page(d, 2);
             clickText(d.Option7);
         },
         [&] {
             EXPECT_EQ(s.DSPD, 1);
             EXPECT_FALSE(w.DSP8_IMG[0]->isVisibleTo(w.PIC8_BASE));
             EXPECT_EQ(w.MNU_DISP_8DSP->text(), QStringLiteral("複数枚表示時に絵を表示する"));
         }},
        {"matrix 5 x 3",
         [&](SET_WIN& d) {
             page(d, 2);
             typeInto(d.CMATRIX[0], QStringLiteral("5"));
             typeInto(d.CMATRIX[1], QStringLiteral("3"));
         },
         [&] {
             EXPECT_EQ(s.CMTX, 5);
             EXPECT_EQ(s.CMTY, 3);
             EXPECT_EQ(s.CMTT, 12);
         }},
        {"matrix 0 x 4",
         [&](SET_WIN& d) {
             page(d, 2);
             typeInto(d.CMATRIX[0], QStringLiteral("0"));
             typeInto(d.CMATRIX[1], QStringLiteral("4"));
         },
         [&] {
             EXPECT_EQ(s.CMTX, 1);
             EXPECT_EQ(s.CMTY, 1);
             EXPECT_EQ(s.CMTT, 1);
             EXPECT_TRUE(w.DSP8_FRM[0]->isVisibleTo(w.PIC8_BASE));
             EXPECT_FALSE(w.DSP8_FRM[1]->isVisibleTo(w.PIC8_BASE));
         }},
        {"editor",
         [&](SET_WIN& d) {
             EXPECT_TRUE(w.Image2->isHidden());
             EXPECT_FALSE(w.MNU_FILE_EDIT1->isEnabled());
             page(d, 1);
             prompter.paths.push_back(q(editor));
             QTest::mouseClick(d.Command5, Qt::LeftButton);
             EXPECT_EQ(d.Text2->text(), q(editor));
         },
         [&] {
             EXPECT_EQ(s.LEXE, q(editor));
             EXPECT_FALSE(w.Image2->isHidden());
             EXPECT_TRUE(w.MNU_FILE_EDIT1->isEnabled());
         }},
        {"companion on",
         [&](SET_WIN& d) {
             page(d, 4);
             clickText(d.Check9);
             EXPECT_EQ(prompter.messages().size(), 1); // not found beside the program folder
             prompter.requests.clear();
         },
         [&] {
             EXPECT_EQ(s.UTNM, 1);
             EXPECT_TRUE(w.MNU_DISP_MKTN->isVisible());
         }},
        {"companion off",
         [&](SET_WIN& d) {
             page(d, 4);
             clickText(d.Check9);
         },
         [&] {
             EXPECT_EQ(s.UTNM, 0);
             EXPECT_FALSE(w.MNU_DISP_MKTN->isVisible());
         }},
        {"device picture",
         [&](SET_WIN& d) {
             page(d, 2);
             clickText(d.Option11);
         },
         [&] {
             EXPECT_EQ(s.TWBT, 3);
             EXPECT_EQ(imageOf(w.BTN_TWAIN_GO->icon()), imageOf(w.IMG_CAM2->picture(0)));
         }},
        {"acquisition by moving files", [&](SET_WIN& d) { clickText(d.Option15); },
         [&] {
             EXPECT_EQ(s.NTWF, 1);
             EXPECT_EQ(imageOf(w.BTN_TWAIN_GO->icon()), imageOf(w.IMG_PICK->picture(0)));
             EXPECT_EQ(w.BTN_TWAIN_GO->toolTip(), QStringLiteral("指定フォルダー読み込み実行"));
             EXPECT_EQ(w.MNU_FILE_READTWAIN->text(),
                       QStringLiteral("指定フォルダーからの取り込み"));
             EXPECT_FALSE(w.MNU_FILE_SELTWAIN->isEnabled());
         }},
        {"command tray icons only",
         [&](SET_WIN& d) {
             page(d, 2);
             clickText(d.Option13);
         },
         [&] {
             EXPECT_EQ(s.CTDM, 1);
             EXPECT_TRUE(w.Label1->isHidden());
             EXPECT_TRUE(w.Label6->isHidden());
         }},
        {"one PDF a run, its words in English",
         [&](SET_WIN& d) {
             page(d, 3);
             clickText(d.Option5[5]);
             clickText(d.Check13);
             for (QCheckBox* language : d.PDF_LANG) {
                 if (language->property("language") == QStringLiteral("jpn")) {
                     clickText(language);
                 }
             }
         },
         [&] {
             EXPECT_EQ(s.SVMD, 5);
             EXPECT_EQ(s.PDTX, 1);
             EXPECT_EQ(s.PDLG, QStringLiteral("eng"));
         }},
        {"pages straightened and blank ones set aside, at a higher sensitivity",
         [&](SET_WIN& d) {
             page(d, 3);
             auto* sensitivity = d.findChild<QSpinBox*>("blankSensitivityBox");
             EXPECT_FALSE(sensitivity->isEnabled()) << "offered with blank pages only";
             clickText(d.findChild<QCheckBox*>("straightenBox"));
             clickText(d.findChild<QCheckBox*>("blankBox"));
             ASSERT_TRUE(sensitivity->isEnabled());
             sensitivity->setFocus();
             QTest::keyClick(sensitivity, Qt::Key_A, Qt::ControlModifier);
             QTest::keyClicks(sensitivity, "80");
         },
         [&] {
             EXPECT_EQ(s.CLBR, 0);
             EXPECT_EQ(s.CLSK, 1);
             EXPECT_EQ(s.CLUP, 0);
             EXPECT_EQ(s.CLBL, 1);
             EXPECT_EQ(s.CLBS, 80);
         }},
        {"JPEG quality only",
         [&](SET_WIN& d) {
             page(d, 3);
             QTest::mouseClick(d.JPEG_Q, Qt::LeftButton, {},
                               QPoint(d.JPEG_Q->width() * 9 / 10, d.JPEG_Q->height() / 2));
             EXPECT_EQ(d.JPEG_Q_DSP->text(), QString::number(d.JPEG_Q->value()));
             loader().resetCount();
         },
         [&] {
             EXPECT_GT(s.JPGP, 50);
             EXPECT_EQ(loader().loads(), 0);
         }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        SET_WIN* d = openFromMenu();
        ASSERT_NE(d, nullptr);
        change.edit(*d);
        ok(d);
        EXPECT_TRUE(openWindows("SET_WIN").empty());
        EXPECT_TRUE(w.isEnabled());
        change.check();
        EXPECT_EQ(edited(savedSettings()), edited(s));
        EXPECT_TRUE(prompter.messages().isEmpty()) << prompter.messages().join(" | ").toStdString();
        prompter.requests.clear();
    }
}

// Text recognition needs Tesseract's data: a language without it is greyed, and the note names
// the package that brings it; without any, the whole choice is greyed and kept as it was.
TEST_F(SettingsDialogTest, TextRecognitionIsGreyedAndNamesThePackagesOfMissingData) {
    struct Row {
        const char* name;
        std::vector<std::string> installed;
        bool usable;
        const char* note; // "" hidden
    };
    const Row rows[] = {
        {"no data",
         {},
         false,
         "日本語・英語の文字認識データがありません。パッケージ tesseract-ocr-jpn tesseract-ocr-eng "
         "を入れてください。"},
        {"English only",
         {"eng"},
         true,
         "日本語の文字認識データがありません。パッケージ tesseract-ocr-jpn を入れてください。"},
        {"both and German", {"jpn", "eng", "deu", "osd"}, true, ""},
    };
    const TextData restore;
    program.settings.PDTX = 1;
    program.settings.PDLG = QStringLiteral("jpn+eng");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        fakeTextData(std::string("data-") + row.name, row.installed);
        SET_WIN* d = openFromMenu();
        ASSERT_NE(d, nullptr);
        page(*d, 3);
        EXPECT_EQ(d->Check13->isEnabled(), row.usable);
        EXPECT_EQ(d->Check13->isChecked(), row.usable);
        QStringList offered;
        for (QCheckBox* language : d->PDF_LANG) {
            offered += language->text() + (language->isEnabled() ? "" : " (greyed)");
        }
        QStringList expected{"日本語", "英語"};
        if (!row.usable) {
            expected = QStringList{"日本語 (greyed)", "英語 (greyed)"};
        } else if (row.installed.size() < 2) {
            expected[0] = "日本語 (greyed)";
        }
        EXPECT_EQ(offered.mid(0, 2), expected);
        EXPECT_EQ(offered.size(), row.installed.size() == 4 ? 3 : 2)
            << offered.join('|').toStdString();
        EXPECT_EQ(d->PDF_NOTE->isVisibleTo(d), *row.note != '\0');
        if (*row.note != '\0') {
            EXPECT_EQ(d->PDF_NOTE->text(), QString::fromUtf8(row.note));
        }
        ok(d);
        // Greyed, the choice stays as it was; a language without its data stays chosen.
        EXPECT_EQ(program.settings.PDTX, 1);
        EXPECT_EQ(program.settings.PDLG, QStringLiteral("jpn+eng"));
    }
    // Recognition without a language reads nothing: it is off, the languages kept.
    SET_WIN* d = openFromMenu();
    ASSERT_NE(d, nullptr);
    page(*d, 3);
    for (QCheckBox* language : d->PDF_LANG) {
        if (language->isChecked()) {
            clickText(language);
        }
    }
    ok(d);
    EXPECT_EQ(program.settings.PDTX, 0);
    EXPECT_EQ(program.settings.PDLG, QStringLiteral("jpn+eng"));
}

TEST_F(SettingsDialogTest, CancelAndTheCloseBoxKeepEverything) {
    const std::string editor = root.file("editor");
    ASSERT_TRUE(writeBytes(editor, "#!/bin/sh\n", 10));
    const std::string before = cnf();
    const QStringList record = edited(program.settings);
    const std::function<void(SET_WIN*)> closers[] = {
        [](SET_WIN* d) { QTest::mouseClick(d->Command2, Qt::LeftButton); },
        [](SET_WIN* d) { d->close(); },
    };
    for (const auto& close : closers) {
        SET_WIN* d = openFromMenu();
        ASSERT_NE(d, nullptr);
        clickText(d->Check1);
        clickText(d->Option15);
        typeInto(d->Text1, QStringLiteral("ZZ"));
        page(*d, 1);
        prompter.paths.push_back(q(editor));
        QTest::mouseClick(d->Command5, Qt::LeftButton);
        clickText(d->ED_PATHTYPE[1]);
        page(*d, 2);
        for (QWidget* option : std::initializer_list<QWidget*>{
                 d->Option2, d->Option4, d->Option7, d->Option10, d->Option13, d->Check2}) {
            clickText(option);
        }
        typeInto(d->CMATRIX[0], QStringLiteral("2"));
        page(*d, 3);
        clickText(d->Option5[1]);
        clickText(d->Check10);
        QTest::mouseClick(d->JPEG_Q, Qt::LeftButton, {}, QPoint(4 + d->JPEG_Q->height(), 4));
        page(*d, 4);
        for (QCheckBox* box : {d->Check8, d->Check3, d->Check4, d->Check6, d->Check12, d->Check9}) {
            clickText(box);
        }
        close(d);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(openWindows("SET_WIN").empty());
        EXPECT_TRUE(window().isEnabled());
        EXPECT_EQ(cnf(), before);
        EXPECT_EQ(edited(program.settings), record);
    }
}

TEST_F(SettingsDialogTest, MainWindowIsHeldWhileTheDialogExists) {
    ORVA_WIN& w = window();
    const QImage normal = imageOf(w.IMG_SET->picture(0));
    const QImage pressed = imageOf(w.IMG_SET->picture(1));
    ASSERT_NE(normal, pressed);
    struct Opener {
        const char* name;
        std::function<void()> open;
        bool button;
    };
    const Opener openers[] = {
        {"tool button", [&] { QTest::mouseClick(w.BTN_SET_GO, Qt::LeftButton); }, true},
        {"setup menu", [&] { w.MNU_SETUP_SETUP->trigger(); }, false},
        {"acquisition folder menu", [&] { w.MNU_FILE_SELGETDIR->trigger(); }, false},
    };
    const std::function<void(SET_WIN*)> closers[] = {
        [](SET_WIN* d) { ok(d); },
        [](SET_WIN* d) { QTest::mouseClick(d->Command2, Qt::LeftButton); },
        [](SET_WIN* d) { d->close(); },
        [](SET_WIN*) { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape); },
    };
    for (const Opener& opener : openers) {
        for (size_t c = 0; c < std::size(closers); ++c) {
            SCOPED_TRACE(::testing::Message() << opener.name << ", closer " << c);
            opener.open();
            SET_WIN* d = dialog();
            ASSERT_NE(d, nullptr);
            EXPECT_FALSE(w.isEnabled());
            if (opener.button) {
                EXPECT_EQ(imageOf(w.BTN_SET_GO->icon()), pressed);
            }
            // Asked again while it is open: the same dialog stays the only one.
            w.MNU_SETUP_SETUP->trigger();
            w.MNU_FILE_SELGETDIR->trigger();
            EXPECT_EQ(openWindows("SET_WIN").size(), 1u);
            closers[c](d);
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
            EXPECT_TRUE(openWindows("SET_WIN").empty());
            EXPECT_TRUE(w.isEnabled());
            EXPECT_EQ(imageOf(w.BTN_SET_GO->icon()), normal);
        }
    }
}

TEST_F(SettingsDialogTest, FailedSaveIsToldAndTheSettingsStayInEffect) {
    SmallVolume volume(1 << 20);
    if (!volume.mounted()) {
        GTEST_SKIP() << "cannot mount a small volume here";
    }
    program.SETTINGS_DIR = q(volume.path()) + QLatin1Char('/');
    ASSERT_TRUE(saveSettingsFile());
    const std::string before = cnf();
    ASSERT_TRUE(volume.setReadOnly(true));

    SET_WIN* d = openFromMenu();
    ASSERT_NE(d, nullptr);
    page(*d, 2);
    clickText(d->Option7);
    ok(d);
    volume.setReadOnly(false);

    ASSERT_EQ(prompter.messages().size(), 1);
    EXPECT_TRUE(prompter.messages()[0].startsWith(QStringLiteral("設定を保存できませんでした。")));
    EXPECT_TRUE(prompter.messages()[0].contains(program.SETTINGS_DIR + "ORVA.CNF"));
    EXPECT_EQ(cnf(), before);
    EXPECT_EQ(program.settings.DSPD, 1);
    EXPECT_FALSE(window().DSP8_IMG[0]->isVisibleTo(window().PIC8_BASE));
    EXPECT_TRUE(openWindows("SET_WIN").empty());
    EXPECT_TRUE(window().isEnabled());
}

TEST_F(SettingsDialogTest, EveryMenuItemAndToolButtonReachesItsWork) {
    ORVA_WIN& w = window();
    USR_SETTINGS& s = program.settings;
    CountingLibrary library(prompter);
    program.acquisitionLibrary = &library;
    const std::string editor = root.file("editor");
    ASSERT_TRUE(writeBytes(editor, "#!/bin/sh\n", 10));
    s.LEXE = s.LEX2 = s.UTNP = q(editor);
    s.UTNM = 1;
    w.REFRESH_EDITOR_BUTTONS();
    const std::string help = program.PROGRAM_DIR.toStdString() + HelpWindow::fileName;
    ASSERT_TRUE(writeBytes(help, "<p>help</p>", 11));
    fs::create_directories(root.file("tray"));
    ASSERT_TRUE(folder_tree::show(w.F_DIR, q(root.file("tray"))));

    const auto opened = [](const char* className) {
        return [className] { return openWindows(className).size() == 1; };
    };
    const auto asked = [this] { return !prompter.requests.empty(); };
    const auto started = [this, editor] {
        return launcher.starts.size() == 1 && launcher.starts[0].program == q(editor);
    };
    const auto library_called = [&library] { return library.calls > 0; };
    const auto redrawn = [this] { return program.browse.PAGE_DATE[0] != QStringLiteral("DUMMY"); };
    const auto closed = [&w] { return !w.isVisible(); };
    int16_t was = 0;

    struct Item {
        const char* name;
        std::function<void()> use;
        std::function<bool()> reached;
        int16_t* watched = nullptr; // a setting the item changes
    };
    const auto menu = [](QAction* action) { return [action] { action->trigger(); }; };
    const auto button = [](QAbstractButton* b) {
        return [b] { QTest::mouseClick(b, Qt::LeftButton); };
    };
    const Item items[] = {
        {"MNU_DISP_DFILE", menu(w.MNU_DISP_DFILE), opened("GPATH_WIN")},
        {"MNU_FILE_READTWAIN", menu(w.MNU_FILE_READTWAIN), library_called},
        {"MNU_FILE_SELTWAIN", menu(w.MNU_FILE_SELTWAIN), library_called},
        {"MNU_FILE_SELGETDIR", menu(w.MNU_FILE_SELGETDIR), opened("SET_WIN")},
        {"MNU_FILE_1PRNT", menu(w.MNU_FILE_1PRNT), opened("PRT_WIN")},
        {"MNU_FILE_CATPRINT", menu(w.MNU_FILE_CATPRINT), opened("MPRT_WIN")},
        {"MNU_FILE_PDF", menu(w.MNU_FILE_PDF), asked},
        {"MNU_FILE_EDIT1", menu(w.MNU_FILE_EDIT1), started},
        {"MNU_FILE_EDIT2", menu(w.MNU_FILE_EDIT2), started},
        {"MNU_FILE_DELETE", menu(w.MNU_FILE_DELETE), asked},
        {"MNU_FILE_RENAME", menu(w.MNU_FILE_RENAME), opened("REN_WIN")},
        {"MNU_FILE_CNF", menu(w.MNU_FILE_CNF), opened("CNF_WIN")},
        {"MNU_FILE_EXIT", menu(w.MNU_FILE_EXIT), closed},
        {"MNU_DISP_8DSP", menu(w.MNU_DISP_8DSP), nullptr, &s.DSPD},
        {"MNU_DISP_1", menu(w.MNU_DISP_1), nullptr, &s.DSPM},
        {"MNU_DISP_8", menu(w.MNU_DISP_8), nullptr, &s.DSPM},
        {"MNU_DISP_REDISP", menu(w.MNU_DISP_REDISP), redrawn},
        {"MNU_DISP_MKTN", menu(w.MNU_DISP_MKTN), started},
        {"MNU_SETUP_SETUP", menu(w.MNU_SETUP_SETUP), opened("SET_WIN")},
        {"MNU_HELP_HELP", menu(w.MNU_HELP_HELP), opened("HelpWindow")},
        {"MNU_HELP_VERSION", menu(w.MNU_HELP_VERSION),
         [this] {
             return prompter.messages() ==
                    QStringList{program.APP_TITLE + '\n' + program.APP_VERSION};
         }},
        {"BTN_TWAIN_GO", button(w.BTN_TWAIN_GO), library_called},
        {"BTN_SET_GO", button(w.BTN_SET_GO), opened("SET_WIN")},
        {"BTN_REDISP_GO", button(w.BTN_REDISP_GO), redrawn},
        {"BTN_DISP_GO", button(w.BTN_DISP_GO), nullptr, &s.DSPM},
        {"BTN_EXIT_GO", button(w.BTN_EXIT_GO), closed},
        {"BTN_DFILE", button(w.BTN_DFILE), opened("GPATH_WIN")},
        {"Command1", button(w.Command1),
         [this] { return program.browse.DISP_DIR == q(root.file("tray")) + '/'; }},
        {"Command2", button(w.Command2), opened("MD_WIN")},
        {"MNU_DISP_TOOLDISP", menu(w.MNU_DISP_TOOLDISP), nullptr, &s.DSTL},
        {"MNU_DISP_CMDTRAY", menu(w.MNU_DISP_CMDTRAY), nullptr, &s.DSTR},
        {"MNU_DISP_FILETRAY", menu(w.MNU_DISP_FILETRAY), nullptr, &s.DSFT},
    };
    // The table holds every command of the menus and the tool bar.
    QStringList inTable;
    for (const Item& item : items) {
        inTable << QString::fromLatin1(item.name);
    }
    for (QMenu* m : {w.MNU_FILE, w.MNU_DISP, w.MNU_SETUP, w.MNU_HELP}) {
        for (QAction* action : m->actions()) {
            EXPECT_TRUE(action->isSeparator() || inTable.contains(action->objectName()))
                << action->objectName().toStdString();
        }
    }
    for (QToolButton* b : w.CMD_BASE->findChildren<QToolButton*>()) {
        EXPECT_TRUE(inTable.contains(b->objectName())) << b->objectName().toStdString();
    }

    for (const Item& item : items) {
        SCOPED_TRACE(item.name);
        prompter.requests.clear();
        prompter.answers = {Prompter::No};
        launcher.starts.clear();
        library.calls = 0;
        program.browse.CAT_CURRENT = QStringLiteral("p01.jpg");
        for (QString& date : program.browse.PAGE_DATE) {
            date = QStringLiteral("DUMMY");
        }
        loader().resetCount();
        was = item.watched != nullptr ? *item.watched : 0;
        ASSERT_TRUE(w.isEnabled());
        item.use();
        if (item.watched != nullptr) {
            EXPECT_NE(*item.watched, was);
        } else {
            EXPECT_TRUE(item.reached()) << program.browse.DISP_DIR.toStdString();
        }
        closeOthers();
    }
    EXPECT_TRUE(fs::exists(folder.file("p01.jpg")));
    program.acquisitionLibrary = nullptr;
}
