#include "sane_library.h"

#include "sane_host.h"

#include <mutex>

namespace twaindsm {

namespace {

// One count for the whole process, changed only under the lock together with the init/exit
// calls: a last reference dropped on one thread cannot run sane_exit after another thread has
// started SANE again.
struct Users {
    std::mutex mutex;
    int count = 0;
    SANE_Int version = 0;
};

Users& users() {
    static Users u;
    return u;
}

} // namespace

std::shared_ptr<SaneLibrary> SaneLibrary::acquire() {
    Users& u = users();
    std::lock_guard<std::mutex> lock(u.mutex);
    if (u.count == 0) {
        SANE_Int version = 0;
        if (sane_host::init(&version) != SANE_STATUS_GOOD) {
            return nullptr;
        }
        u.version = version;
    }
    ++u.count;
    return std::shared_ptr<SaneLibrary>(new SaneLibrary(u.version));
}

SaneLibrary::~SaneLibrary() {
    Users& u = users();
    std::lock_guard<std::mutex> lock(u.mutex);
    if (--u.count == 0) {
        sane_host::exit();
    }
}

} // namespace twaindsm
