// The program's progress window for long image-library calls: the call's caption as the window
// title, its text (the file being converted, say) and a bar. The library reports the start and
// the end of every call that names its work; the window appears at the start, repaints at every
// report so that a long run of conversions never looks frozen, and goes away shortly after the
// last call ended. Reports from other threads are ignored: only the user-interface thread draws.
#pragma once

#include <QTimer>
#include <QWidget>

class QLabel;
class QProgressBar;

class ProgressWindow : public QWidget {
public:
    explicit ProgressWindow(QWidget* owner = nullptr);
    ~ProgressWindow() override;

    // Makes this window the image library's progress display (one per program).
    void install();

    // One report of the library: percent 0 starts a call, 100 ends it.
    void report(const QString& caption, const QString& text, int percent);

    QLabel* textLabel = nullptr;
    QProgressBar* bar = nullptr;

private:
    static void handler(void* context, const char* caption, const char* text, int32_t percent);

    QTimer hideTimer_;
    bool installed_ = false;
};
