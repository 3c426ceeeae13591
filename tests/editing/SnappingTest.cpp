#include "CanvasFixture.h"
#include "editing/Snapping.h"

namespace movra {
namespace {

class SnappingTest : public CanvasTest {
protected:
    SnappingTest() {
        app.store.LayerCount = 3;
        app.store.DimensionKeep(3);
        for (int layer = 1; layer <= 3; ++layer) app.store.LayerOnFlag[layer] = -1;
        app.tool.SnapOn = -1;
        // Sizes that single precision holds exactly, so that the bounds are tested exactly.
        app.view.GroundPerScreenMm = g;
        app.view.ScaleFactor = 0.5;
    }
    SnapVertexRef Found() { return app.tool.SnapVertex; }
    double g = 0.25;
};

TEST_F(SnappingTest, TheFirstVertexByLayerSlotAndNumberWinsNotTheNearest) {
    ASSERT_GT(g, 0);
    Put(2, 0, {500, 500});              // nearest, but on a later layer
    Put(1, 0, {100, 100});
    Put(1, 1, {400, 400, 500 + g, 500});  // vertex 2, a little off
    Put(1, 2, {500 - g, 500 - g});         // a later slot
    FindSnapVertex(app, 500, 500);
    EXPECT_EQ(Found(), (SnapVertexRef{1, 1, 2}));
    EXPECT_EQ(app.tool.SnapCandidate.x, 500 + g);

    // Nothing within reach: the candidate stays where it was.
    FindSnapVertex(app, 900, 100);
    EXPECT_EQ(Found(), (SnapVertexRef{1, 1, 2}));
}

TEST_F(SnappingTest, LaterVerticesAreTriedOnlyWhenTheSecondLiesWithin100) {
    Put(1, 0, {0, 0, 600, 600, 500, 500});  // vertex 2 is 100 away: tried
    FindSnapVertex(app, 500, 500);
    EXPECT_EQ(Found(), (SnapVertexRef{1, 0, 3}));

    app.tool.SnapVertex = {};
    app.store.At(1, 0).RecordX2 = 600.5;  // just beyond: vertex 3 is passed over
    FindSnapVertex(app, 500, 500);
    EXPECT_EQ(Found(), (SnapVertexRef{}));
}

TEST_F(SnappingTest, OnlyLiveRecordsOfOpenUnlockedLayersAreSearched) {
    struct Case {
        const char* what;
        std::function<void()> arrange;
        bool found;
    };
    const Case cases[] = {
        {"a layer of one record", [] {}, true},
        {"a layer switched off", [&] { app.store.LayerOnFlag[1] = 0; }, false},
        {"a locked layer", [&] { app.store.LayerLockFlag[1] = -1; }, false},
        {"a deleted record", [&] { app.store.At(1, 0).RecordType = 102; }, false},
        {"the slot at the count", [&] { app.store.Count(1) = 0; }, false},
    };
    for (const Case& c : cases) {
        app.store.LayerOnFlag[1] = -1;
        app.store.LayerLockFlag[1] = 0;
        Put(1, 0, {300, 300});
        app.store.Count(1) = 1;
        app.tool.SnapVertex = {};
        c.arrange();
        FindSnapVertex(app, 300, 300);
        EXPECT_EQ(Found() == (SnapVertexRef{1, 0, 1}), c.found) << c.what;
    }
}

TEST_F(SnappingTest, LayerZeroIsSearchedOnlyWhileASymbolIsDrawn) {
    app.store.LayerOnFlag[0] = -1;
    Put(0, 850, {700, 700});
    FindSnapVertex(app, 700, 700);
    EXPECT_EQ(Found(), (SnapVertexRef{}));
    app.tool.SymbolMakingMode = -1;
    FindSnapVertex(app, 700, 700);
    EXPECT_EQ(Found(), (SnapVertexRef{0, 850, 1}));
}

TEST_F(SnappingTest, APressTakesTheCandidateOnlyStrictlyWithinTwoScreenMillimetres) {
    Put(1, 0, {400, 600});
    app.tool.CommandMode = ModeIdle;
    Hover(400, 600);
    ASSERT_EQ(Found(), (SnapVertexRef{1, 0, 1}));
    Hover(900, 100);  // off every vertex: the candidate stays

    Press(400 + 1.5 * g, 600 - 1.5 * g);
    EXPECT_DOUBLE_EQ(app.tool.PressPoint.x, 400);
    EXPECT_DOUBLE_EQ(app.tool.PressPoint.y, 600);
    EXPECT_FLOAT_EQ(app.tool.AnchorX, 400 + 1.5 * g);  // the anchor keeps the raw point

    const float exactly = static_cast<float>(400 + 2 * g);
    Press(exactly, 600);
    EXPECT_EQ(app.tool.PressPoint.x, exactly);

    app.tool.SnapOn = 0;
    Press(400, 600 + g);
    EXPECT_EQ(app.tool.PressPoint.y, static_cast<float>(600 + g));
}

TEST_F(SnappingTest, AReleaseWithinTheScaleFactorTakesTheCandidate) {
    app.tool.SnapCandidate = {400, 600};
    app.tool.CommandMode = ModeIdle;
    app.tool.ClickCount = 1;
    const double reach = app.view.ScaleFactor;
    Release(400 + reach + 0.5, 600 - reach - 0.5);
    EXPECT_EQ(app.tool.ReleasePoint.x, 400);
    EXPECT_EQ(app.tool.ReleasePoint.y, 600);
    app.tool.ClickCount = 1;
    Release(400 + reach + 1, 600);
    EXPECT_EQ(app.tool.ReleasePoint.x, static_cast<float>(400 + reach + 1));
}

TEST_F(SnappingTest, TheHoverMarkerIsErasedWhereItWasAndDrawnAtTheCandidate) {
    Put(1, 0, {400, 600});
    Put(1, 1, {200, 300});
    app.tool.SnapBoxDrawn = 0;
    Hover(400, 600);
    Hover(200, 300);
    const auto boxes = Surface().PrimitivesOf(SurfacePrimitive::Kind::FilledBox);
    ASSERT_EQ(boxes.size(), 3u);  // drawn, erased, drawn
    const double at[3][2] = {{400, 600}, {400, 600}, {200, 300}};
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(boxes[k].drawMode, DrawModeNotXorPen);
        EXPECT_EQ(boxes[k].color, app.current.CurrentColor);
        EXPECT_DOUBLE_EQ(boxes[k].x1, at[k][0] - g);
        EXPECT_DOUBLE_EQ(boxes[k].y2, at[k][1] + g);
    }
    EXPECT_EQ(form.Text1.Text(), "200;300");
    EXPECT_EQ(app.tool.SnapBoxDrawn, -1);
}

}  // namespace
}  // namespace movra
