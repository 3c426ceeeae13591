// A redraw showing 33 linked pictures of 4000 x 3000 pixels on the Qt canvas of 1920 x 1080
// pixels: the first time, when the holders are empty and the files are read and decoded (at most
// 31 a redraw), and the second time, when the holders already keep the pictures.
#include <QTemporaryDir>
#include <QColor>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <string>

#include "App.h"
#include "BenchCanvas.h"
#include "display/Redraw.h"
#include "document/Layers.h"
#include "editing/LinkedImages.h"
#include "platform/qt/QtBasicServices.h"
#include "shell/stForm1.h"

namespace {

using namespace movra;

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kPictures = 33;

// One photograph-sized JPG, written once; every record links it through a holder of its own.
const std::string& PictureFile() {
    static const std::string path = [] {
        static QTemporaryDir folder;
        const std::string file = folder.path().toStdString() + "/picture.jpg";
        QImage image(4000, 3000, QImage::Format_RGB32);
        QPainter painter(&image);
        for (int k = 0; k < 40; ++k) painter.fillRect(k * 100, 0, 100, 3000, QColor::fromHsv(k * 9, 160, 200));
        painter.setPen(QPen(Qt::white, 20));
        painter.drawLine(0, 0, 4000, 3000);
        image.save(QString::fromStdString(file), "JPG", 90);
        return file;
    }();
    return path;
}

// The fake platform with pixel canvases, reading picture files as the program does.
class PicturePlatform : public QtCanvasPlatform {
public:
    PictureFiles& pictureFiles() override { return files; }
    QtPictureFiles files;
};

struct Map {
    Map() : app(platform), form1(app) {
        app.form1 = &form1;
        RecordStore& store = app.store;
        store.DimensionEmpty(1);
        store.LayerCount = 1;
        store.LayerOnFlag[1] = -1;
        // A grid of 11 x 3 pictures of 4 x 3 units, in holders 0..32.
        for (int k = 0; k < kPictures; ++k) {
            MapRecord& r = store.At(1, k);
            r.RecordType = TypeImage;
            r.RecordColor = k;
            r.RecordX1 = 10 + 170 * (k % 11);
            r.RecordY1 = kHeight - 10 - 350 * (k / 11);
            r.RecordX2 = 160;
            r.RecordY2 = -120;
            r.RecordText = PictureFile();
        }
        store.Count(1) = kPictures;
        Surface& canvas = form1.Picture1.surface();
        canvas.Resize(kWidth, kHeight);
        canvas.SetScale(0, kHeight, kWidth, -kHeight);
        app.view.ScaleFactor = 1;
        app.view.DisplayZoom = 0.75;
    }
    PicturePlatform platform;
    App app;
    stForm1 form1;
};

// Whether the first picture was decoded into its holder and drawn over the canvas's back colour
// at its middle: a redraw that fails to read the file is fast and would time nothing.
bool FirstPictureShown(Map& map) {
    const MapRecord& r = map.app.store.Get(1, 0);
    const Surface& canvas = map.form1.Picture1.surface();
    return !map.app.display.Images.Image1[0].Empty() &&
           canvas.Point(r.RecordX1 + r.RecordX2 / 2, r.RecordY1 + r.RecordY2 / 2) != canvas.BackColor();
}

void BM_RedrawPicturesFirstTime(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_linked_images");
    Map map;
    for (auto _ : state) {
        state.PauseTiming();
        ClearImageSlots(map.app);
        state.ResumeTiming();
        刷新(map.app);
    }
    if (!FirstPictureShown(map)) state.SkipWithError("the picture was not decoded or not drawn");
    state.SetItemsProcessed(state.iterations() * kPictures);
}
BENCHMARK(BM_RedrawPicturesFirstTime)->Unit(benchmark::kMillisecond)->Iterations(3);

void BM_RedrawPicturesSecondTime(benchmark::State& state) {
    bench::EnsureGuiApplication("bench_linked_images");
    Map map;
    // Two redraws fill all 33 holders (31 loads at most per redraw).
    刷新(map.app);
    刷新(map.app);
    if (!FirstPictureShown(map)) {
        state.SkipWithError("the picture was not decoded or not drawn");
        return;
    }
    for (auto _ : state) 刷新(map.app);
    state.SetItemsProcessed(state.iterations() * kPictures);
    bench::SaveBenchPicture(map.form1.Picture1.surface());
}
BENCHMARK(BM_RedrawPicturesSecondTime)->Unit(benchmark::kMillisecond);

}  // namespace
