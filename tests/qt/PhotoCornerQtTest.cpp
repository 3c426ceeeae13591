// The photo orientation window opened from the toolbar's "图像" menu: a corner button hides it, a
// real click on the linked photo on the canvas pricks that corner, and the window comes back naming
// the photo. The window over the pricked canvas is kept as a picture in the folder
// MOVRA_TEST_PICTURES names.
#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "App.h"
#include "CanvasMouse.h"
#include "DialogTestHelpers.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "display/Redraw.h"
#include "document/RecordTypes.h"
#include "shell/stForm1.h"
#include "support/TestApp.h"
#include "survey/xpdxFrm.h"

namespace movra {
namespace {

// Runs `step` once the photo window shows, within four seconds; message boxes that come first are
// noted and closed.
void WhenPhotoWindowShows(MainProgram& run, std::vector<std::string>& messages,
                          std::function<void(xpdxFrm&, QWidget*)> step) {
    RetryOnEventLoop(
        [&run, &messages, step] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                messages.push_back(box->text().toStdString());
                box->buttons().front()->click();
            } else if (run.app.photoDialog) {
                QWidget* window = run.binder.WindowOf(*run.app.photoDialog);
                if (window && window->isVisible()) {
                    step(*run.app.photoDialog, window);
                    return true;
                }
            }
            return false;
        },
        10, 400);
}

TEST(PhotoCornerQt, ACornerButtonAndAClickOnThePhotoPrickTheCornerAndBringTheWindowBack) {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    stForm1& form = run.form1;
    QWidget* canvas = run.binder.WidgetOf(form.Picture1);
    ASSERT_NE(canvas, nullptr);

    // A 50 x 40 photo with a cross on it, linked at (100, 200), in the middle of the canvas.
    const std::string path = work.Str() + "/photo.bmp";
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(QColor(120, 170, 220));
    {
        QPainter painter(&picture);
        painter.setPen(QPen(Qt::darkRed, 3));
        painter.drawLine(0, 0, 100, 80);
        painter.drawLine(0, 80, 100, 0);
    }
    ASSERT_TRUE(picture.save(QString::fromStdString(path)));
    MapRecord& r = app.store.At(1, 0);
    r.RecordType = TypeImage;
    r.RecordX1 = 100, r.RecordY1 = 200, r.RecordX2 = 50, r.RecordY2 = -40;
    app.store.PutText(r.RecordText, path);
    app.store.Count(1) = 1;
    app.store.LayerOnFlag[1] = -1;
    const double width = 100, height = width * canvas->height() / canvas->width();
    form.Picture1.SetScale(75, 180 + height / 2, width, -height);
    刷新(app);
    QApplication::processEvents();

    QAction* item = nullptr;
    for (auto* tool : run.binder.WidgetOf(form.Toolbar1)->findChildren<QToolButton*>())
        if (tool->text() == "图像" && tool->menu())
            for (QAction* action : tool->menu()->actions())
                if (action->text() == "图像纠正") item = action;
    ASSERT_NE(item, nullptr);

    // The window is modal: "右下刺点" pressed while it shows hides it and ends the menu command.
    std::vector<std::string> messages;
    bool opened = false;
    WhenPhotoWindowShows(run, messages, [&](xpdxFrm& d, QWidget* window) {
        opened = true;
        EXPECT_TRUE(window->isModal());
        EXPECT_EQ(window->windowTitle().toStdString(), "相片定向");
        auto* corner = BoundWidget<QPushButton>(run, d.Command1(1));
        ASSERT_NE(corner, nullptr);
        EXPECT_EQ(corner->text().toStdString(), "右下刺点");
        corner->click();
    });
    item->trigger();
    ASSERT_TRUE(opened);
    EXPECT_FALSE(run.binder.WindowOf(*app.photoDialog)->isVisible());
    EXPECT_EQ(app.tool.CommandMode, ModeControlPoint);
    EXPECT_EQ(form.Label3.Caption(), "不捕捉");

    // A click beside the photo says so and leaves the tool armed; the click on the photo's lower
    // right part pricks it, and the release shows the window again, naming the photo; 取消 closes it.
    const double x = 140, y = 170;
    const double pixel = width / canvas->width();
    bool back = false;
    std::string named;
    WhenPhotoWindowShows(run, messages, [&](xpdxFrm& d, QWidget* window) {
        back = true;
        EXPECT_TRUE(window->isModal());
        named = BoundWidget<QWidget>(run, d.Label1)->property("text").toString().toStdString();
        SaveTestPicture(window->grab().toImage(), "photo-corner-window.png");
        SaveTestPicture(canvas->grab().toImage(), "photo-corner-canvas.png");
        BoundWidget<QPushButton>(run, d.Command3)->click();
    });
    ClickOn(canvas, PixelOf(form.Picture1.surface(), 90, 210));
    EXPECT_EQ(messages, std::vector<std::string>{"刺点失败！"});
    EXPECT_FALSE(back);
    EXPECT_EQ(app.tool.CommandMode, ModeControlPoint);
    ClickOn(canvas, PixelOf(form.Picture1.surface(), x, y));
    EXPECT_TRUE(back);
    EXPECT_EQ(messages.size(), 1u);
    const auto& picks = app.linkedImages.PhotoCornerPicks;
    EXPECT_NEAR(picks[3], x, pixel);
    EXPECT_NEAR(picks[4], y, pixel);
    EXPECT_EQ(picks[0], 0);  // the upper left corner is not pricked
    EXPECT_EQ(app.linkedImages.ImageRecordLayer, 1);
    EXPECT_EQ(app.linkedImages.ImageRecordSlot, 0);
    EXPECT_EQ(named, "相片名：" + path);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    EXPECT_EQ(run.binder.WindowOf(*app.photoDialog), nullptr);
}

}  // namespace
}  // namespace movra
