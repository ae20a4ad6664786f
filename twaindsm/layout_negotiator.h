// DG_IMAGE / DAT_IMAGELAYOUT: the frame to scan, in inches (the only unit sources here accept),
// kept within the source's scan area.
#pragma once

#include "source.h"

namespace twaindsm {

class LayoutNegotiator {
public:
    // The part of frame inside area; an empty frame when they do not overlap.
    static Frame clip(const Frame& frame, const Frame& area);
    static bool isEmpty(const Frame& frame);

    // MSG_GET, MSG_GETCURRENT, MSG_GETDEFAULT, MSG_SET or MSG_RESET; pageNumber is the page the
    // next transfer delivers. Returns TWRC_SUCCESS or TWRC_FAILURE with condition set. A set
    // frame reaching beyond the scan area is clipped, and the clipped frame written back.
    static TW_UINT16 handle(Source& source, const Frame& defaultFrame, TW_UINT16 msg,
                            TW_UINT32 pageNumber, TW_IMAGELAYOUT& layout, TW_UINT16& condition);
};

} // namespace twaindsm
