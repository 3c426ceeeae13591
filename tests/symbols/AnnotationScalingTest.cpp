#include <gtest/gtest.h>

#include "shell/szForm3.h"
#include "support/TestApp.h"
#include "symbols/AnnotationScaling.h"

namespace movra {
namespace {

struct AnnotationScalingTest : ::testing::Test {
    TestApp t;
    App& app = t.app;
    static constexpr int Types[] = {25, 61, 62, 63, 64, 65, 66, 67, 68, 2, 125};
    static constexpr int N = sizeof(Types) / sizeof(Types[0]);
    void SetUp() override {
        t.form1.Load();
        app.store.DimensionKeep(3);
        app.store.LayerCount = 3;
        // Layer 1 on, layer 2 off but locked, layer 3 off.
        app.store.LayerOnFlag = {};
        app.store.LayerLockFlag = {};
        app.store.LayerOnFlag[1] = -1;
        app.store.LayerLockFlag[2] = -1;
        for (int layer = 1; layer <= 3; ++layer) {
            for (int k = 0; k < N; ++k) {
                MapRecord& r = app.store.At(layer, k);
                r.RecordType = static_cast<std::uint8_t>(Types[k]);
                r.RecordX2 = 3;
                r.RecordY2 = 0.7;
            }
            app.store.Count(layer) = N;
        }
        app.current.ModifiedFlag = 0;
    }
    szForm3& Settings() { return t.form1.SettingsWindow(); }
    void Choose(const char* factor) {
        ListBox& list = Settings().List3;
        for (int i = 0; i < list.ListCount(); ++i)
            if (list.List(i) == factor) list.SetListIndex(i);
        ASSERT_EQ(list.Text(), factor);
    }
    // Chooses the factor in a shown settings window and answers Yes to the question.
    void Scale(const char* factor) {
        Settings().Show();
        Choose(factor);
        t.platform.promptScript.QueueAnswer(AnswerYes);
        Settings().Label16.DblClick();
    }
    double Height(int layer, int k) { return app.store.Get(layer, k).RecordX2; }
};

TEST_F(AnnotationScalingTest, ScalesTheAnnotationsOfTheDrawnLayers) {
    Settings().Show();
    EXPECT_EQ(Settings().List3.ListCount(), 21);
    Choose("2.0");
    t.platform.promptScript.QueueAnswer(AnswerYes);
    Settings().Label16.DblClick();
    const auto& questions = t.platform.promptScript.questions;
    ASSERT_EQ(questions.size(), 2u);
    EXPECT_EQ(questions[0].text, "要进行(全体)字体缩放吗？");
    EXPECT_EQ(questions[0].title, "字体缩放");
    EXPECT_EQ(questions[1].text, "(全体)字体缩放完毕,请刷新！");
    for (int layer = 1; layer <= 3; ++layer) {
        for (int k = 0; k < N; ++k) {
            SCOPED_TRACE(testing::Message() << "layer " << layer << " type " << Types[k]);
            const bool scaled = layer != 3 && IsScaledAnnotationType(Types[k]);
            EXPECT_EQ(Height(layer, k), scaled ? 6 : 3);
            EXPECT_EQ(app.store.Get(layer, k).RecordY2, 0.7);
        }
    }
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    EXPECT_FALSE(t.form1.SettingsWindow().Loaded() && t.form1.SettingsWindow().Visible());
}

TEST_F(AnnotationScalingTest, FactorsAreSinglesAndRepeatedRunsCompound) {
    Scale("0.55");
    EXPECT_EQ(Height(1, 0), 3 * static_cast<double>(0.55f));
    EXPECT_NE(Height(1, 0), 3 * 0.55);
    app.store.At(1, 0).RecordX2 = 4;
    Scale("0.5");
    Scale("0.5");
    EXPECT_EQ(Height(1, 0), 1);
}

TEST_F(AnnotationScalingTest, EveryLayerUpToTheLastIsScaledOnce) {
    app.store.DimensionKeep(255);
    app.store.LayerCount = 255;
    for (int layer = 1; layer <= 255; ++layer) {
        app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = -1;
        MapRecord& r = app.store.At(layer, 0);
        r.RecordType = 25;
        r.RecordX2 = 3;
        app.store.Count(layer) = 1;
    }
    Scale("2.0");
    for (int layer = 1; layer <= 255; ++layer) ASSERT_EQ(Height(layer, 0), 6) << "layer " << layer;
}

TEST_F(AnnotationScalingTest, OneNoChoiceAndNoChangeNothing) {
    Settings().Show();
    Choose("1");
    Settings().Label16.DblClick();
    EXPECT_EQ(Settings().Label16.Caption(), "系数为1不动！");
    EXPECT_TRUE(t.platform.promptScript.questions.empty());

    Settings().List3.SetListIndex(-1);
    t.platform.promptScript.QueueAnswer(AnswerYes);
    Settings().Label16.DblClick();
    EXPECT_EQ(t.platform.promptScript.LastText(), "要进行(全体)字体缩放吗？");
    EXPECT_EQ(Settings().Label16.Caption(), "先选系数！");
    EXPECT_TRUE(Settings().Visible());

    Choose("0.5");
    t.platform.promptScript.QueueAnswer(AnswerNo);
    Settings().Label16.DblClick();
    EXPECT_EQ(Height(1, 0), 3);
    EXPECT_EQ(app.current.ModifiedFlag, 0);
}

}  // namespace
}  // namespace movra
