// A sheet's frame at 1:500 put into the drawing and redrawn on the real canvas, saved as
// movra-sheet-frame.png (LookAt.h) to be looked at: the inner and the thick outer frame, the ticks and
// crosses, the diagram of the adjoining sheets, the numbers and the annotations in their places.
#include <QImage>

#include <gtest/gtest.h>

#include "display/Redraw.h"
#include "platform/qt/QtSurface.h"
#include "sheets/FrameInsertion.h"
#include "sheets/SheetFrameTemplate.h"
#include "document/ColorTable.h"
#include "shell/stForm1.h"
#include "support/PictureTestHelpers.h"
#include "support/TestApp.h"
#include "QtCanvasPlatform.h"
#include "LookAt.h"

namespace movra {
namespace {

TEST(SheetFramePicture, FrameAtOneToFiveHundred) {
    TempFolder program{"program"};
    TempFolder work{"work"};
    QtCanvasPlatform platform(program.Str(), work.Str());
    App app(platform);
    stForm1 form1(app);
    auto& canvas = static_cast<QtSurface&>(form1.Picture1.surface());
    app.form1 = &form1;
    for (int i = 0; i < 256; ++i) app.tables.ColorPalette[static_cast<std::size_t>(i)] = ColorIndexToRgb(static_cast<std::uint8_t>(i));
    // Frame items are drawn in colour 7 (white): a dark canvas shows them.
    canvas.SetBackColor(MakeRgb(0, 0, 0));
    DimensionEmptyStandard(app.symbolStandard);
    app.store.LayerOnFlag[1] = -1;
    app.view.ProjectParams[0] = 500;

    SheetFrameTexts texts;
    texts.Text2 = "Velmar测绘院";
    texts.Text3 = "2000年1月数字化测图。";
    texts.Text4 = "1954年北京坐标系。";
    texts.Text5 = "1985国家高程基准，等高距为1米。";
    texts.Text6 = "1996年版图式。";
    texts.Text7 = "李明";
    texts.Text8 = "王芳";
    texts.Text9 = "张伟";
    texts.Text10 = "秘密";
    texts.Text11 = "样图";
    ASSERT_TRUE(BuildSheetFrameTemplate(app, texts));
    AddSheetFrame(app, 512100, 3456100);
    ASSERT_EQ(app.store.Count(1), 67);

    canvas.Resize(1000, 1000);
    canvas.SetScale(512000 - 25, 3456000 + 280, 310, -310);
    // The zoom the scale box would give: the map's scale over the screen's, at 96 pixels an inch.
    const double screenScale = 310 / (1000 / (96 / 0.0254));
    app.view.DisplayZoom = 500 / screenScale;
    刷新(app);
    const QImage image = canvas.Image();
    ASSERT_TRUE(image.save(LookAt("movra-sheet-frame.png")));

    // The corner with the diagram of the adjoining sheets, closer.
    canvas.SetScale(512000 - 15, 3456000 + 275, 50, -50);
    app.view.DisplayZoom = 500 / (50 / (1000 / (96 / 0.0254)));
    刷新(app);
    ASSERT_TRUE(canvas.Image().save(LookAt("movra-sheet-frame-corner.png")));
    canvas.SetScale(512000 - 25, 3456000 + 5, 50, -50);
    刷新(app);
    ASSERT_TRUE(canvas.Image().save(LookAt("movra-sheet-frame-foot.png")));

    // The inner frame's lower-left corner and the outer frame's are drawn where they belong.
    auto pixel = [&](double x, double y) {
        const int px = static_cast<int>((x - (512000 - 25)) / 310 * 1000);
        const int py = static_cast<int>((3456000 + 280 - y) / 310 * 1000);
        return image.pixelColor(px, py);
    };
    EXPECT_GT(pixel(512000 + 100, 3456000).lightness(), 100);
    EXPECT_GT(pixel(512000 + 100, 3456000 - 6).lightness(), 100);
    EXPECT_LT(pixel(512000 + 100, 3456000 - 3).lightness(), 50);
}

}  // namespace
}  // namespace movra
