// Whether a name given on the command line or dropped on the main window names a folder.
#pragma once

#include <QString>
#include <QStringList>

struct FolderName {
    bool isFolder = false;
    QString folder; // the name with a trailing "/" when it is a folder
};

// An existing folder is always a folder. Otherwise the name is scanned from its end: a "/" or
// ":" met first makes it a folder, a "." met first makes it a file, and a name with none of them
// is not a folder.
FolderName folderFromName(const QString& name);

// The command line after the program name as one text; a text wrapped in double quotes (a path
// with blanks as a shell passes it) loses them.
QString commandLineText(const QStringList& arguments);
