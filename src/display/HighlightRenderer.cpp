#include "display/HighlightRenderer.h"

#include "App.h"
#include "basic/Errors.h"
#include "display/RecordRenderer.h"

namespace movra {

bool HighlightSkipsType(int type) {
    switch (type) {
        case 10: case 11: case 13: case 14: case 36: case 58: case 59: case 63: return true;
        default: return false;
    }
}

void 刷图元(App& app, std::uint8_t pn, std::int16_t kn, Rgb ys0) {
    try {
        const MapRecord& record = app.store.Get(pn, kn);
        app.display.PenColor = ys0 != 0 ? ys0 : record.RecordColor;
        if (HighlightSkipsType(record.RecordType)) return;
        // No pen cache here: a code no record carries makes the pen rule set the pen every time.
        app.display.PenCache = 255;
        RecordDrawOptions options;
        options.colorOverride = ys0;  // 0 draws black
        options.cull = false;
        options.storePenColor = false;
        DrawRecordWith(app, pn, kn, options);
    } catch (const RuntimeError&) {
        // Silent: what was drawn stays.
    }
}

}  // namespace movra
