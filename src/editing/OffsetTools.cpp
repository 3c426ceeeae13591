// The offset constructions: parallel copies of a reference segment (123), strips between it and
// its copies (126), a filled pipe strip (133), a polyline drawn together with its parallel twin
// (124), and parallel rings about a clicked closed ring (127). The segment tools take a distance
// typed in Text5 in ground units (else the click's own distance); the polyline tools a distance in
// paper millimetres from Text8.
#include "editing/OffsetTools.h"

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "display/Shapes.h"
#include "document/Geometry.h"
#include "document/RecordPositions.h"
#include "document/StoreRecord.h"
#include "editing/AnchoredRubber.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolFamilies.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr std::size_t SegmentScratch = 10;
// The polyline tools keep vertex k in elements 10 + 2k, 11 + 2k.
constexpr std::size_t FirstVertexElement = 10;

constexpr std::uint8_t PipeFilledRecord = 10;
constexpr std::uint8_t PipeShadedRecord = 14;
constexpr std::uint8_t ParallelRecord = 52;

// A click within this of the last corner of a ring (in x and in y, ground units) is a slip.
constexpr double RingSlip = 0.5;
// The last corner a ring can take; the count above it marks a finished ring.
constexpr std::uint8_t LastRingCorner = 254;
constexpr std::uint8_t RingDone = 255;

constexpr const char* WrongOperation = "请正确操作！";

struct XY {
    double x = 0;
    double y = 0;
};

std::vector<double>& Scratch(App& app) { return app.geometry.ScratchXY; }
void Line(App& app, XY a, XY b, Rgb color) { Canvas(app).Line(a.x, a.y, b.x, b.y, color); }
Rgb Palette(App& app, int index) { return app.tables.ColorPalette[index]; }

// Distance of P from the line through A and B, whatever A and B are (PointLineDist would read a
// B at y = -1 as a circle).
double LineDist(XY p, XY a, XY b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double length = std::hypot(dx, dy);
    if (length == 0) return std::hypot(p.x - a.x, p.y - a.y);
    return std::fabs(dx * (p.y - a.y) - dy * (p.x - a.x)) / length;
}

// A number the whole text must be (blanks around allowed): else error 13, as a conversion fails.
double StrictNumber(const std::string& text) {
    const std::string t = Trim(text);
    if (t.empty()) Raise(ErrTypeMismatch);
    char* end = nullptr;
    const double value = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size() || !std::isfinite(value)) Raise(ErrTypeMismatch);
    return value;
}

// Room in the current layer for `slots` more records with the open slot after them, grown when
// the layer can grow; says so when not.
bool RoomFor(App& app, int slots) {
    RecordStore& store = app.store;
    for (int tries = 0; tries < 8; ++tries) {
        if (store.Count(store.CurrentLayer) + slots <= store.LayerCapacity) return true;
        const auto before = store.LayerCapacity;
        const int layer = store.CurrentLayer;
        GrowLayerCapacity(app);
        if (store.LayerCapacity == before || store.CurrentLayer != layer) break;
    }
    if (store.Count(store.CurrentLayer) + slots <= store.LayerCapacity) return true;
    app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
    return false;
}

// ---- The segment tools: 0, 1 the reference start R0; 2, 3 its end R1; 8, 9 the click Q;
// OffsetSegment leaves the copy of R1 in 4, 5 and the copy of R0 in 6, 7.

XY R0(App& app) { return {Scratch(app)[0], Scratch(app)[1]}; }
XY R1(App& app) { return {Scratch(app)[2], Scratch(app)[3]}; }
XY R1Copy(App& app) { return {Scratch(app)[4], Scratch(app)[5]}; }
XY R0Copy(App& app) { return {Scratch(app)[6], Scratch(app)[7]}; }

bool ReferenceReady(App& app) { return Scratch(app).size() >= SegmentScratch; }

// The copy for the point q: through it for a distance of 0, else at the typed distance on its side.
void CopyFor(App& app, XY q, double typed) {
    std::vector<double>& s = Scratch(app);
    s[8] = q.x;
    s[9] = q.y;
    if (typed == 0)
        OffsetSegment(app, LineDist(q, R0(app), R1(app)), 0);
    else
        OffsetSegment(app, typed, -1);
}

// The preview: the reference moved parallel through the cursor, lengthened beyond its ends.
void DrawCopyPreview(App& app, XY q) {
    std::vector<double>& s = Scratch(app);
    s[8] = q.x;
    s[9] = q.y;
    OffsetSegment(app, -LineDist(q, R0(app), R1(app)), 0);
    Line(app, R0Copy(app), R1Copy(app), app.current.CurrentColor);
}

void SegmentRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (!ReferenceReady(app)) return;
    if (tool.ClickCount < 2) {
        DrawAnchoredRubber(app, Scratch(app)[0], Scratch(app)[1], x, y);
        return;
    }
    if (tool.PreviewShown == -1) DrawCopyPreview(app, {tool.PreviewPoint.x, tool.PreviewPoint.y});
    DrawCopyPreview(app, {x, y});
    tool.PreviewPoint = tool.RubberPoint = {x, y};
    tool.PreviewShown = tool.RubberShown = -1;
}

void EraseCopyPreview(App& app) {
    ToolState& tool = app.tool;
    if (tool.PreviewShown != -1) return;
    {
        const DrawModeScope inverting(Canvas(app), DrawModeNotXorPen);
        DrawCopyPreview(app, {tool.PreviewPoint.x, tool.PreviewPoint.y});
    }
    tool.PreviewShown = 0;
}

// Clicks 1 and 2 of every segment tool; true when the click was one of them.
bool ReferenceClick(App& app, bool clearTyped) {
    ToolState& tool = app.tool;
    std::vector<double>& s = Scratch(app);
    if (tool.ClickCount == 0) {
        s.assign(SegmentScratch, 0.0);
        s[0] = tool.PressPoint.x;
        s[1] = tool.PressPoint.y;
        tool.ClickCount = 1;
        tool.PreviewShown = 0;
        return true;
    }
    if (tool.ClickCount == 1) {
        if (!ReferenceReady(app)) s.resize(SegmentScratch, 0.0);
        EraseAnchoredRubber(app, s[0], s[1]);
        s[2] = tool.PressPoint.x;
        s[3] = tool.PressPoint.y;
        tool.ClickCount = 2;
        tool.PreviewShown = 0;
        Line(app, R0(app), R1(app), app.current.CurrentColor);
        if (clearTyped) app.form1->Text5.SetText("");
        return true;
    }
    if (!ReferenceReady(app)) s.resize(SegmentScratch, 0.0);
    EraseCopyPreview(app);
    return false;
}

XY Click(App& app) { return {app.tool.PressPoint.x, app.tool.PressPoint.y}; }

double TypedInText5(App& app) { return Val(Trim(app.form1->Text5.Text())); }

// The three edges of a strip: R0-R0' red, R1-R1' yellow, R0'-R1' green.
void DrawStripEdges(App& app) {
    Line(app, R0(app), R0Copy(app), Palette(app, 1));
    Line(app, R1(app), R1Copy(app), Palette(app, 2));
    Line(app, R0Copy(app), R1Copy(app), Palette(app, 3));
}

ReleaseEnd CopiesRelease(App& app, double, double) {
    if (ReferenceClick(app, true)) return ReleaseEnd::CommonTail;
    CopyFor(app, Click(app), TypedInText5(app));
    const XY a = R0Copy(app), b = R1Copy(app);
    Line(app, a, b, app.current.CurrentColor);
    StoreRecord(app, StoreFull, 2, a.x, a.y, b.x, b.y, 0, 0, 0, 0, "");
    // A byte: the 256th click wraps it, and the next click starts a new reference.
    ++app.tool.ClickCount;
    return ReleaseEnd::CommonTail;
}

ReleaseEnd StripsRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 1) {
        ReferenceClick(app, true);
        const XY a = R0(app), b = R1(app);
        StoreRecord(app, StoreFull, 2, a.x, a.y, b.x, b.y, 0, 0, 0, 0, "0");
        return ReleaseEnd::CommonTail;
    }
    if (ReferenceClick(app, true)) return ReleaseEnd::CommonTail;
    CopyFor(app, Click(app), TypedInText5(app));
    DrawStripEdges(app);
    const XY r0 = R0(app), r1 = R1(app), c1 = R1Copy(app), c0 = R0Copy(app);
    StoreRecord(app, StoreFull, 4, r1.x, r1.y, c1.x, c1.y, c0.x, c0.y, r0.x, r0.y, "0");
    return ReleaseEnd::CommonTail;
}

ReleaseEnd PipeRelease(App& app, double, double) {
    if (ReferenceClick(app, false)) return ReleaseEnd::CommonTail;
    const CurrentAttributes& current = app.current;
    CopyFor(app, Click(app), current.TypedDistance);
    DrawStripEdges(app);
    const std::string text = app.form1->Text8.Text();
    const double kind = StrictNumber(text);
    const XY r0 = R0(app), r1 = R1(app), c1 = R1Copy(app), c0 = R0Copy(app);
    RecordStore& store = app.store;
    const int layer = store.CurrentLayer;
    const std::int32_t slot = store.Count(layer);
    if (kind == 0) {
        // The heights go into the open slot only when the record will be stored there.
        if (slot + 1 <= store.LayerCapacity) {
            MapRecord& r = store.At(layer, slot);
            r.RecordZ1 = r.RecordZ2 = static_cast<float>(current.TypedZ1);
            r.RecordZ3 = r.RecordZ4 = static_cast<float>(current.TypedZ2);
        }
        StoreRecord(app, StoreFull, PipeFilledRecord, r0.x, r0.y, r1.x, r1.y, c1.x, c1.y, c0.x, c0.y, text);
        if (store.Count(layer) == slot + 1) RenderRecord(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot));
    } else {
        StoreRecord(app, StoreFull, PipeShadedRecord, r0.x, r0.y, r1.x, r1.y, c1.x, c1.y, c0.x, c0.y, text);
        if (store.Count(layer) == slot + 1) RenderRecord3(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot));
    }
    app.tool.ClickCount = 0;
    return ReleaseEnd::CommonTail;
}

// ---- The polyline tools.

std::size_t VertexCount(App& app) {
    const std::size_t size = Scratch(app).size();
    return size < FirstVertexElement + 2 ? 0 : (size - FirstVertexElement) / 2;
}

XY Vertex(App& app, std::size_t k) {
    const std::vector<double>& s = Scratch(app);
    return {s[FirstVertexElement + 2 * k], s[FirstVertexElement + 2 * k + 1]};
}

// Makes vertex k the clicked point, the list holding vertices 0..k.
void SetNewestVertex(App& app, std::size_t k) {
    std::vector<double>& s = Scratch(app);
    s.resize(FirstVertexElement + 2 * k + 2, 0.0);
    s[FirstVertexElement + 2 * k] = app.tool.PressPoint.x;
    s[FirstVertexElement + 2 * k + 1] = app.tool.PressPoint.y;
}

// The segment a -> b offset by the signed distance: false for a zero-length segment.
bool Offset(XY a, XY b, double signedDistance, XY& a2, XY& b2) {
    const double length = std::hypot(b.x - a.x, b.y - a.y);
    if (length == 0) return false;
    const double k = signedDistance / length;
    const double nx = -(b.y - a.y) * k, ny = (b.x - a.x) * k;
    a2 = {a.x + nx, a.y + ny};
    b2 = {b.x + nx, b.y + ny};
    return true;
}

// Where the offsets of prev -> at and at -> next meet; false when they do not.
bool OffsetCorner(App& app, XY prev, XY at, XY next, double signedDistance, XY& corner) {
    XY a1, b1, a2, b2;
    if (!Offset(prev, at, signedDistance, a1, b1) || !Offset(at, next, signedDistance, a2, b2)) return false;
    std::vector<double>& s = Scratch(app);
    s[2] = a1.x; s[3] = a1.y; s[4] = b1.x; s[5] = b1.y;
    s[6] = a2.x; s[7] = a2.y; s[8] = b2.x; s[9] = b2.y;
    if (!LineIntersect(app)) return false;
    corner = {s[0], s[1]};
    return true;
}

// A record of four vertices written whole into the open slot: type, colour, pen, vertices. Positions
// the store could not hold are refused (RuntimeError 6) before anything is written.
void WriteParallelRecord(App& app, XY p1, XY p2, XY p3, XY p4) {
    if (!HasStorablePositions(ParallelRecord, p1.x, p1.y, p2.x, p2.y, p3.x, p3.y, p4.x, p4.y)) Raise(ErrOverflow);
    RecordStore& store = app.store;
    const int layer = store.CurrentLayer;
    MapRecord& r = store.At(layer, store.Count(layer));
    r = MapRecord{};
    r.RecordType = ParallelRecord;
    r.RecordColor = app.current.CurrentColor;
    r.RecordPen = static_cast<std::uint8_t>(app.current.CurrentPen & 0xFF);
    r.RecordX1 = p1.x; r.RecordY1 = p1.y;
    r.RecordX2 = p2.x; r.RecordY2 = p2.y;
    r.RecordX3 = p3.x; r.RecordY3 = p3.y;
    r.RecordX4 = p4.x; r.RecordY4 = p4.y;
    ++store.Count(layer);
}

// The rubber from the last vertex clicked, while the polyline or the ring takes vertices.
void PolylineRubber(App& app, double x, double y) {
    const std::size_t k = app.tool.ClickCount;
    if (k == 0 || k == RingDone || VertexCount(app) < k) return;
    const XY from = Vertex(app, k - 1);
    DrawAnchoredRubber(app, from.x, from.y, x, y);
}

// A click of a polyline tool first takes the rubber away, or starts without one.
void EndPolylineRubber(App& app) {
    const std::size_t k = app.tool.ClickCount;
    if (k == 0 || k == RingDone || VertexCount(app) < k) {
        app.tool.PreviewShown = 0;
        return;
    }
    const XY from = Vertex(app, k - 1);
    EraseAnchoredRubber(app, from.x, from.y);
}

ReleaseEnd ParallelRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    const std::size_t k = tool.ClickCount;
    EndPolylineRubber(app);
    if (k == 0) Scratch(app).assign(FirstVertexElement + 2, 0.0);
    SetNewestVertex(app, k);
    if (k > 0) {
        Line(app, Vertex(app, k - 1), Vertex(app, k), app.current.CurrentColor);
        BuildParallelOffsetFromText(app);
    }
    // A byte: the 256th vertex wraps it, and the next click starts a new polyline.
    ++tool.ClickCount;
    return ReleaseEnd::CommonTail;
}

// The ring's chain of records, written from the open slot: types 2..4 as vertices are added, 5
// when a full record goes on into the next slot (type 1 with its first vertex).
class RingChain {
public:
    RingChain(App& app, XY first) : app_(app), layer_(app.store.CurrentLayer), slot_(app.store.Count(layer_)) {
        MapRecord& r = Slot();
        r = MapRecord{};
        r.RecordType = 2;
        r.RecordColor = app.current.CurrentColor;
        r.RecordPen = static_cast<std::uint8_t>(app.current.CurrentPen & 0xFF);
        r.RecordX1 = first.x;
        r.RecordY1 = first.y;
        last_ = first;
    }

    void Append(XY p) {
        Line(app_, last_, p, app_.current.CurrentColor);
        last_ = p;
        if (filled_ == 4) {
            Slot().RecordType = 5;
            ++slot_;
            app_.store.Count(layer_) = slot_;
            MapRecord& r = Slot();
            r = MapRecord{};
            r.RecordType = 1;
            r.RecordColor = app_.current.CurrentColor;
            r.RecordPen = static_cast<std::uint8_t>(app_.current.CurrentPen & 0xFF);
            r.RecordX1 = p.x;
            r.RecordY1 = p.y;
            filled_ = 1;
            return;
        }
        MapRecord& r = Slot();
        ++filled_;
        (filled_ == 2 ? r.RecordX2 : filled_ == 3 ? r.RecordX3 : r.RecordX4) = p.x;
        (filled_ == 2 ? r.RecordY2 : filled_ == 3 ? r.RecordY3 : r.RecordY4) = p.y;
        r.RecordType = static_cast<std::uint8_t>(filled_);
    }

    void Commit() { app_.store.Count(layer_) = slot_ + 1; }

private:
    MapRecord& Slot() { return app_.store.At(layer_, slot_); }

    App& app_;
    int layer_;
    std::int32_t slot_;
    int filled_ = 1;
    XY last_;
};

void RingRefused(App& app) { app.form1->Text2.SetText(WrongOperation); }

ReleaseEnd RingRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    stForm1& form = *app.form1;
    const std::uint8_t k = tool.ClickCount;
    if (k == RingDone) {
        const double next = Val(Trim(form.Text8.Text())) + Val(Trim(form.Text2.Text()));
        form.Text8.SetText(PlainNumberText(next));
        if (!BuildParallelOffset(app, -Val(Trim(form.Text8.Text())))) RingRefused(app);
        return ReleaseEnd::CommonTail;
    }
    EndPolylineRubber(app);
    if (k == 0) Scratch(app).assign(FirstVertexElement + 2, 0.0);
    SetNewestVertex(app, k);
    if (k == 0) {
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    const XY n = Vertex(app, k), p = Vertex(app, k - 1);
    Line(app, p, n, app.current.CurrentColor);
    if (k == 1) {
        tool.ClickCount = 2;
        return ReleaseEnd::CommonTail;
    }
    // A slip beside the last corner: the next click takes this corner's place.
    if (std::fabs(n.x - p.x) < RingSlip && std::fabs(n.y - p.y) < RingSlip) return ReleaseEnd::EndNow;
    const XY f = Vertex(app, 0);
    const double reach = app.view.ScaleFactor;
    if (std::fabs(n.x - f.x) >= reach || std::fabs(n.y - f.y) >= reach) {
        // The last corner must close the ring: the next click takes its place.
        if (k == LastRingCorner) {
            RingRefused(app);
            return ReleaseEnd::CommonTail;
        }
        ++tool.ClickCount;
        return ReleaseEnd::CommonTail;
    }
    const double w = -Val(Trim(form.Text8.Text()));
    form.Text2.SetText(w == 0 ? std::string("0.5") : form.Text8.Text());
    if (BuildParallelOffset(app, w)) {
        tool.ClickCount = RingDone;
    } else {
        RingRefused(app);
        tool.ClickCount = 0;
    }
    return ReleaseEnd::CommonTail;
}

}  // namespace

void BuildParallelOffsetFromText(App& app) {
    if (!app.form1) return;
    GuardToMessageLine([&app](const std::string& text) { app.form1->Text2.SetText(text); }, [&] {
        double w = -Val(Trim(app.form1->Text8.Text()));
        if (w == 0) w = 1;
        const double s = app.view.ScaleFactor * w;
        // A typed distance the store could not hold is refused as the other typed values are.
        if (!IsStorableCoordinate(s)) Raise(ErrOverflow);
        const std::size_t n = VertexCount(app);
        const Rgb color = app.current.CurrentColor;
        if (n < 2) return;
        if (n == 2) {
            const XY a = Vertex(app, 0), b = Vertex(app, 1);
            XY a2, b2;
            if (!Offset(a, b, s, a2, b2)) return;
            if (!RoomFor(app, 1)) return;
            Line(app, a2, b2, color);
            WriteParallelRecord(app, a, b, a2, b2);
            return;
        }
        const XY v1 = Vertex(app, n - 3), v2 = Vertex(app, n - 2), v3 = Vertex(app, n - 1);
        XY v1a, v2a, v2b, v3b;
        if (!Offset(v1, v2, s, v1a, v2a) || !Offset(v2, v3, s, v2b, v3b)) return;
        XY joint = v2b;
        OffsetCorner(app, v1, v2, v3, s, joint);
        if (!RoomFor(app, 1)) return;
        RecordStore& store = app.store;
        const int layer = store.CurrentLayer;
        const std::int32_t count = store.Count(layer);
        // Only the piece of the previous segment ends at the joint, never another record.
        XY pieceStart = v1a;
        if (count > 0) {
            MapRecord& previous = store.At(layer, count - 1);
            if (previous.RecordType == ParallelRecord && previous.RecordX2 == v2.x && previous.RecordY2 == v2.y) {
                previous.RecordX4 = joint.x;
                previous.RecordY4 = joint.y;
                pieceStart = {previous.RecordX3, previous.RecordY3};
            }
        }
        WriteParallelRecord(app, v2, v3, joint, v3b);
        // The previous piece was drawn to its own end; past the joint it is taken away again.
        Line(app, joint, v2a, Canvas(app).BackColor());
        Line(app, pieceStart, joint, color);
        Line(app, joint, v3b, color);
    });
}

bool BuildParallelOffset(App& app, double w) {
    if (!app.form1) return false;
    bool built = false;
    GuardSilently([&] {
        if (w == 0) w = 1;
        const double s = app.view.ScaleFactor * w;
        const std::size_t count = VertexCount(app);
        if (count < 4 || Scratch(app).size() != FirstVertexElement + 2 * count) return;
        const std::size_t n = count - 1;  // the closing click
        // Every corner first, so that nothing is written for a ring that cannot be offset.
        std::vector<XY> corners(n);
        if (!OffsetCorner(app, Vertex(app, n - 1), Vertex(app, 0), Vertex(app, 1), s, corners[0])) return;
        for (std::size_t v = 1; v < n; ++v)
            if (!OffsetCorner(app, Vertex(app, v - 1), Vertex(app, v), Vertex(app, v + 1), s, corners[v])) return;
        // n corners and the closing one: the first record takes four, each further one three more.
        if (!RoomFor(app, static_cast<int>((n + 1) / 3 + 2))) return;
        RingChain chain(app, corners[0]);
        for (std::size_t v = 1; v < n; ++v) chain.Append(corners[v]);
        chain.Append(corners[0]);
        chain.Commit();
        built = true;
    });
    return built;
}

const ToolFamily& OffsetToolFamily() {
    static const ToolFamily family{
        "offsets",
        {
            {.mode = ModeOffsetSegment, .rubber = SegmentRubber, .release = CopiesRelease},
            {.mode = ModeOffsetSegment2, .rubber = SegmentRubber, .release = StripsRelease},
            {.mode = ModePipeRect, .rubber = SegmentRubber, .release = PipeRelease},
            {.mode = ModeParallel, .rubber = PolylineRubber, .release = ParallelRelease},
            {.mode = ModeRingOffset, .rubber = PolylineRubber, .release = RingRelease},
        },
    };
    return family;
}

}  // namespace movra
