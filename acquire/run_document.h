// The end of a run that makes one PDF of its pages (SVMD 5). The pages the run stored become the
// pages of one document named like its first page (DOC001.jpg … DOC003.jpg make DOC001.pdf, so
// that documents are numbered one after another); the page files are removed only once the
// document is complete on disk. While that lasts, a note beside the run notes names the
// folder, the document and its pages, so that a start after a kill finishes the step: a complete
// document (there, and holding that many pages) loses the page files still there; otherwise the
// pages stay as pictures and the user is told. No page is ever both a picture and a page of a
// document without a note.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class PageStore;
class Program;
class QWidget;

namespace run_document {

// Makes the document of pageNames (pictures of ACQ_DIR, in page order) under the next name
// store gives from nextNumber (then advanced past it). Returns the document's name without
// folder, or "" when the pages stay as pictures: cancelled by the user, no name left, or not
// made (the user is told).
QString make(Program& program, PageStore& store, const QStringList& pageNames, int64_t& nextNumber,
             QWidget* owner);

// Finishes the steps a kill interrupted, except in folders another process is acquiring into;
// heldFolder is a folder the calling run holds the lock of ("" for none).
void recoverInterrupted(Program& program, const QString& heldFolder);

} // namespace run_document
