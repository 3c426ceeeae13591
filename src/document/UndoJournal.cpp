#include "document/UndoJournal.h"

#include <algorithm>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "document/RecordTransforms.h"
#include "platform/Toolbar.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr const char* NothingSelected = "目标尚未选择";

UndoJournal& J(App& app) { return app.undo; }

bool IsSelectionKind(std::uint8_t kind) {
    return kind == UndoKindMove || kind == UndoKindRotate || kind == UndoKindFlipUpDown ||
           kind == UndoKindFlipLeftRight;
}

std::uint8_t SelectionKindOfMode(std::uint8_t mode) {
    switch (mode) {
        case ModeMoveSelection: return UndoKindMove;
        case ModeRotateSelection: return UndoKindRotate;
        case ModeFlipUpDown: return UndoKindFlipUpDown;
        case ModeFlipLeftRight: return UndoKindFlipLeftRight;
        default: return UndoKindBase;
    }
}

void ReleaseStepData(UndoJournal& j, UndoStepData& data) {
    if (data.Snapshot) j.SnapshotSlotsHeld -= static_cast<std::int64_t>(data.Snapshot->Records.size());
    data = UndoStepData{};
}

void ResizeSteps(UndoJournal& j, std::size_t size) {
    for (std::size_t k = size; k < j.UndoStepExtra.size(); ++k) ReleaseStepData(j, j.UndoStepExtra[k]);
    j.UndoStepLayer.resize(size);
    j.UndoStepSlot.resize(size);
    j.UndoStepKind.resize(size);
    j.UndoStepView.resize(size);
    j.UndoStepExtra.resize(size);
}

std::int32_t CurrentView(const UndoJournal& j) {
    return j.UndoStepView[static_cast<std::size_t>(j.UndoCurrentStep)];
}

void MarkModified(App& app) { app.current.ModifiedFlag = -1; }

// The coordinates of vertex v (1..4) of a record.
void VertexOf(const MapRecord& r, int v, double& x, double& y) {
    switch (v) {
        case 1: x = r.RecordX1; y = r.RecordY1; break;
        case 2: x = r.RecordX2; y = r.RecordY2; break;
        case 3: x = r.RecordX3; y = r.RecordY3; break;
        case 4: x = r.RecordX4; y = r.RecordY4; break;
        default: Raise(ErrSubscriptOutOfRange);
    }
}

const SelectedRecord& SelectedEntry(const App& app, int k) {
    const auto& list = app.selection.SelectionList;
    if (k < 0 || static_cast<std::size_t>(k) >= list.size()) Raise(ErrSubscriptOutOfRange);
    return list[static_cast<std::size_t>(k)];
}

// Keeps what a rotation may change of a text besides its place.
void KeepTextState(App& app, std::int32_t step, const SelectedRecord& entry, bool lone) {
    const MapRecord& r = app.store.Get(entry.Layer, entry.Slot);
    UndoStepData& data = J(app).UndoStepExtra[static_cast<std::size_t>(step)];
    data.FormerTextAngle = r.RecordZ2;
    data.FormerType = r.RecordType;
    data.TextReAngled = lone && r.RecordType >= 64 && r.RecordType <= 68;
}

}  // namespace

std::int32_t& UndoLayerMarkOf(App& app, int layer) {
    auto& marks = J(app).UndoLayerMark;
    if (layer < 0 || layer > 255) Raise(ErrSubscriptOutOfRange);
    if (static_cast<std::size_t>(layer) >= marks.size()) marks.resize(static_cast<std::size_t>(layer) + 1, -1);
    return marks[static_cast<std::size_t>(layer)];
}

void SetToolbar1Button(App& app, int index, bool enabled) {
    if (!app.form1) return;
    Control* control = app.form1->FindControl("Toolbar1");
    if (!control || control->Kind() != ControlKind::Toolbar) return;
    auto& bar = static_cast<Toolbar&>(*control);
    if (index >= 1 && index <= bar.ButtonCount()) bar.Buttons(index).SetEnabled(enabled);
}

void ResetUndo(App& app) {
    UndoJournal& j = J(app);
    ResizeSteps(j, 1);
    j.UndoStepLayer[0] = 0;
    j.UndoStepSlot[0] = 0;
    j.UndoStepKind[0] = 0;
    // View number 1 belongs to an opened map's base group, which undo never takes back. A journal
    // started without one (a new or an empty map) numbers its first group 2, so that the first
    // drawing on it can be undone like any other.
    j.UndoStepView[0] = 1;
    // Slot 0 holds a record like any other, so a layer counts as journalled from nothing (-1).
    j.UndoLayerMark.assign(static_cast<std::size_t>(app.store.LayerCount) + 1, -1);
    j.UndoCurrentStep = 0;
    j.UndoLastStep = 0;
    j.UndoStepTop = 0;
    j.UndoViewRecords.clear();
    j.PendingSelectionView = -1;
}

void DropUndoneSteps(App& app) {
    UndoJournal& j = J(app);
    if (j.UndoLastStep < 0) j.UndoLastStep = 0;
    if (j.UndoLastStep >= j.UndoCurrentStep) return;
    j.UndoCurrentStep = j.UndoLastStep;
    ResizeSteps(j, static_cast<std::size_t>(j.UndoCurrentStep) + 1);
    // The view records of the dropped groups are rewritten as the numbering passes them again.
    j.UndoViewRecords.erase(j.UndoViewRecords.upper_bound(CurrentView(j)), j.UndoViewRecords.end());
}

std::int32_t BeginUndoGroup(App& app) {
    UndoJournal& j = J(app);
    // A new map may leave UndoLastStep beyond the steps; the steps are the truth.
    j.UndoCurrentStep = std::clamp<std::int32_t>(j.UndoCurrentStep, 0,
                                                 static_cast<std::int32_t>(j.UndoStepView.size()) - 1);
    j.UndoLastStep = std::min(j.UndoLastStep, j.UndoCurrentStep);
    DropUndoneSteps(app);
    j.PendingSelectionView = -1;
    return CurrentView(j) + 1;
}

std::int32_t AppendUndoStep(App& app, int layer, int slot, std::uint8_t kind, std::int32_t view) {
    UndoJournal& j = J(app);
    if (layer < 0 || layer > 255 || slot < -1 || slot > MaxLayerCapacity) Raise(ErrSubscriptOutOfRange);
    ++j.UndoCurrentStep;
    ResizeSteps(j, static_cast<std::size_t>(j.UndoCurrentStep) + 1);
    const auto k = static_cast<std::size_t>(j.UndoCurrentStep);
    j.UndoStepLayer[k] = static_cast<std::uint8_t>(layer);
    j.UndoStepSlot[k] = static_cast<std::int16_t>(slot);
    j.UndoStepKind[k] = kind;
    j.UndoStepView[k] = view;
    j.UndoLastStep = j.UndoCurrentStep;
    return j.UndoCurrentStep;
}

UndoViewRecord& WriteUndoViewRecord(App& app, std::int32_t view) {
    UndoViewRecord& v = J(app).UndoViewRecords[view];
    v = UndoViewRecord{};
    v.RecordColor = app.current.CurrentColor;
    if (app.form1) {
        const PictureBox& canvas = app.form1->Picture1;
        v.RecordX1 = canvas.ScaleLeft();
        v.RecordY1 = canvas.ScaleTop();
        v.RecordX2 = canvas.ScaleWidth();
        v.RecordY2 = canvas.ScaleHeight();
    }
    v.RecordZ2 = app.view.DisplayZoom;
    v.RecordFont = app.current.CurrentFont;
    return v;
}

const UndoViewRecord* FindUndoViewRecord(const App& app, std::int32_t view) {
    const auto& records = app.undo.UndoViewRecords;
    auto it = records.find(view);
    return it == records.end() ? nullptr : &it->second;
}

void TrimUndoJournal(App& app) {
    UndoJournal& j = J(app);
    const auto over = [&j] {
        return j.UndoCurrentStep > j.UndoStepCap || j.SnapshotSlotsHeld > j.SnapshotSlotCap;
    };
    if (!over()) return;
    // Trim a tenth more than needed, so that erasing from the front stays rare.
    const std::int32_t stepTarget = j.UndoStepCap - j.UndoStepCap / 10;
    const std::int64_t slotTarget = j.SnapshotSlotCap - j.SnapshotSlotCap / 10;
    std::int32_t drop = 0;  // steps 1..drop go
    std::int64_t slots = j.SnapshotSlotsHeld;
    const std::int32_t newestGroupStart = [&j] {
        std::int32_t k = j.UndoCurrentStep;
        while (k > 1 && j.UndoStepView[static_cast<std::size_t>(k - 1)] == j.UndoStepView[static_cast<std::size_t>(k)]) --k;
        return k;
    }();
    while (drop + 1 < newestGroupStart && (j.UndoCurrentStep - drop > stepTarget || slots > slotTarget)) {
        // One whole group.
        const std::int32_t view = j.UndoStepView[static_cast<std::size_t>(drop + 1)];
        while (drop + 1 < newestGroupStart && j.UndoStepView[static_cast<std::size_t>(drop + 1)] == view) {
            ++drop;
            const auto& snapshot = j.UndoStepExtra[static_cast<std::size_t>(drop)].Snapshot;
            if (snapshot) slots -= static_cast<std::int64_t>(snapshot->Records.size());
        }
    }
    if (drop == 0) return;
    for (std::int32_t k = 1; k <= drop; ++k) ReleaseStepData(j, j.UndoStepExtra[static_cast<std::size_t>(k)]);
    const std::int32_t lastDroppedView = j.UndoStepView[static_cast<std::size_t>(drop)];
    const auto first = static_cast<std::ptrdiff_t>(1);
    const auto last = static_cast<std::ptrdiff_t>(drop) + 1;
    j.UndoStepLayer.erase(j.UndoStepLayer.begin() + first, j.UndoStepLayer.begin() + last);
    j.UndoStepSlot.erase(j.UndoStepSlot.begin() + first, j.UndoStepSlot.begin() + last);
    j.UndoStepKind.erase(j.UndoStepKind.begin() + first, j.UndoStepKind.begin() + last);
    j.UndoStepView.erase(j.UndoStepView.begin() + first, j.UndoStepView.begin() + last);
    j.UndoStepExtra.erase(j.UndoStepExtra.begin() + first, j.UndoStepExtra.begin() + last);
    // Step 0 takes the view number of the last group trimmed: the numbering goes on from it, and
    // undoing the oldest group left brings back that group's view.
    j.UndoStepView[0] = lastDroppedView;
    j.UndoCurrentStep -= drop;
    j.UndoLastStep = std::max(0, j.UndoLastStep - drop);
    j.UndoViewRecords.erase(j.UndoViewRecords.begin(), j.UndoViewRecords.lower_bound(lastDroppedView));
}

void RestartUndo(App& app) {
    UndoJournal& j = J(app);
    ResetUndo(app);
    for (int layer = 0; layer <= app.store.LayerCount; ++layer)
        UndoLayerMarkOf(app, layer) = app.store.Count(layer) - 1;
    // The next group gets view number 2, which undo takes back (1 is an opened map's base).
    j.UndoStepView[0] = 1;
    SetToolbar1Button(app, 6, false);
    SetToolbar1Button(app, 7, false);
}

void UndoCheckpoint(App& app, std::uint8_t command) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        UndoJournal& j = J(app);
        auto& store = app.store;
        for (int layer = 0; layer <= store.LayerCount; ++layer) UndoLayerMarkOf(app, layer);
        if (command == 0) {
            ResizeSteps(j, 1);
            j.UndoCurrentStep = 0;
            j.UndoLastStep = 0;
            j.UndoStepView[0] = 0;
            j.UndoViewRecords.clear();
            j.PendingSelectionView = -1;
        }
        if (app.tool.CommandMode == ModeJournalHold) {
            // An opened map is where the journal starts even when its base is not recorded, so
            // that no later group takes the opened records for appended ones.
            if (command == 0) {
                for (int layer = 1; layer <= store.LayerCount; ++layer)
                    UndoLayerMarkOf(app, layer) = store.Count(layer) - 1;
                // Without a base group the first group numbers 2, so that it can be taken back.
                j.UndoStepView[0] = 1;
            }
            return;
        }
        // A checkpoint between the two clicks of a move or rotation records nothing of it; the
        // second click must still find the step its first click opened.
        const std::int32_t pending = j.PendingSelectionView;
        const std::int32_t n = BeginUndoGroup(app);
        bool appended = false;
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            std::int32_t& mark = UndoLayerMarkOf(app, layer);
            const std::int32_t last = store.Count(layer) - 1;
            if (last > mark) {
                const std::int32_t step =
                    AppendUndoStep(app, layer, last, command == 0 ? UndoKindBase : UndoKindAppend, n);
                j.UndoStepExtra[static_cast<std::size_t>(step)].PreviousEnd = mark;
                mark = last;
                appended = true;
            } else if (last < mark) {
                // The layer shrank outside the journal: records appended from here on are new.
                mark = last;
            }
        }
        if (command == 0 && !appended) j.UndoStepView[0] = 1;  // no base group: see ResetUndo
        if (appended) {
            if (command != 0) MarkModified(app);
            UndoViewRecord& v = WriteUndoViewRecord(app, n);
            if (command == 0) v.RecordZ2 = 0.5;
        } else {
            j.PendingSelectionView = pending;
        }
        if (command != 0) SetToolbar1Button(app, 6, true);
        TrimUndoJournal(app);
    });
}

void UndoStepCut(App& app, std::uint8_t layer, std::int16_t slot, std::uint8_t vertex, double x, double y) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        double oldX = 0, oldY = 0;
        VertexOf(app.store.Get(layer, slot), vertex, oldX, oldY);
        const std::int32_t n = BeginUndoGroup(app);
        AppendUndoStep(app, layer, slot, UndoKindCut, n);
        UndoViewRecord& v = WriteUndoViewRecord(app, n);
        v.RecordType = vertex;
        v.RecordPen = 1;
        v.RecordX3 = x;
        v.RecordY3 = y;
        v.RecordX4 = oldX;
        v.RecordY4 = oldY;
        v.RecordZ4 = vertex;
        v.RecordFont.clear();
        MarkModified(app);
        SetToolbar1Button(app, 6, true);
        TrimUndoJournal(app);
    });
}

std::shared_ptr<LayerSnapshot> SaveLayerSnapshot(App& app, const std::string& name, int layer, int /*slot*/) {
    const auto& store = app.store;
    auto snapshot = std::make_shared<LayerSnapshot>();
    snapshot->Name = name;
    snapshot->Layer = layer;
    snapshot->Count = store.Count(layer);
    const int last = std::min<int>(snapshot->Count, store.LayerCapacity);
    snapshot->Records.reserve(static_cast<std::size_t>(std::max(0, last + 1)));
    for (int slot = 0; slot <= last; ++slot) snapshot->Records.push_back(store.Get(layer, slot));
    return snapshot;
}

void RestoreLayerSnapshot(App& app, const LayerSnapshot& snapshot) {
    GuardSilently([&] {
        auto& store = app.store;
        const int layer = snapshot.Layer;
        store.Count(layer);  // checks the layer
        for (std::size_t slot = 0; slot < snapshot.Records.size(); ++slot)
            store.At(layer, static_cast<int>(slot)) = snapshot.Records[slot];
        // What the snapshot does not hold is no longer the layer's: no stale record stays behind.
        store.ClearFrom(layer, static_cast<int>(snapshot.Records.size()));
        store.Count(layer) = snapshot.Count;
        UndoLayerMarkOf(app, layer) = snapshot.Count - 1;
    });
}

void UndoStepSnapshot(App& app, std::uint8_t layer, std::int16_t slot, std::int16_t before) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        UndoJournal& j = J(app);
        const std::int32_t count = app.store.Count(layer);
        const std::int32_t n = BeginUndoGroup(app);
        const std::int32_t step = AppendUndoStep(app, layer, slot, UndoKindSnapshot, n);
        UndoViewRecord& v = WriteUndoViewRecord(app, n);
        v.RecordX3 = count;
        std::string name = std::to_string(j.SnapshotCounter);
        if (before == -1) {
            name += "t";
        } else {
            name += "f";
            SetToolbar1Button(app, 6, true);
            j.SnapshotCounter = static_cast<std::uint8_t>((j.SnapshotCounter + 1) % 10);
            MarkModified(app);
        }
        v.RecordText = name;
        auto snapshot = SaveLayerSnapshot(app, name, layer, slot);
        snapshot->Before = before == -1;
        j.SnapshotSlotsHeld += static_cast<std::int64_t>(snapshot->Records.size());
        j.UndoStepExtra[static_cast<std::size_t>(step)].Snapshot = std::move(snapshot);
        // The after-snapshot accounts for the whole layer: what the command appended is not taken
        // for a later command's records.
        if (before != -1) UndoLayerMarkOf(app, layer) = count - 1;
        TrimUndoJournal(app);
    });
}

void UndoStepTool(App& app, double x, double y, std::uint8_t layer, std::int16_t slot, std::uint8_t vertex) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        const auto& scratch = app.geometry.ScratchXY;
        if (scratch.size() < 2) Raise(ErrSubscriptOutOfRange);
        app.store.Get(layer, slot);  // checks the record
        const std::int32_t n = BeginUndoGroup(app);
        const std::uint8_t kind = app.tool.CommandMode == ModeMoveVertex ? UndoKindVertexMove : UndoKindBase;
        AppendUndoStep(app, layer, slot, kind, n);
        UndoViewRecord& v = WriteUndoViewRecord(app, n);
        v.RecordX3 = scratch[0];
        v.RecordY3 = scratch[1];
        v.RecordX4 = x;
        v.RecordY4 = y;
        v.RecordZ4 = vertex;
        MarkModified(app);
        SetToolbar1Button(app, 6, true);
        TrimUndoJournal(app);
    });
}

void UndoStepSelection(App& app, std::uint8_t phase, double p1, double p2) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        UndoJournal& j = J(app);
        const auto& list = app.selection.SelectionList;
        const int cell = list.empty() ? 0 : list[0].Layer;
        if (cell <= 1) {
            app.platform.prompt().MsgBox(NothingSelected, MsgOkOnly);
            app.tool.CommandMode = ModeIdle;
            return;
        }
        const std::uint8_t kind = SelectionKindOfMode(app.tool.CommandMode);
        // Only the four transform tools record here; any other mode would leave a step no undo
        // can take back.
        if (kind == UndoKindBase) return;
        const std::int32_t pending = j.PendingSelectionView;
        const std::int32_t n = BeginUndoGroup(app);
        const std::int32_t e = n - 1;
        if (phase == 0) {
            const SelectedRecord& first = SelectedEntry(app, 1);
            const MapRecord& r = app.store.Get(first.Layer, first.Slot);
            const std::int32_t step = AppendUndoStep(app, first.Layer, first.Slot, kind, n);
            if (kind == UndoKindRotate) KeepTextState(app, step, first, cell == 2);
            UndoViewRecord& v = WriteUndoViewRecord(app, n);
            v.RecordX3 = r.RecordX1;
            v.RecordY3 = r.RecordY1;
            if (kind == UndoKindFlipUpDown || kind == UndoKindFlipLeftRight) {
                // A mirror journals after mirroring: the point kept must lie on its axis.
                double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
                double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
                MirrorAxisPoint(r.RecordType, xs, ys, kind == UndoKindFlipLeftRight, v.RecordX3, v.RecordY3);
            }
            v.RecordX4 = p1;
            v.RecordY4 = p2;
            // Until the second point comes, the step replays as no change at all.
            v.RecordZ3 = kind == UndoKindMove ? r.RecordX1 : p1;
            v.RecordZ4 = kind == UndoKindMove ? r.RecordY1 : p2;
            j.PendingSelectionView = n;
            MarkModified(app);
            TrimUndoJournal(app);
            return;
        }
        SetToolbar1Button(app, 6, true);
        // The second phase belongs to the first one recorded just before it; without that, its
        // parameters would be another group's.
        if (pending != e || !IsSelectionKind(j.UndoStepKind[static_cast<std::size_t>(j.UndoCurrentStep)])) return;
        UndoViewRecord& opening = j.UndoViewRecords[e];
        opening.RecordZ3 = p1;
        opening.RecordZ4 = p2;
        const UndoViewRecord copy = opening;
        for (int k = 2; k <= cell - 1; ++k) {
            const SelectedRecord& entry = SelectedEntry(app, k);
            app.store.Get(entry.Layer, entry.Slot);  // checks the record
            const std::int32_t step = AppendUndoStep(app, entry.Layer, entry.Slot, kind, n);
            if (kind == UndoKindRotate) KeepTextState(app, step, entry, false);
        }
        UndoViewRecord& v = WriteUndoViewRecord(app, n);
        v.RecordX3 = copy.RecordX3;
        v.RecordY3 = copy.RecordY3;
        v.RecordX4 = copy.RecordX4;
        v.RecordY4 = copy.RecordY4;
        v.RecordZ3 = p1;
        v.RecordZ4 = p2;
        MarkModified(app);
        TrimUndoJournal(app);
    });
}

// --- Slots that moved ---

namespace {

bool NamesOneRecord(std::uint8_t kind) {
    return kind != UndoKindBase && kind != UndoKindAppend && kind != UndoKindSnapshot;
}

// Whether the journal can follow a slot move of the layer. The move is part of the command whose
// before-snapshot is the newest step; a snapshot of the layer from an earlier command holds the
// layer as it was laid out before, which no shifting can bring into line.
enum class Follow { Covered, Shift, Restart };

Follow HowToFollow(App& app, int layer) {
    UndoJournal& j = J(app);
    DropUndoneSteps(app);
    const auto newest = static_cast<std::size_t>(j.UndoCurrentStep);
    if (newest >= 1 && j.UndoStepKind[newest] == UndoKindSnapshot && j.UndoStepLayer[newest] == layer &&
        j.UndoStepExtra[newest].Snapshot && j.UndoStepExtra[newest].Snapshot->Before)
        return Follow::Covered;
    for (std::size_t k = 1; k <= newest; ++k)
        if (j.UndoStepKind[k] == UndoKindSnapshot && j.UndoStepLayer[k] == layer) return Follow::Restart;
    return Follow::Shift;
}

template <class MapSlot, class MapEnd>
void ShiftLayer(App& app, int layer, MapSlot mapSlot, MapEnd mapEnd) {
    UndoJournal& j = J(app);
    for (std::size_t k = 1; k <= static_cast<std::size_t>(j.UndoCurrentStep); ++k) {
        if (j.UndoStepLayer[k] != layer) continue;
        if (NamesOneRecord(j.UndoStepKind[k])) {
            j.UndoStepSlot[k] = static_cast<std::int16_t>(mapSlot(j.UndoStepSlot[k]));
        } else if (j.UndoStepKind[k] != UndoKindSnapshot) {
            j.UndoStepSlot[k] = static_cast<std::int16_t>(mapEnd(j.UndoStepSlot[k]));
            auto& previous = j.UndoStepExtra[k].PreviousEnd;
            previous = mapEnd(previous);
        }
    }
    std::int32_t& mark = UndoLayerMarkOf(app, layer);
    mark = mapEnd(mark);
}

}  // namespace

void UndoSlotsInserted(App& app, int layer, int start, int n) {
    if (n <= 0) return;
    const Follow follow = HowToFollow(app, layer);
    if (follow == Follow::Covered) return;
    if (follow == Follow::Restart) return RestartUndo(app);
    const auto shift = [start, n](std::int32_t v) { return v >= start ? v + n : v; };
    ShiftLayer(app, layer, shift, shift);
}

void UndoSlotsDeleted(App& app, int layer, int start, int n) {
    if (n <= 0) return;
    const Follow follow = HowToFollow(app, layer);
    if (follow == Follow::Covered) return;
    if (follow == Follow::Restart) return RestartUndo(app);
    UndoJournal& j = J(app);
    for (std::size_t k = 1; k <= static_cast<std::size_t>(j.UndoCurrentStep); ++k) {
        if (j.UndoStepLayer[k] == layer && NamesOneRecord(j.UndoStepKind[k]) && j.UndoStepSlot[k] >= start &&
            j.UndoStepSlot[k] < start + n)
            return RestartUndo(app);  // the step's record is gone
    }
    const auto slot = [start, n](std::int32_t v) { return v >= start + n ? v - n : v; };
    // A layer that ended at e keeps the records of 0..e that remain.
    const auto end = [start, n](std::int32_t e) {
        if (e < start) return e;
        return e < start + n ? start - 1 : e - n;
    };
    ShiftLayer(app, layer, slot, end);
}

void UndoSlotsRearranged(App& app, int layer, int from, const std::vector<std::int32_t>& newStart, int newCount) {
    if (newStart.empty()) return;
    const int oldCount = from + static_cast<int>(newStart.size()) - 1;
    const int growth = newCount - oldCount;
    const Follow follow = HowToFollow(app, layer);
    if (follow == Follow::Covered) return;
    if (follow == Follow::Restart) return RestartUndo(app);
    const auto index = [from](std::int32_t v) { return static_cast<std::size_t>(v - from); };
    const auto gone = [&](std::int32_t v) { return newStart[index(v)] == newStart[index(v) + 1]; };
    UndoJournal& j = J(app);
    for (std::size_t k = 1; k <= static_cast<std::size_t>(j.UndoCurrentStep); ++k) {
        const std::int32_t v = j.UndoStepSlot[k];
        if (j.UndoStepLayer[k] == layer && NamesOneRecord(j.UndoStepKind[k]) && v >= from && v < oldCount && gone(v))
            return RestartUndo(app);  // the step's record is gone
    }
    const auto slot = [&](std::int32_t v) {
        if (v < from) return v;
        return v < oldCount ? newStart[index(v)] : v + growth;
    };
    // A layer that ended at a record that is gone ends just before where it stood.
    const auto end = [&](std::int32_t e) {
        if (e < from) return e;
        if (e >= oldCount) return e + growth;
        return gone(e) ? newStart[index(e)] - 1 : newStart[index(e)];
    };
    ShiftLayer(app, layer, slot, end);
}

}  // namespace movra
