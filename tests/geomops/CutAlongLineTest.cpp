#include <gtest/gtest.h>

#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "document/Geometry.h"
#include "document/StoreRecord.h"
#include "geomops/CutAlongLine.h"
#include "platform/fake/RecordingSurface.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct P {
    double x, y;
};

class CutAlongLineTest : public ::testing::Test {
protected:
    CutAlongLineTest() {
        t.form1.Load();
        app.store.LayerOnFlag[1] = -1;
        app.store.Count(1) = 0;
        app.store.ClearFrom(1, 0);
    }
    RecordingSurface& Surface() { return static_cast<RecordingSurface&>(t.form1.Picture1.surface()); }

    int Add(std::uint8_t type, std::vector<P> v, std::vector<float> z = {}) {
        const int slot = app.store.Count(1)++;
        MapRecord& r = app.store.At(1, slot);
        r = MapRecord{};
        r.RecordType = type;
        r.RecordColor = 0x123456;
        r.RecordPen = 7;
        r.RecordSource = 3;
        r.RecordText = "L01";
        double* xs[4] = {&r.RecordX1, &r.RecordX2, &r.RecordX3, &r.RecordX4};
        double* ys[4] = {&r.RecordY1, &r.RecordY2, &r.RecordY3, &r.RecordY4};
        float* zs[4] = {&r.RecordZ1, &r.RecordZ2, &r.RecordZ3, &r.RecordZ4};
        for (std::size_t k = 0; k < v.size() && k < 4; ++k) {
            *xs[k] = v[k].x;
            *ys[k] = v[k].y;
            if (k < z.size()) *zs[k] = z[k];
        }
        return slot;
    }
    void Cut(P a, P b, std::uint8_t mode) { CutLinesAndAreas(app, a.x, a.y, b.x, b.y, mode); }
    std::vector<MapRecord> Layer() {
        std::vector<MapRecord> out;
        for (int k = 0; k < app.store.Count(1); ++k) out.push_back(app.store.Get(1, k));
        return out;
    }

    TestApp t;
    App& app = t.app;
};

// ---- The tables of line records and quadrilaterals.

// The vertices of a test record; Q is vertex 1 of the record after a chain record.
const P Named[] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}, {-5, 20}};
const char* const Names[] = {"P1", "P2", "P3", "P4", "Q"};

struct Row {
    const char* shape;  // "2", "3", "4", "5" (chain) or "6" (quadrilateral)
    int segment;        // the crossed segment, 0 = P1P2
    // Per mode (split, cut away with result 1, with result 2): the record as "vertices:type
    // offset" and the new records after it, separated by "; ".
    const char* outcome[3];
};

const Row Rows[] = {
    {"2", 0, {"P1 I:2; I P2:2", "P1:1; I P2:2", "P1 I:2"}},
    {"3", 0, {"P1 I:2; I P2 P3:3", "P1:1; I P2 P3:3", "P1 I:2; P2 P3:2"}},
    {"3", 1, {"P1 P2 I:3; I P3:2", "P1 P2:2; I P3:2", "P1 P2 I:3"}},
    {"4", 0, {"P1 I:2; I P2 P3 P4:4", "P1:1; I P2 P3 P4:4", "P1 I:2; P2 P3 P4:3"}},
    {"4", 1, {"P1 P2 I:3; I P3 P4:3", "P1 P2:2; I P3 P4:3", "P1 P2 I:3; P3 P4:2"}},
    {"4", 2, {"P1 P2 P3 I:4; I P4:2", "P1 P2 P3:3; I P4:2", "P1 P2 P3 I:4"}},
    {"5", 0, {"P1 I:2; I P2 P3 P4:5; Q:1", "P1:1; I P2 P3 P4:5; Q:1", "P1 I:2; P2 P3 P4 Q:4"}},
    {"5", 1, {"P1 P2 I:3; I P3 P4 Q:4", "P1 P2:2; I P3 P4 Q:4", "P1 P2 I:3; P3 P4 Q:3"}},
    {"5", 2, {"P1 P2 P3 I:4; I P4 Q:3", "P1 P2 P3:3; I P4 Q:3", "P1 P2 P3 I:4; P4 Q:2"}},
    {"5", 3, {"P1 P2 P3 P4:4; P4 I Q:3", "P1 P2 P3 P4:4; I Q:2", "P1 P2 P3 P4:4; P4 I:2"}},
    {"6", 0, {"P1 I:2; I P2 P3 P4:5; P1:1", "P1:1; I P2 P3 P4:5; P1:1", "P1 I:2; P2 P3 P4 P1:4"}},
    {"6", 1, {"P1 P2 I:3; I P3 P4 P1:4", "P1 P2:2; I P3 P4 P1:4", "P1 P2 I:3; P3 P4 P1:3"}},
    {"6", 2, {"P1 P2 P3 I:4; I P4 P1:3", "P1 P2 P3:3; I P4 P1:3", "P1 P2 P3 I:4; P4 P1:2"}},
    {"6", 3, {"P1 P2 P3 P4:4; P4 I P1:3", "P1 P2 P3 P4:4; I P1:2", "P1 P2 P3 P4:4; P4 I:2"}},
};

// A record written back as "vertices:type offset", each vertex by its name, with its height
// checked: a named vertex keeps its own (its number), the crossing that of the vertex it took
// the place of in the crossed record and 0 in a new one; unused vertices are all 0.
std::string Describe(const MapRecord& r, int base, P cross, bool crossed) {
    const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
    const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
    const float zs[4] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
    const int used = r.RecordType - base == 5 ? 4 : r.RecordType - base;
    std::ostringstream out;
    for (int k = 0; k < 4; ++k) {
        if (k >= used) {
            if (xs[k] != 0 || ys[k] != 0 || zs[k] != 0) out << "[unused vertex " << k + 1 << " kept]";
            continue;
        }
        std::string name = "?";
        float z = -1;
        for (int n = 0; n < 5; ++n) {
            if (xs[k] == Named[n].x && ys[k] == Named[n].y) {
                name = Names[n];
                z = static_cast<float>(n + 1);
                break;
            }
        }
        if (name == "?" && std::fabs(xs[k] - cross.x) < 1e-9 && std::fabs(ys[k] - cross.y) < 1e-9) {
            name = "I";
            z = crossed ? static_cast<float>(k + 1) : 0.f;
        }
        if (zs[k] != z) name += "(z " + std::to_string(zs[k]) + ")";
        out << (k ? " " : "") << name;
    }
    out << ":" << r.RecordType - base;
    return out.str();
}

TEST_F(CutAlongLineTest, EveryCellOfTheTablesOfLinesAndQuadrilaterals) {
    for (const Row& row : Rows) {
        for (int base : {0, 70}) {
            if (row.shape[0] == '6' && base) continue;
            for (int m = 0; m < 3; ++m) {
                SCOPED_TRACE(std::string("shape ") + row.shape + " segment " + std::to_string(row.segment) +
                             " base " + std::to_string(base) + " column " + std::to_string(m));
                app.store.Count(1) = 0;
                app.store.ClearFrom(1, 0);
                const int kind = row.shape[0] - '0';
                const int own = kind >= 5 ? 4 : kind;
                const std::uint8_t type = static_cast<std::uint8_t>(kind == 6 ? 6 : base + kind);
                Add(type, std::vector<P>(Named, Named + own), {1, 2, 3, 4});
                // The record that a chain goes on to, away from the cutting line.
                if (kind == 5) Add(static_cast<std::uint8_t>(base + 2), {Named[4], {-5, 40}}, {5});
                const int before = app.store.Count(1);
                // A short cutting line across the middle of the segment: along its left normal
                // its second vertex is on the right, the side removed (result 2).
                const P a = Named[row.segment];
                const P b = row.segment == 3 ? (kind == 6 ? Named[0] : Named[4]) : Named[row.segment + 1];
                const double len = std::hypot(b.x - a.x, b.y - a.y);
                const P n{-(b.y - a.y) / len, (b.x - a.x) / len};
                const P mid{(a.x + b.x) / 2, (a.y + b.y) / 2};
                const double sign = m == 1 ? -1 : 1;
                Cut({mid.x - sign * n.x, mid.y - sign * n.y}, {mid.x + sign * n.x, mid.y + sign * n.y},
                    m == 0 ? CutSplit : CutAway);
                const int recordBase = kind == 6 ? 0 : base;
                std::string got = Describe(app.store.Get(1, 0), recordBase, mid, true);
                for (int k = before; k < app.store.Count(1); ++k) {
                    const MapRecord& r = app.store.Get(1, k);
                    got += "; " + Describe(r, recordBase, mid, false);
                    EXPECT_EQ(r.RecordColor, 0x123456);
                    EXPECT_EQ(r.RecordPen, 7);
                    EXPECT_EQ(r.RecordSource, 3);
                    EXPECT_EQ(std::string(r.RecordText), "L01");
                }
                EXPECT_EQ(got, row.outcome[m]);
                // The record a chain goes on to is not changed.
                if (kind == 5) EXPECT_EQ(app.store.Get(1, 1).RecordType, base + 2);
            }
        }
    }
}

TEST_F(CutAlongLineTest, Type12BecomesAFortyTwoAndFillHeadsAreLeft) {
    Add(12, {{0, 0}, {10, 0}});
    Add(11, {{0, -1}, {10, 1}, {0, 0}});
    Add(13, {{0, -1}, {10, 1}, {0, 1}});
    const std::vector<MapRecord> heads{app.store.Get(1, 1), app.store.Get(1, 2)};
    Cut({5, -3}, {5, 3}, CutSplit);
    ASSERT_EQ(app.store.Count(1), 4);
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 42);
    EXPECT_EQ(app.store.Get(1, 3).RecordType, 42);
    EXPECT_DOUBLE_EQ(app.store.Get(1, 3).RecordX1, 5);
    EXPECT_EQ(app.store.Get(1, 1), heads[0]);
    EXPECT_EQ(app.store.Get(1, 2), heads[1]);
}

TEST_F(CutAlongLineTest, APreviewMarksAndDrawsButChangesNothing) {
    Add(4, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    Add(7, {{5, 5}, {3, 1}});
    app.current.ModifiedFlag = 0;
    const std::vector<MapRecord> before = Layer();
    Surface().ClearRecords();
    Cut({5, -5}, {5, 15}, CutPreview);
    EXPECT_EQ(Layer(), before);
    EXPECT_EQ(app.current.ModifiedFlag, 0);
    // Every crossing marked; the circle's piece drawn as an arc.
    EXPECT_EQ(Surface().PrimitivesOf(SurfacePrimitive::Kind::Point).size(), 2u);
    EXPECT_EQ(Surface().PrimitivesOf(SurfacePrimitive::Kind::Circle).size(), 1u);
    Cut({5, -5}, {5, 15}, CutAway);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
}

TEST_F(CutAlongLineTest, CrossingsJustBeyondAnEndCountAndEachCallCutsTheNextCrossing) {
    // Up to 0.05 beyond the segment's end counts (the distances are single precision, which
    // puts 0.05 itself a hair outside), 0.2 does not.
    Add(2, {{0, 0}, {10, 0}});
    Cut({10.2, 1}, {10.2, -1}, CutSplit);
    EXPECT_EQ(app.store.Count(1), 1);
    Cut({10.049, 1}, {10.049, -1}, CutSplit);
    ASSERT_EQ(app.store.Count(1), 2);
    EXPECT_DOUBLE_EQ(app.store.Get(1, 0).RecordX2, 10.049);

    // A U of four vertices crossed twice: the first call cuts at P1P2, the second at P3P4, a
    // third finds only the ends cut before.
    app.store.Count(1) = 0;
    app.store.ClearFrom(1, 0);
    Add(4, {{0, 0}, {10, 0}, {10, 10}, {0, 10}});
    Cut({5, -5}, {5, 15}, CutAway);
    ASSERT_EQ(app.store.Count(1), 2);
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 2);
    EXPECT_DOUBLE_EQ(app.store.Get(1, 0).RecordX2, 5);
    EXPECT_EQ(app.store.Get(1, 1).RecordType, 3);
    Cut({5, -5}, {5, 15}, CutAway);
    ASSERT_EQ(app.store.Count(1), 3);
    EXPECT_EQ(app.store.Get(1, 1).RecordType, 2);  // P2 P3
    EXPECT_DOUBLE_EQ(app.store.Get(1, 2).RecordX1, 5);  // I P4
    EXPECT_DOUBLE_EQ(app.store.Get(1, 2).RecordX2, 0);
    const std::vector<MapRecord> third = Layer();
    Cut({5, -5}, {5, 15}, CutSplit);
    EXPECT_EQ(Layer(), third);
}

TEST_F(CutAlongLineTest, CirclesBecomeArcsAndOnlyCentresInTheBoxAreCut) {
    // Cut away: the arc S1 -> S0 stays; split: the arc S0 -> S1 joins it; aspect 0 becomes 1.
    for (std::uint8_t mode : {std::uint8_t{CutAway}, std::uint8_t{CutSplit}}) {
        SCOPED_TRACE(mode);
        app.store.Count(1) = 0;
        app.store.ClearFrom(1, 0);
        Add(7, {{0, 0}, {5, 0}});
        // A vertical line east of the centre, ending short of the circle: the judge takes the
        // infinite line, the centre lies in the box.
        Cut({3, -1}, {3, 1}, mode);
        const MapRecord& r = app.store.Get(1, 0);
        EXPECT_EQ(r.RecordType, 8);
        EXPECT_EQ(r.RecordY2, 1);
        // The crossings at (3, ±4): S0 the one towards the line's end; the piece S0 -> S1 goes.
        const double s0 = std::atan2(4, 3), s1 = 2 * M_PI - std::atan2(4, 3);
        EXPECT_NEAR(r.RecordX3, s1, 1e-9);
        EXPECT_NEAR(r.RecordY3, s0, 1e-9);
        if (mode == CutSplit) {
            ASSERT_EQ(app.store.Count(1), 2);
            const MapRecord& n = app.store.Get(1, 1);
            EXPECT_EQ(n.RecordType, 8);
            EXPECT_EQ(n.RecordY2, 1);
            EXPECT_NEAR(n.RecordX3, s0, 1e-9);
            EXPECT_NEAR(n.RecordY3, s1, 1e-9);
            EXPECT_EQ(n.RecordColor, 0x123456);
        } else {
            EXPECT_EQ(app.store.Count(1), 1);
        }
    }
    // A circle whose centre lies outside the box is not cut, though the line crosses it.
    app.store.Count(1) = 0;
    app.store.ClearFrom(1, 0);
    Add(7, {{0, 0}, {20, 0}});
    Cut({10, -1}, {10, 1}, CutAway);
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 7);
}

// ---- Arcs.

double Turn(double a) {
    a = std::fmod(a, 2 * M_PI);
    return a < 0 ? a + 2 * M_PI : a;
}
// Whether angle t lies on the arc from s counter-clockwise to e.
bool OnArc(double t, double s, double e) { return Turn(t - s) < Turn(e - s); }
double Deg(double d) { return d * M_PI / 180; }

TEST_F(CutAlongLineTest, ArcsCoverExactlyWhatRemainsInEveryArrangement) {
    struct Case {
        const char* arrangement;
        double s, e, c0, c1;  // degrees
    };
    const Case cases[] = {
        // Arc and piece both clear of 0.
        {"1: piece before", 100, 200, 20, 60},
        {"1: over the start", 100, 200, 60, 130},
        {"1: inside", 100, 200, 130, 160},
        {"1: over the end", 100, 200, 160, 260},
        {"1: over the whole arc", 100, 200, 60, 260},
        {"1: piece after", 100, 200, 220, 300},
        // The piece through 0.
        {"2: over the start", 100, 200, 300, 150},
        {"2: over both ends", 100, 200, 150, 120},
        {"2: clear", 100, 200, 300, 40},
        {"2: over the end", 10, 200, 150, 5},
        // The arc through 0.
        {"3: in the gap", 300, 60, 100, 200},
        {"3: both before the end", 300, 60, 10, 40},
        {"3: both after the start", 300, 60, 310, 340},
        {"3: over the end", 300, 60, 40, 200},
        {"3: over the start", 300, 60, 200, 320},
        {"3: over 0 of the piece's own", 300, 60, 20, 330},
        // Both through 0.
        {"4: inside", 300, 60, 330, 20},
        {"4: over the end", 300, 60, 330, 90},
        {"4: over the start", 300, 60, 250, 20},
        {"4: over the whole arc", 300, 60, 250, 90},
        {"4: over both ends", 300, 60, 40, 320},
    };
    for (const Case& c : cases) {
        for (bool split : {false, true}) {
            SCOPED_TRACE(std::string(c.arrangement) + (split ? " split" : " cut away"));
            const double s = Deg(c.s), e = Deg(c.e), c0 = Deg(c.c0), c1 = Deg(c.c1);
            ArcPiece pieces[3];
            const int n = CutArc(s, e, c0, c1, split, pieces);
            ASSERT_GE(n, 1);
            ASSERT_LE(n, 3);
            // The oracle: an arc the line crosses loses the piece (cut away) or keeps everything
            // (split); an arc holding neither crossing angle is not touched.
            const bool crossed = OnArc(c0, s, e) || OnArc(c1, s, e);
            int wrong = 0;
            for (int k = 0; k < 720; ++k) {
                const double t = Deg((k + 0.5) / 2);
                const bool want = OnArc(t, s, e) && (split || !crossed || !OnArc(t, c0, c1));
                int covered = 0;
                for (int p = 0; p < n; ++p) covered += OnArc(t, pieces[p].start, pieces[p].end) ? 1 : 0;
                if (covered != (want ? 1 : 0)) ++wrong;
            }
            EXPECT_EQ(wrong, 0);
            // Split divides at each crossing inside the arc.
            if (split) EXPECT_EQ(n, 1 + (OnArc(c0, s, e) ? 1 : 0) + (OnArc(c1, s, e) ? 1 : 0));
        }
    }
    ArcPiece pieces[3];
    // Degenerate arcs and crossings are left.
    EXPECT_EQ(CutArc(1, 1, 0.5, 2, false, pieces), 1);
    EXPECT_EQ(pieces[0].start, 1);
    EXPECT_EQ(CutArc(1, 2, 1.5, 1.5, true, pieces), 1);
    EXPECT_EQ(pieces[0].end, 2);
    EXPECT_EQ(CutArc(1, 2, NAN, 1.5, false, pieces) , 1);
    EXPECT_EQ(pieces[0].start, 1.5);
}

TEST_F(CutAlongLineTest, AnArcInThePassLosesThePieceFromS0ToS1) {
    // An arc over the top of a circle about (0, 0), radius 5, from 30 to 150 degrees. The line
    // x = 3 northward: S0 at (3, 4), S1 at (3, -4); the piece between them through the west goes.
    Add(8, {{0, 0}, {5, 0}, {Deg(30), Deg(150)}});
    Cut({3, -10}, {3, 10}, CutAway);
    ASSERT_EQ(app.store.Count(1), 1);
    EXPECT_NEAR(app.store.Get(1, 0).RecordX3, Deg(30), 1e-12);
    EXPECT_NEAR(app.store.Get(1, 0).RecordY3, std::atan2(4, 3), 1e-9);
    // Split by x = -3: divided at (-3, 4), the crossing inside it.
    app.store.Count(1) = 0;
    app.store.ClearFrom(1, 0);
    Add(8, {{0, 0}, {5, 0}, {Deg(30), Deg(150)}});
    Cut({-3, -10}, {-3, 10}, CutSplit);
    ASSERT_EQ(app.store.Count(1), 2);
    EXPECT_NEAR(app.store.Get(1, 0).RecordY3, M_PI - std::atan2(4, 3), 1e-9);
    EXPECT_NEAR(app.store.Get(1, 1).RecordX3, M_PI - std::atan2(4, 3), 1e-9);
    EXPECT_NEAR(app.store.Get(1, 1).RecordY3, Deg(150), 1e-12);
    EXPECT_EQ(app.store.Get(1, 1).RecordType, 8);
    EXPECT_DOUBLE_EQ(app.store.Get(1, 1).RecordX2, 5);
}

TEST_F(CutAlongLineTest, DegenerateRecordsNeitherCrashNorHang) {
    Add(2, {{5, 0}, {5, 0}});
    Add(4, {{0, 0}, {0, 0}, {10, 0}, {10, 0}});
    Add(6, {{5, 5}, {5, 5}, {5, 5}, {5, 5}});
    Add(7, {{5, 0}, {0, 0}});
    Add(8, {{5, 0}, {0, 0}, {1, 1}});
    Add(2, {{NAN, 0}, {10, NAN}});
    for (int mode : {0, 1, 2, 9}) {
        Cut({5, -3}, {5, 3}, static_cast<std::uint8_t>(mode));
        Cut({5, 0}, {5, 0}, static_cast<std::uint8_t>(mode));
    }
    EXPECT_LE(app.store.Count(1), 20);
    for (const MapRecord& r : Layer()) EXPECT_NE(r.RecordType, 0);
}

TEST_F(CutAlongLineTest, TheLayerGrowsForThePiecesOrTheCutStops) {
    // Full at a capacity that can grow: it grows, and the piece is stored.
    app.store.LayerCapacity = 100;
    Add(2, {{0, 0}, {10, 0}});
    app.store.Count(1) = 100;
    Cut({5, -3}, {5, 3}, CutSplit);
    EXPECT_GT(app.store.LayerCapacity, 100);
    EXPECT_EQ(app.store.Count(1), 101);
    EXPECT_DOUBLE_EQ(app.store.Get(1, 100).RecordX1, 5);

    // Full where only splitting the layer would make room: the cut stops, nothing is written.
    app.store.LayerCapacity = LayerSplittingCapacity;
    app.store.Count(1) = LayerSplittingCapacity;
    const MapRecord before = app.store.Get(1, 0);
    Cut({2, -3}, {2, 3}, CutSplit);
    EXPECT_EQ(app.store.Get(1, 0), before);
    EXPECT_EQ(app.store.Count(1), LayerSplittingCapacity);
    EXPECT_EQ(app.store.LayerCapacity, LayerSplittingCapacity);
    EXPECT_EQ(t.platform.promptScript.LastText(), LayerFullMessage);
}

}  // namespace
}  // namespace movra
