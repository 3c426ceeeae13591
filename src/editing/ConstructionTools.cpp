// The construction tools: a line of typed length, a polyline of successive perpendiculars, the
// foot of a perpendicular, the circle and the arc through three points, the rotated ellipse and
// the smoothed curve through clicked points. Every step takes the (snapped) press point.
#include "editing/ConstructionTools.h"

#include <cmath>
#include <string>

#include "App.h"
#include "display/BoundaryLines.h"
#include "display/HighlightRenderer.h"
#include "display/Redraw.h"
#include "display/Shapes.h"
#include "document/Geometry.h"
#include "document/StoreRecord.h"
#include "document/UndoJournal.h"
#include "editing/ConstructionSupport.h"
#include "editing/RubberLine.h"
#include "editing/TextToolSupport.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolEngine.h"
#include "editing/ToolFamilies.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr std::uint8_t PlainSegment = 2;
constexpr std::uint8_t SpecialSegment = 92;
constexpr std::uint8_t LineTypeSegment = 42;
constexpr std::uint8_t PointMarkRecord = 46;
constexpr std::uint8_t CircleRecord = 7;
constexpr std::uint8_t ArcRecord = 8;
constexpr std::uint8_t EllipseRecord = 9;

const std::string DashedWidthCode = "1092";

std::vector<double>& Scratch(App& app) { return app.geometry.ScratchXY; }
Rgb Color(const App& app) { return app.current.CurrentColor; }
RecordStore& Store(App& app) { return app.store; }
std::int32_t& OpenSlot(App& app) { return app.store.Count(app.store.CurrentLayer); }

void Put(App& app, int at, CanvasXY p) {
    Scratch(app)[static_cast<std::size_t>(at)] = p.x;
    Scratch(app)[static_cast<std::size_t>(at) + 1] = p.y;
}
CanvasXY Get(App& app, int at) {
    return {Scratch(app)[static_cast<std::size_t>(at)], Scratch(app)[static_cast<std::size_t>(at) + 1]};
}

// The distance of P from the line through the ScratchXY points at a and b. The toolkit reads a
// second point with y exactly -1 as a radius, so the line is handed over from its other end then.
double DistanceFromLine(App& app, CanvasXY p, int a, int b) {
    CanvasXY u = Get(app, a), v = Get(app, b);
    if (v.y == -1) std::swap(u, v);
    if (v.y == -1) return std::fabs(p.y + 1);
    return PointLineDist(p.x, p.y, u.x, u.y, v.x, v.y);
}

// The dash values of the dashed line with width go onto the heights of a slot.
void SetDashHeights(App& app, std::int32_t slot) {
    MapRecord& r = Store(app).At(Store(app).CurrentLayer, slot);
    r.RecordZ2 = app.current.DashWidth;
    r.RecordZ3 = app.current.DashOn;
    r.RecordZ4 = app.current.DashOff;
}

// The open slot of the current layer for a record written field by field, with the open slot
// after it still inside the layer; null, after telling the user, when the layer is full.
MapRecord* FreshOpenSlot(App& app) {
    RecordStore& store = Store(app);
    const std::int32_t n = OpenSlot(app);
    if (n + 1 > store.LayerCapacity) {
        app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
        return nullptr;
    }
    MapRecord& r = store.At(store.CurrentLayer, n);
    r = MapRecord{};
    r.RecordColor = Color(app);
    r.RecordPen = static_cast<std::uint8_t>(app.current.CurrentPen & 0xFF);
    return &r;
}

// The record the layer's last slot holds, drawn in its own colour.
void DrawLastRecord(App& app) {
    RecordStore& store = Store(app);
    const std::int32_t last = OpenSlot(app) - 1;
    if (last < 0) return;
    刷图元(app, static_cast<std::uint8_t>(store.CurrentLayer), static_cast<std::int16_t>(last),
           store.Get(store.CurrentLayer, last).RecordColor);
}

// Rewrites records of the current layer in place, from `slot` on. The click's undo checkpoint
// would journal only what the layer grew by, and undoing that would leave the rewritten records
// behind, a chain record leading on to a slot that is gone; the layer's snapshots before and
// after the rewrite make it one step that undo takes back whole.
template <class F>
void RewriteInPlace(App& app, std::int32_t slot, F&& rewrite) {
    const auto layer = static_cast<std::uint8_t>(Store(app).CurrentLayer);
    UndoStepSnapshot(app, layer, static_cast<std::int16_t>(slot), -1);
    rewrite();
    UndoStepSnapshot(app, layer, static_cast<std::int16_t>(slot), 0);
}

// The rubber line from the first point while the second is awaited, and its erasure at the second
// click by the tools whose figure does not cover it.
void FirstLegRubber(App& app, double x, double y) {
    DrawRubberLine(app, x, y);
    app.tool.FirstLegEnd = {x, y};
}

void EraseFirstLeg(App& app) {
    if (app.tool.RubberShown != -1) return;
    Surface& canvas = Canvas(app);
    const DrawModeScope inverting(canvas, DrawModeNotXorPen);
    const CanvasXY p0 = Get(app, 0), end = app.tool.FirstLegEnd;
    canvas.Line(p0.x, p0.y, end.x, end.y, Color(app));
}

// ---- A line of typed length: from P0 towards P1, as long as typed or as far as the third click.

std::uint8_t TypedLineType(const std::string& code) {
    if (code.empty() || code == "0") return PlainSegment;
    if (code == "1090" || code == "1091" || code == "1092" || code == "1093") return SpecialSegment;
    return LineTypeSegment;
}

// The end point at |length| from P0 towards P1, into elements 6, 7.
CanvasXY AlongBase(App& app, double length) {
    PointAlongSegment(app, length);
    return Get(app, 6);
}

void TypedLengthRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 1) return DrawRubberLine(app, x, y);
    if (tool.ClickCount != 2) return;
    Surface& canvas = Canvas(app);
    const CanvasXY p0 = Get(app, 0);
    // The base line drawn at the second click stays as the direction's reference; the preview
    // runs over it.
    if (tool.RubberShown == -1) {
        const CanvasXY was = AlongBase(app, Dist(tool.RubberPoint.x, tool.RubberPoint.y, p0.x, p0.y));
        canvas.Line(p0.x, p0.y, was.x, was.y, Color(app));
    }
    tool.RubberLength = static_cast<float>(Dist(x, y, p0.x, p0.y));
    const CanvasXY q = AlongBase(app, tool.RubberLength);
    canvas.Line(p0.x, p0.y, q.x, q.y, Color(app));
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

ReleaseEnd TypedLengthRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    const CanvasXY p = tool.PressPoint;
    switch (tool.ClickCount) {
        case 0:
            FreshScratch(app, 8);
            Put(app, 0, p);
            tool.ClickCount = 1;
            return ReleaseEnd::CommonTail;
        case 1: {
            Put(app, 2, p);
            tool.ClickCount = 2;
            tool.RubberShown = 0;
            const CanvasXY p0 = Get(app, 0);
            Canvas(app).Line(p0.x, p0.y, p.x, p.y, Color(app));
            if (tool.SnapOn == -1) SwitchSnapping(app, false);
            ClearTypedDistance(app, true);
            return ReleaseEnd::CommonTail;
        }
        default: break;
    }
    Put(app, 4, p);
    const CanvasXY p0 = Get(app, 0);
    const double typed = TypedDistance(app);
    const CanvasXY q = AlongBase(app, typed != 0 ? typed : Dist(p.x, p.y, p0.x, p0.y));
    const std::string code = tool.CommandArgument;
    const std::int32_t slot = OpenSlot(app);
    StoreRecord(app, StoreFull, TypedLineType(code), p0.x, p0.y, q.x, q.y, 0, 0, 0, 0, code);
    if (OpenSlot(app) == slot + 1) {
        if (code == DashedWidthCode) {
            SetDashHeights(app, slot);
            const CurrentAttributes& c = app.current;
            DrawDashedWidthLine(app, p0.x, p0.y, q.x, q.y, c.DashWidth, c.DashOn, c.DashOff, Color(app));
        }
        DrawLastRecord(app);
    }
    tool.ClickCount = 0;
    tool.RubberShown = 0;
    SwitchSnapping(app, true);
    ClearTypedDistance(app, false);
    return ReleaseEnd::CommonTail;
}

// ---- Successive perpendiculars: each new segment leaves the end of the one before at right
// angles. ScratchXY: 0,1 and 2,3 the base; 4,5 the new vertex; 8,9 the side point.

// The end of the base moved at right angles to it, by |distance| to the side of `side`.
CanvasXY PerpendicularEnd(App& app, double distance, int sideRule, CanvasXY side) {
    Put(app, 8, side);
    OffsetSegment(app, std::fabs(distance), sideRule);
    return Get(app, 4);
}

void PerpendicularsRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 1) return DrawRubberLine(app, x, y);
    if (tool.ClickCount < 2) return;
    Surface& canvas = Canvas(app);
    const CanvasXY end = Get(app, 2);
    if (tool.RubberShown == -1) {
        const CanvasXY was = PerpendicularEnd(app, DistanceFromLine(app, tool.RubberPoint, 0, 2), 0, tool.RubberPoint);
        canvas.Line(end.x, end.y, was.x, was.y, Color(app));
    }
    tool.RubberLength = static_cast<float>(DistanceFromLine(app, {x, y}, 0, 2));
    const CanvasXY n = PerpendicularEnd(app, tool.RubberLength, 0, {x, y});
    canvas.Line(end.x, end.y, n.x, n.y, Color(app));
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

// Appends N to the polyline whose record under construction is the layer's last.
void AppendPerpendicularVertex(App& app, CanvasXY base, CanvasXY n) {
    ToolState& tool = app.tool;
    RecordStore& store = Store(app);
    const int layer = store.CurrentLayer;
    std::int32_t& count = OpenSlot(app);
    const std::int32_t r = count - 1;
    MapRecord& record = store.At(layer, r);
    switch (tool.ClickCount) {
        case 2:
            if (record.RecordType == 0) {
                // The slot reserved at the second click: the first segment leaves the base end.
                record.RecordType = PlainSegment;
                record.RecordColor = Color(app);
                record.RecordPen = static_cast<std::uint8_t>(app.current.CurrentPen & 0xFF);
                record.RecordFont = app.current.CurrentFont;
                record.RecordText = "";
                record.RecordX1 = base.x;
                record.RecordY1 = base.y;
            }
            record.RecordX2 = n.x;
            record.RecordY2 = n.y;
            record.RecordType = 2;
            break;
        case 3:
            record.RecordX3 = n.x;
            record.RecordY3 = n.y;
            record.RecordType = 3;
            break;
        case 4:
            record.RecordX4 = n.x;
            record.RecordY4 = n.y;
            record.RecordType = 4;
            break;
        default: {
            // Full: the chain goes on in a one-vertex record at N.
            if (r + 2 > store.LayerCapacity) {
                app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
                return;
            }
            record.RecordType = 5;
            MapRecord& next = store.At(layer, r + 1);
            next = MapRecord{};
            next.RecordType = 1;
            next.RecordX1 = n.x;
            next.RecordY1 = n.y;
            next.RecordColor = Color(app);
            next.RecordPen = static_cast<std::uint8_t>(app.current.CurrentPen & 0xFF);
            next.RecordFont = app.current.CurrentFont;
            count = r + 2;
            tool.ClickCount = 1;
            break;
        }
    }
}

ReleaseEnd PerpendicularsRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    const CanvasXY p = tool.PressPoint;
    if (tool.ClickCount == 0) {
        FreshScratch(app, 10);
        Put(app, 0, p);
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    tool.RubberShown = 0;
    if (tool.ClickCount == 1) {
        Put(app, 2, p);
        ClearTypedDistance(app, true);
        const CanvasXY p0 = Get(app, 0);
        if (tool.SnapOn != -1) {
            const std::int32_t slot = OpenSlot(app);
            StoreRecord(app, StoreFull, PlainSegment, p0.x, p0.y, p.x, p.y, 0, 0, 0, 0, tool.CommandArgument);
            if (OpenSlot(app) != slot + 1) return ReleaseEnd::CommonTail;
            DrawLastRecord(app);
            tool.ClickCount = 3;
        } else {
            // The base lies on existing work: the polyline starts at its end, in a reserved slot.
            MapRecord* reserved = FreshOpenSlot(app);
            if (!reserved) return ReleaseEnd::CommonTail;
            reserved->RecordType = 0;
            ++OpenSlot(app);
            tool.SnapOn = 0;
            tool.ClickCount = 2;
        }
        return ReleaseEnd::CommonTail;
    }
    const double typed = TypedDistance(app);
    const double d = typed != 0 ? typed : DistanceFromLine(app, p, 0, 2);
    const CanvasXY base = Get(app, 2);
    const CanvasXY n = PerpendicularEnd(app, d, typed != 0 ? -1 : 0, p);
    Canvas(app).Line(base.x, base.y, n.x, n.y, Color(app));
    RewriteInPlace(app, OpenSlot(app) - 1, [&] { AppendPerpendicularVertex(app, base, n); });
    Put(app, 0, base);
    Put(app, 2, n);
    ++tool.ClickCount;
    return ReleaseEnd::CommonTail;
}

// ---- The foot of a perpendicular. ScratchXY: 0,1 and 2,3 the base; 4,5 the point; 6,7 the foot.

CanvasXY FootOf(App& app, CanvasXY p, double distance) {
    Put(app, 4, p);
    PerpendicularFoot(app, distance);
    return Get(app, 6);
}

void FootRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 1) return DrawRubberLine(app, x, y);
    if (tool.ClickCount != 2) return;
    Surface& canvas = Canvas(app);
    if (tool.RubberShown == -1) {
        const CanvasXY was = FootOf(app, tool.RubberPoint, 0);
        canvas.Line(was.x, was.y, tool.RubberPoint.x, tool.RubberPoint.y, Color(app));
    }
    tool.RubberLength = static_cast<float>(DistanceFromLine(app, {x, y}, 0, 2));
    const CanvasXY f = FootOf(app, {x, y}, 0);
    canvas.Line(f.x, f.y, x, y, Color(app));
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

// The third press dragged: the perpendicular keeps the length the hover measured and turns
// towards the cursor.
void FootDrag(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount != 2) return;
    app.form1->Text5.ZOrder(1);
    Surface& canvas = Canvas(app);
    if (tool.DragLineShown == -1)
        canvas.Line(tool.DragLineFrom.x, tool.DragLineFrom.y, tool.DragLineTo.x, tool.DragLineTo.y, Color(app));
    const CanvasXY f = FootOf(app, {x, y}, tool.RubberLength);
    tool.DragLineFrom = f;
    tool.DragLineTo = Get(app, 4);
    canvas.Line(f.x, f.y, tool.DragLineTo.x, tool.DragLineTo.y, Color(app));
    tool.DragLineShown = -1;
}

ReleaseEnd FootRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    const CanvasXY p = tool.PressPoint;
    if (tool.ClickCount == 0) {
        FreshScratch(app, 8);
        Put(app, 0, p);
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    Surface& canvas = Canvas(app);
    tool.RubberShown = 0;
    tool.DragLineShown = 0;
    if (tool.ClickCount == 1) {
        Put(app, 2, p);
        tool.ClickCount = 2;
        const CanvasXY p0 = Get(app, 0);
        canvas.Line(p0.x, p0.y, p.x, p.y, Color(app));
        ClearTypedDistance(app, true);
        return ReleaseEnd::CommonTail;
    }
    const double typed = TypedDistance(app);
    const CanvasXY f = FootOf(app, p, typed != 0 ? typed : DistanceFromLine(app, p, 0, 2));
    const CanvasXY to = Get(app, 4);
    canvas.Line(f.x, f.y, to.x, to.y, Color(app));
    canvas.PSet(f.x, f.y);
    canvas.Circle(f.x, f.y, app.view.ScaleFactor);
    StoreRecord(app, StoreFull, PointMarkRecord, f.x, f.y, 0, 0, 0, 0, 0, 0, "");
    tool.ClickCount = 0;
    return ReleaseEnd::CommonTail;
}

// ---- The circle and the arc through three points. ScratchXY: the points in 0..5, the centre in
// 6, 7, the radius in 8.

struct ThreePointFigure {
    double cx = 0, cy = 0, radius = 0;
    double start = 0, end = 0;  // the arc, counter-clockwise, as direction angles
};

// The figure through the first two points and `third`; false for three points in one line.
bool FigureThrough(App& app, CanvasXY third, ThreePointFigure& figure) {
    Put(app, 4, third);
    std::vector<double>& s = Scratch(app);
    s[8] = -1;
    CircleThrough3Points(app);
    if (!(s[8] > 0)) return false;
    figure.cx = s[6];
    figure.cy = s[7];
    figure.radius = s[8];
    const double first = -s[9], last = -s[10];
    const double middle = DirectionAngle(figure.cx, figure.cy, s[2], s[3]);
    // From the third point's direction counter-clockwise to the first's, unless the second point
    // lies on the other side: the arc always passes through the second click.
    const double sweep = std::fmod(first - last + TwoPi, TwoPi);
    const double toMiddle = std::fmod(middle - last + TwoPi, TwoPi);
    if (toMiddle <= sweep) {
        figure.start = last;
        figure.end = first;
    } else {
        figure.start = first;
        figure.end = last;
    }
    return true;
}

void DrawFigure(App& app, const ThreePointFigure& f, bool arc) {
    Surface& canvas = Canvas(app);
    if (arc)
        // Negative angles draw the radii to both ends too.
        canvas.Circle(f.cx, f.cy, f.radius, Color(app), true, -f.start, -f.end, 1.0);
    else
        canvas.Circle(f.cx, f.cy, f.radius, Color(app));
}

void ThreePointRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 1) return FirstLegRubber(app, x, y);
    if (tool.ClickCount != 2) return;
    const bool arc = tool.CommandMode == ModeArc3P;
    ThreePointFigure f;
    if (tool.RubberShown == -1 && FigureThrough(app, tool.RubberPoint, f)) DrawFigure(app, f, arc);
    if (FigureThrough(app, {x, y}, f)) DrawFigure(app, f, arc);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

// The rubber shown last: the first leg before the second click, the figure through the cursor
// after it. Drawn again in the inverting pen it goes, the map under it whole.
void ThreePointErase(App& app) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 1) {
        EraseFirstLeg(app);
        return;
    }
    if (tool.ClickCount != 2) return;
    const DrawModeScope inverting(Canvas(app), DrawModeNotXorPen);
    ThreePointFigure f;
    if (FigureThrough(app, tool.RubberPoint, f)) DrawFigure(app, f, tool.CommandMode == ModeArc3P);
}

ReleaseEnd ThreePointRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    const CanvasXY p = tool.PressPoint;
    if (tool.ClickCount == 0) {
        FreshScratch(app, 11);
        Put(app, 0, p);
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    if (tool.ClickCount == 1) {
        EraseFirstLeg(app);
        tool.RubberShown = 0;
        Put(app, 2, p);
        tool.ClickCount = 2;
        return ReleaseEnd::CommonTail;
    }
    tool.RubberShown = 0;
    tool.ClickCount = 0;
    const bool arc = tool.CommandMode == ModeArc3P;
    ThreePointFigure f;
    if (!FigureThrough(app, p, f)) {
        app.form1->Text2.SetText("请正确操作！");
        return ReleaseEnd::CommonTail;
    }
    MapRecord* r = FreshOpenSlot(app);
    if (!r) return ReleaseEnd::CommonTail;
    r->RecordType = arc ? ArcRecord : CircleRecord;
    r->RecordX1 = f.cx;
    r->RecordY1 = f.cy;
    r->RecordX2 = f.radius;
    r->RecordY2 = 1.0;
    r->RecordX3 = arc ? f.start : 0;
    r->RecordY3 = arc ? f.end : 0;
    // The placed figure as the map shows it: the arc without the radii its preview has.
    DrawStoredRecord(app, Store(app).CurrentLayer, OpenSlot(app));
    ++OpenSlot(app);
    return ReleaseEnd::CommonTail;
}

// ---- The rotated ellipse: the a axis between two clicks, b as far as the cursor from it.
// ScratchXY: 0,1 and 2,3 the axis; 6,7 the centre; 8 a; 9 b; 10 the axis azimuth.

void DrawEllipse(App& app) {
    const std::vector<double>& s = Scratch(app);
    DrawRotatedEllipse(app, s[6], s[7], static_cast<float>(s[8]), static_cast<float>(s[9]), static_cast<float>(s[10]),
                       Color(app));
}

void EllipseRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 1) return FirstLegRubber(app, x, y);
    if (tool.ClickCount != 2) return;
    if (tool.RubberShown == -1) DrawEllipse(app);
    Scratch(app)[9] = DistanceFromLine(app, {x, y}, 0, 2);
    DrawEllipse(app);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

ReleaseEnd EllipseRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    const CanvasXY p = tool.PressPoint;
    if (tool.ClickCount == 0) {
        FreshScratch(app, 11);
        Put(app, 0, p);
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    std::vector<double>& s = Scratch(app);
    if (tool.ClickCount == 1) {
        EraseFirstLeg(app);
        tool.RubberShown = 0;
        Put(app, 2, p);
        const CanvasXY a = Get(app, 0);
        s[6] = (a.x + p.x) / 2;
        s[7] = (a.y + p.y) / 2;
        s[8] = Dist(a.x, a.y, p.x, p.y) / 2;
        s[9] = 0;
        s[10] = Azimuth(p.x, p.y, a.x, a.y);
        tool.ClickCount = 2;
        return ReleaseEnd::CommonTail;
    }
    // b is what the last move measured.
    tool.RubberShown = 0;
    DrawEllipse(app);
    StoreRecord(app, StoreFull, EllipseRecord, s[6], s[7], s[8], s[9], s[10], 0, 0, 0, "");
    tool.ClickCount = 0;
    FreshScratch(app, 2);
    return ReleaseEnd::CommonTail;
}

// ---- The smoothed curve through the clicked points. ScratchXY holds the points as x, y pairs;
// the last pair floats with the cursor.

void SmoothRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const int k = tool.ClickCount;
    if (k < 2 || Scratch(app).size() < static_cast<std::size_t>(2 * k + 2)) return;
    if (tool.CurvePreviewShown == -1) {
        Put(app, 2 * k, tool.RubberPoint);
        SmoothWorkingCurve(app);
    }
    Put(app, 2 * k, {x, y});
    SmoothWorkingCurve(app);
    tool.RubberPoint = {x, y};
    tool.CurvePreviewShown = -1;
    tool.RubberShown = -1;
}

// Writes the curve's points from CurveStartSlot on as a chain of records, four points a record.
void StoreCurve(App& app) {
    ToolState& tool = app.tool;
    const std::string& code = tool.CommandArgument;
    OpenSlot(app) = tool.CurveStartSlot;
    const std::size_t n = tool.CurveX.size();
    for (std::size_t i = 0; i < n; ++i) {
        const double x = tool.CurveX[i], y = tool.CurveY[i];
        switch (i % 4) {
            case 0:
                if (i > 0) StoreRecord(app, StoreChainCommit, 5, 0, 0, 0, 0, 0, 0, 0, 0, "");
                if (code == DashedWidthCode) SetDashHeights(app, OpenSlot(app));
                StoreRecord(app, StoreChainOpen, 1, x, y, 0, 0, 0, 0, 0, 0, code);
                break;
            case 1: StoreRecord(app, StoreChainVertex2, 2, 0, 0, x, y, 0, 0, 0, 0, ""); break;
            case 2: StoreRecord(app, StoreChainVertex3, 3, 0, 0, 0, 0, x, y, 0, 0, ""); break;
            default: StoreRecord(app, StoreChainVertex4, 4, 0, 0, 0, 0, 0, 0, x, y, ""); break;
        }
    }
    ++OpenSlot(app);
}

ReleaseEnd SmoothRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    const CanvasXY p = tool.PressPoint;
    const int k = tool.ClickCount;
    if (k == 0) {
        tool.CurveStartSlot = OpenSlot(app);
        tool.CurveX.assign(1, 0.0);
        tool.CurveY.assign(1, 0.0);
        FreshScratch(app, 4);
        Put(app, 0, p);
        tool.ClickCount = 1;
        tool.CurvePreviewShown = 0;
        return ReleaseEnd::CommonTail;
    }
    std::vector<double>& s = Scratch(app);
    if (k == 1) {
        Put(app, 2, p);
        s.resize(6);
        Put(app, 4, p);
        tool.ClickCount = 2;
        tool.CurvePreviewShown = 0;
        return ReleaseEnd::CommonTail;
    }
    if (s.size() < static_cast<std::size_t>(2 * k + 2)) s.resize(static_cast<std::size_t>(2 * k + 2));
    Put(app, 2 * k, p);
    SmoothWorkingCurve(app);
    // The first curve is appended; every later click rewrites it from its start.
    if (k == 2)
        StoreCurve(app);
    else
        RewriteInPlace(app, tool.CurveStartSlot, [&] { StoreCurve(app); });
    刷新(app);
    tool.CurvePreviewShown = 0;
    tool.RubberShown = 0;
    ++tool.ClickCount;
    s.resize(s.size() + 2);
    Put(app, 2 * (k + 1), p);
    return ReleaseEnd::CommonTail;
}

}  // namespace

void SmoothSpan(App& app, double x0, double y0, double x1, double y1, double x2, double y2) {
    ToolState& tool = app.tool;
    const auto& w = app.settings.SmoothCoefficients;
    std::vector<double>& cx = tool.CurveX;
    std::vector<double>& cy = tool.CurveY;
    if (cx.empty()) return;
    const std::size_t u = cx.size() - 1;
    cx.resize(u + 7);
    cy.resize(u + 7);
    // The shift that puts the middle of the Bézier span on the middle point.
    const double dx = x1 / 2 - (x0 + x2) / 4;
    const double dy = y1 / 2 - (y0 + y2) / 4;
    const bool drawn = app.form1 != nullptr;
    for (std::size_t j = 1; j <= 6; ++j) {
        const double px = w[j][0] * x0 + w[j][1] * x1 + w[j][2] * x2 + dx;
        const double py = w[j][0] * y0 + w[j][1] * y1 + w[j][2] * y2 + dy;
        if (drawn) Canvas(app).Line(cx[u + j - 1], cy[u + j - 1], px, py, Color(app));
        cx[u + j] = px;
        cy[u + j] = py;
    }
}

void SmoothWorkingCurve(App& app) {
    ToolState& tool = app.tool;
    const std::vector<double>& s = Scratch(app);
    const std::size_t points = s.size() / 2;
    if (points < 3) return;
    for (std::size_t i = 1; i + 1 < points; ++i) {
        const double ax = s[2 * i - 2], ay = s[2 * i - 1];
        const double vx = s[2 * i], vy = s[2 * i + 1];
        const double bx = s[2 * i + 2], by = s[2 * i + 3];
        if (i == 1) {
            tool.CurveX.assign(1, ax);
            tool.CurveY.assign(1, ay);
        }
        SmoothSpan(app, vx + (ax - vx) / 4, vy + (ay - vy) / 4, vx, vy, vx + (bx - vx) / 4, vy + (by - vy) / 4);
    }
    const double lx = s[2 * points - 2], ly = s[2 * points - 1];
    if (app.form1) Canvas(app).Line(tool.CurveX.back(), tool.CurveY.back(), lx, ly, Color(app));
    tool.CurveX.push_back(lx);
    tool.CurveY.push_back(ly);
}

const ToolFamily& ConstructionToolFamily() {
    static const ToolFamily family{
        "construction",
        {
            {.mode = ModeTypedLengthLine, .rubber = TypedLengthRubber, .release = TypedLengthRelease},
            {.mode = ModePerpendiculars, .rubber = PerpendicularsRubber, .release = PerpendicularsRelease},
            {.mode = ModePerpendicularFoot, .drag = FootDrag, .rubber = FootRubber, .release = FootRelease},
            {.mode = ModeCircle3P, .rubber = ThreePointRubber, .erasePreview = ThreePointErase, .pressErasesPreview = true, .release = ThreePointRelease},
            {.mode = ModeArc3P, .rubber = ThreePointRubber, .erasePreview = ThreePointErase, .pressErasesPreview = true, .release = ThreePointRelease},
            {.mode = ModeEllipse, .rubber = EllipseRubber, .release = EllipseRelease},
            {.mode = ModeSmoothCurve, .rubber = SmoothRubber, .release = SmoothRelease},
        },
    };
    return family;
}

}  // namespace movra
