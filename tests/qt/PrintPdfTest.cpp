// Printing through Qt's PDF printer, read back with the PDF tools: the page count, the footnote
// of every page and the true size of the printed frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QWidget>
#include <sys/resource.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "DialogTestHelpers.h"
#include "PdfTools.h"
#include "TemporaryDataHome.h"
#include "document/ColorTable.h"
#include "document/StoreRecord.h"
#include "app/MainProgram.h"
#include "platform/qt/QtPrinter.h"
#include "printing/dayinfrm.h"
#include "shell/stForm1.h"
#include "support/PictureTestHelpers.h"
#include "support/TestApp.h"
#include "LookAt.h"

namespace movra {
namespace {

struct PrintPdfTest : ::testing::Test {
    PrintPdfTest() {
        for (int i = 0; i < 255; ++i) app.tables.ColorPalette[i] = ColorIndexToRgb(static_cast<std::uint8_t>(i));
        app.view.ProjectParams[0] = 1000;
        app.work.ScreenTwipsPerMetre = 56700;
        form1.Picture1.Move(0, 0, 9000, 9000);
        form1.Picture1.SetScale(-150, 700, 600, -600);
        // Records over x 0..300 and y 100..600: at 1:1000 on A4 two pages across, three down.
        app.store.LayerOnFlag[1] = -1;
        app.store.Count(1) = 3;
        MapRecord& r = app.store.At(1, 1);
        r.RecordType = 2;
        r.RecordX1 = 0;
        r.RecordY1 = 100;
        r.RecordX2 = 300;
        r.RecordY2 = 600;
    }

    // The dialog loaded, the PDF printer chosen, the whole drawing in colour at a typed 1:1000.
    dayinfrm& Dialog() {
        dayinfrm& d = PrintDialog(app);
        d.Load();
        d.List1.SetListIndex(0);
        d.List1.DblClick();
        d.Option6.Click();
        d.Option10.Click();  // colour: black and white would print the red frame grey
        d.Option5.Click();
        d.Text5.UserTyped("1000", 0);
        return d;
    }

    TempFolder program{"program"};
    TempFolder work{"work"};
    std::string pdfPath = work.Str() + "/job.pdf";
    PdfPlatform platform{program.Str(), work.Str(), pdfPath};
    App app{platform};
    stForm1 form1{app};
};

bool Red(QRgb p) { return qRed(p) > 200 && qGreen(p) < 160 && qBlue(p) < 160; }
bool Dark(QRgb p) { return qRed(p) < 128 && qGreen(p) < 128 && qBlue(p) < 128; }

// A ground rectangle where a figure of the map lies.
struct Spot {
    const char* what;
    double left, bottom, right, top;
};

// In a program that has not loaded the symbol standard: line-type lines and symbol fills, and
// after them the map's only point symbol. The whole drawing is printed at the typed scale; every
// page must show what of each figure lies in its cell.
void PrintFiguresBeforeTheFirstSymbol(PrintPdfTest& t, const char* scale, size_t pageCount) {
    App& app = t.app;
    std::filesystem::copy_file(std::filesystem::path(MOVRA_TEST_PROGRAM_DIR) / "电子图式.tus",
                               t.program.Path() / "电子图式.tus");
    app.view.ScaleFactor = 1;
    RecordStore& store = app.store;
    store.At(1, 1) = MapRecord{};
    store.Count(1) = 1;
    store.CurrentLayer = 1;
    auto line = [&](double x1, double y1, double x2, double y2) {
        MapRecord& r = store.At(1, store.Count(1)++);
        r = MapRecord{.RecordType = 42, .RecordX1 = x1, .RecordY1 = y1, .RecordX2 = x2, .RecordY2 = y2};
        r.RecordText = "364";  // a border: dashes with a dot symbol between them
    };
    auto fill = [&](double left, double bottom, double right, double top) {
        app.selection.WorkPolygon = {left, bottom, right, bottom, right, top, left, top, left, bottom, 0, 0};
        StorePolylineFromList(app, "*559");  // symbol pattern 210
    };
    line(0, 450, 360, 450);
    fill(150, 300, 230, 380);
    line(0, 170, 360, 170);
    fill(150, 120, 230, 180);
    MapRecord& symbol = store.At(1, store.Count(1)++);
    symbol = MapRecord{.RecordType = 15, .RecordX1 = 300, .RecordY1 = 140, .RecordX2 = 0, .RecordY2 = 1};
    symbol.RecordText = "2";
    ASSERT_EQ(app.symbolStandard.SymbolStandardLoaded, 0);

    dayinfrm& d = t.Dialog();
    d.Text5.UserTyped(scale, 0);
    t.platform.dialogScript.QueueFile(t.pdfPath);
    d.Command3.Click();
    ASSERT_EQ(t.platform.promptScript.LastText().rfind(std::to_string(pageCount) + "页，好了，结束。", 0), 0u)
        << t.platform.promptScript.LastText();
    EXPECT_EQ(t.platform.promptScript.questions.front().text, "已加载图式。");

    const Spot spots[] = {{"north line", 10, 448, 350, 452},      {"south line", 10, 168, 350, 172},
                          {"north fill", 155, 305, 225, 375},      {"south fill", 155, 125, 225, 175},
                          {"point symbol", 298.5, 138.5, 301.5, 141.5}};
    const PrintOptions& o = app.printOptions;
    const double m = o.PrintScale / 1000.0;  // ground metres per paper millimetre
    const std::string prefix = t.work.Str() + "/figures-" + scale;
    Shell("pdftoppm -r 254 -aaVector no -png '" + t.pdfPath + "' '" + prefix + "'");
    const int columns = pageCount == 1 ? 1 : 2;
    for (size_t page = 0; page < pageCount; ++page) {
        const int column = static_cast<int>(page) % columns, row = static_cast<int>(page) / columns;
        SCOPED_TRACE("page " + std::to_string(page + 1));
        const std::string number = pageCount == 1 ? "1" : std::to_string(page + 1);
        QImage image(QString::fromStdString(prefix + "-" + number + ".png"));
        ASSERT_FALSE(image.isNull());
        image.save(LookAt("movra-figures-" + std::string(scale) + "-" + number + ".png"));
        // The page's cell, and its window's corner; at 254 dots per inch ten pixels make a mm.
        const double cellLeft = column * o.PageStepX, cellTop = 450 + row * o.PageStepY;
        const double cellRight = cellLeft + o.PageStepX, cellBottom = cellTop + o.PageStepY;
        const double windowLeft = cellLeft - 0.05 * o.PageGroundWidth, windowTop = cellTop - 0.05 * o.PageGroundHeight;
        auto px = [&](double x) { return static_cast<int>((5.795 / 2 + (x - windowLeft) / m) * 10); };
        auto py = [&](double y) { return static_cast<int>((17.795 / 2 + (windowTop - y) / m) * 10); };
        for (const Spot& spot : spots) {
            // The part of the figure in this page's cell, kept clear of the cell's edges.
            const double left = std::max(spot.left, cellLeft + 2 * m), right = std::min(spot.right, cellRight - 2 * m);
            const double bottom = std::max(spot.bottom, cellBottom + 2 * m), top = std::min(spot.top, cellTop - 2 * m);
            if (!(left < right && bottom < top)) continue;
            int ink = 0;
            for (int y = py(top); y <= py(bottom); ++y)
                for (int x = px(left); x <= px(right); ++x) ink += Dark(image.pixel(x, y));
            EXPECT_GT(ink, 20) << spot.what;
        }
    }
}

// The centres (in pixels) of the runs of red pixels along one row (or one column) of a page.
std::vector<double> RedLineCentres(const QImage& image, int at, bool alongRow) {
    std::vector<double> centres;
    const int length = alongRow ? image.width() : image.height();
    int start = -1;
    for (int i = 0; i <= length; ++i) {
        const bool red = i < length && Red(alongRow ? image.pixel(i, at) : image.pixel(at, i));
        if (red && start < 0) start = i;
        if (!red && start >= 0) {
            centres.push_back((start + i - 1) / 2.0 + 0.5);
            start = -1;
        }
    }
    return centres;
}

TEST_F(PrintPdfTest, ASixPageJobGivesSixPagesWithTheirFootnoteAndATrueSizeFrame) {
    RequireTool("pdfinfo");
    RequireTool("pdftotext");
    RequireTool("pdftoppm");
    dayinfrm& d = Dialog();
    EXPECT_EQ(d.Text1.Text(), QtPrinter::PdfPrinterName);
    platform.dialogScript.QueueFile(pdfPath);
    d.Command3.Click();
    EXPECT_EQ(platform.promptScript.LastText(), "6页，好了，结束。\r\n已写入文件：" + pdfPath);
    ASSERT_TRUE(std::filesystem::exists(pdfPath));
    std::filesystem::copy_file(pdfPath, LookAtPath("movra-print-job.pdf"), std::filesystem::copy_options::overwrite_existing);

    const std::string info = Shell("pdfinfo '" + pdfPath + "'");
    EXPECT_NE(info.find("Pages:           6\n"), std::string::npos) << info;
    EXPECT_NE(info.find("(A4)"), std::string::npos) << info;
    for (int page = 1; page <= 6; ++page) {
        const std::string text = Shell("pdftotext -f " + std::to_string(page) + " -l " + std::to_string(page) + " '" +
                                     pdfPath + "' -");
        EXPECT_NE(text.find("打印比例1/1000日期："), std::string::npos) << "page " << page << ": " << text;
    }

    // At 254 dots per inch ten pixels make a millimetre.
    const std::string prefix = work.Str() + "/page";
    Shell("pdftoppm -r 254 -aaVector no -png -f 1 -l 1 '" + pdfPath + "' '" + prefix + "'");
    QImage image(QString::fromStdString(prefix + "-1.png"));
    ASSERT_FALSE(image.isNull());
    image.save(LookAt("movra-print-page1.png"));
    // The frame is the page cell: 0.9 of the page window, 5 % of the window in from its edges;
    // the window is the paper less the default margins, centred on it.
    Printer& printer = platform.pdf();
    const double paperWidthMm = printer.Width() / 56.7, paperLengthMm = printer.Height() / 56.7;
    const double windowWidth = paperWidthMm - 5.795, windowHeight = paperLengthMm - 17.795;
    const double left = 5.795 / 2 + 0.05 * windowWidth, top = 17.795 / 2 + 0.05 * windowHeight;
    const int row = static_cast<int>((top + 0.45 * windowHeight) * 10);
    const int column = static_cast<int>((left + 0.45 * windowWidth) * 10);
    const std::vector<double> across = RedLineCentres(image, row, true);
    ASSERT_EQ(across.size(), 2u);
    EXPECT_NEAR(across[0] / 10, left, 0.2);
    EXPECT_NEAR((across[1] - across[0]) / 10, 0.9 * windowWidth, 0.2);
    const std::vector<double> down = RedLineCentres(image, column, false);
    ASSERT_EQ(down.size(), 2u);
    EXPECT_NEAR(down[0] / 10, top, 0.2);
    EXPECT_NEAR((down[1] - down[0]) / 10, 0.9 * windowHeight, 0.2);
}

// In a fresh program a job loads the symbol standard before its first page: a line type or a
// symbol fill that comes before the map's first point symbol prints on every page it lies on,
// the first page of a one-page job as well as each of four.
TEST_F(PrintPdfTest, LineTypesAndSymbolFillsPrintOnEveryPageOfAFreshProgramsFirstJob) {
    RequireTool("pdftoppm");
    PrintFiguresBeforeTheFirstSymbol(*this, "2000", 1);
}

TEST_F(PrintPdfTest, LineTypesAndSymbolFillsPrintOnEachOfFourPagesOfAFreshProgramsFirstJob) {
    RequireTool("pdftoppm");
    PrintFiguresBeforeTheFirstSymbol(*this, "1000", 4);
}

std::string ReadAll(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST_F(PrintPdfTest, AFailedWriteIsToldAndTheLastPdfStaysAsItWas) {
    RequireTool("pdfinfo");
    // A point symbol on the first page: its drawer meets a file that cannot be written before
    // the job does, and the failure is still told once.
    DimensionEmptyStandard(app.symbolStandard);
    SetSymbolElement(app.symbolStandard, 1, 0, 1, {{0, 0}, {0, 2}});
    app.store.At(1, 2) = MapRecord{.RecordType = 15, .RecordX1 = 100, .RecordY1 = 500, .RecordX2 = 0, .RecordY2 = 1};
    app.store.At(1, 2).RecordText = "1";
    dayinfrm& d = Dialog();
    platform.dialogScript.QueueFile(pdfPath);
    d.Command3.Click();
    ASSERT_EQ(platform.promptScript.LastText().rfind("6页，好了，结束。", 0), 0u);
    const std::string before = ReadAll(pdfPath);
    ASSERT_FALSE(before.empty());

    // "换页" between jobs leaves the file as it is.
    d.Command6.Click();
    EXPECT_EQ(ReadAll(pdfPath), before);

    // A folder standing where the file should go, a folder that is not there, and a disk that
    // fills up while the PDF is written: the error box, no success, nothing half-written, and
    // the last PDF as it was.
    const std::string folder = work.Str() + "/folder.pdf", missing = work.Str() + "/missing/job.pdf";
    std::filesystem::create_directory(folder);
    auto entries = [&] {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(work.Str())) names.push_back(e.path().filename());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> present = entries();
    const struct {
        std::string file;
        std::string number;
        bool diskFull;
    } cases[] = {{folder, "75", false}, {missing, "76", false}, {pdfPath, "61", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        platform.promptScript.questions.clear();
        platform.dialogScript.QueueFile(c.file);
        rlimit saved{};
        ::getrlimit(RLIMIT_FSIZE, &saved);
        if (c.diskFull) {
            rlimit limit = saved;
            limit.rlim_cur = 8192;  // every write past 8 KB fails, as on a full disk
            ::setrlimit(RLIMIT_FSIZE, &limit);
        }
        d.Command3.Click();
        ::setrlimit(RLIMIT_FSIZE, &saved);
        ASSERT_EQ(platform.promptScript.questions.size(), 1u);
        const PromptQuestion& told = platform.promptScript.questions[0];
        EXPECT_EQ(told.title, c.number) << told.text;
        EXPECT_NE(told.text.find(c.file), std::string::npos) << told.text;
        EXPECT_EQ(told.text.find("好了"), std::string::npos) << told.text;
        EXPECT_EQ(entries(), present);
        EXPECT_TRUE(ReadAll(pdfPath) == before) << "the last PDF was changed";
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));

    // The next job to a good file is written whole where the user chose.
    const std::string chosen = work.Str() + "/地形图";
    platform.dialogScript.QueueFile(chosen);
    d.Command3.Click();
    EXPECT_EQ(platform.promptScript.LastText(), "6页，好了，结束。\r\n已写入文件：" + chosen + ".pdf");
    const std::string info = Shell("pdfinfo '" + chosen + ".pdf'");
    EXPECT_NE(info.find("Pages:           6\n"), std::string::npos) << info;
}

TEST_F(PrintPdfTest, EveryPaperOfTheListIsTakenAndShownInPlainMillimetres) {
    dayinfrm& d = Dialog();
    EXPECT_EQ(d.Text3.Text(), "209.9");  // A4 as 595 by 842 points
    EXPECT_EQ(d.Text4.Text(), "297");
    for (int i = 0; i < d.List2.ListCount(); ++i) {
        const std::string paper = d.List2.List(i);
        // The two reserved codes name no paper; a user-defined one is the printer's to know.
        if (paper == "纸规格_RESERVED_48" || paper == "纸规格_RESERVED_49" || paper == "纸规格_USER") continue;
        platform.promptScript.questions.clear();
        d.Option1.SetValue(true);
        d.List2.SetListIndex(i);
        d.List2.Click();
        EXPECT_TRUE(platform.promptScript.questions.empty()) << paper << ": " << platform.promptScript.LastText();
        EXPECT_EQ(app.printState.PaperMismatchFlag, 0) << paper;
        if (paper == "纸规格_FOLIO") {
            EXPECT_EQ(d.Text3.Text(), "215.9");
            EXPECT_EQ(d.Text4.Text(), "330.2");
        }
    }
}

TEST_F(PrintPdfTest, APreviewFramesThePagesOnTheCanvas) {
    dayinfrm& d = Dialog();
    d.Command5.Click();
    EXPECT_EQ(platform.promptScript.LastText(), "6页，好了，结束。");
    EXPECT_FALSE(std::filesystem::exists(pdfPath));  // no page was opened
    auto& canvas = dynamic_cast<QtSurface&>(form1.Picture1.surface());
    const QImage image = canvas.Image().copy();
    image.save(LookAt("movra-print-preview.png"));
    // Each page's hatch is in its own palette colour: pages 1 to 6 are red .. magenta.
    int red = 0, blue = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            red += qRed(p) == 255 && qGreen(p) == 0 && qBlue(p) == 0;
            blue += qRed(p) == 0 && qGreen(p) == 0 && qBlue(p) == 255;
        }
    EXPECT_GT(red, 100);
    EXPECT_GT(blue, 100);
}

TEST(QtPrinterTest, PapersOrientationAndTheDocument) {
    TempFolder work{"work"};
    const std::string file = work.Str() + "/out.pdf";
    QtPrinter printer(file, false);
    EXPECT_EQ(printer.PrinterNames(), std::vector<std::string>{QtPrinter::PdfPrinterName});
    EXPECT_EQ(printer.DeviceName(), QtPrinter::PdfPrinterName);
    // Sizes Qt has no Windows code for are refused, and the paper stays.
    for (int refused : {0, 256, -3}) {
        try {
            printer.SetPaperSize(refused);
            ADD_FAILURE() << refused << " was taken";
        } catch (const RuntimeError& e) {
            EXPECT_EQ(e.number, 380);
        }
    }
    EXPECT_EQ(printer.PaperSize(), 9);
    EXPECT_EQ(printer.Width(), 11900);  // A4 in whole points, as the PDF page has it
    // Folio, which Qt knows by size only, is 8.5 by 13 inches.
    printer.SetPaperSize(14);
    EXPECT_EQ(printer.PaperSize(), 14);
    EXPECT_EQ(printer.Width(), 12240);
    EXPECT_EQ(printer.Height(), 18720);
    printer.SetPaperSize(9);
    EXPECT_EQ(printer.Height(), 16840);
    printer.SetPaperSize(8);
    printer.SetOrientation(OrientationLandscape);
    EXPECT_EQ(printer.Width(), 23820);
    EXPECT_EQ(printer.Height(), 16840);
    EXPECT_THROW(printer.SetOrientation(3), RuntimeError);

    // An abandoned document leaves no file; closing right after a new page adds no blank page.
    printer.Page().Line(0, 0, 10, 10);
    printer.KillDoc();
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_TRUE(std::filesystem::is_empty(work.Str()));
    // The next document keeps the paper and orientation.
    EXPECT_EQ(printer.Width(), 23820);
    EXPECT_EQ(printer.Height(), 16840);
    printer.Page().Line(0, 0, 10, 10);
    printer.NewPage();
    printer.NewPage();  // a page with nothing on it
    printer.Page().Line(0, 0, 10, 10);
    printer.NewPage();
    EXPECT_TRUE(printer.DocumentOpen());
    printer.EndDoc();
    EXPECT_FALSE(printer.DocumentOpen());
    const std::string info = Shell("pdfinfo '" + file + "'");
    EXPECT_NE(info.find("Pages:           3\n"), std::string::npos) << info;
    EXPECT_NE(info.find("1191 x 842 pts"), std::string::npos) << info;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(work.Str()), std::filesystem::directory_iterator()), 1);
}

TEST(PrintDialogQtTest, TheDialogShowsThroughTheBinder) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    ShowPrintDialog(run.app);
    QApplication::processEvents();
    ASSERT_TRUE(run.app.printDialog);
    QWidget* window = run.binder.WindowOf(*run.app.printDialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle().toStdString(), "打印选项");
    EXPECT_EQ(run.app.printDialog->List2.ListCount(), 71);
    EXPECT_GE(run.app.printDialog->List1.ListCount(), 1);
    window->grab().save(LookAt("movra-print-dialog.png"));

    // Shown again after "退出", it lists each printer once.
    const int printers = run.app.printDialog->List1.ListCount();
    run.app.printDialog->Command2.Click();
    ShowPrintDialog(run.app);
    QApplication::processEvents();
    EXPECT_EQ(run.app.printDialog->List1.ListCount(), printers);
}

// "开始打印" through the real window on the PDF printer: the save dialog asks for the file, the
// job writes it there and the closing box names it.
TEST(PrintDialogQtTest, StartingAsksForThePdfAndNamesItWhenWritten) {
    RequireTool("pdfinfo");
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run(program.Str(), work.Str());
    run.Start();
    Printer& printer = run.app.platform.printer();
    ASSERT_TRUE(printer.WritesFile()) << "this machine has a system printer";
    MapRecord& r = run.app.store.At(1, 1);
    r.RecordType = 2;
    r.RecordX1 = 0, r.RecordY1 = 0, r.RecordX2 = 50, r.RecordY2 = 50;
    run.app.store.LayerOnFlag[1] = -1;
    run.app.store.Count(1) = std::max(run.app.store.Count(1), 3);
    run.app.current.CurrentFilePath = work.Str() + "/测区.jdx";
    ShowPrintDialog(run.app);
    QApplication::processEvents();
    dayinfrm& d = *run.app.printDialog;
    d.List1.SetListIndex(0);
    d.List1.DblClick();
    BoundWidget<QRadioButton>(run, d.Option6)->click();

    const std::string chosen = work.Str() + "/打印成果.pdf";
    std::string suggested, told;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            suggested = files->selectedFiles().value(0).toStdString();
            if (auto* name = files->findChild<QLineEdit*>("fileNameEdit")) name->setText(QString::fromStdString(chosen));
            QMetaObject::invokeMethod(files, "accept");
        } else if (auto* box = qobject_cast<QMessageBox*>(modal); box && !box->buttons().empty()) {
            told = box->text().toStdString();
            box->buttons().first()->click();
        }
    });
    answer.start(20);
    BoundWidget<QPushButton>(run, d.Command3)->click();
    WaitFor([&] { return !told.empty(); });
    answer.stop();
    EXPECT_EQ(suggested, work.Str() + "/测区.pdf");
    EXPECT_EQ(told.rfind("1页，好了，结束。", 0), 0u) << told;
    EXPECT_NE(told.find(chosen), std::string::npos) << told;
    const std::string info = Shell("pdfinfo '" + chosen + "'");
    EXPECT_NE(info.find("Pages:           1\n"), std::string::npos) << info;
}

}  // namespace
}  // namespace movra
