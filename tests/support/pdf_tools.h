// Looking at PDF documents as a reader does, with poppler's command-line tools.
#pragma once

#include <string>
#include <vector>

// What command writes to its standard output ("" when it cannot be started).
std::string commandOutput(const std::string& command);

// Whether pdfinfo, pdfimages, pdftoppm and pdftotext are installed.
bool havePoppler();

// One line of "pdfimages -list" for each picture of the document, in page order.
struct PdfImage {
    int page = 0;
    int width = 0;
    int height = 0;
    std::string colour;   // "gray", "rgb", "index" …
    std::string encoding; // "jpeg", "ccitt", "image" …
    double xPpi = 0;      // pixels per inch on the page
};
std::vector<PdfImage> pdfImages(const std::string& pdf);

// The number of pages pdfinfo reports (0 when it reads none).
int pdfPages(const std::string& pdf);

// The first page's width and height in millimetres, as pdfinfo reports them (0 x 0 when it
// reads none).
struct PdfPageSize {
    double width = 0;
    double height = 0;
};
PdfPageSize pdfPageSize(const std::string& pdf);
