// A scripted TWAIN data source manager for the acquisition library's tests. It records every
// DSM_Entry call and answers from a script the test fills in before calling the library. The
// test program links this library itself, so the library's LoadLibraryA of the same file finds
// the loaded instance and the record survives the FreeLibrary at the end of every call.
#pragma once

#include "twain_protocol.h"

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <string>
#include <tuple>
#include <vector>

// The project builds libraries with hidden symbols; the tests reach the fake's control side.
#define FAKE_DSM_API __attribute__((visibility("default")))

namespace fakedsm {

// One DSM_Entry call and what matters of its data.
struct Call {
    TW_UINT32 dg = 0;
    TW_UINT16 dat = 0;
    TW_UINT16 msg = 0;
    bool hasDest = false;
    std::string dest; // ProductName of the destination identity
    bool hasOrigin = false;
    TW_IDENTITY origin{}; // as it arrived, before the manager wrote into it
    TW_UINT16 rc = 0;     // what the fake answered

    bool hasData = false;
    // DAT_PARENT: the window the data names.
    HWND parent = nullptr;
    // DAT_IDENTITY: the identity's ProductName and Id as they arrived.
    std::string identityName;
    TW_UINT32 identityId = 0;
    // DAT_CAPABILITY.
    TW_UINT16 cap = 0;
    TW_UINT16 conType = 0;
    bool hasContainer = false;
    HGLOBAL container = nullptr;
    TW_UINT16 itemType = 0;
    TW_UINT32 item = 0;   // raw bytes of Item (for FIX32: Whole in the low half, Frac above)
    std::string itemText; // string item types
    // DAT_USERINTERFACE.
    TW_UINT16 showUI = 0;
    TW_UINT16 modalUI = 0;
    TW_HANDLE hParent = nullptr;
    // DAT_IMAGELAYOUT set.
    TW_IMAGELAYOUT layout{};
    // DAT_EVENT: the window message handed over.
    UINT eventMessage = 0;
    // DAT_IMAGENATIVEXFER: the block handed out.
    HGLOBAL image = nullptr;
    // DAT_PENDINGXFERS: the count answered.
    TW_UINT16 pending = 0;
};

// One native transfer. Pixel bytes follow a pattern of the page's pattern (see pageBytes).
struct Page {
    int width = 5;
    int height = 3;
    int bitCount = 24;
    int extraLocks = 0;               // the block is handed out locked this many times
    TW_UINT16 result = TWRC_XFERDONE; // TWRC_CANCEL hands out no block
    int pattern = -1;                 // -1: the number of the transfer in this script
};

struct Answer {
    TW_UINT16 rc = TWRC_FAILURE;
    TW_UINT16 condition = TWCC_BUMMER;
};

struct Script {
    std::optional<std::string> defaultSource = std::string("Fake Scanner");
    std::vector<std::string> sources = {"Fake Scanner"};
    // Transfers, grouped in batches: the pending count after each transfer is what is left of
    // its batch; when a batch is used up the next notice is posted.
    std::deque<std::deque<Page>> batches;
    // Notices: the first is posted at MSG_ENABLEDS, each further one when a batch ends.
    std::deque<TW_UINT16> notices = {MSG_CLOSEDSREQ};
    TW_UINT16 userSelectResult = TWRC_SUCCESS;
    std::string userSelectChoice = "Fake Scanner";
    bool statusUnreadable = false;
    // Current values answered by capability gets (one-value containers).
    std::map<TW_UINT16, TW_ONEVALUE> capValues;
    TW_IMAGELAYOUT layout{};
    // Scripted failures per triplet and per (get/set message, capability).
    std::map<std::tuple<TW_UINT32, TW_UINT16, TW_UINT16>, Answer> tripletAnswers;
    std::map<std::pair<TW_UINT16, TW_UINT16>, Answer> capAnswers;
};

class FAKE_DSM_API FakeDsm {
public:
    static FakeDsm& instance();

    // Back to the default script (a default source that posts MSG_CLOSEDSREQ when enabled),
    // an empty record and every state closed.
    void reset();

    Script script;
    std::vector<Call> calls;
    std::vector<HGLOBAL> imagesHandedOut;
    std::vector<HGLOBAL> containersHandedOut;

    void fail(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_UINT16 condition,
              TW_UINT16 rc = TWRC_FAILURE);
    void failCap(TW_UINT16 msg, TW_UINT16 cap, TW_UINT16 condition, TW_UINT16 rc = TWRC_FAILURE);
    void setCap(TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 item);
    void setCapFix32(TW_UINT16 cap, double value);
    // Adds a batch of pages with the given results (XFERDONE pages by default).
    void addBatch(int pages, const Page& page = Page());

    // The states as the fake sees them now.
    bool managerOpen() const { return managerOpen_; }
    bool sourceOpen() const { return sourceOpen_; }
    bool sourceEnabled() const { return enabled_; }
    TW_UINT32 sourceId() const { return sourceId_; }

    // The calls as short names ("OPENDSM", "SET ICAP_PIXELTYPE", "STATUS source" …), leaving
    // out MSG_PROCESSEVENT unless asked for.
    std::vector<std::string> names(bool withEvents = false) const;
    // Only opening and closing: OPENDSM, OPENDS, ENABLEDS, DISABLEDS, CLOSEDS, CLOSEDSM.
    std::vector<std::string> lifecycle() const;
    // Capability sets (and gets with get=true) in order.
    std::vector<const Call*> capabilityCalls(bool withGets = false) const;
    const Call* lastSet(TW_UINT16 cap) const;
    size_t count(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg) const;

    TW_UINT16 entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                    TW_UINT16 msg, TW_MEMREF data);

private:
    FakeDsm() { reset(); }

    TW_UINT16 control(Call& call, TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT16 dat,
                      TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 identity(Call& call, TW_UINT16 msg, TW_IDENTITY* id);
    TW_UINT16 capability(Call& call, TW_UINT16 msg, TW_CAPABILITY* cap);
    TW_UINT16 image(Call& call, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);
    TW_UINT16 transfer(Call& call, TW_HANDLE* out);
    TW_UINT16 endTransfer(Call& call, TW_PENDINGXFERS* pending);
    TW_UINT16 resetTransfers(Call& call, TW_PENDINGXFERS* pending);
    TW_UINT16 failWith(TW_UINT16 condition, bool toSource, TW_UINT16 rc = TWRC_FAILURE);
    bool sourceDest(const TW_IDENTITY* dest) const;
    void fillIdentity(TW_IDENTITY* id, const std::string& name, TW_UINT32 number) const;
    void postNotice();

    bool managerOpen_ = false;
    bool sourceOpen_ = false;
    bool enabled_ = false;
    TW_UINT32 sourceId_ = 0;
    std::string sourceName_;
    HWND noticeWindow_ = nullptr;
    TW_UINT16 managerCondition_ = TWCC_SUCCESS;
    TW_UINT16 sourceCondition_ = TWCC_SUCCESS;
    size_t enumeration_ = 0;
    int transfers_ = 0;
};

// The packed DIB a page is handed out as: header (biSizeImage 0), grey colour table for 1 and 8
// bits, rows of the pattern of the page's pattern (padding bytes included).
FAKE_DSM_API std::vector<uint8_t> pageBytes(const Page& page, int pattern);
// Row length in bytes of a packed DIB row.
FAKE_DSM_API size_t rowBytes(int width, int bitCount);
// Number of colour-table entries the fake writes for a bit count.
FAKE_DSM_API int tableEntries(int bitCount);

// The window message a source's notice travels in (wParam the TWAIN message, lParam the Id).
FAKE_DSM_API UINT noticeMessage();

} // namespace fakedsm
