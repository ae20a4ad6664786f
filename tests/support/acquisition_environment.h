// The folders a test of acquisition needs before anything loads the data source manager or
// starts SANE: the program folder holding the manager, a configuration folder of its own (where
// the manager remembers its default source), a data folder of its own and a SANE configuration with
// either SANE's test backend (and, given its folder, the tests' fault driver after it) or no
// backend at all.
#pragma once

#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <string>

class AcquisitionEnvironment {
public:
    enum class Sane { TestBackend, None };

    // defaultSource: the source the manager is told was chosen last ("" for none).
    AcquisitionEnvironment(const char* programDir, Sane sane, const std::string& defaultSource,
                           const char* faultBackendDir = nullptr) {
        if (sane == Sane::TestBackend) {
            std::string dll = "test\n";
            if (faultBackendDir != nullptr) {
                // The host process, started later, finds the driver by this path.
                dll += "orvanafault\n";
                ::setenv("LD_LIBRARY_PATH", faultBackendDir, 1);
            }
            writeBytes(sane_.file("dll.conf"), dll.data(), dll.size());
            // Without the system's settings the test device scans 1 x 1 pixels.
            const std::string conf = readBytes("/etc/sane.d/test.conf");
            writeBytes(sane_.file("test.conf"), conf.data(), conf.size());
        } else {
            writeBytes(sane_.file("dll.conf"), "", 0);
        }
        if (!defaultSource.empty()) {
            chooseSource(defaultSource);
        }
        ::setenv("ORVANA_WINDOWS_DIR", programDir, 1);
        ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
        // Run notes and kept pages of the tests stay out of the user's data folder.
        ::setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
        ::unsetenv("ORVANA_KEPT_DIR");
        ::setenv("SANE_CONFIG_DIR", sane_.path().c_str(), 1);
    }

    // Tells the manager that name is the source chosen last.
    void chooseSource(const std::string& name) {
        std::filesystem::create_directories(config_.file("orvana"));
        const std::string line = name + "\n";
        writeBytes(config_.file("orvana/twain-default-source"), line.data(), line.size());
    }

    // Whether SANE's test backend has the system's settings to work with.
    static bool saneTestBackendConfigured() { return !readBytes("/etc/sane.d/test.conf").empty(); }

private:
    TempDir config_;
    TempDir data_;
    TempDir sane_;
};
