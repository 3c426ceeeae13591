#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <limits>
#include <random>

#include "JdxFileTestMaps.h"
#include "support/MapReadDifference.h"
#include "document/JdxFile.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

using namespace movra::test;

constexpr std::size_t R = FixedRecordSize;
constexpr int Layers = 5;

// Five layers (the third off) of records of every kind of text a map holds: none, a short number,
// an ASCII code, a Chinese annotation that does not fit inline, in four fonts; a few first vertices
// on an axis or far west, which the extents treat apart.
void MakeMixedMap(App& app, int records, int capacity = 5000) {
    DimensionMap(app, Layers, capacity);
    for (int layer = 1; layer <= Layers; ++layer) {
        app.store.LayerNames[static_cast<std::size_t>(layer)] = "层" + std::to_string(layer);
        app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = layer == 3 ? 0 : -1;
    }
    const char* fonts[] = {"宋体", "黑体", "Arial", ""};
    std::mt19937 random(11);
    for (int i = 0; i < records; ++i) {
        MapRecord r = SampleRecord(i);
        r.RecordX1 = 3000 + static_cast<double>(random() % 9000);
        if (i % 97 == 5) r.RecordX1 = 1200;  // west of half the largest x
        if (i % 89 == 3) r.RecordY1 = 0;
        switch (i % 4) {
        case 0: r.RecordText = ""; break;
        case 1: r.RecordText = std::to_string(i); break;
        case 2: r.RecordText = "GCD-" + std::to_string(i * 7); break;
        default: r.RecordText = "居民地注记第" + std::to_string(i) + "号"; break;
        }
        r.RecordFont = fonts[i % 4];
        AddRecord(app, 1 + i * Layers / records, r);
    }
    app.extents = {6000, 100, 6100, 800};
}

// Makes the record at `at` a cleared one of its layer, as the writers end each layer.
void ClearRecord(std::string& bytes, std::size_t at) {
    std::memset(bytes.data() + at + 1, 0, RecordHeadSize - 1);
    std::memset(bytes.data() + at + RecordHeadSize, ' ', R - RecordHeadSize);
}

struct FileVariant {
    const char* name;
    std::function<void(std::string&, std::size_t drawing)> change;  // `drawing`: first drawing record
    bool parallel = true;  // read on several threads rather than left to one
};

// The drawing is read on several threads only where one thread would store the same: every file,
// good, odd or damaged, and every number of threads, leave the map, the extents and the messages
// exactly as the one-thread reader does. Stretch boundaries fall at every kind of record.
TEST(ParallelDrawingRead, EveryNumberOfThreadsLeavesWhatOneThreadLeaves) {
    TempFolder folder{"parallel"};
    TestApp source;
    MakeMixedMap(source.app, 1500);
    const std::string path = (folder.Path() / "mixed.jdx").string();
    WriteJdxFile(source.app, path);
    const std::string original = FileBytes(path);
    const std::size_t drawing = (1 + Layers) * R;
    const std::size_t records = original.size() / R;

    const std::vector<FileVariant> variants = {
        {"as written", [](std::string&, std::size_t) {}},
        {"layer-0 records among the drawing", [](std::string& b, std::size_t d) {
             for (std::size_t at = d + 3 * R; at < b.size() - R; at += 211 * R) b[at] = 0;
         }},
        {"layer bytes beyond the layer count", [](std::string& b, std::size_t d) {
             for (std::size_t at = d + 1400 * R; at < b.size() - R; at += R) b[at] = static_cast<char>(200);
         }},
        {"layers out of order", [](std::string& b, std::size_t d) { b[d + 1000 * R] = 1; }},
        {"end record in the middle, rubbish after it", [records](std::string& b, std::size_t) {
             const std::string end = b.substr(b.size() - R);
             b.replace(700 * R, R, end);
             for (std::size_t at = 701 * R; at < records * R; ++at) b[at] = static_cast<char>(at * 31);
         }},
        {"no end record (a sheet file)", [](std::string& b, std::size_t) { b.resize(b.size() - R); }},
        {"no end record and a cut record", [](std::string& b, std::size_t) { b.resize(b.size() - R - 50); }, false},
        {"end record, then a cut record", [](std::string& b, std::size_t) { b.append(60, 'x'); }},
        {"a cleared record inside a layer", [](std::string& b, std::size_t d) { ClearRecord(b, d + 200 * R); }},
        {"cleared records where the stretches end", [](std::string& b, std::size_t d) {
             const std::size_t n = (b.size() - d) / R;
             for (const std::size_t threads : {2, 3, 7}) {
                 for (std::size_t t = 1; t < threads; ++t) {
                     const std::size_t last = d + (n * t / threads - 1) * R;
                     ClearRecord(b, last);
                     b[last] = b[last + R];  // the next record goes on with its layer
                 }
             }
         }},
        {"layers go back where the second of two stretches begins", [](std::string& b, std::size_t d) {
             // Met in the file's order, the point at x 5000 comes after one at 20000 and does not
             // move the west edge; met layer by layer, as the map is then widened, it does.
             const std::size_t n = (b.size() - d) / R;
             for (std::size_t at = d; at < b.size() - R; at += R) SetValueAt<double>(b, at + 10, 7000);
             SetValueAt<double>(b, d + 400 * R + 10, 20000);
             SetValueAt<double>(b, d + (n - 10) * R + 10, 5000);
             for (std::size_t at = d + n / 2 * R; at < b.size() - R; at += R) b[at] = 1;
         }},
        {"a layer that has to grow", [](std::string& b, std::size_t) { SetValueAt<std::int16_t>(b, 1, 290); }, false},
        {"coordinates no view can hold", [](std::string& b, std::size_t d) {
             const double far[] = {std::numeric_limits<double>::infinity(), 1e40, -2e9,
                                   std::numeric_limits<double>::quiet_NaN()};
             for (std::size_t k = 0; k < 40; ++k) {
                 const std::size_t field = k % 2 == 0 ? 10 : 10 + 8 * (k % 8);  // P1's x, or another
                 SetValueAt<double>(b, d + (17 + 31 * k) * R + field, far[k % 4]);
             }
         }},
        {"bad bytes in texts and fonts", [](std::string& b, std::size_t d) {
             b[d + 10 * R + 92] = static_cast<char>(0xFF);
             b[d + 11 * R + 131] = static_cast<char>(0xB0);
             b[d + 12 * R + 124] = static_cast<char>(0x80);
         }},
    };

    for (const FileVariant& variant : variants) {
        SCOPED_TRACE(variant.name);
        std::string bytes = original;
        variant.change(bytes, drawing);
        PutBytes(path, bytes);

        TestApp oneThread;
        MakeMarkerMap(oneThread.app);
        oneThread.app.mapFile.ParallelReadMinimumRecords = 1 << 30;
        ReadJdxFile(oneThread.app, path);
        for (const int threads : {1, 2, 3, 7}) {
            SCOPED_TRACE(threads);
            TestApp several;
            MakeMarkerMap(several.app);
            several.app.mapFile.ReadThreads = threads;
            several.app.mapFile.ParallelReadMinimumRecords = 0;
            ReadJdxFile(several.app, path);
            EXPECT_EQ(several.app.mapFile.LastReadThreads > 0, variant.parallel);
            EXPECT_EQ(FirstReadDifference(oneThread.app, oneThread.form1, several.app, several.form1), "");
        }
    }
}

// With the settings a user has, a map large enough is read on several threads and writes back to
// the same bytes.
TEST(ParallelDrawingRead, ALargeMapWritesBackToTheSameBytes) {
    TempFolder folder{"parallel"};
    TestApp source;
    MakeMixedMap(source.app, 34000, 9000);
    const std::string path = (folder.Path() / "large.jdx").string();
    WriteJdxFile(source.app, path);

    TestApp read;
    ASSERT_TRUE(ReadJdxFile(read.app, path));
    EXPECT_GT(read.app.mapFile.LastReadThreads, 0);
    for (int layer = 1; layer <= Layers; ++layer) ASSERT_EQ(read.app.store.Count(layer), source.app.store.Count(layer));
    const std::string again = (folder.Path() / "again.jdx").string();
    WriteJdxFile(read.app, again);
    // Past the header, whose extents are those the read widened.
    const std::string written = FileBytes(path);
    const std::string rewritten = FileBytes(again);
    ASSERT_EQ(rewritten.size(), written.size());
    const auto differ = std::mismatch(written.begin() + R, written.end(), rewritten.begin() + R);
    EXPECT_EQ(differ.first - written.begin(), static_cast<std::ptrdiff_t>(written.size()));
}

}  // namespace
}  // namespace movra
