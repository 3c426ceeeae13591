#include "exchange/ExportLines.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/JdxFile.h"
#include "document/RecordPositions.h"
#include "document/RecordTypes.h"

namespace movra {

void ExportLineWriter::Text(std::string_view utf8) {
    bool ascii = true;
    bool breaks = false;
    for (const char c : utf8) {
        if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
        if (c == '\r' || c == '\n') breaks = true;
    }
    std::string oneLine;
    if (breaks) {
        oneLine.assign(utf8);
        std::replace(oneLine.begin(), oneLine.end(), '\r', ' ');
        std::replace(oneLine.begin(), oneLine.end(), '\n', ' ');
        utf8 = oneLine;
    }
    // Plain ASCII is the same in code page 936: most texts of a map need no conversion.
    if (ascii)
        out_.WriteRawLine(utf8);
    else
        out_.WriteLine(utf8);
}

std::string ZNumberText(float z) { return "0" + PlainNumberText(z); }

int LastExportSlot(const RecordStore& store, int layer) {
    if (layer < 0 || layer > store.LayerDimension() || layer >= static_cast<int>(store.LayerRecordCount.size()))
        return -1;
    return std::min(store.Count(layer), static_cast<std::int32_t>(store.LayerCapacity));
}

DrawingExtents ExportedExtents(const App& app) {
    DrawingExtents e = ExtentsToShow(app);
    const bool none = AreEmptyExtents(e);
    double minX = none ? std::numeric_limits<double>::infinity() : e.ExtentMinX;
    double minY = none ? std::numeric_limits<double>::infinity() : e.ExtentMinY;
    double maxX = none ? -std::numeric_limits<double>::infinity() : e.ExtentMaxX;
    double maxY = none ? -std::numeric_limits<double>::infinity() : e.ExtentMaxY;
    const auto take = [&](double x, double y, double reach) {
        // As for the map's extents, a position on an axis is a vertex left unused.
        if (x == 0 || y == 0 || !IsStorablePoint(x, y)) return;
        if (!IsStorableCoordinate(reach)) reach = 0;
        minX = std::min(minX, x - reach);
        maxX = std::max(maxX, x + reach);
        minY = std::min(minY, y - reach);
        maxY = std::max(maxY, y + reach);
    };
    const RecordStore& store = app.store;
    for (int layer = 0; layer <= store.LayerCount; ++layer) {
        const int last = LastExportSlot(store, layer);
        for (int slot = 0; slot <= last; ++slot) {
            const MapRecord& r = store.Get(layer, slot);
            if (r.RecordType == TypeEmpty || IsDeletedType(r.RecordType)) continue;
            // A circle or an arc reaches its radius from the centre whatever its aspect; an ellipse
            // its longer semi-axis.
            double reach = 0;
            if (r.RecordType == TypeCircle || r.RecordType == TypeArc) reach = std::fabs(r.RecordX2);
            if (r.RecordType == TypeRotatedEllipse) reach = std::max(std::fabs(r.RecordX2), std::fabs(r.RecordY2));
            ForEachPosition(r, [&](double x, double y) { take(x, y, reach); });
            // A picture reaches from its corner by its width and height.
            if (r.RecordType == TypeImage) take(r.RecordX1 + r.RecordX2, r.RecordY1 + r.RecordY2, 0);
        }
    }
    if (minX > maxX || minY > maxY) return e;
    return DrawingExtents{minX, minY, maxX, maxY};
}

const MapRecord* NextSlotRecord(const RecordStore& store, int layer, int slot) {
    if (slot + 1 > store.LayerCapacity) return nullptr;
    return &store.Get(layer, slot + 1);
}

bool RunExport(App& app, const std::function<void()>& write) {
    return GuardToMessageLine([&app](const std::string& text) { ShowMessageLine(app, text); }, write);
}

}  // namespace movra
