// The point-symbol tools: a symbol of the standard (north-up, or turned towards a third click),
// a self-made symbol of the loaded library, and the colour marker that only shows palette
// colours on the canvas.
#include <cmath>
#include <cstdint>
#include <string>

#include "App.h"
#include "display/PointSymbols.h"
#include "document/RecordTypes.h"
#include "document/StoreRecord.h"
#include "editing/TextToolSupport.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolFamilies.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"
#include "symbols/SelfMadeSymbols.h"

namespace movra {

namespace {

// Length of the guide line drawn at right angles to a turned symbol's direction, in ground units.
constexpr double GuideLineLength = 100;
// Side of the colour marker's box, in ground units.
constexpr double MarkerSide = 8;

// ---- The symbol of the standard (31).

// The unit vector from the anchor towards (x, y); north for the anchor itself.
CanvasXY DirectionFrom(const CanvasXY& anchor, double x, double y) {
    const double d = std::hypot(x - anchor.x, y - anchor.y);
    if (d == 0) return {0, 1};
    return {(x - anchor.x) / d, (y - anchor.y) / d};
}

void DrawTurnedSymbol(App& app, const CanvasXY& u) {
    const CanvasXY& a = app.tool.SymbolAnchor;
    const Rgb color = app.current.CurrentColor;
    DrawPointSymbol(app, a.x, a.y, app.tool.CommandArgument, u.x, u.y, color);
    Canvas(app).Line(a.x, a.y, a.x + GuideLineLength * u.y, a.y - GuideLineLength * u.x, color);
}

void SymbolRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const Rgb color = app.current.CurrentColor;
    if (tool.ClickCount == 1) {
        if (tool.RubberShown == -1)
            DrawPointSymbol(app, tool.RubberPoint.x, tool.RubberPoint.y, tool.CommandArgument, 0, 1, color);
        DrawPointSymbol(app, x, y, tool.CommandArgument, 0, 1, color);
        tool.RubberPoint = {x, y};
        tool.RubberShown = -1;
        return;
    }
    // PreviewPoint keeps the direction the turned symbol was drawn with (a press moves
    // RubberPoint).
    if (tool.PreviewShown == -1) DrawTurnedSymbol(app, tool.PreviewPoint);
    const CanvasXY u = DirectionFrom(tool.SymbolAnchor, x, y);
    DrawTurnedSymbol(app, u);
    tool.PreviewPoint = u;
    tool.PreviewShown = tool.RubberShown = -1;
}

std::int32_t StoreSymbol(App& app, double x, double y) {
    const std::int32_t before = app.store.Count(app.store.CurrentLayer);
    StoreRecord(app, StoreFull, TypePointSymbol, x, y, 0, 1, 0, 0, 0, 0, app.tool.CommandArgument);
    return AppendedRecord(app, before) ? before : -1;
}

ReleaseEnd SymbolRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const int layer = app.store.CurrentLayer;
    if (tool.ClickCount == 0) {
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    if (tool.ClickCount == 1) {
        const std::int16_t anyDirection = app.current.SymbolAnyDirection;
        if (anyDirection == 0) {
            if (StoreSymbol(app, x, y) >= 0)
                DrawPointSymbol(app, x, y, tool.CommandArgument, 0, 1, app.current.CurrentColor);
            tool.ClickCount = 0;
        } else if (anyDirection == -1) {
            // The north-up preview makes way for the turning one.
            if (tool.RubberShown == -1) {
                const DrawModeScope inverting(Canvas(app), DrawModeNotXorPen);
                DrawPointSymbol(app, tool.RubberPoint.x, tool.RubberPoint.y, tool.CommandArgument, 0, 1,
                                app.current.CurrentColor);
            }
            tool.SnapOn = 0;
            tool.RubberShown = tool.PreviewShown = 0;
            tool.SymbolAnchor = tool.ReleasePoint;
            if (StoreSymbol(app, tool.ReleasePoint.x, tool.ReleasePoint.y) >= 0) tool.ClickCount = 2;
            else tool.ClickCount = 0;
        }
        return ReleaseEnd::CommonTail;
    }
    // The third click turns the symbol just stored towards itself.
    tool.ClickCount = 0;
    const std::int32_t slot = app.store.Count(layer) - 1;
    if (slot < 0) return ReleaseEnd::CommonTail;
    MapRecord& r = app.store.At(layer, slot);
    if (r.RecordType != TypePointSymbol) return ReleaseEnd::CommonTail;
    if (tool.PreviewShown == -1) {
        {
            const DrawModeScope inverting(Canvas(app), DrawModeNotXorPen);
            DrawTurnedSymbol(app, tool.PreviewPoint);
        }
        tool.PreviewShown = 0;
    }
    const CanvasXY u = DirectionFrom({r.RecordX1, r.RecordY1}, x, y);
    r.RecordX2 = u.x;
    r.RecordY2 = u.y;
    DrawStoredRecord(app, layer, slot);
    return ReleaseEnd::CommonTail;
}

// ---- The self-made symbol (49): Text8 names it.

std::string SelfMadeName(App& app) { return app.form1->Text8.Text(); }

void SelfMadeRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const std::string name = SelfMadeName(app);
    if (tool.RubberShown == -1) PreviewSelfMadeSymbol(app, tool.RubberPoint.x, tool.RubberPoint.y, name);
    PreviewSelfMadeSymbol(app, x, y, name);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

void SelfMadeDrag(App& app, double x, double y) {
    if (app.tool.ClickCount > 0) SelfMadeRubber(app, x, y);
}

ReleaseEnd SelfMadeRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    const std::string name = SelfMadeName(app);
    PreviewSelfMadeSymbol(app, x, y, name);
    InsertSelfMadeSymbol(app, x, y, name);
    tool.ClickCount = 0;
    return ReleaseEnd::CommonTail;
}

// ---- The colour marker (100): a hatched box in the next palette colour at every click.

ReleaseEnd ColorMarkerRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    Surface& canvas = Canvas(app);
    const Rgb color = app.tables.ColorPalette[tool.ToolStep];
    canvas.SetDrawWidth(1);
    canvas.SetFillStyle(FillStyleDownwardDiagonal);
    canvas.SetFillColor(color);
    const CanvasXY& p = tool.PressPoint;
    canvas.Line(p.x, p.y, p.x + MarkerSide, p.y - MarkerSide, color, LineShape::Box);
    tool.ToolStep = static_cast<std::uint8_t>(tool.ToolStep + 1);  // 255 wraps to 0
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& SymbolToolFamily() {
    static const ToolFamily family{
        "symbols",
        {
            {.mode = ModeMapSymbol, .rubber = SymbolRubber, .release = SymbolRelease},
            {.mode = ModeSelfMadeSymbol, .drag = SelfMadeDrag, .rubber = SelfMadeRubber, .release = SelfMadeRelease},
            {.mode = ModeColorMarker, .release = ColorMarkerRelease},
        },
    };
    return family;
}

}  // namespace movra
