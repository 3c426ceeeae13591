#include "display/TextPreviews.h"

#include <string>

#include "App.h"
#include "basic/Errors.h"
#include "display/LineSink.h"
#include "document/TextPlacement.h"
#include "platform/Surface.h"

namespace movra {

namespace {

constexpr const char* PreviewFace = "宋体";
constexpr const char* ParagraphIndent = "    ";
constexpr double SmallPreviewPoints = 9;
constexpr double SmallPreviewLineMillimetres = 4;

void PrintAt(Surface& canvas, float x, float y, const std::string& text) {
    canvas.SetCurrentX(x);
    canvas.SetCurrentY(y);
    canvas.Print(text);
}

}  // namespace

void DrawTextPreview(App& app, float x, float y, Rgb color) {
    TextPlacementState& placement = app.textPlacement;
    if (placement.ParagraphWrapColumns <= 1) placement.ParagraphWrapColumns = DefaultParagraphWrapColumns;
    const float step = static_cast<float>(app.current.TextSize / 2.5 + app.view.ScaleFactor);
    Surface& canvas = MainCanvas(app);
    canvas.SetForeColor(color);
    canvas.SetFont(PreviewFace, app.view.DisplayZoom * app.current.TextSize);

    for (const std::string& line : placement.PendingTextLines) {
        std::string rest = ParagraphIndent + line;
        while (true) {
            const size_t before = rest.size();
            const std::string piece = SplitFirstLine(app, rest);
            PrintAt(canvas, x, y, piece);
            y -= step;
            // Done when the piece was the whole of what it was cut from.
            if (piece.size() == before) break;
        }
    }
}

void DrawTextPreview2(App& app, float x, float y, Rgb color) {
    try {
        const float step = static_cast<float>(SmallPreviewLineMillimetres * app.view.GroundPerScreenMm);
        Surface& canvas = MainCanvas(app);
        canvas.SetFont(canvas.FontName(), SmallPreviewPoints);
        canvas.SetForeColor(color);
        for (const std::string& line : app.textPlacement.PendingTextLines) {
            PrintAt(canvas, x, y, line);
            y -= step;
        }
    } catch (const RuntimeError& error) {
        ReportOnMessageLine(app, error);
    }
}

}  // namespace movra
