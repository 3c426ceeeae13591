#include "symbols/AnnotationScaling.h"

#include "App.h"

namespace movra {

bool IsScaledAnnotationType(int type) { return type == 25 || type == 61 || (type >= 64 && type <= 68); }

bool ScaleAnnotationRecord(App& app, std::uint8_t layer, std::int16_t slot, float factor) {
    try {
        if (!IsScaledAnnotationType(app.store.Get(layer, slot).RecordType)) return false;
        MapRecord& r = app.store.At(layer, slot);
        r.RecordX2 = r.RecordX2 * static_cast<double>(factor);
        app.current.ModifiedFlag = -1;
        return true;
    } catch (...) {
        // The run goes on with the next record.
        return false;
    }
}

}  // namespace movra
