#include "editing/AnchoredRubber.h"

#include "App.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"

namespace movra {

void DrawAnchoredRubber(App& app, double fromX, double fromY, double x, double y) {
    if (!app.form1) return;
    ToolState& tool = app.tool;
    Surface& canvas = app.form1->Picture1.surface();
    const Rgb color = app.current.CurrentColor;
    if (tool.PreviewShown == -1) canvas.Line(fromX, fromY, tool.PreviewPoint.x, tool.PreviewPoint.y, color);
    canvas.Line(fromX, fromY, x, y, color);
    tool.PreviewPoint = tool.RubberPoint = {x, y};
    tool.PreviewShown = tool.RubberShown = -1;
}

void EraseAnchoredRubber(App& app, double fromX, double fromY) {
    ToolState& tool = app.tool;
    if (!app.form1 || tool.PreviewShown != -1) return;
    {
        Surface& canvas = app.form1->Picture1.surface();
        const DrawModeScope inverting(canvas, DrawModeNotXorPen);
        canvas.Line(fromX, fromY, tool.PreviewPoint.x, tool.PreviewPoint.y, app.current.CurrentColor);
    }
    tool.PreviewShown = 0;
}

}  // namespace movra
