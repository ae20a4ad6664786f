#include "drop_targets.h"

#include "browsing.h"
#include "catalogue_input.h"
#include "companion_program.h"
#include "disabled_input.h"
#include "display_refresh.h"
#include "file_view.h"
#include "program.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

namespace {

const QString kSingleMimeType = QStringLiteral("application/x-orvana-single");

} // namespace

DropTargets::DropTargets(Program& program, FileView& view, QObject* parent)
    : QObject(parent), program_(program), view_(view), actions_(program, view) {}

void DropTargets::add(QWidget* target, QWidget* caption, Target kind) {
    entries_.push_back(Entry{target, caption, kind});
    target->setAcceptDrops(true);
    target->installEventFilter(this);
    if (caption != nullptr) {
        // A drop on the caption counts as a drop on its target.
        caption->setAcceptDrops(true);
        caption->installEventFilter(this);
    }
}

bool DropTargets::draggedFile(const QMimeData* data, int& index, QString& name) const {
    if (data == nullptr) {
        return false;
    }
    index = -1;
    if (data->hasFormat(QString::fromLatin1(CatalogueInput::kCellMimeType))) {
        bool ok = false;
        index = data->data(QString::fromLatin1(CatalogueInput::kCellMimeType)).toInt(&ok);
        if (!ok || index < 0 || index >= browsing::kSlots) {
            return false;
        }
        name = browsing::slotFile(program_, index);
    } else if (data->hasFormat(kSingleMimeType)) {
        name = browsing::singleFile(program_);
    } else {
        return false;
    }
    // The drag names its file: a picture dragged from another window of the program, whose
    // cells hold other files, is not taken for the one this window has in that place.
    const QList<QUrl> urls = data->urls();
    return name.isEmpty() ||
           (urls.size() == 1 &&
            urls.first() == QUrl::fromLocalFile(browsing::displayFolder(program_) + name));
}

const DropTargets::Entry* DropTargets::entryOf(QObject* watched) const {
    for (const Entry& entry : entries_) {
        if (entry.target == watched || entry.caption == watched) {
            return &entry;
        }
    }
    return nullptr;
}

void DropTargets::setHover(QWidget* caption, bool hover) {
    if (caption == nullptr) {
        return;
    }
    caption->setAutoFillBackground(true);
    caption->setBackgroundRole(hover ? QPalette::Highlight : QPalette::Button);
    caption->setForegroundRole(hover ? QPalette::HighlightedText : QPalette::ButtonText);
    caption->update();
}

bool DropTargets::eventFilter(QObject* watched, QEvent* event) {
    if (inputToDisabled(watched, event)) {
        return false;
    }
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::DragLeave &&
        type != QEvent::Drop && type != QEvent::MouseButtonDblClick) {
        return false;
    }
    const Entry* entry = entryOf(watched);
    if (entry == nullptr) {
        return false;
    }
    switch (type) {
    case QEvent::DragEnter: {
        auto* drag = static_cast<QDragEnterEvent*>(event);
        int index = -1;
        QString name;
        if (!draggedFile(drag->mimeData(), index, name)) {
            drag->ignore();
            return true;
        }
        setHover(entry->caption, true);
        drag->acceptProposedAction();
        return true;
    }
    case QEvent::DragMove:
        static_cast<QDragMoveEvent*>(event)->acceptProposedAction();
        return true;
    case QEvent::DragLeave:
        setHover(entry->caption, false);
        return true;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const Entry copy = *entry; // the action may rebuild the window's targets
        drop->acceptProposedAction();
        dropped(copy, drop->mimeData());
        return true;
    }
    default:
        // The targets themselves answer double-clicks, not their captions.
        if (watched != entry->target) {
            return false;
        }
        doubleClicked(*entry);
        return true;
    }
}

void DropTargets::dropped(const Entry& entry, const QMimeData* data) {
    setHover(entry.caption, false);
    int index = -1;
    QString name;
    if (!draggedFile(data, index, name)) {
        return;
    }
    const bool editor = entry.kind == Target::Editor1 || entry.kind == Target::Editor2;
    if (editor) {
        const QString& path =
            entry.kind == Target::Editor1 ? program_.settings.LEXE : program_.settings.LEX2;
        if (path.isEmpty()) {
            RUN_EDITOR(program_, entry.kind == Target::Editor1 ? 1 : 2, QString(), QString(),
                       view_.owner());
            return;
        }
    }
    view_.refresh().pictureDropped();
    view_.unmarkDragSource(index);
    if (name.isEmpty()) {
        return;
    }

    switch (entry.kind) {
    case Target::Copy:
        actions_.copy(name);
        break;
    case Target::Move:
        actions_.move(name, index);
        break;
    case Target::Trash:
        actions_.remove(name, index);
        break;
    case Target::Editor1:
        actions_.edit(1, name);
        break;
    case Target::Editor2:
        actions_.edit(2, name);
        break;
    case Target::Print:
        actions_.print(name);
        break;
    case Target::Adjust:
        actions_.adjust(name);
        break;
    case Target::Clipboard:
        actions_.toClipboard(name);
        break;
    }
}

void DropTargets::doubleClicked(const Entry& entry) {
    switch (entry.kind) {
    case Target::Editor1:
        RUN_EDITOR(program_, 1, QString(), QString(), view_.owner());
        break;
    case Target::Editor2:
        RUN_EDITOR(program_, 2, QString(), QString(), view_.owner());
        break;
    case Target::Print:
        view_.openCataloguePrintDialog();
        break;
    default:
        break;
    }
}
