// A program with an acquisition folder in a fresh temporary folder, page files made through the
// image library, and the run loop of the TWAIN step as the acquisition run drives the page store.
#pragma once

#include "browsing_state.h"
#include "kept_pages.h"
#include "page_file_names.h"
#include "page_store.h"
#include "pelmix.h"
#include "program.h"
#include "recording_launcher.h"
#include "scripted_prompter.h"
#include "temp_dir.h"
#include "test_images.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <gtest/gtest.h>
#include <ostream>

// Readable names in failure output.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

class AcquireStoreTest : public ::testing::Test {
protected:
    enum class Page { BlackWhite, Grey, Colour };

    ScriptedPrompter prompter;
    RecordingLauncher launcher;
    BrowsingState browsing;
    Program program{prompter, launcher, browsing};
    TempDir temp;
    QString acq;

    void SetUp() override {
        const QString root = QString::fromStdString(temp.path());
        acq = root + QStringLiteral("/acq/");
        program.PROGRAM_DIR = root + QStringLiteral("/prog/");
        QDir().mkpath(acq);
        QDir().mkpath(program.PROGRAM_DIR);
        program.ACQ_DIR = acq;
        // Run notes and kept pages stay out of the user's data folder.
        qputenv("XDG_DATA_HOME", QFile::encodeName(root + QStringLiteral("/data")));
        qunsetenv("ORVANA_KEPT_DIR");
        program.settings.NTOP = QStringLiteral("IMG");
        program.settings.SCNN = 3;
    }

    void TearDown() override {
        PelmixMemFree(program.browse.WORK_IMAGE);
        program.browse.WORK_IMAGE = nullptr;
    }

    void touch(const QString& name) {
        QFile file(acq + name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }

    static ImageHandle makePage(Page kind, int width = 48, int height = 32) {
        switch (kind) {
        case Page::BlackWhite:
            return makeIndexedImage(width, height, 1, greyPalette(1),
                                    [](int x, int y) { return uint8_t((x / 4 + y / 4) % 2); });
        case Page::Grey:
            return makeIndexedImage(width, height, 8, greyPalette(8),
                                    [](int x, int y) { return uint8_t(x * 5 + y); });
        case Page::Colour:
            return makeRgbImage(width, height,
                                [=](int x, int y) { return testPattern(x, y, width, height); });
        }
        return {};
    }

    // Writes page file k of the run as the acquisition library does: a BMP "ORVA_TMP.<kkk>".
    void writePage(int k, Page kind) {
        ImageHandle image = makePage(kind);
        ASSERT_TRUE(image);
        const QByteArray path = QFile::encodeName(acq + page_file_names::name(k));
        ASSERT_EQ(PelmixBmpFileSave(path.constData(), image.get(), "", "", 0), 1);
    }

    // The TWAIN step of a run over pages 0..count-1 from nextNumber; returns the names stored.
    QStringList storeStep(PageStore& store, int count, int64_t& nextNumber) {
        QStringList names;
        store.beginStep();
        for (int k = 0; k < count; ++k) {
            names += store.storePage(k, nextNumber);
            ++nextNumber;
        }
        store.endStep();
        return names;
    }

    QStringList files(const QString& folder) const {
        return QDir(folder).entryList(QDir::Files, QDir::Name);
    }

    QStringList messageTexts() const {
        QStringList texts;
        for (const auto& request : prompter.requests)
            texts += request.message.text;
        return texts;
    }

    IMAGE_INFO infoOfFile(const QString& path) const {
        ImageHandle image(PelmixFileLoad(QFile::encodeName(path).constData(), "", ""));
        return image ? infoOf(image.get()) : IMAGE_INFO{};
    }
};
