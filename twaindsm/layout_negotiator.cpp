#include "layout_negotiator.h"

#include "fix32.h"

#include <algorithm>

namespace twaindsm {

namespace {

TW_FRAME toTwain(const Frame& frame) {
    return TW_FRAME{toFix32(frame.left), toFix32(frame.top), toFix32(frame.right),
                    toFix32(frame.bottom)};
}

Frame fromTwain(const TW_FRAME& frame) {
    return Frame{fromFix32(frame.Left), fromFix32(frame.Top), fromFix32(frame.Right),
                 fromFix32(frame.Bottom)};
}

void fill(TW_IMAGELAYOUT& layout, const Frame& frame, TW_UINT32 pageNumber) {
    layout.Frame = toTwain(frame);
    layout.DocumentNumber = 1;
    layout.PageNumber = pageNumber;
    layout.FrameNumber = 1;
}

} // namespace

Frame LayoutNegotiator::clip(const Frame& frame, const Frame& area) {
    return Frame{std::max(frame.left, area.left), std::max(frame.top, area.top),
                 std::min(frame.right, area.right), std::min(frame.bottom, area.bottom)};
}

bool LayoutNegotiator::isEmpty(const Frame& frame) {
    return !(frame.right > frame.left && frame.bottom > frame.top);
}

TW_UINT16 LayoutNegotiator::handle(Source& source, const Frame& defaultFrame, TW_UINT16 msg,
                                   TW_UINT32 pageNumber, TW_IMAGELAYOUT& layout,
                                   TW_UINT16& condition) {
    ScanSettings& settings = source.settings();
    switch (msg) {
    case MSG_GET:
    case MSG_GETCURRENT:
        fill(layout, settings.frame, pageNumber);
        return TWRC_SUCCESS;
    case MSG_GETDEFAULT:
        fill(layout, defaultFrame, pageNumber);
        return TWRC_SUCCESS;
    case MSG_RESET:
        settings.frame = defaultFrame;
        fill(layout, settings.frame, pageNumber);
        return TWRC_SUCCESS;
    case MSG_SET: {
        const Frame wanted = fromTwain(layout.Frame);
        const Frame clipped = clip(wanted, source.limits().scanArea);
        if (isEmpty(wanted) || isEmpty(clipped)) {
            condition = TWCC_BADVALUE;
            return TWRC_FAILURE;
        }
        // Clipping is reported through the frame only: applications treat anything but
        // success as a refusal, and a frame a little larger than the glass is common.
        settings.frame = clipped;
        fill(layout, clipped, pageNumber);
        return TWRC_SUCCESS;
    }
    }
    condition = TWCC_BADPROTOCOL;
    return TWRC_FAILURE;
}

} // namespace twaindsm
