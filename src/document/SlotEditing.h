#pragma once
// Changing the record store in place instead of appending to it. InsertSlots and DeleteSlots are
// the only way records change position inside a layer; the journal's slot numbers follow them.
#include <cstdint>
#include <vector>

#include "document/MapRecord.h"

namespace movra {

struct App;

// The colour of a slot that InsertSlots opens.
constexpr std::int32_t OpenedSlotColor = 8209;

// Opens n slots at start by moving the records from start on (and the open slot) n slots up;
// LayerRecordCount grows by n. The capacity grows until the slots fit. A start beyond the layer's
// records, or no room to grow, changes nothing. Ends silently on any error.
void InsertSlots(App& app, std::uint8_t layer, std::int16_t start, std::int16_t n);

// As InsertSlots, telling whether the slots were opened, and never growing the capacity in the step
// that splits the current layer: where only that step could make room it changes nothing and
// returns false. For passes that walk a layer's slots, which must not change layer under them.
bool InsertSlotsInPlace(App& app, std::uint8_t layer, std::int16_t start, std::int16_t n);

// Removes slots start..start + n - 1 by moving the records above them down; the n + 1 slots up to
// the former open slot are emptied and LayerRecordCount falls by n. A range beyond the layer's
// records changes nothing. Ends silently on any error.
void DeleteSlots(App& app, std::uint8_t layer, std::int16_t start, std::int16_t n);

// Replaces the records of the layer from slot `from` on by `records` in one go, for a pass that
// rebuilds a layer instead of opening slots one split at a time. newStart tells where each former
// record begins among them, as UndoSlotsRearranged takes it, so that the journal follows. The
// capacity must already hold them (the caller grows it as it goes, as InsertSlotsInPlace would);
// slots above the new count are emptied. The records are moved out of the list.
void ReplaceLayerFrom(App& app, std::uint8_t layer, int from, std::vector<MapRecord>& records,
                      const std::vector<std::int32_t>& newStart);

// As ReplaceLayerFrom, for a pass that changes few of the records it lays out: the former records
// marked in `kept` (one flag for each record from `from` on) stay as they are and are moved inside
// the store, straight to the slot newStart gives them, never out of it and back; `records` fill the
// other slots from `from` on, in order.
void RearrangeLayerFrom(App& app, std::uint8_t layer, int from, std::vector<MapRecord>& records,
                        const std::vector<std::int32_t>& newStart, const std::vector<bool>& kept);

// Adds the vertex (x, y) to the line record (layer, slot) after its vertex v (1..4), splitting
// the record in two when it has no room. Records nothing in the journal (its caller takes layer
// snapshots before and after). Ends silently on any error.
void InsertVertex(App& app, double x, double y, std::uint8_t layer, std::int16_t slot, std::uint8_t v);

// Marks the selected records deleted (type + 100) as one group of the journal and empties the
// selection. With nothing selected, "目标尚未选择" goes into Text2 and the tool becomes idle.
void DeleteSelectionWithUndo(App& app);

}  // namespace movra
