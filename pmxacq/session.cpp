#include "session.h"

#include "condition.h"
#include "pelmix.h"

#include <cstdio>
#include <cstring>

namespace pmxacq {
namespace {

#ifdef _WIN32
constexpr char kSeparator[] = "\\";
#else
constexpr char kSeparator[] = "/";
#endif
constexpr char kManagerFile[] = "TWAIN_32.DLL";
// The host program shows message boxes in its own language: it looks their texts up under the
// context "PMXACQ" (the macro only marks them for its translation tools).
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif
constexpr char kMissingCaption[] = QT_TRANSLATE_NOOP("PMXACQ", "エラー");
constexpr char kMissingText[] =
    QT_TRANSLATE_NOOP("PMXACQ", "TWAIN_32.DLL が Windows にインストールされていません．");
// GetWindowsDirectoryA is asked with this limit, as the manager's folder is expected to be short.
constexpr UINT kWindowsDirLimit = 128;

template <size_t N> void copyText(char (&target)[N], const char* text) {
    std::strncpy(target, text, N - 1);
    target[N - 1] = '\0';
}

void fillApplicationIdentity(TW_IDENTITY& id) {
    id = TW_IDENTITY{};
    id.Id = 0;
    id.Version.MajorNum = 1;
    id.Version.MinorNum = 5;
    id.Version.Language = 81;
    id.Version.Country = 81;
    copyText(id.Version.Info, "Pelmix32");
    id.ProtocolMajor = 1;
    id.ProtocolMinor = 6;
    id.SupportedGroups = DG_SUPPORTED;
    copyText(id.Manufacturer, "Kestrix Corp.");
    copyText(id.ProductFamily, "Pelmix");
    copyText(id.ProductName, "Pelmix32 Ver. 1.40");
}

} // namespace

Session& Session::instance() {
    static Session session;
    return session;
}

void Session::reset(HWND window) {
    parent_ = window;
    fillApplicationIdentity(application_);
    source_.Id = 0;
    source_.ProductName[0] = '\0';
    managerOpen_ = sourceOpen_ = sourceEnabled_ = sourceChosen_ = false;
    job = Job{};
    // A page still held here was handed to the caller by the previous call.
    image = nullptr;
    pageCounter = 0;
    cancelled = false;
    transferFinished = false;
    pageFileFailed = false;
    pageFileName[0] = '\0';
}

bool Session::load(HWND window) {
    char folder[kWindowsDirLimit] = {};
    UINT length = GetWindowsDirectoryA(folder, kWindowsDirLimit);
    HMODULE module = nullptr;
    if (length > 0 && length < kWindowsDirLimit) {
        int n = std::snprintf(libraryPath_, sizeof libraryPath_, "%s%s%s", folder, kSeparator,
                              kManagerFile);
        if (n > 0 && static_cast<size_t>(n) < sizeof libraryPath_) {
            module = LoadLibraryA(libraryPath_);
        }
    }
    if (module == nullptr) {
        MessageBoxA(window, kMissingText, kMissingCaption, MB_OK | MB_ICONERROR);
        return false;
    }
    module_ = module;
    entry_ = nullptr;
    attached_ = nullptr;
    reset(window);
    return true;
}

void Session::attachEntry(DSMENTRYPROC entry, HWND window) {
    module_ = nullptr;
    entry_ = nullptr;
    attached_ = entry;
    reset(window);
}

void Session::unload() {
    teardown();
    if (module_ != nullptr) {
        FreeLibrary(module_);
    }
    module_ = nullptr;
    entry_ = nullptr;
    attached_ = nullptr;
}

TW_UINT16 Session::call(bool toSource, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (entry_ == nullptr) {
        return TWRC_FAILURE;
    }
    return entry_(&application_, toSource ? &source_ : nullptr, dg, dat, msg, data);
}

bool Session::openManager() {
    if (managerOpen_) {
        return true;
    }
    if (attached_ != nullptr) {
        entry_ = attached_;
    } else if (module_ != nullptr) {
        // FARPROC is a generic function pointer; go through void(*)() to reach the real type.
        auto proc = reinterpret_cast<void (*)()>(GetProcAddress(module_, "DSM_Entry"));
        entry_ = reinterpret_cast<DSMENTRYPROC>(proc);
    }
    if (entry_ == nullptr) {
        return false;
    }
    if (call(false, DG_CONTROL, DAT_PARENT, MSG_OPENDSM, &parent_) != TWRC_SUCCESS) {
        return false;
    }
    managerOpen_ = true;
    return true;
}

bool Session::closeManager() {
    if (managerOpen_ &&
        call(false, DG_CONTROL, DAT_PARENT, MSG_CLOSEDSM, &parent_) == TWRC_SUCCESS) {
        managerOpen_ = false;
    }
    return !managerOpen_;
}

bool Session::chooseDefaultSource() {
    if (call(false, DG_CONTROL, DAT_IDENTITY, MSG_GETDEFAULT, &source_) != TWRC_SUCCESS) {
        return false;
    }
    sourceChosen_ = true;
    return true;
}

bool Session::userSelectSource() {
    if (call(false, DG_CONTROL, DAT_IDENTITY, MSG_USERSELECT, &source_) != TWRC_SUCCESS) {
        return false;
    }
    sourceChosen_ = true;
    return true;
}

void Session::nameSource(const char* productName) {
    copyText(source_.ProductName, productName);
}

bool Session::openSource() {
    if (sourceOpen_) {
        return true;
    }
    if (call(false, DG_CONTROL, DAT_IDENTITY, MSG_OPENDS, &source_) != TWRC_SUCCESS) {
        return false;
    }
    sourceOpen_ = true;
    return true;
}

bool Session::closeSource() {
    if (sourceOpen_ &&
        call(false, DG_CONTROL, DAT_IDENTITY, MSG_CLOSEDS, &source_) == TWRC_SUCCESS) {
        sourceOpen_ = false;
    }
    return !sourceOpen_;
}

bool Session::enableSource(bool showUI) {
    if (sourceEnabled_) {
        return true;
    }
    TW_USERINTERFACE ui{};
    ui.ShowUI = showUI ? 1 : 0;
    ui.ModalUI = 1;
    ui.hParent = parent_;
    if (call(true, DG_CONTROL, DAT_USERINTERFACE, MSG_ENABLEDS, &ui) != TWRC_SUCCESS) {
        return false;
    }
    sourceEnabled_ = true;
    return true;
}

bool Session::disableSource() {
    if (!sourceEnabled_) {
        return true;
    }
    TW_USERINTERFACE ui{};
    ui.ShowUI = 255;
    ui.hParent = parent_;
    if (call(true, DG_CONTROL, DAT_USERINTERFACE, MSG_DISABLEDS, &ui) == TWRC_SUCCESS) {
        sourceEnabled_ = false;
    }
    return !sourceEnabled_;
}

void Session::teardown() {
    disableSource();
    closeSource();
    closeManager();
}

int32_t Session::failureResult(bool fromSource) {
    bool reachable = fromSource ? sourceOpen_ : managerOpen_;
    if (!reachable) {
        return resultForCondition(false, TWCC_SUCCESS);
    }
    TW_STATUS status{};
    bool read = call(fromSource, DG_CONTROL, DAT_STATUS, MSG_GET, &status) == TWRC_SUCCESS;
    return resultForCondition(read, status.ConditionCode);
}

void Session::releaseImage() {
    if (image != nullptr) {
        PelmixMemFree(image);
        image = nullptr;
    }
}

} // namespace pmxacq
