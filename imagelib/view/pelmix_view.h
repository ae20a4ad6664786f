/*
 * pelmix view: the image library's functions that need a device: display, print, clipboard and
 * the display's colour count. Built on Qt (Gui and PrintSupport).
 *
 * Device context (HDC)
 *   An HDC is an object of this library that says where drawing goes. It wraps either
 *     - a QPainter the host has already begun on any paint device (a widget, QImage, QPixmap):
 *       a "screen" context. Drawing happens at the painter's current origin, in its
 *       coordinates; the painter's own settings are left as they were. Or
 *     - a QPrinter: a "printer" context. Every print job on it (a PelmixPrintStart ...
 *       PelmixPrintEnd pair) becomes one page of ONE document, which stays open until the
 *       context is deleted; deleting it finishes the document (so printing a catalogue to a PDF
 *       file gives one file). Between PelmixPrintStart and PelmixPrintEnd the printer context
 *       can also be drawn on with PelmixDisplayHdc, in printer pixels.
 *   Contexts are created and deleted from C++ with the functions at the end of this header; the
 *   painter or printer stays the caller's and must outlive the context. Every call checks that
 *   its context is a live one made here, so a null or deleted context is refused (0), never used.
 *   Contexts belong to the thread that paints (the user-interface thread).
 */
#ifndef ORVANA_PELMIX_VIEW_H
#define ORVANA_PELMIX_VIEW_H

#include "pelmix.h"

typedef struct PelmixDeviceContext* HDC;

/*
 * Draws the whole image stretched to width x height pixels at the context's origin, with smooth
 * scaling. mode is reserved (pass 1). Returns 1, or 0 for a bad context (or a printer context
 * with no page open, or a painter that is not active), a bad handle, or width or height <= 0.
 */
PELMIX_API int32_t PELMIX_CALL PelmixDisplayHdc(HDC dc, HGLOBAL image, int32_t width,
                                                int32_t height, int32_t mode);

/*
 * Begins a print job: a new page of the printer context's document. The first job begins the
 * document, named documentName when that is not empty (later jobs leave the name alone).
 * Returns the job value, which is the page's number (1, 2, ...), or 0 when the printer cannot
 * begin or add a page, for a screen context, or while a page is still open.
 */
PELMIX_API int32_t PELMIX_CALL PelmixPrintStart(HDC printerDc, const char* documentName);

/*
 * Prints the whole image stretched into rect, in tenths of a millimetre from the origin of the
 * printer's printable area (left, top, right, bottom), with smooth scaling. job is the value the
 * open page's PelmixPrintStart returned; flags is reserved (pass 0). Returns 1, or 0 when job is
 * not the open page, for a bad context or image, a null rect or an empty rectangle.
 */
PELMIX_API int32_t PELMIX_CALL PelmixPrint(int32_t job, HDC printerDc, HGLOBAL image,
                                           const RECT* rect, int32_t flags);

/* Ends the open page. Returns 1, or 0 when no page was open. */
PELMIX_API int32_t PELMIX_CALL PelmixPrintEnd(HDC printerDc);

/*
 * Puts a copy of the picture on the clipboard; the caller keeps (and releases) its handle.
 * window is not used. Returns 1, or 0 for a bad image or when the program has no
 * QGuiApplication.
 */
PELMIX_API int32_t PELMIX_CALL PelmixSetToClipBrd(HWND window, HGLOBAL image);

/*
 * The number of colours the display shows: 2^depth of the primary screen for depths up to 24
 * bits, 16777216 for deeper screens or when there is no screen (or no QGuiApplication).
 * 256 means a palette display.
 */
PELMIX_API int32_t PELMIX_CALL PelmixSystemPalette(void);

#ifdef __cplusplus
#include "dib_qimage.h"

class QPainter;
class QPrinter;

/* A screen context drawing with the caller's painter (which stays the caller's). 0 for null. */
PELMIX_VIEW_CXX HDC PelmixCreatePainterDC(QPainter* painter);

/* A printer context on the caller's printer (which stays the caller's). 0 for null. */
PELMIX_VIEW_CXX HDC PelmixCreatePrinterDC(QPrinter* printer);

/* The painter that draws on the context now: on a printer, while a page is open (in printer
 * pixels from the printable area's corner), for text and lines beside the pictures; null
 * otherwise or for a context that is not live. */
PELMIX_VIEW_CXX QPainter* PelmixDrawingPainter(HDC dc);

/* Deletes a context; a printer context finishes its document here. 1 when done, 0 when the
 * printer could not finish the document; null and already deleted contexts are ignored (0). */
PELMIX_VIEW_CXX int32_t PelmixDeleteDC(HDC dc);
#endif

#endif /* ORVANA_PELMIX_VIEW_H */
