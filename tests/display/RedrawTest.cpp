#include <algorithm>
#include <cstdint>

#include "DisplayFixture.h"
#include "display/Redraw.h"
#include "document/Layers.h"
#include "document/RecordTypes.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

class RedrawTest : public DisplayTest {
protected:
    RedrawTest() {
        app.symbolStandard.SymbolStandardLoaded = 0;
        app.store.LayerOnFlag[1] = -1;
        app.store.Count(1) = 0;
        View(0, 1000, 1000, -1000);
    }

    void View(double left, double top, double width, double height) {
        t.form1.Picture1.SetScale(left, top, width, height);
    }

    MapRecord& Append(int type, std::initializer_list<double> xy, int layer = 1) {
        const int slot = app.store.Count(layer)++;
        MapRecord& r = app.store.At(layer, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = MakeRgb(0, 200, 0);
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int i = 0;
        for (double v : xy) *fields[i++] = v;
        return r;
    }

    void Redraw() {
        canvas.ClearRecords();
        刷新(app);
    }
};

TEST_F(RedrawTest, FirstVertexCullAtMiddleZoom) {
    app.view.DisplayZoom = 0.1;
    Append(TypePenLine2, {-49, 500, 600, 500});
    Append(TypePenLine2, {-51, 400, 600, 400});
    Redraw();
    ExpectLines({{-49, 500, 600, 500}});
}

// Whatever pen a tool or the last redraw left on the canvas and in the pen cache, a redraw draws
// each line with its own pen: the same map looks the same every time.
TEST_F(RedrawTest, EveryRedrawStartsFromADefinedPen) {
    app.view.DisplayZoom = 1;
    Append(TypePenLine2, {100, 500, 600, 500}).RecordPen = 9;  // width 3
    Append(TypePenLine2, {100, 400, 600, 400}).RecordPen = 0;  // width 1
    for (int leftWidth : {5, 1, 3}) {
        SCOPED_TRACE(leftWidth);
        t.form1.Picture1.surface().SetDrawWidth(leftWidth);
        app.display.PenCache = 9;
        Redraw();
        const auto lines = canvas.PrimitivesOf(SurfacePrimitive::Kind::Line);
        ASSERT_EQ(lines.size(), 2u);
        EXPECT_EQ(lines[0].drawWidth, 3);
        EXPECT_EQ(lines[1].drawWidth, 1);
    }
}

TEST_F(RedrawTest, EachZoomBandPicksItsRenderer) {
    Append(TypeQuad, {100, 100, 200, 100, 200, 200, 100, 200});
    Append(TypePointSymbol, {300, 300});
    // P1 far left of the view: only the uncut full renderer reaches it.
    Append(TypePenLine2, {-5000, 600, 500, 600});
    struct Case {
        double zoom;
        size_t lines;
        size_t boxes;
    };
    const Case cases[] = {
        {2, 5, 1},     // full detail, no first-vertex cull
        {1, 4, 1},     // full detail, culled
        {0.2, 4, 0},   // straight lines: no symbols
        {0.05, 4, 0},
        {0.01, 1, 0},  // one chord per record
    };
    for (const Case& c : cases) {
        app.view.DisplayZoom = c.zoom;
        Redraw();
        EXPECT_EQ(Lines().size(), c.lines) << "zoom " << c.zoom;
        EXPECT_EQ(Of(Kind::Box).size(), c.boxes) << "zoom " << c.zoom;
    }
    EXPECT_EQ(DetailLevelFor(2), DetailLevel::Full);
    EXPECT_EQ(DetailLevelFor(0.2), DetailLevel::Lines);
    EXPECT_EQ(DetailLevelFor(0.01), DetailLevel::Outline);
}

TEST_F(RedrawTest, RedrawSetsClipRectAndLeavesTheCanvasForPreviews) {
    View(100.5, 900, 800, -600);
    Redraw();
    EXPECT_EQ(app.clip.ClipXMin, 90);
    EXPECT_EQ(app.clip.ClipXMax, 910);
    EXPECT_EQ(app.clip.ClipYMax, 910);
    EXPECT_EQ(app.clip.ClipYMin, 290);
    EXPECT_EQ(canvas.DrawMode(), DrawModeNotXorPen);
    EXPECT_EQ(t.form1.Picture1.MousePointer(), PointerCross);
    EXPECT_EQ(app.display.Images.ImageSlotNames[33], "0");
}

TEST_F(RedrawTest, SheetGridOfTheExample) {
    app.settings.ShowGrid = 1;
    app.view.ProjectParams[0] = 1000;
    app.view.DisplayScaleDenominator = 1000;
    View(345, 1000, 900, -600);
    Redraw();
    const auto lines = Lines();
    ASSERT_GE(lines.size(), 2u);
    EXPECT_TRUE(SameSegment(lines[1], {795, 1000, 795, 400}));  // the centre cross first
    std::vector<double> verticals;
    for (size_t i = 2; i < lines.size(); ++i)
        if (lines[i].x1 == lines[i].x2) verticals.push_back(lines[i].x1);
    EXPECT_EQ(verticals, (std::vector<double>{500, 1000, 1500, 2000}));
}

TEST_F(RedrawTest, PrintRangesAreBoxesAndTheirCountIsHeldToTheStore) {
    MapRecord& first = app.store.At(0, 800);
    first.RecordZ3 = 2;
    first.RecordX2 = 10;
    first.RecordY2 = 10;
    Redraw();
    EXPECT_EQ(Of(Kind::Box).size(), 2u);
    first.RecordZ3 = 1e9f;
    Redraw();
    EXPECT_EQ(Of(Kind::Box).size(), static_cast<size_t>(app.store.LayerCapacity - 799));
    EXPECT_EQ(t.form1.Text2.Text(), "");
}

TEST_F(RedrawTest, LockedLayerThatIsOffIsDrawnFullyButNotWhilePanning) {
    app.store.LayerOnFlag[1] = 0;
    app.store.LayerLockFlag[1] = -1;
    for (int i = 0; i < 3; ++i) Append(TypePenLine2, {10.0 + i, 10, 20, 20});
    Redraw();
    EXPECT_EQ(Lines().size(), 3u);
    canvas.ClearRecords();
    RedrawOpenLayers(app);
    EXPECT_TRUE(Lines().empty());
    app.store.LayerOnFlag[1] = -1;
    app.view.DisplayZoom = 1;  // every fifth slot
    RedrawOpenLayers(app);
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(RedrawTest, WideViewsShowTheGridTheGlobeAndTheBackdrop) {
    View(0, 10000000, 20000000, -10000000);
    Redraw();
    EXPECT_EQ(Of(Kind::Circle).size(), 1u + 65 + 65 + 1);
    EXPECT_EQ(app.display.Redraw.BackdropPictureLoaded, -1);
    EXPECT_EQ(app.display.Redraw.BackdropDrawn, 0);
    EXPECT_EQ(Of(Kind::Picture).size(), 1u);

    View(0, 100000000, 200000000, -100000000);
    Redraw();
    EXPECT_EQ(app.display.Redraw.BackdropDrawn, -1);

    View(0, 1000000, 5000000, -3000000);
    Redraw();
    EXPECT_EQ(app.display.Redraw.BackdropPictureLoaded, 0);
    EXPECT_TRUE(Of(Kind::Circle).empty());
    EXPECT_EQ(Lines().size(), 2u * 51);  // 100 km grid: (xb - xa) / 100 km lines each way
}

// The thinned redraw (while panning) draws every few slots of each open layer; a layer that holds
// one record is drawn as the first slot of any layer is, at every zoom.
TEST_F(RedrawTest, TheThinnedRedrawDrawsALayerOfOneRecordAmongFullOnes) {
    app.store.LayerCount = 3;
    app.store.NextLayerIndex = 4;
    新建层(app);
    for (int layer = 1; layer <= 3; ++layer) app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = -1;
    for (int k = 0; k < 12; ++k) Append(TypePenLine2, {100.0 + k, 100, 200, 200}, 1);
    Append(TypePenLine2, {555, 444, 666, 333}, 2);
    for (int k = 0; k < 12; ++k) Append(TypePenLine2, {300.0 + k, 300, 400, 400}, 3);
    struct Case {
        double zoom;
        size_t lines;  // a full layer gives its slots 0, n, 2n... of 12
    };
    for (const Case c : {Case{10, 2 * 4 + 1}, Case{1, 2 * 3 + 1}, Case{0.25, 2 * 2 + 1}}) {
        SCOPED_TRACE(c.zoom);
        app.view.DisplayZoom = c.zoom;
        canvas.ClearRecords();
        RedrawOpenLayers(app);
        const auto lines = Lines();
        EXPECT_EQ(lines.size(), c.lines);
        EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const SurfacePrimitive& l) { return SameSegment(l, {555, 444, 666, 333}); }), 1);
    }
}

}  // namespace
}  // namespace movra
