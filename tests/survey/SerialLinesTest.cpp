#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "basic/Gbk.h"
#include "survey/SerialLines.h"

namespace movra {
namespace {

using Lines = std::vector<std::string>;

// Feeds the pieces one after the other; every line completed, in order.
Lines Collect(SerialLineCollector& lines, const std::vector<std::string>& pieces) {
    Lines taken;
    for (const std::string& piece : pieces)
        for (std::string& line : lines.Add(piece)) taken.push_back(std::move(line));
    return taken;
}

TEST(SerialLines, ALineIsTakenOnlyWhenItsEndHasArrived) {
    const std::string gbk = ToGbk("1,树,0,2.5,3,4");
    const size_t inside = gbk.find(',', 2) - 1;  // between the two bytes of 树
    struct Case {
        const char* what;
        std::vector<std::string> pieces;
        Lines lines;
        std::string pending;
    };
    for (const Case& c : std::vector<Case>{
             {"whole", {"a,b\r\n"}, {"a,b"}, ""},
             {"in pieces, CR LF split", {"a,", "b\r", "\nc"}, {"a,b"}, "c"},
             {"two in one read", {"a\r\nb\r\nc,"}, {"a", "b"}, "c,"},
             {"CR alone and LF alone end lines", {"a\rb\nc\r\n"}, {"a", "b", "c"}, ""},
             {"ETX ends a record", {"a,b\x03", "c\x03" "d"}, {"a,b", "c"}, "d"},
             {"empty lines are no records", {"\r\n\r\n\n", "a\r\n"}, {"a"}, ""},
             {"no end yet", {"0,K2,0,100.215,0.0005,0.0000"}, {}, "0,K2,0,100.215,0.0005,0.0000"},
             {"a character cut between reads", {gbk.substr(0, inside), gbk.substr(inside) + "\r\n"}, {gbk}, ""},
         }) {
        SerialLineCollector collector;
        EXPECT_EQ(Collect(collector, c.pieces), c.lines) << c.what;
        EXPECT_EQ(collector.Pending(), c.pending) << c.what;
    }
}

TEST(SerialLines, AnOverlongLineIsDroppedUpToItsEndOrAPause) {
    SerialLineCollector collector(16);
    // Its tail, when the end comes, is no record either; the line after it is.
    EXPECT_EQ(Collect(collector, {"0123456789", "0123456789", "9,8,7,6,5"}), Lines{});
    EXPECT_TRUE(collector.Pending().empty());
    EXPECT_EQ(Collect(collector, {"\r\n1,2,3,4,5,6\r\n"}), Lines{"1,2,3,4,5,6"});
    // Noise without line ends never holds more than a line's worth.
    for (int k = 0; k < 1000; ++k) collector.Add("noise-noise-");
    EXPECT_LE(collector.Pending().size(), 16u);
    // A pause ends the line in progress, but never the tail of an overlong one.
    EXPECT_EQ(Collect(collector, {"\r\n1,2,3,4"}), Lines{});
    EXPECT_TRUE(collector.InProgress());
    EXPECT_EQ(collector.EndPending(), "1,2,3,4");
    EXPECT_FALSE(collector.InProgress());
    EXPECT_EQ(collector.EndPending(), "");
    collector.Add("0123456789abcdefgh");
    EXPECT_TRUE(collector.InProgress());
    EXPECT_EQ(collector.EndPending(), "");
    EXPECT_EQ(Collect(collector, {"5,6\x03"}), Lines{"5,6"});
    // Forgetting the line in progress: what comes next starts a line.
    collector.Clear();
    collector.Add("abc");
    collector.Clear();
    EXPECT_EQ(Collect(collector, {"x\r\n"}), Lines{"x"});
}

}  // namespace
}  // namespace movra
