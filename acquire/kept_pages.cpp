#include "kept_pages.h"

#include "kept_folder.h"
#include "page_store_messages.h"
#include "program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

KeptPages::KeptPages(Program& program, const QDateTime& stamp)
    : program_(program), stamp_(stamp.toString(QStringLiteral("yyyyMMdd-hhmmss"))) {}

QString KeptPages::freeName(const QString& folder) {
    // The serial keeps names of one run apart; the existence test keeps two runs started within
    // the same second apart.
    for (;;) {
        const QString name = QStringLiteral("ORVA_KEEP.%1.%2.bmp")
                                 .arg(stamp_)
                                 .arg(++serial_, 4, 10, QLatin1Char('0'));
        if (!QFileInfo::exists(folder + name))
            return name;
    }
}

void KeptPages::noteFolder(const QString& folder) {
    if (!folders_.contains(folder))
        folders_ += folder;
}

QString KeptPages::copyInto(const QString& pagePath, const QString& folder) {
    if (!QDir().mkpath(folder))
        return QString();
    const QString copy = folder + freeName(folder);
    QFile page(pagePath);
    if (!page.copy(copy)) {
        reason_ = page.errorString();
        QFile::remove(copy);
        return QString();
    }
    return copy;
}

QString KeptPages::keep(const QString& pagePath) {
    const QFileInfo page(pagePath);
    if (!page.isFile())
        return QString();

    QString folder = page.absolutePath();
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    const QString beside = folder + freeName(folder);
    // QFile::rename never replaces an existing file.
    QFile file(pagePath);
    if (file.rename(beside)) {
        ++count_;
        noteFolder(folder);
        return beside;
    }
    reason_ = file.errorString();

    // The acquisition folder refuses the rename (read-only, or gone): copy the page somewhere we
    // own. The original stays if it cannot be removed; the next start or run names it, which at
    // worst keeps a page twice.
    for (const QString& refuge : kept_folder::all()) {
        const QString copy = copyInto(pagePath, refuge);
        if (copy.isEmpty())
            continue;
        QFile::remove(pagePath);
        ++count_;
        noteFolder(refuge);
        return copy;
    }
    notKept_ += pagePath;
    return QString();
}

void KeptPages::keptElsewhere(const QString& path) {
    ++count_;
    noteFolder(QFileInfo(path).absolutePath() + QLatin1Char('/'));
}

bool KeptPages::report() {
    if (count_ == 0 && notKept_.isEmpty() && !scanStopped_)
        return false;
    page_store_messages::KeptSummary summary;
    summary.count = count_;
    summary.folders = folders_;
    summary.notKept = notKept_;
    summary.reason = reason_;
    summary.scanStopped = scanStopped_;
    program_.prompter.message(nullptr, page_store_messages::pagesKept(program_.APP_TITLE, summary));
    count_ = 0;
    folders_.clear();
    notKept_.clear();
    reason_.clear();
    scanStopped_ = false;
    return true;
}
