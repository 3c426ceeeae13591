#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "document/StoreRecord.h"
#include "editing/ToolState.h"
#include "platform/fake/RecordingSurface.h"
#include "support/RecordVertices.h"
#include "support/TestApp.h"
#include "symbols/SelfMadeSymbols.h"

namespace movra {
namespace {

using Kind = SurfacePrimitive::Kind;

// One record of a loaded library: its name, type and vertices in millimetres.
struct LibraryRecord {
    std::string name;
    int type = 2;
    std::vector<double> xy;
};

struct SelfMadeSymbolsTest : ::testing::Test {
    TestApp t;
    App& app = t.app;

    SelfMadeSymbolsTest() {
        app.store.CurrentLayer = 1;
        app.store.Count(1) = 2;
        app.current.CurrentColor = MakeRgb(0, 128, 255);
        app.current.TextSize = 10;
        app.view.ScaleFactor = 1;
    }
    // Layer 0 from slot 1000 as the loader leaves it.
    void Library(const std::vector<LibraryRecord>& records) {
        int s = 1000;
        for (const LibraryRecord& r : records) {
            MapRecord& m = app.store.At(0, s++);
            m.RecordType = static_cast<std::uint8_t>(r.type);
            m.RecordText = r.name;
            m.RecordFont = "0";
            SetVertices(m, r.xy);
        }
        app.store.Count(0) = s;
        app.selfMade.Layer0SavedCount = s;
        app.selfMade.SelfMadeSymbolsLoaded = -1;
    }
    std::vector<MapRecord> Inserted() {
        std::vector<MapRecord> out;
        for (int s = 2; s < app.store.Count(1); ++s) out.push_back(app.store.Get(1, s));
        return out;
    }
    RecordingSurface& Canvas() { return static_cast<RecordingSurface&>(t.form1.Picture1.surface()); }
};

TEST_F(SelfMadeSymbolsTest, InsertionScalesWithTextSizeAndTheMapScale) {
    Library({{"#hd", 2, {1, -1, 0, 0}}});
    struct Case {
        double textSize, scaleFactor;
        double x, y;  // where the library vertex (1, -1) lands from (100, 200)
        int pen;
    };
    // The symbol covers its millimetres of paper at every scale, as the standard's symbols do.
    for (const Case& c : {Case{10, 0.5, 100.5, 199.5, 7}, Case{10, 1, 101, 199, 7}, Case{10, 2, 102, 198, 7},
                          Case{25, 1, 102.5, 197.5, 8}, Case{0, 0.5, 100.5, 199.5, 6}}) {
        SCOPED_TRACE(c.textSize * 100 + c.scaleFactor);
        app.store.Count(1) = 2;
        app.current.TextSize = c.textSize;
        app.view.ScaleFactor = c.scaleFactor;
        InsertSelfMadeSymbol(app, 100, 200, "#hd");
        const auto got = Inserted();
        ASSERT_EQ(got.size(), 1u);
        EXPECT_FLOAT_EQ(got[0].RecordX1, c.x);
        EXPECT_FLOAT_EQ(got[0].RecordY1, c.y);
        EXPECT_DOUBLE_EQ(got[0].RecordX2, 100) << "the centre goes to the clicked point";
        EXPECT_EQ(got[0].RecordPen, c.pen);
        EXPECT_EQ(got[0].RecordColor, app.current.CurrentColor);
    }
    EXPECT_EQ(app.current.ModifiedFlag, -1);
}

// The self-made symbol tool of the canvas: a first click starts the preview under the pointer, the
// next inserts the symbol named on the command line where the user clicks.
TEST_F(SelfMadeSymbolsTest, TheSymbolToolInsertsTheNamedSymbolAtTheClick) {
    Library({{"#hd", 2, {1, -1, 0, 0}}});
    app.tool.CommandMode = ModeSelfMadeSymbol;
    app.tool.SnapOn = 0;
    t.form1.Text8.SetText("#hd");
    t.form1.Picture1.MouseDown(LeftButton, 0, 50, 50);
    t.form1.Picture1.MouseUp(LeftButton, 0, 50, 50);
    EXPECT_TRUE(Inserted().empty());
    t.form1.Picture1.MouseMove(0, 0, 80, 120);
    t.form1.Picture1.MouseDown(LeftButton, 0, 100, 200);
    t.form1.Picture1.MouseUp(LeftButton, 0, 100, 200);
    const auto got = Inserted();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_FLOAT_EQ(got[0].RecordX1, 101);
    EXPECT_FLOAT_EQ(got[0].RecordY1, 199);
}

TEST_F(SelfMadeSymbolsTest, NamesMatchWholeIgnoringCaseAndOnlyTheFirstRun) {
    Library({{"#hdx", 2, {0, 0, 1, 1}},
              {"#hdx", 2, {0, 0, 1, 1}},
              {"#hd", 6, {0, 0, 1, 0, 1, 1, 0, 1}},
              {"#xx", 2, {0, 0, 1, 1}},
              {"#hd", 2, {5, 5, 6, 6}}});
    struct Case {
        const char* name;
        std::size_t records;
    };
    for (const Case& c : {Case{"#HD", 1}, Case{"#hd", 1}, Case{"#hdx", 2}, Case{"#h", 0}, Case{"", 0}}) {
        SCOPED_TRACE(c.name);
        app.store.Count(1) = 2;
        InsertSelfMadeSymbol(app, 0, 0, c.name);
        EXPECT_EQ(Inserted().size(), c.records);
    }
    // Nothing of the library is found once it is unloaded.
    app.selfMade.SelfMadeSymbolsLoaded = 0;
    app.store.Count(1) = 2;
    InsertSelfMadeSymbol(app, 0, 0, "#hd");
    EXPECT_TRUE(Inserted().empty());
}

TEST_F(SelfMadeSymbolsTest, EveryElementTypeIsPlacedAndChainsStayInOrder) {
    Library({{"#all", 5, {0, 0, 1, 0, 1, 1, 0, 1}},
              {"#all", 1, {0, 2}},
              {"#all", 7, {1, 1, 2, 0.5}},
              {"#all", 8, {-1, -1, 1, 1, 0.25, 3}},
              {"#all", 0, {9, 9}},
              {"#all", 3, {0, 0, 1, 0, 2, 0}}});
    app.view.ScaleFactor = 2;
    InsertSelfMadeSymbol(app, 10, 20, "#all");
    const auto got = Inserted();
    ASSERT_EQ(got.size(), 5u) << "the type-0 record is passed over";
    EXPECT_EQ(got[0].RecordType, 5);
    EXPECT_DOUBLE_EQ(got[0].RecordX3, 12);
    EXPECT_DOUBLE_EQ(got[0].RecordY4, 22);
    EXPECT_EQ(got[1].RecordType, 1);
    EXPECT_DOUBLE_EQ(got[1].RecordY1, 24);
    EXPECT_EQ(got[2].RecordType, 7);
    EXPECT_DOUBLE_EQ(got[2].RecordX1, 12);
    EXPECT_DOUBLE_EQ(got[2].RecordX2, 4) << "radius scaled";
    EXPECT_DOUBLE_EQ(got[2].RecordY2, 0.5) << "aspect kept";
    EXPECT_EQ(got[3].RecordType, 8);
    EXPECT_DOUBLE_EQ(got[3].RecordX3, 0.25) << "angles kept";
    EXPECT_DOUBLE_EQ(got[3].RecordY3, 3);
    EXPECT_EQ(got[4].RecordType, 3);
    EXPECT_DOUBLE_EQ(got[4].RecordX3, 14);
    EXPECT_DOUBLE_EQ(got[4].RecordX4, 0) << "vertex 4 of a three-vertex line is not written";

    // The preview draws the same shapes, the chain end excepted, in the current colour.
    Canvas().ClearRecords();
    app.current.TextSize = 25;
    PreviewSelfMadeSymbol(app, 10, 20, "#all");
    EXPECT_EQ(Canvas().PrimitivesOf(Kind::Line).size(), 4u + 2u);
    const auto circles = Canvas().PrimitivesOf(Kind::Circle);
    ASSERT_EQ(circles.size(), 2u);
    EXPECT_DOUBLE_EQ(circles[0].radius, 2 * 2.5 * 2);
    EXPECT_FALSE(circles[0].hasArc);
    EXPECT_TRUE(circles[1].hasArc);
    EXPECT_DOUBLE_EQ(circles[1].end, 3);
    for (const SurfacePrimitive& p : Canvas().primitives) {
        EXPECT_EQ(p.color, app.current.CurrentColor);
        EXPECT_EQ(p.drawWidth, 3);
    }
}

TEST_F(SelfMadeSymbolsTest, InsertionGrowsTheLayerAndNeverWritesPastItsCapacity) {
    Library({{"#three", 2, {0, 0, 1, 1}}, {"#three", 2, {0, 0, 1, 1}}, {"#three", 2, {0, 0, 1, 1}}});
    const int capacity = app.store.LayerCapacity;
    app.store.Count(1) = capacity - 1;
    InsertSelfMadeSymbol(app, 0, 0, "#three");
    EXPECT_GT(app.store.LayerCapacity, capacity);
    EXPECT_EQ(app.store.Count(1), capacity + 2);
    EXPECT_EQ(app.store.Get(1, capacity + 1).RecordType, 2);
}

TEST_F(SelfMadeSymbolsTest, StagingCopiesTheSymbolAndListsItsSlots) {
    std::vector<LibraryRecord> lib{{"#one", 2, {1, 2, 3, 4}}};
    for (int k = 0; k < 50; ++k) lib.push_back({"#other", 2, {0, 0, 1, 1}});
    for (int k = 0; k < 60; ++k) lib.push_back({"#many", 2, {double(k), 0, 1, 1}});
    lib.push_back({"#last", 7, {0, 0, 1, 1}});
    lib.push_back({"#tail", 2, {0, 0, 1, 1}});
    Library(lib);
    app.store.At(0, 960).RecordType = 4;

    ASSERT_TRUE(StageSelfMadeSymbol(app, "#ONE"));
    auto& list = app.selection.SelectionList;
    EXPECT_EQ(list[0].Layer, 2);
    EXPECT_EQ(list[1].Layer, 0);
    EXPECT_EQ(list[1].Slot, 1000);
    EXPECT_EQ(app.store.Get(0, 900).RecordText, "#one");
    EXPECT_DOUBLE_EQ(app.store.Get(0, 900).RecordY2, 4);
    EXPECT_EQ(app.store.Get(0, 960).RecordType, 0) << "the scratch slots are cleared";

    // At most 52 records: the scan gives up 50 slots after the second match.
    ASSERT_TRUE(StageSelfMadeSymbol(app, "#many"));
    EXPECT_EQ(list[0].Layer, 53);
    EXPECT_EQ(list[52].Slot, 1051 + 51);
    EXPECT_DOUBLE_EQ(app.store.Get(0, 951).RecordX1, 51);
    EXPECT_EQ(app.store.Get(0, 952).RecordType, 0);

    // A one-record symbol near the end of the library is found too.
    ASSERT_TRUE(StageSelfMadeSymbol(app, "#last"));
    EXPECT_EQ(list[0].Layer, 2);
    EXPECT_EQ(app.store.Get(0, 900).RecordType, 7);

    EXPECT_FALSE(StageSelfMadeSymbol(app, "#none"));
    EXPECT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Layer, 0);
}

TEST_F(SelfMadeSymbolsTest, StagingOffersToLoadAnUnloadedLibrary) {
    t.platform.promptScript.QueueAnswer(AnswerNo);
    EXPECT_FALSE(StageSelfMadeSymbol(app, "#hd"));
    const PromptQuestion& asked = t.platform.promptScript.questions.at(0);
    EXPECT_EQ(asked.text, "自制符号未加载，要加载吗？");
    EXPECT_EQ(asked.title, "加载自制符号");
    EXPECT_EQ(asked.style, MsgYesNo);
    EXPECT_EQ(app.selection.SelectionList.size(), 2u);
}

}  // namespace
}  // namespace movra
