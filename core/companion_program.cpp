#include "companion_program.h"

#include "file_system.h"
#include "program.h"

#include <QCoreApplication>
#include <QFileInfo>

QString SHORT_PATH(const QString& path) {
    if (path.isEmpty() || !file_system::exists(path)) {
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
        m.text = QCoreApplication::translate("companion_program", "Snapletが見つかりません。");
        program.prompter.message(nullptr, m);
        return;
    }
    // Errors are ignored: a program that does not start leaves the run as it is.
    program.launcher.start(companion, snapletArguments(folder));
}

void RUN_EDITOR(Program& program, int editor, const QString& folder, const QString& name,
                QWidget* owner) {
    const USR_SETTINGS& settings = program.settings;
    const QString& path = editor == 1 ? settings.LEXE : settings.LEX2;
    const bool shortFolder = (editor == 1 ? settings.USP1 : settings.USP2) == 1;
    Prompter::Message m;
    m.caption = program.APP_TITLE;
    if (path.isEmpty()) {
        m.text = QCoreApplication::translate("companion_program",
                                             "SetUpで編集に使用するソフトを設定してください。");
        program.prompter.message(owner, m);
        return;
    }
    QStringList arguments;
    if (!name.isEmpty()) {
        arguments << (shortFolder ? SHORT_PATH(folder) : folder) + name;
    }
    if (!program.launcher.start(path, arguments)) {
        m.text = QCoreApplication::translate("companion_program", "%1\nを起動できませんでした。")
                     .arg(path);
        m.icon = Prompter::Icon::Exclamation;
        program.prompter.message(owner, m);
    }
}
