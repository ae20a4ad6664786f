// The page size fields of a scan window: the papers offered are those that lie on the device's
// area, a paper fills in the frame in either orientation, and a size of the user's own stays on
// the area.
#include "paper_area_fields.h"
#include "qt_support.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QTest>
#include <gtest/gtest.h>

using twaindsm::Frame;
using twaindsm::PaperAreaFields;

namespace {

constexpr double kInch = 25.4;

Frame millimetres(double left, double top, double width, double height) {
    return Frame{left / kInch, top / kInch, (left + width) / kInch, (top + height) / kInch};
}

QStringList entries(const QComboBox* box) {
    QStringList all;
    for (int i = 0; i < box->count(); ++i) {
        all += box->itemText(i).section(' ', 0, 0);
    }
    return all;
}

class PaperAreaFieldsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { testApplication(); }
};

TEST_F(PaperAreaFieldsTest, PapersThatLieOnTheAreaFillInTheFrame) {
    struct Row {
        const char* what;
        double areaWidth, areaHeight; // mm
        QStringList offered;
    };
    const Row rows[] = {
        {"an A4 flatbed",
         216,
         297,
         {"A4", "A5", "B5", "レター", "名刺", "読み取り範囲全体", "ユーザー定義"}},
        {"an A3 flatbed",
         297,
         432,
         {"A3", "A4", "A5", "B5", "レター", "リーガル", "名刺", "読み取り範囲全体",
          "ユーザー定義"}},
        // A5 lies on it only turned.
        {"a small glass", 215, 150, {"A5", "名刺", "読み取り範囲全体", "ユーザー定義"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        PaperAreaFields fields(millimetres(0, 0, row.areaWidth, row.areaHeight),
                               millimetres(0, 0, row.areaWidth, row.areaHeight));
        auto* paper = fields.findChild<QComboBox*>("paperBox");
        auto* orientation = fields.findChild<QComboBox*>("orientationBox");
        EXPECT_EQ(entries(paper), row.offered);
        EXPECT_EQ(paper->currentText(), "読み取り範囲全体") << "the frame shown first";

        paper->setCurrentIndex(paper->findText("A5", Qt::MatchStartsWith));
        const bool turnedOnly = row.areaHeight < 210;
        EXPECT_EQ(orientation->isEnabled(), !turnedOnly);
        if (!turnedOnly) {
            Frame f = fields.frame();
            EXPECT_NEAR((f.right - f.left) * kInch, 148, 0.05);
            EXPECT_NEAR((f.bottom - f.top) * kInch, 210, 0.05);
            orientation->setCurrentIndex(1);
        }
        const Frame f = fields.frame();
        EXPECT_NEAR(f.left, 0, 1e-9);
        EXPECT_NEAR((f.right - f.left) * kInch, 210, 0.05);
        EXPECT_NEAR((f.bottom - f.top) * kInch, 148, 0.05);
    }
}

TEST_F(PaperAreaFieldsTest, AUsersOwnSizeIsTypedAndStaysOnTheArea) {
    // An application's frame that is no paper shows as the user's own size.
    PaperAreaFields fields(millimetres(0, 0, 216, 297), millimetres(10, 20, 100, 50));
    auto* paper = fields.findChild<QComboBox*>("paperBox");
    auto* width = fields.findChild<QDoubleSpinBox*>("frameWidthBox");
    auto* left = fields.findChild<QDoubleSpinBox*>("frameLeftBox");
    EXPECT_EQ(paper->currentText(), "ユーザー定義");
    EXPECT_FALSE(width->isReadOnly());
    EXPECT_DOUBLE_EQ(left->value(), 10);

    // Typed as a user types: the width the area leaves beside the offset at most.
    width->setFocus();
    QTest::keyClick(width, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(width, "210");
    QTest::keyClick(width, Qt::Key_Return);
    EXPECT_DOUBLE_EQ(width->value(), 206);
    const Frame f = fields.frame();
    EXPECT_NEAR(f.right * kInch, 216, 0.05);
    EXPECT_NEAR(f.top * kInch, 20, 0.05);

    // A paper puts the frame at the corner, and its numbers are not typed over.
    paper->setCurrentIndex(paper->findText("A4", Qt::MatchStartsWith));
    EXPECT_TRUE(width->isReadOnly());
    EXPECT_DOUBLE_EQ(left->value(), 0);
    EXPECT_DOUBLE_EQ(width->value(), 210);
}

} // namespace
