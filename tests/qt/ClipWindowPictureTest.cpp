// A small map clipped to a window and shown with the buffer renderer on the real canvas: nothing
// of the lines that run out of the window is drawn beyond its border. The picture is kept in
// tests/fixtures/golden (MOVRA_UPDATE_GOLDEN=1 writes it anew; look at it first).
#include <QImage>
#include <QString>
#include <vector>

#include <gtest/gtest.h>

#include "basic/Colors.h"
#include "basic/Numbers.h"
#include "display/WorkBuffer.h"
#include "geomops/WindowClip.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "GoldenPicture.h"
#include "QtCanvasPlatform.h"
#include "LookAt.h"

namespace movra {
namespace {

class ClipWindowPicture : public ::testing::Test {
protected:
    ClipWindowPicture()
        : platform(program.Str(), work.Str()), app(platform), form1(app),
          canvas(static_cast<QtSurface&>(form1.Picture1.surface())) {
        app.form1 = &form1;
        canvas.Resize(400, 400);
        canvas.SetBackColor(MakeRgb(255, 255, 255));
        app.view.ScaleFactor = 1;
        app.view.DisplayZoom = 2;
        app.store.LayerOnFlag[1] = True;
    }

    MapRecord& Add(int type, Rgb color, std::vector<double> xy) {
        const int slot = app.store.Count(1)++;
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordPen = 8;
        xy.resize(8, 0.0);
        r.RecordX1 = xy[0]; r.RecordY1 = xy[1]; r.RecordX2 = xy[2]; r.RecordY2 = xy[3];
        r.RecordX3 = xy[4]; r.RecordY3 = xy[5]; r.RecordX4 = xy[6]; r.RecordY4 = xy[7];
        return r;
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
    QtSurface& canvas;
};

TEST_F(ClipWindowPicture, LinesEndAtTheWindowBorder) {
    const Rgb red = MakeRgb(200, 0, 0), blue = MakeRgb(0, 0, 200), green = MakeRgb(0, 140, 0);
    Add(4, red, {-40, 20, 40, 30, 60, 70, 140, 90});           // runs out to the right
    Add(5, blue, {20, 80, 30, 90, 45, 80, 55, 88});             // a chain going on in the next slot
    Add(2, blue, {65, 92, 130, 120});                           // ... which leaves at the top
    Add(6, green, {75, -20, 130, -20, 130, 30, 75, 30});        // a square over the lower right corner
    Add(2, red, {-60, 10, 160, 55});                            // crosses the whole window
    Add(7, green, {35, 45, 12, 1});                             // a circle wholly inside
    Add(73, MakeRgb(120, 60, 0), {10, -30, 25, 60, 70, 40});    // a width-3 line entering from below
    MapRecord& tick = Add(80, red, {88, 88});                   // a tick leaving at the top
    tick.RecordZ1 = 30;

    ClipWindow(app, 0, 100, 100, 0);
    ASSERT_GT(app.clip.ClipBufferCount, 8);
    canvas.SetScale(-50, 150, 200, -200);  // 2 pixels to the unit; the window is pixels 100..300
    DrawClipBuffer(app);
    const QImage image = canvas.Image().convertToFormat(QImage::Format_RGB32);
    image.save(LookAt("movra-clip-window.png"));

    // Every drawn pixel lies in the window (a pen width of slack at its border).
    int inside = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == qRgb(255, 255, 255)) continue;
            EXPECT_TRUE(x >= 97 && x <= 303 && y >= 97 && y <= 303) << x << ", " << y;
            ++inside;
            if (HasFailure()) return;
        }
    }
    EXPECT_GT(inside, 1000);
    ExpectMatchesGolden(image, "clip-window", 0, 0.005);
}

}  // namespace
}  // namespace movra
