#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>
#include <QToolButton>
#include <QMenu>
#include <QWidget>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>

#include "EventLoopRetry.h"
#include "App.h"
#include "basic/Gbk.h"
#include "basic/Numbers.h"
#include "DialogTestHelpers.h"
#include "PseudoTerminal.h"
#include "TemporaryDataHome.h"
#include "app/MainProgram.h"
#include "display/Redraw.h"
#include "document/Geometry.h"
#include "support/InstrumentSurvey.h"
#include "support/TestApp.h"
#include "survey/SurveyCapture.h"
#include "survey/cezhanfrm.h"
#include "survey/sbclF3.h"
#include "LookAt.h"

namespace movra {
namespace {

struct SurveyQtTest : ::testing::Test {
    TemporaryDataHome dataHome;
    TempFolder program{"program"}, work{"work"};

    static void SavePicture(QWidget* widget, const std::string& name) {
        widget->grab().save(LookAt(name));
    }
    template <class W = QWidget>
    static W* WidgetOf(MainProgram& run, const Control& control) {
        return qobject_cast<W*>(run.binder.WidgetOf(control));
    }
    static void Type(QLineEdit* edit, const std::string& text) {
        edit->setText(QString::fromStdString(text));
        emit edit->textEdited(edit->text());
    }
    // A press and release of the left button on a widget, as the user clicks.
    static void Click(QWidget* widget, QPoint at = QPoint(5, 5)) {
        QMouseEvent press(QEvent::MouseButtonPress, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::LeftButton,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &press);
        QMouseEvent release(QEvent::MouseButtonRelease, at, widget->mapToGlobal(at), Qt::LeftButton, Qt::NoButton,
                            Qt::NoModifier);
        QCoreApplication::sendEvent(widget, &release);
    }
    // The station at E 1000, N 2000, H 50 with the zero direction due north and the check direction
    // due east; instrument height 1.5, target heights 1.5 and 2.
    static void SetUpStation(App& app) {
        StationSetup& st = app.station;
        st.StationX = {1000, 1000, 1100, 1.5};
        st.StationY = {2000, 2100, 2000, 1.5};
        st.StationH = {50, 0, 0, 2};
        st.StationAngles[1] = 0;
    }
};

TEST_F(SurveyQtTest, StationSetUpFromTheMenuWithANameAndAPickOnTheCanvas) {
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    QWidget* canvas = run.binder.WidgetOf(run.form1.Picture1);
    ASSERT_NE(canvas, nullptr);
    // A named control point and a line whose second vertex is picked as the zero direction.
    const Surface& s = run.form1.Picture1.surface();
    const QPoint linePixel(300, 120);
    MapRecord& k1 = app.store.At(1, 0);
    k1.RecordType = 50;
    k1.RecordText = std::string("K1");
    k1.RecordX1 = s.FromPixelX(200);
    k1.RecordY1 = s.FromPixelY(200);
    k1.RecordZ1 = 12.5f;
    MapRecord& line = app.store.At(1, 1);
    line.RecordType = 2;
    line.RecordX1 = s.FromPixelX(100);
    line.RecordY1 = s.FromPixelY(300);
    line.RecordX2 = s.FromPixelX(linePixel.x());
    line.RecordY2 = s.FromPixelY(linePixel.y());
    line.RecordZ2 = 7;
    app.store.Count(1) = 2;
    刷新(app);

    // "设站" under "设置": the dialog is modal; the name fills the station row, "屏选" hides it.
    QToolButton* settings = nullptr;
    for (auto* button : run.binder.WidgetOf(run.form1.Toolbar1)->findChildren<QToolButton*>())
        if (button->text() == "设置") settings = button;
    ASSERT_TRUE(settings && settings->menu());
    QAction* setUp = nullptr;
    for (QAction* action : settings->menu()->actions())
        if (action->text() == "设站") setUp = action;
    ASSERT_NE(setUp, nullptr);
    bool typed = false;
    // Whatever fails, the modal dialog goes away in the end.
    ModalWatchdog watchdog([&] {
        if (app.stationDialog) app.stationDialog->Hide();
    });
    QTimer::singleShot(0, [&] {
        ASSERT_TRUE(app.stationDialog);
        cezhanfrm& d = *app.stationDialog;
        QWidget* window = run.binder.WindowOf(d);
        ASSERT_TRUE(window && window->isVisible() && window->isModal());
        EXPECT_EQ(window->windowTitle().toStdString(), "测站设置");
        Type(WidgetOf<QLineEdit>(run, d.Text1), "k1");
        EXPECT_EQ(WidgetOf<QLineEdit>(run, d.Text2)->text().toStdString(), PlainNumberText(k1.RecordY1));
        EXPECT_FALSE(WidgetOf(run, d.Text1)->isEnabled());
        Type(WidgetOf<QLineEdit>(run, d.Text13), "1.5");
        Type(WidgetOf<QLineEdit>(run, d.Text14), "1.2");
        // A click on the dialog's empty area stores what was typed; the dialog stays.
        EXPECT_EQ(app.station.StationY[3], 0);
        QWidget* empty = window->childAt(QPoint(4, 4));
        ASSERT_NE(empty, nullptr);
        Click(empty, empty->mapFrom(window, QPoint(4, 4)));
        EXPECT_DOUBLE_EQ(app.station.StationY[3], 1.5);
        EXPECT_TRUE(window->isVisible());
        typed = true;
        // The found row is locked; a click into the zero direction's name box makes it the row to
        // pick, and "屏选" hides the dialog for the pick.
        Click(WidgetOf(run, d.Text5));
        EXPECT_EQ(app.station.PickRow, 1);
        WidgetOf<QPushButton>(run, d.Command1)->click();
    });
    setUp->trigger();  // returns when the dialog hides for the pick
    QApplication::processEvents();
    ASSERT_TRUE(typed);
    cezhanfrm& d = *app.stationDialog;
    EXPECT_FALSE(run.binder.WindowOf(d)->isVisible());
    EXPECT_EQ(app.tool.CommandMode, ModePickStation);

    // The click on the canvas snaps to the line's vertex and shows the dialog with the row filled.
    std::string zeroNorthing;
    QTimer::singleShot(0, [&] {
        QWidget* window = run.binder.WindowOf(d);
        ASSERT_TRUE(window && window->isVisible());
        zeroNorthing = WidgetOf<QLineEdit>(run, d.Text6)->text().toStdString();
        EXPECT_FALSE(WidgetOf(run, d.Text5)->isEnabled());
        SavePicture(window, "station-setup.png");
        WidgetOf<QPushButton>(run, d.Command4)->click();  // 设置完毕
    });
    const QPoint near = linePixel + QPoint(1, 1);
    QMouseEvent move(QEvent::MouseMove, near, canvas->mapToGlobal(near), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(canvas, &move);
    Click(canvas, near);
    QApplication::processEvents();
    EXPECT_EQ(zeroNorthing, PlainNumberText(line.RecordY2));
    EXPECT_FALSE(d.Loaded());
    const StationSetup& st = app.station;
    EXPECT_EQ(st.StationName[0], "k1");
    EXPECT_NEAR(st.StationX[0], k1.RecordX1, 1e-9);
    EXPECT_NEAR(st.StationX[1], line.RecordX2, 1e-9);
    EXPECT_DOUBLE_EQ(st.StationH[1], 7);
    EXPECT_DOUBLE_EQ(st.StationY[3], 1.5);
    EXPECT_DOUBLE_EQ(st.StationX[3], 1.2);
    EXPECT_NEAR(st.StationAngles[1], Azimuth(k1.RecordX1, k1.RecordY1, line.RecordX2, line.RecordY2), 1e-12);
    EXPECT_EQ(app.tool.CommandMode, ModeIdle);
}

TEST_F(SurveyQtTest, CaptureOverAPseudoTerminal) {
    PseudoTerminal instrument;
    ASSERT_FALSE(instrument.Name().empty()) << "openpty failed";
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    SetUpStation(app);

    // "Survy(&F)" opens the window; the instrument's device is chosen in it and kept.
    auto* survy = WidgetOf<QPushButton>(run, run.form1.Command9);
    ASSERT_NE(survy, nullptr);
    EXPECT_EQ(survy->text().toStdString(), "Survy(&F)");
    survy->click();
    QApplication::processEvents();
    ASSERT_TRUE(app.captureWindow);
    sbclF3& w = *app.captureWindow;
    QWidget* window = run.binder.WindowOf(w);
    ASSERT_TRUE(window && window->isVisible());
    EXPECT_FALSE(window->isModal());
    EXPECT_EQ(window->windowTitle().toStdString(), "碎部测量");
    auto* device = WidgetOf<QComboBox>(run, w.Combo1);
    ASSERT_TRUE(device && device->lineEdit());
    Type(device->lineEdit(), instrument.Name());
    WidgetOf<QPushButton>(run, w.Command4)->click();  // 退出
    QApplication::processEvents();
    EXPECT_FALSE(w.Loaded());

    // A record waiting in the line fills the boxes when the window opens, a status line sent
    // after it notwithstanding.
    instrument.Send("a,b,c,123.456,45.3000,1.2000\r\nSTATION K1 READY\r\n");
    survy->click();
    QApplication::processEvents();
    // The window was made anew: its widgets too.
    window = run.binder.WindowOf(w);
    device = WidgetOf<QComboBox>(run, w.Combo1);
    ASSERT_TRUE(window && device && device->lineEdit());
    EXPECT_EQ(device->currentText().toStdString(), instrument.Name());
    EXPECT_EQ(w.Text1.Text(), "123.456");
    EXPECT_EQ(w.Text2.Text(), "45.3000");
    EXPECT_EQ(WidgetOf<QLineEdit>(run, w.Text1)->text().toStdString(), "123.456");

    // "开始" on the button's release: the port's lines as a pseudo-terminal has them.
    Click(WidgetOf(run, w.Command1));
    QApplication::processEvents();
    EXPECT_EQ(w.ReceivingOn, -1);
    EXPECT_EQ(w.Text7.Text(), "无信号\r\n等一下\r\n我未准备好\r\n");

    // A 36-character record is a reading; "自动" plots it once and then idles.
    const std::string record = "P,07,x,100.000,90.0000,0.0000,pt07\r\n";
    ASSERT_EQ(record.size(), 36u);
    instrument.Send(record);
    ASSERT_TRUE(WaitFor([&] { return w.Text1.Text() == "100.000"; }));
    EXPECT_EQ(w.Text2.Text(), "90.0000");
    Type(WidgetOf<QLineEdit>(run, w.Text6), "36");
    const int before = app.store.Count(1);
    WidgetOf<QPushButton>(run, w.Command2)->click();  // 自动
    ASSERT_TRUE(WaitFor([&] { return app.store.Count(1) == before + 1; }));
    ASSERT_TRUE(WaitFor([&] { return w.Text7.Text().find("空闲") != std::string::npos; }));
    EXPECT_EQ(app.store.Count(1), before + 1);
    const MapRecord& point = app.store.Get(1, before);
    EXPECT_EQ(point.RecordType, 15);
    EXPECT_NEAR(point.RecordX1, 1100, 1e-6);
    EXPECT_NEAR(point.RecordY1, 2000, 1e-6);

    // Two more readings by hand, a line of them, to see on the canvas.
    WidgetOf<QPushButton>(run, w.Command3)->click();  // 停止: the automatic mode
    EXPECT_EQ(w.Text7.Text(), "已停止自动取数展点！\r\n接收未停止。");
    Type(WidgetOf<QLineEdit>(run, w.Text6), "400");
    for (auto [slope, direction] : std::vector<std::pair<const char*, const char*>>{
             {"60", "45.0000"}, {"80", "60.0000"}, {"70", "80.0000"}}) {
        Type(WidgetOf<QLineEdit>(run, w.Text1), slope);
        Type(WidgetOf<QLineEdit>(run, w.Text2), direction);
        WidgetOf<QPushButton>(run, w.Command5)->click();  // 展点
    }
    Type(WidgetOf<QLineEdit>(run, w.Text6), "999");
    for (auto [slope, direction, vertical] : std::vector<std::tuple<const char*, const char*, const char*>>{
             {"120", "20.0000", "2.3015"}, {"110", "150.0000", "-2.3015"}}) {
        Type(WidgetOf<QLineEdit>(run, w.Text1), slope);
        Type(WidgetOf<QLineEdit>(run, w.Text2), direction);
        Type(WidgetOf<QLineEdit>(run, w.Text3), vertical);
        WidgetOf<QPushButton>(run, w.Command5)->click();
    }
    // The first line of the run passed over a slot, which stays empty.
    EXPECT_EQ(app.store.Get(1, before + 1).RecordType, 0);
    EXPECT_EQ(std::string(app.store.Get(1, before + 3).RecordText), "999!999");
    QApplication::processEvents();
    run.form1.Picture1.SetScale(900, 2150, 300, -300.0 * run.form1.Picture1.ScaleHeight() / -run.form1.Picture1.ScaleWidth());
    刷新(app);
    QApplication::processEvents();
    SavePicture(run.binder.WidgetOf(run.form1.Picture1), "survey-points.png");
    SavePicture(window, "capture-window.png");
    WidgetOf<QPushButton>(run, w.Command3)->click();  // 停止: the receiving
    EXPECT_EQ(w.Text7.Text(), "接收已停止。");

    // A device that is not there is named in the message.
    Type(device->lineEdit(), "/dev/movra-no-such-port");
    std::string message;
    AnswerNextMessageBox(message);
    Click(WidgetOf(run, w.Command1));
    QApplication::processEvents();
    EXPECT_EQ(message, "端口/dev/movra-no-such-port不存在");
    WidgetOf<QPushButton>(run, w.Command3)->click();

    // A megabyte of noise from the instrument, read to its end, crashes nothing and stores nothing;
    // the record after it is read whole.
    Type(device->lineEdit(), instrument.Name());
    Click(WidgetOf(run, w.Command1));
    ASSERT_EQ(w.ReceivingOn, -1);
    const int stored = app.store.Count(1);
    const std::string reading = w.Text1.Text();
    std::mt19937 random(50);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    const std::uint64_t read = w.MSComm1->BytesRead();
    instrument.Send(noise);
    ASSERT_TRUE(WaitFor([&] { return w.MSComm1->BytesRead() >= read + noise.size(); }));
    EXPECT_EQ(app.store.Count(1), stored);
    EXPECT_EQ(w.Text1.Text(), reading);
    EXPECT_TRUE(window->isVisible());
    instrument.Send("\r\n7,8,9,11.5,1.2,0.3\r\n");
    EXPECT_TRUE(WaitFor([&] { return w.Text1.Text() == "11.5"; }));
    EXPECT_EQ(app.store.Count(1), stored);
    WidgetOf<QPushButton>(run, w.Command4)->click();
    QApplication::processEvents();
}

TEST_F(SurveyQtTest, ARecordedSurveyPacedAsTheInstrumentSendsItThenTheInstrumentUnplugged) {
    auto instrument = std::make_unique<PseudoTerminal>();
    ASSERT_FALSE(instrument->Name().empty()) << "openpty failed";
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    SetUpStation(app);
    WidgetOf<QPushButton>(run, run.form1.Command9)->click();  // Survy(&F)
    QApplication::processEvents();
    ASSERT_TRUE(app.captureWindow);
    sbclF3& w = *app.captureWindow;
    auto* device = WidgetOf<QComboBox>(run, w.Combo1);
    ASSERT_TRUE(device && device->lineEdit());
    Type(device->lineEdit(), instrument->Name());
    Click(WidgetOf(run, w.Command1));  // 开始
    ASSERT_EQ(w.ReceivingOn, -1);

    // The survey five times from the same start: each record ended by CR LF and sent whole, byte
    // by byte a millisecond apart, and in chunks of 1 to 16 bytes a millisecond apart; with no end,
    // a pause between records; and ended by ETX, byte by byte. Each reading taken with "展点" once
    // its record has come. The same points every time.
    std::mt19937 random(61);
    const int layer = SurveyTargetLayer(app);
    std::vector<std::vector<std::string>> captured;
    struct Framing {
        const char* pacing;
        const char* end;
    };
    for (auto [pacing, end] : std::vector<Framing>{{"whole", "\r\n"},
                                                   {"byte by byte", "\r\n"},
                                                   {"1 to 16 bytes", "\r\n"},
                                                   {"1 to 16 bytes", ""},
                                                   {"byte by byte", "\x03"}}) {
        ResetSurveyVertexStates(app);
        if (w.Label10.Caption() == "连") w.Label10_Click();
        const int first = app.store.Count(layer);
        WidgetOf<QAbstractButton>(run, w.Option6)->click();  // 零
        ASSERT_EQ(w.MeasureMode, 1);
        for (const SurveyedRecord& record : RecordedSurvey()) {
            const std::string bytes = ToGbk(record.line) + end;
            if (pacing == std::string("whole")) {
                instrument->Send(bytes);
            } else {
                std::vector<size_t> chunks{1};
                if (pacing == std::string("1 to 16 bytes")) {
                    chunks.clear();
                    for (size_t k = 0; k < bytes.size(); ++k) chunks.push_back(1 + random() % 16);
                }
                instrument->SendPaced(bytes, chunks);
            }
            ASSERT_TRUE(WaitFor([&] { return w.ReceivedText == record.line; }))
                << pacing << ", end " << int(end[0]) << ": " << record.line;
            Type(WidgetOf<QLineEdit>(run, w.Text6), record.code);
            WidgetOf<QPushButton>(run, w.Command5)->click();  // 展点
        }
        captured.push_back(CapturedRecords(app, layer, first));
    }
    EXPECT_EQ(captured[0].size(), 14u);
    for (size_t k = 1; k < captured.size(); ++k) EXPECT_EQ(captured[k], captured[0]) << k;

    // The instrument unplugged while "自动" runs: a message names it, the port is closed, the
    // automatic mode ends so that its message stays and readings can be typed again, and "开始"
    // opens the next device the user names.
    WidgetOf<QPushButton>(run, w.Command2)->click();  // 自动
    auto* slope = WidgetOf<QLineEdit>(run, w.Text1);
    ASSERT_TRUE(w.Timer1.Running() && slope->isReadOnly());
    std::string message;
    AnswerNextMessageBox(message);
    const std::string gone = instrument->Name();
    instrument.reset();
    ASSERT_TRUE(WaitFor([&] { return !message.empty(); }));
    EXPECT_EQ(message, "端口" + gone + "不存在");
    EXPECT_FALSE(w.MSComm1->IsOpen());
    EXPECT_EQ(w.ReceivingOn, 0);
    EXPECT_EQ(w.Text7.Text(), "接收已停止。");
    EXPECT_FALSE(w.Timer1.Running());
    EXPECT_FALSE(w.AutoRunning());
    EXPECT_FALSE(slope->isReadOnly());
    Type(slope, "33.5");
    EXPECT_EQ(w.Text1.Text(), "33.5");
    PseudoTerminal again;
    Type(device->lineEdit(), again.Name());
    Click(WidgetOf(run, w.Command1));
    ASSERT_EQ(w.ReceivingOn, -1);
    ASSERT_TRUE(w.MSComm1->IsOpen());
    again.Send("9,P9,0,12.5,1.2000,0.3000\r\n");
    EXPECT_TRUE(WaitFor([&] { return w.Text1.Text() == "12.5"; }));
    WidgetOf<QPushButton>(run, w.Command4)->click();  // 退出
    QApplication::processEvents();
}

TEST_F(SurveyQtTest, TheAutomaticModePlotsEveryReadingOnceInOrderThoughTheyComeQuickly) {
    PseudoTerminal instrument;
    ASSERT_FALSE(instrument.Name().empty()) << "openpty failed";
    MainProgram run(program.Str(), work.Str());
    run.Start();
    QApplication::processEvents();
    App& app = run.app;
    SetUpStation(app);
    WidgetOf<QPushButton>(run, run.form1.Command9)->click();  // Survy(&F)
    QApplication::processEvents();
    ASSERT_TRUE(app.captureWindow);
    sbclF3& w = *app.captureWindow;
    Type(WidgetOf<QComboBox>(run, w.Combo1)->lineEdit(), instrument.Name());
    Click(WidgetOf(run, w.Command1));  // 开始
    ASSERT_EQ(w.ReceivingOn, -1);
    Type(WidgetOf<QLineEdit>(run, w.Text6), "36");  // a point symbol: one record a reading
    const int layer = SurveyTargetLayer(app);
    const int first = app.store.Count(layer);
    WidgetOf<QPushButton>(run, w.Command2)->click();  // 自动

    // Readings of the recorded survey 1.2 s apart, as the instrument sends them: a reading that
    // comes while the mode idles, its next tick 3 s away, is followed by others before that tick.
    const auto& survey = RecordedSurvey();
    const size_t count = 10;
    for (size_t k = 0; k < count; ++k) {
        if (k > 0) {
            QEventLoop between;
            QTimer::singleShot(1200, &between, &QEventLoop::quit);
            between.exec();
        }
        instrument.SendPaced(ToGbk(survey[k].line) + "\r\n", {1, 5, 16, 3});
    }
    ASSERT_TRUE(WaitFor([&] { return app.store.Count(layer) >= first + static_cast<int>(count); }))
        << app.store.Count(layer) - first << " of " << count;
    // Each once, in the order sent: the mode then idles.
    ASSERT_TRUE(WaitFor([&] { return w.Text7.Text().find("空闲") != std::string::npos; }));
    EXPECT_EQ(app.store.Count(layer), first + static_cast<int>(count));
    for (size_t k = 0; k < count; ++k) {
        // Fields 3, 4, 5: slope distance, direction, vertical angle; the zero direction due north.
        std::vector<double> fields;
        std::string rest = survey[k].line;
        for (size_t at = 0; fields.size() < 6; rest = rest.substr(at + 1)) {
            at = rest.find(',');
            fields.push_back(std::atof(rest.substr(0, at).c_str()));
        }
        const double horizontal = fields[3] * std::cos(DmsToRad(fields[5]));
        const MapRecord& point = app.store.Get(layer, first + static_cast<int>(k));
        EXPECT_EQ(point.RecordType, 15) << k;
        EXPECT_NEAR(point.RecordX1, 1000 + horizontal * std::sin(DmsToRad(fields[4])), 1e-6) << k;
        EXPECT_NEAR(point.RecordY1, 2000 + horizontal * std::cos(DmsToRad(fields[4])), 1e-6) << k;
    }
    WidgetOf<QPushButton>(run, w.Command4)->click();  // 退出
    QApplication::processEvents();
}

}  // namespace
}  // namespace movra
