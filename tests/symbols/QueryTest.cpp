#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "basic/Colors.h"
#include "editing/SelectionTools.h"
#include "shell/MainToolbar.h"
#include "support/TestApp.h"
#include "symbols/QueryKinds.h"
#include "symbols/chaxunfrm.h"

namespace movra {
namespace {

struct Drawn {
    int layer, slot;
    Rgb color;
    bool operator==(const Drawn&) const = default;
};

struct QueryTest : ::testing::Test {
    TestApp t;
    App& app = t.app;
    std::vector<Drawn> highlights;
    int redraws = 0;
    const Rgb current = MakeRgb(255, 255, 0);

    void SetUp() override {
        t.form1.Load();
        app.store.DimensionKeep(3);
        app.store.LayerCount = 3;
        for (int l = 1; l <= 3; ++l) app.store.LayerOnFlag[static_cast<std::size_t>(l)] = -1;
        app.current.CurrentColor = current;
        app.current.ModifiedFlag = 0;
        // The highlights and redraws the dialog asks for, in order.
        app.seams.HighlightRecord = [this](App&, int layer, int slot, Rgb color) {
            highlights.push_back({layer, slot, color});
        };
        app.seams.Redraw = [this](App&) { ++redraws; };
    }
    chaxunfrm& Dialog() {
        if (!app.queryDialog || !app.queryDialog->Loaded()) ShowQueryDialog(app);
        return *app.queryDialog;
    }
    MapRecord& Put(int layer, int slot, int type, const std::string& text = "") {
        MapRecord& r = app.store.At(layer, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordText = text;
        if (app.store.Count(layer) <= slot) app.store.Count(layer) = slot + 1;
        return r;
    }
    const MapRecord& Get(int layer, int slot) { return app.store.Get(layer, slot); }
    void Query(const std::string& text) {
        Dialog().Text1.SetText(text);
        Dialog().Command1.Click();
    }
    std::vector<SelectedRecord> Hits() {
        const auto& list = app.selection.SelectionList;
        return {list.begin() + 1, list.begin() + std::max(1, list[0].Layer)};
    }
    std::vector<int> HitSlots() {
        std::vector<int> slots;
        for (const auto& hit : Hits()) slots.push_back(hit.Slot);
        return slots;
    }
    std::vector<std::string> Messages() {
        std::vector<std::string> texts;
        for (const auto& q : t.platform.promptScript.questions) texts.push_back(q.text);
        return texts;
    }
    ManualTimer& Timer() {
        ManualTimer* last = nullptr;
        for (ManualTimer* timer : t.platform.manualTimers.Timers())
            if (timer) last = timer;
        return *last;
    }
};

// Each kind finds its hit and passes over its near miss: a record of a type it does not examine,
// or a value that differs a little.
TEST_F(QueryTest, EachKindFindsItsHitAndNotItsNearMiss) {
    struct Case {
        const char* name;
        std::function<void(chaxunfrm&)> choose;
        const char* text;
        std::function<void(QueryTest&)> fill;  // slots 0.. of layer 1
        std::vector<int> hits;
    };
    const std::vector<Case> cases = {
        {"annotation", [](chaxunfrm& d) { d.Option1.Click(); }, " 宗地 ",
         [](QueryTest& f) { f.Put(1, 0, 25, "宗地"); f.Put(1, 1, 25, "宗地1"); f.Put(1, 2, 2, "宗地"); }, {0, 2}},
        {"elevation", [](chaxunfrm& d) { d.Option2.Click(); }, "12.3",
         [](QueryTest& f) { f.Put(1, 0, 2).RecordZ3 = 12.3f; f.Put(1, 1, 2).RecordZ1 = 12.31f; }, {0}},
        {"point name", [](chaxunfrm& d) { d.Option3.Click(); }, "P7",
         [](QueryTest& f) { f.Put(1, 0, 2, "P7"); f.Put(1, 1, 2, "p7"); }, {0}},
        {"boundary point number", [](chaxunfrm& d) { d.Option4.Click(); }, "17",
         [](QueryTest& f) { f.Put(1, 0, 34).RecordZ2 = 17; f.Put(1, 1, 35).RecordZ2 = 17; }, {0}},
        {"parcel number", [](chaxunfrm& d) { d.Option5.Click(); }, "G5",
         [](QueryTest& f) { f.Put(1, 0, 25, "G5"); f.Put(1, 1, 65, "G5"); }, {0}},
        {"boundary edge", [](chaxunfrm& d) { d.Option6.Click(); }, "A",
         [](QueryTest& f) {
             f.Put(1, 0, 21, "A");
             f.Put(1, 1, 23, "B").RecordExtra = "A";
             f.Put(1, 2, 24, "A");
         },
         {0, 1}},
        {"coordinates", [](chaxunfrm& d) { d.Option7.Click(); }, "0,3",
         [](QueryTest& f) {
             MapRecord& hit = f.Put(1, 0, 2);
             hit.RecordX2 = 0.0078125, hit.RecordY2 = 3;
             MapRecord& miss = f.Put(1, 1, 2);
             miss.RecordX1 = 0.01, miss.RecordY1 = 3;
             miss.RecordX2 = 5, miss.RecordY2 = 5;
         },
         {0}},
        {"coordinates without a comma", [](chaxunfrm& d) { d.Option7.Click(); }, "7",
         [](QueryTest& f) {
             f.Put(1, 0, 2).RecordX1 = 7;
             MapRecord& miss = f.Put(1, 1, 2);
             miss.RecordX1 = 7, miss.RecordY1 = 0.01;
         },
         {0}},
        {"line type", [](chaxunfrm& d) { d.Option9.Click(); }, "400",
         [](QueryTest& f) { f.Put(1, 0, 43, "400"); f.Put(1, 1, 41, "400"); f.Put(1, 2, 15, "400"); }, {0, 2}},
        {"text height", [](chaxunfrm& d) { d.Option10.Click(); }, "3",
         [](QueryTest& f) { f.Put(1, 0, 66).RecordX2 = 3; f.Put(1, 1, 62).RecordX2 = 3; }, {0}},
        {"font", [](chaxunfrm& d) { d.Option11.Click(); }, "黑体",
         [](QueryTest& f) { f.Put(1, 0, 67).RecordFont = "黑体"; f.Put(1, 1, 2).RecordFont = "黑体"; }, {0}},
        {"slant", [](chaxunfrm& d) { d.Option12.Click(); }, "15",
         [](QueryTest& f) { f.Put(1, 0, 68).RecordZ2 = 15; f.Put(1, 1, 25).RecordZ2 = 15.5f; }, {0}},
        {"telephone", [](chaxunfrm& d) { d.Option13.Click(); }, "123",
         [](QueryTest& f) {
             f.Put(1, 0, 53).RecordY4 = 123;  // the second telephone
             f.Put(1, 1, 53).RecordX3 = 123;  // an area
             f.Put(1, 2, 54).RecordY4 = 123;
         },
         {0}},
        {"attribute field 1 of class 2",
         [](chaxunfrm& d) {
             d.List1.SetListIndex(2);
             d.List2.SetListIndex(1);
         },
         "v",
         [](QueryTest& f) {
             f.Put(1, 0, 55, "x\r\nv");
             f.Put(1, 1, 55, "v\r\nx");
             f.Put(1, 2, 54, "x\r\nv");
             f.Put(1, 3, 55, "v");  // no second line
         },
         {0}},
        {"attribute field 1 of any class",
         [](chaxunfrm& d) {
             d.List1.SetListIndex(1);
             d.List2.SetListIndex(1);
             d.Option8.Click();
         },
         "v",
         [](QueryTest& f) { f.Put(1, 0, 55, "x\r\nv"); f.Put(1, 1, 57, "x\r\nv"); f.Put(1, 2, 25, "x\r\nv"); }, {0, 1}},
        {"zero elevation: no empty or deleted slot", [](chaxunfrm& d) { d.Option2.Click(); }, "0",
         [](QueryTest& f) { f.Put(1, 0, 2); f.Put(1, 1, 102); }, {0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.store.ClearFrom(1, 0);
        app.store.Count(1) = 0;
        c.fill(*this);
        chaxunfrm& d = Dialog();
        c.choose(d);
        Query(c.text);
        EXPECT_EQ(HitSlots(), c.hits);
    }
}

TEST_F(QueryTest, TextThatIsNoNumberFindsNothingForTheNumericKinds) {
    Put(1, 0, 25);  // every number field 0
    Put(1, 1, 65);
    Put(1, 2, 31);
    for (OptionButton* option : {&Dialog().Option2, &Dialog().Option4, &Dialog().Option10, &Dialog().Option12}) {
        SCOPED_TRACE(option->Caption());
        option->Click();
        Query("abc");
        EXPECT_EQ(app.selection.SelectionList[0].Layer, 0);
        EXPECT_EQ(Dialog().Command1.Caption(), "查询");
    }
    EXPECT_TRUE(highlights.empty());
}

TEST_F(QueryTest, FiveHitsStandInTheSelectionAndTheCaption) {
    for (int k = 0; k < 4; ++k) {
        Put(1, 2 * k, 2, "宗地");
        Put(1, 2 * k + 1, 2, "x");
    }
    app.store.LayerOnFlag[2] = 0;
    Put(2, 0, 2, "宗地");
    Put(3, 0, 25, "宗地");
    Dialog().Show();
    EXPECT_FALSE(Dialog().Modal());
    EXPECT_FALSE(Dialog().Command4.Enabled());
    Query("宗地");
    const auto& list = app.selection.SelectionList;
    ASSERT_EQ(list.size(), 7u);
    EXPECT_EQ(list[0].Layer, 6);
    EXPECT_EQ(HitSlots(), (std::vector<int>{0, 2, 4, 6, 0}));
    EXPECT_EQ(Hits().back().Layer, 3);
    EXPECT_EQ(list.back().Layer, 0);
    EXPECT_EQ(Dialog().Command1.Caption(), "查询到5 个");
    EXPECT_EQ(Dialog().Command3.Caption(), "显示查询结果");
    EXPECT_TRUE(Dialog().Command4.Enabled());
    ASSERT_EQ(highlights.size(), 5u);
    EXPECT_EQ(highlights[0], (Drawn{1, 0, current}));

    // A changed search disables the replace until the next query.
    Dialog().Text1.SetText("宗");
    EXPECT_FALSE(Dialog().Command4.Enabled());

    // An empty search ends at once with an empty list.
    Query("  ");
    EXPECT_EQ(list[0].Layer, 0);
    EXPECT_EQ(Dialog().Command3.Caption(), "无");

    // 退出 empties the selection and leaves.
    Query("宗地");
    Dialog().Command2.Click();
    EXPECT_EQ(app.selection.SelectionList.size(), 1u);
    EXPECT_EQ(app.selection.SelectionList[0].Layer, 0);
    EXPECT_FALSE(app.queryDialog->Loaded());
}

TEST_F(QueryTest, TheScanEndsAtTheHitLimit) {
    app.store.LayerCapacity = 32767;
    for (int slot = 0; slot < 32100; ++slot) Put(1, slot, 2, "a");
    Put(2, 0, 2, "a");
    Query("a");
    EXPECT_EQ(app.selection.SelectionList[0].Layer, QueryHitLimit + 1);
    EXPECT_EQ(Hits().back().Slot, QueryHitLimit - 1);
    EXPECT_EQ(Dialog().Command1.Caption(), "查询到31999 个");
    EXPECT_EQ(highlights.size(), static_cast<std::size_t>(QueryHitLimit));
}

TEST_F(QueryTest, AttributeHitsShowTheirPopupInsteadOfAHighlight) {
    Put(1, 0, 2, "A");
    Put(1, 4, 54, "x\r\nA");
    Dialog().List1.SetListIndex(1);
    Dialog().List2.SetListIndex(1);
    Query("A");
    EXPECT_EQ(HitSlots(), std::vector<int>{4});
    EXPECT_TRUE(highlights.empty());
    EXPECT_EQ(app.attributes.PickedLayer, 1);
    EXPECT_EQ(app.attributes.PickedSlot, 4);
}

TEST_F(QueryTest, NavigationShowsEachHitThenEnds) {
    t.form1.Picture1.SetScale(0, 1000, 400, -300);
    app.view.ScaleFactor = 0.5;
    const double xs[] = {100, 200, 300};
    for (int k = 0; k < 3; ++k) {
        MapRecord& r = Put(1, k, 25, "T");
        r.RecordX1 = xs[k], r.RecordY1 = 50 + k;
        r.RecordExtra = "e";
    }
    Query("T");
    highlights.clear();
    chaxunfrm& d = Dialog();
    for (int k = 1; k <= 3; ++k) {
        d.Command3.Click();
        EXPECT_EQ(d.Command1.Caption(), "查询到3 个" + std::to_string(k));
        EXPECT_EQ(d.Command3.Caption(), "下一个");
        EXPECT_EQ(t.form1.Picture1.ScaleLeft(), xs[k - 1] - 200);
        EXPECT_EQ(t.form1.Picture1.ScaleTop(), 50 + k - 1 + 10);
        EXPECT_EQ(t.form1.Picture1.ScaleWidth(), 400);
        EXPECT_EQ(d.Text4.Text(), "T\r\ne\r\n");
        EXPECT_EQ(highlights.back(), (Drawn{1, k - 1, PackedColorSum(current, 1)}));
        EXPECT_TRUE(Timer().Active());
        EXPECT_EQ(Timer().Interval(), 200);
    }
    EXPECT_EQ(redraws, 3);
    d.Command3.Click();
    EXPECT_EQ(d.Command3.Caption(), "查毕");
    EXPECT_FALSE(Timer().Active());
    EXPECT_EQ(d.QueryCursor, 0);
    // The next press starts again at the first hit.
    d.Command3.Click();
    EXPECT_EQ(d.Command1.Caption(), "查询到3 个1");
}

TEST_F(QueryTest, FlashingBlinksTheHitAndBeepsEveryTwelfthStep) {
    Put(1, 0, 25, "T");
    Put(1, 1, 53, "T");
    Query("T");
    chaxunfrm& d = Dialog();
    d.Command3.Click();
    highlights.clear();
    t.platform.silentSound.beeps.clear();
    for (int step = 0; step < 12; ++step) ASSERT_TRUE(Timer().Fire());
    ASSERT_EQ(highlights.size(), 12u);
    EXPECT_EQ(highlights[0].color, PackedColorSum(current, 500));
    EXPECT_EQ(highlights[1].color, 0);  // the record's own colour
    EXPECT_EQ(t.platform.silentSound.beeps, (std::vector<SilentSound::Tone>{{11, 11}}));

    // An attribute hit has its popup painted again at each step, and no highlight.
    d.Command3.Click();
    highlights.clear();
    app.attributes.PickedSlot = 0;
    Timer().Fire();
    EXPECT_TRUE(highlights.empty());
    EXPECT_EQ(app.attributes.PickedSlot, 1);

    // Losing the focus stops the flash.
    d.Form_LostFocus();
    EXPECT_FALSE(Timer().Active());
}

TEST_F(QueryTest, ReplacingChangesTheFieldsOfTheKind) {
    struct Case {
        const char* name;
        std::function<void(chaxunfrm&)> choose;
        const char* oldText;
        const char* newText;
        std::function<void(QueryTest&)> fill;
        std::function<void(QueryTest&)> check;
    };
    const std::vector<Case> cases = {
        {"elevation", [](chaxunfrm& d) { d.Option2.Click(); }, "12.5", "14",
         [](QueryTest& f) {
             MapRecord& r = f.Put(1, 0, 2);
             r.RecordZ1 = 12.5f, r.RecordZ2 = 13, r.RecordZ3 = 12.5f, r.RecordZ4 = 0;
         },
         [](QueryTest& f) {
             const MapRecord& r = f.Get(1, 0);
             EXPECT_EQ((std::vector<float>{r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4}),
                       (std::vector<float>{14, 13, 14, 0}));
         }},
        {"attribute field 1",
         [](chaxunfrm& d) {
             d.List1.SetListIndex(1);
             d.List2.SetListIndex(1);
             d.Option8.Click();
         },
         "A", "B", [](QueryTest& f) { f.Put(1, 0, 54, "X\r\nA\r\nY"); },
         [](QueryTest& f) { EXPECT_EQ(f.Get(1, 0).RecordText, "X\r\nB\r\nY"); }},
        {"boundary edge", [](chaxunfrm& d) { d.Option6.Click(); }, "A", "C",
         [](QueryTest& f) { f.Put(1, 0, 22, "B").RecordExtra = "A"; },
         [](QueryTest& f) {
             EXPECT_EQ(f.Get(1, 0).RecordText, "B");
             EXPECT_EQ(f.Get(1, 0).RecordExtra, "C");
         }},
        {"slant above 1", [](chaxunfrm& d) { d.Option12.Click(); }, "0", "1.5",
         [](QueryTest& f) { f.Put(1, 0, 65); },
         [](QueryTest& f) {
             EXPECT_EQ(f.Get(1, 0).RecordType, 66);
             EXPECT_EQ(f.Get(1, 0).RecordZ2, 1.5f);
         }},
        {"slant 1", [](chaxunfrm& d) { d.Option12.Click(); }, "3", "1",
         [](QueryTest& f) { f.Put(1, 0, 66).RecordZ2 = 3; },
         [](QueryTest& f) { EXPECT_EQ(f.Get(1, 0).RecordType, 65); }},
        {"text height", [](chaxunfrm& d) { d.Option10.Click(); }, "3", "4.5",
         [](QueryTest& f) { f.Put(1, 0, 25).RecordX2 = 3; },
         [](QueryTest& f) { EXPECT_EQ(f.Get(1, 0).RecordX2, 4.5); }},
        {"font", [](chaxunfrm& d) { d.Option11.Click(); }, "宋体", "黑体",
         [](QueryTest& f) { f.Put(1, 0, 25).RecordFont = "宋体"; },
         [](QueryTest& f) { EXPECT_EQ(f.Get(1, 0).RecordFont, "黑体"); }},
        {"line type 349 on a point symbol", [](chaxunfrm& d) { d.Option9.Click(); }, "7", "349",
         [](QueryTest& f) { f.Put(1, 0, 15, "7"); },
         [](QueryTest& f) { EXPECT_EQ(f.Get(1, 0).RecordText, "349"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        app.store.ClearFrom(1, 0);
        app.store.Count(1) = 0;
        app.current.ModifiedFlag = 0;
        c.fill(*this);
        chaxunfrm& d = Dialog();
        c.choose(d);
        Query(c.oldText);
        ASSERT_EQ(HitSlots().size(), 1u);
        d.Text3.SetText(c.newText);
        d.Command4.Click();
        c.check(*this);
        EXPECT_EQ(app.current.ModifiedFlag, -1);
        EXPECT_EQ(d.QueryCursor, 1);
        EXPECT_EQ(Timer().Interval(), 500);
        EXPECT_TRUE(Messages().empty());
    }
}

TEST_F(QueryTest, ALineTypeCodeIsRefusedOnAPointSymbolAndEndsReplaceAll) {
    Put(1, 0, 12, "380");
    Put(1, 1, 15, "380");
    Put(1, 2, 42, "380");
    chaxunfrm& d = Dialog();
    d.Option9.Click();
    Query("380");
    d.Text3.SetText("400");
    d.Command5.Click();
    EXPECT_EQ(Get(1, 0).RecordText, "400");
    EXPECT_EQ(Get(1, 1).RecordText, "380");
    EXPECT_EQ(Get(1, 2).RecordText, "380");
    EXPECT_EQ(Messages(), (std::vector<std::string>{"独立地物须小于350", "未替换"}));
    EXPECT_EQ(d.QueryCursor, 2);
    EXPECT_TRUE(Timer().Active());

    // 349 on a line type is refused the other way; a code that is no number without a word.
    Query("380");
    d.Command3.Click();
    d.Command3.Click();
    d.Text3.SetText("349");
    d.Command4.Click();
    EXPECT_EQ(Messages().end()[-2], "线型须大于349");
    EXPECT_EQ(Get(1, 2).RecordText, "380");
    const std::size_t asked = Messages().size();
    d.Text3.SetText("4x");
    d.Command4.Click();
    EXPECT_EQ(Messages().size(), asked);
    EXPECT_EQ(Get(1, 2).RecordText, "380");
}

TEST_F(QueryTest, ReplaceAllRunsFromTheHitShownToTheLast) {
    for (int k = 0; k < 5; ++k) Put(1, k, 25, "a");
    chaxunfrm& d = Dialog();
    Query("a");
    d.Command3.Click();
    d.Command3.Click();
    d.Text3.SetText("b");
    redraws = 0;
    d.Command5.Click();
    EXPECT_EQ(Get(1, 0).RecordText, "a");
    for (int k = 1; k < 5; ++k) EXPECT_EQ(Get(1, k).RecordText, "b");
    EXPECT_EQ(redraws, 4);
    EXPECT_EQ(d.Command4.Caption(), "替换毕");
    EXPECT_EQ(d.QueryCursor, 0);
    EXPECT_FALSE(Timer().Active());
}

TEST_F(QueryTest, KindsWithoutARuleAndQueriesWithoutHitsChangeNothing) {
    MapRecord& r = Put(1, 0, 53, "n");
    r.RecordX1 = 7, r.RecordY4 = 5;
    chaxunfrm& d = Dialog();
    for (OptionButton* option : {&d.Option7, &d.Option13}) {
        option->Click();
        Query(option == &d.Option7 ? "7" : "5");
        ASSERT_EQ(HitSlots().size(), 1u);
        d.Text3.SetText("9");
        d.Command4.Click();
        EXPECT_EQ(d.Command1.Caption(), "查询到1 个1");
        EXPECT_EQ(d.Command3.Caption(), "下一个");
        EXPECT_EQ(Timer().Interval(), 200);
        d.Command5.Click();
    }
    EXPECT_EQ(Get(1, 0).RecordText, "n");
    EXPECT_EQ(Get(1, 0).RecordX1, 7);
    EXPECT_EQ(Get(1, 0).RecordY4, 5);
    EXPECT_EQ(app.current.ModifiedFlag, 0);

    d.Option1.Click();
    Query("nothing");
    d.Command4.Click();
    EXPECT_EQ(d.Command4.Caption(), "替换毕");
    EXPECT_FALSE(Timer().Active());
}

TEST_F(QueryTest, TheSymbolCodeShowsItsName) {
    chaxunfrm& d = Dialog();
    d.Text2.SetText("400");
    EXPECT_EQ(d.Label1.Caption(), "图式未加载");
    SymbolStandard& s = app.symbolStandard;
    s.SymbolNames.Dimension(MaxSymbolIndex);
    s.LineTypeNames.Dimension(MaxLineTypeIndex);
    s.SymbolNames.At(12) = "水井";
    s.LineTypeNames.At(51) = "陡坎";
    s.SymbolStandardLoaded = -1;
    const std::vector<std::pair<const char*, const char*>> shown = {
        {"12", "水井"}, {"400", "陡坎"}, {" 600 ", "600"}, {"-3", "600"}, {"999", "600"}, {"99999", "600"}};
    for (const auto& [code, name] : shown) {
        d.Text2.SetText(code);
        EXPECT_EQ(d.Label1.Caption(), name) << code;
    }
}

TEST_F(QueryTest, ClassesListTheirFieldsAndTheSelectionGivesTheSearch) {
    app.mapFile.AttributeFieldNames[2] = {"宽", "", "高"};
    chaxunfrm& d = Dialog();
    d.List1.SetListIndex(2);
    ASSERT_EQ(d.List2.ListCount(), 4);
    EXPECT_EQ(d.List2.List(1), "未设置");
    EXPECT_EQ(d.List2.List(3), "[挂靠词]$");
    EXPECT_EQ(app.mapFile.AttributeFieldNames[2][1], "未设置");
    EXPECT_EQ(d.QueryKind, QueryClass2);
    d.List1.SetListIndex(0);
    EXPECT_EQ(d.List2.List(5), "房高");
    EXPECT_EQ(d.QueryKind, QueryClass0);

    // Nothing selected leaves the search as it is; a selected record gives its text.
    d.Text1_Click();
    EXPECT_EQ(d.Text1.Text(), "");
    Put(2, 3, 12, "412");
    app.selection.SelectionList = {{2, 0}, {2, 3}, {0, 0}};
    d.Text1_Click();
    EXPECT_EQ(d.Text1.Text(), "412");
    EXPECT_EQ(d.Text2.Text(), "412");
    // A click keeps a typed search, and so does coming back to the dialog without a canvas pick.
    d.Text1.SetText("typed");
    d.Text1_Click();
    EXPECT_EQ(d.Text1.Text(), "typed");
    d.Form_GotFocus();
    EXPECT_EQ(d.Text1.Text(), "typed");
}

// The query's own hits are no pick: a search found stays however often the user looks at the main
// window and comes back; a record picked on the canvas in between gives the search once.
TEST_F(QueryTest, ASearchSurvivesLeavingTheDialogAndACanvasPickReplacesIt) {
    MapRecord& hit = Put(1, 0, 2, "999");
    hit.RecordX1 = 100, hit.RecordY1 = 100, hit.RecordX2 = 200, hit.RecordY2 = 100;
    hit.RecordZ1 = 12.5f;
    MapRecord& well = Put(1, 1, 2, "井");
    well.RecordX1 = 300, well.RecordY1 = 300, well.RecordX2 = 400, well.RecordY2 = 300;
    chaxunfrm& d = Dialog();
    d.Form_GotFocus();
    d.Option2.Click();
    Query("12.5");
    ASSERT_EQ(HitSlots(), std::vector<int>{0});
    for (int visit = 0; visit < 2; ++visit) {
        d.Form_LostFocus();
        d.Form_GotFocus();
        EXPECT_EQ(d.Text1.Text(), "12.5");
    }

    PickAtPoint(app, 300, 300);
    ASSERT_EQ(Hits().size(), 1u);
    d.Form_LostFocus();
    d.Form_GotFocus();
    EXPECT_EQ(d.Text1.Text(), "井");
    EXPECT_EQ(d.Text2.Text(), "井");
    d.Text1.SetText("水");
    d.Form_GotFocus();
    EXPECT_EQ(d.Text1.Text(), "水");

    // A window selection on the canvas counts as a pick too; one that selects nothing empties no box.
    SelectInWindow(app, 90, 110, 210, 90);
    d.Form_GotFocus();
    EXPECT_EQ(d.Text1.Text(), "999");
    SelectInWindow(app, 1000, 1010, 1010, 1000);
    d.Form_GotFocus();
    EXPECT_EQ(d.Text1.Text(), "999");
}

TEST_F(QueryTest, TheToolbarKeyShowsOneModelessDialog) {
    RunToolbarKey(app, "查询A");
    ASSERT_TRUE(app.queryDialog);
    chaxunfrm* first = app.queryDialog.get();
    EXPECT_TRUE(first->Visible());
    EXPECT_FALSE(first->Modal());
    EXPECT_EQ(first->Caption(), "chaxunfrm");
    EXPECT_TRUE(first->Option1.Value());
    EXPECT_EQ(first->Label1.Caption(), "天文点");
    RunToolbarKey(app, "查询A");
    EXPECT_EQ(app.queryDialog.get(), first);
}

}  // namespace
}  // namespace movra
