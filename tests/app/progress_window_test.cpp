// The progress window of the image library's long calls, as the user sees it during a
// conversion: up while the call runs, with the call's caption and text, gone shortly after.
#include "pelmix.h"
#include "progress_window.h"
#include "qt_support.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

struct Seen {
    bool visible = false;
    QString caption;
    QString text;
};

TEST(ProgressWindowTest, ShowsTheCallWhileItRunsAndGoesAfterwards) {
    testApplication();
    QWidget owner;
    owner.show();
    ProgressWindow progress(&owner);
    progress.install();
    TempDir dir;
    ImageHandle image =
        makeRgbImage(64, 48, [](int x, int y) { return testPattern(x, y, 64, 48); });

    // A timer due at once fires only when the window lets events through during the call.
    Seen seen;
    QTimer::singleShot(0, [&] {
        seen = {progress.isVisible(), progress.windowTitle(), progress.textLabel->text()};
    });
    const std::string path = dir.file("IMG0001.jpg");
    ASSERT_EQ(PelmixJpegFileSave(path.c_str(), image.get(), "変換保存中", "IMG0001.jpg", 75, 0), 1);
    EXPECT_TRUE(seen.visible);
    EXPECT_EQ(seen.caption, QStringLiteral("変換保存中"));
    EXPECT_EQ(seen.text, QStringLiteral("IMG0001.jpg"));
    EXPECT_EQ(progress.bar->value(), 100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !progress.isVisible(); }, 2000));

    // Calls that name no work show nothing.
    ASSERT_EQ(PelmixJpegFileSave(path.c_str(), image.get(), "", "", 75, 0), 1);
    EXPECT_FALSE(progress.isVisible());
}

} // namespace
