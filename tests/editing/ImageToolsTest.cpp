#include <filesystem>
#include <fstream>
#include <string>

#include "CanvasFixture.h"
#include "basic/Numbers.h"
#include "editing/LinkedImages.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

// A picture whose every pixel tells its place, so that a cut region can be checked pixel by pixel.
Picture Numbered(int width, int height) {
    Picture p;
    p.width = width;
    p.height = height;
    p.pixels.resize(static_cast<std::size_t>(width) * height);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.pixels[static_cast<std::size_t>(y) * width + x] = 0xFF000000u | (static_cast<std::uint32_t>(y) << 12) | x;
    return p;
}

class ImageToolsTest : public CanvasTest {
protected:
    ImageToolsTest() {
        app.store.LayerCount = 2;
        app.store.DimensionKeep(2);
        for (int layer : {1, 2}) app.store.LayerOnFlag[layer] = -1;
        app.store.CurrentLayer = 1;
    }

    void Choose(const std::string& menuKey) {
        ToolbarButton& button = toolbar.Buttons("图像");
        toolbar.UserClickMenu(button.Index(), button.ButtonMenus(menuKey).Index());
    }
    // A picture file the fake platform knows, 1000 x 500 pixels unless said otherwise.
    std::string PictureFile(const std::string& name, int width = 1000, int height = 500) {
        const std::string path = folder.Str() + "/" + name;
        t.platform.pictures.files[path] = Numbered(width, height);
        return path;
    }
    // An image record over x 0..100, y 10..60, its picture in holder 3.
    MapRecord& PutImage(int layer, int slot, const std::string& path) {
        MapRecord& r = Put(layer, slot, {0, 60, 100, -50}, TypeImage);
        r.RecordColor = 3;
        r.RecordText = path;
        app.display.Images.Image1[3] = t.platform.pictures.files[path];
        app.display.Images.ImageSlotNames[3] = path;
        return r;
    }
    const MapRecord& Picked() {
        return app.store.Get(app.linkedImages.ImageRecordLayer, app.linkedImages.ImageRecordSlot);
    }
    bool Picks(double x, double y) { return HitTestLinkedImage(app, static_cast<float>(x), static_cast<float>(y)) == -1; }
    FakePictureFiles& Files() { return t.platform.pictures; }

    TempFolder folder{"pictures"};
};

TEST_F(ImageToolsTest, InsertionTakesTheHoldersInTurnAndStagesThePictureAtItsScreenSize) {
    const std::string path = PictureFile("a.bmp");
    app.mapFile.LastImageSlot = 31;
    app.tool.PressPoint = {10, 20};
    for (int expected : {32, 0}) {
        t.platform.dialogScript.QueueFile(path);
        Choose("插入图像");
        EXPECT_EQ(app.tool.CommandMode, ModePlaceImage);
        EXPECT_EQ(app.mapFile.LastImageSlot, expected);
        const MapRecord& staged = app.store.Get(0, 900 + expected);
        EXPECT_EQ(staged.RecordX1, 10);
        EXPECT_EQ(staged.RecordY1, 20);
        // 1000 x 500 pixels at 15 twips a pixel, 5670 twips a ground unit.
        EXPECT_EQ(staged.RecordX2, 2);
        EXPECT_EQ(staged.RecordY2, 1);
        EXPECT_EQ(staged.RecordColor, expected);
        EXPECT_EQ(staged.RecordText, path);
        EXPECT_EQ(app.display.Images.Image1[static_cast<std::size_t>(expected)].width, 1000);
    }
    EXPECT_EQ(t.platform.dialogScript.requests.back().file.filter, "所有文件|*.*|图片文件.bmp|*.bmp|jpg文件.jpg|*.jpg");

    // Cancel, a file that is no picture, and the drawing of a self-made symbol leave nothing staged.
    t.platform.dialogScript.QueueCancel();
    Choose("插入图像");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    t.platform.dialogScript.QueueFile(folder.Str() + "/nothing.bmp");
    Choose("插入图像");
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    app.tool.SymbolMakingMode = -1;
    const std::int16_t before = app.mapFile.LastImageSlot;
    t.platform.dialogScript.QueueFile(path);
    Choose("插入图像");
    EXPECT_EQ(app.mapFile.LastImageSlot, before);
    EXPECT_EQ(t.platform.dialogScript.files.size(), 1u);  // no dialog was shown
}

TEST_F(ImageToolsTest, PlacementStoresTheImageRecordAtTheReleaseAndHandsOverToMoving) {
    const std::string path = PictureFile("a.bmp", 5670, 2835);  // 15 x 7.5 ground units
    app.tool.PressPoint = {100, 200};  // where the picture is staged
    t.platform.dialogScript.QueueFile(path);
    Choose("插入图像");
    const int holder = app.mapFile.LastImageSlot;
    Press(100, 200);
    Surface().ClearRecords();
    Drag(150, 180);
    const auto pictures = Surface().PrimitivesOf(SurfacePrimitive::Kind::Picture);
    ASSERT_EQ(pictures.size(), 1u);
    EXPECT_EQ(pictures[0].x1, 150);  // the staged corner (the press) moved with the cursor
    EXPECT_EQ(pictures[0].y1, 180);
    app.current.ModifiedFlag = 0;
    Release(300, 400);

    ASSERT_EQ(app.store.Count(1), 1);
    EXPECT_EQ(app.current.ModifiedFlag, -1);  // leaving now asks to save the placed picture
    const MapRecord& r = app.store.Get(1, 0);
    EXPECT_EQ(r.RecordType, TypeImage);
    EXPECT_EQ(r.RecordColor, holder);
    EXPECT_EQ(r.RecordX1, 300);
    EXPECT_EQ(r.RecordY1, 400);
    EXPECT_EQ(r.RecordX2, 15);
    EXPECT_EQ(r.RecordY2, -7);
    EXPECT_EQ(r.RecordText, path);
    EXPECT_EQ(app.tool.CommandMode, ModeMoveImage);
}

TEST_F(ImageToolsTest, DeleteWhilePlacingTakesThePictureBackAndKeepsTheSelection) {
    t.platform.dialogScript.QueueFile(PictureFile("a.bmp"));
    Choose("插入图像");
    const int holder = app.mapFile.LastImageSlot;
    Put(1, 0, {0, 0, 5, 5});
    app.selection.SelectionList = {{2, 0}, {1, 0}};
    app.tool.SelectionMade = -1;
    Key(KeyDelete);
    EXPECT_TRUE(app.display.Images.Image1[static_cast<std::size_t>(holder)].Empty());
    EXPECT_EQ(app.store.Get(0, 900 + holder).RecordColor, 0);
    EXPECT_EQ(app.store.Get(1, 0).RecordType, 2);
    EXPECT_EQ(app.selection.SelectionList.size(), 2u);
    for (int button : {8, 10, 11}) EXPECT_FALSE(toolbar.Buttons(button).Enabled());
    // A release then places nothing.
    Click(50, 50);
    EXPECT_EQ(app.store.Count(1), 1);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
}

TEST_F(ImageToolsTest, StackedPicturesArePickedInTurnAndBordersAndHiddenLayersAreNot) {
    const std::string path = PictureFile("a.bmp");
    PutImage(1, 0, path);
    PutImage(1, 1, path);
    for (int slot : {0, 1, 0}) {
        EXPECT_TRUE(Picks(50, 30));
        EXPECT_EQ(app.linkedImages.ImageRecordSlot, slot);
    }
    // The same slot number on another layer is another picture.
    app.store.At(1, 1).RecordType = TypeImage + 100;  // deleted
    PutImage(2, 0, path);
    for (int layer : {2, 1, 2}) {
        EXPECT_TRUE(Picks(50, 30));
        EXPECT_EQ(app.linkedImages.ImageRecordLayer, layer);
        EXPECT_EQ(app.linkedImages.ImageRecordSlot, 0);
    }

    for (auto [x, y] : {std::pair{0.0, 30.0}, {100.0, 30.0}, {50.0, 60.0}, {50.0, 10.0}, {150.0, 30.0}}) {
        EXPECT_FALSE(Picks(x, y)) << x << "," << y;
        EXPECT_EQ(app.linkedImages.ImageRecordLayer, 0);
        EXPECT_EQ(app.linkedImages.ImageRecordSlot, 0);
    }
    // Alone under the point, the picture picked last stays picked.
    app.store.LayerOnFlag[1] = 0;
    EXPECT_TRUE(Picks(50, 30));
    EXPECT_TRUE(Picks(50, 30));
    EXPECT_EQ(app.linkedImages.ImageRecordLayer, 2);
    app.store.LayerOnFlag[2] = 0;
    app.store.LayerLockFlag[2] = -1;  // drawn, but not on
    EXPECT_FALSE(Picks(50, 30));
}

TEST_F(ImageToolsTest, MovingShiftsThePickedPictureByTheDrag) {
    const std::string path = PictureFile("a.bmp");
    PutImage(1, 0, path);
    Choose("移动图像");
    Press(10, 50);
    EXPECT_EQ(form.Picture1.MousePointer(), PointerSizeAll);
    Surface().ClearRecords();
    Drag(20, 40);
    Drag(25, 45);
    // The first outline was taken away before the second was drawn.
    const auto boxes = Surface().PrimitivesOf(SurfacePrimitive::Kind::Box);
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[0].x1, boxes[1].x1);
    EXPECT_EQ(boxes[2].x1, 15);
    EXPECT_EQ(boxes[2].drawMode, DrawModeNotXorPen);
    Release(30, 45);
    const MapRecord& r = app.store.Get(1, 0);
    EXPECT_EQ(r.RecordX1, 20);
    EXPECT_EQ(r.RecordY1, 55);
    EXPECT_EQ(r.RecordX2, 100);
    EXPECT_EQ(app.tool.CommandMode, ModeMoveImage);
    EXPECT_EQ(app.current.ModifiedFlag, -1);

    // A press beside every picture drops the pick; its release moves nothing.
    Press(500, 500);
    Release(510, 510);
    EXPECT_EQ(app.linkedImages.ImageRecordLayer, 0);
    EXPECT_EQ(r.RecordX1, 20);
}

TEST_F(ImageToolsTest, StretchingStartsOnlyAtTheLowerRightCorner) {
    PutImage(1, 0, PictureFile("a.bmp"));
    Choose("伸缩图像");
    const double grip = 3 * app.view.DisplayZoom;
    Click(50, 30);
    EXPECT_EQ(app.tool.ClickCount, 2);
    // A press on the picture away from the corner does not start it.
    Press(100 - grip * 1.5, 10);
    EXPECT_EQ(app.tool.ClickCount, 2);
    Release(100 - grip * 1.5, 10);
    Press(100 - grip / 2, 10 + grip / 2);
    EXPECT_EQ(app.tool.ClickCount, 1);
    EXPECT_EQ(form.Picture1.MousePointer(), PointerSizeNWSE);
    Drag(110, 5);
    Release(120, 0);
    const MapRecord& r = app.store.Get(1, 0);
    EXPECT_EQ(r.RecordX2, 120);
    EXPECT_EQ(r.RecordY2, -60);
    EXPECT_EQ(app.tool.ClickCount, 2);  // the next press on the corner stretches again
}

TEST_F(ImageToolsTest, ACropRangeMovedByTheArrowsCutsThePictureAndItsCopyBesideIt) {
    const std::string path = PictureFile("a.jpg");
    PutImage(1, 0, path);
    Choose("图像裁留范围");
    Press(5, 55);
    Drag(20, 40);
    Release(25, 45);
    EXPECT_EQ(app.tool.ClickCount, 1);
    // The arrows move the range by one zoom unit, not the view.
    const double left = form.Picture1.ScaleLeft();
    const double step = app.view.DisplayZoom;
    Key(KeyRight);
    Key(KeyDown);
    EXPECT_EQ(form.Picture1.ScaleLeft(), left);
    EXPECT_DOUBLE_EQ(app.tool.PressPoint.x, 5 + step);
    EXPECT_DOUBLE_EQ(app.tool.ReleasePoint.y, 45 - step);
    // The range the example of the cut names: (10, 50) to (30, 40).
    app.tool.PressPoint = {10, 50};
    app.tool.ReleasePoint = {30, 40};
    Choose("图像裁留");

    const MapRecord& r = app.store.Get(1, 0);
    EXPECT_EQ(r.RecordX1, 10);
    EXPECT_EQ(r.RecordY1, 50);
    EXPECT_EQ(r.RecordX2, 20);
    EXPECT_EQ(r.RecordY2, -10);
    EXPECT_EQ(r.RecordText, folder.Str() + "/ac.bmp");
    const Picture source = Numbered(1000, 500);
    const Picture& cut = Files().files.at(folder.Str() + "/ac.bmp");
    ASSERT_EQ(cut.width, 200);
    ASSERT_EQ(cut.height, 100);
    for (int y = 0; y < 100; y += 33)
        for (int x = 0; x < 200; x += 49) EXPECT_EQ(cut.At(x, y), source.At(100 + x, 100 + y));
    EXPECT_EQ(app.display.Images.Image1[3].pixels, cut.pixels);
    ASSERT_TRUE(t.platform.memoryClipboard.picture);
    EXPECT_EQ(t.platform.memoryClipboard.picture->pixels, cut.pixels);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(Files().files.at(path).width, 1000);  // the picture's own file is never changed
}

TEST_F(ImageToolsTest, ACropThatCannotBeDoneChangesNothing) {
    struct Case {
        const char* what;
        CanvasXY press, release;
        const char* file;
    };
    const Case cases[] = {
        {"beyond the picture", {90, 50}, {110, 40}, "a.jpg"},
        {"drawn upwards", {30, 40}, {10, 50}, "a.jpg"},
        {"no wider than a pixel", {10, 50}, {10.05, 40}, "a.jpg"},
        {"no extension", {10, 50}, {30, 40}, "noextension"},
        {"a folder's dot only", {10, 50}, {30, 40}, "sub.d/picture"},
    };
    std::filesystem::create_directories(folder.Path() / "sub.d");
    for (const Case& c : cases) {
        const std::string path = PictureFile(c.file);
        MapRecord& r = PutImage(1, 0, path);
        app.linkedImages = {1, 0};
        app.tool.PressPoint = c.press;
        app.tool.ReleasePoint = c.release;
        const std::size_t files = Files().files.size();
        CropLinkedImage(app);
        EXPECT_EQ(r.RecordX1, 0) << c.what;
        EXPECT_EQ(r.RecordText, path) << c.what;
        EXPECT_EQ(Files().files.size(), files) << c.what;
        EXPECT_EQ(app.display.Images.Image1[3].width, 1000) << c.what;
    }

    // An existing copy is replaced only after a Yes to the question that names it.
    const std::string path = PictureFile("b.jpg");
    const std::string copy = folder.Str() + "/bc.bmp";
    std::ofstream(copy) << "old";
    MapRecord& r = PutImage(1, 0, path);
    app.linkedImages = {1, 0};
    app.tool.PressPoint = {10, 50};
    app.tool.ReleasePoint = {30, 40};
    t.platform.promptScript.QueueAnswer(AnswerNo);
    CropLinkedImage(app);
    EXPECT_NE(t.platform.promptScript.LastText().find(copy), std::string::npos);
    EXPECT_EQ(r.RecordText, path);
    EXPECT_FALSE(Files().files.contains(copy));
    t.platform.promptScript.QueueAnswer(AnswerYes);
    CropLinkedImage(app);
    EXPECT_EQ(r.RecordText, copy);

    // A copy that cannot be written leaves the record and its holder as they were.
    const std::string third = PictureFile("c.jpg");
    MapRecord& other = PutImage(1, 0, third);
    Files().unwritable.insert(folder.Str() + "/cc.bmp");
    app.tool.PressPoint = {10, 50};
    CropLinkedImage(app);
    EXPECT_EQ(other.RecordText, third);
    EXPECT_EQ(app.display.Images.Image1[3].width, 1000);
}

TEST_F(ImageToolsTest, PrickingStoresTheRawPressAndShowsThePhotoWindowAgain) {
    PutImage(1, 0, PictureFile("a.bmp"));
    int shown = 0;
    form.otherParts.ShowPhotoOrientation = [&shown] { ++shown; };
    app.tool.CommandMode = ModeControlPoint;
    app.linkedImages.PhotoCornerIndex = 2;
    Click(500, 500);
    EXPECT_EQ(t.platform.promptScript.LastText(), "刺点失败！");
    EXPECT_EQ(app.tool.CommandMode, ModeControlPoint);
    EXPECT_EQ(shown, 0);

    Press(12.5, 33.25);
    EXPECT_EQ(app.linkedImages.PhotoCornerPicks[6], 12.5);
    EXPECT_EQ(app.linkedImages.PhotoCornerPicks[7], 33.25);
    EXPECT_EQ(app.linkedImages.PhotoCornerPicks[8], 0);
    Release(13, 33);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(shown, 1);

    // Without the photo window the release says so.
    form.otherParts.ShowPhotoOrientation = nullptr;
    app.tool.CommandMode = ModeControlPoint;
    Click(12.5, 33.25);
    EXPECT_EQ(form.Text2.Text(), "相片定向窗口尚未提供，本命令未执行");
}

}  // namespace
}  // namespace movra
