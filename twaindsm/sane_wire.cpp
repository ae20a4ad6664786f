#include "sane_wire.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>

namespace twaindsm::sane_wire {

Writer& Writer::u32(uint32_t value) {
    const char b[4] = {char(value), char(value >> 8), char(value >> 16), char(value >> 24)};
    bytes_.append(b, 4);
    return *this;
}

Writer& Writer::text(const std::string& value) {
    u32(static_cast<uint32_t>(value.size()));
    bytes_.append(value);
    return *this;
}

Writer& Writer::raw(const void* data, size_t size) {
    u32(static_cast<uint32_t>(size));
    bytes_.append(static_cast<const char*>(data), size);
    return *this;
}

bool Reader::u32(uint32_t& value) {
    if (bytes_.size() - at_ < 4) {
        return false;
    }
    const auto* b = reinterpret_cast<const unsigned char*>(bytes_.data() + at_);
    value = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
    at_ += 4;
    return true;
}

bool Reader::i32(int32_t& value) {
    uint32_t word = 0;
    if (!u32(word)) {
        return false;
    }
    value = static_cast<int32_t>(word);
    return true;
}

bool Reader::text(std::string& value) {
    uint32_t size = 0;
    if (!u32(size) || bytes_.size() - at_ < size) {
        return false;
    }
    value.assign(bytes_, at_, size);
    at_ += size;
    return true;
}

bool Reader::raw(void* data, size_t size) {
    uint32_t given = 0;
    if (!u32(given) || given != size || bytes_.size() - at_ < size) {
        return false;
    }
    if (size > 0) {
        std::memcpy(data, bytes_.data() + at_, size);
    }
    at_ += size;
    return true;
}

bool send(int fd, const std::string& packet) {
    for (;;) {
        const ssize_t sent = ::send(fd, packet.data(), packet.size(), MSG_NOSIGNAL);
        if (sent >= 0) {
            return size_t(sent) == packet.size();
        }
        if (errno != EINTR) {
            return false;
        }
    }
}

int receive(int fd, std::string& packet, int timeoutMs) {
    struct pollfd wait {
        fd, POLLIN, 0
    };
    for (;;) {
        const int ready = ::poll(&wait, 1, timeoutMs);
        if (ready == 0) {
            return 0;
        }
        if (ready > 0) {
            break;
        }
        if (errno != EINTR) {
            return -1;
        }
    }
    // The packet's size first, then the packet itself.
    const ssize_t size = ::recv(fd, nullptr, 0, MSG_PEEK | MSG_TRUNC);
    if (size <= 0 || size_t(size) > kMaxPacket) {
        return -1;
    }
    packet.resize(size_t(size));
    const ssize_t got = ::recv(fd, packet.data(), packet.size(), 0);
    return got == size ? 1 : -1;
}

} // namespace twaindsm::sane_wire
