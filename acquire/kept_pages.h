// Pages that could not be stored under an automatic name are kept, never lost: each is renamed in
// its own folder to "ORVA_KEEP.<yyyyMMdd-hhmmss>.<n>.bmp" (a name no run writes or overwrites).
// When that folder refuses the rename (it became read-only), the page is copied into the
// program folder's "kept/" folder under the same form of name instead. One message per run tells
// the user how many pages were kept and where.
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
    // neither be renamed nor copied (it then stays where it is, untouched).
    QString keep(const QString& pagePath);

    int count() const { return count_; }
    // The folders holding kept pages of this run (each ending in "/"), in order of first use.
    const QStringList& folders() const { return folders_; }

    // Shows the one message of the run when pages were kept (exclamation, OK, caption
    // APP_TITLE), then starts counting afresh. Returns true when a message was shown.
    bool report();

    static QString keptFolder(const Program& program); // PROGRAM_DIR + "kept/"

private:
    QString freeName(const QString& folder);
    void noteFolder(const QString& folder);

    Program& program_;
    QString stamp_;
    int serial_ = 0;
    int count_ = 0;
    QStringList folders_;
};
