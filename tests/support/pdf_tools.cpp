#include "pdf_tools.h"

#include <cstdio>
#include <memory>
#include <sstream>

std::string commandOutput(const std::string& command) {
    std::string out;
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (pipe) {
        char buffer[4096];
        size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe.get())) > 0) {
            out.append(buffer, n);
        }
    }
    return out;
}

bool havePoppler() {
    for (const char* tool : {"pdfinfo", "pdfimages", "pdftoppm", "pdftotext"}) {
        if (commandOutput(std::string("command -v ") + tool).empty()) {
            return false;
        }
    }
    return true;
}

std::vector<PdfImage> pdfImages(const std::string& pdf) {
    std::istringstream list(commandOutput("pdfimages -list '" + pdf + "' | tail -n +3"));
    std::vector<PdfImage> images;
    std::string line;
    while (std::getline(list, line)) {
        std::istringstream fields(line);
        PdfImage image;
        std::string num, type, components, bits, interpolate, object, id;
        fields >> image.page >> num >> type >> image.width >> image.height >> image.colour >>
            components >> bits >> image.encoding >> interpolate >> object >> id >> image.xPpi;
        images.push_back(image);
    }
    return images;
}

PdfPageSize pdfPageSize(const std::string& pdf) {
    std::istringstream info(commandOutput("pdfinfo '" + pdf + "' 2>/dev/null"));
    std::string line;
    while (std::getline(info, line)) {
        // "Page size:      257.95 x 155.91 pts"
        double width = 0;
        double height = 0;
        if (std::sscanf(line.c_str(), "Page size: %lf x %lf pts", &width, &height) == 2) {
            return {width / 72 * 25.4, height / 72 * 25.4};
        }
    }
    return {};
}

int pdfPages(const std::string& pdf) {
    std::istringstream info(commandOutput("pdfinfo '" + pdf + "' 2>/dev/null"));
    std::string line;
    while (std::getline(info, line)) {
        if (line.rfind("Pages:", 0) == 0) {
            return std::stoi(line.substr(6));
        }
    }
    return 0;
}
