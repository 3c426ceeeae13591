#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "App.h"
#include "document/StoreRecord.h"
#include "document/TextPlacement.h"
#include "platform/fake/FakePlatform.h"

namespace movra {
namespace {

std::string Repeat(const std::string& piece, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += piece;
    return out;
}

const std::string Indent = "    ";

TEST(TextPlacement, DisplayWidthCountsWideCharactersTwice) {
    struct Case {
        std::string text;
        int width;
    };
    for (const Case& c : {Case{"abc", 3}, {"中文", 4}, {"a b", 3}, {"\r", 2}, {"", 0},
                          {"A中1", 4}, {"~\x7f", 2}, {"\t", 2}, {"（", 2}}) {
        EXPECT_EQ(DisplayWidth(c.text), c.width) << c.text;
    }
    // Wider than a 16-bit number: the failure width.
    EXPECT_EQ(DisplayWidth(Repeat("中", 20000)), 3);
}

class TextPlacementParagraph : public ::testing::Test {
protected:
    TextPlacementParagraph() {
        app.store.Count(1) = 1;  // slot 0 of a drawing layer holds no record
        app.current.TextSize = 10;
        app.view.ScaleFactor = 0.5;  // a line step of -(10 / 2.5 + 0.5) = -4.5
        app.current.CurrentColor = 255;
        app.current.CurrentPen = 9;
        app.current.CurrentFont = "黑体";
    }
    const MapRecord& Slot(int slot) { return app.store.Get(1, slot); }

    FakePlatform fake;
    App app{fake};
};

TEST_F(TextPlacementParagraph, SplitFirstLineCutsAtTheWrapWidth) {
    struct Case {
        const char* what;
        int wrap;
        std::string text, piece, rest;
    };
    const std::string letters60 = Repeat("x", 59) + "y";
    for (const Case& c : {
             Case{"short enough: untouched", 32, Indent + Repeat("中", 10), Indent + Repeat("中", 10),
                  Indent + Repeat("中", 10)},
             {"40 Chinese characters", 32, Indent + Repeat("中", 40), Indent + Repeat("中", 30),
              Repeat("中", 10)},
             {"60 letters: width 32 at the 63rd", 32, Indent + letters60, Indent + Repeat("x", 59), "y"},
             {"50 letters never reach the width", 32, Indent + Repeat("x", 50), Indent + Repeat("x", 50), ""},
             {"an odd narrow character counts whole", 5, "a中中中中中", "a中中中中", "中"},
             {"two narrow characters count one", 5, "ab中中中中中", "ab中中中中", "中"},
         }) {
        app.textPlacement.ParagraphWrapColumns = static_cast<std::int16_t>(c.wrap);
        std::string text = c.text;
        EXPECT_EQ(SplitFirstLine(app, text), c.piece) << c.what;
        EXPECT_EQ(text, c.rest) << c.what;
    }
}

TEST_F(TextPlacementParagraph, FortyChineseCharactersBecomeTwoRecordsOneStepApart) {
    app.textPlacement.PendingTextLines = {Repeat("测", 30) + Repeat("量", 10)};
    PlaceParagraph(app, 100.25f, 200.5f);

    ASSERT_EQ(app.store.Count(1), 3);
    EXPECT_EQ(app.textPlacement.ParagraphWrapColumns, 32);
    const MapRecord& first = Slot(1);
    const MapRecord& second = Slot(2);
    EXPECT_EQ(first.RecordText, Indent + Repeat("测", 30));
    EXPECT_EQ(second.RecordText, Repeat("量", 10));
    for (const MapRecord* r : {&first, &second}) {
        EXPECT_EQ(r->RecordType, 65);
        EXPECT_EQ(r->RecordX1, 100.25);
        EXPECT_EQ(r->RecordX2, 10);
        EXPECT_EQ(r->RecordY2, 0);
        EXPECT_EQ(r->RecordX3, 0);
        EXPECT_EQ(r->RecordY4, 0);
        EXPECT_EQ(r->RecordColor, 255);
        EXPECT_EQ(r->RecordPen, 9);
        EXPECT_EQ(r->RecordFont, "黑体");
    }
    EXPECT_EQ(first.RecordY1, 200.5);
    EXPECT_EQ(second.RecordY1, 196.0);
    EXPECT_EQ(app.textPlacement.PendingTextLines, std::vector<std::string>{""});
}

TEST_F(TextPlacementParagraph, LinesFollowOneAnotherOneStepLower) {
    app.textPlacement.ParagraphWrapColumns = 32;
    app.textPlacement.PendingTextLines = {"", Repeat("a", 50), Repeat("b", 60)};
    PlaceParagraph(app, 0, 1000);

    ASSERT_EQ(app.store.Count(1), 5);
    const std::vector<std::string> texts = {Indent, Indent + Repeat("a", 50), Indent + Repeat("b", 59), "b"};
    float y = 1000;
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Slot(1 + i).RecordText, texts[static_cast<size_t>(i)]) << i;
        EXPECT_EQ(Slot(1 + i).RecordY1, static_cast<double>(y)) << i;  // kept as a single
        y += -4.5f;
    }
}

TEST_F(TextPlacementParagraph, ALineThatRepeatsItsFirstPartIsStoredWhole) {
    // Wrap 4: a piece is seven narrow characters; the rest after the first cut equals the first
    // piece but for letter case.
    app.textPlacement.ParagraphWrapColumns = 4;
    app.textPlacement.PendingTextLines = {"abc    ABC", "z"};
    PlaceParagraph(app, 0, 0);
    ASSERT_EQ(app.store.Count(1), 4);
    EXPECT_EQ(Slot(1).RecordText, "    abc");
    EXPECT_EQ(Slot(2).RecordText, "    ABC");
    EXPECT_EQ(Slot(3).RecordText, "    z");
}

TEST_F(TextPlacementParagraph, TheLayerGrowsBeforeARecordWouldNotFit) {
    app.store.Count(1) = 4997;
    app.textPlacement.PendingTextLines = {Repeat("中", 100)};  // four pieces
    PlaceParagraph(app, 0, 0);
    EXPECT_EQ(app.store.LayerCapacity, 6000);
    EXPECT_EQ(app.store.Count(1), 5001);
    EXPECT_EQ(Slot(5000).RecordText, Repeat("中", 6));
    EXPECT_TRUE(fake.promptScript.questions.empty());
}

}  // namespace
}  // namespace movra
