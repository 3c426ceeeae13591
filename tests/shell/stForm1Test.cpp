#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <utility>

#include "platform/fake/RecordingSurface.h"
#include "shell/ViewStateFormulas.h"

#include "support/TestApp.h"

namespace movra {
namespace {

TEST(stForm1Test, MainWindowIsBuiltAroundABlackCanvasWithYUp) {
    TestApp t;
    stForm1& form = t.form1;
    EXPECT_EQ(t.app.form1, &form);
    EXPECT_EQ(form.Caption(), "movra_newfilse");
    EXPECT_EQ(form.Picture1.BackColor(), MakeRgb(0, 0, 0));
    EXPECT_EQ(form.Picture1.surface().BackColor(), MakeRgb(0, 0, 0));
    EXPECT_LT(form.Picture1.ScaleHeight(), 0);
    // The upper edge of the canvas is above its lower edge in ground units.
    double top = form.Picture1.surface().FromPixelY(0);
    double bottom = form.Picture1.surface().FromPixelY(form.Picture1.surface().PixelHeight());
    EXPECT_GT(top, bottom);
    EXPECT_EQ(form.Label6.BackColor(), MakeRgb(0, 0, 255));
    EXPECT_EQ(form.Text4.BackColor(), form.Picture1.BackColor());
    EXPECT_EQ(form.Text4.ForeColor(), MakeRgb(40, 52, 1));

    form.Load();
    EXPECT_EQ(form.WindowState(), WindowMaximized);
}

TEST(stForm1Test, ResizePlacesCanvasScrollBarsAndBoxesAroundIt) {
    TestApp t;
    stForm1& form = t.form1;
    // Sizes of the inner area in twips: a large screen, the smallest the window allows, and below
    // it (a minimised window) down to nothing.
    const double minW = MinimumClientWidth, minH = MinimumClientHeight;
    struct Size {
        double width, height;
        bool fits;  // at or above the minimum: everything must stay inside
    };
    for (Size size : {Size{28800, 16200, true}, Size{24000, 15000, true}, Size{12000, 9000, true},
                      Size{minW, minH, true}, Size{9600, 6000, false}, Size{0, 0, false}}) {
        SCOPED_TRACE(testing::Message() << size.width << " x " << size.height);
        form.ViewResized(size.width + 240, size.height + 600, size.width, size.height, WindowNormal);
        const PictureBox& canvas = form.Picture1;
        EXPECT_DOUBLE_EQ(canvas.Left(), stForm1::CanvasLeft);
        EXPECT_DOUBLE_EQ(canvas.Top(), stForm1::CanvasTop);
        EXPECT_GE(canvas.Width(), 0);
        EXPECT_GE(canvas.Height(), 0);
        EXPECT_DOUBLE_EQ(form.VScroll1.Left(), canvas.Left() + canvas.Width());
        EXPECT_DOUBLE_EQ(form.VScroll1.Top(), canvas.Top());
        EXPECT_DOUBLE_EQ(form.VScroll1.Height(), std::max(0.0, canvas.Height() - form.HScroll1.Height()));
        EXPECT_DOUBLE_EQ(form.HScroll1.Top(), form.VScroll1.Top() + form.VScroll1.Height());
        EXPECT_DOUBLE_EQ(form.HScroll1.Width(), canvas.Width());
        if (!size.fits) continue;
        // Every control of the window, the canvas and its bars included, inside the inner area.
        for (const Control* c : form.Controls()) {
            if (c->Container() || !c->HasGeometry() || c->Kind() == ControlKind::Toolbar) continue;
            SCOPED_TRACE(c->Name());
            EXPECT_GE(c->Left(), 0);
            EXPECT_GE(c->Top(), 0);
            EXPECT_LE(c->Left() + c->Width(), size.width);
            EXPECT_LE(c->Top() + c->Height(), size.height);
        }
        // The selectors stand in the column left of the canvas, the boxes in the band above it.
        for (const Control* box : {static_cast<const Control*>(&form.ImageCombo1), static_cast<const Control*>(&form.ImageCombo2),
                                   static_cast<const Control*>(&form.Frame2), static_cast<const Control*>(&form.Label3),
                                   static_cast<const Control*>(&form.Label4)})
            EXPECT_LE(box->Left() + box->Width(), canvas.Left());
        EXPECT_NE(form.ImageCombo1.Top(), form.ImageCombo2.Top());
        for (const Control* box : {static_cast<const Control*>(&form.Label6), static_cast<const Control*>(&form.Text2),
                                   static_cast<const Control*>(&form.Text4)}) {
            EXPECT_GE(box->Left(), canvas.Left());
            EXPECT_LE(box->Top() + box->Height(), canvas.Top());
        }
        EXPECT_LE(form.Label6.Left() + form.Label6.Width(), form.Text2.Left());
        EXPECT_LE(form.Text2.Left() + form.Text2.Width(), form.Text4.Left());
        EXPECT_DOUBLE_EQ(form.Text4.Left() + form.Text4.Width(), canvas.Left() + canvas.Width());
        // The command line, the entry box and the status box in a row between the message line
        // and the canvas.
        for (const TextBox* box : {&form.Text8, &form.Text5, &form.Text1}) {
            EXPECT_GE(box->Top(), form.Text2.Top() + form.Text2.Height());
            EXPECT_LE(box->Top() + box->Height(), canvas.Top());
            EXPECT_GE(box->Left(), canvas.Left());
        }
        EXPECT_LE(form.Text8.Left() + form.Text8.Width(), form.Text5.Left());
        EXPECT_LE(form.Text5.Left() + form.Text5.Width(), form.Text1.Left());
    }
}

// The canvas changes size (the window was resized or maximised): the map is drawn again at once,
// and one ground metre is as many pixels across as down, at the scale it had, about the same
// centre.
TEST(stForm1Test, ResizedCanvasIsRedrawnWithEqualScaleOnBothAxes) {
    TestApp t;
    stForm1& form = t.form1;
    form.Load();
    auto& canvas = dynamic_cast<RecordingSurface&>(form.Picture1.surface());
    const double perPixel = canvas.ScaleWidth() / canvas.PixelWidth();
    const double centreX = canvas.ScaleLeft() + canvas.ScaleWidth() / 2;
    const double centreY = canvas.ScaleTop() + canvas.ScaleHeight() / 2;
    const std::string scaleBox = form.Text4.Text();
    const double twips = t.platform.screen().TwipsPerPixelX();
    // Wide, then tall, then small.
    for (auto [width, height] : {std::pair{24000.0, 9000.0}, {14000.0, 15000.0}, {12000.0, 8760.0}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        canvas.ClearRecords();
        form.ViewResized(width, height, width, height, WindowNormal);
        ASSERT_EQ(canvas.PixelWidth(), static_cast<int>(std::lround(form.Picture1.Width() / twips)));
        EXPECT_FALSE(canvas.PrimitivesOf(SurfacePrimitive::Kind::Clear).empty()) << "not redrawn";
        const double across = canvas.PixelWidth() / canvas.ScaleWidth();
        const double down = canvas.PixelHeight() / -canvas.ScaleHeight();
        EXPECT_NEAR(across, down, 1e-9 * across);
        EXPECT_NEAR(canvas.ScaleWidth() / canvas.PixelWidth(), perPixel, 1e-9 * perPixel);
        EXPECT_NEAR(canvas.ScaleLeft() + canvas.ScaleWidth() / 2, centreX, 1e-6);
        EXPECT_NEAR(canvas.ScaleTop() + canvas.ScaleHeight() / 2, centreY, 1e-6);
        // The scale did not change, so neither does the scale box.
        EXPECT_EQ(form.Text4.Text(), scaleBox);
    }
}

}  // namespace
}  // namespace movra
