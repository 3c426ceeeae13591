#include "exchange/ExportCoordinateText.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "document/CoordinateReduction.h"
#include "exchange/ExportLines.h"

namespace movra {

namespace {

class PolylineBlock {
public:
    PolylineBlock(ExportLineWriter& out, const FalseOrigin& origin) : out_(out), origin_(origin) {}

    // A stored vertex, kept true.
    void Add(double x, double y) { vertices_.emplace_back(origin_.TrueX(x), origin_.TrueY(y)); }
    // Writes the vertices gathered so far as one polyline; nothing when there are none.
    void Write() {
        if (vertices_.empty()) return;
        out_.Line("jvqa," + PlainNumberText(static_cast<std::int32_t>(vertices_.size())));
        for (const auto& [x, y] : vertices_) out_.Line(PlainNumberText(x) + "," + PlainNumberText(y));
        out_.Line("jvqb");
        vertices_.clear();
    }

    void Record(const RecordStore& store, int layer, int slot) {
        const MapRecord& r = store.Get(layer, slot);
        const std::uint8_t t = r.RecordType;
        switch (t) {
        case 2:
        case 12:
        case 42:
            Add(r.RecordX1, r.RecordY1);
            Add(r.RecordX2, r.RecordY2);
            return Write();
        case 3:
        case 43:
            Add(r.RecordX1, r.RecordY1);
            Add(r.RecordX2, r.RecordY2);
            Add(r.RecordX3, r.RecordY3);
            return Write();
        case 4:
        case 44:
        case 5:
        case 45: {
            Add(r.RecordX1, r.RecordY1);
            Add(r.RecordX2, r.RecordY2);
            Add(r.RecordX3, r.RecordY3);
            Add(r.RecordX4, r.RecordY4);
            if (t == 4 || t == 44) return Write();
            // A chain goes on in the next slot; its one-vertex end closes the line.
            const std::uint8_t end = t == 5 ? 1 : 41;
            const MapRecord* next = NextSlotRecord(store, layer, slot);
            if (next && next->RecordType == end) {
                Add(next->RecordX1, next->RecordY1);
                Write();
            }
            return;
        }
        default:
            return;
        }
    }

private:
    ExportLineWriter& out_;
    FalseOrigin origin_;
    std::vector<std::pair<double, double>> vertices_;
};

void WritePoints(ExportLineWriter& out, const FalseOrigin& origin, const MapRecord& r) {
    int count = 0;
    switch (r.RecordType) {
    case 15:
    case 16:
    case 17:
    case 18:
    case 19:
    case 31:
    case 46:
    case 65:
    case 66:
    case 67:
    case 68:
        count = 1;
        break;
    case 32:
    case 47:
        count = 2;
        break;
    case 33:
    case 48:
        count = 3;
        break;
    case 34:
    case 49:
        count = 4;
        break;
    default:
        return;
    }
    const double xs[] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
    const double ys[] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
    const float zs[] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
    for (int k = 0; k < count; ++k) {
        out.Text(PlainNumberText(origin.TrueX(xs[k])) + "," + PlainNumberText(origin.TrueY(ys[k])) + "," + PlainNumberText(zs[k]) + "," +
                 r.RecordText);
    }
}

}  // namespace

bool ExportCoordinateText(App& app, const std::string& path) {
    return RunExport(app, [&] {
        const auto& store = app.store;
        ExportLineWriter out(path);
        out.Line("jvqa");
        const FalseOrigin origin = FalseOriginOf(app);
        PolylineBlock lines(out, origin);
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            const int last = LastExportSlot(store, layer);
            for (int slot = 0; slot <= last; ++slot) lines.Record(store, layer, slot);
            // A chain left open at the end of its layer is a line of its own, not the start of the
            // next layer's first line.
            lines.Write();
        }
        out.Line("jvqa");
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            const int last = LastExportSlot(store, layer);
            for (int slot = 0; slot <= last; ++slot) WritePoints(out, origin, store.Get(layer, slot));
        }
        out.Line("jvqb");
        out.Commit();
    });
}

}  // namespace movra
