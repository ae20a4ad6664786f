#include "gr_win.h"

#include "startup_placement.h"

#include <QFrame>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QVBoxLayout>

namespace {

// A scanner lid over a glass plate with a page coming out of it.
QPixmap scannerPicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    p.setPen(QPen(QColor(40, 60, 90), s / 32));
    p.setBrush(QColor(250, 250, 245));
    p.drawRect(QRectF(s * 0.28, s * 0.08, s * 0.44, s * 0.5));
    QLinearGradient body(0, s * 0.45, 0, s * 0.9);
    body.setColorAt(0, QColor(120, 150, 200));
    body.setColorAt(1, QColor(50, 80, 140));
    p.setBrush(body);
    p.drawRoundedRect(QRectF(s * 0.08, s * 0.45, s * 0.84, s * 0.42), s / 16, s / 16);
    p.setBrush(QColor(160, 230, 255));
    p.drawRect(QRectF(s * 0.16, s * 0.55, s * 0.68, s * 0.08));
    return pixmap;
}

// A stack of three framed pictures: the catalogue.
QPixmap cataloguePicture(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const qreal s = size;
    const QColor colours[] = {QColor(230, 170, 60), QColor(90, 170, 110), QColor(80, 130, 210)};
    for (int i = 0; i < 3; ++i) {
        const QRectF frame(s * (0.1 + 0.12 * i), s * (0.1 + 0.12 * i), s * 0.55, s * 0.55);
        p.setPen(QPen(QColor(60, 60, 60), s / 40));
        p.setBrush(Qt::white);
        p.drawRect(frame);
        const QRectF inner = frame.adjusted(s * 0.05, s * 0.05, -s * 0.05, -s * 0.05);
        p.setPen(Qt::NoPen);
        p.setBrush(colours[i]);
        QPainterPath hills;
        hills.moveTo(inner.bottomLeft());
        hills.lineTo(inner.left() + inner.width() * 0.4, inner.top() + inner.height() * 0.35);
        hills.lineTo(inner.left() + inner.width() * 0.65, inner.top() + inner.height() * 0.6);
        hills.lineTo(inner.right(), inner.top() + inner.height() * 0.3);
        hills.lineTo(inner.bottomRight());
        hills.closeSubpath();
        p.drawPath(hills);
    }
    return pixmap;
}

int logicalDpi(const QWidget* widget) {
    const QScreen* screen = widget->screen();
    return screen != nullptr ? static_cast<int>(screen->logicalDotsPerInchY()) : 96;
}

} // namespace

GR_WIN::GR_WIN(const QString& title, const QString& version, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      Image1(new QLabel(this)), Image2(new QLabel(this)), Label1(new QLabel(title, this)),
      Label2(new QLabel(version, this)), Label3(new QLabel(tr("起動しています…"), this)),
      Frame1(new QFrame(this)) {
    setObjectName(QStringLiteral("GR_WIN"));
    Image1->setObjectName(QStringLiteral("Image1"));
    Image2->setObjectName(QStringLiteral("Image2"));
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Frame1->setObjectName(QStringLiteral("Frame1"));
    setWindowTitle(title);
    setAttribute(Qt::WA_ShowWithoutActivating);

    const int dpi = logicalDpi(this);
    const int picture = twipsToPixels(960, dpi);
    Image1->setPixmap(scannerPicture(picture));
    Image2->setPixmap(cataloguePicture(picture));
    QFont big = Label1->font();
    big.setPointSize(big.pointSize() * 2);
    big.setBold(true);
    Label1->setFont(big);
    Label1->setAlignment(Qt::AlignCenter);
    Label2->setAlignment(Qt::AlignCenter);
    Label3->setAlignment(Qt::AlignCenter);

    Frame1->setFrameShape(QFrame::Box);
    auto* pictures = new QHBoxLayout;
    pictures->addWidget(Image1, 0, Qt::AlignCenter);
    pictures->addWidget(Label1, 1);
    pictures->addWidget(Image2, 0, Qt::AlignCenter);
    auto* inside = new QVBoxLayout(Frame1);
    inside->addLayout(pictures);
    inside->addWidget(Label2);
    inside->addWidget(Label3);
    auto* outside = new QVBoxLayout(this);
    outside->setContentsMargins(4, 4, 4, 4);
    outside->addWidget(Frame1);

    setFixedSize(twipsToPixels(kDesignWidthTwips, dpi), twipsToPixels(kDesignHeightTwips, dpi));
}

void GR_WIN::setHeightTwips(int twips) {
    setFixedHeight(twipsToPixels(twips, logicalDpi(this)));
    centreOnScreen();
}

void GR_WIN::centreOnScreen() {
    const QScreen* screen = this->screen();
    if (screen == nullptr) {
        return;
    }
    const QRect area = screen->geometry();
    move(area.left() + (area.width() - width()) / 2, area.top() + (area.height() - height()) / 2);
}

void GR_WIN::showEvent(QShowEvent* event) {
    centreOnScreen();
    raise();
    QWidget::showEvent(event);
}
