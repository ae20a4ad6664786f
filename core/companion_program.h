// Starting the companion thumbnail program on a folder and the two editors on a picture, and the
// short form of a path they are given.
#pragma once

#include <QString>
#include <QStringList>

class Program;
class QWidget;

// The system's short form of an existing path. This file system has no separate short names,
// so it is the path itself when it exists and "" when it does not.
QString SHORT_PATH(const QString& path);

// The arguments the companion program is started with for folder: three switches, then the
// folder's short path (left out when the folder does not exist, as the trailing blank of a
// command line gives no argument).
QStringList snapletArguments(const QString& folder);

// Starts the companion program UTNP on folder without waiting. When UTNP names no existing
// file the user is told (OK, no icon, caption APP_TITLE) and nothing is started.
void RUN_SNAPLET(Program& program, const QString& folder);

// Starts editor 1 (LEXE, short folder when USP1 is 1) or editor 2 (LEX2, USP2) without waiting:
// with the path folder + name as its one argument, or alone when name is "". An empty editor
// setting, and a program that cannot be started, are told to the user.
void RUN_EDITOR(Program& program, int editor, const QString& folder, const QString& name,
                QWidget* owner);
