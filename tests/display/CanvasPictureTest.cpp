#include "DisplayFixture.h"
#include <filesystem>

#include "basic/Errors.h"
#include "basic/Files.h"
#include "display/CanvasPictures.h"
#include "display/LineSink.h"
#include "document/SaveFailure.h"
#include "platform/fake/FakePictureFiles.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

class CanvasPictureTest : public DisplayTest {
protected:
    CanvasPictureTest() {
        canvas.Resize(800, 600);
        t.form1.Picture1.SetScale(0, 600, 800, -600);
        app.store.LayerOnFlag[1] = -1;
        MapRecord& r = app.store.At(1, 0);
        r.RecordType = 2;
        r.RecordX2 = 100;
        r.RecordY2 = 100;
        app.store.Count(1) = 1;
    }
};

TEST_F(CanvasPictureTest, LargeExportWritesThreeTimesTheCanvasAndComesBack) {
    struct Case {
        std::int16_t large;
        int width;
    };
    const std::string path = t.workFolder.Str() + "/map.bmp";
    for (const Case c : {Case{0, 800}, Case{-1, 2400}}) {
        app.display.Redraw.LargeBitmapExport = c.large;
        app.view.DisplayZoom = 1.5;
        t.platform.dialogScript.QueueFile(path, 2);
        SaveCanvasBitmap(app);
        const auto saved = FakePictureFiles::Decode(ReadWholeFile(path));
        ASSERT_TRUE(saved.has_value());
        EXPECT_EQ(saved->width, c.width);
        EXPECT_EQ(saved->height, c.width * 3 / 4);
        EXPECT_EQ(&MainCanvas(app), &canvas);
        EXPECT_DOUBLE_EQ(app.view.DisplayZoom, 1.5);
        ASSERT_FALSE(t.platform.dialogScript.requests.empty());
        EXPECT_EQ(t.platform.dialogScript.requests.back().file.filter, "所有文件|*.*|图片文件*.bmp|*.bmp");
        EXPECT_TRUE(t.platform.promptScript.questions.empty());
    }
}

// The file holds the format its name asks for, and a name typed without an extension is a
// bitmap's.
TEST_F(CanvasPictureTest, ThePictureFollowsTheExtensionOfItsName) {
    struct Case {
        const char* typed;
        const char* written;
        const char* format;
    };
    const Case cases[] = {{"a.png", "a.png", "png"},
                          {"B.JPEG", "B.JPEG", "jpg"},
                          {"c.jpg", "c.jpg", "jpg"},
                          {"d.bmp", "d.bmp", "bmp"},
                          {"v1.2/地图", "v1.2/地图.bmp", "bmp"},
                          {"e.tif", "e.tif", "bmp"}};
    std::filesystem::create_directory(t.workFolder.Path() / "v1.2");
    for (const Case& c : cases) {
        t.platform.dialogScript.QueueFile(t.workFolder.Str() + "/" + c.typed, 2);
        SaveCanvasBitmap(app);
        const std::string bytes = ReadWholeFile(t.workFolder.Str() + "/" + c.written);
        EXPECT_EQ(bytes.rfind(std::string("FAKEPIC ") + c.format + " ", 0), 0u) << c.typed;
        EXPECT_TRUE(FakePictureFiles::Decode(bytes).has_value()) << c.typed;
    }
    EXPECT_FALSE(std::filesystem::exists(t.workFolder.Path() / "v1.2" / "地图"));
    EXPECT_TRUE(t.platform.promptScript.questions.empty());
}

// A cancelled dialog saves nothing; a file that cannot be written is told, and either way the
// canvas comes back to its size and zoom.
TEST_F(CanvasPictureTest, CancelOrAnUnwritableFileLeavesTheCanvasAsItWas) {
    app.display.Redraw.LargeBitmapExport = -1;
    t.platform.dialogScript.files.push_back({});  // cancelled
    SaveCanvasBitmap(app);
    EXPECT_TRUE(std::filesystem::is_empty(t.workFolder.Path()));
    EXPECT_EQ(&MainCanvas(app), &canvas);

    const std::string folderInTheWay = t.workFolder.Str() + "/map.bmp";
    std::filesystem::create_directory(folderInTheWay);
    t.platform.dialogScript.QueueFile(folderInTheWay, 2);
    app.view.DisplayZoom = 2;
    SaveCanvasBitmap(app);
    EXPECT_EQ(t.platform.promptScript.LastText(), MapSaveFailedMessage + folderInTheWay + "\n" +
                                                      ErrorDescription(ErrPathFileAccess));
    EXPECT_TRUE(std::filesystem::is_directory(folderInTheWay));
    EXPECT_EQ(&MainCanvas(app), &canvas);
    EXPECT_DOUBLE_EQ(app.view.DisplayZoom, 2);
}

TEST_F(CanvasPictureTest, LayoutCanvasDoesNothingForThePlainExport) {
    app.display.Redraw.LargeBitmapExport = 0;
    LayoutCanvas(app, -1);
    EXPECT_EQ(&MainCanvas(app), &canvas);
    app.display.Redraw.LargeBitmapExport = -1;
    LayoutCanvas(app, 5);
    EXPECT_EQ(&MainCanvas(app), &canvas);
}

}  // namespace
}  // namespace movra
