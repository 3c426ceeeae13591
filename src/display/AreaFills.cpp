#include "display/AreaFills.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/LineSink.h"
#include "display/PointSymbols.h"
#include "document/Geometry.h"
#include "platform/Surface.h"
#include "symbols/SymbolStandard.h"

namespace movra {

namespace {

// Ground units between hatch lines in x and in y per paper millimetre: 1.6 mm between the lines.
constexpr double HatchGridFactor = 1.13137;
constexpr double HalfRootTwo = 0.70710678;
constexpr int Row216Pattern = 216;
// The guide points of a scan line and the far ends of a pattern line fix only its position and
// direction: the crossings are those of the whole line.
constexpr double HatchGuideReach = 10000;
constexpr double PatternLineReach = 1000;
// How far a crossing may lie beyond an edge's ends and still count.
constexpr double EdgeTolerance = 0.1;
constexpr double PatternDropDistance = 0.5;
constexpr double ScreenHatchMillimetres = 0.4;
constexpr int ScreenHatchWidth = 2;

// The elements the scan lines and edges are written to, as SegmentXAtY and LineIntersect read
// them. The list is grown when it is shorter and never cut, since other procedures rely on its
// usual length.
std::vector<double>& ScanScratch(App& app) {
    std::vector<double>& s = app.geometry.ScratchXY;
    if (s.size() < 10) s.resize(10, 0.0);
    return s;
}

void WriteLine(std::vector<double>& s, size_t first, double x1, double y1, double x2, double y2) {
    s[first] = x1;
    s[first + 1] = y1;
    s[first + 2] = x2;
    s[first + 3] = y2;
}

void DrawPairs(LineSink& sink, const std::vector<double>& x, const std::vector<double>& y,
               size_t count, Rgb color) {
    for (size_t k = 0; k + 1 < count; k += 2) sink.Line(x[k], y[k], x[k + 1], y[k + 1], color);
}

// The boundary point a fill probes for visibility, by record type (0: none).
int ProbedVertex(OutlineProbe probe, int type) {
    switch (type) {
        case 27: return probe == OutlineProbe::PatternVertex ? 1 : 2;
        case 28: return 2;
        case 29: return 3;
        case 30: return 2;
        default: return 0;
    }
}

bool InsideClipRect(const App& app, double x, double y) {
    const ClipBuffer& c = app.clip;
    return c.ClipXMin < x && x < c.ClipXMax && c.ClipYMin < y && y < c.ClipYMax;
}

}  // namespace

bool FillOutline::Degenerate() const {
    if (x.size() < 4) return true;  // three points and the closing copy at least
    for (size_t k = 0; k < x.size(); ++k)
        if (!std::isfinite(x[k]) || !std::isfinite(y[k])) return true;
    return false;
}

FillOutline GatherFillOutline(const RecordStore& store, int layer, int slot, OutlineProbe probe,
                              const std::function<bool(double, double)>& inside) {
    FillOutline outline;
    const MapRecord& head = store.Get(layer, slot);
    const double count = Int(head.RecordZ4);
    // Records past the layer's last slot hold nothing of the outline.
    const double last = std::min<double>(slot + count, store.LayerCapacity);
    for (int s = slot + 1; s <= last; ++s) {
        const MapRecord& r = store.Get(layer, s);
        const int type = r.RecordType;
        if (type < 26 || type > 30) continue;
        const double px[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
        const double py[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
        const int points = type >= 29 ? 4 : type - 25;
        for (int k = 0; k < points; ++k) {
            outline.x.push_back(px[k]);
            outline.y.push_back(py[k]);
            const bool probed = probe == OutlineProbe::EveryPoint || ProbedVertex(probe, type) == k + 1;
            if (probed && !outline.visible && inside(px[k], py[k])) outline.visible = true;
        }
    }
    if (!outline.x.empty()) {
        outline.x.push_back(outline.x.front());
        outline.y.push_back(outline.y.front());
    }
    return outline;
}

size_t SortCrossings(std::vector<double>& x, std::vector<double>& y, double dropX, double dropY) {
    size_t count = std::min(x.size(), y.size());
    bool changed = true;
    while (changed) {
        changed = false;
        for (size_t j = 0; j + 1 < count; ++j) {
            if (count % 2 == 1 && std::fabs(x[j + 1] - x[j]) < dropX &&
                std::fabs(y[j + 1] - y[j]) < dropY) {
                // A crossing met twice where the line passes through a vertex: one goes.
                x[j + 1] = x[count - 1];
                y[j + 1] = y[count - 1];
                --count;
                changed = true;
                if (j + 1 >= count) break;
            }
            if (x[j] > x[j + 1]) {
                std::swap(x[j], x[j + 1]);
                std::swap(y[j], y[j + 1]);
                changed = true;
            }
        }
    }
    return count;
}

void ScanHatchLines(App& app, const FillOutline& outline, const HatchScan& scan, LineSink& sink,
                    Rgb color) {
    if (outline.Degenerate() || !(scan.step > 0) || !std::isfinite(scan.step)) return;
    std::vector<double>& s = ScanScratch(app);
    std::vector<double> cx, cy;
    const size_t edges = outline.EdgeCount();
    // Scan lines below the window are passed over in whole steps: an outline reaching far below it
    // would otherwise be walked line by line (and a single-precision offset stops advancing long
    // before 1e7 m, leaving the window unhatched).
    double base = scan.bottom;
    if (scan.windowLow > scan.bottom && std::isfinite(scan.windowLow)) {
        const double skipped = std::floor((scan.windowLow - scan.bottom) / scan.step) - 1;
        if (skipped > 0) base += skipped * scan.step;
    }
    float offset = 0;
    while (true) {
        const float next = offset + scan.step;
        if (!(next > offset)) return;  // the offset no longer advances
        offset = next;
        const double y = base + offset;
        if (!(y <= scan.top) || y > scan.windowHigh) return;
        if (y < scan.windowLow) continue;

        WriteLine(s, 2, scan.guideX - HatchGuideReach, y, scan.guideX + HatchGuideReach, y);
        cx.clear();
        cy.clear();
        for (size_t m = 0; m < edges; ++m) {
            const double ya = outline.y[m], yb = outline.y[m + 1];
            // An edge holds its lower end and not its upper one: a scan line through a vertex
            // where the outline goes on up or down meets one of the two edges there, and a
            // line through a peak or a horizontal edge meets none.
            if (!(std::min(ya, yb) <= y && y < std::max(ya, yb))) continue;
            WriteLine(s, 6, outline.x[m], ya, outline.x[m + 1], yb);
            if (!SegmentXAtY(app)) return;
            cx.push_back(s[0]);
            cy.push_back(y);
        }
        if (cx.size() < 2) continue;
        size_t count = cx.size();
        if (count > 2) count = SortCrossings(cx, cy, scan.dropX, std::numeric_limits<double>::infinity());
        DrawPairs(sink, cx, cy, count, color);
    }
}

bool FillPatternFromStandard(int j) { return j == 4 || (j >= 6 && j <= 348); }

FillPattern ChooseFillPattern(const SymbolStandard& standard, int j, double sizeFactor,
                              bool zeroStepsForRow216) {
    FillPattern pattern;
    const float grid = static_cast<float>(HatchGridFactor * sizeFactor);
    pattern.a = pattern.b = grid;
    if (j >= 1 && j <= 3) {
        pattern.state = j;
        return pattern;
    }
    if (!FillPatternFromStandard(j)) return pattern;  // as pattern 1

    const int row = j == 4 ? Row216Pattern : j;
    pattern.state = 4;
    pattern.a = static_cast<float>(standard.LineTypePattern.At(row, 2, 1) * HalfRootTwo * sizeFactor);
    pattern.b = static_cast<float>(standard.LineTypePattern.At(row, 4, 1) * HalfRootTwo * sizeFactor);
    if (j == 4) {
        pattern.code = "216";
    } else {
        pattern.code = PlainNumberText(standard.LineTypePattern.At(row, 5, 1));
        pattern.snapToSteps = true;
    }
    if ((pattern.a == 0 || pattern.b == 0) && (j != 4 || zeroStepsForRow216))
        pattern.a = pattern.b = static_cast<float>(10 * sizeFactor);
    return pattern;
}

void SweepPatternFill(App& app, const FillOutline& outline, double centreX, double centreY,
                      const FillPattern& pattern, LineSink& sink, Rgb color, double sizeFactor,
                      const SymbolRowLayer& symbolRow) {
    const float grid = static_cast<float>(HatchGridFactor * sizeFactor);
    const float a = pattern.a;
    if (outline.Degenerate() || !(grid > 0) || !std::isfinite(grid) || !(a > 0) ||
        !std::isfinite(a) || !std::isfinite(pattern.b))
        return;
    double cx = Int(centreX / grid) * grid;
    double cy = Int(centreY / grid) * grid;
    if (pattern.snapToSteps) {
        if (!(pattern.b > 0)) return;
        cx = Int(cx / a) * a;
        cy = Int(cy / pattern.b) * pattern.b;
    }

    // A direction ends where its lines no longer meet the outline's box: a line with fewer than
    // two crossings before that only passes a gap of the area (between the arms of a U).
    double minX = outline.x[0], maxX = minX, minY = outline.y[0], maxY = minY;
    for (size_t k = 1; k < outline.x.size(); ++k) {
        minX = std::min(minX, outline.x[k]), maxX = std::max(maxX, outline.x[k]);
        minY = std::min(minY, outline.y[k]), maxY = std::max(maxY, outline.y[k]);
    }
    auto meetsBox = [&](int kind, double o) {
        // Lines falling to the right keep x + y, rising ones y - x; each is compared with the
        // range that the box's corners give.
        if (kind == 1 || kind == 3) {
            const double k = cx + cy + 2 * o;
            return minX + minY <= k && k <= maxX + maxY;
        }
        const double k = cy - cx - 2 * o;
        return minY - maxX <= k && k <= maxY - minX;
    };

    // On a sink that shows only part of the drawing, only the lines that cross that part (grown by
    // a margin for the symbols of a row) are swept: a vertex far off the canvas costs nothing.
    std::optional<LineSink::Area> seen = sink.Visible();
    if (seen) {
        const double margin = 20 * std::fabs(sizeFactor) + a + std::fabs(pattern.b);
        seen->minX = std::max(seen->minX - margin, minX), seen->maxX = std::min(seen->maxX + margin, maxX);
        seen->minY = std::max(seen->minY - margin, minY), seen->maxY = std::min(seen->maxY + margin, maxY);
        if (seen->minX > seen->maxX || seen->minY > seen->maxY) return;
    }
    // The offsets whose lines meet the part seen, in the direction of `kind`.
    auto seenOffsets = [&](int kind, double& low, double& high) {
        if (kind == 1 || kind == 3) {
            low = (seen->minX + seen->minY - cx - cy) / 2;
            high = (seen->maxX + seen->maxY - cx - cy) / 2;
        } else {
            low = (cy - cx - (seen->maxY - seen->minX)) / 2;
            high = (cy - cx - (seen->minY - seen->maxX)) / 2;
        }
    };

    std::vector<double>& s = ScanScratch(app);
    std::vector<double> ix, iy;
    const size_t edges = outline.EdgeCount();
    int state = pattern.state;
    int pass = 1;
    float o = 0;
    // One direction is done: the other way from the start, then the second set of a crossed
    // pattern; false when all are done.
    const auto nextDirection = [&] {
        if (pass == 1) {
            pass = 2;
            o = -a;
        } else if (state == 3) {
            state = 2;
            pass = 1;
            o = 0;
        } else {
            return false;
        }
        return true;
    };
    while (true) {
        if (seen) {
            double low = 0, high = 0;
            seenOffsets(state, low, high);
            // Jump to the first line seen; past the last one seen this direction is done.
            if (pass == 1 && o < low) o = static_cast<float>(std::ceil(low / a) * a);
            if (pass == 2 && o > high) o = static_cast<float>(std::floor(high / a) * a);
            if (o < low || o > high) {
                if (!nextDirection()) return;
                continue;
            }
        }
        const double r = PatternLineReach;
        if (state == 1 || state == 3)
            WriteLine(s, 2, cx + r + o, cy - r + o, cx - r + o, cy + r + o);
        else
            WriteLine(s, 2, cx + r + o, cy + r - o, cx - r + o, cy - r - o);

        ix.clear();
        iy.clear();
        for (size_t m = 0; m < edges; ++m) {
            const double x3 = outline.x[m], y3 = outline.y[m];
            const double x4 = outline.x[m + 1], y4 = outline.y[m + 1];
            WriteLine(s, 6, x3, y3, x4, y4);
            if (!LineIntersect(app)) continue;
            const double px = s[0], py = s[1];
            const bool inX = std::min(x3, x4) <= px && px <= std::max(x3, x4);
            const bool inY = std::min(y3, y4) <= py && py <= std::max(y3, y4);
            if (!inX && !inY) continue;
            if (Dist(px, py, x3, y3) + Dist(px, py, x4, y4) > Dist(x3, y3, x4, y4) + EdgeTolerance)
                continue;
            ix.push_back(px);
            iy.push_back(py);
        }

        const bool crossing = ix.size() >= 2;
        if (crossing) {
            size_t count = ix.size();
            if (count > 2) count = SortCrossings(ix, iy, PatternDropDistance, PatternDropDistance);
            for (size_t k = 0; k + 1 < count; k += 2) {
                if (state == 4 && symbolRow)
                    symbolRow(ix[k], iy[k], ix[k + 1], iy[k + 1], color, pattern.code, a, pattern.b);
                else if (state == 4)
                    LaySymbolsAlongSegment(sink, ix[k], iy[k], ix[k + 1], iy[k + 1], color,
                                           pattern.code, a, pattern.b, sizeFactor);
                else
                    sink.Line(ix[k], iy[k], ix[k + 1], iy[k + 1], color);
            }
        }
        if (crossing || meetsBox(state, o)) {
            const float next = pass == 1 ? o + a : o - a;
            if (next == o) return;  // the offset no longer advances
            o = next;
            continue;
        }
        if (!nextDirection()) return;
    }
}

void DrawHatchFill(App& app, const std::uint8_t& layer, const std::int16_t& slot) {
    try {
        const FillOutline outline =
            GatherFillOutline(app.store, layer, slot, OutlineProbe::HatchVertex,
                              [&app](double x, double y) { return InsideClipRect(app, x, y); });
        if (!outline.visible) return;
        ScreenSink sink(app);
        Surface& canvas = sink.Canvas();
        canvas.SetDrawWidth(ScreenHatchWidth);

        const MapRecord& head = app.store.Get(layer, slot);
        HatchScan scan;
        scan.bottom = head.RecordY4;
        scan.top = head.RecordY1;
        scan.guideX = (head.RecordX1 + head.RecordX2) / 2;
        scan.step = static_cast<float>(ScreenHatchMillimetres * app.view.ScaleFactor / app.view.DisplayZoom);
        // Scan lines off the canvas would not show; a line's width reaches a pixel beyond it.
        const double top = canvas.ScaleTop();
        const double bottom = canvas.ScaleTop() + canvas.ScaleHeight();
        const double margin = ScreenHatchWidth * std::fabs(canvas.ScaleHeight()) / std::max(1, canvas.PixelHeight());
        scan.windowLow = std::min(top, bottom) - margin;
        scan.windowHigh = std::max(top, bottom) + margin;
        ScanHatchLines(app, outline, scan, sink, head.RecordColor);
    } catch (const RuntimeError&) {
        // What was drawn stays.
    }
}

void DrawSymbolFill(App& app, const std::uint8_t& layer, const std::int16_t& slot) {
    try {
        const FillOutline outline =
            GatherFillOutline(app.store, layer, slot, OutlineProbe::PatternVertex,
                              [&app](double x, double y) { return InsideClipRect(app, x, y); });
        if (!outline.visible) return;
        ScreenSink sink(app);
        Surface& canvas = sink.Canvas();
        canvas.SetDrawWidth(2);
        canvas.SetDrawWidth(1);
        canvas.SetDrawStyle(DrawStyleSolid);

        const MapRecord& head = app.store.Get(layer, slot);
        const double sizeFactor = app.view.ScaleFactor;
        const FillPattern pattern =
            ChooseFillPattern(app.symbolStandard, ToInt32(Val(head.RecordText)), sizeFactor, true);
        // A row that fails ends alone; the rows after it are still laid.
        const SymbolRowLayer row = [&app](double x1, double y1, double x2, double y2, Rgb color,
                                          const std::string& code, float stepX, float stepY) {
            RepeatSymbolAlongSegment(app, x1, y1, x2, y2, color, code, stepX, stepY);
        };
        SweepPatternFill(app, outline, (head.RecordX1 + head.RecordX2) / 2,
                         (head.RecordY1 + head.RecordY3) / 2, pattern, sink, head.RecordColor,
                         sizeFactor, row);
    } catch (const RuntimeError&) {
    }
}

}  // namespace movra
