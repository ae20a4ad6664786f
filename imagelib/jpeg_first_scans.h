// A progressive JPEG from its first scans. At an eighth of its size each 8 x 8 block becomes one
// pixel made from its DC coefficient only, so the first DC scans give that picture and the AC
// scans, most of the file and most of the decoding time, are never read. At any scale, once every
// coefficient has arrived at some precision the picture is close to the final one: the rest of
// the file only refines the coefficients' lowest bits. Written in C against the libjpeg interface
// because buffered-image decoding is not offered by TurboJPEG; the error handling's longjmp stays
// inside the C file.
#pragma once

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

enum PelmixFirstScans {
    PELMIX_SCANS_DC = 0,           // until every component has its DC coefficients (1/8 only)
    PELMIX_SCANS_EVERY_COEFFICIENT // until every coefficient of every component has arrived
};

enum PelmixScansResult {
    PELMIX_SCANS_EARLY = 0,     // stopped before the end of the file
    PELMIX_SCANS_WHOLE = 1,     // what was wanted came with the last scan: the final picture
    PELMIX_SCANS_FAILED = 2,    // the data is broken: the full decode may tell more
    PELMIX_SCANS_NOT_SUITED = 3 // not progressive, CMYK, or another size than asked for
};

// Decodes data at scaleNum/scaleDenom into dst (width x height pixels at pitch bytes a row, BGR
// or, when grey, one byte a pixel; bottomUp stores the first row last). Any warning of the
// library counts as failed, so that only clean data takes this route.
enum PelmixScansResult pelmixDecodeFirstScans(const unsigned char* data, size_t size,
                                              enum PelmixFirstScans until, int scaleNum,
                                              int scaleDenom, unsigned char* dst, int width,
                                              int pitch, int height, int grey, int bottomUp);

#ifdef __cplusplus
}
#endif
