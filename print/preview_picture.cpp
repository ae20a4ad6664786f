#include "preview_picture.h"

#include "pelmix.h"
#include "pelmix_view.h"

#include <QPainter>

HGLOBAL reducedForPreview(HGLOBAL image, QSize frame) {
    if (image == nullptr) {
        return nullptr;
    }
    const QImage full = PelmixToQImage(image);
    const QSize limit = frame * 2;
    if (full.isNull() || (full.width() <= limit.width() && full.height() <= limit.height())) {
        return PelmixCopy(image, "", "");
    }
    return PelmixFromQImage(full.scaled(limit, Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

QPixmap previewPixmap(HGLOBAL image, QSize size) {
    QPixmap pixmap(size.expandedTo(QSize(1, 1)));
    pixmap.fill(Qt::white);
    if (image == nullptr) {
        return pixmap;
    }
    HGLOBAL drawn = image;
    HGLOBAL copy = nullptr;
    if (PelmixSystemPalette() == 256) {
        // A palette display: grey and 256-colour pictures by way of full colour, then 8 bits.
        IMAGE_INFO info{};
        PelmixImageInfo(image, &info);
        HGLOBAL full = PelmixCopy(image, "", "");
        if (full != nullptr && (info.COLOR_TYPE == 3 || info.COLOR_TYPE == 4)) {
            PelmixConvertColor(full, 24, 0, 0, "", "");
        }
        copy = full != nullptr ? PelmixBit24To8(full, "", "") : nullptr;
        PelmixMemFree(full);
        if (copy != nullptr) {
            drawn = copy;
        }
    }
    QPainter painter(&pixmap);
    HDC dc = PelmixCreatePainterDC(&painter);
    PelmixDisplayHdc(dc, drawn, pixmap.width(), pixmap.height(), 1);
    PelmixDeleteDC(dc);
    painter.end();
    PelmixMemFree(copy);
    return pixmap;
}
