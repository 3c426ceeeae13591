// A map file from another program may hold any number in a field that is no position (a radius, a
// text height, an angle, a count): the store keeps it as it came, so the real canvas must draw
// such a map, fit it and save it again without hanging, crashing or losing a record.
#include <gtest/gtest.h>

#include <QApplication>
#include <QWidget>
#include <string>
#include <vector>

#include "App.h"
#include "LookAt.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "basic/Files.h"
#include "display/Redraw.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "editing/ViewExtents.h"
#include "shell/stForm1.h"
#include "support/AbsurdRecords.h"
#include "support/TestApp.h"

namespace movra {
namespace {

TEST(AbsurdSizesQt, AMapHoldingAnyNumberOutsideItsPositionsIsDrawnFittedAndSavedWhole) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run{program.Str(), work.Str()};
    run.Start();
    QApplication::processEvents();
    App& app = run.app;

    const std::vector<double> values = AbsurdValues();
    app.store.LayerCount = static_cast<int>(values.size());
    app.store.NextLayerIndex = app.store.LayerCount + 1;
    新建层(app);
    int stored = 0;
    for (std::size_t v = 0; v < values.size(); ++v) {
        const int layer = static_cast<int>(v) + 1;
        app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = -1;
        app.store.LayerNames[static_cast<std::size_t>(layer)] = "层" + std::to_string(layer);
        int slot = 0;
        for (int type = 1; type < 100; ++type)
            if (TakesAbsurdSizesAlone(type)) app.store.At(layer, slot++) = RecordHoldingAbsurdSizes(type, values[v]);
        app.store.LayerRecordCount[static_cast<std::size_t>(layer)] = slot;
        stored += slot;
    }

    刷新(app);
    ZoomToExtents(app);
    刷新(app);
    QApplication::processEvents();
    run.binder.WidgetOf(run.form1.Picture1)->grab().save(LookAt("movra_absurd_sizes.png"));

    const std::string path = work.Str() + "/bad-sizes.jdx";
    WriteJdxFile(app, path);
    ASSERT_TRUE(ReadJdxFile(app, path));
    int read = 0;
    for (int layer = 1; layer <= app.store.LayerCount; ++layer) read += app.store.Count(layer);
    EXPECT_EQ(read, stored);
    刷新(app);
}

}  // namespace
}  // namespace movra
