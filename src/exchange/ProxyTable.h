#pragma once
// The table that turns what other programs' DXF files say about a feature (the "SOUTH" feature
// keys of their extended data, line-type names, block names) into our own kind and code. It is a
// data file in the program folder, item stream of the symbol-standard form, four items a row:
// key, kind, code, names (the first of a comma list counts); an item "end" closes it.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

struct App;

inline constexpr const char* ProxyTableFile = "图形代理.tus";

struct ProxyTable {
    // Rows of key, kind, code, name; after a load the rows read and one empty row.
    std::vector<std::array<std::string, 4>> rows;
    // -1 once a load reached the end item (or the end of the file, or found no file).
    std::int16_t ProxyTableLoaded = 0;
    // The kind of the row the last lookup found, or the default of a miss.
    std::string ProxyLookupResult;
};

// Reads the table from item-stream bytes. A stream cut inside an item keeps the rows read and
// leaves the table not loaded.
void LoadProxyTableFrom(ProxyTable& table, std::string_view bytes);
// Reads ProxyTableFile from the work folder or the program folder; a missing file gives an empty,
// loaded table.
void LoadProxyTable(App& app, ProxyTable& table);

// Searches the keys: the code of the first matching row (letter case ignored), its kind into
// ProxyLookupResult; empty and ProxyLookupResult unchanged when none matches.
std::string ProxyLookupByKey(ProxyTable& table, std::string_view key);
// Searches the names for a line-type name. A miss in a full table gives kind "1" and the name
// without its first two characters; a miss in a shorter table gives empty and no kind.
std::string ProxyLookupByCode(ProxyTable& table, std::string_view key);
// Searches the names for a block name, also in its form with "a" appended. A miss gives kind
// "15"; in a full table also the name without its first two characters.
std::string ProxyLookupByCodeA(ProxyTable& table, std::string_view key);

}  // namespace movra
