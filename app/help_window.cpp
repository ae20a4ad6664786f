#include "help_window.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QUrl>

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlags(Qt::Window);
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Orvana ヘルプ"));
    setOpenExternalLinks(true);
    resize(640, 560);
}

bool HelpWindow::showContents(const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile() || !info.isReadable()) {
        return false;
    }
    const QUrl url = QUrl::fromLocalFile(info.absoluteFilePath());
    if (source() == url) {
        reload();
    } else {
        setSource(url);
    }
    verticalScrollBar()->setValue(0);
    show();
    raise();
    activateWindow();
    return true;
}

void HelpWindow::quit() {
    close();
}
