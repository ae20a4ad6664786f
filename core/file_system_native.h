// What file_system asks of the system, one file for each: file_system_posix.cpp here.
#pragma once

#include "file_system.h"

namespace file_system::native {

// Every entry of folder but "." and "..", unsorted; false when the folder cannot be read.
bool entries(const QString& folder, QStringList& names);
// 0 when the entry path could be removed by this process (its folder is writable), else why not.
int removalError(const QString& path);
// Whether a rename failed only because the two paths lie on different file systems.
bool acrossVolumes(const Result& renamed);

} // namespace file_system::native
