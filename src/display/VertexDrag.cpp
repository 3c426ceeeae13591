#include "display/VertexDrag.h"

#include "App.h"
#include "basic/Errors.h"
#include "display/HighlightRenderer.h"
#include "display/LineSink.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"
#include "display/TextRendering.h"

namespace movra {

namespace {

double* MovableX(MapRecord& r, int n) {
    switch (n) {
        case 1: return &r.RecordX1;
        case 2: return &r.RecordX2;
        case 3: return &r.RecordX3;
        default: return &r.RecordX4;
    }
}
double* MovableY(MapRecord& r, int n) {
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
        if (record_ != nullptr) { x_ = *MovableX(*record_, n_); y_ = *MovableY(*record_, n_); }
    }
    ~VertexRestore() {
        if (record_ != nullptr) { *MovableX(*record_, n_) = x_; *MovableY(*record_, n_) = y_; }
    }
    VertexRestore(const VertexRestore&) = delete;
    VertexRestore& operator=(const VertexRestore&) = delete;

private:
    MapRecord* record_;
    int n_;
    double x_ = 0, y_ = 0;
};

// Fill-boundary chain as plain lines with the pen rule: 27 P1-P2 .. 30 also P4 to P1 of the
// next slot; 26 nothing.
void PlainBoundaryChain(RecordDrawCall& c) {
    ApplyRecordPen(c);
    const MapRecord& r = c.record;
    const int steps = r.RecordType - 26;
    for (int k = 1; k <= steps && k < 4; ++k)
        CanvasLine(c.canvas, VertexX(r, k), VertexY(r, k), VertexX(r, k + 1), VertexY(r, k + 1), c.Color());
    if (steps == 4) {
        const MapRecord& n = c.app.store.Get(c.layer, c.slot + 1);
        CanvasLine(c.canvas, r.RecordX4, r.RecordY4, n.RecordX1, n.RecordY1, c.Color());
    }
}

// Boundary points filled as the full renderer fills them.
void PreviewBoundaryPoints(RecordDrawCall& c) { DrawMarkedBoundaryPoints(c, c.app.view.BoundaryPointsTransparent); }

// Turned texts 62, 66, 68 in the pass's text colour, which the created font's drawer sets; 62
// then has its dot at P4 in the canvas's text colour.
void PreviewTurnedText(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    DrawTextAngled(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordY2, r.RecordZ2, TextUnused(r),
                   r.RecordFont, c.TextColor());
    if (r.RecordType == TypeTurnedTextWithPoint) {
        c.canvas.SetDrawWidth(2);
        c.canvas.PSet(static_cast<float>(r.RecordX4), static_cast<float>(r.RecordY4));
    }
    ForgetCanvasFontSize(c.app);
}

// An image shows only its rectangle while it is dragged.
void PreviewImageFrame(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    c.canvas.Line(static_cast<float>(r.RecordX1), static_cast<float>(r.RecordY1),
                  static_cast<float>(r.RecordX1 + r.RecordX2), static_cast<float>(r.RecordY1 + r.RecordY2), c.Color(),
                  LineShape::Box);
}

RecordTable BuildPreviewTable() {
    RecordTable t = HighlightRecordTable();
    const RecordTable& full = FullRecordTable();
    auto set = [&](int type, RecordFamilyDrawer d) { t[static_cast<size_t>(type)].drawer = d; };
    // The parcel edges in their own forms, and level ticks, as the full renderer draws them.
    for (int type : {21, 22, 23, 81}) set(type, full[static_cast<size_t>(type)].drawer);
    for (int type = 26; type <= 30; ++type) {
        set(type, PlainBoundaryChain);
        t[static_cast<size_t>(type)].pen = PenRule::Direct;
    }
    for (int type = 31; type <= 34; ++type) set(type, PreviewBoundaryPoints);
    set(25, nullptr);
    for (int type : {62, 66, 68}) set(type, PreviewTurnedText);
    set(70, PreviewImageFrame);
    return t;
}

const RecordTable& PreviewTable() {
    static const RecordTable table = BuildPreviewTable();
    return table;
}

// Printed texts take the background on the erase pass, so they vanish from the not-xor canvas.
// The turned texts hand the record's own colour (not the preview colour) to their drawer.
Rgb PassTextColor(const App& app, Surface& canvas, const MapRecord& r, Rgb preview, std::int32_t pass) {
    const bool turned = r.RecordType == 62 || r.RecordType == 66 || r.RecordType == 68;
    if (pass == 0) return turned ? app.view.BackgroundColor : canvas.BackColor();
    return turned ? r.RecordColor : preview;
}

}  // namespace

void DrawVertexDrag(App& app, float x, float y, std::uint8_t layer, std::int16_t slot, std::int32_t n,
                    std::int32_t pass) {
    const int first = slot > 0 ? slot - 1 : 0;
    // The slots drawn (and the next slot a chain reads) must lie in the store before anything moves.
    if (layer > app.store.LayerDimension() || slot < 0 || first + 4 > app.store.LayerCapacity)
        Raise(9);
    MapRecord* moved = n >= 1 && n <= 4 ? &app.store.At(layer, slot) : nullptr;
    VertexRestore restore(moved, n);
    if (moved != nullptr) { *MovableX(*moved, n) = x; *MovableY(*moved, n) = y; }

    Surface& canvas = MainCanvas(app);
    for (int k = first; k < first + 4; ++k) {
        const MapRecord& r = app.store.Get(layer, k);
        const RecordRow& row = PreviewTable()[r.RecordType];
        if (row.drawer == nullptr) continue;
        Rgb preview = r.RecordColor;
        if (preview == app.tables.ColorPalette[7]) preview = app.tables.ColorPalette[6];
        app.display.PenColor = preview;
        RecordDrawOptions options;
        options.cull = false;
        options.storePenColor = false;
        options.colorOverride = preview;
        options.textOverride = PassTextColor(app, canvas, r, preview, pass);
        std::uint8_t l = layer;
        std::int16_t s = static_cast<std::int16_t>(k);
        RecordDrawCall call{app, canvas, r, l, s, options};
        DrawRow(row, call);
    }
}

}  // namespace movra
