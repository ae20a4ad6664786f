// A main window over a folder of pictures with the adjustment dialog opened on one of them, as
// the menu command opens it, and the ways a user answers the dialog's questions.
#pragma once

#include "../browse/catalogue_fixture.h"
#include "cnf_win.h"
#include "qt_support.h"
#include "sv_cpr.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <functional>

class AdjustFixture : public CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        program.settings.CFDM = 0;
        program.settings.CNFP = 0;
        program.settings.CNFD = 0;
        program.settings.JPGP = 75;
    }
    void TearDown() override {
        if (CNF_WIN* dialog = opened()) {
            dialog->close();
        }
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    // A BMP picture whose pixels are pixel(x, y): saved and read back exactly.
    static void writeBmp(const std::string& path, int width, int height,
                         const std::function<Colour(int, int)>& pixel) {
        ImageHandle image = makeRgbImage(width, height, pixel);
        ASSERT_NE(PelmixBmpFileSave(path.c_str(), image.get(), "", "", 0), 0);
    }
    // Every pixel different: red counts columns, green rows.
    static Colour grid(int x, int y) { return Colour{uint8_t(10 * x), uint8_t(10 * y), 99}; }

    // The dialog on file name of the display folder, opened with the menu command.
    CNF_WIN* open(const std::string& name) {
        refresh().REFRESH_CATALOGUE(0);
        program.browse.CAT_CURRENT = q(name);
        window().MNU_FILE_CNF->trigger();
        CNF_WIN* dialog = opened();
        if (dialog != nullptr) {
            QApplication::setActiveWindow(dialog);
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        }
        return dialog;
    }
    static CNF_WIN* opened() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<CNF_WIN*>(top);
                dialog != nullptr && dialog->isVisible()) {
                return dialog;
            }
        }
        return nullptr;
    }

    // The JPEG quality dialog, once it is up: moves the bar to quality (-1: keeps the start) and
    // presses Save, or presses Cancel. started receives the quality it opened with.
    void answerJpeg(bool save, int quality = -1, int* started = nullptr) {
        QTimer::singleShot(0, [save, quality, started] {
            auto* dialog = qobject_cast<SV_CPR*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            QApplication::setActiveWindow(dialog);
            if (started != nullptr) {
                *started = dialog->JPEG_Q->value();
            }
            if (quality >= 0) {
                EXPECT_EQ(QApplication::focusWidget(), dialog->JPEG_Q);
                dialog->JPEG_Q->setValue(quality);
                EXPECT_EQ(dialog->JPEG_Q_DSP->text(), QString::number(quality));
            }
            QTest::mouseClick(save ? dialog->SAVEOK : dialog->CANCEL, Qt::LeftButton);
        });
    }
};
