// A main window over a folder of pictures whose printer writes PDF files on an A4 page with 5 mm
// margins (a printable area of 200.0 x 287.0 mm); the pages printed are turned into pictures with
// pdftoppm to see where things landed.
#pragma once

#include "../browse/catalogue_fixture.h"
#include "small_volume.h"

#include <QDialog>
#include <QPageLayout>
#include <QPrinter>
#include <QProcess>
#include <QTest>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>

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

    // Where a print run writes its PDF file, and what the user must be told about it.
    struct PdfTarget {
        const char* name;
        bool existing;      // a valid PDF is there already
        bool full;          // the volume has no room left
        bool missingFolder; // the file is asked for in a folder that does not exist
    };
    static constexpr PdfTarget kPdfTargets[] = {
        {"a new file", false, false, false},
        {"an existing file replaced", true, false, false},
        {"a folder that does not exist", false, false, true},
        {"a new file on a full volume", false, true, false},
        {"an existing file on a full volume", true, true, false},
    };

    // Runs print (a click that prints to the file the prompter names) into each target on a
    // small volume and checks the outcome: a complete PDF, or the message with the system's
    // reason and the file that was there byte for byte, and no temporary file left either way.
    void checkPdfTargets(const std::function<void()>& print) {
        SmallVolume volume(2 << 20);
        if (!volume.mounted()) {
            GTEST_SKIP() << "no right to mount a small volume here";
        }
        namespace fs = std::filesystem;
        const std::string old = "%PDF-1.4\n% the user's document\n%%EOF\n";
        for (const PdfTarget& t : kPdfTargets) {
            SCOPED_TRACE(t.name);
            for (const auto& entry : fs::directory_iterator(volume.path())) {
                fs::remove_all(entry.path());
            }
            const std::string file = volume.file(t.missingFolder ? "gone/out.pdf" : "out.pdf");
            if (t.existing) {
                ASSERT_TRUE(writeBytes(file, old.data(), old.size()));
            }
            if (t.full) {
                // Files until the volume takes no more; the last one takes what was left.
                const std::string block(64 << 10, 'x');
                for (int i = 0; i < 100 && writeBytes(volume.file("filler" + std::to_string(i)),
                                                      block.data(), block.size());
                     ++i) {
                }
            }
            prompter.requests.clear();
            prompter.paths = {QString::fromStdString(file)};
            print();
            QStringList told;
            for (const auto& request : prompter.requests) {
                if (request.kind == QLatin1String("message")) {
                    told << request.message.text;
                }
            }
            const bool fails = t.full || t.missingFolder;
            const int error = t.missingFolder ? ENOENT : ENOSPC;
            if (fails) {
                EXPECT_EQ(
                    told,
                    QStringList{QStringLiteral("イメ－ジの印刷に失敗しました。\n") +
                                QString::fromStdString(file) +
                                QStringLiteral("\nへ書き込めませんでした。") +
                                (t.existing ? QStringLiteral("元のファイルは変更されていません。")
                                            : QString()) +
                                QStringLiteral("\n理由 : ") +
                                QString::fromLocal8Bit(std::strerror(error))});
                EXPECT_EQ(fs::exists(file), t.existing);
            } else {
                EXPECT_TRUE(told.isEmpty()) << told.join(QLatin1Char('|')).toStdString();
            }
            if (t.existing && fails) {
                EXPECT_EQ(readBytes(file), old);
            } else if (!fails) {
                const std::string written = readBytes(file);
                EXPECT_EQ(written.rfind("%PDF", 0), 0u);
                EXPECT_NE(written.find("%%EOF", written.size() - 8), std::string::npos);
            }
            for (const auto& entry : fs::directory_iterator(volume.path())) {
                const std::string name = entry.path().filename().string();
                EXPECT_TRUE(name == "out.pdf" || name.rfind("filler", 0) == 0) << name;
            }
        }
    }

    TempDir output;
    QString pdf;
};
