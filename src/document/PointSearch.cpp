#include "document/PointSearch.h"

#include <algorithm>

#include "App.h"
#include "basic/Text.h"

namespace movra {

bool FindPointByName(App& app, const std::string& name, std::uint8_t row) {
    try {
        if (row >= app.station.StationX.size()) return false;
        const auto& store = app.store;
        const int lastLayer = std::min({65, int{store.LayerCount}, store.LayerDimension()});
        for (int layer = 1; layer <= lastLayer; ++layer) {
            const int count = store.Count(layer);
            // A layer holding a single record is searched too.
            if (count < 1) continue;
            const int lastSlot = std::min({count, int{store.LayerCapacity}, store.AllocatedSlots(layer) - 1});
            for (int slot = 0; slot <= lastSlot; ++slot) {
                const MapRecord& r = store.Get(layer, slot);
                if ((r.RecordType == 50 || r.RecordType == 44) && EqualsIgnoreCase(r.RecordText, name)) {
                    app.station.StationX[row] = r.RecordX1;
                    app.station.StationY[row] = r.RecordY1;
                    app.station.StationH[row] = r.RecordZ1;
                    return true;
                }
            }
        }
    } catch (...) {
    }
    return false;
}

}  // namespace movra
