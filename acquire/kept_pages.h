// Pages that could not be stored under an automatic name are kept, never lost: each is renamed in
// its own folder to "ORVA_KEEP.<yyyyMMdd-hhmmss>.<nnnn>.bmp" (a name no run writes or
// overwrites; the zero-padded serial keeps them in scan order). When that folder refuses the
// rename (it became read-only), the page is copied into the user's kept-pages folder, or the
// system's temporary folder, under the same form of name instead. Pages the acquisition library
// itself had to put there are counted too. One message per run tells the user how many pages were
// kept and where, which pages could not be kept anywhere (they stay as page files for the next
// start to try again), and whether scanning stopped because the folder refused the pages.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class Program;

class KeptPages {
public:
    // stamp: the run's date and time, part of every kept name of the run.
    explicit KeptPages(Program& program, const QDateTime& stamp = QDateTime::currentDateTime());

    // Keeps the page file at pagePath; returns the path it is kept under, or "" when it could
    // neither be renamed nor copied (it then stays where it is, untouched, and is reported).
    QString keep(const QString& pagePath);

    // A page the acquisition library wrote into a kept-pages folder itself.
    void keptElsewhere(const QString& path);
    // Scanning was stopped because the acquisition folder refused a page.
    void scanStopped() { scanStopped_ = true; }

    int count() const { return count_; }
    // The folders holding kept pages of this run (each ending in "/"), in order of first use.
    const QStringList& folders() const { return folders_; }
    // Page files that could be neither stored nor kept.
    const QStringList& notKept() const { return notKept_; }

    // Shows the one message of the run when there is anything to say (exclamation, OK, caption
    // APP_TITLE), then starts afresh. Returns true when a message was shown.
    bool report();

private:
    QString freeName(const QString& folder);
    void noteFolder(const QString& folder);
    QString copyInto(const QString& pagePath, const QString& folder);

    Program& program_;
    QString stamp_;
    int serial_ = 0;
    int count_ = 0;
    QStringList folders_;
    QStringList notKept_;
    QString reason_;
    bool scanStopped_ = false;
};
