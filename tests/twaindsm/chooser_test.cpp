// The source chooser, shown for MSG_USERSELECT and driven by a timer as a user would: OK
// remembers the choice, Cancel leaves everything as it was.
#include "manager_harness.h"
#include "qt_support.h"
#include "source_chooser.h"

#include <QApplication>
#include <QListWidget>
#include <QPushButton>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

using namespace twaindsm;
using namespace twaindsm::testing;

namespace {

// Runs act on the chooser once it is on screen; gives up (closing nothing) after two seconds.
void whenChooserShows(std::function<void(SourceChooser&)> act) {
    auto* timer = new QTimer(&testApplication());
    auto tries = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, tries, act] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            auto* chooser = qobject_cast<SourceChooser*>(widget);
            if (chooser && chooser->isVisible()) {
                timer->deleteLater();
                timer->stop();
                act(*chooser);
                return;
            }
        }
        if (++*tries > 200)
            timer->stop();
    });
    timer->start(10);
}

QListWidget& listOf(SourceChooser& chooser) {
    return *chooser.findChild<QListWidget*>(QStringLiteral("sourceList"));
}
void click(SourceChooser& chooser, const char* button) {
    chooser.findChild<QPushButton*>(QString::fromLatin1(button))->click();
}

struct ChooserTest : ::testing::Test {
    void SetUp() override { testApplication(); }
    ManagerHarness h;
    TW_IDENTITY chosen{};

    TW_UINT16 select() { return h.toManager(DAT_IDENTITY, MSG_USERSELECT, &chosen); }
    std::string rememberedText() { return readBytes(h.config.file("orvana/twain-default-source")); }
};

TEST_F(ChooserTest, OkRemembersTheChoice) {
    ASSERT_TRUE(h.openManager());
    QStringList shown;
    int selectedRow = -1;
    whenChooserShows([&](SourceChooser& chooser) {
        QListWidget& list = listOf(chooser);
        for (int i = 0; i < list.count(); ++i)
            shown << list.item(i)->text();
        selectedRow = list.currentRow();
        list.setCurrentRow(2);
        click(chooser, "okButton");
    });
    ASSERT_EQ(select(), TWRC_SUCCESS);
    EXPECT_EQ(shown, (QStringList{"Scanner A", "Scanner B", "Virtual Scanner"}));
    EXPECT_EQ(selectedRow, 0) << "the current default is selected";
    EXPECT_STREQ(chosen.ProductName, "Virtual Scanner");
    EXPECT_EQ(rememberedText(), "Virtual Scanner\n");

    TW_IDENTITY byDefault{};
    ASSERT_EQ(h.toManager(DAT_IDENTITY, MSG_GETDEFAULT, &byDefault), TWRC_SUCCESS);
    EXPECT_STREQ(byDefault.ProductName, "Virtual Scanner");

    // Next time the remembered source is the one selected.
    whenChooserShows([&](SourceChooser& chooser) {
        selectedRow = listOf(chooser).currentRow();
        click(chooser, "okButton");
    });
    ASSERT_EQ(select(), TWRC_SUCCESS);
    EXPECT_EQ(selectedRow, 2);
    EXPECT_EQ(h.manager.state(), 3);
    EXPECT_TRUE(h.journal.empty()) << "choosing opens no source";
}

TEST_F(ChooserTest, CancelChangesNothing) {
    ASSERT_TRUE(h.openManager());
    std::strcpy(chosen.ProductName, "untouched");
    whenChooserShows([&](SourceChooser& chooser) {
        listOf(chooser).setCurrentRow(1);
        click(chooser, "cancelButton");
    });
    EXPECT_EQ(select(), TWRC_CANCEL);
    EXPECT_STREQ(chosen.ProductName, "untouched");
    EXPECT_FALSE(std::filesystem::exists(h.config.file("orvana/twain-default-source")));
    EXPECT_EQ(h.condition(), TWCC_SUCCESS) << "cancelling is no failure";
}

TEST_F(ChooserTest, ShownOverTheApplicationWindow) {
    QWidget window;
    window.show();
    auto hwnd = reinterpret_cast<HWND>(window.winId());
    ASSERT_EQ(h.toManager(DAT_PARENT, MSG_OPENDSM, &hwnd), TWRC_SUCCESS);
    QWidget* owner = nullptr;
    whenChooserShows([&](SourceChooser& chooser) {
        owner = chooser.parentWidget();
        click(chooser, "cancelButton");
    });
    EXPECT_EQ(select(), TWRC_CANCEL);
    EXPECT_EQ(owner, &window);
}

TEST_F(ChooserTest, OnlyBetweenOpeningAndClosingTheManager) {
    EXPECT_EQ(select(), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_SEQERROR);
    ASSERT_TRUE(h.openManager());
    EXPECT_EQ(h.toManager(DAT_IDENTITY, MSG_USERSELECT, nullptr), TWRC_FAILURE);
    EXPECT_EQ(h.condition(), TWCC_BADVALUE);
}

TEST(SourceChooserDialog, OkNeedsASelection) {
    testApplication();
    SourceChooser empty(QStringList{}, 0);
    EXPECT_FALSE(empty.findChild<QPushButton*>(QStringLiteral("okButton"))->isEnabled());
    EXPECT_EQ(empty.chosenIndex(), -1);

    SourceChooser chooser(QStringList{"one", "two"}, 5);
    EXPECT_EQ(chooser.chosenIndex(), -1) << "an out-of-range default selects nothing";
    listOf(chooser).setCurrentRow(1);
    EXPECT_TRUE(chooser.findChild<QPushButton*>(QStringLiteral("okButton"))->isEnabled());
    EXPECT_EQ(chooser.chosenIndex(), 1);
}

} // namespace
