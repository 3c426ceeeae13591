#include "printing/PageRecords.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/Pens.h"
#include "display/RecordImages.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"
#include "geomops/InkFillBoundary.h"
#include "printing/PageLines.h"
#include "printing/PagePointSymbols.h"
#include "printing/PageShapes.h"
#include "printing/PageFills.h"
#include "printing/PageTexts.h"

namespace movra {

namespace {

// The printer's form of the record switch. Rows use the same row and call types as the screen's
// table; what differs is kept as data: a row's Cull is the test against the page cell (P1: the
// first vertex in the cell; Box4: any of the four vertices), every straight line goes through the
// cell's clip, sizes come from the print scale, and there is no level of detail.

bool InCell(const App& app, double x, double y) {
    const PrintDialogState& s = app.printState;
    return s.CellLeft <= x && x <= s.CellRight && s.CellBottom <= y && y <= s.CellTop;
}

// ---- Where a figure drawn about a point can show. Everything on the page is clipped to the
// cell, so a figure is drawn on every page whose cell its extent meets: a circle across a seam
// shows its part on each page, and nothing is drawn twice. The extents are generous; what lies
// beyond the cell is clipped away.

bool BoxMeetsCell(const App& app, double x1, double y1, double x2, double y2) {
    const PrintDialogState& s = app.printState;
    return std::min(x1, x2) <= s.CellRight && std::max(x1, x2) >= s.CellLeft && std::min(y1, y2) <= s.CellTop &&
           std::max(y1, y2) >= s.CellBottom;
}

bool ReachMeetsCell(const App& app, double x, double y, double reach) {
    return BoxMeetsCell(app, x - reach, y - reach, x + reach, y + reach);
}

// A text of height h (at the map's scale) in any direction from its point: a character is at
// most about as wide as high, and a height in points or in font units is below 0.36 mm each.
double TextReach(const App& app, const MapRecord& r, double widthFactor = 1) {
    const PrintDialogState& s = app.printState;
    const double heightMm = 0.36 * (std::fabs(r.RecordX2) * s.MapToPrintRatio + 1);
    const double characters = static_cast<double>(Len(std::string(r.RecordText))) + 2;
    const double wide = std::isfinite(widthFactor) ? std::max(1.0, std::fabs(widthFactor)) : 1.0;
    return std::min(heightMm, 0.36 * 1501) * s.MetresPerPaperMm * characters * wide;
}

bool FigureMeetsCell(const App& app, const MapRecord& r) {
    const double x = r.RecordX1, y = r.RecordY1;
    const double m = app.printState.MetresPerPaperMm;
    switch (r.RecordType) {
        case TypeCircle:
        case 8: return ReachMeetsCell(app, x, y, std::fabs(r.RecordX2));
        case 9: return ReachMeetsCell(app, x, y, std::max(std::fabs(r.RecordX2), std::fabs(r.RecordY2)));
        case 15: return ReachMeetsCell(app, x, y, SymbolReachOnPage(app, Val(std::string(r.RecordText))));
        case 16:
        case 17:
        case 18:
        case 19: return ReachMeetsCell(app, x, y, 3.2 * app.printState.ScaledMetresPerPaperMm);
        case 50:
            return ReachMeetsCell(app, x, y, SymbolReachOnPage(app, r.RecordZ4) + 5 * m + TextReach(app, r));
        case 51: return ReachMeetsCell(app, x, y, SymbolReachOnPage(app, r.RecordZ4));
        // Texts in the printer's own output, and texts in fonts of their own, whose RecordY2 is
        // their width factor; the dot at P4 of 61 and 62 prints where it lies.
        case TypeTerrainPoint: return ReachMeetsCell(app, x, y, TextReach(app, r)) || InCell(app, r.RecordX4, r.RecordY4);
        case 62:
            return ReachMeetsCell(app, x, y, TextReach(app, r, r.RecordY2)) || InCell(app, r.RecordX4, r.RecordY4);
        case 63:
        case 64:
        case 66:
        case 68: return ReachMeetsCell(app, x, y, TextReach(app, r, r.RecordY2));
        case 65:
        case 67: return ReachMeetsCell(app, x, y, TextReach(app, r));
        case 70: return BoxMeetsCell(app, x, y, x + r.RecordX2, y + r.RecordY2);
        default: return InCell(app, x, y);
    }
}

Surface& Page(App& app) { return app.platform.printer().Page(); }

void SetPen(Surface& page, std::uint8_t pen) {
    const PenSetting setting = PenCodeSetting(pen);
    page.SetDrawWidth(setting.width);
    page.SetDrawStyle(setting.style);
}

// P1 of the record in the next slot of the layer; none beyond the layer's array.
const MapRecord* NextRecord(const RecordDrawCall& c) {
    const int next = static_cast<int>(c.slot) + 1;
    if (next > c.app.store.Count(c.layer)) return nullptr;
    return &c.app.store.Get(c.layer, next);
}

// The segments of a chain family with base type `base`: one more for every type above the base,
// the fourth on to P1 of the next slot.
template <class Segment>
void ChainSegments(RecordDrawCall& c, int base, Segment&& segment) {
    const MapRecord& r = c.record;
    const int t = r.RecordType;
    for (int k = 1; k <= 3; ++k)
        if (t >= base + k - 1) segment(VertexX(r, k), VertexY(r, k), VertexX(r, k + 1), VertexY(r, k + 1));
    if (t >= base + 3) {
        if (const MapRecord* n = NextRecord(c)) segment(r.RecordX4, r.RecordY4, n->RecordX1, n->RecordY1);
    }
}

void Clipped(RecordDrawCall& c, double x1, double y1, double x2, double y2) {
    PrintClippedSegment(c.app, x1, y1, x2, y2);
}

// ---- Inline drawers.

void PrintPenChain(RecordDrawCall& c) {
    ChainSegments(c, 2, [&](double a, double b, double x, double y) { Clipped(c, a, b, x, y); });
}

void PrintQuad(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    for (int k = 1; k <= 4; ++k) {
        const int e = k == 4 ? 1 : k + 1;
        Clipped(c, VertexX(r, k), VertexY(r, k), VertexX(r, e), VertexY(r, e));
    }
}

void PrintWideChain(RecordDrawCall& c) {
    c.app.display.PenColor = c.record.RecordColor;
    c.canvas.SetDrawWidth(WideLineWidth);
    c.canvas.SetDrawStyle(0);
    ChainSegments(c, 72, [&](double a, double b, double x, double y) { Clipped(c, a, b, x, y); });
}

void PrintLineTypeChain(RecordDrawCall& c) {
    ChainSegments(c, 42, [&](double a, double b, double x, double y) {
        PrintLineTypeAlongSegment(c.app, a, b, x, y, c.record.RecordText);
    });
}

void PrintLineTypeRecord(RecordDrawCall& c) {
    c.canvas.SetDrawWidth(1);
    c.canvas.SetDrawStyle(0);
    const MapRecord& r = c.record;
    PrintLineTypeAlongSegment(c.app, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, r.RecordText);
}

void PrintCross(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    c.app.display.PenColor = r.RecordColor;
    SetPen(c.canvas, r.RecordPen);
    Clipped(c, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2);
    Clipped(c, r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4);
}

void PrintSingleSegment(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    if (SegmentNearCell(c.app, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2))
        Clipped(c, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2);
}

void PrintCircleOrArc(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const Rgb color = c.app.printState.LineColor;
    if (r.RecordType == TypeCircle) {
        c.canvas.SetFillStyle(FillStyleTransparent);
        c.canvas.Circle(r.RecordX1, r.RecordY1, r.RecordX2, color, false, 0, 0, r.RecordY2);
    } else {
        c.canvas.Circle(r.RecordX1, r.RecordY1, r.RecordX2, color, true, r.RecordX3, r.RecordY3, r.RecordY2);
    }
}

// White discs outlined in the line colour, one per point whose disc meets the cell.
void PrintPointMarks(RecordDrawCall& c) {
    const Rgb color = c.app.printState.LineColor;
    for (int k = 1; k <= c.record.RecordType - 30; ++k) {
        const double x = VertexX(c.record, k), y = VertexY(c.record, k);
        if (!ReachMeetsCell(c.app, x, y, c.app.view.PointMarkRadius)) continue;
        c.canvas.SetForeColor(color);
        c.canvas.SetFillStyle(FillStyleSolid);
        c.canvas.SetFillColor(0xFFFFFF);
        c.canvas.Circle(x, y, c.app.view.PointMarkRadius, color);
        c.canvas.SetFillStyle(FillStyleTransparent);
    }
}

// A vertex list ends at the first vertex after P1 whose x and y are both 0.
int VertexListLength(const MapRecord& r) {
    int n = 1;
    while (n < 4 && !(VertexX(r, n + 1) == 0 && VertexY(r, n + 1) == 0)) ++n;
    return n;
}

void PrintTicks(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const bool rising = r.RecordType == TypeTicksRising;
    if (rising) {
        SetPen(c.canvas, r.RecordPen);
    } else {
        c.canvas.SetDrawWidth(TickRecordWidth(r.RecordPen));
        c.canvas.SetDrawStyle(0);
    }
    for (int k = 1, n = VertexListLength(r); k <= n; ++k) {
        const double x = VertexX(r, k), y = VertexY(r, k), z = VertexZ(r, k);
        Clipped(c, x, y, x + z, rising ? y + z : y - z);
    }
}

void PrintPointSymbolRecord(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    // A point symbol keeps its own colour: a white symbol prints white.
    PrintPointSymbol(c.app, r.RecordX1, r.RecordY1, r.RecordText, r.RecordX2, r.RecordY2, r.RecordColor);
}

void PrintSymbolPoint(RecordDrawCall& c) {
    App& app = c.app;
    const MapRecord& r = c.record;
    const double m = app.printState.MetresPerPaperMm;
    app.display.PenColor = r.RecordColor;
    const Rgb color = app.display.PenColor;
    if (app.symbolStandard.SymbolStandardLoaded == True) {
        PrintPointSymbol(app, r.RecordX1, r.RecordY1, PlainNumberText(r.RecordZ4), r.RecordX2, r.RecordY2, color);
    } else {
        c.canvas.Line(r.RecordX1, r.RecordY1, r.RecordX1 + m, r.RecordY1 + m, color, LineShape::Box);
    }
    if (r.RecordType != TypeNamedSymbolPoint) return;
    Surface& page = c.canvas;
    GuardSilently([&] { page.SetFont(r.RecordFont, page.FontSize()); });
    page.SetForeColor(color);
    GuardSilently([&] { page.SetFont(page.FontName(), Int(r.RecordX2 * app.printState.MapToPrintRatio) + 1); });
    page.SetCurrentX(r.RecordX1 + 5 * m);
    page.SetCurrentY(r.RecordY1);
    page.Print(r.RecordText);
}

// Texts in the printer's own text output.
void PrintPlainText(RecordDrawCall& c) {
    App& app = c.app;
    MapRecord& r = app.store.At(c.layer, c.slot);
    Surface& page = c.canvas;
    const double ratio = app.printState.MapToPrintRatio;
    const int t = r.RecordType;
    if (t == TypeTerrainPoint) app.display.PenColor = r.RecordColor;
    page.SetCurrentX(r.RecordX1);
    page.SetCurrentY(r.RecordY1);
    GuardSilently([&] { page.SetFont(r.RecordFont, page.FontSize()); });
    double size = 0;
    switch (t) {
        case TypeTerrainPoint:
            page.SetForeColor(app.display.PenColor);
            size = Int(r.RecordX2 * ratio) + 1;
            GuardSilently([&] { page.SetFont(page.FontName(), size, false, false); });
            break;
        case TypeText65:
            page.SetForeColor(app.printState.LineColor);
            if (r.RecordX2 < 1) r.RecordX2 = 1;  // the record keeps the height it printed at
            size = std::min(r.RecordX2 * ratio, 1500.0);
            GuardSilently([&] { page.SetFont(page.FontName(), size); });
            break;
        default:
            page.SetForeColor(app.printState.LineColor);
            size = std::min(Int(r.RecordX2 * ratio), 1000.0);
            GuardSilently([&] { page.SetFont(page.FontName(), size); });
            break;
    }
    page.Print(r.RecordText);
    if (t == TypeTerrainPoint) {
        page.SetDrawWidth(3);
        page.PSet(r.RecordX4, r.RecordY4);
    }
}

void PrintImage(RecordDrawCall& c) {
    App& app = c.app;
    const MapRecord& r = c.record;
    app.display.PenColor = r.RecordColor;
    // Only the record's own picture: a holder may still hold another record's, or the last map's.
    const Picture* picture = OwnPictureOf(app, r);
    if (!picture) return;
    c.canvas.PaintPicture(*picture, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2);
}

void PrintGridPaper(RecordDrawCall& c) {
    PrintQuad(c);
    PrintRenderRecord(c.app, c.layer, c.slot);
}

void PrintBand(RecordDrawCall& c) {
    SetPen(c.canvas, c.record.RecordPen);
    PrintRenderRecord(c.app, c.layer, c.slot);
}

void PrintEllipse(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    PrintRotatedEllipse(c.app, r.RecordX1, r.RecordY1, static_cast<float>(r.RecordX2), static_cast<float>(r.RecordY2),
                        static_cast<float>(r.RecordX3), c.app.printState.LineColor);
}

void PrintLandUse(RecordDrawCall& c) {
    const double x = c.record.RecordX1, y = c.record.RecordY1;
    switch (c.record.RecordType) {
        case 16: PrintLandUseMark1(c.app, x, y); break;
        case 17: PrintLandUseMark2(c.app, x, y); break;
        case 18: PrintLandUseMark3(c.app, x, y); break;
        default: PrintLandUseMark4(c.app, x, y); break;
    }
}

void PrintStrip(RecordDrawCall& c) { PrintStripShape(c.app, c.layer, c.slot); }

// A row from P1, then from each further vertex up to the first zero vertex. A row runs up and
// to the right over its extent Zk; one that cannot reach the cell is passed over, so a long job
// does not lay every row of the map on every page.
void PrintSymbolRows(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    const double reach = SymbolReachOnPage(c.app, Val(std::string(r.RecordText)));
    for (int k = 1, n = VertexListLength(r); k <= n; ++k) {
        const double x = VertexX(r, k), y = VertexY(r, k), z = VertexZ(r, k);
        if (!BoxMeetsCell(c.app, x - reach, y - reach, x + z + reach, y + z + reach) &&
            !ReachMeetsCell(c.app, x, y, reach))
            continue;
        PrintSymbolRow(c.app, c.layer, c.slot, static_cast<std::uint8_t>(k));
    }
}

// Ink fill: each span from its left end (Xk, Yk) along x by Zk, up to the first later span at
// (0, 0), clipped to the cell like every line. The spans lie one fill step apart; the screen's
// two-pixel pen closes the gaps between them, so on paper each span is drawn as wide as the step,
// and the fill prints solid as it shows.
void PrintInkSpans(RecordDrawCall& c) {
    const MapRecord& r = c.record;
    Surface& page = c.canvas;
    const double dotsPerMetre = std::fabs(page.PixelWidth() / page.ScaleWidth());
    const double stepDots = std::ceil(InkFillStepMm * c.app.view.ScaleFactor * dotsPerMetre);
    if (std::isfinite(stepDots) && stepDots > page.DrawWidth())
        page.SetDrawWidth(static_cast<int>(std::min(stepDots, 1000.0)));
    for (int k = 1, n = VertexListLength(r); k <= n; ++k) {
        const double x = VertexX(r, k), y = VertexY(r, k);
        Clipped(c, x, y, x + VertexZ(r, k), y);
    }
}

// Texts in fonts of their own, at their height, width factor and angle, in the line colour.
void PrintFontText(RecordDrawCall& c) {
    App& app = c.app;
    const MapRecord& r = c.record;
    const std::string text(r.RecordText), face(r.RecordFont);
    // The spare argument is not read; a value beyond 16 bits must not keep the text from printing.
    const auto spare = static_cast<std::int16_t>(std::clamp(std::nearbyint(r.RecordY3), -32768.0, 32767.0));
    const Rgb color = app.printState.LineColor;
    auto print = PrintTextGdi;
    switch (r.RecordType) {
        case 63: print = PrintTextGdi; break;
        case 64: print = PrintTextItalic; break;
        default: print = r.RecordZ2 == 0 ? PrintTextAngled : PrintTextOut; break;
    }
    print(app, r.RecordX1, r.RecordY1, text, r.RecordX2, r.RecordY2, r.RecordZ2, spare, face, color);
    if (r.RecordType == 62) {
        c.canvas.SetDrawWidth(2);
        c.canvas.PSet(r.RecordX4, r.RecordY4, c.canvas.ForeColor());
    }
}

// A fill head prints its area, then the loop goes on after its boundary records. A count below
// one would hold the loop still or send it back, so such a head advances one slot only.
void PrintFillHead(RecordDrawCall& c) {
    if (c.record.RecordType == 11) {
        PrintHatchFill(c.app, c.layer, c.slot);
    } else {
        PrintSymbolFill(c.app, c.layer, c.slot);
    }
    const double z4 = Int(c.record.RecordZ4);
    if (!(z4 >= 1)) return;
    const double last = std::min<double>(static_cast<double>(c.slot) + z4 - 1, 32767.0);
    c.slot = static_cast<std::int16_t>(std::max<double>(last, c.slot));
}

// Special lines: each segment whose pattern can reach the cell goes to the special pattern with
// the record's own colour; the pattern clips what it draws. Ticks and dots stand up to 2 mm
// beside the line, the dashed line is as wide as its width: a line running just outside the
// cell prints the part of them that reaches in.
void PrintSpecialChain(RecordDrawCall& c) {
    const double widthMm = std::isfinite(c.record.RecordZ2) ? std::fabs(c.record.RecordZ2) : 0;
    const double reach = std::max(2.5, widthMm) * c.app.printState.MetresPerPaperMm;
    ChainSegments(c, 92, [&](double a, double b, double x, double y) {
        if (!SegmentReachesCell(c.app, a, b, x, y, reach)) return;
        const MapRecord& r = c.record;
        c.app.display.PenColor = r.RecordColor;
        c.canvas.SetForeColor(c.app.display.PenColor);
        PrintSpecialPattern(c.app, a, b, x, y, c.app.display.PenColor, std::string(r.RecordText), r.RecordZ2,
                            r.RecordZ3, r.RecordZ4);
    });
}

RecordTable BuildPrintTable() {
    RecordTable table{};
    auto set = [&](int from, int to, RecordFamilyDrawer drawer, Cull cull = Cull::None) {
        for (int t = from; t <= to; ++t) table[static_cast<std::size_t>(t)] = RecordRow{drawer, cull};
    };
    set(2, 5, PrintPenChain);
    set(6, 6, PrintQuad);
    set(7, 8, PrintCircleOrArc, Cull::P1);
    set(9, 9, PrintEllipse, Cull::P1);
    set(10, 10, PrintBand);
    set(11, 11, PrintFillHead);
    set(12, 12, PrintLineTypeRecord);
    set(13, 13, PrintFillHead);
    set(15, 15, PrintPointSymbolRecord, Cull::P1);
    set(16, 19, PrintLandUse, Cull::P1);
    set(31, 34, PrintPointMarks);
    set(36, 36, PrintGridPaper);
    set(42, 45, PrintLineTypeChain);
    set(50, 51, PrintSymbolPoint, Cull::P1);
    set(52, 52, PrintCross);
    set(58, 59, PrintStrip, Cull::Box4);
    set(61, 61, PrintPlainText, Cull::P1);
    set(62, 64, PrintFontText, Cull::P1);
    set(65, 65, PrintPlainText, Cull::P1);
    set(66, 66, PrintFontText, Cull::P1);
    set(67, 67, PrintPlainText, Cull::P1);
    set(68, 68, PrintFontText, Cull::P1);
    set(70, 70, PrintImage, Cull::P1);
    set(72, 75, PrintWideChain);
    set(80, 80, PrintTicks);
    set(81, 81, PrintInkSpans);
    set(85, 85, PrintTicks);
    set(87, 87, PrintSymbolRows);
    set(92, 95, PrintSpecialChain);
    set(99, 99, PrintSingleSegment);
    return table;
}

// The rows marked P1 draw a figure about their first point: they print where that figure
// meets the cell. Box4 rows (the strips) print where the box of their four vertices meets it.
bool PassesCell(const App& app, const RecordRow& row, const MapRecord& r) {
    switch (row.cull) {
        case Cull::P1: return FigureMeetsCell(app, r);
        case Cull::Box4: {
            double x1 = r.RecordX1, x2 = r.RecordX1, y1 = r.RecordY1, y2 = r.RecordY1;
            for (int k = 2; k <= 4; ++k) {
                x1 = std::min(x1, VertexX(r, k));
                x2 = std::max(x2, VertexX(r, k));
                y1 = std::min(y1, VertexY(r, k));
                y2 = std::max(y2, VertexY(r, k));
            }
            return BoxMeetsCell(app, x1, y1, x2, y2);
        }
        default: return true;
    }
}

}  // namespace

const RecordTable& PrintRecordTable() {
    static const RecordTable table = BuildPrintTable();
    return table;
}

void PrintPageRecords(App& app) {
    RecordStore& store = app.store;
    Surface& page = Page(app);
    const RecordTable& table = PrintRecordTable();
    const RecordDrawOptions options{.cull = false, .storePenColor = false};
    const PrintDialogState& cell = app.printState;
    GuardSilently([&] { page.SetClipRect(cell.CellLeft, cell.CellTop, cell.CellRight, cell.CellBottom); });
    for (int layer = 1; layer <= store.LayerCount; ++layer) {
        if (store.LayerOnFlag[layer] != True) continue;
        const int count = store.Count(layer);
        // A layer of one record prints like any other.
        if (count < 1) continue;
        for (int slot = 0; slot <= count; ++slot) {
            GuardSilently([&] {
                const MapRecord& r = store.Get(layer, slot);
                const Rgb white = app.tables.ColorPalette[7];
                app.printState.LineColor = r.RecordColor == white ? app.tables.ColorPalette[0] : r.RecordColor;
                SetPen(page, r.RecordPen);
                const RecordRow& row = table[r.RecordType];
                if (row.drawer == nullptr || !PassesCell(app, row, r)) return;
                auto l = static_cast<std::uint8_t>(layer);
                auto s = static_cast<std::int16_t>(slot);
                const MapRecord record = r;  // drawers may change the store
                RecordDrawCall call{app, page, record, l, s, options};
                row.drawer(call);
                slot = std::max(slot, static_cast<int>(s));
            });
        }
    }
    GuardSilently([&] { page.ClearClipRect(); });
}

}  // namespace movra
