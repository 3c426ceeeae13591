#include "display/TextPreviews.h"

#include "display/DisplayFixture.h"

namespace movra {
namespace {

class TextPreviews : public DisplayTest {
protected:
    std::vector<std::pair<std::string, double>> Printed() const {
        std::vector<std::pair<std::string, double>> out;
        for (const auto& p : Of(Kind::Print)) out.emplace_back(p.text, p.y1);
        return out;
    }
};

TEST_F(TextPreviews, ParagraphPreviewIndentsWrapsAndStepsDown) {
    app.current.TextSize = 5;
    app.view.ScaleFactor = 1;  // step 5 / 2.5 + 1 = 3
    app.view.DisplayZoom = 2;
    app.textPlacement.ParagraphWrapColumns = 0;
    app.textPlacement.PendingTextLines = {"", "短行", std::string(40, 'a') + "测量"};
    DrawTextPreview(app, 10, 100, 0x00FF00);

    EXPECT_EQ(app.textPlacement.ParagraphWrapColumns, 32);
    const auto printed = Printed();
    // Four blanks and forty letters count 22 full-width columns, the two wide characters 2 more:
    // the line fits.
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(printed[0], (std::pair<std::string, double>{"    ", 100}));
    EXPECT_EQ(printed[1], (std::pair<std::string, double>{"    短行", 97}));
    EXPECT_EQ(printed[2].second, 94);
    for (const auto& p : Of(Kind::Print)) {
        EXPECT_EQ(p.fontName, "宋体");
        EXPECT_EQ(p.fontSize, 10);
        EXPECT_EQ(p.color, 0x00FF00);
        EXPECT_NEAR(p.x1, 10, 1e-9);
    }

    // A line longer than the wrap width takes as many lines as it is cut into.
    canvas.ClearRecords();
    app.textPlacement.ParagraphWrapColumns = 4;
    app.textPlacement.PendingTextLines = {"测量控制点", "z"};
    DrawTextPreview(app, 0, 0, 1);
    const auto wrapped = Printed();
    ASSERT_EQ(wrapped.size(), 3u);
    EXPECT_EQ(wrapped[0].first, "    测量");  // four blanks count two columns
    EXPECT_EQ(wrapped[1].first, "控制点");
    EXPECT_EQ(wrapped[2].first, "    z");
    EXPECT_NEAR(wrapped[2].second, -6, 1e-5);
}

TEST_F(TextPreviews, PlainPreviewInSmallTypeFourScreenMillimetresApart) {
    app.view.GroundPerScreenMm = 0.5;
    canvas.SetFont("黑体", 20);
    app.textPlacement.PendingTextLines = {"一", "二", "三"};
    DrawTextPreview2(app, 3, 50, 0x0000FF);
    const auto printed = Printed();
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(printed[0], (std::pair<std::string, double>{"一", 50}));
    EXPECT_EQ(printed[1], (std::pair<std::string, double>{"二", 48}));
    EXPECT_EQ(printed[2], (std::pair<std::string, double>{"三", 46}));
    for (const auto& p : Of(Kind::Print)) {
        EXPECT_EQ(p.fontName, "黑体");
        EXPECT_EQ(p.fontSize, 9);
        EXPECT_EQ(p.color, 0x0000FF);
    }
}

}  // namespace
}  // namespace movra
