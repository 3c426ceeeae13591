#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "basic/Errors.h"

#include "document/MapRecord.h"

namespace movra {

// The reserved slot ranges of layer 0. Layer 0 is never drawn or saved as drawing.
namespace Layer0Slots {
constexpr int FieldOrder = 0;             // RecordText: field order of imported point lists
constexpr int UndoViewBase = 100;         // undo view record of view number n: slot 100 + n
constexpr int UndoViewFirst = 101;
constexpr int UndoViewLast = 736;
constexpr int FrameTemplateFirst = 700;   // sheet frame template, 67 items
constexpr int FrameTemplateLast = 766;
constexpr int PrintRangeFirst = 800;      // RecordZ3 of slot 800 holds the number of ranges
constexpr int SymbolDrawingFirst = 800;   // drawing area of the self-made symbol mode
constexpr int SymbolDrawingLast = 899;
constexpr int SymbolCopyFirst = 900;      // normalised or staged copy of a self-made symbol
constexpr int SymbolCopyLast = 999;
constexpr int ImageStagingFirst = 900;    // a picture waiting to be placed: this + its holder
constexpr int SymbolLibraryFirst = 1000;  // the loaded self-made symbol library
constexpr int NewDocumentCount = 256;     // LayerRecordCount of layer 0 in a new document
}  // namespace Layer0Slots

constexpr int LayerTableSize = 256;
constexpr std::int16_t NewDocumentCapacity = 5000;
// The slot numbers are 16-bit: the capacity never passes this.
constexpr std::int16_t MaxLayerCapacity = 32767;

// Every item of the open map: layers 0..LayerCount of slots 0..LayerCapacity, one MapRecord per
// slot, with the per-layer counts and tables.
//
// A layer's slots are allocated as they are written, in blocks, so memory follows the records
// held, not the dimensions: reading a slot inside the dimensions that was never written gives a
// cleared record. Access outside the dimensions raises RuntimeError 9. A record stays where it is
// while its layer grows: a reference from At stays valid until its slots are cleared or the store
// is dimensioned anew.
//
// The first 1024 slots of a layer lie in two small blocks; the slots above in blocks of 1024 taken
// from large regions (2 MiB pages where the system offers them), so that a big map costs few page
// faults. Blocks a map gives up are kept for the next map read into the store. Long texts read from
// a file go into the store's text buffer instead of a block each. Neither is given back record by
// record: a block whose records were only ever written by a file reader is dropped whole.
class RecordStore {
public:
    RecordStore();  // dimensioned as a new document: layers 0..1, slots 0..5000
    ~RecordStore();
    RecordStore(const RecordStore&) = delete;
    RecordStore& operator=(const RecordStore&) = delete;
    // The records, tables and memory move; the store moved from is left empty, with no memory.
    RecordStore(RecordStore&& other) noexcept;
    RecordStore& operator=(RecordStore&& other) noexcept;

    // Takes its big blocks from the same memory as `other`, so that a map read beside the open one
    // reuses what the map before it gave up, and gives its blocks back there when it ends.
    void ShareBlocksOf(const RecordStore& other);

    // Highest layer number in the store (upper bound of the layer dimension).
    std::uint8_t LayerCount = 1;
    // Highest slot number, common to all layers (upper bound of the slot dimension).
    std::int16_t LayerCapacity = NewDocumentCapacity;
    // Number that the next layer definition receives.
    std::uint8_t NextLayerIndex = 2;
    // Layer that new records go to.
    std::uint8_t CurrentLayer = 1;

    // Per layer the open slot: records occupy 0..count - 1, the next one is written at count.
    std::vector<std::int32_t> LayerRecordCount = std::vector<std::int32_t>(LayerTableSize);

    std::array<std::string, LayerTableSize> LayerNames;
    std::array<std::uint8_t, LayerTableSize> LayerColorIndex{};
    std::array<std::int16_t, LayerTableSize> LayerOnFlag{};    // -1 on
    std::array<std::int16_t, LayerTableSize> LayerLockFlag{};  // -1 locked

    // The record at (layer, slot) for writing; allocates the slot when it was never written.
    MapRecord& At(int layer, int slot);
    // The record at (layer, slot) for reading.
    const MapRecord& Get(int layer, int slot) const {
        CheckLayer(layer);
        CheckSlot(slot);
        const LayerSlots& held = layers_[static_cast<std::size_t>(layer)];
        if (slot >= held.allocated) return ClearedRecord();
        return *Locate(held, slot);
    }

    // For a file reader that fills a whole record: the record at (layer, slot), cleared when it was
    // never written. Its texts are to be written through PutText only.
    MapRecord& FillSlot(int layer, int slot);
    // Writes a text into a record of this store: inline when it fits, otherwise into the store's
    // text buffer, which lives as long as the map.
    void PutText(RecordTextValue& field, std::string_view utf8) { PutPacked(field, utf8, 0); }
    void PutText(RecordExtraValue& field, std::string_view utf8) { PutPacked(field, utf8, 0); }

    // For a reader that fills slots on several threads at once. Before the threads start, it makes
    // the slots of a layer from AllocatedSlots(layer) up to `end` exist without writing them, and
    // asks for one text writer a thread. Each reserved slot must then be constructed whole on one
    // thread (placement new) through ReservedSlot, its texts written through PutText of that
    // thread's writer; nothing else may touch the store until the threads are done.
    void ReserveSlots(int layer, int end);
    void SetTextWriters(int count);
    MapRecord* ReservedSlot(int layer, int slot) { return Locate(layers_[static_cast<std::size_t>(layer)], slot); }
    void PutText(int writer, RecordTextValue& field, std::string_view utf8) { PutPacked(field, utf8, writer); }
    void PutText(int writer, RecordExtraValue& field, std::string_view utf8) { PutPacked(field, utf8, writer); }

    // LayerRecordCount of a layer, checked (RuntimeError 9 outside the table).
    std::int32_t& Count(int layer);
    std::int32_t Count(int layer) const;

    // Highest layer number the store really holds (LayerCount once a rebuild has run).
    int LayerDimension() const { return static_cast<int>(layers_.size()) - 1; }
    // Re-dimensions the layer dimension to 0..highestLayer with every slot emptied.
    void DimensionEmpty(int highestLayer);
    // Re-dimensions the layer dimension to 0..highestLayer keeping the records of the layers that
    // stay.
    void DimensionKeep(int highestLayer);
    // Clears every slot of the layer from `slot` on.
    void ClearFrom(int layer, int slot);
    // One past the highest slot of the layer that was ever written (slots above read as cleared).
    int AllocatedSlots(int layer) const;

    // Bytes the store has taken for slots and texts, used or kept for the next map.
    std::size_t ReservedBytes() const;

private:
    void CheckLayer(int layer) const {
        if (layer < 0 || layer > LayerDimension()) Raise(ErrSubscriptOutOfRange);
    }
    void CheckSlot(int slot) const {
        if (slot < 0 || slot > LayerCapacity) Raise(ErrSubscriptOutOfRange);
    }
    static const MapRecord& ClearedRecord();

    // Slots 0..127 in block 0, 128..1023 in block 1, then 1024 a block.
    static constexpr int SmallBlockSlots = 128;
    static constexpr int BigBlockSlots = 1024;
    static constexpr int MaxBlocks = 33;  // enough for slots 0..32767
    static int BlockOf(int slot) { return slot >= BigBlockSlots ? (slot >> 10) + 1 : slot >= SmallBlockSlots ? 1 : 0; }
    static int BlockStart(int block) { return block == 0 ? 0 : block == 1 ? SmallBlockSlots : (block - 1) << 10; }
    static int BlockEnd(int block) { return block == 0 ? SmallBlockSlots : block << 10; }

    struct LayerSlots {
        // Slots below `allocated` hold records; the memory of a block above it holds none.
        std::array<MapRecord*, MaxBlocks> blocks{};
        // A block some record of which may own a text block of its own (written through At).
        std::array<bool, MaxBlocks> ownTexts{};
        int allocated = 0;
    };
    static MapRecord* Locate(const LayerSlots& held, int slot) {
        const int block = BlockOf(slot);
        return held.blocks[static_cast<std::size_t>(block)] + (slot - BlockStart(block));
    }
    // The record of a slot, made (cleared) when the slot was never written.
    MapRecord& Reach(LayerSlots& held, int slot);
    // Makes records of the slots from `allocated` up to and including `slot`.
    void Extend(LayerSlots& held, int slot);
    // Ends the records of the slots from `from` on and gives up the blocks wholly above it.
    void Release(LayerSlots& held, int from);
    MapRecord* NewBlock(int block);
    void FreeBlock(int block, MapRecord* memory);

    template <typename Field>
    void PutPacked(Field& field, std::string_view utf8, int writer) {
        if (!field.AssignInline(utf8)) {
            field.PointIntoHolderBuffer(textBuffers_[static_cast<std::size_t>(writer)].Block(utf8));
        }
    }

    void ReleaseAll();

    std::vector<LayerSlots> layers_;

    // Blocks of every size: carved from large regions, kept in a free list of their size once given
    // up, so that a map read or built after another takes memory already touched. Stores that share
    // the pool (the open map and one being read) give their blocks back to it; the last one frees it.
    struct BlockPool {
        ~BlockPool();
        // Free blocks of block 0's size, block 1's size and the big size.
        std::array<std::vector<MapRecord*>, 3> freeBlocks;
        std::vector<std::pair<void*, std::size_t>> regions;
        std::vector<MapRecord*> heapBlocks;  // where no region could be had
        std::size_t heapBytes = 0;
        char* regionNext = nullptr;
        std::size_t regionLeft = 0;
    };
    static std::size_t BlockSizeClass(int block) { return block <= 1 ? static_cast<std::size_t>(block) : 2; }
    static std::size_t BlockBytes(int block);
    std::shared_ptr<BlockPool> pool_;

    // A text buffer: pages filled front to back, kept for the next map.
    struct TextBuffer {
        // A block [32-bit length][bytes] holding `utf8`.
        const char* Block(std::string_view utf8);
        void Reset() { page = used = 0; }
        std::vector<std::pair<std::unique_ptr<char[]>, std::size_t>> pages;
        std::size_t page = 0;
        std::size_t used = 0;
    };
    // The store's own text buffer first, then one for each further thread of a reader.
    std::vector<TextBuffer> textBuffers_ = std::vector<TextBuffer>(1);
};

}  // namespace movra
