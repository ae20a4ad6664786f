// The user's own folders by the desktop's base-directory rules: the one place that reads
// $XDG_CONFIG_HOME, $XDG_DATA_HOME, $XDG_CACHE_HOME and $HOME, for the program and for the
// libraries under it alike (a page the acquisition library keeps must be found where the program
// looks for it). Paths are the system's bytes.
#pragma once

#include <string>

namespace winport {

enum class BaseFolder { Home, Config, Data, Cache };

// Home: $HOME when it is an absolute path, else the user's entry in the password database.
// The others: the variable of kind when it holds an absolute path, else ~/.config,
// ~/.local/share or ~/.cache. No trailing slash, not created here; "" when there is no home
// folder either.
__attribute__((visibility("default"))) std::string baseFolder(BaseFolder kind);

} // namespace winport
