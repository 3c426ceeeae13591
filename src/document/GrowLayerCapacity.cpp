#include <algorithm>

#include "App.h"
#include "basic/Errors.h"
#include "document/Layers.h"
#include "document/StoreRecord.h"

namespace movra {

void GrowLayerCapacity(App& app) {
    try {
        auto& store = app.store;
        const int before = store.LayerCapacity;
        // The steps shrink near the 16-bit limit; the user is told twice on the way.
        int step = 10;
        if (before < 30000) {
            step = 1000;
        } else if (before < 31000) {
            app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
            step = 500;
        } else if (before < LayerSplittingCapacity) {
            app.platform.prompt().MsgBox(LayerFullWarning, MsgOkOnly);
            step = 100;
        }
        // Slots are allocated as they are written, so raising the bound keeps every record as it is.
        store.LayerCapacity = static_cast<std::int16_t>(std::min(before + step, int{MaxLayerCapacity}));
        // Near the limit the current layer gives its upper part to a new layer, which makes room
        // even when the capacity can grow no more.
        if (before >= LayerSplittingCapacity) 自动加层(app);
    } catch (...) {
        // Ends quietly.
    }
}

int SlotWithRoom(App& app, int spare) {
    auto& store = app.store;
    int slot = store.Count(store.CurrentLayer);
    while (slot + spare > store.LayerCapacity) {
        const int before = store.LayerCapacity;
        GrowLayerCapacity(app);
        slot = store.Count(store.CurrentLayer);
        if (store.LayerCapacity <= before && slot + spare > store.LayerCapacity) Raise(ErrSubscriptOutOfRange);
    }
    return slot;
}

}  // namespace movra
