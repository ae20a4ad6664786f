// Owners for the TurboJPEG objects the JPEG codec holds, so that every early
// return releases them.
#pragma once

#include "winport.h"

#include <memory>
#include <turbojpeg.h>

namespace pelmix {

struct TjHandleFree {
    void operator()(void* handle) const { tjDestroy(handle); }
};
using TjHandle = std::unique_ptr<void, TjHandleFree>;

struct TjBufferFree {
    void operator()(unsigned char* buffer) const { tjFree(buffer); }
};
using TjBuffer = std::unique_ptr<unsigned char, TjBufferFree>;

} // namespace pelmix
