#include <gtest/gtest.h>

#include "display/Pens.h"
#include "document/RecordTypes.h"
#include "platform/fake/RecordingSurface.h"

namespace movra {
namespace {

TEST(PenRule, SetsWidthThenStyleOnlyWhenTheCodeChanges) {
    struct Case {
        std::uint8_t cache, pen;
        std::vector<SurfaceStateCall> calls;
    } cases[] = {
        {9, 9, {}},
        {3, 9, {{"DrawWidth", 3}, {"DrawStyle", 0}}},
        {2, 7, {{"DrawWidth", 1}, {"DrawStyle", 0}}},
        {9, 1, {{"DrawWidth", 1}, {"DrawStyle", 1}}},
        {0, 6, {{"DrawWidth", 1}, {"DrawStyle", 6}}},
        {0, 255, {{"DrawWidth", 249}, {"DrawStyle", 0}}},
    };
    for (const Case& c : cases) {
        RecordingSurface canvas;
        std::uint8_t cache = c.cache;
        ApplyPenRule(canvas, c.pen, cache);
        EXPECT_EQ(canvas.stateCalls, c.calls) << "pen " << int(c.pen) << " after " << int(c.cache);
        EXPECT_EQ(cache, c.pen);
    }
}

TEST(RecordTypes, ChainFamiliesAndTheDeletedMark) {
    EXPECT_EQ(ChainVertexCount(TypePenLine3), 3);
    EXPECT_EQ(ChainVertexCount(TypeLineTypeLineChain), 4);
    EXPECT_EQ(ChainVertexCount(TypeSpecialLineEnd), 1);
    EXPECT_EQ(ChainVertexCount(TypeQuad), 0);
    for (int type : {5, 30, 45, 75, 95}) EXPECT_TRUE(ContinuesToNextSlot(type)) << type;
    for (int type : {4, 6, 25, 44, 96, 105}) EXPECT_FALSE(ContinuesToNextSlot(type)) << type;
    EXPECT_TRUE(IsDeletedType(105));
    EXPECT_FALSE(IsDeletedType(99));
    EXPECT_EQ(TickRecordWidth(0), 1);
    EXPECT_EQ(TickRecordWidth(4), 4);
}

}  // namespace
}  // namespace movra
