// The undo journal on a map of 100,000 records: the memory its 10,000 steps hold and how long
// undoing and redoing them all takes.

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "App.h"
#include "document/ColorTable.h"
#include "document/Layers.h"
#include "document/SlotEditing.h"
#include "document/StoreRecord.h"
#include "document/UndoJournal.h"
#include "document/UndoRedo.h"
#include "document/RecordTransforms.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

constexpr int LayersUsed = 4;
constexpr int RecordsPerLayer = 25000;
constexpr int Steps = 10000;

// Heap bytes the journal holds: its step arrays, view records, held records and snapshots.
double JournalMegabytes(const UndoJournal& j) {
    double bytes = 0;
    bytes += static_cast<double>(j.UndoStepLayer.capacity() + j.UndoStepKind.capacity());
    bytes += static_cast<double>(j.UndoStepSlot.capacity()) * sizeof(std::int16_t);
    bytes += static_cast<double>(j.UndoStepView.capacity()) * sizeof(std::int32_t);
    bytes += static_cast<double>(j.UndoStepExtra.capacity()) * sizeof(UndoStepData);
    for (const UndoStepData& d : j.UndoStepExtra) {
        bytes += static_cast<double>(d.Held.capacity()) * sizeof(MapRecord);
        if (d.Snapshot) bytes += static_cast<double>(d.Snapshot->Records.capacity()) * sizeof(MapRecord);
    }
    // A map node: the record, the key and the tree links.
    bytes += static_cast<double>(j.UndoViewRecords.size()) * (sizeof(UndoViewRecord) + 48);
    return bytes / (1024.0 * 1024.0);
}

struct Map {
    FakePlatform fake{"/tmp", "/tmp"};
    App app{fake};
    Map() {
        FillColorAndFontTables(app);
        NewDocument(app);
        auto& store = app.store;
        store.LayerCount = LayersUsed;
        store.NextLayerIndex = LayersUsed + 1;
        store.DimensionKeep(LayersUsed);
        store.LayerCapacity = 32000;
        for (int layer = 1; layer <= LayersUsed; ++layer) {
            store.CurrentLayer = static_cast<std::uint8_t>(layer);
            for (int k = 0; k < RecordsPerLayer; ++k)
                StoreRecord(app, StoreFull, 2, k, layer, k + 1, layer + 1, 0, 0, 0, 0, "");
        }
        ResetUndo(app);
        UndoCheckpoint(app, 0);
        app.tool.CommandMode = 17;
    }

    void Select(int layer, int slot) {
        app.selection.SelectionList = {{2, 0}, {layer, slot}};
    }

    // 10,000 steps: appended records, deletions and moves of one record (two groups each).
    void Record() {
        int step = 0;
        for (int k = 0; step < Steps; ++k) {
            const int layer = 1 + k % LayersUsed;
            switch (k % 3) {
                case 0:
                    app.store.CurrentLayer = static_cast<std::uint8_t>(layer);
                    app.tool.CommandMode = 17;
                    StoreRecord(app, StoreFull, 2, k, k, k + 1, k + 1, 0, 0, 0, 0, "");
                    UndoCheckpoint(app, 1);
                    ++step;
                    break;
                case 1:
                    Select(layer, (k * 7) % RecordsPerLayer);
                    DeleteSelectionWithUndo(app);
                    ++step;
                    break;
                default:
                    Select(layer, (k * 13) % RecordsPerLayer);
                    app.tool.CommandMode = ModeMoveSelection;
                    UndoStepSelection(app, 0, 0, 0);
                    平移后(app, k, -k, 0, 0, 0);
                    UndoStepSelection(app, 1, k, -k);
                    ++step;
                    break;
            }
        }
    }
};

double Milliseconds(std::chrono::steady_clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

void BM_Undo10000StepsOn100000Records(benchmark::State& state) {
    Map map;
    const auto recordStart = std::chrono::steady_clock::now();
    map.Record();
    const double recordMs = Milliseconds(std::chrono::steady_clock::now() - recordStart);
    double undoMs = 0, redoMs = 0, heldMb = 0;
    int groups = 0;
    for (auto _ : state) {
        const auto undoStart = std::chrono::steady_clock::now();
        groups = 0;
        while (map.app.undo.UndoLastStep > 1) {
            const auto before = map.app.undo.UndoLastStep;
            Undo(map.app);
            if (map.app.undo.UndoLastStep == before) break;
            ++groups;
        }
        undoMs = Milliseconds(std::chrono::steady_clock::now() - undoStart);
        heldMb = JournalMegabytes(map.app.undo);
        const auto redoStart = std::chrono::steady_clock::now();
        while (map.app.undo.UndoLastStep < map.app.undo.UndoCurrentStep) Redo(map.app);
        redoMs = Milliseconds(std::chrono::steady_clock::now() - redoStart);
    }
    state.counters["steps"] = map.app.undo.UndoCurrentStep;
    state.counters["groups"] = groups;
    state.counters["record_ms"] = recordMs;
    state.counters["undo_all_ms"] = undoMs;
    state.counters["redo_all_ms"] = redoMs;
    state.counters["journal_MB"] = JournalMegabytes(map.app.undo);
    state.counters["journal_undone_MB"] = heldMb;
}
BENCHMARK(BM_Undo10000StepsOn100000Records)->Iterations(3)->Unit(benchmark::kMillisecond);

// A vertex inserted into a layer of 25,000 records: two layer snapshots per command.
void BM_SnapshotPairOn25000RecordLayer(benchmark::State& state) {
    Map map;
    int k = 0;
    for (auto _ : state) {
        UndoStepSnapshot(map.app, 1, 100, -1);
        InsertVertex(map.app, k, k, 1, 100, 1);
        UndoStepSnapshot(map.app, 1, 100, 0);
        ++k;
    }
    state.counters["journal_MB"] = JournalMegabytes(map.app.undo);
    state.counters["snapshot_slots"] = static_cast<double>(map.app.undo.SnapshotSlotsHeld);
}
BENCHMARK(BM_SnapshotPairOn25000RecordLayer)->Iterations(40)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace movra
