// The selection tools (window selection and point pick, mode 33) and the clip-and-save tool
// (mode 106), with the procedures that fill the SelectionList.
#include "editing/SelectionTools.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "App.h"
#include "basic/Colors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/AreaFills.h"
#include "display/HighlightRenderer.h"
#include "display/Shapes.h"
#include "display/WorkBuffer.h"
#include "document/Geometry.h"
#include "document/RecordPositions.h"
#include "document/SaveDialogs.h"
#include "document/UndoJournal.h"
#include "editing/ToolFamilies.h"
#include "display/Redraw.h"
#include "geomops/WindowClip.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr int DeleteButton = 8;
constexpr int CutButton = 10;
constexpr int CopyButton = 11;
constexpr int WindowHighlight = 5000;
constexpr int PickHighlight = 500;
constexpr Rgb RubberBlue = MakeRgb(0, 0, 255);

// The procedure ends here without closing (limit reached, centre inside an area).
struct StopSelection {};

void SetPointer(App& app, int pointer) { app.form1->Picture1.SetMousePointer(pointer); }

// The visited records: layers 1..LayerCount that are on and hold records, slots 0..count - 1;
// deleted records (type 100 up) are invisible and passed over. `visit` returns true to stop.
template <class F>
bool ScanRecords(const App& app, F&& visit) {
    const RecordStore& store = app.store;
    for (int layer = 1; layer <= store.LayerCount; ++layer) {
        if (store.LayerOnFlag[layer] != -1) continue;
        const std::int32_t count = store.Count(layer);
        for (std::int32_t slot = 0; slot < count; ++slot) {
            const MapRecord& r = store.Get(layer, slot);
            if (r.RecordType >= 100) continue;
            if (visit(layer, slot, r)) return true;
        }
    }
    return false;
}

// Only the vertices that are positions count: a text, a symbol or a point keeps its size, its
// direction or zeros in the others, and a window about the origin would take it from anywhere.
bool AnyVertexInside(const MapRecord& r, double left, double top, double right, double bottom) {
    bool inside = false;
    ForEachPosition(r, [&](double x, double y) {
        if (left < x && x < right && bottom < y && y < top) inside = true;
    });
    return inside;
}

void ResetList(App& app) {
    app.selection.SelectionList.assign(2, SelectedRecord{});
    app.tool.SelectionCount = 1;
}

void AddToList(App& app, int layer, int slot) {
    auto& list = app.selection.SelectionList;
    std::int32_t& count = app.tool.SelectionCount;
    if (static_cast<std::int32_t>(list.size()) <= count) list.resize(count + 1);
    list[count] = {layer, slot};
    ++count;
    list.resize(count + 1);
}

void Highlight(App& app, int layer, int slot, Rgb colour) {
    刷图元(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), colour);
    AddToList(app, layer, slot);
    app.tool.SelectionMade = -1;
}

void WriteCountElement(App& app) { app.selection.SelectionList[0].Layer = app.tool.SelectionCount; }

void EnableSelectionButtons(App& app) {
    for (int button : {DeleteButton, CutButton, CopyButton}) SetToolbar1Button(app, button, true);
}

void SetUp(App& app) {
    SetPointer(app, PointerHourglass);
    ResetList(app);
    ++app.selection.CanvasSelections;
    app.form1->Picture1.surface().SetDrawWidth(1);
    if (app.view.DisplayZoom <= 0) app.view.DisplayZoom = 1;
    std::vector<double>& s = app.geometry.ScratchXY;
    if (s.size() < 13) s.resize(13, 0.0);
}

// The points of the segments a line record of `type` shows; the closing point `next` is the
// first vertex of the record in the next slot for a chained line.
std::vector<std::pair<CanvasXY, CanvasXY>> Segments(const MapRecord& r, int vertices, bool close, bool hasNext,
                                                    CanvasXY next) {
    const CanvasXY p[4] = {{r.RecordX1, r.RecordY1}, {r.RecordX2, r.RecordY2}, {r.RecordX3, r.RecordY3},
                           {r.RecordX4, r.RecordY4}};
    std::vector<std::pair<CanvasXY, CanvasXY>> out;
    for (int k = 0; k + 1 < vertices; ++k) out.push_back({p[k], p[k + 1]});
    if (close) out.push_back({p[3], p[0]});
    if (hasNext) out.push_back({p[3], next});
    return out;
}

CanvasXY NextFirstVertex(const App& app, int layer, int slot, bool& has) {
    has = slot + 1 < app.store.Count(layer);
    if (!has) return {};
    const MapRecord& n = app.store.Get(layer, slot + 1);
    return {n.RecordX1, n.RecordY1};
}

// Whether the fence in ScratchXY 2..5 (length f) crosses the segment a-b.
bool FenceCrosses(App& app, double f, CanvasXY a, CanvasXY b) {
    std::vector<double>& s = app.geometry.ScratchXY;
    s[6] = a.x, s[7] = a.y, s[8] = b.x, s[9] = b.y;
    if (!LineIntersect(app)) return false;
    const double px = s[0], py = s[1];
    return Dist(px, py, s[2], s[3]) + Dist(px, py, s[4], s[5]) - 0.1 <= f &&
           Dist(px, py, a.x, a.y) + Dist(px, py, b.x, b.y) - 0.1 <= Dist(a.x, a.y, b.x, b.y);
}

// Pass 2 of the window selection: one line record crossed by the fence.
void CrossingPass(App& app, double x1, double y1, double x2, double y2, double m, Rgb h) {
    std::vector<double>& s = app.geometry.ScratchXY;
    s[2] = x1 - m, s[3] = y1 + m, s[4] = x2 + m, s[5] = y2 - m;
    const double f = Dist(s[2], s[3], s[4], s[5]);
    ScanRecords(app, [&](int layer, int slot, const MapRecord& r) {
        if (!AnyVertexInside(r, x1 - m, y1 + m, x2 + m, y2 - m)) return false;
        int vertices = 0;
        bool close = false, chained = false;
        switch (r.RecordType) {
            case 0: case 1: case 7: case 8: case 15: case 41: case 65: case 66: case 67: case 68:
                return true;  // a point, text or circle met first ends the pass
            case 2: case 12: case 42: case 92: vertices = 2; break;
            case 3: case 43: case 93: vertices = 3; break;
            case 4: case 44: case 94: vertices = 4; break;
            case 6: case 36: vertices = 4, close = true; break;
            case 5: case 45: case 95: vertices = 4, chained = true; break;
            default: return false;
        }
        bool hasNext = false;
        const CanvasXY next = chained ? NextFirstVertex(app, layer, slot, hasNext) : CanvasXY{};
        for (const auto& [a, b] : Segments(r, vertices, close, chained && hasNext, next)) {
            std::vector<double>& sc = app.geometry.ScratchXY;
            sc[2] = x1 - m, sc[3] = y1 + m, sc[4] = x2 + m, sc[5] = y2 - m;
            if (FenceCrosses(app, f, a, b)) {
                Highlight(app, layer, slot, h);
                app.form1->Label6.SetBackColor(app.tables.ColorPalette[7]);
                return true;
            }
        }
        return false;
    });
}

void CirclePass(App& app, double cx, double cy, Rgb h) {
    const double tolerance = 2 * app.view.ScaleFactor;
    ScanRecords(app, [&](int layer, int slot, const MapRecord& r) {
        if (r.RecordType != 7 && r.RecordType != 8 && r.RecordType != 9) return false;
        const double radius = r.RecordX2;
        if (std::abs(r.RecordX1 - cx) < 1.5 * radius && std::abs(r.RecordY1 - cy) < 1.5 * radius &&
            std::abs(Dist(r.RecordX1, r.RecordY1, cx, cy) - radius) < tolerance) {
            Highlight(app, layer, slot, h);
            return true;
        }
        return false;
    });
}

// Pass 4: a centre inside the boundary chain of a filled area ends the selection empty.
void AreaPass(App& app, double cx, double cy) {
    std::vector<double>& s = app.geometry.ScratchXY;
    int vertices = 0;
    std::int32_t lastChainSlot = -2;
    auto restart = [&] {
        vertices = 0;
        s.assign(2, 0.0);
    };
    auto append = [&](double x, double y) {
        s.resize(2 * vertices + 4, 0.0);
        s[2 * vertices] = x, s[2 * vertices + 1] = y;
        ++vertices;
    };
    restart();
    const bool inside = ScanRecords(app, [&](int, int slot, const MapRecord& r) {
        const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
        const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
        if (r.RecordType == 30) {
            for (int k = 0; k < 4; ++k) append(xs[k], ys[k]);
            lastChainSlot = slot;
            return false;
        }
        if (r.RecordType < 26 || r.RecordType > 29) return false;
        if (slot != lastChainSlot + 1) restart();
        for (int k = 0; k < r.RecordType - 25; ++k) append(xs[k], ys[k]);
        std::int16_t in = 0;
        PointInWorkingPolygon(app, cx, cy, in);
        restart();
        return in == -1;
    });
    if (s.size() < 13) s.resize(13, 0.0);
    if (inside) throw StopSelection{};
}

// The end of a pick by pass 1 or 2.
void ClosePick(App& app, int layer, int slot, Rgb h, bool renameText) {
    Highlight(app, layer, slot, h);
    app.form1->Label6.SetBackColor(app.tables.ColorPalette[7]);
    EnableSelectionButtons(app);
    WriteCountElement(app);
    SetPointer(app, PointerCross);
    if (renameText && app.tool.CommandMode != ModeElevationPoint)
        app.form1->Text8.SetText(RenamePrefix + app.store.Get(layer, slot).RecordText);
}

bool SegmentHit(const MapRecord& r, int vertices, bool chained, bool hasNext, CanvasXY next, double x, double y,
                float tolerance) {
    for (const auto& [a, b] : Segments(r, vertices, false, chained && hasNext, next))
        if (Dist(x, y, a.x, a.y) + Dist(x, y, b.x, b.y) < Dist(a.x, a.y, b.x, b.y) + tolerance) return true;
    return false;
}

void DrawRubberBox(App& app, CanvasXY a, CanvasXY b) {
    app.form1->Picture1.surface().Line(a.x, a.y, b.x, b.y, RubberBlue, LineShape::Box);
}

// The window from the press to the last drag point, drawn in the inverting pen, goes when drawn
// again. Until the first drag nothing is shown: a box from the press to itself is one pixel,
// which drawing would set rather than take away.
void EraseDraggedBox(App& app) {
    ToolState& tool = app.tool;
    if (tool.RubberPoint.x != tool.PressPoint.x || tool.RubberPoint.y != tool.PressPoint.y)
        DrawRubberBox(app, tool.PressPoint, tool.RubberPoint);
    tool.RubberPoint = tool.PressPoint;
}

void SelectionDrag(App& app, double x, double y) {
    ToolState& tool = app.tool;
    EraseDraggedBox(app);
    if (x != tool.PressPoint.x || y != tool.PressPoint.y) DrawRubberBox(app, tool.PressPoint, {x, y});
    tool.RubberPoint = {x, y};
}

ReleaseEnd SelectionRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.SelectionArmed != -1) return ReleaseEnd::CommonTail;
    tool.SelectionMade = 0;
    const CanvasXY press = tool.PressPoint;
    // The window as the last drag showed it goes, also when the release picks at a point.
    Surface& canvas = app.form1->Picture1.surface();
    const int drawMode = canvas.DrawMode();
    canvas.SetDrawMode(DrawModeNotXorPen);
    EraseDraggedBox(app);
    canvas.SetDrawMode(drawMode);
    if (std::abs(press.x - x) <= 1 || std::abs(press.y - y) <= 1) {
        PickAtPoint(app, x, y);
        return ReleaseEnd::CommonTail;
    }
    if (tool.CommandMode == ModeSelect) {
        SelectInWindow(app, press.x, press.y, x, y);
        return ReleaseEnd::CommonTail;
    }
    ClipWindow(app, static_cast<float>(press.x), static_cast<float>(press.y), static_cast<float>(x),
               static_cast<float>(y));
    DrawClipBuffer(app);
    // The window stays marked while the question is asked, and goes with the answer.
    canvas.SetDrawMode(DrawModeNotXorPen);
    DrawRubberBox(app, press, {x, y});
    const int answer = app.platform.prompt().MsgBox(ClipSaveQuestion, MsgYesNoCancel, ClipSaveTitle);
    DrawRubberBox(app, press, {x, y});
    canvas.SetDrawMode(drawMode);
    switch (answer) {
        case AnswerYes: SaveClipDialog(app); break;
        case AnswerCancel:
            // Given up: the map comes back as it was.
            tool.SelectionArmed = 0;
            tool.CommandMode = ModeIdle;
            刷新(app);
            break;
        default: break;
    }
    return ReleaseEnd::CommonTail;
}

}  // namespace

void SelectInWindow(App& app, double x1, double y1, double x2, double y2) {
    if (!app.form1) return;
    const bool ran = GuardToMessageLine([&app](const std::string& text) { app.form1->Text2.SetText(text); }, [&] {
        try {
            const double cx = (x1 + x2) / 2, cy = (y1 + y2) / 2;
            const double m = 100 * app.view.ScaleFactor;
            SetUp(app);
            const Rgb h = PackedColorSum(app.current.CurrentColor, WindowHighlight);
            ScanRecords(app, [&](int layer, int slot, const MapRecord& r) {
                if (app.tool.SelectionCount > SelectionLimit) throw StopSelection{};
                if (AnyVertexInside(r, x1, y1, x2, y2)) Highlight(app, layer, slot, h);
                return false;
            });
            if (app.tool.SelectionCount == 1) CrossingPass(app, x1, y1, x2, y2, m, h);
            if (app.tool.SelectionCount == 1) CirclePass(app, cx, cy, h);
            if (app.tool.SelectionCount == 1) AreaPass(app, cx, cy);
            if (app.tool.SelectionCount > 1) EnableSelectionButtons(app);
            WriteCountElement(app);
            app.form1->Text8.SetText("");
            if (app.tool.SelectionCount == 2) {
                const SelectedRecord& one = app.selection.SelectionList[1];
                app.form1->Text8.SetText(RenamePrefix + app.store.Get(one.Layer, one.Slot).RecordText);
            }
            SetPointer(app, PointerCross);
        } catch (const StopSelection&) {
            SetPointer(app, PointerCross);
        }
    });
    if (!ran) {
        SetPointer(app, PointerCross);
        app.current.CurrentColor = 0;
    }
}

void PickAtPoint(App& app, double x, double y) {
    if (!app.form1) return;
    const bool ran = GuardToMessageLine([&app](const std::string& text) { app.form1->Text2.SetText(text); }, [&] {
        const double sf = app.view.ScaleFactor;
        const double d = static_cast<float>(100 * sf);
        SetUp(app);
        const Rgb h = PackedColorSum(app.current.CurrentColor, PickHighlight);
        int foundLayer = 0, foundSlot = -1;
        auto found = [&](int layer, int slot) {
            foundLayer = layer, foundSlot = slot;
            return true;
        };
        ScanRecords(app, [&](int layer, int slot, const MapRecord& r) {
            return AnyVertexInside(r, x - sf, y + sf, x + sf, y - sf) && found(layer, slot);
        });
        if (foundSlot < 0) {
            const float tolerance = app.selection.SelectTolerance;
            ScanRecords(app, [&](int layer, int slot, const MapRecord& r) {
                if (!AnyVertexInside(r, x - d, y + d, x + d, y - d)) return false;
                int vertices = 0;
                bool chained = false;
                switch (r.RecordType) {
                    case 2: case 12: case 42: vertices = 2; break;
                    case 3: case 43: vertices = 3; break;
                    case 4: case 6: case 44: vertices = 4; break;
                    case 5: case 45: vertices = 4, chained = true; break;
                    default: return false;
                }
                bool hasNext = false;
                const CanvasXY next = chained ? NextFirstVertex(app, layer, slot, hasNext) : CanvasXY{};
                return SegmentHit(r, vertices, chained, hasNext, next, x, y, tolerance) && found(layer, slot);
            });
        }
        if (foundSlot >= 0) {
            ClosePick(app, foundLayer, foundSlot, h, true);
            return;
        }
        ScanRecords(app, [&](int layer, int slot, const MapRecord& r) {
            const std::uint8_t type = r.RecordType;
            if (type != 6 && type != 10 && type != 11 && type != 13) return false;
            if (!(r.RecordX1 < x && x < r.RecordX2 && r.RecordY4 < y && y < r.RecordY1)) return false;
            const auto l8 = static_cast<std::uint8_t>(layer);
            const auto s16 = static_cast<std::int16_t>(slot);
            if (type == 6) {
                ClosePick(app, layer, slot, h, false);
            } else if (type == 10) {
                AddToList(app, layer, slot);
                RenderRecord(app, l8, s16);
            } else {
                // The head and its boundary chain, as far as the layer holds records.
                app.tool.SelectionCount = 1;
                const std::int32_t last =
                    std::min<double>(slot + std::max(0.0, Int(r.RecordZ4)), app.store.Count(layer) - 1);
                for (std::int32_t k = slot; k <= last; ++k) AddToList(app, layer, k);
                WriteCountElement(app);
                if (type == 11) DrawHatchFill(app, l8, s16); else DrawSymbolFill(app, l8, s16);
            }
            return true;
        });
        if (app.tool.SelectionCount > 1) {
            app.tool.SelectionMade = -1;
            app.form1->Label6.SetBackColor(app.tables.ColorPalette[7]);
            EnableSelectionButtons(app);
        }
        WriteCountElement(app);
        SetPointer(app, PointerCross);
    });
    if (!ran) SetPointer(app, PointerCross);
}

void PointInWorkingPolygon(App& app, double px, double py, std::int16_t& inside) {
    inside = 0;
    GuardSilently([&] {
        std::vector<double>& s = app.geometry.ScratchXY;
        const std::size_t size = s.size();
        if (size < 4 || size % 2 != 0) return;
        // The vertices, closed by the first one in place of the spare pair.
        std::vector<double> ring(s.begin(), s.end());
        ring[size - 2] = ring[0];
        ring[size - 1] = ring[1];
        s.assign(13, 0.0);
        s[2] = px - 10000, s[3] = py, s[4] = px + 10000, s[5] = py;
        // The scan line crosses an edge when one end lies above it and the other on or below it.
        // Counted half-open, a vertex on the scan line is one crossing where the outline goes on
        // across the line and none (or two) where it turns back, and an edge along the line none.
        std::vector<CanvasXY> crossings;
        for (std::size_t k = 0; k + 3 < size; k += 2) {
            const double ax = ring[k], ay = ring[k + 1], bx = ring[k + 2], by = ring[k + 3];
            if ((ay > py) == (by > py)) continue;
            crossings.push_back({ax + (py - ay) * (bx - ax) / (by - ay), py});
        }
        if (crossings.size() < 2) return;
        std::sort(crossings.begin(), crossings.end(), [](const CanvasXY& a, const CanvasXY& b) { return a.x < b.x; });
        for (std::size_t e = 0; e + 1 < crossings.size(); e += 2) {
            if (crossings[e].x < px && px < crossings[e + 1].x) {
                if (app.form1) {
                    Surface& canvas = app.form1->Picture1.surface();
                    const Rgb colour = app.current.CurrentColor;
                    canvas.Line(crossings[e].x, crossings[e].y, crossings[e + 1].x, crossings[e + 1].y, colour);
                    canvas.Line(px, py + 5, px, py - 5, colour);
                }
                inside = -1;
                return;
            }
        }
    });
}

const ToolFamily& SelectionToolFamily() {
    static const ToolFamily family{
        "selection",
        {
            {.mode = ModeSelect, .drag = SelectionDrag, .release = SelectionRelease},
            {.mode = ModeClipSave, .drag = SelectionDrag, .release = SelectionRelease},
        },
    };
    return family;
}

}  // namespace movra
