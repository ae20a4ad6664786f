// A data source as the manager sees it. The manager keeps TWAIN's states and refuses triplets
// out of sequence before they reach a source; a source only does the work.
#pragma once

#include "scan_settings.h"
#include "twain_protocol.h"

#include <functional>
#include <string>

namespace twaindsm {

// Where a source sends its notices to the application (MSG_XFERREADY, MSG_CLOSEDSREQ). The
// manager posts them into the application's message queue; they come back to the source through
// MSG_PROCESSEVENT. May be called from any thread.
using NoticeSink = std::function<void(TW_UINT16 notice)>;

// The pending count of a batch that goes on for an unknown number of pages (TWAIN's -1 in a
// TW_UINT16), as a document feeder does until it runs empty.
constexpr TW_UINT16 kPagesUnknown = 0xFFFF;

class Source {
public:
    virtual ~Source() = default;

    // ProductName, Manufacturer, ProductFamily, Version, ProtocolMajor/Minor, SupportedGroups.
    // The manager sets Id.
    virtual TW_IDENTITY identity() const = 0;
    // The name the user sees in the chooser and the source's window, whole; ProductName is the
    // short one the choice is remembered by.
    virtual std::string displayName() const;

    // MSG_OPENDS / MSG_CLOSEDS. open() may fail with a TWAIN condition code (e.g. a SANE device
    // that cannot be opened: TWCC_OPERATIONERROR or TWCC_MAXCONNECTIONS).
    virtual bool open(TW_UINT16& condition) = 0;
    virtual void close() = 0;

    // The negotiated values (changed by the manager's capability and layout handling) and the
    // limits that handling enforces.
    virtual ScanSettings& settings() = 0;
    virtual const SourceLimits& limits() const = 0;
    // CAP_FEEDERLOADED: whether paper is in the feeder now.
    virtual bool feederLoaded() const = 0;

    // MSG_ENABLEDS. With showUI the source shows its window over parent (as a child window of the
    // application) and posts MSG_XFERREADY when the user asks for a scan, MSG_CLOSEDSREQ when the
    // user closes it; without, it posts MSG_XFERREADY at once. False with a condition code if it
    // cannot be enabled.
    virtual bool enable(bool showUI, HWND parent, NoticeSink notices, TW_UINT16& condition) = 0;
    // MSG_DISABLEDS: hides the window, stops any scan in progress.
    virtual void disable() = 0;

    // DAT_IMAGENATIVEXFER: the next page of the batch as a packed DIB (bottom-up, 1-bit BW, 8-bit
    // GRAY or PALETTE with its colour table, 24-bit RGB) in a movable global-memory handle the
    // application then owns. TWRC_XFERDONE, TWRC_CANCEL (the user or the device cancelled this
    // page) or TWRC_FAILURE with a condition code.
    virtual TW_UINT16 transfer(TW_HANDLE& page, TW_UINT16& condition) = 0;

    // After MSG_ENDXFER: the number of pages still to come in this batch, not counting pages
    // already transferred (0 = the batch is over, kPagesUnknown = more are coming but their
    // number is unknown, as with a document feeder).
    virtual TW_UINT16 pending() = 0;
    // MSG_RESET of DAT_PENDINGXFERS: the rest of the batch is dropped.
    virtual void discardPending() = 0;
};

} // namespace twaindsm
