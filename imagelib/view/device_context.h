// What an HDC of this library points at: where drawing goes, a host's painter or a printer.
#pragma once

#include "dib_qimage.h"

#include <QRectF>
#include <memory>

class QImage;
class QPainter;
class QPrinter;

struct PelmixDeviceContext {
public:
    // The host's painter and printer stay the host's; neither may be null.
    static PelmixDeviceContext* forPainter(QPainter* painter);
    static PelmixDeviceContext* forPrinter(QPrinter* printer);
    // Ends a printer's document and releases the context. Refuses (false) anything not live, and
    // answers false too when the printer could not finish the document.
    static bool destroy(PelmixDeviceContext* context);

    // Whether the pointer is a context made here and not yet destroyed. Never dereferences a
    // pointer it does not know, so null, deleted and foreign pointers are simply refused.
    static bool isLive(const PelmixDeviceContext* context);

    PelmixDeviceContext(const PelmixDeviceContext&) = delete;
    PelmixDeviceContext& operator=(const PelmixDeviceContext&) = delete;

    bool isPrinter() const { return printer_ != nullptr; }

    // The painter to draw with now: the host's while it is active, the printer's while a page
    // is open; null otherwise.
    QPainter* drawingPainter() const;

    // Opens the next page and returns its number (1, 2, ...), or 0 (not a printer, a page is
    // already open, the printer cannot start or cannot add a page).
    int32_t beginPage(const char* documentName);
    // Closes the open page; false if none was open.
    bool endPage();
    // The number of the open page, 0 when none is.
    int32_t openPage() const { return pageOpen_ ? pages_ : 0; }

    // A rectangle in tenths of a millimetre converted to device pixels at the given resolutions
    // (dots per inch). Empty when right <= left or bottom <= top. Exported for the tests.
    PELMIX_VIEW_CXX static QRectF tenthsToPixels(const RECT& rect, double dpiX, double dpiY);
    // The printer's resolution in dots per inch (0 for a screen context).
    double printerResolution() const;

    // Draws the whole picture stretched into target with smooth scaling, leaving the painter's
    // own settings as they were.
    static void drawStretched(QPainter& painter, const QImage& picture, const QRectF& target);

private:
    PelmixDeviceContext(QPainter* hostPainter, QPrinter* printer);
    ~PelmixDeviceContext();
    // Finishing the painter is what writes out the printer's document; false when it failed.
    bool finishDocument();

    uint32_t magic_;
    QPainter* hostPainter_;
    QPrinter* printer_;
    std::unique_ptr<QPainter> printPainter_; // active from the first page to destruction
    int32_t pages_ = 0;
    bool pageOpen_ = false;
};
