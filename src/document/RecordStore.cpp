#include "document/RecordStore.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "basic/Errors.h"
#include "basic/LargeRegions.h"

namespace movra {

namespace {

// Big blocks are carved from regions of this many bytes; pages are taken only as they are touched.
constexpr std::size_t RegionBytes = std::size_t{64} << 20;
// The text buffer grows by pages of this size (a longer text takes a page of its own size).
constexpr std::size_t TextPageBytes = std::size_t{1} << 20;

}  // namespace

const MapRecord& RecordStore::ClearedRecord() {
    static const MapRecord cleared{};
    return cleared;
}

RecordStore::RecordStore() : layers_(2), pool_(std::make_shared<BlockPool>()) {}

RecordStore::~RecordStore() { ReleaseAll(); }

RecordStore::BlockPool::~BlockPool() {
    for (const auto& [region, bytes] : regions) ReleaseLargeRegion(region, bytes);
    for (MapRecord* block : heapBlocks) ::operator delete(block);
}

void RecordStore::ReleaseAll() {
    for (auto& held : layers_) Release(held, 0);
    layers_.clear();
}

RecordStore::RecordStore(RecordStore&& other) noexcept
    : LayerCount(other.LayerCount),
      LayerCapacity(other.LayerCapacity),
      NextLayerIndex(other.NextLayerIndex),
      CurrentLayer(other.CurrentLayer),
      LayerRecordCount(std::move(other.LayerRecordCount)),
      LayerNames(std::move(other.LayerNames)),
      LayerColorIndex(other.LayerColorIndex),
      LayerOnFlag(other.LayerOnFlag),
      LayerLockFlag(other.LayerLockFlag),
      layers_(std::move(other.layers_)),
      pool_(std::move(other.pool_)),
      textBuffers_(std::move(other.textBuffers_)) {
    other.layers_.clear();
    other.textBuffers_.clear();
    other.textBuffers_.emplace_back();
}

RecordStore& RecordStore::operator=(RecordStore&& other) noexcept {
    if (this == &other) return *this;
    ReleaseAll();
    LayerCount = other.LayerCount;
    LayerCapacity = other.LayerCapacity;
    NextLayerIndex = other.NextLayerIndex;
    CurrentLayer = other.CurrentLayer;
    LayerRecordCount = std::move(other.LayerRecordCount);
    LayerNames = std::move(other.LayerNames);
    LayerColorIndex = other.LayerColorIndex;
    LayerOnFlag = other.LayerOnFlag;
    LayerLockFlag = other.LayerLockFlag;
    layers_ = std::move(other.layers_);
    pool_ = std::move(other.pool_);
    textBuffers_ = std::move(other.textBuffers_);
    other.layers_.clear();
    other.textBuffers_.clear();
    other.textBuffers_.emplace_back();
    return *this;
}

void RecordStore::ShareBlocksOf(const RecordStore& other) {
    if (!other.pool_ || other.pool_ == pool_) return;
    // Blocks taken from this store's own memory go back there first.
    ReleaseAll();
    layers_.assign(2, LayerSlots{});
    pool_ = other.pool_;
}

std::size_t RecordStore::BlockBytes(int block) {
    return static_cast<std::size_t>(BlockEnd(block) - BlockStart(block)) * sizeof(MapRecord);
}

MapRecord* RecordStore::NewBlock(int block) {
    if (!pool_) pool_ = std::make_shared<BlockPool>();  // a store that was moved from
    BlockPool& pool = *pool_;
    auto& free = pool.freeBlocks[BlockSizeClass(block)];
    if (!free.empty()) {
        MapRecord* reused = free.back();
        free.pop_back();
        return reused;
    }
    const std::size_t bytes = BlockBytes(block);
    if (pool.regionLeft < bytes) {
        if (void* region = ReserveLargeRegion(RegionBytes)) {
            // The tail of the region before is left unused: a block never spans two regions.
            pool.regions.emplace_back(region, RegionBytes);
            pool.regionNext = static_cast<char*>(region);
            pool.regionLeft = RegionBytes;
        } else {
            auto* memory = static_cast<MapRecord*>(::operator new(bytes));
            pool.heapBlocks.push_back(memory);
            pool.heapBytes += bytes;
            return memory;
        }
    }
    auto* memory = reinterpret_cast<MapRecord*>(pool.regionNext);
    pool.regionNext += bytes;
    pool.regionLeft -= bytes;
    return memory;
}

void RecordStore::FreeBlock(int block, MapRecord* memory) { pool_->freeBlocks[BlockSizeClass(block)].push_back(memory); }

void RecordStore::Extend(LayerSlots& held, int slot) {
    for (int s = held.allocated; s <= slot;) {
        const int block = BlockOf(s);
        auto& memory = held.blocks[static_cast<std::size_t>(block)];
        if (memory == nullptr) {
            memory = NewBlock(block);
            held.ownTexts[static_cast<std::size_t>(block)] = false;
        }
        const int end = std::min(BlockEnd(block), slot + 1);
        for (MapRecord* r = memory + (s - BlockStart(block)); s < end; ++s, ++r) new (r) MapRecord();
        held.allocated = s;
    }
}

void RecordStore::Release(LayerSlots& held, int from) {
    from = std::max(from, 0);
    if (from >= held.allocated) return;
    for (int block = BlockOf(from); block < MaxBlocks; ++block) {
        MapRecord* memory = held.blocks[static_cast<std::size_t>(block)];
        if (memory == nullptr) break;
        const int start = BlockStart(block);
        // Records a file reader wrote own nothing: their block is given up without visiting them.
        if (held.ownTexts[static_cast<std::size_t>(block)]) {
            const int first = std::max(from, start);
            const int last = std::min(held.allocated, BlockEnd(block));
            for (int s = first; s < last; ++s) memory[s - start].~MapRecord();
        }
        if (start >= from) {
            FreeBlock(block, memory);
            held.blocks[static_cast<std::size_t>(block)] = nullptr;
            held.ownTexts[static_cast<std::size_t>(block)] = false;
        }
    }
    held.allocated = from;
}

MapRecord& RecordStore::Reach(LayerSlots& held, int slot) {
    if (slot < held.allocated) return *Locate(held, slot);
    if (slot == held.allocated && held.blocks[static_cast<std::size_t>(BlockOf(slot))] != nullptr) {
        // The next slot of a block in use: every step of a reader or of a layer that grows.
        ++held.allocated;
        return *new (Locate(held, slot)) MapRecord();
    }
    Extend(held, slot);
    return *Locate(held, slot);
}

MapRecord& RecordStore::At(int layer, int slot) {
    CheckLayer(layer);
    CheckSlot(slot);
    LayerSlots& held = layers_[static_cast<std::size_t>(layer)];
    MapRecord& record = Reach(held, slot);
    // Set after the block is made: a record written through At may own a text block.
    held.ownTexts[static_cast<std::size_t>(BlockOf(slot))] = true;
    return record;
}

void RecordStore::ReserveSlots(int layer, int end) {
    CheckLayer(layer);
    if (end <= 0) return;
    CheckSlot(end - 1);
    LayerSlots& held = layers_[static_cast<std::size_t>(layer)];
    for (int s = held.allocated; s < end;) {
        const int block = BlockOf(s);
        auto& memory = held.blocks[static_cast<std::size_t>(block)];
        if (memory == nullptr) {
            memory = NewBlock(block);
            held.ownTexts[static_cast<std::size_t>(block)] = false;
        }
        s = std::min(BlockEnd(block), end);
        held.allocated = s;
    }
}

void RecordStore::SetTextWriters(int count) {
    if (count > static_cast<int>(textBuffers_.size())) textBuffers_.resize(static_cast<std::size_t>(count));
}

MapRecord& RecordStore::FillSlot(int layer, int slot) {
    CheckLayer(layer);
    CheckSlot(slot);
    return Reach(layers_[static_cast<std::size_t>(layer)], slot);
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
    for (auto& held : layers_) Release(held, 0);
    layers_.assign(static_cast<size_t>(highestLayer) + 1, LayerSlots{});
    // No record points into the text buffers any more.
    for (TextBuffer& buffer : textBuffers_) buffer.Reset();
}

void RecordStore::DimensionKeep(int highestLayer) {
    if (highestLayer < 0 || highestLayer >= LayerTableSize) Raise(ErrSubscriptOutOfRange);
    for (std::size_t layer = static_cast<size_t>(highestLayer) + 1; layer < layers_.size(); ++layer) {
        Release(layers_[layer], 0);
    }
    layers_.resize(static_cast<size_t>(highestLayer) + 1);
}

void RecordStore::ClearFrom(int layer, int slot) {
    CheckLayer(layer);
    Release(layers_[static_cast<size_t>(layer)], slot);
}

int RecordStore::AllocatedSlots(int layer) const {
    CheckLayer(layer);
    return layers_[static_cast<size_t>(layer)].allocated;
}

const char* RecordStore::TextBuffer::Block(std::string_view utf8) {
    const std::size_t need = sizeof(std::uint32_t) + utf8.size();
    // Blocks start on four bytes, which leaves a value's two mark bits free.
    used = (used + 3) & ~std::size_t{3};
    while (page < pages.size() && used + need > pages[page].second) {
        ++page;
        used = 0;
    }
    if (page == pages.size()) {
        const std::size_t bytes = std::max(TextPageBytes, need);
        pages.emplace_back(std::make_unique_for_overwrite<char[]>(bytes), bytes);
        used = 0;
    }
    char* block = pages[page].first.get() + used;
    const auto length = static_cast<std::uint32_t>(utf8.size());
    std::memcpy(block, &length, sizeof length);
    std::memcpy(block + sizeof length, utf8.data(), utf8.size());
    used += need;
    return block;
}

std::size_t RecordStore::ReservedBytes() const {
    std::size_t bytes = 0;
    if (pool_) {
        bytes += static_cast<std::size_t>(pool_->regions.size() * RegionBytes - pool_->regionLeft * !pool_->regions.empty());
        bytes += pool_->heapBytes;
    }
    for (const TextBuffer& buffer : textBuffers_) {
        for (const auto& page : buffer.pages) bytes += page.second;
    }
    return bytes;
}

}  // namespace movra
