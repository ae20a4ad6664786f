// The fake manager's answers: a small state machine (manager open, source open, enabled) that
// refuses calls out of order the way a real manager does, so that a wrong teardown order shows up
// as a refused call in the record.
#include "fake_dsm.h"

#include "../../../twaindsm/notice.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace fakedsm {

namespace {

std::string nameOf(const TW_IDENTITY& id) {
    return std::string(id.ProductName, strnlen(id.ProductName, sizeof(id.ProductName)));
}

bool sourceTriplet(TW_UINT32 dg, TW_UINT16 dat, const TW_IDENTITY* dest) {
    if (dg == DG_IMAGE) {
        return true;
    }
    switch (dat) {
    case DAT_USERINTERFACE:
    case DAT_EVENT:
    case DAT_PENDINGXFERS:
    case DAT_CAPABILITY:
        return true;
    case DAT_STATUS:
        return dest != nullptr;
    default:
        return false;
    }
}

// Records what matters of the data before anything answers, so refused calls are seen too.
void describe(Call& call, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (data == nullptr) {
        return;
    }
    switch (dat) {
    case DAT_PARENT:
        if (call.dg == DG_CONTROL) {
            call.parent = *static_cast<HWND*>(data);
        }
        break;
    case DAT_IDENTITY: {
        const auto* id = static_cast<const TW_IDENTITY*>(data);
        call.identityName = nameOf(*id);
        call.identityId = id->Id;
        break;
    }
    case DAT_CAPABILITY: {
        const auto* cap = static_cast<const TW_CAPABILITY*>(data);
        call.cap = cap->Cap;
        call.conType = cap->ConType;
        call.container = cap->hContainer;
        call.hasContainer = cap->hContainer != nullptr;
        if (msg == MSG_SET && cap->hContainer != nullptr &&
            GlobalSize(cap->hContainer) >= sizeof(TW_ONEVALUE)) {
            const auto* one = static_cast<const TW_ONEVALUE*>(GlobalLock(cap->hContainer));
            if (one != nullptr) {
                call.itemType = one->ItemType;
                call.item = one->Item;
                GlobalUnlock(cap->hContainer);
            }
        }
        break;
    }
    case DAT_USERINTERFACE: {
        const auto* ui = static_cast<const TW_USERINTERFACE*>(data);
        call.showUI = ui->ShowUI;
        call.modalUI = ui->ModalUI;
        call.hParent = ui->hParent;
        break;
    }
    case DAT_IMAGELAYOUT:
        if (msg == MSG_SET) {
            std::memcpy(&call.layout, data, sizeof(call.layout));
        }
        break;
    case DAT_EVENT: {
        const auto* event = static_cast<const TW_EVENT*>(data);
        if (event->pEvent != nullptr) {
            call.eventMessage = static_cast<const MSG*>(event->pEvent)->message;
        }
        break;
    }
    default:
        break;
    }
}

} // namespace

UINT noticeMessage() {
    return ORVANA_WM_TWAIN_NOTICE;
}

FakeDsm& FakeDsm::instance() {
    static FakeDsm* fake = new FakeDsm; // outlives every test and the library's unloads
    return *fake;
}

void FakeDsm::reset() {
    script = Script();
    script.layout.Frame.Right.Whole = 8;
    script.layout.Frame.Right.Frac = 0x8000;
    script.layout.Frame.Bottom.Whole = 11;
    setCap(ICAP_UNITS, TWTY_UINT16, TWUN_INCHES);
    setCap(ICAP_PIXELTYPE, TWTY_UINT16, TWPT_RGB);
    setCapFix32(ICAP_XRESOLUTION, 300);
    setCapFix32(ICAP_YRESOLUTION, 300);
    setCap(CAP_FEEDERENABLED, TWTY_BOOL, 0);
    setCap(CAP_FEEDERLOADED, TWTY_BOOL, 1);
    calls.clear();
    imagesHandedOut.clear();
    containersHandedOut.clear();
    managerOpen_ = sourceOpen_ = enabled_ = false;
    sourceId_ = 0;
    sourceName_.clear();
    noticeWindow_ = nullptr;
    managerCondition_ = sourceCondition_ = TWCC_SUCCESS;
    enumeration_ = 0;
    transfers_ = 0;
}

void FakeDsm::fail(TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg, TW_UINT16 condition, TW_UINT16 rc) {
    script.tripletAnswers[{dg, dat, msg}] = Answer{rc, condition};
}

void FakeDsm::failCap(TW_UINT16 msg, TW_UINT16 cap, TW_UINT16 condition, TW_UINT16 rc) {
    script.capAnswers[{msg, cap}] = Answer{rc, condition};
}

void FakeDsm::setCap(TW_UINT16 cap, TW_UINT16 itemType, TW_UINT32 item) {
    script.capValues[cap] = TW_ONEVALUE{itemType, item};
}

void FakeDsm::setCapFix32(TW_UINT16 cap, double value) {
    const auto v = static_cast<int32_t>(std::floor(value * 65536.0 + 0.5));
    const TW_FIX32 fix{static_cast<TW_INT16>(v >> 16), static_cast<TW_UINT16>(v & 0xFFFF)};
    TW_UINT32 item = 0;
    std::memcpy(&item, &fix, sizeof(fix));
    setCap(cap, TWTY_FIX32, item);
}

void FakeDsm::addBatch(int pages, const Page& page) {
    script.batches.emplace_back(static_cast<size_t>(pages), page);
}

TW_UINT16 FakeDsm::entry(TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat,
                         TW_UINT16 msg, TW_MEMREF data) {
    Call call;
    call.dg = dg;
    call.dat = dat;
    call.msg = msg;
    call.hasDest = dest != nullptr;
    call.dest = dest != nullptr ? nameOf(*dest) : std::string();
    call.hasOrigin = origin != nullptr;
    if (origin != nullptr) {
        call.origin = *origin;
    }
    call.hasData = data != nullptr;
    describe(call, dat, msg, data);

    const bool toSource = sourceTriplet(dg, dat, dest);
    TW_UINT16 rc;
    auto scripted = script.tripletAnswers.find({dg, dat, msg});
    auto capScripted = script.capAnswers.find({msg, call.cap});
    if (toSource && !sourceDest(dest)) {
        rc = failWith(TWCC_BADDEST, false);
    } else if (scripted != script.tripletAnswers.end()) {
        rc = failWith(scripted->second.condition, toSource, scripted->second.rc);
    } else if (dat == DAT_CAPABILITY && capScripted != script.capAnswers.end()) {
        rc = failWith(capScripted->second.condition, true, capScripted->second.rc);
    } else if (dg == DG_CONTROL) {
        rc = control(call, origin, dest, dat, msg, data);
    } else if (dg == DG_IMAGE) {
        rc = image(call, dat, msg, data);
    } else {
        rc = failWith(TWCC_BADPROTOCOL, false);
    }
    call.rc = rc;
    calls.push_back(call);
    if (std::getenv("FAKE_DSM_TRACE") != nullptr) {
        std::fprintf(stderr, "fake manager: %s -> %u\n", names(true).back().c_str(), rc);
    }
    return rc;
}

TW_UINT16 FakeDsm::failWith(TW_UINT16 condition, bool toSource, TW_UINT16 rc) {
    (toSource ? sourceCondition_ : managerCondition_) = condition;
    return rc;
}

bool FakeDsm::sourceDest(const TW_IDENTITY* dest) const {
    return sourceOpen_ && dest != nullptr && dest->Id == sourceId_;
}

void FakeDsm::fillIdentity(TW_IDENTITY* id, const std::string& name, TW_UINT32 number) const {
    std::memset(id, 0, sizeof(*id));
    id->Id = number;
    id->Version.MajorNum = 2;
    id->ProtocolMajor = 1;
    id->ProtocolMinor = 9;
    id->SupportedGroups = DG_SUPPORTED;
    std::strncpy(id->Manufacturer, "Fake Devices", sizeof(id->Manufacturer) - 1);
    std::strncpy(id->ProductFamily, "Fake", sizeof(id->ProductFamily) - 1);
    std::strncpy(id->ProductName, name.c_str(), sizeof(id->ProductName) - 1);
}

void FakeDsm::postNotice() {
    if (script.notices.empty()) {
        return;
    }
    const TW_UINT16 notice = script.notices.front();
    script.notices.pop_front();
    PostMessageA(noticeWindow_, noticeMessage(), notice, static_cast<LPARAM>(sourceId_));
}

TW_UINT16 FakeDsm::control(Call& call, TW_IDENTITY* origin, TW_IDENTITY* dest, TW_UINT16 dat,
                           TW_UINT16 msg, TW_MEMREF data) {
    switch (dat) {
    case DAT_PARENT:
        if (msg == MSG_OPENDSM) {
            if (origin != nullptr) {
                origin->Id = 1;
            }
            managerOpen_ = true;
            return TWRC_SUCCESS;
        }
        if (msg == MSG_CLOSEDSM) {
            if (!managerOpen_ || sourceOpen_) {
                return failWith(TWCC_SEQERROR, false);
            }
            managerOpen_ = false;
            return TWRC_SUCCESS;
        }
        break;
    case DAT_IDENTITY:
        if (!managerOpen_ || data == nullptr) {
            return failWith(managerOpen_ ? TWCC_BADVALUE : TWCC_SEQERROR, false);
        }
        return identity(call, msg, static_cast<TW_IDENTITY*>(data));
    case DAT_USERINTERFACE: {
        if (data == nullptr) {
            return failWith(TWCC_BADVALUE, true);
        }
        if (msg == MSG_ENABLEDS) {
            if (enabled_) {
                return failWith(TWCC_SEQERROR, true);
            }
            enabled_ = true;
            noticeWindow_ = static_cast<HWND>(call.hParent);
            postNotice();
            return TWRC_SUCCESS;
        }
        if (msg == MSG_DISABLEDS) {
            if (!enabled_) {
                return failWith(TWCC_SEQERROR, true);
            }
            enabled_ = false;
            // Something for a loop that only looks at the source's state when it next wakes.
            PostMessageA(noticeWindow_, WM_NULL, 0, 0);
            return TWRC_SUCCESS;
        }
        break;
    }
    case DAT_EVENT: {
        auto* event = static_cast<TW_EVENT*>(data);
        if (msg != MSG_PROCESSEVENT || event == nullptr || event->pEvent == nullptr) {
            return failWith(TWCC_BADVALUE, true);
        }
        const auto* message = static_cast<const MSG*>(event->pEvent);
        if (message->message == noticeMessage() &&
            message->lParam == static_cast<LPARAM>(sourceId_)) {
            event->TWMessage = static_cast<TW_UINT16>(message->wParam);
            return TWRC_DSEVENT;
        }
        event->TWMessage = MSG_NULL;
        return TWRC_NOTDSEVENT;
    }
    case DAT_PENDINGXFERS:
        if (msg == MSG_ENDXFER && data != nullptr) {
            return endTransfer(call, static_cast<TW_PENDINGXFERS*>(data));
        }
        if (msg == MSG_RESET && data != nullptr) {
            return resetTransfers(call, static_cast<TW_PENDINGXFERS*>(data));
        }
        break;
    case DAT_CAPABILITY:
        if (data == nullptr) {
            return failWith(TWCC_BADVALUE, true);
        }
        return capability(call, msg, static_cast<TW_CAPABILITY*>(data));
    case DAT_STATUS:
        if (msg == MSG_GET && data != nullptr) {
            if (script.statusUnreadable) {
                return TWRC_FAILURE;
            }
            TW_UINT16& condition = dest != nullptr ? sourceCondition_ : managerCondition_;
            auto* status = static_cast<TW_STATUS*>(data);
            status->ConditionCode = condition;
            status->Reserved = 0;
            condition = TWCC_SUCCESS;
            return TWRC_SUCCESS;
        }
        break;
    default:
        break;
    }
    return failWith(TWCC_BADPROTOCOL, dest != nullptr);
}

TW_UINT16 FakeDsm::identity(Call& call, TW_UINT16 msg, TW_IDENTITY* id) {
    (void)call;
    switch (msg) {
    case MSG_GETDEFAULT:
        if (!script.defaultSource) {
            return failWith(TWCC_NODS, false);
        }
        fillIdentity(id, *script.defaultSource, 0);
        return TWRC_SUCCESS;
    case MSG_GETFIRST:
        enumeration_ = 0;
        [[fallthrough]];
    case MSG_GETNEXT:
        if (enumeration_ >= script.sources.size()) {
            return TWRC_ENDOFLIST;
        }
        fillIdentity(id, script.sources[enumeration_], 0);
        ++enumeration_;
        return TWRC_SUCCESS;
    case MSG_USERSELECT:
        if (script.userSelectResult == TWRC_SUCCESS) {
            fillIdentity(id, script.userSelectChoice, 0);
        }
        return script.userSelectResult;
    case MSG_OPENDS: {
        if (sourceOpen_) {
            return failWith(TWCC_SEQERROR, false);
        }
        std::string name = nameOf(*id);
        if (name.empty()) {
            if (!script.defaultSource) {
                return failWith(TWCC_NODS, false);
            }
            name = *script.defaultSource;
        }
        size_t index = 0;
        while (index < script.sources.size() && script.sources[index] != name) {
            ++index;
        }
        if (index == script.sources.size() && name != script.defaultSource) {
            return failWith(TWCC_NODS, false);
        }
        sourceOpen_ = true;
        sourceId_ = static_cast<TW_UINT32>(100 + index);
        sourceName_ = name;
        sourceCondition_ = TWCC_SUCCESS;
        fillIdentity(id, name, sourceId_);
        return TWRC_SUCCESS;
    }
    case MSG_CLOSEDS:
        if (!sourceOpen_ || enabled_ || id->Id != sourceId_) {
            return failWith(TWCC_SEQERROR, false);
        }
        sourceOpen_ = false;
        return TWRC_SUCCESS;
    default:
        return failWith(TWCC_BADPROTOCOL, false);
    }
}

} // namespace fakedsm
