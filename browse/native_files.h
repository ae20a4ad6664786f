// The file system by the bytes of its names: paths are QStrings as native_name makes them
// (bytes that are not UTF-8 escaped), and Qt's own file classes would encode them again and miss
// such files. Everything here goes to the system by native_name::toBytes and gives names back by
// native_name::fromBytes.
#pragma once

#include <QDateTime>
#include <QFile>
#include <QString>
#include <QStringList>

namespace native_files {

// The names of the files in folder (links followed; a link to nothing counts as a file), sorted
// by their text; pattern, when given, is a wildcard such as "*.run". Empty when the folder cannot
// be read.
QStringList list(const QString& folder, const QString& pattern = {});

bool exists(const QString& path); // anything there, a dangling link included
bool isFile(const QString& path);
bool isFolder(const QString& path);
bool isWritableFolder(const QString& path);
QDateTime lastModified(const QString& path);
// The path with links and dots resolved; empty when it does not exist.
QString canonical(const QString& path);

// Makes the folder and its parents; true when it is there afterwards.
bool makePath(const QString& folder);
bool remove(const QString& path);
// Renames within one file system, never replacing a file that is there.
bool renameNoReplace(const QString& from, const QString& to);
// Copies a regular file to a path that does not exist yet; errorText receives why not.
bool copy(const QString& from, const QString& to, QString* errorText = nullptr);
// Opens file for writing (created, emptied) by the path's own bytes.
bool openForWriting(QFile& file, const QString& path);

} // namespace native_files
