#include "exchange/ExportLines.h"

#include <algorithm>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/JdxFile.h"

namespace movra {

std::string ZNumberText(float z) { return "0" + PlainNumberText(z); }

int LastExportSlot(const RecordStore& store, int layer) {
    if (layer < 0 || layer > store.LayerDimension() || layer >= static_cast<int>(store.LayerRecordCount.size()))
        return -1;
    return std::min(store.Count(layer), static_cast<std::int32_t>(store.LayerCapacity));
}

const MapRecord* NextSlotRecord(const RecordStore& store, int layer, int slot) {
    if (slot + 1 > store.LayerCapacity) return nullptr;
    return &store.Get(layer, slot + 1);
}

bool RunExport(App& app, const std::function<void()>& write) {
    return GuardToMessageLine([&app](const std::string& text) { ShowMessageLine(app, text); }, write);
}

}  // namespace movra
