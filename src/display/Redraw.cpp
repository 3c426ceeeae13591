#include "display/Redraw.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/LineSink.h"
#include "display/Pens.h"
#include "display/RecordImages.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"
#include "document/ColorTable.h"
#include "platform/PictureBox.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr double GlobeRadius = 6371000;

// The view edges as the canvas holds them (single precision).
struct ViewEdges {
    double left, top, width, height;
    double Right() const { return left + width; }
    double Bottom() const { return top + height; }
};
ViewEdges EdgesOf(const Surface& s) {
    return {static_cast<float>(s.ScaleLeft()), static_cast<float>(s.ScaleTop()),
            static_cast<float>(s.ScaleWidth()), static_cast<float>(s.ScaleHeight())};
}

struct CullRect {
    double left, top, right, bottom;
    bool Holds(double x, double y) const { return left <= x && x <= right && bottom <= y && y <= top; }
};

// The highest slot of a layer the loop may read: the counter itself, but never beyond the store.
int LastSlotToVisit(const App& app, int layer) {
    return std::min<int>(app.store.Count(layer), app.store.LayerCapacity);
}

bool IsPlainZero(double x, double y) { return x == 0 && y == 0; }

// Ticks of the coarse renderer (80, 85, 87): from each vertex to (X + Z, Y +/- Z).
void CoarseTicks(Surface& s, const MapRecord& r, double sign) {
    const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
    const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
    const double zs[4] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
    for (int k = 0; k < 4; ++k) {
        if (k > 0 && IsPlainZero(xs[k], ys[k])) return;
        CanvasLine(s, xs[k], ys[k], xs[k] + zs[k], ys[k] + sign * zs[k], r.RecordColor);
    }
}

// The grid lines of step 3 to 5 of the sheet grid, with unit u, spacing s and count n.
void GridLines(Surface& s, const ViewEdges& v, double u, double spacing, double countFactor) {
    const double xa = Int(v.left / u) * u;
    const double yb = Int(v.Bottom() / u) * u;
    const double xb = Int((v.Right() + u) / u) * u;
    const double yt = Int((v.top + u) / u) * u;
    const std::int32_t n = ToInt32((xb - xa) * countFactor);
    for (std::int32_t i = 1; i <= n; ++i) {
        CanvasLine(s, xa, yb + i * spacing, xb, yb + i * spacing);
        CanvasLine(s, xa + i * spacing, yb, xa + i * spacing, yt);
    }
}

std::uint32_t NextRandom(std::uint32_t& state) {
    state = state * 1664525u + 1013904223u;
    return state >> 8;
}

}  // namespace

DetailLevel DetailLevelFor(double z) {
    if (z >= 2) return DetailLevel::Full;
    if (z > 0.2) return DetailLevel::FullCulled;
    if (z > 0.01) return DetailLevel::Lines;
    return DetailLevel::Outline;
}

void DrawRecordLines(App& app, std::uint8_t& layer, std::int16_t& slot) {
    try {
        Surface& s = MainCanvas(app);
        const MapRecord& r = app.store.Get(layer, slot);
        const Rgb c = r.RecordColor;
        auto next = [&]() -> const MapRecord& { return app.store.Get(layer, static_cast<int>(slot) + 1); };
        switch (r.RecordType) {
            case 2: case 12: case 42: case 92:
                CanvasLine(s, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, c);
                break;
            case 3: case 43: case 93:
                CanvasLine(s, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, c);
                CanvasLine(s, r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3, c);
                break;
            case 4: case 44: case 94: case 5: case 45: case 95: case 6:
                CanvasLine(s, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, c);
                CanvasLine(s, r.RecordX2, r.RecordY2, r.RecordX3, r.RecordY3, c);
                CanvasLine(s, r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4, c);
                if (r.RecordType == 6) CanvasLine(s, r.RecordX4, r.RecordY4, r.RecordX1, r.RecordY1, c);
                else if (ContinuesToNextSlot(r.RecordType)) {
                    const MapRecord& n = next();
                    CanvasLine(s, r.RecordX4, r.RecordY4, n.RecordX1, n.RecordY1, c);
                }
                break;
            case 52:
                CanvasLine(s, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, c);
                CanvasLine(s, r.RecordX3, r.RecordY3, r.RecordX4, r.RecordY4, c);
                break;
            case 80: case 87: CoarseTicks(s, r, 1); break;
            case 85: CoarseTicks(s, r, -1); break;
            default: break;
        }
    } catch (const RuntimeError&) {
    }
}

void DrawRecordOutline(App& app, std::uint8_t& layer, std::int16_t& slot) {
    try {
        Surface& s = MainCanvas(app);
        const MapRecord& r = app.store.Get(layer, slot);
        const Rgb c = r.RecordColor;
        switch (r.RecordType) {
            case 2: case 12: CanvasLine(s, r.RecordX1, r.RecordY1, r.RecordX2, r.RecordY2, c); break;
            case 3: CanvasLine(s, r.RecordX1, r.RecordY1, r.RecordX3, r.RecordY3, c); break;
            case 4: case 6: CanvasLine(s, r.RecordX1, r.RecordY1, r.RecordX4, r.RecordY4, c); break;
            case 5: case 45: {
                const MapRecord& n = app.store.Get(layer, static_cast<int>(slot) + 1);
                CanvasLine(s, r.RecordX1, r.RecordY1, n.RecordX1, n.RecordY1, c);
                break;
            }
            default: break;
        }
    } catch (const RuntimeError&) {
    }
}

void DrawPrintRanges(App& app) {
    try {
        Surface& s = MainCanvas(app);
        s.SetFillStyle(FillStyleTransparent);
        s.SetDrawWidth(3);
        // The count comes from the map file: never past the slots the store has.
        const double wanted = static_cast<double>(app.store.Get(0, Layer0Slots::PrintRangeFirst).RecordZ3) + 799;
        const double last = std::min<double>(wanted, app.store.LayerCapacity);
        const std::int32_t lastSlot = ToInt32(last);
        for (std::int32_t i = Layer0Slots::PrintRangeFirst; i <= lastSlot; ++i) {
            const MapRecord& r = app.store.Get(0, i);
            s.Line(static_cast<float>(r.RecordX1), static_cast<float>(r.RecordY1), static_cast<float>(r.RecordX2),
                   static_cast<float>(r.RecordY2), MakeRgb(0, 0, 255), LineShape::Box);
        }
        s.SetDrawWidth(1);
    } catch (const RuntimeError&) {
    }
}

void DrawGridCrosses(App& app) {
    try {
        if (app.settings.ShowGrid != 1) return;
        Surface& s = MainCanvas(app);
        const ViewEdges v = EdgesOf(s);
        const double cx = v.left + v.width / 2, cy = v.top + v.height / 2;
        const double w = v.width / 2, h = v.height / 2;
        CanvasLine(s, cx - w, cy, cx + w, cy, app.tables.ColorPalette[2]);
        CanvasLine(s, cx, cy - h, cx, cy + h, app.tables.ColorPalette[3]);
        s.SetDrawWidth(1);
        if (app.view.DisplayScaleDenominator >= 0.0005) {
            const double d = app.view.ProjectParams[0];
            if (d != 0) GridLines(s, v, 1000, d / 2, 2 / d);
            else GridLines(s, v, 1000, 250, 1.0 / 250);
        } else {
            GridLines(s, v, 10000, 10000, 1.0 / 10000);
        }
    } catch (const RuntimeError& e) {
        ReportOnMessageLine(app, e);
    }
}

Picture MakeStarfieldPicture(int width, int height) {
    Picture p;
    p.width = std::max(width, 1);
    p.height = std::max(height, 1);
    p.pixels.assign(static_cast<size_t>(p.width) * p.height, 0xFF05081Au);
    std::uint32_t seed = 20261210u;
    const size_t stars = p.pixels.size() / 900 + 1;
    for (size_t i = 0; i < stars; ++i) {
        const int x = static_cast<int>(NextRandom(seed) % static_cast<std::uint32_t>(p.width));
        const int y = static_cast<int>(NextRandom(seed) % static_cast<std::uint32_t>(p.height));
        const std::uint32_t level = 120 + NextRandom(seed) % 136;
        p.pixels[static_cast<size_t>(y) * p.width + x] = 0xFF000000u | level << 16 | level << 8 | std::min(255u, level + 20);
    }
    return p;
}

void DrawKilometreGrid(App& app) {
    RedrawState& state = app.display.Redraw;
    try {
        Surface& s = MainCanvas(app);
        const ViewEdges v = EdgesOf(s);
        const double w = v.width;
        if (w < 10000000) {
            state.BackdropDrawn = 0;
            if (state.BackdropPictureLoaded == True) state.BackdropPictureLoaded = 0;
            GridLines(s, v, 100000, 100000, 1.0 / 100000);
            return;
        }
        s.SetDrawMode(DrawModeCopyPen);
        // The backdrop picture lies under the globe: a starfield made here, as no picture file
        // comes with the program.
        if (w > 10000000) {
            if (w > 180000000) state.BackdropDrawn = True;
            if (state.BackdropPictureLoaded != True) {
                state.PicturePath = app.platform.folders().ProgramFolder() + "/mytemp/bkbmp/sunsystem.bmp";
                state.BackdropPictureLoaded = True;
            }
            s.PaintPicture(MakeStarfieldPicture(s.PixelWidth(), s.PixelHeight()), v.left, v.top, v.width, v.height);
        }
        const Rgb c = ColorIndexToRgb(58);
        const auto cx = static_cast<float>(500000 - app.reduction.ReductionOffsetX);
        const auto cy = static_cast<float>(-6350000 * std::sin(app.reduction.ReductionOffsetY / GlobeRadius));
        s.SetFillStyle(FillStyleSolid);
        s.SetFillColor(c);
        s.Circle(cx, cy, GlobeRadius, c, false, 0, 0, 281.0 / 280.0);
        s.SetFillStyle(FillStyleTransparent);
        s.SetDrawWidth(1);
        const Rgb blue = MakeRgb(0, 0, 255);
        for (int i = 0; i < 65; ++i) {
            const double r = 50000 + 100000.0 * i;
            s.Circle(cx, cy, GlobeRadius, blue, false, 0, 0, r / GlobeRadius);
        }
        for (int i = 0; i < 65; ++i) {
            const double r = 50000 + 100000.0 * i;
            s.Circle(cx, cy, GlobeRadius, blue, false, 0, 0, GlobeRadius / r);
        }
        s.SetDrawWidth(5);
        s.PSet(0, 0, MakeRgb(0, 255, 0));
        s.Circle(cx, cy, GlobeRadius, blue, true, 0, static_cast<float>(3.14159265358979), 30.0 / 280.0);
        s.SetDrawWidth(1);
    } catch (const RuntimeError&) {
    }
}

void 刷新(App& app) {
    try {
        PictureBox& picture = app.form1->Picture1;
        Surface& s = MainCanvas(app);
        picture.SetMousePointer(PointerHourglass);
        const ViewEdges v = EdgesOf(s);
        const CullRect cull{Int(v.left - 50), Int(v.top + 50), Int(v.Right() + 50), Int(v.Bottom() - 50)};
        ClipBuffer& clip = app.clip;
        clip.ClipXMin = ToInt32(Int(v.left - 10));
        clip.ClipYMax = ToInt32(Int(v.top + 10));
        clip.ClipXMax = ToInt32(Int(v.Right() + 10));
        clip.ClipYMin = ToInt32(Int(v.Bottom() - 10));
        ClearMainCanvas(app, s);
        s.SetDrawMode(DrawModeCopyPen);
        StartFromDefinedPen(s, app.display.PenCache);

        const DetailLevel level = DetailLevelFor(app.view.DisplayZoom);
        RecordStore& store = app.store;
        const int layerCount = std::min<int>(store.LayerCount, store.LayerDimension());
        for (int l = 1; l <= layerCount; ++l) {
            if (store.LayerOnFlag[l] != True && store.LayerLockFlag[l] != True) continue;
            const int last = LastSlotToVisit(app, l);
            for (int slotNumber = 0; slotNumber <= last; ++slotNumber) {
                std::uint8_t layer = static_cast<std::uint8_t>(l);
                auto slot = static_cast<std::int16_t>(slotNumber);
                if (level != DetailLevel::Full) {
                    const MapRecord& r = store.Get(l, slotNumber);
                    if (!cull.Holds(r.RecordX1, r.RecordY1)) continue;
                }
                switch (level) {
                    case DetailLevel::Full:
                    case DetailLevel::FullCulled: DrawRecord(app, layer, slot); break;
                    case DetailLevel::Lines: DrawRecordLines(app, layer, slot); break;
                    case DetailLevel::Outline: DrawRecordOutline(app, layer, slot); break;
                }
                slotNumber = slot;
            }
        }
        if (store.Get(0, Layer0Slots::PrintRangeFirst).RecordZ3 > 0) DrawPrintRanges(app);
        s.SetDrawMode(DrawModeNotXorPen);
        DrawGridCrosses(app);
        picture.SetMousePointer(PointerCross);
        ResetImageLoadCounter(app);
        app.display.Redraw.BackdropDrawn = 0;
        if (v.width > 1000000) DrawKilometreGrid(app);
    } catch (const RuntimeError& e) {
        ReportOnMessageLine(app, e);
    }
}

void RedrawOpenLayers(App& app) {
    try {
        Surface& s = MainCanvas(app);
        const ViewEdges v = EdgesOf(s);
        const CullRect view{Int(v.left), Int(v.top), Int(v.Right()), Int(v.Bottom())};
        ClearMainCanvas(app, s);
        s.SetDrawMode(DrawModeCopyPen);
        StartFromDefinedPen(s, app.display.PenCache);
        s.SetFillStyle(FillStyleTransparent);
        const double step = Int(2 / app.view.DisplayZoom + 3);
        if (step < 1000) {
            const int n = static_cast<int>(step);
            RecordStore& store = app.store;
            const int layerCount = std::min<int>(store.LayerCount, store.LayerDimension());
            for (int l = 1; l <= layerCount; ++l) {
                if (store.LayerOnFlag[l] != True || store.Count(l) < 1) continue;
                const int count = std::min<int>(store.Count(l), store.LayerCapacity + 1);
                for (int slotNumber = 0; slotNumber < count; slotNumber += n) {
                    const MapRecord& r = store.Get(l, slotNumber);
                    if (!view.Holds(r.RecordX1, r.RecordY1)) continue;
                    std::uint8_t layer = static_cast<std::uint8_t>(l);
                    auto slot = static_cast<std::int16_t>(slotNumber);
                    DrawRecordLines(app, layer, slot);
                }
            }
        }
        if (v.width > 1000000) DrawKilometreGrid(app);
        app.display.TextFont.FontCacheSize = 6;
    } catch (const RuntimeError&) {
    }
}

}  // namespace movra
