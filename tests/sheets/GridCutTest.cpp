// A generated map of every record type cut along a grid of sheet lines, checked against what the
// cut must keep: no piece crosses a line, every line keeps its length, its colour and its tags.
// Degenerate records ride along; a full layer is left whole with one message.
#include <algorithm>
#include <cmath>
#include <map>
#include <random>
#include <vector>

#include "document/Geometry.h"
#include "document/SlotEditing.h"
#include "document/StoreRecord.h"
#include "document/UndoJournal.h"
#include "document/UndoRedo.h"
#include "sheets/SheetCutFixture.h"

namespace movra {
namespace {

constexpr double GridLines[] = {25, 50, 75};

struct Feature {
    bool ellipse = false;
    bool ticks = false;
    std::uint8_t source = 0;
    std::string extra;
};

class GridCut : public SheetCutFixture {
protected:
    std::mt19937 rng{20240611};
    std::map<std::int32_t, Feature> features;  // by colour
    int next = 1;

    double U(double lo, double hi) { return std::uniform_real_distribution<double>(lo, hi)(rng); }
    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); }
    CutVertex P() { return {U(0, 100), U(0, 100), static_cast<float>(U(0, 50))}; }

    // A new feature: the records put until the next call carry its colour and tags.
    void Begin(bool ellipse = false, bool ticks = false) {
        const std::int32_t color = next++;
        features[color] = {ellipse, ticks, static_cast<std::uint8_t>(color % 7 + 1), "e" + std::to_string(color)};
    }
    MapRecord& Add(int type, std::initializer_list<CutVertex> v) {
        MapRecord& r = Put(type, v);
        const auto& [color, f] = *features.rbegin();
        r.RecordColor = color;
        r.RecordSource = f.source;
        r.RecordExtra = f.extra;
        return r;
    }

    // A polyline of n vertices as a chain of the family: four vertices a record, each full record
    // going on to the next.
    void Chain(int base, int n) {
        Begin();
        std::vector<CutVertex> v;
        for (int k = 0; k < n; ++k) v.push_back(P());
        for (int k = 0; k < n; k += 4) {
            const int held = std::min(4, n - k);
            const int type = k + 4 < n ? base + 5 : base + held;
            MapRecord& r = Add(type, {});
            for (int m = 0; m < held; ++m) SetVertex(r, m + 1, v[static_cast<std::size_t>(k + m)]);
        }
    }

    void Generate(int rounds) {
        for (int round = 0; round < rounds; ++round) {
            for (int base : {0, 40, 70}) Chain(base, Pick(2, 13));
            Begin();
            Add(99, {P(), P()});
            Begin();
            Add(6, {P(), P(), P(), P()});
            for (int type : {12, 201, 211}) {
                Begin();
                Add(type, {P(), P(), P(), P()});
            }
            Begin();
            Add(52, {P(), P(), P(), P()});
            for (int type : {80, 85, 87}) {
                Begin(false, true);
                MapRecord& r = Add(type, {});
                const int ticks = Pick(1, 4);
                for (int k = 1; k <= ticks; ++k) {
                    CutVertex v = P();
                    v.z = static_cast<float>(U(-40, 40));
                    SetVertex(r, k, v);
                }
            }
            Begin();
            Add(7, {P(), {U(0.5, 40), 1}});
            Begin();
            Add(8, {P(), {U(0.5, 40), 1}, {U(0, TwoPi), U(0, TwoPi)}});
            Begin(true);
            Add(9, {P(), {U(1, 30), U(1, 30)}, {U(-3, 3), 0}});
        }
        // Degenerate records.
        Begin();
        Add(2, {{50, 50}, {50, 50}});
        Begin();
        Add(2, {{25, 10}, {25, 10}});
        Begin();
        Add(7, {{50, 50}, {0, 1}});
        Begin();
        Add(8, {{25, 25}, {0, 1}, {1, 2}});
        Begin();
        Add(3, {{1e300, 1e300}, {-1e300, 5}, {1e300, -1e300}});
        Begin();
        Add(7, {{1e300, 50}, {1e300, 1}});
        Begin(true);
        Add(9, {{50, 1e300}, {1e300, 3}, {1, 0}});
        Begin(false, true);
        Add(80, {{1e300, 0, 1e30f}});
    }

    void CutGrid() {
        // The lines reach past everything drawn, ellipses included: the box test stops at their ends.
        for (double x : GridLines) CutFeaturesAlongLine(app, x, -1000, x, 1000);
        for (double y : GridLines) CutFeaturesAlongLine(app, -1000, y, 1000, y);
    }

    // The segments a record draws, with the link of a chain to the next record and the closing
    // side of a quadrilateral.
    std::vector<std::array<double, 4>> Segments(int slot) const {
        const MapRecord& r = R(slot);
        const double x[] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
        const double y[] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
        const float z[] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
        std::vector<std::array<double, 4>> s;
        const int t = r.RecordType;
        auto polyline = [&](int n) {
            for (int k = 1; k < n; ++k) s.push_back({x[k - 1], y[k - 1], x[k], y[k]});
        };
        const int base = t >= 70 && t < 80 ? 70 : t >= 40 && t < 50 ? 40 : 0;
        if ((t >= 1 && t <= 5) || (t >= 41 && t <= 45) || (t >= 71 && t <= 75)) {
            polyline(t - base == 5 ? 4 : t - base);
            if (t - base == 5) s.push_back({x[3], y[3], R(slot + 1).RecordX1, R(slot + 1).RecordY1});
        } else if (t == 99 || t == 12 || t == 201 || t == 211) {
            polyline(2);
        } else if (t == 6) {
            polyline(4);
            s.push_back({x[3], y[3], x[0], y[0]});
        } else if (t == 52) {
            s.push_back({x[0], y[0], x[1], y[1]});
            s.push_back({x[2], y[2], x[3], y[3]});
        } else if (t == 80 || t == 85 || t == 87) {
            for (int k = 0; k < 4; ++k) {
                if (k > 0 && x[k] == 0 && y[k] == 0) break;
                s.push_back({x[k], y[k], x[k] + z[k], y[k] + (t == 85 ? -z[k] : z[k])});
            }
        }
        return s;
    }

    // Length of every feature's lines and arcs, by colour; features with a coordinate beyond the
    // range of lengths are left out.
    std::map<std::int32_t, double> Lengths() const {
        std::map<std::int32_t, double> total;
        for (int slot = 0; slot < Count(); ++slot) {
            const MapRecord& r = R(slot);
            double length = 0;
            for (const auto& s : Segments(slot)) length += std::hypot(s[2] - s[0], s[3] - s[1]);
            if (r.RecordType == 7) length = TwoPi * r.RecordX2;
            if (r.RecordType == 8) {
                double span = r.RecordY3 - r.RecordX3;
                if (span < 0) span += TwoPi;
                length = span * r.RecordX2;
            }
            total[r.RecordColor] += length;
        }
        return total;
    }
};

// The direction angles at which the line (vertical at c, or horizontal) meets the circle, when
// it passes more than 0.1 inside the rim.
std::vector<double> CrossingAngles(const MapRecord& r, bool vertical, double c) {
    const double d = vertical ? c - r.RecordX1 : c - r.RecordY1;
    if (!(std::fabs(d) + 0.1 < r.RecordX2)) return {};
    double a = vertical ? std::acos(d / r.RecordX2) : std::asin(d / r.RecordX2);
    double b = vertical ? TwoPi - a : Pi - a;
    if (a < 0) a += TwoPi;
    return {a, b};
}

bool StrictlyOnArc(double c, double s, double e, double margin) {
    return s < e ? s + margin < c && c < e - margin : c > s + margin || c < e - margin;
}

TEST_F(GridCut, KeepsEveryLineWholeOnOneSideOfEachSheetLine) {
    Generate(60);
    const std::map<std::int32_t, double> before = Lengths();
    const int records = Count();
    CutGrid();
    ASSERT_GT(Count(), records + 200);  // a good many cuts were made

    const std::map<std::int32_t, double> after = Lengths();
    for (const auto& [color, f] : features) {
        const double b = before.at(color);
        if (f.ellipse || !std::isfinite(b)) continue;
        EXPECT_NEAR(after.at(color), b, b * (f.ticks ? 1e-6 : 1e-9)) << "feature " << color;
    }
    for (int slot = 0; slot < Count(); ++slot) {
        const MapRecord& r = R(slot);
        ASSERT_TRUE(features.count(r.RecordColor)) << slot;
        const Feature& f = features.at(r.RecordColor);
        EXPECT_EQ(r.RecordSource, f.source) << slot;
        if (!f.ellipse) {
            EXPECT_EQ(r.RecordExtra, f.extra) << slot;
        }
        if (r.RecordType == 9) {  // an ellipse stays only where no line comes near it
            const double reach = std::max(r.RecordX2, r.RecordY2);
            for (double c : GridLines)
                EXPECT_TRUE(std::fabs(c - r.RecordX1) >= reach && std::fabs(c - r.RecordY1) >= reach) << slot;
        }

        const double tolerance = f.ticks ? 1e-5 : 0;
        for (const auto& s : Segments(slot)) {
            if (!(std::max({std::fabs(s[0]), std::fabs(s[1]), std::fabs(s[2]), std::fabs(s[3])}) < 1e200)) continue;
            for (double c : GridLines) {
                EXPECT_FALSE(std::min(s[0], s[2]) + tolerance < c && c < std::max(s[0], s[2]) - tolerance)
                    << "slot " << slot << " type " << int(r.RecordType) << " crosses x = " << c;
                EXPECT_FALSE(std::min(s[1], s[3]) + tolerance < c && c < std::max(s[1], s[3]) - tolerance)
                    << "slot " << slot << " type " << int(r.RecordType) << " crosses y = " << c;
            }
        }
        if ((r.RecordType == 7 || r.RecordType == 8) && r.RecordX2 > 0 && r.RecordX2 < 1e6) {
            for (bool vertical : {true, false}) {
                for (double c : GridLines) {
                    for (double angle : CrossingAngles(r, vertical, c)) {
                        // The cut's angles come from the line's distance held in 32 bits.
                        EXPECT_FALSE(r.RecordType == 7 || StrictlyOnArc(angle, r.RecordX3, r.RecordY3, 1e-6))
                            << "slot " << slot << " crossed by " << (vertical ? "x = " : "y = ") << c << " at "
                            << angle << " arc " << r.RecordX3 << " " << r.RecordY3 << " r " << r.RecordX2 << " centre "
                            << r.RecordX1 << " " << r.RecordY1;
                    }
                }
            }
        }
    }
}

// The cut lays each layer out anew; a step of the journal that names a record behind pieces and a
// converted ellipse must still name that record.
TEST_F(GridCut, AnUndoStepBehindCutRecordsStillNamesItsRecord) {
    Begin();
    Add(4, {{0, 5}, {30, 5}, {30, 60}, {90, 60}});
    Begin(true);
    Add(9, {{50, 80}, {10, 5}, {0, 0}});
    Begin();
    Add(2, {{80, 90}, {90, 90}});
    const std::int32_t deleted = features.rbegin()->first;
    Begin();
    Add(2, {{60, 80}, {90, 80}});
    ResetUndo(app);
    UndoCheckpoint(app, 0);
    auto& list = app.selection.SelectionList;
    list.assign(1, SelectedRecord{});
    list.push_back({1, 2});
    list[0].Layer = 2;
    DeleteSelectionWithUndo(app);
    ASSERT_EQ(R(2).RecordType, 102);

    CutGrid();
    ASSERT_GT(Count(), 4 + 10);
    Undo(app);
    int restored = 0;
    for (int slot = 0; slot < Count(); ++slot) {
        EXPECT_LT(R(slot).RecordType, 100) << slot;
        if (R(slot).RecordColor == deleted) {
            EXPECT_EQ(R(slot).RecordType, 2);
            ++restored;
        }
    }
    EXPECT_EQ(restored, 1);
}

TEST_F(GridCut, LeavesALayerThatCouldOnlyGrowBySplittingWholeWithOneMessage) {
    app.store.DimensionKeep(2);
    app.store.LayerCount = 2;
    app.store.LayerOnFlag[2] = -1;
    for (int capacity : {int{MaxLayerCapacity}, LayerSplittingCapacity}) {
        ClearLayer(1);
        ClearLayer(2);
        t.platform.promptScript.questions.clear();
        app.store.LayerCapacity = static_cast<std::int16_t>(capacity);
        Put(2, {{0, 0}, {10, 0}}, 1);
        Put(7, {{50, 0}, {10, 1}}, 1);
        Put(2, {{0, 0}, {10, 0}}, 2);
        Put(9, {{50, 0}, {10, 3}, {0, 0}}, 2);
        app.store.Count(1) = capacity;  // full: the open slot is the last one
        const MapRecord first = R(0, 1);
        CutVertical(5);
        CutVertical(50);
        EXPECT_EQ(Count(1), capacity);
        EXPECT_EQ(R(0, 1), first);
        EXPECT_EQ(R(1, 1).RecordType, 7);
        EXPECT_EQ(Count(2), 2 + 1 + 10 - 1 + 2);  // layer 2 had room
        EXPECT_EQ(app.store.LayerCount, 2);
        EXPECT_EQ(app.store.LayerCapacity, capacity);
        ASSERT_EQ(t.platform.promptScript.questions.size(), 2u);  // once for each line
        EXPECT_EQ(t.platform.promptScript.LastText(), LayerFullWarning);
    }
    // Below that step the layer grows as it must, without a word.
    ClearLayer(1);
    ClearLayer(2);
    t.platform.promptScript.questions.clear();
    app.store.LayerCapacity = 5000;
    Put(2, {{0, 0}, {10, 0}}, 1);
    app.store.Count(1) = 5000;
    CutVertical(5);
    EXPECT_EQ(Count(1), 5001);
    EXPECT_EQ(app.store.LayerCapacity, 6000);
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
}

}  // namespace
}  // namespace movra
