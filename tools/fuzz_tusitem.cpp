// libFuzzer target: any bytes as a symbol-standard file. The readers must stop cleanly and
// never touch memory outside the tables.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "symbols/TusFile.h"
#include "symbols/TusItem.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace movra;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    TusItemReader items(bytes);
    while (items.Next()) {
    }

    static SymbolStandard standard;
    DimensionSymbolTables(standard);
    DimensionLineTypeTables(standard);
    TusItemReader pointItems(bytes);
    ReadSymbolDefinitions(standard, pointItems);
    TusItemReader lineItems(bytes);
    ReadLineTypes(standard, lineItems);
    return 0;
}
