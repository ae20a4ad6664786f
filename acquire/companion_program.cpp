#include "companion_program.h"

#include "program.h"

#include <QFileInfo>

QString SHORT_PATH(const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        return QString();
    }
    return path;
}

QStringList snapletArguments(const QString& folder) {
    // The switches are the companion program's own syntax, backslashes included.
    QStringList arguments = {QStringLiteral("HW\\:1"), QStringLiteral("CE\\:2"),
                             QStringLiteral("MD\\:1")};
    const QString shortPath = SHORT_PATH(folder);
    if (!shortPath.isEmpty()) {
        arguments << shortPath;
    }
    return arguments;
}

void RUN_SNAPLET(Program& program, const QString& folder) {
    const QString companion = program.settings.UTNP;
    if (companion.isEmpty() || !QFileInfo(companion).isFile()) {
        Prompter::Message m;
        m.caption = program.APP_TITLE;
        m.text = QStringLiteral("Snapletが見つかりません。");
        program.prompter.message(nullptr, m);
        return;
    }
    // Errors are ignored: a program that does not start leaves the run as it is.
    program.launcher.start(companion, snapletArguments(folder));
}
