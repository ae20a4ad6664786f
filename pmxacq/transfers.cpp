#include "transfers.h"

#include "image_layout.h"
#include "kept_page.h"
#include "page_file.h"
#include "pelmix.h"

namespace pmxacq {
namespace {

// One native transfer; the handle the source hands over, or 0.
TW_UINT16 nativeTransfer(Session& session, HGLOBAL& page) {
    TW_HANDLE handle = nullptr;
    TW_UINT16 rc = session.call(true, DG_IMAGE, DAT_IMAGENATIVEXFER, MSG_GET, &handle);
    page = rc == TWRC_XFERDONE ? handle : nullptr;
    return rc;
}

// MSG_ENDXFER; the pages still pending, 0 when the source does not answer (so no loop can spin
// on a stale count).
TW_UINT16 endTransfer(Session& session) {
    TW_PENDINGXFERS pending{};
    if (session.call(true, DG_CONTROL, DAT_PENDINGXFERS, MSG_ENDXFER, &pending) != TWRC_SUCCESS) {
        return 0;
    }
    return pending.Count;
}

// Drops the pages the source still holds, so that it can be disabled afterwards.
void discardPending(Session& session) {
    TW_PENDINGXFERS pending{};
    session.call(true, DG_CONTROL, DAT_PENDINGXFERS, MSG_RESET, &pending);
}

// Takes a transferred page as the one in hand.
void takePage(Session& session, HGLOBAL page) {
    session.releaseImage();
    session.image = page;
}

bool hasBaseName(const Session& session) {
    return session.job.baseName != nullptr && session.job.baseName[0] != '\0';
}

// Writes the page in hand as "<base>.<counter>". A page file that cannot be written (the disk
// refuses it, or the name does not fit) sends the page to the kept-page folder and marks the call
// to end: false.
bool writePageFile(Session& session) {
    if (formatPageFileName(session.pageFileName, sizeof session.pageFileName, session.job.baseName,
                           session.pageCounter) &&
        PelmixBmpFileSave(session.pageFileName, session.image, "", "", 0) != 0) {
        return true;
    }
    keepPage(session.image, session.pageCounter);
    session.pageFileFailed = true;
    return false;
}

// One native transfer and its end: a cancel is noted, a delivered page becomes the image in
// hand. Returns the pending count the source reports.
TW_UINT16 transferOnce(Session& session) {
    HGLOBAL page = nullptr;
    const TW_UINT16 rc = nativeTransfer(session, page);
    if (rc == TWRC_CANCEL) {
        session.cancelled = true;
    }
    const TW_UINT16 pending = endTransfer(session);
    if (rc == TWRC_XFERDONE && page != nullptr) {
        takePage(session, page);
    }
    return pending;
}

} // namespace

void transferSingleImage(Session& session) {
    session.releaseImage();
    session.cancelled = false;
    while (transferOnce(session) != 0) {
    }
}

void transferPageFiles(Session& session) {
    session.releaseImage();
    session.cancelled = false;
    TW_UINT16 pending = 0;
    do {
        pending = transferOnce(session);
        if (session.image == nullptr) {
            continue;
        }
        // Without a base name the page has nowhere to go; it is dropped, not kept.
        bool written = true;
        if (hasBaseName(session)) {
            setImageSize(session.image);
            written = writePageFile(session);
            if (written) {
                ++session.pageCounter;
            }
        }
        session.releaseImage();
        if (!written) {
            // No more pages are asked for than the folder has taken.
            if (pending != 0) {
                discardPending(session);
            }
            return;
        }
    } while (pending != 0);
}

void transferBatch(Session& session) {
    session.cancelled = false;
    ImageSettings frame;
    if (session.job.param != nullptr) {
        frame.left = session.job.param->frameLeft;
        frame.top = session.job.param->frameTop;
        frame.right = session.job.param->frameRight;
        frame.bottom = session.job.param->frameBottom;
    }
    TW_UINT16 pending = 0;
    do {
        setFrame(session, frame);
        HGLOBAL page = nullptr;
        TW_UINT16 rc = nativeTransfer(session, page);
        if (rc == TWRC_CANCEL) {
            session.cancelled = true;
        }
        pending = endTransfer(session);
        if (rc == TWRC_XFERDONE && page != nullptr) {
            takePage(session, page);
        }
        if (session.image == nullptr) {
            continue;
        }
        setImageSize(session.image);
        const bool written = !hasBaseName(session) || writePageFile(session);
        ++session.pageCounter;
        int32_t stop = 0;
        if (session.callback != nullptr) {
            session.callback(&session.image, &session.pageCounter, &stop);
        }
        session.releaseImage();
        if (stop != 0 || !written) {
            if (stop != 0) {
                session.cancelled = true;
            }
            if (pending != 0) {
                discardPending(session);
            }
            break;
        }
    } while (pending != 0);
}

} // namespace pmxacq
