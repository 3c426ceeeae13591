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
#include "document/RecordTypes.h"
#include "display/Shapes.h"
#include "display/BoundaryLines.h"
#include "display/TextRendering.h"

namespace movra {

double VertexX(const MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordX1;
        case 2: return r.RecordX2;
        case 3: return r.RecordX3;
        default: return r.RecordX4;
    }
}
double VertexY(const MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordY1;
        case 2: return r.RecordY2;
        case 3: return r.RecordY3;
        default: return r.RecordY4;
    }
}
float VertexZ(const MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordZ1;
        case 2: return r.RecordZ2;
        case 3: return r.RecordZ3;
        default: return r.RecordZ4;
    }
}

const MapRecord& NextRecordOf(const RecordDrawCall& c) {
    if (c.next != nullptr) return *c.next;
    return c.app.store.Get(c.layer, static_cast<int>(c.slot) + 1);
}

void CanvasLine(Surface& s, double x1, double y1, double x2, double y2, Rgb color) {
    s.Line(static_cast<float>(x1), static_cast<float>(y1), static_cast<float>(x2),
           static_cast<float>(y2), color);
}

void ApplyRecordPen(RecordDrawCall& c) {
    const std::uint8_t pen = c.record.RecordPen;
    switch (c.pen) {
        case PenRule::AsLeft: return;
        case PenRule::Cached: ApplyPenRule(c.canvas, pen, c.app.display.PenCache); return;
        case PenRule::TickWidth: c.canvas.SetDrawWidth(TickRecordWidth(pen)); return;
        case PenRule::Direct:
        case PenRule::DirectSolid: {
            const PenSetting setting = PenCodeSetting(pen);
            c.canvas.SetDrawWidth(setting.width);
            if (pen < 7 || c.pen == PenRule::DirectSolid) c.canvas.SetDrawStyle(setting.style);
            return;
        }
    }
}

int CanvasPoints(const App& app, double height) {
    // A stored height is no position and may hold anything a file brought (1e300, not a number):
    // the font is held to what a canvas can show, the record stays as stored.
    constexpr double Largest = 32767;
    const double points = Int(app.view.DisplayZoom * height);
    if (!(points >= 0)) return 1;
    return static_cast<int>(std::min(points, Largest - 1)) + 1;
}

std::int16_t TextUnused(const MapRecord& r) {
    const double y3 = r.RecordY3;
    return y3 >= -32768.5 && y3 <= 32767.5 ? ToInt16(y3) : 0;
}

void ForgetCanvasFont(App& app) {
    app.display.TextFont.CanvasFontName.clear();
    ForgetCanvasFontSize(app);
}

void SymbolBox(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const double f = c.app.view.ScaleFactor;
    c.canvas.Line(static_cast<float>(r.RecordX1), static_cast<float>(r.RecordY1),
                  static_cast<float>(r.RecordX1 + f), static_cast<float>(r.RecordY1 + f), c.Color(), LineShape::Box);
}

namespace {

double Xk(const MapRecord& r, int k) { return VertexX(r, k); }
double Yk(const MapRecord& r, int k) { return VertexY(r, k); }
float Zk(const MapRecord& r, int k) { return VertexZ(r, k); }

const ClipBuffer& Clip(const App& app) { return app.clip; }

const MapRecord& NextSlot(const RecordDrawCall& c) { return NextRecordOf(c); }

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
        // Every renderer erases in the background, whatever colour it was asked for.
        CanvasLine(c.canvas, c.record.RecordX1, c.record.RecordY1, c.record.RecordX2,
                   c.record.RecordY2, c.canvas.BackColor());
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
    // The offset companion line keeps its magenta in every renderer.
    CanvasLine(c.canvas, r.RecordX1 + 0.2, r.RecordY1 + 0.2, r.RecordX2 + 0.2, r.RecordY2 + 0.2,
               c.app.tables.ColorPalette[6]);
}

void DrawLineTypeFamily(RecordDrawCall& c) {
    const int t = c.record.RecordType;
    const bool standard = c.app.symbolStandard.SymbolStandardLoaded == True && !c.options.plainLineTypes;
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

// The label of a named point, 5 mm right of P1, in the record's face and the figure colour
// (italic as left). The face is set behind the canvas-text cache, which therefore forgets it:
// otherwise the next canvas text of the cached face would print in the label's face.
void NamedPointLabel(RecordDrawCall& c, int points) {
    const MapRecord& r = c.record;
    Surface& s = c.canvas;
    s.SetFont(r.RecordFont, points, false, c.app.display.Redraw.CanvasFontItalic);
    ForgetCanvasFont(c.app);
    s.SetForeColor(c.Color());
    s.SetCurrentX(static_cast<float>(r.RecordX1 + 5 * c.app.view.ScaleFactor));
    s.SetCurrentY(static_cast<float>(r.RecordY1));
    s.Print(r.RecordText);
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
    if (t == TypeNamedSymbolPoint) NamedPointLabel(c, CanvasPoints(c.app, r.RecordX2));
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
    // The face is set behind the canvas-text cache, which forgets it (see NamedPointLabel).
    s.SetFont(r.RecordFont, CanvasPoints(c.app, r.RecordX2), false, false);
    ForgetCanvasFont(c.app);
    s.Print(r.RecordText);
    s.SetDrawWidth(3);
    s.PSet(static_cast<float>(r.RecordX4), static_cast<float>(r.RecordY4));
}

// Turned texts 62, 66, 68 through the created font.
void DrawTurnedTextFamily(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    Surface& s = c.canvas;
    Rgb color = c.Color();
    if (r.RecordType == TypeTurnedText && c.options.colorOverride < 0 && color == s.BackColor())
        color = c.app.tables.ColorPalette[5];
    s.SetForeColor(color);
    DrawTextAngled(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordY2, r.RecordZ2,
                   TextUnused(r), r.RecordFont, color);
    if (r.RecordType == TypeTurnedTextWithPoint) {
        s.SetDrawWidth(2);
        s.PSet(static_cast<float>(r.RecordX4), static_cast<float>(r.RecordY4));
    }
    ForgetCanvasFontSize(c.app);
}

void DrawFontTextFamily(RecordDrawCall& c) {
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
    ApplyRecordPen(c);
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

// The picture holder of an image record: the low byte of its colour.
const Picture* HeldPicture(const App& app, const MapRecord& r) {
    const int holder = r.RecordColor & 255;
    if (holder >= ImageHolderCount) return nullptr;
    const Picture& picture = app.display.Images.Image1[static_cast<size_t>(holder)];
    return picture.Empty() ? nullptr : &picture;
}

// Where a picture is missing or undecodable: its frame with both diagonals, so the user sees
// where it belongs and that it is not there.
void DrawMissingPictureFrame(Surface& canvas, const MapRecord& r) {
    constexpr Rgb FrameColor = MakeRgb(255, 0, 0);
    const double x2 = r.RecordX1 + r.RecordX2;
    const double y2 = r.RecordY1 + r.RecordY2;
    canvas.Line(r.RecordX1, r.RecordY1, x2, y2, FrameColor, LineShape::Box);
    canvas.Line(r.RecordX1, r.RecordY1, x2, y2, FrameColor);
    canvas.Line(r.RecordX1, y2, x2, r.RecordY1, FrameColor);
}

// P1 is the picture's upper left corner as the record keeps it: the picture spans X2 to the
// right and Y2 up (a negative Y2, the usual record, hangs it below P1 the right way up).
void PaintRecordPicture(Surface& canvas, const Picture& picture, const MapRecord& r) {
    canvas.PaintPicture(picture, static_cast<float>(r.RecordX1), static_cast<float>(r.RecordY1),
                        static_cast<float>(r.RecordX2), static_cast<float>(r.RecordY2));
}

// Linked image: its picture holder, at most 31 loads per full redraw.
void DrawImageFamily(RecordDrawCall& c) {
    RecordImageState& images = c.app.display.Images;
    if (Val(images.ImageSlotNames[ImageLoadCounterIndex]) > MaxImageLoadsPerRedraw) return;
    const MapRecord r = c.record;  // the loader may rewrite the record's path and holder
    LoadRecordImage(c.app, c.layer, c.slot);
    // One beyond the holders became holder 0 in the store.
    const MapRecord& loaded = (r.RecordColor & 255) >= ImageHolderCount ? c.app.store.Get(c.layer, c.slot) : r;
    if (const Picture* picture = OwnPictureOf(c.app, loaded)) {
        PaintRecordPicture(c.canvas, *picture, r);
    } else {
        DrawMissingPictureFrame(c.canvas, loaded);
    }
}

// ---- The full renderer's table.

RecordTable BuildTable() {
    RecordTable t{};
    constexpr PenRule Rule = PenRule::Cached, Left = PenRule::AsLeft;
    auto set = [&](int type, RecordFamilyDrawer d, Cull cull, PenRule pen, bool keep = false) {
        t[static_cast<size_t>(type)] = {d, cull, pen, keep};
    };
    set(2, DrawPenLineFamily, Cull::Box2, Rule, true);
    set(3, DrawPenLineFamily, Cull::Box3, Rule);
    set(4, DrawPenLineFamily, Cull::Box4, Rule);
    set(5, DrawPenLineFamily, Cull::Box4, Rule);
    set(6, DrawPenLineFamily, Cull::Box4, Rule);
    set(7, DrawCircleFamily, Cull::P1, Rule);
    set(8, DrawCircleFamily, Cull::P1, Rule);
    set(9, DrawCircleFamily, Cull::P1, Rule);
    set(10, DrawRuleShapeFamily, Cull::P1, Left, true);
    set(11, DrawFillHeadFamily, Cull::None, Left, true);
    set(12, DrawLineTypeFamily, Cull::Box2, Left);
    set(13, DrawFillHeadFamily, Cull::None, Left, true);
    set(14, DrawRuleShapeFamily, Cull::P1, Left, true);
    set(15, DrawSymbolFamily, Cull::P1, Left);
    for (int k = 16; k <= 19; ++k) set(k, DrawLandUseFamily, Cull::P1, Left, true);
    for (int k = 21; k <= 23; ++k) set(k, DrawParcelEdgeFamily, Cull::None, Left);
    set(25, DrawCanvasTextFamily, Cull::P1, Left);
    set(65, DrawCanvasTextFamily, Cull::P1, Left);
    set(67, DrawCanvasTextFamily, Cull::P1, Left);
    for (int k = 31; k <= 34; ++k) set(k, DrawBoundaryPointFamily, Cull::P1, Left);
    set(36, DrawPenLineFamily, Cull::Box4, Rule);
    // Line-type lines are culled by the box of the segments they draw, as the plain lines are: a
    // segment crossing a zoomed-in view has its vertices off the screen.
    set(42, DrawLineTypeFamily, Cull::Box2, Left);
    set(43, DrawLineTypeFamily, Cull::Box3, Left);
    set(44, DrawLineTypeFamily, Cull::Box4, Left);
    set(45, DrawLineTypeFamily, Cull::Box4Next, Left);
    for (int k = 46; k <= 49; ++k) set(k, DrawHeightPointFamily, Cull::None, Left);
    set(50, DrawSymbolFamily, Cull::P1, Left);
    set(51, DrawSymbolFamily, Cull::P1, Left);
    set(52, DrawPenLineFamily, Cull::None, Rule);
    set(58, DrawRuleShapeFamily, Cull::P1, Left, true);
    set(59, DrawRuleShapeFamily, Cull::P1, Left, true);
    set(61, DrawTerrainPointFamily, Cull::P1, Left);
    set(62, DrawTurnedTextFamily, Cull::P1, Left);
    set(66, DrawTurnedTextFamily, Cull::P1, Left);
    set(68, DrawTurnedTextFamily, Cull::P1, Left);
    set(63, DrawFontTextFamily, Cull::P1, Left);
    set(64, DrawFontTextFamily, Cull::P1, Left);
    set(70, DrawImageFamily, Cull::Image, Left);
    for (int k = 72; k <= 75; ++k) set(k, DrawWideLineFamily, Cull::None, Left);
    set(80, DrawTickFamily, Cull::None, Rule);
    set(81, DrawTickFamily, Cull::None, Rule);
    set(85, DrawTickFamily, Cull::None, PenRule::TickWidth);
    set(87, DrawSymbolRowFamily, Cull::None, Left, true);
    set(92, DrawSpecialLineFamily, Cull::Box2, Left);
    set(93, DrawSpecialLineFamily, Cull::Box3, Left);
    set(94, DrawSpecialLineFamily, Cull::Box4, Left);
    set(95, DrawSpecialLineFamily, Cull::Box4, Left);
    set(99, DrawPenLineFamily, Cull::Box2, Left, true);
    return t;
}

// The record of the next slot of the layer, null beyond the store.
const MapRecord* NextSlotIfAny(const App& app, int layer, int slot) {
    if (slot + 1 > app.store.LayerCapacity) return nullptr;
    return &app.store.Get(layer, slot + 1);
}

bool PassesCull(const App& app, const MapRecord& r, Cull cull, int layer, int slot) {
    const ClipBuffer& clip = Clip(app);
    switch (cull) {
        case Cull::None: return true;
        case Cull::Box2: return BoxOfPointsVisible(app, r, 2);
        case Cull::Box3: return BoxOfPointsVisible(app, r, 3);
        case Cull::Box4: return BoxOfPointsVisible(app, r, 4);
        case Cull::Box4Next: return BoxOfPointsVisible(app, r, 4, NextSlotIfAny(app, layer, slot));
        case Cull::P1: return PointVisible(app, r.RecordX1, r.RecordY1);
        case Cull::Image: {
            // The picture's extent meets the rectangle; the width and height may have either sign.
            const double x2 = r.RecordX1 + r.RecordX2, y2 = r.RecordY1 + r.RecordY2;
            return std::min(r.RecordX1, x2) <= clip.ClipXMax && std::max(r.RecordX1, x2) >= clip.ClipXMin &&
                   std::min(r.RecordY1, y2) <= clip.ClipYMax && std::max(r.RecordY1, y2) >= clip.ClipYMin;
        }
    }
    return true;
}

}  // namespace

bool BoxOfPointsVisible(const App& app, const MapRecord& r, int pointCount, const MapRecord* next) {
    const ClipBuffer& clip = Clip(app);
    bool right = false, left = false, above = false, below = false;
    auto take = [&](double x, double y) {
        right = right || x >= clip.ClipXMin;
        left = left || x <= clip.ClipXMax;
        above = above || y >= clip.ClipYMin;
        below = below || y <= clip.ClipYMax;
    };
    for (int k = 1; k <= pointCount; ++k) take(Xk(r, k), Yk(r, k));
    if (next != nullptr) take(next->RecordX1, next->RecordY1);
    return right && left && above && below;
}

bool PointVisible(const App& app, double x, double y) {
    const ClipBuffer& clip = Clip(app);
    return clip.ClipXMin <= x && x <= clip.ClipXMax && clip.ClipYMin <= y && y <= clip.ClipYMax;
}

const RecordTable& FullRecordTable() {
    static const RecordTable table = BuildTable();
    return table;
}

RecordFamilyDrawer RecordFamilyDrawerFor(int type) {
    if (type < 0 || type > 255) return nullptr;
    return FullRecordTable()[static_cast<size_t>(type)].drawer;
}

void DrawRow(const RecordRow& row, RecordDrawCall& call) {
    if (row.drawer == nullptr) return;
    call.pen = row.pen;
    row.drawer(call);
}

void DrawRecordWith(App& app, std::uint8_t& layer, std::int16_t& slot, const RecordDrawOptions& options) {
    try {
        const MapRecord& record = app.store.Get(layer, slot);
        const RecordRow& row = FullRecordTable()[record.RecordType];
        if (row.drawer == nullptr) return;
        if (options.cull && !PassesCull(app, record, row.cull, layer, slot)) return;
        if (options.storePenColor && !row.keepsPenColor &&
            !(record.RecordType == TypeLineTypeSegment && app.symbolStandard.SymbolStandardLoaded == True))
            app.display.PenColor = options.colorOverride >= 0 ? options.colorOverride : record.RecordColor;
        // A fill head moves the slot only when its drawing succeeded.
        std::int16_t working = slot;
        RecordDrawCall call{app, MainCanvas(app), record, layer, working, options};
        DrawRow(row, call);
        slot = working;
    } catch (const RuntimeError&) {
        // Nothing is reported; the caller goes on with its next slot.
    }
}

void DrawRecord(App& app, std::uint8_t& layer, std::int16_t& slot) {
    static const RecordDrawOptions fullDetail{};
    DrawRecordWith(app, layer, slot, fullDetail);
}

void DrawNamedPointPenLabel(RecordDrawCall& c) {
    // The symbol (or box) as the full renderer draws a plain symbol point, then the label.
    MapRecord plain = c.record;
    plain.RecordType = TypeSymbolPoint;
    RecordDrawCall symbol{c.app, c.canvas, plain, c.layer, c.slot, c.options, c.next, c.pen};
    DrawSymbolFamily(symbol);
    NamedPointLabel(c, static_cast<int>(Int(c.record.RecordPen * c.app.view.DisplayZoom)) + 1);
}

void DrawHeldPicture(RecordDrawCall& c) {
    if (const Picture* picture = HeldPicture(c.app, c.record)) PaintRecordPicture(c.canvas, *picture, c.record);
}

}  // namespace movra
