#include "help_window.h"

#include <QFileInfo>
#include <QScrollBar>
#include <QUrl>

HelpWindow::HelpWindow(QWidget* parent) : QTextBrowser(parent) {
    setWindowFlags(Qt::Window);
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(tr("Orvana ヘルプ"));
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

QString HelpWindow::pathIn(const QString& programDir) {
    //: The help file of the program folder in this language.
    const QString translated = programDir + tr("ORVAHELP.html");
    return QFileInfo::exists(translated) ? translated : programDir + QLatin1String(fileName);
}

void HelpWindow::quit() {
    close();
}
