// A large map as a user opens it: named on the command line, read on several threads, drawn whole in
// the real window, saved back to the same drawing.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QImage>
#include <QWidget>
#include <cstdlib>
#include <string>

#include "App.h"
#include "DialogTestHelpers.h"
#include "GoldenPicture.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "basic/Files.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "platform/qt/QtSurface.h"
#include "support/TestApp.h"

namespace movra {
namespace {

constexpr int Layers = 4;
constexpr int LinesPerLayer = 10000;
const QColor LayerColours[Layers] = {QColor(255, 255, 0), QColor(0, 255, 255), QColor(255, 0, 255), QColor(0, 255, 0)};

TEST(LargeMapQtTest, AMapOfFortyThousandRecordsOpensDrawsAndSavesWhole) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    // Four layers of short lines in four colours, side by side from west to east, each line
    // labelled by a point name.
    const std::string mapPath = work.Str() + "/大图.jdx";
    {
        TestApp maker;
        RecordStore& store = maker.app.store;
        store.LayerCount = Layers;
        store.LayerCapacity = LinesPerLayer + 100;
        store.NextLayerIndex = Layers + 1;
        新建层(maker.app);
        for (int layer = 1; layer <= Layers; ++layer) {
            store.LayerNames[static_cast<std::size_t>(layer)] = "层" + std::to_string(layer);
            store.LayerOnFlag[static_cast<std::size_t>(layer)] = -1;
            for (int i = 0; i < LinesPerLayer; ++i) {
                MapRecord& r = store.At(layer, i);
                r.RecordType = 2;
                const QColor colour = LayerColours[layer - 1];
                r.RecordColor = MakeRgb(colour.red(), colour.green(), colour.blue());
                r.RecordX1 = 3412000 + 100 * (layer - 1) + (i % 100);
                r.RecordY1 = 512000 + i / 100;
                r.RecordX2 = r.RecordX1 + 0.5;
                r.RecordY2 = r.RecordY1 + 0.5;
                r.RecordText = "P" + std::to_string(layer * LinesPerLayer + i);
            }
            store.Count(layer) = LinesPerLayer;
        }
        // The extents the saving program had: the reader widens them west and north to the drawing.
        maker.app.extents = {3412300, 511990, 3412300, 511990};
        WriteJdxFile(maker.app, mapPath);
    }

    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start(mapPath);
    QApplication::processEvents();
    ASSERT_EQ(run.app.current.CurrentFilePath, mapPath);
    EXPECT_GT(run.app.mapFile.LastReadThreads, 0);
    for (int layer = 1; layer <= Layers; ++layer) ASSERT_EQ(run.app.store.Count(layer), LinesPerLayer);
    EXPECT_EQ(run.app.store.Get(3, 4321).RecordText, "P34321");

    // Every layer lands on the canvas in its colour.
    const QImage image = dynamic_cast<const QtSurface&>(run.form1.Picture1.surface()).Image();
    for (const QColor& colour : LayerColours) EXPECT_GT(CountPixels(image, image.rect(), [&](QRgb p) { return (p & 0xFFFFFF) == (colour.rgb() & 0xFFFFFF); }), 1000) << colour.name().toStdString();
    SaveTestPicture(window->grab().toImage(), "large-map.png");

    // Saved again, the drawing is the file it came from; only the header's extents may differ.
    const std::string again = work.Str() + "/再存.jdx";
    WriteJdxFile(run.app, again);
    const std::string before = ReadWholeFile(mapPath);
    const std::string after = ReadWholeFile(again);
    ASSERT_EQ(after.size(), before.size());
    EXPECT_TRUE(std::equal(before.begin() + FixedRecordSize, before.end(), after.begin() + FixedRecordSize));
}

}  // namespace
}  // namespace movra
