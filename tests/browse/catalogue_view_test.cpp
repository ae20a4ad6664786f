// Drawing the catalogue: unchanged cells are never read again, pictures move with their files
// when the page shifts (both ways), changed and "DUMMY" cells are read again, thumbnails stand in
// for current files only, and the display modes, Cancel and unreadable files.
#include "catalogue_fixture.h"
#include "catalogue_layout.h"
#include "fifo.h"
#include "upper_ascii.h"

#include <QAction>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QTest>
#include <QTimer>
#include <chrono>
#include <filesystem>

class CatalogueViewTest : public CatalogueFixture {};

TEST_F(CatalogueViewTest, FirstPageLoadsEachCellOnceAndShowsItsFile) {
    makePictures(20);
    refresh().displayFolderChanged();
    EXPECT_EQ(loader().loads(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(window().DSP8_FRM[i]->isVisibleTo(window().PIC8_BASE)) << i;
        EXPECT_TRUE(near(shownColour(i), colourOf(i))) << i;
        EXPECT_EQ(window().DSP8_NAME[i]->text().toStdString(), nameOf(i));
    }
    for (int i = 8; i < 12; ++i) {
        EXPECT_FALSE(window().DSP8_FRM[i]->isVisibleTo(window().PIC8_BASE)) << i;
    }
}

TEST_F(CatalogueViewTest, CellsGrownPastTheirPictureAreDecodedAgainOnce) {
    makePictures(2, 1600, 1200);
    // The first page read in a window at its smallest, before it is shown.
    window_ = std::make_unique<ORVA_WIN>(program);
    window_->resize(200, 150);
    refresh().REFRESH_CATALOGUE(1);
    ASSERT_EQ(loader().loads(), 2);
    const QSize first = loader().loadedBoxes()[0];
    loader().resetCount();

    window_->show();
    for (int width : {700, 900, 1200}) { // a window dragged bigger
        window_->resize(width, width * 2 / 3);
        QApplication::processEvents();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return loader().loads() == 2; }, 2000));
    QTest::qWait(3 * CatalogueView::kRegrowDelayMs);
    ASSERT_EQ(loader().loads(), 2) << "each cell once, after the resizing";
    const QSize now = loader().loadedBoxes()[0];
    EXPECT_GT(now.width(), first.width());
    EXPECT_GT(now.height(), first.height());

    // Smaller again, or back to the same size: the pictures decoded are good enough.
    loader().resetCount();
    window_->resize(900, 600);
    QApplication::processEvents();
    window_->resize(1200, 800);
    QApplication::processEvents();
    QTest::qWait(3 * CatalogueView::kRegrowDelayMs);
    EXPECT_EQ(loader().loads(), 0);
}

TEST_F(CatalogueViewTest, WhileItDrawsThePicturesShowAsTheyAreBehindAnOpaqueWaitFrame) {
    makePictures(8, 640, 480);
    ORVA_WIN& w = window();
    refresh().displayFolderChanged();
    bool looked = false;
    QTimer::singleShot(0, [&] { // runs inside the next refresh, between two cells
        looked = true;
        ASSERT_TRUE(w.DSP8_WAIT_FRM->isVisible());
        EXPECT_FALSE(w.CMD_BASE->isEnabled());
        // A picture is drawn in its colour, not greyed as on a disabled panel.
        const QImage cell = w.DSP8_IMG[0]->grab().toImage();
        const QRgb middle = cell.pixel(cell.width() / 2, cell.height() / 2);
        EXPECT_TRUE(
            near(Colour{uint8_t(qRed(middle)), uint8_t(qGreen(middle)), uint8_t(qBlue(middle))},
                 colourOf(0)));
        // Where the wait frame lies over a picture, it shows its own background.
        QWidget* central = w.DSP8_WAIT_FRM->parentWidget();
        const QImage screen = central->grab().toImage();
        const QRect frame = w.DSP8_WAIT_FRM->geometry();
        const QColor background = w.DSP8_WAIT_FRM->palette().color(QPalette::Window);
        int over = 0;
        for (int y = frame.top() + frame.height() / 3; y < frame.bottom(); y += 4) {
            const QPoint inside(frame.left() + 3, y);
            for (int i = 0; i < 8; ++i) {
                QLabel* picture = w.DSP8_IMG[i];
                const QRect shown(picture->mapTo(central, QPoint(0, 0)), picture->size());
                if (picture->isVisible() && shown.contains(inside)) {
                    ++over;
                    const QRgb shownThere = screen.pixel(inside);
                    EXPECT_TRUE(near(Colour{uint8_t(qRed(shownThere)), uint8_t(qGreen(shownThere)),
                                            uint8_t(qBlue(shownThere))},
                                     Colour{uint8_t(background.red()), uint8_t(background.green()),
                                            uint8_t(background.blue())}))
                        << QColor(shownThere).name().toStdString() << " at " << y;
                }
            }
        }
        EXPECT_GT(over, 0) << "the wait frame is meant to cover a picture";
        // The cells take no clicks meanwhile.
        QTest::mouseClick(w.DSP8_IMG[1], Qt::RightButton);
        QTest::mouseClick(w.DSP8_IMG[1], Qt::LeftButton);
        EXPECT_TRUE(program.browse.CAT_CURRENT.isEmpty());
        EXPECT_EQ(program.settings.DSPM, 1);
    });
    w.MNU_DISP_REDISP->trigger();
    EXPECT_TRUE(looked);
    EXPECT_TRUE(w.CMD_BASE->isEnabled());
    QTest::mouseClick(w.DSP8_IMG[1], Qt::LeftButton);
    EXPECT_EQ(program.browse.CAT_CURRENT.toStdString(), nameOf(1));
}

TEST_F(CatalogueViewTest, ScrollingOnePositionLoadsOnlyTheNewLastCell) {
    makePictures(20);
    refresh().displayFolderChanged();
    loader().resetCount();

    refresh().catalogueScrolled(2); // the page now starts at the second file
    EXPECT_EQ(names(loader().loadedPaths()), QStringList{QStringLiteral("p08.jpg")});
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(near(shownColour(i), colourOf(i + 1))) << i;
    }

    // Back up by one: the pictures move down, from the last cell first.
    loader().resetCount();
    refresh().catalogueScrolled(1);
    EXPECT_EQ(names(loader().loadedPaths()), QStringList{QStringLiteral("p00.jpg")});
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(near(shownColour(i), colourOf(i))) << i;
    }
}

TEST_F(CatalogueViewTest, PageShiftKeepsThePicturesStillOnThePage) {
    makePictures(20);
    refresh().displayFolderChanged();
    refresh().nextPage(); // 8-15
    refresh().nextPage(); // 13-19: 13, 14 and 15 move up from the end of the page
    loader().resetCount();
    refresh().nextPage(); // the same page again
    EXPECT_EQ(loader().loads(), 0);
    refresh().previousPage(); // 4-11: nothing of 13-19 stays
    EXPECT_EQ(loader().loads(), 8);
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(near(shownColour(i), colourOf(i + 4))) << i;
    }
}

TEST_F(CatalogueViewTest, RefreshInPlaceReadsOnlyChangedFiles) {
    makePictures(10);
    refresh().displayFolderChanged();
    loader().resetCount();

    refresh().redrawInPlace();
    EXPECT_EQ(loader().loads(), 0);

    writePicture(folder.file(nameOf(3)), colourOf(9), 64, 48);
    touch(folder.file(nameOf(3)), 5);
    refresh().redrawInPlace();
    EXPECT_EQ(names(loader().loadedPaths()), QStringList{QStringLiteral("p03.jpg")});
    EXPECT_TRUE(near(shownColour(3), colourOf(9)));
}

TEST_F(CatalogueViewTest, RemovedFileShiftsTheRestOfThePageWithoutReadingThem) {
    makePictures(10);
    refresh().displayFolderChanged();
    loader().resetCount();
    ASSERT_TRUE(QFile::remove(QString::fromStdString(folder.file(nameOf(2)))));
    refresh().redrawInPlace(); // 0 1 3 4 5 6 7 8
    EXPECT_EQ(names(loader().loadedPaths()), QStringList{QStringLiteral("p08.jpg")});
    const int shown[] = {0, 1, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < 8; ++i) {
        EXPECT_TRUE(near(shownColour(i), colourOf(shown[i]))) << i;
    }
}

TEST_F(CatalogueViewTest, PictureTogglesDrawEveryCellAgain) {
    makePictures(5);
    refresh().displayFolderChanged();
    loader().resetCount();

    window().MNU_DISP_8DSP->trigger();
    EXPECT_EQ(window().MNU_DISP_8DSP->text(), QStringLiteral("複数枚表示時に絵を表示する"));
    EXPECT_EQ(loader().loads(), 0);
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(window().DSP8_FRM[i]->isVisibleTo(window().PIC8_BASE));
        EXPECT_FALSE(window().DSP8_IMG[i]->isVisibleTo(window().PIC8_BASE)) << i;
    }

    window().MNU_DISP_8DSP->trigger();
    EXPECT_EQ(window().MNU_DISP_8DSP->text(), QStringLiteral("複数枚表示時に絵を表示しない"));
    EXPECT_EQ(loader().loads(), 5);
    EXPECT_TRUE(window().DSP8_IMG[4]->isVisibleTo(window().PIC8_BASE));
}

TEST_F(CatalogueViewTest, CancelLeavesNamesOnlyAndTheNextRedrawBringsThePictures) {
    makePictures(8);
    window();
    QMetaObject::invokeMethod(&window(), "onCommand3", Qt::QueuedConnection);
    refresh().displayFolderChanged();
    EXPECT_EQ(loader().loads(), 0);
    EXPECT_EQ(window().DSP8_NAME[7]->text(), QStringLiteral("p07.jpg"));
    EXPECT_FALSE(window().DSP8_IMG[0]->isVisibleTo(window().PIC8_BASE));

    refresh().redrawInPlace();
    EXPECT_EQ(loader().loads(), 8);
}

TEST_F(CatalogueViewTest, UnreadableFileShowsTheTooLargePictureWithoutAMessage) {
    makePictures(2);
    ASSERT_TRUE(writeBytes(folder.file("bad.jpg"), "\xff\xd8\xff\xe0garbage", 10));
    ASSERT_TRUE(writeBytes(folder.file("empty.bmp"), "", 0));
    refresh().displayFolderChanged(); // bad.jpg, empty.bmp, p00.jpg, p01.jpg
    const QImage tooLarge = window().TOOLARGE->pixmap().toImage();
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(view().pictureSize(i), tooLarge.size()) << i;
        EXPECT_TRUE(window().DSP8_IMG[i]->isVisibleTo(window().PIC8_BASE)) << i;
    }
    EXPECT_EQ(view().pictureSize(2), QSize(64, 48));
    EXPECT_TRUE(prompter.requests.empty());
}

TEST_F(CatalogueViewTest, CurrentThumbnailStandsInForItsFile) {
    makePictures(2);
    std::filesystem::create_directory(folder.file("thumbs"));
    const std::string inf = "' thumbnails\r\nTNDN,elsewhere\r\nTNDN, thumbs ' kept here\r\n";
    ASSERT_TRUE(writeBytes(folder.file("SNAPLET.INF"), inf.data(), inf.size()));
    // p00's thumbnail carries its file's time; p01's is older than its file.
    for (int i = 0; i < 2; ++i) {
        const std::string thumbnail = folder.file("thumbs/" + nameOf(i));
        writePicture(thumbnail, colourOf(7), 32, 24);
        std::filesystem::last_write_time(thumbnail,
                                         std::filesystem::last_write_time(folder.file(nameOf(i))) -
                                             std::chrono::seconds(i * 60));
    }
    program.settings.UTNT = 1;
    refresh().displayFolderChanged();
    EXPECT_EQ(loader().loadedPaths().value(0), program.browse.DISP_DIR + "thumbs/p00.jpg");
    EXPECT_EQ(loader().loadedPaths().value(1), program.browse.DISP_DIR + "p01.jpg");
    EXPECT_TRUE(near(shownColour(0), colourOf(7)));
    EXPECT_TRUE(near(shownColour(1), colourOf(1)));

    program.settings.UTNT = 0;
    program.browse.PAGE_DATE.fill(QStringLiteral("DUMMY"));
    refresh().redrawInPlace();
    EXPECT_EQ(loader().loadedPaths().value(2), program.browse.DISP_DIR + "p00.jpg");
}

// FIFOs where the catalogue expects files: the companion's note, a thumbnail, a picture. None is
// waited on; the pictures around them are shown.
TEST_F(CatalogueViewTest, AFifoForTheCompanionsNoteAThumbnailOrAPictureNeverHoldsTheWindow) {
    makePictures(3);
    std::filesystem::create_directory(folder.file("thumbs"));
    program.settings.UTNT = 1;
    const std::string inf = "TNDN,thumbs\r\n";
    for (const std::string planted : {"SNAPLET.INF", "thumbs/p00.jpg", "p01.jpg"}) {
        SCOPED_TRACE(planted);
        ASSERT_TRUE(writeBytes(folder.file("SNAPLET.INF"), inf.data(), inf.size()));
        const PlantedFifo fifo(folder.file(planted));
        ASSERT_TRUE(fifo.made());
        if (planted == "thumbs/p00.jpg") { // a thumbnail as current as its picture
            std::filesystem::last_write_time(
                folder.file(planted), std::filesystem::last_write_time(folder.file("p00.jpg")));
        }
        refresh().displayFolderChanged();
        EXPECT_EQ(fifo.rescues(), 0);
        EXPECT_TRUE(near(shownColour(0), colourOf(0)));
        EXPECT_EQ(program.browse.PAGE_NAME[1], planted == "p01.jpg" ? "p02.jpg" : "p01.jpg");
        EXPECT_TRUE(prompter.requests.empty());
    }
}

TEST_F(CatalogueViewTest, HandleModeKeepsAndMovesTheCellsHandles) {
    program.settings.C256 = 1;
    makePictures(10);
    refresh().displayFolderChanged();
    for (int i = 0; i < 8; ++i) {
        ASSERT_NE(program.browse.PAGE_IMAGE[i], nullptr) << i;
        EXPECT_EQ(infoOf(program.browse.PAGE_IMAGE[i]).BIT_COUNT, 8);
        EXPECT_TRUE(window().DSP8_IMG2[i]->isVisibleTo(window().PIC8_BASE));
        EXPECT_FALSE(window().DSP8_IMG[i]->isVisibleTo(window().PIC8_BASE));
    }
    const HGLOBAL second = program.browse.PAGE_IMAGE[1];
    loader().resetCount();
    refresh().catalogueScrolled(2);
    EXPECT_EQ(loader().loads(), 1);
    EXPECT_EQ(program.browse.PAGE_IMAGE[0], second);
    window().DSP8_IMG2[0]->repaint(); // paints from the handle
}

TEST_F(CatalogueViewTest, LargeAndSixteenColourModesDrawThroughTheLibrary) {
    makePictures(1, 400, 100);
    ImageHandle tiff = makeRgbImage(30, 20, [](int, int) { return colourOf(3); });
    ASSERT_NE(PelmixTiffFileSave(folder.file("q.tif").c_str(), tiff.get(), "", "", 0), 0);

    program.settings.CD16 = 1;
    refresh().displayFolderChanged(); // p00.jpg, q.tif
    EXPECT_EQ(view().pictureSize(0), QSize(400, 100));
    EXPECT_EQ(view().pictureSize(1), QSize(30, 20));
    EXPECT_TRUE(near(shownColour(1), colourOf(3)));
    EXPECT_EQ(program.browse.WORK_IMAGE, nullptr);

    program.settings.CD16 = 0;
    program.settings.LDSP = 1;
    program.browse.PAGE_DATE.fill(QStringLiteral("DUMMY"));
    refresh().redrawInPlace();
    const QSize bounds = refresh().largeBounds();
    EXPECT_EQ(view().pictureSize(0).width(), bounds.width()) << "fitted into the large bounds";
    EXPECT_EQ(program.browse.WORK_IMAGE, nullptr);
}

TEST_F(CatalogueViewTest, CellGeometryFollowsTheGridInTwips) {
    makePictures(12, 20, 60);
    program.settings.CMTX = 3;
    program.settings.CMTY = 4;
    program.settings.CMTT = 12;
    window().CATALOGUE_LAYOUT();
    refresh().displayFolderChanged();
    const double dpiX = window().PIC8_BASE->logicalDpiX();
    const auto twips = [&](int pixels) { return pixels * 1440.0 / dpiX; };
    for (int i : {0, 4, 11}) {
        const QRect cell = view().cellTwips(i);
        const QRect onScreen = window().DSP8_FRM[i]->geometry();
        EXPECT_NEAR(twips(onScreen.x()), cell.x(), 15.0) << i;
        EXPECT_NEAR(twips(onScreen.width()), cell.width(), 30.0) << i;
        // Small pictures are enlarged until they touch the available height.
        const std::optional<QRect> picture = view().pictureTwips(i);
        ASSERT_TRUE(picture.has_value());
        EXPECT_EQ(picture->height(), cell.height() - CatalogueLayout::kVerticalMargin);
        EXPECT_EQ(picture->y(), CatalogueLayout::kPictureTop);
        EXPECT_NEAR(twips(window().DSP8_IMG[i]->height()), picture->height(), 30.0);
    }
    EXPECT_EQ(view().cellTwips(3).y(), view().cellTwips(5).y()) << "cells 3-5 form row 1";
}

TEST_F(CatalogueViewTest, LoaderDecodesLargeJpegsAtCellSize) {
    writePicture(folder.file("big.jpg"), colourOf(1), 1600, 1200);
    QSize natural;
    const QImage picture = loader().loadImage(QString::fromStdString(folder.file("big.jpg")),
                                              QSize(200, 150), &natural);
    EXPECT_EQ(natural, QSize(1600, 1200));
    EXPECT_EQ(picture.size(), QSize(200, 150));
    EXPECT_TRUE(loader().loadImage(QStringLiteral("/nonexistent/x.jpg"), QSize(9, 9)).isNull());
    EXPECT_EQ(loader().loads(), 2);
}

TEST_F(CatalogueViewTest, NamesDrawnWhileADialogHoldsTheWindowAreNotGreyAfterwards) {
    makePictures(3);
    ORVA_WIN& w = window();
    refresh().displayFolderChanged();
    w.setEnabled(false); // as a dialog does while a refresh runs
    program.browse.CAT_CURRENT = QStringLiteral("p01.jpg");
    refresh().redrawInPlace();
    w.setEnabled(true);
    const QPalette& own = w.palette();
    for (const int i : {0, 1}) {
        SCOPED_TRACE(i);
        const QPalette& name = w.DSP8_NAME[i]->palette();
        EXPECT_EQ(
            name.color(QPalette::Active, QPalette::Text),
            own.color(QPalette::Active, i == 1 ? QPalette::HighlightedText : QPalette::ButtonText));
        EXPECT_EQ(name.color(QPalette::Disabled, QPalette::Text),
                  own.color(QPalette::Disabled,
                            i == 1 ? QPalette::HighlightedText : QPalette::ButtonText));
    }
}
