#include "document/SlotEditing.h"

#include <algorithm>

#include "App.h"
#include "basic/Guards.h"
#include "document/StoreRecord.h"
#include "document/UndoJournal.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// The record of a slot, taken out of it; a slot never written gives a cleared record.
MapRecord Take(RecordStore& store, int layer, int slot) {
    if (slot >= store.AllocatedSlots(layer)) return MapRecord{};
    return std::move(store.At(layer, slot));
}

void Vacate(RecordStore& store, int layer, int slot) {
    if (slot < store.AllocatedSlots(layer)) store.At(layer, slot) = MapRecord{};
}

// After a layer was laid out anew from `from` on: the slots above its new end are emptied, and the
// journal follows the records.
void EndLayerAt(App& app, int layer, int count, int newCount, int from, const std::vector<std::int32_t>& newStart) {
    auto& store = app.store;
    for (int k = newCount; k <= count; ++k) Vacate(store, layer, k);
    store.Count(layer) = newCount;
    UndoSlotsRearranged(app, layer, from, newStart, newCount);
}

// InsertSlots, telling whether the slots were opened. Without mayMoveLayers it stops short of the
// last growth step, the one that splits the current layer.
bool OpenSlots(App& app, int layer, int start, int n, bool mayMoveLayers = true) {
    auto& store = app.store;
    const int count = store.Count(layer);
    if (n <= 0 || start < 0 || start > count) return false;
    while (count + n > store.LayerCapacity) {
        const int before = store.LayerCapacity;
        if (!mayMoveLayers && before >= LayerSplittingCapacity) return false;
        GrowLayerCapacity(app);
        // Near the limit the growth splits the current layer: records changed layer and slot
        // behind the journal's back.
        if (before >= LayerSplittingCapacity) RestartUndo(app);
        if (store.Count(layer) != count || store.LayerCapacity <= before) return false;
    }
    store.At(layer, count + n);  // makes room for the moves at once
    for (int k = count; k >= start; --k) store.At(layer, k + n) = Take(store, layer, k);
    store.Count(layer) = count + n;
    for (int k = start; k < start + n; ++k) {
        MapRecord& opened = store.At(layer, k);
        opened = MapRecord{};
        opened.RecordColor = OpenedSlotColor;
    }
    UndoSlotsInserted(app, layer, start, n);
    return true;
}

void SetVertex(MapRecord& r, int v, double x, double y) {
    switch (v) {
        case 1: r.RecordX1 = x; r.RecordY1 = y; break;
        case 2: r.RecordX2 = x; r.RecordY2 = y; break;
        case 3: r.RecordX3 = x; r.RecordY3 = y; break;
        default: r.RecordX4 = x; r.RecordY4 = y; break;
    }
}

// Puts (x, y) after vertex v (1..3): the vertices after it move one place on, the last drops off.
// Only X and Y move; the heights stay where they are.
void ShiftAfter(MapRecord& r, int v, double x, double y) {
    switch (v) {
        case 1:
            r.RecordX4 = r.RecordX3; r.RecordY4 = r.RecordY3;
            r.RecordX3 = r.RecordX2; r.RecordY3 = r.RecordY2;
            r.RecordX2 = x; r.RecordY2 = y;
            break;
        case 2:
            r.RecordX4 = r.RecordX3; r.RecordY4 = r.RecordY3;
            r.RecordX3 = x; r.RecordY3 = y;
            break;
        case 3:
            r.RecordX4 = x; r.RecordY4 = y;
            break;
        default:
            break;
    }
}

// The split-off record: the fields that go on from the record it came from.
void Inherit(MapRecord& split, const MapRecord& from, int type) {
    split.RecordType = static_cast<std::uint8_t>(type);
    split.RecordColor = from.RecordColor;
    split.RecordPen = from.RecordPen;
    split.RecordText = from.RecordText;
    split.RecordSource = from.RecordSource;
}

// The family base of a line record that takes vertices, or -1.
int LineFamily(int type) {
    for (int base : {0, 40, 70, 90})
        if (type >= base + 1 && type <= base + 5) return base;
    return -1;
}

void InsertIntoRecord(App& app, double x, double y, int layer, int slot, int v) {
    auto& store = app.store;
    const int type = store.Get(layer, slot).RecordType;
    if (type == 12) {
        MapRecord& r = store.At(layer, slot);
        r.RecordType = 43;
        ShiftAfter(r, 1, x, y);
        return;
    }
    if (v < 1 || v > 4) return;
    if (type == 6) {
        // A closed quadrilateral becomes a closed pen line of five vertices: four in the record,
        // going on to the split-off record, which closes back on the first vertex.
        if (!OpenSlots(app, layer, slot + 1, 1)) return;
        MapRecord& r = store.At(layer, slot);
        MapRecord& split = store.At(layer, slot + 1);
        Inherit(split, r, 2);
        split.RecordX2 = r.RecordX1;
        split.RecordY2 = r.RecordY1;
        if (v == 4) {
            split.RecordX1 = x;
            split.RecordY1 = y;
        } else {
            split.RecordX1 = r.RecordX4;
            split.RecordY1 = r.RecordY4;
            ShiftAfter(r, v, x, y);
        }
        r.RecordType = 5;
        return;
    }
    const int base = LineFamily(type);
    if (base < 0) return;
    const int held = type - base;
    if (held <= 3) {
        if (v > held) return;  // no vertex v to insert after
        MapRecord& r = store.At(layer, slot);
        r.RecordType = static_cast<std::uint8_t>(type + 1);
        ShiftAfter(r, v, x, y);
        return;
    }
    if (!OpenSlots(app, layer, slot + 1, 1)) return;
    MapRecord& r = store.At(layer, slot);
    MapRecord& split = store.At(layer, slot + 1);
    if (held == 4) {
        Inherit(split, r, base + 1);
        split.RecordX1 = r.RecordX4;
        split.RecordY1 = r.RecordY4;
        r.RecordType = static_cast<std::uint8_t>(base + 5);
        if (v <= 2) ShiftAfter(r, v, x, y);
        else SetVertex(r, 4, x, y);
        return;
    }
    // Four vertices going on to the next record: the split-off two-vertex record bridges to it.
    Inherit(split, r, base + 2);
    split.RecordX1 = v == 4 ? x : r.RecordX4;
    split.RecordY1 = v == 4 ? y : r.RecordY4;
    const MapRecord& next = store.Get(layer, slot + 2);
    split.RecordX2 = next.RecordX1;
    split.RecordY2 = next.RecordY1;
    if (v <= 3) ShiftAfter(r, v, x, y);
}

}  // namespace

void InsertSlots(App& app, std::uint8_t layer, std::int16_t start, std::int16_t n) {
    GuardSilently([&] { OpenSlots(app, layer, start, n); });
}

bool InsertSlotsInPlace(App& app, std::uint8_t layer, std::int16_t start, std::int16_t n) {
    bool opened = false;
    GuardSilently([&] { opened = OpenSlots(app, layer, start, n, false); });
    return opened;
}

void DeleteSlots(App& app, std::uint8_t layer, std::int16_t start, std::int16_t n) {
    GuardSilently([&] {
        auto& store = app.store;
        const int count = store.Count(layer);
        if (n < 0 || start < 0 || start + n > count) return;
        for (int j = start; j <= count - n; ++j) {
            store.At(layer, j) = Take(store, layer, j + n);
        }
        for (int k = count - n; k <= count; ++k) Vacate(store, layer, k);
        store.Count(layer) = count - n;
        UndoSlotsDeleted(app, layer, start, n);
    });
}

void ReplaceLayerFrom(App& app, std::uint8_t layer, int from, std::vector<MapRecord>& records,
                      const std::vector<std::int32_t>& newStart) {
    auto& store = app.store;
    const int count = store.Count(layer);
    const int newCount = from + static_cast<int>(records.size());
    if (from < 0 || from > count || newCount > store.LayerCapacity) Raise(ErrSubscriptOutOfRange);
    for (std::size_t k = 0; k < records.size(); ++k) store.At(layer, from + static_cast<int>(k)) = std::move(records[k]);
    EndLayerAt(app, layer, count, newCount, from, newStart);
}

void RearrangeLayerFrom(App& app, std::uint8_t layer, int from, std::vector<MapRecord>& records,
                        const std::vector<std::int32_t>& newStart, const std::vector<bool>& kept) {
    auto& store = app.store;
    const int count = store.Count(layer);
    if (from < 0 || from > count || kept.size() != static_cast<std::size_t>(count - from) ||
        newStart.size() != kept.size() + 1)
        Raise(ErrSubscriptOutOfRange);
    const auto index = [from](int slot) { return static_cast<std::size_t>(slot - from); };
    const auto keptCount = static_cast<int>(std::count(kept.begin(), kept.end(), true));
    const int newCount = from + static_cast<int>(records.size()) + keptCount;
    if (newCount > store.LayerCapacity) Raise(ErrSubscriptOutOfRange);
    // The kept records keep their order, so those moving up go from the top down and those moving
    // down from the bottom up: none is written over before it has moved.
    for (int v = count - 1; v >= from; --v) {
        const int to = newStart[index(v)];
        if (kept[index(v)] && to > v) store.At(layer, to) = std::move(store.At(layer, v));
    }
    for (int v = from; v < count; ++v) {
        const int to = newStart[index(v)];
        if (kept[index(v)] && to < v) store.At(layer, to) = std::move(store.At(layer, v));
    }
    // The slots between them take the new records in order.
    std::size_t next = 0;
    int slot = from;
    const auto fillUpTo = [&](int end) {
        for (; slot < end; ++slot) store.At(layer, slot) = std::move(records.at(next++));
    };
    for (int v = from; v < count; ++v) {
        if (!kept[index(v)]) continue;
        fillUpTo(newStart[index(v)]);
        ++slot;
    }
    fillUpTo(newCount);
    EndLayerAt(app, layer, count, newCount, from, newStart);
}

void InsertVertex(App& app, double x, double y, std::uint8_t layer, std::int16_t slot, std::uint8_t v) {
    GuardSilently([&] {
        const int count = app.store.Count(layer);
        if (slot < 0 || slot >= count) return;
        InsertIntoRecord(app, x, y, layer, slot, v);
    });
}

void DeleteSelectionWithUndo(App& app) {
    auto& list = app.selection.SelectionList;
    const int cell = list.empty() ? 0 : list[0].Layer;
    if (cell < 2) {
        if (app.form1) app.form1->Text2.SetText("目标尚未选择");
        app.tool.CommandMode = ModeIdle;
        return;
    }
    GuardSilently([&] {
        const std::int32_t n = BeginUndoGroup(app);
        bool recorded = false;
        for (int k = 1; k <= cell - 1 && static_cast<std::size_t>(k) < list.size(); ++k) {
            const SelectedRecord entry = list[static_cast<std::size_t>(k)];
            MapRecord& r = app.store.At(entry.Layer, entry.Slot);
            if (r.RecordType >= 100) continue;  // already deleted
            r.RecordType = static_cast<std::uint8_t>(r.RecordType + 100);
            AppendUndoStep(app, entry.Layer, entry.Slot, UndoKindDelete, n);
            if (!recorded) {
                WriteUndoViewRecord(app, n);
                SetToolbar1Button(app, 6, true);
                recorded = true;
            }
        }
        if (recorded) {
            app.current.ModifiedFlag = -1;
            TrimUndoJournal(app);
        }
        list.assign(1, SelectedRecord{});
    });
}

}  // namespace movra
