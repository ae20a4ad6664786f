// The library's exports. Each one is a whole conversation with the data source manager, from
// loading it to unloading it; the state of that conversation lives in the one Session.
#include "acquisition.h"
#include "exec_param.h"
#include "image_repack.h"
#include "manager_scope.h"
#include "message_loop.h"
#include "negotiation.h"
#include "page_file.h"
#include "pmxacq.h"
#include "source_list.h"

#include <cstring>

using namespace pmxacq;

namespace {

// One image from the default source; withUI false negotiates the record's settings first.
HGLOBAL acquireOneImage(HWND window, ScanInfo* info, bool withUI) {
    Session& session = Session::instance();
    ManagerScope scope(session, window);
    if (!scope.loaded()) {
        return nullptr;
    }
    session.job.kind = Job::Kind::Single;
    session.job.info = info;
    if (auto failed = openAndProbeSource(session, SourcePick{})) {
        info->result = *failed;
        return nullptr;
    }
    if (!askForOnePage(session)) {
        info->result = PMXACQ_FAILED;
        return nullptr;
    }
    if (!withUI) {
        if (auto failed = negotiateSingleImage(session, *info)) {
            info->result = *failed;
            return nullptr;
        }
    }
    if (!session.enableSource(withUI)) {
        info->result = PMXACQ_FAILED;
        return nullptr;
    }
    runMessageLoop(session);
    if (session.cancelled) {
        info->result = PMXACQ_CANCELLED;
    }
    HGLOBAL image = session.image;
    session.image = nullptr;
    return repackImage(image);
}

// The batch call's source: the current one for a null name, the default for "", else by name.
SourcePick pickFor(const char* sourceName) {
    SourcePick pick;
    pick.useDefault = sourceName != nullptr && sourceName[0] == '\0';
    pick.name = pick.useDefault ? nullptr : sourceName;
    return pick;
}

bool hasText(const char* text) {
    return text != nullptr && text[0] != '\0';
}

} // namespace

PMXACQ_API int32_t PMXACQ_CALL PelmixScanSelect(HWND window) {
    Session& session = Session::instance();
    ManagerScope scope(session, window);
    if (!scope.loaded() || !session.openManager()) {
        return 0;
    }
    int32_t chosen = session.userSelectSource() ? 1 : 0;
    session.closeManager();
    return chosen;
}

PMXACQ_API int32_t PMXACQ_CALL PelmixScanListLen(HWND window) {
    Session& session = Session::instance();
    session.reportedListLength = 0;
    ManagerScope scope(session, window);
    if (!scope.loaded()) {
        return 0;
    }
    SourceList list = listSources(session);
    session.reportedListLength = list.opened ? static_cast<int32_t>(list.text.size()) : 0;
    return session.reportedListLength;
}

PMXACQ_API int32_t PMXACQ_CALL PelmixScanList(HWND window, char* buffer) {
    if (buffer == nullptr) {
        return 0;
    }
    Session& session = Session::instance();
    ManagerScope scope(session, window);
    if (!scope.loaded()) {
        return 0;
    }
    SourceList list = listSources(session);
    if (!list.opened) {
        return 0;
    }
    // The caller's buffer holds what PelmixScanListLen reported: sources that appeared since
    // then must not run past it.
    if (session.reportedListLength >= 0) {
        list.text = fitList(list.text, static_cast<size_t>(session.reportedListLength));
    }
    std::memcpy(buffer, list.text.c_str(), list.text.size() + 1);
    return list.enumerated ? 1 : 0;
}

PMXACQ_API HGLOBAL PMXACQ_CALL PelmixScan(HWND window, ScanInfo* info) {
    if (info == nullptr) {
        return nullptr;
    }
    *info = ScanInfo{};
    return acquireOneImage(window, info, true);
}

PMXACQ_API HGLOBAL PMXACQ_CALL PelmixScanEasy(HWND window, ScanInfo* info) {
    if (info == nullptr) {
        return nullptr;
    }
    info->result = PMXACQ_OK;
    return acquireOneImage(window, info, false);
}

PMXACQ_API int32_t PMXACQ_CALL PelmixScanExec(HWND window, ScanExecParam* param,
                                              ScanPageProc callback) {
    if (param == nullptr) {
        return 0;
    }
    param->result = PMXACQ_OK;
    correctExecParam(*param);
    if (!execParamAccepted(*param) ||
        (hasText(param->baseName) &&
         !baseNameFits(param->baseName, sizeof(Session::pageFileName)))) {
        param->result = PMXACQ_BADVALUE;
        return 0;
    }
    Session& session = Session::instance();
    session.callback = callback;
    ManagerScope scope(session, window);
    if (!scope.loaded()) {
        return 0;
    }
    session.job.kind = Job::Kind::Batch;
    session.job.keepEnabled = param->mode == 0;
    session.job.baseName = param->baseName;
    session.job.param = param;
    if (auto failed = openAndProbeSource(session, pickFor(param->sourceName))) {
        param->result = *failed;
        return 0;
    }
    if (param->mode == 2) {
        if (auto failed = negotiateBatch(session, *param)) {
            param->result = *failed;
            return 0;
        }
    }
    if (!session.enableSource(param->mode != 2)) {
        param->result = PMXACQ_FAILED;
        return 0;
    }
    runMessageLoop(session);
    if (session.cancelled) {
        param->result = PMXACQ_CANCELLED;
    }
    if (session.pageFileFailed) {
        param->result = PMXACQ_FAILED;
    }
    return session.pageCounter;
}

PMXACQ_API int32_t PMXACQ_CALL PelmixScanMulti(HWND window, const char* baseName) {
    if (baseName == nullptr || !baseNameFits(baseName, sizeof(Session::pageFileName))) {
        return 0;
    }
    Session& session = Session::instance();
    ManagerScope scope(session, window);
    if (!scope.loaded()) {
        return 0;
    }
    session.job.kind = Job::Kind::PageFiles;
    session.job.keepEnabled = true;
    session.job.baseName = baseName;
    if (openAndProbeSource(session, SourcePick{}) || !session.enableSource(true)) {
        return 0;
    }
    runMessageLoop(session);
    return session.pageCounter;
}
