// The point marks: small circles of a size in paper millimetres, the four land-use marks and the
// seed click of the ink fill. The first click starts the preview, the second places the mark at
// the raw release point; the tool stays armed, so every second click places one. What is placed
// follows the prompt in Text2, so that editing Text2 or Text8 changes the mark.
#include <cstdint>
#include <string>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/BoundaryLines.h"
#include "display/RecordRenderer.h"
#include "document/RecordPositions.h"
#include "document/RecordTypes.h"
#include "document/StoreRecord.h"
#include "editing/ToolFamilies.h"
#include "geomops/GeomopsSeams.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

enum class MarkKind { LandUse1, LandUse2, LandUse3, LandUse4, InkSeed, Circle };

struct MarkRow {
    const char* prompt;
    MarkKind kind;
    std::uint8_t type;
};

// The prompts that name a mark; any other prompt places a circle.
constexpr MarkRow MarkRows[] = {
    {"加注水田符号", MarkKind::LandUse1, TypeLandUse1},
    {"加注水生作物符号", MarkKind::LandUse2, TypeLandUse2},
    {"加注旱地符号", MarkKind::LandUse3, TypeLandUse3},
    {"加注草地符号", MarkKind::LandUse4, TypeLandUse4},
    {"倒墨水", MarkKind::InkSeed, TypeInkFill},
};

MarkRow RowFor(App& app) {
    const std::string prompt = app.form1->Text2.Text();
    for (const MarkRow& row : MarkRows)
        if (prompt == row.prompt) return row;
    return {"", MarkKind::Circle, TypeCircle};
}

// Text8 holds the diameter in paper millimetres.
double CircleRadius(App& app) { return Val(app.form1->Text8.Text()) * app.view.ScaleFactor / 2; }

// The preview of the mark at (x, y); drawn twice at one point it leaves the canvas as it was.
void DrawPreview(App& app, MarkKind kind, double x, double y) {
    const auto fx = static_cast<float>(x), fy = static_cast<float>(y);
    switch (kind) {
        case MarkKind::LandUse1: DrawLandUseMark1(app, fx, fy); break;
        case MarkKind::LandUse2: DrawLandUseMark2(app, fx, fy); break;
        case MarkKind::LandUse3: DrawLandUseMark3(app, fx, fy); break;
        case MarkKind::LandUse4: DrawLandUseMark4(app, fx, fy); break;
        case MarkKind::InkSeed:
        case MarkKind::Circle: {
            const double r = CircleRadius(app);
            if (r > 0 && IsStorableCoordinate(r)) app.form1->Picture1.surface().Circle(x, y, r);
            break;
        }
    }
}

void MarkRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const MarkKind kind = RowFor(app).kind;
    if (tool.PreviewShown == -1) DrawPreview(app, kind, tool.PreviewPoint.x, tool.PreviewPoint.y);
    DrawPreview(app, kind, x, y);
    tool.PreviewPoint = tool.RubberPoint = {x, y};
    tool.PreviewShown = tool.RubberShown = -1;
}

// Takes the preview away before the mark itself is drawn.
void ErasePreview(App& app, MarkKind kind) {
    ToolState& tool = app.tool;
    if (tool.PreviewShown != -1) return;
    {
        const DrawModeScope inverting(app.form1->Picture1.surface(), DrawModeNotXorPen);
        DrawPreview(app, kind, tool.PreviewPoint.x, tool.PreviewPoint.y);
    }
    tool.PreviewShown = 0;
}

// The mark record in the open slot: colour, pen, the point, and the type; nothing else is written.
MapRecord& OpenMarkSlot(App& app, std::uint8_t type, double x, double y) {
    RecordStore& store = app.store;
    MapRecord& r = store.At(store.CurrentLayer, store.Count(store.CurrentLayer));
    r = MapRecord{};
    r.RecordType = type;
    r.RecordColor = app.current.CurrentColor;
    r.RecordPen = static_cast<std::uint8_t>(app.current.CurrentPen & 0xFF);
    r.RecordX1 = x;
    r.RecordY1 = y;
    return r;
}

// The ink fill writes its records from the seed's slot on and owns the count; a seed it left
// behind (an empty fill) is taken away, so that no stale record stays above the count.
void PourInk(App& app, double x, double y) {
    RecordStore& store = app.store;
    const int layer = store.CurrentLayer;
    OpenMarkSlot(app, TypeInkFill, x, y);
    app.geomopsSeams.墨水填充(app, ToInt32(x), ToInt32(y), 1);
    const std::int32_t count = store.Count(layer);
    if (count < store.LayerCapacity && store.At(layer, count).RecordType == TypeInkFill) store.At(layer, count) = MapRecord{};
}

ReleaseEnd MarkRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        tool.RubberShown = tool.PreviewShown = 0;
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    tool.ClickCount = 0;
    const MarkRow row = RowFor(app);
    ErasePreview(app, row.kind);
    RecordStore& store = app.store;
    const int layer = store.CurrentLayer;
    // What the store would refuse is refused here, as the command line refuses a far point: a
    // place beyond the storable range, or a typed size whose circle no view could hold.
    const double radius = row.kind == MarkKind::Circle ? CircleRadius(app) : 0;
    if (!HasStorablePositions(row.type, x, y, radius, 1, 0, 0, 0, 0) || !IsStorableCoordinate(radius)) {
        app.form1->Text2.SetText(MessageLineText(RuntimeError(ErrOverflow)));
        return ReleaseEnd::CommonTail;
    }
    if (row.kind == MarkKind::InkSeed && !app.geomopsSeams.墨水填充) {
        app.form1->Text2.SetText(OperationMissingMessage("墨水填充"));
        return ReleaseEnd::CommonTail;
    }
    if (store.Count(layer) + 1 > store.LayerCapacity) {
        app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
        return ReleaseEnd::CommonTail;
    }
    if (row.kind == MarkKind::InkSeed) {
        PourInk(app, x, y);
        return ReleaseEnd::CommonTail;
    }
    MapRecord& r = OpenMarkSlot(app, row.type, x, y);
    if (row.kind == MarkKind::Circle) {
        r.RecordX2 = radius;
        r.RecordY2 = 1.0;
    }
    auto slot = static_cast<std::int16_t>(store.Count(layer));
    ++store.Count(layer);
    auto drawLayer = static_cast<std::uint8_t>(layer);
    DrawRecord(app, drawLayer, slot);
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& MarkToolFamily() {
    static const ToolFamily family{
        "marks",
        {
            {.mode = ModeInkFill, .rubber = MarkRubber, .release = MarkRelease},
            {.mode = ModeSmallCircle, .rubber = MarkRubber, .release = MarkRelease},
            {.mode = ModeLandUseMark, .rubber = MarkRubber, .release = MarkRelease},
            {.mode = ModeSmallCircle16, .rubber = MarkRubber, .release = MarkRelease},
            {.mode = ModeSmallCircle05, .rubber = MarkRubber, .release = MarkRelease},
            {.mode = ModeLandUseMark2, .rubber = MarkRubber, .release = MarkRelease},
        },
    };
    return family;
}

}  // namespace movra
