// Every pattern fill of the shipped standard drawn on the real canvas, as the fill tool stores it
// and the record renderer draws it, beside its button's caption. The picture (pattern-fills.png)
// is kept to be looked at in the folder MOVRA_TEST_PICTURES names.
#include <QImage>
#include <filesystem>
#include <string>

#include <gtest/gtest.h>

#include "basic/Numbers.h"
#include "document/StoreRecord.h"
#include "display/RecordRenderer.h"
#include "platform/qt/QtSurface.h"
#include "shell/MethodPanel.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "symbols/TusFile.h"
#include "DialogTestHelpers.h"
#include "GoldenPicture.h"
#include "QtCanvasPlatform.h"

namespace movra {
namespace {

namespace fs = std::filesystem;

constexpr Rgb kWhite = MakeRgb(255, 255, 255);
constexpr Rgb kInk = MakeRgb(0, 110, 0);
constexpr int Columns = 8;
constexpr double Cell = 40;  // paper millimetres a fill's place takes, its caption above it
constexpr double Side = 30;  // the filled square
constexpr int PixelsPerMm = 6;
constexpr int SandPreset = 4;

class ShippedFillPictures : public ::testing::Test {
protected:
    ShippedFillPictures()
        : platform(program.Str(), work.Str()), app(platform), form1(app),
          canvas(static_cast<QtSurface&>(form1.Picture1.surface())) {
        app.form1 = &form1;
        fs::copy_file(fs::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus", program.Path() / "电子图式.tus");
        DimensionSymbolTables(app.symbolStandard);
        LoadSymbolDefinitions(app);
        DimensionLineTypeTables(app.symbolStandard);
        LoadLineTypes(app);
        const int rows = (597 - 554 + 1 + 1 + Columns - 1) / Columns;
        canvas.Resize(static_cast<int>(Columns * Cell * PixelsPerMm), static_cast<int>(rows * Cell * PixelsPerMm));
        canvas.SetScale(0, rows * Cell, Columns * Cell, -rows * Cell);
        canvas.SetBackColor(kWhite);
        canvas.Cls();
        // One map unit a paper millimetre: the sizes on the picture are those on paper.
        app.view.ScaleFactor = 1;
        app.view.DisplayZoom = PixelsPerMm;
        app.view.BackgroundColor = kWhite;
        app.clip.ClipXMin = -1000; app.clip.ClipXMax = 1000;
        app.clip.ClipYMin = -1000; app.clip.ClipYMax = 1000;
        app.store.LayerOnFlag[1] = True;
        app.store.CurrentLayer = 1;
        app.current.CurrentColor = kInk;
    }

    // The square of place k, lower left corner.
    std::pair<double, double> Corner(int k) const {
        const int rows = static_cast<int>(canvas.ScaleHeight() / -Cell);
        return {(k % Columns) * Cell + (Cell - Side) / 2, (rows - 1 - k / Columns) * Cell + 2};
    }

    // A square area filled with `fillCode` as the fill tool stores it, then drawn.
    void Fill(int k, const std::string& fillCode) {
        const auto [x, y] = Corner(k);
        // The boundary points, closed, and the pair the list ends with.
        app.selection.WorkPolygon = {x, y, x + Side, y, x + Side, y + Side, x, y + Side, x, y, 0, 0};
        const int from = app.store.Count(1);
        StorePolylineFromList(app, fillCode);
        for (std::int16_t slot = static_cast<std::int16_t>(from); slot < app.store.Count(1); ++slot) {
            std::uint8_t layer = 1;
            std::int16_t s = slot;
            DrawRecord(app, layer, s);
        }
        canvas.SetForeColor(MakeRgb(0, 0, 0));
        canvas.SetFont("宋体", 9);
        canvas.SetCurrentX(x);
        canvas.SetCurrentY(y + Side + 6);
        canvas.Print(fillCode == "4" ? "沙点（填充4）" : PlainNumberText(Val(fillCode.substr(1))) + " " +
                                                          SymbolButtonCaption(static_cast<int>(Val(fillCode.substr(1)))));
    }

    // Pixels of the fill's colour strictly inside square k.
    long InkInside(const QImage& image, int k) const {
        const auto [x, y] = Corner(k);
        const QRect inside(QPoint(static_cast<int>(canvas.ToPixelX(x)) + 3, static_cast<int>(canvas.ToPixelY(y + Side)) + 3),
                           QPoint(static_cast<int>(canvas.ToPixelX(x + Side)) - 4, static_cast<int>(canvas.ToPixelY(y)) - 4));
        return CountPixels(image, inside, [](QRgb p) { return qGreen(p) > 60 && qRed(p) < 90 && qBlue(p) < 90; });
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    QtCanvasPlatform platform;
    App app;
    stForm1 form1;
    QtSurface& canvas;
};

TEST_F(ShippedFillPictures, EveryPatternLaysItsSymbols) {
    ASSERT_EQ(app.symbolStandard.SymbolStandardLoaded, True);
    for (int code = 554; code <= 597; ++code) Fill(code - 554, "*" + std::to_string(code));
    const int sand = 597 - 554 + 1;
    Fill(sand, std::to_string(SandPreset));
    const QImage image = canvas.Image();
    SaveTestPicture(image, "pattern-fills.png");

    const long square = static_cast<long>(Side * PixelsPerMm) * static_cast<long>(Side * PixelsPerMm);
    for (int k = 0; k <= sand; ++k) {
        SCOPED_TRACE(k < sand ? 554 + k : SandPreset);
        const long ink = InkInside(image, k);
        // Every pattern lays symbols all over its area, and none paints it solid.
        EXPECT_GT(ink, square / 500);
        EXPECT_LT(ink, square / 3);
    }
    // Fill 4 lays the sand grains of the sandy beach: fine dots, many of them.
    EXPECT_NEAR(static_cast<double>(InkInside(image, sand)), static_cast<double>(InkInside(image, 565 - 554)),
                InkInside(image, 565 - 554) * 0.35);
}

}  // namespace
}  // namespace movra
