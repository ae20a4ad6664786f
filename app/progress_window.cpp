#include "progress_window.h"

#include "pelmix.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QVBoxLayout>

namespace {

// A window that flashed up for every page of a run would flicker; it stays while calls follow
// each other.
constexpr int kLingerMs = 400;

} // namespace

ProgressWindow::ProgressWindow(QWidget* owner)
    : QWidget(owner, Qt::Tool | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {
    setObjectName(QStringLiteral("PROGRESS_WIN"));
    setWindowModality(Qt::NonModal);
    auto* layout = new QVBoxLayout(this);
    textLabel = new QLabel(this);
    textLabel->setObjectName(QStringLiteral("progressText"));
    textLabel->setMinimumWidth(280);
    bar = new QProgressBar(this);
    bar->setObjectName(QStringLiteral("progressBar"));
    bar->setRange(0, 100);
    layout->addWidget(textLabel);
    layout->addWidget(bar);
    hideTimer_.setSingleShot(true);
    hideTimer_.setInterval(kLingerMs);
    connect(&hideTimer_, &QTimer::timeout, this, &QWidget::hide);
}

ProgressWindow::~ProgressWindow() {
    if (installed_) {
        PelmixSetProgressHandler(nullptr, nullptr);
    }
}

void ProgressWindow::install() {
    PelmixSetProgressHandler(&ProgressWindow::handler, this);
    installed_ = true;
}

void ProgressWindow::handler(void* context, const char* caption, const char* text,
                             int32_t percent) {
    auto* window = static_cast<ProgressWindow*>(context);
    if (window == nullptr || QThread::currentThread() != window->thread()) {
        return;
    }
    window->report(QString::fromLocal8Bit(caption), QString::fromLocal8Bit(text), percent);
}

void ProgressWindow::report(const QString& caption, const QString& text, int percent) {
    setWindowTitle(caption);
    textLabel->setText(text);
    bar->setValue(percent);
    if (percent >= 100) {
        hideTimer_.start();
        repaint();
        return;
    }
    hideTimer_.stop();
    if (!isVisible()) {
        if (QWidget* owner = parentWidget()) {
            const QRect area = owner->window()->frameGeometry();
            adjustSize();
            move(area.center() - rect().center());
        }
        show();
        raise();
        // The call runs on this thread: let the window appear before the work starts. Input
        // waits, so that nothing the user clicks runs in the middle of the call.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    repaint();
}
