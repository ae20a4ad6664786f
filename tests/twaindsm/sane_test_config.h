// A SANE configuration of its own for each SANE test program: only the "test" backend, with the
// system's settings for it (without them its devices scan 1 x 1 pixels), a configuration folder
// of its own, and the host process of the build. Set up before main, so before anything starts
// SANE.
#pragma once

#include "temp_dir.h"

#include <cstdlib>
#include <string>

class SaneTestConfig {
public:
    SaneTestConfig() {
        const std::string dll = "test\n";
        writeBytes(dir_.file("dll.conf"), dll.data(), dll.size());
        const std::string conf = readBytes("/etc/sane.d/test.conf");
        writeBytes(dir_.file("test.conf"), conf.data(), conf.size());
        ::setenv("SANE_CONFIG_DIR", dir_.path().c_str(), 1);
        // What sources remember of their devices stays in the test's own folder.
        ::setenv("XDG_CONFIG_HOME", dir_.file("config").c_str(), 1);
        useBuiltHost();
    }
    // The tests link the SANE sources themselves, so the host is not beside them: the built one.
    static void useBuiltHost() { ::setenv("ORVANA_SANE_HOST", ORVANA_SANE_HOST_PATH, 0); }
    bool complete() const { return !readBytes(dir_.file("test.conf")).empty(); }

private:
    TempDir dir_;
};

inline const SaneTestConfig kSaneTestConfig;
