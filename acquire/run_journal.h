// A note, in the user's data folder, of every acquisition run that may leave page files behind:
// written before the acquisition library is asked for pages, removed when the run has stored
// them all. A note that outlives its run (the program was killed, or pages could be neither
// stored nor kept) tells the next start, or the next run, which folder holds page files to name.
#pragma once

#include <QString>
#include <QStringList>

class RunJournal {
public:
    // Writes the note of a run scanning into folder (ends in "/"). A note that cannot be written
    // does not stop the run: the run's own folder is looked at again by its next run anyway.
    explicit RunJournal(const QString& folder);
    // Removes the note, unless page files are still in the folder: the note then stays for the
    // next start to deal with them.
    ~RunJournal();
    RunJournal(const RunJournal&) = delete;
    RunJournal& operator=(const RunJournal&) = delete;

    bool written() const { return !path_.isEmpty(); }

    // The folder holding the notes: the user's data folder + "runs/".
    static QString noteFolder();
    // Every note there, in the order they were written.
    static QStringList notes();
    // The acquisition folder a note names (ending in "/"); "" when the note cannot be read.
    static QString folderOf(const QString& notePath);

private:
    QString folder_;
    QString path_;
};
