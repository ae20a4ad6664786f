#include "interrupted_runs.h"

#include "file_system.h"
#include "find_last_number.h"
#include "folder_lock.h"
#include "kept_pages.h"
#include "page_encoder.h"
#include "page_file_names.h"
#include "page_store.h"
#include "page_store_messages.h"
#include "program.h"
#include "run_document.h"
#include "run_journal.h"
#include "startup_folders.h"

#include <QDateTime>
#include <algorithm>
#include <utility>
#include <vector>

namespace {

// A note whose folder is missing may name a volume that is not mounted now; after this long it
// is given up.
constexpr qint64 kNoteLifetimeDays = 30;

QString canonicalFolder(const QString& folder) {
    const QString canonical = file_system::canonical(folder);
    return canonical.isEmpty() ? folder : withTrailingSlash(canonical);
}

// The page files of folder in page order; half-written ones are removed on the way.
QStringList leftoverPages(const QString& folder) {
    std::vector<std::pair<int, QString>> pages;
    for (const QString& name : file_system::list(folder)) {
        int number = 0;
        // An encoding made ahead of storing is only a copy of its page file.
        if (page_file_names::isPartial(name) || PageEncoder::isEncoding(name)) {
            file_system::remove(folder + name);
        } else if (page_file_names::isPageFile(name, &number)) {
            pages.emplace_back(number, name);
        }
    }
    std::sort(pages.begin(), pages.end());
    QStringList names;
    for (const auto& page : pages) {
        names += page.second;
    }
    return names;
}

// Stores the page files left in folder; true when none is left there afterwards.
bool recoverFolder(Program& program, const QString& folder, int& stored) {
    const QStringList pages = leftoverPages(folder);
    if (pages.isEmpty()) {
        return true;
    }
    const QString runFolder = program.ACQ_DIR;
    program.ACQ_DIR = folder;
    USR_SETTINGS& s = program.settings;
    KeptPages kept(program);
    {
        PageStore store(program, kept);
        int64_t last = 0;
        const bool named = STARTING_NUMBER(program, last);
        QString first;
        QString latest;
        int count = 0;
        int64_t next = last + 1;
        store.beginStep();
        for (const QString& page : pages) {
            if (!named) {
                kept.keep(folder + page); // no automatic name left: kept, in page order
                continue;
            }
            const QString name = store.storePageFile(page, next);
            ++next;
            if (name.isEmpty()) {
                continue;
            }
            if (first.isEmpty()) {
                first = name;
            }
            latest = name;
            ++count;
        }
        store.endStep();
        if (named && s.NBMD != 0) {
            s.NBNB = static_cast<int32_t>(std::min<int64_t>(next, INT32_MAX));
        }
        if (count > 0) {
            program.prompter.message(nullptr, page_store_messages::interruptedPagesStored(
                                                  program.APP_TITLE, count, folder, first, latest));
        }
        stored += count;
    }
    kept.report();
    program.ACQ_DIR = runFolder;
    return leftoverPages(folder).isEmpty();
}

bool expired(const QString& note) {
    return file_system::lastModified(note).daysTo(QDateTime::currentDateTime()) > kNoteLifetimeDays;
}

} // namespace

int recoverInterruptedRuns(Program& program, const QString& heldFolder) {
    // A document step comes first: the page files it leaves are either pictures to keep or
    // pages of a complete document.
    run_document::recoverInterrupted(program, heldFolder);
    const QString held = heldFolder.isEmpty() ? QString() : canonicalFolder(heldFolder);
    bool heldDone = false;
    int stored = 0;
    for (const QString& note : RunJournal::notes()) {
        const QString folder = RunJournal::folderOf(note);
        if (folder.isEmpty()) {
            file_system::remove(note); // not a note of ours, or cut short before it named a folder
            continue;
        }
        if (!file_system::isFolder(folder)) {
            if (expired(note)) {
                file_system::remove(note);
            }
            continue;
        }
        const QString canonical = canonicalFolder(folder);
        bool done = false;
        if (!held.isEmpty() && canonical == held) {
            heldDone = true;
            done = recoverFolder(program, held, stored);
        } else {
            // A folder that cannot carry a lock file cannot be written by a run either.
            const FolderLock lock(canonical);
            if (lock.state() == FolderLock::State::Busy) {
                continue; // that run is still going on
            }
            done = recoverFolder(program, canonical, stored);
        }
        if (done) {
            file_system::remove(note);
        }
    }
    if (!held.isEmpty() && !heldDone) {
        recoverFolder(program, held, stored);
    }
    return stored;
}
