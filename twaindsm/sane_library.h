// SANE for the whole process: sane_init when the first user appears, sane_exit when the last one
// goes. Sources and the discovery hold a reference so that device handles stay valid.
#pragma once

#include <memory>

namespace twaindsm {

class SaneLibrary {
public:
    // A reference to the running library, starting it if nobody holds one; null when sane_init
    // fails. Each reference counts as one user until it is destroyed. Thread-safe.
    static std::shared_ptr<SaneLibrary> acquire();

    ~SaneLibrary();
    SaneLibrary(const SaneLibrary&) = delete;
    SaneLibrary& operator=(const SaneLibrary&) = delete;

    // The version sane_init reported (SANE_VERSION_CODE form).
    int versionCode() const { return versionCode_; }

private:
    explicit SaneLibrary(int versionCode) : versionCode_(versionCode) {}

    int versionCode_;
};

} // namespace twaindsm
