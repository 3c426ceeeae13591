#pragma once
// The undo journal: step by step, what every editing command did to the record store, so that
// Undo and Redo can take the map back and forward again.
//
// A step names one layer or one record and the kind of change. The steps recorded by one call of
// a recorder share one view number and form a group; undo and redo always take a whole group.
// Each group has one view record, which keeps the canvas view of that moment and the parameters
// a transform is replayed with. The journal keeps its view records, the layer snapshots and the
// records that undo took back itself, in memory; a step cap trims the oldest groups.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "document/MapRecord.h"

namespace movra {

struct App;

enum UndoKind : std::uint8_t {
    UndoKindBase = 0,            // a layer with records when the map was opened
    UndoKindAppend = 1,          // a layer that grew
    UndoKindDelete = 200,        // one record soft-deleted (type + 100)
    UndoKindMove = 205,          // one moved record of the selection
    UndoKindRotate = 210,        // one rotated record of the selection
    UndoKindFlipUpDown = 211,    // one record mirrored across a horizontal axis
    UndoKindFlipLeftRight = 212, // one record mirrored across a vertical axis
    UndoKindVertexMove = 218,    // the record one of whose vertices was dragged
    UndoKindSnapshot = 252,      // a layer whose snapshot was taken
    UndoKindCut = 253,           // the record one of whose vertices a cut moved
};

// The view record of a group: the canvas view when it was recorded and the parameters of the
// kind (see the recorders). Kept in double precision, so that a replayed transform lands exactly
// where the recorded one did.
struct UndoViewRecord {
    std::uint8_t RecordType = 1;  // kind 253: the vertex number
    std::int32_t RecordColor = 0;
    std::uint8_t RecordPen = 0;   // kind 253: 1
    double RecordX1 = 0, RecordY1 = 0;  // ScaleLeft, ScaleTop of the canvas
    double RecordX2 = 0, RecordY2 = 0;  // ScaleWidth, ScaleHeight
    double RecordZ2 = 0;                // DisplayZoom; 0.5 for the base group
    double RecordX3 = 0, RecordY3 = 0;
    double RecordX4 = 0, RecordY4 = 0;
    double RecordZ3 = 0, RecordZ4 = 0;
    std::string RecordText = "0";  // kind 252: the snapshot name
    std::string RecordFont;
};

// One layer's slots 0..count, inclusive, as they were.
struct LayerSnapshot {
    std::string Name;  // "0t".."9t" before a change, "0f".."9f" after it
    int Layer = 0;
    std::int32_t Count = 0;
    bool Before = false;
    std::vector<MapRecord> Records;
};

// What a step keeps beside its layer, slot, kind and view number.
struct UndoStepData {
    // Kinds 0 and 1: the layer's last slot before the step (-1: the layer was empty).
    std::int32_t PreviousEnd = -1;
    // Kind 1 taken back by undo: the records of slots HeldFirst.. that redo puts back.
    std::int32_t HeldFirst = 0;
    std::vector<MapRecord> Held;
    bool Holding = false;
    // Kind 210: the record's text angle and type before the rotation, and whether the rotation
    // re-angled it (a lone text).
    float FormerTextAngle = 0;
    std::uint8_t FormerType = 0;
    bool TextReAngled = false;
    // Kind 252.
    std::shared_ptr<const LayerSnapshot> Snapshot;
};

struct UndoJournal {
    // Parallel arrays by step number 0..UndoCurrentStep; step 0 is a sentinel of which only the
    // view number is used.
    std::vector<std::uint8_t> UndoStepLayer = std::vector<std::uint8_t>(1);
    std::vector<std::int16_t> UndoStepSlot = std::vector<std::int16_t>(1);
    std::vector<std::uint8_t> UndoStepKind = std::vector<std::uint8_t>(1);
    std::vector<std::int32_t> UndoStepView = std::vector<std::int32_t>(1);
    std::vector<UndoStepData> UndoStepExtra = std::vector<UndoStepData>(1);
    // The newest recorded step.
    std::int32_t UndoCurrentStep = 0;
    // The last applied step: 1..UndoLastStep are in effect, the rest can be redone.
    std::int32_t UndoLastStep = 0;
    // Per layer, its last slot (LayerRecordCount - 1) at the last checkpoint, undo or redo that
    // concerned it; -1 while nothing of the layer is journalled.
    std::vector<std::int32_t> UndoLayerMark;
    std::int16_t UndoStepTop = 0;
    // Number in the next snapshot name, 0..9.
    std::uint8_t SnapshotCounter = 0;
    // The view records by view number.
    std::map<std::int32_t, UndoViewRecord> UndoViewRecords;
    // The view number of a move, rotation or mirror whose first phase waits for its second.
    std::int32_t PendingSelectionView = -1;

    // Bounds: more steps, or more snapshot slots held, trim the oldest groups.
    std::int32_t UndoStepCap = 30000;
    std::int64_t SnapshotSlotCap = 250000;
    std::int64_t SnapshotSlotsHeld = 0;
};

// Empties the journal: step 0 only, every layer unjournalled. The map readers call it before
// their first checkpoint.
void ResetUndo(App& app);

// After a finished command: one step for every layer that grew since its mark, kind 0 with
// command 0 (a map was opened; the journal starts anew), kind 1 otherwise. Records nothing while
// CommandMode is ModeJournalHold. Any command other than 0 enables the undo button.
void UndoCheckpoint(App& app, std::uint8_t command);

// Before a cut moves vertex 1..4 of (layer, slot) to the crossing (x, y).
void UndoStepCut(App& app, std::uint8_t layer, std::int16_t slot, std::uint8_t vertex, double x, double y);

// A snapshot of the whole layer, before (-1) or after (0) a command rewrites it in place.
void UndoStepSnapshot(App& app, std::uint8_t layer, std::int16_t slot, std::int16_t before);

// Slots 0..LayerRecordCount of the layer, inclusive. The slot is not used.
std::shared_ptr<LayerSnapshot> SaveLayerSnapshot(App& app, const std::string& name, int layer, int slot);
// Writes the snapshot back: its slots, its count; the slots above it are emptied.
void RestoreLayerSnapshot(App& app, const LayerSnapshot& snapshot);

// A dragged vertex 1..4 of (layer, slot) was dropped at (x, y); where it was is in ScratchXY 0, 1.
void UndoStepTool(App& app, double x, double y, std::uint8_t layer, std::int16_t slot, std::uint8_t vertex);

// A move, rotation or mirror of the selection: phase 0 records the first selected record with
// (p1, p2) as the first point, any other phase the others with (p1, p2) as the second point.
void UndoStepSelection(App& app, std::uint8_t phase, double p1, double p2);

// --- What the journal's own procedures (undo and redo, slot editing) share ---

// Step 1 of every recording: drops the steps undone. Returns the new group's view number.
std::int32_t BeginUndoGroup(App& app);
// Appends a step to the journal and returns its number.
std::int32_t AppendUndoStep(App& app, int layer, int slot, std::uint8_t kind, std::int32_t view);
// The view record of view number n with the canvas view, the colour and the font of now.
UndoViewRecord& WriteUndoViewRecord(App& app, std::int32_t view);
// The view record of view number n, or null.
const UndoViewRecord* FindUndoViewRecord(const App& app, std::int32_t view);
// Trims the oldest groups while the journal is above its caps.
void TrimUndoJournal(App& app);
// The mark of a layer, the table grown as needed.
std::int32_t& UndoLayerMarkOf(App& app, int layer);
// Enables or disables button `index` of the main tool bar Toolbar1 (6 "撤消", 7 "反撤", 8 删除,
// 10 剪切, 11 拷贝, 12 粘贴), found by its name; nothing while the window has no such bar.
void SetToolbar1Button(App& app, int index, bool enabled);
// Drops what the journal holds for the steps after UndoLastStep and makes UndoLastStep the newest.
void DropUndoneSteps(App& app);
// Starts the journal anew from the map as it is: nothing to undo, the next group undoable.
void RestartUndo(App& app);

// Slots of a layer moved: the journal's slot numbers follow them, or the journal starts anew
// where a step would name another record.
void UndoSlotsInserted(App& app, int layer, int start, int n);
void UndoSlotsDeleted(App& app, int layer, int start, int n);
// The records of a layer from slot `from` on were laid out anew: the record that stood in slot
// from + k now begins in slot newStart[k] (ascending), one that left no record begins where the
// next one does; newStart ends with the slot after the last of them. Records appended behind them
// move up with the slots beyond the layer. Equivalent to the inserts and deletes that built the
// new layout, done one after another.
void UndoSlotsRearranged(App& app, int layer, int from, const std::vector<std::int32_t>& newStart, int newCount);

}  // namespace movra
