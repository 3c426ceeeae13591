// The lighter renderers and the linked images on the real canvas. Each test saves its picture in
// the pictures folder (LookAt.h, movra-*.png) to be looked at, and checks what a look would check.
#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "basic/Numbers.h"
#include "display/HighlightRenderer.h"
#include "display/RecordRenderer.h"
#include "display/WorkBuffer.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "symbols/TusFile.h"
#include "support/PictureTestHelpers.h"
#include "support/TestApp.h"
#include "QtCanvasPlatform.h"
#include "LookAt.h"

namespace movra {
namespace {

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr Rgb kRed = MakeRgb(220, 0, 0);
constexpr Rgb kGreen = MakeRgb(0, 160, 0);
constexpr Rgb kBlue = MakeRgb(0, 0, 220);

// The extent of the pixels of one colour (within a tolerance).
struct Ink {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    long count = 0;
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

Ink InkOf(const QImage& image, Rgb color, int tolerance = 60) {
    Ink ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor p = image.pixelColor(x, y);
            if (std::abs(p.red() - RedOf(color)) > tolerance || std::abs(p.green() - GreenOf(color)) > tolerance ||
                std::abs(p.blue() - BlueOf(color)) > tolerance)
                continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            ++ink.count;
        }
    }
    return ink;
}

class RendererPicture : public ::testing::Test {
protected:
    RendererPicture()
        : platform(program.Str(), work.Str()), app(platform), form1(app),
          canvas(static_cast<QtSurface&>(form1.Picture1.surface())) {
        app.form1 = &form1;
        canvas.Resize(480, 360);
        canvas.SetScale(0, 100, 100, -75);  // 4.8 pixels to the unit
        canvas.SetBackColor(kWhite);
        canvas.Cls();
        app.view.ScaleFactor = 1;
        app.view.DisplayZoom = 4.8;
        app.view.PointMarkRadius = 1;
        app.view.BackgroundColor = kWhite;
        app.tables.FontNames[1] = "宋体";
        app.tables.ColorPalette[6] = MakeRgb(200, 0, 200);
        app.clip.ClipXMin = -1000; app.clip.ClipXMax = 1000;
        app.clip.ClipYMin = -1000; app.clip.ClipYMax = 1000;
        app.store.LayerOnFlag[1] = True;
        DimensionEmptyStandard(app.symbolStandard);
    }

    MapRecord& Add(int type, Rgb color, std::initializer_list<double> xy) {
        const int slot = app.store.Count(1)++;
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordPen = 7;
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int i = 0;
        for (double v : xy) *fields[i++] = v;
        return r;
    }

    // Every record added, by the full renderer.
    void DrawAll() {
        for (std::int16_t slot = 0; slot < app.store.Count(1); ++slot) {
            std::uint8_t layer = 1;
            std::int16_t s = slot;
            DrawRecord(app, layer, s);
        }
    }

    void Save(const char* name) { ASSERT_TRUE(canvas.Image().save(LookAt(name))); }

    TempFolder program{"program"};
    TempFolder work{"work"};
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
    QtSurface& canvas;
};

TEST_F(RendererPicture, LinkedImagesStandTheRightWayUp) {
    // A picture with a red band along its top and a green band down its left side.
    Picture marked;
    marked.width = 20;
    marked.height = 10;
    for (int y = 0; y < marked.height; ++y)
        for (int x = 0; x < marked.width; ++x)
            marked.pixels.push_back(y < 3 ? 0xFFDC0000u : x < 4 ? 0xFF00A000u : 0xFFE0E0E0u);
    app.display.Images.Image1[2] = marked;
    app.display.Images.ImageSlotNames[2] = "marked.bmp";
    // The usual record hangs below P1; one with a positive height rises above it, mirrored as a
    // picture painted with that height is.
    Add(70, 2, {10, 90, 40, -20}).RecordText = "marked.bmp";
    Add(70, 2, {55, 40, 40, 20}).RecordText = "marked.bmp";
    DrawAll();
    Save("movra-linked-images.png");
    const QImage image = canvas.Image();
    auto at = [&](double x, double y) { return image.pixelColor(canvas.ToPixelX(x), canvas.ToPixelY(y)); };
    // Below P1: red at the top edge, green at the left, grey in the lower right.
    EXPECT_GT(at(30, 89).red(), 180);
    EXPECT_LT(at(30, 89).green(), 60);
    EXPECT_GT(at(11, 75).green(), 130);
    EXPECT_LT(at(11, 75).red(), 60);
    EXPECT_GT(at(45, 72).blue(), 180);
    // Above P1: the red band lies at P1, the bottom of the rectangle.
    EXPECT_GT(at(75, 41).red(), 180);
    EXPECT_GT(at(75, 59).blue(), 180);
}

// Zoomed in, a line-type line is seen only where one of its segments crosses the view, its
// vertices off the canvas on both sides. Each crosses in its own colour at its own height.
TEST_F(RendererPicture, LineTypeLinesCrossingAZoomedInViewAreDrawn) {
    namespace fs = std::filesystem;
    fs::copy_file(fs::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus", program.Path() / "电子图式.tus");
    DimensionSymbolTables(app.symbolStandard);
    LoadSymbolDefinitions(app);
    DimensionLineTypeTables(app.symbolStandard);
    ASSERT_EQ(LoadLineTypes(app), TusReadEnd::EndMarker);
    // The view (x 0 to 100, y 25 to 100) widened by 10, as the redraw sets it.
    app.clip.ClipXMin = -10; app.clip.ClipXMax = 110;
    app.clip.ClipYMin = 15; app.clip.ClipYMax = 110;
    const Rgb kOrange = MakeRgb(230, 120, 0);
    Add(42, kRed, {-500, 90, 600, 90});
    Add(43, kBlue, {-600, -400, -500, 70, 700, 70});
    Add(44, kGreen, {-600, -400, -500, -300, -500, 50, 700, 50});
    Add(45, kOrange, {-600, -400, -500, -300, -500, 200, -400, 35});
    Add(2, kBlack, {800, 35, 900, 35});  // where the chain goes on: its last segment crosses
    for (MapRecord* r : {&app.store.At(1, 0), &app.store.At(1, 1), &app.store.At(1, 2), &app.store.At(1, 3)})
        r->RecordText = "353";  // 小路: dashes of 4 and gaps of 1
    DrawAll();
    Save("movra-line-types-crossing.png");
    const QImage image = canvas.Image();
    struct Crossing {
        Rgb color;
        double y;
    };
    for (const Crossing& c : {Crossing{kRed, 90}, Crossing{kBlue, 70}, Crossing{kGreen, 50}, Crossing{kOrange, 35}}) {
        SCOPED_TRACE(c.y);
        const Ink ink = InkOf(image, c.color);
        ASSERT_GT(ink.count, 0);
        // Dashed all across the canvas at its height.
        EXPECT_LE(ink.left, 10);
        EXPECT_GE(ink.right, image.width() - 10);
        EXPECT_NEAR((ink.top + ink.bottom) / 2.0, canvas.ToPixelY(c.y), 3);
        EXPECT_LT(ink.count, image.width() * 4);
    }
}

TEST_F(RendererPicture, HighlightBesideTheFullRenderer) {
    // Left column: the full renderer; right column: the highlight in blue, over a yellow ground
    // so that the boundary points' solid fill shows.
    canvas.Line(50, 100, 100, 25, MakeRgb(255, 240, 150), LineShape::FilledBox);
    // Each record twice: for the full renderer, then 50 units right for the highlight. `moved`
    // names the vertices that are positions (the others hold sizes).
    auto pair = [&](int type, std::initializer_list<double> xy, std::initializer_list<int> moved,
                    const std::function<void(MapRecord&)>& fill) {
        for (int copy = 0; copy < 2; ++copy) {
            MapRecord& r = Add(type, kRed, xy);
            fill(r);
            for (int k : moved) {
                double* x[] = {&r.RecordX1, &r.RecordX2, &r.RecordX3, &r.RecordX4};
                *x[k - 1] += 50 * copy;
            }
        }
    };
    pair(22, {5, 92, 40, 95}, {1, 2}, [](MapRecord&) {});
    pair(33, {10, 82, 25, 82, 40, 82}, {1, 2, 3}, [](MapRecord& r) {
        r.RecordZ1 = 1.5f; r.RecordZ2 = 2; r.RecordZ3 = 3; r.RecordPen = 2;
    });
    pair(65, {5, 74, 4}, {1}, [](MapRecord& r) { r.RecordText = "文字六五"; r.RecordFont = "右斜宋"; });
    pair(64, {5, 62, 4, 0.7}, {1}, [](MapRecord& r) {
        r.RecordText = "斜体字"; r.RecordFont = "宋体"; r.RecordZ2 = 10;
    });
    pair(61, {5, 52, 3, 0, 0, 0, 4, 48}, {1, 4}, [](MapRecord& r) { r.RecordText = "45.20"; r.RecordFont = "右斜宋"; });
    pair(50, {5, 42, 3, 0}, {1}, [](MapRecord& r) { r.RecordText = "K7"; r.RecordFont = "黑体"; r.RecordPen = 5; });
    pair(55, {5, 33}, {1}, [](MapRecord&) {});
    pair(21, {5, 28, 40, 30}, {1, 2}, [](MapRecord&) {});
    for (std::int16_t slot = 0; slot < app.store.Count(1); slot += 2) {
        std::uint8_t layer = 1;
        std::int16_t s = slot;
        DrawRecord(app, layer, s);
        刷图元(app, 1, static_cast<std::int16_t>(slot + 1), kBlue);
    }
    Save("movra-highlight.png");
    const QImage image = canvas.Image();
    // The boundary points' circles are filled with the background over the yellow ground.
    const QColor inCircle = image.pixelColor(canvas.ToPixelX(75.4), canvas.ToPixelY(82.6));
    EXPECT_EQ(inCircle.rgb() & 0xFFFFFF, 0xFFFFFFu);
    // Every highlighted figure is blue and lies in the right column.
    const Ink blue = InkOf(image, kBlue);
    EXPECT_GT(blue.count, 300);
    EXPECT_GE(blue.left, canvas.ToPixelX(50) - 2);
    // The italic text 64 in the highlight keeps its own red.
    const Ink red = InkOf(image, kRed);
    EXPECT_GT(red.right, canvas.ToPixelX(55));
}

class WorkBufferPicture : public RendererPicture {
protected:
    // Not blue: the tilted view's ground line is blue.
    static constexpr Rgb kPurple = MakeRgb(150, 0, 150);

    // Three turned texts at 0, 45 and 90 degrees in their own colours, and a canvas text.
    void MakeMap() {
        const struct { double x, y, angle; Rgb color; } texts[] = {
            {8, 80, 0, kRed}, {40, 55, 45, kGreen}, {80, 40, 90, kPurple}};
        for (const auto& t : texts) {
            MapRecord& r = Add(66, t.color, {t.x, t.y, 4, 0.8});
            r.RecordZ2 = static_cast<float>(t.angle);
            r.RecordZ1 = 10;
            r.RecordText = "测绘图";
            r.RecordFont = "黑体";
        }
        MapRecord& plain = Add(65, kBlack, {8, 30, 3});
        plain.RecordText = "平面65";
        plain.RecordFont = "宋体";
    }
};

TEST_F(WorkBufferPicture, TurnedTextsTakeTheFillsSizesAndAnglesPlanAndTilted) {
    MakeMap();
    app.view.TiltSin = 1;
    float dxiao = 1;
    xzldk(app, dxiao);
    ASSERT_EQ(app.clip.ClipBufferCount, 4);
    DrawClipBuffer(app);
    Save("movra-workbuffer-plan.png");
    QImage image = canvas.Image();
    const Ink level = InkOf(image, kRed), slanted = InkOf(image, kGreen), upright = InkOf(image, kPurple);
    // 4 units at 4.8 pixels: letters about 20 pixels high, three of them side by side.
    EXPECT_GT(level.Width(), 2 * level.Height());
    EXPECT_GT(level.Height(), 12);
    EXPECT_GT(upright.Height(), 2 * upright.Width());
    EXPECT_NEAR(slanted.Width(), slanted.Height(), slanted.Height() / 3.0);
    // The canvas text at the fill's size: Int(4.8 x 3) + 1 = 15 points, some 20 pixels.
    const Ink plain = InkOf(image, kBlack, 120);
    EXPECT_GT(plain.Height(), 12);
    EXPECT_LT(plain.Height(), 26);

    canvas.Cls();
    app.tool.CommandMode = ModeTiltView;
    app.view.TiltSin = 0.7;
    app.view.TiltAngle = 30;
    xzldk(app, dxiao);
    Draw3DView(app);
    Save("movra-workbuffer-tilted.png");
    image = canvas.Image();
    const Ink tLevel = InkOf(image, kRed), tSlanted = InkOf(image, kGreen), tUpright = InkOf(image, kPurple);
    EXPECT_GT(tLevel.Width(), 2 * tLevel.Height());
    EXPECT_GT(tUpright.Height(), 2 * tUpright.Width());
    EXPECT_GT(tSlanted.count, 30);
    // The tilt moves the texts, not their size.
    EXPECT_NEAR(tLevel.Height(), level.Height(), 3);
}

}  // namespace
}  // namespace movra
