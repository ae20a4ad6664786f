// The three ways pages are taken from a source once it reports a transfer ready: one image kept
// for the caller, page files only, and the batch with page files and a per-page callback.
#pragma once

#include "session.h"

namespace pmxacq {

// Native transfers until the source has none pending; the last page received stays in hand.
void transferSingleImage(Session& session);

// Every page becomes a page file (when a base name is given) and is released; the page counter
// counts the files written. The first page that cannot be written is kept elsewhere (see
// kept_page.h), is not counted, and ends the batch: what the source still holds is reset.
void transferPageFiles(Session& session);

// Every page is counted, written as a page file when a base name is given and shown to the
// callback, which may stop the batch. A page file that cannot be written is kept elsewhere and
// ends the batch after the callback has seen the page.
void transferBatch(Session& session);

} // namespace pmxacq
