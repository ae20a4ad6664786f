// A main window over a folder of pictures with a second folder for the file tray, and drops
// delivered the way a desktop delivers them: a drag entering the target, then the drop, both
// carrying the mime data the views' own drags carry.
#pragma once

#include "../browse/catalogue_fixture.h"
#include "catalogue_input.h"
#include "folder_tree.h"
#include "qt_support.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QTreeView>
#include <cstdlib>
#include <memory>

class FilesFixture : public CatalogueFixture {
protected:
    void SetUp() override {
        CatalogueFixture::SetUp();
        setenv("XDG_DATA_HOME", data.path().c_str(), 1);
        makePictures(5);
        refresh().REFRESH_CATALOGUE(0);
    }

    QString disp(const std::string& name) const { return program.browse.DISP_DIR + q(name); }

    void showTray(const std::string& folder) {
        ASSERT_TRUE(folder_tree::show(window().F_DIR, q(folder)));
    }

    // The data a drag of catalogue cell index carries.
    std::unique_ptr<QMimeData> cellData(int index) {
        return std::unique_ptr<QMimeData>(window().catalogueView().input().dragData(index));
    }

    // A drag entering target, then dropped on it.
    static bool enter(QWidget* target, const QMimeData* data) {
        QDragEnterEvent enter(QPoint(4, 4), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        return enter.isAccepted();
    }
    static void drop(QWidget* target, const QMimeData* data) {
        enter(target, data);
        QDropEvent drop(QPointF(4, 4), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(target, &drop);
    }
    void dropCell(QWidget* target, int index) { drop(target, cellData(index).get()); }

    TempDir data; // XDG_DATA_HOME: the user's trash
    TempDir tray;
};
