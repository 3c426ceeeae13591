#include <gtest/gtest.h>

#include "platform/fake/RecordingSurface.h"

namespace movra {
namespace {

TEST(RecordingSurface, KeepsTheStateAndLogsEverySetting) {
    RecordingSurface surface(800, 600);
    surface.SetDrawWidth(3);
    surface.SetDrawStyle(DrawStyleSolid);
    surface.SetDrawWidth(1);
    surface.SetDrawStyle(DrawStyleDash);
    EXPECT_EQ(surface.DrawWidth(), 1);
    EXPECT_EQ(surface.DrawStyle(), DrawStyleDash);
    EXPECT_EQ(surface.stateCalls, (std::vector<SurfaceStateCall>{
                                      {"DrawWidth", 3}, {"DrawStyle", 0}, {"DrawWidth", 1}, {"DrawStyle", 1}}));
    surface.ClearRecords();
    EXPECT_TRUE(surface.stateCalls.empty());
    EXPECT_EQ(surface.DrawStyle(), DrawStyleDash);  // state stays
}

TEST(RecordingSurface, RecordsPrimitivesWithTheStateTheyWereDrawnIn) {
    RecordingSurface surface(100, 100);
    surface.SetForeColor(MakeRgb(255, 0, 0));
    surface.SetDrawMode(DrawModeNotXorPen);
    surface.SetDrawWidth(2);
    surface.Line(1, 2, 3, 4);
    surface.Line(5, 6, 7, 8, MakeRgb(0, 0, 255), LineShape::Box);
    surface.Circle(50, 50, 10, -1, true, -1, -2, 0.5);
    surface.PSet(9, 9);
    ASSERT_EQ(surface.primitives.size(), 4u);
    const SurfacePrimitive& line = surface.primitives[0];
    EXPECT_EQ(line.kind, SurfacePrimitive::Kind::Line);
    EXPECT_EQ(line.color, MakeRgb(255, 0, 0));  // the fore colour when none is given
    EXPECT_EQ(line.drawMode, DrawModeNotXorPen);
    EXPECT_EQ(line.drawWidth, 2);
    EXPECT_EQ(surface.primitives[1].kind, SurfacePrimitive::Kind::Box);
    EXPECT_EQ(surface.primitives[1].color, MakeRgb(0, 0, 255));
    const SurfacePrimitive& arc = surface.primitives[2];
    EXPECT_TRUE(arc.hasArc);
    EXPECT_EQ(arc.start, -1);
    EXPECT_EQ(arc.aspect, 0.5);
    // The current position follows each figure: line end, circle centre, point.
    EXPECT_EQ(surface.CurrentX(), 9);
    surface.Circle(50, 40, 10);
    EXPECT_EQ(surface.CurrentY(), 40);
    EXPECT_EQ(surface.PrimitivesOf(SurfacePrimitive::Kind::Circle).size(), 2u);
}

TEST(RecordingSurface, ScaleWithYUpConvertsBothWays) {
    RecordingSurface surface(200, 100);
    surface.SetScale(1000, 550, 100, -50);
    EXPECT_DOUBLE_EQ(surface.ToPixelX(1050), 100);
    EXPECT_DOUBLE_EQ(surface.ToPixelY(500), 100);  // the bottom edge
    EXPECT_DOUBLE_EQ(surface.FromPixelY(0), 550);
    EXPECT_DOUBLE_EQ(surface.FromPixelX(surface.ToPixelX(1033.3)), 1033.3);
    surface.SetScale(0, 0, 0, 5);  // refused: no extent
    EXPECT_DOUBLE_EQ(surface.ScaleWidth(), 100);
    surface.SetBackColor(MakeRgb(0, 0, 0));
    EXPECT_EQ(surface.Point(1010, 540), MakeRgb(0, 0, 0));
    EXPECT_EQ(surface.Point(900, 540), -1);
}

TEST(RecordingSurface, PrintMovesBelowOrBehindTheText) {
    RecordingSurface surface(200, 100);
    surface.SetScale(0, 100, 200, -100);
    surface.SetFont("宋体", 9);
    surface.SetCurrentX(10);
    surface.SetCurrentY(80);
    surface.Print("层1", false);
    EXPECT_DOUBLE_EQ(surface.CurrentX(), 10 + surface.TextWidth("层1"));
    EXPECT_DOUBLE_EQ(surface.TextWidth("层1"), 1.5 * surface.TextWidth("层"));
    surface.Print("x");
    EXPECT_DOUBLE_EQ(surface.CurrentX(), 0);
    EXPECT_DOUBLE_EQ(surface.CurrentY(), 80 + surface.TextHeight("x"));
    EXPECT_LT(surface.TextHeight("x"), 0);  // y up
    auto printed = surface.PrimitivesOf(SurfacePrimitive::Kind::Print);
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_EQ(printed[0].text, "层1");
    EXPECT_EQ(printed[0].fontName, "宋体");
    EXPECT_EQ(printed[0].x1, 10);
}

TEST(RecordingSurface, CreatedFontsHaveHandlesAndAreSelectedAndDeleted) {
    RecordingSurface surface;
    LogicalFont logical;
    logical.height = -16;
    logical.escapement = 900;
    logical.faceName = "宋体";
    FontHandle first = surface.CreateFontIndirect(logical);
    FontHandle second = surface.CreateFontIndirect(logical);
    EXPECT_GT(first, 0);
    EXPECT_GT(second, first);
    EXPECT_EQ(surface.SelectFont(first), 0);
    surface.TextOut(5, 6, "字");
    auto out = surface.PrimitivesOf(SurfacePrimitive::Kind::TextOut);
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].deviceFont, first);
    EXPECT_EQ(out[0].logicalFont.escapement, 900);
    EXPECT_EQ(out[0].pixelX, 5);
    EXPECT_TRUE(surface.DeleteFont(first));
    EXPECT_EQ(surface.SelectedFont(), 0);
    EXPECT_FALSE(surface.DeleteFont(first));
    EXPECT_EQ(surface.SelectFont(first), 0);  // a deleted font cannot come back
    EXPECT_EQ(surface.SelectedFont(), 0);
    EXPECT_EQ(surface.LiveFontCount(), 1);
    EXPECT_EQ(surface.createdFonts.size(), 2u);
}

}  // namespace
}  // namespace movra
