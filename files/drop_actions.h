// What a picture dropped on a target of the file tray or the command tray does: copy or move it
// into the file tray's folder, delete it, open it in an editor, print or adjust it, or put it on
// the clipboard. name is the dropped file of the display folder; index the catalogue cell it came
// from, -1 for the single view.
#pragma once

#include <QString>

class FileView;
class Program;

class DropActions {
public:
    DropActions(Program& program, FileView& view) : program_(program), view_(view) {}

    void copy(const QString& name);
    void move(const QString& name, int index);
    void remove(const QString& name, int index);
    // editor 1 or 2; the caller checked that its setting is not empty.
    void edit(int editor, const QString& name);
    void print(const QString& name);
    void adjust(const QString& name);
    void toClipboard(const QString& name);

private:
    // Copy and move share the checks; false when they stopped the operation. destination gets
    // the path the file goes to, replace whether an existing file is replaced.
    bool prepare(const QString& name, bool move, QString& destination, bool& replace);

    Program& program_;
    FileView& view_;
};
