#include "editing/SelectionPreviews.h"

#include <cmath>
#include <cstddef>
#include <optional>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "display/HighlightRenderer.h"
#include "display/LineSink.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"
#include "display/TextRendering.h"
#include "document/Geometry.h"
#include "document/RecordTransforms.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// Side of the small boxes that mark points in the rotation preview, in map units.
constexpr double SmallBox = 0.2;

int SelectedCount(const App& app) {
    const auto& list = app.selection.SelectionList;
    return list.empty() ? 0 : list[0].Layer - 1;
}

const SelectedRecord& Entry(const App& app, int k) {
    const auto& list = app.selection.SelectionList;
    if (k < 1 || static_cast<std::size_t>(k) >= list.size()) Raise(ErrSubscriptOutOfRange);
    return list[static_cast<std::size_t>(k)];
}

// The layer and slot of a selected record, checked against the store.
struct Place {
    std::uint8_t layer = 0;
    std::int16_t slot = 0;
};
Place PlaceOf(const App& app, int k) {
    const SelectedRecord& e = Entry(app, k);
    app.store.Get(e.Layer, e.Slot);  // raises 9 outside the store
    return {static_cast<std::uint8_t>(e.Layer), static_cast<std::int16_t>(e.Slot)};
}

double& Vx(MapRecord& r, int v) {
    switch (v) {
        case 1: return r.RecordX1;
        case 2: return r.RecordX2;
        case 3: return r.RecordX3;
        default: return r.RecordX4;
    }
}
double& Vy(MapRecord& r, int v) {
    switch (v) {
        case 1: return r.RecordY1;
        case 2: return r.RecordY2;
        case 3: return r.RecordY3;
        default: return r.RecordY4;
    }
}

// Applies `move` to the vertices of the set, in order, stopping at the first unset vertex of a
// record whose vertices count only while set.
template <class F>
void MoveVertices(MapRecord& r, VertexSet set, F&& move) {
    for (int v = 1; v <= 4; ++v) {
        if (!(set.Mask & (1 << (v - 1)))) continue;
        if (set.WhileSet && v >= 2 && Vx(r, v) == 0 && Vy(r, v) == 0) break;
        move(Vx(r, v), Vy(r, v));
    }
}

// Whether the record's line goes on to P1 of the next slot (a parcel edge 25 does in the
// previews, as the last of the edge chain 22..25).
bool ReadsNextSlot(int type) { return ContinuesToNextSlot(type) || type == 25; }

// A call of `drawer` on a copy of the call's record that has another type: the previews draw some
// records as the renderer draws a simpler type over the same vertices.
void DrawAs(RecordDrawCall& c, int type, RecordFamilyDrawer drawer, PenRule pen) {
    if (drawer == nullptr) return;
    MapRecord copy = c.record;
    copy.RecordType = static_cast<std::uint8_t>(type);
    RecordDrawCall call{c.app, c.canvas, copy, c.layer, c.slot, c.options, c.next, pen};
    drawer(call);
}

// The record drawn with its row, in its own colour.
void DrawPreviewRow(App& app, const RecordRow& row, const MapRecord& record, const MapRecord* next, Place at,
                    Rgb figure, Rgb text) {
    if (row.drawer == nullptr) return;
    Surface& canvas = MainCanvas(app);
    app.display.PenColor = figure;
    canvas.SetForeColor(figure);  // the labels that print in the canvas's text colour
    RecordDrawOptions options;
    options.colorOverride = figure;
    options.textOverride = text;
    options.cull = false;
    options.storePenColor = false;
    options.plainLineTypes = true;
    RecordDrawCall call{app, canvas, record, at.layer, at.slot, options, next};
    DrawRow(row, call);
}

// ---- The rotation preview's figures.

void ScaleBox(RecordDrawCall& c) { SymbolBox(c); }

void SmallBoxAt(RecordDrawCall& c, int v) {
    const auto x = static_cast<float>(VertexX(c.record, v));
    const auto y = static_cast<float>(VertexY(c.record, v));
    c.canvas.Line(x, y, static_cast<float>(x + SmallBox), static_cast<float>(y + SmallBox), c.Color(),
                  LineShape::Box);
}

void SmallBoxes(RecordDrawCall& c) {
    const int t = c.record.RecordType;
    if (t >= TypeParcelPoints1 && t <= TypeParcelPoints4) {
        for (int v = 1; v <= t - 30; ++v) SmallBoxAt(c, v);
    } else if (t >= TypeHeightPoints1 && t <= TypeHeightPoints4) {
        for (int v = 1; v <= t - 45; ++v) SmallBoxAt(c, v);
    } else if (t == TypeTerrainPoint || t == TypeTurnedTextWithPoint) {
        SmallBoxAt(c, 1);
        SmallBoxAt(c, 4);
    } else {
        SmallBoxAt(c, 1);
    }
}

// The pen-line shape of the same vertices: a segment, polylines of three and four vertices, one
// going on to the next slot, a closed one.
int PolylineTypeOf(int t) {
    switch (t) {
        case 2: case 12: case 22: case 27: case 42: case 72: case 92: return TypePenLine2;
        case 3: case 23: case 28: case 43: case 73: case 93: return TypePenLine3;
        case 5: case 25: case 45: case 95: return TypePenLineChain;
        case 6: return TypeQuad;
        default: return TypePenLine4;
    }
}

// Segments and polylines with the pen the canvas has.
void TurnedPolyline(RecordDrawCall& c) {
    DrawAs(c, PolylineTypeOf(c.record.RecordType), RecordFamilyDrawerFor(TypePenLine2), PenRule::AsLeft);
}

// A text at P1 at the angle Z2 of the preview's copy, in the call's text colour.
void AngledText(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    DrawTextAngled(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordY2, r.RecordZ2, TextUnused(r),
                   r.RecordFont, c.TextColor());
    ForgetCanvasFontSize(c.app);
}

RecordTable BuildRotationTable() {
    RecordTable t{};
    const RecordTable& highlight = HighlightRecordTable();
    auto set = [&](int type, RecordFamilyDrawer d) { t[static_cast<std::size_t>(type)].drawer = d; };
    for (int type : {1, 7, 8, 9, 15, 16, 17, 18, 19, 21, 26, 41, 91}) set(type, ScaleBox);
    for (int type : {2, 3, 4, 5, 6, 10, 11, 12, 13, 22, 23, 24, 25, 27, 28, 29, 30, 42, 43, 44, 45, 72, 73, 74, 75,
                     92, 93, 94, 95})
        set(type, TurnedPolyline);
    for (int type : {31, 32, 33, 34, 46, 47, 48, 49, 50, 51, 52, 61, 62}) set(type, SmallBoxes);
    for (int type = TypeAttribute0; type <= TypeAttribute4; ++type) t[static_cast<std::size_t>(type)] = highlight[static_cast<std::size_t>(type)];
    for (int type = TypeItalicText; type <= TypeTurnedText68; ++type) set(type, AngledText);
    // The ticks as the one-record drawing draws them, with the record's pen.
    for (int type : {80, 85}) t[static_cast<std::size_t>(type)] = highlight[static_cast<std::size_t>(type)];
    return t;
}

const RecordTable& RotationTable() {
    static const RecordTable table = BuildRotationTable();
    return table;
}

// ---- The move preview's figures that differ from the one-record drawing.

// Closed outline P1-P2-P3-P4-P1 with the record's pen.
void ClosedOutline(RecordDrawCall& c) { DrawAs(c, TypeQuad, RecordFamilyDrawerFor(TypeQuad), PenRule::Direct); }

// Parcel edges 22..25 as a chain of solid handled segments: 22 one segment .. 25 also on to P1 of
// the next slot, drawn as the highlight draws the boundary chains 27..30.
void HandledChain(RecordDrawCall& c) {
    const int as = c.record.RecordType + 5;
    DrawAs(c, as, HighlightRecordTable()[static_cast<std::size_t>(as)].drawer, PenRule::AsLeft);
}

// Fill boundaries 27..30 as the pen lines 2..5 with the record's pen.
void PenChain(RecordDrawCall& c) {
    DrawAs(c, c.record.RecordType - 25, RecordFamilyDrawerFor(TypePenLine2), PenRule::Direct);
}

// Level ticks 81 as strokes straight up, each as long as its vertex's Z, at width 2.
void UpwardStrokes(RecordDrawCall& c) {
    c.canvas.SetDrawWidth(2);
    for (int k = 1; k <= 4; ++k) {
        const double x = VertexX(c.record, k), y = VertexY(c.record, k);
        if (EndsTickRecord(k, x, y)) return;
        CanvasLine(c.canvas, x, y, x, y + VertexZ(c.record, k), c.Color());
    }
}

RecordTable BuildMoveTable() {
    RecordTable t = HighlightRecordTable();
    const RecordTable& full = FullRecordTable();
    auto set = [&](int type, RecordFamilyDrawer d) { t[static_cast<std::size_t>(type)].drawer = d; };
    for (int type : {10, 11, 13, 14, 36}) set(type, ClosedOutline);
    // Line-type lines as their plain segments (the options ask for it), whatever is loaded.
    for (int type : {12, 42, 43, 44, 45}) t[static_cast<std::size_t>(type)] = full[static_cast<std::size_t>(type)];
    for (int type : {21, 26, 64, 70, 87}) set(type, nullptr);
    for (int type = 22; type <= 25; ++type) set(type, HandledChain);
    for (int type = 27; type <= 30; ++type) set(type, PenChain);
    set(TypeTicksLevel, UpwardStrokes);
    return t;
}

const RecordTable& MoveTable() {
    static const RecordTable table = BuildMoveTable();
    return table;
}

// The vertices that the one-record drawing draws as points of the map: those the move shifts,
// and besides them the second pair of a crossing pair and the end of an erasing line.
VertexSet DrawnVertices(int type) {
    if (type == TypeCross) return {0b1111, false};
    if (type == TypeErasingLine) return {0b0011, false};
    return TransformVertices(type);
}

bool IsPrintedText(int type) {
    return type == TypeTerrainPoint || type == TypeTurnedTextWithPoint || type == TypeText65 ||
           type == TypeTurnedText || type == TypeText67 || type == TypeTurnedText68;
}

bool DrawsTurnedFont(int type) {
    return type == TypeTurnedTextWithPoint || type == TypeTurnedText || type == TypeTurnedText68;
}

void WriteText2(App& app, const std::string& text) {
    if (app.form1) app.form1->Text2.SetText(text);
}

}  // namespace

void PreviewRotation(App& app, double x11, double y11, double x22, double y22, std::uint8_t flag) {
    GuardSilently([&] {
        const int count = SelectedCount(app);
        if (count < 1) return;
        const Place firstAt = PlaceOf(app, 1);
        const MapRecord& first = app.store.Get(firstAt.layer, firstAt.slot);
        double px = app.tool.AnchorX, py = app.tool.AnchorY;
        if (flag != 255) {
            px = first.RecordX1;
            py = first.RecordY1;
        }
        const double rot = AngleBetween(px, py, x11, y11, x22, y22);
        const Rgb text = flag == 0 ? app.view.BackgroundColor : first.RecordColor;
        auto turn = [px, py, rot](double& x, double& y) {
            const double d = Dist(px, py, x, y);
            if (d == 0) return;
            const double a = Azimuth(px, py, x, y) + rot;
            x = px + d * std::sin(a);
            y = py + d * std::cos(a);
        };
        for (int k = 1; k <= count; ++k) {
            const Place at = PlaceOf(app, k);
            const MapRecord& stored = app.store.Get(at.layer, at.slot);
            const RecordRow& row = RotationTable()[stored.RecordType];
            if (row.drawer == nullptr) continue;
            MapRecord copy = stored;
            if (copy.RecordType >= TypeItalicText && copy.RecordType <= TypeTurnedText68) {
                // A lone text stays where it is and points towards the second point; several are
                // shown level at their turned anchors.
                if (count == 1) {
                    copy.RecordZ2 = LoneTextAngle(px, py, x22, y22);
                } else {
                    turn(copy.RecordX1, copy.RecordY1);
                    copy.RecordZ2 = 0;
                }
            } else {
                MoveVertices(copy, TransformVertices(copy.RecordType), turn);
            }
            std::optional<MapRecord> next;
            if (ContinuesToNextSlot(copy.RecordType) || copy.RecordType == 25) {
                next = app.store.Get(at.layer, at.slot + 1);
                turn(next->RecordX1, next->RecordY1);
            }
            DrawPreviewRow(app, row, copy, next ? &*next : nullptr, at, stored.RecordColor, text);
        }
    });
}

void PreviewMove(App& app, double x, double y, double /*pressX*/, double /*pressY*/, std::uint8_t flag) {
    app.current.DashOff = 0;
    GuardToMessageLine([&app](const std::string& text) { WriteText2(app, text); }, [&] {
        const int count = SelectedCount(app);
        if (count < 1) return;
        const Place firstAt = PlaceOf(app, 1);
        const MapRecord& first = app.store.Get(firstAt.layer, firstAt.slot);
        const double dx = x - first.RecordX1, dy = y - first.RecordY1;
        auto shift = [dx, dy](double& vx, double& vy) {
            vx += dx;
            vy += dy;
        };
        const Rgb background = MainCanvas(app).BackColor();
        for (int k = 1; k <= count; ++k) {
            const Place at = PlaceOf(app, k);
            const MapRecord& stored = app.store.Get(at.layer, at.slot);
            const RecordRow& row = MoveTable()[stored.RecordType];
            if (row.drawer == nullptr) continue;
            MapRecord copy = stored;
            MoveVertices(copy, DrawnVertices(copy.RecordType), shift);
            std::optional<MapRecord> next;
            if (ReadsNextSlot(copy.RecordType)) {
                next = app.store.Get(at.layer, at.slot + 1);
                shift(next->RecordX1, next->RecordY1);
            }
            const int t = copy.RecordType;
            const Rgb own = stored.RecordColor;
            const Rgb text = IsPrintedText(t) && flag == 0 ? background : own;
            // The turned texts draw in the figure colour: for them it is the text colour.
            DrawPreviewRow(app, row, copy, next ? &*next : nullptr, at, DrawsTurnedFont(t) ? text : own, text);
        }
    });
    app.tool.RubberShown = app.tool.RubberShown == -1 ? 0 : -1;
}

void ApplyTextStyle(App& app, const std::string& font, int code) {
    app.current.DashOff = 0;
    GuardSilently([&] {
        const int count = SelectedCount(app);
        for (int k = 1; k <= count; ++k) {
            const Place at = PlaceOf(app, k);
            MapRecord& r = app.store.At(at.layer, at.slot);
            if (r.RecordType < TypePixelText || r.RecordType > TypeTurnedText68) continue;
            if (!font.empty()) r.RecordFont = font;
            if (code == TypePixelText || code == TypeItalicText) {
                r.RecordType = static_cast<std::uint8_t>(code);
            } else if (code != 0) {
                r.RecordX2 = code;
                r.RecordPen = static_cast<std::uint8_t>(code & 0xFF);
            }
            app.current.ModifiedFlag = -1;
            刷图元(app, at.layer, at.slot, app.current.CurrentColor);
        }
    });
}

void ApplyColor(App& app) {
    app.current.DashOff = 0;
    GuardSilently([&] {
        const int count = SelectedCount(app);
        const Rgb color = app.current.CurrentColor;
        for (int k = 1; k <= count; ++k) {
            const Place at = PlaceOf(app, k);
            MapRecord& r = app.store.At(at.layer, at.slot);
            if (r.RecordType != TypeImage) {
                r.RecordColor = static_cast<std::int32_t>(color);
                app.current.ModifiedFlag = -1;
            }
            刷图元(app, at.layer, at.slot, color);
        }
    });
}

}  // namespace movra
