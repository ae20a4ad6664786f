#include "run_journal.h"

#include "file_system.h"
#include "kept_folder.h"
#include "native_name.h"
#include "page_file_names.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>

namespace {

// First line of every note; the folder follows on the second line, as the file system's bytes.
const QByteArray kHeader = QByteArrayLiteral("ORVANA RUN 1");

} // namespace

QString RunJournal::noteFolder() {
    // No data folder (no home folder either): no notes, rather than notes in the working folder.
    const QString data = kept_folder::dataFolder();
    return data.isEmpty() ? QString() : data + QStringLiteral("runs/");
}

QStringList RunJournal::notes() {
    const QString folder = noteFolder();
    QStringList paths;
    for (const QString& name : file_system::list(folder, QStringLiteral("*.run"))) {
        paths += folder + name;
    }
    return paths;
}

QString RunJournal::folderOf(const QString& notePath) {
    QFile note(notePath);
    if (!note.open(QIODevice::ReadOnly) || note.size() > 64 * 1024) {
        return QString();
    }
    const QList<QByteArray> lines = note.readAll().split('\n');
    if (lines.size() < 2 || lines[0] != kHeader || !lines[1].startsWith('/')) {
        return QString();
    }
    QString folder = native_name::fromBytes(lines[1]);
    if (!folder.endsWith(QLatin1Char('/'))) {
        folder += QLatin1Char('/');
    }
    return folder;
}

RunJournal::RunJournal(const QString& folder) : folder_(folder) {
    const QString notes = noteFolder();
    if (!file_system::makePath(notes)) {
        return;
    }
    // Sorted by time; the process number keeps two programs started together apart.
    const QString path =
        notes + QStringLiteral("%1-%2.run")
                    .arg(QDateTime::currentMSecsSinceEpoch(), 14, 10, QLatin1Char('0'))
                    .arg(QCoreApplication::applicationPid());
    QSaveFile note(path);
    if (!note.open(QIODevice::WriteOnly)) {
        return;
    }
    note.write(kHeader + '\n' + native_name::toBytes(folder) + '\n');
    if (note.commit()) {
        path_ = path;
    }
}

RunJournal::~RunJournal() {
    if (!written()) {
        return;
    }
    for (const QString& name : file_system::list(folder_)) {
        if (page_file_names::isPageFile(name)) {
            return;
        }
    }
    file_system::remove(path_);
}
