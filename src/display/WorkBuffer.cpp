#include "display/WorkBuffer.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "display/Pens.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "display/ClipBufferItemRenderer.h"
#include "display/LineSink.h"
#include "document/Geometry.h"

namespace movra {

MapRecord& ClipBufferAppendItem(ClipBuffer& buffer) {
    ++buffer.ClipBufferCount;
    if (buffer.Items.size() <= static_cast<size_t>(buffer.ClipBufferCount))
        buffer.Items.resize(static_cast<size_t>(buffer.ClipBufferCount) + 1);
    MapRecord& item = buffer.Items[static_cast<size_t>(buffer.ClipBufferCount)];
    item = MapRecord{};
    return item;
}

namespace {

void TextSizes(const App& app, MapRecord& item, bool tilted) {
    if (item.RecordType < 65 || item.RecordType > 68) return;
    const double zoom = app.view.DisplayZoom;
    item.RecordZ4 = static_cast<float>(item.RecordZ2 * 10.0);
    item.RecordX4 = Int(zoom * item.RecordX2) + 1;
    item.RecordY4 = Int(zoom * item.RecordY2 * item.RecordX2) - (tilted ? 0 : 1);
}

double Project(const App& app, double y, float z) { return z * app.view.TiltCos + y * app.view.TiltSin; }

void ProjectVertices(const App& app, MapRecord& r, int count) {
    if (count >= 1) r.RecordY1 = Project(app, r.RecordY1, r.RecordZ1);
    if (count >= 2) r.RecordY2 = Project(app, r.RecordY2, r.RecordZ2);
    if (count >= 3) r.RecordY3 = Project(app, r.RecordY3, r.RecordZ3);
    if (count >= 4) r.RecordY4 = Project(app, r.RecordY4, r.RecordZ4);
}

// The link item after a chained record: the first vertex of the next slot.
void AppendLink(App& app, std::uint8_t layer, std::int16_t slot, int linkType, bool tilted) {
    const MapRecord& next = app.store.Get(layer, slot + 1);
    MapRecord& link = ClipBufferAppendItem(app.clip);
    link.RecordType = static_cast<std::uint8_t>(linkType);
    link.RecordSource = next.RecordSource;
    link.RecordX1 = next.RecordX1;
    link.RecordY1 = tilted ? Project(app, next.RecordY1, next.RecordZ1) : next.RecordY1;
    link.RecordZ1 = next.RecordZ1;
}

int LinkTypeOf(int type, bool tilted) {
    switch (type) {
        case 5: case 45: case 95: return type - 4;
        case 30: return tilted ? 26 : 0;
        case 75: return 71;  // its line goes on too; the link keeps the chain in the buffer
        default: return 0;
    }
}

int ProjectedCount(int type) {
    switch (type) {
        case 2: case 12: case 27: case 32: case 42: case 92: return 2;
        case 3: case 28: case 33: case 43: case 93: return 3;
        case 4: case 6: case 10: case 14: case 29: case 34: case 44: case 94:
        case 5: case 30: case 45: case 95: return 4;
        default: return 1;
    }
}

void Scan(App& app, bool tilted, double left, double right, double bottom, double top) {
    RecordStore& store = app.store;
    for (int l = 1; l <= std::min<int>(store.LayerCount, store.LayerDimension()); ++l) {
        if (store.LayerOnFlag[l] != True && store.LayerLockFlag[l] != True) continue;
        const int count = std::min<int>(store.Count(l), store.LayerCapacity);
        // A layer of one record goes into the work buffer like any other.
        if (count < 1) continue;
        for (int k = 0; k <= count; ++k) {
            const MapRecord& r = store.Get(l, k);
            if (!(left <= r.RecordX1 && r.RecordX1 <= right && bottom <= r.RecordY1 && r.RecordY1 <= top)) continue;
            auto layer = static_cast<std::uint8_t>(l);
            auto slot = static_cast<std::int16_t>(k);
            try {
                if (tilted) AppendTiltedRecord(app, layer, slot);
                else AppendRecordToClipBuffer(app, layer, slot);
            } catch (const RuntimeError&) {
            }
            k = std::max<int>(k, slot);
        }
    }
}

}  // namespace

void AppendRecordToClipBuffer(App& app, std::uint8_t& layer, std::int16_t& slot) {
    ClipBuffer& buffer = app.clip;
    if (buffer.ClipBufferCount + 1 > ClipBufferPlainLimit) { buffer.ClipBufferCount = ClipBufferPlainLimit; return; }
    const MapRecord record = app.store.Get(layer, slot);
    MapRecord& item = ClipBufferAppendItem(buffer);
    item = record;
    TextSizes(app, item, false);
    if (const int link = LinkTypeOf(record.RecordType, false); link != 0) AppendLink(app, layer, slot, link, false);
}

void AppendTiltedRecord(App& app, std::uint8_t& layer, std::int16_t& slot) {
    ClipBuffer& buffer = app.clip;
    if (buffer.ClipBufferCount + 1 > ClipBufferTiltedLimit) { buffer.ClipBufferCount = ClipBufferTiltedLimit; return; }
    const MapRecord record = app.store.Get(layer, slot);
    MapRecord& item = ClipBufferAppendItem(buffer);
    item = record;
    const int type = record.RecordType;
    if (type == 13) {
        ProjectVertices(app, item, 4);
        // The parts follow the head; a count that is no number, negative or past the layer's
        // records is cut to the slots the layer holds.
        const double z4 = Int(record.RecordZ4);
        const int available = std::max(0, std::min<int>(app.store.Count(layer), app.store.LayerCapacity) - slot - 1);
        const int n = z4 >= 1 ? static_cast<int>(std::min<double>(z4, available)) : 0;
        for (int p = 1; p <= n; ++p) {
            const MapRecord part = app.store.Get(layer, slot + p);
            MapRecord& partItem = ClipBufferAppendItem(buffer);
            partItem = part;
            ProjectVertices(app, partItem, 4);
        }
        slot = static_cast<std::int16_t>(slot + n);
        return;
    }
    if (type >= 65 && type <= 68) {
        TextSizes(app, item, true);
        ProjectVertices(app, item, 1);
        return;
    }
    if (type == 80 || type == 81) {
        item.RecordY1 = item.RecordY1 * app.view.TiltSin - app.view.TiltCos;
        double* xs[] = {&item.RecordX2, &item.RecordX3, &item.RecordX4};
        double* ys[] = {&item.RecordY2, &item.RecordY3, &item.RecordY4};
        for (int k = 0; k < 3; ++k) {
            if (*xs[k] == 0 && *ys[k] == 0) break;
            *ys[k] = *ys[k] * app.view.TiltSin - app.view.TiltCos;
        }
        return;
    }
    ProjectVertices(app, item, ProjectedCount(type));
    if (const int link = LinkTypeOf(type, true); link != 0) AppendLink(app, layer, slot, link, true);
}

void xzldk(App& app, float& dxiao) {
    try {
        Surface& canvas = MainCanvas(app);
        const auto l = static_cast<float>(canvas.ScaleLeft());
        const auto t = static_cast<float>(canvas.ScaleTop());
        const auto w = static_cast<float>(canvas.ScaleWidth());
        const auto h = static_cast<float>(canvas.ScaleHeight());
        const float v = w / 5;
        const float left = l - v, right = l + w + v, bottom = t + h - v;
        float top = t + v;
        if (app.view.TiltSin == 1) {
            if (app.view.DisplayZoom < dxiao) return;
            app.clip.ClipBufferCount = 0;
            Scan(app, false, left, right, bottom, top);
            return;
        }
        const double a = DmsToRad(app.view.TiltAngle);
        app.view.TiltCos = std::cos(a);
        app.view.TiltSin = std::sin(a);
        if (std::abs(app.view.TiltSin - 1) < 1e-15) app.view.TiltSin = 1;
        top = t + w + v;
        app.clip.ClipBufferCount = 0;
        Scan(app, true, left, right, bottom, top);
    } catch (const RuntimeError&) {
    }
}

namespace {

void DrawItemsFrom(App& app, double left, double right, double bottom, double top, bool testY) {
    ClipBuffer& buffer = app.clip;
    const std::int32_t count = std::min<std::int32_t>(buffer.ClipBufferCount, static_cast<std::int32_t>(buffer.Items.size()) - 1);
    for (std::int32_t i = 1; i <= count; ++i) {
        const MapRecord& item = buffer.Items[static_cast<size_t>(i)];
        if (!(left <= item.RecordX1 && item.RecordX1 <= right)) continue;
        if (testY && !(bottom <= item.RecordY1 && item.RecordY1 <= top)) continue;
        DrawClipBufferItem(app, i);
    }
}

double RoundEven(double v) { return std::nearbyint(v); }

}  // namespace

void DrawClipBuffer(App& app) {
    try {
        Surface& canvas = MainCanvas(app);
        const double l = RoundEven(canvas.ScaleLeft()), t = RoundEven(canvas.ScaleTop());
        const double w = RoundEven(canvas.ScaleWidth()), h = RoundEven(canvas.ScaleHeight());
        ClearMainCanvas(app, canvas);
        canvas.SetDrawMode(13);
        StartFromDefinedPen(canvas, app.display.PenCache);
        DrawItemsFrom(app, l, l + w, t + h, t, true);
        app.display.TextFont.FontCacheSize = 6;
    } catch (const RuntimeError&) {
    }
}

void Draw3DView(App& app) {
    Surface& canvas = MainCanvas(app);
    const double t0 = canvas.ScaleTop();
    const double left = canvas.ScaleLeft(), width = canvas.ScaleWidth(), height = canvas.ScaleHeight();
    try {
        canvas.SetScale(left, t0 * app.view.TiltSin - height / 3, width, height);
        const double l = Int(left), r = Int(left + width);
        ClearMainCanvas(app, canvas);
        canvas.SetDrawMode(13);
        canvas.SetDrawWidth(2);
        canvas.Line(l, 0, r, 0, 0xFF0000);
        canvas.SetDrawWidth(1);
        DrawItemsFrom(app, l, r, 0, 0, false);
    } catch (const RuntimeError&) {
    }
    // The view always comes back, so the next plan redraw is not shifted.
    canvas.SetScale(left, t0, width, height);
}

}  // namespace movra
