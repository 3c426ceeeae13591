#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic/Colors.h"
#include "document/WtwFile.h"
#include "platform/fake/RecordingSurface.h"
#include "shell/MainToolbar.h"
#include "shell/szForm3.h"
#include "support/TestApp.h"
#include "symbols/Attributes.h"
#include "symbols/shuxfrm.h"
#include "symbols/zjForm4.h"

namespace movra {
namespace {

using Names = std::vector<std::string>;
using Kind = SurfacePrimitive::Kind;

struct AttributesTest : ::testing::Test {
    TestApp t;
    App& app = t.app;
    void SetUp() override { t.form1.Load(); }
    RecordingSurface& Canvas() { return static_cast<RecordingSurface&>(t.form1.Picture1.surface()); }
    std::string LastMessage() const { return t.platform.promptScript.LastText(); }

    // The dialog in value entry for `cls`, values typed and confirmed.
    void Confirm(int cls, const std::string& values) {
        t.form1.Text8.SetText(std::to_string(cls));
        shuxfrm& dialog = AttributeDialog(app);
        dialog.Show();
        dialog.List1.SetListIndex(cls);
        dialog.Text2.SetText(values);
        dialog.Command1.Click();
    }
    const MapRecord& LastRecord() { return app.store.Get(1, app.store.Count(1) - 1); }

    // An attribute record put straight into the store.
    void Put(int layer, int slot, int type, double x, double y, const std::string& text = "") {
        MapRecord& r = app.store.At(layer, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordX1 = x;
        r.RecordY1 = y;
        r.RecordText = text;
        if (app.store.Count(layer) <= slot) app.store.Count(layer) = slot + 1;
    }
    std::vector<std::string> Printed(Rgb color) {
        std::vector<std::string> texts;
        for (const auto& p : Canvas().PrimitivesOf(Kind::Print))
            if (p.color == color) texts.push_back(p.text);
        return texts;
    }
};

TEST_F(AttributesTest, ValueEntryStoresTheRecordOfTheConfirmedClass) {
    app.current.TextSize = 7.5;
    app.settings.TextWidthFactor = 0.8;
    app.current.CurrentColor = MakeRgb(1, 2, 3);
    const std::string br = "\r\n";
    Confirm(0, "张三" + br + "12" + br + "123" + br + "456" + br + "86.5" + br + "3.0");
    EXPECT_FALSE(AttributeDialog(app).Visible());
    EXPECT_EQ(app.attributes.AttributeRecordType, 53);
    ASSERT_TRUE(StoreAttributeRecord(app, 100, 200));
    const MapRecord& r = LastRecord();
    EXPECT_EQ(r.RecordType, 53);
    EXPECT_EQ(r.RecordX1, 100);
    EXPECT_EQ(r.RecordY1, 200);
    EXPECT_EQ(r.RecordText, "张三");
    EXPECT_EQ(r.RecordExtra, "12");
    EXPECT_EQ(r.RecordX4, 123);
    EXPECT_EQ(r.RecordY4, 456);
    EXPECT_EQ(r.RecordX3, 86.5);
    EXPECT_EQ(r.RecordY3, 0);
    EXPECT_EQ(r.RecordZ4, 3.0f);
    EXPECT_EQ(r.RecordX2, 7.5);
    EXPECT_EQ(r.RecordY2, 0.8);
    EXPECT_EQ(r.RecordColor, MakeRgb(1, 2, 3));
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    // Letters read as 0; missing lines are empty and 0.
    Confirm(0, "李四" + br + "7" + br + "abc");
    ASSERT_TRUE(StoreAttributeRecord(app, 1, 2));
    EXPECT_EQ(LastRecord().RecordText, "李四");
    EXPECT_EQ(LastRecord().RecordExtra, "7");
    EXPECT_EQ(LastRecord().RecordX4, 0);
    EXPECT_EQ(LastRecord().RecordY4, 0);
    EXPECT_EQ(LastRecord().RecordX3, 0);
    EXPECT_EQ(LastRecord().RecordZ4, 0);

    // A user class keeps the text as typed; a later edit of the dialog changes nothing until 确定.
    Confirm(2, "砖混" + br + "3层");
    AttributeDialog(app).Text2.SetText("改了");
    ASSERT_TRUE(StoreAttributeRecord(app, 5, 6));
    EXPECT_EQ(LastRecord().RecordType, 55);
    EXPECT_EQ(LastRecord().RecordText, "砖混\r\n3层");
    EXPECT_EQ(LastRecord().RecordX4, 0);
    EXPECT_EQ(app.textPlacement.PendingTextLines, (Names{"砖混", "3层"}));

    // No class chosen: type 52, and nothing is placed.
    AttributeDialog(app).List1.SetListIndex(-1);
    AttributeDialog(app).Command1.Click();
    EXPECT_EQ(app.attributes.AttributeRecordType, 52);
    const int count = app.store.Count(1);
    EXPECT_FALSE(StoreAttributeRecord(app, 5, 6));
    EXPECT_EQ(app.store.Count(1), count);
}

TEST_F(AttributesTest, MethodPanelOpensTheEntryWithItsClassAndExitDisarms) {
    t.form1.Command8(54).Click();
    shuxfrm& dialog = AttributeDialog(app);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_EQ(dialog.Caption(), "注属性");
    EXPECT_EQ(dialog.List1.ListIndex(), 3);
    EXPECT_TRUE(dialog.Text1.Locked());
    EXPECT_EQ(t.form1.Text2.Text(), "加属性(30属性)");
    EXPECT_EQ(app.tool.CommandMode, ModeAttributeClass3);
    // A dialog still loaded keeps its class.
    dialog.Hide();
    t.form1.Command8(57).Click();
    EXPECT_EQ(&AttributeDialog(app), &dialog);
    EXPECT_EQ(dialog.List1.ListIndex(), 3);
    EXPECT_EQ(app.tool.CommandMode, ModeAttributeClass4);

    dialog.Command2.Click();
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_FALSE(dialog.Loaded());
}

TEST_F(AttributesTest, FieldDesignFromTheSettingsWindow) {
    szForm3& settings = t.form1.SettingsWindow();
    settings.Show();
    settings.Command4.Click();
    shuxfrm& dialog = AttributeDialog(app);
    EXPECT_EQ(t.form1.Text8.Text(), "1sxsj");
    EXPECT_EQ(dialog.Caption(), "设计属性字段");
    EXPECT_FALSE(dialog.Text1.Locked());
    EXPECT_TRUE(dialog.Text2.Locked());
    EXPECT_EQ(dialog.Text2.BackColor(), app.tables.ColorPalette[251]);
    EXPECT_FALSE(settings.Visible());

    // Class 1 at start-up: one empty name, shown as "未设置" and kept so.
    EXPECT_EQ(dialog.List1.ListIndex(), 1);
    EXPECT_EQ(dialog.Text1.Text(), "未设置\r\n[挂靠词]$\r\n");
    EXPECT_EQ(app.mapFile.AttributeFieldNames[1], Names{"未设置"});

    // Confirming the shown list, twice, leaves it as it was.
    dialog.Text1.SetText("名称\r\n用途\r\n[挂靠词]$\r\n");
    dialog.Command1.Click();
    EXPECT_EQ(LastMessage(), "第1类属性已改！");
    dialog.List1_Click();
    dialog.Command1.Click();
    EXPECT_EQ(app.mapFile.AttributeFieldNames[1], (Names{"名称", "用途"}));
    dialog.List1_Click();
    EXPECT_EQ(dialog.Text1.Text(), "名称\r\n用途\r\n[挂靠词]$\r\n");
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    // Two lines without a final break.
    dialog.List1.SetListIndex(3);
    dialog.Text1.SetText("结构\r\n层数");
    dialog.Command1.Click();
    EXPECT_EQ(LastMessage(), "第3类属性已改！");
    EXPECT_EQ(app.mapFile.AttributeFieldNames[3], (Names{"结构", "层数"}));

    // Class 0 is fixed.
    dialog.List1.SetListIndex(0);
    dialog.Text1.SetText("别的");
    dialog.Command1.Click();
    EXPECT_EQ(LastMessage(), "第0类属性固定，不改！");
    EXPECT_EQ(dialog.Text1.Text(), "姓名\r\n门牌\r\n电话1\r\n电话2\r\n面积\r\n房高\r\n$（分页符）");

    // More names than a list holds: refused, nothing stored.
    dialog.List1.SetListIndex(2);
    std::string many;
    for (int i = 0; i < 256; ++i) many += "f" + std::to_string(i) + "\r\n";
    dialog.Text1.SetText(many);
    dialog.Command1.Click();
    EXPECT_NE(LastMessage().find("未改"), std::string::npos);
    EXPECT_EQ(app.mapFile.AttributeFieldNames[2], Names{"未设置"});

    // The names go with the map.
    const std::string path = t.workFolder.Str() + "/fields.wtw";
    WriteWtwFile(app, path);
    TestApp other;
    other.form1.Load();
    ASSERT_TRUE(ReadWtwFile(other.app, path));
    EXPECT_EQ(other.app.mapFile.AttributeFieldNames[1], (Names{"名称", "用途"}));
    EXPECT_EQ(other.app.mapFile.AttributeFieldNames[3], (Names{"结构", "层数"}));

    // Only the exact lower-case word designs: otherwise 确定 confirms values.
    t.form1.Text8.SetText("1SXSJ");
    dialog.List1.SetListIndex(3);
    dialog.Command1.Click();
    EXPECT_EQ(app.attributes.AttributeRecordType, 56);
    EXPECT_EQ(app.mapFile.AttributeFieldNames[3], (Names{"结构", "层数"}));
}

TEST_F(AttributesTest, PopupLinesPositionsAndErasing) {
    app.view.ScaleFactor = 0.5;
    app.view.GroundPerScreenMm = 0.25;
    app.view.BackgroundColor = MakeRgb(0, 0, 0);
    app.current.CurrentColor = MakeRgb(0, 255, 0);
    Put(1, 1, 53, 100, 200, "张三");
    MapRecord& r = app.store.At(1, 1);
    r.RecordExtra = "12";
    r.RecordX4 = 123;
    r.RecordY4 = 0;
    r.RecordX3 = 86.5;
    r.RecordZ4 = 3;
    app.attributes.PickedLayer = 1;
    app.attributes.PickedSlot = 1;
    Canvas().ClearRecords();
    std::int16_t show = -1;
    查类属性(app, show);
    const auto prints = Canvas().PrimitivesOf(Kind::Print);
    const Names expected = {"姓名：张三", "门牌号：12", "电话1：123", "电话2：0", "面积：86.5平米", "房高：3米"};
    ASSERT_EQ(prints.size(), expected.size());
    for (size_t k = 0; k < prints.size(); ++k) {
        SCOPED_TRACE(k);
        EXPECT_EQ(prints[k].text, expected[k]);
        EXPECT_DOUBLE_EQ(prints[k].x1, 100);
        EXPECT_DOUBLE_EQ(prints[k].y1, 200 - static_cast<double>(k) * 4 * 0.25);
        EXPECT_EQ(prints[k].fontName, "宋体");
        EXPECT_EQ(prints[k].fontSize, 9);
        EXPECT_EQ(prints[k].color, MakeRgb(0, 255, 0));
    }
    const auto boxes = Canvas().PrimitivesOf(Kind::FilledBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_DOUBLE_EQ(boxes[0].x1, 99.5);
    EXPECT_DOUBLE_EQ(boxes[0].y1, 200.5);
    EXPECT_DOUBLE_EQ(boxes[0].x2, 100);
    EXPECT_DOUBLE_EQ(boxes[0].y2, 200);
    EXPECT_EQ(boxes[0].color, MakeRgb(0, 255, 0));

    // Erasing paints the square and every line in the background, for a user class too.
    app.mapFile.AttributeFieldNames[2] = {"结构"};
    Put(1, 2, 55, 50, 60, "砖混\r\n3层");
    const Names userLines = {"结构:砖混", ":3层"};
    EXPECT_EQ(AttributePopupLines(app, app.store.Get(1, 2)), userLines);
    app.attributes.PickedSlot = 2;
    Canvas().ClearRecords();
    std::int16_t erase = 0;
    查类属性(app, erase);
    EXPECT_EQ(Printed(MakeRgb(0, 0, 0)), userLines);
    ASSERT_EQ(Canvas().PrimitivesOf(Kind::FilledBox).size(), 1u);
    EXPECT_EQ(Canvas().PrimitivesOf(Kind::FilledBox)[0].color, MakeRgb(0, 0, 0));

    // An empty user record shows no line; no attribute record, nothing.
    Put(1, 3, 56, 0, 0, "");
    EXPECT_TRUE(AttributePopupLines(app, app.store.Get(1, 3)).empty());
    app.attributes.PickedLayer = 0;
    app.attributes.PickedSlot = 0;
    Canvas().ClearRecords();
    查类属性(app, show);
    EXPECT_TRUE(Canvas().primitives.empty());
}

TEST_F(AttributesTest, HoverPicksTheNearRecordOnceAndKeepsIt) {
    app.view.DisplayZoomInverse = 0.5;  // reach 4 ground metres
    app.current.CurrentColor = MakeRgb(255, 255, 255);
    Put(1, 5, 53, 100, 100, "甲");
    Put(1, 6, 53, 200, 200, "乙");

    // Exactly at the reach: nothing.
    ShowAttributeHover(app, 104, 100);
    EXPECT_EQ(app.attributes.PickedSlot, 0);
    EXPECT_TRUE(Canvas().PrimitivesOf(Kind::Print).empty());

    for (int move = 0; move < 20; ++move) ShowAttributeHover(app, 101 + 0.1 * move, 99);
    EXPECT_EQ(app.attributes.PickedLayer, 1);
    EXPECT_EQ(app.attributes.PickedSlot, 5);
    const auto prints = Canvas().PrimitivesOf(Kind::Print);
    ASSERT_EQ(prints.size(), 6u);
    // White + 500 stays a valid colour.
    EXPECT_EQ(prints[0].color, PackedColorSum(MakeRgb(255, 255, 255), 500));
    EXPECT_LE(prints[0].color, 0xFFFFFF);

    // The next record: the first popup is erased, the second drawn.
    Canvas().ClearRecords();
    ShowAttributeHover(app, 199, 201);
    EXPECT_EQ(app.attributes.PickedSlot, 6);
    EXPECT_EQ(Printed(app.view.BackgroundColor).front(), "姓名：甲");
    // Away from every record the pick is let go.
    ShowAttributeHover(app, 500, 500);
    EXPECT_EQ(app.attributes.PickedSlot, 0);

    // A layer whose only record sits in slot 0 is searched too.
    app.store.DimensionKeep(2);
    app.store.LayerCount = 2;
    app.store.LayerOnFlag[2] = -1;
    Put(2, 0, 57, 300, 300, "值");
    ASSERT_EQ(app.store.Count(2), 1);
    ShowAttributeHover(app, 300, 300);
    EXPECT_EQ(app.attributes.PickedLayer, 2);
    EXPECT_EQ(app.attributes.PickedSlot, 0);

    // A layer that is off is never searched.
    app.store.LayerOnFlag[1] = 0;
    ShowAttributeHover(app, 100, 100);
    EXPECT_EQ(app.attributes.PickedSlot, 0);
}

TEST_F(AttributesTest, SingleFieldToolsFindThePickedClass0RecordNearTheClick) {
    app.view.GroundPerScreenMm = 1;  // reach 5
    Put(1, 4, 53, 10, 10);
    Put(1, 5, 55, 30, 30);
    app.attributes.PickedLayer = 1;
    app.attributes.PickedSlot = 4;
    EXPECT_EQ(PickedClass0RecordNear(app, 14.9, 6), &app.store.At(1, 4));
    EXPECT_EQ(PickedClass0RecordNear(app, 15, 10), nullptr);
    app.attributes.PickedSlot = 5;
    EXPECT_EQ(PickedClass0RecordNear(app, 30, 30), nullptr);
}

struct ArticleCase {
    const char* text;
    const char* lineLength;
    ToolMode mode;
    Names lines;
    const char* pending;
};

TEST_F(AttributesTest, ArticleAnnotationArmsTheParagraphOrTheSingleText) {
    const ArticleCase cases[] = {
        {"第一行\r\n第二行", "28", ModeArticleText, {"第一行", "第二行"}, "第一行\r\n第二行"},
        {"一行\r\n", "28", ModeArticleText, {"一行", ""}, "一行\r\n"},
        {"  短句  ", "28", ModeMaterialText, {""}, "短句"},
        {"", "28", ModeMaterialText, {""}, ""},
        {"四个字符", "abc", ModeArticleText, {"四个字符"}, "四个字符"},
    };
    for (const ArticleCase& c : cases) {
        SCOPED_TRACE(c.text);
        app.tool.CommandMode = ModeIdle;
        t.form1.Text8.SetLocked(false);
        RunToolbarKey(app, "注记");
        ASSERT_TRUE(app.annotationDialog);
        zjForm4& dialog = *app.annotationDialog;
        EXPECT_TRUE(dialog.Visible());
        EXPECT_EQ(app.tool.CommandMode, ModeArticleText);
        EXPECT_EQ(t.form1.Text2.Text(), "成篇文章注记");
        dialog.Text8.SetText(c.text);
        dialog.Text4.SetText(c.lineLength);
        dialog.Command1.Click();
        EXPECT_FALSE(dialog.Loaded());
        EXPECT_EQ(app.tool.CommandMode, c.mode);
        EXPECT_EQ(app.textPlacement.PendingTextLines, c.lines);
        EXPECT_EQ(app.current.PendingText, c.pending);
        if (c.mode == ModeArticleText) {
            EXPECT_EQ(t.form1.Text8.Text(), c.lineLength);
            EXPECT_TRUE(t.form1.Text8.Locked());
        }
    }

    // 28 characters fit the line; 29 do not.
    for (const int n : {28, 29}) {
        RunToolbarKey(app, "注记");
        app.annotationDialog->Text8.SetText(std::string(static_cast<size_t>(n), 'x'));
        app.annotationDialog->Command1.Click();
        EXPECT_EQ(app.tool.CommandMode, n == 28 ? ModeMaterialText : ModeArticleText);
        EXPECT_EQ(app.textPlacement.PendingTextLines.size(), 1u);
    }
    EXPECT_EQ(app.textPlacement.PendingTextLines[0], std::string(29, 'x'));
}

TEST_F(AttributesTest, ArticleDialogLoadsTheTextInHandCapsTheLengthAndCancelKeepsIt) {
    app.current.PendingText = "旧文";
    app.tool.ClickOriginX = 12.5;
    app.tool.ClickOriginY = -3;
    ShowArticleAnnotation(app);
    zjForm4& dialog = *app.annotationDialog;
    EXPECT_EQ(dialog.Caption(), "注记");
    EXPECT_EQ(dialog.Text8.Text(), "旧文");
    EXPECT_EQ(dialog.Text4.Text(), "28");
    EXPECT_EQ(dialog.Text1.Text(), "1");
    EXPECT_EQ(dialog.Text2.Text(), "12.5");
    EXPECT_EQ(dialog.Text3.Text(), "-3");
    dialog.Text4.SetText("40");
    EXPECT_EQ(dialog.Text4.Text(), "32");
    dialog.Text4.SetText("32");
    dialog.Text4.SetText("abc");
    EXPECT_EQ(dialog.Text4.Text(), "abc");

    app.textPlacement.PendingTextLines = {"a", "b"};
    dialog.Text8.SetText("新文");
    dialog.Command2.Click();
    EXPECT_FALSE(dialog.Loaded());
    EXPECT_EQ(app.current.PendingText, "旧文");
    EXPECT_EQ(app.textPlacement.PendingTextLines, Names{""});
    EXPECT_EQ(app.tool.CommandMode, ModeArticleText);
}

}  // namespace
}  // namespace movra
