// The message boxes of start-up and shutdown, word for word.
#pragma once

#include "prompter.h"

#include <QString>

namespace startup_messages {

// Whether the catalogue view shall draw pictures (DSDF).
Prompter::Message drawPicturesQuestion(const QString& title, const QString& folder);

// The TWAIN source list could not be read: at start (the program is to be started again) and at
// exit (the device is looked at next time).
Prompter::Message deviceListFailedAtStart(const QString& title);
Prompter::Message deviceListFailedAtExit(const QString& title);

// The default TWAIN source is not the one in use at the last exit.
Prompter::Message deviceChanged(const QString& title, const QString& previous,
                                const QString& current);

// Acquire from the TWAIN device at once (SUTW).
Prompter::Message acquireNowQuestion(const QString& title);

// Close the program? No is the default button.
Prompter::Message exitQuestion();

// A command line that names no folder, and a dropped name that is no folder.
Prompter::Message commandLineNotFolder(const QString& title, const QString& text);
Prompter::Message droppedNotFolder(const QString& title, const QString& name);

// Neither the settings file nor its defaults file could be read: the program cannot start.
Prompter::Message defaultsMissing(const QString& title, const QString& defaultsPath);

// The settings could not be written at exit (read-only folder, full disk, no defaults file).
Prompter::Message settingsNotSaved(const QString& title, const QString& path);

} // namespace startup_messages
