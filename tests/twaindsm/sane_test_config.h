// A SANE configuration of its own for each SANE test program: only the "test" backend, with the
// system's settings for it (without them its devices scan 1 x 1 pixels). Set up before main, so
// before anything starts SANE.
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
    }
    bool complete() const { return !readBytes(dir_.file("test.conf")).empty(); }

private:
    TempDir dir_;
};

inline const SaneTestConfig kSaneTestConfig;
