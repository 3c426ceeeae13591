// DXF files opened as a user opens them, in the main window over the Qt platform: a file written
// by ezdxf (lines, polylines, circles, arcs, texts, insertions), and our own sample map written in
// our dialect and opened again. The canvas pictures are saved to the pictures folder (LookAt.h) to be looked at:
// movra-dxf-import-ezdxf.png, movra-dxf-own-before.png and movra-dxf-own-after.png.
#include <gtest/gtest.h>

#include "GoldenPicture.h"

#include <cstdlib>

#include <sys/stat.h>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>

#include "App.h"
#include "basic/Files.h"
#include "display/Redraw.h"
#include "document/OpenDialogs.h"
#include "document/DrawingExtents.h"
#include "exchange/ExchangeTestMaps.h"
#include "exchange/ExportDxfOwnDialect.h"
#include "platform/qt/Binder.h"
#include "platform/qt/QtPlatform.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "LookAt.h"
#include "ShownMainWindow.h"

namespace movra {
namespace {

struct DxfImportQtTest : ::testing::Test, ShownMainWindow {
    DxfImportQtTest() {
        // A message box would wait for a user: note its text and close it, so the test fails
        // instead of hanging.
        QObject::connect(&watcher, &QTimer::timeout, [this] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back(box->text().toStdString());
                box->done(QMessageBox::No);
            } else if (QWidget* other = QApplication::activeModalWidget()) {
                messages.push_back(other->metaObject()->className());
                other->close();
            }
        });
        watcher.start(100);
    }

    // Opens the file from the recent-file list, as the user picks it there.
    void Open(const std::string& path) {
        app.mapFile.RecentFiles[0] = path;
        OpenRecentFile(app, 0);
        QApplication::processEvents();
    }
    QImage Canvas(const char* name) {
        const QImage image = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
        image.save(LookAt(name));
        return image;
    }
    static int Drawn(const QImage& image) {
        const QRgb back = image.pixel(0, 0);
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x) n += image.pixel(x, y) != back;
        return n;
    }

    QTimer watcher;
    std::vector<std::string> messages;
};

TEST_F(DxfImportQtTest, AnEzdxfFileOpensOnTheCanvas) {
    ASSERT_NE(canvas, nullptr);
    const std::string command = "/usr/bin/python3 '" + exchange_test::SourceDir +
                                "/tests/support/make_dxf_peers.py' '" + work.Str() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "the peers (python3-ezdxf, gdal-bin) are needed";
    Open(work.Str() + "/r2000.dxf");
    ASSERT_GE(app.store.LayerCount, 3);
    EXPECT_EQ(app.store.LayerNames[app.store.LayerCount], "注记");
    const QImage image = Canvas("movra-dxf-import-ezdxf.png");
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_GT(Drawn(image), 500);
}

TEST_F(DxfImportQtTest, OurOwnDialectLooksTheSameAfterTheRoundTrip) {
    ASSERT_NE(canvas, nullptr);
    std::filesystem::copy_file(exchange_test::SourceDir + "/resources/dxf头文档.txt", program.Str() + "/dxf头文档.txt");
    exchange_test::SampleMap(app);
    // Black records would not show on the black canvas: they take their layer's colour.
    for (int l = 0; l <= app.store.LayerCount; ++l) {
        app.store.LayerOnFlag[static_cast<size_t>(l)] = -1;
        for (int s = 0; s < app.store.Count(l); ++s) {
            MapRecord& r = app.store.At(l, s);
            // The linked picture does not exist here; drawing it would ask the user for it.
            if (r.RecordType == 70) r.RecordType = 170;
            if (r.RecordColor == 0) r.RecordColor = app.tables.ColorPalette[app.store.LayerColorIndex[static_cast<size_t>(l)]];
        }
    }
    // The map's scale, which the file carries and the redraw's level of detail follows.
    app.view.ProjectParams[0] = 500;
    // The same ground window before and after.
    auto show = [&] {
        ShowGroundWindow(app, -30, 450, 570, 470);
        app.view.DisplayZoom = 2;  // every record in full detail, whatever the opened map's zoom
        刷新(app);
        QApplication::processEvents();
    };
    show();
    QApplication::processEvents();
    const QImage before = Canvas("movra-dxf-own-before.png");
    const std::string path = work.Str() + "/own.dxf";
    ASSERT_TRUE(ExportDxfOwnDialect(app, path));

    Open(path);
    ASSERT_EQ(app.store.LayerNames[2], "道路");
    show();
    const QImage after = Canvas("movra-dxf-own-after.png");
    EXPECT_TRUE(messages.empty()) << messages.front();
    EXPECT_GT(Drawn(before), 500);
    EXPECT_GT(Drawn(after), 500);
}


// A cut copy of the file, and a pipe, picked from the recent files over the opened map: the real
// message box names the file and where reading stopped, and the map and its canvas stay.
TEST_F(DxfImportQtTest, ADamagedFileOrAPipeLeavesTheOpenMap) {
    ASSERT_NE(canvas, nullptr);
    const std::string command = "/usr/bin/python3 '" + exchange_test::SourceDir +
                                "/tests/support/make_dxf_peers.py' '" + work.Str() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "the peers (python3-ezdxf, gdal-bin) are needed";
    Open(work.Str() + "/r2000.dxf");
    const int layers = app.store.LayerCount;
    const int count = app.store.Count(layers);
    const std::string caption = form1.Caption();
    const QImage before = Canvas("movra-dxf-before-damaged.png");

    const std::string whole = ReadWholeFile(work.Str() + "/r2000.dxf");
    WriteWholeFile(work.Str() + "/cut.dxf", whole.substr(0, whole.size() * 3 / 4));
    const std::string pipe = work.Str() + "/pipe.dxf";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    for (const std::string name : {"cut.dxf", "pipe.dxf"}) {
        SCOPED_TRACE(name);
        messages.clear();
        Open(work.Str() + "/" + name);
        for (int i = 0; i < 50 && messages.empty(); ++i) QApplication::processEvents(QEventLoop::AllEvents, 20);
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find(name), std::string::npos) << messages[0];
        EXPECT_NE(messages[0].find(name == "cut.dxf" ? "行时停止" : NotRegularFileText), std::string::npos)
            << messages[0];
        EXPECT_EQ(app.store.LayerCount, layers);
        EXPECT_EQ(app.store.Count(layers), count);
        EXPECT_EQ(form1.Caption(), caption);
        EXPECT_TRUE(Canvas("movra-dxf-after-damaged.png") == before);
    }
}

}  // namespace
}  // namespace movra
