// Where pages go that their own folder refuses: the user's data folder, and the system's temporary
// folder as a last resort. The acquisition library falls back to the same folders in the same
// order, so that the program finds the pages the library had to put there.
#pragma once

#include <QString>
#include <QStringList>

namespace kept_folder {

// The program's folder in the user's data folder: $XDG_DATA_HOME/orvana/ when XDG_DATA_HOME is
// absolute, else ~/.local/share/orvana/. Ends in "/"; not created here.
QString dataFolder();

// ORVANA_KEPT_DIR when set, else dataFolder() + "kept/". Ends in "/"; not created here.
QString primary();

// The system's temporary folder, ending in "/"; "" when it does not exist.
QString temporary();

// primary(), then temporary() when there is one.
QStringList all();

} // namespace kept_folder
