#include "message_loop.h"

#include "image_layout.h"
#include "transfers.h"

namespace pmxacq {
namespace {

void runTransfers(Session& session) {
    switch (session.job.kind) {
    case Job::Kind::Single:
        transferSingleImage(session);
        break;
    case Job::Kind::PageFiles:
        transferPageFiles(session);
        break;
    case Job::Kind::Batch:
        transferBatch(session);
        break;
    }
}

template <typename Record> ImageSettings settingsOf(const Record& record) {
    ImageSettings settings;
    settings.pixelType = record.pixelType;
    settings.left = record.frameLeft;
    settings.top = record.frameTop;
    settings.right = record.frameRight;
    settings.bottom = record.frameBottom;
    settings.resolution = record.resolution;
    return settings;
}

template <typename Record> void store(const ImageSettings& settings, Record& record) {
    record.pixelType = settings.pixelType;
    record.frameLeft = settings.left;
    record.frameTop = settings.top;
    record.frameRight = settings.right;
    record.frameBottom = settings.bottom;
    record.resolution = settings.resolution;
}

// Refreshes the call's record with what the source now has.
template <typename Record> void readBackInto(Session& session, Record& record) {
    ImageSettings settings = settingsOf(record);
    readBackSettings(session, settings);
    store(settings, record);
}

void readBack(Session& session) {
    Job& job = session.job;
    if (job.param != nullptr) {
        readBackInto(session, *job.param);
    } else if (job.info != nullptr) {
        readBackInto(session, *job.info);
    } else {
        readBackInto(session, job.privateInfo);
    }
}

void finish(Session& session) {
    session.teardown();
    session.transferFinished = true;
}

} // namespace

bool handleSourceEvent(Session& session, MSG& message) {
    TW_EVENT event{};
    event.pEvent = &message;
    event.TWMessage = MSG_NULL;
    bool sourceEvent = false;
    if (session.managerOpen() && session.sourceOpen()) {
        sourceEvent =
            session.call(true, DG_CONTROL, DAT_EVENT, MSG_PROCESSEVENT, &event) == TWRC_DSEVENT;
    }
    switch (event.TWMessage) {
    case MSG_XFERREADY:
        runTransfers(session);
        readBack(session);
        if (!session.job.keepEnabled || session.pageFileFailed) {
            finish(session);
        }
        break;
    case MSG_CLOSEDSREQ:
        finish(session);
        break;
    default:
        break;
    }
    return sourceEvent;
}

void runMessageLoop(Session& session) {
    session.transferFinished = false;
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0 && message.message != WM_QUIT) {
        if (!session.sourceEnabled()) {
            break;
        }
        if (!handleSourceEvent(session, message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        // Ending as soon as the source is down also covers calls that keep it enabled between
        // batches: no further message has to arrive before the loop notices.
        if (session.transferFinished || !session.sourceEnabled()) {
            break;
        }
    }
}

} // namespace pmxacq
