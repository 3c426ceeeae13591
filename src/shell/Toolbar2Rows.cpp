// The floating view bar Toolbar2: five view commands over the canvas. The bar itself is dragged by
// the canvas tool ModeDragMenu, which a move over the bar with the left button held arms.
#include <map>
#include <string>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "editing/ToolEngine.h"
#include "editing/ViewExtents.h"
#include "platform/Control.h"
#include "shell/ToolbarRows.h"
#include "shell/stForm1.h"

namespace movra {

namespace {


// A view tool chosen while one of these is armed returns to it afterwards.
void RememberToReturnTo(App& app, std::initializer_list<std::uint8_t> modes) {
    for (std::uint8_t mode : modes)
        if (app.tool.CommandMode == mode) app.tool.PreviousMode = mode;
}

void ArmZoom(App& app, std::uint8_t mode) {
    app.form1->Picture1.SetMousePointer(PointerSizeNWSE);
    app.tool.CommandMode = mode;
}

void ZoomIn2(App& app) {
    RememberToReturnTo(app, {ModePickStation, ModeTiltView});
    ArmZoom(app, ModeZoomIn);
}

void ZoomDrag2(App& app) {
    RememberToReturnTo(app, {ModePickStation});
    ArmZoom(app, ModeZoomDrag);
}

void Restore2(App& app) {
    ZoomToExtents(app);
    刷新(app);
    app.tool.CommandMode = ModeRestored;
}

// The plan view, panned by dragging or by the arrow keys.
void Pan2(App& app) {
    RememberToReturnTo(app, {ModePickStation});
    app.view.TiltSin = 1;
    Surface& canvas = app.form1->Picture1.surface();
    canvas.SetDrawMode(DrawModeXorPen);
    canvas.SetDrawWidth(1);
    canvas.SetDrawStyle(DrawStyleSolid);
    app.tool.CommandMode = ModePan;
    app.form1->Text2.SetText(app.settings.FollowPan == -1 ? "右键暂停伴游,取消伴游在设置窗。"
                                                          : "可用键盘箭头→↑↓←移动图幅");
}

// The lamp stays red until the next command paints it.
void Redraw2(App& app) {
    app.display.Redraw.SuppressTerrainPoints = 0;
    LampBusy(app);
    刷新(app);
    app.tool.CommandMode = ModeIdle;
}

const std::map<std::string, void (*)(App&)>& ViewBarRows() {
    static const std::map<std::string, void (*)(App&)> rows = {
        {"放大2", ZoomIn2}, {"缩放2", ZoomDrag2}, {"复原2", Restore2}, {"移动2", Pan2}, {"刷新2", Redraw2},
    };
    return rows;
}

}  // namespace

void stForm1::Toolbar2_ButtonClick(ToolbarButton& button) {
    if (app.tool.SymbolMakingMode == -1 || app.tool.LongCommandRunning == -1) return;
    const bool ran = GuardToMessageLine([this](const std::string& text) { Text2.SetText(text); }, [&] {
        for (const auto& [key, row] : ViewBarRows())
            if (EqualsIgnoreCase(key, button.Key())) {
                row(app);
                break;
            }
    });
    if (!ran) {
        app.tool.PreviousMode = app.tool.CommandMode;
        return;
    }
    // Every button, known or not, ends the selection.
    app.selection.SelectionList.assign(2, SelectedRecord{});
    Timer2.SetEnabled(false);
    platform().sound().Beep(11, 11);
}

void stForm1::Toolbar2_MouseMove(int button, int, double, double) {
    if (button == LeftButton) app.tool.CommandMode = ModeDragMenu;
}

}  // namespace movra
