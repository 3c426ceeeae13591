#include "editing/TextToolSupport.h"

#include "App.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"
#include "display/TextPreviews.h"
#include "display/TextRendering.h"
#include "editing/RubberLine.h"
#include "editing/ToolCanvas.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// The largest size a pen byte holds.
constexpr double PenSizeLimit = 255;

// Text previews are erased by printing them again in the background colour, which takes the
// copy pen whatever pen the frame left between clicks.
DrawModeScope CopyPen(App& app) { return DrawModeScope(Canvas(app), DrawModeCopyPen); }

void DrawPendingText(App& app, double x, double y, Rgb color) {
    const double angle = app.settings.TextAngle;
    const std::string& text = app.current.PendingText;
    if (angle >= 0 && angle <= 1) {
        Canvas(app).SetFont(app.current.CurrentFont, Canvas(app).FontSize());
        PrintTextAt(app, x, y, text, color);
        return;
    }
    DrawTextAngled(app, x, y, text, app.current.TextSize, app.settings.TextWidthFactor, angle,
                   static_cast<std::int16_t>(app.tool.PendingTextWidth), app.current.CurrentFont, color);
}

// Draws the lines at the point shown last in the background colour, then at (x, y).
void PreviewLines(App& app, double x, double y, void (*draw)(App&, float, float, Rgb)) {
    if (!app.form1) return;
    const DrawModeScope copyPen = CopyPen(app);
    ToolState& tool = app.tool;
    draw(app, static_cast<float>(tool.RubberPoint.x), static_cast<float>(tool.RubberPoint.y), app.view.BackgroundColor);
    draw(app, static_cast<float>(x), static_cast<float>(y), app.current.CurrentColor);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

}  // namespace

void PreviewParagraph(App& app, double x, double y) { PreviewLines(app, x, y, DrawTextPreview); }

void PreviewAttributeLines(App& app, double x, double y) { PreviewLines(app, x, y, DrawTextPreview2); }

std::uint8_t AnnotationTextType(App& app) {
    const std::string lean = app.form1 ? app.form1->Text7.Text() : std::string();
    if (lean == "右斜") return TypeItalicText;
    if (lean == "左斜") return TypePixelText;
    return app.current.TextSize < PenSizeLimit ? TypeText65 : TypeText67;
}

void PreviewPendingText(App& app, double x, double y) {
    if (!app.form1) return;
    const DrawModeScope copyPen = CopyPen(app);
    ToolState& tool = app.tool;
    if (tool.RubberShown == -1) DrawPendingText(app, tool.RubberPoint.x, tool.RubberPoint.y, app.view.BackgroundColor);
    DrawPendingText(app, x, y, app.current.CurrentColor);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

void ErasePendingTextPreview(App& app) {
    ToolState& tool = app.tool;
    if (!app.form1 || tool.RubberShown != -1) return;
    // Printing the text again in the background colour, as each move does, takes the map under it
    // too, all along the way the preview went: when the tool places its text or pauses, the map is
    // drawn again instead, so nothing of the preview's way is left missing.
    EraseRubberEdges(app);
    tool.RubberShown = 0;
}

void PreviewPrintedText(App& app, double x, double y, const std::string& text) {
    if (!app.form1) return;
    const DrawModeScope copyPen = CopyPen(app);
    ToolState& tool = app.tool;
    PrintTextAt(app, tool.RubberPoint.x, tool.RubberPoint.y, text, app.view.BackgroundColor);
    PrintTextAt(app, x, y, text, app.current.CurrentColor);
    tool.RubberPoint = {x, y};
    tool.RubberShown = -1;
}

void PrintTextAt(App& app, double x, double y, const std::string& text, Rgb color) {
    if (!app.form1) return;
    Surface& canvas = Canvas(app);
    canvas.SetForeColor(color);
    canvas.SetCurrentX(x);
    canvas.SetCurrentY(y);
    canvas.Print(text);
}

void DrawStoredRecord(App& app, int layer, std::int32_t slot) {
    auto l = static_cast<std::uint8_t>(layer);
    auto s = static_cast<std::int16_t>(slot);
    DrawRecord(app, l, s);
}

}  // namespace movra
