// The SANE host process as the data source manager sees it: the SANE calls it needs, each sent
// to orvana-sane-host and answered there, so that a driver that hangs or crashes costs a page and
// a message, never the program. A call that gets no answer within its limit, or whose host died,
// fails with SANE_STATUS_IO_ERROR; the host is then killed and fault() says what happened, and
// the next sane_open starts a new host. A read's limit counts from the last data that came, so a
// slow scan is not a fault. A cancel that the driver ignores ends the host within kCancelLimit,
// and so does a cancel or close that the driver does not return from.
//
// One host serves the whole process. Handles are the host's, with the host's generation in them:
// a handle of a host that has ended is refused. Calls on one handle come from one thread at a
// time (as SANE asks); interrupt() may come from any thread.
#pragma once

#include <chrono>
#include <sane/sane.h>
#include <string>
#include <vector>

namespace twaindsm::sane_host {

inline constexpr std::chrono::milliseconds kCancelLimit{1500};

struct Device {
    std::string name;
    std::string vendor;
    std::string model;
    std::string type;
};

SANE_Status init(SANE_Int* version);
void exit();
SANE_Status devices(std::vector<Device>& found);
SANE_Status open(const std::string& name, SANE_Handle* handle);
void close(SANE_Handle handle);
// Valid until the handle is closed.
const SANE_Option_Descriptor* descriptor(SANE_Handle handle, SANE_Int option);
SANE_Status control(SANE_Handle handle, SANE_Int option, SANE_Action action, void* value,
                    SANE_Int* info);
SANE_Status start(SANE_Handle handle);
SANE_Status parameters(SANE_Handle handle, SANE_Parameters* parameters);
// Up to most bytes of the frame; data points to them in memory shared with the host, valid until
// the next read.
SANE_Status read(SANE_Handle handle, SANE_Int most, const SANE_Byte** data, SANE_Int* length);
// Ends the scan on the device, in turn with the other calls.
void cancel(SANE_Handle handle);
// Cancels the start or read under way on another thread; a driver that does not return within
// kCancelLimit is ended. Any thread may call it.
void interrupt(SANE_Handle handle);

// What ended the last host that failed.
enum class Fault { None, NotStarted, Ended, Unanswered, CancelIgnored, Abandoned };
Fault faultKind();

// Makes the devices() or open() under way on another thread give up within a tenth of a second
// (the host is ended, a network search with it). The next devices() or open() clears it.
void abandon();

// Whether handle belongs to the host running now.
bool current(SANE_Handle handle);
// What ended the last host that failed ("" when none did): the driver stopped answering, or
// ended unexpectedly.
std::string fault();

} // namespace twaindsm::sane_host
