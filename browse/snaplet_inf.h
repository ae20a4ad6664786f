// The description file the companion thumbnail program leaves in every folder it has processed.
// Its one entry of interest, TNDN, names the folder holding the thumbnails of that folder.
#pragma once

#include "bound_folder.h"

#include <QString>
#include <cstdint>

// Reads folder + "SNAPLET.INF" (folder ends in "/"). Returns -1 when the file cannot be opened
// (value unchanged); otherwise 0, with value set to the last TNDN entry (unchanged when there is
// none).
int16_t READ_SNAPLET_INF(const QString& folder, QString& value);

// The companion's thumbnail folder of folder (ends in "/") as a path below it ending in "/", e.g.
// "THUMBS/"; "" when folder has no SNAPLET.INF, it names no thumbnail folder, or what it names is
// not a real folder inside folder: a name with "." or "..", an absolute one, or one that passes
// through a link. Deleting and renaming follow the thumbnails, so they must not take files
// outside the folder with them.
QString companionThumbnails(const QString& folder);

// The companion's thumbnail folder of folder, held open for deleting and renaming its files; not
// open() when there is none (as companionThumbnails). relative, when given, receives what
// companionThumbnails returns.
BoundFolder companionFolder(const QString& folder, QString* relative = nullptr);
