// The three ways pages are taken from a source once it reports a transfer ready: one image kept
// for the caller, page files only, and the batch with page files and a per-page callback.
#pragma once

#include "session.h"

namespace pmxacq {

// Native transfers until the source has none pending; the last page received stays in hand.
void transferSingleImage(Session& session);

// Every page becomes a page file (when a base name is given) and is released; the page counter
// counts the files written.
void transferPageFiles(Session& session);

// Every page is counted, written as a page file when a base name is given and shown to the
// callback, which may stop the batch.
void transferBatch(Session& session);

} // namespace pmxacq
