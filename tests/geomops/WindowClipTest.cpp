#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "basic/Numbers.h"
#include "display/WorkBuffer.h"
#include "document/WtwFile.h"
#include "geomops/WindowClip.h"
#include "support/TestApp.h"

namespace movra {
namespace {

// What a test expects of one buffer item: its type and first two vertices.
struct Item {
    int type;
    double x1, y1, x2, y2;
};

std::string Show(const MapRecord& r) {
    return "{" + std::to_string(r.RecordType) + ", " + std::to_string(r.RecordX1) + ", " + std::to_string(r.RecordY1) +
           ", " + std::to_string(r.RecordX2) + ", " + std::to_string(r.RecordY2) + "}";
}

// The window is (0, 0)-(100, 100) throughout, as a drag from the upper left to the lower right.
class WindowClipTest : public ::testing::Test {
protected:
    WindowClipTest() {
        app.store.LayerOnFlag[1] = True;
        app.store.Count(1) = 2;
    }

    void SetWindow() {
        app.clip.ClipXMin = 0;
        app.clip.ClipXMax = 100;
        app.clip.ClipYMax = 100;
        app.clip.ClipYMin = 0;
        app.clip.ClipBufferCount = 0;
    }

    MapRecord& Put(int layer, int slot, int type, std::vector<double> xy, std::vector<float> z = {}) {
        MapRecord& r = app.store.At(layer, slot);
        r = MapRecord{};
        r.RecordType = static_cast<std::uint8_t>(type);
        xy.resize(8, 0.0);
        z.resize(4, 0.0f);
        r.RecordX1 = xy[0]; r.RecordY1 = xy[1]; r.RecordX2 = xy[2]; r.RecordY2 = xy[3];
        r.RecordX3 = xy[4]; r.RecordY3 = xy[5]; r.RecordX4 = xy[6]; r.RecordY4 = xy[7];
        r.RecordZ1 = z[0]; r.RecordZ2 = z[1]; r.RecordZ3 = z[2]; r.RecordZ4 = z[3];
        app.store.Count(layer) = std::max(app.store.Count(layer), slot + 1);
        return r;
    }

    std::vector<MapRecord> Items() const {
        return {app.clip.Items.begin() + 1, app.clip.Items.begin() + 1 + app.clip.ClipBufferCount};
    }

    void ExpectItems(const std::vector<Item>& expected, const std::string& what) const {
        const auto items = Items();
        std::string got;
        for (const auto& r : items) got += Show(r) + " ";
        ASSERT_EQ(items.size(), expected.size()) << what << ": " << got;
        for (size_t i = 0; i < expected.size(); ++i) {
            const MapRecord& r = items[i];
            const Item& e = expected[i];
            EXPECT_TRUE(r.RecordType == e.type && std::abs(r.RecordX1 - e.x1) < 1e-9 &&
                        std::abs(r.RecordY1 - e.y1) < 1e-9 && std::abs(r.RecordX2 - e.x2) < 1e-9 &&
                        std::abs(r.RecordY2 - e.y2) < 1e-9)
                << what << ", item " << i + 1 << ": " << Show(r);
        }
    }

    TestApp t;
    App& app = t.app;
};

struct SegmentCase {
    const char* name;
    double x1, y1, x2, y2;
    int code;
    double sx = 0, sy = 0, ex = 0, ey = 0;  // the piece when the code is not 0
};

TEST_F(WindowClipTest, SegmentCodesAndPieces) {
    const SegmentCase cases[] = {
        {"along the left border", 0, 10, 0, 90, 0},
        {"both ends above", 10, 120, 90, 130, 0},
        {"on the border and inside", 0, 50, 50, 50, 12, 0, 50, 50, 50},
        {"wholly inside", 10, 20, 30, 40, 12, 10, 20, 30, 40},
        {"first end inside", 50, 50, 150, 50, 13, 50, 50, 100, 50},
        {"second end inside", 150, 50, 50, 50, 23, 50, 50, 100, 50},
        {"second end inside, leaving through the top", 50, 150, 50, 50, 23, 50, 50, 50, 100},
        {"across, right edge before left", -10, 50, 110, 50, 34, 100, 50, 0, 50},
        {"across, top edge before bottom", 20, -10, 40, 110, 34, 20 + 110.0 / 6, 100, 20 + 10.0 / 6, 0},
        {"passing a corner outside", -10, 95, 10, 115, 0},
        {"touching a corner from outside", -10, 90, 10, 110, 34, 0, 100, 0, 100},
    };
    for (const auto& c : cases) {
        SetWindow();
        app.geometry.ScratchXY.assign(13, 7.0);
        std::uint8_t state = 99;
        ClipSegmentToWindow(app, c.x1, c.y1, c.x2, c.y2, state);
        EXPECT_EQ(state, c.code) << c.name;
        const auto& s = app.geometry.ScratchXY;
        if (c.code == 0) continue;
        ASSERT_GE(s.size(), 10u) << c.name;
        EXPECT_EQ(s[0], c.code) << c.name;
        EXPECT_NEAR(s[6], c.sx, 1e-9) << c.name;
        EXPECT_NEAR(s[7], c.sy, 1e-9) << c.name;
        EXPECT_NEAR(s[8], c.ex, 1e-9) << c.name;
        EXPECT_NEAR(s[9], c.ey, 1e-9) << c.name;
        // The crossing search leaves exactly the ten elements it works in.
        if (c.code != 12) {
            EXPECT_EQ(s.size(), 10u) << c.name;
        }
    }
}

// Against a clipper written another way (parametric, Liang-Barsky): for random segments the
// piece covers the same part of the segment, whichever end it starts at.
TEST_F(WindowClipTest, RandomSegmentsAgreeWithParametricClip) {
    std::mt19937 random(5);
    std::uniform_real_distribution<double> coord(-80, 180);
    int pieces = 0;
    for (int n = 0; n < 5000; ++n) {
        SetWindow();
        const double x1 = coord(random), y1 = coord(random), x2 = coord(random), y2 = coord(random);
        double t0 = 0, t1 = 1;
        const double dx = x2 - x1, dy = y2 - y1;
        const double p[] = {-dx, dx, -dy, dy}, q[] = {x1 - 0, 100 - x1, y1 - 0, 100 - y1};
        bool outside = false;
        for (int k = 0; k < 4; ++k) {
            if (p[k] == 0) {
                outside = outside || q[k] < 0;
                continue;
            }
            const double r = q[k] / p[k];
            if (p[k] < 0) {
                t0 = std::max(t0, r);
            } else {
                t1 = std::min(t1, r);
            }
        }
        outside = outside || t0 >= t1;
        std::uint8_t state = 0;
        ClipSegmentToWindow(app, x1, y1, x2, y2, state);
        if (outside) {
            EXPECT_EQ(state, 0) << n;
            continue;
        }
        ASSERT_NE(state, 0) << n;
        ++pieces;
        const auto& s = app.geometry.ScratchXY;
        const double ax = x1 + t0 * dx, ay = y1 + t0 * dy, bx = x1 + t1 * dx, by = y1 + t1 * dy;
        const bool forward = std::hypot(s[6] - ax, s[7] - ay) < 1e-7 && std::hypot(s[8] - bx, s[9] - by) < 1e-7;
        const bool backward = std::hypot(s[6] - bx, s[7] - by) < 1e-7 && std::hypot(s[8] - ax, s[9] - ay) < 1e-7;
        EXPECT_TRUE(forward || backward) << n << " code " << int(state);
        const bool firstIn = t0 == 0, secondIn = t1 == 1;
        const int expected = firstIn && secondIn ? 12 : firstIn ? 13 : secondIn ? 23 : 34;
        EXPECT_EQ(state, expected) << n;
    }
    EXPECT_GT(pieces, 1000);
}

struct RecordCase {
    const char* name;
    int type;
    std::vector<double> xy;
    std::vector<double> next;  // the first vertex of the next slot
    std::vector<Item> items;
    std::vector<float> z = {};
};

TEST_F(WindowClipTest, EachRecordTypeTakesItsTreatment) {
    const double third = 70 - 50.0 / 3;
    const std::vector<RecordCase> cases = {
        {"2 inside", 2, {10, 10, 20, 20}, {}, {{2, 10, 10, 20, 20}}},
        {"12 inside becomes a line-type piece", 12, {10, 10, 20, 20}, {}, {{42, 10, 10, 20, 20}}},
        {"21 keeps its type", 21, {10, 10, 120, 10}, {}, {{21, 10, 10, 100, 10}}},
        {"4 with a vertex on the border", 4, {0, 10, 20, 20, 30, 30, 40, 40}, {},
         {{2, 0, 10, 20, 20}, {2, 20, 20, 30, 30}, {2, 30, 30, 40, 40}}},
        {"3 strictly inside", 3, {10, 10, 50, 50, 60, 50}, {}, {{3, 10, 10, 50, 50}}},
        {"3 with its last vertex outside", 3, {10, 10, 50, 50, 150, 50}, {},
         {{2, 10, 10, 50, 50}, {2, 50, 50, 100, 50}}},
        {"5 inside with the chain going on inside", 5, {10, 10, 20, 20, 30, 30, 40, 40}, {50, 60},
         {{5, 10, 10, 20, 20}, {1, 50, 60, 0, 0}}},
        {"45 inside", 45, {10, 10, 20, 20, 30, 30, 40, 40}, {50, 60}, {{45, 10, 10, 20, 20}, {41, 50, 60, 0, 0}}},
        {"75 inside ends its chain too", 75, {10, 10, 20, 20, 30, 30, 40, 40}, {50, 60},
         {{75, 10, 10, 20, 20}, {71, 50, 60, 0, 0}}},
        {"5 with the chain going on outside", 5, {10, 10, 20, 20, 30, 30, 40, 40}, {40, 140},
         {{2, 10, 10, 20, 20}, {2, 20, 20, 30, 30}, {2, 30, 30, 40, 40}, {2, 40, 40, 40, 100}}},
        {"95 cut keeps the special-line kind", 95, {10, 10, 20, 20, 30, 30, 40, 40}, {40, 140},
         {{92, 10, 10, 20, 20}, {92, 20, 20, 30, 30}, {92, 30, 30, 40, 40}, {92, 40, 40, 40, 100}}},
        {"6 across the left border", 6, {-20, 20, 20, 20, 20, 60, 10, 70}, {},
         {{2, 20, 20, 0, 20}, {2, 20, 20, 20, 60}, {2, 20, 60, 10, 70}, {2, 10, 70, 0, third}}},
        {"52 with one arm out", 52, {10, 10, 20, 20, 50, 50, 150, 50}, {},
         {{2, 10, 10, 20, 20}, {2, 50, 50, 100, 50}}},
        {"73 cut", 73, {10, 10, 50, 50, 150, 50}, {}, {{72, 10, 10, 50, 50}, {72, 50, 50, 100, 50}}},
        {"43 inside copied whole", 43, {10, 10, 50, 50, 60, 50}, {}, {{43, 10, 10, 50, 50}}},
        {"circle centred on the border", 7, {0, 50, 30, 1}, {}, {{7, 0, 50, 30, 1}}},
        {"circle centred 0.01 outside", 7, {-0.01, 50, 30, 1}, {}, {}},
        {"symbol inside", 15, {50, 50}, {}, {{15, 50, 50, 0, 0}}},
        {"80 ends at a vertex (0, 0)", 80, {10, 10, 0, 0, 30, 30}, {}, {{2, 10, 10, 15, 15}}, {5, 0, 5}},
        {"85 ticks run down", 85, {10, 10, 20, 20}, {}, {{2, 10, 10, 15, 5}, {2, 20, 20, 22, 18}}, {5, 2}},
        {"image overlapping", 70, {-10, 60, 30, -20}, {}, {{70, -10, 60, 30, -20}}},
        {"image only touching the right border", 70, {100, 60, 30, -20}, {}, {}},
        {"single point", 31, {50, 50}, {}, {}},
        {"four points", 34, {50, 50, 60, 60, 70, 70, 80, 80}, {}, {}},
        {"symbol row", 87, {50, 50, 60, 60}, {}, {}},
        {"background line", 99, {50, 50, 60, 60}, {}, {}},
        {"fill head", 11, {50, 50, 60, 60}, {}, {}},
        {"deleted line", 102, {50, 50, 60, 60}, {}, {}},
    };
    for (const auto& c : cases) {
        SetWindow();
        Put(1, 1, c.type, c.xy, c.z);
        Put(1, 2, 2, c.next.empty() ? std::vector<double>{500, 500} : c.next);
        ClipRecord(app, 1, 1);
        ExpectItems(c.items, c.name);
    }
}

TEST_F(WindowClipTest, PiecesAndCopiesCarryTheRecordsAttributes) {
    SetWindow();
    MapRecord& r = Put(1, 1, 44, {10, 10, 50, 50, 150, 50, 150, 80}, {1.5f, 2.5f, 3.5f, 4.5f});
    r.RecordColor = 0x123456;
    r.RecordPen = 9;
    r.RecordText = "380";
    r.RecordExtra = "属性";
    r.RecordFont = "宋体";
    r.RecordSource = 3;
    Put(1, 2, 2, {500, 500});
    ClipRecord(app, 1, 1);
    ASSERT_EQ(app.clip.ClipBufferCount, 2);
    for (const MapRecord& item : Items()) {
        EXPECT_EQ(item.RecordType, 42);
        EXPECT_EQ(item.RecordColor, 0x123456);
        EXPECT_EQ(item.RecordPen, 9);
        EXPECT_EQ(item.RecordText, "380");
        EXPECT_EQ(item.RecordExtra, "属性");
        EXPECT_EQ(item.RecordFont, "宋体");
        EXPECT_EQ(item.RecordSource, 3);
        EXPECT_EQ(item.RecordZ1, 1.5f);  // the record's Z1 and Z2, whichever segment
        EXPECT_EQ(item.RecordZ2, 2.5f);
        EXPECT_EQ(item.RecordX3, 0);
        EXPECT_EQ(item.RecordZ4, 0);
    }

    // A whole copy is the record itself; its chain end takes the next slot's vertex and tag.
    SetWindow();
    MapRecord& chain = Put(1, 1, 5, {10, 10, 20, 20, 30, 30, 40, 40}, {1, 2, 3, 4});
    chain.RecordText = "x";
    chain.RecordColor = 77;
    MapRecord& next = Put(1, 2, 2, {50, 60, 70, 70}, {9});
    next.RecordSource = 4;
    next.RecordColor = 5;
    ClipRecord(app, 1, 1);
    ASSERT_EQ(app.clip.ClipBufferCount, 2);
    EXPECT_EQ(app.clip.Items[1], app.store.Get(1, 1));
    MapRecord end{};
    end.RecordType = 1;
    end.RecordX1 = 50;
    end.RecordY1 = 60;
    end.RecordZ1 = 9;
    end.RecordSource = 4;
    EXPECT_EQ(app.clip.Items[2], end);
}

TEST_F(WindowClipTest, TurnedTextsGetTheirDeviceFontMetrics) {
    app.view.DisplayZoom = 4;
    for (const int type : {66, 68, 65}) {
        SetWindow();
        MapRecord& r = Put(1, 1, type, {50, 50, 2.5, 1, 0, 0, 7, 8}, {0, 30, 0, 6});
        r.RecordText = "测试";
        ClipRecord(app, 1, 1);
        ASSERT_EQ(app.clip.ClipBufferCount, 1);
        const MapRecord& item = app.clip.Items[1];
        if (type == 65) {
            EXPECT_EQ(item, app.store.Get(1, 1));
            continue;
        }
        EXPECT_EQ(item.RecordX4, 11) << type;
        EXPECT_EQ(item.RecordY4, 10) << type;
        EXPECT_EQ(item.RecordZ4, 300) << type;
        EXPECT_EQ(item.RecordText, "测试");
    }
}

TEST_F(WindowClipTest, ItemLimitRefusesAppendsButNotTheChainEnd) {
    SetWindow();
    Put(1, 1, 5, {10, 10, 20, 20, 30, 30, 40, 40});
    Put(1, 2, 2, {50, 60, 70, 70});
    Put(1, 3, 2, {10, 10, 20, 20});
    app.clip.ClipBufferCount = ClipBufferPlainLimit - 1;
    ClipRecord(app, 1, 1);
    EXPECT_EQ(app.clip.ClipBufferCount, ClipBufferPlainLimit + 1);
    EXPECT_EQ(app.clip.Items[ClipBufferPlainLimit].RecordType, 5);
    EXPECT_EQ(app.clip.Items[ClipBufferPlainLimit + 1].RecordType, 1);
    // A further piece is refused and takes the count back to the limit; so is a whole copy.
    ClipRecord(app, 1, 3);
    EXPECT_EQ(app.clip.ClipBufferCount, ClipBufferPlainLimit);
    EXPECT_EQ(app.clip.Items[ClipBufferPlainLimit].RecordType, 5);
    Put(1, 4, 7, {50, 50, 5});
    ClipRecord(app, 1, 4);
    EXPECT_EQ(app.clip.ClipBufferCount, ClipBufferPlainLimit);
    EXPECT_EQ(app.clip.Items[ClipBufferPlainLimit].RecordType, 5);
}

// A small map of a few kinds around the window (0, 0)-(100, 100) on two layers.
void MakeSmallMap(App& app) {
    RecordStore& s = app.store;
    s.DimensionEmpty(3);
    s.LayerCount = 3;
    s.LayerOnFlag[1] = True;
    s.LayerOnFlag[2] = True;
    s.LayerOnFlag[3] = True;
    auto put = [&](int layer, int type, std::vector<double> xy, const char* text = "") {
        const int slot = s.Count(layer)++;
        MapRecord& r = s.At(layer, slot);
        r.RecordType = static_cast<std::uint8_t>(type);
        xy.resize(8, 0.0);
        r.RecordX1 = xy[0]; r.RecordY1 = xy[1]; r.RecordX2 = xy[2]; r.RecordY2 = xy[3];
        r.RecordX3 = xy[4]; r.RecordY3 = xy[5]; r.RecordX4 = xy[6]; r.RecordY4 = xy[7];
        r.RecordColor = 0x0000C0 + 0x100 * slot;
        r.RecordPen = 8;
        r.RecordText = text;
        r.RecordFont = "宋体";
    };
    put(1, 4, {-30, 20, 40, 30, 60, 70, 130, 90});       // leaves through the right border
    put(1, 5, {20, 80, 30, 85, 40, 80, 50, 85});         // a chain, going on inside
    put(1, 2, {50, 85, 70, 90});
    put(1, 7, {50, 50, 20, 1});                          // a circle
    put(1, 25, {10, 40, 3, 1}, "河流");                   // a text
    put(1, 12, {-200, 10, 200, 15}, "351");              // a line-type line across the window
    put(2, 6, {80, -10, 120, -10, 120, 30, 80, 30});     // a square over the lower right corner
    put(2, 15, {150, 50});                               // a symbol outside
    put(2, 80, {90, 90, 0, 0}, "");                      // a tick leaving the top
    s.At(2, s.Count(2) - 1).RecordZ1 = 20;
    put(3, 3, {10, 10, 50, 50, 90, 10});                 // wholly inside
    put(3, 25, {60, 20, 3, 1}, "注记");
}

TEST_F(WindowClipTest, AnyDragDirectionGivesTheSameBufferAndTheStoreStaysAsItWas) {
    MakeSmallMap(app);
    std::vector<std::vector<MapRecord>> layers;
    for (int l = 0; l <= 3; ++l) {
        std::vector<MapRecord> slots;
        for (int k = 0; k <= app.store.LayerCapacity; ++k) slots.push_back(app.store.Get(l, k));
        layers.push_back(slots);
    }
    ClipWindow(app, 0, 100, 100, 0);
    const auto normal = Items();
    EXPECT_EQ(app.clip.ClipXMin, 0);
    EXPECT_EQ(app.clip.ClipXMax, 100);
    EXPECT_EQ(app.clip.ClipYMax, 100);
    EXPECT_EQ(app.clip.ClipYMin, 0);
    // Layer 1: the 4 in three pieces, the chain whole with its end, the 2, the circle, the text
    // and the line-type piece; layer 2: two sides of the square and the tick; layer 3: both whole.
    ASSERT_EQ(normal.size(), 3u + 2 + 1 + 1 + 1 + 1 + 2 + 1 + 2);
    const double corners[][4] = {{100, 0, 0, 100}, {0, 0, 100, 100}, {100, 100, 0, 0}};
    for (const auto& c : corners) {
        ClipWindow(app, static_cast<float>(c[0]), static_cast<float>(c[1]), static_cast<float>(c[2]),
                   static_cast<float>(c[3]));
        EXPECT_EQ(Items(), normal) << c[0] << ", " << c[1];
    }
    for (int l = 0; l <= 3; ++l)
        for (int k = 0; k <= app.store.LayerCapacity; ++k)
            ASSERT_EQ(app.store.Get(l, k), layers[static_cast<size_t>(l)][static_cast<size_t>(k)]) << l << ", " << k;
}

TEST_F(WindowClipTest, WindowBoundsRoundHalfToEven) {
    MakeSmallMap(app);
    ClipWindow(app, 0.5f, 99.5f, 100.5f, -1.5f);
    EXPECT_EQ(app.clip.ClipXMin, 0);
    EXPECT_EQ(app.clip.ClipXMax, 100);
    EXPECT_EQ(app.clip.ClipYMax, 100);
    EXPECT_EQ(app.clip.ClipYMin, -2);
}

TEST_F(WindowClipTest, LongLineWithItsFirstVertexFarOutsideIsClipped) {
    SetWindow();
    Put(1, 0, 2, {-300, 50, 100, 60});
    Put(1, 1, 15, {-300, 50});  // a point-like record that far out is not
    ClipWindow(app, 0, 100, 100, 0);
    ExpectItems({{2, 100, 60, 0, 57.5}}, "long line");
}

TEST_F(WindowClipTest, LayersTakePartWhenOnOrLockedAndHoldingRecords) {
    RecordStore& s = app.store;
    s.DimensionEmpty(5);
    s.LayerCount = 5;
    struct Layer {
        std::int16_t on, locked;
        int count;
        bool clipped;
    };
    // A layer of one record (in slot 0) among full ones is clipped; an empty one is not.
    const Layer layers[] = {{True, False, 2, true}, {False, True, 2, true}, {False, False, 2, false},
                            {True, False, 1, true}, {True, False, 0, false}};
    for (int l = 1; l <= 5; ++l) {
        const Layer& given = layers[l - 1];
        s.LayerOnFlag[l] = given.on;
        s.LayerLockFlag[l] = given.locked;
        Put(l, 0, 7, {10.0 * l, 50, 1});
        s.Count(l) = given.count;
    }
    ClipWindow(app, 0, 100, 100, 0);
    std::vector<Item> expected;
    for (int l = 1; l <= 5; ++l)
        if (layers[l - 1].clipped) expected.push_back({7, 10.0 * l, 50, 1, 0});
    ExpectItems(expected, "layers");
}

TEST_F(WindowClipTest, SavedClipReadsBackAsOneLayerWithTheSameItems) {
    MakeSmallMap(app);
    ClipWindow(app, 0, 100, 100, 0);
    const auto items = Items();
    TempFolder folder("clip");
    const std::string path = (folder.Path() / "clip.wtw").string();
    WriteClipWtwFile(app, path);

    TestApp other;
    ReadWtwFile(other.app, path);
    const RecordStore& s = other.app.store;
    EXPECT_EQ(s.LayerCount, 1);
    ASSERT_EQ(s.Count(1), static_cast<int>(items.size()));
    for (size_t i = 0; i < items.size(); ++i) {
        MapRecord read = s.Get(1, static_cast<int>(i));
        read.RecordSource = items[i].RecordSource;  // the file keeps no source tags
        EXPECT_EQ(read, items[i]) << i;
    }
}

}  // namespace
}  // namespace movra
