// The packed DIBs the fake hands out as native transfers.
#include "fake_dsm.h"

#include <cstring>

namespace fakedsm {

size_t rowBytes(int width, int bitCount) {
    return ((static_cast<size_t>(bitCount) * static_cast<size_t>(width) + 31) / 32) * 4;
}

int tableEntries(int bitCount) {
    return bitCount <= 8 ? 1 << bitCount : 0;
}

std::vector<uint8_t> pageBytes(const Page& page, int pattern) {
    const int entries = tableEntries(page.bitCount);
    const size_t header = 40 + 4 * static_cast<size_t>(entries);
    const size_t stride = rowBytes(page.width, page.bitCount);
    std::vector<uint8_t> bytes(header + stride * static_cast<size_t>(page.height), 0);
    const auto put32 = [&bytes](size_t at, uint32_t v) { std::memcpy(&bytes[at], &v, 4); };
    const auto put16 = [&bytes](size_t at, uint16_t v) { std::memcpy(&bytes[at], &v, 2); };
    put32(0, 40);
    put32(4, static_cast<uint32_t>(page.width));
    put32(8, static_cast<uint32_t>(page.height));
    put16(12, 1);
    put16(14, static_cast<uint16_t>(page.bitCount));
    put32(24, 3780); // 96 dpi in pixels per metre
    put32(28, 3780);
    for (int i = 0; i < entries; ++i) {
        const auto grey = static_cast<uint8_t>(i * 255 / (entries - 1));
        const size_t at = 40 + 4 * static_cast<size_t>(i);
        bytes[at] = bytes[at + 1] = bytes[at + 2] = grey;
    }
    for (size_t i = header; i < bytes.size(); ++i) {
        bytes[i] = static_cast<uint8_t>(pattern * 37 + (i - header) * 13 + (i - header) / 7);
    }
    return bytes;
}

} // namespace fakedsm
