// The linked-image tools: placing a newly inserted picture, moving and stretching an image
// record, drawing the crop range on one (shifted afterwards with the arrow keys) and pricking a
// photo corner for the photo orientation. Presses pick the image under the raw event point.
#include <cmath>
#include <cstdint>

#include "App.h"
#include "display/HighlightRenderer.h"
#include "document/RecordTypes.h"
#include "display/Redraw.h"
#include "document/StoreRecord.h"
#include "editing/LinkedImages.h"
#include "editing/ToolFamilies.h"
#include "platform/Control.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr Rgb OutlineBlue = MakeRgb(0, 0, 255);
// The draw width the canvas keeps after a moved or stretched picture.
constexpr int WidthAfterImageEdit = 3;
// The stretch starts only within this many zoom units of the lower-right corner.
constexpr double CornerGrip = 3;

PictureBox& Canvas(App& app) { return app.form1->Picture1; }
Surface& Drawing(App& app) { return app.form1->Picture1.surface(); }

const Picture& HeldPicture(App& app, int holder) {
    static const Picture none;
    if (holder < 0 || holder >= ImageHolderCount) return none;
    return app.display.Images.Image1[static_cast<std::size_t>(holder)];
}

// Picks the image record under the event point for the move, crop-range and pricking tools.
bool PickImage(App& app, double x, double y, std::uint8_t clicksOnHit) {
    ToolState& tool = app.tool;
    if (HitTestLinkedImage(app, static_cast<float>(x), static_cast<float>(y)) != -1) {
        app.linkedImages.ImageRecordLayer = 0;
        app.linkedImages.ImageRecordSlot = 0;
        tool.ClickCount = 0;
        return false;
    }
    tool.RubberShown = 0;
    Canvas(app).SetMousePointer(PointerSizeAll);
    TakeImageRect(app, app.linkedImages.ImageRecordLayer, app.linkedImages.ImageRecordSlot);
    tool.ClickCount = clicksOnHit;
    return true;
}

MapRecord& PickedRecord(App& app) {
    return app.store.At(app.linkedImages.ImageRecordLayer, app.linkedImages.ImageRecordSlot);
}

// A box in the inverting pen: drawn twice it leaves the canvas as it was.
void InvertedBox(App& app, double x1, double y1, double x2, double y2, Rgb color) {
    Surface& canvas = Drawing(app);
    const DrawModeScope inverting(canvas, DrawModeNotXorPen);
    canvas.Line(x1, y1, x2, y2, color, LineShape::Box);
}

// The outline of ImageRect shifted by the cursor's way from the press point.
void MovedOutline(App& app, CanvasXY cursor) {
    const ToolState& tool = app.tool;
    const double dx = cursor.x - tool.PressPoint.x, dy = cursor.y - tool.PressPoint.y;
    const double* r = tool.ImageRect;
    InvertedBox(app, r[0] + dx, r[1] + dy, r[0] + r[2] + dx, r[1] + r[3] + dy, OutlineBlue);
}

// The inverting preview of a drag: the one shown last (at RubberPoint) taken away, the new one drawn.
template <class Draw>
void ReplacePreview(App& app, double x, double y, Draw draw) {
    ToolState& tool = app.tool;
    if (tool.RubberShown == -1) draw(app, tool.RubberPoint);
    draw(app, CanvasXY{x, y});
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

// --- Placing a newly inserted picture ---

MapRecord& Staged(App& app) { return app.store.At(0, ImageStagingSlot(app.mapFile.LastImageSlot)); }

void PlacePress(App& app, double, double) {
    const MapRecord& staged = Staged(app);
    double* rect = app.tool.ImageRect;
    rect[0] = staged.RecordX1;
    rect[1] = staged.RecordY1;
    rect[2] = staged.RecordX2;
    rect[3] = staged.RecordY2;
    app.tool.RubberShown = 0;
}

// The picture follows the cursor; the redraw at the release clears the trail.
void PlaceDrag(App& app, double x, double y) {
    const ToolState& tool = app.tool;
    const Picture& picture = HeldPicture(app, app.mapFile.LastImageSlot);
    if (picture.Empty()) return;
    const double* r = tool.ImageRect;
    Drawing(app).PaintPicture(picture, r[0] + x - tool.PressPoint.x, r[1] + y - tool.PressPoint.y, r[2], -r[3]);
}

ReleaseEnd PlaceRelease(App& app, double x, double y) {
    const std::int16_t holder = app.mapFile.LastImageSlot;
    const MapRecord staged = Staged(app);
    // A picture taken back with Delete is not placed.
    if (HeldPicture(app, holder).Empty()) {
        app.tool.CommandMode = ModeIdle;
        return ReleaseEnd::CommonTail;
    }
    // The holder goes in once the record is stored: a full layer refuses it and keeps its open slot clean.
    const std::int32_t before = app.store.Count(app.store.CurrentLayer);
    StoreRecord(app, StoreImage, TypeImage, x, y, staged.RecordX2, staged.RecordY2, 0, 0, 0, 0,
                staged.RecordText);
    if (MapRecord* placed = AppendedRecord(app, before)) placed->RecordColor = holder;
    app.tool.CommandMode = ModeMoveImage;
    刷新(app);
    return ReleaseEnd::CommonTail;
}

// --- Moving ---

void MovePress(App& app, double x, double y) { PickImage(app, x, y, 1); }

void MoveDrag(App& app, double x, double y) {
    if (app.tool.ClickCount == 1) ReplacePreview(app, x, y, MovedOutline);
}

ReleaseEnd MoveRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount != 1) return ReleaseEnd::CommonTail;
    MapRecord& r = PickedRecord(app);
    r.RecordX1 += x - tool.PressPoint.x;
    r.RecordY1 += y - tool.PressPoint.y;
    app.current.ModifiedFlag = -1;
    Drawing(app).SetDrawWidth(WidthAfterImageEdit);
    刷新(app);
    return ReleaseEnd::CommonTail;
}

// --- Stretching by the lower-right corner ---

void StretchPress(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        PickImage(app, x, y, 2);
        return;
    }
    if (tool.ClickCount != 2) return;
    const MapRecord& r = PickedRecord(app);
    const double grip = CornerGrip * app.view.DisplayZoom;
    if (std::fabs(x - (r.RecordX1 + r.RecordX2)) < grip && std::fabs(y - (r.RecordY1 + r.RecordY2)) < grip) {
        Canvas(app).SetMousePointer(PointerSizeNWSE);
        tool.ClickCount = 1;
    }
}

void StretchDrag(App& app, double x, double y) {
    if (app.tool.ClickCount != 1) return;
    const MapRecord& r = PickedRecord(app);
    const Picture& picture = HeldPicture(app, r.RecordColor & 255);
    if (!picture.Empty()) Drawing(app).PaintPicture(picture, r.RecordX1, r.RecordY1, x - r.RecordX1, y - r.RecordY1);
}

ReleaseEnd StretchRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount != 1) return ReleaseEnd::CommonTail;
    MapRecord& r = PickedRecord(app);
    r.RecordX2 = x - r.RecordX1;
    r.RecordY2 = y - r.RecordY1;
    app.current.ModifiedFlag = -1;
    Drawing(app).SetDrawWidth(WidthAfterImageEdit);
    刷图元(app, app.linkedImages.ImageRecordLayer, app.linkedImages.ImageRecordSlot, 0);
    tool.ClickCount = 2;
    return ReleaseEnd::CommonTail;
}

// --- The crop range ---

void RangeBox(App& app, CanvasXY corner) {
    InvertedBox(app, app.tool.PressPoint.x, app.tool.PressPoint.y, corner.x, corner.y, OutlineBlue);
}

void CropRangePress(App& app, double x, double y) {
    if (!PickImage(app, x, y, 1)) return;
    const MapRecord& r = PickedRecord(app);
    const CanvasXY p = app.tool.PressPoint;
    const bool inside = r.RecordX1 <= p.x && p.x <= r.RecordX1 + r.RecordX2 && r.RecordY1 + r.RecordY2 <= p.y &&
                        p.y <= r.RecordY1;
    if (!inside) app.tool.ClickCount = 0;
}

void CropRangeDrag(App& app, double x, double y) {
    if (app.tool.ClickCount == 1) ReplacePreview(app, x, y, RangeBox);
}

void ChosenRange(App& app) {
    const ToolState& tool = app.tool;
    InvertedBox(app, tool.PressPoint.x, tool.PressPoint.y, tool.ReleasePoint.x, tool.ReleasePoint.y,
                app.current.CurrentColor);
}

ReleaseEnd CropRangeRelease(App& app, double, double) {
    if (app.tool.ClickCount != 1) return ReleaseEnd::CommonTail;
    刷新(app);
    ChosenRange(app);
    return ReleaseEnd::CommonTail;
}

// The arrow keys shift the chosen range by one zoom unit.
bool CropRangeKey(App& app, int keyCode) {
    double dx = 0, dy = 0;
    const double step = app.view.DisplayZoom;
    switch (keyCode) {
        case KeyLeft: dx = -step; break;
        case KeyUp: dy = step; break;
        case KeyRight: dx = step; break;
        case KeyDown: dy = -step; break;
        default: return false;
    }
    ToolState& tool = app.tool;
    ChosenRange(app);
    tool.PressPoint = {tool.PressPoint.x + dx, tool.PressPoint.y + dy};
    tool.ReleasePoint = {tool.ReleasePoint.x + dx, tool.ReleasePoint.y + dy};
    ChosenRange(app);
    return true;
}

// --- Pricking a photo corner ---

void PrickPress(App& app, double x, double y) {
    if (!PickImage(app, x, y, 1)) {
        app.platform.prompt().MsgBox("刺点失败！", MsgOkOnly);
        return;
    }
    LinkedImageState& photo = app.linkedImages;
    const std::size_t corner = static_cast<std::size_t>(photo.PhotoCornerIndex % 4) * 3;
    photo.PhotoCornerPicks[corner] = x;
    photo.PhotoCornerPicks[corner + 1] = y;
}

ReleaseEnd PrickRelease(App& app, double, double) {
    if (app.tool.ClickCount != 1) return ReleaseEnd::CommonTail;
    Canvas(app).SetMousePointer(PointerCross);
    app.tool.CommandMode = ModeIdle;
    if (const auto& show = app.form1->otherParts.ShowPhotoOrientation)
        show();
    else
        app.form1->Text2.SetText("相片定向窗口尚未提供，本命令未执行");
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& ImageToolFamily() {
    static const ToolFamily family{
        "image",
        {
            {.mode = ModePlaceImage, .press = PlacePress, .drag = PlaceDrag, .release = PlaceRelease},
            {.mode = ModeMoveImage, .press = MovePress, .drag = MoveDrag, .release = MoveRelease},
            {.mode = ModeStretchImage, .press = StretchPress, .drag = StretchDrag, .release = StretchRelease},
            {.mode = ModeImageCropRange, .press = CropRangePress, .drag = CropRangeDrag, .release = CropRangeRelease,
             .key = CropRangeKey},
            {.mode = ModeControlPoint, .press = PrickPress, .release = PrickRelease},
        },
    };
    return family;
}

}  // namespace movra
