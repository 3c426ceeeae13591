// The text size and font combos: they set the style of the texts to come and, while the selection
// tool is armed, restyle the selected texts at once.
#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "editing/SelectionPreviews.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// The font list's two slanted Song entries: leaning left (text kind 63) and right (64).
constexpr int LeftSlantItem = 4;
constexpr int RightSlantItem = 5;
constexpr int LeftSlantKind = 63;
constexpr int RightSlantKind = 64;

}  // namespace

void stForm1::Combo2_Click() {
    GuardSilently([this] {
        app.current.TextSize = Val(Combo2.Text());
        if (app.tool.CommandMode == ModeSelect) ApplyTextStyle(app, "", ToInt32(app.current.TextSize));
    });
}

void stForm1::Combo3_Click() {
    GuardSilently([this] {
        const int item = Combo3.ListIndex();
        app.current.CurrentFont = Combo3.Text();
        bool& italic = app.display.Redraw.CanvasFontItalic;
        int kind = 0;
        if (item == RightSlantItem) {
            italic = true;
            Text7.SetText("右斜");
            app.current.CurrentFont = "宋体";
            kind = RightSlantKind;
        } else if (item == LeftSlantItem) {
            Text7.SetText("左斜");
            app.current.CurrentFont = "宋体";
            italic = false;
            kind = LeftSlantKind;
        } else {
            italic = false;
        }
        if (app.tool.CommandMode == ModeSelect) ApplyTextStyle(app, app.current.CurrentFont, kind);
    });
}

}  // namespace movra
