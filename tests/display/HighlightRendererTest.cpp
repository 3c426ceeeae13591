// The highlight and the vertex-drag preview against the full renderer: where their rows agree the
// same figures come out in the colour asked for; where they differ, each row's own drawing.
#include <cstdint>
#include <sstream>
#include <string>

#include "DisplayFixture.h"
#include "basic/Numbers.h"
#include "display/HighlightRenderer.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"
#include "display/VertexDrag.h"

namespace movra {
namespace {

constexpr Rgb kGiven = MakeRgb(0, 90, 250);
constexpr Rgb kOwn = MakeRgb(200, 10, 10);
constexpr Rgb kBack = MakeRgb(250, 250, 240);

class HighlightTest : public DisplayTest {
protected:
    HighlightTest() {
        app.clip.ClipXMin = -1000;
        app.clip.ClipXMax = 1000;
        app.clip.ClipYMin = -1000;
        app.clip.ClipYMax = 1000;
        app.store.Count(1) = 20;
        app.view.PointMarkRadius = 0.5;
        app.tables.ColorPalette[6] = MakeRgb(200, 0, 200);
        app.tables.ColorPalette[7] = MakeRgb(255, 255, 255);
        app.tables.FontNames[1] = "黑体";
        canvas.SetBackColor(kBack);
        app.view.BackgroundColor = kBack;
        SetElement(1, 0, 1, {{0, 0}, {0, 3}});
        SetLineType(2, 1, {{6, 2}, {7, 1}});
        canvas.ClearRecords();
    }

    MapRecord& Put(int slot, int type, std::initializer_list<double> xy = {}) {
        MapRecord& r = app.store.At(1, slot);
        r = MapRecord{};
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = kOwn;
        r.RecordPen = 8;
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int i = 0;
        for (double v : xy) *fields[i++] = v;
        return r;
    }

    // What was drawn, pen and font included, one line per primitive.
    std::string Drawn() const {
        std::ostringstream out;
        for (const SurfacePrimitive& p : canvas.primitives) {
            out << static_cast<int>(p.kind) << " " << p.x1 << "," << p.y1 << " " << p.x2 << "," << p.y2 << " r"
                << p.radius << " c" << p.color << " w" << p.drawWidth << " s" << p.drawStyle << " f" << p.fillStyle
                << " '" << p.text << "' " << p.fontName << " " << p.fontSize << " " << p.italic << " "
                << p.logicalFont.height << "/" << p.logicalFont.escapement << "\n";
        }
        return out.str();
    }

    // The record in slot 3 drawn by the full renderer in `color`, unculled, from a canvas state
    // that makes its pen rule set the pen.
    std::string Full(Rgb color) {
        Reset();
        RecordDrawOptions options;
        options.colorOverride = color;
        options.cull = false;
        std::uint8_t layer = 1;
        std::int16_t slot = 3;
        DrawRecordWith(app, layer, slot, options);
        return Drawn();
    }
    std::string Highlight(Rgb color) {
        Reset();
        刷图元(app, 1, 3, color);
        return Drawn();
    }
    void Reset() {
        canvas.ClearRecords();
        canvas.SetDrawWidth(1);
        canvas.SetDrawStyle(DrawStyleSolid);
        canvas.SetFillStyle(FillStyleTransparent);
        app.display.PenCache = 255;
        ReleaseTextFont(app);
    }
};

TEST_F(HighlightTest, RowsThatAgreeDrawWhatTheFullRendererDrawsInTheGivenColour) {
    struct Case {
        int type;
        std::initializer_list<double> xy;
        bool standard;
    };
    const Case cases[] = {
        {2, {1, 1, 9, 5}, false}, {3, {1, 1, 9, 5, 12, 1}, false}, {4, {1, 1, 9, 5, 12, 1, 14, 8}, false},
        {5, {1, 1, 9, 5, 12, 1, 14, 8}, false}, {6, {1, 1, 9, 5, 12, 1, 14, 8}, false},
        {7, {5, 5, 3, 0.5}, false}, {8, {5, 5, 3, 1, 0.5, 2}, false}, {9, {5, 5, 4, 2, 0.3}, false},
        {12, {1, 1, 9, 5}, false}, {12, {1, 1, 9, 5, 8, 0.8, 0.6}, true},
        {15, {5, 5, 0, 1}, true}, {15, {5, 5, 0, 1}, false}, {16, {5, 5}, false}, {19, {5, 5}, false},
        {42, {1, 1, 9, 5}, false}, {42, {1, 1, 9, 5}, true}, {43, {1, 1, 9, 5, 12, 1}, true},
        {45, {1, 1, 9, 5, 12, 1, 14, 8}, false}, {45, {1, 1, 9, 5, 12, 1, 14, 8}, true},
        {48, {1, 1, 9, 5, 12, 1}, false}, {51, {5, 5, 1, 0}, true}, {52, {1, 1, 9, 5, 1, 5, 9, 1}, false},
        {62, {5, 5, 2.5, 0.8, 0, 0, 6, 4}, false}, {66, {5, 5, 2.5, 0.8}, false}, {68, {5, 5, 2.5, 0.8}, false},
        {72, {1, 1, 9, 5}, false}, {75, {1, 1, 9, 5, 12, 1, 14, 8}, false},
        {80, {1, 1, 9, 5, 12, 1}, false}, {85, {1, 1, 9, 5}, false},
        {92, {1, 1, 9, 5}, false}, {95, {1, 1, 9, 5, 12, 1, 14, 8}, false}, {99, {1, 1, 9, 5}, false},
    };
    Put(4, 2, {30, 30});  // where the chains go on
    for (const Case& c : cases) {
        app.symbolStandard.SymbolStandardLoaded = c.standard ? True : 0;
        MapRecord& r = Put(3, c.type, c.xy);
        r.RecordZ1 = 2; r.RecordZ2 = 30; r.RecordZ3 = 1;
        r.RecordZ4 = 1;
        r.RecordText = c.type == 15 ? "1" : c.type == 12 || (c.type >= 42 && c.type <= 45) ? "351" : "路";
        if (c.type >= 92) r.RecordText = "1093";
        r.RecordFont = "宋体";
        const std::string full = Full(kGiven);
        EXPECT_FALSE(full.empty()) << c.type;
        EXPECT_EQ(Highlight(kGiven), full) << "type " << c.type << (c.standard ? " with the standard" : "");
    }
}

TEST_F(HighlightTest, ColoursFollowTheRowWhenZeroIsGiven) {
    // A pen line in black; a line-type segment with the standard in the record's own colour.
    Put(3, 2, {1, 1, 9, 5});
    Highlight(0);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].color, 0);
    EXPECT_EQ(app.display.PenColor, kOwn);

    app.symbolStandard.SymbolStandardLoaded = True;
    Put(3, 42, {1, 1, 9, 5}).RecordText = "351";
    Highlight(0);
    ASSERT_FALSE(Lines().empty());
    for (const auto& l : Lines()) EXPECT_EQ(l.color, kOwn);

    // The companion line of a line-type segment without the standard stays magenta.
    app.symbolStandard.SymbolStandardLoaded = 0;
    Highlight(kGiven);
    ASSERT_EQ(Lines().size(), 2u);
    EXPECT_EQ(Lines()[1].color, MakeRgb(200, 0, 200));

    // A deleted record draws nothing and still sets PenColor.
    Put(3, 102, {1, 1, 9, 5});
    Highlight(kGiven);
    EXPECT_TRUE(canvas.primitives.empty());
    EXPECT_EQ(app.display.PenColor, kGiven);
}

TEST_F(HighlightTest, TypesTheFullRendererDrawsButTheHighlightDoesNot) {
    app.symbolStandard.SymbolStandardLoaded = True;
    for (int type : {10, 11, 13, 14, 36, 58, 59, 63, 81}) {
        MapRecord& r = Put(3, type, {1, 1, 9, 1, 9, 9, 1, 9});
        r.RecordZ1 = 2;
        r.RecordZ4 = 1;
        r.RecordText = "字";
        r.RecordFont = "宋体";
        // (A fill head without its boundary draws nothing in either.)
        if (type != 11 && type != 13) EXPECT_FALSE(Full(kGiven).empty()) << type;
        EXPECT_EQ(Highlight(kGiven), "") << type;
    }
}

TEST_F(HighlightTest, NoPenCacheIsReadOrWritten) {
    Put(3, 2, {1, 1, 9, 5}).RecordPen = 9;
    app.display.PenCache = 9;  // the full renderer would set nothing now
    canvas.ClearRecords();
    canvas.SetDrawWidth(1);
    刷图元(app, 1, 3, kGiven);
    EXPECT_EQ(Lines().at(0).drawWidth, 3);
    EXPECT_EQ(app.display.PenCache, 9);
    // From code 7 on the style is left as the canvas has it.
    canvas.SetDrawStyle(2);
    刷图元(app, 1, 3, kGiven);
    EXPECT_EQ(Lines().back().drawStyle, 2);
    Put(3, 2, {1, 1, 9, 5}).RecordPen = 3;
    刷图元(app, 1, 3, kGiven);
    EXPECT_EQ(Lines().back().drawWidth, 1);
    EXPECT_EQ(Lines().back().drawStyle, 3);
    EXPECT_EQ(app.display.PenCache, 9);
}

TEST_F(HighlightTest, ParcelEdgesAreSolidAndFillBoundariesAreHandledSegments) {
    Put(3, 21, {1, 1, 9, 5});
    const std::string solid = Highlight(kGiven);
    for (int type : {22, 23}) {
        Put(3, type, {1, 1, 9, 5});
        EXPECT_NE(Full(kGiven), solid) << type;
        EXPECT_EQ(Highlight(kGiven), solid) << type;
    }
    // Type 30 goes on to the next slot, four sides of one length; 26 draws nothing.
    Put(3, 27, {1, 1, 9, 1});
    Highlight(kGiven);
    const size_t perSide = Lines().size();
    ASSERT_GT(perSide, 0u);
    Put(3, 30, {1, 1, 9, 1, 9, 9, 1, 9});
    Put(4, 26, {1, 1});
    Highlight(kGiven);
    EXPECT_EQ(Lines().size(), 4 * perSide);
    EXPECT_EQ(Lines().back().color, kGiven);
    canvas.ClearRecords();
    刷图元(app, 1, 4, kGiven);
    EXPECT_TRUE(canvas.primitives.empty());
}

TEST_F(HighlightTest, BoundaryPointsAreFilledSolidAndPrintTheirHeights) {
    app.view.DisplayZoom = 2;
    MapRecord& r = Put(3, 33, {2, 2, 8, 2, 5, 7});
    r.RecordPen = 4;
    r.RecordZ1 = 1.5f; r.RecordZ2 = 2; r.RecordZ3 = -3;
    Highlight(kGiven);
    const auto circles = Of(Kind::Circle);
    ASSERT_EQ(circles.size(), 3u);
    for (const auto& c : circles) {
        EXPECT_EQ(c.fillStyle, FillStyleSolid);
        EXPECT_EQ(c.fillColor, kBack);
        EXPECT_EQ(c.color, kGiven);
    }
    EXPECT_TRUE(Of(Kind::Point).empty());
    const auto prints = Of(Kind::Print);
    ASSERT_EQ(prints.size(), 3u);
    EXPECT_EQ(prints[0].text, " 1.5 ");  // as the canvas prints numbers
    EXPECT_EQ(prints[2].text, "-3 ");
    EXPECT_DOUBLE_EQ(prints[1].x1, 8);
    EXPECT_EQ(prints[0].fontName, "黑体");
    EXPECT_DOUBLE_EQ(prints[0].fontSize, 9);  // pen 4 x zoom 2 + 1
    EXPECT_EQ(prints[0].color, kGiven);
    // The fill stays: a later box mark is filled the same way.
    EXPECT_EQ(canvas.FillStyle(), FillStyleSolid);
}

TEST_F(HighlightTest, TextsTakeTheRowsSizesFacesAndColours) {
    app.view.DisplayZoom = 5.2;
    struct Case {
        int type;
        const char* face;
        double points;
        bool italic;
    };
    // X2 = 2: zoom x height 10.4.
    const Case cases[] = {
        {25, "宋体", 11, false}, {65, "右斜宋", 11, true}, {67, "黑体", 10, false}, {61, "右斜宋", 11, true},
    };
    for (const Case& c : cases) {
        MapRecord& r = Put(3, c.type, {5, 5, 2, 0, 0, 0, 6, 4});
        r.RecordFont = c.face;
        r.RecordText = "文";
        r.RecordColor = kBack;  // no contrast colour here: the given colour is used
        Highlight(kGiven);
        const auto prints = Of(Kind::Print);
        ASSERT_EQ(prints.size(), 1u) << c.type;
        EXPECT_EQ(prints[0].fontName, c.face) << c.type;
        EXPECT_DOUBLE_EQ(prints[0].fontSize, c.points) << c.type;
        EXPECT_EQ(prints[0].italic, c.italic) << c.type;
        EXPECT_EQ(prints[0].color, kGiven) << c.type;
    }
    // The terrain point's dot: width 2 at P4, drawn while terrain points are suppressed too.
    app.display.Redraw.SuppressTerrainPoints = True;
    Highlight(kGiven);
    const auto points = Of(Kind::Point);
    ASSERT_EQ(points.size(), 1u);
    EXPECT_EQ(points[0].drawWidth, 2);
    EXPECT_DOUBLE_EQ(points[0].x1, 6);

    // The named point's label takes its size from the pen byte: Int(4 x 5.2) + 1.
    app.symbolStandard.SymbolStandardLoaded = 0;
    MapRecord& named = Put(3, 50, {5, 5, 2, 0});
    named.RecordPen = 4;
    named.RecordText = "K1";
    named.RecordFont = "黑体";
    Highlight(kGiven);
    ASSERT_EQ(Of(Kind::Print).size(), 1u);
    EXPECT_DOUBLE_EQ(Of(Kind::Print)[0].fontSize, 21);
    EXPECT_EQ(Of(Kind::Box).size(), 1u);
}

TEST_F(HighlightTest, ItalicTextIsSpacedInItsOwnOrTheBackgroundColour) {
    MapRecord& r = Put(3, 64, {5, 5, 2.8, 0.6});
    r.RecordText = "斜体";
    r.RecordFont = "宋体";
    // The full renderer puts the text out in a created font; the highlight prints each character.
    EXPECT_NE(Full(kGiven).find("'斜体'"), std::string::npos);
    for (Rgb given : {kGiven, Rgb{0}}) {
        Highlight(given);
        const auto prints = Of(Kind::Print);
        ASSERT_EQ(prints.size(), 2u);
        EXPECT_EQ(prints[0].text, "斜");
        EXPECT_EQ(prints[1].text, "体");
        EXPECT_EQ(prints[0].color, given != 0 ? kOwn : kBack);
        EXPECT_TRUE(Of(Kind::TextOut).empty());
    }
}

TEST_F(HighlightTest, AttributeMarksAndImagesAndSymbolRows) {
    Put(3, 55, {5, 5});
    Highlight(kGiven);
    ASSERT_EQ(Of(Kind::Box).size(), 1u);
    ASSERT_EQ(Of(Kind::Print).size(), 1u);
    EXPECT_EQ(Of(Kind::Print)[0].text, " 2 ");
    EXPECT_DOUBLE_EQ(Of(Kind::Print)[0].x1, 6);

    // An image is painted from what its holder has; nothing is loaded or counted.
    MapRecord& image = Put(3, 70, {5, 9, 4, -3});
    image.RecordColor = 7;
    image.RecordText = "/nowhere/picture.bmp";
    Highlight(kGiven);
    EXPECT_TRUE(canvas.primitives.empty());
    app.display.Images.Image1[7].width = 2;
    app.display.Images.Image1[7].height = 1;
    app.display.Images.Image1[7].pixels = {0xFF000000u, 0xFFFFFFFFu};
    Highlight(kGiven);
    const auto pictures = Of(Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_TRUE(SameSegment(pictures[0], {5, 9, 4, -3}));
    EXPECT_EQ(app.display.Images.ImageSlotNames[33], "");
    EXPECT_TRUE(t.platform.promptScript.questions.empty());

    // Symbol rows stop at the first vertex at (0, 0) and ignore the culling rectangle.
    MapRecord& rows = Put(3, 87, {5000, 5, 0, 0, 8, 8});
    rows.RecordZ1 = 4;
    rows.RecordZ2 = 4;
    rows.RecordText = "1";
    rows.RecordExtra = "2";
    Highlight(kGiven);
    const std::string once = Drawn();
    EXPECT_FALSE(once.empty());
    rows.RecordX2 = 5001;
    rows.RecordY2 = 1;
    Highlight(kGiven);
    EXPECT_GT(Drawn().size(), once.size());
}

class VertexDragTest : public HighlightTest {
protected:
    std::string Drag(std::int32_t pass) {
        Reset();
        DrawVertexDrag(app, 50, 60, 1, 3, 5, pass);  // vertex 5: nothing moves
        return Drawn();
    }
};

TEST_F(VertexDragTest, RowsOfThePreview) {
    // Parcel edges in their own forms.
    Put(3, 21, {1, 1, 9, 5});
    const std::string solid = Drag(1);
    Put(3, 22, {1, 1, 9, 5});
    EXPECT_NE(Drag(1), solid);
    EXPECT_EQ(Drag(1), Full(kOwn));

    // Italic text spaced, black shown in the background on both passes.
    MapRecord& r = Put(3, 64, {5, 5, 2.8, 0.6});
    r.RecordText = "斜体";
    r.RecordFont = "宋体";
    for (std::int32_t pass : {0, 1}) {
        Drag(pass);
        ASSERT_EQ(Of(Kind::Print).size(), 2u);
        EXPECT_EQ(Of(Kind::Print)[0].color, kOwn);
    }
    r.RecordColor = 0;
    Drag(1);
    EXPECT_EQ(Of(Kind::Print).at(0).color, kBack);

    // An image shows its frame only.
    Put(3, 70, {5, 9, 4, -3}).RecordColor = 7;
    Drag(1);
    ASSERT_EQ(canvas.primitives.size(), 1u);
    EXPECT_TRUE(SameSegment(Of(Kind::Box).at(0), {5, 9, 9, 6}));

    // A terrain point's name is erased in the background; a named point's label is not.
    MapRecord& terrain = Put(3, 61, {5, 5, 2, 0, 0, 0, 6, 4});
    terrain.RecordText = "12.5";
    terrain.RecordFont = "宋体";
    Drag(0);
    EXPECT_EQ(Of(Kind::Print).at(0).color, kBack);
    EXPECT_EQ(Of(Kind::Point).at(0).color, kBack);
    Drag(1);
    EXPECT_EQ(Of(Kind::Print).at(0).color, kOwn);
    app.symbolStandard.SymbolStandardLoaded = 0;
    MapRecord& named = Put(3, 50, {5, 5, 2, 0});
    named.RecordText = "K1";
    named.RecordFont = "宋体";
    Drag(0);
    EXPECT_EQ(Of(Kind::Print).at(0).color, kOwn);

    // A white turned text is previewed in magenta, but its text takes its own colour on the draw
    // pass and the background on the erase pass.
    MapRecord& turned = Put(3, 66, {5, 5, 2.5, 0.8});
    turned.RecordColor = MakeRgb(255, 255, 255);
    turned.RecordText = "转";
    turned.RecordFont = "宋体";
    Drag(1);
    EXPECT_EQ(Of(Kind::TextOut).at(0).color, MakeRgb(255, 255, 255));
    EXPECT_EQ(app.display.PenColor, MakeRgb(200, 0, 200));
    Drag(0);
    EXPECT_EQ(Of(Kind::TextOut).at(0).color, kBack);

    // Level ticks are drawn; canvas texts of type 25 are not.
    Put(3, 81, {1, 1}).RecordZ1 = 3;
    Drag(1);
    ExpectLines({{1, 1, 4, 1}});
    Put(3, 25, {5, 5, 2}).RecordText = "x";
    EXPECT_EQ(Drag(1), "");
}

TEST_F(VertexDragTest, FillBoundaryIsPlainLinesWithThePen) {
    Put(3, 28, {1, 1, 9, 1, 9, 9}).RecordPen = 3;
    Drag(1);
    ExpectLines({{1, 1, 9, 1}, {9, 1, 9, 9}});
    EXPECT_EQ(Lines()[0].drawStyle, 3);
    EXPECT_EQ(app.display.PenCache, 255);
}

}  // namespace
}  // namespace movra
