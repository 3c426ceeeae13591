#include <gtest/gtest.h>

#include <filesystem>

#include "basic/Files.h"
#include "document/FileRecord.h"
#include "symbols/LoadSymbolStandard.h"
#include "symbols/ZfhFile.h"
#include "support/TestApp.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

// Draws a symbol of `elements` segments into layer 0 slots 900.. as symbol authoring leaves it.
void DrawSymbol(App& app, int elements, double size) {
    for (int s = 900; s <= 998; ++s) app.store.At(0, s) = MapRecord{};
    for (int k = 0; k < elements; ++k) {
        MapRecord& m = app.store.At(0, 900 + k);
        m.RecordType = k == 0 ? 7 : 2;
        m.RecordColor = k == 0 ? 255 : 0;
        m.RecordX1 = -size + k;
        m.RecordY1 = size;
        m.RecordX2 = size;
        m.RecordY2 = -size;
        m.RecordFont = "0";
    }
}

struct ZfhTest : ::testing::Test {
    TestApp t;
    void SetUp() override {
        t.app.selfMade.SelfMadeSymbolFile = SelfMadeLibraryPath(t.app, "符号库1");
        t.platform.promptScript.defaultAnswer = AnswerOk;
    }
    std::string WrittenLibrary() { return (t.workFolder.Path() / "符号库" / "符号库1.Zfh").string(); }
};

TEST_F(ZfhTest, SavedSymbolsLoadIntoLayerZeroFromSlot1000) {
    DrawSymbol(t.app, 2, 5);
    SaveSymbolToLibrary(t.app, "井");
    // The message names the file written, the work folder's copy.
    EXPECT_EQ(t.platform.promptScript.questions.at(0).text, "当前符号库为" + WrittenLibrary());
    // The shipped program folder stays as it was; the library is written in the work folder.
    EXPECT_FALSE(fs::exists(t.app.selfMade.SelfMadeSymbolFile));
    EXPECT_EQ(FileLength(WrittenLibrary()), 3 * 132);

    DrawSymbol(t.app, 3, 2);
    SaveSymbolToLibrary(t.app, "#塔");  // starts at the old end record
    EXPECT_EQ(FileLength(WrittenLibrary()), 6 * 132);

    LoadSelfMadeSymbols(t.app);
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, -1);
    EXPECT_EQ(t.app.store.Count(0), 1005);
    EXPECT_EQ(t.app.selfMade.Layer0SavedCount, 1005);
    const MapRecord& first = t.app.store.Get(0, 1000);
    EXPECT_EQ(first.RecordText, "#井");
    EXPECT_EQ(first.RecordType, 7);
    EXPECT_EQ(first.RecordColor, 255);
    EXPECT_DOUBLE_EQ(first.RecordX1, -5);
    EXPECT_EQ(t.app.store.Get(0, 1002).RecordText, "#塔");
    EXPECT_EQ(t.app.store.Get(0, 1004).RecordText, "#塔");
    EXPECT_EQ(t.app.store.Get(0, 1005).RecordType, 0);
}

TEST_F(ZfhTest, SmallerLibraryClearsTheSlotsOfTheLargerOne) {
    DrawSymbol(t.app, 4, 3);
    SaveSymbolToLibrary(t.app, "大");
    LoadSelfMadeSymbols(t.app);
    EXPECT_EQ(t.app.store.Count(0), 1004);

    ChooseSelfMadeLibrary(t.app, "符号库2");
    DrawSymbol(t.app, 1, 3);
    SaveSymbolToLibrary(t.app, "小");
    LoadSelfMadeSymbols(t.app);
    EXPECT_EQ(t.app.store.Count(0), 1001);
    EXPECT_EQ(t.app.store.Get(0, 1000).RecordText, "#小");
    for (int s = 1001; s <= 1003; ++s) EXPECT_EQ(t.app.store.Get(0, s).RecordType, 0) << s;
}

TEST_F(ZfhTest, DamagedOrMissingLibraries) {
    // Missing: nothing changes.
    LoadSelfMadeSymbols(t.app);
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, 0);

    // A library without an end record and with a cut last record stops at the file's end.
    FileRecord record;
    record.type = 2;
    record.text = "#甲";
    std::string bytes;
    AppendFixedRecord(bytes, record);
    AppendFixedRecord(bytes, record);
    bytes.resize(bytes.size() + 40, ' ');
    CreateFolders((t.workFolder.Path() / "符号库").string());
    WriteWholeFile(WrittenLibrary(), bytes);
    LoadSelfMadeSymbols(t.app);
    EXPECT_EQ(t.app.store.Count(0), 1002);
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, -1);
}

TEST(ShippedLibrary, LoadsItsSymbols) {
    TestApp t;
    const fs::path shipped = fs::path(MOVRA_TEST_SOURCE_DIR) / "resources" / "符号库" / "符号库1.Zfh";
    ASSERT_TRUE(fs::exists(shipped));
    fs::create_directories(t.programFolder.Path() / "符号库");
    fs::copy_file(shipped, t.programFolder.Path() / "符号库" / "符号库1.Zfh");
    t.app.selfMade.SelfMadeSymbolFile = SelfMadeLibraryPath(t.app, "符号库1");
    LoadSelfMadeSymbols(t.app);
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, -1);
    EXPECT_GT(t.app.store.Count(0), 1000);
    EXPECT_EQ(t.app.store.Get(0, 1000).RecordText.front(), '#');
}

}  // namespace
}  // namespace movra
