// The folders a test of acquisition needs before anything loads the data source manager or
// starts SANE: the program folder holding the manager, a configuration folder of its own (where
// the manager remembers its default source), a data folder of its own and a SANE configuration with
// either SANE's test backend or no backend at all.
#pragma once

#include "temp_dir.h"

#include <cstdlib>
#include <filesystem>
#include <string>

class AcquisitionEnvironment {
public:
    enum class Sane { TestBackend, None };

    // defaultSource: the source the manager is told was chosen last ("" for none).
    AcquisitionEnvironment(const char* programDir, Sane sane, const std::string& defaultSource) {
        if (sane == Sane::TestBackend) {
            const std::string dll = "test\n";
            writeBytes(sane_.file("dll.conf"), dll.data(), dll.size());
            // Without the system's settings the test device scans 1 x 1 pixels.
            const std::string conf = readBytes("/etc/sane.d/test.conf");
            writeBytes(sane_.file("test.conf"), conf.data(), conf.size());
        } else {
            writeBytes(sane_.file("dll.conf"), "", 0);
        }
        if (!defaultSource.empty()) {
            std::filesystem::create_directories(config_.file("orvana"));
            const std::string name = defaultSource + "\n";
            writeBytes(config_.file("orvana/twain-default-source"), name.data(), name.size());
        }
        ::setenv("ORVANA_WINDOWS_DIR", programDir, 1);
        ::setenv("XDG_CONFIG_HOME", config_.path().c_str(), 1);
        // Run notes and kept pages of the tests stay out of the user's data folder.
        ::setenv("XDG_DATA_HOME", data_.path().c_str(), 1);
        ::unsetenv("ORVANA_KEPT_DIR");
        ::setenv("SANE_CONFIG_DIR", sane_.path().c_str(), 1);
    }

    // Whether SANE's test backend has the system's settings to work with.
    static bool saneTestBackendConfigured() { return !readBytes("/etc/sane.d/test.conf").empty(); }

private:
    TempDir config_;
    TempDir data_;
    TempDir sane_;
};
