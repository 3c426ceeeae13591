// Linked pictures in the shown main window: inserted, placed, stretched and cropped through the
// real toolbar menu, file dialog and canvas, over a background bitmap. The picture of the canvas
// is kept for a look in the folder MOVRA_TEST_PICTURES names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QImage>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QTimer>
#include <QToolButton>

#include <cstdint>
#include <sys/stat.h>
#include <fstream>
#include <string>
#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "display/Redraw.h"
#include "editing/LinkedImages.h"
#include "platform/qt/QtBasicServices.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"

namespace movra {
namespace {

// A picture of colour bands and a diagonal, so that every region of it differs.
QImage Pattern(int width, int height, QColor a, QColor b) {
    QImage image(width, height, QImage::Format_RGB32);
    QPainter painter(&image);
    for (int k = 0; k < 10; ++k)
        painter.fillRect(k * width / 10, 0, width / 10 + 1, height, k % 2 ? a : b.lighter(100 + 10 * k));
    painter.setPen(QPen(Qt::white, std::max(2, width / 100)));
    painter.drawLine(0, 0, width, height);
    painter.drawEllipse(QPoint(width / 3, height / 2), width / 8, height / 4);
    return image;
}

std::uint32_t LittleEndian32(const std::vector<char>& bytes, std::size_t at) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<std::uint8_t>(bytes[at + static_cast<std::size_t>(k)]);
    return v;
}

struct LinkedImagesQtTest : ::testing::Test {
    LinkedImagesQtTest() {
        window = run.Start();
        QApplication::processEvents();
        canvas = run.binder.WidgetOf(form.Picture1);
        bar = run.binder.WidgetOf(form.Toolbar1);
        // Qt's own file dialog, which the test can answer: the file dialogs take the file the test names; a message box would wait for a user, so
        // it is noted and answered.
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        QObject::connect(&watcher, &QTimer::timeout, [this] {
            for (QWidget* top : QApplication::topLevelWidgets())
                if (auto* dialog = qobject_cast<QFileDialog*>(top); dialog && dialog->isVisible()) {
                    // Typed in full into the name box, as a user may.
                    if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit"))
                        name->setText(QString::fromStdString(nextFile));
                    else
                        dialog->selectFile(QString::fromStdString(nextFile));
                    static_cast<QDialog*>(dialog)->done(QDialog::Accepted);  // as an OK on the named file
                    return;
                }
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                messages.push_back(box->text().toStdString());
                box->done(QMessageBox::Yes);
            }
        });
        watcher.start(50);
        app.store.CurrentLayer = 1;
        app.store.LayerOnFlag[1] = -1;
        app.tool.SnapOn = 0;
    }

    ~LinkedImagesQtTest() override { QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, false); }

    void Menu(const QString& button, const QString& item, const std::string& file = {}) {
        nextFile = file;
        for (auto* tool : bar->findChildren<QToolButton*>()) {
            if (tool->text() != button || !tool->menu()) continue;
            for (QAction* action : tool->menu()->actions())
                if (action->text() == item) {
                    action->trigger();
                    QApplication::processEvents();
                    return;
                }
        }
        ADD_FAILURE() << "no menu item " << item.toStdString();
    }
    QImage Canvas() { return canvas->grab().toImage().convertToFormat(QImage::Format_RGB32); }
    QPoint Pixel(double x, double y) { return PixelOf(form.Picture1.surface(), x, y); }
    std::string Write(const QImage& image, const std::string& name) {
        const std::string path = work.Str() + "/" + name;
        EXPECT_TRUE(image.save(QString::fromStdString(path)));
        return path;
    }

    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run{program.Str(), work.Str()};
    App& app = run.app;
    stForm1& form = run.form1;
    QWidget* window = nullptr;
    QWidget* canvas = nullptr;
    QWidget* bar = nullptr;
    QTimer watcher;
    std::string nextFile;
    std::vector<std::string> messages;
};

TEST_F(LinkedImagesQtTest, TheCropCutsTheHeldPictureIntoABitmapBesideItAndOntoTheClipboard) {
    const std::string jpg = Write(Pattern(1000, 500, QColor(200, 40, 40), QColor(40, 40, 200)), "a.jpg");
    MapRecord& r = app.store.At(1, 0);
    r.RecordType = TypeImage;
    r.RecordX1 = 0, r.RecordY1 = 60, r.RecordX2 = 100, r.RecordY2 = -50;
    r.RecordColor = 3;
    r.RecordText = jpg;
    app.store.Count(1) = 1;
    LoadRecordImage(app, 1, 0);
    const Picture source = app.display.Images.Image1[3];
    ASSERT_EQ(source.width, 1000);
    app.linkedImages.ImageRecordLayer = 1;
    app.linkedImages.ImageRecordSlot = 0;
    app.tool.PressPoint = {10, 50};
    app.tool.ReleasePoint = {30, 40};
    Menu("图像", "图像裁留");

    EXPECT_EQ(r.RecordX1, 10);
    EXPECT_EQ(r.RecordY1, 50);
    EXPECT_EQ(r.RecordX2, 20);
    EXPECT_EQ(r.RecordY2, -10);
    const std::string copy = work.Str() + "/ac.bmp";
    EXPECT_EQ(r.RecordText, copy);
    std::ifstream in(copy, std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_GT(bytes.size(), 54u);
    EXPECT_EQ(std::string(bytes.data(), 2), "BM");
    EXPECT_EQ(LittleEndian32(bytes, 18), 200u);
    EXPECT_EQ(LittleEndian32(bytes, 22), 100u);
    const QImage written(QString::fromStdString(copy));
    ASSERT_EQ(written.size(), QSize(200, 100));
    int differing = 0;
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 200; ++x)
            differing += (written.pixel(x, y) & 0xFFFFFF) != (source.At(100 + x, 100 + y) & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
    const QImage clipped = QApplication::clipboard()->image();
    EXPECT_EQ(clipped.size(), QSize(200, 100));
    EXPECT_TRUE(messages.empty());
}

TEST_F(LinkedImagesQtTest, TwoPicturesOneStretchedOneCroppedLieOverTheBackgroundBitmap) {
    ASSERT_NE(canvas, nullptr);
    ASSERT_GE(canvas->width(), 400);
    // Twenty ground units across the canvas: a picture of 1000 pixels is a few units wide.
    const double height = 20.0 * canvas->height() / canvas->width();
    form.Picture1.SetScale(0, height, 20, -height);
    form.Text4_Click();

    QImage background(canvas->width() / 2, canvas->height() / 2, QImage::Format_RGB32);
    background.fill(QColor(30, 60, 30));
    QPainter(&background).fillRect(20, 20, background.width() - 40, 20, QColor(80, 160, 80));
    Menu("打开", "打开bmp", Write(background, "bg.bmp"));
    const std::string first = Write(Pattern(1000, 500, QColor(200, 40, 40), QColor(40, 40, 200)), "first.bmp");
    const std::string second = Write(Pattern(1000, 500, QColor(220, 200, 40), QColor(40, 180, 180)), "second.jpg");

    // The first picture, placed where the button is released, then stretched by its corner.
    Menu("图像", "插入图像", first);
    ASSERT_EQ(app.tool.CommandMode, ModePlaceImage);
    const MapRecord staged = app.store.Get(0, ImageStagingSlot(app.mapFile.LastImageSlot));
    ASSERT_GT(staged.RecordX2, 0);
    DragOn(canvas, Pixel(1, 10), Pixel(2, 10));
    ASSERT_EQ(app.store.Count(1), 1);
    const MapRecord& one = app.store.Get(1, 0);
    EXPECT_NEAR(one.RecordX1, 2, 0.1);
    EXPECT_EQ(app.tool.CommandMode, ModeMoveImage);
    Menu("图像", "伸缩图像");
    ClickOn(canvas, Pixel(one.RecordX1 + one.RecordX2 / 2, one.RecordY1 + one.RecordY2 / 2));
    ASSERT_EQ(app.tool.ClickCount, 2);
    const QPoint inside = Pixel(8.5, 2.5);  // within the stretched rectangle only
    const QColor unstretched = Canvas().pixelColor(inside);
    DragOn(canvas, Pixel(one.RecordX1 + one.RecordX2, one.RecordY1 + one.RecordY2), Pixel(9, 2));
    EXPECT_NEAR(one.RecordX1 + one.RecordX2, 9, 0.1);
    EXPECT_NEAR(one.RecordY1 + one.RecordY2, 2, 0.1);

    // The second picture, placed and cut down to a range drawn on it.
    Menu("图像", "插入图像", second);
    DragOn(canvas, Pixel(1, 1), Pixel(11, 9));
    ASSERT_EQ(app.store.Count(1), 2);
    const MapRecord& two = app.store.Get(1, 1);
    Menu("图像", "图像裁留范围");
    const double w = two.RecordX2, h = two.RecordY2;
    DragOn(canvas, Pixel(two.RecordX1 + 0.2 * w, two.RecordY1 + 0.3 * h), Pixel(two.RecordX1 + 0.7 * w, two.RecordY1 + 0.9 * h));
    Menu("图像", "图像裁留");
    EXPECT_NEAR(two.RecordX2, 0.5 * w, 0.2);
    EXPECT_EQ(two.RecordText, work.Str() + "/secondc.bmp");
    EXPECT_FALSE(QApplication::clipboard()->image().isNull());

    刷新(app);
    QApplication::processEvents();
    const QImage shown = Canvas();
    SaveTestPicture(shown, "linked-images.png");
    // The background bitmap lies under the map: its stripe shows above the pictures (and right of
    // the view bar, which floats over the canvas's corner).
    const QPoint stripe(background.width() - 40, 30);
    EXPECT_EQ(QColor(shown.pixel(stripe)), QColor(80, 160, 80));
    // The stretched picture covers its new rectangle, where the canvas showed something else
    // before.
    EXPECT_NE(shown.pixelColor(inside), unstretched) << unstretched.name().toStdString() << " "
                                                     << shown.pixelColor(inside).name().toStdString();
    EXPECT_NE(shown.pixelColor(inside), QColor(0, 0, 0)) << "the bare canvas";
    EXPECT_TRUE(messages.empty()) << messages.front();

    // The background goes with 卸载bmp背景 and never into the map.
    Menu("打开", "卸载bmp背景");
    EXPECT_TRUE(form.Picture1.CanvasPicture().Empty());
}


// A pipe named as a linked picture is refused before the image reader opens it: opening it would
// wait for a writer for ever, and this test with it.
TEST(QtPictureFilesTest, APipeIsNoPicture) {
    TempFolder folder{"pipe"};
    const std::string pipe = folder.Str() + "/picture.jpg";
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    QtPictureFiles files;
    EXPECT_FALSE(files.Load(pipe).has_value());
}

}  // namespace
}  // namespace movra
