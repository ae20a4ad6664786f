// The messages of automatic naming and page storing, with their exact texts.
#pragma once

#include "prompter.h"

#include <QString>
#include <QStringList>

namespace page_store_messages {

// The name of an IMAGE_INFO colour type as the fallback messages show it.
QString colourTypeName(int colourType);

Prompter::Message noNameLeft(const QString& title);
// The prefix of the settings cannot begin a file name: the run stops before scanning.
Prompter::Message prefixUnusable(const QString& title, const QString& prefix);
// The acquisition folder cannot be made or written: the run stops before scanning.
Prompter::Message acquisitionFolderUnavailable(const QString& title, const QString& folder);
Prompter::Message digitOverflow(const QString& title);
Prompter::Message jpegFallback(const QString& title, int colourType);
Prompter::Message group4Fallback(const QString& title, int colourType);

// What a run has to say about pages it could not store under automatic names.
struct KeptSummary {
    int count = 0;            // pages kept under ORVA_KEEP names
    QStringList folders;      // where those are
    QStringList notKept;      // page files left where they were: no folder took them
    QString reason;           // the system's reason for the last refusal
    bool scanStopped = false; // the library stopped scanning: the folder refused a page
};
Prompter::Message pagesKept(const QString& title, const KeptSummary& summary);

// count blank pages of the run went to the desktop's trash instead of being stored.
Prompter::Message blankPagesSetAside(const QString& title, int count);

// Another program is acquiring into the folder: the run stops before scanning.
Prompter::Message folderBusy(const QString& title, const QString& folder);
// Pages an interrupted run left in folder were stored under the names first … last.
Prompter::Message interruptedPagesStored(const QString& title, int count, const QString& folder,
                                         const QString& first, const QString& last);
// The PDF document of a run was not made (interrupted: by the end of an earlier program), for
// reason when one is known; its pages are in folder as the pictures first … last.
Prompter::Message documentNotMade(const QString& title, const QString& document, bool interrupted,
                                  const QString& folder, const QString& first, const QString& last,
                                  const QString& reason = {});
// Of the pages of document, read pages were given their words.
Prompter::Message documentWithoutWords(const QString& title, const QString& document, int pages,
                                       int read);
// Files of the source folder that were not moved because the folder would not let them go.
Prompter::Message sourceFilesStayed(const QString& title, const QStringList& paths);

} // namespace page_store_messages
