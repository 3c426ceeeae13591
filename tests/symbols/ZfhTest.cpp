#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <functional>

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
    // Missing: nothing changes, and the user is told.
    LoadSelfMadeSymbols(t.app);
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, 0);
    EXPECT_EQ(t.platform.promptScript.LastText(), "符号库1.Zfh：无法读入（76 路径未找到）。" + std::string(SelfMadeNotLoadedText));

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

// Bytes that are no library are refused whole: nothing reaches layer 0, least of all a coordinate
// that is no finite number.
TEST_F(ZfhTest, AFileThatIsNoLibraryIsRefused) {
    FileRecord good;
    good.type = 2;
    good.text = "#甲";
    good.x2 = 1;
    struct Case {
        const char* name;
        std::function<void(FileRecord&)> spoil;
    };
    const Case cases[] = {
        {"NaN", [](FileRecord& r) { r.y2 = std::nan(""); }},
        {"1e308", [](FileRecord& r) { r.x2 = 1e308; }},  // P2 of a two-vertex line is a position
        {"another layer", [](FileRecord& r) { r.layer = 5; }},
        {"a kind no symbol has", [](FileRecord& r) { r.type = 65; }},
        {"a name without #", [](FileRecord& r) { r.text = "甲"; }},
    };
    CreateFolders((t.workFolder.Path() / "符号库").string());
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FileRecord bad = good;
        c.spoil(bad);
        std::string bytes;
        AppendFixedRecord(bytes, good);
        AppendFixedRecord(bytes, bad);
        WriteWholeFile(WrittenLibrary(), bytes);
        LoadSelfMadeSymbols(t.app);
        EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, 0);
        EXPECT_EQ(t.app.store.Get(0, 1000).RecordType, 0);
        const std::string said = t.platform.promptScript.LastText();
        EXPECT_EQ(said.rfind("符号库1.Zfh：第2条记录", 0), 0u) << said;
        EXPECT_NE(said.find(NotSelfMadeLibraryMessage), std::string::npos) << said;
    }
    // Random bytes.
    std::string noise(132 * 20, '\0');
    unsigned v = 59;
    for (char& b : noise) b = static_cast<char>((v = v * 1103515245 + 12345) >> 16);
    WriteWholeFile(WrittenLibrary(), noise);
    LoadSelfMadeSymbols(t.app);
    EXPECT_EQ(t.app.selfMade.SelfMadeSymbolsLoaded, 0);
    EXPECT_NE(t.platform.promptScript.LastText().find(NotSelfMadeLibraryMessage), std::string::npos);

    // Nor is a symbol written into it: the file keeps every byte, and the user is told.
    DrawSymbol(t.app, 2, 5);
    EXPECT_FALSE(SaveSymbolToLibrary(t.app, "井"));
    EXPECT_EQ(ReadWholeFile(WrittenLibrary()), noise);
    EXPECT_NE(t.platform.promptScript.LastText().find(NotSelfMadeLibraryText), std::string::npos)
        << t.platform.promptScript.LastText();
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
