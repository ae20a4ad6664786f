// The File menu's PDF of the displayed folder: every picture of it in list order, one to a page,
// each turned as its orientation says, under a name the save dialog asks for (the folder's own
// name in the folder, at first). The catalogue marks only the current file, so the document
// always holds the whole folder.
#pragma once

class Program;
class QWidget;

namespace folder_document {

// Asks for the name and writes the document, with progress and Cancel; tells the user how it
// went, unless cancelled.
void make(Program& program, QWidget* owner);

} // namespace folder_document
