// The measuring tools: the crossing of two lines (stored as a point), the distance of two points
// and the angle between two legs (written into the message line and the command line).
#include <cmath>
#include <string>

#include "App.h"
#include "basic/Numbers.h"
#include "document/Geometry.h"
#include "document/StoreRecord.h"
#include "editing/ConstructionSupport.h"
#include "editing/RubberLine.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolEngine.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr std::uint8_t PointMarkRecord = 46;
// Point size of the distance printed beside the measured line.
constexpr double DistanceFontSize = 8;

std::vector<double>& Scratch(App& app) { return app.geometry.ScratchXY; }
Rgb Color(const App& app) { return app.current.CurrentColor; }

// ---- The crossing of two lines: four clicks, two per line.

ReleaseEnd IntersectionRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) FreshScratch(app, 10);
    const int c = ++tool.ClickCount;
    std::vector<double>& s = Scratch(app);
    s[2 * c] = tool.PressPoint.x;
    s[2 * c + 1] = tool.PressPoint.y;
    if (c < 4) return ReleaseEnd::CommonTail;
    tool.ClickCount = 0;
    // Parallel lines have no crossing: nothing is drawn or stored.
    if (!LineIntersect(app)) return ReleaseEnd::CommonTail;
    const double x = s[0], y = s[1];
    Surface& canvas = Canvas(app);
    canvas.PSet(x, y, Color(app));
    canvas.Circle(x, y, app.view.DisplayZoom, Color(app));
    StoreRecord(app, StoreFull, PointMarkRecord, x, y, 0, 0, 0, 0, 0, 0, "");
    return ReleaseEnd::CommonTail;
}

// ---- The distance of two points.

// To 4 decimals, halves to even.
double RoundTo4(double d) { return std::nearbyint(d * 10000) / 10000; }

void PrintAt(App& app, double x, double y, const std::string& text) {
    Surface& canvas = Canvas(app);
    const Rgb fore = canvas.ForeColor();
    canvas.SetFont(canvas.FontName(), DistanceFontSize);
    canvas.SetForeColor(Color(app));
    canvas.SetCurrentX(x);
    canvas.SetCurrentY(y);
    canvas.Print(text);
    canvas.SetForeColor(fore);
}

ReleaseEnd DistanceRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        FreshScratch(app, 4);
        Scratch(app)[0] = tool.PressPoint.x;
        Scratch(app)[1] = tool.PressPoint.y;
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    std::vector<double>& s = Scratch(app);
    s[2] = tool.ReleasePoint.x;
    s[3] = tool.ReleasePoint.y;
    tool.ClickCount = 0;
    Canvas(app).Line(s[0], s[1], s[2], s[3], Color(app));
    const double d = RoundTo4(Dist(s[0], s[1], s[2], s[3]));
    stForm1& form = *app.form1;
    // The message line keeps the running sum; the prompt the tool was armed with counts as 0.
    form.Text2.SetText(PlainNumberText(Val(form.Text2.Text()) + d));
    form.Text8.SetText(PlainNumberText(d) + "+" + form.Text8.Text());
    PrintAt(app, s[2], s[3], PlainNumberText(d));
    return ReleaseEnd::CommonTail;
}

// ---- The angle between the legs OA and OB, clicked A, O, B.

// An azimuth as a direction angle of the canvas, in (0, 2π].
double CanvasAngle(double azimuth) {
    double theta = FiveHalfPi - azimuth;
    if (theta > TwoPi) theta -= TwoPi;
    return theta;
}

std::string Dms(double radians) { return PlainNumberText(RadToDms(radians)); }

ReleaseEnd AngleRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    const CanvasXY p = tool.PressPoint;
    TextBox& line = app.form1->Text8;
    if (tool.ClickCount == 0) {
        FreshScratch(app, 8);
        Scratch(app)[0] = p.x;
        Scratch(app)[1] = p.y;
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    std::vector<double>& s = Scratch(app);
    if (tool.ClickCount == 1) {
        s[2] = p.x;
        s[3] = p.y;
        s[6] = Azimuth(s[2], s[3], s[0], s[1]);
        line.SetText(Dms(s[6]) + line.Text());
        tool.ClickCount = 2;
        return ReleaseEnd::CommonTail;
    }
    s[4] = p.x;
    s[5] = p.y;
    s[7] = Azimuth(s[2], s[3], s[4], s[5]);
    line.SetText(Dms(s[7]) + "-" + line.Text());
    const double alpha = AngleBetween(s[2], s[3], s[0], s[1], s[4], s[5]);
    line.SetText(Dms(alpha) + "=" + line.Text());
    // The arc runs counter-clockwise from the leg OB to the leg OA, 2 mm on paper about O.
    Canvas(app).Circle(s[2], s[3], 2 * app.view.ScaleFactor, Color(app), true, CanvasAngle(s[7]),
                       CanvasAngle(s[6]), 1.0);
    tool.ClickCount = 0;
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& MeasureToolFamily() {
    static const ToolFamily family{
        "measure",
        {
            {.mode = ModeIntersection, .rubber = DrawRubberLine, .erasePreview = EraseRubberEdges, .release = IntersectionRelease},
            {.mode = ModeDistance, .release = DistanceRelease},
            {.mode = ModeAngle, .release = AngleRelease},
        },
    };
    return family;
}

}  // namespace movra
