#include "temporary_file.h"

#include <cstdlib>
#include <unistd.h>

namespace pelmix {

TemporaryFile::TemporaryFile(const char* stem) {
    const char* tmp = std::getenv("TMPDIR");
    std::string name =
        std::string(tmp != nullptr && *tmp != '\0' ? tmp : "/tmp") + "/" + stem + ".XXXXXX";
    const int fd = ::mkstemp(name.data());
    if (fd >= 0) {
        ::close(fd);
        path_ = name;
    }
}

TemporaryFile::~TemporaryFile() {
    if (!path_.empty()) {
        ::unlink(path_.c_str());
    }
}

} // namespace pelmix
