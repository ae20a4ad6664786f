// orvana-sane-host: the one process that loads SANE and its drivers. The data source manager
// starts it with two sockets: requests on descriptor 3 (answered in turn on this thread) and
// cancels on descriptor 4 (taken on a thread of their own, since a driver's read may block). A
// driver that hangs or crashes takes this process with it, never the program; the manager kills
// it when it stops answering and starts a new one for the next scan.
#include "frame_read_ahead.h"
#include "sane_wire.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <mutex>
#include <sane/sane.h>
#include <sys/mman.h>
#include <thread>
#include <vector>

using namespace twaindsm::sane_wire;

namespace {

constexpr int kRequests = 3;
constexpr int kCancels = 4;

std::mutex handlesMutex;
std::vector<SANE_Handle> handles; // by id; null once closed

SANE_Handle handleOf(uint32_t id) {
    std::lock_guard lock(handlesMutex);
    return id < handles.size() ? handles[id] : nullptr;
}

void describe(Writer& out, const SANE_Option_Descriptor* d) {
    out.u32(d != nullptr ? 1 : 0);
    if (d == nullptr) {
        return;
    }
    out.text(d->name).text(d->title).text(d->desc);
    out.i32(d->type).i32(d->unit).i32(d->size).i32(d->cap).i32(d->constraint_type);
    switch (d->constraint_type) {
    case SANE_CONSTRAINT_RANGE:
        out.i32(d->constraint.range->min).i32(d->constraint.range->max);
        out.i32(d->constraint.range->quant);
        break;
    case SANE_CONSTRAINT_WORD_LIST: {
        const SANE_Int count = d->constraint.word_list[0];
        out.i32(count);
        for (SANE_Int i = 1; i <= count; ++i) {
            out.i32(d->constraint.word_list[i]);
        }
        break;
    }
    case SANE_CONSTRAINT_STRING_LIST: {
        uint32_t count = 0;
        while (d->constraint.string_list[count] != nullptr) {
            ++count;
        }
        out.u32(count);
        for (uint32_t i = 0; i < count; ++i) {
            out.text(d->constraint.string_list[i]);
        }
        break;
    }
    default:
        break;
    }
}

// The memory shared with the manager, where reads put their bytes, and the frame read into it.
SANE_Byte* shared = nullptr;
FrameReadAhead* ahead = nullptr;

// The answer to one request; empty when the request is malformed.
std::string answer(const std::string& request) {
    if (request.empty()) {
        return {};
    }
    Reader in(request, 1);
    Writer out;
    uint32_t id = 0;
    switch (static_cast<Op>(request[0])) {
    case Op::Init: {
        SANE_Int version = 0;
        out.i32(sane_init(&version, nullptr)).i32(version);
        break;
    }
    case Op::Devices: {
        const SANE_Device** devices = nullptr;
        // Network devices too: a scanner shared by saned, or one that speaks eSCL.
        const SANE_Status status = sane_get_devices(&devices, SANE_FALSE);
        out.i32(status);
        uint32_t count = 0;
        while (status == SANE_STATUS_GOOD && devices != nullptr && devices[count] != nullptr) {
            ++count;
        }
        out.u32(count);
        for (uint32_t i = 0; i < count; ++i) {
            out.text(devices[i]->name).text(devices[i]->vendor).text(devices[i]->model);
            out.text(devices[i]->type);
        }
        break;
    }
    case Op::Open: {
        std::string name;
        if (!in.text(name)) {
            return {};
        }
        SANE_Handle handle = nullptr;
        const SANE_Status status = sane_open(name.c_str(), &handle);
        std::lock_guard lock(handlesMutex);
        if (status == SANE_STATUS_GOOD) {
            handles.push_back(handle);
        }
        out.i32(status).u32(status == SANE_STATUS_GOOD ? uint32_t(handles.size() - 1) : 0);
        break;
    }
    case Op::Close: {
        if (!in.u32(id) || handleOf(id) == nullptr) {
            return {};
        }
        // Out of the table first: a cancel arriving now finds nothing to cancel.
        SANE_Handle handle = nullptr;
        {
            std::lock_guard lock(handlesMutex);
            std::swap(handle, handles[id]);
        }
        sane_cancel(handle);
        ahead->stop();
        sane_close(handle);
        out.i32(SANE_STATUS_GOOD);
        break;
    }
    case Op::Descriptors: {
        if (!in.u32(id) || handleOf(id) == nullptr) {
            return {};
        }
        SANE_Handle handle = handleOf(id);
        // A backend that was told to reload its options (the net backend among them) fetches
        // them when a descriptor is asked for, and refuses every other call until then.
        sane_get_option_descriptor(handle, 0);
        SANE_Int count = 0;
        const SANE_Status status =
            sane_control_option(handle, 0, SANE_ACTION_GET_VALUE, &count, nullptr);
        out.i32(status).i32(status == SANE_STATUS_GOOD ? count : 0);
        for (SANE_Int i = 0; status == SANE_STATUS_GOOD && i < count; ++i) {
            describe(out, sane_get_option_descriptor(handle, i));
        }
        break;
    }
    case Op::Control: {
        int32_t index = 0;
        int32_t action = 0;
        std::string value;
        if (!in.u32(id) || !in.i32(index) || !in.i32(action) || !in.text(value) ||
            handleOf(id) == nullptr) {
            return {};
        }
        // Room for what the driver may write back, whatever the caller sent.
        std::vector<char> buffer(std::max<size_t>(value.size(), 8) + 1, 0);
        std::copy(value.begin(), value.end(), buffer.begin());
        SANE_Int info = 0;
        // The descriptor first, as a front end that follows SANE_INFO_RELOAD_OPTIONS does.
        sane_get_option_descriptor(handleOf(id), index);
        const SANE_Status status =
            sane_control_option(handleOf(id), index, SANE_Action(action),
                                action == SANE_ACTION_SET_AUTO ? nullptr : buffer.data(), &info);
        out.i32(status).i32(info).text(std::string(buffer.data(), value.size()));
        break;
    }
    case Op::Start:
        if (!in.u32(id) || handleOf(id) == nullptr) {
            return {};
        }
        ahead->stop();
        out.i32(sane_start(handleOf(id)));
        break;
    case Op::Parameters: {
        if (!in.u32(id) || handleOf(id) == nullptr) {
            return {};
        }
        SANE_Parameters p{};
        out.i32(sane_get_parameters(handleOf(id), &p));
        out.i32(p.format).i32(p.last_frame).i32(p.bytes_per_line).i32(p.pixels_per_line);
        out.i32(p.lines).i32(p.depth);
        break;
    }
    case Op::Read: {
        uint32_t most = 0;
        if (!in.u32(id) || !in.u32(most) || handleOf(id) == nullptr || shared == nullptr) {
            return {};
        }
        size_t offset = 0;
        size_t size = 0;
        const SANE_Status status = ahead->next(handleOf(id), offset, size);
        if (size > most) {
            return {}; // the manager reads whole halves
        }
        out.i32(status).u32(uint32_t(offset)).u32(uint32_t(size));
        break;
    }
    case Op::Cancel:
        if (!in.u32(id) || handleOf(id) == nullptr) {
            return {};
        }
        sane_cancel(handleOf(id));
        ahead->stop();
        out.i32(SANE_STATUS_GOOD);
        break;
    default:
        return {};
    }
    return out.bytes();
}

// Cancels arrive while the request thread may be inside a driver's read.
void takeCancels() {
    std::string packet;
    while (receive(kCancels, packet, -1) == 1) {
        Reader in(packet, 1);
        uint32_t id = 0;
        if (!packet.empty() && static_cast<Op>(packet[0]) == Op::Cancel && in.u32(id)) {
            // Under the table's lock, so that the handle cannot be closed meanwhile.
            std::lock_guard lock(handlesMutex);
            if (id < handles.size() && handles[id] != nullptr) {
                sane_cancel(handles[id]);
            }
        }
        // Done: the program starts no scan while a cancel of its may still arrive.
        send(kCancels, Writer(Op::Cancel).bytes());
    }
}

} // namespace

int main() {
    // A network driver writing to a connection its server dropped gets EPIPE, not the signal.
    ::signal(SIGPIPE, SIG_IGN);
    void* memory =
        ::mmap(nullptr, 2 * kReadChunk, PROT_READ | PROT_WRITE, MAP_SHARED, kSharedFd, 0);
    shared = memory == MAP_FAILED ? nullptr : static_cast<SANE_Byte*>(memory);
    FrameReadAhead frames(shared, kReadChunk);
    ahead = &frames;
    std::thread cancels(takeCancels);
    cancels.detach();
    std::string request;
    while (receive(kRequests, request, -1) == 1) {
        const std::string reply = answer(request);
        if (reply.empty() || !send(kRequests, reply)) {
            break;
        }
    }
    // The manager is gone or sent nonsense: a scan under way is ended first (a driver that does
    // not return keeps this process, which the manager then ends), and the drivers are left as
    // the system finds them.
    {
        std::lock_guard lock(handlesMutex);
        for (SANE_Handle handle : handles) {
            if (handle != nullptr) {
                sane_cancel(handle);
            }
        }
    }
    frames.stop();
    sane_exit();
    return 0;
}
