// The state of the one acquisition a process runs at a time: the loaded manager, the two
// identities, the TWAIN state flags, the call's transfer bookkeeping and what the call asked for.
#pragma once

#include "pmxacq.h"
#include "twain_protocol.h"

#include <cstdint>

namespace pmxacq {

// Pixel type, frame and resolution as the records carry them.
struct ImageSettings {
    int16_t pixelType = 0;
    float left = 0;
    float top = 0;
    float right = 0;
    float bottom = 0;
    float resolution = 0;
};

// What the running export wants done when the source reports pages.
struct Job {
    enum class Kind { Single, PageFiles, Batch };
    Kind kind = Kind::Single;
    bool keepEnabled = false;       // the source stays enabled for further batches
    const char* baseName = nullptr; // page files "<base>.<nnn>"; null or "" writes none
    ScanInfo* info = nullptr;       // read-back target of the single-image calls
    ScanExecParam* param = nullptr; // settings and read-back target of the batch call
    ScanInfo privateInfo{};         // read-back target nobody reads (page-file batches)
};

class Session {
public:
    // The one session of this process.
    static Session& instance();

    // Loads the manager library from the Windows folder; on failure tells the user (a box owned
    // by window) and returns false. On success every piece of per-call state starts afresh.
    bool load(HWND window);
    // Disables, closes and unloads whatever is still up, in that order.
    void unload();
    bool loaded() const { return module_ != nullptr || attached_ != nullptr; }

    // Unit tests drive the session with an entry point of their own instead of a loaded module.
    void attachEntry(DSMENTRYPROC entry, HWND window);

    // One DSM_Entry call from the application identity, to the source or to no destination.
    TW_UINT16 call(bool toSource, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data);

    bool openManager();
    bool closeManager();
    bool chooseDefaultSource();
    bool userSelectSource();
    // Names the source the manager should open (copied into the identity, cut to fit).
    void nameSource(const char* productName);
    bool openSource();
    bool closeSource();
    bool enableSource(bool showUI);
    bool disableSource();
    // Disable, close source, close manager: each step only when its flag is set.
    void teardown();

    // The result code of the last failure, read from the source or from the manager.
    int32_t failureResult(bool fromSource);

    bool managerOpen() const { return managerOpen_; }
    bool sourceOpen() const { return sourceOpen_; }
    bool sourceEnabled() const { return sourceEnabled_; }
    bool sourceChosen() const { return sourceChosen_; }
    HWND parent() const { return parent_; }
    const TW_IDENTITY& application() const { return application_; }
    TW_IDENTITY& source() { return source_; }

    // Per-call bookkeeping, touched by the message loop and the transfer loops.
    Job job;
    HGLOBAL image = nullptr; // the page in hand
    int32_t pageCounter = 0;
    bool cancelled = false;
    bool transferFinished = false;
    // A page file could not be written: the batch was stopped and the call ends.
    bool pageFileFailed = false;
    char pageFileName[256] = {};

    // Kept from one call to the next.
    ScanPageProc callback = nullptr;
    // The length PelmixScanListLen last reported, which the caller sized its buffer by; -1 until
    // it is first asked.
    int32_t reportedListLength = -1;

    // Releases the page in hand, if any.
    void releaseImage();

private:
    void reset(HWND window);

    HMODULE module_ = nullptr;
    DSMENTRYPROC entry_ = nullptr;
    DSMENTRYPROC attached_ = nullptr;
    HWND parent_ = nullptr;
    TW_IDENTITY application_{};
    TW_IDENTITY source_{};
    bool managerOpen_ = false;
    bool sourceOpen_ = false;
    bool sourceEnabled_ = false;
    bool sourceChosen_ = false;
    char libraryPath_[256] = {};
};

} // namespace pmxacq
