// The two file-system steps that make a settings save safe against crashes and power loss.
#pragma once

#include <QString>

class QFile;

namespace settings_disk {

// Pushes what was written to file down to the disk; false when the system reports a failure.
bool flushToDisk(QFile& file);

// Puts from in the place of to in one step, replacing to when it exists.
bool replaceFile(const QString& from, const QString& to);

} // namespace settings_disk
