// The move method of acquisition: the picture files of the source folder NTWP are moved, in list
// order, into the acquisition folder under automatic names. They keep their format (the
// extension of each file, letter case kept) and their times; nothing is converted.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

class PageStore;
class Program;

struct SourceFolderMove {
    int listed = 0;     // picture files the source folder listed
    int moved = 0;      // of those, moved into the acquisition folder
    QString firstMoved; // the new name (without folder) of the first file moved; "" when none
    QStringList stayed; // paths of files left in the source folder because it would not let
                        // them go (the copy was undone)
};

// Lists NTWP (pattern "*.bmp;*.jpg;*.tif") and, when it lists files, moves each to the next
// name: nextNumber starts at lastNumber + 1 and advances for every listed file, moved or not.
// A collision rescan through store updates lastNumber as well. Failures are passed over file by
// file; when no automatic name is left, the remaining files stay in the source folder.
SourceFolderMove moveSourceFolder(Program& program, PageStore& store, int64_t& lastNumber,
                                  int64_t& nextNumber);

// The extension of name with its dot ("." + the text after the last "."), letter case kept;
// "" when the name has no dot.
QString extensionOf(const QString& name);
