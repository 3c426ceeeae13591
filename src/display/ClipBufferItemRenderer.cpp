#include "display/ClipBufferItemRenderer.h"

#include "App.h"
#include "basic/Colors.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/LineSink.h"
#include "display/RecordRenderer.h"

namespace movra {

namespace {

// Types the work buffer keeps but does not draw: fill heads, rule shapes, symbol rows, font texts
// and the link items.
bool ItemSkipsType(int type, bool standard) {
    switch (type) {
        case 10: case 11: case 13: case 14: case 36: case 58: case 59: case 63: case 64: case 87:
            return true;
        case 12: case 42: case 43: case 44: case 45: return standard;
        default: return false;
    }
}

// A chained item with nothing after it in the buffer ends at its fourth vertex.
int WithoutLink(int type) {
    switch (type) {
        case 5: case 45: case 75: case 95: return type - 1;
        default: return type;
    }
}

}  // namespace

void DrawClipBufferItem(App& app, std::int32_t& i) {
    try {
        ClipBuffer& buffer = app.clip;
        const std::int32_t last = std::min<std::int32_t>(buffer.ClipBufferCount, static_cast<std::int32_t>(buffer.Items.size()) - 1);
        if (i < 1 || i > last) return;
        const bool standard = app.symbolStandard.SymbolStandardLoaded == True;
        Surface& canvas = MainCanvas(app);
        for (;;) {
            MapRecord item = buffer.Items[static_cast<size_t>(i)];
            if (ItemSkipsType(item.RecordType, standard)) return;
            const MapRecord* next = i < last ? &buffer.Items[static_cast<size_t>(i) + 1] : nullptr;
            if (next == nullptr) item.RecordType = static_cast<std::uint8_t>(WithoutLink(item.RecordType));
            RecordDrawOptions options;
            options.cull = false;
            options.storePenColor = false;
            // A terrain-point name the colour of the background would vanish: contrast colour.
            if (item.RecordType == 61 && item.RecordColor == canvas.BackColor())
                options.colorOverride = ContrastColor(canvas.BackColor());
            DrawRecordValue(app, item, next, options);
            if (item.RecordType != 5 || next == nullptr || next->RecordType != 5) return;
            ++i;  // the run goes on with the pen of its first item
        }
    } catch (const RuntimeError&) {
    }
}

}  // namespace movra
