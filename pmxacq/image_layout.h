// The source's frame (DAT_IMAGELAYOUT) in inches, as the records carry it.
#pragma once

#include "session.h"

namespace pmxacq {

// MSG_SET with the settings' frame and document, page and frame numbers 0.
bool setFrame(Session& session, const ImageSettings& settings);
// MSG_GET into the settings' frame; false (settings untouched) when the source does not answer.
bool getFrame(Session& session, ImageSettings& settings);

// The source's current pixel type, resolution (0 when unreadable) and frame, read over settings.
void readBackSettings(Session& session, ImageSettings& settings);

} // namespace pmxacq
