// The picture of an editor's tray target: the icon of the program's desktop entry (the entry
// whose command starts the same program), else the icon the system shows for the program file.
#pragma once

#include <QColor>
#include <QPixmap>
#include <QString>
#include <QStringList>

// The icon of program drawn at 32 x 32 on background; a null pixmap when there is none.
// applicationFolders are searched for desktop entries (the system's application folders when
// empty).
QPixmap editorIcon(const QString& program, const QColor& background,
                   const QStringList& applicationFolders = {});

// The Icon entry of the first desktop entry in folders whose Exec runs program; "" when none.
QString desktopEntryIcon(const QString& program, const QStringList& folders);
