#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QToolButton>
#include <QWidget>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <random>

#include "App.h"
#include "DialogTestHelpers.h"
#include "PseudoTerminal.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "document/RecordTypes.h"
#include "display/Redraw.h"
#include "support/NmeaSentence.h"
#include "support/TestApp.h"
#include "survey/GPSdaohang.h"
#include "survey/GaussKruger.h"
#include "survey/Tyhdfrm.h"
#include "survey/xpdxFrm.h"

namespace movra {
namespace {

// A receiver's sentence at 30° N + north minutes, 115.5° E + east minutes.
std::string At(double northMinutes, double eastMinutes, const char* status = "A") {
    char body[160];
    std::snprintf(body, sizeof body, "GPRMC,081500.000,%s,%09.4f,N,%010.4f,E,1.2,45.0,111226,,,A", status,
                  3000 + northMinutes, 11530 + eastMinutes);
    return Sentence(body);
}

struct FieldNavigationQtTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};

    static void Type(QLineEdit* edit, const std::string& text) {
        edit->setText(QString::fromStdString(text));
        emit edit->textEdited(edit->text());
    }
};

TEST_F(FieldNavigationQtTest, TheProjectionCalculatorFromTheSettingsMenu) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    QAction* item = MenuAction(run, "设置", "投影换带");
    ASSERT_NE(item, nullptr);
    item->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(app.projectionDialog);
    Tyhdfrm& d = *app.projectionDialog;
    QWidget* window = run.binder.WindowOf(d);
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle().toStdString(), "高斯投影与换带计算");

    // WGS-84, decimal degrees, 30° N 115.5° E in the zone of 114°.
    BoundWidget<QRadioButton>(run, d.Option2(2))->click();
    EXPECT_EQ(app.settings.EllipsoidA, 6378137);
    BoundWidget<QRadioButton>(run, d.Option3(1))->click();
    Type(BoundWidget<QLineEdit>(run, d.Text1(0)), "114");
    Type(BoundWidget<QLineEdit>(run, d.Text2(2)), "115.5");
    Type(BoundWidget<QLineEdit>(run, d.Text2(3)), "30");
    BoundWidget<QPushButton>(run, d.Command1)->click();
    auto* north = BoundWidget<QLineEdit>(run, d.Text3(0));
    auto* east = BoundWidget<QLineEdit>(run, d.Text3(1));
    ASSERT_TRUE(north && east);
    EXPECT_TRUE(north->isReadOnly());
    EXPECT_NEAR(north->text().toDouble(), 3321060.841, 0.0005);
    EXPECT_NEAR(east->text().toDouble(), 644737.749, 0.0005);

    // Back again, in degrees-minutes-seconds: 30°, 115°30'.
    BoundWidget<QRadioButton>(run, d.Option1(1))->click();
    BoundWidget<QRadioButton>(run, d.Option3(0))->click();
    // The boxes the inverse reads are captioned; the longitude and latitude boxes are off.
    EXPECT_EQ(BoundWidget<QLabel>(run, d.Label4(0))->text().toStdString(), "x(北)");
    EXPECT_EQ(BoundWidget<QLabel>(run, d.Label4(1))->text().toStdString(), "y(东)");
    EXPECT_FALSE(BoundWidget<QLineEdit>(run, d.Text2(2))->isEnabled());
    Type(BoundWidget<QLineEdit>(run, d.Text2(0)), north->text().toStdString());
    Type(BoundWidget<QLineEdit>(run, d.Text2(1)), east->text().toStdString());
    BoundWidget<QPushButton>(run, d.Command1)->click();
    EXPECT_EQ(north->text().toStdString(), "115.3");
    EXPECT_EQ(east->text().toStdString(), "30");
    SaveTestPicture(window->grab().toImage(), "projection-dialog.png");
    window->close();
    QApplication::processEvents();
}

TEST_F(FieldNavigationQtTest, GpsNavigationOverAPseudoTerminal) {
    PseudoTerminal receiver;
    ASSERT_FALSE(receiver.Name().empty()) << "openpty failed";
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;

    auto* gps = BoundWidget<QPushButton>(run, run.form1.Command2);
    ASSERT_NE(gps, nullptr);
    gps->click();
    QApplication::processEvents();
    ASSERT_TRUE(app.gpsWindow);
    GPSdaohang& w = *app.gpsWindow;
    QWidget* window = run.binder.WindowOf(w);
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle().toStdString(), "GPS导航");

    // The receiver's device is chosen in the window; the signal test opens it (a pseudo-terminal
    // has no carrier) and, the window collecting, leaves it open.
    auto* device = BoundWidget<QComboBox>(run, w.List1);
    ASSERT_TRUE(device && device->lineEdit());
    Type(device->lineEdit(), receiver.Name());
    EXPECT_EQ(BoundWidget<QLineEdit>(run, w.Text1)->text().toStdString(), "4800,N,8,1");
    std::string message;
    AnswerNextMessageBox(message);
    BoundWidget<QPushButton>(run, w.Command1)->click();
    QApplication::processEvents();
    EXPECT_EQ(message, "无信号\r\n等一下\r\n我未准备好!\r\n");
    ASSERT_TRUE(w.MSComm1 && w.MSComm1->IsOpen());

    // "启动": the first tick, before any fix, puts the marker at the view's centre.
    PictureBox& canvas = run.form1.Picture1;
    canvas.SetScale(1000, 2000, canvas.ScaleWidth(), canvas.ScaleHeight());
    const double centreX = canvas.ScaleLeft() + canvas.ScaleWidth() / 2;
    BoundWidget<QPushButton>(run, w.Command2)->click();
    EXPECT_TRUE(w.Timer1.Enabled());
    EXPECT_EQ(w.Timer1.Interval(), 1000);
    ASSERT_TRUE(WaitFor([&] { return w.FixEasting != 0; }));
    EXPECT_DOUBLE_EQ(w.FixEasting, centreX);

    // What the window has read of the receiver's bytes, once they have all come: a check that
    // nothing was taken means something only after it.
    const auto sendAndRead = [&](PseudoTerminal& from, const std::string& bytes) {
        const std::uint64_t read = w.MSComm1->BytesRead() + bytes.size();
        from.Send(bytes);
        return WaitFor([&] { return w.MSComm1->BytesRead() >= read; });
    };

    // A sentence in two pieces: the first 64 characters take nothing, the rest completes it.
    const std::string first = At(0, 0);
    ASSERT_TRUE(sendAndRead(receiver, first.substr(0, 64)));
    EXPECT_EQ(w.FixLatitude, 0);
    receiver.Send(first.substr(64));
    ASSERT_TRUE(WaitFor([&] { return w.FixLatitude == 3000; }));
    EXPECT_EQ(w.FixLongitude, 11530);

    // Void, lower case and a bad checksum take nothing; the next good one is taken.
    std::string bad = At(1, 1);
    bad[bad.find('*') + 1] = bad[bad.find('*') + 1] == '0' ? '1' : '0';
    std::string lower = At(2, 2);
    lower.replace(1, 5, "gprmc");
    ASSERT_TRUE(sendAndRead(receiver, At(3, 3, "V") + lower + bad));
    EXPECT_EQ(w.FixLatitude, 3000);
    receiver.Send(At(0.004, 0.004));
    ASSERT_TRUE(WaitFor([&] { return w.FixLatitude == 3000.004; }));

    // The next tick projects the fix, far outside the view: the view moves onto it.
    const PlanePoint expected = GaussKrugerForwardWgs84(30 + 0.004 / 60, 115.5 + 0.004 / 60, 114);
    ASSERT_TRUE(WaitFor([&] { return canvas.ScaleLeft() < expected.easting &&
                                     expected.easting < canvas.ScaleLeft() + canvas.ScaleWidth(); }));
    EXPECT_EQ(w.FixZoneMeridian, 114);
    EXPECT_NEAR(w.FixEasting, expected.easting, 1e-6);
    BoundWidget<QPushButton>(run, w.Command4)->click();  // 关闭导航: the timer stops
    EXPECT_FALSE(w.Timer1.Enabled());
    EXPECT_FALSE(w.MSComm1->IsOpen());

    // A track at 1:2000 (2 m markers): the view some 200 m across, a fix every few metres
    // north-east, one tick each, all within the view: the track stays on the canvas.
    app.view.ScaleFactor = 2;
    const double width = 200;
    canvas.SetScale(expected.easting - 30, expected.northing + 100, width,
                    width * canvas.ScaleHeight() / canvas.ScaleWidth());
    刷新(app);
    PlanePoint firstOfTrack;
    for (int k = 1; k <= 20; ++k) {
        std::string buffer = At(0.004 + 0.0025 * k, 0.004 + 0.003 * k);
        w.ParseGprmc(buffer);
        w.Timer1_Timer();
        if (k == 1) firstOfTrack = {w.FixEasting, w.FixNorthing};
    }
    QApplication::processEvents();
    // Red, whatever pen the armed zoom tool left on the canvas; the first marker still there.
    EXPECT_EQ(canvas.surface().Point(w.FixEasting + 1, w.FixNorthing + 1), MakeRgb(255, 0, 0));
    EXPECT_EQ(canvas.surface().Point(firstOfTrack.easting + 1, firstOfTrack.northing + 1), MakeRgb(255, 0, 0));
    SaveTestPicture(run.binder.WidgetOf(canvas)->grab().toImage(), "gps-track.png");
    SaveTestPicture(window->grab().toImage(), "gps-window.png");

    // Open again, a megabyte of noise crashes nothing and the buffer stays bounded.
    BoundWidget<QPushButton>(run, w.Command5)->click();  // 结束
    QApplication::processEvents();
    EXPECT_FALSE(w.Loaded());
    EXPECT_EQ(w.FixEasting, 0);
    gps->click();
    QApplication::processEvents();
    ASSERT_TRUE(w.MSComm1 && w.MSComm1->IsOpen());
    std::mt19937 random(52);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    ASSERT_TRUE(sendAndRead(receiver, noise));
    EXPECT_LE(w.NmeaBuffer.size(), 4096u);
    receiver.Send("\r\n" + At(0.5, 0.5));
    EXPECT_TRUE(WaitFor([&] { return w.FixLatitude == 3000.5; }));
    EXPECT_TRUE(run.binder.WindowOf(w)->isVisible());

    // Navigating: the ticks, counted as they come, mark the fix.
    int ticks = 0;
    const auto tick = w.Timer1.onTimer;
    w.Timer1.onTimer = [&] {
        tick();
        ++ticks;
    };
    const auto marked = [&] {
        return canvas.surface().Point(w.FixEasting + app.view.ScaleFactor / 2,
                                      w.FixNorthing + app.view.ScaleFactor / 2) == MakeRgb(255, 0, 0);
    };
    BoundWidget<QPushButton>(run, w.Command2)->click();  // 启动
    ASSERT_TRUE(WaitFor(marked));

    // The receiver unplugged in the middle of a sentence: a message names it and the port is
    // closed. The last fix is no longer the position: the ticks go on, but mark nothing and leave
    // the view where the user puts it.
    receiver.Send(At(0.6, 0.6).substr(0, 30));
    std::string lost;
    AnswerNextMessageBox(lost);
    receiver.HangUp();
    ASSERT_TRUE(WaitFor([&] { return !lost.empty(); }));
    EXPECT_EQ(lost, "端口" + receiver.Name() + "不存在");
    EXPECT_FALSE(w.MSComm1->IsOpen());
    const double awayLeft = w.FixEasting + 1000;
    canvas.SetScale(awayLeft, canvas.ScaleTop(), canvas.ScaleWidth(), canvas.ScaleHeight());
    刷新(app);
    const int ticksBefore = ticks;
    ASSERT_TRUE(WaitFor([&] { return ticks >= ticksBefore + 2; }));
    EXPECT_TRUE(w.Timer1.Enabled());
    EXPECT_DOUBLE_EQ(canvas.ScaleLeft(), awayLeft);
    canvas.SetScale(w.FixEasting - canvas.ScaleWidth() / 2, canvas.ScaleTop(), canvas.ScaleWidth(),
                    canvas.ScaleHeight());
    刷新(app);
    const int ticksAfter = ticks;
    ASSERT_TRUE(WaitFor([&] { return ticks >= ticksAfter + 2; }));
    EXPECT_FALSE(marked());

    // The signal test opens the next device the user names; its first fix is marked again.
    PseudoTerminal next;
    Type(BoundWidget<QComboBox>(run, w.List1)->lineEdit(), next.Name());
    AnswerNextMessageBox(message);
    BoundWidget<QPushButton>(run, w.Command1)->click();
    ASSERT_TRUE(w.MSComm1->IsOpen());
    next.SendPaced(At(0.7, 0.7), {1, 5, 16, 3});
    EXPECT_TRUE(WaitFor([&] { return w.FixLatitude == 3000.7; }));
    EXPECT_TRUE(WaitFor([&] { return w.FixLatitude == 3000.7 && marked(); }));
    BoundWidget<QPushButton>(run, w.Command5)->click();
    QApplication::processEvents();
}

TEST_F(FieldNavigationQtTest, PhotoOrientationByTwoPrickedCorners) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    // A 50 x 40 photo with a cross on it, linked at (100, 200).
    const std::string path = work.Str() + "/photo.bmp";
    QImage picture(100, 80, QImage::Format_RGB32);
    picture.fill(QColor(120, 170, 220));
    for (int i = 0; i < 80; ++i) {
        picture.setPixelColor(i + 10, i, Qt::darkRed);
        picture.setPixelColor(50, i, Qt::black);
    }
    ASSERT_TRUE(picture.save(QString::fromStdString(path)));
    MapRecord& r = app.store.At(1, 0);
    r.RecordType = TypeImage;
    r.RecordX1 = 100;
    r.RecordY1 = 200;
    r.RecordX2 = 50;
    r.RecordY2 = -40;
    app.store.PutText(r.RecordText, path);
    app.store.Count(1) = 1;

    // The dialog is modal: each step is driven while it shows; a corner button hides it.
    const auto whileShown = [&](std::function<void(xpdxFrm&, QWidget*)> step) {
        QTimer::singleShot(0, [&app, &run, step] {
            xpdxFrm& d = *app.photoDialog;
            QWidget* window = run.binder.WindowOf(d);
            ASSERT_TRUE(window && window->isVisible() && window->isModal());
            step(d, window);
        });
    };
    whileShown([&](xpdxFrm& d, QWidget* window) {
        EXPECT_EQ(window->windowTitle().toStdString(), "相片定向");
        BoundWidget<QPushButton>(run, d.Command1(0))->click();  // 左上刺点
    });
    ShowPhotoOrientationWindow(app);
    EXPECT_EQ(app.tool.CommandMode, ModeControlPoint);
    EXPECT_EQ(run.form1.Label3.Caption(), "不捕捉");
    run.form1.Picture1.MouseDown(LeftButton, 0, 110, 190);
    whileShown([&](xpdxFrm& d, QWidget*) { BoundWidget<QPushButton>(run, d.Command1(1))->click(); });
    run.form1.Picture1.MouseUp(LeftButton, 0, 110, 190);
    run.form1.Picture1.MouseDown(LeftButton, 0, 140, 170);
    std::string name;
    whileShown([&](xpdxFrm& d, QWidget* window) {
        name = BoundWidget<QWidget>(run, d.Label1)->property("text").toString().toStdString();
        Type(BoundWidget<QLineEdit>(run, d.Text1(0)), "1000");
        Type(BoundWidget<QLineEdit>(run, d.Text1(1)), "2000");
        Type(BoundWidget<QLineEdit>(run, d.Text1(2)), "1300");
        Type(BoundWidget<QLineEdit>(run, d.Text1(3)), "1800");
        BoundWidget<QPushButton>(run, d.Command2)->click();  // 纠正相片
        SaveTestPicture(window->grab().toImage(), "photo-orientation.png");
        BoundWidget<QPushButton>(run, d.Command3)->click();  // 取消
    });
    run.form1.Picture1.MouseUp(LeftButton, 0, 140, 170);
    EXPECT_EQ(name, "相片名：" + path);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
    const MapRecord& oriented = app.store.Get(1, 0);
    EXPECT_DOUBLE_EQ(oriented.RecordX1, 900);
    EXPECT_DOUBLE_EQ(oriented.RecordY1, 2100);
    EXPECT_DOUBLE_EQ(oriented.RecordX2, 500);
    EXPECT_DOUBLE_EQ(oriented.RecordY2, -400);
    EXPECT_DOUBLE_EQ(run.form1.Picture1.ScaleLeft(), 900 - 20 * app.view.ScaleFactor);
    QApplication::processEvents();
    SaveTestPicture(run.binder.WidgetOf(run.form1.Picture1)->grab().toImage(), "photo-oriented-canvas.png");
}

}  // namespace
}  // namespace movra
