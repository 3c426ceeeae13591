#include <gtest/gtest.h>

#include <cmath>

#include "SheetFilesFixture.h"
#include "document/TextPlacement.h"
#include "sheets/SheetFrameTemplate.h"

namespace movra {
namespace {

using namespace movra::test;

const MapRecord& Item(const App& app, int i) { return app.store.Get(0, Layer0Slots::FrameTemplateFirst + i); }

TEST(FrameLabelText, ResolvesEveryCodeAtASheetCorner) {
    TestApp t;
    MakeSheetMap(t.app, 500);  // S = 250
    const struct {
        const char* code;
        const char* text;
    } cases[] = {
        {"0", "56.00─12.00"}, {"1", "56.25-11.75"}, {"2", "56.00-11.75"}, {"3", "55.75-11.75"},
        {"4", "56.25-12.00"}, {"5", "55.75-12.00"}, {"6", "56.25-12.25"}, {"7", "56.00-12.25"},
        {"8", "55.75-12.25"}, {"9", "12.00"},       {"10", "56.00"},      {"11", "12.00"},
        {"12", "56.25"},      {"13", "12.25"},      {"14", "56.25"},      {"15", "12.25"},
        {"16", "56.00"},      {"17", ""},           {"", ""},             {"x", ""},
        {" 1", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FrameLabelText(t.app, c.code, 512000, 3456000), c.text) << "code " << c.code;
    }
}

TEST(FrameLabelText, ShortDigitsAreWidened) {
    // Int(x0 / 10) = 5: the last four characters are "5", high part "05", low part "5".
    EXPECT_EQ(KilometreParts(55).high, "05");
    EXPECT_EQ(KilometreParts(55).low, "5");
    EXPECT_EQ(KilometreParts(3456000).high, "56");
    EXPECT_EQ(KilometreParts(3456000).low, "00");
    // A coordinate that is no number gives digits, not a crash.
    TestApp t;
    MakeSheetMap(t.app, 1000);
    EXPECT_NO_THROW(FrameLabelText(t.app, "0", std::nan(""), 1e300));
}

TEST(SheetFrameTemplate, BuildsTheTabledItemsAtTheMapScale) {
    TestApp t;
    MakeSheetMap(t.app, 1000);
    t.app.view.ScaleFactor = 3;  // whatever it was, the builder sets it from the scale
    ASSERT_TRUE(BuildSheetFrameTemplate(t.app, SampleFrameTexts()));
    const App& app = t.app;

    EXPECT_EQ(app.sheets.FrameItemCount, 66);
    EXPECT_DOUBLE_EQ(app.view.ScaleFactor, 1);
    EXPECT_DOUBLE_EQ(SheetSide(app), 500);
    for (int i = 0; i <= 66; ++i) EXPECT_EQ(Item(app, i).RecordColor, ColorIndexToRgb(7)) << i;

    const MapRecord& inner = Item(app, 0);
    EXPECT_EQ(inner.RecordType, 6);
    EXPECT_EQ(inner.RecordPen, 7);
    EXPECT_EQ(inner.RecordFont, "黑体");
    EXPECT_EQ(std::vector<double>({inner.RecordX1, inner.RecordY1, inner.RecordX3, inner.RecordY3}),
              std::vector<double>({0, 0, 500, 500}));
    EXPECT_EQ(Item(app, 1).RecordPen, 9);
    EXPECT_EQ(Item(app, 1).RecordX1, -12);
    EXPECT_EQ(Item(app, 2).RecordPen, 7);
    // A grid cross: item 21 about (100, 100).
    const MapRecord& cross = Item(app, 21);
    EXPECT_EQ(cross.RecordType, 52);
    EXPECT_EQ(std::vector<double>({cross.RecordX1, cross.RecordY1, cross.RecordX2, cross.RecordX3, cross.RecordY3,
                                   cross.RecordY4}),
              std::vector<double>({95, 100, 105, 100, 95, 105}));
    EXPECT_EQ(Item(app, 36).RecordX1, 395);  // the last cross, about (400, 400)
    EXPECT_EQ(Item(app, 36).RecordY1, 400);

    const MapRecord& scale = Item(app, 39);
    EXPECT_EQ(scale.RecordType, 65);
    EXPECT_EQ(scale.RecordText, "1:1000");
    EXPECT_EQ(scale.RecordX2, 16);
    EXPECT_EQ(scale.RecordPen, 16);
    EXPECT_EQ(scale.RecordY3, 6);

    const MapRecord& surveyor = Item(app, 45);
    EXPECT_EQ(surveyor.RecordText, "测量员  李明");
    EXPECT_EQ(surveyor.RecordY3, DisplayWidth("测量员  李明"));
    EXPECT_EQ(Item(app, 49).RecordText, "附注： ");
    EXPECT_EQ(Item(app, 48).RecordText, "Velmar");
    EXPECT_FLOAT_EQ(Item(app, 48).RecordZ2, -90);
    EXPECT_DOUBLE_EQ(Item(app, 48).RecordY2, 0.68);

    const MapRecord& number = Item(app, 50);
    EXPECT_EQ(number.RecordType, 69);
    EXPECT_EQ(number.RecordText, "0");
    EXPECT_EQ(number.RecordX1, 232);
    EXPECT_EQ(number.RecordY1, 522);
    EXPECT_EQ(number.RecordX2, 22);
    for (int code = 1; code <= 16; ++code) {
        EXPECT_EQ(Item(app, 50 + code).RecordText, std::to_string(code));
        EXPECT_EQ(Item(app, 50 + code).RecordX2, code <= 8 ? 8 : 10);
    }
    EXPECT_EQ(Item(app, 66).RecordX1, 504);
    EXPECT_EQ(Item(app, 66).RecordY1, 4);
    // Nothing is written beyond the template.
    EXPECT_EQ(app.store.Get(0, Layer0Slots::FrameTemplateLast + 1).RecordType, 0);
}

TEST(SheetFrameTemplate, AtHalfTheScalePositionsHalveAndTextSizesStay) {
    TestApp big, half;
    MakeSheetMap(big.app, 1000);
    MakeSheetMap(half.app, 500);
    ASSERT_TRUE(BuildSheetFrameTemplate(big.app, SampleFrameTexts()));
    ASSERT_TRUE(BuildSheetFrameTemplate(half.app, SampleFrameTexts()));
    for (int i = 0; i <= 66; ++i) {
        const MapRecord& a = Item(big.app, i);
        const MapRecord& b = Item(half.app, i);
        EXPECT_EQ(b.RecordType, a.RecordType) << i;
        EXPECT_DOUBLE_EQ(b.RecordX1, a.RecordX1 / 2) << i;
        EXPECT_DOUBLE_EQ(b.RecordY1, a.RecordY1 / 2) << i;
        if (a.RecordType == 6 || a.RecordType == 52) {
            EXPECT_DOUBLE_EQ(b.RecordX4, a.RecordX4 / 2) << i;
            EXPECT_DOUBLE_EQ(b.RecordY4, a.RecordY4 / 2) << i;
        } else {
            EXPECT_EQ(b.RecordX2, a.RecordX2) << i;  // the size
            EXPECT_EQ(b.RecordPen, a.RecordPen) << i;
        }
    }
    EXPECT_EQ(Item(half.app, 39).RecordText, "1:500");
}

TEST(SheetFrameTemplate, RefusesWithoutAScale) {
    for (double denominator : {0.0, -500.0}) {
        TestApp t;
        MakeSheetMap(t.app, denominator);
        t.app.view.ScaleFactor = 0.5;
        EXPECT_FALSE(BuildSheetFrameTemplate(t.app, SampleFrameTexts()));
        EXPECT_EQ(t.platform.promptScript.LastText(), FrameScaleNotSetMessage);
        EXPECT_EQ(t.app.sheets.FrameItemCount, 0);
        EXPECT_EQ(Item(t.app, 0).RecordType, 0);
        EXPECT_DOUBLE_EQ(t.app.view.ScaleFactor, 0.5);
    }
}

TEST(SheetFrameTemplate, IsGoneOnceTheStoreIsDimensionedAnew) {
    TestApp t;
    MakeSheetMap(t.app, 1000);
    ASSERT_TRUE(BuildSheetFrameTemplate(t.app, SampleFrameTexts()));
    EXPECT_TRUE(FrameTemplateBuilt(t.app));
    新建层(t.app);  // as opening a map does
    EXPECT_FALSE(FrameTemplateBuilt(t.app));
    EXPECT_EQ(t.app.sheets.FrameItemCount, 0);
}

TEST(SheetFrameTemplate, GrowsASmallStoreToHoldTheTemplate) {
    TestApp t;
    MakeSheetMap(t.app, 1000);
    t.app.store.LayerCapacity = 300;
    t.app.store.DimensionKeep(t.app.store.LayerCount);
    ASSERT_TRUE(BuildSheetFrameTemplate(t.app, SampleFrameTexts()));
    EXPECT_GE(t.app.store.LayerCapacity, Layer0Slots::FrameTemplateLast);
    EXPECT_TRUE(FrameTemplateBuilt(t.app));
}

}  // namespace
}  // namespace movra
