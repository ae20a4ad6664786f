// The single-image view: the shown size in both loading modes, the centred start of the scroll
// bars, selection and the ways back to the catalogue, the arrow keys at the end of the folder,
// the magnification list, the message for a file that cannot be loaded (the same files the
// catalogue refuses), a picture read for a smaller window, and the next file read ahead.
#include "browsing_state.h"
#include "catalogue_view.h"
#include "display_refresh.h"
#include "native_name.h"
#include "orva_win.h"
#include "pelmix.h"
#include "picture_loader.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "single_ahead.h"
#include "single_fit.h"
#include "single_view.h"
#include "temp_dir.h"

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QComboBox>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>
#include <memory>

namespace {

TEST(SingleFitTest, FitsIntoTheAreaKeepingProportions) {
    // Larger pictures are reduced, smaller ones enlarged, until one side meets the area.
    EXPECT_EQ(SingleFit::shownSize({1000, 800}, {500, 500}, 0), QSize(500, 400));
    EXPECT_EQ(SingleFit::shownSize({50, 40}, {600, 300}, 0), QSize(375, 300));
    EXPECT_EQ(SingleFit::shownSize({40, 50}, {100, 300}, 0), QSize(100, 125));
    // A magnification multiplies whatever the area.
    EXPECT_EQ(SingleFit::shownSize({1000, 800}, {10, 10}, 0.5f), QSize(500, 400));
    EXPECT_EQ(SingleFit::shownSize({1000, 800}, {10, 10}, 1.0f), QSize(1000, 800));
    // A hair-thin picture keeps one pixel; no area or no picture gives nothing absurd.
    EXPECT_EQ(SingleFit::shownSize({1, 10000}, {400, 400}, 0), QSize(1, 400));
    EXPECT_EQ(SingleFit::shownSize({300, 200}, {0, 0}, 0), QSize(300, 200));
    EXPECT_EQ(SingleFit::shownSize({0, 200}, {100, 100}, 0), QSize(0, 0));
}

TEST(SingleFitTest, ScrollRangeMiddleAndStep) {
    EXPECT_EQ(SingleFit::scrollMax(1000, 600), 400);
    EXPECT_EQ(SingleFit::scrollMax(300, 600), -300);
    // Minus the middle of a negative range centres a smaller picture.
    EXPECT_EQ(-SingleFit::middle(-300), 150);
    EXPECT_EQ(SingleFit::largeChange(400), 50);
    EXPECT_EQ(SingleFit::largeChange(7), 0);
    EXPECT_EQ(SingleFit::largeChange(-300), 0);
}

class SingleViewTest : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        program.browse.DISP_DIR = QString::fromStdString(folder.path()) + QLatin1Char('/');
        program.settings.DSPM = 2;
    }

    void picture(const std::string& name, int width, int height, const char* format = "BMP") {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(QColor(40, 120, 200));
        ASSERT_TRUE(image.save(QString::fromStdString(folder.file(name)), format));
    }

    ORVA_WIN& window() {
        if (!window_) {
            window_ = std::make_unique<ORVA_WIN>(program);
            window_->resize(900, 650);
            window_->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
            window_->singleView().startDrag = [this](QWidget* source) { drags.push_back(source); };
        }
        return *window_;
    }

    void show(const QString& name) {
        ORVA_WIN& w = window();
        program.browse.ONE_NAME = name;
        w.displayRefresh().REFRESH_SINGLE(0);
        QApplication::processEvents();
    }

    QSize windowSize() { return window().DSP1_PICWAKU->size(); }

    // The bytes of a picture of coloured noise in format.
    static QByteArray noise(int width, int height, const char* format) {
        QImage image(width, height, QImage::Format_RGB32);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                image.setPixel(x, y, QRandomGenerator::global()->generate() | 0xff000000u);
            }
        }
        QByteArray bytes;
        QBuffer buffer(&bytes);
        EXPECT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, format, 90));
        return bytes;
    }

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    TempDir folder;
    std::unique_ptr<ORVA_WIN> window_;
    std::vector<QWidget*> drags;
};

TEST_F(SingleViewTest, HalfSizeAppliesOnlyWhenTheLibraryDraws) {
    picture("big.bmp", 1000, 800);
    program.settings.LDSP = 1;
    program.settings.D1MD = 0.5f;
    ORVA_WIN& w = window();
    w.resize(640, 480);
    show(QStringLiteral("big.bmp"));
    EXPECT_EQ(w.DSP1_PIC->size(), QSize(500, 400));
    EXPECT_NE(program.browse.WORK_IMAGE, nullptr);
    EXPECT_EQ(w.DSP1_PIC->pixmap().size(), QSize(500, 400));
    const QSize area = windowSize();
    ASSERT_LT(area.width(), 500) << "the window is meant to be narrower than the picture";
    EXPECT_EQ(w.DSP1_HSC->maximum(), 500 - area.width());
    if (area.height() < 400) {
        EXPECT_EQ(w.DSP1_VSC->maximum(), 400 - area.height());
    }

    // The system loader shows the picture as it is, whatever the magnification says; the
    // library's handle is given back before that load.
    program.settings.LDSP = 0;
    show(QStringLiteral("big.bmp"));
    EXPECT_EQ(w.DSP1_PIC->size(), QSize(1000, 800));
    EXPECT_EQ(program.browse.WORK_IMAGE, nullptr);
}

TEST_F(SingleViewTest, FullSizeStartsWithTheScrollBarsCentred) {
    picture("wide.bmp", 2400, 1800);
    program.settings.LDSP = 1;
    program.settings.D1MD = 1.0f;
    show(QStringLiteral("wide.bmp"));
    ORVA_WIN& w = window();
    const QSize area = windowSize();
    const int horizontal = 2400 - area.width();
    const int vertical = 1800 - area.height();
    EXPECT_EQ(w.DSP1_HSC->maximum(), horizontal);
    EXPECT_EQ(w.DSP1_VSC->maximum(), vertical);
    EXPECT_EQ(w.DSP1_HSC->value(), horizontal / 2);
    EXPECT_EQ(w.DSP1_VSC->value(), vertical / 2);
    EXPECT_EQ(w.DSP1_PIC->pos(), QPoint(-(horizontal / 2), -(vertical / 2)));
    EXPECT_EQ(w.DSP1_HSC->pageStep(), horizontal / 8);

    // Scrolling moves the picture; the file bar is usable again after the load.
    w.DSP1_HSC->setValue(0);
    w.DSP1_VSC->setValue(vertical);
    EXPECT_EQ(w.DSP1_PIC->pos(), QPoint(0, -vertical));
    EXPECT_TRUE(w.DSP1_SCR->isEnabled());
}

TEST_F(SingleViewTest, SmallPictureIsEnlargedToTheWindowAndCentred) {
    picture("small.bmp", 40, 30);
    program.settings.LDSP = 1;
    program.settings.D1MD = 0;
    show(QStringLiteral("small.bmp"));
    ORVA_WIN& w = window();
    const QSize area = windowSize();
    const QSize shown = w.DSP1_PIC->size();
    EXPECT_TRUE(shown.width() == area.width() || shown.height() == area.height());
    EXPECT_LE(shown.width(), area.width());
    EXPECT_LE(shown.height(), area.height());
    EXPECT_GT(shown.width(), 40);
    // Centred in the window although the bars have nothing to scroll.
    EXPECT_EQ(w.DSP1_PIC->x(), -((shown.width() - area.width()) / 2));
    EXPECT_EQ(w.DSP1_PIC->y(), -((shown.height() - area.height()) / 2));

    // A larger window fits the picture again.
    w.resize(1200, 900);
    QApplication::processEvents();
    const QSize larger = windowSize();
    EXPECT_TRUE(w.DSP1_PIC->width() == larger.width() || w.DSP1_PIC->height() == larger.height());
    EXPECT_GT(w.DSP1_PIC->width(), shown.width());
}

TEST_F(SingleViewTest, ReducesFullColourTo256ColoursWhenAsked) {
    picture("colour.bmp", 64, 48);
    program.settings.D256 = 1;
    show(QStringLiteral("colour.bmp"));
    IMAGE_INFO info{};
    ASSERT_EQ(PelmixImageInfo(program.browse.WORK_IMAGE, &info), 1);
    EXPECT_EQ(info.BIT_COUNT, 8);
    EXPECT_EQ(info.WIDTH, 64);
}

TEST_F(SingleViewTest, CameraPhotoWithALatin1NameIsShownUprightInBothLoadingModes) {
    QImage stored(120, 60, QImage::Format_RGB32);
    stored.fill(QColor(200, 80, 40));
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && stored.save(&buffer, "JPG"));
    // An Exif APP1 segment whose IFD0 says "turn right" (orientation 6), after SOI.
    static const char exif[] = "\xFF\xE1\x00\x22"
                               "Exif\0\0II*\0\x08\0\0\0"
                               "\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0"
                               "\0\0\0\0";
    jpeg.insert(2, exif, sizeof exif - 1);
    ASSERT_TRUE(writeBytes(folder.file("cam\xe9ra.jpg"), jpeg.constData(), jpeg.size()));
    program.settings.D1MD = 1.0f;
    ORVA_WIN& w = window();
    for (const int mode : {1, 0}) {
        SCOPED_TRACE(mode == 1 ? "library" : "system loader");
        program.settings.LDSP = mode;
        show(native_name::fromBytes("cam\xe9ra.jpg"));
        EXPECT_EQ(w.DSP1_PIC->size(), QSize(60, 120));
        EXPECT_TRUE(prompter.requests.empty());
    }
}

TEST_F(SingleViewTest, CorruptJpegGivesTheMessageAndTheTooLargePicture) {
    ASSERT_TRUE(writeBytes(folder.file("broken.jpg"), "\xff\xd8\xff\xe0 not really", 14));
    show(QStringLiteral("broken.jpg"));
    ORVA_WIN& w = window();
    ASSERT_EQ(prompter.requests.size(), 1u);
    const Prompter::Message& message = prompter.requests[0].message;
    EXPECT_EQ(message.text, QString::fromStdString(folder.path()) +
                                QStringLiteral("/broken.jpgは大きすぎて読み込めません"));
    EXPECT_EQ(message.buttons, Prompter::Buttons::Ok);
    EXPECT_EQ(w.DSP1_PIC->pixmap().size(), w.TOOLARGE->pixmap().size());
    EXPECT_FALSE(w.DSP1_PIC->pixmap().isNull());

    // The image library's way gives the same answer for a broken bitmap.
    ASSERT_TRUE(writeBytes(folder.file("broken.bmp"), "BM", 2));
    program.settings.LDSP = 1;
    show(QStringLiteral("broken.bmp"));
    ASSERT_EQ(prompter.requests.size(), 2u);
    EXPECT_EQ(prompter.requests[1].message.text,
              QString::fromStdString(folder.path()) +
                  QStringLiteral("/broken.bmpは大きすぎて読み込めません"));
    EXPECT_EQ(program.browse.WORK_IMAGE, nullptr);
}

TEST_F(SingleViewTest, BothViewsAcceptTheFilesTheImageLibraryRefusesButTheSystemReads) {
    const QByteArray jpeg = noise(90, 70, "JPG");
    const struct {
        const char* name;
        QByteArray bytes;
        bool shown;
    } files[] = {
        {"photo.jpg", jpeg, true},
        {"png-data.jpg", noise(90, 70, "PNG"), true},
        {"cut-short.jpg", jpeg.left(jpeg.size() * 2 / 3), true},
        {"only-a-header.jpg", jpeg.left(4), false},
    };
    ORVA_WIN& w = window();
    for (const auto& file : files) {
        SCOPED_TRACE(file.name);
        ASSERT_TRUE(writeBytes(folder.file(file.name), file.bytes.constData(), file.bytes.size()));
        const QString name = QString::fromLatin1(file.name);
        for (const int large : {1, 0}) {
            SCOPED_TRACE(large == 1 ? "single view, library" : "single view, system loader");
            prompter.requests.clear();
            program.settings.LDSP = large;
            program.settings.D1MD = 1.0f;
            program.settings.DSPM = 2;
            show(name);
            EXPECT_EQ(prompter.requests.empty(), file.shown);
            EXPECT_EQ(w.DSP1_PIC->size(), file.shown ? QSize(90, 70) : QSize(128, 128));
        }
        SCOPED_TRACE("catalogue");
        w.BTN_DISP_GO->click();
        ASSERT_EQ(program.settings.DSPM, 1);
        program.browse.PAGE_ANCHOR = name;
        w.displayRefresh().REFRESH_CATALOGUE(0);
        EXPECT_EQ(w.catalogueView().pictureSize(0), file.shown ? QSize(90, 70) : QSize(128, 128));
        QFile::remove(QString::fromStdString(folder.file(file.name)));
    }
}

TEST_F(SingleViewTest, PictureReadForASmallerWindowIsDecodedAgainOnceItGrew) {
    const QByteArray photo = noise(1600, 1200, "JPG");
    ASSERT_TRUE(writeBytes(folder.file("photo.jpg"), photo.constData(), photo.size()));
    // In the 256-colour mode, read in a window at its smallest, before it is shown.
    program.settings.D256 = 1;
    window_ = std::make_unique<ORVA_WIN>(program);
    window_->resize(200, 150);
    program.browse.ONE_NAME = QStringLiteral("photo.jpg");
    window_->displayRefresh().REFRESH_SINGLE(0);
    PictureLoader& loader = window_->singleView().loader();
    ASSERT_EQ(loader.loads(), 1);
    const QSize first = loader.loadedBoxes()[0];
    loader.resetCount();

    window_->show();
    for (int width : {700, 900, 1200}) { // a window dragged bigger
        window_->resize(width, width * 2 / 3);
        QApplication::processEvents();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return loader.loads() == 1; }, 2000));
    QTest::qWait(3 * SingleView::kRegrowDelayMs);
    ASSERT_EQ(loader.loads(), 1) << "once, after the resizing";
    const QSize box = loader.loadedBoxes()[0];
    const QSize area = window_->DSP1_PICWAKU->contentsRect().size();
    EXPECT_GT(box.width(), first.width());
    EXPECT_GE(box.width(), area.width());
    EXPECT_GE(box.height(), area.height());
    // Fitted into the grown window from a picture at least as large as it is shown.
    const QSize shown = window_->DSP1_PIC->size();
    EXPECT_TRUE(shown.width() == area.width() || shown.height() == area.height());
    EXPECT_EQ(window_->DSP1_PIC->pixmap().size(), shown);
    IMAGE_INFO info{};
    ASSERT_EQ(PelmixImageInfo(program.browse.WORK_IMAGE, &info), 1);
    EXPECT_EQ(info.BIT_COUNT, 8);
    EXPECT_GE(info.WIDTH, shown.width());

    // Smaller again, or back to the same size: the picture decoded is good enough.
    loader.resetCount();
    window_->resize(900, 600);
    QApplication::processEvents();
    window_->resize(1200, 800);
    QApplication::processEvents();
    QTest::qWait(3 * SingleView::kRegrowDelayMs);
    EXPECT_EQ(loader.loads(), 0);
}

TEST_F(SingleViewTest, PressSelectsAndDragsThenDeselects) {
    picture("a.bmp", 200, 150);
    show(QStringLiteral("a.bmp"));
    ORVA_WIN& w = window();
    QTest::mousePress(w.DSP1_PIC, Qt::LeftButton);
    QTest::mouseRelease(w.DSP1_PIC, Qt::LeftButton);
    EXPECT_EQ(program.browse.CAT_CURRENT, QStringLiteral("a.bmp"));
    EXPECT_EQ(w.DSP1_FRM->backgroundRole(), QPalette::Highlight);
    ASSERT_EQ(drags.size(), 1u);
    EXPECT_EQ(drags[0], w.DSP1_PIC);
    EXPECT_EQ(w.CELL_DRAG_STATE, 1);

    // Pressed again while current: deselected, no drag.
    QTest::mousePress(w.DSP1_PICWAKU, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseRelease(w.DSP1_PICWAKU, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
    EXPECT_EQ(w.DSP1_FRM->backgroundRole(), QPalette::Button);
    EXPECT_EQ(drags.size(), 1u);
    EXPECT_EQ(program.settings.DSPM, 2); // a left click stays in the view

    // A third press selects again and drags from the window it was pressed on.
    QTest::mousePress(w.DSP1_PICWAKU, Qt::LeftButton, {}, QPoint(1, 1));
    ASSERT_EQ(drags.size(), 2u);
    EXPECT_EQ(drags[1], w.DSP1_PICWAKU);
}

TEST_F(SingleViewTest, RightClickAndDoubleClickGoBackToTheCatalogue) {
    picture("a.bmp", 200, 150);
    show(QStringLiteral("a.bmp"));
    ORVA_WIN& w = window();
    QTest::mouseClick(w.DSP1_PIC, Qt::RightButton);
    EXPECT_EQ(w.CELL_DRAG_STATE, 2);
    EXPECT_EQ(program.settings.DSPM, 1);
    EXPECT_TRUE(w.PIC8_BASE->isVisible());
    EXPECT_FALSE(w.PIC1_BASE->isVisible());

    w.BTN_DISP_GO->click();
    ASSERT_EQ(program.settings.DSPM, 2);
    // A double-click begins with an ordinary press (which selects and drags).
    QTest::mouseClick(w.DSP1_PIC, Qt::LeftButton);
    EXPECT_EQ(program.settings.DSPM, 2);
    QTest::mouseDClick(w.DSP1_PIC, Qt::LeftButton);
    EXPECT_EQ(program.settings.DSPM, 1);
    EXPECT_EQ(drags.size(), 1u);
}

TEST_F(SingleViewTest, ArrowKeysNeverPassTheLastFile) {
    picture("a.bmp", 20, 20);
    picture("b.bmp", 20, 20);
    picture("c.bmp", 20, 20);
    show(QStringLiteral("b.bmp"));
    ORVA_WIN& w = window();
    w.activateWindow();
    QTest::keyClick(&w, Qt::Key_Right);
    EXPECT_EQ(program.browse.ONE_NAME, QStringLiteral("c.bmp"));
    QTest::keyClick(&w, Qt::Key_Right);
    EXPECT_EQ(program.browse.ONE_NAME, QStringLiteral("c.bmp"));
    EXPECT_EQ(w.DSP1_NAME->text(), QStringLiteral("c.bmp"));
    QTest::keyClick(&w, Qt::Key_PageDown); // the page key stops there too
    EXPECT_EQ(program.browse.ONE_NAME, QStringLiteral("c.bmp"));
    QTest::keyClick(&w, Qt::Key_Left);
    QTest::keyClick(&w, Qt::Key_Left);
    QTest::keyClick(&w, Qt::Key_Left);
    EXPECT_EQ(program.browse.ONE_NAME, QStringLiteral("a.bmp"));
}

TEST_F(SingleViewTest, MagnificationListAndShowSingleFromTheMenu) {
    picture("a.bmp", 800, 600);
    picture("b.bmp", 800, 600);
    program.settings.DSPM = 1;
    program.settings.LDSP = 1;
    ORVA_WIN& w = window();
    program.browse.CAT_CURRENT = QStringLiteral("b.bmp");
    w.displayRefresh().REFRESH_CATALOGUE(0);
    program.browse.CAT_STALE = true;

    // The menu shows the first file of the page, not the current one.
    w.MNU_DISP_1->trigger();
    EXPECT_EQ(program.settings.DSPM, 2);
    EXPECT_EQ(program.browse.ONE_NAME, QStringLiteral("a.bmp"));
    EXPECT_FALSE(program.browse.CAT_STALE);
    EXPECT_TRUE(w.MAG_BASE->isVisible());

    w.MAG_SET->setCurrentIndex(1);
    emit w.MAG_SET->activated(1);
    EXPECT_EQ(program.settings.D1MD, 0.5f);
    EXPECT_EQ(w.DSP1_PIC->size(), QSize(400, 300));
    w.MAG_SET->setCurrentIndex(2);
    emit w.MAG_SET->activated(2);
    EXPECT_EQ(program.settings.D1MD, 1.0f);
    EXPECT_EQ(w.DSP1_PIC->size(), QSize(800, 600));
    emit w.MAG_SET->activated(0);
    EXPECT_EQ(program.settings.D1MD, 0.0f);

    // The menu item does nothing in the single view.
    program.browse.PAGE_NAME[0] = QStringLiteral("b.bmp");
    w.MNU_DISP_1->trigger();
    EXPECT_EQ(program.browse.ONE_NAME, QStringLiteral("a.bmp"));
}

TEST_F(SingleViewTest, NameClickHandsTheNameToRenameAndEmptyFolderHidesTheFrame) {
    picture("a.bmp", 20, 20);
    show(QStringLiteral("a.bmp"));
    ORVA_WIN& w = window();
    QTest::mouseClick(w.DSP1_NAME, Qt::LeftButton);
    EXPECT_EQ(program.RENAME_NAME, QStringLiteral("a.bmp"));
    QWidget* dialog = w.findChild<QWidget*>(QStringLiteral("REN_WIN"));
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(dialog->isVisible());
    delete dialog;

    QFile::remove(QString::fromStdString(folder.file("a.bmp")));
    show(QStringLiteral("a.bmp"));
    EXPECT_FALSE(w.DSP1_FRM->isVisible());
}

// The file the user steps to next is read ahead while the present one is shown, in the direction
// of travel: a step to it shows that picture without decoding it again, unless the file changed
// meanwhile, when what it holds now is shown.
TEST_F(SingleViewTest, TheNextFileInTheDirectionOfTravelIsReadAhead) {
    const auto colourAt = [](const QLabel* label) {
        const QImage shown = label->pixmap().toImage();
        return shown.pixelColor(shown.width() / 2, shown.height() / 2);
    };
    struct Case {
        const char* name;
        int16_t large;
        bool replaceNext;
    };
    for (const Case& c :
         {Case{"library", 1, false}, Case{"library, file replaced", 1, true},
          Case{"system loader", 0, false}, Case{"system loader, replaced", 0, true}}) {
        SCOPED_TRACE(c.name);
        window_.reset();
        for (const char* name : {"a.jpg", "b.jpg", "c.jpg"}) {
            picture(name, 1200, 900, "JPG");
        }
        program.settings.LDSP = c.large;
        show(QStringLiteral("b.jpg"));
        ORVA_WIN& w = window();
        SingleAhead& ahead = w.singleView().ahead();
        ahead.waitIdle();
        ASSERT_EQ(ahead.kept(), 1) << "c.jpg, after b.jpg";
        if (c.replaceNext) {
            QImage red(1200, 900, QImage::Format_RGB32);
            red.fill(QColor(220, 30, 30));
            QTest::qWait(20); // another modification time
            ASSERT_TRUE(red.save(QString::fromStdString(folder.file("c.jpg")), "JPG"));
        }
        const int decodes = ahead.decodes();
        // The arrows at the ends of the file scroll bar step as the user steps.
        QScrollBar* files = w.DSP1_SCR;
        const QPoint down(files->width() / 2, files->height() - 4), up(files->width() / 2, 4);
        QTest::mouseClick(files, Qt::LeftButton, {}, down);
        EXPECT_EQ(w.DSP1_NAME->text(), QStringLiteral("c.jpg"));
        const QColor shown = colourAt(w.DSP1_PIC);
        EXPECT_EQ(shown.red() > 150, c.replaceNext) << shown.name().toStdString();
        // At the last file the step went forwards: b.jpg is not read ahead; going back is.
        ahead.waitIdle();
        EXPECT_EQ(ahead.decodes(), decodes);
        QTest::mouseClick(files, Qt::LeftButton, {}, up);
        ahead.waitIdle();
        EXPECT_EQ(ahead.decodes(), decodes + 1) << "a.jpg, stepping back from b.jpg";
        EXPECT_LE(ahead.kept(), SingleAhead::kKept);
    }
}

} // namespace
