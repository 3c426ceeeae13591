// Turned texts and linked pictures on the real canvas. The sample sheet of Chinese texts in the
// Song and the Hei face, at three angles and two width factors, is saved as movra-text.png (LookAt.h)
// to be looked at.
#include <QColor>
#include <QImage>
#include <cmath>
#include <memory>
#include <numbers>

#include <gtest/gtest.h>

#include "display/RecordImages.h"
#include "display/TextRendering.h"
#include "platform/qt/QtBasicServices.h"
#include "platform/qt/QtSurface.h"
#include "support/TestApp.h"
#include "QtCanvasPlatform.h"
#include "LookAt.h"

namespace movra {
namespace {

// Canvases that draw pixels, and Qt's picture readers.
class QtPicturePlatform : public QtCanvasPlatform {
public:
    using QtCanvasPlatform::QtCanvasPlatform;
    PictureFiles& pictureFiles() override { return qtPictures; }
    QtPictureFiles qtPictures;
};

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr const char* kSample = "测绘地图";
constexpr double kSize = 40;  // ground units at one pixel per unit: a 41-pixel font

// The dark pixels of the picture: their box and their main direction.
struct Ink {
    int count = 0;
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    double direction = 0;  // degrees counter-clockwise on the picture, -90..90
    int Width() const { return right - left + 1; }
    int Height() const { return bottom - top + 1; }
};

Ink InkOf(const QImage& image) {
    Ink ink;
    double sx = 0, sy = 0, sxx = 0, syy = 0, sxy = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (qGray(image.pixel(x, y)) > 128) continue;
            ++ink.count;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            ink.top = std::min(ink.top, y);
            ink.bottom = std::max(ink.bottom, y);
            sx += x, sy += y, sxx += double(x) * x, syy += double(y) * y, sxy += double(x) * y;
        }
    }
    if (ink.count == 0) return ink;
    const double n = ink.count;
    const double cxx = sxx / n - (sx / n) * (sx / n);
    const double cyy = syy / n - (sy / n) * (sy / n);
    const double cxy = sxy / n - (sx / n) * (sy / n);
    // The principal axis; the picture's y points down, so the sign turns for counter-clockwise.
    ink.direction = -0.5 * std::atan2(2 * cxy, cxx - cyy) * 180 / std::numbers::pi;
    return ink;
}

class TextPicture : public ::testing::Test {
protected:
    TextPicture()
        : platform(program.Str(), work.Str()), app(platform), form1(app),
          canvas(static_cast<QtSurface&>(form1.Picture1.surface())) {
        canvas.Resize(1300, 900);
        canvas.SetScale(0, 900, 1300, -900);  // one pixel to the ground unit, y up
        canvas.SetBackColor(kWhite);
        app.view.DisplayZoom = 1;
        app.view.ScaleFactor = 1;
        for (int i = 0; i < 255; ++i) app.tables.ColorPalette[i] = kBlack;
    }

    // One text alone on the cleared canvas, with its anchor in pixels.
    Ink DrawAlone(const char* face, double width, double angle, double x, double y) {
        canvas.Cls();
        DrawTextAngled(app, x, y, kSample, kSize, width, angle, 0, face, kBlack);
        return InkOf(canvas.Image());
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    QtPicturePlatform platform;
    App app;
    stForm1 form1;
    QtSurface& canvas;
};

TEST_F(TextPicture, ChineseTextTurnsAndStretchesAsItsFontAsks) {
    const int h = 41;  // Int(40 x 1) + 1
    for (const char* face : {"宋体", "黑体"}) {
        for (double width : {1.0, 0.7}) {
            const int fontWidth = static_cast<int>(std::floor(h * width)) - 1;
            const double run = 4 * 2 * fontWidth;  // a wide character is two average widths

            const Ink flat = DrawAlone(face, width, 0, 100, 500);
            SCOPED_TRACE(std::string(face) + " width " + std::to_string(width));
            ASSERT_GT(flat.count, 500);
            // Top left at the anchor (pixel 100, 400), running right.
            EXPECT_NEAR(flat.left, 100, 8);
            EXPECT_GE(flat.top, 400);
            EXPECT_LT(flat.top, 400 + h / 2);
            EXPECT_NEAR(flat.Width(), run, run * 0.15);
            EXPECT_GT(flat.Height(), h * 0.5);
            EXPECT_LE(flat.Height(), h * 1.05);
            EXPECT_NEAR(flat.direction, 0, 3);

            const Ink turned = DrawAlone(face, width, 30, 100, 300);
            EXPECT_NEAR(turned.direction, 30, 6);
            EXPECT_LT(turned.top, 600 - run * 0.3);  // it rises to the right of the anchor
            EXPECT_GE(turned.left, 100 - h);

            const Ink upright = DrawAlone(face, width, 90, 600, 100);
            EXPECT_NEAR(std::fabs(upright.direction), 90, 3);
            EXPECT_LE(upright.bottom, 800 + 2);  // it runs up from the anchor (pixel 600, 800)
            EXPECT_GE(upright.left, 600 - 2);     // its letters' feet point right
            EXPECT_NEAR(upright.Height(), run, run * 0.15);
        }
    }
    // The two faces draw different letters.
    const Ink song = DrawAlone("宋体", 1, 0, 100, 500);
    const QImage songImage = canvas.Image().copy();
    DrawAlone("黑体", 1, 0, 100, 500);
    int differing = 0;
    for (int y = 380; y < 460; ++y)
        for (int x = 90; x < 450; ++x)
            if ((qGray(songImage.pixel(x, y)) > 128) != (qGray(canvas.Image().pixel(x, y)) > 128)) ++differing;
    EXPECT_GT(differing, song.count / 5);
}

TEST_F(TextPicture, LeaningPixelTextRunsDownWithUprightLetters) {
    canvas.Cls();
    DrawTextGdi(app, 600, 800, "向下书写", 40, 1, -5, 0, "黑体", kBlack);
    const Ink down = InkOf(canvas.Image());
    ASSERT_GT(down.count, 300);
    EXPECT_GE(down.top, 100 - 2);  // from the device point (600, 100) downwards
    EXPECT_GT(down.Height(), 3 * down.Width());
    EXPECT_NEAR(std::fabs(down.direction), 90, 5);
}

TEST_F(TextPicture, SampleSheet) {
    canvas.Resize(1500, 1000);
    canvas.SetScale(0, 1000, 1500, -1000);
    canvas.SetBackColor(kWhite);
    auto label = [&](double x, double y, const std::string& text) {
        canvas.SetForeColor(kBlack);
        canvas.SetFont("宋体", 9);
        canvas.SetCurrentX(x);
        canvas.SetCurrentY(y);
        canvas.Print(text);
    };
    int row = 0;
    for (const char* face : {"宋体", "黑体"}) {
        for (double width : {1.0, 0.7}) {
            const std::string name = std::string(face) + (width == 1 ? " 1" : " 0.7");
            const double base = 740 - 230 * row;
            label(10, base + 75, name + ": 0°, 30°");
            DrawTextAngled(app, 20, base + 40, kSample, kSize, width, 0, 0, face, 1);
            DrawTextAngled(app, 370, base, kSample, kSize, width, 30, 0, face, 1);
            label(800 + 90 * row, 70, name);
            DrawTextAngled(app, 800 + 90 * row, 80, kSample, kSize, width, 90, 0, face, 1);
            ++row;
        }
    }
    // The leaning pixel texts and the italic text, in the right column.
    app.tables.ColorPalette[3] = MakeRgb(0, 120, 0);
    label(800, 990, "DrawTextGdi 0°, -5°; DrawTextItalic");
    DrawTextGdi(app, 800, 960, "倾斜测试", 30, 1, 0, 0, "宋体", MakeRgb(200, 0, 0));
    DrawTextGdi(app, 1350, 960, "向下书写", 30, 1, -5, 0, "黑体", MakeRgb(200, 0, 0));
    DrawTextItalic(app, 800, 860, "斜体注记", 30, 0.5, 0, 0, "宋体", 3);
    ASSERT_TRUE(canvas.Image().save(LookAt("movra-text.png")));
    EXPECT_GT(InkOf(canvas.Image()).count, 20000);
}

TEST_F(TextPicture, BmpAndJpgPicturesLoadIntoTheirHolders) {
    TempFolder folder{"pictures"};
    const std::string bmp = folder.Str() + "/红.bmp";
    const std::string jpg = folder.Str() + "/蓝.jpg";
    QImage red(30, 20, QImage::Format_RGB32);
    red.fill(QColor(255, 0, 0));
    ASSERT_TRUE(red.save(QString::fromUtf8(bmp.c_str()), "BMP"));
    QImage blue(16, 12, QImage::Format_RGB32);
    blue.fill(QColor(0, 0, 255));
    ASSERT_TRUE(blue.save(QString::fromUtf8(jpg.c_str()), "JPG"));

    MapRecord& a = app.store.At(1, 10);
    a.RecordType = 70;
    a.RecordColor = 3;
    a.RecordText = bmp;
    MapRecord& b = app.store.At(1, 11);
    b.RecordType = 70;
    b.RecordColor = 4;
    b.RecordText = jpg;
    LoadRecordImage(app, 1, 10);
    LoadRecordImage(app, 1, 11);
    const RecordImageState& images = app.display.Images;
    ASSERT_EQ(images.Image1[3].width, 30);
    ASSERT_EQ(images.Image1[4].height, 12);

    canvas.Cls();
    canvas.PaintPicture(images.Image1[3], 100, 800, 200, -100);
    canvas.PaintPicture(images.Image1[4], 400, 800, 100, -100);
    const QColor inRed = canvas.Image().pixelColor(200, 150);
    const QColor inBlue = canvas.Image().pixelColor(450, 150);
    EXPECT_GT(inRed.red(), 200);
    EXPECT_LT(inRed.blue(), 60);
    EXPECT_GT(inBlue.blue(), 200);
    EXPECT_LT(inBlue.red(), 60);
}

}  // namespace
}  // namespace movra
