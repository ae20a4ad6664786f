// Loads the settings record from ORVA.CNF in the program folder and saves it back, using
// DEF_ORVA.CNF there both as the defaults for a first start and as the layout of every save.
#pragma once

#include "usr_settings.h"

#include <QString>
#include <cstdint>
#include <utility>

enum class SettingsLoadResult {
    Loaded,              // ORVA.CNF was read
    CreatedFromDefaults, // ORVA.CNF was missing or unreadable: made as a copy of DEF_ORVA.CNF
    ReadDefaultsOnly,    // as above, but the copy could not be written; DEF_ORVA.CNF was read
    DefaultsMissing,     // neither file could be read: the program cannot go on
};

enum class SettingsSaveResult {
    Saved,
    TemplateMissing, // DEF_ORVA.CNF could not be read; ORVA.CNF is unchanged
    WriteFailed,     // the temporary file could not be written; ORVA.CNF is unchanged
    ReplaceFailed,   // the new settings are in the temporary file; ORVA.CNF keeps the old ones
};

// Values that belong to the main window and are taken at the moment of saving.
struct SettingsSaveMoment {
    QString displayedFolder; // becomes DFDS
    int32_t left = 0;        // POSL, twips
    int32_t top = 0;         // POST
    int32_t width = 0;       // POSW
    int32_t height = 0;      // POSH
};

class SettingsStore {
public:
    static constexpr const char* settingsFileName = "ORVA.CNF";
    static constexpr const char* defaultsFileName = "DEF_ORVA.CNF";

    // programDir ends in the folder separator, as every folder path of the program does. The
    // defaults file is read there; ORVA.CNF lives in settingsDir, the program folder unless that
    // cannot be written (see settingsFolder).
    explicit SettingsStore(QString programDir, QString settingsDir = QString())
        : programDir_(std::move(programDir)),
          settingsDir_(settingsDir.isEmpty() ? programDir_ : std::move(settingsDir)) {}

    // Where ORVA.CNF is kept: the program folder; when that cannot be written (an installed
    // program), the user's configuration folder "orvana/" instead, which is also used from then
    // on once it holds a settings file. Ends in "/".
    static QString settingsFolder(const QString& programDir);

    // Sets the built-in defaults, then reads ORVA.CNF (made from DEF_ORVA.CNF first when it
    // cannot be opened) into settings.
    SettingsLoadResult LOAD_SETTINGS(USR_SETTINGS& settings) const;

    // Writes settings in the layout of DEF_ORVA.CNF to a temporary file and puts that file in the
    // place of ORVA.CNF. DFDS and POSL..POSH are first set from moment.
    SettingsSaveResult SAVE_SETTINGS(USR_SETTINGS& settings,
                                     const SettingsSaveMoment& moment) const;

    // The values the record holds before any file is read.
    void setBuiltInDefaults(USR_SETTINGS& settings) const;

    QString settingsPath() const { return settingsDir_ + QLatin1String(settingsFileName); }
    QString defaultsPath() const { return programDir_ + QLatin1String(defaultsFileName); }
    // "ORVA_CNF.<process>.TMP": two programs saving at once never write into one temporary file.
    QString temporaryPath() const;

private:
    QString programDir_;
    QString settingsDir_;
};
