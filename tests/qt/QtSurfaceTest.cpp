#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QRawFont>
#include <cmath>
#include <functional>
#include <numbers>

#include <gtest/gtest.h>

#include "platform/qt/QtFontSubstitution.h"
#include "platform/qt/QtSurface.h"
#include "LookAt.h"

namespace movra {
namespace {

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kBlack = MakeRgb(0, 0, 0);
constexpr Rgb kRed = MakeRgb(255, 0, 0);
constexpr Rgb kBlue = MakeRgb(0, 0, 255);
constexpr Rgb kGreen = MakeRgb(0, 255, 0);

Rgb PixelAt(const QtSurface& surface, int x, int y) {
    QRgb p = surface.Image().pixel(x, y);
    return MakeRgb(qRed(p), qGreen(p), qBlue(p));
}

// The smallest rectangle holding every pixel that differs from `before`.
QRect ChangedArea(const QImage& before, const QImage& after) {
    QRect area;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if ((before.pixel(x, y) & 0xFFFFFF) != (after.pixel(x, y) & 0xFFFFFF)) area |= QRect(x, y, 1, 1);
    return area;
}

int ChangedCount(const QImage& before, const QImage& after) {
    int count = 0;
    for (int y = 0; y < after.height(); ++y)
        for (int x = 0; x < after.width(); ++x)
            if ((before.pixel(x, y) & 0xFFFFFF) != (after.pixel(x, y) & 0xFFFFFF)) ++count;
    return count;
}

// A picture with something on it, so an inverting pen has colours to work on.
void PaintBackground(QtSurface& surface) {
    surface.SetBackColor(kWhite);
    surface.SetDrawMode(DrawModeCopyPen);
    surface.Line(10, 10, 90, 60, MakeRgb(0, 128, 0), LineShape::FilledBox);
    surface.Circle(70, 70, 20, MakeRgb(200, 100, 30));
}

TEST(QtSurface, LineChangesPixels) {
    QtSurface surface(100, 100);
    QImage before = surface.Image().copy();
    surface.Line(5, 5, 95, 40);
    EXPECT_GT(ChangedCount(before, surface.Image()), 80);
    EXPECT_EQ(PixelAt(surface, 5, 5), kBlack);
    EXPECT_EQ(surface.CurrentX(), 95);
    EXPECT_EQ(surface.CurrentY(), 40);
}

TEST(QtSurface, RasterModesDrawnTwiceRestoreThePicture) {
    const std::vector<std::pair<const char*, std::function<void(QtSurface&)>>> figures{
        {"line", [](QtSurface& s) { s.Line(3, 97, 97, 4); }},
        {"wide line", [](QtSurface& s) { s.SetDrawWidth(3); s.Line(3, 50, 97, 52); }},
        {"dashed line", [](QtSurface& s) { s.SetDrawStyle(DrawStyleDash); s.Line(0, 30, 99, 33); }},
        {"circle", [](QtSurface& s) { s.Circle(50, 50, 30); }},
        {"ellipse", [](QtSurface& s) { s.Circle(50, 50, 40, -1, false, 0, 0, 0.4); }},
        {"arc with radii", [](QtSurface& s) { s.Circle(50, 50, 30, -1, true, -0.3, -2.5); }},
        {"box", [](QtSurface& s) { s.Line(20, 20, 80, 70, -1, LineShape::Box); }},
        {"filled box", [](QtSurface& s) { s.Line(20, 20, 80, 70, -1, LineShape::FilledBox); }},
        {"box with solid fill",
         [](QtSurface& s) {
             s.SetFillStyle(FillStyleSolid);
             s.SetFillColor(kBlue);
             s.Line(20, 20, 80, 70, -1, LineShape::Box);
         }},
        {"point", [](QtSurface& s) { s.SetDrawWidth(5); s.PSet(40, 40); }},
    };
    for (int mode : {DrawModeNotXorPen, DrawModeXorPen, DrawModeInvert}) {
        for (const auto& [name, draw] : figures) {
            SCOPED_TRACE(std::string(name) + " in mode " + std::to_string(mode));
            QtSurface surface(100, 100);
            PaintBackground(surface);
            surface.SetForeColor(MakeRgb(30, 60, 200));
            QImage before = surface.Image().copy();
            surface.SetDrawMode(mode);
            draw(surface);
            EXPECT_GT(ChangedCount(before, surface.Image()), 0);
            draw(surface);
            EXPECT_EQ(ChangedCount(before, surface.Image()), 0);
        }
    }
}

TEST(QtSurface, NotXorPenOnWhiteDrawsInThePenColour) {
    QtSurface surface(50, 50);
    surface.SetDrawMode(DrawModeNotXorPen);
    surface.Line(0, 10, 49, 10, kRed);
    // ~(red ^ white) = red.
    EXPECT_EQ(PixelAt(surface, 20, 10), kRed);
}

TEST(QtSurface, UserScaleWithYUpPutsTheOriginBottomLeft) {
    QtSurface surface(200, 100);
    surface.SetScale(0, 50, 100, -50);  // x 0..100 to the right, y 0..50 upwards
    EXPECT_DOUBLE_EQ(surface.ToPixelX(0), 0);
    EXPECT_DOUBLE_EQ(surface.ToPixelY(0), 100);
    EXPECT_DOUBLE_EQ(surface.ToPixelY(50), 0);
    EXPECT_DOUBLE_EQ(surface.FromPixelY(100), 0);
    surface.PSet(1, 1, kRed);
    EXPECT_EQ(PixelAt(surface, 2, 98), kRed);
    EXPECT_EQ(surface.Point(1, 1), kRed);
    EXPECT_EQ(surface.Point(-1, 1), -1);
}

TEST(QtSurface, FilledBoxAndFillStyleFillTheBox) {
    QtSurface surface(100, 100);
    surface.Line(10, 10, 30, 30, kRed, LineShape::FilledBox);
    EXPECT_EQ(PixelAt(surface, 10, 10), kRed);
    EXPECT_EQ(PixelAt(surface, 20, 20), kRed);
    EXPECT_EQ(PixelAt(surface, 30, 30), kRed);
    EXPECT_EQ(PixelAt(surface, 31, 31), kWhite);

    surface.Line(50, 50, 90, 90, kBlack, LineShape::Box);  // transparent fill: inside untouched
    EXPECT_EQ(PixelAt(surface, 70, 70), kWhite);
    EXPECT_EQ(PixelAt(surface, 50, 70), kBlack);
    EXPECT_EQ(PixelAt(surface, 90, 90), kBlack);
    surface.SetFillStyle(FillStyleSolid);
    surface.SetFillColor(kBlue);
    surface.Line(50, 50, 90, 90, kBlack, LineShape::Box);
    EXPECT_EQ(PixelAt(surface, 70, 70), kBlue);
    EXPECT_EQ(PixelAt(surface, 50, 70), kBlack);
}

TEST(QtSurface, BrokenStylesOnlyAtWidthOne) {
    QtSurface surface(200, 20);
    surface.SetDrawStyle(DrawStyleDot);
    surface.Line(0, 5, 199, 5);
    int dark = 0;
    for (int x = 0; x < 199; ++x) dark += PixelAt(surface, x, 5) == kBlack;
    EXPECT_GT(dark, 60);
    EXPECT_LT(dark, 140);  // gaps
    surface.SetDrawWidth(3);
    surface.Line(0, 15, 199, 15);
    for (int x = 2; x < 197; ++x) ASSERT_EQ(PixelAt(surface, x, 15), kBlack) << x;  // solid
    surface.SetDrawWidth(1);
    surface.SetDrawStyle(DrawStyleInvisible);
    QImage before = surface.Image().copy();
    surface.Line(0, 10, 199, 10);
    EXPECT_EQ(ChangedCount(before, surface.Image()), 0);
}

TEST(QtSurface, ArcWithNegativeAnglesDrawsItsRadii) {
    const double pi = std::numbers::pi;
    QtSurface withRadii(100, 100), plain(100, 100);
    withRadii.Circle(50, 50, 30, kBlack, true, -pi / 2, -pi);  // from straight up to the left
    plain.Circle(50, 50, 30, kBlack, true, pi / 2, pi);
    // The radius up from the centre and the one to the left.
    EXPECT_EQ(PixelAt(withRadii, 50, 35), kBlack);
    EXPECT_EQ(PixelAt(withRadii, 35, 50), kBlack);
    EXPECT_EQ(PixelAt(plain, 50, 35), kWhite);
    EXPECT_EQ(PixelAt(plain, 35, 50), kWhite);
    // The arc runs through the upper left quarter only.
    QRect arc = ChangedArea(QtSurface(100, 100).Image(), plain.Image());
    EXPECT_LE(arc.right(), 51);
    EXPECT_LE(arc.bottom(), 51);
    EXPECT_GE(arc.left(), 19);
    EXPECT_GE(arc.top(), 19);
}

TEST(QtSurface, CircleAspectSetsTheLongerAxis) {
    QtSurface wide(200, 200), tall(200, 200);
    QImage blank = wide.Image().copy();
    wide.Circle(100, 100, 80, kBlack, false, 0, 0, 0.5);  // 80 across, 40 up
    tall.Circle(100, 100, 80, kBlack, false, 0, 0, 2.0);  // 80 up, 40 across
    QRect w = ChangedArea(blank, wide.Image()), t = ChangedArea(blank, tall.Image());
    EXPECT_NEAR(w.width(), 161, 2);
    EXPECT_NEAR(w.height(), 81, 2);
    EXPECT_NEAR(t.width(), 81, 2);
    EXPECT_NEAR(t.height(), 161, 2);
}

TEST(QtSurface, FloodFillFillsTheClosedBoxOnly) {
    QtSurface surface(100, 100);
    surface.Line(20, 20, 60, 60, kBlack, LineShape::Box);
    surface.SetFillStyle(FillStyleSolid);
    surface.SetFillColor(kRed);
    surface.FloodFill(40, 40, kBlack, FloodFillBorder);
    EXPECT_EQ(PixelAt(surface, 40, 40), kRed);
    EXPECT_EQ(PixelAt(surface, 21, 21), kRed);
    EXPECT_EQ(PixelAt(surface, 59, 59), kRed);
    EXPECT_EQ(PixelAt(surface, 20, 40), kBlack);
    EXPECT_EQ(PixelAt(surface, 10, 10), kWhite);
    EXPECT_EQ(PixelAt(surface, 80, 80), kWhite);

    // The surface kind fills the white area it starts in: everything outside the box.
    surface.SetFillColor(kBlue);
    surface.FloodFill(5, 5, kWhite, FloodFillSurface);
    EXPECT_EQ(PixelAt(surface, 80, 80), kBlue);
    EXPECT_EQ(PixelAt(surface, 40, 40), kRed);
    // Seeds outside the picture or on the border do nothing.
    QImage before = surface.Image().copy();
    surface.FloodFill(-1, 500, kBlack, FloodFillBorder);
    surface.FloodFill(20, 40, kBlack, FloodFillBorder);
    EXPECT_EQ(ChangedCount(before, surface.Image()), 0);
}

TEST(QtSurface, ChineseFacesUseAnInstalledCjkFont) {
    for (const char* face : {"宋体", "黑体", "楷体_GB2312", "华文细黑", "仿宋_GB2312", ""}) {
        SCOPED_TRACE(face);
        QFont font = MakeSubstitutedFont(face, 24);
        EXPECT_TRUE(QFontMetrics(font).inFontUcs4(0x5B8B));
        EXPECT_TRUE(QRawFont::fromFont(font).supportsCharacter(0x5B8B));
    }
    EXPECT_EQ(SubstituteFontFamily("宋体"), "AR PL UMing CN");
    EXPECT_EQ(SubstituteFontFamily("黑体"), "Droid Sans Fallback");
    EXPECT_EQ(SubstituteFontFamily("楷体_GB2312"), "AR PL UKai CN");
    EXPECT_EQ(SubstituteFontFamily("Courier New"), "DejaVu Sans Mono");
    EXPECT_EQ(SubstituteFontFamily(std::string("宋体\0", 4)), "AR PL UMing CN");
}

TEST(QtSurface, PrintedChineseIsAGlyphNotABox) {
    auto printed = [](const char* text) {
        QtSurface surface(60, 40);
        surface.SetFont("宋体", 18);
        surface.SetCurrentX(4);
        surface.SetCurrentY(4);
        surface.Print(text);
        return surface.Image().copy();
    };
    QImage blank = QtSurface(60, 40).Image().copy();
    QImage song = printed("宋"), tree = printed("木"), missing = printed("\xF3\xBF\xBF\xBD");  // U+FFFFD
    EXPECT_GT(ChangedCount(blank, song), 30);
    // Two characters of the font look different; the font has no box standing for both.
    EXPECT_GT(ChangedCount(song, tree), 30);
    EXPECT_GT(ChangedCount(song, missing), 30);
}

TEST(QtSurface, PrintMovesTheCurrentPosition) {
    QtSurface surface(200, 100);
    surface.SetScale(0, 100, 200, -100);
    surface.SetFont("宋体", 12);
    double height = surface.TextHeight("层");
    EXPECT_LT(height, 0);  // measured in user units, and y points up
    EXPECT_NEAR(surface.TextWidth("层层"), 2 * surface.TextWidth("层"), 0.5);
    surface.SetCurrentX(10);
    surface.SetCurrentY(90);
    surface.Print("层1", false);
    EXPECT_NEAR(surface.CurrentX(), 10 + surface.TextWidth("层1"), 1e-9);
    EXPECT_DOUBLE_EQ(surface.CurrentY(), 90);
    surface.Print("x");
    EXPECT_DOUBLE_EQ(surface.CurrentX(), 0);
    EXPECT_DOUBLE_EQ(surface.CurrentY(), 90 + height);
}

TEST(QtSurface, RotatedFontRunsUpwards) {
    auto outArea = [](int escapement, int orientation) {
        QtSurface surface(300, 300);
        QImage blank = surface.Image().copy();
        LogicalFont logical;
        logical.height = -24;
        logical.escapement = escapement;
        logical.orientation = orientation;
        logical.faceName = "宋体";
        FontHandle font = surface.CreateFontIndirect(logical);
        EXPECT_EQ(surface.SelectFont(font), 0);
        surface.TextOut(150, 150, "测绘地图");
        return ChangedArea(blank, surface.Image());
    };
    QRect flat = outArea(0, 0), up = outArea(900, 900), leaning = outArea(0, 300);
    EXPECT_GT(flat.width(), 3 * flat.height());
    EXPECT_GT(up.height(), 3 * up.width());
    // Counter-clockwise: the text goes up from the reference point, and lies to its right... of
    // the line it runs along, which after a quarter turn is the left side of the point.
    EXPECT_LE(up.bottom(), 152);
    EXPECT_LT(up.top(), 100);
    // An orientation apart from the escapement leans the letters: same run, wider box.
    EXPECT_GT(leaning.width(), flat.width());
    EXPECT_NEAR(leaning.height(), flat.height(), 4);
}

TEST(QtSurface, FontWidthStretchesAndHandlesAreChecked) {
    QtSurface surface(400, 100);
    QImage blank = surface.Image().copy();
    LogicalFont normal;
    normal.height = -20;
    normal.faceName = "黑体";
    LogicalFont wide = normal;
    wide.width = 20;  // twice the normal half-em width
    FontHandle a = surface.CreateFontIndirect(normal), b = surface.CreateFontIndirect(wide);
    EXPECT_NE(a, b);
    surface.SelectFont(a);
    surface.TextOut(10, 10, "测绘");
    QRect narrowBox = ChangedArea(blank, surface.Image());
    surface.Cls();
    EXPECT_EQ(surface.SelectFont(b), a);
    surface.TextOut(10, 10, "测绘");
    QRect wideBox = ChangedArea(blank, surface.Image());
    EXPECT_NEAR(wideBox.width(), 2.0 * narrowBox.width(), 0.2 * narrowBox.width());
    EXPECT_TRUE(surface.DeleteFont(a));
    EXPECT_FALSE(surface.DeleteFont(a));
    EXPECT_EQ(surface.SelectFont(a), 0);  // a deleted font cannot be selected
}

TEST(QtSurface, PaintPictureWithYUpPutsThePictureTopAtY) {
    Picture picture;
    picture.width = 2;
    picture.height = 2;
    picture.pixels = {0xFFFF0000u, 0xFFFF0000u, 0xFF0000FFu, 0xFF0000FFu};  // red row over a blue row
    QtSurface surface(100, 100);
    surface.SetScale(0, 100, 100, -100);
    surface.PaintPicture(picture, 10, 90, 40, -40);  // covers y 50..90, top at 90
    EXPECT_EQ(PixelAt(surface, 30, 15), kRed);
    EXPECT_EQ(PixelAt(surface, 30, 45), kBlue);
    EXPECT_EQ(PixelAt(surface, 30, 60), kWhite);
    Picture shot = surface.Snapshot();
    EXPECT_EQ(shot.At(30, 15), 0xFFFF0000u);
    EXPECT_EQ(shot.At(0, 0), 0xFFFFFFFFu);
}

// A picture hanging over the canvas's edge, shown smaller than it is, and one given right to left:
// the part on the canvas shows the right quarters, the right way round or mirrored.
TEST(QtSurface, APictureOverTheEdgeShowsItsVisiblePartTheRightWayRound) {
    Picture picture;
    picture.width = 400;
    picture.height = 400;
    picture.pixels.resize(400 * 400);
    for (int y = 0; y < 400; ++y)
        for (int x = 0; x < 400; ++x)
            picture.pixels[static_cast<size_t>(y) * 400 + x] = x < 200 ? (y < 200 ? 0xFFFF0000u : 0xFF0000FFu) : 0xFF00FF00u;
    QtSurface surface(100, 100);
    surface.SetScale(0, 100, 100, -100);
    surface.PaintPicture(picture, -20, 90, 80, -80);  // x -20..60: a quarter lies off the canvas
    EXPECT_EQ(PixelAt(surface, 5, 20), kRed);        // left half, top: red
    EXPECT_EQ(PixelAt(surface, 5, 80), kBlue);       // left half, bottom: blue
    EXPECT_EQ(PixelAt(surface, 30, 50), kGreen);     // right half: green
    EXPECT_EQ(PixelAt(surface, 70, 50), kWhite);

    QtSurface mirrored(100, 100);
    mirrored.SetScale(0, 100, 100, -100);
    mirrored.PaintPicture(picture, 60, 90, -80, -80);  // x 60 back to -20: shown mirrored
    EXPECT_EQ(PixelAt(mirrored, 50, 20), kRed);        // the picture's left half now on the right
    EXPECT_EQ(PixelAt(mirrored, 50, 80), kBlue);
    EXPECT_EQ(PixelAt(mirrored, 5, 50), kGreen);
}

TEST(QtSurface, BadInputDrawsNothingAndNeverCrashes) {
    QtSurface surface(50, 50);
    QImage before = surface.Image().copy();
    surface.SetScale(0, 0, 0, 10);  // refused
    EXPECT_EQ(surface.ScaleWidth(), 50);
    surface.Line(NAN, 0, 10, 10);
    surface.Line(-1e300, -1e300, 1e300, 1e300);  // clipped to the picture
    surface.Circle(25, 25, 1e12);
    surface.Circle(25, 25, 10, -1, true, 1e9, -1e9);
    surface.PaintPicture(Picture{}, 0, 0, 10, 10);
    surface.SetDrawMode(DrawModeNop);
    surface.Line(0, 0, 49, 49);
    EXPECT_GT(ChangedCount(before, surface.Image()), 0);  // only the huge line showed
}

// The widget hears of a change once until it takes the picture to paint it: a thousand figures
// drawn between two paints ask for one repaint, and a change after the paint asks again.
TEST(QtSurface, DrawingAsksTheWidgetForOneRepaintUntilItPaints) {
    QtSurface surface(20, 20);
    int changes = 0;
    surface.onChanged = [&] { ++changes; };
    surface.Line(0, 0, 10, 10);
    EXPECT_EQ(changes, 1);
    for (int k = 0; k < 1000; ++k) surface.Line(0, k % 20, 19, 19 - k % 20);
    surface.Refresh();
    EXPECT_EQ(changes, 1);
    (void)surface.Image();  // the widget paints
    surface.Refresh();
    EXPECT_EQ(changes, 2);
    surface.PSet(3, 3);
    EXPECT_EQ(changes, 2);
}

// Draws a sample of everything the canvas offers, with or without its texts.
void DrawSample(QtSurface& surface, bool withTexts) {
    surface.SetBackColor(MakeRgb(0, 0, 0));
    surface.SetScale(0, 320, 480, -320);
    surface.SetForeColor(MakeRgb(255, 255, 255));
    surface.Line(10, 10, 470, 310);
    surface.SetDrawWidth(3);
    surface.Line(10, 310, 470, 10, MakeRgb(0, 255, 0));
    surface.SetDrawWidth(1);
    surface.SetDrawStyle(DrawStyleDashDot);
    surface.Line(10, 160, 470, 160, MakeRgb(0, 255, 255));
    surface.SetDrawStyle(DrawStyleSolid);
    surface.Circle(120, 200, 60, MakeRgb(255, 255, 0));
    surface.Circle(120, 200, 80, MakeRgb(255, 0, 255), false, 0, 0, 0.5);
    surface.Circle(360, 220, 60, MakeRgb(255, 128, 0), true, -0.5, -2.5);
    surface.SetFillStyle(FillStyleSolid);
    surface.SetFillColor(MakeRgb(0, 0, 160));
    surface.Line(300, 30, 450, 100, MakeRgb(255, 255, 255), LineShape::Box);
    surface.SetFillStyle(FillStyleTransparent);
    if (withTexts) {
        surface.SetFont("宋体", 16);
        surface.SetCurrentX(20);
        surface.SetCurrentY(120);
        surface.Print("宋体：地形图 1:500");
        surface.SetFont("黑体", 12, true);
        surface.Print("黑体 粗体");
        surface.SetFont("楷体_GB2312", 14, false, true);
        surface.Print("楷体 斜体");
        surface.SetForeColor(MakeRgb(255, 80, 80));
        LogicalFont logical;
        logical.height = -20;
        logical.escapement = 900;
        logical.orientation = 900;
        logical.faceName = "宋体";
        FontHandle up = surface.CreateFontIndirect(logical);
        FontHandle previous = surface.SelectFont(up);
        surface.TextOut(250, 300, "旋转九十度");
        logical.escapement = 300;
        logical.orientation = 300;
        FontHandle turned = surface.CreateFontIndirect(logical);
        surface.SelectFont(turned);
        surface.TextOut(300, 300, "斜三十度");
        surface.SelectFont(previous);
        surface.DeleteFont(up);
        surface.DeleteFont(turned);
    }
    surface.SetDrawMode(DrawModeNotXorPen);
    surface.Line(20, 20, 200, 60, MakeRgb(255, 0, 0), LineShape::Box);  // cyan on black
    surface.SetDrawMode(DrawModeCopyPen);
}

// Whether a pixel of the colour lies within `reach` pixels of (x, y).
bool ColourNear(const QtSurface& surface, int x, int y, Rgb color, int reach = 1) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (surface.Image().valid(x + dx, y + dy) && PixelAt(surface, x + dx, y + dy) == color) return true;
    return false;
}

// The sample shows every figure where its coordinates put it (user y up: pixel y = 320 - y), and
// is saved for a person to look at.
TEST(QtSurface, SampleDrawingShowsEveryFigure) {
    QtSurface surface(480, 320);
    DrawSample(surface, true);
    ASSERT_TRUE(surface.Image().save(LookAt("movra-surface.png")));

    // The thin white line through (100, 68.7) and the wide green one through (200, 186.1): three
    // pixels across.
    EXPECT_TRUE(ColourNear(surface, 100, 251, kWhite));
    int green = 0;
    for (int y = 127; y <= 141; ++y) green += PixelAt(surface, 200, y) == kGreen;
    EXPECT_GE(green, 3);
    // The dash-dot line along y 160: broken, neither missing nor solid.
    int cyanOnRow = 0;
    for (int x = 10; x <= 470; ++x) cyanOnRow += ColourNear(surface, x, 160, MakeRgb(0, 255, 255), 0);
    EXPECT_GT(cyanOnRow, 100);
    EXPECT_LT(cyanOnRow, 440);
    // The circle of radius 60 about (120, 200); the ellipse of aspect 0.5, 80 wide and 40 high.
    EXPECT_TRUE(ColourNear(surface, 180, 120, MakeRgb(255, 255, 0)));
    EXPECT_TRUE(ColourNear(surface, 120, 60, MakeRgb(255, 255, 0)));
    EXPECT_TRUE(ColourNear(surface, 200, 120, MakeRgb(255, 0, 255)));
    EXPECT_TRUE(ColourNear(surface, 120, 80, MakeRgb(255, 0, 255)));
    EXPECT_FALSE(ColourNear(surface, 120, 40, MakeRgb(255, 0, 255)));
    // The arc about (360, 220) with its radii: orange at the centre, where the radii meet.
    EXPECT_TRUE(ColourNear(surface, 360, 100, MakeRgb(255, 128, 0)));
    // The box filled dark blue inside its white border.
    EXPECT_EQ(PixelAt(surface, 375, 255), MakeRgb(0, 0, 160));
    EXPECT_TRUE(ColourNear(surface, 375, 220, kWhite));
    // The inverting box over black shows cyan along its top edge (y 20 is pixel row 300).
    EXPECT_TRUE(ColourNear(surface, 100, 300, MakeRgb(0, 255, 255)));

    // The texts: the same sample without them differs only in the printed lines (from (20, 120)
    // down, the later lines from the left edge) and in the turned texts, placed in pixels from
    // (250, 300) and (300, 300) upwards and up to the right; each part holds many pixels.
    QtSurface plain(480, 320);
    DrawSample(plain, false);
    const QRect printedLines(0, 190, 240, 110), turnedTexts(240, 190, 180, 130);
    const QRect changed = ChangedArea(plain.Image(), surface.Image());
    EXPECT_TRUE(printedLines.united(turnedTexts).contains(changed)) << changed.x() << "," << changed.y() << " "
                                                                     << changed.width() << "x" << changed.height();
    EXPECT_GT(ChangedCount(plain.Image().copy(printedLines), surface.Image().copy(printedLines)), 300);
    EXPECT_GT(ChangedCount(plain.Image().copy(turnedTexts), surface.Image().copy(turnedTexts)), 200);
    // The text turned a quarter runs up from (250, 300): a narrow column, tall as five characters.
    const QRect upright(240, 0, 40, 320);
    const QRect column = ChangedArea(plain.Image().copy(upright), surface.Image().copy(upright));
    EXPECT_GT(column.height(), 80);
    EXPECT_LT(column.width(), 30);
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

// Short wide lines are stamped from shapes the painter stroked once; wherever a line lies, its
// pixels must be the ones the painter itself would have drawn there.
TEST(QtSurface, WideLinesCoverThePixelsThePainterWould) {
    struct Case {
        int width;
        QPoint from, to;
    };
    const Case cases[] = {
        {2, {10, 10}, {40, 12}},  {3, {50, 50}, {20, 70}},   {3, {150, 100}, {120, 120}},
        {4, {100, 20}, {100, 60}},
        {5, {30, 90}, {31, 91}},  {8, {120, 80}, {150, 40}}, {16, {60, 130}, {90, 140}},
        {6, {5, 140}, {190, 10}},  // longer than a stamped shape: drawn by the painter
    };
    QtSurface surface(200, 150);
    surface.SetBackColor(kWhite);
    surface.SetDrawMode(DrawModeCopyPen);
    QImage expected(200, 150, QImage::Format_RGB32);
    expected.fill(Qt::white);
    QPainter painter(&expected);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const Case& c : cases) {
        surface.SetDrawWidth(c.width);
        surface.Line(c.from.x(), c.from.y(), c.to.x(), c.to.y(), kBlue);
        QPen pen(QColor(0, 0, 255), c.width);
        pen.setCosmetic(true);
        pen.setCapStyle(Qt::RoundCap);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.drawLine(c.from, c.to);
    }
    painter.end();
    EXPECT_EQ(ChangedCount(expected, surface.Image()), 0);
}

}  // namespace
}  // namespace movra
