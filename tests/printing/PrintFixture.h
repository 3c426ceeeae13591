#pragma once
// A fresh program over the fake platform with its recording printer (11906 x 16838 twips A4,
// printer "LJ") and a recording canvas showing ground x 0..400, y 400..0.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "App.h"
#include "platform/fake/RecordingPrinter.h"
#include "printing/dayinfrm.h"
#include "support/TestApp.h"

namespace movra {

class PrintTest : public ::testing::Test {
protected:
    PrintTest() : canvas(static_cast<RecordingSurface&>(t.form1.Picture1.surface())) {
        app.view.ProjectParams[0] = 500;
        app.view.DisplayScaleDenominator = 2000;
        app.work.ScreenTwipsPerMetre = 56700;
        t.form1.Picture1.Move(0, 0, 8000, 8000);
        t.form1.Picture1.SetScale(0, 400, 400, -400);
        for (int i = 0; i < 256; ++i) app.tables.ColorPalette[i] = MakeRgb(i, 255 - i, 7);
        app.tables.ColorPalette[1] = MakeRgb(255, 0, 0);
        canvas.ClearRecords();
    }

    // The dialog, loaded.
    dayinfrm& Dialog() {
        dayinfrm& d = PrintDialog(app);
        d.Load();
        return d;
    }
    // The dialog with the default printer double-clicked, so that printing is allowed.
    dayinfrm& ChosenDialog() {
        dayinfrm& d = Dialog();
        d.List1.SetListIndex(0);
        d.List1.DblClick();
        return d;
    }

    // A record of the given type on layer 1, which is switched on.
    MapRecord& Add(int type, double x1, double y1, double x2 = 0, double y2 = 0) {
        RecordStore& s = app.store;
        s.LayerOnFlag[1] = -1;
        int& count = s.Count(1);
        if (count < 1) count = 1;  // slot 0 stays empty, as in a map
        MapRecord& r = s.At(1, count++);
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordX1 = x1;
        r.RecordY1 = y1;
        r.RecordX2 = x2;
        r.RecordY2 = y2;
        return r;
    }

    // Page geometry of the options set directly: W across, H down (negative), steps 0.9 of each.
    void Geometry(double w, double h, int range) {
        PrintOptions& o = app.printOptions;
        o.PageGroundWidth = w;
        o.PageGroundHeight = h;
        o.PageStepX = 0.9 * w;
        o.PageStepY = 0.9 * h;
        o.PrintScale = 1000;
        o.PaperName = "A4";
        o.PrintColorMode = 1;
        o.PrintOrientation = 1;
        o.MarginD = 0.005795;
        o.MarginC = 0.017795;
        o.PrintQuality = -3;
        o.TrueFrameFlag = -1;
        o.PrintRange = static_cast<std::uint8_t>(range);
        app.printState.PageWidthTwips = 11906;
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> texts;
        for (const auto& q : t.platform.promptScript.questions) texts.push_back(q.text);
        return texts;
    }

    TestApp t;
    App& app = t.app;
    RecordingPrinter& printer = t.platform.recordingPrinter;
    RecordingSurface& canvas;
};

}  // namespace movra
