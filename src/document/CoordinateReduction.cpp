#include "document/CoordinateReduction.h"

#include <algorithm>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "document/RecordPositions.h"
#include "document/UndoJournal.h"

namespace movra {

namespace {

// A first vertex at or above this on either axis marks a record still in survey coordinates.
constexpr double LargeCoordinate = 100000;
// First vertices at or below this on either axis (points near the origin, placeholders) do not
// count for the extent.
constexpr double ExtentFloor = 200;
constexpr double NoMinimum = 1000000000;

void Shift(double& x, double& y, double dx, double dy) {
    x -= dx;
    y -= dy;
}

void ShiftRecord(MapRecord& r, double dx, double dy) {
    ForEachPosition(r, [dx, dy](double& x, double& y) { Shift(x, y, dx, dy); });
}

// A point kept outside the store moves with the records when it lies where they moved from.
void ShiftKeptPoint(double& x, double& y, double dx, double dy) {
    if (x < LargeCoordinate && y < LargeCoordinate) return;
    Shift(x, y, dx, dy);
}

// The points the canvas tools keep between events (the snapped vertex, the press, release and
// rubber points, the anchors, the vertices of a line or ring being drawn) are stored coordinates
// too: they move with the map, or the next click, snap or coordinate readout would take a place
// of before the shift and show it with the new origin added a second time.
void ShiftPointsOutsideTheStore(App& app, double dx, double dy) {
    ToolState& tool = app.tool;
    for (CanvasXY* p : {&tool.PressPoint, &tool.ReleasePoint, &tool.RubberPoint, &tool.SnapCandidate,
                        &tool.SegmentStart, &tool.PenPoint, &tool.PenSamples[0], &tool.PenSamples[1],
                        &tool.PenSamples[2], &tool.CircleCentre, &tool.FirstLegEnd, &tool.DragLineFrom,
                        &tool.DragLineTo, &tool.PreviewPoint, &tool.SymbolAnchor})
        ShiftKeptPoint(p->x, p->y, dx, dy);
    ShiftKeptPoint(tool.AnchorX, tool.AnchorY, dx, dy);
    ShiftKeptPoint(tool.ClickOriginX, tool.ClickOriginY, dx, dy);
    ShiftKeptPoint(tool.StepParamA, tool.StepParamB, dx, dy);
    ShiftKeptPoint(tool.ImageRect[0], tool.ImageRect[1], dx, dy);
    for (std::size_t i = 0; i < tool.CurveX.size() && i < tool.CurveY.size(); ++i)
        ShiftKeptPoint(tool.CurveX[i], tool.CurveY[i], dx, dy);
    std::vector<double>& polygon = app.selection.WorkPolygon;
    for (std::size_t i = 0; i + 1 < polygon.size(); i += 2) ShiftKeptPoint(polygon[i], polygon[i + 1], dx, dy);
}

// The origin on one axis: the value rounded down to a multiple of the unit.
double RoundedDown(double value, double unit) { return Int(value / unit) * unit; }

}  // namespace

FalseOrigin FalseOriginOf(const App& app) {
    return FalseOrigin{app.reduction.ReductionOffsetX, app.reduction.ReductionOffsetY};
}

void ReduceCoordinates(App& app) {
    try {
        CoordinateReductionState& reduction = app.reduction;
        RecordStore& store = app.store;
        const double unit = reduction.ReductionUnit;
        if (unit == 0) Raise(ErrDivisionByZero);
        if (unit < 0) Raise(ErrInvalidCall);
        const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());

        // The extent of the first vertices of the open layers.
        double minX = NoMinimum, minY = NoMinimum, maxX = 0, maxY = 0;
        for (int layer = 1; layer <= lastLayer; ++layer) {
            if (store.LayerOnFlag[static_cast<size_t>(layer)] != True) continue;
            // Every record of the layer, slot 0 and a layer of one record too; the open slot is
            // not looked at.
            const int count = store.Count(layer);
            const int last = std::min(count - 1, store.AllocatedSlots(layer) - 1);
            for (int slot = 0; slot <= last; ++slot) {
                const MapRecord& r = store.Get(layer, slot);
                if (r.RecordX1 > ExtentFloor && r.RecordY1 > ExtentFloor) {
                    maxX = std::max(maxX, r.RecordX1);
                    maxY = std::max(maxY, r.RecordY1);
                    minX = std::min(minX, r.RecordX1);
                    minY = std::min(minY, r.RecordY1);
                }
            }
        }
        app.extents = {minX, minY, maxX, maxY};

        // A map already reduced keeps its origin, so that records added since (an inserted drawing
        // in survey coordinates) join the ones reduced before. Otherwise the origin is chosen
        // afresh: what an earlier map chose has nothing to do with this one.
        const double offsetX = reduction.ReductionOffsetX;
        const double offsetY = reduction.ReductionOffsetY;
        const bool alreadyReduced = offsetX != 0 || offsetY != 0;
        double workX = 0, workY = 0;
        if (alreadyReduced) {
            workX = offsetX;
            workY = offsetY;
        } else {
            if (maxX >= unit) workX = RoundedDown(maxX, unit);
            if (maxY >= unit) workY = RoundedDown(maxY, unit);
            if (minX >= unit) workX = RoundedDown(minX, unit);
            if (minY >= unit) workY = RoundedDown(minY, unit);
        }
        reduction.ReductionWorkX = workX;
        reduction.ReductionWorkY = workY;
        if (!alreadyReduced && ((workX < unit && workY < unit) || (maxX < unit && maxY < unit))) return;

        DrawingExtents& extents = app.extents;
        if (extents.ExtentMinX > workX) extents.ExtentMinX -= workX;
        if (extents.ExtentMaxX > workX) extents.ExtentMaxX -= workX;
        if (extents.ExtentMinY > workY) extents.ExtentMinY -= workY;
        if (extents.ExtentMaxY > workY) extents.ExtentMaxY -= workY;

        // Every layer, on or off, a layer of one record too, with the open slot (a record under
        // construction moves with the map), whose first vertex is still large. In a map
        // already reduced, every such record is new (an inserted drawing in survey coordinates),
        // wherever it lies from the origin in force: to the south-west of it as much as to the
        // north-east.
        int moved = 0;
        for (int layer = 1; layer <= lastLayer; ++layer) {
            const int count = store.Count(layer);
            const int last = std::min(count, store.AllocatedSlots(layer) - 1);
            for (int slot = 0; slot <= last; ++slot) {
                const MapRecord& r = store.Get(layer, slot);
                if (r.RecordX1 < LargeCoordinate && r.RecordY1 < LargeCoordinate) continue;
                ShiftRecord(store.At(layer, slot), workX, workY);
                ++moved;
            }
        }
        reduction.ReductionOffsetX = workX;
        reduction.ReductionOffsetY = workY;
        ShiftPointsOutsideTheStore(app, workX, workY);
        if (moved > 0) {
            app.current.ModifiedFlag = True;
            // The journal's steps hold the coordinates of before the shift; undoing one of them
            // would put records back at survey coordinates. The reduced map becomes its base, as
            // an opened map does.
            ResetUndo(app);
            UndoCheckpoint(app, 0);
        }
    } catch (const RuntimeError& error) {
        app.platform.prompt().MsgBox(error.description, MsgOkOnly, std::to_string(error.number));
    }
}

}  // namespace movra
