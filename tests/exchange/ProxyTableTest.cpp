// The proxy table: loading from the item stream and the three lookups with their row limits and
// defaults; and the shipped table.
#include <gtest/gtest.h>

#include <fstream>

#include "ExchangeTestMaps.h"
#include "exchange/ProxyTable.h"
#include "symbols/TusItem.h"

namespace movra {
namespace {

using namespace exchange_test;

ProxyTable Loaded(const std::string& source) {
    ProxyTable table;
    LoadProxyTableFrom(table, EncodeTusSource(source));
    return table;
}

// n rows "k<i>", kind 1, code <i>, name "nm<i>", then the end item.
std::string Rows(int n) {
    std::string s;
    for (int i = 0; i < n; ++i) {
        const std::string k = std::to_string(i);
        s += "k" + k + "\n1\n" + k + "\nnm" + k + "\n";
    }
    return s + "end\n";
}

TEST(ProxyTable, LoadsRowsUpToTheEndItem) {
    ProxyTable first = Loaded("End\nk\n41\n350\nx\n");
    EXPECT_EQ(first.ProxyTableLoaded, -1);
    ASSERT_EQ(first.rows.size(), 1u);

    ProxyTable t = Loaded(" 围墙 \n 41 \n 350 \n 围墙墙a , 围墙, 墙 \nGC1\n15\n7\n水准点\n END \nafter\n");
    EXPECT_EQ(t.ProxyTableLoaded, -1);
    ASSERT_EQ(t.rows.size(), 3u);  // two rows and the empty one
    EXPECT_EQ(t.rows[0][0], "围墙");
    EXPECT_EQ(t.rows[0][3], "围墙墙a");
    EXPECT_TRUE(t.rows[2][0].empty());

    // The end of the stream ends the table; a cut item leaves it not loaded.
    EXPECT_EQ(Loaded("a\n1\n2\nb\n").ProxyTableLoaded, -1);
    ProxyTable cut;
    const std::string bytes = EncodeTusSource("a\n1\n2\nbbbb\n");
    LoadProxyTableFrom(cut, std::string_view(bytes).substr(0, bytes.size() - 2));
    EXPECT_EQ(cut.ProxyTableLoaded, 0);
}

TEST(ProxyTable, LookupsFindTheFirstRowIgnoringCase) {
    ProxyTable t = Loaded("GC1\n41\n350\nWall\ngc1\n15\n9\nWall\nX\n15\n3\n水准点a\nend\n");
    EXPECT_EQ(ProxyLookupByKey(t, "Gc1"), "350");
    EXPECT_EQ(t.ProxyLookupResult, "41");
    EXPECT_EQ(ProxyLookupByCode(t, "WALL"), "350");
    EXPECT_EQ(ProxyLookupByCodeA(t, "水准点"), "3");
    EXPECT_EQ(t.ProxyLookupResult, "15");

    // Misses in a short table: nothing, and the kind kept (or "15" for blocks).
    t.ProxyLookupResult = "41";
    EXPECT_EQ(ProxyLookupByKey(t, "none"), "");
    EXPECT_EQ(ProxyLookupByCode(t, "ABCDE"), "");
    EXPECT_EQ(t.ProxyLookupResult, "41");
    EXPECT_EQ(ProxyLookupByCodeA(t, "ABCDE"), "");
    EXPECT_EQ(t.ProxyLookupResult, "15");
    // An empty key finds the empty last row.
    EXPECT_EQ(ProxyLookupByKey(t, ""), "");
    EXPECT_EQ(t.ProxyLookupResult, "");
}

TEST(ProxyTable, AFullTableSearchesItsFixedRowsAndGivesDefaults) {
    ProxyTable t = Loaded(Rows(1000));
    EXPECT_EQ(ProxyLookupByKey(t, "k910"), "910");
    EXPECT_EQ(ProxyLookupByKey(t, "k911"), "");  // past the rows searched
    EXPECT_EQ(ProxyLookupByCode(t, "ABCDE"), "CDE");
    EXPECT_EQ(t.ProxyLookupResult, "1");
    EXPECT_EQ(ProxyLookupByCodeA(t, "nm905"), "905");
    EXPECT_EQ(ProxyLookupByCodeA(t, "nm906"), "906");  // not found: the kind tells
    EXPECT_EQ(t.ProxyLookupResult, "15");
}

TEST(ProxyTable, TheShippedTableLoadsAndAMissingOneIsEmpty) {
    TestApp t;
    ProxyTable missing;
    LoadProxyTable(t.app, missing);
    EXPECT_EQ(missing.ProxyTableLoaded, -1);
    EXPECT_EQ(missing.rows.size(), 1u);

    std::filesystem::copy_file(std::string(MOVRA_TEST_PROGRAM_DIR) + "/" + ProxyTableFile,
                               t.programFolder.Str() + "/" + ProxyTableFile);
    ProxyTable shipped;
    LoadProxyTable(t.app, shipped);
    EXPECT_EQ(shipped.ProxyTableLoaded, -1);
    EXPECT_EQ(ProxyLookupByCode(shipped, "围墙"), "350");
    EXPECT_EQ(shipped.ProxyLookupResult, "41");
    EXPECT_EQ(ProxyLookupByCodeA(shipped, "水准点"), "7");
}

}  // namespace
}  // namespace movra
