#include "exchange/ImportSpill.h"

#include <algorithm>
#include <utility>

#include "App.h"
#include "basic/Errors.h"
#include "document/Layers.h"
#include "document/StoreRecord.h"

namespace movra {

namespace {

// The highest layer a spill may take: NextLayerIndex, a byte, must still name the layer after it.
constexpr int HighestSpillLayer = 254;

[[noreturn]] void NoLayerLeft() { throw RuntimeError(ErrSubscriptOutOfRange, LayersFullMessage); }

}  // namespace

void GrowImportLayerCapacity(App& app, ImportSpill& spill) {
    auto& store = app.store;
    const int before = store.LayerCapacity;
    int step = 10;
    if (before < 30000) {
        step = 1000;
    } else if (before < 31000) {
        app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
        step = 500;
    } else if (before < LayerSplittingCapacity) {
        app.platform.prompt().MsgBox(LayerFullWarning, MsgOkOnly);
        step = 100;
    }
    if (before >= LayerSplittingCapacity) {
        // Check before growing, so that a refused spill leaves the store as it was.
        const int next = store.NextLayerIndex + spill.SpillFileCount;
        if (next > HighestSpillLayer || next <= store.LayerCount) NoLayerLeft();
    }
    // Slots are allocated as they are written: raising the bound keeps every record.
    store.LayerCapacity = static_cast<std::int16_t>(std::min(before + step, int{MaxLayerCapacity}));
    if (before >= LayerSplittingCapacity) SpillLayerOverflow(app, spill);
}

void SpillLayerOverflow(App& app, ImportSpill& spill) {
    auto& store = app.store;
    const int layer = store.CurrentLayer;
    const int capacity = store.LayerCapacity;
    int cut = SpillCutSlot;
    for (int slot = SpillCutSlot; slot <= capacity - 1; ++slot) {
        if (store.Get(layer, slot).RecordType % 5 != 0) {
            cut = slot;
            break;
        }
    }
    WriteOverflowRecords(app, spill, static_cast<std::uint8_t>(layer), cut);

    const int taken = cut + 1;
    const int allocated = store.AllocatedSlots(layer);
    for (int slot = taken; slot < allocated; ++slot) store.At(layer, slot - taken) = std::move(store.At(layer, slot));
    store.ClearFrom(layer, std::max(0, allocated - taken));
    store.Count(layer) = std::max(0, store.Count(layer) - taken);
    store.CurrentLayer = static_cast<std::uint8_t>(layer);
}

void WriteOverflowRecords(App& app, ImportSpill& spill, std::uint8_t layer, int last) {
    auto& store = app.store;
    const int target = store.NextLayerIndex + spill.SpillFileCount;
    if (target > HighestSpillLayer || target <= store.LayerCount) NoLayerLeft();
    const auto t = static_cast<size_t>(target);
    store.LayerNames[t] = store.LayerNames[layer] + "j";
    store.LayerColorIndex[t] = store.LayerColorIndex[layer];
    store.LayerOnFlag[t] = -1;

    ImportSpill::Block block;
    block.layer = static_cast<std::uint8_t>(target);
    block.records.reserve(static_cast<size_t>(last) + 1);
    for (int slot = 0; slot <= last; ++slot) {
        const MapRecord& r = store.Get(layer, slot);
        if (r.RecordType < 100) block.records.push_back(r);
    }
    spill.blocks.push_back(std::move(block));
    ++spill.SpillFileCount;
}

void RestoreOverflowRecords(App& app, ImportSpill& spill) {
    auto& store = app.store;
    for (ImportSpill::Block& block : spill.blocks) {
        const int layer = std::min<int>(block.layer, store.LayerCount);
        store.CurrentLayer = static_cast<std::uint8_t>(layer);
        for (MapRecord& r : block.records) {
            int& count = store.Count(layer);
            // The record and the open slot after it must fit.
            while (count + 1 > store.LayerCapacity) {
                if (store.LayerCapacity >= MaxLayerCapacity) Raise(ErrSubscriptOutOfRange);
                store.LayerCapacity = static_cast<std::int16_t>(std::min(store.LayerCapacity + 10, int{MaxLayerCapacity}));
            }
            r.RecordSource = app.mapFile.MergedFileCount;
            store.At(layer, count) = std::move(r);
            ++count;
        }
        block.records.clear();
    }
    spill.blocks.clear();
}

}  // namespace movra
