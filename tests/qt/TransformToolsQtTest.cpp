// The move and rotate tools in the shown main window, and their previews on a pixel canvas. The
// pictures are written to the pictures folder (LookAt.h) for a look.
#include <gtest/gtest.h>

#include "GoldenPicture.h"

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QKeyEvent>
#include <QPushButton>
#include <QToolButton>
#include <QWidget>

#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "QtCanvasPlatform.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "display/HighlightRenderer.h"
#include "display/Redraw.h"
#include "document/RecordTransforms.h"
#include "document/UndoJournal.h"
#include "editing/SelectionPreviews.h"
#include "platform/qt/QtSurface.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "LookAt.h"

namespace movra {
namespace {

constexpr Rgb Blue = MakeRgb(0, 0, 255);
constexpr Rgb Green = MakeRgb(0, 160, 0);

// ---- In the shown main window, with real events.

struct TransformToolsQtTest : ::testing::Test {
    TransformToolsQtTest() {
        run.Start();
        QApplication::processEvents();
        canvas = run.binder.WidgetOf(form.Picture1);
        bar = run.binder.WidgetOf(form.Toolbar1);
    }

    QImage Canvas() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    void Hover(QPoint at) { SendMouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton); }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QKeyEvent event(QEvent::KeyPress, key, modifiers);
        QCoreApplication::sendEvent(canvas, &event);
        QApplication::processEvents();
    }
    // Five moves towards the point: the fifth draws the preview there.
    void HoverFiveTimesTo(QPoint at) {
        for (int k = 4; k >= 0; --k) Hover(at - QPoint(3 * k, 2 * k));
        QApplication::processEvents();
    }
    void ToolbarButton(const QString& text) {
        for (auto* button : bar->findChildren<QToolButton*>())
            if (button->text() == text) {
                button->click();
                QApplication::processEvents();
                return;
            }
        ADD_FAILURE() << "no button " << text.toStdString();
    }
    double X(int px) { return form.Picture1.surface().FromPixelX(px); }
    double Y(int py) { return form.Picture1.surface().FromPixelY(py); }
    MapRecord& Put(int slot, int type, std::initializer_list<QPoint> points, Rgb color) {
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordPen = 0;
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int k = 0;
        for (QPoint p : points) {
            *fields[k++] = X(p.x());
            *fields[k++] = Y(p.y());
        }
        if (app.store.Count(1) <= slot) app.store.Count(1) = slot + 1;
        return r;
    }

    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run{program.Str(), work.Str()};
    App& app = run.app;
    stForm1& form = run.form1;
    QWidget* canvas = nullptr;
    QWidget* bar = nullptr;
};

TEST_F(TransformToolsQtTest, AUserCopiesPastesAndPlacesTheCopyThenTurnsASquare) {
    ASSERT_NE(canvas, nullptr);
    ASSERT_GE(canvas->width(), 420);
    ASSERT_GE(canvas->height(), 300);
    app.store.CurrentLayer = 1;
    app.store.LayerOnFlag[1] = -1;
    app.tool.SnapOn = 0;
    // A white canvas, on which drawing a figure again in its colour takes it off, and thin pens.
    form.Picture1.SetBackColor(MakeRgb(255, 255, 255));
    app.view.BackgroundColor = MakeRgb(255, 255, 255);
    app.current.CurrentPen = 0;
    Put(0, 2, {{60, 60}, {160, 60}}, Blue);
    Put(1, 6, {{60, 100}, {60, 140}, {100, 140}, {100, 100}}, Green);
    RestartUndo(app);
    刷新(app);
    QApplication::processEvents();
    const std::vector<MapRecord> originals = {app.store.Get(1, 0), app.store.Get(1, 1)};

    // X arms the selection; a window around both records selects them; Ctrl+C, Ctrl+V paste the
    // copies, selected, with the move tool armed.
    Key(Qt::Key_X);
    ASSERT_EQ(app.tool.CommandMode, ModeSelect);
    DragOn(canvas, {40, 40}, {200, 180});
    ASSERT_EQ(app.selection.SelectionList[0].Layer, 3);
    Key(Qt::Key_C, Qt::ControlModifier);
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(app.tool.CommandMode, ModeMoveSelection);
    ASSERT_EQ(app.store.Count(1), 4);

    // The first click takes the copy; the preview follows the cursor with P1 of the first record
    // under it.
    ClickOn(canvas, {60, 60});
    const QImage before = Canvas();
    HoverFiveTimesTo({300, 200});
    const QImage preview = Canvas();
    preview.save(LookAt("movra_move_preview.png"));
    EXPECT_NE(preview.pixel(301, 200), before.pixel(301, 200));
    EXPECT_NE(preview.pixel(320, 240), before.pixel(320, 240));  // the square's upper side

    // The second click puts it there: P1 of the first copy on the raw release point.
    ClickOn(canvas, {300, 200});
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    const MapRecord& copy = app.store.Get(1, 2);
    EXPECT_NEAR(copy.RecordX1, X(300), 1e-3);
    EXPECT_NEAR(copy.RecordY1, Y(200), 1e-3);
    EXPECT_NEAR(app.store.Get(1, 3).RecordX3, X(340), 1e-3);
    EXPECT_TRUE(app.store.Get(1, 0) == originals[0]);
    EXPECT_TRUE(app.store.Get(1, 1) == originals[1]);
    Canvas().save(LookAt("movra_move_placed.png"));

    // The toolbar's undo takes the move back in two steps, then the paste.
    ToolbarButton("撤消");
    ToolbarButton("撤消");
    EXPECT_NEAR(app.store.Get(1, 2).RecordX1, originals[0].RecordX1, 1e-9);
    EXPECT_NEAR(app.store.Get(1, 3).RecordY2, originals[1].RecordY2, 1e-9);
    ToolbarButton("撤消");
    EXPECT_EQ(app.store.Count(1), 2);

    // The square alone, turned about its P1 from north to east with the method panel's button 2.
    Key(Qt::Key_X);
    DragOn(canvas, {50, 90}, {110, 150});
    ASSERT_EQ(app.selection.SelectionList[0].Layer, 2);
    auto* rotate = qobject_cast<QPushButton*>(run.binder.WidgetOf(form.Command8(2)));
    ASSERT_NE(rotate, nullptr);
    rotate->click();
    QApplication::processEvents();
    ASSERT_EQ(app.tool.CommandMode, ModeRotateSelection);
    EXPECT_EQ(form.Text2.Text(), "旋转已选目标");
    ClickOn(canvas, {60, 20});
    const QImage still = Canvas();
    HoverFiveTimesTo({200, 100});
    const QImage turning = Canvas();
    turning.save(LookAt("movra_rotation_preview.png"));
    // The square shown turned to the west of its P1: its far side runs down the column x = 20.
    const QRgb background = still.pixel(canvas->width() - 20, canvas->height() - 20);
    auto drawnNear = [&](const QImage& image, int x, int y) {
        for (int dx = -1; dx <= 1; ++dx)
            for (int dy = -1; dy <= 1; ++dy)
                if (image.pixel(x + dx, y + dy) != background) return true;
        return false;
    };
    EXPECT_FALSE(drawnNear(still, 20, 120));
    EXPECT_TRUE(drawnNear(turning, 20, 120));
    EXPECT_TRUE(drawnNear(turning, 40, 140));
    ClickOn(canvas, {200, 100});
    const MapRecord& square = app.store.Get(1, 1);
    EXPECT_NEAR(square.RecordX2, X(20), 1e-3);
    EXPECT_NEAR(square.RecordY2, Y(100), 1e-3);
    EXPECT_NEAR(square.RecordX3, X(20), 1e-3);
    EXPECT_NEAR(square.RecordY3, Y(140), 1e-3);
    Canvas().save(LookAt("movra_rotation_done.png"));
}

TEST_F(TransformToolsQtTest, TheSizeFontAndColourListsRestyleTheSelectedTexts) {
    app.store.CurrentLayer = 1;
    app.store.LayerOnFlag[1] = -1;
    app.tool.SnapOn = 0;
    MapRecord& text = Put(0, 65, {{80, 80}}, Blue);
    text.RecordText = "河";
    text.RecordX2 = 3;
    text.RecordFont = "黑体";
    Put(1, 2, {{60, 100}, {160, 100}}, Blue);
    Put(2, 70, {{300, 300}, {10, 10}}, 2);  // an image outside the window: not selected
    刷新(app);
    Key(Qt::Key_X);
    DragOn(canvas, {40, 40}, {200, 180});
    ASSERT_EQ(app.selection.SelectionList[0].Layer, 3);
    ASSERT_EQ(app.tool.CommandMode, ModeSelect);

    auto choose = [&](Control& control, const QString& item) {
        auto* box = qobject_cast<QComboBox*>(run.binder.WidgetOf(control));
        ASSERT_NE(box, nullptr);
        const int index = box->findText(item);
        ASSERT_GE(index, 0) << item.toStdString();
        box->setCurrentIndex(index);
        emit box->activated(index);
        QApplication::processEvents();
    };
    choose(form.Combo2, "12");
    EXPECT_EQ(app.store.Get(1, 0).RecordX2, 12);
    EXPECT_EQ(app.store.Get(1, 0).RecordPen, 12);
    EXPECT_EQ(app.store.Get(1, 1).RecordX2, X(160));  // the line keeps its vertex
    choose(form.Combo3, QString::fromStdString(form.Combo3.List(5)));
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 64);
    EXPECT_EQ(std::string(app.store.Get(1, 0).RecordFont), "宋体");
    EXPECT_EQ(form.Text7.Text(), "右斜");
    choose(form.ImageCombo2, QString::fromStdString(app.tables.ColorNames[3]));
    EXPECT_EQ(app.store.Get(1, 0).RecordColor, app.tables.ColorPalette[3]);
    EXPECT_EQ(app.store.Get(1, 1).RecordColor, app.tables.ColorPalette[3]);
    EXPECT_EQ(app.store.Get(1, 2).RecordColor, 2);
    Canvas().save(LookAt("movra_restyled.png"));
}

// ---- The previews on a pixel canvas, every previewed type.

struct PreviewPictureTest : ::testing::Test {
    PreviewPictureTest() {
        app.form1 = &form1;
        surface.Resize(480, 360);
        surface.SetBackColor(MakeRgb(255, 255, 255));
        surface.SetScale(0, 180, 240, -180);  // 2 pixels to the unit
        surface.Cls();
        surface.SetDrawMode(DrawModeNotXorPen);
        app.view.ScaleFactor = 3;
        app.view.DisplayZoom = 2;
        app.view.PointMarkRadius = 1.2;
        app.view.BackgroundColor = MakeRgb(255, 255, 255);
        app.store.LayerOnFlag[1] = -1;
    }
    QImage Image() { return surface.Image().convertToFormat(QImage::Format_RGB32); }

    // A record of the type with its vertices from (x, y) on, stepping (6, 4), in the colour; a
    // chained record is followed by its end record, both selected.
    void Add(int type, double x, double y, Rgb color = MakeRgb(200, 0, 0)) {
        const int slot = app.store.Count(1)++;
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = color;
        r.RecordPen = 1;
        r.RecordFont = "宋体";
        r.RecordX1 = x, r.RecordY1 = y;
        r.RecordX2 = x + 6, r.RecordY2 = y + 4;
        r.RecordX3 = x + 12, r.RecordY3 = y;
        r.RecordX4 = x + 6, r.RecordY4 = y - 4;
        r.RecordZ1 = r.RecordZ2 = r.RecordZ3 = r.RecordZ4 = 3;
        if (type >= 7 && type <= 9) r.RecordX2 = 3, r.RecordY2 = 1, r.RecordX3 = 0.5, r.RecordY3 = 2;
        if (type == 92 || type == 93 || type == 94 || type == 95) r.RecordText = "1090";
        if (type == 15) r.RecordText = "1";
        if (type >= 61 && type <= 68) {
            r.RecordText = "字" + std::to_string(type);
            r.RecordX2 = 5, r.RecordY2 = 0.8, r.RecordZ2 = 20;
        }
        selected.push_back({1, slot});
        if (type == 5 || type == 25 || type == 30 || type == 45 || type == 75 || type == 95) Add(type - 4, x + 3, y - 8, color);
    }
    void SelectAdded() {
        auto& list = app.selection.SelectionList;
        list.assign(selected.size() + 2, SelectedRecord{});
        list[0].Layer = static_cast<std::int32_t>(selected.size()) + 1;
        for (std::size_t k = 0; k < selected.size(); ++k) list[k + 1] = selected[k];
    }
    // The types laid out in rows over the canvas.
    void AddAll(std::initializer_list<int> types) {
        Add(2, Centre.x(), Centre.y(), MakeRgb(0, 0, 200));  // the first record: the pivot
        int k = 0;
        for (int type : types) {
            Add(type, 10 + 22 * (k % 10), 165 - 18 * (k / 10));
            ++k;
        }
        SelectAdded();
    }

    // The canvas's middle, and a direction 20° clockwise of north from it.
    static constexpr QPointF Centre{110, 85};
    static constexpr QPointF North{110, 120};
    static constexpr QPointF Turned{121.97, 117.89};

    TempFolder program{"program"}, work{"work"};
    QtCanvasPlatform platform{program.Str(), work.Str()};
    App app{platform};
    stForm1 form1{app};
    QtSurface& surface = static_cast<QtSurface&>(form1.Picture1.surface());
    std::vector<SelectedRecord> selected;
};

// The figure types, without the ones that print texts or labels.
const std::initializer_list<int> FigureTypes = {2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18,
                                                 19, 21, 22, 23, 24, 25, 27, 28, 29, 30, 36, 42, 43, 44, 45, 51, 52,
                                                 72, 73, 74, 75, 80, 81, 85, 92, 93, 94, 95, 99};

TEST_F(PreviewPictureTest, EachPreviewDrawnTwiceLeavesTheFiguresAsTheyWere) {
    AddAll(FigureTypes);
    const QImage blank = Image();
    PreviewMove(app, 100, 60, 0, 0, 1);
    const QImage moved = Image();
    EXPECT_GT(DifferentPixels(blank, moved), 500);
    // P1 of the first record under the cursor.
    EXPECT_NE(moved.pixel(surface.ToPixelX(100), surface.ToPixelY(60)), blank.pixel(0, 0));
    PreviewMove(app, 100, 60, 0, 0, 1);
    EXPECT_EQ(DifferentPixels(blank, Image()), 0);

    PreviewRotation(app, North.x(), North.y(), Turned.x(), Turned.y(), 1);
    const QImage turned = Image();
    EXPECT_GT(DifferentPixels(blank, turned), 500);
    PreviewRotation(app, North.x(), North.y(), Turned.x(), Turned.y(), 0);
    EXPECT_EQ(DifferentPixels(blank, Image()), 0);
}

TEST_F(PreviewPictureTest, EveryPreviewedTypeAsAPicture) {
    AddAll({1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 21, 22, 23, 24, 25, 27,
            28, 29, 30, 31, 32, 33, 34, 36, 42, 43, 44, 45, 46, 47, 48, 49, 50, 51, 52, 53, 54, 55, 56, 57, 61,
            62, 63, 64, 65, 66, 67, 68, 72, 73, 74, 75, 80, 81, 85, 87, 92, 93, 94, 95, 99});
    const QImage blank = Image();
    PreviewMove(app, 112, 80, 0, 0, 1);
    const QImage shown = Image();
    shown.save(LookAt("movra_preview_move_all.png"));
    PreviewMove(app, 112, 80, 0, 0, 0);
    // The figures went off with the second pass and the texts with the background pass; what
    // stays are the marks printed in their own colour in both passes (darker where smoothing
    // blends them twice), and the faint edges that smoothing leaves of a text printed over in the
    // background colour, too faint to count here.
    const QImage afterMove = Image();
    afterMove.save(LookAt("movra_preview_move_erased.png"));
    auto strong = [](QRgb a, QRgb b) {
        return std::abs(qRed(a) - qRed(b)) > 96 || std::abs(qGreen(a) - qGreen(b)) > 96 ||
               std::abs(qBlue(a) - qBlue(b)) > 96;
    };
    int shownPixels = 0, stayed = 0, stayedNotShown = 0;
    for (int y = 0; y < blank.height(); ++y)
        for (int x = 0; x < blank.width(); ++x) {
            shownPixels += strong(shown.pixel(x, y), blank.pixel(x, y));
            if (!strong(afterMove.pixel(x, y), blank.pixel(x, y))) continue;
            ++stayed;
            stayedNotShown += shown.pixel(x, y) == blank.pixel(x, y);
        }
    EXPECT_GT(shownPixels, 2000);
    EXPECT_LT(stayed, shownPixels / 10) << stayed << " of " << shownPixels;
    EXPECT_EQ(stayedNotShown, 0) << "the erasing pass drew where the preview had not";

    surface.Cls();
    PreviewRotation(app, North.x(), North.y(), Turned.x(), Turned.y(), 1);
    Image().save(LookAt("movra_preview_rotation_all.png"));
    EXPECT_GT(DifferentPixels(blank, Image()), 500);
}

TEST_F(PreviewPictureTest, OneTextIsShownAtTheAngleTheRotationStores) {
    Add(65, 120, 90, MakeRgb(0, 0, 200));
    app.store.At(1, 0).RecordX2 = 12;
    SelectAdded();
    for (const QPointF cursor : {QPointF(200, 90), QPointF(160, 20), QPointF(60, 150)}) {
        surface.Cls();
        PreviewRotation(app, 120, 170, cursor.x(), cursor.y(), 1);
        const QImage shown = Image();
        const MapRecord kept = app.store.Get(1, 0);
        旋转后(app, 120, 170, cursor.x(), cursor.y(), 1);
        surface.Cls();
        刷图元(app, 1, 0, app.store.Get(1, 0).RecordColor);
        const QImage stored = Image();
        EXPECT_GT(DifferentPixels(shown, QImage(shown.size(), shown.format())), 20);
        EXPECT_EQ(DifferentPixels(shown, stored), 0) << cursor.x() << " " << cursor.y();
        if (cursor.x() == 160) stored.save(LookAt("movra_preview_lone_text.png"));
        app.store.At(1, 0) = kept;
    }
}

}  // namespace
}  // namespace movra
