// 插入 ▸ 合并图文件 as a user reaches it: the toolbar button's menu item, the real file dialog with
// the DXF filter chosen, over an open map that was changed and not saved. A DXF file written by
// ezdxf and cut inside its entities leaves the map as it was and is named with the line where
// reading stopped in the message line; the whole file is merged.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <cstdlib>
#include <string>

#include "App.h"
#include "DialogTestHelpers.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "basic/Files.h"
#include "document/JdxFile.h"
#include "document/OpenDialogs.h"
#include "document/StoreRecord.h"
#include "exchange/ExchangeTestMaps.h"
#include "support/TestApp.h"

namespace movra {
namespace {

struct InsertDrawingQt : ::testing::Test {
    InsertDrawingQt() {
        run.Start();
        QApplication::processEvents();
    }

    // Picks 插入 ▸ 合并图文件 and chooses the file in the real dialog under the DXF filter; any
    // message box is a failure.
    void Insert(const std::string& path) {
        QAction* item = MenuAction(run, "插入", "合并图文件");
        ASSERT_NE(item, nullptr);
        int dialogs = 0;
        ModalWatchdog watchdog(CloseActiveModal);
        ModalDriver driver([&](QWidget* window) {
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                ADD_FAILURE() << "unexpected message: " << box->text().toStdString();
                QMetaObject::invokeMethod(box, "reject", Qt::QueuedConnection);
                return;
            }
            auto* files = qobject_cast<QFileDialog*>(window);
            if (!files || files->property("answered").toBool()) return;
            files->setProperty("answered", true);
            if (++dialogs > 1) {  // the dialog came back: the file was not taken as a drawing
                ADD_FAILURE() << "the file dialog came back";
                QMetaObject::invokeMethod(files, "reject", Qt::QueuedConnection);
                return;
            }
            EXPECT_EQ(files->windowTitle().toStdString(), "插入*.wtw*.jdx*.dxf\"");
            files->selectNameFilter(QStringLiteral("CAD_dxf (*.dxf)"));
            files->selectFile(QString::fromStdString(path));
            if (auto* name = files->findChild<QLineEdit*>("fileNameEdit"); name && name->text().isEmpty())
                name->setText(QString::fromStdString(path));
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        });
        item->trigger();  // returns when the command has ended
        QApplication::processEvents();
        EXPECT_EQ(dialogs, 1);
    }

    // What the real message line shows.
    std::string MessageLine() {
        QWidget* line = run.binder.WidgetOf(run.form1.Text2);
        if (auto* edit = qobject_cast<QLineEdit*>(line)) return edit->text().toStdString();
        if (auto* edit = qobject_cast<QPlainTextEdit*>(line)) return edit->toPlainText().toStdString();
        ADD_FAILURE() << "the message line is no text box";
        return {};
    }

    // The open map saved as it stands; its path and modified flag stay as they were.
    std::string SavedBytes() {
        App& app = run.app;
        const std::string path = app.current.CurrentFilePath;
        const auto modified = app.current.ModifiedFlag;
        const std::string saved = work.Str() + "/saved.jdx";
        WriteJdxFile(app, saved);
        app.current.CurrentFilePath = path;
        app.current.ModifiedFlag = modified;
        return ReadWholeFile(saved);
    }

    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run{program.Str(), work.Str()};
};

TEST_F(InsertDrawingQt, ACutDxfFileLeavesTheChangedMapAndASoundOneIsMerged) {
    const std::string command = "/usr/bin/python3 '" + exchange_test::SourceDir +
                                "/tests/support/make_dxf_peers.py' '" + work.Str() + "'";
    ASSERT_EQ(std::system(command.c_str()), 0) << "the peers (python3-ezdxf, gdal-bin) are needed";
    const std::string whole = ReadWholeFile(work.Str() + "/r2000.dxf");
    const std::size_t entities = whole.find("ENTITIES");
    const std::size_t end = whole.find("ENDSEC", entities);
    ASSERT_NE(end, std::string::npos);
    const std::string cut = work.Str() + "/cut.dxf";
    WriteWholeFile(cut, whole.substr(0, entities + (end - entities) / 2));

    // The open map: two lines drawn and not saved.
    App& app = run.app;
    app.store.CurrentLayer = 1;
    StoreRecord(app, StoreFull, 2, 10, 10, 60, 40, 0, 0, 0, 0, "");
    StoreRecord(app, StoreFull, 2, 10, 40, 60, 10, 0, 0, 0, 0, "");
    app.current.ModifiedFlag = -1;
    const std::string before = SavedBytes();
    const int layers = app.store.LayerCount;
    const std::int32_t undoStep = app.undo.UndoCurrentStep;

    Insert(cut);
    const std::string said = MessageLine();
    EXPECT_EQ(said.rfind("cut.dxf：读到第", 0), 0u) << said;
    EXPECT_NE(said.find("行时停止"), std::string::npos) << said;
    EXPECT_NE(said.find(OpenMapKeptText), std::string::npos) << said;
    EXPECT_EQ(app.store.LayerCount, layers);
    EXPECT_EQ(app.mapFile.MergedFileCount, 1);
    EXPECT_EQ(app.undo.UndoCurrentStep, undoStep);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    EXPECT_TRUE(SavedBytes() == before) << "the open map changed";

    Insert(work.Str() + "/r2000.dxf");
    EXPECT_EQ(app.mapFile.MergedFileCount, 2);
    ASSERT_EQ(app.mapFile.MergedFileNames.size(), 3u);
    EXPECT_EQ(app.mapFile.MergedFileNames[2], "r2000.dxf");
    EXPECT_GT(app.store.LayerCount, layers);
    int merged = 0;
    for (int layer = 1; layer <= app.store.LayerCount; ++layer)
        for (int slot = 0; slot < app.store.Count(layer); ++slot) merged += app.store.Get(layer, slot).RecordSource == 2;
    EXPECT_GT(merged, 3);
    EXPECT_EQ(app.current.ModifiedFlag, -1);
    SaveTestPicture(run.binder.WidgetOf(run.form1.Picture1)->grab().toImage(), "insert-drawing-merged.png");
}

}  // namespace
}  // namespace movra
