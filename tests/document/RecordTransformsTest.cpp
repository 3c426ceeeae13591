// Turning, shifting and mirroring the selection, record type by record type.
#include <cmath>

#include "document/UndoTestFixture.h"
#include "document/RecordTransforms.h"

namespace movra {
namespace {

using SelectionTransformTest = UndoFixture;

MapRecord Record(int type) {
    MapRecord r;
    r.RecordType = static_cast<std::uint8_t>(type);
    r.RecordX1 = 1; r.RecordY1 = 2;
    r.RecordX2 = 3; r.RecordY2 = 4;
    r.RecordX3 = 5; r.RecordY3 = 6;
    r.RecordX4 = 7; r.RecordY4 = 8;
    r.RecordZ2 = 30;
    return r;
}

// Which vertices a move of (100, 0) shifts, as a mask.
int MovedMask(App& app, const MapRecord& r) {
    app.store.At(1, 0) = r;
    app.selection.SelectionList = {{2, 0}, {1, 0}};
    平移后(app, -100, 0, 0, 0, 255);
    const MapRecord& m = app.store.Get(1, 0);
    const double before[] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
    const double after[] = {m.RecordX1, m.RecordX2, m.RecordX3, m.RecordX4};
    int mask = 0;
    for (int v = 0; v < 4; ++v)
        if (after[v] != before[v]) mask |= 1 << v;
    return mask;
}

TEST_F(SelectionTransformTest, EachRecordTypeMovesItsOwnVertices) {
    struct Case {
        int type;
        int mask;
    };
    for (Case c : {Case{7, 0b0001}, Case{8, 0b0001}, Case{9, 0b0001}, Case{15, 0b0001}, Case{12, 0b0011},
                   Case{23, 0b0111}, Case{6, 0b1111}, Case{25, 0b1111}, Case{32, 0b0011}, Case{34, 0b1111},
                   Case{47, 0b0011}, Case{71, 0b0001}, Case{73, 0b0111}, Case{75, 0b1111}, Case{61, 0b1001},
                   Case{62, 0b1001}, Case{66, 0b0001}, Case{26, 0b0001}, Case{28, 0b0111}, Case{11, 0b1111},
                   Case{36, 0b1111}, Case{80, 0b1111}, Case{70, 0b0001}, Case{99, 0b0001}, Case{102, 0b0001}}) {
        EXPECT_EQ(MovedMask(app, Record(c.type)), c.mask) << "type " << c.type;
    }
    // Ticks end at the first unset vertex.
    MapRecord ticks = Record(80);
    ticks.RecordX2 = 0;
    ticks.RecordY2 = 0;
    EXPECT_EQ(MovedMask(app, ticks), 0b0001);
}

TEST_F(SelectionTransformTest, TheMirrorsTakeTheSameVerticesAndUndoThemselves) {
    for (int type = 0; type < 256; ++type) {
        const MapRecord r = Record(type);
        app.store.At(1, 0) = r;
        app.selection.SelectionList = {{2, 0}, {1, 0}};
        X镜像(app, 10, 0, 1);
        MapRecord once = app.store.Get(1, 0);
        const VertexSet set = TransformVertices(type);
        if (type != 11 && type != 13) {
            EXPECT_EQ(once.RecordX1, 19) << type;
            EXPECT_EQ(once.RecordX4, (set.Mask & 8) ? 13 : 7) << type;
        }
        EXPECT_EQ(once.RecordZ2, 30);
        X镜像(app, 10, 0, 1);
        EXPECT_EQ(app.store.Get(1, 0), r) << type;
        Y镜像(app, 0, -1, 1);
        Y镜像(app, 0, -1, 1);
        EXPECT_EQ(app.store.Get(1, 0), r) << type;
    }
}

TEST_F(SelectionTransformTest, AMirroredFillHeadKeepsItsBoxCornersInOrder) {
    // Upper left, upper right, lower right, lower left.
    MapRecord head;
    head.RecordType = 13;
    head.RecordX1 = 0; head.RecordY1 = 10;
    head.RecordX2 = 20; head.RecordY2 = 10;
    head.RecordX3 = 20; head.RecordY3 = 0;
    head.RecordX4 = 0; head.RecordY4 = 0;
    app.store.At(1, 0) = head;
    Select({{1, 0}});
    X镜像(app, 0, 0, 0);  // about its P1: x' = -x
    const MapRecord& m = R(1, 0);
    EXPECT_EQ(m.RecordX1, -20);
    EXPECT_EQ(m.RecordY1, 10);
    EXPECT_EQ(m.RecordX2, 0);
    EXPECT_EQ(m.RecordX3, 0);
    EXPECT_EQ(m.RecordY3, 0);
    EXPECT_EQ(m.RecordX4, -20);
    Y镜像(app, 0, 0, 1);
    EXPECT_EQ(R(1, 0).RecordY1, 0);
    EXPECT_EQ(R(1, 0).RecordY4, -10);
    EXPECT_EQ(R(1, 0).RecordX2, 0);
}

TEST_F(SelectionTransformTest, AMirrorAboutTheFirstRecordKeepsItsFirstVertex) {
    Add(1, 2, 5, 5, 9, 1);
    Add(1, 7, 8, 8, 3, 1);  // a circle: radius and aspect stay
    Select({{1, 0}, {1, 1}});
    Y镜像(app, 0, 0, 0);
    EXPECT_EQ(R(1, 0).RecordY1, 5);
    EXPECT_EQ(R(1, 0).RecordY2, 9);
    EXPECT_EQ(R(1, 1).RecordY1, 2);
    EXPECT_EQ(R(1, 1).RecordX2, 3);
    EXPECT_EQ(R(1, 1).RecordY2, 1);
    EXPECT_EQ(app.tool.RubberShown, -1);
}

TEST_F(SelectionTransformTest, AMovePutsTheFirstVertexOnThePoint) {
    Add(1, 2, 1.25, 2.5, 3, 4);
    Add(1, 15, 10, 10);
    Select({{1, 0}, {1, 1}});
    平移后(app, 100.125, -7, 0, 0, 0);
    EXPECT_EQ(R(1, 0).RecordX1, 100.125);
    EXPECT_EQ(R(1, 0).RecordY1, -7);
    EXPECT_DOUBLE_EQ(R(1, 1).RecordX1, 108.875);
    EXPECT_DOUBLE_EQ(R(1, 1).RecordY1, 0.5);
}

TEST_F(SelectionTransformTest, TheRotationTurnsAboutThePivotAndReAnglesALoneText) {
    Add(1, 2, 0, 0, 10, 0);
    Add(1, 8, 0, 10, 4, 1);  // an arc keeps its radius, aspect and angles
    app.store.At(1, 1).RecordX3 = 0.5;
    Select({{1, 0}, {1, 1}});
    旋转后(app, 5, 5, 5, 5, 1);  // the same direction twice: no turn
    EXPECT_EQ(R(1, 0).RecordX2, 10);
    旋转后(app, 1, 0, 0, -1, 1);  // east to south
    EXPECT_NEAR(R(1, 0).RecordX2, 0, 1e-9);
    EXPECT_NEAR(R(1, 0).RecordY2, -10, 1e-9);
    EXPECT_NEAR(R(1, 1).RecordX1, 10, 1e-9);
    EXPECT_NEAR(R(1, 1).RecordY1, 0, 1e-9);
    EXPECT_EQ(R(1, 1).RecordX2, 4);
    EXPECT_EQ(R(1, 1).RecordX3, 0.5);

    // A lone text points from its P1 towards the second point, with a whole degree of 180/π.
    Add(1, 64, 50, 50);
    app.store.At(1, 2).RecordZ2 = 12;
    Select({{1, 2}});
    旋转后(app, 50, 60, 60, 51, 1);  // azimuth 84.29°
    EXPECT_EQ(R(1, 2).RecordType, 66);
    EXPECT_EQ(R(1, 2).RecordZ2, 90 - 84);
    EXPECT_EQ(R(1, 2).RecordX1, 50);
    app.tool.AnchorX = 0;
    app.tool.AnchorY = 0;
    旋转后(app, 0, 1, 1, 0, 255);  // about the anchor; the text is turned and pointed east
    EXPECT_NEAR(R(1, 2).RecordX1, 50, 1e-9);
    EXPECT_NEAR(R(1, 2).RecordY1, -50, 1e-9);
    EXPECT_EQ(R(1, 2).RecordZ2, 0);
}

TEST_F(SelectionTransformTest, NothingSelectedChangesNothingAndBadEntriesAreReported) {
    Add(1, 2, 1, 1, 2, 2);
    Select({});
    平移后(app, 5, 5, 0, 0, 0);
    X镜像(app, 0, 0, 0);
    旋转后(app, 0, 1, 1, 0, 1);
    EXPECT_EQ(R(1, 0).RecordX1, 1);
    Select({{1, 0}, {7, 3}});
    平移后(app, 5, 5, 0, 0, 0);
    EXPECT_EQ(t.form1.Text2.Text(), "下标越界9");
    EXPECT_EQ(R(1, 0).RecordX1, 5);  // what was moved before the failure stays moved
}

}  // namespace
}  // namespace movra
