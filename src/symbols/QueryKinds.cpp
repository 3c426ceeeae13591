#include "symbols/QueryKinds.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/RecordTypes.h"
#include "symbols/Attributes.h"

namespace movra {

namespace {

// The types a kind examines.
bool AnyType(int) { return true; }
bool BoundaryPointTypes(int t) { return t >= TypeParcelPoints1 && t <= TypeParcelPoints4; }
bool ParcelNumberType(int t) { return t == TypeText; }
bool BoundaryEdgeTypes(int t) { return t >= TypeParcelEdgeSolid && t <= TypeParcelEdgeDashed; }
bool AttributeTypes(int t) { return IsAttributeRecordType(t); }
bool SymbolCodeTypes(int t) {
    return t == TypeLineTypeSegment || t == TypePointSymbol || (t >= TypeLineTypeLine2 && t <= TypeLineTypeLineChain);
}
bool TextTypes(int t) { return t == TypeText || (t >= TypeText65 && t <= TypeTurnedText68); }

using Match = bool (*)(const App&, const MapRecord&, const QueryTerms&);

bool TextEquals(const App&, const MapRecord& r, const QueryTerms& q) { return r.RecordText == q.text; }
bool TextOrExtraEquals(const App&, const MapRecord& r, const QueryTerms& q) {
    return r.RecordText == q.text || r.RecordExtra == q.text;
}
bool AnyZEquals(const App&, const MapRecord& r, const QueryTerms& q) {
    return r.RecordZ1 == q.single || r.RecordZ2 == q.single || r.RecordZ3 == q.single || r.RecordZ4 == q.single;
}
// Differs by less than 0.01 in x and in y.
bool Near(double x, double y, const QueryTerms& q) { return std::abs(x - q.x) < 0.01 && std::abs(y - q.y) < 0.01; }
bool AnyVertexNear(const App&, const MapRecord& r, const QueryTerms& q) {
    return Near(r.RecordX1, r.RecordY1, q) || Near(r.RecordX2, r.RecordY2, q) || Near(r.RecordX3, r.RecordY3, q) ||
           Near(r.RecordX4, r.RecordY4, q);
}
bool AttributeLineEquals(const App& app, const MapRecord& r, const QueryTerms& q) {
    std::string line;
    return AttributeLine(app, std::string(r.RecordText), q.fieldIndex, line) && line == q.text;
}
bool HeightEquals(const App&, const MapRecord& r, const QueryTerms& q) { return r.RecordX2 == q.number; }
bool FontEquals(const App&, const MapRecord& r, const QueryTerms& q) { return r.RecordFont == q.text; }
bool SlantEquals(const App&, const MapRecord& r, const QueryTerms& q) { return r.RecordZ2 == q.single; }
bool Class0FieldEquals(const App&, const MapRecord& r, const QueryTerms& q) {
    switch (q.fieldIndex) {
        case FieldName: return r.RecordText == q.text;
        case FieldHouseNumber: return r.RecordExtra == q.text;
        case FieldPhone1:
        case FieldPhone2: return r.RecordX4 == q.number || r.RecordY4 == q.number;
        case FieldArea: return r.RecordX3 == q.number;
        case FieldHeight: return r.RecordZ4 == q.single;
        default: return false;
    }
}

struct KindRow {
    std::uint8_t kind;
    bool (*examines)(int type);
    Match matches;
    bool needsNumber;
};

constexpr std::array<KindRow, 12> OptionKinds = {{
    {QueryAnnotation, AnyType, TextEquals, false},
    {QueryElevation, AnyType, AnyZEquals, true},
    {QueryPointName, AnyType, TextEquals, false},
    {QueryBoundaryPointNumber, BoundaryPointTypes, AnyZEquals, true},
    {QueryParcelNumber, ParcelNumberType, TextEquals, false},
    {QueryBoundaryEdge, BoundaryEdgeTypes, TextOrExtraEquals, false},
    {QueryCoordinates, AnyType, AnyVertexNear, false},
    {QueryAttribute, AttributeTypes, AttributeLineEquals, false},
    {QueryLineType, SymbolCodeTypes, TextEquals, false},
    {QueryTextHeight, TextTypes, HeightEquals, true},
    {QueryFont, TextTypes, FontEquals, false},
    {QuerySlant, TextTypes, SlantEquals, true},
}};

// The row of a kind; the classes share one row per class, examining their own type.
const KindRow* RowOf(std::uint8_t kind) {
    static const KindRow class0{QueryClass0, [](int t) { return t == QueryClass0; }, Class0FieldEquals, false};
    static const std::array<KindRow, 4> classes = {{
        {QueryClass1, [](int t) { return t == QueryClass1; }, AttributeLineEquals, false},
        {QueryClass2, [](int t) { return t == QueryClass2; }, AttributeLineEquals, false},
        {QueryClass3, [](int t) { return t == QueryClass3; }, AttributeLineEquals, false},
        {QueryClass4, [](int t) { return t == QueryClass4; }, AttributeLineEquals, false},
    }};
    if (kind >= QueryAnnotation && kind <= QuerySlant) return &OptionKinds[kind - QueryAnnotation];
    if (kind == QueryClass0) return &class0;
    if (kind >= QueryClass1 && kind <= QueryClass4) return &classes[static_cast<std::size_t>(kind - QueryClass1)];
    return nullptr;
}

// Types 1 to 99 hold records; 0 is an empty slot and 100 and above a deleted record.
bool HoldsRecord(int type) { return type > 0 && type < 100; }

}  // namespace

double QueryNumber(const std::string& text) {
    try {
        return Val(text);
    } catch (...) {
        return NumericPrefix(text);
    }
}

QueryTerms MakeQueryTerms(const App& app, const std::string& typed, std::uint8_t fieldIndex) {
    QueryTerms q;
    q.text = Trim(typed);
    q.number = QueryNumber(q.text);
    q.single = static_cast<float>(q.number);
    q.fieldIndex = fieldIndex;
    const std::string& separator = app.current.FieldSeparator;
    const std::size_t at = separator.empty() ? std::string::npos : q.text.find(separator);
    q.x = QueryNumber(q.text.substr(0, at));
    q.y = at == std::string::npos ? 0 : QueryNumber(q.text.substr(at + separator.size()));
    return q;
}

bool QueryNeedsNumber(std::uint8_t kind) {
    const KindRow* row = RowOf(kind);
    return row && row->needsNumber;
}

bool IsQueryHit(const App& app, std::uint8_t kind, const MapRecord& record, const QueryTerms& terms) {
    const KindRow* row = RowOf(kind);
    return row && HoldsRecord(record.RecordType) && row->examines(record.RecordType) &&
           row->matches(app, record, terms);
}

bool AttributeLine(const App& app, const std::string& text, std::size_t index, std::string& line) {
    const std::vector<std::string> lines = SplitLines(app, text);
    if (index >= lines.size()) return false;
    line = lines[index];
    return true;
}

int ScanForHits(App& app, std::uint8_t kind, const QueryTerms& terms, int limit,
                const std::function<void(int layer, int slot)>& onHit) {
    const RecordStore& store = app.store;
    int hits = 0;
    const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());
    for (int layer = 1; layer <= lastLayer; ++layer) {
        const std::int32_t count = store.Count(layer);
        // A layer that holds any record is searched; the records lie below the count.
        if (store.LayerOnFlag[static_cast<std::size_t>(layer)] != -1 || count < 1) continue;
        const int end = std::min<int>(count, store.LayerCapacity + 1);
        for (int slot = 0; slot < end; ++slot) {
            if (hits >= limit) return hits;
            try {
                if (!IsQueryHit(app, kind, store.Get(layer, slot), terms)) continue;
                ++hits;
                onHit(layer, slot);
            } catch (...) {
                // One record that fails does not end the scan.
            }
        }
    }
    return hits;
}

}  // namespace movra
