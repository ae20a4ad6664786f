#include "picture_document.h"

#include "native_name.h"
#include "pelmix.h"
#include "program.h"
#include "text_data.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QThread>
#include <algorithm>
#include <cstring>
#include <memory>

namespace picture_document {

namespace {

constexpr qsizetype kLongDocument = 10;
// Each reader holds its languages' data (a few hundred megabytes for Japanese and English).
constexpr int kMostReaders = 4;

struct PdfOwner {
    void operator()(PELMIX_PDF* pdf) const { PelmixPdfFree(pdf); }
};

struct Progress {
    QProgressDialog& dialog;
    int pages = 0;
    bool reading = false;
};

} // namespace

QString progressLabel(int done, int pages, bool reading) {
    // The page being worked on, counted from 1: "page 1 of 3" while the first is read, "page 3
    // of 3" once all are. The words are read first, then the pages are written.
    const bool readingNow = reading && done < pages;
    const int finished = readingNow ? done : done - (reading ? pages : 0);
    const int page = std::clamp(finished + 1, 1, std::max(pages, 1));
    return (readingNow ? QCoreApplication::translate("picture_document", "文字認識中 %1/%2ページ")
                       : QCoreApplication::translate("picture_document", "PDF作成中 %1/%2ページ"))
        .arg(page)
        .arg(pages);
}

namespace {

int32_t report(void* context, int32_t done, int32_t total) {
    auto& progress = *static_cast<Progress*>(context);
    QProgressDialog& dialog = progress.dialog;
    dialog.setMaximum(total);
    dialog.setLabelText(progressLabel(done, progress.pages, progress.reading));
    dialog.setValue(done);
    // Until the window shows, nothing the user does may reach the windows below it.
    QCoreApplication::processEvents(dialog.isVisible() ? QEventLoop::AllEvents
                                                       : QEventLoop::ExcludeUserInputEvents);
    return dialog.wasCanceled() ? 0 : 1;
}

} // namespace

QString textLanguages(const Program& program) {
    return program.settings.PDTX == 1 ? text_data::usable(program.settings.PDLG) : QString();
}

Outcome write(Program& program, QWidget* owner, const QStringList& paths, const QString& target,
              bool upright) {
    Outcome outcome;
    const std::unique_ptr<PELMIX_PDF, PdfOwner> pdf(PelmixPdfCreate());
    if (!pdf) {
        return outcome;
    }
    for (const QString& path : paths) {
        if (PelmixPdfAddFile(pdf.get(), native_name::toBytes(path).constData(), upright ? 1 : 0) !=
            1) {
            int32_t width = 0, height = 0;
            const bool large =
                PelmixPdfError(pdf.get(), nullptr, &width, &height) == PELMIX_PDF_TOO_LARGE;
            outcome.result = large ? Result::TooLarge : Result::NotAPicture;
            outcome.file = path;
            outcome.width = width;
            outcome.height = height;
            return outcome;
        }
    }
    const QString languages = textLanguages(program);
    if (!languages.isEmpty()) {
        PelmixPdfSetText(pdf.get(), native_name::toBytes(text_data::folder()).constData(),
                         languages.toLatin1().constData(),
                         std::min(QThread::idealThreadCount(), kMostReaders));
    }

    QProgressDialog dialog(owner);
    dialog.setWindowTitle(program.APP_TITLE);
    dialog.setCancelButtonText(QCoreApplication::translate("picture_document", "キャンセル"));
    dialog.setWindowModality(Qt::ApplicationModal);
    // A long document shows its progress at once, a short one only if it takes a while.
    dialog.setMinimumDuration(paths.size() >= kLongDocument || !languages.isEmpty() ? 0 : 500);
    dialog.setAutoReset(false);
    dialog.setAutoClose(false);
    dialog.setObjectName(QStringLiteral("PDF_PROGRESS"));
    Progress progress{dialog, static_cast<int>(paths.size()), !languages.isEmpty()};
    PelmixPdfSetProgress(pdf.get(), &report, &progress);
    const bool written = PelmixPdfSave(pdf.get(), native_name::toBytes(target).constData()) == 1;
    outcome.result = written                ? Result::Written
                     : dialog.wasCanceled() ? Result::Cancelled
                                            : Result::Failed;
    outcome.textPages = written ? PelmixPdfTextPages(pdf.get()) : 0;
    if (outcome.result == Result::Failed) {
        int32_t error = 0;
        switch (PelmixPdfError(pdf.get(), &error, nullptr, nullptr)) {
        case PELMIX_PDF_NO_SPACE:
            outcome.reason =
                QCoreApplication::translate("picture_document", "保存先の空き容量が足りません。");
            break;
        case PELMIX_PDF_PICTURE_CHANGED:
            outcome.reason = QCoreApplication::translate(
                "picture_document", "作成中に絵が変更されたか、読み込めなくなりました。");
            break;
        case PELMIX_PDF_NOT_WRITTEN:
            outcome.reason = error != 0 ? QString::fromLocal8Bit(std::strerror(error))
                                        : QCoreApplication::translate("picture_document",
                                                                      "保存先に書き込めません。");
            break;
        default:
            break;
        }
    }
    return outcome;
}

} // namespace picture_document
