// One PDF of picture files, the program's one way of making one: each file a page in the order
// given, the words of the pages read when the settings ask for it and their data is there, and a
// progress window with a Cancel button once the work takes a moment. The document is written
// through a temporary file and renamed, so a cancelled or failed one leaves no file.
#pragma once

#include <QString>
#include <QStringList>

class Program;
class QWidget;

namespace picture_document {

enum class Result {
    Written,     // written, and read back whole from the disk
    Cancelled,   // the user stopped it: no file
    NotAPicture, // file is not a picture the program reads: nothing was written
    TooLarge,    // file is a picture larger than the program takes: nothing was written
    Failed,      // a picture changed or could not be read, or the file could not be written
};

struct Outcome {
    Result result = Result::Failed;
    QString file;  // NotAPicture, TooLarge: the file
    int width = 0; // TooLarge: the size the picture declares
    int height = 0;
    QString reason;    // Failed: why, for a message ("" when nothing more is known)
    int textPages = 0; // pages given their words
};

// Writes paths (in that order) as the pages of target; upright turns each page as the picture's
// orientation says. The progress window belongs to owner.
Outcome write(Program& program, QWidget* owner, const QStringList& paths, const QString& target,
              bool upright);

// The progress window's line when done of the steps are over: pages pages have their words read
// first (when reading), then are written; it names the page being worked on, from 1.
QString progressLabel(int done, int pages, bool reading);

// The languages the settings ask the words in, of those whose data is there; "" when the
// settings ask for no words or no data is there.
QString textLanguages(const Program& program);

} // namespace picture_document
