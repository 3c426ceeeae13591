#include "display/TextRendering.h"

#include <cmath>
#include <functional>

#include "display/DisplayFixture.h"
#include "display/RecordRenderer.h"

namespace movra {
namespace {

class TextRendering : public DisplayTest {
protected:
    TextRendering() {
        for (int i = 0; i < 255; ++i) app.tables.ColorPalette[i] = MakeRgb(i, 100, 200);
        canvas.Resize(800, 600);
        canvas.SetScale(0, 100, 200, -100);  // 4 pixels to the unit across, 6 down (800 x 600)
        canvas.ClearRecords();
    }

    void Angled(double size, double width, double angle, const std::string& face = "宋体",
                Rgb color = 0x10000) {
        DrawTextAngled(app, 10, 20, "测量", size, width, angle, 0, face, color);
    }

    int FontsMade() const { return static_cast<int>(canvas.createdFonts.size()); }
    const LogicalFont& LastFont() const { return canvas.createdFonts.rbegin()->second; }
    std::vector<SurfacePrimitive> TextOuts() const { return Of(Kind::TextOut); }

    TextFontState& state = app.display.TextFont;
};

TEST_F(TextRendering, TheCreatedFontIsReusedOnlyForTheSameFaceAngleWidthAndSize) {
    struct Case {
        const char* what;
        std::function<void()> calls;
        int fontsMade;
        int textsPut;
    } cases[] = {
        {"same values twice", [this] { Angled(3, 1, 30); Angled(3, 1, 30); }, 1, 2},
        {"another size", [this] { Angled(3, 1, 30); Angled(3, 1, 30); Angled(4, 1, 30); }, 2, 3},
        {"another angle", [this] { Angled(3, 1, 30); Angled(3, 1, 45); }, 2, 2},
        {"another width factor", [this] { Angled(3, 1, 30); Angled(3, 0.5, 30); }, 2, 2},
        {"face without regard to case", [this] { Angled(3, 1, 0, "Arial"); Angled(3, 1, 0, "ARIAL"); }, 1, 2},
        {"a width factor with no exact single form", [this] { Angled(3, 0.7, 0); Angled(3, 0.7, 0); }, 1, 2},
        {"below one pixel", [this] { Angled(0.9, 1, 0); }, 0, 0},
        {"the italic font is not the upright one",
         [this] { DrawTextItalic(app, 0, 0, "a", 3, 1, 30, 0, "宋体", 0); Angled(3, 1, 30); }, 2, 2},
        {"after a release the released values make a font",
         [this] { Angled(3, 1, 30); ReleaseTextFont(t.app); Angled(8, 1, 0); }, 2, 2},
        {"a work-buffer font", [this] {
             DrawTextDeviceFont(app, 0, 0, "a", 12, 6, 300, 0, "黑体", 0);
             DrawTextDeviceFont(app, 5, 5, "b", 12, 6, 300, 0, "黑体", 0);
             DrawTextDeviceFont(app, 5, 5, "b", 0.5, 6, 300, 0, "黑体", 0);
         }, 1, 2},
    };
    for (const Case& c : cases) {
        ReleaseTextFont(app);
        canvas.ClearRecords();
        canvas.createdFonts.clear();
        c.calls();
        EXPECT_EQ(FontsMade(), c.fontsMade) << c.what;
        EXPECT_EQ(static_cast<int>(TextOuts().size()), c.textsPut) << c.what;
        // Only the font in use stays alive.
        EXPECT_LE(canvas.LiveFontCount(), 1) << c.what;
    }
}

TEST_F(TextRendering, AtAnotherZoomTheSameSizeIsTallEnough) {
    app.view.DisplayZoom = 2;
    Angled(0.9, 1, 0);
    ASSERT_EQ(FontsMade(), 1);
    EXPECT_EQ(LastFont().height, 2);  // Int(1.8) + 1
}

// A text height a file brought as it was (far too large, not a number) gives a font a canvas can
// hold, never a conversion past the integers; the record keeps its height.
TEST_F(TextRendering, AHeightBeyondAnyCanvasGivesTheLargestFont) {
    app.view.DisplayZoom = 2;
    const struct {
        double height;
        int points;
    } cases[] = {{0.9, 2}, {1e300, 32767}, {-1e300, 1}, {std::nan(""), 1}, {HUGE_VAL, 32767}, {1e4, 20001}};
    for (const auto& c : cases) EXPECT_EQ(CanvasPoints(app, c.height), c.points) << c.height;
}

TEST_F(TextRendering, TurnedTextFontAndPlacement) {
    app.view.DisplayZoom = 10;
    DrawTextAngled(app, 10, 20, "测量", 3.05, 0.7, 30.06, 0, "宋体", MakeRgb(1, 2, 3));
    ASSERT_EQ(FontsMade(), 1);
    const LogicalFont& asked = state.TextLogFont;
    EXPECT_EQ(asked.height, 31);      // Int(30.5) + 1
    EXPECT_EQ(asked.width, 20);       // Int(31 x 0.7) - 1
    EXPECT_EQ(asked.escapement, 300);  // Int(300.6)
    EXPECT_EQ(asked.orientation, 10);
    EXPECT_EQ(asked.weight, 400);
    EXPECT_FALSE(asked.italic);
    EXPECT_EQ(asked.charSet, 255);
    EXPECT_EQ(asked.faceName, std::string("宋体", 6) + '\0');
    // The canvas is no device in the advanced mode: its letters turn with the line.
    EXPECT_EQ(LastFont().orientation, 300);
    EXPECT_EQ(canvas.SelectedFont(), state.TextFontHandle);
    EXPECT_EQ(state.ScaledFontSelected, -1);

    const auto put = TextOuts();
    ASSERT_EQ(put.size(), 1u);
    EXPECT_EQ(put[0].text, "测量");
    EXPECT_EQ(put[0].pixelX, 40);   // (10 - 0) x 4
    EXPECT_EQ(put[0].pixelY, 480);  // (100 - 20) x 6
    EXPECT_EQ(put[0].deviceFont, state.TextFontHandle);
    EXPECT_EQ(put[0].color, MakeRgb(1, 2, 3));
    EXPECT_FLOAT_EQ(canvas.CurrentX(), 10);
    EXPECT_FLOAT_EQ(canvas.CurrentY(), 20);

    // Width factor 0 is half the height; an empty face or a number takes the replacement face.
    for (const char* face : {"", "12"}) {
        DrawTextAngled(app, 0, 0, "a", 3.05, 0, 0, 0, face, 0x10000);
        EXPECT_EQ(state.TextLogFont.width, 14) << face;  // Int(31 x 0.5) - 1
        EXPECT_EQ(state.TextLogFont.faceName, "华文细黑") << face;
    }
}

TEST_F(TextRendering, PaletteColoursOnEveryCall) {
    Angled(3, 1, 0, "宋体", 3);
    EXPECT_EQ(TextOuts().back().color, app.tables.ColorPalette[3]);
    Angled(3, 1, 0, "宋体", 4);  // same font
    EXPECT_EQ(FontsMade(), 1);
    EXPECT_EQ(TextOuts().back().color, app.tables.ColorPalette[4]);
    Angled(3, 1, 0, "宋体", 255);
    EXPECT_EQ(TextOuts().back().color, 255);

    // A line drawn in between changes the fore colour: the text sets its own again.
    Angled(3, 1, 0, "宋体", 0x445566);
    canvas.SetForeColor(0x123);
    Angled(3, 1, 0, "宋体", 0x445566);
    EXPECT_EQ(TextOuts().back().color, 0x445566);
    EXPECT_EQ(state.LastTextColor, 0x445566);

    // The pixel text and the work-buffer text take the value as passed.
    DrawTextGdi(app, 10, 20, "a", 3, 1, 0, 0, "宋体", 3);
    EXPECT_EQ(TextOuts().back().color, 3);
}

TEST_F(TextRendering, ItalicTextAlwaysMakesAThinItalicFont) {
    DrawTextItalic(app, 10, 20, "斜", 3, 0.8, 15, 0, "黑体", 0x10000);
    DrawTextItalic(app, 10, 20, "斜", 3, 0.8, 15, 0, "黑体", 0x10000);
    EXPECT_EQ(FontsMade(), 2);
    EXPECT_EQ(canvas.LiveFontCount(), 1);
    const LogicalFont& asked = state.TextLogFont;
    EXPECT_TRUE(asked.italic);
    EXPECT_EQ(asked.weight, 100);
    EXPECT_EQ(asked.orientation, 0);
    EXPECT_EQ(asked.escapement, 150);
    EXPECT_EQ(LastFont().orientation, 150);
    EXPECT_EQ(state.FontCacheFace, "黑体y");
    EXPECT_EQ(state.FontCacheSize, 1);
}

TEST_F(TextRendering, PixelTextLeansItsLettersAndKeepsNoFont) {
    // Size 20: 21 pixels high, letters Int(10.5) - 1 = 9 wide whatever the width factor; a wide
    // letter advances 18 pixels, a narrow one 9.
    struct Case {
        double angle;
        int escapement, orientation;
    } cases[] = {{-5, 2700, 0}, {0, 0, 120}, {30, 300, 420}, {7.46, 75, 195}};
    for (const Case& c : cases) {
        canvas.ClearRecords();
        DrawTextGdi(app, 50, 25, "测绘ab", 20, 0.3, c.angle, 0, "宋体", 0x10000);
        const LogicalFont& asked = state.TextLogFont;
        EXPECT_EQ(asked.escapement, c.escapement) << c.angle;
        EXPECT_EQ(asked.orientation, c.orientation) << c.angle;
        EXPECT_EQ(asked.width, 9);
        EXPECT_EQ(asked.weight, 100);
        // Every letter stands turned by the orientation ...
        EXPECT_EQ(LastFont().escapement, c.orientation);
        EXPECT_EQ(LastFont().orientation, c.orientation);
        // ... and they follow each other along the escapement from the device point, where the
        // horizontal factor serves both axes.
        const auto put = TextOuts();
        ASSERT_EQ(put.size(), 4u) << c.angle;
        const int columns[] = {0, 2, 4, 5};
        const double along = c.escapement / 10.0 * 3.14159265358979 / 180;
        const double stepX = 9 * std::cos(along), stepY = -9 * std::sin(along);  // pixels grow down
        const char* letters[] = {"测", "绘", "a", "b"};
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(put[i].text, letters[i]);
            EXPECT_NEAR(put[i].pixelX, 200 + columns[i] * stepX, 0.5) << c.angle << " " << i;
            EXPECT_NEAR(put[i].pixelY, 300 + columns[i] * stepY, 0.5) << c.angle << " " << i;
        }
        EXPECT_EQ(canvas.LiveFontCount(), 0);
        EXPECT_EQ(canvas.SelectedFont(), 0);
    }
    EXPECT_EQ(state.FontCacheFace, "宋体z");
    EXPECT_EQ(state.ScaledFontSelected, -1);
    // The release afterwards deletes nothing twice.
    const size_t deleted = canvas.deletedFonts.size();
    ReleaseTextFont(app);
    EXPECT_EQ(canvas.deletedFonts.size(), deleted);
}

TEST_F(TextRendering, PixelTextFailureIsShownAsDots) {
    t.form1.Text2.SetText("");
    DrawTextGdi(app, 1e300, 0, "a", 3, 1, 0, 0, "宋体", 0);
    EXPECT_EQ(t.form1.Text2.Text(), "........");
    EXPECT_TRUE(TextOuts().empty());
}

TEST_F(TextRendering, ReleaseRestoresThePreviousFontAndResetsTheCache) {
    ReleaseTextFont(app);  // nothing created yet: nothing to do
    EXPECT_TRUE(canvas.deletedFonts.empty());

    DrawTextDeviceFont(app, 0, 0, "a", 12.5, 6.5, 450, 0, "", 0);
    const LogicalFont& asked = state.TextLogFont;
    EXPECT_EQ(asked.height, 12);  // halves to even
    EXPECT_EQ(asked.width, 6);
    EXPECT_EQ(asked.escapement, 450);
    EXPECT_EQ(asked.orientation, 450);
    EXPECT_EQ(asked.weight, 50);
    EXPECT_EQ(asked.faceName, std::string(1, '\0'));  // no replacement face
    EXPECT_EQ(state.DeviceFontSelected, -1);

    const FontHandle made = state.TextFontHandle;
    state.CanvasFontName = "黑体";
    ReleaseTextFont(app);
    EXPECT_EQ(canvas.deletedFonts, std::vector<FontHandle>{made});
    EXPECT_EQ(canvas.SelectedFont(), 0);
    EXPECT_EQ(state.FontCacheFace, "宋体");
    EXPECT_EQ(state.FontCacheAngle, 0);
    EXPECT_EQ(state.FontCacheWidth, 1);
    EXPECT_EQ(state.FontCacheSize, 8);
    EXPECT_EQ(state.CanvasFontName, "");
}

TEST_F(TextRendering, SpacedTextPrintsEveryCharacterAlongItsDirection) {
    app.view.ScaleFactor = 2;
    app.view.DisplayZoom = 3;
    app.view.BackgroundColor = 0x202020;
    MapRecord& r = app.store.At(1, 7);
    r.RecordType = 64;
    r.RecordX1 = 100;
    r.RecordY1 = 50;
    r.RecordX2 = 2.8;        // step (1 + 0.8) x 2 = 3.6
    r.RecordZ2 = -90;        // |90°| + 90°: the characters run south
    r.RecordText = "测绘ab";  // display width 6, four characters
    r.RecordFont = "楷体";
    r.RecordColor = 0x00AA00;

    DrawTextSpaced(app, 1, 7, -1);
    const auto printed = Of(Kind::Print);
    ASSERT_EQ(printed.size(), 4u);
    const char* characters[] = {"测", "绘", "a", "b"};
    for (size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(printed[i].text, characters[i]);
        EXPECT_NEAR(printed[i].x1, 100, 1e-4);
        EXPECT_NEAR(printed[i].y1, 50 - 3.6 * i, 1e-4);
        EXPECT_EQ(printed[i].color, 0x00AA00);
        EXPECT_EQ(printed[i].fontName, "楷体");
        EXPECT_EQ(printed[i].fontSize, 8);  // Int(3 x 2.8)
    }
    EXPECT_EQ(state.FontCacheAngle, 0);

    canvas.ClearRecords();
    DrawTextSpaced(app, 1, 7, 0);  // erasing
    for (const auto& p : Of(Kind::Print)) EXPECT_EQ(p.color, 0x202020);
}

}  // namespace
}  // namespace movra
