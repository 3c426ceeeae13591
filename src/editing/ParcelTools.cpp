// The parcel tools: boundary points (a point click and a number click each, four points to a
// record), boundary edges chained from click to click with the parcel numbers in Text5, and the
// parcel number placed as a text.
#include <cstdint>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/RecordTypes.h"
#include "document/RecordVertices.h"
#include "document/StoreRecord.h"
#include "editing/RubberLine.h"
#include "editing/TextToolSupport.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// A boundary-point record holds 1 to 4 points as types 31 to 34; Zk is the number of point k.
constexpr std::uint8_t BoundaryPointsBase = 30;
constexpr std::uint8_t BoundaryPointsPen = 6;
constexpr int PaletteCyan = 4;
constexpr std::uint8_t ParcelEdgeBase = 20;
constexpr double DefaultNumberSize = 8;

// ---- Boundary points (150).

bool IsBoundaryPoints(const MapRecord& r) {
    return r.RecordType > BoundaryPointsBase && r.RecordType <= BoundaryPointsBase + 4;
}

// The first vertex still without a number (below 1); 0 when all four have one.
int OpenVertex(MapRecord& r) {
    for (int k = 1; k <= 4; ++k)
        if (VertexZ(r, k) < 1) return k;
    return 0;
}

// A point click: the point goes to the first vertex without a number of the record in progress.
// The record in progress is the last of the layer between clicks; a complete one is left and a
// new one begins in the open slot.
ReleaseEnd PointClick(App& app) {
    ToolState& tool = app.tool;
    RecordStore& store = app.store;
    const int layer = store.CurrentLayer;
    std::int32_t& count = store.Count(layer);
    if (tool.ClickCount == 2 && count > 0 && IsBoundaryPoints(store.Get(layer, count - 1)) &&
        OpenVertex(store.At(layer, count - 1)) != 0)
        --count;
    if (count + 1 > store.LayerCapacity) {
        app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
        return ReleaseEnd::EndNow;
    }
    const CanvasXY p = tool.PressPoint;
    Canvas(app).Circle(p.x, p.y, app.view.PointMarkRadius, app.tables.ColorPalette[PaletteCyan]);
    MapRecord& r = store.At(layer, count);
    r.RecordType = BoundaryPointsBase + 1;
    r.RecordColor = app.current.CurrentColor;
    r.RecordPen = BoundaryPointsPen;
    if (const int k = OpenVertex(r)) {
        r.RecordType = static_cast<std::uint8_t>(BoundaryPointsBase + k);
        SetVertexPoint(r, k, {p.x, p.y});
        tool.ToolStep = static_cast<std::uint8_t>(k);
    }
    const double number = Val(app.form1->Text8.Text());
    app.form1->Text2.SetText("界址点是" + PlainNumberText(number) + "点击确认，若误可重输。");
    tool.SnapOn = 0;
    tool.ClickCount = static_cast<std::uint8_t>(tool.ClickCount + 1);
    return ReleaseEnd::EndNow;
}

// A number click: the number of the point just placed, then the next number is offered. The
// record in progress is counted as stored from here on.
ReleaseEnd NumberClick(App& app) {
    ToolState& tool = app.tool;
    RecordStore& store = app.store;
    const int layer = store.CurrentLayer;
    const double number = Val(app.form1->Text8.Text());
    MapRecord& r = store.At(layer, store.Count(layer));
    if (tool.ToolStep >= 1 && tool.ToolStep <= 4) VertexZ(r, tool.ToolStep) = static_cast<float>(number);
    PrintTextAt(app, tool.PressPoint.x, tool.PressPoint.y, PlainNumberText(number), app.current.CurrentColor);
    app.form1->Text2.SetText("下一个界址点开始。参考号码为" + PlainNumberText(number + 1));
    app.form1->Text8.SetText(PlainNumberText(number + 1));
    tool.SnapOn = -1;
    tool.ClickCount = tool.ClickCount >= 2 ? 2 : static_cast<std::uint8_t>(tool.ClickCount + 1);
    ++store.Count(layer);
    app.current.ModifiedFlag = -1;
    return ReleaseEnd::CommonTail;
}

ReleaseEnd ParcelPointsRelease(App& app, double, double) {
    return app.tool.ClickCount % 2 == 0 ? PointClick(app) : NumberClick(app);
}

// ---- Boundary edges (153): kind 1, 2 (disputed) or 3 (provisional) in Text8.

ReleaseEnd EdgeRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    std::vector<double>& s = app.geometry.ScratchXY;
    const CanvasXY p = tool.PressPoint;
    if (tool.ClickCount == 0 || s.size() < 2) {
        s.assign(2, 0.0);
        s[0] = p.x;
        s[1] = p.y;
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    const std::string kind = Trim(app.form1->Text8.Text());
    if (kind == "1" || kind == "2" || kind == "3") {
        const int layer = app.store.CurrentLayer;
        const std::int32_t before = app.store.Count(layer);
        const auto type = static_cast<std::uint8_t>(ParcelEdgeBase + (kind[0] - '0'));
        StoreRecord(app, StoreSplitText, type, s[0], s[1], p.x, p.y, 0, 0, 0, 0, Trim(app.form1->Text5.Text()));
        if (AppendedRecord(app, before)) DrawStoredRecord(app, layer, before);
    }
    s[0] = p.x;
    s[1] = p.y;
    tool.ClickCount = 1;
    return ReleaseEnd::CommonTail;
}

// ---- The parcel number (156): the number typed in Text8, as a text.

ReleaseEnd NumberRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        app.current.PendingText = Trim(app.form1->Text8.Text());
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    if (app.current.TextSize == 0) app.current.TextSize = DefaultNumberSize;
    const int layer = app.store.CurrentLayer;
    const std::int32_t before = app.store.Count(layer);
    StoreRecord(app, StoreSizedText, TypeText, x, y, app.current.TextSize, 1, 0, 0, 0, 0, "");
    if (AppendedRecord(app, before)) DrawStoredRecord(app, layer, before);
    tool.ClickCount = 0;
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& ParcelToolFamily() {
    static const ToolFamily family{
        "parcels",
        {
            {.mode = ModeParcelPoints, .release = ParcelPointsRelease},
            {.mode = ModeParcelEdge, .rubber = DrawRubberLine, .erasePreview = EraseRubberEdges, .release = EdgeRelease},
            {.mode = ModeParcelNumber, .rubber = PreviewPendingText, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = NumberRelease},
        },
    };
    return family;
}

}  // namespace movra
