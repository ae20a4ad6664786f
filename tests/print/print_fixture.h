// A main window over a folder of pictures whose printer writes PDF files on an A4 page with 5 mm
// margins (a printable area of 200.0 x 287.0 mm); the pages printed are turned into pictures with
// pdftoppm to see where things landed.
#pragma once

#include "../app/catalogue_fixture.h"

#include <QDialog>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <cstdlib>

class PrintFixture : public CatalogueFixture {
protected:
    static constexpr double kMargin = 5.0;
    static constexpr int kDpi = 300;

    void SetUp() override {
        CatalogueFixture::SetUp();
        auto printer = std::make_shared<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(QPageSize(QPageSize::A4));
        printer->setPageMargins(QMarginsF(kMargin, kMargin, kMargin, kMargin),
                                QPageLayout::Millimeter);
        program.printer = printer;
        pdf = QString::fromStdString(output.file("out.pdf"));
        prompter.paths.push_back(pdf); // the PDF file asked for at the first print
    }

    static bool havePoppler() { return std::system("pdftoppm -v > /dev/null 2>&1") == 0; }

    // The pages of the PDF as pictures at kDpi.
    std::vector<QImage> pages() const {
        QString prefix = pdf;
        prefix.chop(4); // ".pdf"
        QProcess::execute(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QString::number(kDpi),
                                                       QStringLiteral("-png"), pdf, prefix});
        std::vector<QImage> images;
        for (int i = 1; i < 100; ++i) {
            QImage page;
            bool found = false;
            for (const QString& name :
                 {QStringLiteral("%1-%2.png").arg(prefix).arg(i),
                  QStringLiteral("%1-%2.png").arg(prefix).arg(i, 2, 10, QChar('0'))}) {
                if (page.load(name)) {
                    found = true;
                    break;
                }
            }
            if (!found) {
                break;
            }
            images.push_back(page);
        }
        return images;
    }

    // The bounding box, in millimetres from the paper's corner, of the pixels of page that pass.
    static QRectF boxOf(const QImage& page, const std::function<bool(QColor)>& pass) {
        const QImage rgb = page.convertToFormat(QImage::Format_RGB32);
        int left = page.width(), top = page.height(), right = -1, bottom = -1;
        for (int y = 0; y < rgb.height(); ++y) {
            const QRgb* row = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
            for (int x = 0; x < page.width(); ++x) {
                if (pass(QColor(row[x]))) {
                    left = std::min(left, x);
                    right = std::max(right, x);
                    top = std::min(top, y);
                    bottom = std::max(bottom, y);
                }
            }
        }
        if (right < 0) {
            return {};
        }
        const double mm = 25.4 / kDpi;
        return QRectF(left * mm, top * mm, (right + 1 - left) * mm, (bottom + 1 - top) * mm);
    }

    static void expectNear(const QRectF& got, const QRectF& wanted, double tolerance) {
        EXPECT_NEAR(got.left(), wanted.left(), tolerance);
        EXPECT_NEAR(got.top(), wanted.top(), tolerance);
        EXPECT_NEAR(got.width(), wanted.width(), tolerance);
        EXPECT_NEAR(got.height(), wanted.height(), tolerance);
    }

    TempDir output;
    QString pdf;
};
