// The drawing tools: polylines, special lines and line types, freehand curves, rectangles and grid
// paper, circles and their aspect, print ranges and the station pick. Each turns the canvas events
// into records of the current layer, appended at its open slot.
#include <cmath>
#include <string>

#include "App.h"
#include "basic/Numbers.h"
#include "display/BoundaryLines.h"
#include "display/LineTypes.h"
#include "document/StoreRecord.h"
#include "editing/RubberLine.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolEngine.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// Record types of the chains: pen lines 1..5, special lines 91..95 (base + 5 is a full record).
constexpr std::uint8_t SpecialBase = 90;
constexpr std::uint8_t LineTypeRecord = 12;
constexpr std::uint8_t RectangleRecord = 6;
constexpr std::uint8_t GridPaperRecord = 36;
constexpr std::uint8_t CircleRecord = 7;
constexpr std::uint8_t PrintRangeRecord = 188;

// Codes of the special lines.
const std::string FixedBankCode = "1090";
const std::string BankCode = "1091";
const std::string DashedWidthCode = "1092";
const std::string WallCode = "1093";

// Line-type codes whose pattern the rubber of the polyline shows (type = code - 349).
constexpr double FirstRubberLineType = 349;
constexpr double LastRubberLineType = 601;

// Print ranges live in layer 0 from slot 800; the staged symbol image follows at 900.
constexpr int MaxPrintRanges = Layer0Slots::SymbolCopyFirst - Layer0Slots::PrintRangeFirst;

ToolState& Tool(App& app) { return app.tool; }
Rgb Color(App& app) { return app.current.CurrentColor; }

enum class LineKind { Plain, Special, DashedWidth, LineType };

LineKind KindOf(const std::string& code) {
    if (code.empty() || code == "0") return LineKind::Plain;
    if (code == FixedBankCode || code == BankCode || code == WallCode) return LineKind::Special;
    if (code == DashedWidthCode) return LineKind::DashedWidth;
    return LineKind::LineType;
}

// The special line of a code, drawn on the canvas in the current colour.
void DrawSpecialLine(App& app, const std::string& code, double x1, double y1, double x2, double y2) {
    const CurrentAttributes& c = app.current;
    if (code == FixedBankCode)
        DrawFixedBankLine(app, x1, y1, x2, y2, c.CurrentColor);
    else if (code == WallCode)
        DrawWallLine(app, x1, y1, x2, y2, c.CurrentColor);
    else if (code == BankCode)
        DrawBankLine(app, x1, y1, x2, y2, c.CurrentColor);
    else if (code == DashedWidthCode)
        DrawDashedWidthLine(app, x1, y1, x2, y2, c.DashWidth, c.DashOn, c.DashOff, c.CurrentColor);
}

void SetDashValues(App& app, std::int32_t slot) {
    MapRecord& r = app.store.At(app.store.CurrentLayer, slot);
    r.RecordZ2 = app.current.DashWidth;
    r.RecordZ3 = app.current.DashOn;
    r.RecordZ4 = app.current.DashOff;
}

// One type-12 record for the segment, with the length and unit direction its drawing left.
void StoreLineTypeSegment(App& app, const std::string& code, CanvasXY a, CanvasXY b) {
    DrawLineTypeSegment(app, a.x, a.y, b.x, b.y, code);
    const auto& u = app.display.UnitDirection;
    StoreRecord(app, StoreFull, LineTypeRecord, a.x, a.y, b.x, b.y, u[0], u[1], u[2], u[3], code);
}

// A segment standing alone, or the first of a polyline.
void StoreFirstSegment(App& app, CanvasXY a, CanvasXY b) {
    const std::string& code = Tool(app).CommandArgument;
    RecordStore& store = app.store;
    std::int32_t& count = store.Count(store.CurrentLayer);
    switch (KindOf(code)) {
        case LineKind::Plain:
            Canvas(app).Line(a.x, a.y, b.x, b.y, Color(app));
            AddRecord2(app, 2, a.x, a.y, b.x, b.y, "0");
            ++count;
            break;
        case LineKind::Special:
            AddRecord2(app, SpecialBase + 2, a.x, a.y, b.x, b.y, code);
            DrawSpecialLine(app, code, a.x, a.y, b.x, b.y);
            ++count;
            break;
        case LineKind::DashedWidth: {
            const std::int32_t slot = count;
            StoreRecord(app, StoreFull, SpecialBase + 2, a.x, a.y, b.x, b.y, 0, 0, 0, 0, code);
            // The dash values go only onto a record that was stored.
            if (count == slot + 1) SetDashValues(app, slot);
            DrawSpecialLine(app, code, a.x, a.y, b.x, b.y);
            break;
        }
        case LineKind::LineType: StoreLineTypeSegment(app, code, a, b); break;
    }
}

// Adds the point as the next vertex of the chain whose last record lies just below the count:
// base + 1 .. base + 4 grow by one vertex, a full base + 4 becomes base + 5 and a new base + 1
// record starts at the point. Returns false, storing nothing, when the last record is no open
// record of the chain.
bool ExtendChain(App& app, std::uint8_t base, CanvasXY p, const std::string& newText) {
    RecordStore& store = app.store;
    std::int32_t& count = store.Count(store.CurrentLayer);
    if (count <= 0) return false;
    const std::uint8_t type = store.At(store.CurrentLayer, count - 1).RecordType;
    if (type < base + 1 || type > base + 4) return false;
    --count;
    switch (type - base) {
        case 1: StoreRecord(app, StoreChainVertex2, base + 2, 0, 0, p.x, p.y, 0, 0, 0, 0, ""); break;
        case 2: StoreRecord(app, StoreChainVertex3, base + 3, 0, 0, 0, 0, p.x, p.y, 0, 0, ""); break;
        case 3: StoreRecord(app, StoreChainVertex4, base + 4, 0, 0, 0, 0, 0, 0, p.x, p.y, ""); break;
        case 4:
            StoreRecord(app, StoreChainCommit, base + 5, 0, 0, 0, 0, 0, 0, 0, 0, "");
            StoreRecord(app, StoreChainOpen, base + 1, p.x, p.y, 0, 0, 0, 0, 0, 0, newText);
            break;
    }
    ++count;
    return true;
}

void NextVertex(App& app, CanvasXY a, CanvasXY b) {
    const std::string& code = Tool(app).CommandArgument;
    const CurrentAttributes& c = app.current;
    RecordStore& store = app.store;
    switch (KindOf(code)) {
        case LineKind::Plain:
            ExtendChain(app, 0, b, code);
            Canvas(app).Line(a.x, a.y, b.x, b.y, Color(app));
            break;
        case LineKind::Special:
        case LineKind::DashedWidth:
            if (ExtendChain(app, SpecialBase, b, code) && code == DashedWidthCode)
                SetDashValues(app, store.Count(store.CurrentLayer) - 1);
            DrawSpecialPattern(app, a.x, a.y, b.x, b.y, c.CurrentColor, code, c.DashWidth, c.DashOn, c.DashOff);
            break;
        case LineKind::LineType: StoreLineTypeSegment(app, code, a, b); break;
    }
}

// ---- Polylines and segments.

ReleaseEnd LineRelease(App& app, double, double) {
    ToolState& tool = Tool(app);
    if (tool.ClickCount == 0) {
        tool.ClickCount = 1;
        tool.SegmentStart = tool.PressPoint;
        return ReleaseEnd::CommonTail;
    }
    if (tool.ClickCount == 1)
        StoreFirstSegment(app, tool.SegmentStart, tool.ReleasePoint);
    else
        NextVertex(app, tool.SegmentStart, tool.ReleasePoint);
    tool.SegmentStart = tool.ReleasePoint;
    if (tool.CommandMode == ModeSegments)
        tool.ClickCount = 0;
    else if (tool.ClickCount == 1)
        tool.ClickCount = 2;
    return ReleaseEnd::CommonTail;
}

// The polyline's rubber shows the line it will store where it can.
void LineRubber(App& app, double x, double y) {
    ToolState& tool = Tool(app);
    const std::string& code = tool.CommandArgument;
    const double value = Val(code);
    const bool erase = tool.RubberShown == -1;
    if (value > FirstRubberLineType && value < LastRubberLineType) {
        if (erase) DrawLineTypeSegment(app, tool.PressPoint.x, tool.PressPoint.y, tool.RubberPoint.x, tool.RubberPoint.y, code);
        DrawLineTypeSegment(app, tool.PressPoint.x, tool.PressPoint.y, x, y, code);
    } else if (KindOf(code) == LineKind::Special || KindOf(code) == LineKind::DashedWidth) {
        if (erase) DrawSpecialLine(app, code, tool.SegmentStart.x, tool.SegmentStart.y, tool.RubberPoint.x, tool.RubberPoint.y);
        DrawSpecialLine(app, code, tool.SegmentStart.x, tool.SegmentStart.y, x, y);
    } else {
        DrawRubberLine(app, x, y);
        return;
    }
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

// The segment shown last, drawn again in the inverting mode.
void LineErase(App& app) {
    ToolState& tool = Tool(app);
    const std::string& code = tool.CommandArgument;
    const double value = Val(code);
    if (value > FirstRubberLineType && value < LastRubberLineType)
        DrawLineTypeSegment(app, tool.PressPoint.x, tool.PressPoint.y, tool.RubberPoint.x, tool.RubberPoint.y, code);
    else if (KindOf(code) == LineKind::Special || KindOf(code) == LineKind::DashedWidth)
        DrawSpecialLine(app, code, tool.SegmentStart.x, tool.SegmentStart.y, tool.RubberPoint.x, tool.RubberPoint.y);
    else
        EraseRubberLine(app);
}

// ---- Freehand.

void ApplyCurrentPen(App& app) {
    Surface& canvas = Canvas(app);
    const int pen = app.current.CurrentPen;
    if (pen >= 7) {
        canvas.SetDrawStyle(DrawStyleSolid);
        canvas.SetDrawWidth(pen - 6);
    } else {
        canvas.SetDrawWidth(1);
        canvas.SetDrawStyle(pen);
    }
}

// Every third move adds one vertex: the mean of the three cursor points of its cycle.
void PenDrag(App& app, double x, double y) {
    ToolState& tool = Tool(app);
    ApplyCurrentPen(app);
    Surface& canvas = Canvas(app);
    switch (tool.PenPhase) {
        case 0:
            canvas.Line(tool.PressPoint.x, tool.PressPoint.y, x, y, Color(app));
            StoreRecord(app, StoreChainOpen, 1, tool.PressPoint.x, tool.PressPoint.y, 0, 0, 0, 0, 0, 0, "0");
            StoreRecord(app, StoreChainVertex2, 2, 0, 0, x, y, 0, 0, 0, 0, "");
            tool.PenVertex = 2;
            tool.PenPoint = {x, y};
            break;
        case 1: tool.PenSamples[0] = {x, y}; break;
        case 2: tool.PenSamples[1] = {x, y}; break;
        default: {
            const CanvasXY s{(tool.PenSamples[0].x + tool.PenSamples[1].x + x) / 3,
                             (tool.PenSamples[0].y + tool.PenSamples[1].y + y) / 3};
            tool.PenSamples[2] = s;
            canvas.Line(tool.PenPoint.x, tool.PenPoint.y, s.x, s.y, Color(app));
            tool.PenPoint = s;
            switch (tool.PenVertex) {
                case 1: StoreRecord(app, StoreChainVertex2, 2, 0, 0, s.x, s.y, 0, 0, 0, 0, ""); break;
                case 2: StoreRecord(app, StoreChainVertex3, 3, 0, 0, 0, 0, s.x, s.y, 0, 0, ""); break;
                case 3: StoreRecord(app, StoreChainVertex4, 4, 0, 0, 0, 0, 0, 0, s.x, s.y, ""); break;
                default:
                    StoreRecord(app, StoreChainCommit, 5, 0, 0, 0, 0, 0, 0, 0, 0, "");
                    StoreRecord(app, StoreChainOpen, 1, s.x, s.y, 0, 0, 0, 0, 0, 0, "0");
                    tool.PenVertex = 0;
                    break;
            }
            ++tool.PenVertex;
            break;
        }
    }
    tool.PenPhase = tool.PenPhase >= 3 ? 1 : tool.PenPhase + 1;
    tool.ClickCount = 1;
    app.form1->Text1.SetText(CursorText(app, x, y));
}

ReleaseEnd PenRelease(App& app, double x, double y) {
    ToolState& tool = Tool(app);
    if (tool.PenVertex == 0) return ReleaseEnd::CommonTail;
    Canvas(app).Line(tool.PenPoint.x, tool.PenPoint.y, x, y, Color(app));
    switch (tool.PenVertex) {
        case 1: StoreRecord(app, StoreChainVertex2, 2, 0, 0, x, y, 0, 0, 0, 0, ""); break;
        case 2: StoreRecord(app, StoreChainVertex3, 3, 0, 0, 0, 0, x, y, 0, 0, ""); break;
        case 3: StoreRecord(app, StoreChainVertex4, 4, 0, 0, 0, 0, 0, 0, x, y, ""); break;
        default:
            StoreRecord(app, StoreChainCommit, 5, 0, 0, 0, 0, 0, 0, 0, 0, "");
            StoreRecord(app, StoreChainOpen, 1, x, y, 0, 0, 0, 0, 0, 0, "");
            break;
    }
    tool.PenVertex = 0;
    ++app.store.Count(app.store.CurrentLayer);
    return ReleaseEnd::CommonTail;
}

// ---- Rectangles and print ranges.

void Box(App& app, CanvasXY a, CanvasXY b) { Canvas(app).Line(a.x, a.y, b.x, b.y, Color(app), LineShape::Box); }

// The figures are printed over what lies there, so that printing them again in the background
// colour takes them away.
void PrintFigure(App& app, double x, double y, double value, Rgb color) {
    Surface& canvas = Canvas(app);
    const Rgb fore = canvas.ForeColor();
    const int mode = canvas.DrawMode();
    canvas.SetDrawMode(DrawModeCopyPen);
    canvas.SetForeColor(color);
    canvas.SetCurrentX(x);
    canvas.SetCurrentY(y);
    canvas.Print(StrNumber(value));
    canvas.SetForeColor(fore);
    canvas.SetDrawMode(mode);
}

// The two size figures printed at the last drag point, printed again in the back colour.
void EraseSizeFigures(App& app) {
    ToolState& tool = Tool(app);
    Surface& canvas = Canvas(app);
    const double unit = app.view.ScaleFactor;
    const CanvasXY p = tool.PressPoint, r = tool.RubberPoint;
    canvas.SetFont("宋体", 9);
    PrintFigure(app, r.x - unit, p.y + 6 * unit, tool.RectSizeLabels[0], canvas.BackColor());
    PrintFigure(app, p.x - 5, r.y, tool.RectSizeLabels[1], canvas.BackColor());
}

void RectangleDrag(App& app, double x, double y) {
    ToolState& tool = Tool(app);
    Surface& canvas = Canvas(app);
    const double unit = app.view.ScaleFactor;
    const CanvasXY p = tool.PressPoint, r = tool.RubberPoint;
    canvas.SetFont("宋体", 9);
    if (r.x != p.x || r.y != p.y) {
        Box(app, p, r);
        EraseSizeFigures(app);
    }
    Box(app, p, {x, y});
    tool.RectSizeLabels[0] = Int(x * 100 - p.x * 100) / 100;
    tool.RectSizeLabels[1] = Int(p.y * 100 - y * 100) / 100;
    PrintFigure(app, x - unit, p.y + 6 * unit, tool.RectSizeLabels[0], Color(app));
    PrintFigure(app, p.x - 5, y, tool.RectSizeLabels[1], Color(app));
    tool.RubberPoint = {x, y};
    app.form1->Text1.SetText(CursorText(app, x, y));
}

// A box of no width or height is a slip: said on the message line, and the release ends there.
bool DegenerateBox(App& app, double x, double y) {
    const CanvasXY p = Tool(app).PressPoint;
    if (x != p.x && y != p.y) return false;
    app.form1->Text2.SetText("请正确操作！");
    return true;
}

ReleaseEnd RectangleRelease(App& app, double x, double y) {
    // The size figures were a preview: they go before the box is drawn for good.
    const CanvasXY p = Tool(app).PressPoint, r = Tool(app).RubberPoint;
    if (r.x != p.x || r.y != p.y) EraseSizeFigures(app);
    if (DegenerateBox(app, x, y)) return ReleaseEnd::EndNow;
    Box(app, p, {x, y});
    const double grid = Val(app.form1->Text8.Text());
    const std::uint8_t type = grid == 0 ? RectangleRecord : grid >= 1 ? GridPaperRecord : 0;
    if (type != 0)
        StoreRecord(app, StoreFull, type, p.x, p.y, x, p.y, x, y, p.x, y, Tool(app).CommandArgument);
    return ReleaseEnd::CommonTail;
}

ReleaseEnd PrintRangeRelease(App& app, double x, double y) {
    ToolState& tool = Tool(app);
    const CanvasXY p = tool.PressPoint;
    if (tool.RubberPoint.x != p.x || tool.RubberPoint.y != p.y) EraseSizeFigures(app);
    if (DegenerateBox(app, x, y)) return ReleaseEnd::EndNow;
    Box(app, p, {x, y});
    MapRecord& head = app.store.At(0, Layer0Slots::PrintRangeFirst);
    const double n = Int(head.RecordZ3);
    // The slots after the ranges hold the staged symbol image and the loaded self-made symbols.
    if (n < 0 || n >= MaxPrintRanges) {
        app.form1->Text2.SetText("打印范围最多" + PlainNumberText(static_cast<std::int32_t>(MaxPrintRanges)) + "个");
        tool.CommandMode = ModeIdle;
        return ReleaseEnd::CommonTail;
    }
    MapRecord& range = app.store.At(0, Layer0Slots::PrintRangeFirst + static_cast<int>(n));
    range.RecordType = PrintRangeRecord;
    range.RecordX1 = std::min(p.x, x);
    range.RecordY1 = std::max(p.y, y);
    range.RecordX2 = std::max(p.x, x);
    range.RecordY2 = std::min(p.y, y);
    head.RecordZ3 = static_cast<float>(n + 1);
    const int answer = app.platform.prompt().MsgBox("继续吗？是_继续，否_重复，取消_结束", MsgYesNoCancel, "选打印范围");
    if (answer == AnswerYes) {
        tool.CommandMode = ModePrintRange;
    } else if (answer == AnswerNo) {
        tool.CommandMode = ModePrintRange;
        head.RecordZ3 = static_cast<float>(n);
    } else {
        tool.CommandMode = ModeIdle;
    }
    return ReleaseEnd::CommonTail;
}

// ---- Circles.

void CirclePress(App& app, double, double) {
    ToolState& tool = Tool(app);
    tool.CircleCentre = tool.PressPoint;
    tool.CircleRadius = 0;
}

void CircleDrag(App& app, double x, double y) {
    ToolState& tool = Tool(app);
    Surface& canvas = Canvas(app);
    const CanvasXY p = tool.PressPoint;
    const double shown = std::hypot(tool.RubberPoint.x - p.x, tool.RubberPoint.y - p.y);
    if (shown > 0) canvas.Circle(p.x, p.y, shown, Color(app));
    tool.CircleRadius = std::hypot(x - p.x, y - p.y);
    if (tool.CircleRadius > 0) canvas.Circle(p.x, p.y, tool.CircleRadius, Color(app));
    tool.CircleCentre = p;
    tool.RubberPoint = {x, y};
}

ReleaseEnd CircleRelease(App& app, double, double) {
    ToolState& tool = Tool(app);
    // A click without a drag has no circle to store.
    if (tool.CircleRadius <= 0) return ReleaseEnd::CommonTail;
    const CanvasXY c = tool.CircleCentre;
    Canvas(app).Circle(c.x, c.y, tool.CircleRadius, Color(app));
    StoreRecord(app, StoreFull, CircleRecord, c.x, c.y, tool.CircleRadius, 1.0, 0, 0, 0, 0, "");
    // An aspect release without a drag keeps the circle round.
    tool.CircleAspect = 1.0;
    tool.CommandMode = ModeCircleAspect;
    tool.ClickCount = 0;
    return ReleaseEnd::CommonTail;
}

void AspectDrag(App& app, double x, double y) {
    ToolState& tool = Tool(app);
    if (tool.CircleRadius <= 0) return;
    Surface& canvas = Canvas(app);
    const CanvasXY c = tool.CircleCentre;
    const double shown = std::hypot(tool.RubberPoint.x - c.x, tool.RubberPoint.y - c.y) / tool.CircleRadius;
    canvas.Circle(c.x, c.y, tool.CircleRadius, Color(app), false, 0, 0, shown);
    tool.CircleAspect = std::hypot(x - c.x, y - c.y) / tool.CircleRadius;
    canvas.Circle(c.x, c.y, tool.CircleRadius, Color(app), false, 0, 0, tool.CircleAspect);
    tool.RubberPoint = {x, y};
}

ReleaseEnd AspectRelease(App& app, double, double) {
    ToolState& tool = Tool(app);
    RecordStore& store = app.store;
    const std::int32_t count = store.Count(store.CurrentLayer);
    // Only the circle the last release stored takes the aspect.
    if (count > 0 && store.At(store.CurrentLayer, count - 1).RecordType == CircleRecord) {
        const CanvasXY c = tool.CircleCentre;
        Canvas(app).Circle(c.x, c.y, tool.CircleRadius, Color(app), false, 0, 0, tool.CircleAspect);
        store.At(store.CurrentLayer, count - 1).RecordY2 = tool.CircleAspect;
    }
    tool.CommandMode = ModeCircle;
    return ReleaseEnd::CommonTail;
}

// ---- The station pick.

// Takes the snapped vertex as the station and hands it to the survey set-up, which reads it from
// PickedStation.
void PickStationPoint(App& app) {
    ToolState& tool = Tool(app);
    tool.PickedStation = tool.SnapVertex;
    if (auto picked = tool.StationPicked) picked(app);
}

ReleaseEnd PickStationRelease(App& app, double, double) {
    PickStationPoint(app);
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& DrawingToolFamily() {
    static const ToolFamily family{
        "drawing",
        {
            {.mode = ModeLine, .rubber = LineRubber, .erasePreview = LineErase, .pressErasesPreview = true, .release = LineRelease},
            {.mode = ModeSegments, .rubber = DrawRubberLine, .erasePreview = EraseRubberLine, .pressErasesPreview = true, .release = LineRelease},
            {.mode = ModePen, .drag = PenDrag, .release = PenRelease},
            {.mode = ModeRectangle, .drag = RectangleDrag, .release = RectangleRelease},
            {.mode = ModePrintRange, .drag = RectangleDrag, .release = PrintRangeRelease},
            {.mode = ModeCircle, .press = CirclePress, .drag = CircleDrag, .release = CircleRelease},
            {.mode = ModeCircleAspect, .drag = AspectDrag, .release = AspectRelease},
            {.mode = ModePickStation, .release = PickStationRelease},
        },
    };
    return family;
}

}  // namespace movra
