// The single image handed back to the caller: a fresh, unlocked block of exactly the size its
// header describes, whatever the source left behind.
#pragma once

#include "winport.h"

namespace pmxacq {

// Removes every lock left on the source's block (as many unlocks as its lock count).
void unlockCompletely(HGLOBAL image);

// Copies header, colour table and rows into a new movable block with biSizeImage set and frees
// the source's block; returns the new block. When no new block can be had, or the source's
// block is smaller than its header says, the source's block is returned as it is.
HGLOBAL repackImage(HGLOBAL image);

} // namespace pmxacq
