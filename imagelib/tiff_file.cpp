#include "tiff_file.h"

#include <cstdio>
#include <cstring>

namespace pelmix {

namespace {

// No single buffer libtiff allocates for us needs to be larger: strips of the files we write
// are small, and when reading the strips come straight from the mapped buffer.
constexpr tmsize_t kMaxSingleAlloc = tmsize_t(256) << 20;

} // namespace

TiffFile::Options TiffFile::makeOptions() {
    Options options(TIFFOpenOptionsAlloc());
    if (options) {
        TIFFOpenOptionsSetErrorHandlerExtR(options.get(), &TiffFile::onError, this);
        TIFFOpenOptionsSetWarningHandlerExtR(options.get(), &TiffFile::onWarning, this);
        TIFFOpenOptionsSetMaxSingleMemAlloc(options.get(), kMaxSingleAlloc);
    }
    return options;
}

TiffFile::TiffFile(const uint8_t* data, size_t size) : data_(data), size_(size) {
    if (data != nullptr) {
        open();
    }
}

TiffFile::TiffFile(const FileReader& file) : file_(&file), size_(file.size()) {
    if (file.isOpen()) {
        open();
    }
}

void TiffFile::open() {
    Options options = makeOptions();
    if (!options) {
        return;
    }
    tiff_.reset(TIFFClientOpenExt("memory", "r", static_cast<thandle_t>(this), &readProc,
                                  &writeProc, &seekProc, &closeProc, &sizeProc, &mapProc,
                                  &unmapProc, options.get()));
}

TiffFile::TiffFile(const char* path) {
    Options options = makeOptions();
    if (!options || path == nullptr) {
        return;
    }
    tiff_.reset(TIFFOpenExt(path, "w", options.get()));
}

bool TiffFile::close() {
    tiff_.reset();
    return !failed();
}

int TiffFile::onError(TIFF*, void* self, const char* module, const char* format, va_list args) {
    auto* file = static_cast<TiffFile*>(self);
    if (file->errors_++ == 0) {
        char text[256];
        std::vsnprintf(text, sizeof text, format, args);
        file->firstError_ = module != nullptr ? std::string(module) + ": " + text : text;
    }
    return 1; // handled: nothing reaches the process-wide handler
}

int TiffFile::onWarning(TIFF* tiff, void* self, const char* module, const char* format,
                        va_list args) {
    // Most warnings (unknown tags and the like) leave the picture readable. A tag whose value
    // lies beyond the end of the file, though, means a truncated file, and libtiff would go on
    // without it: a palette picture that lost its colour map would come out as grey.
    if (format != nullptr && std::strstr(format, "IO error") != nullptr) {
        return onError(tiff, self, module, format, args);
    }
    return 1;
}

tmsize_t TiffFile::readProc(thandle_t self, void* buffer, tmsize_t size) {
    auto* file = static_cast<TiffFile*>(self);
    if (size <= 0 || file->position_ >= file->size_) {
        return 0;
    }
    const uint64_t left = file->size_ - file->position_;
    const uint64_t count = static_cast<uint64_t>(size) < left ? static_cast<uint64_t>(size) : left;
    if (file->file_ != nullptr) {
        // Fewer bytes than asked for where the file was cut short since it was opened: libtiff
        // reports a read error, never reads beyond.
        const size_t read =
            file->file_->readAt(file->position_, buffer, static_cast<size_t>(count));
        file->position_ += read;
        return static_cast<tmsize_t>(read);
    }
    std::memcpy(buffer, file->data_ + file->position_, static_cast<size_t>(count));
    file->position_ += count;
    return static_cast<tmsize_t>(count);
}

tmsize_t TiffFile::writeProc(thandle_t, void*, tmsize_t) {
    return 0;
}

toff_t TiffFile::seekProc(thandle_t self, toff_t offset, int whence) {
    auto* file = static_cast<TiffFile*>(self);
    uint64_t base = 0;
    switch (whence) {
    case SEEK_SET:
        break;
    case SEEK_CUR:
        base = file->position_;
        break;
    case SEEK_END:
        base = file->size_;
        break;
    default:
        return static_cast<toff_t>(-1);
    }
    // Offsets come from the file; anything outside the buffer is a seek failure.
    if (offset > file->size_ || base > file->size_ - offset) {
        return static_cast<toff_t>(-1);
    }
    file->position_ = base + offset;
    return file->position_;
}

int TiffFile::closeProc(thandle_t) {
    return 0;
}

toff_t TiffFile::sizeProc(thandle_t self) {
    return static_cast<TiffFile*>(self)->size_;
}

int TiffFile::mapProc(thandle_t self, void** base, toff_t* size) {
    auto* file = static_cast<TiffFile*>(self);
    if (file->data_ == nullptr) {
        return 0; // a file is read, not mapped
    }
    // libtiff only reads through the mapping (files it maps itself are read-only too).
    *base = const_cast<uint8_t*>(file->data_);
    *size = file->size_;
    return 1;
}

void TiffFile::unmapProc(thandle_t, void*, toff_t) {}

} // namespace pelmix
