#include "document/AfterMapRead.h"

#include "App.h"
#include "basic/Text.h"
#include "document/RecentFiles.h"

namespace movra {

void FinishMapRead(App& app, const std::string& path) {
    app.mapFile.LastImageSlot = 0;
    RecomputeDrawingExtents(app);
    ResetUndoJournal(app);
    RecordOpeningCheckpoint(app);
    EnterRecentFile(app, path);
}

void FinishMapWrite(App& app, const std::string& path) { EnterRecentFile(app, path); }

// Filled by the canvas tools (ComputeDrawingExtents).
void RecomputeDrawingExtents(App&) {}

// Filled by the undo journal (ResetUndo).
void ResetUndoJournal(App&) {}

// Filled by the undo journal (UndoCheckpoint with command 0).
void RecordOpeningCheckpoint(App&) {}

// The recent-file list itself; the open and save commands add the tool-bar menu texts
// (NoteRecentFile).
void EnterRecentFile(App& app, const std::string& path) { NoteRecentFile(app, path); }

}  // namespace movra
