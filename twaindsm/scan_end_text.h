// What the user reads when a batch ends other than as asked: one sentence naming the device and
// what went wrong, one saying what to do next, and how many pages came before (they were handed
// to the program). In the program's language.
#pragma once

#include "sane_host.h"

#include <QString>
#include <sane/sane.h>

namespace twaindsm {

struct ScanEnd {
    QString device;                                  // the name the user knows the device by
    bool network = false;                            // reached over the network (saned, eSCL)
    SANE_Status status = SANE_STATUS_GOOD;           // what the driver answered
    bool atStart = false;                            // before any byte of the page
    sane_host::Fault fault = sane_host::Fault::None; // what ended the driver, if it ended
    int pagesBefore = 0;
};

// The message for a batch that failed; empty for one that did not (a feeder that ran out after
// its first page ends the batch as it should).
QString scanEndText(const ScanEnd& end);

} // namespace twaindsm
