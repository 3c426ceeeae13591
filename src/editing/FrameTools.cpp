// The modes of the frame itself: no tool armed, and the journal's hold (which has no branch: its
// release runs the common tail, whose checkpoint records nothing while it is armed).
#include "App.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// A left click with no tool armed resumes a paused station pick.
ReleaseEnd IdleRelease(App& app, double, double) {
    app.form1->Picture1.surface().SetFillStyle(FillStyleTransparent);
    if (app.tool.PreviousMode == ModePickStation) app.tool.CommandMode = ModePickStation;
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& FrameToolFamily() {
    static const ToolFamily family{
        "frame",
        {
            {.mode = ModeIdle, .release = IdleRelease},
        },
    };
    return family;
}

}  // namespace movra
