// A small hill drawn in the tilted view at 30 degrees on the real canvas and compared with the
// picture kept in tests/fixtures/golden (MOVRA_UPDATE_GOLDEN=1 writes it anew; look at it first).
#include <QImage>
#include <cstdlib>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "basic/Numbers.h"
#include "display/WorkBuffer.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "GoldenPicture.h"
#include "QtCanvasPlatform.h"

namespace movra {
namespace {

class TiltedView : public ::testing::Test {
protected:
    TiltedView()
        : platform(program.Str(), work.Str()), app(platform), form1(app),
          canvas(static_cast<QtSurface&>(form1.Picture1.surface())) {
        app.form1 = &form1;
        canvas.Resize(480, 360);
        canvas.SetBackColor(MakeRgb(255, 255, 255));
        app.view.ScaleFactor = 1;
        app.view.DisplayZoom = 1;
        app.store.LayerOnFlag[1] = True;
    }

    MapRecord& Add(int type, Rgb color) {
        const int slot = app.store.Count(1)++;
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordPen = 7;
        return r;
    }

    // A closed ring about (50, 50) at one height.
    void Ring(double half, float height, Rgb color) {
        MapRecord& r = Add(6, color);
        r.RecordX1 = 50 - half; r.RecordY1 = 50 - half;
        r.RecordX2 = 50 + half; r.RecordY2 = 50 - half;
        r.RecordX3 = 50 + half; r.RecordY3 = 50 + half;
        r.RecordX4 = 50 - half; r.RecordY4 = 50 + half;
        r.RecordZ1 = r.RecordZ2 = r.RecordZ3 = r.RecordZ4 = height;
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
    QtSurface& canvas;
};

TEST_F(TiltedView, SmallHillAtThirtyDegrees) {
    const Rgb brown = MakeRgb(150, 90, 20);
    for (int k = 0; k < 4; ++k) Ring(36 - 9 * k, static_cast<float>(12 * k), brown);
    // A road climbing the hill as a chain of two records (the second continues the first).
    MapRecord& road = Add(5, MakeRgb(200, 0, 0));
    road.RecordX1 = 5; road.RecordY1 = 90; road.RecordX2 = 25; road.RecordY2 = 70; road.RecordZ2 = 6;
    road.RecordX3 = 40; road.RecordY3 = 60; road.RecordZ3 = 20;
    road.RecordX4 = 50; road.RecordY4 = 50; road.RecordZ4 = 36;
    MapRecord& end = Add(2, MakeRgb(200, 0, 0));
    end.RecordX1 = 60; end.RecordY1 = 40; end.RecordZ1 = 24;
    end.RecordX2 = 95; end.RecordY2 = 5;
    // Masts on the summit ridge: ticks rise from their feet.
    MapRecord& masts = Add(80, MakeRgb(0, 120, 0));
    masts.RecordX1 = 45; masts.RecordY1 = 45; masts.RecordZ1 = 4;
    masts.RecordX2 = 55; masts.RecordY2 = 55; masts.RecordZ2 = 4;

    canvas.SetScale(0, 100, 100, -85);
    app.tool.CommandMode = ModeTiltView;
    app.view.TiltSin = 0.7;
    app.view.TiltAngle = 30;
    float dxiao = 1;
    xzldk(app, dxiao);
    EXPECT_NEAR(app.view.TiltSin, 0.5, 1e-12);
    Draw3DView(app);
    EXPECT_EQ(canvas.ScaleTop(), 100);  // the view comes back

    ExpectMatchesGolden(canvas.Image(), "tilted-view-30", 0, 0.005);
}

}  // namespace
}  // namespace movra
