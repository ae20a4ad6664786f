// The single-image view inside PIC1_BASE: the layout of its controls, loading and placing the
// picture of ONE_NAME, scrolling it, repainting it from WORK_IMAGE, fitting it again after the
// window changed size, and the pointer on the picture (select, drag, back to the catalogue).
#pragma once

#include "single_controls.h"

#include <QObject>
#include <QSize>
#include <QString>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <memory>

class Program;
class SingleAhead;
class SinglePicture;

class PictureLoader;

class SingleView : public QObject {
    Q_OBJECT

public:
    // How long the picture area's size must stay still before a grown area has its picture
    // decoded again.
    static constexpr int kRegrowDelayMs = 150;

    // dragState is the window's CELL_DRAG_STATE, shared with the catalogue cells.
    SingleView(Program& program, const SingleControls& controls, int16_t& dragState);
    ~SingleView() override;

    // Places the file scroll bar, the frame and the picture area inside PIC1_BASE (twips).
    void SINGLE_LAYOUT();
    // Places the clipping window and the two picture scroll bars inside DSP1_MAXDSP, and gives
    // the bars the range the present picture needs.
    void layoutPictureArea();

    // The drawing step of the refresh: frame mark, name, and the picture of DISP_DIR + name;
    // then the picture of next (when not empty) is read ahead. An empty name hides the frame.
    void draw(const QString& name, bool current, const QString& next = QString());
    // The picture is taken away (on the way back to the catalogue); WORK_IMAGE stays.
    void clear();
    // After the window changed size: a picture the library drew (LDSP = 1) is fitted again.
    void refit();

    // The current-file mark of DSP1_FRM.
    void setMark(bool current);

    bool paintLocked() const { return paintLock_; }
    // What the view reads its pictures with, and what it reads ahead with.
    PictureLoader& loader();
    SingleAhead& ahead();
    // The picture shown is a first sight of a progressive file, its final one still to come.
    bool showsFirstSight() const;

    // Starts the drag of ONE_NAME from the pressed control (DSP1_PIC or DSP1_PICWAKU). Replaced
    // by tests, where a real drag would wait for a mouse release that never comes.
    std::function<void(QWidget* source)> startDrag;

signals:
    // A right-button click or a left-button double-click on the picture.
    void backToCatalogue();
    // A click on the name (RENAME_NAME is already ONE_NAME).
    void renameRequested();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPicture(const QString& path);
    // Library mode: load, size (fitted or by D1MD), centre, draw. A picture that cannot be
    // loaded shows the message and the TOOLARGE picture when told; false then.
    bool showWithLibrary(const QString& path, bool tellFailure = true);
    // The box a fitted picture is decoded for: the window in device pixels; empty (decoded
    // whole) when a magnification is chosen.
    QSize decodeBox() const;
    void noteGrowth();
    void redecodeGrown();
    // Sets the picture's scroll ranges for its present size and puts it at the middle.
    void centre();
    void setRanges(int horizontalMax, int verticalMax);
    void scrolledHorizontally(int value);
    void scrolledVertically(int value);
    void pressed(QWidget* source, int button);
    void dragFile(QWidget* source);
    QSize windowSize() const;

    Program& program_;
    SingleControls c_;
    int16_t& dragState_;
    std::unique_ptr<SinglePicture> picture_;
    bool paintLock_ = false; // ONE_PAINT_LOCK
    bool libraryDrawn_ = false;
    QTimer regrowTimer_;
};
