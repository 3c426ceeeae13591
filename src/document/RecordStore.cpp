#include "document/RecordStore.h"

#include <algorithm>

#include "basic/Errors.h"

namespace movra {

namespace {
const MapRecord clearedRecord{};
}

RecordStore::RecordStore() : layers_(2) {}

void RecordStore::CheckLayer(int layer) const {
    if (layer < 0 || layer > LayerDimension()) Raise(ErrSubscriptOutOfRange);
}

void RecordStore::CheckSlot(int slot) const {
    if (slot < 0 || slot > LayerCapacity) Raise(ErrSubscriptOutOfRange);
}

MapRecord& RecordStore::At(int layer, int slot) {
    CheckLayer(layer);
    CheckSlot(slot);
    LayerSlots& slots = layers_[static_cast<size_t>(layer)];
    const auto block = static_cast<size_t>(slot >> BlockShift);
    if (slot >= slots.allocated) {
        // Blocks are never moved, so the records already there keep their place.
        while (slots.blocks.size() <= block) slots.blocks.push_back(std::make_unique<MapRecord[]>(BlockSize));
        slots.allocated = slot + 1;
    }
    return slots.blocks[block][static_cast<size_t>(slot & (BlockSize - 1))];
}

const MapRecord& RecordStore::Get(int layer, int slot) const {
    CheckLayer(layer);
    CheckSlot(slot);
    const LayerSlots& slots = layers_[static_cast<size_t>(layer)];
    if (slot >= slots.allocated) return clearedRecord;
    return slots.blocks[static_cast<size_t>(slot >> BlockShift)][static_cast<size_t>(slot & (BlockSize - 1))];
}

std::int32_t& RecordStore::Count(int layer) {
    if (layer < 0 || static_cast<size_t>(layer) >= LayerRecordCount.size()) Raise(ErrSubscriptOutOfRange);
    return LayerRecordCount[static_cast<size_t>(layer)];
}

std::int32_t RecordStore::Count(int layer) const {
    if (layer < 0 || static_cast<size_t>(layer) >= LayerRecordCount.size()) Raise(ErrSubscriptOutOfRange);
    return LayerRecordCount[static_cast<size_t>(layer)];
}

void RecordStore::DimensionEmpty(int highestLayer) {
    if (highestLayer < 0 || highestLayer >= LayerTableSize) Raise(ErrSubscriptOutOfRange);
    std::vector<LayerSlots> fresh(static_cast<size_t>(highestLayer) + 1);
    layers_.swap(fresh);
}

void RecordStore::DimensionKeep(int highestLayer) {
    if (highestLayer < 0 || highestLayer >= LayerTableSize) Raise(ErrSubscriptOutOfRange);
    layers_.resize(static_cast<size_t>(highestLayer) + 1);
}

void RecordStore::ClearFrom(int layer, int slot) {
    CheckLayer(layer);
    LayerSlots& slots = layers_[static_cast<size_t>(layer)];
    const int from = std::max(slot, 0);
    if (from >= slots.allocated) return;
    // Whole blocks above `from` go; the slots of the block holding it are cleared.
    const auto keepBlocks = static_cast<size_t>((from + BlockSize - 1) >> BlockShift);
    const int partialEnd = std::min(slots.allocated, static_cast<int>(keepBlocks) << BlockShift);
    for (int i = from; i < partialEnd; ++i)
        slots.blocks[static_cast<size_t>(i >> BlockShift)][static_cast<size_t>(i & (BlockSize - 1))] = MapRecord{};
    slots.blocks.resize(keepBlocks);
    slots.allocated = from;
}

int RecordStore::AllocatedSlots(int layer) const {
    CheckLayer(layer);
    return layers_[static_cast<size_t>(layer)].allocated;
}

}  // namespace movra
