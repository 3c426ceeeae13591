#include "document/UndoRedo.h"

#include <algorithm>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "document/SlotEditing.h"
#include "document/UndoJournal.h"
#include "document/RecordTransforms.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

std::size_t At(std::int32_t step) { return static_cast<std::size_t>(step); }

void RestoreView(App& app, const UndoViewRecord* v, bool zeroZoomIsOne = false) {
    if (!v) return;
    // A view recorded without a canvas has no extent to give back.
    if (app.form1 && v->RecordX2 != 0 && v->RecordY2 != 0)
        app.form1->Picture1.SetScale(v->RecordX1, v->RecordY1, v->RecordX2, v->RecordY2);
    app.view.DisplayZoom = zeroZoomIsOne && v->RecordZ2 == 0 ? 1.0 : v->RecordZ2;
}

void SetVertex(MapRecord& r, double v, double x, double y) {
    if (v == 1) { r.RecordX1 = x; r.RecordY1 = y; }
    else if (v == 2) { r.RecordX2 = x; r.RecordY2 = y; }
    else if (v == 3) { r.RecordX3 = x; r.RecordY3 = y; }
    else if (v == 4) { r.RecordX4 = x; r.RecordY4 = y; }
}

MapRecord& StepRecord(App& app, std::int32_t step) {
    const UndoJournal& j = app.undo;
    return app.store.At(j.UndoStepLayer[At(step)], j.UndoStepSlot[At(step)]);
}

// Undo of an append step: the layer ends where it ended before the step; what lay after that is
// held by the journal and its slots are emptied.
void TakeBackAppend(App& app, std::int32_t step) {
    UndoJournal& j = app.undo;
    UndoStepData& data = j.UndoStepExtra[At(step)];
    auto& store = app.store;
    const int layer = j.UndoStepLayer[At(step)];
    const std::int32_t count = store.Count(layer);
    const std::int32_t first = std::min(data.PreviousEnd, count - 1) + 1;
    data.Held.clear();
    for (std::int32_t slot = first; slot < count; ++slot) {
        if (slot < store.AllocatedSlots(layer)) data.Held.push_back(std::move(store.At(layer, slot)));
        else data.Held.emplace_back();
    }
    data.HeldFirst = first;
    data.Holding = true;
    store.ClearFrom(layer, first);
    store.Count(layer) = first;
    UndoLayerMarkOf(app, layer) = first - 1;
}

// Whether redo finds the layer ending where undo left it.
bool CanPutBack(App& app, std::int32_t step) {
    const UndoJournal& j = app.undo;
    const UndoStepData& data = j.UndoStepExtra[At(step)];
    return data.Holding && app.store.Count(j.UndoStepLayer[At(step)]) == data.HeldFirst &&
           data.HeldFirst + static_cast<std::int64_t>(data.Held.size()) <= app.store.LayerCapacity;
}

void PutBackAppend(App& app, std::int32_t step) {
    UndoJournal& j = app.undo;
    UndoStepData& data = j.UndoStepExtra[At(step)];
    auto& store = app.store;
    const int layer = j.UndoStepLayer[At(step)];
    std::int32_t slot = data.HeldFirst;
    for (MapRecord& r : data.Held) store.At(layer, slot++) = std::move(r);
    store.Count(layer) = slot;
    UndoLayerMarkOf(app, layer) = slot - 1;
    data.Held.clear();
    data.Holding = false;
}

void SelectSteps(App& app, const std::vector<std::int32_t>& steps) {
    const UndoJournal& j = app.undo;
    auto& list = app.selection.SelectionList;
    list.assign(1, SelectedRecord{});
    for (std::int32_t step : steps) list.push_back({j.UndoStepLayer[At(step)], j.UndoStepSlot[At(step)]});
    list[0].Layer = static_cast<std::int32_t>(list.size());
}

// A lone text that a rotation re-angled gets its former angle and kind back; the others keep
// them through the replay.
void RestoreTextState(App& app, const std::vector<std::int32_t>& steps, bool onlyUnchanged) {
    for (std::int32_t step : steps) {
        const UndoStepData& data = app.undo.UndoStepExtra[At(step)];
        if (onlyUnchanged && data.TextReAngled) continue;
        MapRecord& r = StepRecord(app, step);
        r.RecordZ2 = data.FormerTextAngle;
        r.RecordType = data.FormerType;
    }
}

void Replay(App& app, std::uint8_t kind, const UndoViewRecord& v, bool undo) {
    ToolState& tool = app.tool;
    switch (kind) {
        case UndoKindMove:
            tool.AnchorX = undo ? v.RecordZ3 - v.RecordX3 : v.RecordX3 - v.RecordZ3;
            tool.AnchorY = undo ? v.RecordZ4 - v.RecordY3 : v.RecordY3 - v.RecordZ4;
            平移后(app, tool.AnchorX, tool.AnchorY, 0, 0, 255);
            break;
        case UndoKindRotate:
            tool.StepParamA = v.RecordX4;
            tool.StepParamB = v.RecordY4;
            tool.AnchorX = v.RecordX3;
            tool.AnchorY = v.RecordY3;
            if (undo) 旋转后(app, v.RecordZ3, v.RecordZ4, tool.StepParamA, tool.StepParamB, 255);
            else 旋转后(app, tool.StepParamA, tool.StepParamB, v.RecordZ3, v.RecordZ4, 255);
            break;
        case UndoKindFlipUpDown:
            tool.AnchorX = v.RecordX3;
            tool.AnchorY = v.RecordY3;
            Y镜像(app, tool.AnchorX, tool.AnchorY, 1);
            break;
        case UndoKindFlipLeftRight:
            tool.AnchorX = v.RecordX3;
            tool.AnchorY = v.RecordY3;
            X镜像(app, tool.AnchorX, tool.AnchorY, 1);
            break;
        default:
            break;
    }
}

bool NothingToUndoAt(const UndoJournal& j, std::int32_t p) {
    return p < 1 || p > j.UndoCurrentStep || j.UndoStepView[At(p)] <= 1 || j.UndoStepKind[At(p)] == UndoKindBase;
}

// Moves, rotations and flips are replayed from a copy of their view record: the replay goes
// through the editing procedures, which may rewrite or trim the journal's view records.
UndoViewRecord RestoreTransformView(App& app, const UndoViewRecord* record) {
    if (!record) Raise(ErrSubscriptOutOfRange);
    const UndoViewRecord v = *record;
    RestoreView(app, &v);
    return v;
}

// The group's records are selected and the transformation is replayed backwards (undo) or again
// (redo); a rotation then gives its texts their recorded angle and kind back (on redo only the
// texts it did not re-angle).
void ReplayTransformGroup(App& app, std::uint8_t kind, const UndoViewRecord& v,
                          const std::vector<std::int32_t>& group, bool undo) {
    SelectSteps(app, group);
    Replay(app, kind, v, undo);
    if (kind == UndoKindRotate) RestoreTextState(app, group, !undo);
}

// A vertex move keeps the vertex's former place in X3/Y3 and its new one in X4/Y4; a cut the other
// way round. Undo puts the former place back, redo the new one.
void RestoreVertexStep(App& app, std::uint8_t kind, std::int32_t step, const UndoViewRecord* record, bool undo) {
    RestoreView(app, record);
    if (!record) return;
    MapRecord& r = StepRecord(app, step);
    if ((kind == UndoKindVertexMove) == undo) SetVertex(r, record->RecordZ4, record->RecordX3, record->RecordY3);
    else SetVertex(r, record->RecordZ4, record->RecordX4, record->RecordY4);
}

void RestoreSnapshotStep(App& app, std::int32_t step, const UndoViewRecord* record) {
    RestoreView(app, record);
    app.tool.CommandMode = ModeJournalHold;
    const auto snapshot = app.undo.UndoStepExtra[At(step)].Snapshot;
    if (snapshot) RestoreLayerSnapshot(app, *snapshot);
}

// A command that rewrites a layer in place records a snapshot before and one after: the step
// number of the one before when `after` is such an after-snapshot, else 0. The pair is one
// undo and one redo.
std::int32_t SnapshotBefore(const UndoJournal& j, std::int32_t after) {
    if (after < 2 || after > j.UndoCurrentStep) return 0;
    const std::int32_t before = after - 1;
    if (j.UndoStepKind[At(before)] != UndoKindSnapshot || j.UndoStepKind[At(after)] != UndoKindSnapshot) return 0;
    if (j.UndoStepLayer[At(before)] != j.UndoStepLayer[At(after)]) return 0;
    const auto& b = j.UndoStepExtra[At(before)].Snapshot;
    const auto& a = j.UndoStepExtra[At(after)].Snapshot;
    return b && a && b->Before && !a->Before ? before : 0;
}

}  // namespace

void Undo(App& app) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        if (app.tool.SymbolMakingMode == -1) return;
        UndoJournal& j = app.undo;
        const auto steps = static_cast<std::int32_t>(j.UndoStepView.size());
        if (j.UndoLastStep >= steps || j.UndoLastStep > j.UndoCurrentStep) {
            j.UndoLastStep = std::min(j.UndoLastStep - 1, j.UndoCurrentStep);
            return;
        }
        const std::int32_t p = j.UndoLastStep;
        if (NothingToUndoAt(j, p)) {
            SetToolbar1Button(app, 6, false);
            return;
        }
        const std::uint8_t kind = j.UndoStepKind[At(p)];
        const std::int32_t view = j.UndoStepView[At(p)];
        const UndoViewRecord* record = FindUndoViewRecord(app, view);
        const auto inGroup = [&j, view] { return j.UndoLastStep >= 1 && j.UndoStepView[At(j.UndoLastStep)] == view; };
        switch (kind) {
            case UndoKindAppend:
                // Every layer the group grew ends where it ended before the group.
                while (inGroup()) {
                    if (j.UndoStepKind[At(j.UndoLastStep)] == UndoKindAppend) TakeBackAppend(app, j.UndoLastStep);
                    --j.UndoLastStep;
                }
                RestoreView(app, FindUndoViewRecord(app, j.UndoStepView[At(j.UndoLastStep)]));
                break;
            case UndoKindDelete:
                RestoreView(app, record, true);
                while (inGroup()) {
                    MapRecord& r = StepRecord(app, j.UndoLastStep);
                    if (r.RecordType >= 100) r.RecordType = static_cast<std::uint8_t>(r.RecordType - 100);
                    --j.UndoLastStep;
                }
                break;
            case UndoKindMove:
            case UndoKindRotate:
            case UndoKindFlipUpDown:
            case UndoKindFlipLeftRight: {
                const UndoViewRecord v = RestoreTransformView(app, record);
                std::vector<std::int32_t> group;  // newest first
                while (inGroup()) group.push_back(j.UndoLastStep--);
                ReplayTransformGroup(app, kind, v, group, true);
                break;
            }
            case UndoKindVertexMove:
            case UndoKindCut:
                RestoreVertexStep(app, kind, p, record, true);
                --j.UndoLastStep;
                break;
            case UndoKindSnapshot:
                if (const std::int32_t before = SnapshotBefore(j, p)) {
                    RestoreSnapshotStep(app, before, FindUndoViewRecord(app, j.UndoStepView[At(before)]));
                    j.UndoLastStep = before - 1;
                } else {
                    RestoreSnapshotStep(app, p, record);
                    --j.UndoLastStep;
                }
                break;
            default:
                return;  // not taken back
        }
        app.current.ModifiedFlag = -1;
        SetToolbar1Button(app, 7, true);
        if (NothingToUndoAt(j, j.UndoLastStep)) SetToolbar1Button(app, 6, false);
    });
}

void Redo(App& app) {
    GuardToMessageBox(app.platform.prompt(), [&] {
        if (app.tool.SymbolMakingMode == -1) return;
        UndoJournal& j = app.undo;
        const auto steps = static_cast<std::int32_t>(j.UndoStepView.size());
        if (j.UndoLastStep < 0) j.UndoLastStep = 0;
        if (j.UndoLastStep >= j.UndoCurrentStep || j.UndoLastStep + 1 >= steps) {
            SetToolbar1Button(app, 7, false);
            return;
        }
        const std::int32_t s = j.UndoLastStep + 1;
        const std::int32_t view = j.UndoStepView[At(s)];
        std::int32_t t = s;
        while (t + 1 <= j.UndoCurrentStep && j.UndoStepView[At(t + 1)] == view) ++t;
        const std::uint8_t kind = j.UndoStepKind[At(s)];
        const UndoViewRecord* record = FindUndoViewRecord(app, view);
        std::vector<std::int32_t> group;
        for (std::int32_t k = s; k <= t; ++k) group.push_back(k);
        switch (kind) {
            case UndoKindBase:
                j.UndoLastStep = t;
                SetToolbar1Button(app, 6, false);
                if (t == j.UndoCurrentStep) SetToolbar1Button(app, 7, false);
                return;
            case UndoKindAppend:
                // Records drawn since the undo, outside the journal, would be overwritten: the
                // steps undone can then no longer be redone.
                for (std::int32_t k : group) {
                    if (j.UndoStepKind[At(k)] == UndoKindAppend && !CanPutBack(app, k)) {
                        DropUndoneSteps(app);
                        SetToolbar1Button(app, 7, false);
                        return;
                    }
                }
                RestoreView(app, record);
                for (std::int32_t k : group)
                    if (j.UndoStepKind[At(k)] == UndoKindAppend) PutBackAppend(app, k);
                break;
            case UndoKindDelete:
                RestoreView(app, record, true);
                for (std::int32_t k : group) {
                    MapRecord& r = StepRecord(app, k);
                    if (r.RecordType < 100) r.RecordType = static_cast<std::uint8_t>(r.RecordType + 100);
                }
                break;
            case UndoKindMove:
            case UndoKindRotate:
            case UndoKindFlipUpDown:
            case UndoKindFlipLeftRight:
                ReplayTransformGroup(app, kind, RestoreTransformView(app, record), group, false);
                break;
            case UndoKindVertexMove:
            case UndoKindCut:
                RestoreVertexStep(app, kind, s, record, false);
                break;
            case UndoKindSnapshot:
                if (SnapshotBefore(j, s + 1) == s) {
                    t = s + 1;
                    RestoreSnapshotStep(app, t, FindUndoViewRecord(app, j.UndoStepView[At(t)]));
                } else {
                    RestoreSnapshotStep(app, s, record);
                }
                break;
            default:
                return;  // not redone
        }
        j.UndoLastStep = t;
        app.current.ModifiedFlag = -1;
        SetToolbar1Button(app, 6, true);
        if (t == j.UndoCurrentStep) SetToolbar1Button(app, 7, false);
    });
}

int DeleteBySourceTag(App& app, std::uint8_t tag) {
    int removed = 0;
    GuardToMessageBox(app.platform.prompt(), [&] {
        auto& store = app.store;
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            // Slot 0 holds a record like any other and is examined too.
            for (int i = 0; i < store.Count(layer); ++i) {
                if (store.Get(layer, i).RecordSource != tag) continue;
                const int count = store.Count(layer);
                int run = 1;
                while (i + run < count && store.Get(layer, i + run).RecordSource == tag) ++run;
                DeleteSlots(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(i),
                            static_cast<std::int16_t>(run));
                removed += run;
            }
        }
    });
    return removed;
}

}  // namespace movra
