// The user's own folders, by the desktop's base-directory rules (winport's baseFolder), as
// paths of the program.
#pragma once

#include <QString>

namespace user_folders {

enum class Kind { Config, Data, Cache };

// The variable of kind when it holds an absolute path, else ~/.config, ~/.local/share or
// ~/.cache. No trailing slash, not created here; "" when the user has no home folder either.
QString of(Kind kind);

// $HOME when it is an absolute path, else the user's entry in the password database; "" when
// neither names one.
QString home();

// Whether a program folder belongs to the package manager (it lies under /usr): nothing of the
// user's is kept there, even by a user who may write there, as it would outlive the package.
bool packageOwned(const QString& programDir);

} // namespace user_folders
