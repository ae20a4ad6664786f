// The triplets addressed to the open source: enabling, events, transfers and negotiation.
#include "capability_negotiator.h"
#include "layout_negotiator.h"
#include "manager.h"
#include "notice.h"

#include <algorithm>

namespace twaindsm {

TW_UINT16 Manager::sourceTriplet(TW_IDENTITY* dest, TW_UINT32 dg, TW_UINT16 dat, TW_UINT16 msg,
                                 TW_MEMREF data) {
    if (!source_)
        return fail(TWCC_SEQERROR);
    if (!isOpenSource(dest))
        return fail(TWCC_BADDEST);

    if (dg == DG_IMAGE && dat == DAT_IMAGENATIVEXFER)
        return nativeXfer(static_cast<TW_HANDLE*>(data));
    if (dg == DG_IMAGE) {
        // A frame may also be set with a transfer ready, before the page is taken: applications
        // set the frame of each page of a batch that way, and the next page is made with it.
        const bool allowed = msg == MSG_RESET ? state_ == 4
                             : msg == MSG_SET ? state_ == 4 || state_ == 6
                                              : inState(4, 7);
        if (!allowed)
            return fail(TWCC_SEQERROR);
        if (!data)
            return fail(TWCC_BADVALUE);
        TW_UINT16 condition = TWCC_SUCCESS;
        const TW_UINT16 rc =
            LayoutNegotiator::handle(*source_, defaults_.frame, msg, pagesDone_ + 1,
                                     *static_cast<TW_IMAGELAYOUT*>(data), condition);
        return rc == TWRC_FAILURE ? fail(condition) : rc;
    }
    switch (dat) {
    case DAT_USERINTERFACE:
        return userInterface(msg, static_cast<TW_USERINTERFACE*>(data));
    case DAT_EVENT:
        return processEvent(static_cast<TW_EVENT*>(data));
    case DAT_PENDINGXFERS:
        return pendingXfers(msg, static_cast<TW_PENDINGXFERS*>(data));
    default: {
        const bool changes = msg == MSG_SET || msg == MSG_RESET;
        if (changes ? state_ != 4 : !inState(4, 7))
            return fail(TWCC_SEQERROR);
        if (!data)
            return fail(TWCC_BADVALUE);
        TW_UINT16 condition = TWCC_SUCCESS;
        CapabilityNegotiator negotiator(*source_, defaults_);
        const TW_UINT16 rc = negotiator.handle(msg, *static_cast<TW_CAPABILITY*>(data), condition);
        return rc == TWRC_FAILURE ? fail(condition) : rc;
    }
    }
}

TW_UINT16 Manager::userInterface(TW_UINT16 msg, TW_USERINTERFACE* ui) {
    if (msg == MSG_ENABLEDS) {
        if (state_ != 4)
            return fail(TWCC_SEQERROR);
        if (!ui)
            return fail(TWCC_BADVALUE);
        // The sink may be called from a source's worker thread and after this manager is gone:
        // it holds copies, never a pointer back.
        const auto window = static_cast<HWND>(ui->hParent);
        const auto id = static_cast<LPARAM>(sourceId_);
        NoticeSink notices = [window, id](TW_UINT16 notice) {
            PostMessageA(window, ORVANA_WM_TWAIN_NOTICE, notice, id);
        };
        TW_UINT16 condition = TWCC_SUCCESS;
        if (!source_->enable(ui->ShowUI != 0, window, std::move(notices), condition))
            return fail(condition != TWCC_SUCCESS ? condition : TWCC_OPERATIONERROR);
        state_ = 5;
        return TWRC_SUCCESS;
    }
    // Disabling with a transfer ready drops the rest of the batch: an application that stops
    // part-way through a batch goes straight to MSG_DISABLEDS.
    if (!inState(5, 6))
        return fail(TWCC_SEQERROR);
    if (!ui)
        return fail(TWCC_BADVALUE);
    if (state_ == 6)
        source_->discardPending();
    source_->disable();
    state_ = 4;
    return TWRC_SUCCESS;
}

TW_UINT16 Manager::processEvent(TW_EVENT* event) {
    if (!inState(5, 7))
        return fail(TWCC_SEQERROR);
    if (!event)
        return fail(TWCC_BADVALUE);
    const auto* message = static_cast<const MSG*>(event->pEvent);
    const bool ours = message && message->message == ORVANA_WM_TWAIN_NOTICE &&
                      message->lParam == static_cast<LPARAM>(sourceId_) &&
                      (message->wParam == MSG_XFERREADY || message->wParam == MSG_CLOSEDSREQ);
    if (!ours) {
        event->TWMessage = MSG_NULL;
        return TWRC_NOTDSEVENT;
    }
    event->TWMessage = static_cast<TW_UINT16>(message->wParam);
    if (event->TWMessage == MSG_XFERREADY && state_ == 5) {
        state_ = 6;
        batchPagesEnded_ = 0;
    }
    return TWRC_DSEVENT;
}

TW_UINT16 Manager::pendingXfers(TW_UINT16 msg, TW_PENDINGXFERS* pending) {
    const bool allowed = msg == MSG_ENDXFER ? inState(6, 7)
                         : msg == MSG_RESET ? state_ == 6
                                            : inState(4, 7);
    if (!allowed)
        return fail(TWCC_SEQERROR);
    if (!pending)
        return fail(TWCC_BADVALUE);
    switch (msg) {
    case MSG_ENDXFER: {
        // With a transfer ready and none taken, TWAIN's ENDXFER discards that one page.
        if (state_ == 6)
            skipPage();
        ++batchPagesEnded_;
        const TW_UINT16 sourceCount = source_->pending();
        pending->Count = withinTransferCount(sourceCount);
        if (pending->Count == 0 && sourceCount != 0)
            source_->discardPending(); // the application has all the pages it asked for
        state_ = pending->Count == 0 ? 5 : 6;
        break;
    }
    case MSG_RESET:
        source_->discardPending();
        pending->Count = 0;
        state_ = 5;
        break;
    default: {
        // With a transfer ready at least that one is pending, whatever the source counts.
        const TW_UINT16 count = state_ < 6 ? 0 : withinTransferCount(source_->pending());
        pending->Count = state_ == 6 ? std::max<TW_UINT16>(count, 1) : count;
        break;
    }
    }
    return TWRC_SUCCESS;
}

// The pages still to come as TWAIN counts them: what the source reports, but never more than
// CAP_XFERCOUNT leaves of the batch, so a source that cannot count its pages still counts down
// to the number the application asked for.
TW_UINT16 Manager::withinTransferCount(TW_UINT16 sourceCount) const {
    const int wanted = source_->settings().xferCount;
    if (wanted <= 0 || sourceCount == 0)
        return sourceCount;
    const int allowed = std::clamp(wanted - batchPagesEnded_, 0, int{kPagesUnknown} - 1);
    return sourceCount == kPagesUnknown
               ? static_cast<TW_UINT16>(allowed)
               : static_cast<TW_UINT16>(std::min<int>(sourceCount, allowed));
}

// The source delivers the skipped page as usual and it is dropped here, so that a feeder's sheet
// really passes and the next transfer is the page after it.
void Manager::skipPage() {
    TW_HANDLE page = nullptr;
    TW_UINT16 condition = TWCC_SUCCESS;
    if (source_->transfer(page, condition) == TWRC_XFERDONE)
        ++pagesDone_;
    if (page)
        GlobalFree(page);
}

TW_UINT16 Manager::nativeXfer(TW_HANDLE* page) {
    if (state_ != 6)
        return fail(TWCC_SEQERROR);
    if (!page)
        return fail(TWCC_BADVALUE);
    TW_HANDLE received = nullptr;
    TW_UINT16 condition = TWCC_SUCCESS;
    const TW_UINT16 rc = source_->transfer(received, condition);
    if (rc == TWRC_XFERDONE && received) {
        *page = received;
        ++pagesDone_;
        state_ = 7;
        return TWRC_XFERDONE;
    }
    if (rc == TWRC_CANCEL) {
        // The application still ends this transfer with MSG_ENDXFER.
        if (received)
            GlobalFree(received);
        *page = nullptr;
        state_ = 7;
        return TWRC_CANCEL;
    }
    if (received)
        GlobalFree(received);
    return fail(condition != TWCC_SUCCESS ? condition : TWCC_BUMMER);
}

} // namespace twaindsm
