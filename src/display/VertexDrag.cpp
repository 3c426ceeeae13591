#include "display/VertexDrag.h"

#include "App.h"
#include "basic/Errors.h"
#include "display/HighlightRenderer.h"
#include "display/LineSink.h"
#include "display/RecordRenderer.h"

namespace movra {

namespace {

double* VertexX(MapRecord& r, int n) {
    switch (n) {
        case 1: return &r.RecordX1;
        case 2: return &r.RecordX2;
        case 3: return &r.RecordX3;
        default: return &r.RecordX4;
    }
}
double* VertexY(MapRecord& r, int n) {
    switch (n) {
        case 1: return &r.RecordY1;
        case 2: return &r.RecordY2;
        case 3: return &r.RecordY3;
        default: return &r.RecordY4;
    }
}

// Writes the held vertex back when the call ends, by return or by failure.
class VertexRestore {
public:
    VertexRestore(MapRecord* record, int n) : record_(record), n_(n) {
        if (record_ != nullptr) { x_ = *VertexX(*record_, n_); y_ = *VertexY(*record_, n_); }
    }
    ~VertexRestore() {
        if (record_ != nullptr) { *VertexX(*record_, n_) = x_; *VertexY(*record_, n_) = y_; }
    }
    VertexRestore(const VertexRestore&) = delete;
    VertexRestore& operator=(const VertexRestore&) = delete;

private:
    MapRecord* record_;
    int n_;
    double x_ = 0, y_ = 0;
};

bool PreviewSkipsType(int type) { return type == 25 || HighlightSkipsType(type); }

}  // namespace

void DrawVertexDrag(App& app, float x, float y, std::uint8_t layer, std::int16_t slot, std::int32_t n,
                    std::int32_t pass) {
    const int first = slot > 0 ? slot - 1 : 0;
    // The slots drawn (and the next slot a chain reads) must lie in the store before anything moves.
    if (layer > app.store.LayerDimension() || slot < 0 || first + 4 > app.store.LayerCapacity)
        Raise(9);
    MapRecord* moved = n >= 1 && n <= 4 ? &app.store.At(layer, slot) : nullptr;
    VertexRestore restore(moved, n);
    if (moved != nullptr) { *VertexX(*moved, n) = x; *VertexY(*moved, n) = y; }

    Surface& canvas = MainCanvas(app);
    for (int k = first; k < first + 4; ++k) {
        const MapRecord& r = app.store.Get(layer, k);
        const auto special = HighlightOverrideFor(r.RecordType, true);
        if ((special == nullptr && RecordFamilyDrawerFor(r.RecordType) == nullptr) || PreviewSkipsType(r.RecordType))
            continue;
        Rgb preview = r.RecordColor;
        if (preview == app.tables.ColorPalette[7]) preview = app.tables.ColorPalette[6];
        app.display.PenColor = preview;
        app.display.PenCache = 255;  // no pen cache in the preview
        RecordDrawOptions options;
        options.cull = false;
        options.storePenColor = false;
        options.drawImages = false;
        // Texts printed on the erase pass take the background so they vanish from the not-xor canvas.
        const int t = r.RecordType;
        const bool passText = t == 61 || t == 65 || t == 67 || t == 62 || t == 66 || t == 68;
        options.colorOverride = (pass == 0 && passText) ? canvas.BackColor() : preview;
        if (t == 70) {
            canvas.Line(static_cast<float>(r.RecordX1), static_cast<float>(r.RecordY1),
                        static_cast<float>(r.RecordX1 + r.RecordX2), static_cast<float>(r.RecordY1 + r.RecordY2),
                        preview, LineShape::Box);
            continue;
        }
        std::uint8_t l = layer;
        std::int16_t s = static_cast<std::int16_t>(k);
        if (special != nullptr) {
            RecordDrawCall call{app, canvas, r, l, s, options};
            special(call);
            continue;
        }
        DrawRecordWith(app, l, s, options);
    }
}

}  // namespace movra
