#include "kept_pages.h"

#include "file_system.h"
#include "kept_folder.h"
#include "page_store_messages.h"
#include "program.h"

namespace {

// The folder part of an absolute path, with its slash.
QString folderOf(const QString& path) {
    return path.left(path.lastIndexOf(QLatin1Char('/')) + 1);
}

} // namespace

KeptPages::KeptPages(Program& program, const QDateTime& stamp)
    : program_(program), stamp_(stamp.toString(QStringLiteral("yyyyMMdd-hhmmss"))) {}

QString KeptPages::freeName(const QString& folder) {
    // The serial keeps names of one run apart; the existence test keeps two runs started within
    // the same second apart.
    for (;;) {
        const QString name = QStringLiteral("ORVA_KEEP.%1.%2.bmp")
                                 .arg(stamp_)
                                 .arg(++serial_, 4, 10, QLatin1Char('0'));
        if (!file_system::exists(folder + name))
            return name;
    }
}

void KeptPages::noteFolder(const QString& folder) {
    if (!folders_.contains(folder))
        folders_ += folder;
}

QString KeptPages::copyInto(const QString& pagePath, const QString& folder) {
    if (!file_system::makePath(folder))
        return QString();
    const QString copy = folder + freeName(folder);
    const file_system::Result copied = file_system::copyFile(pagePath, copy, false);
    if (!copied) {
        reason_ = copied.reason;
        return QString();
    }
    return copy;
}

QString KeptPages::keep(const QString& pagePath) {
    if (!file_system::isFile(pagePath))
        return QString();

    const QString folder = folderOf(pagePath);
    const QString beside = folder + freeName(folder);
    const file_system::Result renamed = file_system::renameNoReplace(pagePath, beside);
    if (renamed) {
        ++count_;
        noteFolder(folder);
        return beside;
    }
    reason_ = renamed.reason;

    // The acquisition folder refuses the rename (read-only, or gone): copy the page somewhere we
    // own. The original stays if it cannot be removed; the next start or run names it, which at
    // worst keeps a page twice.
    for (const QString& refuge : kept_folder::all()) {
        const QString copy = copyInto(pagePath, refuge);
        if (copy.isEmpty())
            continue;
        file_system::remove(pagePath);
        ++count_;
        noteFolder(refuge);
        return copy;
    }
    notKept_ += pagePath;
    return QString();
}

void KeptPages::keptElsewhere(const QString& path) {
    ++count_;
    noteFolder(folderOf(path));
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
