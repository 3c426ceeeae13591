#include "display/ClipBufferItemRenderer.h"

#include "App.h"
#include "basic/Colors.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/LineSink.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"
#include "display/TextRendering.h"

namespace movra {

namespace {

// The colour a text of the background's own colour is shown in (a dark red).
constexpr Rgb TextOnBackgroundColor = 100;

// The text colour of an item. A change of colour makes the next text set its size again. A text
// in the background's colour is shown in dark red every time, not only the first time its
// colour is met, and the colour is set on every text, as other drawing changes it in between.
void ItemTextColor(RecordDrawCall& c) {
    TextFontState& font = c.app.display.TextFont;
    Surface& s = c.canvas;
    const Rgb color = c.Color();
    if (color != font.LastTextColor) {
        font.LastTextColor = color;
        ForgetCanvasFontSize(c.app);
    }
    Rgb shown = color;
    if (color == s.BackColor())
        shown = s.BackColor() == TextOnBackgroundColor ? ContrastColor(s.BackColor()) : TextOnBackgroundColor;
    s.SetForeColor(shown);
}

// Texts 25, 65, 67 in the canvas's own font at the size the fill computed into X4 (points); the
// leaning Song face is set as an italic 华文细黑.
void ItemCanvasText(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    Surface& s = c.canvas;
    TextFontState& font = c.app.display.TextFont;
    bool& italic = c.app.display.Redraw.CanvasFontItalic;
    s.SetCurrentX(static_cast<float>(r.RecordX1));
    s.SetCurrentY(static_cast<float>(r.RecordY1));
    if (!EqualsIgnoreCase(r.RecordFont, font.CanvasFontName)) {
        const bool leaning = EqualsIgnoreCase(r.RecordFont, "右斜宋");
        italic = leaning;
        s.SetFont(leaning ? std::string("华文细黑") : r.RecordFont, s.FontSize(), false, italic);
        if (font.DeviceFontSelected == True) {
            font.DeviceFontSelected = 0;
            ReleaseTextFont(c.app);
        }
        font.CanvasFontName = r.RecordFont;
        font.FontCacheAngle = 1;
    }
    const auto size = static_cast<float>(r.RecordX4);
    if (static_cast<double>(size) != r.RecordX4 || size != font.CanvasFontSize) {
        s.SetFont(s.FontName(), size, false, italic);
        font.CanvasFontSize = size;
    }
    ItemTextColor(c);
    s.Print(r.RecordText);
}

// Terrain point 61: the name at its stored height taken as points (italic as left), then a dot
// of width 2 at P4 in the text colour.
void ItemTerrainPoint(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    Surface& s = c.canvas;
    TextFontState& font = c.app.display.TextFont;
    const bool italic = c.app.display.Redraw.CanvasFontItalic;
    s.SetCurrentX(static_cast<float>(r.RecordX1));
    s.SetCurrentY(static_cast<float>(r.RecordY1));
    s.SetForeColor(c.Color());
    if (!EqualsIgnoreCase(r.RecordFont, font.CanvasFontName)) {
        s.SetFont(r.RecordFont, s.FontSize(), false, italic);
        font.CanvasFontName = r.RecordFont;
    }
    const auto size = static_cast<float>(r.RecordX2);
    if (static_cast<double>(size) != r.RecordX2 || size != font.CanvasFontSize) {
        s.SetFont(s.FontName(), size, false, italic);
        font.CanvasFontSize = size;
    }
    ItemTextColor(c);
    s.Print(r.RecordText);
    s.SetDrawWidth(2);
    s.PSet(static_cast<float>(r.RecordX4), static_cast<float>(r.RecordY4));
}

// Turned texts 66, 68 in a device-unit font of the height, width and angle (tenths of a degree)
// the fill computed into X4, Y4 and Z4.
void ItemTurnedText(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    DrawTextDeviceFont(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX4, r.RecordY4, r.RecordZ4,
                       TextUnused(r), r.RecordFont, c.Color());
    ForgetCanvasFontSize(c.app);
}

// Turned text with a point 62: a device-unit font X2 high and wide, upright, then a dot of
// width 2 at P4 in the canvas's text colour.
void ItemTurnedTextWithPoint(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    DrawTextDeviceFont(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordX2, 0, TextUnused(r),
                       r.RecordFont, c.Color());
    c.canvas.SetDrawWidth(2);
    c.canvas.PSet(static_cast<float>(r.RecordX4), static_cast<float>(r.RecordY4));
    ForgetCanvasFontSize(c.app);
}

// Line-type lines: with the symbol standard the work buffer leaves them out; without it they
// are plain lines as the full renderer draws them.
void ItemPlainLineType(RecordDrawCall& c) {
    if (c.app.symbolStandard.SymbolStandardLoaded == True) return;
    FullRecordTable()[c.record.RecordType].drawer(c);
}

RecordTable BuildItemTable() {
    RecordTable t = FullRecordTable();
    auto set = [&](int type, RecordFamilyDrawer d) { t[static_cast<size_t>(type)].drawer = d; };
    // Fill heads, rule shapes, strips, the font texts and symbol rows are left out of the view.
    for (int type : {11, 13, 14, 36, 58, 59, 63, 64, 87}) set(type, nullptr);
    for (int type : {12, 42, 43, 44, 45}) set(type, ItemPlainLineType);
    for (int type : {25, 65, 67}) set(type, ItemCanvasText);
    set(50, DrawNamedPointPenLabel);
    set(61, ItemTerrainPoint);
    set(62, ItemTurnedTextWithPoint);
    for (int type : {66, 68}) set(type, ItemTurnedText);
    set(70, DrawHeldPicture);
    // Ticks take their pen directly; the pen cache stays as it was.
    for (int type : {80, 81, 85}) t[static_cast<size_t>(type)].pen = PenRule::DirectSolid;
    return t;
}

const RecordTable& ItemTable() {
    static const RecordTable table = BuildItemTable();
    return table;
}

// A chained item with nothing after it in the buffer ends at its fourth vertex.
int WithoutLink(int type) {
    switch (type) {
        case 5: case 45: case 75: case 95: return type - 1;
        default: return type;
    }
}

}  // namespace

void DrawClipBufferItem(App& app, std::int32_t& i) {
    try {
        ClipBuffer& buffer = app.clip;
        const std::int32_t last = std::min<std::int32_t>(buffer.ClipBufferCount, static_cast<std::int32_t>(buffer.Items.size()) - 1);
        if (i < 1 || i > last) return;
        Surface& canvas = MainCanvas(app);
        RecordDrawOptions options;
        options.cull = false;
        options.storePenColor = false;
        for (;;) {
            MapRecord item = buffer.Items[static_cast<size_t>(i)];
            const MapRecord* next = i < last ? &buffer.Items[static_cast<size_t>(i) + 1] : nullptr;
            if (next == nullptr) item.RecordType = static_cast<std::uint8_t>(WithoutLink(item.RecordType));
            const RecordRow& row = ItemTable()[item.RecordType];
            if (row.drawer == nullptr) return;
            // The shapes that read their record again find the item as layer 0, slot i.
            std::uint8_t layer = 0;
            auto slot = static_cast<std::int16_t>(i);
            RecordDrawCall call{app, canvas, item, layer, slot, options, next};
            DrawRow(row, call);
            if (item.RecordType != 5 || next == nullptr || next->RecordType != 5) return;
            ++i;  // the run goes on with the pen of its first item
        }
    } catch (const RuntimeError&) {
    }
}

}  // namespace movra
