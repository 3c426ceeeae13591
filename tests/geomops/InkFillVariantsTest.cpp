#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "InkFillFixture.h"

namespace movra {
namespace {

// A rectangle with a short post inside, right of the seed, above the seed line.
void RectangleWithPost(InkFillTest& f) {
    f.Rectangle(Walls, 0, 0, 100, 50);
    f.Line(Walls, 2, {{70, 30}, {70, 45}});
}

using InkFillVariantsTest = InkFillTest;

TEST_F(InkFillVariantsTest, TrackingFillFollowsTheSidesWhereThePlainFillMeetsThePost) {
    RectangleWithPost(*this);
    // The plain fill takes the nearest crossing on every line: the post cuts its spans short.
    bool cut = false;
    for (const Span& s : Pour({50, 25})) cut |= s.y > 30 && s.y < 45 && std::fabs(s.left + s.length - 70) < 1e-3;
    EXPECT_TRUE(cut);

    // The tracking fill keeps to the rectangle's sides after the first line.
    const std::vector<Span> spans = Pour({50, 25}, 墨水填充A);
    ASSERT_GT(spans.size(), 100u);
    for (const Span& s : spans) {
        EXPECT_DOUBLE_EQ(s.left, 0) << s.y;
        EXPECT_FLOAT_EQ(static_cast<float>(s.length), 100) << s.y;
    }
    EXPECT_NEAR(spans.front().y, 25, 1e-9);
}

TEST_F(InkFillVariantsTest, TrackingFillSearchesItsFirstLine) {
    // The right side first in the list: nothing is tracked before the first line is searched.
    Line(Walls, 2, {{100, 0}, {100, 50}});
    Line(Walls, 2, {{0, 50}, {0, 0}});
    const std::vector<Span> spans = Pour({50, 25}, 墨水填充A);
    ASSERT_FALSE(spans.empty());
    EXPECT_DOUBLE_EQ(spans.front().left, 0);
    EXPECT_FLOAT_EQ(static_cast<float>(spans.front().length), 100);
}

TEST_F(InkFillVariantsTest, OutlineIsTracedIntoAHatchFilledArea) {
    struct Case {
        const char* name;
        std::vector<std::vector<P>> lines;
        P seed;
        std::uint8_t chainType;
        std::vector<P> points;
    };
    const Case cases[] = {
        {"rectangle", {{{0, 0}, {100, 0}}, {{100, 0}, {100, 50}}, {{100, 50}, {0, 50}}, {{0, 50}, {0, 0}}},
         {50, 25}, 29, {{0, 50}, {0, 0}, {100, 0}, {100, 50}}},
        // Its third corner shares the first one's y: the outline still closes.
        {"triangle", {{{0, 0}, {50, 80}}, {{50, 80}, {100, 0}}, {{100, 0}, {0, 0}}},
         {50, 30}, 28, {{0, 0}, {50, 80}, {100, 0}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        for (int l : {Walls, Ink}) {
            app.store.Count(l) = 0;
            app.store.ClearFrom(l, 0);
        }
        for (const auto& l : c.lines) Line(Walls, 2, l);
        const int yields = t.platform.scriptedEvents.calls;
        Seed(c.seed);
        墨水tc(app, static_cast<std::int32_t>(c.seed.x), static_cast<std::int32_t>(c.seed.y), 1);
        ASSERT_EQ(app.store.Count(Ink), 2);
        const MapRecord& head = app.store.Get(Ink, 0);
        EXPECT_EQ(head.RecordType, 11);
        EXPECT_EQ(std::string(head.RecordText), "5");
        EXPECT_EQ(head.RecordColor, Red);
        const MapRecord& chain = app.store.Get(Ink, 1);
        EXPECT_EQ(chain.RecordType, c.chainType);
        const double xs[4] = {chain.RecordX1, chain.RecordX2, chain.RecordX3, chain.RecordX4};
        const double ys[4] = {chain.RecordY1, chain.RecordY2, chain.RecordY3, chain.RecordY4};
        for (std::size_t k = 0; k < c.points.size(); ++k) {
            EXPECT_DOUBLE_EQ(xs[k], c.points[k].x) << k;
            EXPECT_DOUBLE_EQ(ys[k], c.points[k].y) << k;
        }
        EXPECT_EQ(app.store.Get(Ink, 2).RecordType, 0);
        // One yield for every edge drawn, the closing one included.
        EXPECT_EQ(t.platform.scriptedEvents.calls - yields, static_cast<int>(c.points.size()));
        EXPECT_EQ(Surface().DrawWidth(), 1);
        EXPECT_EQ(app.current.ModifiedFlag, -1);
    }
}

TEST_F(InkFillVariantsTest, OutlineThatCannotCloseStoresNothing) {
    struct Case {
        const char* name;
        double scale;
        std::string message;
    };
    // A box open at the top and the right: the seed line meets only its left side.
    Line(Walls, 2, {{0, 0}, {100, 0}});
    Line(Walls, 2, {{0, 50}, {0, 0}});
    for (const Case& c : {Case{"one side open", 1, "100距离超过两倍"}, Case{"at 1:2500", 2.5, "250距离超过两倍"}}) {
        SCOPED_TRACE(c.name);
        app.view.ScaleFactor = c.scale;
        Seed({50, 25});
        墨水tc(app, 50, 25, 1);
        EXPECT_EQ(t.platform.promptScript.LastText(), c.message);
        EXPECT_EQ(app.store.Count(Ink), 0);
        EXPECT_EQ(app.store.Get(Ink, 0).RecordType, 0);
    }

    // Closed on the seed line but open at the top: the tracing gives up.
    app.view.ScaleFactor = 1;
    Line(Walls, 2, {{100, 0}, {100, 50}});
    const std::size_t asked = t.platform.promptScript.questions.size();
    墨水tc(app, 50, 25, 1);
    EXPECT_EQ(app.store.Count(Ink), 0);
    EXPECT_EQ(t.platform.promptScript.questions.size(), asked);
    // The edges it found stay drawn.
    EXPECT_FALSE(Surface().PrimitivesOf(SurfacePrimitive::Kind::Line).empty());
}

}  // namespace
}  // namespace movra
