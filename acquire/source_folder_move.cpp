#include "source_folder_move.h"

#include "file_system.h"
#include "file_times.h"
#include "folder_list.h"
#include "page_store.h"
#include "program.h"
#include "startup_folders.h"

#include <QFileInfo>

QString extensionOf(const QString& name) {
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot);
}

SourceFolderMove moveSourceFolder(Program& program, PageStore& store, int64_t& lastNumber,
                                  int64_t& nextNumber) {
    SourceFolderMove result;
    const QString source = program.settings.NTWP;
    if (source.isEmpty()) {
        return result;
    }
    const QString folder = withTrailingSlash(source);
    FolderList list; // SRC_FILELIST
    list.setFolder(folder);
    result.listed = list.count();
    if (result.listed == 0) {
        return result;
    }

    nextNumber = lastNumber + 1;
    for (const QString& name : list.names()) {
        store.checkDigitOverflow(nextNumber);
        const int64_t before = nextNumber;
        const QString destination = store.destination(extensionOf(name), nextNumber);
        if (destination.isEmpty()) {
            break; // no automatic name left: the rest stays in the source folder
        }
        if (nextNumber != before) {
            lastNumber = nextNumber - 1; // the collision rule rescanned the folder
        }
        const QString path = folder + name;
        FileTimes times;
        const bool timesRead = GET_FILE_TIMES(path, times) == 0;
        if (file_system::moveFile(path, destination, false)) {
            if (timesRead) {
                SET_FILE_TIMES(destination, times);
            }
            if (result.moved++ == 0) {
                result.firstMoved = QFileInfo(destination).fileName();
            }
        } else if (file_system::isFile(path) && !file_system::isWritableFolder(folder)) {
            result.stayed += path;
        }
        ++nextNumber;
    }
    return result;
}
