// The fill (145): the first click floods the canvas region under it up to lines of the current
// colour, so the user sees the area meant; then the ring's points are clicked and a click closer
// than one paper millimetre to the first point closes it. Pattern "0" stores fan strips, any
// other pattern a fill head with its boundary chain.
// The four-point block (146): four corners make a block of strips at the spacing in Text8.
#include "editing/FillTools.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "document/RecordTypes.h"
#include "display/Redraw.h"
#include "display/Shapes.h"
#include "document/Geometry.h"
#include "document/StoreRecord.h"
#include "editing/PointLists.h"
#include "editing/RubberLine.h"
#include "editing/TextToolSupport.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr std::uint8_t FanStripPen = 4;
constexpr const char* FanStripFont = "1";
// The most clicks ClickCount counts; a ring that long takes no more points.
constexpr int MostClicks = 255;

// Floods the canvas from the pixel under the map point, bounded by the current colour; a point
// off the canvas floods nothing.
void FloodFromPoint(App& app, const CanvasXY& p) {
    Surface& canvas = Canvas(app);
    const double px = std::nearbyint(canvas.ToPixelX(p.x));
    const double py = std::nearbyint(canvas.ToPixelY(p.y));
    if (!(px >= 0 && py >= 0 && px < canvas.PixelWidth() && py < canvas.PixelHeight())) return;
    canvas.FloodFill(static_cast<int>(px), static_cast<int>(py), app.current.CurrentColor, FloodFillBorder);
}

ReleaseEnd FillRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    std::vector<double>& ring = app.selection.WorkPolygon;
    const int k = tool.ClickCount;
    if (k == 0) {
        ring.assign(6, 0.0);
        SetListPoint(ring, 0, tool.PressPoint);
        FloodFromPoint(app, tool.PressPoint);
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    if (k < 3) {
        SetListPoint(ring, k, tool.PressPoint);
        tool.ClickCount = static_cast<std::uint8_t>(k + 1);
        return ReleaseEnd::CommonTail;
    }
    // A ring as long as the counter goes takes no further point but can still be closed.
    const CanvasXY& p = tool.PressPoint;
    if (k < MostClicks) {
        ring.resize(static_cast<std::size_t>(2 * (k + 1)), 0.0);
        SetListPoint(ring, k, p);
        tool.ClickCount = static_cast<std::uint8_t>(k + 1);
    }
    const double sf = app.view.ScaleFactor;
    const CanvasXY first = ListPoint(ring, 0);
    Canvas(app).Line(first.x - sf, first.y - sf, first.x + sf, first.y + sf, app.current.CurrentColor, LineShape::Box);
    if (!(Dist(p.x, p.y, first.x, first.y) < sf)) return ReleaseEnd::CommonTail;
    if (k >= MostClicks) SetListPoint(ring, static_cast<int>(ring.size() / 2) - 1, p);
    tool.ClickCount = 0;
    const std::string pattern = app.form1->Text8.Text();
    if (pattern == "0") {
        AddCentroidPoints(app);
    } else {
        StorePolylineFromList(app, pattern);
        app.current.ModifiedFlag = -1;
        刷新(app);
    }
    return ReleaseEnd::CommonTail;
}

// ---- The four-point block (146).

ReleaseEnd BlockRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    std::vector<double>& s = app.geometry.ScratchXY;
    const int k = tool.ClickCount;
    if (k == 0) s.assign(8, 0.0);
    SetListPoint(s, std::min(k, 3), tool.PressPoint);
    if (k < 3) {
        tool.ClickCount = static_cast<std::uint8_t>(k + 1);
        return ReleaseEnd::CommonTail;
    }
    tool.ClickCount = 0;
    stForm1& form = *app.form1;
    if (Val(form.Text8.Text()) == 0) form.Text8.SetText("1");
    const double spacing = Val(form.Text8.Text());
    const CanvasXY c0 = ListPoint(s, 0), c1 = ListPoint(s, 1), c2 = ListPoint(s, 2), c3 = ListPoint(s, 3);
    const double strips = std::min(Int(Dist(c0.x, c0.y, c3.x, c3.y) / spacing), Int(Dist(c1.x, c1.y, c2.x, c2.y) / spacing));
    const int layer = app.store.CurrentLayer;
    const std::int32_t before = app.store.Count(layer);
    StoreRecord(app, StoreFull, TypeLadderStrip, c0.x, c0.y, c1.x, c1.y, c2.x, c2.y, c3.x, c3.y, "");
    if (MapRecord* r = AppendedRecord(app, before)) {
        r->RecordZ4 = static_cast<float>(strips);
        DrawStripShape2(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(before));
    }
    return ReleaseEnd::CommonTail;
}

}  // namespace

void AddCentroidPoints(App& app) {
    const std::vector<double>& ring = app.selection.WorkPolygon;
    const int n = static_cast<int>(std::nearbyint(static_cast<double>(ring.size()) / 2));
    if (n < 2) return;
    // The centroid of the ring's corners; the closing click lies near the first and is left out.
    CanvasXY g{0, 0};
    for (int i = 0; i <= n - 2; ++i) {
        const CanvasXY p = ListPoint(ring, i);
        g.x += p.x;
        g.y += p.y;
    }
    g.x /= n - 1;
    g.y /= n - 1;
    RecordStore& store = app.store;
    const int layer = store.CurrentLayer;
    for (int j = 0; j <= n - 2; j += 2) {
        const CanvasXY p1 = ListPoint(ring, j), p2 = ListPoint(ring, j + 1);
        const CanvasXY p3 = j <= n - 3 ? ListPoint(ring, j + 2) : p2;
        const double radius = std::max({Dist(g.x, g.y, p1.x, p1.y), Dist(g.x, g.y, p2.x, p2.y), Dist(g.x, g.y, p3.x, p3.y)});
        const std::int32_t before = store.Count(layer);
        StoreRecord(app, StoreFull, TypeFanStrip, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, g.x, g.y, "");
        MapRecord* r = AppendedRecord(app, before);
        if (!r) return;
        r->RecordPen = FanStripPen;
        r->RecordFont = FanStripFont;
        r->RecordZ4 = static_cast<float>(Int(radius));
        DrawStripShape(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(before));
    }
}

const ToolFamily& FillToolFamily() {
    static const ToolFamily family{
        "fills",
        {
            {.mode = ModeFill, .rubber = DrawRubberLine, .erasePreview = EraseRubberEdges, .release = FillRelease},
            {.mode = ModeFourPointBlock, .rubber = DrawRubberLine, .erasePreview = EraseRubberEdges, .release = BlockRelease},
        },
    };
    return family;
}

}  // namespace movra
