#include "display/HighlightRenderer.h"

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/BoundaryLines.h"
#include "display/LineSink.h"
#include "display/PointSymbols.h"
#include "document/RecordTypes.h"
#include "display/TextRendering.h"

namespace movra {

namespace {

// The face that stands for a leaning Song face; the canvas sets it with italic on.
constexpr const char* LeaningSongFace = "右斜宋";

// Parcel edges 21..23: one handled segment in its solid form, whatever the record's form.
void SolidHandledSegment(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    DrawHandledSegment(c.app, r.RecordX1, r.RecordY1, r.RecordZ1, r.RecordX2, r.RecordY2, r.RecordZ2, c.Color());
}

// The chain of a fill boundary, 27 P1-P2 .. 30 also P4 to P1 of the next slot, as handled
// segments; 26 (one vertex) nothing.
void HandledBoundaryChain(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const int steps = r.RecordType - 26;
    auto segment = [&](const MapRecord& a, int i, const MapRecord& b, int j) {
        DrawHandledSegment(c.app, VertexX(a, i), VertexY(a, i), VertexZ(a, i), VertexX(b, j), VertexY(b, j),
                           VertexZ(b, j), c.Color());
    };
    for (int k = 1; k <= steps && k < 4; ++k) segment(r, k, r, k + 1);
    if (steps == 4) segment(r, 4, NextRecordOf(c), 1);
}

// An attribute record (53..57): the 1 mm box mark, then its class number printed at the box's
// far corner in the canvas's text colour and font.
void AttributeMark(RecordDrawCall& c) {
    SymbolBox(c);
    const double f = c.app.view.ScaleFactor;
    c.canvas.SetCurrentX(static_cast<float>(c.record.RecordX1 + f));
    c.canvas.SetCurrentY(static_cast<float>(c.record.RecordY1 + f));
    c.canvas.Print(PrintNumberText(static_cast<std::int32_t>(c.record.RecordType - TypeAttribute0)));
}

void MarkedBoundaryPointsSolid(RecordDrawCall& c) { DrawMarkedBoundaryPoints(c, FillStyleSolid); }

// A record's text printed at P1 in its own face, italic exactly for the leaning Song face, in
// the text colour. The face is set behind the canvas-text cache, which forgets it.
void PrintRecordText(RecordDrawCall& c, int points) {
    const MapRecord& r = c.record;
    Surface& s = c.canvas;
    const bool italic = EqualsIgnoreCase(r.RecordFont, LeaningSongFace);
    c.app.display.Redraw.CanvasFontItalic = italic;
    s.SetCurrentX(static_cast<float>(r.RecordX1));
    s.SetCurrentY(static_cast<float>(r.RecordY1));
    s.SetFont(r.RecordFont, points, false, italic);
    ForgetCanvasFont(c.app);
    s.SetForeColor(c.TextColor());
    s.Print(r.RecordText);
}

// Texts 25, 65 and 67; a 67 one point smaller than the others.
void HighlightCanvasText(RecordDrawCall& c) {
    const double height = c.record.RecordX2;
    const double zoom = c.app.view.DisplayZoom;
    const double size = c.record.RecordType == TypeText67 ? zoom * height - 1 : zoom * height;
    PrintRecordText(c, static_cast<int>(Int(size)) + 1);
}

// Terrain point: its name, then a dot of width 2 at P4 in the text colour.
void HighlightTerrainPoint(RecordDrawCall& c) {
    PrintRecordText(c, CanvasPoints(c.app, c.record.RecordX2));
    c.canvas.SetDrawWidth(2);
    c.canvas.PSet(static_cast<float>(c.record.RecordX4), static_cast<float>(c.record.RecordY4), c.TextColor());
}

// Italic text 64: its characters spread along its direction in the canvas font, in its own
// colour for any colour asked for, in the background for 0.
void SpacedText(RecordDrawCall& c) {
    DrawTextSpaced(c.app, c.layer, c.slot, c.Color() != 0 ? True : 0);
}

// Symbol rows 87: the row of P1, then of P2, P3, P4 up to the first vertex at (0, 0).
void SymbolRowsToFirstZero(RecordDrawCall& c) {
    for (std::uint8_t k = 1; k <= 4; ++k) {
        if (k > 1 && VertexX(c.record, k) == 0 && VertexY(c.record, k) == 0) return;
        DrawSymbolRow(c.app, c.layer, c.slot, k);
    }
}

RecordTable BuildHighlightTable() {
    RecordTable t = FullRecordTable();
    // No pen cache here: the pen is set on every call.
    for (RecordRow& row : t)
        if (row.pen == PenRule::Cached) row.pen = PenRule::Direct;
    auto set = [&](int type, RecordFamilyDrawer d) { t[static_cast<size_t>(type)].drawer = d; };
    for (int type : {10, 11, 13, 14, 36, 58, 59, 63, 81}) set(type, nullptr);
    for (int type = 21; type <= 23; ++type) set(type, SolidHandledSegment);
    for (int type : {25, 65, 67}) set(type, HighlightCanvasText);
    for (int type = 26; type <= 30; ++type) set(type, HandledBoundaryChain);
    for (int type = 31; type <= 34; ++type) set(type, MarkedBoundaryPointsSolid);
    set(50, DrawNamedPointPenLabel);
    for (int type = 53; type <= 57; ++type) set(type, AttributeMark);
    set(61, HighlightTerrainPoint);
    set(64, SpacedText);
    set(70, DrawHeldPicture);
    set(87, SymbolRowsToFirstZero);
    return t;
}

}  // namespace

void DrawMarkedBoundaryPoints(RecordDrawCall& c, int fillStyle) {
    Surface& s = c.canvas;
    const MapRecord& r = c.record;
    s.SetFillColor(s.BackColor());
    s.SetFillStyle(fillStyle);
    s.SetFont(c.app.tables.FontNames[1], r.RecordPen * c.app.view.DisplayZoom + 1, false,
              c.app.display.Redraw.CanvasFontItalic);
    ForgetCanvasFont(c.app);
    s.SetForeColor(c.TextColor());
    const auto radius = static_cast<float>(c.app.view.PointMarkRadius);
    for (int k = 1; k <= r.RecordType - 30; ++k) {
        const auto x = static_cast<float>(VertexX(r, k));
        const auto y = static_cast<float>(VertexY(r, k));
        s.Circle(x, y, radius, c.Color());
        s.SetCurrentX(x);
        s.SetCurrentY(y);
        s.Print(PrintNumberText(VertexZ(r, k)));
    }
}

const RecordTable& HighlightRecordTable() {
    static const RecordTable table = BuildHighlightTable();
    return table;
}

void 刷图元(App& app, std::uint8_t pn, std::int16_t kn, Rgb ys0) {
    try {
        const MapRecord& record = app.store.Get(pn, kn);
        app.display.PenColor = ys0 != 0 ? ys0 : record.RecordColor;
        RecordDrawOptions options;
        options.colorOverride = ys0;  // 0 draws black
        options.cull = false;
        options.storePenColor = false;
        RecordDrawCall call{app, MainCanvas(app), record, pn, kn, options};
        DrawRow(HighlightRecordTable()[record.RecordType], call);
    } catch (const RuntimeError&) {
        // Silent: what was drawn stays.
    }
}

}  // namespace movra
