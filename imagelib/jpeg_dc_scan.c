#include "jpeg_dc_scan.h"

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

static int dcComplete(j_decompress_ptr cinfo) {
    for (int c = 0; c < cinfo->num_components; ++c) {
        if (cinfo->coef_bits[c][0] < 0) {
            return 0;
        }
    }
    return 1;
}

// Reads scans until every component has its DC coefficients: 1 when they are in, 0 when the file
// ends first, -1 when it shows too many scans.
static int consumeDcScans(j_decompress_ptr cinfo) {
    for (;;) {
        const int status = jpeg_consume_input(cinfo);
        if (status == JPEG_SCAN_COMPLETED && dcComplete(cinfo)) {
            return 1;
        }
        if (status == JPEG_REACHED_EOI || status == JPEG_SUSPENDED) {
            return 0;
        }
        if (cinfo->input_scan_number > kMaxScans) {
            return -1;
        }
    }
}

static enum PelmixDcResult decode(j_decompress_ptr cinfo, const unsigned char* data, size_t size,
                                  unsigned char* dst, int width, int pitch, int height, int grey,
                                  int bottomUp) {
    jpeg_mem_src(cinfo, data, (unsigned long)size);
    if (jpeg_read_header(cinfo, TRUE) != JPEG_HEADER_OK) {
        return PELMIX_DC_FAILED;
    }
    if (!cinfo->progressive_mode || cinfo->jpeg_color_space == JCS_CMYK ||
        cinfo->jpeg_color_space == JCS_YCCK) {
        return PELMIX_DC_NOT_SUITED;
    }
    cinfo->buffered_image = TRUE;
    cinfo->do_block_smoothing = FALSE; // it only estimates AC coefficients the scale ignores
    cinfo->scale_num = 1;
    cinfo->scale_denom = 8;
    cinfo->out_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_calc_output_dimensions(cinfo);
    if ((int)cinfo->output_width != width || (int)cinfo->output_height != height) {
        return PELMIX_DC_NOT_SUITED;
    }
    if (!jpeg_start_decompress(cinfo)) {
        return PELMIX_DC_FAILED;
    }
    const int dc = consumeDcScans(cinfo);
    if (dc <= 0) {
        return dc == 0 ? PELMIX_DC_NOT_SUITED : PELMIX_DC_FAILED;
    }
    if (!jpeg_start_output(cinfo, cinfo->input_scan_number)) {
        return PELMIX_DC_FAILED;
    }
    while (cinfo->output_scanline < cinfo->output_height) {
        const int y = (int)cinfo->output_scanline;
        JSAMPROW row = dst + (size_t)(bottomUp ? height - 1 - y : y) * (size_t)pitch;
        if (jpeg_read_scanlines(cinfo, &row, 1) != 1) {
            return PELMIX_DC_FAILED;
        }
    }
    return PELMIX_DC_DONE;
}

enum PelmixDcResult pelmixDecodeJpegDc(const unsigned char* data, size_t size, unsigned char* dst,
                                       int width, int pitch, int height, int grey, int bottomUp) {
    struct jpeg_decompress_struct cinfo;
    struct DcError error;
    cinfo.err = jpeg_std_error(&error.base);
    error.base.error_exit = leave;
    error.base.emit_message = message;
    if (setjmp(error.escape)) {
        jpeg_destroy_decompress(&cinfo);
        return PELMIX_DC_FAILED;
    }
    jpeg_create_decompress(&cinfo);
    const enum PelmixDcResult result =
        decode(&cinfo, data, size, dst, width, pitch, height, grey, bottomUp);
    jpeg_destroy_decompress(&cinfo);
    return result;
}
