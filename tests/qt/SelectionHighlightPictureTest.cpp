// The selection's highlights drawn on the real canvas: with black as the current colour the
// window selection draws in red 136, green 19 and the point pick in red 244, green 1. The picture
// is written to the pictures folder (LookAt.h) for a look.
#include <QImage>
#include <QString>

#include <gtest/gtest.h>

#include "basic/Numbers.h"
#include "editing/SelectionTools.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "QtCanvasPlatform.h"
#include "LookAt.h"

namespace movra {
namespace {

TEST(SelectionHighlightPicture, WindowAndPickHighlightColours) {
    TempFolder program{"program"}, work{"work"};
    QtCanvasPlatform platform(program.Str(), work.Str());
    App app(platform);
    stForm1 form1(app);
    app.form1 = &form1;
    auto& canvas = static_cast<QtSurface&>(form1.Picture1.surface());
    canvas.Resize(200, 200);
    canvas.SetBackColor(MakeRgb(255, 255, 255));
    canvas.SetScale(0, 100, 100, -100);
    app.view.ScaleFactor = 1;
    app.view.DisplayZoom = 2;
    app.store.LayerOnFlag[1] = True;
    app.current.CurrentColor = 0;
    auto add = [&](double x1, double y1, double x2, double y2) {
        const int slot = app.store.Count(1)++;
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = 2;
        r.RecordPen = 9;  // three pixels wide
        r.RecordX1 = x1, r.RecordY1 = y1, r.RecordX2 = x2, r.RecordY2 = y2;
        r.RecordX3 = r.RecordX4 = x1, r.RecordY3 = r.RecordY4 = y1;
    };
    add(10, 30, 90, 30);
    add(10, 70, 90, 70);

    SelectInWindow(app, 5, 40, 95, 20);  // the lower line
    ASSERT_EQ(app.selection.SelectionList[0].Layer, 2);
    PickAtPoint(app, 10.2, 70.2);  // the upper line by its first vertex
    ASSERT_EQ(app.selection.SelectionList[0].Layer, 2);

    QImage image = canvas.Image().convertToFormat(QImage::Format_RGB32);
    image.save(LookAt("movra_selection_highlights.png"));
    const QRgb window = image.pixel(100, 140), pick = image.pixel(100, 60);
    EXPECT_EQ(qRed(window), 136);
    EXPECT_EQ(qGreen(window), 19);
    EXPECT_EQ(qBlue(window), 0);
    EXPECT_EQ(qRed(pick), 244);
    EXPECT_EQ(qGreen(pick), 1);
    EXPECT_EQ(qBlue(pick), 0);
}

}  // namespace
}  // namespace movra
