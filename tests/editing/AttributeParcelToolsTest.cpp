#include <string>
#include <vector>

#include "CanvasFixture.h"
#include "basic/Numbers.h"
#include "platform/fake/FakePlatform.h"
#include "symbols/Attributes.h"

namespace movra {
namespace {

constexpr Rgb Green = MakeRgb(0, 160, 0);

class AttributeToolsTest : public CanvasTest {
protected:
    AttributeToolsTest() {
        app.current.CurrentColor = Green;
        app.current.CurrentPen = 9;
        app.current.CurrentFont = "黑体";
        app.current.TextSize = 3;
        app.settings.TextWidthFactor = 0.75;
        app.tool.SnapOn = 0;
        layer = app.store.CurrentLayer;
        start = app.store.Count(layer);
    }
    // As the method panel arms the tool: the mode, then its prompt and command line.
    void Arm(std::uint8_t mode, const std::string& prompt, const std::string& text8) {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
        app.tool.RubberShown = 0;
        form.Text2.SetText(prompt);
        form.Text8.SetText(text8);
    }
    std::int32_t Added() { return app.store.Count(layer) - start; }
    MapRecord& Rec(int k) { return app.store.At(layer, start + k); }
    ScriptedPrompt& Prompts() { return static_cast<ScriptedPrompt&>(app.platform.prompt()); }

    // A class-0 record as the tools write it, at (x, y) with the current style.
    MapRecord Class0(double x, double y, double size) {
        MapRecord r;
        r.RecordType = 53;
        r.RecordColor = Green;
        r.RecordPen = 9;
        r.RecordFont = "黑体";
        r.RecordX1 = x;
        r.RecordY1 = y;
        r.RecordX2 = size;
        r.RecordY2 = 0.75;
        return r;
    }
    // A class-0 record on the map whose popup the hover showed.
    MapRecord& Picked(double x, double y) {
        const std::int32_t slot = app.store.Count(layer);
        MapRecord& r = Put(layer, slot, {x, y}, 53);
        r.RecordText = "旧名";
        app.attributes.PickedLayer = static_cast<std::uint8_t>(layer);
        app.attributes.PickedSlot = static_cast<std::int16_t>(slot);
        start = app.store.Count(layer);
        return r;
    }

    int layer = 0;
    std::int32_t start = 0;
};

TEST_F(AttributeToolsTest, TheClassToolsStoreTheValuesTheDialogConfirmed) {
    struct Case {
        std::uint8_t type;
        std::vector<std::string> lines;
        std::string text;
    };
    const Case cases[] = {
        {53, {"张三", "12号", "5551234", "5554321", "86.5", "3.2"}, ""},
        // Mobile numbers and a large parcel's area lie beyond any coordinate; they are no positions.
        {53, {"王五", "3号", "13900001111", "13800002222", "12500000000", "3.2"}, ""},
        // Fewer than six lines: the missing ones are empty.
        {53, {"李四", "8号", "777"}, ""},
        {55, {"砖", "二层"}, "砖\r\n二层"},
        {57, {"x"}, "x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        start = app.store.Count(layer);
        app.attributes.AttributeRecordType = c.type;
        app.textPlacement.PendingTextLines = c.lines;
        app.current.PendingText = c.text;
        Arm(ModeAttributeClass, "加属性(10属性)", "1");
        Click(100, 900);
        Hover(110, 890);
        Click(200, 800);
        ASSERT_EQ(Added(), 1);
        MapRecord expected = Class0(200, 800, 3);
        expected.RecordType = c.type;
        if (c.type == 53) {
            expected.RecordText = c.lines[0];
            expected.RecordExtra = c.lines[1];
            expected.RecordX4 = Val(c.lines[2]);
            expected.RecordY4 = c.lines.size() > 3 ? Val(c.lines[3]) : 0;
            expected.RecordX3 = c.lines.size() > 4 ? Val(c.lines[4]) : 0;
            expected.RecordZ4 = c.lines.size() > 5 ? static_cast<float>(Val(c.lines[5])) : 0;
        } else {
            expected.RecordText = c.text;
        }
        EXPECT_EQ(Rec(0), expected);
        EXPECT_EQ(app.tool.ClickCount, 0);
        EXPECT_EQ(app.tool.CommandMode, ModeAttributeClass);
    }
    // No class confirmed: nothing is stored.
    start = app.store.Count(layer);
    app.attributes.AttributeRecordType = 0;
    Click(100, 900);
    Click(200, 800);
    EXPECT_EQ(Added(), 0);
}

TEST_F(AttributeToolsTest, EachFieldPromptWritesItsFieldIntoThePickedRecordOrANewOne) {
    struct Case {
        const char* prompt;
        std::uint8_t mode;
        void (*check)(const MapRecord&);
    };
    const Case cases[] = {
        {"加电话号码1(02属性)", ModePhoneAttribute, [](const MapRecord& r) { EXPECT_DOUBLE_EQ(r.RecordX4, 42.5); }},
        {"加电话号码2(03属性)", ModePhoneAttribute, [](const MapRecord& r) { EXPECT_DOUBLE_EQ(r.RecordY4, 42.5); }},
        {"加姓名(00属性)", ModeNameAttribute, [](const MapRecord& r) { EXPECT_EQ(std::string(r.RecordText), "42.5号"); }},
        {"加门牌(01属性)", ModeNameAttribute, [](const MapRecord& r) { EXPECT_EQ(std::string(r.RecordExtra), "42.5号"); }},
        {"加物体高，如房高等(05属性)", ModeHeightAttribute, [](const MapRecord& r) { EXPECT_FLOAT_EQ(r.RecordZ4, 42.5f); }},
    };
    const double reach = 5 * app.view.GroundPerScreenMm;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.prompt);
        MapRecord& picked = Picked(500, 500);
        // Just inside the reach on both axes: the picked record takes the value.
        Arm(c.mode, c.prompt, "42.5号");
        Click(0, 0);
        Click(500 + reach * 0.99, 500 - reach * 0.99);
        EXPECT_EQ(Added(), 0);
        c.check(picked);
        EXPECT_EQ(app.tool.CommandMode, ModeIdle);

        // Just beyond the reach on one axis: a new class-0 record, named by the text in hand.
        app.current.PendingText = "在手";
        Arm(c.mode, c.prompt, "42.5号");
        Click(0, 0);
        const float far = static_cast<float>(500 + reach * 1.001);
        Click(far, 500);
        ASSERT_EQ(Added(), 1);
        c.check(Rec(0));
        EXPECT_DOUBLE_EQ(Rec(0).RecordX1, far);
        EXPECT_DOUBLE_EQ(Rec(0).RecordX2, 5);  // the size of field entries
        EXPECT_EQ(Rec(0).RecordType, 53);
        if (std::string(c.prompt) != "加姓名(00属性)") {
            EXPECT_EQ(std::string(Rec(0).RecordText), "在手");
        }
    }
    // A prompt of no field stores nothing and disarms.
    start = app.store.Count(layer);
    Arm(ModeNameAttribute, "别的", "x");
    Click(0, 0);
    Click(900, 900);
    EXPECT_EQ(Added(), 0);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
}

TEST_F(AttributeToolsTest, ATypedAreaIsRegisteredAtTheSecondClick) {
    const std::int32_t steps = app.undo.UndoCurrentStep;
    MapRecord& picked = Picked(300, 300);
    Arm(ModeAreaRegister, "加计算面积(04属性)", "125.5");
    Click(0, 0);
    EXPECT_EQ(app.tool.AreaPending, -1);
    EXPECT_EQ(app.tool.ClickCount, 3);
    Click(300.1, 299.9);
    EXPECT_DOUBLE_EQ(picked.RecordX3, 125.5);
    EXPECT_EQ(form.Text2.Text(), "已寄存!");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(Added(), 0);
    // The register click records no undo step of its own.
    EXPECT_EQ(app.undo.UndoCurrentStep, steps + 1);
}

TEST_F(AttributeToolsTest, AClockwiseRingShowsANegativeAreaAndRegistersItsSize) {
    app.view.ScaleFactor = 0.5;
    app.current.PendingText = "名";
    Arm(ModeAreaRegister, "加计算面积(04属性)", "0");
    Click(0, 0);
    Click(0, 10);
    Click(10, 10);
    EXPECT_EQ(form.Text8.Text(), "-50");
    Click(10, 0);
    EXPECT_EQ(form.Text8.Text(), "-100");
    EXPECT_EQ(app.tool.AreaPending, 0);
    Click(0.2, 0.2);
    EXPECT_EQ(Prompts().LastText(), "OK，请点击位置寄存面积");
    EXPECT_EQ(app.tool.AreaPending, -1);
    EXPECT_EQ(Added(), 0);
    // The register click far from any popup's record: a new class-0 record.
    app.attributes.PickedSlot = 0;
    Click(700, 700);
    ASSERT_EQ(Added(), 1);
    MapRecord expected = Class0(700, 700, 3);
    expected.RecordX3 = 100;
    expected.RecordText = "名";
    EXPECT_EQ(Rec(0), expected);
    EXPECT_EQ(form.Text2.Text(), "已寄存!");
}

TEST_F(AttributeToolsTest, LaterRingClicksShowTheAreaToThreeDecimals) {
    Arm(ModeAreaRegister, "加计算面积(04属性)", "0");
    for (auto [x, y] : {std::pair{0.0, 0.0}, {10.0, 0.0}, {10.0, 10.0 / 3}})
        Click(x, y);
    // The clicks are single-precision points.
    EXPECT_EQ(form.Text8.Text(), PlainNumberText(5.0 * static_cast<float>(10.0 / 3)));
    Click(0, 10.0 / 3);
    EXPECT_EQ(form.Text8.Text(), "33.333");
}

class ParcelToolsTest : public AttributeToolsTest {};

TEST_F(ParcelToolsTest, FourNumberedPointsFillOneRecordAndTheFifthStartsTheNext) {
    app.tool.ToolStep = 1;
    Arm(ModeParcelPoints, "绘界址点，先符号，后编号", "12");
    const double xs[] = {10, 20, 30, 40, 50};
    for (int i = 0; i < 5; ++i) {
        Click(xs[i], 5);
        EXPECT_EQ(form.Text2.Text(), "界址点是" + std::to_string(12 + i) + "点击确认，若误可重输。");
        Click(xs[i] + 1, 6);
        EXPECT_EQ(form.Text2.Text(), "下一个界址点开始。参考号码为" + std::to_string(13 + i));
        EXPECT_EQ(form.Text8.Text(), std::to_string(13 + i));
    }
    ASSERT_EQ(Added(), 2);
    MapRecord expected;
    expected.RecordType = 34;
    expected.RecordColor = Green;
    expected.RecordPen = 6;
    expected.RecordX1 = 10, expected.RecordX2 = 20, expected.RecordX3 = 30, expected.RecordX4 = 40;
    expected.RecordY1 = expected.RecordY2 = expected.RecordY3 = expected.RecordY4 = 5;
    expected.RecordZ1 = 12, expected.RecordZ2 = 13, expected.RecordZ3 = 14, expected.RecordZ4 = 15;
    EXPECT_EQ(Rec(0), expected);
    EXPECT_EQ(Rec(1).RecordType, 31);
    EXPECT_DOUBLE_EQ(Rec(1).RecordX1, 50);
    EXPECT_FLOAT_EQ(Rec(1).RecordZ1, 16);
    // The boundary-point circles in palette colour 4.
    EXPECT_EQ(Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle).front().color, app.tables.ColorPalette[4]);
}

TEST_F(ParcelToolsTest, Number0LeavesTheVertexOpenForTheNextPoint) {
    app.tool.ToolStep = 1;
    Arm(ModeParcelPoints, "绘界址点，先符号，后编号", "7");
    Click(10, 5);
    Click(10, 5);
    form.Text8.SetText("0");
    Click(20, 5);
    Click(20, 5);
    form.Text8.SetText("9");
    Click(30, 5);
    Click(30, 5);
    ASSERT_EQ(Added(), 1);
    EXPECT_EQ(Rec(0).RecordType, 32);
    EXPECT_DOUBLE_EQ(Rec(0).RecordX2, 30);
    EXPECT_FLOAT_EQ(Rec(0).RecordZ1, 7);
    EXPECT_FLOAT_EQ(Rec(0).RecordZ2, 9);
}

TEST_F(ParcelToolsTest, EdgesChainFromClickToClickWithTheParcelNumbers) {
    struct Case {
        const char* kind;
        const char* numbers;
        bool stored;
        std::uint8_t type;
        const char* text;
        const char* extra;
    };
    const Case cases[] = {
        {"1", " 12,13 ", true, 21, "12", "13"},
        {"2", "12,13,14", true, 22, "12", "13"},
        {"3", "12", true, 23, "12", ""},
        {"4", "12,13", false, 0, "", ""},
    };
    Arm(ModeParcelEdge, "绘界址边", "1");
    Click(0, 0);
    double x = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.kind);
        start = app.store.Count(layer);
        form.Text8.SetText(c.kind);
        form.Text5.SetText(c.numbers);
        Click(x + 10, 0);
        if (!c.stored) {
            EXPECT_EQ(Added(), 0);
        } else {
            ASSERT_EQ(Added(), 1);
            MapRecord expected;
            expected.RecordType = c.type;
            expected.RecordColor = Green;
            expected.RecordPen = 9;
            expected.RecordX1 = x;
            expected.RecordX2 = x + 10;
            expected.RecordText = c.text;
            expected.RecordExtra = c.extra;
            EXPECT_EQ(Rec(0), expected);
        }
        x += 10;
    }
    // The chain moved on over the edge that was not stored.
    form.Text8.SetText("1");
    start = app.store.Count(layer);
    Click(50, 0);
    ASSERT_EQ(Added(), 1);
    EXPECT_DOUBLE_EQ(Rec(0).RecordX1, 40);
}

TEST_F(ParcelToolsTest, AParcelNumberIsATextOfTheCurrentSizeOr8) {
    struct Case {
        double size;
        std::uint8_t pen;
    };
    for (const Case& c : {Case{0, 8}, Case{300, 255}}) {
        start = app.store.Count(layer);
        app.current.TextSize = c.size;
        Arm(ModeParcelNumber, "加注宗地号", " 0017 ");
        Click(100, 900);
        Click(200, 800);
        ASSERT_EQ(Added(), 1);
        MapRecord expected;
        expected.RecordType = 25;
        expected.RecordColor = Green;
        expected.RecordPen = c.pen;
        expected.RecordX1 = 200;
        expected.RecordY1 = 800;
        expected.RecordX2 = c.size == 0 ? 8 : c.size;
        expected.RecordY2 = 1;
        expected.RecordText = "0017";
        expected.RecordFont = "黑体";
        EXPECT_EQ(Rec(0), expected);
    }
}

TEST_F(AttributeToolsTest, TheViewerShowsThePopupUnderTheCursor) {
    MapRecord& r = Put(layer, app.store.Count(layer), {400, 400}, 53);
    r.RecordText = "王五";
    app.attributes.PickedSlot = 0;
    Arm(ModeViewAttributes, "查看属性表0，1，2，3，4", "0");
    app.tool.ClickCount = 1;
    Surface().ClearRecords();
    Hover(400.2, 400.2);
    EXPECT_EQ(app.attributes.PickedSlot, app.store.Count(layer) - 1);
    bool shown = false;
    for (const SurfacePrimitive& p : Surface().PrimitivesOf(SurfacePrimitive::Kind::Print))
        shown = shown || p.text == "姓名：王五";
    EXPECT_TRUE(shown);
}

}  // namespace
}  // namespace movra
