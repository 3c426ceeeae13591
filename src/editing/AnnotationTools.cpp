// The text tools: the article annotation (a paragraph of wrapped lines), the material text (one
// text, upright, turned or leaning) and the elevation point (a height as a text, or the heights of
// a picked line written into its vertices; "999" only shows them). The first click starts the
// preview under the cursor, the second places; the tools but the article stay armed.
#include <algorithm>
#include <cstdint>
#include <string>

#include "App.h"
#include "basic/Numbers.h"
#include "document/RecordTypes.h"
#include "document/RecordVertices.h"
#include "display/RecordRenderer.h"
#include "display/TextPreviews.h"
#include "display/TextRendering.h"
#include "document/StoreRecord.h"
#include "document/TextPlacement.h"
#include "editing/SelectionTools.h"
#include "editing/TextToolSupport.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr double LargestArticleSize = 255;
constexpr double LargestMaterialFontSize = 2000;
constexpr double LargestElevationFontSize = 255;
// The point size of the heights printed at the vertices of a picked line.
constexpr double VertexHeightFontSize = 7;
// The pending text asking only to see the heights of a line.
constexpr const char* ElevationQuery = "999";

double TextAngle(const App& app) { return app.settings.TextAngle; }
bool Upright(const App& app) { return TextAngle(app) >= 0 && TextAngle(app) <= 1; }

// A text record of `type` at (x, y) from PendingText at TextSize, its pen the size; (x4, y4) and
// the heights as the tool gives them. The slot it went to, or -1 when the store refused.
std::int32_t StoreText(App& app, std::uint8_t type, double x, double y, double x4, double y4, float z1, float z2) {
    const std::int32_t before = app.store.Count(app.store.CurrentLayer);
    StoreRecord(app, StoreSizedText, type, x, y, app.current.TextSize, app.settings.TextWidthFactor, 0,
                app.tool.PendingTextWidth, x4, y4, "");
    MapRecord* r = AppendedRecord(app, before);
    if (!r) return -1;
    r->RecordZ1 = r->RecordZ4 = z1;
    r->RecordZ2 = z2;
    return before;
}

// ---- The article annotation (29).

ReleaseEnd ArticleRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        tool.ClickCount = 1;
        app.current.TextSize = std::min(app.current.TextSize, LargestArticleSize);
        Canvas(app).SetFont(app.current.CurrentFont, app.view.DisplayZoom * app.current.TextSize);
        return ReleaseEnd::CommonTail;
    }
    const auto x = static_cast<float>(tool.PressPoint.x), y = static_cast<float>(tool.PressPoint.y);
    DrawTextPreview(app, x, y, app.current.CurrentColor);
    PlaceParagraph(app, x, y);
    tool.ClickCount = 0;
    tool.CommandMode = ModeIdle;
    return ReleaseEnd::CommonTail;
}

// ---- The material text (30).

void StartTextPreview(App& app, const std::string& face, double largestFontSize) {
    app.tool.ClickCount = 1;
    app.tool.PendingTextWidth = DisplayWidth(app.current.PendingText);
    Canvas(app).SetFont(face, std::min(app.view.DisplayZoom * app.current.TextSize, largestFontSize));
}

ReleaseEnd MaterialRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        const std::string& font = app.current.CurrentFont;
        StartTextPreview(app, font.empty() ? std::string("宋体") : font, LargestMaterialFontSize);
        return ReleaseEnd::CommonTail;
    }
    ErasePendingTextPreview(app);
    Canvas(app).SetCurrentX(x);
    Canvas(app).SetCurrentY(y);
    app.current.TextSize = std::max(app.current.TextSize, 1.0);
    tool.ClickCount = 0;
    const auto angle = static_cast<float>(TextAngle(app));
    const int layer = app.store.CurrentLayer;
    if (!Upright(app)) {
        // Drawn as the preview showed it, covering the preview's last place.
        const bool leansLeft = TextAngle(app) < 0;
        const std::uint8_t type = leansLeft ? std::uint8_t{TypePixelText} : AnnotationTextType(app);
        if (StoreText(app, type, x, y, 0, 0, 0, angle) >= 0)
            (leansLeft ? DrawTextGdi : DrawTextAngled)(app, x, y, app.current.PendingText, app.current.TextSize,
                                                       app.settings.TextWidthFactor, angle,
                                                       static_cast<std::int16_t>(tool.PendingTextWidth),
                                                       app.current.CurrentFont, app.current.CurrentColor);
        return ReleaseEnd::CommonTail;
    }
    // The placed text looks as the next redraw will show it: the stored record is drawn by the
    // renderer itself. Layer 0 holds no map text: there the text is only shown, at the size the
    // renderer gives a text of that height.
    if (layer > 0) {
        const std::int32_t slot = StoreText(app, AnnotationTextType(app), x, y, 0, 0, 0, 0);
        if (slot >= 0) {
            auto drawnLayer = static_cast<std::uint8_t>(layer);
            auto drawnSlot = static_cast<std::int16_t>(slot);
            // The preview changed the canvas font behind the renderer's back.
            ForgetCanvasFont(app);
            DrawRecord(app, drawnLayer, drawnSlot);
            return ReleaseEnd::CommonTail;
        }
    }
    Canvas(app).SetFont(app.current.CurrentFont, CanvasPoints(app, app.current.TextSize));
    PrintTextAt(app, x, y, app.current.PendingText, app.current.CurrentColor);
    ForgetCanvasFont(app);
    return ReleaseEnd::CommonTail;
}

// ---- The elevation point (144).

// The one record the point pick took, or null when it took none or several.
const SelectedRecord* OnePicked(const App& app) {
    const auto& list = app.selection.SelectionList;
    if (list.size() < 2 || list[0].Layer != 2) return nullptr;
    return &list[1];
}

// How many of a line record's vertices carry heights, and whether the line goes on in the next slot.
struct HeightVertices {
    int count = 0;
    bool next = false;
};

HeightVertices HeightVerticesOf(std::uint8_t type, bool specialLines) {
    // A line-type segment and a closed quadrilateral carry heights as the lines do.
    if (type == TypeLineTypeSegment) return {2, false};
    if (type == TypeQuad) return {4, false};
    const int base = ChainFamilyOf(type);
    // A chain's end record is reached from the record before; wide lines carry no heights.
    if (base < 0 || type == base + 1 || base == WideLineBase) return {};
    // The special lines keep pattern values in Z2 to Z4: they are shown but only Z1 is written.
    if (base == SpecialLineBase && !specialLines) return {};
    return {ChainVertexCount(type), ContinuesToNextSlot(type)};
}

// The record after (layer, slot) when the layer holds it: the fifth point of a chained line.
MapRecord* NextInLayer(App& app, int layer, int slot) {
    if (slot + 1 >= app.store.Count(layer)) return nullptr;
    return &app.store.At(layer, slot + 1);
}

void PrintVertexHeights(App& app, const SelectedRecord& picked) {
    MapRecord& r = app.store.At(picked.Layer, picked.Slot);
    const HeightVertices v = HeightVerticesOf(r.RecordType, true);
    if (v.count == 0) return;
    Canvas(app).SetFont(Canvas(app).FontName(), VertexHeightFontSize);
    const Rgb color = app.current.CurrentColor;
    for (int k = 1; k <= v.count; ++k) {
        const VertexXY p = VertexPoint(r, k);
        PrintTextAt(app, p.x, p.y, PlainNumberText(VertexZ(r, k)), color);
    }
    if (v.next)
        if (const MapRecord* n = NextInLayer(app, picked.Layer, picked.Slot))
            PrintTextAt(app, n->RecordX1, n->RecordY1, PlainNumberText(n->RecordZ1), color);
}

void WriteVertexHeights(App& app, const SelectedRecord& picked, float e) {
    MapRecord& r = app.store.At(picked.Layer, picked.Slot);
    const HeightVertices v = HeightVerticesOf(r.RecordType, false);
    for (int k = 1; k <= std::max(v.count, 1); ++k) VertexZ(r, k) = e;
    if (v.next)
        if (MapRecord* n = NextInLayer(app, picked.Layer, picked.Slot)) n->RecordZ1 = e;
    app.current.ModifiedFlag = -1;
}

ReleaseEnd ElevationRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        StartTextPreview(app, app.current.CurrentFont, LargestElevationFontSize);
        PickAtPoint(app, x, y);
        if (const SelectedRecord* picked = OnePicked(app)) PrintVertexHeights(app, *picked);
        return ReleaseEnd::CommonTail;
    }
    tool.ClickCount = 0;
    const std::string& text = app.current.PendingText;
    if (text == ElevationQuery) return ReleaseEnd::CommonTail;
    const auto e = static_cast<float>(Val(text));
    if (const SelectedRecord* picked = OnePicked(app)) {
        WriteVertexHeights(app, *picked, e);
        PrintTextAt(app, x, y, text, app.current.CurrentColor);
        return ReleaseEnd::CommonTail;
    }
    app.current.TextSize = std::max(app.current.TextSize, 1.0);
    const auto angle = static_cast<float>(TextAngle(app));
    const int layer = app.store.CurrentLayer;
    if (TextAngle(app) < 0) {
        const std::int32_t slot = StoreText(app, TypeItalicText, x, y, 0, 0, 0, angle);
        if (slot >= 0) DrawTextSpaced(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), -1);
    } else if (TextAngle(app) > 1) {
        if (StoreText(app, TypeTurnedTextWithPoint, x, y, x, y, e, angle) >= 0)
            DrawTextAngled(app, x, y, text, app.current.TextSize, app.settings.TextWidthFactor, angle,
                           static_cast<std::int16_t>(tool.PendingTextWidth), app.current.CurrentFont,
                           app.current.CurrentColor);
    } else {
        StoreText(app, TypeTerrainPoint, x, y, x, y, e, 0);
        Canvas(app).SetFont(app.current.CurrentFont, Canvas(app).FontSize());
        PrintTextAt(app, x, y, text, app.current.CurrentColor);
    }
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& AnnotationToolFamily() {
    static const ToolFamily family{
        "annotation",
        {
            {.mode = ModeArticleText, .rubber = PreviewParagraph, .release = ArticleRelease},
            {.mode = ModeMaterialText, .rubber = PreviewPendingText, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = MaterialRelease},
            {.mode = ModeElevationPoint, .rubber = PreviewPendingText, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = ElevationRelease},
        },
    };
    return family;
}

}  // namespace movra
