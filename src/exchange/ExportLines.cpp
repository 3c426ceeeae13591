#include "exchange/ExportLines.h"

#include <algorithm>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/JdxFile.h"

namespace movra {

void ExportLineWriter::Text(std::string_view utf8) {
    bool ascii = true;
    bool breaks = false;
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
        if (c == '\r' || c == '\n') breaks = true;
    }
    std::string oneLine;
    if (breaks) {
        oneLine.assign(utf8);
        std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
        std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
        utf8 = oneLine;
    }
    // Plain ASCII is the same in code page 936: most texts of a map need no conversion.
    if (ascii)
        out_.WriteRawLine(utf8);
    else
        out_.WriteLine(utf8);
}

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
