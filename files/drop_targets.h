// The drop targets of the two trays: COPY and MOVE in the file tray, Image1 … Image6 in the
// command tray. Each target's caption label takes the highlight colour while a picture of the
// views is dragged over it; a drop runs the common prologue and the target's action.
#pragma once

#include "drop_actions.h"

#include <QObject>
#include <vector>

class FileView;
class Program;
class QMimeData;
class QWidget;

class DropTargets : public QObject {
    Q_OBJECT

public:
    enum class Target { Copy, Move, Trash, Editor1, Print, Editor2, Adjust, Clipboard };

    DropTargets(Program& program, FileView& view, QObject* parent = nullptr);

    // Makes target (with its caption label) a drop target of the kind; the double-clicks of the
    // editor and print targets are handled as well.
    void add(QWidget* target, QWidget* caption, Target kind);

    // The picture data carries when it is dragged from a catalogue cell (index) or the single
    // view (index -1) of this window; false for anything else.
    bool draggedFile(const QMimeData* data, int& index, QString& name) const;

    DropActions& actions() { return actions_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        QWidget* target;
        QWidget* caption;
        Target kind;
    };
    const Entry* entryOf(QObject* watched) const;
    void dropped(const Entry& entry, const QMimeData* data);
    void doubleClicked(const Entry& entry);
    static void setHover(QWidget* caption, bool hover);

    Program& program_;
    FileView& view_;
    DropActions actions_;
    std::vector<Entry> entries_;
};
