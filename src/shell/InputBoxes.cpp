#include <cmath>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "shell/CommandLine.h"
#include "shell/stForm1.h"

namespace movra {

namespace {
constexpr Rgb White = MakeRgb(255, 255, 255);
constexpr Rgb Black = MakeRgb(0, 0, 0);

// The annotation angle from the text of the angle box: whole degrees, folded into one turn above
// 360 and -1 below -360. Sets `rewrite` when the box must show the new value.
double AngleFromText(const std::string& text, bool& rewrite) {
    double angle = Int(Val(text));
    rewrite = false;
    if (angle > 360) {
        // Whole degrees folded exactly: 725 gives 5, 720 gives 0.
        angle = std::fmod(angle, 360.0);
        rewrite = true;
    } else if (angle < -360) {
        angle = -1;
        rewrite = true;
    }
    return angle;
}
}  // namespace

void stForm1::Text5_Change() {
    CurrentAttributes& current = app.current;
    const bool complete = GuardSilently([&] {
        const std::string& text = Text5.Text();
        std::string separator;
        if (text.find(',') != std::string::npos) separator = ",";
        else if (text.find("，") != std::string::npos) separator = "，";
        // A typed value the store could not hold is refused as one that is not a number.
        auto storable = [](double v) {
            if (!IsStorableCoordinate(v)) Raise(ErrOverflow);
            return v;
        };
        if (separator.empty()) {
            current.TypedDistance = storable(Val(text));
            current.TypedZ1 = 0;
            current.TypedZ2 = 0;
            return;
        }
        const auto parts = SplitText(text, separator);
        if (parts.size() < 3) Raise(ErrSubscriptOutOfRange);
        const double distance = storable(StrictNumber(parts[0]));
        const double z1 = storable(StrictNumber(parts[1]));
        const double z2 = storable(StrictNumber(parts[2]));
        current.TypedDistance = distance;
        current.TypedZ1 = z1;
        current.TypedZ2 = z2;
    });
    if (!complete) current.TypedDistance = current.TypedZ1 = current.TypedZ2 = 0;
}

void stForm1::Text6_Change() {
    GuardSilently([this] {
        const std::string& text = Text6.Text();
        // A negative number being typed.
        if (text == "-" || text == "-0" || text == "-0.") return;
        bool rewrite = false;
        app.settings.TextAngle = AngleFromText(text, rewrite);
        if (rewrite) Text6.SetText(PlainNumberText(app.settings.TextAngle));
    });
}

void stForm1::Text6_Click() {
    GuardSilently([this] {
        if (Text6.Text() == "竖负") Text6.SetText("");
        bool rewrite = false;
        app.settings.TextAngle = AngleFromText(Text6.Text(), rewrite);
        Text6.SetText(PlainNumberText(app.settings.TextAngle));
    });
}

void stForm1::Text7_Change() {
    GuardSilently([this] {
        const std::string& text = Text7.Text();
        if (text == "右斜" || text == "左斜") {
            app.settings.TextWidthFactor = 0.68;
            return;
        }
        double factor = Val(text);
        if (factor < 0.1 || factor > 10) factor = 1;
        app.settings.TextWidthFactor = factor;
        Text7.SetText(PlainNumberText(factor));
    });
}

void stForm1::Text7_Click() { Text7_Change(); }

void stForm1::Text4_DblClick() {
    GuardSilently([this] {
        Rgb& background = app.view.BackgroundColor;
        if (background != White && background != Black) app.current.SavedCanvasColor = background;
        const Rgb shown = Picture1.BackColor();
        const Rgb next = shown == White ? app.current.SavedCanvasColor : (shown == Black ? White : Black);
        Picture1.SetBackColor(next);
        background = next;
        Text4.SetBackColor(next);
        刷新(app);
    });
}

}  // namespace movra
