// The program's options before anything else starts: --help and --version answer on the terminal
// and end the program, an unknown option ends it with a one-line error, and what remains is the
// folder to show, as one text (a path with blanks may come as several arguments).
#pragma once

#include <QString>
#include <QStringList>

struct ProgramOptions {
    bool run = true; // false: the program ends at once with exitCode
    int exitCode = 0;
    QString output; // for standard output
    QString error;  // for standard error
    QString folder; // the command line text for the start-up (see commandLineText)
};

// arguments: the whole command line, the program's name first.
ProgramOptions parseProgramOptions(const QStringList& arguments);
