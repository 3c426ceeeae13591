// The main window, the settings window and the layer manager as a user meets them: shown for real
// (offscreen) at a large and at a small size, with a map open.
#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "document/JdxFile.h"
#include "document/csForm2.h"
#include "platform/qt/QtCommonDialog.h"
#include "platform/qt/QtSurface.h"
#include "shell/ViewStateFormulas.h"
#include "shell/szForm3.h"
#include "support/TestApp.h"

namespace movra {
namespace {

void KeepPicture(QWidget* widget, const std::string& name) {
    const char* folder = std::getenv("MOVRA_TEST_PICTURES");
    if (!folder || !*folder) return;
    widget->grab().save(QString::fromLocal8Bit(folder) + "/" + QString::fromStdString(name));
}

// Every visible control of the window lies inside the area that holds it: the window's inner area,
// or the frame it stands in.
void ExpectEverythingInside(QWidget* client) {
    for (QWidget* w : client->findChildren<QWidget*>()) {
        QWidget* parent = w->parentWidget();
        if (!w->isVisibleTo(client) || w->isWindow()) continue;
        if (parent != client && !qobject_cast<QGroupBox*>(parent)) continue;
        EXPECT_TRUE(parent->rect().contains(w->geometry()))
            << w->metaObject()->className() << " " << w->objectName().toStdString() << " at "
            << w->geometry().x() << "," << w->geometry().y() << " " << w->width() << "x" << w->height()
            << " outside " << parent->width() << "x" << parent->height();
    }
}

int LitPixels(const QImage& image) {
    int lit = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) lit += (image.pixel(x, y) & 0xFFFFFF) != 0;
    return lit;
}

struct MainWindowFitQtTest : ::testing::Test {
    MainWindowFitQtTest() {
        // A map of lines about the origin, in the window a new map shows, written by the program.
        TestApp maker;
        maker.app.store.LayerNames[1] = "房屋";
        for (int i = 0; i < 40; ++i) {
            MapRecord& r = maker.app.store.At(1, maker.app.store.Count(1));
            r.RecordType = 2;
            r.RecordColor = MakeRgb(255, 255, 0);
            r.RecordX1 = -20 + i;
            r.RecordY1 = -15;
            r.RecordX2 = -20 + i;
            r.RecordY2 = 15;
            ++maker.app.store.Count(1);
        }
        mapPath = work.Str() + "/地图.jdx";
        WriteJdxFile(maker.app, mapPath);
    }
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    std::string mapPath;
};

TEST_F(MainWindowFitQtTest, TheMainWindowFitsItsControlsAndKeepsThePictureAcrossResizes) {
    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start(mapPath);
    QApplication::processEvents();
    ASSERT_EQ(run.app.store.Count(1), 40);
    EXPECT_EQ(window->windowTitle().toStdString(), "Movra_jdx_地图.jdx");
    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    QWidget* client = canvas->parentWidget();
    // Maximised, as it starts.
    EXPECT_TRUE(window->isMaximized());
    ExpectEverythingInside(client);
    run.form1.SetWindowState(WindowNormal);

    for (auto [width, height] : {std::pair{1600, 1000}, {800, 600}, {1200, 700}}) {
        SCOPED_TRACE(testing::Message() << width << " x " << height);
        window->resize(width, height);
        QApplication::processEvents();
        ASSERT_EQ(window->size(), QSize(width, height));
        ExpectEverythingInside(client);
        // The map is drawn again on the resized canvas, as many pixels to the metre across as down.
        const Surface& surface = run.form1.Picture1.surface();
        EXPECT_EQ(surface.PixelWidth(), canvas->width());
        EXPECT_NEAR(surface.PixelWidth() / surface.ScaleWidth(), surface.PixelHeight() / -surface.ScaleHeight(),
                    1e-9 * surface.PixelWidth() / surface.ScaleWidth());
        EXPECT_GT(LitPixels(dynamic_cast<const QtSurface&>(surface).Image()), 100);
        KeepPicture(window, "main-window-" + std::to_string(width) + "x" + std::to_string(height) + ".png");
    }
    // Smaller than the window allows: it stops at its smallest size, which still fits.
    window->resize(640, 400);
    QApplication::processEvents();
    EXPECT_GE(client->width(), MinimumClientWidth / run.platform.screen().TwipsPerPixelX());
    EXPECT_GE(client->height(), MinimumClientHeight / run.platform.screen().TwipsPerPixelY());
    ExpectEverythingInside(client);

    // The font list's drop-down is as wide as its longest name, whatever the box's width; the
    // colour selector's list keeps ordinary colours, its swatches beside the names.
    auto* fonts = qobject_cast<QComboBox*>(run.binder.WidgetOf(run.form1.Combo3));
    ASSERT_NE(fonts, nullptr);
    ASSERT_GT(fonts->count(), 0);
    int widest = 0;
    for (int i = 0; i < fonts->count(); ++i)
        widest = std::max(widest, fonts->view()->fontMetrics().horizontalAdvance(fonts->itemText(i)));
    EXPECT_GE(fonts->view()->minimumWidth(), widest);
    EXPECT_LT(fonts->width(), widest);
    auto* colours = qobject_cast<QComboBox*>(run.binder.WidgetOf(run.form1.ImageCombo2));
    ASSERT_NE(colours, nullptr);
    ASSERT_GT(colours->count(), 1);
    EXPECT_FALSE(colours->itemIcon(1).isNull());
    run.form1.ImageCombo2.SetBackColor(MakeRgb(0, 0, 0));
    QApplication::processEvents();
    EXPECT_EQ(colours->palette().color(QPalette::Base), QColor(0, 0, 0));
    EXPECT_EQ(colours->view()->palette().color(QPalette::Base), QApplication::palette().color(QPalette::Base));
    // The name reads on its swatch: white on black, black on yellow.
    EXPECT_EQ(colours->palette().color(QPalette::Text), QColor(255, 255, 255));
    run.form1.ImageCombo2.SetBackColor(MakeRgb(255, 255, 0));
    QApplication::processEvents();
    EXPECT_EQ(colours->palette().color(QPalette::Text), QColor(0, 0, 0));
}

// On a canvas whose shape is far from the screen's, the zoom box and 复原 (clicked on the view bar)
// and a resize leave one metre as many pixels across as down, so circles stay round.
TEST_F(MainWindowFitQtTest, EveryViewCommandKeepsOneScaleAcrossAndDown) {
    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start(mapPath);
    QApplication::processEvents();
    run.form1.SetWindowState(WindowNormal);
    window->resize(1600, 620);
    QApplication::processEvents();
    const Surface& surface = run.form1.Picture1.surface();
    const double canvasAspect = double(surface.PixelHeight()) / surface.PixelWidth();
    ASSERT_GT(std::abs(canvasAspect - run.app.view.ScreenAspect), 0.1);
    auto expectOneScale = [&](const char* after) {
        const double across = surface.PixelWidth() / surface.ScaleWidth();
        const double down = surface.PixelHeight() / -surface.ScaleHeight();
        EXPECT_NEAR(down / across, 1, 1e-6) << after;
    };

    auto* bar = qobject_cast<QToolBar*>(run.binder.WidgetOf(run.form1.Toolbar2));
    ASSERT_NE(bar, nullptr);
    std::vector<QToolButton*> buttons;
    for (auto* button : bar->findChildren<QToolButton*>())
        if (button->objectName() != "qt_toolbar_ext_button") buttons.push_back(button);
    ASSERT_EQ(buttons.size(), 5u);  // 放大2, 刷新2, 复原2, 缩放2, 移动2
    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);

    buttons[0]->click();
    QApplication::processEvents();
    const double widthBefore = surface.ScaleWidth();
    DragOn(canvas, QPoint(300, 100), QPoint(420, 130));
    ASSERT_LT(surface.ScaleWidth(), widthBefore);
    expectOneScale("the zoom box");
    for (int k = 0; k < 3; ++k) {
        buttons[2]->click();
        QApplication::processEvents();
        expectOneScale("复原");
    }
    window->resize(900, 800);
    QApplication::processEvents();
    expectOneScale("a resize");
}

TEST_F(MainWindowFitQtTest, SettingsAndLayerManagerOpenWithTheirCaptionsInPlace) {
    MainProgram run(program.Str(), work.Str());
    run.Start(mapPath);
    QApplication::processEvents();

    szForm3& settings = run.form1.SettingsWindow();
    settings.Show();
    QApplication::processEvents();
    QWidget* settingsWindow = run.binder.WindowOf(settings);
    ASSERT_NE(settingsWindow, nullptr);
    ExpectEverythingInside(settingsWindow);
    // The labels stand below their frames' captions, not on their borders.
    for (Label* label : {&settings.Label1, &settings.Label2}) {
        QWidget* shown = run.binder.WidgetOf(*label);
        auto* frame = qobject_cast<QGroupBox*>(shown->parentWidget());
        ASSERT_NE(frame, nullptr);
        EXPECT_GE(shown->geometry().top(), frame->contentsRect().top()) << label->Name();
    }
    // The extents read as the program writes numbers, and fit their boxes.
    for (TextBox* box : {&settings.Text1, &settings.Text2, &settings.Text5, &settings.Text6}) {
        auto* edit = qobject_cast<QLineEdit*>(run.binder.WidgetOf(*box));
        ASSERT_NE(edit, nullptr);
        EXPECT_LE(box->Text().size(), 16u) << box->Text();
        EXPECT_LE(edit->fontMetrics().horizontalAdvance(edit->text()), edit->width()) << box->Text();
    }
    KeepPicture(settingsWindow, "settings-window-fit.png");
    settings.Unload();

    OpenLayerManager(run.app);
    QApplication::processEvents();
    ASSERT_TRUE(run.app.form2);
    csForm2& layers = *run.app.form2;
    QWidget* layersWindow = run.binder.WindowOf(layers);
    ASSERT_NE(layersWindow, nullptr);
    ExpectEverythingInside(layersWindow);
    auto* colourBox = qobject_cast<QComboBox*>(run.binder.WidgetOf(layers.Combo1));
    ASSERT_NE(colourBox, nullptr);
    EXPECT_EQ(colourBox->currentText().toStdString(), "颜色");
    // Black text on a light box, not on a black one.
    EXPECT_GT(colourBox->palette().color(QPalette::Base).lightness(), 128);
    auto* text3 = qobject_cast<QLineEdit*>(run.binder.WidgetOf(layers.Text3));
    ASSERT_NE(text3, nullptr);
    EXPECT_EQ(text3->text().toStdString(), "层颜色");
    KeepPicture(layersWindow, "layer-manager-fit.png");
}

// Qt's own buttons and dialogs speak the program's language; a file dialog opens in the open
// map's folder.
TEST_F(MainWindowFitQtTest, QtsOwnTextsAreChinese) {
    MainProgram run(program.Str(), work.Str());
    QWidget* window = run.Start(mapPath);
    QApplication::processEvents();

    QMessageBox box(QMessageBox::Question, "标题", "文字", QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, window);
    EXPECT_TRUE(box.button(QMessageBox::Yes)->text().contains(QStringLiteral("是")));
    EXPECT_TRUE(box.button(QMessageBox::No)->text().contains(QStringLiteral("否")));
    EXPECT_TRUE(box.button(QMessageBox::Cancel)->text().contains(QStringLiteral("取消")));
    box.show();
    QApplication::processEvents();
    KeepPicture(&box, "message-box.png");

    QFileDialog dialog(window, "打开文件", QString::fromStdString(run.platform.folders().WorkFolder()));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.show();
    QApplication::processEvents();
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    QStringList texts;
    for (QAbstractButton* b : buttons->buttons()) texts << b->text();
    EXPECT_TRUE(texts.join(' ').contains(QStringLiteral("打开"))) << texts.join(' ').toStdString();
    EXPECT_TRUE(texts.join(' ').contains(QStringLiteral("取消"))) << texts.join(' ').toStdString();
    KeepPicture(&dialog, "file-dialog.png");
    dialog.close();

    auto& dialogs = static_cast<QtCommonDialog&>(run.platform.dialogs());
    ASSERT_TRUE(dialogs.defaultFolder);
    EXPECT_EQ(QFileInfo(QString::fromStdString(dialogs.defaultFolder())).canonicalFilePath(),
              QFileInfo(QString::fromStdString(work.Str())).canonicalFilePath());
}

}  // namespace
}  // namespace movra
