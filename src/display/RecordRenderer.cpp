#include "display/RecordRenderer.h"

#include <algorithm>
#include <array>
#include <string>

#include "App.h"
#include "basic/Colors.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/AreaFills.h"
#include "display/LineSink.h"
#include "display/LineTypes.h"
#include "display/Pens.h"
#include "display/PointSymbols.h"
#include "display/RecordImages.h"
#include "display/RecordTypes.h"
#include "display/Shapes.h"
#include "display/BoundaryLines.h"
#include "display/TextRendering.h"

namespace movra {

namespace {

// ---- Vertices by number (1..4).
double Xk(const MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordX1;
        case 2: return r.RecordX2;
        case 3: return r.RecordX3;
        default: return r.RecordX4;
    }
}
double Yk(const MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordY1;
        case 2: return r.RecordY2;
        case 3: return r.RecordY3;
        default: return r.RecordY4;
    }
}
float Zk(const MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordZ1;
        case 2: return r.RecordZ2;
        case 3: return r.RecordZ3;
        default: return r.RecordZ4;
    }
}

const ClipBuffer& Clip(const App& app) { return app.clip; }

// The pen of a record: the cached pen rule, unless the renderer draws with the pen as left.
void ApplyRecordPen(RecordDrawCall& c) {
    if (c.options.applyPenRule) ApplyPenRule(c.canvas, c.record.RecordPen, c.app.display.PenCache);
}

// The record that continues a chain, read from the next slot; raises 9 beyond the store.
const MapRecord& NextSlot(const RecordDrawCall& c) {
    if (c.next != nullptr) return *c.next;
    return c.app.store.Get(c.layer, static_cast<int>(c.slot) + 1);
}

// The canvas takes its coordinates in single precision.
void CanvasLine(Surface& s, double x1, double y1, double x2, double y2, Rgb color) {
    s.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
           static_cast<float>(y2), color);
}

// A polyline through vertices first..last, then optionally on to P1 of the next slot.
void Polyline(RecordDrawCall& c, int first, int last, bool closed, bool toNext) {
    const MapRecord& r = c.record;
    const Rgb color = c.Color();
    for (int k = first; k < last; ++k) CanvasLine(c.canvas, Xk(r, k), Yk(r, k), Xk(r, k + 1), Yk(r, k + 1), color);
    if (closed) CanvasLine(c.canvas, Xk(r, last), Yk(r, last), Xk(r, first), Yk(r, first), color);
    if (toNext) {
        const MapRecord& n = NextSlot(c);
        CanvasLine(c.canvas, Xk(r, last), Yk(r, last), n.RecordX1, n.RecordY1, color);
    }
}

// ---- Family drawers. Each assumes the culling test passed.

// Pen lines 2..6, the closed quadrilateral, the crossing pair, the erasing line and grid paper.
void DrawPenLineFamily(RecordDrawCall& c) {
    const int t = c.record.RecordType;
    if (t == TypeErasingLine) {
        CanvasLine(c.canvas, c.record.RecordX1, c.record.RecordY1, c.record.RecordX2,
                   c.record.RecordY2, c.options.colorOverride >= 0 ? c.options.colorOverride : c.canvas.BackColor());
        return;
    }
    ApplyRecordPen(c);
    switch (t) {
        case TypePenLine2: Polyline(c, 1, 2, false, false); break;
        case TypePenLine3: Polyline(c, 1, 3, false, false); break;
        case TypePenLine4: Polyline(c, 1, 4, false, false); break;
        case TypePenLineChain: Polyline(c, 1, 4, false, true); break;
        case TypeQuad: Polyline(c, 1, 4, true, false); break;
        case TypeGridPaper:
            Polyline(c, 1, 4, true, false);
            RenderRecord2(c.app, c.layer, c.slot);
            break;
        case TypeCross: {
            const MapRecord& r = c.record;
            CanvasLine(c.canvas, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, c.Color());
            CanvasLine(c.canvas, r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4, c.Color());
            break;
        }
        default: break;
    }
}

// Wide lines 72..75: separate segments at a fixed width of 3.
void DrawWideLineFamily(RecordDrawCall& c) {
    c.canvas.SetDrawWidth(WideLineWidth);
    const int t = c.record.RecordType;
    const MapRecord& r = c.record;
    const Rgb color = c.Color();
    CanvasLine(c.canvas, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, color);
    if (t >= 73) CanvasLine(c.canvas, r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3, color);
    if (t >= 74) CanvasLine(c.canvas, r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4, color);
    if (t == 75) {
        const MapRecord& n = NextSlot(c);
        CanvasLine(c.canvas, r.RecordX4, r.RecordY4, n.RecordX1, n.RecordY1, color);
    }
}

// Circle, arc and the rotated ellipse.
void DrawCircleFamily(RecordDrawCall& c) {
    ApplyRecordPen(c);
    const MapRecord& r = c.record;
    const auto x = static_cast<float>(r.RecordX1);
    const auto y = static_cast<float>(r.RecordY1);
    switch (r.RecordType) {
        case TypeCircle:
            c.canvas.Circle(x, y, static_cast<float>(r.RecordX2), c.Color(), false, 0, 0,
                            static_cast<float>(r.RecordY2));
            break;
        case TypeArc:
            c.canvas.Circle(x, y, static_cast<float>(r.RecordX2), c.Color(), true,
                            static_cast<float>(r.RecordX3), static_cast<float>(r.RecordY3),
                            static_cast<float>(r.RecordY2));
            break;
        default:
            DrawRotatedEllipse(c.app, r.RecordX1, r.RecordY1, static_cast<float>(r.RecordX2),
                               static_cast<float>(r.RecordY2), static_cast<float>(r.RecordX3), c.Color());
            break;
    }
}

// Shapes built by rule from the four vertices (they read the record through the store).
void DrawRuleShapeFamily(RecordDrawCall& c) {
    switch (c.record.RecordType) {
        case TypeFilledBand:
            RenderRecord(c.app, c.layer, c.slot);
            c.app.display.PenCache = 8;
            break;
        case TypeShadedTube:
            RenderRecord3(c.app, c.layer, c.slot);
            c.app.display.PenCache = 8;
            break;
        case TypeLadderStrip: DrawStripShape2(c.app, c.layer, c.slot); break;
        case TypeFanStrip: DrawStripShape(c.app, c.layer, c.slot); break;
        default: break;
    }
}

// Fill heads: the fill, then the slot moves to the last slot of the group. A count below one
// would bring the caller back to the head for ever, so such a head only steps one slot; a count
// beyond the layer's records stops at the layer's end.
void DrawFillHeadFamily(RecordDrawCall& c) {
    const double z4 = Int(c.record.RecordZ4);
    const std::int16_t head = c.slot;
    if (c.record.RecordType == TypeSolidFillHead) DrawHatchFill(c.app, c.layer, c.slot);
    else DrawSymbolFill(c.app, c.layer, c.slot);
    c.app.display.PenCache = 6;
    if (!(z4 >= 1)) return;  // also a count that is no number
    const double end = std::max<double>(c.app.store.Count(c.layer), head);
    c.slot = static_cast<std::int16_t>(std::min(z4 + head - 1, std::min(end, 32767.0)));
}

// Line-type lines: type 12 as one run, 42..45 segment by segment.
void PlainLineTypeFallback(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    CanvasLine(c.canvas, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, c.Color());
    const Rgb shadow = c.options.colorOverride >= 0 ? c.options.colorOverride : c.app.tables.ColorPalette[6];
    CanvasLine(c.canvas, r.RecordX1 + 0.2, r.RecordY1 + 0.2, r.RecordX2 + 0.2, r.RecordY2 + 0.2, shadow);
}

void DrawLineTypeFamily(RecordDrawCall& c) {
    const int t = c.record.RecordType;
    const bool standard = c.app.symbolStandard.SymbolStandardLoaded == True;
    if (t == TypeLineTypeSegment) {
        if (standard) DrawRecordChainLineType(c.app, c.layer, c.slot);
        else PlainLineTypeFallback(c);
        return;
    }
    const int segments = t - 41;  // 42: one segment .. 45: four, the last to the next slot
    if (standard) {
        for (int s = 2; s <= segments + 1; ++s)
            DrawRecordSegmentLineType(c.app, c.layer, c.slot, static_cast<std::uint8_t>(s));
        return;
    }
    if (t == TypeLineTypeLine2) { PlainLineTypeFallback(c); return; }
    const MapRecord& r = c.record;
    for (int k = 1; k < std::min(segments + 1, 4); ++k)
        CanvasLine(c.canvas, Xk(r, k), Yk(r, k), Xk(r, k + 1), Yk(r, k + 1), c.Color());
    if (t == TypeLineTypeLineChain) {
        const MapRecord& n = NextSlot(c);
        CanvasLine(c.canvas, r.RecordX4, r.RecordY4, n.RecordX1, n.RecordY1, c.Color());
    }
}

// The 1 mm box a symbol is drawn as without the standard.
void SymbolBox(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const double f = c.app.view.ScaleFactor;
    c.canvas.Line(static_cast<float>(r.RecordX1), static_cast<float>(r.RecordY1),
                  static_cast<float>(r.RecordX1 + f), static_cast<float>(r.RecordY1 + f), c.Color(), LineShape::Box);
}

// Text in the canvas's own font at a size of Int(zoom x height) + 1 points.
int CanvasPoints(const App& app, double height) {
    return static_cast<int>(Int(app.view.DisplayZoom * height)) + 1;
}

void ForgetCanvasFont(App& app) {
    // The face and size were changed behind the canvas-text cache: the next canvas text sets both.
    app.display.TextFont.CanvasFontName.clear();
    app.display.TextFont.CanvasFontSize = 1;
}

void DrawSymbolFamily(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const int t = r.RecordType;
    const bool standard = c.app.symbolStandard.SymbolStandardLoaded == True;
    if (t == TypePointSymbol) {
        if (standard) DrawPointSymbol(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordY2, c.Color());
        else SymbolBox(c);
        return;
    }
    // 50 and 51 keep their symbol code in Z4.
    if (standard) {
        const std::string code = Trim(PlainNumberText(r.RecordZ4));
        DrawPointSymbol(c.app, r.RecordX1, r.RecordY1, code, r.RecordX2, r.RecordY2, c.Color());
    } else {
        SymbolBox(c);
    }
    if (t != TypeNamedSymbolPoint || !c.options.drawTexts) return;
    Surface& s = c.canvas;
    s.SetFont(r.RecordFont, CanvasPoints(c.app, r.RecordX2), false, c.app.display.Redraw.CanvasFontItalic);
    ForgetCanvasFont(c.app);
    s.SetForeColor(c.Color());
    s.SetCurrentX(static_cast<float>(r.RecordX1 + 5 * c.app.view.ScaleFactor));
    s.SetCurrentY(static_cast<float>(r.RecordY1));
    s.Print(r.RecordText);
}

void DrawLandUseFamily(RecordDrawCall& c) {
    const auto x = static_cast<float>(c.record.RecordX1);
    const auto y = static_cast<float>(c.record.RecordY1);
    switch (c.record.RecordType) {
        case TypeLandUse1: DrawLandUseMark1(c.app, x, y); break;
        case 17: DrawLandUseMark2(c.app, x, y); break;
        case 18: DrawLandUseMark3(c.app, x, y); break;
        default: DrawLandUseMark4(c.app, x, y); break;
    }
}

void DrawSymbolRowFamily(RecordDrawCall& c) {
    const ClipBuffer& clip = Clip(c.app);
    for (std::uint8_t k = 1; k <= 4; ++k) {
        const double x = Xk(c.record, k), y = Yk(c.record, k);
        if (clip.ClipXMin < x && x < clip.ClipXMax && clip.ClipYMin < y && y < clip.ClipYMax)
            DrawSymbolRow(c.app, c.layer, c.slot, k);
    }
}

void DrawParcelEdgeFamily(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    switch (r.RecordType) {
        case TypeParcelEdgeSolid:
            DrawHandledSegment(c.app, r.RecordX1, r.RecordY1, r.RecordZ1, r.RecordX2, r.RecordY2, r.RecordZ2, c.Color());
            break;
        case TypeParcelEdgeDotted:
            DrawHandledSegmentDotted(c.app, r.RecordX1, r.RecordY1, r.RecordZ1, r.RecordX2, r.RecordY2, r.RecordZ2, c.Color());
            break;
        default:
            DrawHandledSegmentDashed(c.app, r.RecordX1, r.RecordY1, r.RecordZ1, r.RecordX2, r.RecordY2, r.RecordZ2, c.Color());
            break;
    }
}

// Parcel boundary points: rings filled with the background (unless transparent) and a dot.
void DrawBoundaryPointFamily(RecordDrawCall& c) {
    Surface& s = c.canvas;
    const Rgb color = c.Color();
    s.SetFillStyle(c.app.view.BoundaryPointsTransparent);
    s.SetFillColor(s.BackColor());
    s.SetForeColor(color);
    const double radius = static_cast<float>(c.app.view.PointMarkRadius);
    for (int k = 1; k <= c.record.RecordType - 30; ++k) {
        const auto x = static_cast<float>(Xk(c.record, k));
        const auto y = static_cast<float>(Yk(c.record, k));
        s.Circle(x, y, radius, color);
        s.PSet(x, y, color);
    }
    s.SetFillStyle(FillStyleTransparent);
}

// Height points: each point with its height, stopping at the first point outside.
void DrawHeightPointFamily(RecordDrawCall& c) {
    Surface& s = c.canvas;
    for (int k = 1; k <= c.record.RecordType - 45; ++k) {
        const double x = Xk(c.record, k), y = Yk(c.record, k);
        if (c.options.cull && !PointVisible(c.app, x, y)) return;
        s.PSet(static_cast<float>(x), static_cast<float>(y), c.Color());
        if (!c.options.drawTexts) continue;
        s.SetCurrentX(static_cast<float>(x));
        s.SetCurrentY(static_cast<float>(y));
        s.Print(PrintNumberText(Zk(c.record, k)));
    }
}

// The contrast colour of a type-67 text on a background of its own colour: the background
// moved by 100 in red while that stays a colour, else the helper's contrast colour.
Rgb Text67Contrast(Rgb background) {
    if (RedOf(background) <= 155) return background + 100;
    return ContrastColor(background);
}

// Canvas texts 25, 65 and 67 in the canvas's own font, face and size set only when they change.
void DrawCanvasTextFamily(RecordDrawCall& c) {
    if (!c.options.drawTexts) return;
    const MapRecord& r = c.record;
    Surface& s = c.canvas;
    TextFontState& font = c.app.display.TextFont;
    bool& italic = c.app.display.Redraw.CanvasFontItalic;
    const bool is67 = r.RecordType == TypeText67;
    s.SetCurrentX(static_cast<float>(r.RecordX1));
    s.SetCurrentY(static_cast<float>(r.RecordY1));
    if (!EqualsIgnoreCase(r.RecordFont, font.CanvasFontName)) {
        const bool leaning = r.RecordFont == "右斜宋";
        italic = leaning;
        const std::string face = leaning && !is67 ? std::string("宋体") : r.RecordFont;
        s.SetFont(face, s.FontSize(), false, italic);
        if (!is67) {
            if (font.ScaledFontSelected == True) {
                font.ScaledFontSelected = 0;
                ReleaseTextFont(c.app);
            }
            font.FontCacheAngle = 1;
        }
        font.CanvasFontName = r.RecordFont;
    }
    const auto height = static_cast<float>(r.RecordX2);
    if (static_cast<double>(height) != r.RecordX2 || height != font.CanvasFontSize) {
        s.SetFont(s.FontName(), CanvasPoints(c.app, r.RecordX2), false, italic);
        font.CanvasFontSize = height;
    }
    Rgb color = c.Color();
    if (c.options.colorOverride < 0 && color == s.BackColor())
        color = is67 ? Text67Contrast(s.BackColor()) : c.app.tables.ColorPalette[5];
    s.SetForeColor(color);
    s.Print(r.RecordText);
}

// Terrain point: its name in the record's face, then a dot at P4.
void DrawTerrainPointFamily(RecordDrawCall& c) {
    if (c.app.display.Redraw.SuppressTerrainPoints != 0) return;
    const MapRecord& r = c.record;
    Surface& s = c.canvas;
    s.SetCurrentX(static_cast<float>(r.RecordX1));
    s.SetCurrentY(static_cast<float>(r.RecordY1));
    c.app.display.Redraw.CanvasFontItalic = false;
    s.SetForeColor(c.Color());
    if (c.options.drawTexts) {
        s.SetFont(r.RecordFont, CanvasPoints(c.app, r.RecordX2), false, false);
        ForgetCanvasFont(c.app);
        s.Print(r.RecordText);
    }
    s.SetDrawWidth(3);
    s.PSet(static_cast<float>(r.RecordX4), static_cast<float>(r.RecordY4));
}

std::int16_t TextUnused(const MapRecord& r) {
    const double y3 = r.RecordY3;
    return y3 >= -32768.5 && y3 <= 32767.5 ? ToInt16(y3) : 0;
}

// Turned texts 62, 66, 68 through the created font.
void DrawTurnedTextFamily(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    Surface& s = c.canvas;
    Rgb color = c.Color();
    if (r.RecordType == TypeTurnedText && c.options.colorOverride < 0 && color == s.BackColor())
        color = c.app.tables.ColorPalette[5];
    s.SetForeColor(color);
    if (c.options.drawTexts)
        DrawTextAngled(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordY2, r.RecordZ2,
                       TextUnused(r), r.RecordFont, color);
    if (r.RecordType == TypeTurnedTextWithPoint) {
        s.SetDrawWidth(2);
        s.PSet(static_cast<float>(r.RecordX4), static_cast<float>(r.RecordY4));
    }
    c.app.display.TextFont.CanvasFontSize = 1;
}

void DrawFontTextFamily(RecordDrawCall& c) {
    if (!c.options.drawTexts) return;
    const MapRecord& r = c.record;
    if (r.RecordType == TypePixelText)
        DrawTextGdi(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordY2, r.RecordZ2,
                    TextUnused(r), r.RecordFont, c.Color());
    else
        DrawTextItalic(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordY2, r.RecordZ2,
                       TextUnused(r), r.RecordFont, c.Color());
}

// Ticks 80, 81, 85 from each vertex until the first vertex at (0, 0).
void DrawTickFamily(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const int t = r.RecordType;
    if (t == TypeTicksFalling) c.canvas.SetDrawWidth(TickRecordWidth(r.RecordPen));
    else ApplyRecordPen(c);
    for (int k = 1; k <= 4; ++k) {
        const double x = Xk(r, k), y = Yk(r, k), z = Zk(r, k);
        if (EndsTickRecord(k, x, y)) return;
        const double dy = t == TypeTicksRising ? z : t == TypeTicksLevel ? 0 : -z;
        CanvasLine(c.canvas, x, y, x + z, y + dy, c.Color());
    }
}

// Special boundary lines 92..95 segment by segment.
void DrawSpecialLineFamily(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const int segments = r.RecordType - 91;
    for (int k = 1; k <= std::min(segments, 3); ++k)
        DrawSpecialPattern(c.app, Xk(r, k), Yk(r, k), Xk(r, k + 1), Yk(r, k + 1), c.Color(), r.RecordText,
                           r.RecordZ2, r.RecordZ3, r.RecordZ4);
    if (r.RecordType == TypeSpecialLineChain) {
        const MapRecord& n = NextSlot(c);
        DrawSpecialPattern(c.app, r.RecordX4, r.RecordY4, n.RecordX1, n.RecordY1, c.Color(), r.RecordText,
                           r.RecordZ2, r.RecordZ3, r.RecordZ4);
    }
}

// Linked image: its picture holder, at most 31 loads per full redraw.
void DrawImageFamily(RecordDrawCall& c) {
    if (!c.options.drawImages) return;
    RecordImageState& images = c.app.display.Images;
    if (Val(images.ImageSlotNames[ImageLoadCounterIndex]) > MaxImageLoadsPerRedraw) return;
    const MapRecord r = c.record;  // the loader may rewrite the record's path and holder
    LoadRecordImage(c.app, c.layer, c.slot);
    // The holder number is the low byte of the colour; one beyond the holders became holder 0.
    int holder = r.RecordColor & 255;
    if (holder >= ImageHolderCount) holder = c.app.store.Get(c.layer, c.slot).RecordColor & 255;
    if (holder >= ImageHolderCount) return;
    const Picture& picture = images.Image1[static_cast<size_t>(holder)];
    if (picture.Empty()) return;
    c.canvas.PaintPicture(picture, static_cast<float>(r.RecordX1), static_cast<float>(r.RecordY1 + r.RecordY2),
                          static_cast<float>(r.RecordX2), static_cast<float>(-r.RecordY2));
}

// ---- Culling by type.

enum class Cull { None, Box2, Box3, Box4, P1, P2, P3, Image };

struct TypeEntry {
    RecordFamilyDrawer drawer = nullptr;
    Cull cull = Cull::None;
    bool keepsPenColor = false;  // the drawer reads PenColor as the previous record left it
};

std::array<TypeEntry, 256> BuildTable() {
    std::array<TypeEntry, 256> t{};
    auto set = [&](int type, RecordFamilyDrawer d, Cull cull, bool keep = false) { t[type] = {d, cull, keep}; };
    set(2, DrawPenLineFamily, Cull::Box2, true);
    set(3, DrawPenLineFamily, Cull::Box3);
    set(4, DrawPenLineFamily, Cull::Box4);
    set(5, DrawPenLineFamily, Cull::Box4);
    set(6, DrawPenLineFamily, Cull::Box4);
    set(7, DrawCircleFamily, Cull::P1);
    set(8, DrawCircleFamily, Cull::P1);
    set(9, DrawCircleFamily, Cull::P1);
    set(10, DrawRuleShapeFamily, Cull::P1, true);
    set(11, DrawFillHeadFamily, Cull::None, true);
    set(12, DrawLineTypeFamily, Cull::Box2);
    set(13, DrawFillHeadFamily, Cull::None, true);
    set(14, DrawRuleShapeFamily, Cull::P1, true);
    set(15, DrawSymbolFamily, Cull::P1);
    for (int k = 16; k <= 19; ++k) set(k, DrawLandUseFamily, Cull::P1, true);
    for (int k = 21; k <= 23; ++k) set(k, DrawParcelEdgeFamily, Cull::None);
    set(25, DrawCanvasTextFamily, Cull::P1);
    set(65, DrawCanvasTextFamily, Cull::P1);
    set(67, DrawCanvasTextFamily, Cull::P1);
    for (int k = 31; k <= 34; ++k) set(k, DrawBoundaryPointFamily, Cull::P1);
    set(36, DrawPenLineFamily, Cull::Box4);
    set(42, DrawLineTypeFamily, Cull::P2);
    set(43, DrawLineTypeFamily, Cull::P2);
    set(44, DrawLineTypeFamily, Cull::P2);
    set(45, DrawLineTypeFamily, Cull::P3);
    for (int k = 46; k <= 49; ++k) set(k, DrawHeightPointFamily, Cull::None);
    set(50, DrawSymbolFamily, Cull::P1);
    set(51, DrawSymbolFamily, Cull::P1);
    set(52, DrawPenLineFamily, Cull::None);
    set(58, DrawRuleShapeFamily, Cull::P1, true);
    set(59, DrawRuleShapeFamily, Cull::P1, true);
    set(61, DrawTerrainPointFamily, Cull::P1);
    set(62, DrawTurnedTextFamily, Cull::P1);
    set(66, DrawTurnedTextFamily, Cull::P1);
    set(68, DrawTurnedTextFamily, Cull::P1);
    set(63, DrawFontTextFamily, Cull::P1);
    set(64, DrawFontTextFamily, Cull::P1);
    set(70, DrawImageFamily, Cull::Image);
    for (int k = 72; k <= 75; ++k) set(k, DrawWideLineFamily, Cull::None);
    set(80, DrawTickFamily, Cull::None);
    set(81, DrawTickFamily, Cull::None);
    set(85, DrawTickFamily, Cull::None);
    set(87, DrawSymbolRowFamily, Cull::None, true);
    set(92, DrawSpecialLineFamily, Cull::Box2);
    set(93, DrawSpecialLineFamily, Cull::Box3);
    set(94, DrawSpecialLineFamily, Cull::Box4);
    set(95, DrawSpecialLineFamily, Cull::Box4);
    set(99, DrawPenLineFamily, Cull::Box2, true);
    return t;
}

const std::array<TypeEntry, 256>& Table() {
    static const std::array<TypeEntry, 256> table = BuildTable();
    return table;
}

bool PassesCull(const App& app, const MapRecord& r, Cull cull) {
    const ClipBuffer& clip = Clip(app);
    switch (cull) {
        case Cull::None: return true;
        case Cull::Box2: return BoxOfPointsVisible(app, r, 2);
        case Cull::Box3: return BoxOfPointsVisible(app, r, 3);
        case Cull::Box4: return BoxOfPointsVisible(app, r, 4);
        case Cull::P1: return PointVisible(app, r.RecordX1, r.RecordY1);
        case Cull::P2: return PointVisible(app, r.RecordX2, r.RecordY2);
        case Cull::P3: return PointVisible(app, r.RecordX3, r.RecordY3);
        case Cull::Image:
            return r.RecordX1 <= clip.ClipXMax && r.RecordX1 + r.RecordX2 >= clip.ClipXMin &&
                   r.RecordY1 + r.RecordY2 <= clip.ClipYMax && r.RecordY1 >= clip.ClipYMin;
    }
    return true;
}

}  // namespace

bool BoxOfPointsVisible(const App& app, const MapRecord& r, int pointCount) {
    const ClipBuffer& clip = Clip(app);
    bool right = false, left = false, above = false, below = false;
    for (int k = 1; k <= pointCount; ++k) {
        const double x = Xk(r, k), y = Yk(r, k);
        right = right || x >= clip.ClipXMin;
        left = left || x <= clip.ClipXMax;
        above = above || y >= clip.ClipYMin;
        below = below || y <= clip.ClipYMax;
    }
    return right && left && above && below;
}

bool PointVisible(const App& app, double x, double y) {
    const ClipBuffer& clip = Clip(app);
    return clip.ClipXMin <= x && x <= clip.ClipXMax && clip.ClipYMin <= y && y <= clip.ClipYMax;
}

RecordFamilyDrawer RecordFamilyDrawerFor(int type) {
    if (type < 0 || type > 255) return nullptr;
    return Table()[static_cast<size_t>(type)].drawer;
}

void DrawRecordWith(App& app, std::uint8_t& layer, std::int16_t& slot, const RecordDrawOptions& options) {
    try {
        const MapRecord& record = app.store.Get(layer, slot);
        const TypeEntry& entry = Table()[record.RecordType];
        if (entry.drawer == nullptr) return;
        if (options.cull && !PassesCull(app, record, entry.cull)) return;
        if (options.storePenColor && !entry.keepsPenColor &&
            !(record.RecordType == TypeLineTypeSegment && app.symbolStandard.SymbolStandardLoaded == True))
            app.display.PenColor = options.colorOverride >= 0 ? options.colorOverride : record.RecordColor;
        // A fill head moves the slot only when its drawing succeeded.
        std::int16_t working = slot;
        RecordDrawCall call{app, MainCanvas(app), record, layer, working, options};
        entry.drawer(call);
        slot = working;
    } catch (const RuntimeError&) {
        // Nothing is reported; the caller goes on with its next slot.
    }
}

void DrawRecordValue(App& app, const MapRecord& record, const MapRecord* next, const RecordDrawOptions& options) {
    const RecordFamilyDrawer drawer = RecordFamilyDrawerFor(record.RecordType);
    if (drawer == nullptr) return;
    std::uint8_t layer = 0;
    std::int16_t slot = 0;
    RecordDrawCall call{app, MainCanvas(app), record, layer, slot, options, next};
    drawer(call);
}

void DrawRecord(App& app, std::uint8_t& layer, std::int16_t& slot) {
    static const RecordDrawOptions fullDetail{};
    DrawRecordWith(app, layer, slot, fullDetail);
}

}  // namespace movra
