// The calling thread's last error, as GetLastError reports it.
#pragma once

#include "winport.h"

namespace winport {

void setLastError(DWORD error);

} // namespace winport
