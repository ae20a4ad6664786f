#include "last_error.h"

namespace {
thread_local DWORD lastError = NO_ERROR;
}

namespace winport {

void setLastError(DWORD error) {
    lastError = error;
}

} // namespace winport

WINPORT_API DWORD GetLastError(void) {
    return lastError;
}

WINPORT_API void SetLastError(DWORD error) {
    lastError = error;
}
