#include "editing/Snapping.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "App.h"
#include "basic/Guards.h"
#include "editing/ToolEngine.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// Records of type 100 and above are deleted: neither drawn nor saved, so nothing to land on.
constexpr int DeletedTypeBase = 100;
// Vertices 2 to 4 are tried only when vertex 2 lies this near the cursor.
constexpr double SecondVertexWindow = 100;

bool Within(double x, double y, double px, double py, double reach) {
    return std::fabs(x - px) <= reach && std::fabs(y - py) <= reach;
}

}  // namespace

void FindSnapVertex(App& app, double x, double y) {
    GuardToMessageLine(
        [&app](const std::string& text) {
            if (app.form1) app.form1->Text2.SetText(text);
        },
        [&] {
            const RecordStore& store = app.store;
            const double reach = app.view.GroundPerScreenMm;
            // Layer 0 holds reserved slots (journal views, templates, the symbol library); only
            // the drawing area of a self-made symbol is meant to be snapped to.
            const int firstLayer = app.tool.SymbolMakingMode == -1 ? 0 : 1;
            const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());
            for (int layer = firstLayer; layer <= lastLayer; ++layer) {
                if (store.LayerOnFlag[layer] != -1 || store.LayerLockFlag[layer] != 0) continue;
                const int count = std::min<int>(store.Count(layer), store.LayerCapacity + 1);
                for (int slot = 0; slot < count; ++slot) {
                    const MapRecord& r = store.Get(layer, slot);
                    if (r.RecordType >= DeletedTypeBase) continue;
                    const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
                    const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
                    int hit = 0;
                    if (Within(x, y, xs[0], ys[0], reach)) {
                        hit = 1;
                    } else if (Within(x, y, xs[1], ys[1], SecondVertexWindow)) {
                        for (int k = 1; k < 4 && !hit; ++k)
                            if (Within(x, y, xs[k], ys[k], reach)) hit = k + 1;
                    }
                    if (!hit) continue;
                    ToolState& tool = app.tool;
                    tool.SnapCandidate = {xs[hit - 1], ys[hit - 1]};
                    tool.SnapVertex = {static_cast<std::int16_t>(layer), static_cast<std::int16_t>(slot),
                                       static_cast<std::int16_t>(hit)};
                    return;
                }
            }
        });
}

void DrawSnapMarker(App& app) {
    Surface& canvas = app.form1->Picture1.surface();
    const DrawModeScope inverting(canvas, DrawModeNotXorPen);
    const double g = app.view.GroundPerScreenMm;
    const CanvasXY c = app.tool.SnapCandidate;
    canvas.Line(c.x - g, c.y - g, c.x + g, c.y + g, app.current.CurrentColor, LineShape::FilledBox);
}

void EraseSnapMarker(App& app) {
    if (app.tool.SnapBoxDrawn != -1) return;
    DrawSnapMarker(app);
    app.tool.SnapBoxDrawn = 0;
}

void HoverSnap(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.SnapBoxDrawn == -1) DrawSnapMarker(app);
    FindSnapVertex(app, x, y);
    DrawSnapMarker(app);
    // The vertex as hover, press and release show a point: in true coordinates.
    app.form1->Text1.SetText(CursorText(app, tool.SnapCandidate.x, tool.SnapCandidate.y));
    tool.SnapBoxDrawn = -1;
}

bool PressTakesCandidate(const App& app, double x, double y) {
    const double reach = 2 * app.view.GroundPerScreenMm;
    const CanvasXY c = app.tool.SnapCandidate;
    return app.tool.SnapOn == -1 && std::fabs(x - c.x) < reach && std::fabs(y - c.y) < reach;
}

bool ReleaseTakesCandidate(const App& app, double x, double y) {
    const double reach = app.view.ScaleFactor + 1;
    const CanvasXY c = app.tool.SnapCandidate;
    return std::fabs(x - c.x) < reach && std::fabs(y - c.y) < reach;
}

}  // namespace movra
