// ORVA32: the start-up procedure, then the main window's event loop until it is closed.
#include "acquisition_library.h"
#include "browsing.h"
#include "command_line.h"
#include "launcher.h"
#include "orva_win.h"
#include "program.h"
#include "progress_window.h"
#include "qt_prompter.h"
#include "qt_translations.h"
#include "shared_thumbnails.h"
#include "startup.h"
#include "startup_folders.h"

#include <QApplication>
#include <QDate>
#include <QTranslator>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvana"));
    QTranslator qtTexts;
    installQtTranslations(qtTexts);

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
    startup.load(window, commandLineText(QCoreApplication::arguments()));
    return QApplication::exec();
}
