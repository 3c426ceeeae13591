// The vertex tools. Their press switches snapping on, so that the click lands on a vertex of the
// line to edit.
#include "App.h"
#include "editing/ToolEngine.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

void SnapOnForVertex(App& app, double, double) {
    app.tool.SnapOn = -1;
    app.tool.SnapBoxDrawn = 0;
    app.form1->Label3.SetBackColor(app.tables.ColorPalette[7]);
    app.form1->Label3.SetCaption("捕捉");
}

}  // namespace

const ToolFamily& VertexToolFamily() {
    static const ToolFamily family{
        "vertex",
        {
            {.mode = ModeInsertVertex, .press = SnapOnForVertex},
        },
    };
    return family;
}

}  // namespace movra
