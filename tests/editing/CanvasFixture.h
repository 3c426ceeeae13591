#pragma once
// The main window started over the fake platform, with a canvas window of known size, for tests
// that drive the canvas by its events.
#include <gtest/gtest.h>

#include "platform/Toolbar.h"
#include "platform/fake/RecordingSurface.h"
#include "support/TestApp.h"

namespace movra {

class CanvasTest : public ::testing::Test {
protected:
    CanvasTest() {
        form.Load();
        ShowWindow(0, 1000, 1000, -750);
        Surface().ClearRecords();
    }

    // The window with upper-left corner (left, top); the view state follows.
    void ShowWindow(double left, double top, double width, double height) {
        form.Picture1.SetScale(left, top, width, height);
        form.Text4_Click();
    }

    // Gives the canvas a shape in pixels unlike the screen's, as the window's other controls leave it.
    void ShapeCanvas(int pixelWidth, int pixelHeight) {
        const int twips = app.platform.screen().TwipsPerPixelX();
        form.Picture1.Move(form.Picture1.Left(), form.Picture1.Top(), pixelWidth * twips, pixelHeight * twips);
        app.view.ScreenAspect = 9.0 / 16;
    }

    RecordingSurface& Surface() { return static_cast<RecordingSurface&>(form.Picture1.surface()); }
    int Clears() { return static_cast<int>(Surface().PrimitivesOf(SurfacePrimitive::Kind::Clear).size()); }

    void Press(double x, double y, int button = LeftButton) { form.Picture1.MouseDown(button, 0, x, y); }
    void Drag(double x, double y) { form.Picture1.MouseMove(LeftButton, 0, x, y); }
    void Hover(double x, double y) { form.Picture1.MouseMove(0, 0, x, y); }
    void Release(double x, double y, int button = LeftButton) { form.Picture1.MouseUp(button, 0, x, y); }
    void Click(double x, double y, int button = LeftButton) {
        Press(x, y, button);
        Release(x, y, button);
    }
    void Key(int code, int shift = 0) { form.Picture1.KeyDown(code, shift); }

    // A record of `type` with up to four vertices at (layer, slot); the layer's count covers it.
    MapRecord& Put(int layer, int slot, std::initializer_list<double> xy, int type = 2) {
        MapRecord& r = app.store.At(layer, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        double* fields[8] = {&r.RecordX1, &r.RecordY1, &r.RecordX2, &r.RecordY2,
                             &r.RecordX3, &r.RecordY3, &r.RecordX4, &r.RecordY4};
        int k = 0;
        for (double v : xy) *fields[k++] = v;
        if (app.store.Count(layer) <= slot) app.store.Count(layer) = slot + 1;
        return r;
    }

    Rgb Lamp() { return form.Label6.BackColor(); }

    TestApp t;
    App& app = t.app;
    stForm1& form = t.form1;
    Toolbar& toolbar = t.form1.Toolbar1;
};

constexpr Rgb Red = MakeRgb(255, 0, 0);
constexpr Rgb Blue = MakeRgb(0, 0, 255);
constexpr Rgb Yellow = MakeRgb(255, 255, 0);

}  // namespace movra
