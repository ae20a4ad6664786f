// A page as SANE's own front end stores it: scanimage run on the same device with the same
// settings, its PNM read back, and compared pixel by pixel with a page the program scanned
// (16-bit samples by their high byte, as the program keeps them).
#pragma once

#include "dib.h"
#include "temp_dir.h"

#include <cstdio>
#include <cstdlib>
#include <string>

struct ScanimagePage {
    int width = 0;
    int height = 0;
    int channels = 0; // 1 grey (P5), 3 colour (P6)
    int sampleBytes = 1;
    std::string pixels;
};

// scanimage -d device <arguments> --format=pnm with SANE_CONFIG_DIR=config; width 0 when it
// gave no page.
inline ScanimagePage scanimagePage(const std::string& config, const std::string& device,
                                   const std::string& arguments) {
    TempDir dir;
    const std::string file = dir.file("page.pnm");
    const std::string command = "SANE_CONFIG_DIR='" + config + "' scanimage -d '" + device + "' " +
                                arguments + " --format=pnm -o '" + file + "' 2>/dev/null";
    ScanimagePage page;
    if (std::system(command.c_str()) != 0) {
        return page;
    }
    const std::string bytes = readBytes(file);
    // The magic, comment lines, width, height, the largest value, one white space, the pixels.
    std::string header;
    size_t at = 0;
    int fields = 0;
    while (fields < 4 && at < bytes.size()) {
        const size_t end = bytes.find('\n', at);
        if (end == std::string::npos) {
            return page;
        }
        const std::string line = bytes.substr(at, end - at);
        at = end + 1;
        if (line.empty() || line[0] == '#') {
            continue;
        }
        header += line + " ";
        fields = 0;
        for (size_t i = 0; i < header.size(); ++i) {
            fields += header[i] != ' ' && (i == 0 || header[i - 1] == ' ');
        }
    }
    char magic[3] = {};
    int most = 0;
    if (std::sscanf(header.c_str(), "%2s %d %d %d", magic, &page.width, &page.height, &most) != 4 ||
        (std::string(magic) != "P5" && std::string(magic) != "P6")) {
        page.width = 0;
        return page;
    }
    page.channels = magic[1] == '6' ? 3 : 1;
    page.sampleBytes = most > 255 ? 2 : 1;
    page.pixels = bytes.substr(at);
    return page;
}

// How many pixels of the program's page differ from scanimage's; -1 when their sizes do.
inline long differingPixels(HGLOBAL image, const ScanimagePage& expected) {
    pelmix::DibView dib(image);
    const int channels = dib.bitCount() == 24 ? 3 : 1;
    if (dib.header().biWidth != expected.width ||
        std::abs(dib.header().biHeight) != expected.height || channels != expected.channels ||
        expected.pixels.size() < size_t(expected.width) * size_t(expected.height) *
                                     size_t(channels * expected.sampleBytes)) {
        return -1;
    }
    // scanimage writes each line as the device sends it, lost pixels at its end included.
    const size_t stride = expected.pixels.size() / size_t(expected.height);
    long differing = 0;
    for (int y = 0; y < expected.height; ++y) {
        const uint8_t* row = dib.row(y);
        for (int x = 0; x < expected.width; ++x) {
            bool same = true;
            for (int c = 0; c < channels; ++c) {
                // PNM's 16-bit samples are big-endian (scanimage turns SANE's order of this
                // machine into it): the high byte comes first. The page is BGR.
                const size_t sample =
                    (size_t(x) * size_t(channels) + size_t(channels == 3 ? 2 - c : c));
                same = same && row[channels * x + c] ==
                                   uint8_t(expected.pixels[size_t(y) * stride +
                                                           sample * size_t(expected.sampleBytes)]);
            }
            differing += same ? 0 : 1;
        }
    }
    return differing;
}
