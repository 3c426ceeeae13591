#include "exchange/PointLists.h"

#include <algorithm>

#include "App.h"
#include "basic/Text.h"
#include "document/StoreRecord.h"

namespace movra {

int PointFieldOrder::FieldsNeeded() const {
    int needed = 0;
    for (PointField field : {PointNameField, PointNorthField, PointEastField, PointElevationField})
        needed = std::max(needed, Column(field) + 1);
    return needed;
}

PointFieldOrder ParsePointFieldOrder(const std::string& order) {
    PointFieldOrder result;
    int column = 0;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = order.find(',', start);
        // "2, 3, 4" as typed with blanks after the commas names the same columns as "2,3,4".
        const std::string token = Trim(order.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
        if (token.size() == 1 && token[0] >= '1' && token[0] <= '7')
            result.columns[static_cast<std::size_t>(token[0] - '0')] = column;
        if (comma == std::string::npos) break;
        start = comma + 1;
        ++column;
    }
    return result;
}

MapRecord& OpenPointSlot(App& app, std::uint8_t type, double x, double y, double x2, const std::string& text) {
    RecordStore& store = app.store;
    if (store.Count(store.CurrentLayer) + 2 > store.LayerCapacity) GrowLayerCapacity(app);
    AddRecord2(app, type, x, y, x2, 0, text);
    return store.At(store.CurrentLayer, store.Count(store.CurrentLayer));
}

}  // namespace movra
