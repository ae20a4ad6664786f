#include "run_document.h"

#include "file_system.h"
#include "folder_lock.h"
#include "native_name.h"
#include "page_name.h"
#include "page_store.h"
#include "page_store_messages.h"
#include "pelmix.h"
#include "picture_document.h"
#include "program.h"
#include "run_journal.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QSaveFile>
#include <cerrno>
#include <cstring>
#include <initializer_list>
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

// A name a note can carry: one line of the file system's bytes.
bool oneLine(const QByteArray& bytes) {
    return !bytes.contains('\n') && !bytes.contains('\0');
}

QString writeNote(const Note& note) {
    QByteArrayList names{native_name::toBytes(note.folder), native_name::toBytes(note.document)};
    for (const QString& page : note.pages) {
        names += native_name::toBytes(page);
    }
    for (const QByteArray& name : names) {
        if (!oneLine(name)) {
            return QString();
        }
    }
    const QString notes = RunJournal::noteFolder();
    if (notes.isEmpty() || !file_system::makePath(notes)) {
        return QString();
    }
    const QString path =
        notes + QStringLiteral("%1-%2.document")
                    .arg(QDateTime::currentMSecsSinceEpoch(), 14, 10, QLatin1Char('0'))
                    .arg(QCoreApplication::applicationPid());
    QByteArray text = kHeader + '\n';
    for (const QByteArray& name : names) {
        text += name + '\n';
    }
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        return QString();
    }
    return path;
}

// A name without folder ending in one of extensions, as a note may carry: a hostile note names
// nothing outside its folder, and nothing but documents and pictures.
bool plainName(const QByteArray& name, std::initializer_list<const char*> extensions) {
    if (name.isEmpty() || name.contains('/')) {
        return false;
    }
    const QByteArray lower = name.toLower();
    for (const char* extension : extensions) {
        if (lower.endsWith(extension) && lower.size() > qsizetype(std::strlen(extension))) {
            return true;
        }
    }
    return false;
}

bool documentName(const QByteArray& name) {
    return plainName(name, {".pdf"});
}

bool pageName(const QByteArray& name) {
    return plainName(name, {".jpg", ".jpeg", ".tif", ".tiff", ".bmp"});
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
        !documentName(lines[2])) {
        return false;
    }
    note.folder = native_name::fromBytes(lines[1]);
    if (!note.folder.endsWith(QLatin1Char('/'))) {
        note.folder += QLatin1Char('/');
    }
    note.document = native_name::fromBytes(lines[2]);
    for (qsizetype i = 3; i < lines.size(); ++i) {
        if (!pageName(lines[i])) {
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

// Removes the page files of a note whose document is complete; false when one would not go.
bool removePages(const Note& note) {
    bool removed = true;
    for (const QString& page : note.pages) {
        const QString path = note.folder + page;
        removed = (!file_system::isFile(path) || file_system::remove(path)) && removed;
    }
    return removed;
}

// Whether the note's document is there and holds its pages: a file that only has its name is not.
bool complete(const Note& note) {
    const QString path = note.folder + note.document;
    return file_system::isFile(path) &&
           PelmixPdfFilePages(native_name::toBytes(path).constData()) == note.pages.size();
}

// Puts the folder of an interrupted step right; false when a page file of its complete document
// would not go (the note then stays, and the next start tries again).
bool finish(Program& program, const Note& note) {
    if (complete(note)) {
        return removePages(note);
    }
    removeUnfinished(note);
    program.prompter.message(nullptr, page_store_messages::documentNotMade(
                                          program.APP_TITLE, note.document, true, note.folder,
                                          note.pages.first(), note.pages.last()));
    return true;
}

} // namespace

QString make(Program& program, PageStore& store, const QStringList& pageNames, int64_t& number,
             QWidget* owner) {
    if (pageNames.isEmpty()) {
        return QString();
    }
    const QString target = store.destination(page_name::extensionFor(5), number);
    if (target.isEmpty()) {
        return QString(); // no automatic name left: the user has been told
    }
    const Note note{program.ACQ_DIR, target.mid(program.ACQ_DIR.size()), pageNames};
    auto notMade = [&](const QString& reason) {
        program.prompter.message(nullptr, page_store_messages::documentNotMade(
                                              program.APP_TITLE, note.document, false, note.folder,
                                              pageNames.first(), pageNames.last(), reason));
        return QString();
    };
    // Without its note a kill could leave pages twice, as pictures and in the document.
    const QString notePath = writeNote(note);
    if (notePath.isEmpty()) {
        return notMade(QString());
    }
    QStringList paths;
    for (const QString& page : pageNames) {
        paths += note.folder + page;
    }
    const picture_document::Outcome outcome =
        picture_document::write(program, owner, paths, target, false);
    if (outcome.result != picture_document::Result::Written) {
        file_system::remove(notePath);
        return outcome.result == picture_document::Result::Cancelled ? QString()
                                                                     : notMade(outcome.reason);
    }
    // The pages go only once the document that holds them has been read back from the disk,
    // whole and with every page: until then they are the only copy.
    if (!complete(note)) {
        file_system::remove(target);
        file_system::remove(notePath);
        return notMade(QString::fromLocal8Bit(std::strerror(EIO)));
    }
    // A page file that will not go keeps the note: the next start removes it.
    if (removePages(note)) {
        file_system::remove(notePath);
    }
    if (!picture_document::textLanguages(program).isEmpty() &&
        outcome.textPages < pageNames.size()) {
        program.prompter.message(nullptr, page_store_messages::documentWithoutWords(
                                              program.APP_TITLE, note.document,
                                              int(pageNames.size()), outcome.textPages));
    }
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
        if (finish(program, note)) {
            file_system::remove(path);
        }
    }
}

} // namespace run_document
