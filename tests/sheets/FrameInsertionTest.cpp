#include <gtest/gtest.h>

#include <vector>

#include "SheetFilesFixture.h"
#include "sheets/FrameInsertion.h"

namespace movra {
namespace {

using namespace movra::test;

constexpr const char* SameSheetQuestion =
    "已加图廓，要覆盖吗？，y/覆盖，n/不动，esc/删除3456000-512000图廓";

class FrameInsertionTest : public ::testing::Test {
protected:
    FrameInsertionTest() {
        MakeSheetMap(app, 1000);
        for (int i = 0; i < 5; ++i) AddTo(app, 1, 15, {512010.0 + i, 3456010.0 + i}, "s" + std::to_string(i));
        own = Layer1();
        EXPECT_TRUE(BuildSheetFrameTemplate(app, SampleFrameTexts()));
    }

    std::vector<MapRecord> Layer1() const {
        std::vector<MapRecord> records;
        for (int s = 0; s < app.store.Count(1); ++s) records.push_back(app.store.Get(1, s));
        return records;
    }
    // The records behind the frame: the layer's own, in their order.
    std::vector<MapRecord> Behind(int frameItems) const {
        const auto all = Layer1();
        return {all.begin() + frameItems, all.end()};
    }

    TestApp t;
    App& app = t.app;
    std::vector<MapRecord> own;
};

TEST_F(FrameInsertionTest, PutsTheFrameInFrontOfTheLayer) {
    app.current.ModifiedFlag = 0;
    AddSheetFrame(app, 512100, 3456100);
    const auto& store = app.store;
    ASSERT_EQ(store.Count(1), 72);
    const MapRecord& inner = store.Get(1, 0);
    EXPECT_EQ(inner.RecordType, 6);
    EXPECT_EQ(std::vector<double>({inner.RecordX1, inner.RecordY1, inner.RecordX3, inner.RecordY3}),
              std::vector<double>({512000, 3456000, 512500, 3456500}));
    const MapRecord& number = store.Get(1, 50);
    EXPECT_EQ(number.RecordType, 66);
    EXPECT_EQ(number.RecordText, "56.00─12.00");
    EXPECT_EQ(number.RecordX1, 512232);
    EXPECT_EQ(number.RecordY1, 3456522);
    EXPECT_EQ(number.RecordY3, 12);  // the box-drawing line is a wide character
    EXPECT_EQ(store.Get(1, 39).RecordX1, 512240);  // a text moves by its anchor only
    EXPECT_EQ(store.Get(1, 39).RecordX2, 16);
    EXPECT_EQ(Behind(67), own);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
}

TEST_F(FrameInsertionTest, TheSameSheetAsksFirst) {
    AddSheetFrame(app, 512100, 3456100);
    const auto framed = Layer1();

    // Yes writes the frame again over a changed item; No leaves the change; Cancel removes it.
    for (int answer : {AnswerYes, AnswerNo, AnswerCancel}) {
        SCOPED_TRACE(answer);
        app.store.At(1, 50).RecordText = "changed";
        const auto changed = Layer1();
        t.platform.promptScript.QueueAnswer(answer);
        AddSheetFrame(app, 512499, 3456001);
        const PromptQuestion& q = t.platform.promptScript.questions.back();
        EXPECT_EQ(q.text, SameSheetQuestion);
        EXPECT_EQ(q.title, "加饰图廓");
        EXPECT_EQ(q.style & 7, MsgYesNoCancel);
        if (answer == AnswerYes) EXPECT_EQ(Layer1(), framed);
        if (answer == AnswerNo) EXPECT_EQ(Layer1(), changed);
        if (answer == AnswerCancel) EXPECT_EQ(Layer1(), own);
    }
}

TEST_F(FrameInsertionTest, AnotherSheetReplacesTheFrameWithoutAsking) {
    AddSheetFrame(app, 512100, 3456100);
    AddSheetFrame(app, 511900, 3456600);
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
    ASSERT_EQ(app.store.Count(1), 72);
    EXPECT_EQ(app.store.Get(1, 0).RecordX1, 511500);
    EXPECT_EQ(app.store.Get(1, 0).RecordY1, 3456500);
    EXPECT_EQ(app.store.Get(1, 50).RecordText, "56.50─11.50");
    EXPECT_EQ(Behind(67), own);
}

TEST_F(FrameInsertionTest, QuadrilateralsOfTheUsersOwnStay) {
    // Three closed quadrilaterals at the head of the layer: not a frame, whatever their types say.
    app.store.ClearFrom(1, 0);
    app.store.Count(1) = 0;
    AddTo(app, 1, 6, {512000, 3456000, 512500, 3456000, 512500, 3456500, 512000, 3456500});
    AddTo(app, 1, 6, {0, 0, 10, 0, 10, 10, 0, 10});
    AddTo(app, 1, 6, {5, 5, 6, 5, 6, 6, 5, 6});
    for (int i = 0; i < 70; ++i) AddTo(app, 1, 15, {512010.0 + i, 3456010.0});
    own = Layer1();
    EXPECT_EQ(FrameExistsAt(app, 1, 512000, 3456000), -1);
    AddSheetFrame(app, 512100, 3456100);
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
    EXPECT_EQ(app.store.Count(1), static_cast<int>(own.size()) + 67);
    EXPECT_EQ(Behind(67), own);
}

TEST_F(FrameInsertionTest, FrameExistsAtTellsThisSheetAnotherAndNone) {
    EXPECT_EQ(FrameExistsAt(app, 1, 512000, 3456000), -1);
    AddSheetFrame(app, 512100, 3456100);
    EXPECT_EQ(FrameExistsAt(app, 1, 512000, 3456000), 0);
    EXPECT_EQ(FrameExistsAt(app, 1, 512500, 3456000), 1);
    // A frame drawn at another scale is not this scale's frame.
    app.view.ScaleFactor = 0.5;
    EXPECT_EQ(FrameExistsAt(app, 1, 512000, 3456000), -1);
    app.view.ScaleFactor = 1;
    // A frame whose outer frame was moved is no longer recognised.
    app.store.At(1, 1).RecordX1 += 3;
    EXPECT_EQ(FrameExistsAt(app, 1, 512000, 3456000), -1);
}

TEST_F(FrameInsertionTest, NothingWithoutAScaleOrATemplate) {
    app.view.ProjectParams[0] = 0;
    AddSheetFrame(app, 512100, 3456100);
    EXPECT_EQ(Layer1(), own);

    app.view.ProjectParams[0] = 1000;
    app.sheets.FrameItemCount = 0;
    AddSheetFrame(app, 512100, 3456100);
    EXPECT_EQ(Layer1(), own);
}

}  // namespace
}  // namespace movra
