#include "without_root_rights.h"

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

namespace {

// The capabilities by which root passes file permissions.
constexpr unsigned kOverrides = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) |
                                (1u << CAP_FOWNER) | (1u << CAP_LINUX_IMMUTABLE);

bool readCapabilities(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capget, &header, data) == 0;
}

bool writeCapabilities(__user_cap_data_struct (&data)[2]) {
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    return ::syscall(SYS_capset, &header, data) == 0;
}

} // namespace

WithoutRootRights::WithoutRootRights() {
    __user_cap_data_struct data[2] = {};
    if (!readCapabilities(data)) {
        return; // nothing known of this thread's rights: the test has nothing to show
    }
    if ((data[0].effective & kOverrides) == 0) {
        enforced_ = true; // an ordinary process already
        return;
    }
    effective_[0] = data[0].effective;
    effective_[1] = data[1].effective;
    data[0].effective &= ~kOverrides;
    dropped_ = writeCapabilities(data);
    enforced_ = dropped_;
}

WithoutRootRights::~WithoutRootRights() {
    if (!dropped_) {
        return;
    }
    __user_cap_data_struct data[2] = {};
    if (readCapabilities(data)) {
        data[0].effective = effective_[0];
        data[1].effective = effective_[1];
        writeCapabilities(data);
    }
}
