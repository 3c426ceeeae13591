#include "document/DrawingExtents.h"

#include "App.h"
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
