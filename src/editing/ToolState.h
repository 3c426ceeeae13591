#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/Color.h"

namespace movra {

struct App;

// The canvas tools (`ToolMode`): the value of CommandMode names the armed one. The method panel
// arms 100 + i for its button i before the button's own action runs; the values of buttons that
// act at once have no name of their own.
enum ToolMode : std::uint8_t {
    ModePan = 0,
    ModeLine = 1,
    ModePen = 2,
    ModeRectangle = 3,
    ModeCircle = 4,
    ModeCircleAspect = 5,
    ModeTiltView = 8,
    ModeDragMenu = 10,
    ModePickStation = 12,
    ModePlaceImage = 15,
    ModeMoveImage = 16,
    ModeStretchImage = 17,
    ModeModelLine = 18,
    ModeZoomDrag = 28,
    ModeArticleText = 29,
    ModeMaterialText = 30,
    ModeMapSymbol = 31,
    ModeSelect = 33,
    ModeZoomIn = 35,
    ModeRestored = 36,
    ModeMoveSelection = 45,
    ModeRotateSelection = 46,
    ModeSelfMadeSymbol = 49,
    ModeColorMarker = 100,
    ModeClipSave = 106,
    ModeFlipUpDown = 107,     // method panel: "已选目标上下翻转"
    ModeFlipLeftRight = 108,  // method panel: "已选目标左右翻转"
    ModeIntersection = 112,
    ModeDistance = 113,
    ModeSegments = 114,
    ModeInsertVertex = 115,
    ModeAngle = 116,
    ModeMoveVertex = 118,
    ModeTypedLengthLine = 119,
    ModePerpendiculars = 120,
    ModeCutLinesAndAreas = 121,
    ModePerpendicularFoot = 122,
    ModeOffsetSegment = 123,
    ModeParallel = 124,
    ModeOffsetSegment2 = 126,
    ModeRingOffset = 127,
    ModeCircle3P = 128,
    ModeArc3P = 129,
    ModeKeepInside = 130,
    ModeEllipse = 131,
    ModeSmoothCurve = 132,
    ModePipeRect = 133,
    ModeInkFill = 136,
    ModeSmallCircle = 137,
    ModeLandUseMark = 138,
    ModeSmallCircle16 = 139,
    ModeSmallCircle05 = 140,
    ModeLandUseMark2 = 141,
    ModeElevationPoint = 144,
    ModeFill = 145,
    ModeFourPointBlock = 146,
    ModeAreaRegister = 149,
    ModeParcelPoints = 150,
    ModeAttributeClass = 151,
    ModeHeightAttribute = 152,
    ModeParcelEdge = 153,
    ModeAttributeClass3 = 154,
    ModeNameAttribute = 155,
    ModeParcelNumber = 156,
    ModeAttributeClass4 = 157,
    ModePhoneAttribute = 158,
    ModeViewAttributes = 159,
    ModeImageCropRange = 161,
    ModeControlPoint = 168,
    ModePrintRange = 188,
    ModeModelRange = 189,
    ModeTrimStubs = 210,
    ModeJournalHold = 252,    // the journal records no checkpoint while it is armed
    ModeIdle = 255,
};

// A point of the canvas in map units.
struct CanvasXY {
    double x = 0;
    double y = 0;
};

// Where a snapped vertex lies: layer, slot and vertex number 1 to 4.
struct SnapVertexRef {
    std::int16_t Layer = 0;
    std::int16_t Slot = 0;
    std::int16_t Vertex = 0;
    bool operator==(const SnapVertexRef&) const = default;
};

// The symbol demonstration's marker besides its place and code (those are the display's marker
// sample, MarkerX, MarkerY and MarkerCode, which the line-type drawer reads): it moves by
// SpeedX2 - SpeedX1 and SpeedY2 - SpeedY1 a tick.
struct DemoMarkerState {
    float SpeedX1 = 0;
    float SpeedX2 = 0;
    float SpeedY1 = 0;
    float SpeedY2 = 0;
    float OuterRadius = 0;  // the two circles drawn while no symbol standard is loaded
    float InnerRadius = 0;
    Rgb Colour = 0;
};

// The armed canvas tool and what the canvas handlers and the tools share from event to event.
struct ToolState {
    std::uint8_t CommandMode = ModeZoomIn;
    // -1 while a long command that yields to the window (the sheet division) runs: the canvas, the
    // toolbar, the method panel and the symbol buttons wait until it has ended.
    std::int16_t LongCommandRunning = 0;
    // The tool paused by a right press, or the mode a view tool returns to.
    std::int16_t PreviousMode = 0;
    // Clicks the armed tool has taken; the rubber previews run while it is above 0.
    std::uint8_t ClickCount = 0;
    // Step counter of the parcel-point tool, palette index of the colour-marker tool.
    std::uint8_t ToolStep = 0;
    // -1 while snapping is on.
    std::int16_t SnapOn = 0;
    // The raw point of the last left press (rotation, moving and frame insertion use it) and its
    // copy that the article annotation dialog shows.
    double AnchorX = 0;
    double AnchorY = 0;
    double ClickOriginX = 0;
    double ClickOriginY = 0;
    // The first direction point of a rotation.
    double StepParamA = 0;
    double StepParamB = 0;
    // -1 while a rubber preview is on the canvas and must be drawn again to erase it.
    std::int16_t RubberShown = 0;
    // Mouse moves since the move or rotation preview was last drawn.
    std::int16_t PreviewCounter = 0;
    // -1 while a self-made symbol is being drawn: undo and redo then do nothing.
    std::int16_t SymbolMakingMode = 0;
    // The symbol, line-type or special-line code of the armed tool.
    std::string CommandArgument;

    // The last left press, snapped; the last left release while ClickCount was above 0, snapped;
    // the cursor point of the rubber preview now shown.
    CanvasXY PressPoint;
    CanvasXY ReleasePoint;
    CanvasXY RubberPoint;
    // The vertex the hover search found, its layer, slot and vertex number, and whether its marker
    // box is on the canvas.
    CanvasXY SnapCandidate;
    SnapVertexRef SnapVertex;
    std::int16_t SnapBoxDrawn = 0;
    // Start of the next segment of the line tools.
    CanvasXY SegmentStart;

    // The view tools: the press point relative to the canvas's left and bottom edges, the window's
    // upper-left corner at that press, moves since the last redraw of a drag, the window's centre
    // at a drag-zoom press.
    CanvasXY PanGrab;
    CanvasXY PanOrigin;
    std::int16_t ViewRedrawCounter = 0;
    CanvasXY ZoomCentre;

    // The freehand pen: its vertex and phase, the end of the drawn trace, and the two raw samples
    // of the current cycle with the smoothed point.
    std::uint8_t PenVertex = 0;
    std::uint8_t PenPhase = 0;
    CanvasXY PenPoint;
    CanvasXY PenSamples[3];
    // The width and height printed beside the rubber rectangle.
    double RectSizeLabels[2] = {0, 0};
    // The circle being dragged and the aspect being dragged (y half-axis / x half-axis).
    CanvasXY CircleCentre;
    double CircleRadius = 0;
    double CircleAspect = 0;
    // The vertex the station pick took last, and the survey set-up's way to take it (set by the
    // station dialog when it arms the pick).
    SnapVertexRef PickedStation;
    std::function<void(App&)> StationPicked;

    // The rectangle (left, top, width, height) of the linked image being placed, moved or
    // stretched. The holder of the image being placed is the map's LastImageSlot.
    double ImageRect[4] = {0, 0, 0, 0};

    // A selection exists; the window selection is armed; the next free column of the list.
    std::int16_t SelectionMade = 0;
    std::int16_t SelectionArmed = 0;
    std::int32_t SelectionCount = 1;

    DemoMarkerState DemoMarker;

    // The measuring, vertex and construction tools.
    // The vertex the vertex-move tool is dragging.
    SnapVertexRef DragVertex;
    // The distance the last construction preview measured (from the base line or the first point).
    float RubberLength = 0;
    // Where the rubber line from the first point of a construction ended last.
    CanvasXY FirstLegEnd;
    // -1 while the drag line of the perpendicular foot is on the canvas, and its ends.
    std::int16_t DragLineShown = 0;
    CanvasXY DragLineFrom;
    CanvasXY DragLineTo;
    // The smoothed curve: its points, the slot of CurrentLayer where it begins, and -1 while its
    // preview is on the canvas.
    std::vector<double> CurveX;
    std::vector<double> CurveY;
    std::int32_t CurveStartSlot = 0;
    std::int16_t CurvePreviewShown = 0;

    // The own preview of the mark, cutting and offset tools (a mark, a parallel line): the cursor
    // point it was drawn for, and -1 while it is on the canvas. The press moves RubberPoint, so
    // these keep where the preview must be drawn again to erase it.
    CanvasXY PreviewPoint;
    std::int16_t PreviewShown = 0;

    // The annotation and attribute tools.
    // The display width of PendingText in half-width columns, taken at a text tool's first click.
    float PendingTextWidth = 0;
    // Where the any-direction symbol tool stored its symbol; its direction is measured from here.
    CanvasXY SymbolAnchor;
    // -1 while the area register holds an area that the next click registers, and that area.
    std::int16_t AreaPending = 0;
    double RegisteredArea = 0;
};

}  // namespace movra
