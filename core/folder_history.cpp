#include "folder_history.h"

#include "program.h"

#include <QComboBox>
#include <array>

namespace {

constexpr int kSavedSlots = 10;

std::array<QString USR_SETTINGS::*, kSavedSlots> savedSlots() {
    return {&USR_SETTINGS::DD00, &USR_SETTINGS::DD01, &USR_SETTINGS::DD02, &USR_SETTINGS::DD03,
            &USR_SETTINGS::DD04, &USR_SETTINGS::DD05, &USR_SETTINGS::DD06, &USR_SETTINGS::DD07,
            &USR_SETTINGS::DD08, &USR_SETTINGS::DD09};
}

// The settings always mirror slots 0..9, so a save at any moment writes the current history.
void storeFolderHistory(Program& program) {
    const auto members = savedSlots();
    for (int i = 0; i < kSavedSlots; ++i) {
        program.settings.*members[i] = program.FOLDER_HISTORY[i];
    }
}

} // namespace

void ADD_FOLDER_HISTORY(Program& program, const QString& folder, const FolderListFill& fill) {
    program.HISTORY_BUSY = true;
    auto& history = program.FOLDER_HISTORY;
    if (!folder.isEmpty()) {
        std::array<QString, kSavedSlots> scratch;
        int count = 0;
        for (int i = 0; i < kSavedSlots; ++i) {
            if (history[i] == folder) {
                history[i].clear();
            }
            if (!history[i].isEmpty()) {
                scratch[count++] = history[i];
            }
            history[i].clear();
        }
        // Slot 10 takes scratch entry 9, so it is emptied again when fewer entries remain.
        for (int i = 0; i < kSavedSlots; ++i) {
            history[i + 1] = scratch[i];
        }
        history[0] = folder;
        storeFolderHistory(program);
    }
    QStringList entries;
    for (const QString& entry : history) {
        if (!entry.isEmpty()) {
            entries.append(entry);
        }
    }
    if (fill) {
        fill(entries, history[0]);
    }
    program.HISTORY_BUSY = false;
}

void ADD_FOLDER_HISTORY(Program& program, const QString& folder, QComboBox* combo) {
    ADD_FOLDER_HISTORY(program, folder, [combo](const QStringList& entries, const QString& text) {
        if (combo == nullptr) {
            return;
        }
        combo->clear();
        combo->addItems(entries);
        if (combo->isEditable()) {
            combo->setEditText(text);
        } else {
            combo->setCurrentIndex(combo->findText(text));
        }
    });
}

void loadFolderHistory(Program& program) {
    const auto members = savedSlots();
    for (int i = 0; i < kSavedSlots; ++i) {
        program.FOLDER_HISTORY[i] = program.settings.*members[i];
    }
    program.FOLDER_HISTORY[kSavedSlots].clear();
}
