#include "editing/ViewExtents.h"

#include <cmath>

#include "App.h"
#include "document/DrawingExtents.h"
#include "platform/Color.h"
#include "shell/stForm1.h"

namespace movra {

void ZoomToExtents(App& app) {
    if (!app.form1) return;
    const DrawingExtents e = ExtentsToShow(app);
    if (e.ExtentMaxX - e.ExtentMinX < 1) return;
    PictureBox& canvas = app.form1->Picture1;
    const double d = app.view.DisplayScaleDenominator;
    const double p = app.view.ProjectParams[0];
    const double aspect = CanvasAspect(app);
    auto wholeDrawing = [&] {
        const double height = e.ExtentMaxY + 100 - e.ExtentMinY;
        const double width = aspect > 0 ? height / aspect : canvas.ScaleWidth();
        ShowGroundWindow(app, e.ExtentMinX - 50, e.ExtentMaxY + 50, width, height);
    };
    bool moved = true;
    if (d > 0 && d < p) {
        const double width = canvas.ScaleWidth() * p / d;
        ShowGroundWindow(app, canvas.ScaleLeft(), canvas.ScaleTop(), width, width * aspect);
    } else if (std::fabs(d - p) < 50) {
        wholeDrawing();
    } else if (d > 0 && d < 10000) {
        const double width = canvas.ScaleWidth() * 10000 / d;
        ShowGroundWindow(app, canvas.ScaleLeft() - 100, canvas.ScaleTop() + 100, width, width * aspect);
    } else if (std::fabs(d - 10000) < 1) {
        const double width = canvas.ScaleWidth() * 50000 / d;
        ShowGroundWindow(app, e.ExtentMinX - 1000, e.ExtentMaxY + 1000, width, width * aspect);
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
