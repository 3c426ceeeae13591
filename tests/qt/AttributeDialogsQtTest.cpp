#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "GoldenPicture.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "display/Redraw.h"
#include "shell/szForm3.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "symbols/Attributes.h"
#include "symbols/shuxfrm.h"
#include "symbols/zjForm4.h"

namespace movra {
namespace {

struct AttributeDialogsQtTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};

    // Presses Yes or OK on every message box that comes up until `stop` is cleared.
    static void AcceptMessageBoxes(std::shared_ptr<bool> running, std::shared_ptr<int> accepted) {
        QTimer::singleShot(10, [running, accepted] {
            if (!*running) return;
            for (QWidget* widget : QApplication::topLevelWidgets()) {
                if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
                    ++*accepted;
                    QAbstractButton* press = box->buttons().front();
                    for (QAbstractButton* b : box->buttons()) {
                        const auto role = box->buttonRole(b);
                        if (role == QMessageBox::YesRole || role == QMessageBox::AcceptRole) press = b;
                    }
                    press->click();
                }
            }
            AcceptMessageBoxes(running, accepted);
        });
    }
};

TEST_F(AttributeDialogsQtTest, FieldDesignThroughTheSettingsWindow) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    szForm3& settings = run.form1.SettingsWindow();
    settings.Show();
    QApplication::processEvents();
    auto* designButton = BoundWidget<QPushButton>(run, settings.Command4);
    ASSERT_NE(designButton, nullptr);
    EXPECT_EQ(designButton->text().toStdString(), "属性字段名");

    auto running = std::make_shared<bool>(true);
    auto accepted = std::make_shared<int>(0);
    AcceptMessageBoxes(running, accepted);
    bool acted = false;
    QTimer::singleShot(0, [&] {
        acted = true;
        ASSERT_TRUE(app.attributeDialog);
        shuxfrm& dialog = *app.attributeDialog;
        QWidget* window = run.binder.WindowOf(dialog);
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(window->isModal());
        EXPECT_EQ(window->windowTitle().toStdString(), "设计属性字段");
        auto* classes = BoundWidget<QListWidget>(run, dialog.List1);
        auto* names = BoundWidget<QPlainTextEdit>(run, dialog.Text1);
        auto* values = BoundWidget<QPlainTextEdit>(run, dialog.Text2);
        ASSERT_TRUE(classes && names && values);
        EXPECT_EQ(names->toPlainText().toStdString(), "未设置\n[挂靠词]$\n");
        EXPECT_FALSE(names->isReadOnly());
        EXPECT_TRUE(values->isReadOnly());
        classes->setCurrentRow(2);
        names->setPlainText("结构\n层数");
        SaveTestPicture(window->grab().toImage(), "attribute-design.png");
        BoundWidget<QPushButton>(run, dialog.Command1)->click();
        BoundWidget<QPushButton>(run, dialog.Command2)->click();
    });
    designButton->click();  // returns when 退出 closes the modal dialog
    *running = false;
    EXPECT_TRUE(acted);
    EXPECT_EQ(*accepted, 1);
    EXPECT_EQ(app.mapFile.AttributeFieldNames[2], (std::vector<std::string>{"结构", "层数"}));
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_FALSE(app.attributeDialog->Loaded());
}

TEST_F(AttributeDialogsQtTest, ValueEntryAndThePopupOnTheCanvas) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    app.mapFile.AttributeFieldNames[2] = {"结构", "层数"};
    // "加属性(20属性)" on the method panel.
    auto* panelButton = BoundWidget<QPushButton>(run, run.form1.Command8(51));
    ASSERT_NE(panelButton, nullptr);
    panelButton->click();
    QApplication::processEvents();
    EXPECT_EQ(app.tool.CommandMode, ModeAttributeClass);
    shuxfrm& dialog = *app.attributeDialog;
    QWidget* window = run.binder.WindowOf(dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->isModal());
    auto* values = BoundWidget<QPlainTextEdit>(run, dialog.Text2);
    ASSERT_NE(values, nullptr);
    values->setPlainText("砖混\n3层");
    SaveTestPicture(window->grab().toImage(), "attribute-entry.png");
    BoundWidget<QPushButton>(run, dialog.Command1)->click();
    QApplication::processEvents();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(app.attributes.AttributeRecordType, 55);
    EXPECT_EQ(app.current.PendingText, "砖混\r\n3层");

    // Placed in the middle of the canvas and shown by the hover.
    const Surface& s = run.form1.Picture1.surface();
    const double x = s.FromPixelX(200), y = s.FromPixelY(150);
    ASSERT_TRUE(StoreAttributeRecord(app, x, y));
    app.current.CurrentColor = MakeRgb(255, 255, 0);
    ShowAttributeHover(app, x, y);
    QApplication::processEvents();
    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    // The pixels around the point brighter than the faint edge that smoothed text leaves when it
    // is printed over in the background colour.
    auto lit = [&] {
        const QImage image = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
        int count = 0;
        for (int py = 140; py < 200; ++py) {
            for (int px = 185; px < 300; ++px) {
                const QRgb p = image.pixel(px, py);
                count += std::max({qRed(p), qGreen(p), qBlue(p)}) > 80;
            }
        }
        return std::pair{count, image};
    };
    const auto [shown, picture] = lit();
    SaveTestPicture(picture, "attribute-popup.png");
    EXPECT_GT(shown, 100);
    std::int16_t erase = 0;
    查类属性(app, erase);
    QApplication::processEvents();
    EXPECT_EQ(lit().first, 0);
    dialog.Unload();
}

// Method button 59 arms the attribute viewer: the pointer passing over a class-0 record shows its
// popup, without a click.
TEST_F(AttributeDialogsQtTest, TheViewerShowsAClass0PopupUnderThePointer) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    ASSERT_NE(canvas, nullptr);
    const Surface& s = run.form1.Picture1.surface();
    const QPoint point(300, 200);
    // The name of a class-0 record, put on the map as a user does: 加姓名, the name typed, two clicks.
    auto* nameTool = BoundWidget<QPushButton>(run, run.form1.Command8(55));
    ASSERT_NE(nameTool, nullptr);
    nameTool->click();
    QApplication::processEvents();
    ASSERT_EQ(run.form1.Text2.Text(), "加姓名(00属性)");
    run.form1.Text8.SetText("张三");
    ClickOn(canvas, point);
    ClickOn(canvas, point);
    ASSERT_EQ(app.store.Count(app.store.CurrentLayer), 1);
    ASSERT_EQ(app.store.Get(app.store.CurrentLayer, 0).RecordType, 53);
    刷新(app);
    QApplication::processEvents();
    app.current.CurrentColor = MakeRgb(255, 255, 0);
    auto lit = [&] {
        const QImage image = canvas->grab().toImage().convertToFormat(QImage::Format_RGB32);
        return CountPixels(image, QRect(point.x() - 10, point.y() - 10, 120, 100), [](QRgb p) {
            return std::max({qRed(p), qGreen(p), qBlue(p)}) > 80;
        });
    };
    ASSERT_EQ(lit(), 0);

    auto* viewer = BoundWidget<QPushButton>(run, run.form1.Command8(59));
    ASSERT_NE(viewer, nullptr);
    viewer->click();
    QApplication::processEvents();
    EXPECT_EQ(app.tool.CommandMode, ModeViewAttributes);
    app.tool.SnapOn = -1;
    for (QPoint at : {point + QPoint(60, 60), point + QPoint(20, 20), point + QPoint(2, 1)})
        SendMouse(canvas, QEvent::MouseMove, at, Qt::NoButton, Qt::NoButton);
    QApplication::processEvents();
    EXPECT_GT(lit(), 100);
    SaveTestPicture(canvas->grab().toImage(), "attribute-viewer.png");
}

TEST_F(AttributeDialogsQtTest, ArticleAnnotationFromTheToolbar) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    QToolButton* button = nullptr;
    for (auto* b : run.binder.WidgetOf(run.form1.Toolbar1)->findChildren<QToolButton*>())
        if (b->text() == "注记") button = b;
    ASSERT_NE(button, nullptr);
    button->click();
    QApplication::processEvents();
    ASSERT_TRUE(app.annotationDialog);
    zjForm4& dialog = *app.annotationDialog;
    QWidget* window = run.binder.WindowOf(dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle().toStdString(), "注记");
    EXPECT_EQ(app.tool.CommandMode, ModeArticleText);

    auto* length = BoundWidget<QLineEdit>(run, dialog.Text4);
    auto* text = BoundWidget<QPlainTextEdit>(run, dialog.Text8);
    ASSERT_TRUE(length && text);
    length->selectAll();
    for (const auto& [key, typed] : {std::pair{Qt::Key_4, "4"}, std::pair{Qt::Key_0, "0"}}) {
        QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString::fromLatin1(typed));
        QApplication::sendEvent(length, &press);
    }
    EXPECT_EQ(length->text().toStdString(), "32");
    text->setPlainText("测绘成果\n第二段");
    SaveTestPicture(window->grab().toImage(), "article-annotation.png");
    BoundWidget<QPushButton>(run, dialog.Command1)->click();
    QApplication::processEvents();
    EXPECT_EQ(app.textPlacement.PendingTextLines, (std::vector<std::string>{"测绘成果", "第二段"}));
    EXPECT_EQ(app.tool.CommandMode, ModeArticleText);
    EXPECT_EQ(run.form1.Text8.Text(), "32");
    EXPECT_TRUE(BoundWidget<QLineEdit>(run, run.form1.Text8)->isReadOnly());
    EXPECT_EQ(run.binder.WindowOf(dialog), nullptr);
}

TEST_F(AttributeDialogsQtTest, ScalingAllAnnotationsFromTheSettingsWindow) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    MapRecord& text = app.store.At(1, 0);
    text.RecordType = 25;
    text.RecordX2 = 3;
    app.store.Count(1) = 1;
    szForm3& settings = run.form1.SettingsWindow();
    settings.Show();
    QApplication::processEvents();
    auto* factors = BoundWidget<QListWidget>(run, settings.List3);
    QWidget* label = run.binder.WidgetOf(settings.Label16);
    ASSERT_TRUE(factors && label);
    factors->setCurrentRow(factors->count() - 1);  // 2.0
    ASSERT_EQ(settings.List3.Text(), "2.0");

    auto running = std::make_shared<bool>(true);
    auto accepted = std::make_shared<int>(0);
    AcceptMessageBoxes(running, accepted);
    const QPointF at(4, 4);
    QMouseEvent click(QEvent::MouseButtonDblClick, at, label->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(label, &click);
    QApplication::processEvents();
    *running = false;
    EXPECT_EQ(*accepted, 2);
    EXPECT_EQ(app.store.Get(1, 0).RecordX2, 6);
    EXPECT_FALSE(run.form1.SettingsWindow().Visible());
}

}  // namespace
}  // namespace movra
