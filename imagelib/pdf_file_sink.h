// Where a document's bytes go as qpdf writes them: the temporary file of a save, written with
// write(2) (small pieces gathered into blocks), every result checked. A write the system refuses (a
// full volume, an I/O error) stops the writer at once and is remembered, so that a document that
// did not fit is never taken for one that did.
#pragma once

// qpdf's own pointers are std::shared_ptr throughout.
#define POINTERHOLDER_TRANSITION 4
#include <cstdint>
#include <qpdf/Pipeline.hh>
#include <string>
#include <vector>

namespace pelmix {

class PdfFileSink : public Pipeline {
public:
    // Opens path (an existing file) for writing, emptied; failed() tells whether it opened.
    explicit PdfFileSink(const std::string& path);
    ~PdfFileSink() override;
    PdfFileSink(const PdfFileSink&) = delete;
    PdfFileSink& operator=(const PdfFileSink&) = delete;

    void write(unsigned char const* data, size_t size) override;
    // Writes out what is gathered. The writer calls it whenever a part of the document ends, not
    // only at the end, so the file stays open.
    void finish() override;
    // Writes out the rest, flushes the file to the disk and closes it; false (with error() set)
    // when any of it failed.
    bool close();

    bool failed() const { return error_ != 0; }
    // The system's error number of the first failure, 0 without one.
    int error() const { return error_; }

private:
    void fail(int error);
    void writeAll(const unsigned char* data, size_t size);
    void writeOut();

    int fd_ = -1;
    int error_ = 0;
    std::vector<unsigned char> gathered_;
};

} // namespace pelmix
