#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

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
class RecordStore {
public:
    RecordStore();  // dimensioned as a new document: layers 0..1, slots 0..5000

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
    const MapRecord& Get(int layer, int slot) const;

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

private:
    void CheckLayer(int layer) const;
    void CheckSlot(int slot) const;

    static constexpr int BlockShift = 7;
    static constexpr int BlockSize = 1 << BlockShift;  // slots per block
    struct LayerSlots {
        // Every slot of a block at or above `allocated` is cleared.
        std::vector<std::unique_ptr<MapRecord[]>> blocks;
        int allocated = 0;
    };
    std::vector<LayerSlots> layers_;
};

}  // namespace movra
