#include "printing/PageLines.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "basic/Numbers.h"
#include "display/LineTypes.h"
#include "printing/PagePointSymbols.h"

namespace movra {

namespace {

bool InClosedCell(double l, double r, double t, double b, double x, double y) {
    return l <= x && x <= r && b <= y && y <= t;
}

void PageLine(Surface& page, double x1, double y1, double x2, double y2, Rgb color) {
    page.Line(x1, y1, x2, y2, color);
}

// What a page shows: its cell, when it is one.
std::optional<LineSink::Area> CellArea(const App& app) {
    const PrintDialogState& s = app.printState;
    if (!(s.CellLeft < s.CellRight && s.CellBottom < s.CellTop) || !std::isfinite(s.CellRight - s.CellLeft) ||
        !std::isfinite(s.CellTop - s.CellBottom))
        return std::nullopt;
    return LineSink::Area{s.CellLeft, s.CellBottom, s.CellRight, s.CellTop};
}

}  // namespace

VisiblePart ClipToCell(double l, double r, double t, double b, double ax, double ay, double bx,
                       double by) {
    VisiblePart v;
    // Quick rejection: wholly beyond one side. A segment lying on a side is kept, so the lines of
    // a frame that starts exactly at the cell's edge still print.
    if ((ax < l && bx < l) || (ax > r && bx > r) || (ay > t && by > t) || (ay < b && by < b)) return v;
    const bool aIn = InClosedCell(l, r, t, b, ax, ay);
    const bool bIn = InClosedCell(l, r, t, b, bx, by);
    if (aIn && bIn) return {true, ax, ay, bx, by};

    // Visible points as parameters along A->B, so the visible part keeps the segment's direction.
    double ts[2];
    int n = 0;
    auto accept = [&](double p) {
        for (int i = 0; i < n; ++i)
            if (ts[i] == p) return;  // a corner met on two sides counts once
        if (n < 2) ts[n++] = p;
    };
    if (aIn) accept(0);
    if (bIn) accept(1);
    const double dx = bx - ax, dy = by - ay;
    // Crossings with the four side lines, strictly inside the segment and on the closed cell.
    auto tryX = [&](double x) {
        if (dx == 0) return;
        const double p = (x - ax) / dx;
        if (!(p > 0 && p < 1)) return;
        const double y = ay + p * dy;
        if (b <= y && y <= t) accept(p);
    };
    auto tryY = [&](double y) {
        if (dy == 0) return;
        const double p = (y - ay) / dy;
        if (!(p > 0 && p < 1)) return;
        const double x = ax + p * dx;
        if (l <= x && x <= r) accept(p);
    };
    tryY(t);
    tryX(r);
    tryY(b);
    tryX(l);
    if (n < 2) return v;
    const double p1 = std::min(ts[0], ts[1]), p2 = std::max(ts[0], ts[1]);
    auto at = [&](double p, double& x, double& y) {
        x = p == 0 ? ax : p == 1 ? bx : ax + p * dx;
        y = p == 0 ? ay : p == 1 ? by : ay + p * dy;
    };
    v.visible = true;
    at(p1, v.x1, v.y1);
    at(p2, v.x2, v.y2);
    // Crossings land on the side exactly, whatever the rounding of the parameter.
    auto snap = [&](double& x, double& y) {
        x = std::clamp(x, l, r);
        y = std::clamp(y, b, t);
    };
    snap(v.x1, v.y1);
    snap(v.x2, v.y2);
    return v;
}

bool SegmentNearCell(const App& app, double x1, double y1, double x2, double y2) {
    const PrintDialogState& s = app.printState;
    return !((x1 < s.CellLeft && x2 < s.CellLeft) || (x1 > s.CellRight && x2 > s.CellRight) ||
             (y1 > s.CellTop && y2 > s.CellTop) || (y1 < s.CellBottom && y2 < s.CellBottom));
}

bool SegmentReachesCell(const App& app, double x1, double y1, double x2, double y2, double reach) {
    const PrintDialogState& s = app.printState;
    return std::min(x1, x2) - reach <= s.CellRight && std::max(x1, x2) + reach >= s.CellLeft &&
           std::min(y1, y2) - reach <= s.CellTop && std::max(y1, y2) + reach >= s.CellBottom;
}

void PrintClippedSegment(App& app, double x1, double y1, double x2, double y2) {
    const PrintDialogState& s = app.printState;
    const VisiblePart v = ClipToCell(s.CellLeft, s.CellRight, s.CellTop, s.CellBottom, x1, y1, x2, y2);
    if (v.visible) PageLine(app.platform.printer().Page(), v.x1, v.y1, v.x2, v.y2, s.LineColor);
}

void PrintLineTypeAlongSegment(App& app, double x1, double y1, double x2, double y2,
                               const std::string& code) {
    // Side lines and symbols of a line type stand a few millimetres beside it.
    constexpr double PatternReachMm = 10;
    if (SegmentReachesCell(app, x1, y1, x2, y2, PatternReachMm * app.printState.MetresPerPaperMm))
        PrintLineTypePattern(app, x1, y1, x2, y2, code);
}

void PrintLineTypePattern(App& app, double x1, double y1, double x2, double y2,
                          const std::string& code) {
    const double m = app.printState.MetresPerPaperMm;
    const double length = std::hypot(x2 - x1, y2 - y1);
    double ux = 0, uy = 1;
    if (length != 0) {
        ux = (x2 - x1) * m / length;
        uy = (y2 - y1) * m / length;
    }
    const double value = std::nearbyint(Val(code) - 349);
    if (value < 0 || value > 32767) return;
    UnclippedPageSink sink(app);
    LayLineType(sink, app.symbolStandard, static_cast<int>(value), x1, y1, x2, y2, ux, uy, length, m,
                app.printState.LineColor);
}

PageSink::PageSink(App& app, bool symbolsNearCellOnly)
    : app_(app), page_(app.platform.printer().Page()), symbolsNearCellOnly_(symbolsNearCellOnly) {}

void PageSink::Line(double x1, double y1, double x2, double y2, Rgb) {
    PrintClippedSegment(app_, x1, y1, x2, y2);
}

void PageSink::Dot(double x, double y, Rgb color) {
    page_.PSet(x, y, color);
}

void PageSink::Symbol(double x, double y, const std::string& code, double dx, double dy, Rgb color) {
    const PrintDialogState& s = app_.printState;
    if (symbolsNearCellOnly_) {
        // A symbol whose body reaches over the cell's edge prints its part here; its neighbour
        // page prints the rest.
        const double reach = SymbolReachOnPage(app_, Val(code));
        if (!(s.CellLeft - reach < x && x < s.CellRight + reach && s.CellBottom - reach < y && y < s.CellTop + reach))
            return;
    }
    PrintPointSymbol(app_, x, y, code, dx, dy, color);
}

std::optional<LineSink::Area> PageSink::Visible() const { return CellArea(app_); }

UnclippedPageSink::UnclippedPageSink(App& app) : app_(app), page_(app.platform.printer().Page()) {}

void UnclippedPageSink::Line(double x1, double y1, double x2, double y2, Rgb color) {
    PageLine(page_, x1, y1, x2, y2, color);
}

void UnclippedPageSink::Dot(double x, double y, Rgb color) {
    page_.PSet(x, y, color);
}

std::optional<LineSink::Area> UnclippedPageSink::Visible() const { return CellArea(app_); }

void UnclippedPageSink::Symbol(double x, double y, const std::string& code, double dx, double dy,
                               Rgb color) {
    PrintPointSymbol(app_, x, y, code, dx, dy, color);
}

}  // namespace movra
