#include "acquisition_run.h"

#include "acquisition_library.h"
#include "companion_program.h"
#include "display_refresh.h"
#include "file_system.h"
#include "find_last_number.h"
#include "folder_history.h"
#include "folder_lock.h"
#include "interrupted_runs.h"
#include "kept_folder.h"
#include "kept_pages.h"
#include "page_encoder.h"
#include "page_name.h"
#include "page_store.h"
#include "page_store_messages.h"
#include "program.h"
#include "run_document.h"
#include "run_journal.h"
#include "source_folder_move.h"
#include "startup_folders.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <algorithm>
#include <cstdint>
#include <memory>

namespace {

// The source's window runs its own message loop, in which the user can start another run from
// the same window; the library holds one TWAIN conversation at a time. One UI thread, so a plain
// flag suffices.
bool runBusy = false;

class BusyScope {
public:
    BusyScope() { runBusy = true; }
    ~BusyScope() { runBusy = false; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

// Tells the user once, at every end of the run, about pages that had to be kept.
class KeptReport {
public:
    explicit KeptReport(KeptPages& kept) : kept_(kept) {}
    ~KeptReport() { kept_.report(); }
    KeptReport(const KeptReport&) = delete;
    KeptReport& operator=(const KeptReport&) = delete;

private:
    KeptPages& kept_;
};

const QString kPageBase = QStringLiteral("ORVA_TMP");
// SVMD of runs that store JPEG pages, and of runs that make one PDF of their pages.
constexpr int kJpegFormat = 1;
constexpr int kDocumentFormat = 5;

} // namespace

AcquisitionRun::AcquisitionRun(Program& program, AcquisitionLibrary* library, Window window)
    : program_(program), library_(library), window_(window) {}

int16_t AcquisitionRun::ACQUIRE_PAGES(const QString& baseName) {
    if (library_ == nullptr) {
        return 0;
    }
    const int count = library_->scanPages(window_.handle, baseName);
    // The count is a 16-bit integer for the run; a library reporting more is not believed.
    return static_cast<int16_t>(std::clamp(count, 0, static_cast<int>(INT16_MAX)));
}

AcquisitionRun::Outcome AcquisitionRun::RUN_ACQUISITION() {
    if (runBusy) {
        return Outcome::Busy;
    }
    BusyScope busy;
    USR_SETTINGS& s = program_.settings;

    // Every page would be named with it: one that names no file in the folder stops the run
    // before a page is scanned.
    if (!page_name::prefixUsable(s.NTOP)) {
        program_.prompter.message(nullptr,
                                  page_store_messages::prefixUnusable(program_.APP_TITLE, s.NTOP));
        return Outcome::BadPrefix;
    }
    MAKE_ACQ_DIR(program_);
    runFolder_ = program_.ACQ_DIR;
    // Usually there already. Pages are written into it by the library before anything here can
    // check them, so a folder that cannot be made with its parents, or written, stops the run
    // before the scanner delivers a page that would have nowhere to go.
    file_system::makePath(runFolder_);
    if (!file_system::isWritableFolder(runFolder_)) {
        program_.prompter.message(nullptr, page_store_messages::acquisitionFolderUnavailable(
                                               program_.APP_TITLE, runFolder_));
        return Outcome::NoFolder;
    }
    // Page files of two programs in one folder would replace each other.
    const FolderLock lock(runFolder_);
    if (lock.state() == FolderLock::State::Busy) {
        program_.prompter.message(nullptr,
                                  page_store_messages::folderBusy(program_.APP_TITLE, runFolder_));
        return Outcome::FolderBusy;
    }
    if (!lock.held()) {
        program_.prompter.message(nullptr, page_store_messages::acquisitionFolderUnavailable(
                                               program_.APP_TITLE, runFolder_));
        return Outcome::NoFolder;
    }
    // Pages an interrupted run left, here or elsewhere, get their names before the new ones.
    recoverInterruptedRuns(program_, runFolder_);

    page_name::clampDigits(s);
    if (!STARTING_NUMBER(program_, lastNumber_)) {
        return Outcome::NoNameLeft;
    }
    nextNumber_ = lastNumber_ + 1;
    firstNewFile_.clear();

    KeptPages kept(program_);
    KeptReport report(kept);
    PageStore store(program_, kept);

    if (s.NTWF != 1) {
        // Until the pages are stored, the journal tells a later start where they are.
        const RunJournal journal(runFolder_);
        const QStringList keptBefore = libraryKeptPages();
        // Each page is encoded while the scanner delivers the next.
        // Each page is cleaned as chosen, too.
        std::unique_ptr<PageEncoder> encoder;
        const bool encoded = s.SVMD == kJpegFormat || s.SVMD == kDocumentFormat;
        PageEncoder::Cleaning cleaning = PageEncoder::Cleaning::of(s);
        if (encoded || cleaning.any()) {
            encoder = std::make_unique<PageEncoder>(
                runFolder_, encoded ? int(s.JPGP) : PageEncoder::kNoEncoding, std::move(cleaning));
        }
        const int16_t count = ACQUIRE_PAGES(runFolder_ + kPageBase);
        if (encoder) {
            encoder->finish(count);
            store.useEncodings(encoder.get());
        }
        // Pages the folder refused went to a kept-pages folder, and scanning stopped there.
        for (const QString& path : libraryKeptPages()) {
            if (!keptBefore.contains(path)) {
                kept.keptElsewhere(path);
                kept.scanStopped();
            }
        }
        // The settings dialog may have been used while the source's window was open.
        program_.ACQ_DIR = runFolder_;
        if (count > 0) {
            storePages(store, count);
        }
        if (store.setAside() > 0) {
            program_.prompter.message(nullptr, page_store_messages::blankPagesSetAside(
                                                   program_.APP_TITLE, store.setAside()));
        }
        store.useEncodings(nullptr);
        if (count <= 0 && s.NTWF != 2) {
            return Outcome::NothingFound;
        }
    }
    if (s.NTWF == 1 || s.NTWF == 2) {
        if (!moveFromSourceFolder(store) && s.NTWF == 1) {
            return Outcome::NothingFound;
        }
    }
    finish();
    return Outcome::Shown;
}

QStringList AcquisitionRun::libraryKeptPages() const {
    // The library names them "ORVA_KEEP.<date-time>.<process>.<page>.bmp".
    const QString process = QString::number(QCoreApplication::applicationPid());
    QStringList paths;
    for (const QString& folder : kept_folder::all()) {
        for (const QString& name : file_system::list(folder, QStringLiteral("ORVA_KEEP.*.bmp"))) {
            const QStringList parts = name.split(QLatin1Char('.'));
            if (parts.size() >= 5 && parts[2] == process) {
                paths += folder + name;
            }
        }
    }
    return paths;
}

void AcquisitionRun::storePages(PageStore& store, int count) {
    const bool document = program_.settings.SVMD == kDocumentFormat;
    store.beginStep();
    nextNumber_ = lastNumber_ + 1;
    QStringList names;
    int64_t firstNumber = 0;
    for (int k = 0; k < count; ++k) {
        const int64_t before = nextNumber_;
        const int setAside = store.setAside();
        const QString name = store.storePage(k, nextNumber_);
        if (store.setAside() != setAside) {
            continue; // a blank page takes no number
        }
        if (nextNumber_ != before) {
            lastNumber_ = nextNumber_ - 1; // the collision rule rescanned the folder
        }
        if (!name.isEmpty()) {
            if (names.isEmpty()) {
                firstNumber = nextNumber_;
            }
            names += name;
        }
        ++nextNumber_;
    }
    store.endStep();
    if (document && !names.isEmpty()) {
        int64_t number = firstNumber;
        if (!run_document::make(program_, store, names, number, nullptr).isEmpty()) {
            names.clear(); // the pages are in the document now, which has the next number
            lastNumber_ = number;
            nextNumber_ = number + 1;
        }
    }
    if (!names.isEmpty()) {
        firstNewFile_ = names.first();
    }
}

bool AcquisitionRun::moveFromSourceFolder(PageStore& store) {
    const SourceFolderMove move = moveSourceFolder(program_, store, lastNumber_, nextNumber_);
    if (!move.firstMoved.isEmpty()) {
        firstNewFile_ = move.firstMoved;
    }
    if (!move.stayed.isEmpty()) {
        program_.prompter.message(
            nullptr, page_store_messages::sourceFilesStayed(program_.APP_TITLE, move.stayed));
    }
    return move.listed > 0;
}

void AcquisitionRun::finish() {
    USR_SETTINGS& s = program_.settings;
    s.NBNB = static_cast<int32_t>(std::clamp<int64_t>(nextNumber_, 0, INT32_MAX));
    if (s.UTNM == 1 && s.UTNS == 1) {
        RUN_SNAPLET(program_, runFolder_);
    }
    ADD_FOLDER_HISTORY(program_, runFolder_, window_.folderBox);
    if (window_.refresh != nullptr) {
        window_.refresh->folderChanged(runFolder_, firstNewFile_);
    }
}
