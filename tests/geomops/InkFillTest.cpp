#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "InkFillFixture.h"
#include "display/Redraw.h"
#include "document/StoreRecord.h"

namespace movra {
namespace {

TEST_F(InkFillTest, RectangleIsFilledUpThenDownAndStoredAsItIsDrawn) {
    Rectangle(Walls, 0, 0, 100, 50);
    const std::vector<Span> spans = Pour({50, 25});
    // Up from the seed line to the upper stop line, then down again from the seed line to the
    // bottom, which ends the pass as a wall.
    ASSERT_EQ(spans.size(), 124u);
    for (std::size_t k = 0; k < spans.size(); ++k) {
        const double expected = k < 62 ? 25 + 0.4 * static_cast<double>(k) : 25 - 0.4 * static_cast<double>(k - 62);
        EXPECT_NEAR(spans[k].y, expected, 1e-4) << k;
        EXPECT_DOUBLE_EQ(spans[k].left, 0);
        EXPECT_FLOAT_EQ(static_cast<float>(spans[k].length), 100);
    }
    EXPECT_NEAR(spans[61].y, 49.4, 1e-4);
    EXPECT_NEAR(spans.back().y, 0.6, 1e-4);
    EXPECT_EQ(app.store.Count(Ink), 31);
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    // Drawn at width 2 as found, and the same spans again by a full redraw.
    const std::vector<Span> drawn = DrawnSpans(Red);
    EXPECT_TRUE(SameSpans(drawn, spans));
    for (const auto& p : Surface().PrimitivesOf(SurfacePrimitive::Kind::Line)) EXPECT_EQ(p.drawWidth, 2);
    Surface().ClearRecords();
    刷新(app);
    const std::vector<Span> redrawn = DrawnSpans(Red);
    EXPECT_TRUE(SameSpans(redrawn, spans)) << redrawn.size() << " " << (redrawn.empty() ? 0 : redrawn[0].y);
}

TEST_F(InkFillTest, SeedInABoxFillsOrRecoloursTheBoxInstead) {
    // Stored from the upper left corner clockwise: the box is added filled.
    Line(Walls, 6, {{10, 40}, {90, 40}, {90, 10}, {10, 10}});
    Line(Walls, 2, {{500, 500}, {501, 500}});
    Seed({50, 25});
    墨水填充(app, 50, 25, 1);
    ASSERT_EQ(app.store.Count(Ink), 1);
    const MapRecord& filled = app.store.Get(Ink, 0);
    EXPECT_EQ(filled.RecordType, 10);
    EXPECT_EQ(filled.RecordColor, Red);
    EXPECT_EQ(filled.RecordPen, 3);
    EXPECT_EQ(std::tie(filled.RecordX1, filled.RecordY1, filled.RecordX3, filled.RecordY3),
              std::tuple(10.0, 40.0, 90.0, 10.0));
    EXPECT_FALSE(Surface().primitives.empty());
    EXPECT_EQ(app.store.Get(Ink, 1).RecordType, 0);

    // In another order its four sides bound an ordinary fill. The box just filled is taken away
    // first: a layer of one record bounds the ink as any other, and the seed would lie in it.
    app.store.At(Walls, 0) = MapRecord{};
    app.store.At(Ink, 0) = MapRecord{};
    app.store.Count(Ink) = 0;
    Line(Walls, 6, {{10, 10}, {90, 10}, {90, 40}, {10, 40}});
    const std::vector<Span> spans = Pour({50, 25});
    ASSERT_FALSE(spans.empty());
    for (const Span& s : spans) EXPECT_EQ(std::tuple(s.left, static_cast<float>(s.length)), std::tuple(10.0, 80.0f));
}

TEST_F(InkFillTest, FilledBoxIsRecolouredByEitherDiagonalButNotFromBelowRight) {
    struct Case {
        const char* name;
        std::vector<P> corners;
        bool recoloured;
        bool drawn = true;  // a band that shows
    };
    const Case cases[] = {
        {"P1 above left of P3", {{10, 40}, {90, 40}, {90, 10}, {10, 10}}, true},
        {"P1 above right of P3", {{90, 40}, {10, 40}, {10, 10}, {90, 10}}, true},
        {"P1 below left of P3", {{10, 10}, {90, 10}, {90, 40}, {10, 40}}, true},
        {"P2 above left of P4", {{90, 10}, {10, 40}, {10, 40}, {90, 10}}, true, false},
        {"P2 above right of P4", {{90, 10}, {90, 40}, {10, 40}, {10, 10}}, true},
        {"P2 below left of P4", {{90, 10}, {10, 10}, {10, 40}, {90, 40}}, true},
        {"both first corners below right", {{90, 10}, {90, 10}, {10, 40}, {10, 40}}, false},
        {"seed outside the box", {{10, 40}, {90, 40}, {90, 30}, {10, 30}}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.store.Count(Walls) = 0;
        app.store.ClearFrom(Walls, 0);
        app.store.Count(Ink) = 0;
        app.store.ClearFrom(Ink, 0);
        Line(Walls, 10, c.corners).RecordColor = Blue;
        Line(Walls, 2, {{500, 500}, {501, 500}});
        Surface().ClearRecords();
        app.current.ModifiedFlag = 0;
        const std::vector<Span> spans = Pour({50, 25});
        EXPECT_EQ(app.store.Get(Walls, 0).RecordColor, c.recoloured ? Red : Blue);
        if (c.recoloured) {
            EXPECT_EQ(app.current.ModifiedFlag, -1);
            EXPECT_TRUE(spans.empty());
            EXPECT_EQ(app.store.Count(Ink), 0);
            // Redrawn in its new colour.
            if (c.drawn) {
                bool redrawn = false;
                for (const auto& p : Surface().PrimitivesOf(SurfacePrimitive::Kind::Line)) redrawn |= p.color == Red;
                EXPECT_TRUE(redrawn);
            }
        }
    }
}

TEST_F(InkFillTest, FillHeadsAreRecolouredAndRedrawn) {
    for (const char* code : {"5", "1"}) {
        SCOPED_TRACE(code);
        app.store.Count(Walls) = 0;
        app.store.ClearFrom(Walls, 0);
        app.store.CurrentLayer = Walls;
        app.current.CurrentColor = Blue;
        app.selection.WorkPolygon = {10, 40, 90, 40, 90, 10, 10, 10, 10, 40};
        StorePolylineFromList(app, code);
        ASSERT_EQ(app.store.Get(Walls, 0).RecordType, std::string(code) == "5" ? 11 : 13);
        const int walls = app.store.Count(Walls);
        app.store.CurrentLayer = Ink;
        app.current.CurrentColor = Red;
        刷新(app);
        Surface().ClearRecords();
        // The head's boundary chain lies around the seed too, but the head comes first.
        EXPECT_TRUE(Pour({50, 25}).empty());
        EXPECT_EQ(app.store.Get(Walls, 0).RecordColor, Red);
        EXPECT_EQ(app.store.Count(Walls), walls);
        EXPECT_EQ(app.store.Count(Ink), 0);
        // The hatch is drawn again in its new colour (the symbol fill has no symbols here).
        if (std::string(code) == "5") {
            EXPECT_FALSE(DrawnSpans(Red).empty());
        }
    }
}

TEST_F(InkFillTest, TriangleStopsBelowItsApex) {
    Line(Walls, 2, {{0, 0}, {50, 80}});
    Line(Walls, 2, {{50, 80}, {100, 0}});
    Line(Walls, 2, {{100, 0}, {0, 0}});
    const std::vector<Span> spans = Pour({50, 20});
    ASSERT_FALSE(spans.empty());
    double top = 0, bottom = 100;
    for (const Span& s : spans) {
        top = std::max(top, s.y);
        bottom = std::min(bottom, s.y);
        // Between the two sides.
        EXPECT_NEAR(s.left, s.y * 50 / 80, 1e-6);
        EXPECT_NEAR(s.length, 100 - 2 * s.y * 50 / 80, 1e-3);
    }
    EXPECT_LT(top, 80);
    EXPECT_GT(top, 79);
    // The base ends the downward pass as a wall within a step.
    EXPECT_GT(bottom, 0.4);
    EXPECT_LE(bottom, 0.8 + 1e-6);
}

TEST_F(InkFillTest, OnlyLineWorkNearTheSeedOnLayersThatAreOnBoundsIt) {
    struct Case {
        const char* name;
        std::function<void()> rightSide;
        double scale;
        bool filled;
    };
    auto side = [this](int layer, std::uint8_t type, double x) { Line(layer, type, {{x, 0}, {x, 50}}); };
    const Case cases[] = {
        {"a line on a layer that is on", [&] { side(1, 2, 100); }, 1, true},
        {"the link of a chain record", [&] { Line(1, 5, {{100, -30}, {100, -20}, {100, -10}, {100, 0}}); Line(1, 1, {{100, 50}}); }, 1, true},
        {"a line on a layer that is off", [&] { app.store.LayerOnFlag[1] = 0; side(1, 2, 100); }, 1, false},
        {"an earlier ink fill", [&] { Line(1, 81, {{100, 0}, {100, 50}}).RecordZ1 = 50; }, 1, false},
        {"a width-3 line", [&] { side(1, 72, 100); }, 1, false},
        {"a circle", [&] { Line(1, 7, {{120, 25}, {20, 1}}); }, 1, false},
        {"a line with every vertex outside the window", [&] { Line(1, 2, {{100, -80}, {100, 200}, {100, 200}, {100, 200}}); }, 1, false},
        {"a wall 950 from the seed", [&] { side(1, 2, 1000); }, 20, true},
        {"a wall 1050 from the seed", [&] { side(1, 2, 1100); }, 20, false},
        {"a scale too small for a window", [&] { side(1, 2, 100); }, 0.005, false},
        {"no scale", [&] { side(1, 2, 100); }, 0, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int l : {1, Walls, Ink}) {
            app.store.Count(l) = 0;
            app.store.ClearFrom(l, 0);
            app.store.LayerOnFlag[static_cast<std::size_t>(l)] = -1;
        }
        app.view.ScaleFactor = c.scale;
        // The left side and both ends; a layer needs two records to count.
        Line(Walls, 2, {{0, 0}, {0, 50}});
        Line(Walls, 2, {{-10, 0}, {2000, 0}});
        Line(Walls, 2, {{-10, 50}, {2000, 50}});
        Line(1, 2, {{-500, -500}, {-501, -500}});
        c.rightSide();
        Surface().ClearRecords();
        const std::vector<Span> spans = Pour({50, 25});
        EXPECT_EQ(!spans.empty(), c.filled);
        EXPECT_EQ(DrawnSpans(Red).size(), spans.size());
    }
}

TEST_F(InkFillTest, GatheringStopsAtTheCapInLayerAndSlotOrder) {
    // Small level pieces far above the seed: they never cross a line of the fill.
    for (int fillers : {2496, 2497}) {
        SCOPED_TRACE(fillers);
        for (int l : {1, Walls, Ink}) {
            app.store.Count(l) = 0;
            app.store.ClearFrom(l, 0);
        }
        for (int k = 0; k < fillers; ++k) Line(1, 2, {{10 + k * 0.01, 120}, {10.005 + k * 0.01, 120}});
        Rectangle(Walls, 0, 0, 100, 50);  // its left side comes last
        EXPECT_EQ(Pour({50, 25}).empty(), fillers == 2497);
    }
}

TEST_F(InkFillTest, AllTwoHundredFiftyFiveLayersBound) {
    auto& store = app.store;
    store.LayerCount = 255;
    store.DimensionKeep(255);
    for (int l = 1; l <= 255; ++l) store.LayerOnFlag[static_cast<std::size_t>(l)] = -1;
    Line(1, 2, {{0, 0}, {100, 0}});
    Line(1, 2, {{100, 50}, {0, 50}});
    Line(255, 2, {{100, 0}, {100, 50}});
    Line(255, 2, {{0, 50}, {0, 0}});
    EXPECT_EQ(Pour({50, 25}).size(), 124u);
}

TEST_F(InkFillTest, FullLayerStopsStoringWithTheMessageAndNothingPastItsCapacity) {
    Rectangle(Walls, 0, 0, 100, 50);
    app.store.LayerCapacity = LayerSplittingCapacity;
    app.store.Count(Ink) = LayerSplittingCapacity - 5;
    const std::vector<Span> spans = Pour({50, 25});
    EXPECT_EQ(spans.size(), 20u);
    EXPECT_EQ(app.store.Count(Ink), LayerSplittingCapacity);
    EXPECT_EQ(app.store.LayerCapacity, LayerSplittingCapacity);
    EXPECT_EQ(t.platform.promptScript.LastText(), LayerFullMessage);
    // The spans found so far stay drawn.
    EXPECT_EQ(DrawnSpans(Red).size(), 21u);
}

TEST_F(InkFillTest, SeedFromARecordTakesItsPointAndColour) {
    Rectangle(Walls, 0, 0, 100, 50);
    MapRecord& seed = Line(1, 1, {{50, 25}});
    seed.RecordColor = Blue;
    Line(1, 1, {{500, 500}});
    墨水填充(app, 1, 0, 0);
    ASSERT_EQ(app.store.Count(Ink), 31);
    EXPECT_EQ(app.store.Get(Ink, 0).RecordColor, Blue);
    // A record outside the store ends the fill quietly.
    墨水填充(app, 1, 32767, 0);
    墨水填充(app, -1, 0, 0);
    EXPECT_EQ(app.store.Count(Ink), 31);
}

}  // namespace
}  // namespace movra
