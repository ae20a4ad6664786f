#include "jpeg_first_scans.h"

#include <setjmp.h>
#include <stdio.h>

// jpeglib.h needs FILE declared before it.
#include <jpeglib.h>

// As many scans as the full decode lets a file show the library: a hostile file can otherwise
// keep it busy for minutes.
enum { kMaxScans = 500 };

struct DcError {
    struct jpeg_error_mgr base;
    jmp_buf escape;
};

static void leave(j_common_ptr cinfo) {
    longjmp(((struct DcError*)cinfo->err)->escape, 1);
}

// Warnings leave too: a file the library has to repair goes the full decode's way, which decides
// what a repair is worth.
static void message(j_common_ptr cinfo, int level) {
    if (level < 0) {
        leave(cinfo);
    }
}

// Whether the scans so far carry the first `coefficients` coefficients of every component.
static int arrived(j_decompress_ptr cinfo, int coefficients) {
    for (int c = 0; c < cinfo->num_components; ++c) {
        for (int k = 0; k < coefficients; ++k) {
            if (cinfo->coef_bits[c][k] < 0) {
                return 0;
            }
        }
    }
    return 1;
}

// Reads scans until the coefficients wanted have arrived: 1 when they have and more scans
// follow, 0 when the file ends first (everything is in then), -1 when it shows too many scans.
static int consumeScans(j_decompress_ptr cinfo, int coefficients) {
    for (;;) {
        const int status = jpeg_consume_input(cinfo);
        if (status == JPEG_REACHED_EOI || status == JPEG_SUSPENDED) {
            return 0;
        }
        if (status == JPEG_SCAN_COMPLETED && arrived(cinfo, coefficients)) {
            return 1;
        }
        if (cinfo->input_scan_number > kMaxScans) {
            return -1;
        }
    }
}

static enum PelmixScansResult decode(j_decompress_ptr cinfo, const unsigned char* data, size_t size,
                                     enum PelmixFirstScans until, int scaleNum, int scaleDenom,
                                     unsigned char* dst, int width, int pitch, int height, int grey,
                                     int bottomUp) {
    jpeg_mem_src(cinfo, data, (unsigned long)size);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        return PELMIX_SCANS_FAILED;
    }
    if (!cinfo->progressive_mode || cinfo->jpeg_color_space == JCS_CMYK ||
        cinfo->jpeg_color_space == JCS_YCCK) {
        return PELMIX_SCANS_NOT_SUITED;
    }
    cinfo->buffered_image = TRUE;
    // Smoothing estimates low AC coefficients still missing or coarse: nothing a DC picture
    // shows, and little once every coefficient has arrived, for most of the output's time.
    cinfo->do_block_smoothing = FALSE;
    cinfo->scale_num = (unsigned int)scaleNum;
    cinfo->scale_denom = (unsigned int)scaleDenom;
    cinfo->out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(cinfo);
    if ((int)cinfo->output_width != width || (int)cinfo->output_height != height ||
        (until == PELMIX_SCANS_DC && scaleNum * 8 != scaleDenom)) {
        return PELMIX_SCANS_NOT_SUITED;
    }
    if (!jpeg_start_decompress(cinfo)) {
        return PELMIX_SCANS_FAILED;
    }
    const int early = consumeScans(cinfo, until == PELMIX_SCANS_DC ? 1 : DCTSIZE2);
    if (early < 0 || !jpeg_start_output(cinfo, cinfo->input_scan_number)) {
        return PELMIX_SCANS_FAILED;
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = (int)cinfo->output_scanline;
        JSAMPROW row = dst + (size_t)(bottomUp ? height - 1 - y : y) * (size_t)pitch;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            return PELMIX_SCANS_FAILED;
        }
    }
    return early ? PELMIX_SCANS_EARLY : PELMIX_SCANS_WHOLE;
}

enum PelmixScansResult pelmixDecodeFirstScans(const unsigned char* data, size_t size,
                                              enum PelmixFirstScans until, int scaleNum,
                                              int scaleDenom, unsigned char* dst, int width,
                                              int pitch, int height, int grey, int bottomUp) {
    struct jpeg_decompress_struct cinfo;
    struct DcError error;
    cinfo.err = jpeg_std_error(&error.base);
    error.base.error_exit = leave;
    error.base.emit_message = message;
    if (setjmp(error.escape)) {
        jpeg_destroy_decompress(&cinfo);
        return PELMIX_SCANS_FAILED;
    }
    jpeg_create_decompress(&cinfo);
    const enum PelmixScansResult result = decode(&cinfo, data, size, until, scaleNum, scaleDenom,
                                                 dst, width, pitch, height, grey, bottomUp);
    jpeg_destroy_decompress(&cinfo);
    return result;
}
