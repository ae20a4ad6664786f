// The main window the browsing benchmarks drive, with the tests' scripted prompter answering every
// box with its default button.
#pragma once

#include "browsing_state.h"
#include "catalogue_view.h"
#include "decode_ahead.h"
#include "display_refresh.h"
#include "orva_win.h"
#include "picture_loader.h"
#include "program.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <memory>

using Clock = std::chrono::steady_clock;

inline double msSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The main window on a folder (ending in "/"), twelve cells a page; cache: the shared thumbnails'
// folder ("" for none).
struct Browser {
    ScriptedPrompter prompter; // answers every box with its default button
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    std::unique_ptr<ORVA_WIN> window;

    Browser(const QString& folder, const QString& cache) {
        program.settings.CMTX = 4;
        program.settings.CMTY = 3;
        program.settings.CMTT = 12;
        program.settings.UTNT = 0;
        program.sharedThumbnails = cache;
        program.browse.DISP_DIR = folder;
        window = std::make_unique<ORVA_WIN>(program);
        window->resize(1200, 800);
        window->show();
        refresh().displayFolderChanged();
        ahead().waitIdle();
    }
    DisplayRefresh& refresh() { return window->displayRefresh(); }
    DecodeAhead& ahead() { return window->catalogueView().ahead(); }
    PictureLoader& loader() { return window->catalogueView().loader(); }

    // The files of the cells, in cell order.
    QStringList pageFiles() const {
        QStringList files;
        for (const QString& name : program.browse.PAGE_NAME) {
            if (!name.isEmpty()) {
                files << program.browse.DISP_DIR + name;
            }
        }
        return files;
    }

    // The page drawn again from nothing kept; returns its time in milliseconds.
    double redrawPage() {
        ahead().waitIdle();
        ahead().forget();
        program.browse.PAGE_DATE.fill(QStringLiteral("DUMMY"));
        loader().resetCount();
        const auto start = Clock::now();
        refresh().redrawInPlace();
        return msSince(start);
    }
};
