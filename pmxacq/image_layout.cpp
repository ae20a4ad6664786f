#include "image_layout.h"

#include "capability.h"

namespace pmxacq {

bool setFrame(Session& session, const ImageSettings& settings) {
    TW_IMAGELAYOUT layout{};
    layout.Frame.Left = toFix32(settings.left);
    layout.Frame.Top = toFix32(settings.top);
    layout.Frame.Right = toFix32(settings.right);
    layout.Frame.Bottom = toFix32(settings.bottom);
    return session.call(true, DG_IMAGE, DAT_IMAGELAYOUT, MSG_SET, &layout) == TWRC_SUCCESS;
}

bool getFrame(Session& session, ImageSettings& settings) {
    TW_IMAGELAYOUT layout{};
    if (session.call(true, DG_IMAGE, DAT_IMAGELAYOUT, MSG_GET, &layout) != TWRC_SUCCESS) {
        return false;
    }
    settings.left = static_cast<float>(fromFix32(layout.Frame.Left));
    settings.top = static_cast<float>(fromFix32(layout.Frame.Top));
    settings.right = static_cast<float>(fromFix32(layout.Frame.Right));
    settings.bottom = static_cast<float>(fromFix32(layout.Frame.Bottom));
    return true;
}

void readBackSettings(Session& session, ImageSettings& settings) {
    TW_UINT16 pixelType = 0;
    if (getCapability(session, ICAP_PIXELTYPE, MSG_GETCURRENT, &pixelType, sizeof pixelType)) {
        settings.pixelType = static_cast<int16_t>(pixelType);
    }
    TW_FIX32 resolution{0, 0};
    getCapability(session, ICAP_XRESOLUTION, MSG_GETCURRENT, &resolution, sizeof resolution);
    settings.resolution = static_cast<float>(fromFix32(resolution));
    getFrame(session, settings);
}

} // namespace pmxacq
