#include "run_document.h"

#include "file_system.h"
#include "folder_lock.h"
#include "native_name.h"
#include "page_name.h"
#include "page_store.h"
#include "page_store_messages.h"
#include "picture_document.h"
#include "program.h"
#include "run_journal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <optional>

namespace run_document {

namespace {

// First line of every note; the folder, the document and the pages follow, a line each, as the
// file system's bytes.
const QByteArray kHeader = QByteArrayLiteral("ORVANA DOCUMENT 1");
const QString kNotePattern = QStringLiteral("*.document");

struct Note {
    QString folder; // ends in "/"
    QString document;
    QStringList pages;
};

QString writeNote(const Note& note) {
    const QString notes = RunJournal::noteFolder();
    if (notes.isEmpty() || !file_system::makePath(notes)) {
        return QString();
    }
    const QString path =
        notes + QStringLiteral("%1-%2.document")
                    .arg(QDateTime::currentMSecsSinceEpoch(), 14, 10, QLatin1Char('0'))
                    .arg(QCoreApplication::applicationPid());
    QByteArray text = kHeader + '\n' + native_name::toBytes(note.folder) + '\n' +
                      native_name::toBytes(note.document) + '\n';
    for (const QString& page : note.pages) {
        text += native_name::toBytes(page) + '\n';
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        return QString();
    }
    return path;
}

// A name without folder, as a note may carry: a hostile note names nothing outside its folder.
bool plainName(const QByteArray& name) {
    return !name.isEmpty() && !name.contains('/') && name != "." && name != "..";
}

bool readNote(const QString& path, Note& note) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > 4 * 1024 * 1024) {
        return false;
    }
    QList<QByteArray> lines = file.readAll().split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty()) {
        lines.removeLast();
    }
    if (lines.size() < 4 || lines[0] != kHeader || !lines[1].startsWith('/') ||
        !plainName(lines[2])) {
        return false;
    }
    note.folder = native_name::fromBytes(lines[1]);
    if (!note.folder.endsWith(QLatin1Char('/'))) {
        note.folder += QLatin1Char('/');
    }
    note.document = native_name::fromBytes(lines[2]);
    for (qsizetype i = 3; i < lines.size(); ++i) {
        if (!plainName(lines[i])) {
            return false;
        }
        note.pages += native_name::fromBytes(lines[i]);
    }
    return true;
}

// The document's temporary files, written while it was being made.
void removeUnfinished(const Note& note) {
    for (const QString& name : file_system::list(note.folder)) {
        if ((name.startsWith(note.document + QStringLiteral(".pmxtmp.")) ||
             name.startsWith(QLatin1Char('.') + note.document + QStringLiteral(".pmxtmp.")))) {
            file_system::remove(note.folder + name);
        }
    }
}

void finish(Program& program, const Note& note) {
    if (file_system::isFile(note.folder + note.document)) {
        for (const QString& page : note.pages) {
            file_system::remove(note.folder + page);
        }
        return;
    }
    removeUnfinished(note);
    program.prompter.message(nullptr, page_store_messages::documentNotMade(
                                          program.APP_TITLE, note.document, true, note.folder,
                                          note.pages.first(), note.pages.last()));
}

} // namespace

QString make(Program& program, PageStore& store, const QStringList& pageNames, int64_t& nextNumber,
             QWidget* owner) {
    if (pageNames.isEmpty()) {
        return QString();
    }
    const QString target = store.destination(page_name::extensionFor(5), nextNumber);
    if (target.isEmpty()) {
        return QString(); // no automatic name left: the user has been told
    }
    Note note{program.ACQ_DIR, target.mid(program.ACQ_DIR.size()), pageNames};
    ++nextNumber;
    auto notMade = [&] {
        program.prompter.message(nullptr, page_store_messages::documentNotMade(
                                              program.APP_TITLE, note.document, false, note.folder,
                                              pageNames.first(), pageNames.last()));
        return QString();
    };
    // Without its note a kill could leave pages twice, as pictures and in the document.
    const QString notePath = writeNote(note);
    if (notePath.isEmpty()) {
        return notMade();
    }
    QStringList paths;
    for (const QString& page : pageNames) {
        paths += note.folder + page;
    }
    const picture_document::Outcome outcome =
        picture_document::write(program, owner, paths, target, false);
    if (outcome.result != picture_document::Result::Written) {
        file_system::remove(notePath);
        return outcome.result == picture_document::Result::Cancelled ? QString() : notMade();
    }
    for (const QString& path : paths) {
        file_system::remove(path);
    }
    file_system::remove(notePath);
    return note.document;
}

void recoverInterrupted(Program& program, const QString& heldFolder) {
    const QString notes = RunJournal::noteFolder();
    if (notes.isEmpty()) {
        return;
    }
    const QString held = heldFolder.isEmpty() ? QString() : file_system::canonical(heldFolder);
    for (const QString& name : file_system::list(notes, kNotePattern)) {
        const QString path = notes + name;
        Note note;
        if (!readNote(path, note)) {
            file_system::remove(path); // not a note of ours, or cut short while it was written
            continue;
        }
        if (!file_system::isFolder(note.folder)) {
            continue; // a volume not mounted now, perhaps
        }
        // The step is over only when no other run holds the folder; the lock is kept meanwhile.
        std::optional<FolderLock> lock;
        if (held.isEmpty() || file_system::canonical(note.folder) != held) {
            lock.emplace(note.folder);
            if (lock->state() == FolderLock::State::Busy) {
                continue;
            }
        }
        finish(program, note);
        file_system::remove(path);
    }
}

} // namespace run_document
