// One libtiff handle with its own message reporting.
#pragma once

#include "file_reader.h"

#include <cstdarg>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <tiffio.h>

namespace pelmix {

// Owns a TIFF* and records what libtiff reports about it on this object, never printing and
// never touching libtiff's process-wide handlers, so that several threads may decode at once
// and a caller can tell afterwards whether anything went wrong. Reading works on a buffer in
// memory or on an open file (either must outlive the object), writing on a file. Closed on
// destruction.
class TiffFile {
public:
    // Opens the first directory of the TIFF in data[0, size).
    TiffFile(const uint8_t* data, size_t size);
    // Opens the first directory of the file, read where it lies: libtiff reads each strip or tile
    // into a buffer of its own when it needs it, so the file is never held whole.
    explicit TiffFile(const FileReader& file);
    // Creates the file at path for writing, truncating whatever it held.
    explicit TiffFile(const char* path);
    ~TiffFile() = default;
    TiffFile(const TiffFile&) = delete;
    TiffFile& operator=(const TiffFile&) = delete;

    bool isOpen() const { return tiff_ != nullptr; }
    TIFF* get() const { return tiff_.get(); }

    // Whether libtiff reported an error since opening (or since the last forgetErrors()).
    bool failed() const { return errors_ != 0; }
    void forgetErrors() { errors_ = 0; }
    // The first error libtiff reported, for diagnostics.
    const std::string& firstError() const { return firstError_; }

    // Closes the handle (for a written file after its directory went out); true when no error
    // was reported.
    bool close();

private:
    struct Closer {
        void operator()(TIFF* tiff) const { TIFFClose(tiff); }
    };
    struct OptionsFree {
        void operator()(TIFFOpenOptions* options) const { TIFFOpenOptionsFree(options); }
    };
    using Options = std::unique_ptr<TIFFOpenOptions, OptionsFree>;

    Options makeOptions();

    static int onError(TIFF*, void* self, const char* module, const char* format, va_list args);
    static int onWarning(TIFF*, void* self, const char* module, const char* format, va_list args);

    // The memory "file" behind a reading handle.
    static tmsize_t readProc(thandle_t self, void* buffer, tmsize_t size);
    static tmsize_t writeProc(thandle_t self, void* buffer, tmsize_t size);
    static toff_t seekProc(thandle_t self, toff_t offset, int whence);
    static int closeProc(thandle_t self);
    static toff_t sizeProc(thandle_t self);
    static int mapProc(thandle_t self, void** base, toff_t* size);
    static void unmapProc(thandle_t self, void* base, toff_t size);

    void open();

    const uint8_t* data_ = nullptr;
    const FileReader* file_ = nullptr;
    uint64_t size_ = 0;
    uint64_t position_ = 0;
    int errors_ = 0;
    std::string firstError_;
    // Last, so that the handle goes before the state its callbacks use.
    std::unique_ptr<TIFF, Closer> tiff_;
};

} // namespace pelmix
