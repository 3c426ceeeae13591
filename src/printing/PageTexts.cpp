#include "printing/PageTexts.h"

#include <cmath>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/TextRendering.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr double TwipsPerMm = 1440 / 25.4;

Surface& Page(App& app) { return app.platform.printer().Page(); }

// Device pixels per ground metre of the page window, as the page maps it.
double PixelsPerGroundUnit(Surface& page) { return page.PixelWidth() / std::fabs(page.ScaleWidth()); }

// The font in the page's device pixels.
LogicalFont OnDevice(App& app, LogicalFont font) {
    Surface& page = Page(app);
    const double pixelsPerTwip = PixelsPerGroundUnit(page) * app.printState.MetresPerPaperMm / TwipsPerMm;
    const double pixelsPerUnit = TwipsPerTextUnit * pixelsPerTwip;
    font.height = std::max(1, ToInt32(font.height * pixelsPerUnit));
    font.width = ToInt32(font.width * pixelsPerUnit);
    return font;
}

// The device point of a ground point, from the corner of the page window.
void DevicePoint(App& app, double x, double y, int& px, int& py) {
    const double perUnit = PixelsPerGroundUnit(Page(app));
    px = ToInt32((x - app.printState.PageWindowLeft) * perUnit);
    py = ToInt32((app.printState.PageWindowTop - y) * perUnit);
}

// Texts put out at the device point: the font is created, the text put out and the font deleted.
void PutOut(App& app, PrintedTextStyle style, double x, double y, const std::string& text, double h, double w,
            double a, const std::string& face, Rgb color) {
    LogicalFont font;
    if (!PrintedTextFont(style, h, w, a, face, app.printState.MapToPrintRatio, font)) return;
    Surface& page = Page(app);
    int px = 0, py = 0;
    DevicePoint(app, x, y, px, py);
    page.SetForeColor(TextColorFromPalette(app.tables, color));
    // Only the leaning text asks the device for letters turned apart from the line.
    TextOutInFont(page, DeviceFontFor(OnDevice(app, font), style == PrintedTextStyle::Gdi), px, py, text);
}

}  // namespace

bool PrintedTextFont(PrintedTextStyle style, double h, double w, double a, const std::string& face,
                     double mapToPrintRatio, LogicalFont& font) {
    // Three logical units of height to the unit of a text's height, for all four: the turned
    // text once took one and printed at a third of the size of the same text at 0.1 degrees.
    const double height = Int(h * mapToPrintRatio * 3 + 0.5);
    if (!(height >= 1)) return false;
    font = LogicalFont{};
    font.height = ToInt32(height);
    const double factor = w == 0 ? 0.68 : w;
    font.width = ToInt32(Int(height * (style == PrintedTextStyle::Gdi ? 0.5 : factor) + 0.5));
    if (style == PrintedTextStyle::Gdi) {
        const TextAngles angles = LeaningTextAngles(a);
        font.escapement = angles.escapement;
        font.orientation = angles.orientation;
    } else {
        font.escapement = font.orientation = ToInt32(Int(10 * a));
    }
    font.weight = style == PrintedTextStyle::Angled ? 400 : 200;
    font.italic = style == PrintedTextStyle::Italic;
    font.charSet = 0;
    font.faceName = face;
    return true;
}

void PrintTextAngled(App& app, double x, double y, const std::string& text, double h, double w, double a,
                     std::int16_t, const std::string& face, Rgb color) {
    GuardSilently([&] {
        LogicalFont font;
        if (!PrintedTextFont(PrintedTextStyle::Angled, h, w, a, face, app.printState.MapToPrintRatio, font)) return;
        Surface& page = Page(app);
        const FontHandle created = page.CreateFontIndirect(DeviceFontFor(OnDevice(app, font), false));
        const FontHandle previous = page.SelectFont(created);
        GuardSilently([&] {
            page.SetForeColor(TextColorFromPalette(app.tables, color));
            PrintInSelectedFont(page, x, y, text);
        });
        page.SelectFont(previous);
        page.DeleteFont(created);
    });
}

void PrintTextOut(App& app, double x, double y, const std::string& text, double h, double w, double a,
                  std::int16_t, const std::string& face, Rgb color) {
    GuardSilently([&] { PutOut(app, PrintedTextStyle::Out, x, y, text, h, w, a, face, color); });
}

void PrintTextItalic(App& app, double x, double y, const std::string& text, double h, double w, double a,
                     std::int16_t, const std::string& face, Rgb color) {
    GuardSilently([&] { PutOut(app, PrintedTextStyle::Italic, x, y, text, h, w, a, face, color); });
}

void PrintTextGdi(App& app, double x, double y, const std::string& text, double h, double w, double a,
                  std::int16_t, const std::string& face, Rgb color) {
    const bool done = GuardSilently([&] { PutOut(app, PrintedTextStyle::Gdi, x, y, text, h, w, a, face, color); });
    if (!done && app.form1) app.form1->Text2.SetText("........");
}

}  // namespace movra
