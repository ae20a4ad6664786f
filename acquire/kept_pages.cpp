#include "kept_pages.h"

#include "page_store_messages.h"
#include "program.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

KeptPages::KeptPages(Program& program, const QDateTime& stamp)
    : program_(program), stamp_(stamp.toString(QStringLiteral("yyyyMMdd-hhmmss"))) {}

QString KeptPages::keptFolder(const Program& program) {
    return program.PROGRAM_DIR + QStringLiteral("kept/");
}

QString KeptPages::freeName(const QString& folder) {
    // The serial keeps names of one run apart; the existence test keeps two runs started within
    // the same second apart.
    for (;;) {
        const QString name = QStringLiteral("ORVA_KEEP.%1.%2.bmp").arg(stamp_).arg(++serial_);
        if (!QFileInfo::exists(folder + name))
            return name;
    }
}

void KeptPages::noteFolder(const QString& folder) {
    if (!folders_.contains(folder))
        folders_ += folder;
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
    if (QFile::rename(pagePath, beside)) {
        ++count_;
        noteFolder(folder);
        return beside;
    }

    // The acquisition folder refuses the rename (read-only, or gone): copy the page somewhere we
    // own. The original stays if it cannot be removed; a later run moves it aside again, which
    // at worst keeps a page twice.
    const QString refuge = keptFolder(program_);
    if (program_.PROGRAM_DIR.isEmpty() || !QDir().mkpath(refuge))
        return QString();
    const QString copy = refuge + freeName(refuge);
    if (!QFile::copy(pagePath, copy))
        return QString();
    QFile::remove(pagePath);
    ++count_;
    noteFolder(refuge);
    return copy;
}

bool KeptPages::report() {
    if (count_ == 0)
        return false;
    program_.prompter.message(nullptr,
                              page_store_messages::pagesKept(program_.APP_TITLE, count_, folders_));
    count_ = 0;
    folders_.clear();
    return true;
}
