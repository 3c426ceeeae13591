#include <sstream>

#include "CanvasFixture.h"
#include "document/UndoRedo.h"
#include "platform/fake/FakePlatform.h"
#include "support/PictureTestHelpers.h"

namespace movra {
namespace {

constexpr Rgb Green = MakeRgb(0, 160, 0);
constexpr std::int16_t Pen = 3;

std::string Describe(const MapRecord& r) {
    std::ostringstream out;
    out << "type " << int(r.RecordType) << " pen " << int(r.RecordPen) << " colour " << r.RecordColor << " P ("
        << r.RecordX1 << "," << r.RecordY1 << ") (" << r.RecordX2 << "," << r.RecordY2 << ") (" << r.RecordX3 << ","
        << r.RecordY3 << ") (" << r.RecordX4 << "," << r.RecordY4 << ") Z " << r.RecordZ1 << "," << r.RecordZ2 << ","
        << r.RecordZ3 << "," << r.RecordZ4 << " font '" << r.RecordFont << "' text '" << r.RecordText << "' extra '"
        << r.RecordExtra << "'";
    return out.str();
}

class DrawingToolsTest : public CanvasTest {
protected:
    DrawingToolsTest() {
        app.current.CurrentColor = Green;
        app.current.CurrentPen = Pen;
        app.current.CurrentFont = "黑体";
        app.reduction.ReductionOffsetX = 3000;  // what the end steps show in Text1
        app.reduction.ReductionOffsetY = 200;
        layer = app.store.CurrentLayer;
        start = app.store.Count(layer);
    }

    void Arm(std::uint8_t mode, const std::string& argument = "") {
        app.tool.CommandMode = mode;
        app.tool.CommandArgument = argument;
        app.tool.ClickCount = 0;
    }

    // A record of the current colour and pen with the given vertices (missing ones 0).
    MapRecord Expected(int type, std::initializer_list<double> xy, const std::string& text,
                       const std::string& font = "") {
        MapRecord r;
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = Green;
        r.RecordPen = Pen;
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int k = 0;
        for (double v : xy) *fields[k++] = v;
        r.RecordText = text;
        r.RecordFont = font;
        return r;
    }

    // The records appended since the test began are exactly these.
    void ExpectAppended(const std::vector<MapRecord>& records) {
        ASSERT_EQ(app.store.Count(layer) - start, static_cast<int>(records.size()));
        for (size_t i = 0; i < records.size(); ++i) {
            const MapRecord& got = app.store.At(layer, start + static_cast<int>(i));
            EXPECT_EQ(got, records[i]) << "slot +" << i << "\n got      " << Describe(got) << "\n expected "
                                       << Describe(records[i]);
        }
    }

    ScriptedPrompt& Prompter() { return t.platform.promptScript; }

    int layer = 0;
    std::int32_t start = 0;
};

TEST_F(DrawingToolsTest, APlainPolylineGrowsItsRecordAndContinuesInANewOneWhenFull) {
    Arm(ModeLine);
    Click(100, 900);
    ExpectAppended({});
    Click(200, 900);
    ExpectAppended({Expected(2, {100, 900, 200, 900}, "0")});
    // The chain keeps the colour and pen it was started with.
    app.current.CurrentColor = Red;
    app.current.CurrentPen = 9;
    Click(200, 800);
    Click(300, 800);
    ExpectAppended({Expected(4, {100, 900, 200, 900, 200, 800, 300, 800}, "0")});
    app.current.CurrentColor = Green;
    app.current.CurrentPen = Pen;
    Click(300, 700);
    ExpectAppended({Expected(5, {100, 900, 200, 900, 200, 800, 300, 800}, "0"), Expected(1, {300, 700}, "")});
    Click(400, 700);
    ExpectAppended({Expected(5, {100, 900, 200, 900, 200, 800, 300, 800}, "0"),
                    Expected(2, {300, 700, 400, 700}, "")});

    // The last segment was drawn on the canvas in the current colour.
    const auto lines = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back().x1, 300);
    EXPECT_EQ(lines.back().y2, 700);
    EXPECT_EQ(lines.back().color, Green);

    // A right click abandons the line; what was stored stays and the next click starts afresh.
    Click(500, 500, RightButton);
    Click(500, 500, RightButton);
    EXPECT_EQ(app.tool.CommandMode, ModeLine);
    Click(600, 600);
    Click(700, 600);
    EXPECT_EQ(app.store.Count(layer) - start, 3);
    EXPECT_EQ(app.store.At(layer, start + 2), Expected(2, {600, 600, 700, 600}, "0"));
}

TEST_F(DrawingToolsTest, SegmentsStoreSeparateRecords) {
    Arm(ModeSegments);
    Click(100, 900);
    Click(200, 900);
    Click(300, 800);
    Click(400, 800);
    ExpectAppended({Expected(2, {100, 900, 200, 900}, "0"), Expected(2, {300, 800, 400, 800}, "0")});
}

TEST_F(DrawingToolsTest, SpecialLinesChainFrom92To95AndTheDashedWidthLineCarriesItsDashes) {
    for (const std::string code : {"1090", "1091", "1093"}) {
        SCOPED_TRACE(code);
        start = app.store.Count(layer);
        Arm(ModeLine, code);
        Click(100, 900);
        Click(200, 900);
        Click(300, 900);
        ExpectAppended({Expected(93, {100, 900, 200, 900, 300, 900}, code)});
    }

    start = app.store.Count(layer);
    app.current.DashWidth = 0.5F;
    app.current.DashOn = 4;
    app.current.DashOff = 1.5F;
    Arm(ModeLine, "1092");
    for (double x : {100, 200, 300, 400, 500, 600}) Click(x, 800);
    MapRecord full = Expected(95, {100, 800, 200, 800, 300, 800, 400, 800}, "1092", "黑体");
    MapRecord next = Expected(92, {500, 800, 600, 800}, "1092");
    for (MapRecord* r : {&full, &next}) {
        r->RecordZ2 = 0.5F;
        r->RecordZ3 = 4;
        r->RecordZ4 = 1.5F;
    }
    ExpectAppended({full, next});

    // ModeSegments stores every special segment as a record of its own.
    start = app.store.Count(layer);
    Arm(ModeSegments, "1091");
    for (double x : {100, 200, 300, 400}) Click(x, 700);
    ExpectAppended({Expected(92, {100, 700, 200, 700}, "1091"), Expected(92, {300, 700, 400, 700}, "1091")});
}

TEST_F(DrawingToolsTest, ALineTypeStoresOneRecordPerSegmentAndAPlainRubberBeyondThePatterns) {
    // No symbol standard is loaded: the direction values stay 0.
    Arm(ModeLine, "605");
    Click(100, 900);
    Surface().ClearRecords();
    Hover(150, 850);
    Hover(160, 840);
    const auto rubber = Surface().PrimitivesOf(SurfacePrimitive::Kind::Line);
    ASSERT_EQ(rubber.size(), 3u);  // the first line, then erase and redraw
    EXPECT_EQ(rubber[0].x1, 100);
    EXPECT_EQ(rubber[1].x2, 150);
    EXPECT_EQ(rubber[2].x2, 160);
    EXPECT_EQ(rubber[2].color, Green);
    EXPECT_EQ(rubber[2].drawMode, DrawModeNotXorPen);
    Click(200, 900);
    Click(200, 800);
    ExpectAppended({Expected(12, {100, 900, 200, 900}, "605", "黑体"), Expected(12, {200, 900, 200, 800}, "605", "黑体")});
}

TEST_F(DrawingToolsTest, ALineTypeSegmentKeepsTheLengthAndDirectionItsDrawingLeft) {
    // Line type 2 (code 351) of a loaded standard, dashes of 4 and gaps of 1 millimetre.
    DimensionEmptyStandard(app.symbolStandard);
    SetLineTypeElements(app.symbolStandard, 2, 1, {{6, 4}, {7, 1}});
    app.view.ProjectParams[0] = 2000;
    Arm(ModeLine, "351");
    Click(100, 900);
    Surface().ClearRecords();
    Click(130, 940);   // 50 long, towards (0.6, 0.8)
    Click(130, 840);   // 100 long, due south
    MapRecord north = Expected(12, {100, 900, 130, 940, 50, 0.6, 0.8, 0}, "351", "黑体");
    MapRecord south = Expected(12, {130, 940, 130, 840, 100, 0, -1, 0}, "351", "黑体");
    ASSERT_EQ(app.store.Count(layer) - start, 2);
    const MapRecord* expected[] = {&north, &south};
    for (int k = 0; k < 2; ++k) {
        const MapRecord& got = app.store.At(layer, start + k);
        EXPECT_EQ(got.RecordType, 12) << k;
        for (auto [field, want] : {std::pair{got.RecordX1, expected[k]->RecordX1}, {got.RecordY1, expected[k]->RecordY1},
                                   {got.RecordX2, expected[k]->RecordX2}, {got.RecordY2, expected[k]->RecordY2},
                                   {got.RecordX3, expected[k]->RecordX3}, {got.RecordY3, expected[k]->RecordY3},
                                   {got.RecordX4, expected[k]->RecordX4}, {got.RecordY4, expected[k]->RecordY4}})
            EXPECT_NEAR(field, want, 1e-12) << "segment " << k << "\n got " << Describe(got);
        EXPECT_EQ(got.RecordText, expected[k]->RecordText);
        EXPECT_EQ(got.RecordFont, expected[k]->RecordFont);
    }
    // The pattern was laid along the segments: at 1:2000 a dash every 10 ground units, five on
    // the first and ten on the second.
    EXPECT_EQ(Surface().PrimitivesOf(SurfacePrimitive::Kind::Line).size(), 15u);
}

TEST_F(DrawingToolsTest, FreehandAddsTheMeanOfEveryThreeMovesAndEndsAtTheRelease) {
    Arm(ModePen);
    Press(0, 900);
    Release(0, 900);
    ExpectAppended({});  // a release without a move stores nothing

    Press(0, 900);
    for (int i = 1; i <= 10; ++i) Drag(i * 10, 900 - i);
    // Move 1 starts the record; moves 4, 7 and 10 add the means of moves 2-4, 5-7 and 8-10.
    EXPECT_EQ(app.store.Count(layer) - start, 1);
    EXPECT_EQ(app.store.At(layer, start + 1).RecordType, 1);
    Release(105, 880);
    ExpectAppended({Expected(5, {0, 900, 10, 899, 30, 897, 60, 894}, "0"), Expected(2, {90, 891, 105, 880}, "0")});
    EXPECT_EQ(form.Text1.Text(), "3000;200") << "the end steps ran";
}

TEST_F(DrawingToolsTest, RectanglesAndGridPaperByTheGridField) {
    struct Case {
        const char* grid;
        int type;  // 0: nothing stored
    };
    for (const Case& c : {Case{"0", 6}, Case{"1", 36}, Case{"3", 36}, Case{"0.5", 0}, Case{"-1", 0}}) {
        SCOPED_TRACE(c.grid);
        start = app.store.Count(layer);
        form.Text8.SetText(c.grid);
        Arm(ModeRectangle, "7");
        Surface().ClearRecords();
        Press(0, 10);
        Drag(20, 0);
        if (c.type == 0) {
            Release(20, 0);
            ExpectAppended({});
            continue;
        }
        const auto printed = Surface().PrimitivesOf(SurfacePrimitive::Kind::Print);
        ASSERT_EQ(printed.size(), 2u);
        EXPECT_EQ(printed[0].text, " 20");
        EXPECT_EQ(printed[1].text, " 10");
        EXPECT_EQ(printed[0].fontSize, 9);
        Release(20, 0);
        ExpectAppended({Expected(c.type, {0, 10, 20, 10, 20, 0, 0, 0}, "7", "黑体")});
    }
}

TEST_F(DrawingToolsTest, ABoxWithoutWidthOrHeightIsRefusedBeforeTheUndoStep) {
    for (std::uint8_t mode : {ModeRectangle, ModePrintRange}) {
        form.Text8.SetText("0");
        Arm(mode);
        form.Text1.SetText("");
        const std::int32_t steps = app.undo.UndoCurrentStep;
        Press(5, 10);
        Drag(5, 0);
        Release(5, 0);
        EXPECT_EQ(form.Text2.Text(), "请正确操作！");
        EXPECT_EQ(app.undo.UndoCurrentStep, steps);
        // The released point, in true coordinates; the end steps would show the offset alone.
        EXPECT_EQ(form.Text1.Text(), "3005;200") << "no end steps";
        EXPECT_EQ(app.store.At(0, 800).RecordZ3, 0);
        ExpectAppended({});
    }
}

TEST_F(DrawingToolsTest, PrintRangesAreNormalisedCountedRepeatedAndCapped) {
    Arm(ModePrintRange);
    Prompter().QueueAnswer(AnswerYes);
    Press(100, 300);
    Release(50, 400);
    const MapRecord& first = app.store.At(0, 800);
    EXPECT_EQ(first.RecordType, 188);
    EXPECT_EQ((std::vector<double>{first.RecordX1, first.RecordY1, first.RecordX2, first.RecordY2}),
              (std::vector<double>{50, 400, 100, 300}));
    EXPECT_EQ(first.RecordZ3, 1);
    EXPECT_EQ(Prompter().LastText(), "继续吗？是_继续，否_重复，取消_结束");
    EXPECT_EQ(Prompter().questions.back().title, "选打印范围");
    EXPECT_EQ(Prompter().questions.back().style, MsgYesNoCancel);
    EXPECT_EQ(app.tool.CommandMode, ModePrintRange);

    // No: the next box replaces this one.
    Prompter().QueueAnswer(AnswerNo);
    Press(0, 0);
    Release(10, 10);
    EXPECT_EQ(app.store.At(0, 800).RecordZ3, 1);
    EXPECT_EQ(app.store.At(0, 801).RecordX2, 10);
    EXPECT_EQ(app.tool.CommandMode, ModePrintRange);
    Prompter().QueueAnswer(AnswerCancel);
    Press(20, 20);
    Release(30, 10);
    EXPECT_EQ(app.store.At(0, 800).RecordZ3, 2);
    EXPECT_EQ(app.store.At(0, 801).RecordX2, 30);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);

    // The hundredth range is the last: the staged symbol image at slot 900 stays.
    app.store.At(0, 800).RecordZ3 = 100;
    app.store.At(0, 900).RecordText = "staged";
    Arm(ModePrintRange);
    const size_t asked = Prompter().questions.size();
    Press(20, 20);
    Release(30, 10);
    EXPECT_EQ(app.store.At(0, 900).RecordType, 0);
    EXPECT_EQ(app.store.At(0, 900).RecordText, "staged");
    EXPECT_EQ(app.store.At(0, 800).RecordZ3, 100);
    EXPECT_FALSE(form.Text2.Text().empty());
    EXPECT_EQ(Prompter().questions.size(), asked);
}

TEST_F(DrawingToolsTest, CircleAndAspectAlternate) {
    Arm(ModeCircle);
    Press(500, 500);
    Drag(540, 500);
    Release(540, 500);
    ExpectAppended({Expected(7, {500, 500, 40, 1.0}, "", "黑体")});
    EXPECT_EQ(app.tool.CommandMode, ModeCircleAspect);

    Press(500, 520);
    Drag(500, 520);
    Release(500, 520);
    EXPECT_EQ(app.store.At(layer, start).RecordY2, 0.5);
    EXPECT_EQ(app.tool.CommandMode, ModeCircle);
    const auto circles = Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle);
    ASSERT_FALSE(circles.empty());
    EXPECT_EQ(circles.back().aspect, 0.5);

    // A second circle, and an aspect release without a drag: it stays round.
    Press(300, 300);
    Drag(300, 330);
    Release(300, 330);
    Click(300, 300);
    EXPECT_EQ(app.store.At(layer, start + 1).RecordX2, 30);
    EXPECT_EQ(app.store.At(layer, start + 1).RecordY2, 1.0);
    EXPECT_EQ(app.tool.CommandMode, ModeCircle);

    // A click without a drag stores no circle.
    Click(400, 400);
    EXPECT_EQ(app.store.Count(layer) - start, 2);
    EXPECT_EQ(app.tool.CommandMode, ModeCircle);
}

TEST_F(DrawingToolsTest, OneUndoTakesBackWhatTheLastReleaseAppended) {
    Arm(ModeLine);
    for (double x : {100, 200, 300, 400}) Click(x, 900);
    Click(500, 900);  // full: the type-1 record follows
    ASSERT_EQ(app.store.Count(layer) - start, 2);
    Undo(app);
    EXPECT_EQ(app.store.Count(layer) - start, 1);

    start = app.store.Count(layer);
    Arm(ModePen);
    Press(0, 900);
    for (int i = 1; i <= 10; ++i) Drag(i * 10, 900);
    Release(120, 900);
    ASSERT_EQ(app.store.Count(layer) - start, 2);
    Undo(app);
    EXPECT_EQ(app.store.Count(layer) - start, 0);
}

TEST_F(DrawingToolsTest, TheStationPickTakesTheSnappedVertex) {
    Put(layer, start, {100, 900, 200, 900});
    app.tool.SnapOn = -1;
    Arm(ModePickStation);
    Hover(201, 899);
    Click(201, 899);
    EXPECT_EQ(app.tool.PickedStation, (SnapVertexRef{static_cast<std::int16_t>(layer), static_cast<std::int16_t>(start), 2}));
}

}  // namespace
}  // namespace movra
