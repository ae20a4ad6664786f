// ORVA32: the start-up procedure, then the main window's event loop until it is closed.
#include "acquisition_library.h"
#include "browsing.h"
#include "launcher.h"
#include "orva_win.h"
#include "program.h"
#include "program_language.h"
#include "program_options.h"
#include "progress_window.h"
#include "qt_prompter.h"
#include "shared_thumbnails.h"
#include "startup.h"
#include "startup_folders.h"

#include <QApplication>
#include <QDate>
#include <QLocale>
#include <cstdio>

int main(int argc, char* argv[]) {
    // Answered before a window system is needed.
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    const ProgramOptions options = parseProgramOptions(arguments);
    if (!options.run) {
        std::fputs(options.output.toLocal8Bit().constData(), stdout);
        std::fputs(options.error.toLocal8Bit().constData(), stderr);
        return options.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvana"));
    ProgramLanguage language;
    language.install(ProgramLanguage::forDesktop(QLocale::system().uiLanguages()));

    ProcessLauncher launcher;
    QtPrompter prompter;
    Browsing browsing;
    Program program(prompter, launcher, browsing.state());
    program.sharedThumbnails = SharedThumbnails::userCache();

    const QString programDir = withTrailingSlash(QCoreApplication::applicationDirPath());
    AcquisitionLibrary library(programDir, prompter);
    program.acquisitionLibrary = &library;
    Startup startup(program, library);
    if (!startup.begin(programDir, QDate::currentDate())) {
        return 1;
    }

    ORVA_WIN window(program);
    ProgressWindow progress(&window);
    progress.install();
    startup.load(window, options.folder);
    return QApplication::exec();
}
