#include "printing/PageShapes.h"

#include <cfloat>
#include <cmath>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/BoundaryLines.h"
#include "display/PointSymbols.h"
#include "display/RecordRenderer.h"
#include "display/Shapes.h"
#include "platform/Surface.h"
#include "printing/PageLines.h"

namespace movra {

namespace {

Surface& Page(App& app) { return app.platform.printer().Page(); }

double PaperMm(const App& app) { return app.printState.MetresPerPaperMm; }

void PrintTickLine(App& app, TickLineKind kind, double x1, double y1, double x2, double y2, Rgb color) {
    GuardSilently([&] {
        PageSink sink(app);
        DrawTickLine(sink, kind, x1, y1, x2, y2, color, PaperMm(app));
    });
}

// The strips' step count from RecordZ4: RecordZ4 ground metres at the map's scale make one
// step, at most 32,000 steps, so that no record holds the page for ever.
float StripSteps(const App& app, float z4, float none) {
    if (!(z4 > 0)) return none;
    const PrintDialogState& s = app.printState;
    const float n = static_cast<float>(z4 / (s.MetresPerPaperMm * s.PrintToMapRatio));
    return n > 32000 || std::isnan(n) ? 32000 : n;
}

void PrintMark(App& app, int mark, double x, double y) {
    GuardSilently([&] {
        UnclippedPageSink sink(app);
        DrawLandUseMark(sink, mark, x, y, app.current.CurrentColor, app.printState.ScaledMetresPerPaperMm);
    });
}

}  // namespace

void PrintSpecialPattern(App& app, double x1, double y1, double x2, double y2, Rgb color,
                         const std::string& code, double width, double dash, double gap) {
    if (code == FixedBankLineCode) {
        PrintFixedBankLine(app, x1, y1, x2, y2, color);
    } else if (code == BankLineCode) {
        PrintBankLine(app, x1, y1, x2, y2, color);
    } else if (code == DashedWidthLineCode) {
        GuardSilently([&] {
            const auto single = [](double v) {
                if (std::isfinite(v) && std::fabs(v) > FLT_MAX) Raise(ErrOverflow);
                return static_cast<float>(v);
            };
            PrintDashedWidthLine(app, x1, y1, x2, y2, single(width), single(dash), single(gap), color);
        });
    } else if (code == WallLineCode) {
        PrintWallLine(app, x1, y1, x2, y2, color);
    }
}

void PrintWallLine(App& app, double x1, double y1, double x2, double y2, Rgb color) {
    PrintTickLine(app, TickLineKind::Wall, x1, y1, x2, y2, color);
}

void PrintBankLine(App& app, double x1, double y1, double x2, double y2, Rgb color) {
    PrintTickLine(app, TickLineKind::Bank, x1, y1, x2, y2, color);
}

void PrintFixedBankLine(App& app, double x1, double y1, double x2, double y2, Rgb color) {
    PrintTickLine(app, TickLineKind::FixedBank, x1, y1, x2, y2, color);
}

void PrintDashedWidthLine(App& app, double x1, double y1, double x2, double y2, float width,
                          float dash, float gap, Rgb color) {
    PrintDialogState& s = app.printState;
    DashState state{s.DashCarry, s.DashChainEndX, s.DashChainEndY};
    // The state is kept as far as the drawer got, also when it stops on a failure.
    GuardSilently([&] {
        PageSink sink(app);
        DrawDashedWidthLine(sink, state, x1, y1, x2, y2, width, dash, gap, color, PaperMm(app));
    });
    s.DashCarry = state.DashCarry;
    s.DashChainEndX = state.DashLastX;
    s.DashChainEndY = state.DashLastY;
}

void PrintRotatedEllipse(App& app, double cx, double cy, float a, float b, float w, Rgb color) {
    GuardSilently([&] {
        // Drawn whole: an ellipse whose centre lies in the cell reaches into the page's band.
        UnclippedPageSink sink(app);
        DrawRotatedEllipse(sink, cx, cy, a, b, w, color);
    });
}

void PrintRenderRecord(App& app, std::uint8_t layer, std::int16_t slot) {
    GuardSilently([&] {
        const MapRecord& r = app.store.Get(layer, slot);
        const PrintDialogState& s = app.printState;
        Surface& page = Page(app);
        PageSink sink(app);
        if (r.RecordType == 10) {
            // 0.2 mm apart at the map's scale; the band keeps its ground density at other scales.
            page.SetDrawWidth(3);
            const float spacing = static_cast<float>(0.2 * s.MetresPerPaperMm / s.MapToPrintRatio);
            LayBandLines(sink, CornersOf(r), spacing, s.LineColor, 0);
            page.SetDrawWidth(1);
        } else if (r.RecordType == 36) {
            LayGridLines(sink, CornersOf(r), static_cast<float>(s.MetresPerPaperMm), s.LineColor);
            page.SetDrawWidth(1);
        }
    });
}

void PrintStripShape(App& app, std::uint8_t layer, std::int16_t slot) {
    GuardSilently([&] {
        const MapRecord& r = app.store.Get(layer, slot);
        Surface& page = Page(app);
        PageSink sink(app);
        if (r.RecordType == 58) {
            const float n = StripSteps(app, r.RecordZ4, 1);
            // Here the pen code is a plain width in printer dots.
            if (r.RecordPen != 0) {
                page.SetDrawWidth(r.RecordPen);
            } else {
                page.SetDrawWidth(2);
                page.SetDrawStyle(DrawStyleSolid);
            }
            LayLadderRungs(sink, CornersOf(r), n, app.printState.LineColor);
        } else if (r.RecordType == 59) {
            LayFanStrip(sink, CornersOf(r), StripSteps(app, r.RecordZ4, 3), app.printState.LineColor);
        }
    });
}

void PrintSymbolRow(App& app, std::uint8_t layer, std::int16_t slot, std::uint8_t k) {
    GuardSilently([&] {
        const MapRecord& r = app.store.Get(layer, slot);
        const float spacing = static_cast<float>(Val(std::string(r.RecordExtra)));
        Page(app).SetDrawWidth(1);
        if (k < 1 || k > 4) return;
        PageSink sink(app);
        LaySymbolRow(sink, VertexX(r, k), VertexY(r, k), VertexZ(r, k), spacing, std::string(r.RecordText),
                     r.RecordColor);
    });
}

void PrintLandUseMark1(App& app, double x, double y) { PrintMark(app, 1, x, y); }
void PrintLandUseMark2(App& app, double x, double y) { PrintMark(app, 2, x, y); }
void PrintLandUseMark3(App& app, double x, double y) { PrintMark(app, 3, x, y); }
void PrintLandUseMark4(App& app, double x, double y) { PrintMark(app, 4, x, y); }

}  // namespace movra
