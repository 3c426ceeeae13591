#include "display/HighlightRenderer.h"

#include "App.h"
#include "basic/Errors.h"
#include "display/LineSink.h"
#include "display/Pens.h"
#include "display/RecordRenderer.h"
#include "display/BoundaryLines.h"

namespace movra {

namespace {

struct Vertex { double x, y; float z; };

Vertex VertexOf(const MapRecord& r, int k) {
    switch (k) {
        case 1: return {r.RecordX1, r.RecordY1, r.RecordZ1};
        case 2: return {r.RecordX2, r.RecordY2, r.RecordZ2};
        case 3: return {r.RecordX3, r.RecordY3, r.RecordZ3};
        default: return {r.RecordX4, r.RecordY4, r.RecordZ4};
    }
}

// The chain of a fill boundary: 27 P1-P2 .. 30 also P4 to P1 of the next slot; 26 nothing.
template <typename Segment>
void BoundaryChain(RecordDrawCall& c, Segment segment) {
    const int steps = c.record.RecordType - 26;
    for (int k = 1; k <= steps && k < 4; ++k) segment(VertexOf(c.record, k), VertexOf(c.record, k + 1));
    if (steps == 4) segment(VertexOf(c.record, 4), VertexOf(c.app.store.Get(c.layer, c.slot + 1), 1));
}

void HandledBoundaryChain(RecordDrawCall& c) {
    BoundaryChain(c, [&](Vertex a, Vertex b) { DrawHandledSegment(c.app, a.x, a.y, a.z, b.x, b.y, b.z, c.Color()); });
}

void PlainBoundaryChain(RecordDrawCall& c) {
    PenSetting pen = PenCodeSetting(c.record.RecordPen);
    c.canvas.SetDrawWidth(pen.width);
    if (c.record.RecordPen < 7) c.canvas.SetDrawStyle(pen.style);
    BoundaryChain(c, [&](Vertex a, Vertex b) {
        c.canvas.Line(static_cast<float>(a.x), static_cast<float>(a.y), static_cast<float>(b.x),
                      static_cast<float>(b.y), c.Color());
    });
}

// An attribute record: the 1 mm box mark, then its class digit at the box's far corner.
void AttributeMark(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const double f = c.app.view.ScaleFactor;
    c.canvas.Line(static_cast<float>(r.RecordX1), static_cast<float>(r.RecordY1), static_cast<float>(r.RecordX1 + f),
                  static_cast<float>(r.RecordY1 + f), c.Color(), LineShape::Box);
    c.canvas.Print(std::to_string(r.RecordType - 53));
}

}  // namespace

RecordFamilyDrawer HighlightOverrideFor(int type, bool preview) {
    if (type >= 26 && type <= 30) return preview ? PlainBoundaryChain : HandledBoundaryChain;
    if (type >= 53 && type <= 57) return AttributeMark;
    return nullptr;
}

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
        if (const auto drawer = HighlightOverrideFor(record.RecordType, false)) {
            RecordDrawCall call{app, MainCanvas(app), record, pn, kn, options};
            drawer(call);
            return;
        }
        DrawRecordWith(app, pn, kn, options);
    } catch (const RuntimeError&) {
        // Silent: what was drawn stays.
    }
}

}  // namespace movra
