// The view tools: panning, the tilted view, zooming by dragging sideways, zooming to a dragged
// box, moving the floating view bar and the mode the restore zoom leaves armed. None of them
// touches a record; they change the canvas's window and redraw.
#include <cmath>

#include "App.h"
#include "basic/Numbers.h"
#include "display/Redraw.h"
#include "display/WorkBuffer.h"
#include "document/DrawingExtents.h"
#include "editing/ToolEngine.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// Below this zoom a pan redraws the layers every fifth move; from it on it draws the work buffer.
constexpr double WorkBufferZoom = 2;
constexpr int PanMovesPerRedraw = 5;
constexpr int TiltMovesPerRedraw = 3;
constexpr double TiltStep = 3;
constexpr double ZoomOutFactor = 1.3;
constexpr double ZoomInFactor = 0.7;
// A zoom box narrower or lower than this is a slip of the hand.
constexpr double SmallestZoomBox = 0.1;
constexpr Rgb ZoomBoxColor = MakeRgb(0, 0, 255);

PictureBox& Canvas(App& app) { return app.form1->Picture1; }

// The canvas keeps its window in single precision.
void SetWindow(App& app, double left, double top, double width, double height) {
    Canvas(app).SetScale(static_cast<float>(left), static_cast<float>(top), static_cast<float>(width),
                         static_cast<float>(height));
}

// A view change made during a station pick goes back to the pick.
void ResumeStationPick(App& app) {
    if (app.tool.PreviousMode == ModePickStation) app.tool.CommandMode = ModePickStation;
}

// The point relative to the canvas's left and bottom edges.
CanvasXY FromLowerLeft(App& app, double x, double y) {
    const PictureBox& c = Canvas(app);
    return {x - c.ScaleLeft(), y - c.ScaleTop() - c.ScaleHeight()};
}

void GrabView(App& app, double x, double y) {
    app.tool.PanGrab = FromLowerLeft(app, x, y);
    app.tool.PanOrigin = {Canvas(app).ScaleLeft(), Canvas(app).ScaleTop()};
}

// Moves the window so that the map point grabbed at the press stays under the cursor.
void FollowCursor(App& app, double x, double y) {
    ToolState& tool = app.tool;
    tool.RubberPoint = FromLowerLeft(app, x, y);
    const PictureBox& c = Canvas(app);
    SetWindow(app, tool.PanOrigin.x - (tool.RubberPoint.x - tool.PanGrab.x),
              tool.PanOrigin.y - (tool.RubberPoint.y - tool.PanGrab.y), c.ScaleWidth(), c.ScaleHeight());
}

std::string TiltText(double angle) { return PlainNumberText(angle); }

// --- Pan ---

void PanPress(App& app, double x, double y) {
    GrabView(app, x, y);
    StopRoaming(app);
}

void PanDrag(App& app, double x, double y) {
    FollowCursor(app, x, y);
    if (app.view.DisplayZoom < WorkBufferZoom) {
        if (++app.tool.ViewRedrawCounter >= PanMovesPerRedraw) {
            RedrawOpenLayers(app);
            app.tool.ViewRedrawCounter = 0;
        }
    } else {
        DrawClipBuffer(app);
    }
}

ReleaseEnd PanRelease(App& app, double, double) {
    float threshold = 2.0f;
    xzldk(app, threshold);
    刷新(app);
    ResumeStationPick(app);
    if (app.settings.FollowPan == -1) StartRoaming(app);
    return ReleaseEnd::CommonTail;
}

// --- Tilted view ---

void TiltPress(App& app, double x, double y) {
    GrabView(app, x, y);
    app.tool.ViewRedrawCounter = 0;
}

void TiltDrag(App& app, double x, double y) {
    FollowCursor(app, x, y);
    if (++app.tool.ViewRedrawCounter >= TiltMovesPerRedraw) {
        Draw3DView(app);
        app.tool.ViewRedrawCounter = 0;
    }
}

ReleaseEnd TiltRelease(App& app, double, double) {
    const PictureBox& c = Canvas(app);
    float threshold = 1.0f;
    const bool clicked = static_cast<float>(c.ScaleLeft()) == static_cast<float>(app.tool.PanOrigin.x) &&
                         static_cast<float>(c.ScaleTop()) == static_cast<float>(app.tool.PanOrigin.y);
    if (clicked) {
        double& angle = app.view.TiltAngle;
        angle += TiltStep;
        if (angle > 180) angle = TiltStep;
        app.form1->Text2.SetText("视角加大到_" + TiltText(angle));
        xzldk(app, threshold);
        Draw3DView(app);
    } else {
        xzldk(app, threshold);
        Draw3DView(app);
        app.form1->Text2.SetText("点击制图屏调整视角");
    }
    ResumeStationPick(app);
    return ReleaseEnd::CommonTail;
}

// The right release of a paused tilted view lowers the tilt and takes the tilted view up again;
// the next pan release shows it.
void TiltLowered(App& app) {
    app.tool.CommandMode = ModeTiltView;
    double& angle = app.view.TiltAngle;
    angle -= TiltStep;
    if (angle < -180) angle = TiltStep;
    app.form1->Text2.SetText("视角减小到_" + TiltText(angle));
}

// --- Zoom by dragging sideways ---

void ZoomDragPress(App& app, double x, double) {
    const PictureBox& c = Canvas(app);
    app.tool.ZoomCentre = {c.ScaleLeft() + c.ScaleWidth() / 2, c.ScaleTop() + c.ScaleHeight() / 2};
    app.tool.RubberPoint.x = x;
}

void ZoomAboutCentre(App& app, double factor) {
    const PictureBox& c = Canvas(app);
    const double width = c.ScaleWidth() * factor, height = c.ScaleHeight() * factor;
    const CanvasXY centre = app.tool.ZoomCentre;
    SetWindow(app, centre.x - width / 2, centre.y - height / 2, width, height);
    app.form1->Text4_Click();
    RedrawOpenLayers(app);
}

// The first two moves of a drag only record; after them every second move zooms one step.
void ZoomDragMove(App& app, double x, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount < 2) {
        tool.RubberPoint.x = x;
        ++tool.ClickCount;
        return;
    }
    if (x < tool.RubberPoint.x) {
        // Zoomed out to the backdrop already: no further.
        if (app.display.Redraw.BackdropDrawn == -1) return;
        ZoomAboutCentre(app, ZoomOutFactor);
    } else if (x > tool.RubberPoint.x) {
        app.display.Redraw.BackdropDrawn = 0;
        ZoomAboutCentre(app, ZoomInFactor);
    }
    tool.ClickCount = 1;
}

ReleaseEnd ZoomDragRelease(App& app, double, double) {
    刷新(app);
    ResumeStationPick(app);
    return ReleaseEnd::CommonTail;
}

// --- Zoom to a dragged box ---

void ZoomBoxDrag(App& app, double x, double y) {
    ToolState& tool = app.tool;
    Surface& s = Canvas(app).surface();
    s.SetDrawMode(DrawModeNotXorPen);
    s.Line(tool.PressPoint.x, tool.PressPoint.y, x, y, ZoomBoxColor, LineShape::Box);
    // Nothing was drawn yet at the press itself.
    if (tool.RubberPoint.x != tool.PressPoint.x || tool.RubberPoint.y != tool.PressPoint.y)
        s.Line(tool.PressPoint.x, tool.PressPoint.y, tool.RubberPoint.x, tool.RubberPoint.y, ZoomBoxColor,
               LineShape::Box);
    tool.RubberPoint = {x, y};
}

ReleaseEnd ZoomBoxRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const CanvasXY p = tool.PressPoint;
    if (x <= p.x || y >= p.y) {
        // Not dragged towards the lower right: no zoom.
        ResumeStationPick(app);
        return ReleaseEnd::CommonTail;
    }
    if (std::fabs(x - p.x) < SmallestZoomBox || std::fabs(y - p.y) < SmallestZoomBox) return ReleaseEnd::EndNow;
    // The box's upper-left corner and width; the height follows from the canvas's aspect, so that
    // x and y keep one scale.
    const double width = x - p.x;
    SetWindow(app, p.x, p.y, width, -width * CanvasAspect(app));
    app.form1->Text4_Click();
    if (tool.PreviousMode == ModeTiltView && app.clip.ClipBufferCount > 10) {
        Draw3DView(app);
        app.form1->Text2.SetText("取消3D,击右键。");
    } else {
        刷新(app);
    }
    ResumeStationPick(app);
    return ReleaseEnd::CommonTail;
}

// --- The floating view bar ---

// Toolbar2 lies over the canvas with its upper-left corner at the cursor's map point; each axis
// follows only while the cursor is inside the canvas on it.
void DragMenuMove(App& app, double x, double y) {
    Control* bar = app.form1->FindControl("Toolbar2");
    if (!bar) return;
    const PictureBox& c = Canvas(app);
    const double left = c.ScaleLeft(), top = c.ScaleTop(), width = c.ScaleWidth(), height = c.ScaleHeight();
    if (width == 0 || height == 0) return;
    // Twips of the bar's container: the canvas itself, or the window around it.
    const double originX = bar->Container() == &c ? 0 : c.Left();
    const double originY = bar->Container() == &c ? 0 : c.Top();
    if (left < x && x < left + width) bar->SetLeft(originX + (x - left) / width * c.Width());
    if (top + height < y && y < top) bar->SetTop(originY + (y - top) / height * c.Height());
}

}  // namespace

const ToolFamily& ViewToolFamily() {
    static const ToolFamily family{
        "view",
        {
            {.mode = ModePan, .press = PanPress, .drag = PanDrag, .release = PanRelease},
            {.mode = ModeTiltView, .press = TiltPress, .drag = TiltDrag, .release = TiltRelease,
             .pausedRightRelease = TiltLowered},
            {.mode = ModeDragMenu, .drag = DragMenuMove},
            {.mode = ModeZoomDrag, .press = ZoomDragPress, .drag = ZoomDragMove, .release = ZoomDragRelease},
            {.mode = ModeZoomIn, .drag = ZoomBoxDrag, .release = ZoomBoxRelease},
            // The restored view has no action of its own: its release is the common tail.
            {.mode = ModeRestored},
        },
    };
    return family;
}

}  // namespace movra
