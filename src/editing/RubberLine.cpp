#include "editing/RubberLine.h"

#include "App.h"
#include "display/Redraw.h"
#include "shell/stForm1.h"

namespace movra {

void DrawRubberLine(App& app, double x, double y) {
    if (!app.form1) return;
    ToolState& tool = app.tool;
    Surface& canvas = app.form1->Picture1.surface();
    const Rgb color = app.current.CurrentColor;
    if (tool.RubberShown == -1) canvas.Line(tool.PressPoint.x, tool.PressPoint.y, tool.RubberPoint.x, tool.RubberPoint.y, color);
    canvas.Line(tool.PressPoint.x, tool.PressPoint.y, x, y, color);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

void EraseRubberEdges(App& app) {
    if (app.form1) 刷新(app);
}

void EraseRubberLine(App& app) {
    ToolState& tool = app.tool;
    if (!app.form1 || tool.RubberShown != -1) return;
    app.form1->Picture1.surface().Line(tool.PressPoint.x, tool.PressPoint.y, tool.RubberPoint.x, tool.RubberPoint.y,
                                       app.current.CurrentColor);
    tool.RubberShown = 0;
}

}  // namespace movra
