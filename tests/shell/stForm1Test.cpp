#include <gtest/gtest.h>

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
    const double scaleWidth = form.Picture1.ScaleWidth();
    for (double width : {12000.0, 3000.0, 0.0}) {
        form.ViewResized(width, 9000, width, 8000, WindowNormal);
        const PictureBox& canvas = form.Picture1;
        EXPECT_DOUBLE_EQ(canvas.Left(), 1920);
        EXPECT_DOUBLE_EQ(canvas.Top(), stForm1::CanvasTop);
        EXPECT_DOUBLE_EQ(canvas.Width(), 0.856 * width);
        EXPECT_DOUBLE_EQ(canvas.Height(), 0.856 * 9000);
        EXPECT_DOUBLE_EQ(form.VScroll1.Left(), canvas.Left() + canvas.Width());
        EXPECT_DOUBLE_EQ(form.VScroll1.Top(), canvas.Top());
        EXPECT_DOUBLE_EQ(form.VScroll1.Height(), canvas.Height() - form.HScroll1.Height());
        EXPECT_DOUBLE_EQ(form.HScroll1.Top(), form.VScroll1.Top() + form.VScroll1.Height());
        EXPECT_DOUBLE_EQ(form.HScroll1.Width(), canvas.Width());
        // The selectors stand in the column left of the canvas, the boxes in the band above it.
        for (const Control* box : {static_cast<const Control*>(&form.ImageCombo1), static_cast<const Control*>(&form.ImageCombo2)})
            EXPECT_LE(box->Left() + box->Width(), canvas.Left());
        EXPECT_NE(form.ImageCombo1.Top(), form.ImageCombo2.Top());
        EXPECT_LE(form.Text2.Top() + form.Text2.Height(), canvas.Top());
        EXPECT_LE(form.Text4.Top() + form.Text4.Height(), canvas.Top());
        // The command line, the entry box and the status box in a row between the message line
        // and the canvas.
        for (const TextBox* box : {&form.Text8, &form.Text5, &form.Text1}) {
            EXPECT_GE(box->Top(), form.Text2.Top() + form.Text2.Height());
            EXPECT_LE(box->Top() + box->Height(), canvas.Top());
            EXPECT_GE(box->Left(), canvas.Left());
        }
        EXPECT_LE(form.Text8.Left() + form.Text8.Width(), form.Text5.Left());
        EXPECT_LE(form.Text5.Left() + form.Text5.Width(), form.Text1.Left());
        for (const Label* toggle : {&form.Label3, &form.Label4})
            EXPECT_LE(toggle->Left() + toggle->Width(), canvas.Left());
    }
    // The canvas keeps its user window; the view state follows at the next Text4_Click.
    EXPECT_DOUBLE_EQ(form.Picture1.ScaleWidth(), scaleWidth);
}

}  // namespace
}  // namespace movra
