// The virtual scanner in a process without an application object: its window cannot be shown,
// but scanning without it must still work (its pages are drawn without fonts).
#include "test_images.h"
#include "virtual_scanner.h"

#include <QCoreApplication>
#include <gtest/gtest.h>
#include <vector>

using namespace twaindsm;

TEST(VirtualScannerWithoutApplication, WindowIsRefusedAndScanningWithoutItWorks) {
    ASSERT_EQ(QCoreApplication::instance(), nullptr);
    VirtualScanner scanner;
    TW_UINT16 condition = 0;
    ASSERT_TRUE(scanner.open(condition));
    std::vector<TW_UINT16> notices;
    const NoticeSink sink = [&notices](TW_UINT16 n) { notices.push_back(n); };

    EXPECT_FALSE(scanner.enable(true, nullptr, sink, condition));
    EXPECT_EQ(condition, TWCC_OPERATIONERROR);
    EXPECT_TRUE(notices.empty());
    EXPECT_EQ(scanner.window(), nullptr);

    scanner.settings().frame = Frame{0, 0, 1, 1};
    scanner.settings().pixelType = TWPT_BW;
    ASSERT_TRUE(scanner.enable(false, nullptr, sink, condition));
    EXPECT_EQ(notices, std::vector<TW_UINT16>{MSG_XFERREADY});
    TW_HANDLE page = nullptr;
    ASSERT_EQ(scanner.transfer(page, condition), TWRC_XFERDONE);
    ImageHandle owned(page);
    EXPECT_EQ(infoOf(page).WIDTH, 150);
    EXPECT_EQ(infoOf(page).BIT_COUNT, 1);
    EXPECT_EQ(scanner.pending(), 0);
    scanner.close();
}
