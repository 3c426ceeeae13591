#include "symbols/AnnotationScaling.h"

#include <algorithm>

#include "App.h"

namespace movra {

bool IsScaledAnnotationType(int type) { return type == 25 || type == 61 || (type >= 64 && type <= 68); }

void ScaleAnnotationRecord(App& app, std::uint8_t layer, std::int16_t slot, float factor) {
    try {
        if (!IsScaledAnnotationType(app.store.Get(layer, slot).RecordType)) return;
        MapRecord& r = app.store.At(layer, slot);
        r.RecordX2 = r.RecordX2 * static_cast<double>(factor);
    } catch (...) {
        // The run goes on with the next record.
    }
}

void ScaleAnnotations(App& app, float factor) {
    RecordStore& store = app.store;
    const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());
    bool changed = false;
    for (int layer = 1; layer <= lastLayer; ++layer) {
        const auto l = static_cast<std::size_t>(layer);
        if (store.LayerOnFlag[l] == 0 && store.LayerLockFlag[l] == 0) continue;
        // Records occupy the slots below the count; a layer that holds any record is scaled.
        const int count = std::min<int>(store.Count(layer), store.LayerCapacity + 1);
        for (int slot = 0; slot < count; ++slot) {
            if (!IsScaledAnnotationType(store.Get(layer, slot).RecordType)) continue;
            ScaleAnnotationRecord(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), factor);
            changed = true;
        }
    }
    if (changed) app.current.ModifiedFlag = -1;
}

}  // namespace movra
