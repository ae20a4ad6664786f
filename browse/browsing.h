// What the other parts of the program may know of what the main window browses, and the owner
// of that state. The state itself (browse/private/browsing_state.h) is browse's alone: the others
// read it here and tell DisplayRefresh what they changed.
#pragma once

#include "winport.h"

#include <QString>
#include <memory>

class Program;
struct BrowsingState;

namespace browsing {

// Catalogue slots 0..12; cells use 0..11.
inline constexpr int kSlots = 13;

// The display folder (ends in "/") and the current file of the views ("" for none).
const QString& displayFolder(const Program& program);
const QString& currentFile(const Program& program);
// The file of catalogue slot index (0 <= index < kSlots) and the file of the single view.
const QString& slotFile(const Program& program, int index);
const QString& singleFile(const Program& program);
// The picture the single view loads into; the page store and the catalogue print load into it
// too, releasing what it held first.
HGLOBAL& workImage(Program& program);

// The folder the window opens on, before its first refresh: nothing is current, no cell holds
// a file.
void startIn(Program& program, const QString& folder);
// Releases every picture the views hold (at exit).
void releasePictures(Program& program);

} // namespace browsing

// Owns the browsing state the Program refers to (main() makes one).
class Browsing {
public:
    Browsing();
    ~Browsing();
    Browsing(const Browsing&) = delete;
    Browsing& operator=(const Browsing&) = delete;

    BrowsingState& state() { return *state_; }

private:
    std::unique_ptr<BrowsingState> state_;
};
