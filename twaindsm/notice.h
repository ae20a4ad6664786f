// The window message that carries a source's notices (MSG_XFERREADY, MSG_CLOSEDSREQ) through the
// application's message queue: wParam = the TWAIN message, lParam = the source's Id.
#pragma once

#include "winport.h"

#define ORVANA_WM_TWAIN_NOTICE (WM_USER + 0x0A11)
