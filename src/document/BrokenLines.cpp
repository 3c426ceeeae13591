#include "document/BrokenLines.h"

#include "document/MapRecord.h"
#include "document/RecordStore.h"
#include "document/RecordTypes.h"

namespace movra {

namespace {

int TypeBeforeDeletion(int type) { return IsDeletedType(type) ? type - DeletedTypeOffset : type; }

// Deletes a record still drawn; whether it was.
bool Delete(MapRecord& r) {
    if (IsDeletedType(r.RecordType)) return false;
    r.RecordType = static_cast<std::uint8_t>(r.RecordType + DeletedTypeOffset);
    return true;
}

}  // namespace

bool IsLeftOutOfRead(const MapRecord& r) {
    return IsDeletedType(r.RecordType) && r.RecordX1 == 0 && r.RecordY1 == 0 && r.RecordX2 == 0 &&
           r.RecordY2 == 0 && r.RecordX3 == 0 && r.RecordY3 == 0 && r.RecordX4 == 0 && r.RecordY4 == 0;
}

int LeaveOutBrokenLines(RecordStore& store, std::uint8_t source) {
    int marked = 0;
    for (int layer = 1; layer <= store.LayerCount && layer <= store.LayerDimension(); ++layer) {
        const int count = store.Count(layer);
        auto ofSource = [&](int slot) { return store.Get(layer, slot).RecordSource == source; };
        for (int slot = 0; slot < count; ++slot) {
            const MapRecord& leftOut = store.Get(layer, slot);
            if (leftOut.RecordSource != source || !IsLeftOutOfRead(leftOut)) continue;
            // The records that draw on to it, back to the line's first.
            for (int before = slot - 1; before >= 0 && ofSource(before); --before) {
                MapRecord& r = store.At(layer, before);
                if (!ContinuesToNextSlot(r.RecordType)) break;
                if (Delete(r)) ++marked;
            }
            // The rest of the line it went on to; the walk goes on from the line's last.
            bool goesOn = ContinuesToNextSlot(TypeBeforeDeletion(leftOut.RecordType));
            while (goesOn && slot + 1 < count && ofSource(slot + 1)) {
                MapRecord& r = store.At(layer, ++slot);
                goesOn = ContinuesToNextSlot(TypeBeforeDeletion(r.RecordType));
                if (Delete(r)) ++marked;
            }
        }
    }
    return marked;
}

}  // namespace movra
