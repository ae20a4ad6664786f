#include "sane_host.h"

#include "sane_wire.h"

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <dlfcn.h>
#include <fcntl.h>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace twaindsm::sane_host {

namespace {

using namespace sane_wire;
using Clock = std::chrono::steady_clock;

// The option descriptors of one handle as the host last gave them, owning what they point to.
struct Options {
    std::vector<SANE_Option_Descriptor> list;
    std::deque<std::string> texts;
    std::deque<SANE_Range> ranges;
    std::deque<std::vector<SANE_Word>> words;
    std::deque<std::vector<SANE_String_Const>> stringLists;
};

struct Handle {
    // Every set of descriptors handed out stays until the handle is closed.
    std::deque<std::unique_ptr<Options>> options;
    bool stale = true;
};

struct Host {
    std::mutex mutex; // one request at a time
    pid_t pid = -1;
    int requests = -1;
    // The cancel channel and the generation, which interrupt() reads without the request lock,
    // under a lock of their own: a channel is never closed while a cancel is sent on it.
    std::mutex cancelMutex;
    int cancels = -1;
    int cancelsUnanswered = 0; // sent on cancels, not yet said done by the host
    uint32_t generation = 0;
    bool initialised = false;
    std::map<uint32_t, Handle> handles;
    // The descriptors of the handles of hosts that ended: a caller may still hold one.
    std::deque<std::unique_ptr<Options>> retired;
    std::string fault;
    Fault faultKind = Fault::None;
    // Set by abandon(): a call that waits for a device found or opened gives up.
    std::atomic<bool> abandoned{false};
    std::atomic<int64_t> cancelledAt{0}; // steady clock, ns; 0: no cancel waits
    int sharedFd = -1;                   // the memory reads put their bytes in
    const SANE_Byte* shared = nullptr;
};

Host& host() {
    static Host h;
    return h;
}

// How long a call may go unanswered: an answer from the host itself, a device found or opened
// (a network scanner takes a while), a start or a read (a lamp warming up, a slow feeder; a
// Cancel shortens it), or a cancel or close that ends a scan.
enum class Wait { Answer, Device, Scan, Stop };

std::chrono::milliseconds limit(Wait wait) {
    const char* given = std::getenv("ORVANA_SANE_HOST_LIMIT_MS");
    if (wait != Wait::Stop && given != nullptr && std::atoi(given) > 0) {
        return std::chrono::milliseconds(std::atoi(given));
    }
    switch (wait) {
    case Wait::Answer:
        return std::chrono::seconds(30);
    case Wait::Device:
    case Wait::Scan:
        return std::chrono::seconds(90);
    case Wait::Stop:
        break;
    }
    return kCancelLimit;
}

std::string hostProgram() {
    if (const char* given = std::getenv("ORVANA_SANE_HOST"); given != nullptr && *given) {
        return given;
    }
    Dl_info info{};
    if (::dladdr(reinterpret_cast<void*>(&init), &info) != 0 && info.dli_fname != nullptr) {
        std::string path = info.dli_fname;
        const size_t slash = path.rfind('/');
        return (slash == std::string::npos ? std::string(".") : path.substr(0, slash)) +
               "/orvana-sane-host";
    }
    return "orvana-sane-host";
}

void closeSockets(Host& h) {
    if (h.requests >= 0) {
        ::close(h.requests);
        h.requests = -1;
    }
    std::lock_guard lock(h.cancelMutex);
    if (h.cancels >= 0) {
        ::close(h.cancels);
        h.cancels = -1;
    }
    h.cancelsUnanswered = 0;
}

// Ends the host: asked to end (its sockets closed) or, with kill, at once. Its handles go with it.
void stop(Host& h, bool kill) {
    closeSockets(h);
    if (h.pid >= 0) {
        if (kill) {
            ::kill(h.pid, SIGKILL);
        }
        int status = 0;
        bool ended = false;
        for (int i = 0; i < 100 && !ended; ++i) {
            ended = ::waitpid(h.pid, &status, WNOHANG) == h.pid;
            if (!ended) {
                ::usleep(10000);
            }
        }
        if (!ended) {
            ::kill(h.pid, SIGKILL);
            ::waitpid(h.pid, &status, 0);
        }
        h.pid = -1;
    }
    for (auto& [id, handle] : h.handles) {
        for (std::unique_ptr<Options>& options : handle.options) {
            h.retired.push_back(std::move(options));
        }
    }
    h.handles.clear();
    h.initialised = false;
    h.cancelledAt = 0;
    std::lock_guard lock(h.cancelMutex);
    ++h.generation;
}

// The memory the host's reads put their bytes in, made once for every host to come.
bool makeShared(Host& h) {
    if (h.shared != nullptr) {
        return true;
    }
    const int fd = ::memfd_create("orvana-sane-pages", MFD_CLOEXEC);
    if (fd < 0 || ::ftruncate(fd, off_t(2 * kReadChunk)) != 0) {
        if (fd >= 0) {
            ::close(fd);
        }
        return false;
    }
    void* memory = ::mmap(nullptr, 2 * kReadChunk, PROT_READ, MAP_SHARED, fd, 0);
    if (memory == MAP_FAILED) {
        ::close(fd);
        return false;
    }
    h.sharedFd = fd;
    h.shared = static_cast<const SANE_Byte*>(memory);
    return true;
}

bool spawn(Host& h) {
    if (!makeShared(h)) {
        h.faultKind = Fault::NotStarted;
        h.fault =
            std::string("no memory could be shared with the SANE host: ") + std::strerror(errno);
        return false;
    }
    int requests[2] = {-1, -1};
    int cancels[2] = {-1, -1};
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, requests) != 0) {
        return false;
    }
    if (::socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, cancels) != 0) {
        ::close(requests[0]);
        ::close(requests[1]);
        return false;
    }
    // The three are moved above the numbers they get in the host first, so that setting one
    // cannot overwrite another.
    const int given[3] = {::fcntl(requests[1], F_DUPFD_CLOEXEC, 10),
                          ::fcntl(cancels[1], F_DUPFD_CLOEXEC, 10),
                          ::fcntl(h.sharedFd, F_DUPFD_CLOEXEC, 10)};
    ::close(requests[1]);
    ::close(cancels[1]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    // dup2 onto 3, 4 and 5 clears close-on-exec there: the host gets those and nothing else.
    posix_spawn_file_actions_adddup2(&actions, given[0], 3);
    posix_spawn_file_actions_adddup2(&actions, given[1], 4);
    posix_spawn_file_actions_adddup2(&actions, given[2], kSharedFd);
    posix_spawn_file_actions_addclosefrom_np(&actions, kSharedFd + 1);
    const std::string program = hostProgram();
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    pid_t pid = -1;
    const bool ready = given[0] >= 0 && given[1] >= 0 && given[2] >= 0;
    const int error =
        ready ? ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ) : errno;
    posix_spawn_file_actions_destroy(&actions);
    for (const int fd : given) {
        if (fd >= 0) {
            ::close(fd);
        }
    }
    if (error != 0) {
        ::close(requests[0]);
        ::close(cancels[0]);
        h.faultKind = Fault::NotStarted;
        h.fault = "the SANE host " + program + " could not be started: " + std::strerror(error);
        return false;
    }
    h.pid = pid;
    h.requests = requests[0];
    std::lock_guard lock(h.cancelMutex);
    h.cancels = cancels[0];
    return true;
}

// What ended a host that went away by itself: it is reaped here (within half a second).
std::string endedText(Host& h) {
    int status = 0;
    bool ended = false;
    for (int i = 0; i < 50 && h.pid >= 0 && !ended; ++i) {
        ended = ::waitpid(h.pid, &status, WNOHANG) == h.pid;
        if (!ended) {
            ::usleep(10000);
        }
    }
    if (!ended) {
        return "the scanner driver ended unexpectedly";
    }
    h.pid = -1;
    if (WIFSIGNALED(status)) {
        return std::string("the scanner driver ended unexpectedly (") +
               ::strsignal(WTERMSIG(status)) + ")";
    }
    return "the scanner driver ended unexpectedly (exit code " +
           std::to_string(WEXITSTATUS(status)) + ")";
}

// Sends request and waits for the answer; nothing when the host failed (it is ended then, and
// h.fault says why). The lock is held by the caller.
std::optional<std::string> call(Host& h, const Writer& request, Wait wait) {
    if (h.requests < 0 || !send(h.requests, request.bytes())) {
        if (h.pid >= 0) {
            h.faultKind = Fault::Ended;
            h.fault = endedText(h);
        }
        stop(h, true);
        return std::nullopt;
    }
    const auto deadline = Clock::now() + limit(wait);
    std::string answer;
    for (;;) {
        const int got = receive(h.requests, answer, 100);
        if (got == 1) {
            return answer;
        }
        if (got < 0) {
            h.faultKind = Fault::Ended;
            h.fault = endedText(h);
            stop(h, true);
            return std::nullopt;
        }
        const int64_t cancelled = wait == Wait::Scan ? h.cancelledAt.load() : 0;
        const int64_t now = Clock::now().time_since_epoch().count();
        if (cancelled != 0 && now - cancelled > std::chrono::nanoseconds(kCancelLimit).count()) {
            h.faultKind = Fault::CancelIgnored;
            h.fault = "the scanner driver did not stop when the scan was cancelled";
            stop(h, true);
            return std::nullopt;
        }
        if (wait == Wait::Device && h.abandoned) {
            h.faultKind = Fault::Abandoned;
            h.fault = "the search for scanners was cancelled";
            stop(h, true);
            return std::nullopt;
        }
        if (Clock::now() > deadline) {
            h.faultKind = Fault::Unanswered;
            h.fault = "the scanner driver stopped answering";
            stop(h, true);
            return std::nullopt;
        }
    }
}

SANE_Handle handleOf(uint32_t generation, uint32_t id) {
    return reinterpret_cast<SANE_Handle>((uintptr_t(generation) << 32) | (uintptr_t(id) + 1));
}

// The host's id of handle, when it belongs to the host running now.
std::optional<uint32_t> idOf(const Host& h, SANE_Handle handle) {
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if (h.pid < 0 || uint32_t(value >> 32) != h.generation || (value & 0xffffffffu) == 0) {
        return std::nullopt;
    }
    const uint32_t id = uint32_t(value & 0xffffffffu) - 1;
    return h.handles.count(id) != 0 ? std::optional<uint32_t>(id) : std::nullopt;
}

// The answer to a request about handle (its id first, then what more writes), the lock held:
// nothing when the handle is not the running host's or the host failed.
std::optional<std::string> ask(Host& h, SANE_Handle handle, Op op, Wait wait,
                               const std::function<void(Writer&)>& more = nullptr) {
    const std::optional<uint32_t> id = idOf(h, handle);
    if (!id) {
        return std::nullopt;
    }
    Writer request(op);
    request.u32(*id);
    if (more) {
        more(request);
    }
    return call(h, request, wait);
}

SANE_Status statusOf(Reader& in) {
    int32_t status = SANE_STATUS_IO_ERROR;
    return in.i32(status) ? SANE_Status(status) : SANE_STATUS_IO_ERROR;
}

bool ensureRunning(Host& h, SANE_Int* version) {
    if (h.pid >= 0 && h.initialised) {
        return true;
    }
    if (h.pid < 0 && !spawn(h)) {
        return false;
    }
    const std::optional<std::string> answer = call(h, Writer(Op::Init), Wait::Device);
    if (!answer) {
        return false;
    }
    Reader in(*answer);
    int32_t code = 0;
    if (statusOf(in) != SANE_STATUS_GOOD || !in.i32(code)) {
        stop(h, true);
        return false;
    }
    if (version != nullptr) {
        *version = code;
    }
    h.initialised = true;
    return true;
}

bool readOptions(Reader& in, Options& options) {
    int32_t count = 0;
    if (statusOf(in) != SANE_STATUS_GOOD || !in.i32(count) || count < 0 || count > 10000) {
        return false;
    }
    options.list.resize(size_t(count));
    for (SANE_Option_Descriptor& d : options.list) {
        d = SANE_Option_Descriptor{};
        uint32_t present = 0;
        if (!in.u32(present)) {
            return false;
        }
        if (present == 0) {
            d.name = nullptr; // an index the device does not describe
            continue;
        }
        std::string name, title, desc;
        int32_t type = 0, unit = 0, size = 0, cap = 0, constraint = 0;
        if (!in.text(name) || !in.text(title) || !in.text(desc) || !in.i32(type) || !in.i32(unit) ||
            !in.i32(size) || !in.i32(cap) || !in.i32(constraint)) {
            return false;
        }
        d.name = options.texts.emplace_back(name).c_str();
        d.title = options.texts.emplace_back(title).c_str();
        d.desc = options.texts.emplace_back(desc).c_str();
        d.type = SANE_Value_Type(type);
        d.unit = SANE_Unit(unit);
        d.size = size;
        d.cap = cap;
        d.constraint_type = SANE_Constraint_Type(constraint);
        if (constraint == SANE_CONSTRAINT_RANGE) {
            SANE_Range& range = options.ranges.emplace_back();
            if (!in.i32(range.min) || !in.i32(range.max) || !in.i32(range.quant)) {
                return false;
            }
            d.constraint.range = &range;
        } else if (constraint == SANE_CONSTRAINT_WORD_LIST) {
            int32_t words = 0;
            if (!in.i32(words) || words < 0 || words > 100000) {
                return false;
            }
            std::vector<SANE_Word>& list = options.words.emplace_back(size_t(words) + 1);
            list[0] = words;
            for (int32_t i = 1; i <= words; ++i) {
                if (!in.i32(list[size_t(i)])) {
                    return false;
                }
            }
            d.constraint.word_list = list.data();
        } else if (constraint == SANE_CONSTRAINT_STRING_LIST) {
            uint32_t strings = 0;
            if (!in.u32(strings) || strings > 100000) {
                return false;
            }
            std::vector<SANE_String_Const>& list = options.stringLists.emplace_back();
            for (uint32_t i = 0; i < strings; ++i) {
                std::string entry;
                if (!in.text(entry)) {
                    return false;
                }
                list.push_back(options.texts.emplace_back(entry).c_str());
            }
            list.push_back(nullptr);
            d.constraint.string_list = list.data();
        } else {
            d.constraint_type = SANE_CONSTRAINT_NONE;
        }
    }
    return in.done();
}

} // namespace

SANE_Status init(SANE_Int* version) {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    return ensureRunning(h, version) ? SANE_STATUS_GOOD : SANE_STATUS_IO_ERROR;
}

void exit() {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    stop(h, false);
}

SANE_Status devices(std::vector<Device>& found) {
    found.clear();
    Host& h = host();
    std::lock_guard lock(h.mutex);
    h.abandoned = false;
    if (!ensureRunning(h, nullptr)) {
        return SANE_STATUS_IO_ERROR;
    }
    const std::optional<std::string> answer = call(h, Writer(Op::Devices), Wait::Device);
    if (!answer) {
        return SANE_STATUS_IO_ERROR;
    }
    Reader in(*answer);
    const SANE_Status status = statusOf(in);
    uint32_t count = 0;
    if (status != SANE_STATUS_GOOD || !in.u32(count)) {
        return status == SANE_STATUS_GOOD ? SANE_STATUS_IO_ERROR : status;
    }
    for (uint32_t i = 0; i < count; ++i) {
        Device device;
        if (!in.text(device.name) || !in.text(device.vendor) || !in.text(device.model) ||
            !in.text(device.type)) {
            return SANE_STATUS_IO_ERROR;
        }
        found.push_back(std::move(device));
    }
    return SANE_STATUS_GOOD;
}

SANE_Status open(const std::string& name, SANE_Handle* handle) {
    *handle = nullptr;
    Host& h = host();
    std::lock_guard lock(h.mutex);
    h.abandoned = false;
    if (!ensureRunning(h, nullptr)) {
        return SANE_STATUS_IO_ERROR;
    }
    const std::optional<std::string> answer = call(h, Writer(Op::Open).text(name), Wait::Device);
    if (!answer) {
        return SANE_STATUS_IO_ERROR;
    }
    Reader in(*answer);
    const SANE_Status status = statusOf(in);
    uint32_t id = 0;
    if (status != SANE_STATUS_GOOD || !in.u32(id)) {
        return status == SANE_STATUS_GOOD ? SANE_STATUS_IO_ERROR : status;
    }
    h.handles[id] = Handle{};
    *handle = handleOf(h.generation, id);
    return SANE_STATUS_GOOD;
}

void close(SANE_Handle handle) {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    if (const std::optional<uint32_t> id = idOf(h, handle)) {
        call(h, Writer(Op::Close).u32(*id), Wait::Stop);
        h.handles.erase(*id);
    }
}

const SANE_Option_Descriptor* descriptor(SANE_Handle handle, SANE_Int option) {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    const std::optional<uint32_t> id = idOf(h, handle);
    if (!id || option < 0) {
        return nullptr;
    }
    Handle& entry = h.handles[*id];
    if (entry.stale || entry.options.empty()) {
        const std::optional<std::string> answer =
            call(h, Writer(Op::Descriptors).u32(*id), Wait::Answer);
        if (!answer) {
            return nullptr;
        }
        auto options = std::make_unique<Options>();
        Reader in(*answer);
        if (!readOptions(in, *options)) {
            return nullptr;
        }
        // A host that ended meanwhile took the handle with it.
        if (!idOf(h, handle)) {
            return nullptr;
        }
        Handle& still = h.handles[*id];
        still.options.push_back(std::move(options));
        still.stale = false;
    }
    const Options& current = *h.handles[*id].options.back();
    if (size_t(option) >= current.list.size() || current.list[size_t(option)].name == nullptr) {
        return nullptr;
    }
    return &current.list[size_t(option)];
}

SANE_Status control(SANE_Handle handle, SANE_Int option, SANE_Action action, void* value,
                    SANE_Int* info) {
    const SANE_Option_Descriptor* d = option == 0 ? nullptr : descriptor(handle, option);
    const size_t size = d != nullptr ? size_t(std::max<SANE_Int>(d->size, 0)) : sizeof(SANE_Word);
    Host& h = host();
    std::lock_guard lock(h.mutex);
    const std::optional<uint32_t> id = idOf(h, handle);
    if (!id) {
        return SANE_STATUS_IO_ERROR;
    }
    std::string sent(size, '\0');
    if (action == SANE_ACTION_SET_VALUE && value != nullptr) {
        std::memcpy(sent.data(), value, size);
    }
    const std::optional<std::string> answer =
        call(h, Writer(Op::Control).u32(*id).i32(option).i32(action).text(sent), Wait::Answer);
    if (!answer) {
        return SANE_STATUS_IO_ERROR;
    }
    Reader in(*answer);
    const SANE_Status status = statusOf(in);
    int32_t changed = 0;
    std::string back;
    if (!in.i32(changed) || !in.text(back) || back.size() != size) {
        return SANE_STATUS_IO_ERROR;
    }
    if (status == SANE_STATUS_GOOD && value != nullptr && action != SANE_ACTION_SET_AUTO) {
        std::memcpy(value, back.data(), size);
    }
    if (info != nullptr) {
        *info = changed;
    }
    // A set may change any descriptor, whether or not the driver says so: the next look asks
    // the host again.
    if ((action != SANE_ACTION_GET_VALUE || (changed & SANE_INFO_RELOAD_OPTIONS) != 0) &&
        idOf(h, handle)) {
        h.handles[*id].stale = true;
    }
    return status;
}

// Waits until the host has dealt with every cancel sent so far, so that a cancel meant for a
// scan that is over never reaches the next one. False when the driver is still inside one after
// the cancel limit: the host is ended then. The lock is held by the caller.
bool cancelsSettled(Host& h) {
    std::unique_lock cancelLock(h.cancelMutex);
    const auto deadline = Clock::now() + kCancelLimit;
    while (h.cancelsUnanswered > 0 && h.cancels >= 0) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        std::string answer;
        const int got = left.count() > 0 ? receive(h.cancels, answer, int(left.count())) : 0;
        if (got != 1) {
            cancelLock.unlock();
            h.faultKind = got == 0 ? Fault::CancelIgnored : Fault::Ended;
            h.fault = got == 0 ? "the scanner driver did not stop when the scan was cancelled"
                               : endedText(h);
            stop(h, true);
            return false;
        }
        --h.cancelsUnanswered;
    }
    return true;
}

SANE_Status start(SANE_Handle handle) {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    if (!cancelsSettled(h)) {
        return SANE_STATUS_IO_ERROR;
    }
    h.cancelledAt = 0;
    const std::optional<std::string> answer = ask(h, handle, Op::Start, Wait::Scan);
    if (!answer) {
        return SANE_STATUS_IO_ERROR;
    }
    Reader in(*answer);
    return statusOf(in);
}

SANE_Status parameters(SANE_Handle handle, SANE_Parameters* p) {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    const std::optional<std::string> answer = ask(h, handle, Op::Parameters, Wait::Scan);
    if (!answer) {
        return SANE_STATUS_IO_ERROR;
    }
    Reader in(*answer);
    const SANE_Status status = statusOf(in);
    int32_t format = 0, last = 0;
    if (!in.i32(format) || !in.i32(last) || !in.i32(p->bytes_per_line) ||
        !in.i32(p->pixels_per_line) || !in.i32(p->lines) || !in.i32(p->depth)) {
        return SANE_STATUS_IO_ERROR;
    }
    p->format = SANE_Frame(format);
    p->last_frame = last;
    return status;
}

SANE_Status read(SANE_Handle handle, SANE_Int most, const SANE_Byte** data, SANE_Int* length) {
    *length = 0;
    *data = nullptr;
    Host& h = host();
    std::lock_guard lock(h.mutex);
    if (!idOf(h, handle) || most <= 0) {
        return SANE_STATUS_IO_ERROR;
    }
    const bool cancelling = h.cancelledAt.load() != 0;
    const std::optional<std::string> answer =
        ask(h, handle, Op::Read, Wait::Scan, [most](Writer& w) { w.u32(uint32_t(most)); });
    if (!answer) {
        // A cancel the driver did not follow ended the host: the scan was cancelled all the same.
        return cancelling || h.cancelledAt.load() != 0 ? SANE_STATUS_CANCELLED
                                                       : SANE_STATUS_IO_ERROR;
    }
    Reader in(*answer);
    const SANE_Status status = statusOf(in);
    uint32_t offset = 0;
    uint32_t filled = 0;
    if (!in.u32(offset) || !in.u32(filled) || filled > uint32_t(most) || filled > kReadChunk ||
        (offset != 0 && offset != kReadChunk)) {
        return SANE_STATUS_IO_ERROR;
    }
    *data = h.shared + offset;
    *length = SANE_Int(filled);
    return status;
}

void cancel(SANE_Handle handle) {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    ask(h, handle, Op::Cancel, Wait::Stop);
}

void interrupt(SANE_Handle handle) {
    Host& h = host();
    // Not under the lock: a read may hold it while the driver blocks.
    const auto value = reinterpret_cast<uintptr_t>(handle);
    if ((value & 0xffffffffu) == 0) {
        return;
    }
    std::lock_guard lock(h.cancelMutex);
    if (h.cancels >= 0 && uint32_t(value >> 32) == h.generation) {
        int64_t expected = 0;
        h.cancelledAt.compare_exchange_strong(expected, Clock::now().time_since_epoch().count());
        if (send(h.cancels, Writer(Op::Cancel).u32(uint32_t(value & 0xffffffffu) - 1).bytes())) {
            ++h.cancelsUnanswered;
        }
    }
}

bool current(SANE_Handle handle) {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    return idOf(h, handle).has_value();
}

Fault faultKind() {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    return h.faultKind;
}

void abandon() {
    host().abandoned = true;
}

std::string fault() {
    Host& h = host();
    std::lock_guard lock(h.mutex);
    return h.fault;
}

} // namespace twaindsm::sane_host
