#include "document/StoreRecord.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/RecordPositions.h"

namespace movra {

namespace {

std::uint8_t PenByte(const App& app) {
    return static_cast<std::uint8_t>(app.current.CurrentPen & 0xFF);
}

// Whether `slots` records can be written from the open slot of the current layer with the open
// slot after them still inside the store. Tells the user when not.
bool HasRoom(App& app, int slots) {
    const auto& store = app.store;
    if (store.Count(store.CurrentLayer) + slots <= store.LayerCapacity) return true;
    app.platform.prompt().MsgBox(LayerFullMessage, MsgOkOnly);
    return false;
}

void SetVertices(MapRecord& r, double x1, double y1, double x2, double y2, double x3, double y3,
                 double x4, double y4) {
    r.RecordX1 = x1; r.RecordY1 = y1;
    r.RecordX2 = x2; r.RecordY2 = y2;
    r.RecordX3 = x3; r.RecordY3 = y3;
    r.RecordX4 = x4; r.RecordY4 = y4;
}

// Whether the vertices a mode writes are storable where they are positions of the type
// (HasStorablePositions): a position beyond the storable range would leave every view at infinity
// once the map is saved and opened again. The other fields (sizes, a telephone number, an area)
// are kept as given.
bool WritesStorablePositions(std::uint8_t mode, std::uint8_t type, double x1, double y1, double x2, double y2,
                             double x3, double y3, double x4, double y4) {
    switch (mode) {
        case StoreChainOpen: return HasStorablePositions(type, x1, y1, 0, 0, 0, 0, 0, 0);
        case StoreChainVertex2: return HasStorablePositions(type, 0, 0, x2, y2, 0, 0, 0, 0);
        case StoreChainVertex3: return HasStorablePositions(type, 0, 0, 0, 0, x3, y3, 0, 0);
        case StoreChainVertex4: return HasStorablePositions(type, 0, 0, 0, 0, 0, 0, x4, y4);
        case StoreChainCommit: return true;
        default: return HasStorablePositions(type, x1, y1, x2, y2, x3, y3, x4, y4);
    }
}

bool KnownMode(std::uint8_t mode) {
    return mode <= 7 || mode == StoreFromFile || mode == StoreImage;
}

}  // namespace

MapRecord* AppendedRecord(App& app, std::int32_t countBefore) {
    RecordStore& store = app.store;
    const int layer = store.CurrentLayer;
    if (store.Count(layer) != countBefore + 1) return nullptr;
    app.current.ModifiedFlag = -1;
    return &store.At(layer, countBefore);
}

void StoreRecord(App& app, std::uint8_t mode, std::uint8_t type, double x1, double y1, double x2,
                 double y2, double x3, double y3, double x4, double y4, const std::string& text) {
    try {
        if (!KnownMode(mode) || !WritesStorablePositions(mode, type, x1, y1, x2, y2, x3, y3, x4, y4)) return;
        auto& store = app.store;
        const int layer = store.CurrentLayer;
        const int slot = store.Count(layer);

        // A size that is no pen code refuses before anything is written; a size above 255 keeps
        // the text with pen 255 (the size itself lives in x2), as the DXF reader stores it.
        std::uint8_t sizedPen = 0;
        if (mode == StoreSizedText) {
            if (std::isnan(x2)) return;
            const double rounded = std::nearbyint(x2);  // halves to even
            if (rounded < 0) return;
            sizedPen = rounded > 255 ? 255 : static_cast<std::uint8_t>(rounded);
        }

        if (!HasRoom(app, 1)) return;
        MapRecord& r = store.At(layer, slot);
        bool commit = false;
        switch (mode) {
            case StoreFull:
                r.RecordType = type;
                r.RecordColor = app.current.CurrentColor;
                r.RecordPen = PenByte(app);
                SetVertices(r, x1, y1, x2, y2, x3, y3, x4, y4);
                r.RecordText = text;
                r.RecordFont = app.current.CurrentFont;
                commit = true;
                break;
            case StoreChainOpen:
                r.RecordType = type;
                r.RecordColor = app.current.CurrentColor;
                r.RecordPen = PenByte(app);
                SetVertices(r, x1, y1, 0, 0, 0, 0, 0, 0);
                r.RecordText = text;
                break;
            case StoreChainVertex2:
                r.RecordType = type;
                r.RecordX2 = x2; r.RecordY2 = y2;
                break;
            case StoreChainVertex3:
                r.RecordType = type;
                r.RecordX3 = x3; r.RecordY3 = y3;
                break;
            case StoreChainVertex4:
                r.RecordType = type;
                r.RecordX4 = x4; r.RecordY4 = y4;
                break;
            case StoreChainCommit:
                r.RecordType = type;
                commit = true;
                break;
            case StoreSizedText:
                r.RecordType = type;
                r.RecordColor = app.current.CurrentColor;
                r.RecordPen = sizedPen;
                SetVertices(r, x1, y1, x2, y2, x3, y3, x4, y4);
                r.RecordText = app.current.PendingText;
                r.RecordFont = app.current.CurrentFont;
                commit = true;
                break;
            case StoreSplitText: {
                r.RecordType = type;
                r.RecordColor = app.current.CurrentColor;
                r.RecordPen = PenByte(app);
                SetVertices(r, x1, y1, x2, y2, x3, y3, x4, y4);
                const std::string& sep = app.current.FieldSeparator;
                const size_t first = sep.empty() ? std::string::npos : text.find(sep);
                if (first == std::string::npos) {
                    r.RecordText = text;
                } else {
                    r.RecordText = text.substr(0, first);
                    const size_t from = first + sep.size();
                    const size_t second = text.find(sep, from);
                    r.RecordExtra = text.substr(from, second == std::string::npos ? std::string::npos
                                                                                 : second - from);
                }
                commit = true;
                break;
            }
            case StoreFromFile:
                r.RecordType = type;
                SetVertices(r, x1, y1, x2, y2, x3, y3, x4, y4);
                r.RecordText = text;
                commit = true;
                break;
            case StoreImage:
                r.RecordType = type;
                r.RecordPen = PenByte(app);
                SetVertices(r, x1, y1, x2, -y2, x3, y3, x4, y4);
                r.RecordText = text;
                commit = true;
                break;
            default:
                return;
        }
        if (commit) store.Count(layer) = slot + 1;
    } catch (...) {
        // The store procedures end quietly; what was written stays.
    }
}

void AddRecord2(App& app, std::uint8_t type, double x1, double y1, double x2, double y2,
                const std::string& text) {
    auto& store = app.store;
    const int layer = store.CurrentLayer;
    const int slot = store.Count(layer);
    if (!HasStorablePositions(type, x1, y1, x2, y2, 0, 0, 0, 0)) Raise(ErrOverflow);
    if (!HasRoom(app, 1)) Raise(ErrSubscriptOutOfRange);
    MapRecord& r = store.At(layer, slot);
    r.RecordType = type;
    r.RecordColor = app.current.CurrentColor;
    r.RecordPen = PenByte(app);
    r.RecordX1 = x1; r.RecordY1 = y1;
    r.RecordX2 = x2; r.RecordY2 = y2;
    r.RecordText = text;
}

void StorePolylineFromList(App& app, const std::string& fillCode) {
    try {
        auto& store = app.store;
        const int layer = store.CurrentLayer;
        const int head = store.Count(layer);
        const int n = ToInt16(Val(fillCode));
        const auto& polygon = app.selection.WorkPolygon;
        if (!std::all_of(polygon.begin(), polygon.end(), [](double v) { return IsStorableCoordinate(v); })) return;

        // Every pair of the list but the last is a boundary point.
        const int pairs = static_cast<int>(std::nearbyint(static_cast<double>(polygon.size()) / 2));
        const int points = std::clamp(pairs - 1, 0, static_cast<int>(polygon.size() / 2));
        const int chainRecords = std::max(1, (points + 3) / 4);
        if (!HasRoom(app, 1 + chainRecords)) return;

        const Rgb color = app.current.CurrentColor;
        MapRecord& h = store.At(layer, head);
        if (n >= 0) {
            h.RecordColor = color;
            h.RecordPen = 8;
            if (n == 5) {
                h.RecordType = 11;
                // Moved in from a string: GCC 12 warns falsely (-Wrestrict) when a literal is copied here.
                h.RecordText = std::string("5");
            } else {
                h.RecordType = 13;
                if (n >= 1 && n <= 3) {
                    h.RecordText = fillCode;
                } else if (n == 4) {
                    h.RecordText = std::string("216");
                } else if (n == 0) {
                    double m = Val(Mid(fillCode, 2));
                    if (m > 349) m -= 349;
                    h.RecordText = PlainNumberText(m);
                } else {
                    h.RecordText = PlainNumberText(static_cast<std::int32_t>(n > 349 ? n - 349 : n));
                }
            }
        }
        store.Count(layer) = head + 1;

        int slot = head + 1;
        // Opening a record may move the layer's slots: the pattern text is taken by value.
        auto openBoundary = [&](std::string patternText) -> MapRecord& {
            MapRecord& b = store.At(layer, slot);
            b.RecordType = 26;
            b.RecordColor = color;
            b.RecordPen = 8;
            b.RecordText = std::move(patternText);
            return b;
        };
        MapRecord* boundary = &openBoundary(store.Get(layer, head).RecordText);
        int used = 0;  // vertices filled in the current boundary record
        double minX = 0, minY = 0, maxX = 0, maxY = 0;
        for (int i = 0; i < points; ++i) {
            const double x = polygon[2 * static_cast<size_t>(i)];
            const double y = polygon[2 * static_cast<size_t>(i) + 1];
            if (i == 0) {
                minX = maxX = x;
                minY = maxY = y;
            } else {
                minX = std::min(minX, x); maxX = std::max(maxX, x);
                minY = std::min(minY, y); maxY = std::max(maxY, y);
            }
            if (used == 4) {
                boundary->RecordType = 30;
                store.Count(layer) = slot + 1;
                std::string pattern = boundary->RecordText;
                ++slot;
                boundary = &openBoundary(std::move(pattern));
                used = 0;
            }
            switch (used) {
                case 0: boundary->RecordX1 = x; boundary->RecordY1 = y; break;
                case 1: boundary->RecordX2 = x; boundary->RecordY2 = y; break;
                case 2: boundary->RecordX3 = x; boundary->RecordY3 = y; break;
                default: boundary->RecordX4 = x; boundary->RecordY4 = y; break;
            }
            ++used;
            boundary->RecordType = static_cast<std::uint8_t>(25 + used);
        }
        store.Count(layer) = slot + 1;

        // The head's corners are the box of the points, and its Z4 the slots of the group.
        MapRecord& headRecord = store.At(layer, head);
        headRecord.RecordX1 = minX; headRecord.RecordY1 = maxY;
        headRecord.RecordX2 = maxX; headRecord.RecordY2 = maxY;
        headRecord.RecordX3 = maxX; headRecord.RecordY3 = minY;
        headRecord.RecordX4 = minX; headRecord.RecordY4 = minY;
        headRecord.RecordZ4 = static_cast<float>(slot + 1 - head);
    } catch (...) {
        // Ends quietly; what was written stays.
    }
}

}  // namespace movra
