// A surveyor's map in the shown window, kept whole through the real buttons and dialogs: house
// records holding mobile telephone numbers saved and opened again, a mark size the store cannot
// hold refused, the coordinate box true before and after 目标归位, and a map at survey
// coordinates with a layer of one record reduced, exported in the three forms of 另存为dxf and
// printed to PDF with that record at its true place.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "LookAt.h"
#include "PdfTools.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "document/DrawingExtents.h"
#include "document/Layers.h"
#include "document/StoreRecord.h"
#include "exchange/ExchangeTestMaps.h"
#include "printing/dayinfrm.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "symbols/shuxfrm.h"

namespace movra {
namespace {

struct SurveyMapDataQt : ::testing::Test {
    SurveyMapDataQt() {
        run.Start();
        QApplication::processEvents();
        canvas = run.binder.WidgetOf(run.form1.Picture1);
    }

    QPushButton* Method(int index) { return BoundWidget<QPushButton>(run, run.form1.Command8(index)); }
    void Press(int method) {
        QPushButton* button = Method(method);
        ASSERT_NE(button, nullptr) << method;
        button->click();
        QApplication::processEvents();
    }
    // Presses a toggling method button until the message line shows `prompt`.
    void PressUntil(int method, const std::string& prompt) {
        for (int i = 0; i < 2 && run.form1.Text2.Text() != prompt; ++i) Press(method);
        ASSERT_EQ(run.form1.Text2.Text(), prompt);
    }
    void Type(const std::string& entry) { run.form1.Text8.SetText(entry); }
    void Hover(QPoint at) {
        SendMouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
        QApplication::processEvents();
    }
    std::string CoordinateBox() { return BoundWidget<QLineEdit>(run, run.form1.Text1)->text().toStdString(); }
    QPoint PixelOfStored(double x, double y) { return PixelOf(run.form1.Picture1.surface(), x, y); }

    // Runs `command` while the file dialogs it opens are answered with `path` under the filter
    // `filter` (none: the dialog's own) and its message boxes with their Yes or OK button; the
    // texts of the boxes are kept in `boxes`.
    void WithDialogs(const std::function<void()>& command, const std::string& path, const QString& filter = {}) {
        int dialogs = 0;
        ModalWatchdog watchdog(CloseActiveModal);
        ModalDriver driver([&](QWidget* window) {
            if (auto* box = qobject_cast<QMessageBox*>(window)) {
                if (box->property("answered").toBool()) return;
                box->setProperty("answered", true);
                boxes.push_back(box->text().toStdString());
                QAbstractButton* press = box->buttons().value(0);
                for (QAbstractButton* b : box->buttons()) {
                    const auto role = box->buttonRole(b);
                    if (role == QMessageBox::YesRole || role == QMessageBox::AcceptRole) press = b;
                }
                PressLater(press);
                return;
            }
            auto* files = qobject_cast<QFileDialog*>(window);
            if (!files || files->property("answered").toBool()) return;
            files->setProperty("answered", true);
            if (++dialogs > 1) {
                ADD_FAILURE() << "the file dialog came back";
                QMetaObject::invokeMethod(files, "reject", Qt::QueuedConnection);
                return;
            }
            if (!filter.isEmpty()) {
                files->selectNameFilter(filter);
                EXPECT_EQ(files->selectedNameFilter(), filter);
            }
            if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) name->setText(QString::fromStdString(path));
            QMetaObject::invokeMethod(files, "accept", Qt::QueuedConnection);
        });
        command();
        QApplication::processEvents();
        EXPECT_EQ(dialogs, 1) << path;
    }
    void Menu(const QString& button, const QString& item, const std::string& path, const QString& filter = {}) {
        QAction* action = MenuAction(run, button, item);
        ASSERT_NE(action, nullptr) << item.toStdString();
        WithDialogs([action] { action->trigger(); }, path, filter);
    }

    // Layers 1 and 3 full, layer 2 empty, all shown.
    void ThreeLayers() {
        App& app = run.app;
        app.store.LayerCount = 3;
        app.store.NextLayerIndex = 4;
        新建层(app);
        for (int layer = 1; layer <= 3; ++layer) {
            app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = -1;
            app.store.LayerNames[static_cast<std::size_t>(layer)] = "层" + std::to_string(layer);
        }
    }
    void Store(int layer, int type, std::vector<double> xy, const std::string& text = "") {
        App& app = run.app;
        xy.resize(8);
        app.store.CurrentLayer = static_cast<std::uint8_t>(layer);
        const int before = app.store.Count(layer);
        StoreRecord(app, StoreFull, static_cast<std::uint8_t>(type), xy[0], xy[1], xy[2], xy[3], xy[4], xy[5], xy[6],
                    xy[7], text);
        ASSERT_EQ(app.store.Count(layer), before + 1);
    }
    void ShowGround(double left, double top, double width) {
        const Surface& s = run.form1.Picture1.surface();
        ShowGroundWindow(run.app, left, top, width, width * s.PixelHeight() / s.PixelWidth());
        run.form1.Text4_Click();
        QApplication::processEvents();
    }

    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run{program.Str(), work.Str()};
    QWidget* canvas = nullptr;
    std::vector<std::string> boxes;
};

// A house record given 13900001111 and 13800002222 through 加属性(10属性) with 0类属性 chosen in
// its dialog, and another given them by 加电话号码 over its popup, come back whole from a .wtw
// and a .jdx saved and opened through the file dialogs, without a word of deletion.
TEST_F(SurveyMapDataQt, HouseRecordsWithMobileNumbersComeBackWhole) {
    App& app = run.app;
    ASSERT_NE(canvas, nullptr);
    app.tool.SnapOn = 0;
    const Surface& s = run.form1.Picture1.surface();
    const QPoint a(200, 150), b(380, 260);

    Press(48);
    ASSERT_TRUE(app.attributeDialog);
    shuxfrm& dialog = *app.attributeDialog;
    auto* classes = BoundWidget<QListWidget>(run, dialog.List1);
    auto* values = BoundWidget<QPlainTextEdit>(run, dialog.Text2);
    ASSERT_TRUE(classes && values);
    classes->setCurrentRow(0);
    ASSERT_EQ(classes->currentItem()->text().toStdString(), "0类属性");
    values->setPlainText("张三\n3号\n13900001111\n13800002222\n126.5\n3.2");
    BoundWidget<QPushButton>(run, dialog.Command1)->click();
    QApplication::processEvents();
    ASSERT_EQ(app.attributes.AttributeRecordType, 53);
    const int layer = app.store.CurrentLayer;
    ClickOn(canvas, a);
    ClickOn(canvas, a);
    ASSERT_EQ(app.store.Count(layer), 1) << run.form1.Text2.Text();
    BoundWidget<QPushButton>(run, dialog.Command2)->click();  // 退出: the dialog came back for the next
    QApplication::processEvents();

    // The second: its name by 加姓名, then each number by 加电话号码 on the record its popup shows.
    PressUntil(55, "加姓名(00属性)");
    Type("李四");
    ClickOn(canvas, b);
    ClickOn(canvas, b);
    ASSERT_EQ(app.store.Count(layer), 2);
    for (const auto& [prompt, number] : {std::pair{"加电话号码1(02属性)", "13900001111"},
                                         std::pair{"加电话号码2(03属性)", "13800002222"}}) {
        Press(59);
        for (QPoint at : {b + QPoint(60, 60), b + QPoint(20, 20), b + QPoint(2, 1)}) Hover(at);
        PressUntil(58, prompt);
        Type(number);
        ClickOn(canvas, b);
        ClickOn(canvas, b);
        ASSERT_EQ(app.store.Count(layer), 2) << prompt;
    }
    const double ax = app.store.Get(layer, 0).RecordX1, bx = app.store.Get(layer, 1).RecordX1;
    EXPECT_NEAR(ax, s.FromPixelX(a.x()), 1e-6);
    EXPECT_NEAR(bx, s.FromPixelX(b.x()), 1e-6);
    // The compact file keeps no house number (its save warns of that); everything else is kept.
    auto expectWhole = [&](const std::string& what, bool houseNumber = true) {
        SCOPED_TRACE(what);
        ASSERT_EQ(app.store.Count(layer), 2);
        const MapRecord& first = app.store.Get(layer, 0);
        const MapRecord& second = app.store.Get(layer, 1);
        EXPECT_EQ(first.RecordType, 53);
        EXPECT_EQ(std::string(first.RecordText), "张三");
        if (houseNumber) EXPECT_EQ(std::string(first.RecordExtra), "3号");
        EXPECT_EQ(first.RecordX4, 13900001111.0);
        EXPECT_EQ(first.RecordY4, 13800002222.0);
        EXPECT_EQ(first.RecordX3, 126.5);
        EXPECT_EQ(first.RecordX1, ax);
        EXPECT_EQ(second.RecordType, 53);
        EXPECT_EQ(std::string(second.RecordText), "李四");
        EXPECT_EQ(second.RecordX4, 13900001111.0);
        EXPECT_EQ(second.RecordY4, 13800002222.0);
        EXPECT_EQ(second.RecordX1, bx);
    };
    expectWhole("placed");

    for (const char* kind : {"wtw", "jdx"}) {
        SCOPED_TRACE(kind);
        const std::string path = work.Str() + "/房屋." + kind;
        boxes.clear();
        Menu("保存", QString("另存为") + kind, path);
        ASSERT_TRUE(FileExists(path));
        EXPECT_EQ(app.current.ModifiedFlag, 0);
        run.form1.Text2.SetText("");
        boxes.clear();
        Menu("打开", QString("打开") + kind, path);
        EXPECT_EQ(app.current.CurrentFilePath, path);
        for (const std::string& box : boxes) EXPECT_EQ(box.find("已删除"), std::string::npos) << box;
        EXPECT_EQ(run.form1.Text2.Text().find("已删除"), std::string::npos) << run.form1.Text2.Text();
        EXPECT_EQ(app.mapFile.LastReadUnusableRecords, 0);
        expectWhole(std::string("opened ") + kind, std::string(kind) == "wtw");
    }
}

// 加1.0mm圆 with a size no view could hold typed is refused in the message line; nothing is stored.
TEST_F(SurveyMapDataQt, ACircleMarkOfAnUnstorableSizeIsRefused) {
    App& app = run.app;
    app.tool.SnapOn = 0;
    const int layer = app.store.CurrentLayer;
    const int before = app.store.Count(layer);
    Press(37);
    ASSERT_EQ(run.form1.Text2.Text(), "加1.0mm圆");
    Type("1e40");
    ClickOn(canvas, QPoint(200, 200));
    ClickOn(canvas, QPoint(220, 210));
    EXPECT_EQ(run.form1.Text2.Text(), MessageLineText(RuntimeError(ErrOverflow)));
    EXPECT_EQ(app.store.Count(layer), before);
    EXPECT_EQ(app.store.Get(layer, before).RecordType, 0);
    // A size the store holds is placed as ever.
    Press(37);
    Type("1.0");
    ClickOn(canvas, QPoint(200, 200));
    ClickOn(canvas, QPoint(220, 210));
    ASSERT_EQ(app.store.Count(layer), before + 1);
    EXPECT_GT(app.store.Get(layer, before).RecordX2, 0);
    EXPECT_LT(app.store.Get(layer, before).RecordX2, 10);
}

// The coordinate box shows the true place of the pointer and of the snapped vertex, before
// 目标归位 and after it, also for the vertex snapped before it and kept while nothing is near.
TEST_F(SurveyMapDataQt, TheCoordinateBoxShowsTrueCoordinatesAcrossTheReduction) {
    App& app = run.app;
    ThreeLayers();
    Store(1, 2, {500100.556, 3000400.778, 500130.25, 3000420.5});
    Store(1, 2, {500130.25, 3000420.5, 500160.125, 3000380.25});
    Store(3, 2, {500090.5, 3000370.5, 500170.5, 3000370.5});
    ShowGround(500070, 3000440, 120);
    刷新(app);
    QApplication::processEvents();
    auto snappingOn = [&](bool on) {
        if ((app.tool.SnapOn == -1) == on) return;
        QWidget* label = run.binder.WidgetOf(run.form1.Label3);
        ASSERT_NE(label, nullptr);
        SendMouse(label, QEvent::MouseButtonPress, QPoint(4, 4), Qt::LeftButton, Qt::LeftButton);
        SendMouse(label, QEvent::MouseButtonRelease, QPoint(4, 4), Qt::LeftButton, Qt::NoButton);
        QApplication::processEvents();
        ASSERT_EQ(app.tool.SnapOn == -1, on);
    };
    const std::string vertex = "500100.556;3000400.778";
    auto check = [&](const std::string& when) {
        SCOPED_TRACE(when);
        const MapRecord& r = app.store.Get(1, 0);
        const QPoint at = PixelOfStored(r.RecordX1, r.RecordY1);
        // Unsnapped, the pointer's own place, within a pixel of the vertex.
        snappingOn(false);
        Hover(at + QPoint(1, 0));
        Hover(at);
        double x = 0, y = 0;
        ASSERT_EQ(std::sscanf(CoordinateBox().c_str(), "%lf;%lf", &x, &y), 2) << CoordinateBox();
        const double pixel = run.form1.Picture1.surface().ScaleWidth() / canvas->width();
        EXPECT_NEAR(x, 500100.556, 2 * pixel);
        EXPECT_NEAR(y, 3000400.778, 2 * pixel);
        // Snapped: the vertex itself, and it stays shown while nothing is near the pointer.
        snappingOn(true);
        Hover(at + QPoint(3, 2));
        EXPECT_EQ(CoordinateBox(), vertex);
        Hover(QPoint(5, canvas->height() - 5));
        EXPECT_EQ(CoordinateBox(), vertex);
    };
    check("before");
    ASSERT_EQ(app.tool.SnapOn, -1);
    Press(0);
    ASSERT_NE(app.reduction.ReductionOffsetX, 0);
    ASSERT_LT(app.store.Get(1, 0).RecordX1, 500000);
    // The vertex snapped before the reduction, shown again before any vertex is found.
    Hover(QPoint(5, canvas->height() - 5));
    EXPECT_EQ(CoordinateBox(), vertex);
    check("after");
}

// What a DXF or coordinate-text export holds for the entity whose text is `text`: its insertion
// point, from the pairs of group codes and values.
bool TextPointIn(const std::string& file, const std::string& text, double& x, double& y) {
    std::vector<std::string> lines = exchange_test::CrLfLines(file);
    for (auto& l : lines) l = Trim(l);
    int start = -1;
    for (std::size_t i = 0; i + 1 < lines.size(); i += 2) {
        if (lines[i] == "0") start = static_cast<int>(i);
        if (lines[i] == "1" && lines[i + 1] == text && start >= 0) {
            bool gotX = false, gotY = false;
            for (std::size_t k = static_cast<std::size_t>(start) + 2; k + 1 < lines.size() && lines[k] != "0"; k += 2) {
                if (lines[k] == "10" && !gotX) x = std::stod(lines[k + 1]), gotX = true;
                if (lines[k] == "20" && !gotY) y = std::stod(lines[k + 1]), gotY = true;
            }
            return gotX && gotY;
        }
    }
    return false;
}

// A map at survey coordinates whose layer 2 holds one text among two full layers, reduced by
// 目标归位: the three forms of 另存为dxf and the printed page all hold that text at its true place.
TEST_F(SurveyMapDataQt, AReducedLayerOfOneRecordIsExportedAndPrintedAtItsTruePlace) {
    RequireTool("pdftotext");
    App& app = run.app;
    std::filesystem::copy_file(exchange_test::SourceDir + "/resources/dxf头文档.txt", program.Str() + "/dxf头文档.txt");
    ThreeLayers();
    Store(1, 6, {500080, 3000380, 500140, 3000380, 500140, 3000430, 500080, 3000430});
    Store(1, 65, {500090, 3000390, 4}, "R55");
    Store(1, 2, {500080, 3000380, 500140, 3000430});
    Store(2, 65, {500100.556, 3000400.778, 4}, "P77");
    Store(3, 2, {500085, 3000385, 500135, 3000385});
    Store(3, 2, {500085, 3000425, 500135, 3000425});
    for (int slot : {0, 1, 2}) {
        MapRecord& r = app.store.At(1, slot);
        r.RecordFont = "宋体";
        app.store.At(2, 0).RecordFont = "宋体";
    }
    ShowGround(500060, 3000450, 100);
    Press(0);
    ASSERT_EQ(app.reduction.ReductionOffsetX, 500000);
    ASSERT_EQ(app.reduction.ReductionOffsetY, 3000000);
    ASSERT_NEAR(app.store.Get(2, 0).RecordX1, 100.556, 1e-9);

    const std::string r12 = work.Str() + "/测区12.dxf", own = work.Str() + "/测区wtw.dxf", text = work.Str() + "/测区.txt";
    Menu("保存", "另存为dxf", r12, "dxf_低版本 (*.dxf)");
    Menu("保存", "另存为dxf", own, "dxf_wtw格式 (*.dxf)");
    Menu("保存", "另存为dxf", text, "text_文本格式 (*.txt)");
    for (const std::string& box : boxes) ADD_FAILURE() << "unexpected message: " << box;

    // Each text where its ground is, and P77 as far from R55 of a full layer as on the ground (a
    // text's point is written a third of its height below its record's, in both dialects).
    auto expectTruePlace = [](const std::string& what, double px, double py, double rx, double ry) {
        SCOPED_TRACE(what);
        EXPECT_NEAR(px, 500100.556, 2);
        EXPECT_NEAR(py, 3000400.778, 2);
        EXPECT_NEAR(px - rx, 10.556, 1e-6);
        EXPECT_NEAR(py - ry, 10.778, 1e-6);
    };
    // The release-12 file as ezdxf and GDAL read it.
    const std::string peers = Shell("/usr/bin/python3 '" + exchange_test::SourceDir +
                                    "/tests/exchange/peers/check_dxf.py' '" + r12 + "'");
    EXPECT_NE(peers.find("audit 0 0\n"), std::string::npos) << peers;
    auto peerPoint = [&](const std::string& word) {
        const std::regex at("feature TEXT\\|[^|]*\\|[^|]*\\|" + word + "\\|([-0-9.e]+) ([-0-9.e]+)");
        std::smatch m;
        EXPECT_TRUE(std::regex_search(peers, m, at)) << word << "\n" << peers;
        return m.empty() ? std::pair{0.0, 0.0} : std::pair{std::stod(m[1]), std::stod(m[2])};
    };
    const auto [p12x, p12y] = peerPoint("P77");
    const auto [r12x, r12y] = peerPoint("R55");
    expectTruePlace("as the peers read it", p12x, p12y, r12x, r12y);
    for (const std::string& path : {r12, own}) {
        double px = 0, py = 0, rx = 0, ry = 0;
        const std::string bytes = ReadWholeFile(path);
        ASSERT_TRUE(TextPointIn(bytes, "P77", px, py) && TextPointIn(bytes, "R55", rx, ry)) << path;
        expectTruePlace(path, px, py, rx, ry);
    }
    const auto coordinates = exchange_test::CrLfLines(ReadWholeFile(text));
    EXPECT_NE(std::find(coordinates.begin(), coordinates.end(), "500100.556,3000400.778,0,P77"), coordinates.end());

    // Printed whole at 1:500 to a PDF through the print dialog: P77 stands where its ground puts
    // it beside R55 of a full layer.
    const std::string pdf = work.Str() + "/测区.pdf";
    ShowPrintDialog(app);
    QApplication::processEvents();
    ASSERT_TRUE(app.printDialog);
    dayinfrm& d = *app.printDialog;
    d.List1.SetListIndex(0);
    d.List1.DblClick();
    BoundWidget<QRadioButton>(run, d.Option6)->click();
    BoundWidget<QRadioButton>(run, d.Option5)->click();
    d.Text5.UserTyped("500", 0);
    WithDialogs([&] { BoundWidget<QPushButton>(run, d.Command3)->click(); }, pdf);
    ASSERT_TRUE(WaitFor([&] { return !boxes.empty(); }));
    EXPECT_EQ(boxes.back().rfind("1页，好了，结束。", 0), 0u) << boxes.back();
    const std::string words = Shell("pdftotext -bbox '" + pdf + "' -");
    auto place = [&](const std::string& word) {
        const std::regex at("<word xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\"[^>]*>" + word + "</word>");
        std::smatch m;
        EXPECT_TRUE(std::regex_search(words, m, at)) << word << "\n" << words;
        return m.empty() ? std::pair{0.0, 0.0} : std::pair{std::stod(m[1]), std::stod(m[2])};
    };
    const auto [rx, ry] = place("R55");
    const auto [px, py] = place("P77");
    // Ground metres to points at 1:500: 2 mm a metre.
    const double pointsPerMetre = 2 * 72 / 25.4;
    EXPECT_NEAR(px - rx, 10.556 * pointsPerMetre, 1);
    EXPECT_NEAR(ry - py, 10.778 * pointsPerMetre, 1);
    std::filesystem::copy_file(pdf, LookAtPath("movra-reduced-one-record-layer.pdf"),
                               std::filesystem::copy_options::overwrite_existing);
}

}  // namespace
}  // namespace movra
