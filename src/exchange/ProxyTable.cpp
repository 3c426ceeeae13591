#include "exchange/ProxyTable.h"

#include "App.h"
#include "basic/Files.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "symbols/TusItem.h"

namespace movra {

namespace {

// The lookups see a fixed number of rows; rows after them are never found.
constexpr size_t KeyAndCodeRows = 911;
constexpr size_t BlockRows = 906;

std::string FirstName(std::string_view names) {
    const std::string all = Trim(names);
    const size_t comma = all.find(',');
    return Trim(comma == std::string::npos ? all : all.substr(0, comma));
}

// Index of the first row whose column matches, within the limit; -1 when none matches and the
// whole limit was searched, -2 when the table ended before the limit.
template <class Match>
long FindRow(const ProxyTable& table, size_t limit, Match match) {
    const size_t searched = std::min(limit, table.rows.size());
    for (size_t i = 0; i < searched; ++i)
        if (match(table.rows[i])) return static_cast<long>(i);
    return table.rows.size() >= limit ? -1 : -2;
}

std::string Found(ProxyTable& table, long row) {
    const auto& r = table.rows[static_cast<size_t>(row)];
    table.ProxyLookupResult = r[1];
    return r[2];
}

std::string WithoutFirstTwo(std::string_view key) {
    return key.size() <= 2 ? std::string() : std::string(key.substr(2));
}

}  // namespace

void LoadProxyTableFrom(ProxyTable& table, std::string_view bytes) {
    table.rows.assign(1, {});
    table.ProxyTableLoaded = 0;
    TusItemReader items(bytes);
    for (;;) {
        std::optional<std::string> key = items.Next();
        // The end of the stream ends the table as the end item does; a cut or damaged item does not.
        if (!key) {
            if (!items.Truncated() && !items.Damaged()) table.ProxyTableLoaded = -1;
            return;
        }
        if (EqualsIgnoreCase(Trim(*key), "end")) {
            table.ProxyTableLoaded = -1;
            return;
        }
        std::array<std::optional<std::string>, 3> rest{items.Next(), items.Next(), items.Next()};
        if (items.Truncated() || items.Damaged()) return;
        auto& row = table.rows.back();
        row[0] = Trim(*key);
        row[1] = rest[0] ? Trim(*rest[0]) : std::string();
        row[2] = rest[1] ? Trim(*rest[1]) : std::string();
        row[3] = rest[2] ? FirstName(*rest[2]) : std::string();
        table.rows.emplace_back();
        if (!rest[2]) {
            table.ProxyTableLoaded = -1;
            return;
        }
    }
}

void LoadProxyTable(App& app, ProxyTable& table) {
    const std::string path = ResolveReadable(PathsFromFolders(app.platform.folders()), ProxyTableFile);
    std::string bytes;
    try {
        bytes = ReadWholeFile(path);
    } catch (const RuntimeError&) {
        table.rows.assign(1, {});
        table.ProxyTableLoaded = -1;
        return;
    }
    LoadProxyTableFrom(table, bytes);
}

std::string ProxyLookupByKey(ProxyTable& table, std::string_view key) {
    const long row = FindRow(table, KeyAndCodeRows, [&](const auto& r) { return EqualsIgnoreCase(r[0], key); });
    return row >= 0 ? Found(table, row) : std::string();
}

std::string ProxyLookupByCode(ProxyTable& table, std::string_view key) {
    const long row = FindRow(table, KeyAndCodeRows, [&](const auto& r) { return EqualsIgnoreCase(r[3], key); });
    if (row >= 0) return Found(table, row);
    if (row == -1) {
        table.ProxyLookupResult = "1";
        return WithoutFirstTwo(key);
    }
    return std::string();
}

std::string ProxyLookupByCodeA(ProxyTable& table, std::string_view key) {
    const std::string withA = std::string(key) + "a";
    const long row = FindRow(table, BlockRows, [&](const auto& r) {
        return EqualsIgnoreCase(r[3], withA) || EqualsIgnoreCase(r[3], key);
    });
    if (row >= 0) return Found(table, row);
    table.ProxyLookupResult = "15";
    return row == -1 ? WithoutFirstTwo(key) : std::string();
}

}  // namespace movra
