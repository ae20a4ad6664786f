// Where one print run's document goes. On a printer, the printer itself. For a PDF file, a
// temporary file beside the chosen one, which takes the chosen file's place only once the
// document is complete and on disk: a file that was there stays byte for byte until then, and a
// run that fails (a full volume, a folder that cannot be written) or prints nothing leaves it so.
#pragma once

#include <QString>

class QPrinter;

class PrintOutput {
public:
    explicit PrintOutput(QPrinter& printer);
    // An unfinished run: the temporary file is removed and the printer names the chosen file.
    ~PrintOutput();
    PrintOutput(const PrintOutput&) = delete;
    PrintOutput& operator=(const PrintOutput&) = delete;

    // Makes the temporary file and points the printer at it; false (see reason()) when the
    // folder cannot take it.
    bool begin();
    // After the printer's context was deleted (ended: the context's answer). Puts a complete
    // document in place of the chosen file; with nothing printed, leaves everything as it was.
    // False (see reason()) when the document is not complete or cannot be put in place.
    bool finish(bool ended, bool printedAny);

    // The system's description of the failure.
    const QString& reason() const { return reason_; }
    // The file the user chose ("" on a printer).
    const QString& target() const { return target_; }
    // Whether a file of that name was there before the run (and so is still).
    bool replaces() const { return replaces_; }

private:
    bool fail(int error);
    void discard();

    QPrinter& printer_;
    QString target_;
    QString temporary_;
    QString reason_;
    bool replaces_ = false;
};
