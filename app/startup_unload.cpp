// The main window's unload handler and the folders dropped on the window.
#include "acquisition_library.h"
#include "browsing.h"
#include "command_line.h"
#include "display_refresh.h"
#include "folder_history.h"
#include "help_window.h"
#include "orva_win.h"
#include "pelmix.h"
#include "program.h"
#include "settings_saving.h"
#include "settings_store.h"
#include "startup.h"
#include "startup_messages.h"
#include "startup_placement.h"

#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileSystemModel>
#include <QMimeData>
#include <QScreen>
#include <QTreeView>
#include <QUrl>

namespace {

// Only names from outside the program: the views' own drags carry files too.
bool acceptableDrop(const QDropEvent* event) {
    if (event->source() != nullptr || !event->mimeData()->hasUrls()) {
        return false;
    }
    const QList<QUrl> urls = event->mimeData()->urls();
    return !urls.isEmpty() && urls.last().isLocalFile();
}

} // namespace

bool Startup::unload() {
    USR_SETTINGS& s = program_.settings;
    if (s.EXTM != 1) {
        if (program_.prompter.message(window_, startup_messages::exitQuestion()) != Prompter::Yes) {
            return false;
        }
    }
    if (window_ != nullptr && window_->F_DIR_MODEL != nullptr) {
        const QModelIndex current = window_->F_DIR->currentIndex();
        if (current.isValid()) {
            QString folder = window_->F_DIR_MODEL->filePath(current);
            if (!folder.endsWith(QLatin1Char('/'))) {
                folder += QLatin1Char('/');
            }
            s.FTRD = folder;
        }
    }
    recordTwainDevice();
    saveSettings();
    if (help_) {
        help_->quit();
    }
    releaseImages();
    if (window_ != nullptr && hooked_) {
        window_->removeEventFilter(this);
    }
    hooked_ = false;
    return true;
}

void Startup::recordTwainDevice() {
    USR_SETTINGS& s = program_.settings;
    if (s.CKTD != 1) {
        return;
    }
    QString list;
    const HWND hwnd = window_ != nullptr ? reinterpret_cast<HWND>(window_->winId()) : nullptr;
    if (!library_.sourceList(hwnd, list)) {
        program_.prompter.message(window_,
                                  startup_messages::deviceListFailedAtExit(program_.APP_TITLE));
        s.CKTN.clear();
        return;
    }
    s.CKTN = AcquisitionLibrary::defaultSource(list);
}

void Startup::saveSettings() {
    saveSettingsNow(program_, window_);
}

void Startup::releaseImages() {
    browsing::releasePictures(program_);
}

void Startup::dropName(const QString& name) {
    const FolderName folder = folderFromName(name);
    if (!folder.isFolder) {
        program_.prompter.message(window_,
                                  startup_messages::droppedNotFolder(program_.APP_TITLE, name));
        return;
    }
    if (window_ == nullptr) {
        return; // the window has not loaded: nothing shows a folder yet
    }
    ADD_FOLDER_HISTORY(program_, folder.folder, window_->Combo1);
    window_->displayRefresh().folderChanged(folder.folder);
    window_->MAIN_LAYOUT(); // the caption shows the folder while the tool bar is hidden
}

void Startup::dropped(QDropEvent* event) {
    // Only the last of several names counts.
    const QString name = event->mimeData()->urls().last().toLocalFile();
    event->acceptProposedAction();
    dropName(name);
}

bool Startup::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || hookBusy_) {
        return QObject::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::Close: {
        hookBusy_ = true;
        const bool closing = unload();
        hookBusy_ = false;
        if (!closing) {
            event->ignore();
            return true;
        }
        return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDropEvent*>(event);
        if (acceptableDrop(drag)) {
            drag->acceptProposedAction();
            return true;
        }
        return false;
    }
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!acceptableDrop(drop)) {
            return false;
        }
        hookBusy_ = true;
        dropped(drop);
        hookBusy_ = false;
        return true;
    }
    case QEvent::FontChange:
    case QEvent::StyleChange:
    case QEvent::ApplicationFontChange:
        hookBusy_ = true;
        window_->MAIN_LAYOUT();
        hookBusy_ = false;
        return false;
    default:
        return false;
    }
}
