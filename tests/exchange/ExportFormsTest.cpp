// The three export forms, line by line: golden files made by us for a map holding every exported
// kind of record and for an empty map, and spot checks of the lines that are easy to get wrong.
// MOVRA_UPDATE_GOLDEN=1 writes the golden files anew (look at them before committing).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>

#include "ExchangeTestMaps.h"
#include "basic/Gbk.h"
#include "basic/Numbers.h"
#include "exchange/ExportCoordinateText.h"
#include "exchange/ExportDxfOwnDialect.h"
#include "exchange/ExportDxfR12.h"
#include "exchange/ExportLines.h"

namespace movra {
namespace {

using namespace exchange_test;

enum class Form { R12, Own, Text };

struct FormInfo {
    Form form;
    const char* name;
    bool (*write)(App&, const std::string&);
};

const FormInfo Forms[] = {{Form::R12, "r12.dxf", &ExportDxfR12},
                          {Form::Own, "own.dxf", &ExportDxfOwnDialect},
                          {Form::Text, "text.txt", &ExportCoordinateText}};

std::vector<std::string> Export(TestApp& t, Form form) {
    InstallHeaderTemplate(t);
    const FormInfo& info = *std::find_if(std::begin(Forms), std::end(Forms), [&](auto& f) { return f.form == form; });
    const std::string path = t.workFolder.Str() + "/out";
    EXPECT_TRUE(info.write(t.app, path));
    return CrLfLines(ReadBytes(path));
}

// True when `run` stands in `lines` as consecutive lines; `times` counts how often.
int CountRuns(const std::vector<std::string>& lines, const std::vector<std::string>& run) {
    int times = 0;
    for (size_t i = 0; i + run.size() <= lines.size(); ++i)
        if (std::equal(run.begin(), run.end(), lines.begin() + static_cast<long>(i))) ++times;
    return times;
}

void CompareWithGolden(const std::string& bytes, const std::string& name) {
    const std::string golden = FixtureDir + "/" + name;
    if (const char* update = std::getenv("MOVRA_UPDATE_GOLDEN"); update && *update == '1') {
        std::filesystem::create_directories(FixtureDir);
        WriteWholeFile(golden, bytes);
    }
    ASSERT_TRUE(FileExists(golden)) << golden;
    const std::string expected = ReadBytes(golden);
    if (bytes == expected) return;
    const auto got = CrLfLines(bytes);
    const auto want = CrLfLines(expected);
    size_t i = 0;
    while (i < got.size() && i < want.size() && got[i] == want[i]) ++i;
    FAIL() << name << " differs at line " << i + 1 << ": got \"" << (i < got.size() ? got[i] : "<end>")
           << "\", golden \"" << (i < want.size() ? want[i] : "<end>") << "\"";
}

TEST(ExportFormsTest, SampleAndEmptyMapsMatchTheGoldenFiles) {
    for (const FormInfo& f : Forms) {
        TestApp sample;
        SampleMap(sample.app);
        Export(sample, f.form);
        CompareWithGolden(ReadBytes(sample.workFolder.Str() + "/out"), "sample-" + std::string(f.name));

        TestApp empty;
        EmptyMap(empty.app, 1);
        Export(empty, f.form);
        CompareWithGolden(ReadBytes(empty.workFolder.Str() + "/out"), "empty-" + std::string(f.name));
    }
}

TEST(ExportFormsTest, EmptyMapsHoldTheFrameOnly) {
    TestApp t;
    EmptyMap(t.app, 1);
    const auto text = Export(t, Form::Text);
    EXPECT_EQ(text, (std::vector<std::string>{"jvqa", "jvqa", "jvqb"}));

    const auto r12 = Export(t, Form::R12);
    ASSERT_GE(r12.size(), 8u);
    EXPECT_EQ(std::vector<std::string>(r12.end() - 8, r12.end()),
              (std::vector<std::string>{"  0", "SECTION", "  2", "ENTITIES", "  0", "ENDSEC", "  0", "EOF"}));
    EXPECT_EQ(r12[3], "HEADER");
    EXPECT_EQ(CountRuns(r12, {"  9"}), 136);

    const auto own = Export(t, Form::Own);
    const auto templ = CrLfLines(ReadBytes(SourceDir + "/resources/dxf头文档.txt"));
    ASSERT_GT(own.size(), 80 + templ.size());
    EXPECT_EQ(own[78], " 40");
    EXPECT_EQ(own[79], " 0.5 ");  // $LTSCALE: the ScaleFactor
    EXPECT_TRUE(std::equal(templ.begin() + 1, templ.end(), own.begin() + 80));
    EXPECT_EQ(own[80 + templ.size() - 1], "  0");
    EXPECT_EQ(own[80 + templ.size()], "ENDSEC");
    EXPECT_EQ(own.back(), "EOF");
    EXPECT_EQ(CountRuns(own, {"  0", "LAYER"}), 2);  // layers 0 and 1
    EXPECT_EQ(CountRuns(own, {"0", "SECTION", "2", "ENTITIES", "0", "ENDSEC"}), 1);
}

TEST(ExportFormsTest, LinesThatAreEasyToGetWrong) {
    struct Case {
        const char* what;
        Form form;
        std::function<void(App&)> map;
        std::vector<std::string> run;
        int times;
    };
    auto oneRecord = [](int layers, int layer, MapRecord r) {
        return [=](App& app) {
            EmptyMap(app, layers);
            Put(app, layer, {r});
        };
    };
    const std::vector<Case> cases = {
        {"handles run together", Form::Own,
         [](App& app) {
             EmptyMap(app, 12);
             app.store.At(1, 23) = Rec(7, {1, 1, 1});
             app.store.Count(1) = 24;
             app.store.At(12, 3) = Rec(7, {2, 2, 1});
             app.store.Count(12) = 4;
         },
         {"0", "CIRCLE", "5", "123"}, 2},
        {"own Z forms", Form::Own,
         [](App& app) {
             EmptyMap(app, 1);
             MapRecord r = Rec(2, {0, 0, 1, 1});
             r.RecordZ2 = 2.5f;
             Put(app, 1, {r});
         },
         {"30", "00", "11", " 1 ", "21", " 1 ", "31", "02.5"}, 1},
        {"type 6 closes on its P1", Form::Own, oneRecord(1, 1, Rec(6, {1, 2, 3, 4, 5, 6, 7, 8})),
         {"10", " 1 ", "20", " 2 ", "10", " 3 ", "20", " 4 ", "10", " 5 ", "20", " 6 ", "10", " 7 ", "20", " 8 ", "10",
          " 1 ", "20", " 2 ", "0", "ENDSEC"},
         1},
        {"arc on its own layer", Form::Own, oneRecord(2, 2, Rec(8, {0, 0, 1, 0, 0, 1})),
         {"0", "ARC", "5", "20", "100", "AcDbEntity", "70", " 8 ", "8", ToGbk("层2")}, 1},
        {"negative and small numbers", Form::Own, oneRecord(1, 1, Rec(7, {-3.5, 0.25, 0.125})),
         {"10", "-3.5 ", "20", " 0.25 ", "30", " 0 ", "40", " 0.125 "}, 1},
        {"layer 3 colour in a LINE", Form::R12, oneRecord(3, 3, Rec(2, {0, 0, 1, 1})),
         {"LINE", "  8", "0", "  6", "CONTINUOUS", "62", "   3 "}, 1},
        {"layer 3 colour in a CIRCLE", Form::R12, oneRecord(3, 3, Rec(7, {0, 0, 2})),
         {"CIRCLE", "  8", "0", "  6", "CONTINUOUS", "62", "     3 ", "10", " 0 ", "20", " 0 ", "30", " 0 ", "40",
          " 2 "},
         1},
        {"dashed pen", Form::R12, oneRecord(1, 1, Rec(2, {0, 0, 1, 1}, "", 1)), {"  6", "HIDDEN2"}, 1},
        {"point symbol as a circle of radius 1", Form::R12, oneRecord(1, 1, Rec(15, {7.5, 8, 0, 1}, "128")),
         {"10", " 7.5 ", "20", " 8 ", "30", " 0 ", "40", " 1 ", "  0"}, 1},
        {"type 6 as four lines", Form::R12, oneRecord(1, 1, Rec(6, {1, 2, 3, 4, 5, 6, 7, 8})),
         {"10", " 7 ", "20", " 8 ", "30", "0.00", "11", " 1 ", "21", " 2 "}, 1},
        {"image as its diagonal", Form::R12, oneRecord(1, 1, Rec(70, {10, 20, 4, 3}, "a.bmp")),
         {"10", " 10 ", "20", " 20 ", "30", "0.00", "11", " 14 ", "21", " 23 "}, 1},
        {"layer 0 gets colour 0", Form::R12, oneRecord(1, 0, Rec(2, {0, 0, 1, 1})), {"62", "   0 "}, 1},
        {"arc with its angles in degrees", Form::R12, oneRecord(2, 2, Rec(8, {1.5, 2, 4, 1, 0, 3.14159265358979})),
         {"ARC", "  8", "0", "  6", "CONTINUOUS", "62", "     2 ", "10", " 1.5 ", "20", " 2 ", "30", " 0 ", "40", " 4 ",
          "50", " 0 ", "51", " 180 ", "  0"},
         1},
        {"height point at its elevation", Form::R12,
         [](App& app) {
             EmptyMap(app, 1);
             MapRecord r = Rec(46, {3, 4});
             r.RecordZ1 = 12.5f;
             Put(app, 1, {r});
         },
         {"POINT", "  8", "0", "62", "   1 ", "10", " 3 ", "20", " 4 ", "30", " 12.5 ", "  0"}, 1},
        {"turned text keeps its angle", Form::R12,
         [](App& app) {
             EmptyMap(app, 1);
             MapRecord r = Rec(66, {10, 10, 6, 1}, "字");
             r.RecordZ2 = 45.5f;
             Put(app, 1, {r});
         },
         {"TEXT", "  8", "0", "62", "   1 ", "10", " 10 ", "20", " 8 ", "30", " 0 ", "40", " 2 ", "  1", ToGbk("字"), "50",
          " 45.5 ", "  0"},
         1},
        {"a line break inside a text", Form::R12, oneRecord(1, 1, Rec(65, {0, 0, 3}, "第一行\r\n第二行")),
         {"  1", ToGbk("第一行  第二行"), "50", " 0 ", "  0"}, 1},
        {"a line break inside a point name", Form::Text, oneRecord(1, 1, Rec(31, {1, 2}, "J\n1")),
         {"jvqa", "1,2,0,J 1", "jvqb"}, 1},
        {"chain 45, 45, 43 is one polyline", Form::Text,
         [](App& app) {
             EmptyMap(app, 1);
             Put(app, 1, {Rec(45, {0, 0, 1, 0, 2, 0, 3, 0}), Rec(45, {4, 0, 5, 0, 6, 0, 7, 0}),
                          Rec(43, {8, 0, 9, 0, 10, 0})});
         },
         {"jvqa,11", "0,0", "1,0", "2,0", "3,0", "4,0", "5,0", "6,0", "7,0", "8,0", "9,0", "10,0", "jvqb"}, 1},
        {"open chain ends with its layer", Form::Text,
         [](App& app) {
             EmptyMap(app, 2);
             Put(app, 1, {Rec(5, {0, 0, 1, 0, 2, 0, 3, 0})});
             Put(app, 2, {Rec(2, {9, 9, 8, 8})});
         },
         {"jvqa", "jvqa,4", "0,0", "1,0", "2,0", "3,0", "jvqb", "jvqa,2", "9,9", "8,8", "jvqb", "jvqa", "jvqb"}, 1},
        {"point lines keep their text", Form::Text,
         [](App& app) {
             EmptyMap(app, 1);
             MapRecord r = Rec(32, {1.5, 2, 3, 4}, "a,b");
             r.RecordZ1 = 2.5f;
             Put(app, 1, {r, Rec(31, {5, 6})});
         },
         {"1.5,2,2.5,a,b", "3,4,0,a,b", "5,6,0,"}, 1},
    };
    for (const Case& c : cases) {
        TestApp t;
        c.map(t.app);
        const auto lines = Export(t, c.form);
        EXPECT_EQ(CountRuns(lines, c.run), c.times) << c.what;
    }
}

// Every kind of record that a release-12 entity can draw reaches the file as that entity; the
// kinds none can draw as the map does stay out.
TEST(ExportFormsTest, ReleaseTwelveWritesWhatItsEntitiesCanDraw) {
    struct Case {
        const char* what;
        MapRecord record;
        const char* entity;  // nullptr: no entity at all
        int count;
        int total = -1;                // entities of every kind, when others come with `entity`
        std::vector<std::string> run;  // lines that must stand once in the file
    };
    MapRecord ticks = Rec(80, {1, 1, 2, 2, 0, 0, 3, 3});
    ticks.RecordZ1 = ticks.RecordZ2 = ticks.RecordZ4 = 0.5f;
    MapRecord heights = Rec(48, {1, 1, 2, 2, 3, 3});
    heights.RecordZ3 = 7.5f;
    // The point of a terrain point and of a turned text lies at P4, at the elevation in Z4.
    MapRecord terrain = Rec(61, {0, 0, 6, 1, 0, 0, 2, 3}, "12.5");
    terrain.RecordZ1 = terrain.RecordZ4 = 12.5f;
    MapRecord turned = Rec(62, {0, 0, 6, 1, 0, 0, 5, 6}, "字");
    turned.RecordZ2 = 30;
    turned.RecordZ4 = 7.5f;
    const std::vector<std::string> pointAtP4 = {"10", PrintNumberText(2.0), "20", PrintNumberText(3.0),
                                                "30", PrintNumberText(12.5f)};
    // Grid paper 10 by 5 at a spacing of 1: its border, 4 rows and 9 columns inside; a sheet of a
    // million lines goes out as its border.
    const MapRecord grid = Rec(36, {0, 5, 10, 5, 10, 0, 0, 0});
    const MapRecord vastGrid = Rec(36, {0, 1e6, 1e6, 1e6, 1e6, 0, 0, 0});
    // Symbol rows of 3 units at a spacing of 1 from P1 (three symbols) and of none from P2.
    MapRecord rows = Rec(87, {0, 0, 10, 10}, "128");
    rows.RecordZ1 = 3;
    rows.RecordExtra = "1";
    const Case cases[] = {
        {"arc", Rec(8, {0, 0, 4, 1, 0.5, 2.5}), "ARC", 1},
        {"wide line of four vertices", Rec(74, {0, 0, 1, 0, 1, 1, 0, 1}), "LINE", 3},
        {"wide line of two", Rec(72, {0, 0, 1, 0}), "LINE", 1},
        {"special boundary line of three", Rec(93, {0, 0, 1, 0, 1, 1}, "1090"), "LINE", 2},
        {"special boundary line going on", Rec(95, {0, 0, 1, 0, 1, 1, 0, 1}, "1091"), "LINE", 4},
        {"cross", Rec(52, {0, 0, 1, 1, 0, 1, 1, 0}), "LINE", 2},
        {"ticks up to the vertex at (0, 0)", ticks, "LINE", 2},
        {"four boundary points", Rec(34, {1, 1, 2, 2, 3, 3, 4, 4}), "POINT", 4},
        {"three height points", heights, "POINT", 3},
        {"named point", Rec(50, {5, 5, 8}, "K1"), "CIRCLE", 1},
        {"symbol point", Rec(51, {5, 5, 8}, "128"), "CIRCLE", 1},
        {"text", Rec(25, {0, 0, 6}, "字"), "TEXT", 1},
        {"turned text with its point", turned, "TEXT", 1, 2,
         {"10", PrintNumberText(5.0), "20", PrintNumberText(6.0), "30", PrintNumberText(7.5f)}},
        {"terrain point", terrain, "POINT", 1, 2, pointAtP4},
        {"terrain point's name", terrain, "TEXT", 1, 2, {"  1", "12.5", "50", PrintNumberText(0)}},
        {"pixel text", Rec(63, {0, 0, 6, 1}, "字"), "TEXT", 1},
        {"italic text", Rec(64, {0, 0, 6, 1}, "字"), "TEXT", 1},
        {"grid paper", grid, "LINE", 17},
        {"grid paper of a million lines", vastGrid, "LINE", 4},
        {"symbol rows", rows, "CIRCLE", 3},
        {"frame placeholder", Rec(69, {0, 0, 10, 10}), nullptr, 0},
        {"ellipse", Rec(9, {0, 0, 5, 3, 0.5}), nullptr, 0},
        {"solid fill head", Rec(11, {0, 0}), nullptr, 0},
        {"pattern fill head", Rec(13, {0, 0}), nullptr, 0},
        {"fill boundary", Rec(29, {0, 0, 1, 0, 1, 1, 0, 1}), nullptr, 0},
        {"rule shape", Rec(10, {0, 0, 1, 0, 1, 1, 0, 1}), nullptr, 0},
        {"attribute", Rec(53, {0, 0}, "张三"), nullptr, 0},
        {"erasing line", Rec(99, {0, 0, 1, 1}), nullptr, 0},
    };
    for (const Case& c : cases) {
        TestApp t;
        EmptyMap(t.app, 1);
        t.app.view.ScaleFactor = 1;
        Put(t.app, 1, {c.record});
        const auto lines = Export(t, Form::R12);
        int entities = 0;
        for (const char* kind : {"LINE", "CIRCLE", "ARC", "POINT", "TEXT"}) entities += CountRuns(lines, {kind, "  8", "0"});
        EXPECT_EQ(entities, c.total < 0 ? c.count : c.total) << c.what;
        if (c.entity) {
            EXPECT_EQ(CountRuns(lines, {c.entity, "  8", "0"}), c.count) << c.what;
        }
        if (!c.run.empty()) EXPECT_EQ(CountRuns(lines, c.run), 1) << c.what;
    }
}

TEST(ExportFormsTest, NumberFormsAndChineseBytes) {
    EXPECT_EQ(ZNumberText(0.0f), "00");
    EXPECT_EQ(ZNumberText(2.5f), "02.5");
    EXPECT_EQ(ToGbk("道路"), "\xB5\xC0\xC2\xB7");

    TestApp t;
    EmptyMap(t.app, 1);
    t.app.store.LayerNames[1] = "道路";
    const auto lines = Export(t, Form::R12);
    EXPECT_EQ(CountRuns(lines, {"  2", "\xB5\xC0\xC2\xB7", " 70", "  4"}), 1);
}

// A chain record in the store's last slot has no next slot: its line ends at its own P4, and
// nothing is read beyond the store.
TEST(ExportFormsTest, ChainInTheLastSlotEndsAtItsOwnP4) {
    TestApp t;
    EmptyMap(t.app, 1);
    const int last = t.app.store.LayerCapacity;
    t.app.store.At(1, last) = Rec(5, {1, 1, 2, 1, 3, 1, 4, 1});
    t.app.store.Count(1) = last + 1;
    const auto own = Export(t, Form::Own);
    EXPECT_EQ(CountRuns(own, {"10", " 4 ", "20", " 1 ", "0", "ENDSEC"}), 1);
    const auto r12 = Export(t, Form::R12);
    EXPECT_EQ(CountRuns(r12, {"LINE"}), 3);
    const auto text = Export(t, Form::Text);
    EXPECT_EQ(text, (std::vector<std::string>{"jvqa", "jvqa,4", "1,1", "2,1", "3,1", "4,1", "jvqb", "jvqa", "jvqb"}));
}

}  // namespace
}  // namespace movra
