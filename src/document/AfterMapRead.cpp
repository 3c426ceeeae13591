#include "document/AfterMapRead.h"

#include "App.h"
#include "document/Layers.h"
#include "basic/Text.h"
#include "document/DrawingExtents.h"
#include "document/JdxFile.h"
#include "document/RecentFiles.h"
#include "document/UndoJournal.h"

namespace movra {

void FinishMapRead(App& app, const std::string& path, bool extentsWidened) {
    // Whatever the message line said was said of the map before, or of a file that was not read.
    ShowMessageLine(app, "");
    app.mapFile.LastImageSlot = 0;
    // The pictures held, and the questions asked for missing ones, belonged to the map before.
    ClearImageSlots(app);
    if (extentsWidened) {
        FitDrawingExtents(app);
    } else {
        ComputeDrawingExtents(app);
    }
    // The map as read is where undo starts.
    ResetUndo(app);
    UndoCheckpoint(app, 0);
    EnterRecentFile(app, path);
}

void FinishMapWrite(App& app, const std::string& path) { EnterRecentFile(app, path); }

// The recent-file list itself; the open and save commands add the tool-bar menu texts
// (NoteRecentFile).
void EnterRecentFile(App& app, const std::string& path) { NoteRecentFile(app, path); }

}  // namespace movra
