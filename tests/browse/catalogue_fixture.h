// A main window over a folder of solid-colour pictures, for the catalogue tests: each file's
// colour tells which file a cell shows, and the catalogue's loader counts what was read.
#pragma once

#include "browsing_state.h"
#include "catalogue_view.h"
#include "display_refresh.h"
#include "orva_win.h"
#include "program.h"
#include "qt_support.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPixmap>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <string>

class CatalogueFixture : public ::testing::Test {
protected:
    void SetUp() override {
        testApplication();
        program.settings.CMTX = 4;
        program.settings.CMTY = 2;
        program.settings.CMTT = 8;
        program.settings.UTNT = 0;
        program.browse.DISP_DIR = QString::fromStdString(folder.path()) + QLatin1Char('/');
    }

    ORVA_WIN& window() {
        if (!window_) {
            window_ = std::make_unique<ORVA_WIN>(program);
            window_->resize(1200, 800);
            window_->show();
        }
        return *window_;
    }
    CatalogueView& view() { return window().catalogueView(); }
    DisplayRefresh& refresh() { return window().displayRefresh(); }
    PictureLoader& loader() { return view().loader(); }

    // A distinct colour per file number.
    static Colour colourOf(int number) {
        return Colour{uint8_t(40 + 50 * (number % 5)), uint8_t(30 + 45 * (number / 5 % 5)),
                      uint8_t(200 - 60 * (number % 3))};
    }
    static std::string nameOf(int number, const char* extension = ".jpg") {
        return "p" + std::string(number < 10 ? "0" : "") + std::to_string(number) + extension;
    }
    // Files p00.jpg … of solid colours, width x height pixels.
    void makePictures(int count, int width = 64, int height = 48) {
        for (int i = 0; i < count; ++i) {
            writePicture(folder.file(nameOf(i)), colourOf(i), width, height);
        }
    }
    static void writePicture(const std::string& path, Colour colour, int width, int height) {
        ImageHandle image = makeRgbImage(width, height, [&](int, int) { return colour; });
        ASSERT_NE(PelmixJpegFileSave(path.c_str(), image.get(), "", "", 95, 0), 0);
    }
    // Moves a file's modification time by seconds.
    static void touch(const std::string& path, int seconds) {
        namespace fs = std::filesystem;
        fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds));
    }

    // The colour in the middle of cell index's picture.
    Colour shownColour(int index) {
        const QImage picture = window().DSP8_IMG[index]->pixmap().toImage();
        if (picture.isNull()) {
            return {};
        }
        const QRgb pixel = picture.pixel(picture.width() / 2, picture.height() / 2);
        return Colour{uint8_t(qRed(pixel)), uint8_t(qGreen(pixel)), uint8_t(qBlue(pixel))};
    }
    // The file names of paths.
    static QStringList names(const QStringList& paths) {
        QStringList result;
        for (const QString& path : paths) {
            result << path.section(QLatin1Char('/'), -1);
        }
        return result;
    }
    static bool near(Colour a, Colour b) {
        return std::abs(a.r - b.r) < 12 && std::abs(a.g - b.g) < 12 && std::abs(a.b - b.b) < 12;
    }

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    TempDir folder;
    std::unique_ptr<ORVA_WIN> window_;
};
