#include "display/BoundaryLines.h"

#include "display/DisplayFixture.h"

namespace movra {
namespace {

class SpecialLines : public DisplayTest {};

TEST_F(SpecialLines, TickLinesAtScaleFactor1) {
    struct Case {
        const char* code;
        Segment segment;
        std::vector<Segment> lines;  // base line first, then the ticks
    } cases[] = {
        {"1093", {0, 0, 25, 0}, {{0, 0, 25, 0}, {5, 0, 5, -1}, {15, 0, 15, -1}, {25, 0, 25, -1}}},
        {"1093", {0, 0, 24, 0}, {{0, 0, 24, 0}, {5, 0, 5, -1}, {15, 0, 15, -1}}},
        {"1093", {0, 0, 6, 0}, {{0, 0, 6, 0}, {3, 0, 3, -1}}},
        {"1091", {0, 0, 5, 0}, {{0, 0, 5, 0}, {1, 0, 1, -1}, {3, 0, 3, -1}, {5, 0, 5, -1}}},
        {"1091", {0, 0, 0.6, 0}, {{0, 0, 0.6, 0}, {1, 0, 1, -1}}},  // the first tick beyond B
        {"1091", {0, 0, 0, 4}, {{0, 0, 0, 4}, {0, 1, 1, 1}, {0, 3, 1, 3}}},  // north: ticks east
        {"1090", {0, 0, 10, 0}, {{0, 0, 10, 0}, {2, 0, 2, -2}, {6, 0, 6, -2}, {10, 0, 10, -2}}},
        {"1093", {3, 3, 3, 3}, {{3, 3, 3, 3}}},  // no length, no ticks
    };
    for (const Case& c : cases) {
        canvas.ClearRecords();
        DrawSpecialPattern(app, c.segment.x1, c.segment.y1, c.segment.x2, c.segment.y2, 9, c.code, 0, 0, 0);
        SCOPED_TRACE(std::string(c.code) + " to " + std::to_string(c.segment.x2));
        ExpectLines(c.lines);
        for (const auto& line : Lines()) EXPECT_EQ(line.color, 9);
    }
}

TEST_F(SpecialLines, PensOfTheTickLinesAndTheFixedBankDots) {
    DrawWallLine(app, 0, 0, 25, 0, 1);
    auto lines = Lines();
    EXPECT_EQ(lines[0].drawWidth, 3);
    EXPECT_EQ(lines[1].drawWidth, 4);
    EXPECT_EQ(canvas.DrawWidth(), 4);

    canvas.SetDrawStyle(DrawStyleDot);
    canvas.ClearRecords();
    DrawFixedBankLine(app, 0, 0, 10, 0, 5);
    const auto dots = Of(Kind::Point);
    ASSERT_EQ(dots.size(), 3u);
    const double xs[] = {0, 4, 8};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(Near(dots[i].x1, xs[i]) && Near(dots[i].y1, -1)) << i;
        EXPECT_EQ(dots[i].color, 5);
    }
    EXPECT_EQ(PenCalls(), (std::vector<SurfaceStateCall>{{"DrawWidth", 1}, {"DrawStyle", 0}}));

    // Without a scale there is no spacing to step by: the base line only.
    app.view.ScaleFactor = 0;
    canvas.ClearRecords();
    DrawBankLine(app, 0, 0, 10, 0, 5);
    EXPECT_EQ(Lines().size(), 1u);
}

TEST_F(SpecialLines, DashedLineCarriesItsRhythmAcrossCorners) {
    DrawSpecialPattern(app, 50, 50, 60, 60, 0, "1092", 0.3, 4, 1);  // an unrelated call before
    canvas.ClearRecords();
    DrawSpecialPattern(app, 0, 0, 12, 0, 0, "1092", 0.3, 4, 1);
    ExpectLines({{0, 0, 4, 0}, {5, 0, 9, 0}, {10, 0, 12, 0}});
    EXPECT_EQ(Lines()[0].drawWidth, 3);
    EXPECT_EQ(Lines()[0].drawStyle, 1);
    EXPECT_NEAR(app.display.Dash.DashCarry, 3, 1e-6);

    canvas.ClearRecords();
    DrawSpecialPattern(app, 12, 0, 12, 6, 0, "1092", 0.3, 4, 1);
    ExpectLines({{12, 0, 12, 2}, {12, 3, 12, 6}});
    EXPECT_NEAR(app.display.Dash.DashCarry, 2, 1e-6);

    // The same segment after one that ended elsewhere starts afresh.
    DrawDashedWidthLine(app, 40, 40, 41, 41, 0.3f, 4, 1, 0);
    canvas.ClearRecords();
    DrawDashedWidthLine(app, 12, 0, 12, 6, 0.3f, 4, 1, 0);
    ExpectLines({{12, 0, 12, 4}, {12, 5, 12, 6}});

    // A segment inside the carried gap draws nothing and only shortens the carry.
    DrawDashedWidthLine(app, 0, 0, 4.2, 0, 0.3f, 4, 1, 0);  // carry 0.8: the rest of the gap
    canvas.ClearRecords();
    DrawDashedWidthLine(app, 4.2, 0, 4.7, 0, 0.3f, 4, 1, 0);
    EXPECT_TRUE(Lines().empty());
    EXPECT_NEAR(app.display.Dash.DashCarry, 0.3, 1e-6);

    // A segment of no length keeps the state as it was.
    DrawDashedWidthLine(app, 9, 9, 9, 9, 0.3f, 4, 1, 0);
    EXPECT_NEAR(app.display.Dash.DashCarry, 0.3, 1e-6);
    EXPECT_EQ(app.display.Dash.DashLastX, 4.7);
}

TEST_F(SpecialLines, DashedLineWidthsAndAPeriodOfNothing) {
    struct Case {
        float width;
        int drawWidth;
    } cases[] = {{0.3f, 3}, {0.25f, 2}, {0.7f, 6}, {0.05f, 1}, {0, 1}};
    for (const Case& c : cases) {
        DrawDashedWidthLine(app, 0, 0, 10, 0, c.width, 4, 1, 0);
        EXPECT_EQ(canvas.DrawWidth(), c.drawWidth) << c.width;
    }
    // Dash and gap both 0: the pattern cannot be counted; nothing is drawn and nothing hangs.
    canvas.ClearRecords();
    DrawDashedWidthLine(app, 100, 0, 110, 0, 0.3f, 0, 0, 0);
    EXPECT_TRUE(Lines().empty());
    EXPECT_EQ(app.display.Dash.DashLastX, 110);
}

TEST_F(SpecialLines, UnknownCodesDrawNothing) {
    t.form1.Text2.SetText("");
    for (const char* code : {"1094", "", "1092 "}) DrawSpecialPattern(app, 0, 0, 10, 0, 0, code, 1, 1, 1);
    EXPECT_TRUE(canvas.primitives.empty());
    EXPECT_TRUE(canvas.stateCalls.empty());
    EXPECT_EQ(t.form1.Text2.Text(), "");

    DrawSpecialPattern(app, 0, 0, 10, 0, 0, "1092", 1e300, 1, 1);
    EXPECT_EQ(t.form1.Text2.Text(), "溢出6");
}

TEST_F(SpecialLines, LandUseMarksInTheCurrentColour) {
    app.current.CurrentColor = 0x123456;
    canvas.SetDrawWidth(5);
    DrawLandUseMark4(app, 100, 200);
    ExpectLines({{99.5, 200, 99.5, 202}, {100.5, 200, 100.5, 202}});
    EXPECT_EQ(Lines()[0].color, 0x123456);
    EXPECT_EQ(Lines()[0].drawWidth, 1);

    app.view.ScaleFactor = 2;
    const std::pair<void (*)(App&, float, float), std::vector<Segment>> marks[] = {
        {DrawLandUseMark1, {{0, 0, 0, 6}, {0, 0, -1, 2}, {0, 0, 1, 2}}},
        {DrawLandUseMark2, {{0, 0, -3, 2.8}, {0, 0, 3, 2.8}}},
        {DrawLandUseMark3, {{-2, 0, 2, 0}, {-1, 0, -1, 2}, {1, 0, 1, 2}}},
    };
    for (const auto& [draw, lines] : marks) {
        canvas.ClearRecords();
        draw(app, 0, 0);
        ExpectLines(lines);
    }
}

TEST_F(SpecialLines, HandledSegmentsRingTheirEnds) {
    canvas.SetBackColor(MakeRgb(0, 0, 40));
    app.view.PointMarkRadius = 0.4;
    app.view.BoundaryPointsTransparent = 1;
    canvas.ClearRecords();
    DrawHandledSegment(app, 0, 0, 7, 10, 0, 8, 255);
    ExpectLines({{0, 0, 10, 0}});
    EXPECT_EQ(Lines()[0].drawWidth, 2);
    const auto rings = Of(Kind::Circle);
    ASSERT_EQ(rings.size(), 2u);
    EXPECT_TRUE(Near(rings[1].x1, 10) && Near(rings[1].radius, 0.4));
    EXPECT_EQ(rings[0].fillStyle, 1);
    EXPECT_EQ(rings[0].fillColor, MakeRgb(0, 0, 40));
    EXPECT_EQ(rings[0].drawWidth, 1);
    EXPECT_EQ(rings[0].color, 255);
    EXPECT_EQ(Of(Kind::Point).size(), 2u);

    app.view.BoundaryPointsTransparent = 0;
    canvas.ClearRecords();
    DrawHandledSegmentDotted(app, 0, 0, 0, 10, 0, 0, 255);
    EXPECT_EQ(Of(Kind::Circle)[0].drawStyle, DrawStyleDot);  // the marks are dotted too
    EXPECT_EQ(Of(Kind::Circle)[0].fillStyle, 0);
}

}  // namespace
}  // namespace movra
