#include "editing/ViewExtents.h"

#include <cmath>

#include "App.h"
#include "platform/Color.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// The scroll bars stand at 0 after a new window; their change handlers do nothing for 0.
void ResetScrollBars(App& app) {
    app.form1->VScroll1.SetValue(0);
    app.form1->HScroll1.SetValue(0);
}

// Shows the window whose upper-left corner is (left, top), `width` wide and `height` high.
void ShowWindow(App& app, double left, double top, double width, double height) {
    app.form1->Picture1.SetScale(left, top, width, -height);
}

}  // namespace

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
            const double x = r.RecordX1, y = r.RecordY1;
            if (x == 0 || y == 0) continue;
            if (x > e.ExtentMaxX) e.ExtentMaxX = x;
            // A far-off stray point west of the map does not stretch the view to it.
            if (x < e.ExtentMinX && x > 0.5 * e.ExtentMaxX) e.ExtentMinX = x;
            if (y > e.ExtentMaxY) e.ExtentMaxY = y;
        }
    }
    e.ExtentMinY = e.ExtentMaxY - (e.ExtentMaxX - e.ExtentMinX) * app.view.ScreenAspect;
    if (e.ExtentMinX < e.ExtentMaxX && e.ExtentMinY < e.ExtentMaxY)
        ShowWindow(app, e.ExtentMinX, e.ExtentMaxY, e.ExtentMaxX - e.ExtentMinX, e.ExtentMaxY - e.ExtentMinY);
    ResetScrollBars(app);
    app.form1->Text4_Click();
}

void ZoomToExtents(App& app) {
    if (!app.form1) return;
    const DrawingExtents& e = app.extents;
    if (e.ExtentMaxX - e.ExtentMinX < 1) return;
    PictureBox& canvas = app.form1->Picture1;
    const double d = app.view.DisplayScaleDenominator;
    const double p = app.view.ProjectParams[0];
    const double aspect = app.view.ScreenAspect;
    auto wholeDrawing = [&] {
        const double height = e.ExtentMaxY + 100 - e.ExtentMinY;
        const double width = aspect > 0 ? height / aspect : canvas.ScaleWidth();
        ShowWindow(app, e.ExtentMinX - 50, e.ExtentMaxY + 50, width, height);
    };
    bool moved = true;
    if (d > 0 && d < p) {
        const double width = canvas.ScaleWidth() * p / d;
        ShowWindow(app, canvas.ScaleLeft(), canvas.ScaleTop(), width, width * aspect);
    } else if (std::fabs(d - p) < 50) {
        wholeDrawing();
    } else if (d > 0 && d < 10000) {
        const double width = canvas.ScaleWidth() * 10000 / d;
        ShowWindow(app, canvas.ScaleLeft() - 100, canvas.ScaleTop() + 100, width, width * aspect);
    } else if (std::fabs(d - 10000) < 1) {
        const double width = canvas.ScaleWidth() * 50000 / d;
        ShowWindow(app, e.ExtentMinX - 1000, e.ExtentMaxY + 1000, width, width * aspect);
    } else if (std::fabs(d - 50000) < 1) {
        wholeDrawing();
    } else {
        moved = false;
    }
    if (moved) app.form1->Text4_Click();
    app.form1->Text4.SetBackColor(canvas.BackColor());
    app.form1->Text4.SetForeColor(78888);
    ResetScrollBars(app);
}

}  // namespace movra
