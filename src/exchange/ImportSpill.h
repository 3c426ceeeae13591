#pragma once
// A DXF file may hold more entities on one layer than the 16-bit slot dimension of the store
// allows. While a DXF import runs, the store grows in steps that shrink near the limit, warns the
// user twice, and from a capacity of 31100 on cuts the overfull layer: its older part is put
// aside as a spill block and the newer part moves down to the bottom of the layer. After the file
// has been read each block comes back as a layer of its own, named after the cut layer with "j".
//
// The blocks are held in memory by the import, every field of every record as it was.
#include <cstdint>
#include <vector>

#include "document/MapRecord.h"

namespace movra {

struct App;

// The slot from which a layer is cut when it overflows.
constexpr int SpillCutSlot = 25000;

struct ImportSpill {
    struct Block {
        std::uint8_t layer = 0;           // the spill layer the block comes back to
        std::vector<MapRecord> records;   // the cut part in slot order, deleted records left out
    };
    // Number of blocks put aside during the current import; 0 means none.
    std::int16_t SpillFileCount = 0;
    std::vector<Block> blocks;
};

// Grows the slot dimension of the store by one step (1000 below 30000, 500 below 31000 after the
// message "本层已满，请换（加）层", 100 below 31100 after the warning, 10 from there on) and from
// 31100 on cuts the current layer with SpillLayerOverflow. Raises RuntimeError 9 when no layer
// number is left for a spill, before anything is cut.
void GrowImportLayerCapacity(App& app, ImportSpill& spill);

// Cuts the current layer L: the slots 0 to the cut slot (the first slot from 25000 up whose type
// is not a multiple of 5, so that no chained line is broken; 25000 when there is none) become a
// spill block, the slots above move down to slot 0 on, every field kept, and the layer's count
// drops by the number of slots taken away, so the records stay contiguous.
void SpillLayerOverflow(App& app, ImportSpill& spill);

// Puts the slots 0 to `last` of `layer` aside as a block for layer NextLayerIndex +
// SpillFileCount, which gets the cut layer's name with "j", its colour index and is switched on.
// Raises RuntimeError 9 when that number is past the layer tables or not above LayerCount.
void WriteOverflowRecords(App& app, ImportSpill& spill, std::uint8_t layer, int last);

// Brings every block back, in the order written, into its layer (LayerCount when the layer is
// beyond it), from slot 0 on, the layer's count counting the records. A layer grows as it needs;
// what the 16-bit slot bound cannot take raises RuntimeError 9, keeping what came back.
void RestoreOverflowRecords(App& app, ImportSpill& spill);

}  // namespace movra
