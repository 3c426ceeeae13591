// The tools that move (mode 45) and rotate (mode 46) the selection with two clicks. Between the
// clicks every fifth mouse move takes the last preview off the canvas and draws the next one.
#include "App.h"
#include "display/Redraw.h"
#include "document/RecordTransforms.h"
#include "document/UndoJournal.h"
#include "editing/SelectionPreviews.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr const char* NothingSelected = "目标尚未选择";
// Moves between two previews.
constexpr int PreviewEvery = 5;

bool SelectionEmpty(const App& app) {
    const auto& list = app.selection.SelectionList;
    return list.empty() || list[0].Layer < 2;
}

// The first click on an empty selection refuses and disarms the tool.
bool RefuseEmpty(App& app) {
    if (!SelectionEmpty(app)) return false;
    app.form1->Text2.SetText(NothingSelected);
    app.tool.CommandMode = ModeIdle;
    return true;
}

// The first click journals what came before it, so that undo takes back the transform before
// the records a paste added (a paste arms the move tool without a checkpoint of its own).
void OpenJournalStep(App& app, double x, double y) {
    UndoCheckpoint(app, app.tool.CommandMode);
    UndoStepSelection(app, 0, x, y);
}

// The end of the second click: the tool disarms and the map is drawn anew.
void Finish(App& app) {
    app.tool.ClickCount = 0;
    app.tool.CommandMode = ModeIdle;
    刷新(app);
}

ReleaseEnd MoveRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        if (RefuseEmpty(app)) return ReleaseEnd::CommonTail;
        OpenJournalStep(app, x, y);
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    平移后(app, x, y, 0, 0, 0);
    UndoStepSelection(app, tool.ClickCount, x, y);
    Finish(app);
    return ReleaseEnd::CommonTail;
}

ReleaseEnd RotateRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        if (RefuseEmpty(app)) return ReleaseEnd::CommonTail;
        // The first direction is the snapped press point.
        tool.StepParamA = tool.PressPoint.x;
        tool.StepParamB = tool.PressPoint.y;
        OpenJournalStep(app, tool.StepParamA, tool.StepParamB);
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    // The journal keeps the turned texts' angles before the rotation changes them.
    UndoStepSelection(app, tool.ClickCount, x, y);
    旋转后(app, tool.StepParamA, tool.StepParamB, x, y, 1);
    Finish(app);
    return ReleaseEnd::CommonTail;
}

// Every fifth move the preview at RubberPoint is drawn again, which takes it off the inverting
// canvas, and the preview at the cursor is drawn.
template <void (*Draw)(App&, double, double, std::uint8_t)>
void PreviewCadence(App& app, double x, double y) {
    ToolState& tool = app.tool;
    ++tool.PreviewCounter;
    if (tool.PreviewCounter < PreviewEvery) {
        tool.RubberShown = -1;
        return;
    }
    if (tool.RubberShown == -1) Draw(app, tool.RubberPoint.x, tool.RubberPoint.y, 0);
    Draw(app, x, y, 1);
    tool.RubberPoint = {x, y};
    tool.PreviewCounter = 0;
    tool.RubberShown = -1;
}

void DrawMovePreview(App& app, double x, double y, std::uint8_t flag) {
    PreviewMove(app, x, y, app.tool.PressPoint.x, app.tool.PressPoint.y, flag);
}

void DrawRotationPreview(App& app, double x, double y, std::uint8_t flag) {
    PreviewRotation(app, app.tool.PressPoint.x, app.tool.PressPoint.y, x, y, flag);
}

}  // namespace

const ToolFamily& TransformToolFamily() {
    static const ToolFamily family{
        "transform",
        {
            {.mode = ModeMoveSelection, .rubber = PreviewCadence<DrawMovePreview>, .release = MoveRelease},
            {.mode = ModeRotateSelection, .rubber = PreviewCadence<DrawRotationPreview>, .release = RotateRelease},
        },
    };
    return family;
}

}  // namespace movra
