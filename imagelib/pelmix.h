/*
 * pelmix: the image library. Decoding, encoding and pixel operations on images; no user interface.
 * The functions that need a device (display, print, clipboard, system palette) are in
 * view/pelmix_view.h.
 *
 * Image handle
 *   An image is a movable global-memory block (GlobalAlloc, winport.h) holding a packed
 *   device-independent bitmap (DIB):
 *     - a 40-byte BITMAPINFOHEADER (PELMIX_BITMAPINFOHEADER below), biCompression BI_RGB;
 *     - a colour table of DibNumColors(header) entries of 4 bytes (blue, green, red, 0);
 *     - the pixel rows, bottom row first, each row padded to a multiple of 4 bytes:
 *       row length = ((biBitCount * biWidth + 31) / 32) * 4.
 *   Images this library makes have 1, 4, 8 or 24 bits per pixel (16- and 32-bit files are
 *   loaded as 24 bits). It accepts handles from other producers with 1, 4, 8, 16, 24 or 32 bits,
 *   bottom-up, BI_RGB (16 and 32 bits also BI_BITFIELDS). The handle 0 means "no image".
 *   A handle is released with PelmixMemFree.
 *
 * Results
 *   Functions returning a handle return a new one (the caller owns it and must release it;
 *   the handle passed in is left alone) or 0 on failure. Functions working in place keep the
 *   handle the caller holds (the block may grow or shrink behind it) and return non-zero on
 *   success, 0 on failure, in which case the image is unchanged.
 *
 * Limits
 *   Images larger than PELMIX_MAX_PIXELS pixels, or with a side larger than PELMIX_MAX_SIDE,
 *   are refused by every decoder and operation; so are files whose headers promise more pixel
 *   data than the file holds. A refused or unreadable file gives 0, never a crash.
 *
 * Caption and text
 *   Most functions take a caption and a text describing the work, for a progress display. The
 *   library hands them to the progress handler the host registered with PelmixSetProgressHandler
 *   (when at least one of them is non-empty); without a handler they are ignored. Either may be
 *   0 or "".
 */
#ifndef ORVANA_PELMIX_H
#define ORVANA_PELMIX_H

#include "winport.h"

#ifdef __cplusplus
#define PELMIX_EXTERN_C extern "C"
#else
#define PELMIX_EXTERN_C
#endif

#ifdef _WIN32
#ifdef PELMIX_BUILDING
#define PELMIX_API PELMIX_EXTERN_C __declspec(dllexport)
#else
#define PELMIX_API PELMIX_EXTERN_C __declspec(dllimport)
#endif
#define PELMIX_CALL __stdcall
#else
#define PELMIX_API PELMIX_EXTERN_C __attribute__((visibility("default")))
#define PELMIX_CALL
#endif

#define PELMIX_MAX_PIXELS (1u << 28)
#define PELMIX_MAX_SIDE 65535

/* The bitmap header that starts every image handle (40 bytes, little-endian). */
#pragma pack(push, 2)
typedef struct PELMIX_BITMAPINFOHEADER {
    uint32_t biSize;         /* 40 */
    int32_t biWidth;         /* pixels, > 0 */
    int32_t biHeight;        /* pixels; > 0 means bottom-up rows */
    uint16_t biPlanes;       /* 1 */
    uint16_t biBitCount;     /* 1, 4, 8, 16, 24 or 32 */
    uint32_t biCompression;  /* PELMIX_BI_RGB (or PELMIX_BI_BITFIELDS for 16/32 bits) */
    uint32_t biSizeImage;    /* row length * height, or 0 */
    int32_t biXPelsPerMeter; /* horizontal resolution; 0 = unknown */
    int32_t biYPelsPerMeter; /* vertical resolution; 0 = unknown */
    uint32_t biClrUsed;      /* colour-table entries, 0 = all that biBitCount allows */
    uint32_t biClrImportant;
} PELMIX_BITMAPINFOHEADER;
#pragma pack(pop)

#define PELMIX_BI_RGB 0u
#define PELMIX_BI_RLE8 1u
#define PELMIX_BI_RLE4 2u
#define PELMIX_BI_BITFIELDS 3u

/* Colour types reported in IMAGE_INFO.COLOR_TYPE. */
#define PELMIX_TWO_COLOUR 0
#define PELMIX_16_COLOURS 1
#define PELMIX_16_GREYS 2
#define PELMIX_256_COLOURS 3
#define PELMIX_256_GREYS 4
#define PELMIX_FULL_COLOUR 5

/*
 * The image description filled by PelmixImageInfo: five 32-bit signed integers.
 *   WIDTH, HEIGHT  size in pixels
 *   COLOR_TYPE     0 two colours (1 bit), 1 16 colours, 2 16 greys (4 bits), 3 256 colours,
 *                  4 256 greys (8 bits), 5 full colour (16, 24 or 32 bits). A palette counts as
 *                  grey when every entry has red = green = blue.
 *   BIT_COUNT      bits per pixel of the handle (1, 4, 8, 16, 24 or 32)
 *   RESOLUTION     horizontal resolution in dots per inch, rounded; 0 when unknown
 */
typedef struct IMAGE_INFO {
    int32_t WIDTH;
    int32_t HEIGHT;
    int32_t COLOR_TYPE;
    int32_t BIT_COUNT;
    int32_t RESOLUTION;
} IMAGE_INFO;

/* Rotation modes of PelmixRotation. */
#define PELMIX_ROTATE_180 0
#define PELMIX_ROTATE_LEFT 1
#define PELMIX_ROTATE_RIGHT 2
#define PELMIX_FLIP_TOP_BOTTOM 3
#define PELMIX_MIRROR_LEFT_RIGHT 4

/* TIFF compressions of PelmixTiffFileSave. */
#define PELMIX_TIFF_NONE 0
#define PELMIX_TIFF_GROUP4 4
#define PELMIX_TIFF_PACKBITS 5

/*
 * Decodes a BMP, JPEG or TIFF file (chosen by its content, not its name). Returns a new handle,
 * 0 if the file cannot be read. BMP keeps 1, 4, 8 and 24 bits (16 and 32 become 24); JPEG loads
 * as 8-bit grey or 24 bits (CMYK converted); TIFF keeps bilevel, 4- and 8-bit grey and palette
 * (2 bits widened to 4), 16-bit grey and grey with alpha become 8-bit grey, everything else
 * libtiff decodes becomes 24 bits; an alpha channel is composed on white. Only the first page of
 * a TIFF is read.
 */
PELMIX_API HGLOBAL PELMIX_CALL PelmixFileLoad(const char* path, const char* caption,
                                              const char* text);

/*
 * Orientation
 *   Cameras store a picture as the sensor read it and record in an Orientation tag (the Exif
 *   APP1 segment of a JPEG, tag 274 of a TIFF) how to turn it upright: 1 as stored, 2 mirrored,
 *   3 half a turn, 4 flipped top to bottom, 5 to 8 the same four with rows and columns
 *   exchanged (6 is turned right, 8 turned left). PelmixFileLoad gives the picture as stored
 *   (a TIFF with orientation 2 to 4 already mirrored or flipped into place, 5 to 8 read as
 *   2 to 4 are), so that an edited picture saved back keeps the stored layout and no turn is
 *   written into the file unasked. The loads meant for showing a picture, PelmixFileLoadUpright
 *   and PelmixFileLoadFit, turn it upright. BMP files have no orientation.
 */

/* As PelmixFileLoad, the picture turned upright as its orientation says. */
PELMIX_API HGLOBAL PELMIX_CALL PelmixFileLoadUpright(const char* path, const char* caption,
                                                     const char* text);

/*
 * As PelmixFileLoadUpright, for a picture wanted at about maxWidth x maxHeight, the upright
 * picture fitted into the box (proportions kept, never enlarged):
 *   - a JPEG is decoded at the smallest DCT scale (1/8 ... 1) whose result still covers that
 *     fitted size in both directions, so the result may be larger than it, never smaller;
 *   - a TIFF is reduced to exactly the fitted size while it is read (each pixel the average of
 *     the stored pixels it covers), so memory follows the fitted size, not the stored one; a
 *     reduced TIFF is 8-bit grey when its pixels are grey (bilevel included), 24 bits otherwise;
 *   - a BMP is decoded whole.
 * When info is not 0 it receives the description of the whole picture in the file (full width
 * and height of the upright picture, and the colour type and bit count PelmixFileLoad gives it).
 * A size of 0 or less means "whole".
 */
PELMIX_API HGLOBAL PELMIX_CALL PelmixFileLoadFit(const char* path, int32_t maxWidth,
                                                 int32_t maxHeight, IMAGE_INFO* info);

/*
 * PelmixFileLoadFit, except that a progressive JPEG is read only until every coefficient of every
 * component has arrived (the rest of the file refines their lowest bits): a first sight of the
 * picture, at the same size, for a viewer that shows it at once and the whole load when it is in.
 * firstSight, when not 0, receives 1 for such a picture, 0 for one that is final (any other file,
 * or a progressive one whose coefficients all arrive with its last scan).
 */
PELMIX_API HGLOBAL PELMIX_CALL PelmixFileLoadFitFirst(const char* path, int32_t maxWidth,
                                                      int32_t maxHeight, IMAGE_INFO* info,
                                                      int32_t* firstSight);

/*
 * What PelmixFileLoadFit would take for the same box, from the file's header alone, for a caller
 * that decodes on several threads and bounds their memory together: an estimate in bytes of the
 * memory the load holds at its peak (what it reads of the file, the image and its temporary
 * copies). loaded, when not 0, receives the size and bit count of the image the load would
 * return. 0 (loaded zero-filled) for a BMP, JPEG or TIFF file whose header cannot be read or that
 * cannot hold a picture of the size it declares (the load refuses it; a file that passes may still
 * be refused by the decoding), -1 for a file that cannot be opened or is in no format the library
 * reads.
 */
PELMIX_API int64_t PELMIX_CALL PelmixFileLoadFitCost(const char* path, int32_t maxWidth,
                                                     int32_t maxHeight, IMAGE_INFO* loaded);

/* Fills the description; returns 1, or 0 (record zero-filled) for a bad handle. */
PELMIX_API int32_t PELMIX_CALL PelmixImageInfo(HGLOBAL image, IMAGE_INFO* info);

/* Releases the handle; returns 1, or 0 if it was not a valid handle. 0 is ignored. */
PELMIX_API int32_t PELMIX_CALL PelmixMemFree(HGLOBAL image);

/* Number of colour-table entries that follow the header (0 for 16, 24 and 32 bits BI_RGB; 3
 * bit masks for BI_BITFIELDS are counted as 3). 0 for a null pointer. */
PELMIX_API int32_t PELMIX_CALL DibNumColors(const void* bitmapInfoHeader);

/* A new, independent copy of the image. */
PELMIX_API HGLOBAL PELMIX_CALL PelmixCopy(HGLOBAL image, const char* caption, const char* text);

/*
 * In place, to 4 (16 colours), 8 (256 colours) or 24 bits (full colour).
 *   dither:  for reductions, 0 no dithering, any other value (-1 = default) dithers.
 *   palette: for reductions, -1 or 0 an optimal palette for the picture (libimagequant),
 *            1 a grey ramp (16 or 256 greys); ignored for 24 bits.
 * Converting to the bit count the image already has keeps it unchanged (and succeeds).
 */
PELMIX_API int32_t PELMIX_CALL PelmixConvertColor(HGLOBAL image, int32_t bits, int32_t dither,
                                                  int32_t palette, const char* caption,
                                                  const char* text);

/* A new 256-colour (8-bit) image from any image, with an optimal palette and dithering. */
PELMIX_API HGLOBAL PELMIX_CALL PelmixBit24To8(HGLOBAL image, const char* caption, const char* text);

/*
 * In place: adds factor x 100 (rounded) to every colour channel, clamped to 0..255, so that
 * 2.55 makes the picture white, -2.55 black and 0 changes nothing. Palette images change their
 * colour table.
 */
PELMIX_API int32_t PELMIX_CALL PelmixBright(HGLOBAL image, const char* caption, const char* text,
                                            double factor);

/* In place: adds red, green and blue (-255 ... 255) to the channels, clamped to 0..255. */
PELMIX_API int32_t PELMIX_CALL PelmixRGB(HGLOBAL image, const char* caption, const char* text,
                                         int32_t red, int32_t green, int32_t blue);

/* A new image: mode 0 180 degrees, 1 90 degrees left, 2 90 degrees right, 3 top-bottom flip,
 * 4 left-right mirror. Any other mode gives 0. */
PELMIX_API HGLOBAL PELMIX_CALL PelmixRotation(HGLOBAL image, const char* caption, const char* text,
                                              int32_t mode);

/* In place: the negative. */
PELMIX_API int32_t PELMIX_CALL PelmixColorReverse(HGLOBAL image, const char* caption,
                                                  const char* text);

/* A new image: the pixels left..right x top..bottom (inclusive, top = first row as seen),
 * clamped to the image. 0 when nothing of the rectangle lies on the image or right < left or
 * bottom < top. */
PELMIX_API HGLOBAL PELMIX_CALL PelmixRectCut(HGLOBAL image, const char* caption, const char* text,
                                             int32_t left, int32_t top, int32_t right,
                                             int32_t bottom);

/*
 * Saves. Each returns non-zero on success and 0 on failure. The file is written under a
 * temporary name in the same folder and renamed over the target only when complete, so a
 * failed save leaves no partial file under the target name (and an existing file untouched).
 *   PelmixBmpFileSave: flags must be 0 (reserved).
 *   PelmixJpegFileSave: quality 0..100 (clamped); grey 1 writes a one-channel JPEG.
 *   PelmixTiffFileSave: compression 0 none, 5 PackBits, 4 CCITT Group 4 (two-colour images
 *     only; any other image gives 0 and writes nothing); any other compression gives 0.
 * The resolution of the image is written into every format.
 */
PELMIX_API int32_t PELMIX_CALL PelmixBmpFileSave(const char* path, HGLOBAL image,
                                                 const char* caption, const char* text,
                                                 int32_t flags);
PELMIX_API int32_t PELMIX_CALL PelmixJpegFileSave(const char* path, HGLOBAL image,
                                                  const char* caption, const char* text,
                                                  int32_t quality, int32_t grey);
PELMIX_API int32_t PELMIX_CALL PelmixTiffFileSave(const char* path, HGLOBAL image,
                                                  const char* caption, const char* text,
                                                  int32_t compression);

/*
 * PDF documents of pictures, one picture to a page at the size its resolution gives (72 dpi
 * when it has none): a JPEG file embedded as it stands, a black-and-white picture as CCITT
 * Group 4, any other losslessly with its palette. PelmixPdfAddFile with upright 1 turns each page
 * as the picture's orientation says. Pictures are read again when the document is saved, which
 * fails (0, leaving path untouched) when one changed, cannot be read or the file cannot be
 * written; the document is written to a temporary file, flushed, read back whole and only then
 * renamed over path.
 */
typedef struct PELMIX_PDF PELMIX_PDF;
PELMIX_API PELMIX_PDF* PELMIX_CALL PelmixPdfCreate(void);
/* 1 added as the next page, 0 not a picture this library reads or too large (PelmixPdfError). */
PELMIX_API int32_t PELMIX_CALL PelmixPdfAddFile(PELMIX_PDF* pdf, const char* path, int32_t upright);
PELMIX_API int32_t PELMIX_CALL PelmixPdfSave(PELMIX_PDF* pdf, const char* path);
PELMIX_API void PELMIX_CALL PelmixPdfFree(PELMIX_PDF* pdf);
/*
 * Called on the saving thread while PelmixPdfSave works, again and again, with the steps done (a
 * page read for its words, a page written) of all it will take; returning 0 stops the save,
 * which then leaves no file.
 */
typedef int32_t (*PelmixPdfProgress)(void* context, int32_t done, int32_t total);
PELMIX_API void PELMIX_CALL PelmixPdfSetProgress(PELMIX_PDF* pdf, PelmixPdfProgress progress,
                                                 void* context);
/*
 * Makes the save read the words on every page first, with Tesseract's data in dataFolder and its
 * languages ("jpn+eng"), on up to threads threads, and lay them over the page as invisible text.
 * A page whose words cannot be read goes in without them.
 */
PELMIX_API void PELMIX_CALL PelmixPdfSetText(PELMIX_PDF* pdf, const char* dataFolder,
                                             const char* languages, int32_t threads);
/* The pages the last save gave words to. */
PELMIX_API int32_t PELMIX_CALL PelmixPdfTextPages(PELMIX_PDF* pdf);
/*
 * Why the last PelmixPdfAddFile or PelmixPdfSave failed (PELMIX_PDF_OK after a success). The
 * system's error number behind PELMIX_PDF_NO_SPACE and PELMIX_PDF_NOT_WRITTEN goes to
 * systemError, the size a PELMIX_PDF_TOO_LARGE picture declares to width and height; each may be 0.
 */
#define PELMIX_PDF_OK 0
#define PELMIX_PDF_NOT_A_PICTURE 1
#define PELMIX_PDF_TOO_LARGE 2
#define PELMIX_PDF_PICTURE_CHANGED 3
#define PELMIX_PDF_NO_SPACE 4
#define PELMIX_PDF_NOT_WRITTEN 5
#define PELMIX_PDF_STOPPED 6
PELMIX_API int32_t PELMIX_CALL PelmixPdfError(PELMIX_PDF* pdf, int32_t* systemError, int32_t* width,
                                              int32_t* height);
/*
 * The pages of the whole PDF file at path: it ends in its end marker and every object and stream
 * is where the file says, with nothing to repair; -1 otherwise (a file that is not regular too).
 */
PELMIX_API int32_t PELMIX_CALL PelmixPdfFilePages(const char* path);

/*
 * Cleaning a scanned page. The steps chosen run in this order, each on what the one before
 * left: the dark frame around the paper cut away; the skew (up to 15 degrees either way) turned
 * straight when it is more than a tenth of a degree, the corners filled white and the size and
 * resolution kept; the page turned upright when Tesseract's orientation data in TEXT_DATA
 * ("osd.traineddata") is sure which way its text stands; and, last, whether the page is blank
 * (paper, noise, dust, punch holes and show-through only) at BLANK_SENSITIVITY, 1 to 100: the
 * higher, the fainter a mark that counts.
 * Returns the cleaned page, a new image of 1, 8 or 24 bits, or 0 when no step changed it; what
 * was found goes to result (which may be 0).
 */
typedef struct PELMIX_CLEANING {
    int32_t CUT_BORDERS;
    int32_t STRAIGHTEN;
    int32_t TURN_UPRIGHT;
    int32_t FIND_BLANK;
    int32_t BLANK_SENSITIVITY;
    const char* TEXT_DATA;
} PELMIX_CLEANING;
typedef struct PELMIX_CLEANED {
    int32_t BLANK;       /* 1 when FIND_BLANK found nothing on the page */
    double SKEW_DEGREES; /* the skew straightened, positive when the lines fell to the right */
    int32_t TURN;        /* degrees clockwise the page was turned upright */
} PELMIX_CLEANED;
PELMIX_API HGLOBAL PELMIX_CALL PelmixCleanPage(HGLOBAL image, const PELMIX_CLEANING* steps,
                                               PELMIX_CLEANED* result);

/*
 * Progress display. The handler is called at the start (percent 0) and end (percent 100) of
 * work that was given a caption or text, and may be called in between. Process-wide; 0 removes it.
 */
typedef void (*PelmixProgressHandler)(void* context, const char* caption, const char* text,
                                      int32_t percent);
PELMIX_API void PELMIX_CALL PelmixSetProgressHandler(PelmixProgressHandler handler, void* context);

#endif /* ORVANA_PELMIX_H */
