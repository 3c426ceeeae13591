// The vertex tools: inserting a vertex into a line and moving one vertex. Their first click must
// land on a vertex that snapping found; the second gives the new place.
#include "App.h"
#include "display/Redraw.h"
#include "display/VertexDrag.h"
#include "document/RecordVertices.h"
#include "document/SlotEditing.h"
#include "document/UndoJournal.h"
#include "editing/ConstructionSupport.h"
#include "editing/ToolEngine.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// Record types whose vertex 4 goes on to vertex 1 of the next slot, and the closed quadrilateral.
constexpr int ChainStep = 5;
constexpr std::uint8_t ClosedQuadrilateral = 6;

// The press switches snapping on, so that the click lands on a vertex of the line to edit.
void SnapOnForVertex(App& app, double, double) { SwitchSnapping(app, true); }

// The vertex the first click names, or false when the click did not land on the snapped vertex.
// The candidate survives from the last hover anywhere, so a click in empty space must not take
// it: it would edit a record the user never pointed at.
bool ClickedVertex(const App& app, SnapVertexRef& vertex) {
    const ToolState& tool = app.tool;
    if (tool.PressPoint.x != tool.SnapCandidate.x || tool.PressPoint.y != tool.SnapCandidate.y) return false;
    vertex = tool.SnapVertex;
    if (vertex.Vertex < 1 || vertex.Vertex > 4) return false;
    const RecordStore& store = app.store;
    return vertex.Layer >= 0 && vertex.Layer <= store.LayerCount && vertex.Slot >= 0 &&
           vertex.Slot < store.Count(vertex.Layer);
}

// ---- Inserting a vertex.

// The segment that receives the new vertex after vertex v: the one that leaves v, which for
// vertex 4 is the link to the next slot of a chained record, the closing edge of a
// quadrilateral, and otherwise the segment 3-4 that ends there.
void PickedSegment(App& app, const SnapVertexRef& at, VertexXY& from, VertexXY& to) {
    const MapRecord& r = app.store.Get(at.Layer, at.Slot);
    const int v = at.Vertex;
    if (v < 4) {
        from = VertexPoint(r, v);
        to = VertexPoint(r, v + 1);
    } else if (r.RecordType % ChainStep == 0) {
        from = VertexPoint(r, 4);
        to = VertexPoint(app.store.Get(at.Layer, at.Slot + 1), 1);
    } else if (r.RecordType == ClosedQuadrilateral) {
        from = VertexPoint(r, 4);
        to = VertexPoint(r, 1);
    } else {
        from = VertexPoint(r, 3);
        to = VertexPoint(r, 4);
    }
}

ReleaseEnd InsertVertexRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        SnapVertexRef at;
        if (!ClickedVertex(app, at)) return ReleaseEnd::CommonTail;
        tool.RubberShown = 0;
        VertexXY from, to;
        PickedSegment(app, at, from, to);
        FreshScratch(app, 4);
        std::vector<double>& s = app.geometry.ScratchXY;
        s[0] = from.x;
        s[1] = from.y;
        s[2] = to.x;
        s[3] = to.y;
        tool.DragVertex = at;
        tool.ClickCount = 1;
        SwitchSnapping(app, false);
        return ReleaseEnd::CommonTail;
    }
    const SnapVertexRef at = tool.DragVertex;
    const auto layer = static_cast<std::uint8_t>(at.Layer);
    UndoStepSnapshot(app, layer, at.Slot, -1);
    InsertVertex(app, x, y, layer, at.Slot, static_cast<std::uint8_t>(at.Vertex));
    UndoStepSnapshot(app, layer, at.Slot, 0);
    tool.ClickCount = 0;
    tool.RubberShown = 0;
    // The two snapshots are the whole step: the common tail records nothing of its own.
    tool.CommandMode = ModeJournalHold;
    FreshScratch(app, 2);
    刷新(app);
    return ReleaseEnd::CommonTail;
}

// The two rubber lines from the segment's ends to the cursor.
void InsertVertexRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const std::vector<double>& s = app.geometry.ScratchXY;
    if (s.size() < 4) return;
    Surface& canvas = app.form1->Picture1.surface();
    const Rgb color = app.current.CurrentColor;
    if (tool.RubberShown == -1) {
        canvas.Line(s[0], s[1], tool.RubberPoint.x, tool.RubberPoint.y, color);
        canvas.Line(s[2], s[3], tool.RubberPoint.x, tool.RubberPoint.y, color);
    }
    canvas.Line(s[0], s[1], x, y, color);
    canvas.Line(s[2], s[3], x, y, color);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

void InsertVertexErase(App& app) {
    ToolState& tool = app.tool;
    const std::vector<double>& s = app.geometry.ScratchXY;
    if (s.size() < 4) return;
    Surface& canvas = app.form1->Picture1.surface();
    const Rgb color = app.current.CurrentColor;
    canvas.Line(s[0], s[1], tool.RubberPoint.x, tool.RubberPoint.y, color);
    canvas.Line(s[2], s[3], tool.RubberPoint.x, tool.RubberPoint.y, color);
}

// ---- Moving a vertex.

ReleaseEnd MoveVertexRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        SnapVertexRef at;
        if (!ClickedVertex(app, at)) return ReleaseEnd::CommonTail;
        tool.RubberShown = 0;
        FreshScratch(app, 4);
        const VertexXY old = VertexPoint(app.store.Get(at.Layer, at.Slot), at.Vertex);
        app.geometry.ScratchXY[0] = old.x;
        app.geometry.ScratchXY[1] = old.y;
        tool.DragVertex = at;
        tool.ClickCount = 1;
        SwitchSnapping(app, false);
        return ReleaseEnd::CommonTail;
    }
    const SnapVertexRef at = tool.DragVertex;
    const CanvasXY to = tool.ReleasePoint;
    // Journalled while the record still holds the old position.
    UndoStepTool(app, to.x, to.y, static_cast<std::uint8_t>(at.Layer), at.Slot, static_cast<std::uint8_t>(at.Vertex));
    MapRecord& r = app.store.At(at.Layer, at.Slot);
    switch (at.Vertex) {
        case 1: r.RecordX1 = to.x; r.RecordY1 = to.y; break;
        case 2: r.RecordX2 = to.x; r.RecordY2 = to.y; break;
        case 3: r.RecordX3 = to.x; r.RecordY3 = to.y; break;
        default: r.RecordX4 = to.x; r.RecordY4 = to.y; break;
    }
    tool.ClickCount = 0;
    tool.RubberShown = 0;
    tool.CommandMode = ModeIdle;
    FreshScratch(app, 2);
    刷新(app);
    return ReleaseEnd::CommonTail;
}

// The record drawn with the vertex at the cursor; the drawing at the last cursor point goes first,
// in the background colour, and with it the record as it stood.
void MoveVertexRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const SnapVertexRef at = tool.DragVertex;
    const auto layer = static_cast<std::uint8_t>(at.Layer);
    DrawVertexDrag(app, static_cast<float>(tool.RubberPoint.x), static_cast<float>(tool.RubberPoint.y), layer,
                   at.Slot, at.Vertex, 0);
    DrawVertexDrag(app, static_cast<float>(x), static_cast<float>(y), layer, at.Slot, at.Vertex, 1);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

// The record back as it stands, without the vertex at the last cursor point.
void MoveVertexErase(App& app) {
    ToolState& tool = app.tool;
    const SnapVertexRef at = tool.DragVertex;
    DrawVertexDrag(app, static_cast<float>(tool.RubberPoint.x), static_cast<float>(tool.RubberPoint.y),
                   static_cast<std::uint8_t>(at.Layer), at.Slot, at.Vertex, 0);
}

}  // namespace

const ToolFamily& VertexToolFamily() {
    static const ToolFamily family{
        "vertex",
        {
            {.mode = ModeInsertVertex, .press = SnapOnForVertex, .rubber = InsertVertexRubber, .erasePreview = InsertVertexErase, .pressErasesPreview = true,
             .release = InsertVertexRelease},
            {.mode = ModeMoveVertex, .rubber = MoveVertexRubber, .erasePreview = MoveVertexErase, .pressErasesPreview = true, .release = MoveVertexRelease},
        },
    };
    return family;
}

}  // namespace movra
