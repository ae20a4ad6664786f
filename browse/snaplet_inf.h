// The description file the companion thumbnail program leaves in every folder it has processed.
// Its one entry of interest, TNDN, names the folder holding the thumbnails of that folder.
#pragma once

#include <QString>
#include <cstdint>

// Reads folder + "SNAPLET.INF" (folder ends in "/"). Returns -1 when the file cannot be opened
// (value unchanged); otherwise 0, with value set to the last TNDN entry (unchanged when there is
// none).
int16_t READ_SNAPLET_INF(const QString& folder, QString& value);

// The companion's thumbnail folder of folder (ends in "/") as a path below it ending in "/", e.g.
// "THUMBS/"; "" when folder has no SNAPLET.INF or it names no thumbnail folder.
QString companionThumbnails(const QString& folder);
