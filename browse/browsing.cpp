#include "browsing.h"

#include "browsing_state.h"
#include "pelmix.h"
#include "program.h"

static_assert(browsing::kSlots == BrowsingState::kSlots);

namespace browsing {

const QString& displayFolder(const Program& program) {
    return program.browse.DISP_DIR;
}

const QString& currentFile(const Program& program) {
    return program.browse.CAT_CURRENT;
}

const QString& slotFile(const Program& program, int index) {
    return program.browse.PAGE_NAME.at(static_cast<size_t>(index));
}

const QString& singleFile(const Program& program) {
    return program.browse.ONE_NAME;
}

HGLOBAL& workImage(Program& program) {
    return program.browse.WORK_IMAGE;
}

void startIn(Program& program, const QString& folder) {
    BrowsingState& state = program.browse;
    state.DISP_DIR = folder;
    state.CAT_CURRENT.clear();
    state.PAGE_NAME.fill(QString());
}

void releasePictures(Program& program) {
    BrowsingState& state = program.browse;
    for (HGLOBAL& image : state.PAGE_IMAGE) {
        if (image != nullptr) {
            PelmixMemFree(image);
            image = nullptr;
        }
    }
    if (state.WORK_IMAGE != nullptr) {
        PelmixMemFree(state.WORK_IMAGE);
        state.WORK_IMAGE = nullptr;
    }
}

} // namespace browsing

Browsing::Browsing() : state_(std::make_unique<BrowsingState>()) {}

Browsing::~Browsing() = default;
