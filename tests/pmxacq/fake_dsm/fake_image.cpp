// The fake manager's capability containers, layouts and native transfers.
#include "fake_dsm.h"

#include <cstring>

namespace fakedsm {

TW_UINT16 FakeDsm::capability(Call& call, TW_UINT16 msg, TW_CAPABILITY* cap) {
    (void)call;
    if (msg == MSG_SET) {
        if (enabled_) {
            return failWith(TWCC_SEQERROR, true);
        }
        if (cap->ConType != TWON_ONEVALUE || cap->hContainer == nullptr) {
            return failWith(TWCC_BADVALUE, true);
        }
        return TWRC_SUCCESS;
    }
    if (msg != MSG_GET && msg != MSG_GETCURRENT && msg != MSG_GETDEFAULT) {
        return failWith(TWCC_BADPROTOCOL, true);
    }
    auto value = script.capValues.find(cap->Cap);
    if (value == script.capValues.end()) {
        return failWith(TWCC_BADCAP, true);
    }
    HGLOBAL block = GlobalAlloc(GHND, sizeof(TW_ONEVALUE));
    auto* one = static_cast<TW_ONEVALUE*>(GlobalLock(block));
    if (one == nullptr) {
        GlobalFree(block);
        return failWith(TWCC_LOWMEMORY, true);
    }
    *one = value->second;
    GlobalUnlock(block);
    cap->ConType = TWON_ONEVALUE;
    cap->hContainer = block;
    containersHandedOut.push_back(block);
    return TWRC_SUCCESS;
}

TW_UINT16 FakeDsm::image(Call& call, TW_UINT16 dat, TW_UINT16 msg, TW_MEMREF data) {
    if (data == nullptr) {
        return failWith(TWCC_BADVALUE, true);
    }
    if (dat == DAT_IMAGENATIVEXFER && msg == MSG_GET) {
        return transfer(call, static_cast<TW_HANDLE*>(data));
    }
    if (dat == DAT_IMAGELAYOUT && msg == MSG_GET) {
        std::memcpy(data, &script.layout, sizeof(script.layout));
        return TWRC_SUCCESS;
    }
    if (dat == DAT_IMAGELAYOUT && msg == MSG_SET) {
        return TWRC_SUCCESS;
    }
    return failWith(TWCC_BADPROTOCOL, true);
}

TW_UINT16 FakeDsm::transfer(Call& call, TW_HANDLE* out) {
    if (!enabled_ || script.batches.empty() || script.batches.front().empty()) {
        return failWith(TWCC_SEQERROR, true);
    }
    const Page page = script.batches.front().front();
    script.batches.front().pop_front();
    ++transfers_;
    if (page.result != TWRC_XFERDONE) {
        *out = nullptr;
        return page.result;
    }
    const std::vector<uint8_t> bytes =
        pageBytes(page, page.pattern < 0 ? transfers_ : page.pattern);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
    void* p = GlobalLock(block);
    if (p == nullptr) {
        GlobalFree(block);
        return failWith(TWCC_LOWMEMORY, true);
    }
    std::memcpy(p, bytes.data(), bytes.size());
    GlobalUnlock(block);
    for (int i = 0; i < page.extraLocks; ++i) {
        GlobalLock(block);
    }
    *out = block;
    call.image = block;
    imagesHandedOut.push_back(block);
    return TWRC_XFERDONE;
}

TW_UINT16 FakeDsm::endTransfer(Call& call, TW_PENDINGXFERS* pending) {
    if (!enabled_) {
        return failWith(TWCC_SEQERROR, true);
    }
    const size_t left = script.batches.empty() ? 0 : script.batches.front().size();
    pending->Count = static_cast<TW_UINT16>(left);
    pending->Reserved = 0;
    call.pending = pending->Count;
    if (left == 0 && !script.batches.empty()) {
        script.batches.pop_front();
        postNotice();
    }
    return TWRC_SUCCESS;
}

TW_UINT16 FakeDsm::resetTransfers(Call& call, TW_PENDINGXFERS* pending) {
    if (!enabled_) {
        return failWith(TWCC_SEQERROR, true);
    }
    // The rest of the batch is dropped; the source waits for the application, no notice follows.
    if (!script.batches.empty()) {
        script.batches.pop_front();
    }
    pending->Count = 0;
    pending->Reserved = 0;
    call.pending = 0;
    return TWRC_SUCCESS;
}

} // namespace fakedsm
