// The sheet division window on the real Qt front: its buttons divide a small map into a
// temporary folder and stop a division in the middle; the window and one sheet read back are
// saved as pictures (movra-sheet-division-window.png, movra-sheet-division-sheet.png, LookAt.h).
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QPushButton>
#include <QTimer>
#include <QWidget>
#include <filesystem>

#include "App.h"
#include "app/MainProgram.h"
#include "display/LineSink.h"
#include "display/Redraw.h"
#include "document/JdxFile.h"
#include "sheets/SheetFiles.h"
#include "sheets/gzfenfufrm.h"
#include "shell/stForm1.h"
#include "../sheets/SheetFilesFixture.h"
#include "TemporaryDataHome.h"
#include "LookAt.h"

namespace movra {
namespace {

using namespace movra::test;

int FileCount(const std::string& folder) {
    if (!std::filesystem::exists(folder)) return 0;
    int n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(folder)) ++n;
    return n;
}

TEST(SheetDivisionQt, RealButtonsDivideAMapAndStopADivision) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"}, out{"sheets"};
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    MakeSheetMap(app, 500, 1);
    AddTo(app, 1, 2, {1000, 2000, 1600, 2300}).RecordColor = MakeRgb(0, 0, 0);
    AddTo(app, 1, 3, {1020, 2020, 1400, 2200, 1580, 2050}).RecordColor = MakeRgb(0, 0, 255);
    AddTo(app, 1, 7, {1100, 2100});

    // The output folder is read from Text1 as the window loads.
    const std::string first = out.Str() + "/first/";
    gzfenfufrm window(app);
    window.Text1.SetText(first);
    window.Load();
    QWidget* widget = run.binder.Bind(window);
    ASSERT_NE(widget, nullptr);
    window.Show();
    QApplication::processEvents();
    EXPECT_TRUE(widget->isVisible());
    auto button = [&](CommandButton& b) { return qobject_cast<QPushButton*>(run.binder.WidgetOf(b)); };
    ASSERT_NE(button(window.Command3), nullptr);
    ASSERT_NE(button(window.Command4), nullptr);

    button(window.Command3)->click();
    QApplication::processEvents();
    EXPECT_EQ(window.Command4.Caption(), "已完成分幅");
    EXPECT_FALSE(button(window.Command4)->isEnabled());
    EXPECT_EQ(button(window.Command4)->text().toStdString(), "已完成分幅");
    EXPECT_EQ(FileCount(first), 5);  // four sheets and the index
    ASSERT_TRUE(widget->grab().save(LookAt("movra-sheet-division-window.png")));

    // A second division, stopped by the real stop button at its first yield: nothing written.
    // Opened again on another folder.
    const std::string second = out.Str() + "/second/";
    window.Unload();
    QApplication::processEvents();
    window.Text1.SetText(second);
    window.Load();
    widget = run.binder.Bind(window);
    ASSERT_NE(widget, nullptr);
    window.Show();
    QApplication::processEvents();
    ASSERT_EQ(app.sheets.SheetOutputFolder, second);
    QTimer::singleShot(0, [&] { button(window.Command4)->click(); });
    button(window.Command3)->click();
    QApplication::processEvents();
    EXPECT_EQ(window.Command4.Caption(), "已停止分幅");
    EXPECT_EQ(FileCount(second), 0);
    window.Unload();

    // One sheet read back and drawn.
    ASSERT_TRUE(ReadJdxFile(app, first + SheetFileName(1000, 2000)));
    Surface& canvas = MainCanvas(app);
    const double side = 250;
    const double width = side * 1.6;
    const double height = width * canvas.PixelHeight() / std::max(1, canvas.PixelWidth());
    canvas.SetScale(1000 - side * 0.3, 2000 + side * 1.3, width, -height);
    刷新(app);
    QApplication::processEvents();
    QWidget* picture = run.binder.WidgetOf(run.form1.Picture1);
    ASSERT_NE(picture, nullptr);
    ASSERT_TRUE(picture->grab().save(LookAt("movra-sheet-division-sheet.png")));
    EXPECT_GE(app.store.Count(1), 67);
}

}  // namespace
}  // namespace movra
