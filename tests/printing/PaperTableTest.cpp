#include <gtest/gtest.h>

#include <set>
#include <string>

#include "printing/PaperTable.h"

namespace movra {
namespace {

TEST(PaperTableTest, ExactNamesGiveTheFirstRowsCode) {
    const struct {
        const char* name;
        float code;
    } cases[] = {
        {"A4", 9},           {"纸规格_A4", 9},       {"a4", 0},           {"A4 ", 0},
        {" A4", 0},          {"纸规格_FIRST", 1},    {"纸规格_LETTER", 1}, {"纸规格_LAST", 41},
        {"纸规格_FANFOLD_LGL_GERMAN", 41},           {"纸规格_USER", 256}, {"A0", 57},
        {"纸规格_A_PLUS", 57}, {"纸规格_A3_EXTRA_TRANSVERSE", 68},       {"", 0},
        {"纸规格_", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(PaperCodeForName(c.name), c.code) << c.name;
}

TEST(PaperTableTest, HoldsSeventySixRowsAndListsTheSeventyOneLongNamesInOrder) {
    ASSERT_EQ(PaperTable().size(), 76u);
    const auto names = PaperListNames();
    ASSERT_EQ(names.size(), 71u);
    EXPECT_EQ(names.front(), "纸规格_10X11");
    EXPECT_EQ(names[5], "纸规格_A_PLUS");
    EXPECT_EQ(names[6], "纸规格_A2");  // "A0" is no list item
    EXPECT_EQ(names[33], "纸规格_ENV_B6");
    EXPECT_EQ(names.back(), "纸规格_USER");
    std::set<std::string> distinct(names.begin(), names.end());
    EXPECT_EQ(distinct.size(), 71u);
    // Every short name follows the long name whose code it shares.
    const auto rows = PaperTable();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (std::string(rows[i].name).rfind("纸规格_", 0) == 0) continue;
        ASSERT_GT(i, 0u);
        EXPECT_EQ(rows[i].code, rows[i - 1].code) << rows[i].name;
    }
}

}  // namespace
}  // namespace movra
