// A print and paint engine that draws nothing and writes down what reaches it, so that tests can
// see where a printer context puts pictures, in printer pixels, page by page.
#pragma once

#include <QImage>
#include <QPageLayout>
#include <QPaintEngine>
#include <QPrintEngine>
#include <QTransform>
#include <vector>

struct RecordedDraw {
    QRectF rect; // in device pixels
    QSize imageSize;
    int page = 0; // 0 for the first page
    bool smooth = false;
};

class RecordingEngine : public QPaintEngine, public QPrintEngine {
public:
    explicit RecordingEngine(int dpi) : QPaintEngine(QPaintEngine::AllFeatures), dpi_(dpi) {}

    std::vector<RecordedDraw> draws;
    QString documentName;
    int newPages = 0;
    int begins = 0;
    int ends = 0;

    bool begin(QPaintDevice*) override {
        ++begins;
        state_ = QPrinter::Active;
        return true;
    }
    bool end() override {
        ++ends;
        state_ = QPrinter::Idle;
        return true;
    }
    void updateState(const QPaintEngineState& state) override {
        if (state.state() & QPaintEngine::DirtyTransform) {
            transform_ = state.transform();
        }
        if (state.state() & QPaintEngine::DirtyHints) {
            smooth_ = state.renderHints().testFlag(QPainter::SmoothPixmapTransform);
        }
    }
    void drawImage(const QRectF& r, const QImage& image, const QRectF&,
                   Qt::ImageConversionFlags) override {
        draws.push_back({transform_.mapRect(r), image.size(), newPages, smooth_});
    }
    void drawPixmap(const QRectF& r, const QPixmap& pixmap, const QRectF&) override {
        draws.push_back({transform_.mapRect(r), pixmap.size(), newPages, smooth_});
    }
    Type type() const override { return QPaintEngine::User; }

    void setProperty(PrintEnginePropertyKey key, const QVariant& value) override {
        if (key == PPK_DocumentName) {
            documentName = value.toString();
        }
    }
    QVariant property(PrintEnginePropertyKey key) const override {
        switch (key) {
        case PPK_Resolution:
            return dpi_;
        case PPK_DocumentName:
            return documentName;
        case PPK_QPageLayout:
            return QVariant::fromValue(
                QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        default:
            return {};
        }
    }
    bool newPage() override {
        ++newPages;
        return true;
    }
    bool abort() override { return false; }
    int metric(QPaintDevice::PaintDeviceMetric metric) const override {
        switch (metric) {
        case QPaintDevice::PdmWidth:
            return 210 * dpi_ * 10 / 254;
        case QPaintDevice::PdmHeight:
            return 297 * dpi_ * 10 / 254;
        case QPaintDevice::PdmWidthMM:
            return 210;
        case QPaintDevice::PdmHeightMM:
            return 297;
        case QPaintDevice::PdmNumColors:
            return INT_MAX;
        case QPaintDevice::PdmDepth:
            return 32;
        case QPaintDevice::PdmDevicePixelRatio:
            return 1;
        case QPaintDevice::PdmDevicePixelRatioScaled:
            return static_cast<int>(QPaintDevice::devicePixelRatioFScale());
        default:
            return dpi_; // the four resolutions
        }
    }
    QPrinter::PrinterState printerState() const override { return state_; }

private:
    int dpi_;
    QPrinter::PrinterState state_ = QPrinter::Idle;
    QTransform transform_;
    bool smooth_ = false;
};
