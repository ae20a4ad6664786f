#include "desktop.h"

#include <QStandardPaths>

QString GET_DESKTOP_DIR() {
    const QStringList locations =
        QStandardPaths::standardLocations(QStandardPaths::DesktopLocation);
    if (locations.isEmpty()) {
        return {};
    }
    QString folder = locations.first();
    while (folder.endsWith(QLatin1Char('/'))) {
        folder.chop(1);
    }
    return folder;
}
