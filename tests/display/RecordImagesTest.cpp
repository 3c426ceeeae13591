#include "display/RecordImages.h"
#include "document/Layers.h"

#include <fstream>

#include "basic/Paths.h"
#include "basic/Text.h"
#include "display/DisplayFixture.h"
#include "display/RecordRenderer.h"

namespace movra {
namespace {

class RecordImages : public DisplayTest {
protected:
    // A picture file on disk (the existence test reads the disk) that the picture reader knows.
    std::string MakePicture(const std::string& folder, const std::string& name, int width = 4) {
        const std::string path = JoinPath(folder, name);
        std::ofstream(path, std::ios::binary) << "BM....";
        Picture picture;
        picture.width = width;
        picture.height = 3;
        picture.pixels.assign(static_cast<size_t>(width) * 3, 0xFF112233u);
        t.platform.pictures.files[path] = picture;
        return path;
    }

    MapRecord& ImageRecord(int slot, const std::string& path, int holder) {
        MapRecord& r = app.store.At(1, slot);
        r.RecordType = 70;
        r.RecordText = path;
        r.RecordColor = holder;
        return r;
    }

    void Load(int slot) { LoadRecordImage(app, 1, static_cast<std::int16_t>(slot)); }

    RecordImageState& images = app.display.Images;
    ScriptedPrompt& prompt = t.platform.promptScript;
    ScriptedDialogs& dialogs = t.platform.dialogScript;
    TempFolder pictures{"pictures"};
};

TEST_F(RecordImages, LoadsIntoTheHolderOnceAndCountsTheLoads) {
    const std::string path = MakePicture(pictures.Str(), "a.jpg", 7);
    ImageRecord(10, path, 5);
    Load(10);
    EXPECT_EQ(images.Image1[5].width, 7);
    EXPECT_EQ(images.ImageSlotNames[5], path);
    EXPECT_EQ(images.ImageSlotNames[33], "1");
    EXPECT_EQ(app.mapFile.LastImageSlot, 5);

    // The same path in any letter case is held already: no load, no count.
    ImageRecord(11, LCase(path) == path ? UCase(path) : LCase(path), 5);
    images.Image1[5].width = 99;
    Load(11);
    EXPECT_EQ(images.Image1[5].width, 99);
    EXPECT_EQ(images.ImageSlotNames[33], "1");
    EXPECT_TRUE(prompt.questions.empty());

    // A lower holder does not lower the last one handed out.
    ImageRecord(12, MakePicture(pictures.Str(), "b.bmp"), 2);
    Load(12);
    EXPECT_EQ(app.mapFile.LastImageSlot, 5);
    ResetImageLoadCounter(app);
    EXPECT_EQ(images.ImageSlotNames[33], "0");
}

TEST_F(RecordImages, TheThirtySecondLoadOfARedrawIsRefused) {
    const std::string a = MakePicture(pictures.Str(), "a.jpg");
    const std::string b = MakePicture(pictures.Str(), "b.jpg");
    ImageRecord(10, a, 1);
    ImageRecord(11, b, 1);  // sharing holder 1: each draw loads again
    for (int load = 1; load <= 31; ++load) {
        Load(load % 2 == 1 ? 10 : 11);
        EXPECT_EQ(images.ImageSlotNames[1], load % 2 == 1 ? a : b) << load;
    }
    Load(11);  // the 32nd
    EXPECT_EQ(images.ImageSlotNames[1], a) << "refused: the holder keeps the 31st picture";
    EXPECT_EQ(images.ImageSlotNames[33], "32");
    ResetImageLoadCounter(app);
    Load(11);
    EXPECT_EQ(images.ImageSlotNames[1], b);
}

TEST_F(RecordImages, AMovedFileIsFoundInTheFolderLocatedLast) {
    const std::string moved = MakePicture(pictures.Str(), "图.jpg");
    images.ImageSearchFolder = pictures.Str();
    for (const char* stored : {"D:\\旧\\图.jpg", "/old/place/图.jpg"}) {
        ImageRecord(10, stored, 3);
        images.ImageSlotNames[3].clear();
        Load(10);
        EXPECT_EQ(app.store.Get(1, 10).RecordText, moved) << stored;
        EXPECT_EQ(images.ImageSlotNames[3], moved) << stored;
    }
    EXPECT_TRUE(prompt.questions.empty());
}

TEST_F(RecordImages, AMissingFileAsksTheUserToLocateIt) {
    ImageRecord(10, "D:\\图\\a.jpg", 4);
    dialogs.QueueCancel();
    Load(10);
    ASSERT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(prompt.LastText(), "/a.jpg_文件未找到，请定位！");  // no folder located yet: the root
    ASSERT_EQ(dialogs.requests.size(), 1u);
    EXPECT_EQ(dialogs.requests[0].file.filter, "所有文件|*.*|图片文件.bmp|*.bmp|jpg文件.jpg|*.jpg");
    EXPECT_EQ(dialogs.requests[0].file.filterIndex, 1);
    EXPECT_TRUE(images.Image1[4].Empty());
    EXPECT_EQ(app.store.Get(1, 10).RecordText, "D:\\图\\a.jpg");
    EXPECT_EQ(images.ImageSlotNames[33], "1");

    // Asked once in the map: the next redraws draw it missing without asking again.
    Load(10);
    Load(10);
    EXPECT_EQ(prompt.questions.size(), 1u);
    EXPECT_EQ(dialogs.requests.size(), 1u);

    // In the next map it is asked for again. Located by hand: loaded, the record takes the path
    // and the folder is remembered.
    ClearImageSlots(app);
    const std::string chosen = MakePicture(pictures.Str(), "located.jpg");
    dialogs.QueueFile(chosen);
    Load(10);
    EXPECT_EQ(prompt.questions.size(), 2u);
    EXPECT_EQ(prompt.LastText(), "/a.jpg_文件未找到，请定位！");
    EXPECT_FALSE(images.Image1[4].Empty());
    EXPECT_EQ(app.store.Get(1, 10).RecordText, chosen);
    EXPECT_EQ(images.ImageSearchFolder, pictures.Str());

    // The next missing file is looked for there and named so.
    ImageRecord(11, "E:\\x\\b.jpg", 6);
    dialogs.QueueCancel();
    Load(11);
    EXPECT_EQ(prompt.LastText(), JoinPath(pictures.Str(), "b.jpg") + "_文件未找到，请定位！");
}

TEST_F(RecordImages, HolderNumbersAboveThirtyTwoUseHolderZero) {
    MapRecord& r = ImageRecord(10, MakePicture(pictures.Str(), "a.jpg"), 40);
    Load(10);
    EXPECT_EQ(r.RecordColor, 0);
    EXPECT_FALSE(images.Image1[0].Empty());
    EXPECT_EQ(images.ImageSlotNames[0], r.RecordText);
}

// A file that is there but is no picture must not leave the holder's earlier picture (another
// record's, or the map before's) to be drawn in its place: the record is drawn as a missing
// picture, a red frame with its diagonals.
TEST_F(RecordImages, AFileThatIsNoPictureIsDrawnAsAMissingOne) {
    const std::string good = MakePicture(pictures.Str(), "good.jpg", 5);
    MapRecord& first = ImageRecord(10, good, 2);
    first.RecordX1 = 0, first.RecordY1 = 10, first.RecordX2 = 8, first.RecordY2 = -6;
    Load(10);
    const std::string bad = JoinPath(pictures.Str(), "bad.jpg");
    std::ofstream(bad) << "not a picture";
    MapRecord& second = ImageRecord(11, bad, 2);
    second.RecordX1 = 20, second.RecordY1 = 10, second.RecordX2 = 8, second.RecordY2 = -6;
    app.store.Count(1) = 12;
    app.clip.ClipXMin = app.clip.ClipYMin = -100;
    app.clip.ClipXMax = app.clip.ClipYMax = 100;
    canvas.ClearRecords();
    std::uint8_t layer = 1;
    std::int16_t slot = 11;
    DrawRecord(app, layer, slot);
    EXPECT_TRUE(images.Image1[2].Empty());
    EXPECT_EQ(images.ImageSlotNames[2], bad);
    EXPECT_EQ(images.ImageSlotNames[33], "2");
    EXPECT_TRUE(Of(Kind::Picture).empty()) << "the other record's picture was drawn in its place";
    const auto boxes = Of(Kind::Box);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(SameSegment(boxes[0], {20, 10, 28, 4}));
    EXPECT_TRUE(SameSegment(Lines().at(0), {20, 10, 28, 4}));
    EXPECT_TRUE(SameSegment(Lines().at(1), {20, 4, 28, 10}));
    // Not decoded again at the next redraw.
    DrawRecord(app, layer, slot);
    EXPECT_EQ(images.ImageSlotNames[33], "2");

    ClearImageSlots(app);
    EXPECT_TRUE(images.Image1[2].Empty());
    EXPECT_EQ(images.ImageSlotNames[2], "");  // so that the next draw loads it again
}

}  // namespace
}  // namespace movra
