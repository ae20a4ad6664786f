// Turns, the negative and cut-outs, checked pixel by pixel in the file the dialog saves.
#include "adjust_fixture.h"
#include "trim_frame.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

namespace {

class AdjustEditTest : public AdjustFixture {
protected:
    // The picture in the file, or an empty handle.
    ImageHandle load(const std::string& name) {
        return ImageHandle(PelmixFileLoad(folder.file(name).c_str(), "", ""));
    }
    static void expectPixels(HGLOBAL image, int width, int height,
                             const std::function<Colour(int, int)>& expected) {
        ASSERT_NE(image, nullptr);
        const IMAGE_INFO info = infoOf(image);
        ASSERT_EQ(info.WIDTH, width);
        ASSERT_EQ(info.HEIGHT, height);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                ASSERT_EQ(pixelAt(image, x, y), expected(x, y)) << x << "," << y;
            }
        }
    }
};

} // namespace

TEST_F(AdjustEditTest, EachTurnIsSavedOverTheFile) {
    constexpr int w = 3, h = 2;
    const struct {
        int turn;
        int width, height;
        std::function<Colour(int, int)> expected;
    } cases[] = {
        {0, h, w, [](int x, int y) { return grid(y, h - 1 - x); }},
        {1, h, w, [](int x, int y) { return grid(w - 1 - y, x); }},
        {2, w, h, [](int x, int y) { return grid(w - 1 - x, h - 1 - y); }},
        {3, w, h, [](int x, int y) { return grid(w - 1 - x, y); }},
        {4, w, h, [](int x, int y) { return grid(x, h - 1 - y); }},
        {5, w, h,
         [](int x, int y) {
             const Colour c = grid(x, y);
             return Colour{uint8_t(255 - c.r), uint8_t(255 - c.g), uint8_t(255 - c.b)};
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.turn);
        const std::string name = "t" + std::to_string(c.turn) + ".bmp";
        writeBmp(folder.file(name), w, h, grid);
        CNF_WIN* dialog = open(name);
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->CMD_BASE_CNG[0], Qt::LeftButton);
        QTest::mouseClick(dialog->TURN[c.turn], Qt::LeftButton);
        EXPECT_EQ(dialog->ADJ_WIDTH, c.width);
        QTest::mouseClick(dialog->Command3, Qt::LeftButton);
        EXPECT_TRUE(dialog->ADJ_OVERWRITTEN);
        dialog->close();
        expectPixels(load(name).get(), c.width, c.height, c.expected);
    }
    EXPECT_TRUE(prompter.messages().isEmpty());
}

TEST_F(AdjustEditTest, ATurnedCutOutMovedByTheMouseIsSavedWithItsColours) {
    writeBmp(folder.file("pic.bmp"), 6, 4, grid);
    CNF_WIN* dialog = open("pic.bmp");
    ASSERT_NE(dialog, nullptr);
    typeInto(dialog->BRIGHT_VAL, QStringLiteral("10"), true);
    typeInto(dialog->R_VAL, QStringLiteral("20"), true);
    QTest::mouseClick(dialog->CMD_BASE_CNG[0], Qt::LeftButton);
    QTest::mouseClick(dialog->TURN[0], Qt::LeftButton); // now 4 x 6
    QTest::mouseClick(dialog->CMD_BASE_CNG[2], Qt::LeftButton);

    // A rectangle dragged past the picture's corner covers all of it, never more.
    QLabel* img = dialog->IMG;
    const QPoint beyond(img->width() + 3, img->height() + 3);
    QTest::mousePress(img, Qt::LeftButton, {}, QPoint(1, 1)); // (0, 0) means the centre
    QTest::mouseMove(img, beyond);
    QTest::mouseRelease(img, Qt::LeftButton, {}, beyond);
    EXPECT_EQ(dialog->SIZE_X->text(), QStringLiteral("4"));
    EXPECT_EQ(dialog->SIZE_Y->text(), QStringLiteral("6"));
    EXPECT_TRUE(dialog->TRIMAREA->isVisible());

    // Sized 2 x 3 in the boxes, then moved by the mouse as far right and down as it goes.
    typeInto(dialog->SIZE_X, QStringLiteral("2"), true);
    typeInto(dialog->SIZE_Y, QStringLiteral("3"), true);
    const QRect area = dialog->TRIMAREA->geometry();
    const QPoint grab = area.center();
    QTest::mousePress(img, Qt::LeftButton, {}, grab);
    EXPECT_TRUE(dialog->TRIM_MOVE);
    QTest::mouseMove(img, beyond);
    QTest::mouseRelease(img, Qt::LeftButton, {}, beyond);
    EXPECT_FALSE(dialog->TRIM_DRAG);
    EXPECT_EQ(dialog->TRIM_ORIGIN[0], 2);
    EXPECT_EQ(dialog->TRIM_ORIGIN[1], 3);
    EXPECT_EQ(dialog->TRIMAREA->geometry().size(), area.size());

    QTest::mouseClick(dialog->Command14, Qt::LeftButton);
    EXPECT_EQ(dialog->ADJ_WIDTH, 2);
    EXPECT_EQ(dialog->ADJ_HEIGHT, 3);
    EXPECT_FALSE(dialog->TRIMAREA->isVisible());
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
    // Turned right, rows 3..5 and columns 2..3; brightness on every channel, red on red.
    const auto turned = [](int x, int y) { return grid(y, 4 - 1 - x); };
    expectPixels(load("pic.bmp").get(), 2, 3, [&](int x, int y) {
        const Colour c = turned(x + 2, y + 3);
        return Colour{uint8_t(c.r + 30), uint8_t(c.g + 10), uint8_t(c.b + 10)};
    });

    // Reloaded: the saved cut-out, whole. A 1 x 1 cut-out at the origin keeps that one pixel.
    QTest::mouseClick(dialog->Command16, Qt::LeftButton);
    EXPECT_TRUE(dialog->TRIM_SET);
    QTest::mouseClick(dialog->Command17, Qt::LeftButton);
    EXPECT_FALSE(dialog->TRIM_SET);
    EXPECT_EQ(dialog->SIZE_X->text(), QStringLiteral("0"));
    typeInto(dialog->SIZE_X, QStringLiteral("1"), true);
    typeInto(dialog->SIZE_Y, QStringLiteral("0"), true); // at least 1
    EXPECT_EQ(dialog->SIZE_Y->text(), QStringLiteral("1"));
    QTest::mouseClick(dialog->Command14, Qt::LeftButton);
    EXPECT_EQ(dialog->ADJ_WIDTH, 1);
    EXPECT_EQ(dialog->ADJ_HEIGHT, 1);
    // Cancelling leaves no rectangle; cutting without one changes nothing.
    QTest::mouseClick(dialog->Command17, Qt::LeftButton);
    QTest::mouseClick(dialog->Command14, Qt::LeftButton);
    EXPECT_EQ(dialog->ADJ_WIDTH, 1);
    typeInto(dialog->BRIGHT_VAL, QStringLiteral("0"), true);
    typeInto(dialog->R_VAL, QStringLiteral("0"), true);
    QTest::mouseClick(dialog->Command3, Qt::LeftButton);
    const Colour first = turned(2, 3);
    expectPixels(load("pic.bmp").get(), 1, 1, [&](int, int) {
        return Colour{uint8_t(first.r + 30), uint8_t(first.g + 10), uint8_t(first.b + 10)};
    });
}

TEST_F(AdjustEditTest, SizeButtonsStepByOneAndRepeatByTenOnTheTimer) {
    writeBmp(folder.file("wide.bmp"), 300, 40, [](int, int) { return Colour{1, 2, 3}; });
    program.settings.CNFP = 2;
    CNF_WIN* dialog = open("wide.bmp");
    ASSERT_NE(dialog, nullptr);
    QTest::mouseClick(dialog->Command6, Qt::LeftButton);
    QTest::mouseClick(dialog->Command6, Qt::LeftButton);
    QTest::mouseClick(dialog->Command7, Qt::LeftButton);
    QTest::mouseClick(dialog->Command10, Qt::LeftButton);
    QTest::mouseClick(dialog->Command10, Qt::LeftButton);
    QTest::mouseClick(dialog->Command12, Qt::LeftButton);
    EXPECT_EQ(dialog->SIZE_X->text(), QStringLiteral("1"));
    EXPECT_EQ(dialog->SIZE_Y->text(), QStringLiteral("1"));
    EXPECT_TRUE(dialog->TRIMAREA->isVisible());

    // Held: a step of ten every tenth of a second, for as long as the button is held, however
    // fast the machine runs the timer.
    QTest::mousePress(dialog->Command8, Qt::LeftButton);
    EXPECT_TRUE(dialog->Timer1->isActive());
    EXPECT_EQ(dialog->Timer1->interval(), 100);
    QTRY_VERIFY_WITH_TIMEOUT(dialog->SIZE_X->text().toInt() >= 51, 10000);
    QTest::mouseRelease(dialog->Command8, Qt::LeftButton);
    EXPECT_FALSE(dialog->Timer1->isActive());
    const int grown = dialog->SIZE_X->text().toInt();
    EXPECT_EQ((grown - 1) % 10, 0) << grown;
    QTest::qWait(250);
    EXPECT_EQ(dialog->SIZE_X->text().toInt(), grown);

    // Never below 1, never beyond the picture.
    QTest::mousePress(dialog->Command9, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(dialog->SIZE_X->text(), QStringLiteral("1"), 3000);
    QTest::qWait(250);
    EXPECT_EQ(dialog->SIZE_X->text(), QStringLiteral("1"));
    QTest::mouseRelease(dialog->Command9, Qt::LeftButton);
    QTest::mousePress(dialog->Command11, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(dialog->SIZE_Y->text(), QStringLiteral("40"), 3000);
    QTest::qWait(250);
    EXPECT_EQ(dialog->SIZE_Y->text(), QStringLiteral("40"));
    EXPECT_EQ(dialog->TRIM_SIZE[1], 40);
    QTest::mouseRelease(dialog->Command11, Qt::LeftButton);
    QTest::mousePress(dialog->Command13, Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(dialog->SIZE_Y->text(), QStringLiteral("30"), 1000);
    QTest::mouseRelease(dialog->Command13, Qt::LeftButton);
    EXPECT_EQ(dialog->TRIM_SIZE[1], 30);
}

TEST(TrimFrame, ItsLineShowsOnAPictureOfAnyColour) {
    testApplication();
    for (const QColor picture : {QColor(Qt::red), QColor(Qt::black), QColor(Qt::white)}) {
        SCOPED_TRACE(picture.name().toStdString());
        QWidget under;
        under.resize(60, 50);
        QPalette palette = under.palette();
        palette.setColor(QPalette::Window, picture);
        under.setPalette(palette);
        under.setAutoFillBackground(true);
        TrimFrame frame(&under);
        frame.setGeometry(10, 10, 40, 30);
        const QImage drawn = under.grab().toImage();
        // Along the top edge, both lines of it: dashes darker and lighter than the picture.
        int differs = 0;
        for (int y : {10, 11}) {
            for (int x = 10; x < 50; ++x) {
                differs += drawn.pixelColor(x, y) != picture ? 1 : 0;
            }
        }
        EXPECT_GE(differs, 30) << "the line does not show";
        EXPECT_EQ(drawn.pixelColor(30, 25), picture) << "the inside stays the picture";
    }
}
