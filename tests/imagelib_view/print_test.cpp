// Printing through a printer context: pages of one document, job bookkeeping, the rectangle.
#include "device_context.h"
#include "gui_app.h"
#include "pelmix_view.h"
#include "recording_printer.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QPrinter>
#include <filesystem>
#include <gtest/gtest.h>

namespace {

class Print : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ensureGuiApplication(); }

    ImageHandle image_ = makeRgbImage(4, 3, [](int x, int y) {
        return Colour{uint8_t(x * 60), uint8_t(y * 100), 30};
    });
    TempDir dir_;
};

// Page objects of a PDF file (not the page tree, "/Type /Pages").
int pdfPages(const std::string& pdf) {
    const std::string page = "/Type /Page";
    int count = 0;
    for (size_t at = pdf.find(page); at != std::string::npos; at = pdf.find(page, at + 1)) {
        if (pdf.compare(at, page.size() + 1, "/Type /Pages") != 0) {
            ++count;
        }
    }
    return count;
}

void usePdf(QPrinter& printer, const std::string& path) {
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
}

TEST(PrintRectangle, TenthsOfAMillimetreBecomePrinterPixels) {
    // 254 tenths are one inch.
    EXPECT_EQ(PelmixDeviceContext::tenthsToPixels({0, 0, 254, 508}, 300, 300),
              QRectF(0, 0, 300, 600));
    EXPECT_EQ(PelmixDeviceContext::tenthsToPixels({127, 254, 381, 762}, 600, 1200),
              QRectF(300, 1200, 600, 2400));
    const QRectF fraction = PelmixDeviceContext::tenthsToPixels({10, 0, 20, 1}, 72, 72);
    EXPECT_DOUBLE_EQ(fraction.left(), 720.0 / 254);
    EXPECT_DOUBLE_EQ(fraction.width(), 720.0 / 254);
    EXPECT_DOUBLE_EQ(fraction.height(), 72.0 / 254);
    // Left of or above the printable area is still a rectangle.
    EXPECT_EQ(PelmixDeviceContext::tenthsToPixels({-254, -254, 0, 0}, 100, 100),
              QRectF(-100, -100, 100, 100));
    EXPECT_TRUE(PelmixDeviceContext::tenthsToPixels({10, 10, 10, 20}, 300, 300).isEmpty());
    EXPECT_TRUE(PelmixDeviceContext::tenthsToPixels({10, 20, 30, 19}, 300, 300).isEmpty());
}

TEST_F(Print, PlacesThePictureByThePrintersResolution) {
    RecordingEngine engine(600);
    RecordingPrinter printer(engine);
    HDC dc = PelmixCreatePrinterDC(&printer);
    ASSERT_EQ(PelmixPrintStart(dc, "Catalogue"), 1);
    EXPECT_EQ(engine.documentName, "Catalogue");
    const RECT first{100, 200, 354, 708}; // 25.4 mm wide, 50.8 mm high
    ASSERT_EQ(PelmixPrint(1, dc, image_.get(), &first, 0), 1);
    ASSERT_EQ(PelmixPrintEnd(dc), 1);

    ASSERT_EQ(PelmixPrintStart(dc, "Renamed"), 2);
    EXPECT_EQ(engine.documentName, "Catalogue"); // one document, named once
    const RECT second{0, 0, 127, 127};
    ASSERT_EQ(PelmixPrint(2, dc, image_.get(), &second, 0), 1);
    ASSERT_EQ(PelmixPrintEnd(dc), 1);
    EXPECT_EQ(engine.ends, 0); // the document stays open until the context goes
    PelmixDeleteDC(dc);

    EXPECT_EQ(engine.begins, 1);
    EXPECT_EQ(engine.ends, 1);
    EXPECT_EQ(engine.newPages, 1);
    ASSERT_EQ(engine.draws.size(), 2u);
    const RecordedDraw& a = engine.draws[0];
    EXPECT_EQ(a.page, 0);
    EXPECT_EQ(a.imageSize, QSize(4, 3)); // the whole picture, stretched
    EXPECT_TRUE(a.smooth);
    EXPECT_NEAR(a.rect.left(), 100 * 600 / 254.0, 1e-6);
    EXPECT_NEAR(a.rect.top(), 200 * 600 / 254.0, 1e-6);
    EXPECT_NEAR(a.rect.width(), 600, 1e-6);
    EXPECT_NEAR(a.rect.height(), 1200, 1e-6);
    const RecordedDraw& b = engine.draws[1];
    EXPECT_EQ(b.page, 1);
    EXPECT_NEAR(b.rect.width(), 300, 1e-6);
    EXPECT_NEAR(b.rect.height(), 300, 1e-6);
}

TEST_F(Print, TwoJobsMakeOnePdfWithTwoPages) {
    const std::string path = dir_.file("catalogue.pdf");
    QPrinter printer(QPrinter::HighResolution);
    usePdf(printer, path);
    HDC dc = PelmixCreatePrinterDC(&printer);
    const RECT rect{0, 0, 500, 400};
    for (int32_t page = 1; page <= 2; ++page) {
        const int32_t job = PelmixPrintStart(dc, "Catalogue");
        ASSERT_EQ(job, page);
        EXPECT_EQ(PelmixPrint(job, dc, image_.get(), &rect, 0), 1);
        EXPECT_EQ(PelmixPrintEnd(dc), 1);
    }
    PelmixDeleteDC(dc);
    const std::string pdf = readBytes(path);
    ASSERT_EQ(pdf.compare(0, 5, "%PDF-"), 0);
    EXPECT_EQ(pdfPages(pdf), 2);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir_.path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST_F(Print, DeletingWithAPageOpenFinishesTheDocument) {
    const std::string path = dir_.file("single.pdf");
    QPrinter printer;
    usePdf(printer, path);
    HDC dc = PelmixCreatePrinterDC(&printer);
    const RECT rect{0, 0, 100, 100};
    ASSERT_EQ(PelmixPrint(PelmixPrintStart(dc, ""), dc, image_.get(), &rect, 0), 1);
    PelmixDeleteDC(dc);
    EXPECT_EQ(pdfPages(readBytes(path)), 1);
}

TEST_F(Print, AContextThatNeverPrintedWritesNothing) {
    const std::string path = dir_.file("nothing.pdf");
    QPrinter printer;
    usePdf(printer, path);
    PelmixDeleteDC(PelmixCreatePrinterDC(&printer));
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(Print, JobsMustPairUp) {
    RecordingEngine engine(300);
    RecordingPrinter printer(engine);
    HDC dc = PelmixCreatePrinterDC(&printer);
    const RECT rect{0, 0, 100, 100};
    EXPECT_EQ(PelmixPrintEnd(dc), 0);                         // nothing open
    EXPECT_EQ(PelmixPrint(1, dc, image_.get(), &rect, 0), 0); // no job yet
    ASSERT_EQ(PelmixPrintStart(dc, "x"), 1);
    EXPECT_EQ(PelmixPrintStart(dc, "x"), 0); // still open
    EXPECT_EQ(PelmixPrint(0, dc, image_.get(), &rect, 0), 0);
    EXPECT_EQ(PelmixPrint(2, dc, image_.get(), &rect, 0), 0);
    EXPECT_EQ(PelmixPrint(1, dc, image_.get(), &rect, 0), 1);
    EXPECT_EQ(PelmixPrintEnd(dc), 1);
    EXPECT_EQ(PelmixPrintEnd(dc), 0);
    EXPECT_EQ(PelmixPrint(1, dc, image_.get(), &rect, 0), 0); // that page is closed
    EXPECT_EQ(PelmixPrintStart(dc, "x"), 2);
    EXPECT_EQ(PelmixPrint(1, dc, image_.get(), &rect, 0), 0); // an earlier job
    EXPECT_EQ(PelmixPrintEnd(dc), 1);
    PelmixDeleteDC(dc);
    EXPECT_EQ(engine.draws.size(), 1u);
    EXPECT_EQ(engine.newPages, 1);
}

TEST_F(Print, RefusesBadRectanglesImagesAndContexts) {
    RecordingEngine engine(300);
    RecordingPrinter printer(engine);
    HDC dc = PelmixCreatePrinterDC(&printer);
    const int32_t job = PelmixPrintStart(dc, "");
    ASSERT_EQ(job, 1);
    const RECT rect{0, 0, 100, 100};
    const RECT flat{0, 50, 100, 50};
    const RECT backwards{100, 0, 0, 100};
    EXPECT_EQ(PelmixPrint(job, dc, image_.get(), nullptr, 0), 0);
    EXPECT_EQ(PelmixPrint(job, dc, image_.get(), &flat, 0), 0);
    EXPECT_EQ(PelmixPrint(job, dc, image_.get(), &backwards, 0), 0);
    EXPECT_EQ(PelmixPrint(job, dc, nullptr, &rect, 0), 0);
    EXPECT_EQ(PelmixPrint(job, nullptr, image_.get(), &rect, 0), 0);
    EXPECT_TRUE(engine.draws.empty());

    // While a page is open the printer context can be drawn on in printer pixels too.
    EXPECT_EQ(PelmixDisplayHdc(dc, image_.get(), 50, 40, 1), 1);
    ASSERT_EQ(engine.draws.size(), 1u);
    EXPECT_EQ(engine.draws[0].rect, QRectF(0, 0, 50, 40));
    EXPECT_EQ(PelmixPrintEnd(dc), 1);
    EXPECT_EQ(PelmixDisplayHdc(dc, image_.get(), 50, 40, 1), 0); // no page open

    PelmixDeleteDC(dc);
    EXPECT_EQ(engine.ends, 1);
    EXPECT_EQ(PelmixPrintStart(dc, ""), 0);
    EXPECT_EQ(PelmixPrint(2, dc, image_.get(), &rect, 0), 0);
    EXPECT_EQ(PelmixPrintEnd(dc), 0);
    PelmixDeleteDC(dc);
    EXPECT_EQ(engine.begins, 1);
    EXPECT_EQ(PelmixCreatePrinterDC(nullptr), nullptr);
}

TEST_F(Print, ScreenContextsAndFailingPrintersStartNoJob) {
    QImage canvas(10, 10, QImage::Format_RGB32);
    QPainter painter(&canvas);
    HDC screen = PelmixCreatePainterDC(&painter);
    EXPECT_EQ(PelmixPrintStart(screen, "x"), 0);
    EXPECT_EQ(PelmixPrintEnd(screen), 0);
    const RECT rect{0, 0, 100, 100};
    EXPECT_EQ(PelmixPrint(1, screen, image_.get(), &rect, 0), 0);
    PelmixDeleteDC(screen);

    // A PDF in a folder that does not exist cannot begin.
    QPrinter printer;
    usePdf(printer, dir_.file("missing/out.pdf"));
    HDC dc = PelmixCreatePrinterDC(&printer);
    EXPECT_EQ(PelmixPrintStart(dc, "x"), 0);
    EXPECT_EQ(PelmixPrint(1, dc, image_.get(), &rect, 0), 0);
    EXPECT_EQ(PelmixPrintEnd(dc), 0);
    PelmixDeleteDC(dc);
}

} // namespace
