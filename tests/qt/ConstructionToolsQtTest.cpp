#include <gtest/gtest.h>

#include "GoldenPicture.h"

#include <cmath>

#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>

#include "App.h"
#include "basic/Numbers.h"
#include "display/Redraw.h"
#include "document/Geometry.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "LookAt.h"
#include "ShownMainWindow.h"

namespace movra {
namespace {

// The measuring, vertex and construction tools armed by the method panel's buttons and driven by
// real mouse events on the shown main window's canvas.
struct ConstructionToolsQtTest : ::testing::Test, ShownMainWindow {
    ConstructionToolsQtTest() {
        app.tool.SnapOn = 0;
        app.current.CurrentColor = MakeRgb(255, 255, 0);
        app.current.CurrentPen = 0;
        layer = app.store.CurrentLayer;
        start = app.store.Count(layer);
    }

    QImage Canvas() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void Send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons held) {
        QMouseEvent event(type, at, canvas->mapToGlobal(at), button, held, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &event);
    }
    // Arms the tool by its button of the method panel, as the user does.
    void Arm(std::uint8_t mode) {
        auto* button = qobject_cast<QPushButton*>(binder.WidgetOf(form1.Command8(mode - 100)));
        ASSERT_NE(button, nullptr);
        button->click();
        QApplication::processEvents();
        ASSERT_EQ(app.tool.CommandMode, mode);
    }
    void Hover(QPoint p) { Send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton); }
    // Clicks through the pixels, hovering to each from the one before, as a hand does.
    void ClickThrough(std::initializer_list<QPoint> points) {
        for (QPoint p : points) {
            Hover(p - QPoint(7, 5));
            Hover(p);
            Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton);
            Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton);
        }
        QApplication::processEvents();
    }
    // The map point of a pixel of the canvas.
    CanvasXY At(QPoint p) {
        const Surface& s = form1.Picture1.surface();
        return {static_cast<float>(s.FromPixelX(p.x())), static_cast<float>(s.FromPixelY(p.y()))};
    }
    double Pixel() { return At(QPoint(1, 0)).x - At(QPoint(0, 0)).x; }
    const MapRecord& R(int k) { return app.store.Get(layer, start + k); }
    int Added() { return app.store.Count(layer) - start; }

    int layer = 0;
    std::int32_t start = 0;
};

// Whether the stored arc, counter-clockwise from X3 to Y3, passes the direction of p.
bool ArcPasses(const MapRecord& arc, CanvasXY p) {
    const double toP = std::fmod(DirectionAngle(arc.RecordX1, arc.RecordY1, p.x, p.y) - arc.RecordX3 + TwoPi, TwoPi);
    return toP <= std::fmod(arc.RecordY3 - arc.RecordX3 + TwoPi, TwoPi);
}

TEST_F(ConstructionToolsQtTest, CurvesEllipsesAndPerpendicularsDrawnWithTheMouse) {
    ASSERT_NE(canvas, nullptr);
    ASSERT_GE(canvas->width(), 400);
    ASSERT_GE(canvas->height(), 340);
    const QImage blank = Canvas();

    // Arcs through three clicks, clockwise and the other way, and a circle.
    Arm(ModeArc3P);
    ClickThrough({QPoint(20, 110), QPoint(50, 70), QPoint(80, 110)});
    ClickThrough({QPoint(170, 110), QPoint(140, 70), QPoint(110, 110)});
    Arm(ModeCircle3P);
    ClickThrough({QPoint(200, 100), QPoint(230, 70), QPoint(260, 100)});
    ASSERT_EQ(Added(), 3);
    EXPECT_TRUE(ArcPasses(R(0), At(QPoint(50, 70))));
    EXPECT_TRUE(ArcPasses(R(1), At(QPoint(140, 70))));
    EXPECT_EQ(R(2).RecordType, 7);

    // An ellipse whose long axis rises at 30°.
    Arm(ModeEllipse);
    ClickThrough({QPoint(296, 120), QPoint(364, 81)});
    Hover(QPoint(330, 110));
    ClickThrough({QPoint(336, 120)});
    ASSERT_EQ(Added(), 4);
    EXPECT_EQ(R(3).RecordType, 9);
    EXPECT_NEAR(R(3).RecordX3, DmsToRad(240), 0.02);  // the azimuth from the second end to the first
    EXPECT_GT(R(3).RecordY2, 5 * Pixel());

    // A curve smoothed through six clicks: 1 + 4 × 6 + 1 points in seven records.
    Arm(ModeSmoothCurve);
    ClickThrough({QPoint(20, 220), QPoint(70, 160), QPoint(120, 220), QPoint(170, 160), QPoint(220, 220)});
    Hover(QPoint(250, 150));
    Hover(QPoint(260, 165));
    Canvas().save(LookAt("movra_smooth_curve_preview.png"));
    ClickThrough({QPoint(270, 170)});
    ASSERT_EQ(Added(), 4 + 7);
    EXPECT_EQ(R(10).RecordType, 2);

    // Perpendiculars: the base, then three right angles.
    Arm(ModePerpendiculars);
    ClickThrough({QPoint(300, 190), QPoint(370, 190), QPoint(380, 240), QPoint(320, 230), QPoint(330, 300)});
    ASSERT_EQ(Added(), 11 + 2);
    EXPECT_EQ(R(11).RecordType, 5);
    EXPECT_EQ(R(12).RecordType, 1);
    EXPECT_NEAR(R(12).RecordX1, At(QPoint(320, 40)).x, 1e-6);
    EXPECT_NEAR(R(12).RecordY1, At(QPoint(0, 300)).y, 1e-6);

    // The foot of a perpendicular, and a line as long as the third click is far.
    Arm(ModePerpendicularFoot);
    ClickThrough({QPoint(20, 270), QPoint(120, 270), QPoint(60, 320)});
    Arm(ModeTypedLengthLine);
    ClickThrough({QPoint(150, 270), QPoint(250, 270), QPoint(150, 320)});
    ASSERT_EQ(Added(), 15);
    EXPECT_EQ(R(13).RecordType, 46);
    EXPECT_NEAR(R(13).RecordX1, At(QPoint(60, 40)).x, 1e-6);
    EXPECT_NEAR(R(13).RecordY1, At(QPoint(0, 270)).y, 1e-6);
    EXPECT_EQ(R(14).RecordType, 2);
    EXPECT_NEAR(R(14).RecordX2, At(QPoint(200, 40)).x, 1e-3);

    const QImage drawn = Canvas();
    drawn.save(LookAt("movra_construction_tools_drawn.png"));
    EXPECT_GT(DifferentPixels(blank, drawn), 1000);
    刷新(app);
    QApplication::processEvents();
    const QImage redrawn = Canvas();
    redrawn.save(LookAt("movra_construction_tools_redrawn.png"));
    EXPECT_GT(DifferentPixels(blank, redrawn), 1000);
    // The tools drew what the store holds, and their previews left nothing behind: only the base
    // lines of the foot and of the typed-length line and the radii of the arcs are not redrawn.
    const int rest = DifferentPixels(drawn, redrawn);
    EXPECT_LT(rest, 600) << rest << " pixels differ";
}

TEST_F(ConstructionToolsQtTest, MeasuresAndVertexEditsMadeWithTheMouse) {
    ASSERT_NE(canvas, nullptr);
    // A polyline of three vertices to edit.
    MapRecord& line = app.store.At(layer, start);
    line.RecordType = 3;
    line.RecordColor = MakeRgb(0, 255, 255);
    const CanvasXY v1 = At(QPoint(40, 240)), v2 = At(QPoint(140, 240)), v3 = At(QPoint(140, 320));
    line.RecordX1 = v1.x, line.RecordY1 = v1.y;
    line.RecordX2 = v2.x, line.RecordY2 = v2.y;
    line.RecordX3 = v3.x, line.RecordY3 = v3.y;
    app.store.Count(layer) = start + 1;
    刷新(app);

    // The crossing of two lines.
    Arm(ModeIntersection);
    ClickThrough({QPoint(20, 80), QPoint(120, 80), QPoint(70, 50), QPoint(70, 130)});
    ASSERT_EQ(Added(), 2);
    EXPECT_EQ(R(1).RecordType, 46);
    EXPECT_NEAR(R(1).RecordX1, At(QPoint(70, 40)).x, 1e-3);
    EXPECT_NEAR(R(1).RecordY1, At(QPoint(0, 80)).y, 1e-3);

    // A distance and an angle.
    Arm(ModeDistance);
    EXPECT_EQ(form1.Text2.Text(), "两点距离");
    ClickThrough({QPoint(200, 80), QPoint(260, 160)});
    const double d = std::nearbyint(100 * Pixel() * 10000) / 10000;
    EXPECT_NEAR(Val(form1.Text2.Text()), d, 1e-3 * d);
    EXPECT_EQ(form1.Text8.Text(), form1.Text2.Text() + "+=距离");
    Arm(ModeAngle);
    ClickThrough({QPoint(300, 80), QPoint(300, 140), QPoint(360, 140)});
    EXPECT_EQ(form1.Text8.Text(), "90=90-0=α");

    // A vertex inserted after vertex 1, then vertex 3 moved.
    Arm(ModeInsertVertex);
    EXPECT_EQ(app.tool.SnapOn, -1);
    ClickThrough({QPoint(40, 240), QPoint(90, 210)});
    EXPECT_EQ(app.tool.CommandMode, ModeJournalHold);
    EXPECT_EQ(R(0).RecordType, 4);
    EXPECT_NEAR(R(0).RecordX2, At(QPoint(90, 40)).x, 1e-3);
    EXPECT_NEAR(R(0).RecordY2, At(QPoint(0, 210)).y, 1e-3);
    Arm(ModeMoveVertex);
    EXPECT_EQ(app.tool.SnapOn, -1);
    ClickThrough({QPoint(140, 240), QPoint(180, 270)});
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_NEAR(R(0).RecordX3, At(QPoint(180, 40)).x, 1e-3);
    EXPECT_NEAR(R(0).RecordY3, At(QPoint(0, 270)).y, 1e-3);
    QApplication::processEvents();
    const QImage edited = Canvas();
    edited.save(LookAt("movra_vertex_tools_edited.png"));
    EXPECT_NE(edited.pixel(180, 270), edited.pixel(5, 335));  // the moved vertex is drawn
}

}  // namespace
}  // namespace movra
