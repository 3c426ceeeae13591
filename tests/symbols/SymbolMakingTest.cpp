#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "basic/Files.h"
#include "editing/ToolState.h"
#include "platform/fake/RecordingSurface.h"
#include "support/RecordVertices.h"
#include "support/TestApp.h"
#include "symbols/LoadSymbolStandard.h"
#include "symbols/SymbolMaking.h"

namespace movra {
namespace {

namespace fs = std::filesystem;
using Kind = SurfacePrimitive::Kind;

// The main window started over the fake platform with layer 3 current and a loaded library of
// five slots, as the symbol-making mode meets it.
struct SymbolMakingTest : ::testing::Test {
    TestApp t;
    App& app = t.app;
    stForm1& form = t.form1;

    SymbolMakingTest() {
        form.Load();
        form.Picture1.SetScale(0, 1000, 1000, -750);
        form.Text4_Click();
        app.store.DimensionKeep(3);
        app.store.LayerCount = 3;
        app.store.CurrentLayer = 3;
        app.store.Count(0) = 1005;
        app.selfMade.SelfMadeSymbolFile = SelfMadeLibraryPath(app, "符号库1");
        t.platform.promptScript.defaultAnswer = AnswerOk;
    }
    RecordingSurface& Canvas() { return static_cast<RecordingSurface&>(form.Picture1.surface()); }
    double Cx() const { return app.selfMade.SymbolBoxCentreX; }
    double Cy() const { return app.selfMade.SymbolBoxCentreY; }
    // A record of the drawing at slot s, in canvas units.
    MapRecord& Drawn(int s, int type, std::initializer_list<double> xy, Rgb color = 0) {
        MapRecord& r = app.store.At(0, s);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        SetVertices(r, xy);
        if (app.store.Count(0) <= s) app.store.Count(0) = s + 1;
        return r;
    }
    std::string WrittenLibrary() { return (t.workFolder.Path() / "符号库" / "符号库1.Zfh").string(); }
};

TEST_F(SymbolMakingTest, EnteringMagnifiesOntoTheBoxAndLeavingWithNoGivesTheLayerBack) {
    app.store.At(0, 850).RecordType = 2;
    app.store.At(0, 950).RecordText = "#old";
    const double canvasWidth = form.Picture1.Width();
    ToggleSymbolMakingMode(app);

    EXPECT_EQ(app.tool.SymbolMakingMode, -1);
    EXPECT_EQ(app.store.CurrentLayer, 0);
    EXPECT_EQ(app.store.Count(0), 800);
    EXPECT_FALSE(form.ImageCombo1.Enabled());
    EXPECT_EQ(form.Text2.Text(), "制作符号，统宽高10mm*10mm,越界有效。");
    EXPECT_EQ(Canvas().DrawWidth(), 10);
    // The old view's centre is the box centre; the view is the canvas's twips over 50 wide.
    EXPECT_DOUBLE_EQ(Cx(), 500);
    EXPECT_DOUBLE_EQ(Cy(), 625);
    const double w = canvasWidth / 50;
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleWidth(), w);
    // One metre is as many pixels down as across.
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleHeight(), -w * Canvas().PixelHeight() / Canvas().PixelWidth());
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleLeft() + w / 2, 500);
    // The drawing and copy slots start empty.
    EXPECT_EQ(app.store.Get(0, 850).RecordType, 0);
    EXPECT_EQ(app.store.Get(0, 950).RecordText, "");
    EXPECT_EQ(app.store.Get(0, 950).RecordFont, "0");

    Drawn(800, 2, {Cx() - 10, Cy(), Cx() + 10, Cy()});
    t.platform.promptScript.QueueAnswer(AnswerCancel);
    ToggleSymbolMakingMode(app);
    EXPECT_EQ(app.tool.SymbolMakingMode, -1) << "Cancel keeps drawing";

    t.platform.promptScript.QueueAnswer(AnswerNo);
    ToggleSymbolMakingMode(app);
    const PromptQuestion& asked = t.platform.promptScript.questions.back();
    EXPECT_EQ(asked.text, "返回正常模式，要保存制好的符号吗？");
    EXPECT_EQ(asked.title, "返回正常制图模式");
    EXPECT_EQ(asked.style, MsgYesNoCancel);
    EXPECT_EQ(form.Text2.Text(), "返回正常模式，名称如“#hd”表示旱地，<=2个汉字");
    EXPECT_EQ(app.tool.SymbolMakingMode, 0);
    EXPECT_EQ(app.store.CurrentLayer, 3);
    EXPECT_EQ(app.store.Count(0), 1005);
    EXPECT_TRUE(form.ImageCombo1.Enabled());
    EXPECT_EQ(Canvas().DrawWidth(), 1);
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleWidth(), w) << "the magnified view stays";
    EXPECT_FALSE(fs::exists(WrittenLibrary()));
    // The drawing stays until the next entry clears it.
    EXPECT_EQ(app.store.Get(0, 800).RecordType, 2);
    ToggleSymbolMakingMode(app);
    EXPECT_EQ(app.store.Get(0, 800).RecordType, 0);
    EXPECT_EQ(app.store.Get(0, 800).RecordFont, "0");
}

// The grid's lines as drawn, by what they are.
struct GridLines {
    int plain = 0, emphasised = 0, guides = 0, boxes = 0, edges = 0;
    Rgb emphasisColor = -1, guideColor = -1;
};

GridLines SortGrid(const RecordingSurface& canvas, double cx, double cy, Rgb plain) {
    GridLines g;
    for (const SurfacePrimitive& p : canvas.primitives) {
        if (p.kind == Kind::Box && p.x1 == cx + 50 && p.y1 == cy - 50 && p.x2 == cx + 60 && p.y2 == cy - 60) {
            ++g.boxes;
            continue;
        }
        if (p.kind != Kind::Line) continue;
        const bool horizontal = p.y1 == p.y2 && p.x1 == cx - 50 && p.x2 == cx + 50;
        const bool vertical = p.x1 == p.x2 && p.y1 == cy + 50 && p.y2 == cy - 50;
        if (!horizontal && !vertical) continue;
        const double at = horizontal ? p.y1 - cy : p.x1 - cx;
        if (std::abs(at) >= 50) ++g.edges;
        if (p.drawMode != DrawModeCopyPen) continue;
        if (p.drawWidth == 2) {
            ++g.emphasised;
            g.emphasisColor = p.color;
            EXPECT_EQ(static_cast<int>(at) % 10, 0) << at;
        } else if (p.color == plain) {
            ++g.plain;
        } else {
            ++g.guides;
            g.guideColor = p.color;
            EXPECT_EQ(at, 0) << "only the axes are drawn in the guide colour";
        }
    }
    return g;
}

bool TellApart(Rgb a, Rgb b) {
    for (int shift = 0; shift <= 16; shift += 8)
        if (std::abs(((a >> shift) & 0xFF) - ((b >> shift) & 0xFF)) >= 64) return true;
    return false;
}

TEST_F(SymbolMakingTest, GridHas99LinesEachWayEveryTenthEmphasisedAndDistinctColours) {
    for (Rgb current : {MakeRgb(255, 0, 0), MakeRgb(255, 255, 255), MakeRgb(0, 255, 0), MakeRgb(128, 128, 128)}) {
        SCOPED_TRACE(current);
        app.tool.SymbolMakingMode = 0;
        app.current.CurrentColor = current;
        app.view.BackgroundColor = 0;
        form.Picture1.SetScale(0, 1000, 1000, -750);
        Canvas().ClearRecords();
        ToggleSymbolMakingMode(app);
        const GridLines g = SortGrid(Canvas(), Cx(), Cy(), current);
        EXPECT_EQ(g.plain, 2 * 90);
        EXPECT_EQ(g.emphasised, 2 * 9);
        EXPECT_EQ(g.guides, 2);
        EXPECT_EQ(g.boxes, 1);
        EXPECT_EQ(g.edges, 0);
        for (Rgb derived : {g.emphasisColor, g.guideColor}) {
            EXPECT_GE(derived, 0);
            EXPECT_LE(derived, 0xFFFFFF);
            EXPECT_TRUE(TellApart(derived, current)) << derived;
        }
        EXPECT_EQ(Canvas().DrawStyle(), DrawStyleSolid);
    }
}

TEST_F(SymbolMakingTest, NormalisationCopiesMillimetresAboutTheFixedCentreAndPreviewsInTheSmallBox) {
    ToggleSymbolMakingMode(app);
    const double cx = Cx(), cy = Cy();
    Drawn(800, 7, {cx, cy, 30, 0.5}, MakeRgb(0, 0, 255));
    Drawn(801, 2, {cx - 50, cy, cx + 50, cy}, MakeRgb(255, 0, 0));
    Drawn(802, 8, {cx + 10, cy + 20, 20, 1, 0.5, 2.5}, MakeRgb(0, 255, 0));
    Drawn(803, 6, {cx, cy, cx + 10, cy, cx + 10, cy + 10, cx, cy + 10});
    Canvas().ClearRecords();
    // A release on the canvas ends with the normalisation.
    app.tool.CommandMode = ModeIdle;
    form.Picture1.MouseDown(LeftButton, 0, cx, cy);
    form.Picture1.MouseUp(LeftButton, 0, cx, cy);

    const MapRecord& circle = app.store.Get(0, 900);
    EXPECT_EQ(circle.RecordType, 7);
    EXPECT_DOUBLE_EQ(circle.RecordX1, 0);
    EXPECT_DOUBLE_EQ(circle.RecordY1, 0);
    EXPECT_DOUBLE_EQ(circle.RecordX2, 3);
    EXPECT_DOUBLE_EQ(circle.RecordY2, 0.5);
    EXPECT_EQ(circle.RecordColor, MakeRgb(0, 0, 255));
    const MapRecord& segment = app.store.Get(0, 901);
    EXPECT_EQ(segment.RecordType, 2);
    EXPECT_DOUBLE_EQ(segment.RecordX1, -5);
    EXPECT_DOUBLE_EQ(segment.RecordY1, 0);
    EXPECT_DOUBLE_EQ(segment.RecordX2, 5);
    EXPECT_DOUBLE_EQ(segment.RecordY2, 0);
    EXPECT_EQ(segment.RecordColor, 0) << "lines keep colour 0 in the library";
    const MapRecord& arc = app.store.Get(0, 902);
    EXPECT_DOUBLE_EQ(arc.RecordX1, 1);
    EXPECT_DOUBLE_EQ(arc.RecordY1, 2);
    EXPECT_DOUBLE_EQ(arc.RecordX2, 2);
    EXPECT_DOUBLE_EQ(arc.RecordX3, 0.5);
    EXPECT_DOUBLE_EQ(arc.RecordY3, 2.5);
    EXPECT_DOUBLE_EQ(app.store.Get(0, 903).RecordY3, 1);
    EXPECT_EQ(app.store.Get(0, 904).RecordType, 0);

    // The preview: one tenth of the drawing about the small box's centre (cx + 55, cy - 55), in
    // the strokes' colours.
    const auto circles = Canvas().PrimitivesOf(Kind::Circle);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_DOUBLE_EQ(circles[0].x1, cx + 55);
    EXPECT_DOUBLE_EQ(circles[0].y1, cy - 55);
    EXPECT_DOUBLE_EQ(circles[0].radius, 3);
    EXPECT_TRUE(circles[1].hasArc);
    bool previewLine = false;
    int quadSides = 0;
    for (const SurfacePrimitive& p : Canvas().PrimitivesOf(Kind::Line)) {
        if (p.x1 == cx + 50 && p.y1 == cy - 55 && p.x2 == cx + 60 && p.y2 == cy - 55 && p.color == MakeRgb(255, 0, 0))
            previewLine = true;
        if (p.x1 > cx + 54.9 && p.x1 < cx + 56.1 && p.y1 > cy - 55.1 && p.y1 < cy - 53.9) ++quadSides;
    }
    EXPECT_TRUE(previewLine);
    EXPECT_EQ(quadSides, 4) << "the quadrilateral is closed";

    // A pan between two releases moves nothing: the centre was fixed on entering.
    form.Picture1.SetScale(form.Picture1.ScaleLeft() + 37, form.Picture1.ScaleTop() - 11, form.Picture1.ScaleWidth(),
                           form.Picture1.ScaleHeight());
    NormalizeDrawnSymbol(app);
    EXPECT_DOUBLE_EQ(app.store.Get(0, 901).RecordX1, -5);
    EXPECT_DOUBLE_EQ(app.store.Get(0, 900).RecordX1, 0);

    // A deleted stroke leaves no copy, and the copy stays gapless for the library's writer.
    app.store.At(0, 800).RecordType += 100;
    NormalizeDrawnSymbol(app);
    EXPECT_EQ(app.store.Get(0, 900).RecordType, 2);
    EXPECT_EQ(app.store.Get(0, 901).RecordType, 8);
    EXPECT_EQ(app.store.Get(0, 902).RecordType, 6);
    EXPECT_EQ(app.store.Get(0, 903).RecordType, 0);
    EXPECT_EQ(app.store.Get(0, 900).RecordColor, 0) << "no colour left over from the circle";
}

TEST_F(SymbolMakingTest, RecordsPastSlot895AreTakenBackNotOverwritten) {
    ToggleSymbolMakingMode(app);
    for (int s = 800; s <= 897; ++s) Drawn(s, 2, {Cx() + s - 850, Cy(), Cx(), Cy() + 1});
    ASSERT_EQ(app.store.Count(0), 898);
    NormalizeDrawnSymbol(app);
    EXPECT_EQ(app.store.Count(0), 896);
    EXPECT_EQ(app.store.Get(0, 895).RecordType, 2);
    EXPECT_DOUBLE_EQ(app.store.Get(0, 890).RecordX1, Cx() + 40) << "earlier records stay as drawn";
    EXPECT_EQ(app.store.Get(0, 896).RecordType, 0);
    EXPECT_EQ(app.store.Get(0, 897).RecordType, 0);
    EXPECT_EQ(form.Text2.Text(), "自制符号最多96个图元，多画的已撤回");
    EXPECT_EQ(app.store.Get(0, 995).RecordType, 2);
    EXPECT_EQ(app.store.Get(0, 996).RecordType, 0);
}

TEST_F(SymbolMakingTest, LeavingWithANameSavesAndReloadsTheLibraryWithoutOneNothing) {
    ToggleSymbolMakingMode(app);
    Drawn(800, 7, {Cx(), Cy(), 30, 1}, MakeRgb(0, 0, 255));
    Drawn(801, 2, {Cx() - 50, Cy(), Cx() + 50, Cy()});
    NormalizeDrawnSymbol(app);

    // An empty or cancelled name saves nothing and keeps the drawing open.
    for (const char* typed : {"", "  ", "#"}) {
        t.platform.promptScript.QueueAnswer(AnswerYes);
        t.platform.promptScript.QueueInput(typed);
        ToggleSymbolMakingMode(app);
        EXPECT_EQ(app.tool.SymbolMakingMode, -1) << typed;
        EXPECT_FALSE(fs::exists(WrittenLibrary()));
    }
    t.platform.promptScript.QueueAnswer(AnswerYes);
    t.platform.promptScript.inputCancelsWhenEmpty = true;
    ToggleSymbolMakingMode(app);
    EXPECT_EQ(app.tool.SymbolMakingMode, -1);
    EXPECT_EQ(t.platform.promptScript.questions.back().text, "请输入好记的符号名称如“#hd”表示旱地");
    EXPECT_EQ(t.platform.promptScript.questions.back().defaultText, "");

    t.platform.promptScript.QueueAnswer(AnswerYes);
    t.platform.promptScript.QueueInput("hd");
    ToggleSymbolMakingMode(app);
    EXPECT_EQ(app.tool.SymbolMakingMode, 0);
    EXPECT_EQ(app.store.CurrentLayer, 3);
    EXPECT_EQ(FileLength(WrittenLibrary()), 3 * 132);
    EXPECT_EQ(app.selfMade.SelfMadeSymbolsLoaded, -1);
    EXPECT_EQ(app.store.Count(0), 1002);
    EXPECT_EQ(app.selfMade.Layer0SavedCount, 1002);
    EXPECT_EQ(app.store.Get(0, 1000).RecordText, "#hd");
    EXPECT_EQ(app.store.Get(0, 1000).RecordType, 7);
    EXPECT_DOUBLE_EQ(app.store.Get(0, 1000).RecordX2, 3);
    EXPECT_DOUBLE_EQ(app.store.Get(0, 1001).RecordX1, -5);
}

}  // namespace
}  // namespace movra
