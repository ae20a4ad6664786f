// The messages between the data source manager and its SANE host process: one request or answer
// a packet (a SOCK_SEQPACKET socket pair), numbers and strings in a plain binary form. Both sides
// read every field with its bounds checked, so a broken or hostile packet is refused, never
// read past.
#pragma once

#include <cstdint>
#include <string>

namespace twaindsm::sane_wire {

enum class Op : uint8_t {
    Init = 1,
    Devices,
    Open,
    Close,
    Descriptors,
    Control,
    Start,
    Parameters,
    Read,
    Cancel,
};

// A read's bytes do not travel in the packets: the host reads them straight into memory both
// processes share (descriptor 5 in the host), two halves of kReadChunk bytes, the next half while
// the manager takes the last, and answers where it put them and how many.
inline constexpr size_t kReadChunk = 1024 * 1024;
inline constexpr size_t kMaxPacket = 1024 * 1024;
inline constexpr int kSharedFd = 5;

class Writer {
public:
    explicit Writer(Op op) { bytes_.push_back(char(op)); }
    Writer() = default;
    Writer& u32(uint32_t value);
    Writer& i32(int32_t value) { return u32(static_cast<uint32_t>(value)); }
    Writer& text(const std::string& value);
    Writer& text(const char* value) { return text(std::string(value != nullptr ? value : "")); }
    Writer& raw(const void* data, size_t size);
    const std::string& bytes() const { return bytes_; }

private:
    std::string bytes_;
};

class Reader {
public:
    explicit Reader(const std::string& bytes, size_t from = 0) : bytes_(bytes), at_(from) {}
    bool u32(uint32_t& value);
    bool i32(int32_t& value);
    bool text(std::string& value);
    // A field of exactly size bytes.
    bool raw(void* data, size_t size);
    bool done() const { return at_ == bytes_.size(); }

private:
    const std::string& bytes_;
    size_t at_;
};

// Sends one packet; false when the other side is gone.
bool send(int fd, const std::string& packet);
// Receives one packet, waiting up to timeoutMs (-1: no limit). 1 received, 0 timed out, -1 the
// other side is gone or the packet is larger than kMaxPacket.
int receive(int fd, std::string& packet, int timeoutMs);

} // namespace twaindsm::sane_wire
