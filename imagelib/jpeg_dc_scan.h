// A progressive JPEG at an eighth of its size, from its first DC scans alone. At that scale each
// 8 x 8 block becomes one pixel made from its DC coefficient only, so the AC scans, most of the
// file and most of the decoding time, are never read. Written in C against the libjpeg interface
// because buffered-image decoding is not offered by TurboJPEG; the error handling's longjmp
// stays inside the C file.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum PelmixDcResult {
    PELMIX_DC_DONE = 0,
    PELMIX_DC_FAILED = 1,    // the data is broken: the full decode may tell more
    PELMIX_DC_NOT_SUITED = 2 // not a progressive file whose DC scans come first, or other size
};

// Decodes data at 1/8 into dst (width x height pixels at pitch bytes a row, BGR or, when grey,
// one byte a pixel; bottomUp stores the first row last). Any warning of the library counts as
// failed, so that only clean data takes this route.
enum PelmixDcResult pelmixDecodeJpegDc(const unsigned char* data, size_t size, unsigned char* dst,
                                       int width, int pitch, int height, int grey, int bottomUp);

#ifdef __cplusplus
}
#endif
