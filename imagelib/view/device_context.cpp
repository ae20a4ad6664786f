#include "device_context.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <mutex>
#include <unordered_set>

namespace {

constexpr uint32_t kLiveMagic = 0x50444331;  // "PDC1"
constexpr uint32_t kDeadMagic = 0xDEADDC00u; // left behind in a destroyed context

// Every live context. Checking membership before touching a pointer keeps a stale HDC from
// reading freed memory; the magic number then guards against the rest.
std::mutex& registryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::unordered_set<const PelmixDeviceContext*>& registry() {
    static std::unordered_set<const PelmixDeviceContext*> live;
    return live;
}

} // namespace

PelmixDeviceContext::PelmixDeviceContext(QPainter* hostPainter, QPrinter* printer)
    : magic_(kLiveMagic), hostPainter_(hostPainter), printer_(printer) {}

PelmixDeviceContext::~PelmixDeviceContext() {
    finishDocument();
    magic_ = kDeadMagic;
    hostPainter_ = nullptr;
    printer_ = nullptr;
}

bool PelmixDeviceContext::finishDocument() {
    if (!printPainter_ || !printPainter_->isActive()) {
        return true;
    }
    return printPainter_->end();
}

PelmixDeviceContext* PelmixDeviceContext::forPainter(QPainter* painter) {
    if (painter == nullptr) {
        return nullptr;
    }
    auto* context = new PelmixDeviceContext(painter, nullptr);
    std::lock_guard lock(registryMutex());
    registry().insert(context);
    return context;
}

PelmixDeviceContext* PelmixDeviceContext::forPrinter(QPrinter* printer) {
    if (printer == nullptr) {
        return nullptr;
    }
    auto* context = new PelmixDeviceContext(nullptr, printer);
    std::lock_guard lock(registryMutex());
    registry().insert(context);
    return context;
}

bool PelmixDeviceContext::destroy(PelmixDeviceContext* context) {
    {
        std::lock_guard lock(registryMutex());
        if (context == nullptr || registry().erase(context) == 0) {
            return false;
        }
    }
    const bool finished = context->finishDocument();
    delete context;
    return finished;
}

bool PelmixDeviceContext::isLive(const PelmixDeviceContext* context) {
    std::lock_guard lock(registryMutex());
    return context != nullptr && registry().count(context) != 0 && context->magic_ == kLiveMagic;
}

QPainter* PelmixDeviceContext::drawingPainter() const {
    if (printer_ != nullptr) {
        return pageOpen_ ? printPainter_.get() : nullptr;
    }
    return hostPainter_ != nullptr && hostPainter_->isActive() ? hostPainter_ : nullptr;
}

int32_t PelmixDeviceContext::beginPage(const char* documentName) {
    if (printer_ == nullptr || pageOpen_) {
        return 0;
    }
    if (!printPainter_) {
        if (documentName != nullptr && documentName[0] != '\0') {
            printer_->setDocName(QString::fromUtf8(documentName));
        }
        auto painter = std::make_unique<QPainter>();
        if (!painter->begin(printer_)) {
            return 0;
        }
        printPainter_ = std::move(painter);
    } else if (!printer_->newPage()) {
        return 0;
    }
    ++pages_;
    pageOpen_ = true;
    return pages_;
}

bool PelmixDeviceContext::endPage() {
    if (!pageOpen_) {
        return false;
    }
    pageOpen_ = false;
    return true;
}

QRectF PelmixDeviceContext::tenthsToPixels(const RECT& rect, double dpiX, double dpiY) {
    if (rect.right <= rect.left || rect.bottom <= rect.top) {
        return {};
    }
    // 254 tenths of a millimetre to the inch.
    const double left = rect.left * dpiX / 254.0;
    const double top = rect.top * dpiY / 254.0;
    const double right = rect.right * dpiX / 254.0;
    const double bottom = rect.bottom * dpiY / 254.0;
    return QRectF(QPointF(left, top), QPointF(right, bottom));
}

double PelmixDeviceContext::printerResolution() const {
    return printer_ != nullptr ? printer_->resolution() : 0.0;
}

void PelmixDeviceContext::drawStretched(QPainter& painter, const QImage& picture,
                                        const QRectF& target) {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
    painter.drawImage(target, picture, QRectF(picture.rect()));
    painter.restore();
}
