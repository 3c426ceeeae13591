#include "document/DrawingExtents.h"

#include <algorithm>
#include <limits>

#include "App.h"
#include "document/RecordPositions.h"
#include "document/RecordTypes.h"
#include "platform/Surface.h"
#include "shell/stForm1.h"

namespace movra {

double CanvasAspect(const App& app) {
    if (app.form1) {
        const Surface& canvas = app.form1->Picture1.surface();
        if (canvas.PixelWidth() > 0 && canvas.PixelHeight() > 0)
            return static_cast<double>(canvas.PixelHeight()) / canvas.PixelWidth();
    }
    return app.view.ScreenAspect;
}

void ShowGroundWindow(App& app, double left, double top, double width, double height) {
    app.form1->Picture1.SetScale(left, top, width, -height);
}

void ResetScrollBars(App& app) {
    app.form1->VScroll1.SetValue(0);
    app.form1->HScroll1.SetValue(0);
}

void ComputeDrawingExtents(App& app) {
    if (!app.form1) return;
    DrawingExtents& e = app.extents;
    const RecordStore& store = app.store;
    for (int layer = 1; layer <= store.LayerCount && layer <= store.LayerDimension(); ++layer) {
        if (store.LayerOnFlag[layer] != -1) continue;
        // A layer that holds any record counts, a layer of one record too.
        const int count = store.Count(layer);
        if (count < 1) continue;
        for (int slot = 0; slot < count && slot <= store.LayerCapacity; ++slot) {
            const MapRecord& r = store.Get(layer, slot);
            WidenDrawingExtents(e, r.RecordX1, r.RecordY1);
        }
    }
    FitDrawingExtents(app);
}

DrawingExtents ExtentsShowingTheDrawing(const App& app) {
    constexpr double none = std::numeric_limits<double>::infinity();
    double minX = none, minY = none, maxX = -none, maxY = -none;
    const RecordStore& store = app.store;
    for (int layer = 1; layer <= store.LayerCount && layer <= store.LayerDimension(); ++layer) {
        if (store.LayerOnFlag[static_cast<std::size_t>(layer)] != -1) continue;
        for (int slot = 0; slot < store.Count(layer) && slot <= store.LayerCapacity; ++slot) {
            const MapRecord& r = store.Get(layer, slot);
            if (r.RecordType == TypeEmpty || IsDeletedType(r.RecordType)) continue;
            ForEachPosition(r, [&](double x, double y) {
                // As for the extents, a position on an axis is a vertex left unused.
                if (x == 0 || y == 0) return;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            });
        }
    }
    if (minX > maxX) return {};
    const double aspect = CanvasAspect(app);
    const double width = std::max({MinimumShownWidth, 1.2 * (maxX - minX), 1.2 * (maxY - minY) / aspect});
    const double centreX = (minX + maxX) / 2, centreY = (minY + maxY) / 2;
    return {centreX - width / 2, centreY - width * aspect / 2, centreX + width / 2, centreY + width * aspect / 2};
}

DrawingExtents ExtentsToShow(const App& app) {
    return AreEmptyExtents(app.extents) ? ExtentsShowingTheDrawing(app) : app.extents;
}

void FitDrawingExtents(App& app) {
    if (!app.form1) return;
    DrawingExtents& e = app.extents;
    e.ExtentMinY = e.ExtentMaxY - (e.ExtentMaxX - e.ExtentMinX) * CanvasAspect(app);
    if (e.ExtentMinX < e.ExtentMaxX && e.ExtentMinY < e.ExtentMaxY)
        ShowGroundWindow(app, e.ExtentMinX, e.ExtentMaxY, e.ExtentMaxX - e.ExtentMinX, e.ExtentMaxY - e.ExtentMinY);
    ResetScrollBars(app);
    app.form1->Text4_Click();
}

}  // namespace movra
