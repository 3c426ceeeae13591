#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>

#include "App.h"
#include "basic/Gbk.h"
#include "basic/Numbers.h"
#include "document/Geometry.h"
#include "support/InstrumentSurvey.h"
#include "support/TestApp.h"
#include "survey/SurveyCapture.h"
#include "survey/sbclF3.h"

namespace movra {
namespace {

// The instrument's line goes quiet: the timer that ends a record sent with no end mark runs out.
// False when none was running.
bool PauseLine(TestApp& t) {
    for (ManualTimer* timer : t.platform.manualTimers.Timers())
        if (timer && timer->Active() && timer->Interval() == 200) return timer->Fire();
    return false;
}

// The main window loaded, a station at E 1000, N 2000, H 50 looking north at a zero direction
// E 1000, N 2100 with a check direction due east; instrument height 1.5, target height 1 chosen.
struct CaptureWindow : ::testing::Test {
    CaptureWindow() {
        t.form1.Load();
        StationSetup& s = t.app.station;
        s.StationX = {1000, 1000, 1100, 1.5};
        s.StationY = {2000, 2100, 2000, 1.5};
        s.StationH = {50, 0, 0, 2};
        s.StationAux = {0, 0, 0, 3};
        s.StationAngles[1] = Azimuth(1000, 2000, 1000, 2100);
        OpenCaptureWindow(t.app, true);
        w = t.app.captureWindow.get();
    }
    // A new reading typed into the boxes.
    void Reading(const std::string& slope, const std::string& direction, const std::string& vertical = "0") {
        w->Text1.SetText(slope);
        w->Text2.SetText(direction);
        w->Text3.SetText(vertical);
    }
    void Plot(const std::string& code, double slope, double direction) {
        w->Text6.SetText(code);
        Reading(PlainNumberText(slope), PlainNumberText(direction));
        w->Command5_Click();
    }
    const MapRecord& At(int slot) const { return t.app.store.Get(1, slot); }
    int Count() const { return t.app.store.Count(1); }
    ManualTimer& Timer() {
        for (ManualTimer* timer : t.platform.manualTimers.Timers())
            if (timer && timer->Active()) return *timer;
        throw std::runtime_error("no running timer");
    }
    ScriptedPrompt& prompt() { return t.platform.promptScript; }

    TestApp t;
    sbclF3* w = nullptr;
};

TEST_F(CaptureWindow, LoadsAgainstTheRightEdgeWithTheSetUp) {
    EXPECT_TRUE(w->Visible());
    EXPECT_EQ(w->Left() + w->Width(), t.platform.screen().WidthTwips());
    EXPECT_EQ(w->Top() + w->Height(), t.form1.Top() + t.form1.Height());
    EXPECT_EQ(w->Text4.Text(), "1.5");
    EXPECT_EQ(w->Option1.Caption(), "1.5");
    EXPECT_EQ(w->Option2.Caption(), "2");
    EXPECT_EQ(w->Option3.Caption(), "3");
    EXPECT_EQ(w->Text5.Text(), "1.5");
    EXPECT_FALSE(w->Text5.Enabled());
    EXPECT_EQ(w->Label12.Caption(), "起点X:1000");
    w->Option3.Click();
    EXPECT_EQ(w->Text5.Text(), "3");
    w->Option4.Click();
    EXPECT_TRUE(w->Text5.Enabled());
    // The design reading is no reading: "展点" refuses it.
    w->Command5_Click();
    EXPECT_EQ(w->Text7.Text(), "前面数据已过时或无效！");
    EXPECT_EQ(Count(), 0);
}

TEST_F(CaptureWindow, PlotsPointsIntoTheCurrentLayerUntilALayerIsChosen) {
    t.app.current.CurrentColor = MakeRgb(0, 255, 0);
    Plot("36", 100, 90);
    ASSERT_EQ(Count(), 1);
    EXPECT_EQ(At(0).RecordType, 15);
    EXPECT_NEAR(At(0).RecordX1, 1100, 1e-9);
    EXPECT_NEAR(At(0).RecordY1, 2000, 1e-9);
    EXPECT_FLOAT_EQ(At(0).RecordZ1, 50);  // 50 + 1.5 - 1.5
    EXPECT_EQ(std::string(At(0).RecordText), "36");
    EXPECT_EQ(At(0).RecordColor, MakeRgb(0, 255, 0));
    EXPECT_EQ(At(0).RecordPen, 2);
    EXPECT_EQ(t.app.current.ModifiedFlag, -1);
    // The same reading again is refused; terrain modelling makes any code a terrain point.
    w->Command5_Click();
    EXPECT_EQ(w->Text7.Text(), "前面数据已过时或无效！");
    w->Check2.SetValue(Checked);
    Plot("36", 50, 0);
    EXPECT_EQ(At(1).RecordType, 61);
    EXPECT_EQ(std::string(At(1).RecordText), "998");
    // The canvas is centred on the point, 20 mm below its top edge.
    const PictureBox& canvas = t.form1.Picture1;
    EXPECT_NEAR(canvas.ScaleLeft() + canvas.ScaleWidth() / 2, 1000, 1e-6);
    EXPECT_NEAR(canvas.ScaleTop(), 2050 + 20 * t.app.view.ScaleFactor, 1e-6);

    // A layer chosen: points go there; a layer beyond the map's is refused.
    t.app.store.LayerCount = 1;
    w->List1.SetListIndex(4);
    EXPECT_EQ(prompt().LastText(), "超过设置层数");
    EXPECT_EQ(t.app.survey.SurveyLayer, 0);
    w->List1.SetListIndex(0);
    EXPECT_EQ(t.app.survey.SurveyLayer, 1);
    EXPECT_EQ(w->Label8.Caption(), "1层：" + t.app.store.LayerNames[1]);
}

TEST_F(CaptureWindow, FiveLineVerticesChainIntoTheNextSlot) {
    // The run starts with "新": the first line passes over the open slot, which stays empty.
    ASSERT_EQ(w->Label10.Caption(), "新");
    Plot("400", 10, 0);
    EXPECT_EQ(w->Label10.Caption(), "连");
    for (int k = 1; k < 5; ++k) Plot("400", 10 + k, 0);
    EXPECT_EQ(At(0).RecordType, 0);
    EXPECT_EQ(At(1).RecordType, 45);
    EXPECT_EQ(At(1).RecordPen, 6);
    EXPECT_NEAR(At(1).RecordY4, 2013, 1e-9);
    EXPECT_EQ(At(2).RecordType, 41);
    EXPECT_NEAR(At(2).RecordY1, 2014, 1e-9);
    EXPECT_EQ(Count(), 2);
    EXPECT_EQ(t.app.survey.SurveyVertexState[1], 1);

    // "新" with a line in progress ends it there; the next line starts in the following slot.
    w->Label10_Click();
    EXPECT_EQ(w->Label10.Caption(), "新");
    Plot("500", 30, 0);
    EXPECT_EQ(Count(), 3);
    EXPECT_EQ(At(2).RecordType, 41);
    EXPECT_EQ(At(3).RecordType, 41);
    EXPECT_EQ(std::string(At(3).RecordText), "500");
    EXPECT_EQ(w->Label10.Caption(), "连");
    // Code 700 is a line vertex that never starts a new line by itself.
    w->Label10_Click();
    Plot("700", 31, 0);
    EXPECT_EQ(At(3).RecordType, 42);

    // "新" (still shown: 700 kept it) with nothing in progress, after a symbol, passes over the
    // open slot too.
    Plot("36", 32, 0);
    EXPECT_EQ(Count(), 5);
    ASSERT_EQ(w->Label10.Caption(), "新");
    Plot("351", 33, 0);
    EXPECT_EQ(At(5).RecordType, 0);
    EXPECT_EQ(At(6).RecordType, 41);
    EXPECT_EQ(Count(), 6);
}

TEST_F(CaptureWindow, ElevationPointsGoFourToARecord) {
    for (int k = 0; k < 5; ++k) Plot("999", 10 + k, 45);
    EXPECT_EQ(At(0).RecordType, 49);
    EXPECT_EQ(std::string(At(0).RecordText), "999!999!999!999");
    EXPECT_EQ(At(0).RecordColor, t.app.tables.ColorPalette[1]);
    EXPECT_EQ(At(1).RecordType, 46);
    EXPECT_EQ(Count(), 1);
}

TEST_F(CaptureWindow, APointOfAnotherKindClosesTheRecordInProgressLosingNothing) {
    Plot("999", 10, 0);   // elevation record in progress at slot 0
    Plot("999", 11, 0);
    Plot("400", 12, 0);   // a line: the elevations stay in slot 0
    Plot("400", 13, 0);
    Plot("36", 14, 0);    // a symbol: the line stays in slot 1
    Plot("0", 15, 0);     // elevation again, in slot 3
    EXPECT_EQ(At(0).RecordType, 47);
    EXPECT_NEAR(At(0).RecordY2, 2011, 1e-9);
    EXPECT_EQ(At(1).RecordType, 42);
    EXPECT_NEAR(At(1).RecordY2, 2013, 1e-9);
    EXPECT_EQ(At(2).RecordType, 15);
    EXPECT_EQ(At(3).RecordType, 46);
    EXPECT_EQ(Count(), 3);
    // A new station set-up closes what is in progress instead of overwriting it.
    ResetSurveyVertexStates(t.app);
    EXPECT_EQ(Count(), 4);
    Plot("0", 16, 0);
    EXPECT_EQ(At(3).RecordType, 46);
    EXPECT_EQ(At(4).RecordType, 46);
}

TEST_F(CaptureWindow, ACodeThatIsNoNumberStoresNothingAndKeepsTheView) {
    const double left = t.form1.Picture1.ScaleLeft();
    Plot("路灯", 10, 0);
    EXPECT_EQ(prompt().LastText(), "类型不匹配");
    EXPECT_EQ(prompt().questions.back().title, "13");
    EXPECT_EQ(Count(), 0);
    EXPECT_EQ(t.form1.Picture1.ScaleLeft(), left);
}

TEST_F(CaptureWindow, ZeroThenCheckThenDetailWithANewReadingEachTime) {
    w->Option6.Click();
    ASSERT_EQ(w->MeasureMode, 1);
    Reading("100", "0.0000");
    w->Command5_Click();
    EXPECT_EQ(w->Text7.Text(), "检查方向读数预测(ddd.mmss)为:\r\n90");
    EXPECT_EQ(w->Label11.Caption(), "零读数:0.0000");
    EXPECT_TRUE(w->Option7.Value());
    Reading("100", "90.0005");
    w->Command5_Click();
    EXPECT_EQ(w->Text7.Text(), "检查方向读数误差(ddd.mmss)为:\r\n0.0005");
    EXPECT_TRUE(w->Option5.Value());
    EXPECT_EQ(Count(), 0);
    Reading("100", "90");
    w->Command5_Click();
    EXPECT_EQ(At(0).RecordType, 46);  // the first elevation point of a record
}

TEST_F(CaptureWindow, AutomaticModePlotsEachReadingOnceAndIdlesBetween) {
    w->Text6.SetText("36");
    Reading("100", "90");
    w->Command2_Click();
    EXPECT_TRUE(w->Text1.Locked());
    ManualTimer& timer = Timer();
    EXPECT_EQ(timer.Interval(), 1000);
    t.form1.Label6.SetBackColor(MakeRgb(255, 0, 0));
    timer.Fire();
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(t.form1.Label6.BackColor(), MakeRgb(255, 255, 0));  // the lamp blinks
    EXPECT_EQ(w->Text7.Text(), "1_0");  // the tick's counts, before the cycle was counted
    EXPECT_EQ(w->CycleCount, 1);
    Timer().Fire();
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(w->Text7.Text(), "2_1\r\n空闲");
    EXPECT_EQ(Timer().Interval(), 3000);
    // While it runs, "展点" and "新值" only say so.
    w->Command5_Click();
    EXPECT_EQ(w->Text7.Text(), "正在自动工作！");
    w->Command6_Click();
    EXPECT_EQ(w->Text7.Text(), "自动状态未停止。\r\n自动取数！");
    // A zero reading is not plotted but counts a cycle.
    Reading("0", "0");
    Timer().Fire();
    EXPECT_EQ(Count(), 1);
    EXPECT_EQ(w->CycleCount, 2);

    // "停止" twice: first the automatic mode, then the receiving.
    w->Command3_Click();
    EXPECT_EQ(w->Text7.Text(), "已停止自动取数展点！\r\n接收未停止。");
    EXPECT_FALSE(w->Text1.Locked());
    EXPECT_FALSE(w->Timer1.Enabled());
    w->Command3_Click();
    EXPECT_EQ(w->Text7.Text(), "接收已停止。");
}

TEST_F(CaptureWindow, AStopDuringATickIsKept) {
    Reading("100", "90");
    w->Command2_Click();
    t.platform.scriptedEvents.Queue([this] { w->Command3_Click(); });
    Timer().Fire();
    EXPECT_FALSE(w->Timer1.Enabled());
    EXPECT_FALSE(w->AutoRunning());
    EXPECT_EQ(w->Text7.Text(), "已停止自动取数展点！\r\n接收未停止。");
}

TEST_F(CaptureWindow, PollFillsTheBoxesFromAWaitingRecord) {
    // Poll opened the chosen device at load; the instrument sends a record; Survy reads again.
    LoopbackSerialPort* port = t.platform.serial.LastPort();
    ASSERT_NE(port, nullptr);
    ASSERT_TRUE(port->IsOpen());
    EXPECT_EQ(port->settingsText, "9600,N,8,1");
    EXPECT_EQ(t.platform.serial.deviceNames[t.app.settings.SurveyPortNumber], "/dev/ttyS0");
    port->Inject("a,b,c,123.456,45.3000,1.2000\r\n");
    OpenCaptureWindow(t.app, true);
    EXPECT_EQ(w->Text1.Text(), "123.456");
    EXPECT_EQ(w->Text2.Text(), "45.3000");
    EXPECT_EQ(w->Text3.Text(), "1.2000");
    // Of two waiting records the newer is the reading; one still arriving waits for its end.
    port->Inject("a,b,c,1,2,3\r\na,b,c,4,5,6\r\na,b,c,7,8");
    OpenCaptureWindow(t.app, true);
    EXPECT_EQ(w->Text1.Text(), "4");
    port->Inject(",9\r\n");
    OpenCaptureWindow(t.app, true);
    EXPECT_EQ(w->Text1.Text(), "7");
    EXPECT_EQ(w->Text3.Text(), "9");
    // Status lines after a reading, with it or on their own, leave the reading the one taken.
    port->Inject("a,b,c,5,6,7\r\nSTATION K1 READY\r\n");
    port->Inject("SET OK\r\n");
    OpenCaptureWindow(t.app, true);
    EXPECT_EQ(w->Text1.Text(), "5");
    EXPECT_TRUE(prompt().questions.empty());
    // Five fields, or a reading field that is no number: the failure in the main message line,
    // then "站未设置"; the boxes stay.
    for (auto [record, line] : std::vector<std::pair<const char*, const char*>>{
             {"a,b,c,1,2\r\n", "下标越界9"}, {"a,b,c,1,2,x\r\n", "类型不匹配13"}}) {
        port->Inject(record);
        OpenCaptureWindow(t.app, true);
        EXPECT_EQ(t.form1.Text2.Text(), line);
        EXPECT_EQ(prompt().LastText(), "站未设置");
        EXPECT_EQ(w->Text1.Text(), "5");
    }
}

TEST_F(CaptureWindow, StartOpensForReceivingAndShowsTheLines) {
    LoopbackSerialPort* port = t.platform.serial.LastPort();
    port->carrierDetect = false;
    w->Command1_MouseUp();
    port = t.platform.serial.LastPort();
    ASSERT_TRUE(port && port->IsOpen());
    EXPECT_EQ(w->ReceivingOn, -1);
    EXPECT_EQ(w->Text7.Text(), "有信号\r\n你开始\r\n我好了\r\n");
    w->Command1_MouseUp();
    EXPECT_EQ(w->Text7.Text(), "尚未停止过！");

    // A record is a reading once its line end has arrived, however short it is.
    port->Inject("1,2,3,4");
    EXPECT_EQ(w->Text1.Text(), "10");
    port->Inject("0.5,12.3456,0.0130\r");
    EXPECT_EQ(w->Text1.Text(), "40.5");
    EXPECT_EQ(w->Text2.Text(), "12.3456");
    EXPECT_EQ(w->Text3.Text(), "0.0130");
    EXPECT_EQ(w->ReceivedText, "1,2,3,40.5,12.3456,0.0130");
    // Every record is shown, the last few of them; one that is no reading fills nothing.
    port->Inject("\nSTATION K1 READY\r\n1,2,3,x,y,z\r\n");
    EXPECT_EQ(w->Text7.Text(), "1,2,3,40.5,12.3456,0.0130\r\nSTATION K1 READY\r\n1,2,3,x,y,z");
    EXPECT_EQ(w->Text1.Text(), "40.5");

    // Random bytes at full rate: the box keeps only the last lines, nothing is filled or stored,
    // and the first record after the noise is read whole.
    std::mt19937 random(7);
    std::string noise(1 << 20, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    for (size_t at = 0; at < noise.size(); at += 4096) {
        port->Inject(noise.substr(at, 4096));
        ASSERT_LE(w->Text7.Text().size(), 5u * 120 * 3 + 4 * 2);
    }
    EXPECT_EQ(w->Text1.Text(), "40.5");
    EXPECT_EQ(Count(), 0);
    port->Inject("\r\n7,8,9,11.5,1.2,0.3\r\n");
    EXPECT_EQ(w->Text1.Text(), "11.5");
}

TEST_F(CaptureWindow, ARecordWithNoEndIsTakenWhenTheLineGoesQuietOrAtEtx) {
    w->Command1_MouseUp();
    LoopbackSerialPort* port = t.platform.serial.LastPort();
    // What has come of a record shows in the status box as it arrives; the quiet after it ends it.
    port->Inject("1,2,3,4");
    EXPECT_EQ(w->Text7.Text(), "1,2,3,4");
    port->Inject(".5,6,7");
    EXPECT_EQ(w->Text7.Text(), "1,2,3,4.5,6,7");
    EXPECT_EQ(w->Text1.Text(), "10");
    ASSERT_TRUE(PauseLine(t));
    EXPECT_EQ(w->Text1.Text(), "4.5");
    EXPECT_EQ(w->ReceivedText, "1,2,3,4.5,6,7");
    EXPECT_FALSE(PauseLine(t));  // nothing in progress: no pause to wait for
    // Bytes that came while the program was busy, not handed over yet, mean the line was not
    // quiet: the record goes on.
    port->Inject("1,2,3,8");
    auto receive = std::exchange(port->onReceive, nullptr);
    port->Inject(".25,9,0");
    port->onReceive = receive;
    ASSERT_TRUE(PauseLine(t));
    EXPECT_EQ(w->Text1.Text(), "4.5");
    EXPECT_EQ(w->Text7.Text(), "1,2,3,4.5,6,7\r\n1,2,3,8.25,9,0");
    ASSERT_TRUE(PauseLine(t));
    EXPECT_EQ(w->Text1.Text(), "8.25");
    // ETX ends a record at once; the last records and the one arriving share the box's five lines.
    port->Inject("1,2,3,5.5,6,7\x03" "a\x03" "b\x03" "c\x03" "1,2");
    EXPECT_EQ(w->Text1.Text(), "5.5");
    EXPECT_EQ(w->Text7.Text(), "1,2,3,5.5,6,7\r\na\r\nb\r\nc\r\n1,2");
    // A record too long to be one is no record when the line goes quiet either.
    port->Inject("," + std::string(600, '7'));
    ASSERT_TRUE(PauseLine(t));
    EXPECT_EQ(w->Text1.Text(), "5.5");
    EXPECT_EQ(w->ReceivedText, "c");
}

TEST_F(CaptureWindow, ALostPortIsClosedNamedAndOpensAgain) {
    w->Command1_MouseUp();
    LoopbackSerialPort* port = t.platform.serial.LastPort();
    ASSERT_TRUE(port->IsOpen());
    w->Command2_Click();  // 自动
    port->Inject("1,2,3,4.5,6");  // cut off by the loss: never a reading
    port->HangUp();
    EXPECT_FALSE(port->IsOpen());
    EXPECT_EQ(w->ReceivingOn, 0);
    EXPECT_EQ(w->Text7.Text(), "接收已停止。");
    EXPECT_EQ(prompt().LastText(), "端口/dev/ttyS0不存在");
    // The automatic mode ended with the port: no tick, the boxes take typed readings.
    EXPECT_FALSE(w->AutoRunning());
    EXPECT_FALSE(w->Timer1.Enabled());
    EXPECT_FALSE(w->Text1.Locked());
    // The device back, "开始" opens it again and what it sends is read.
    w->Command1_MouseUp();
    port = t.platform.serial.LastPort();
    ASSERT_TRUE(port->IsOpen());
    EXPECT_EQ(w->ReceivingOn, -1);
    port->Inject(",7\r\n1,2,3,8.5,9,0\r\n");
    EXPECT_EQ(w->Text1.Text(), "8.5");
}

// What a capture of the recorded survey leaves: the layer's records and the orientation reports.
struct CaptureOutcome {
    std::vector<std::string> records;
    std::vector<std::string> reports;
    bool operator==(const CaptureOutcome&) const = default;
};

// How the instrument's bytes come and how the readings are taken.
struct Delivery {
    bool pauses = false;     // the line goes quiet after each chunk
    bool automatic = false;  // "自动" takes them, a tick after every second chunk
};

// Captures the recorded survey from a fresh start with "零" chosen: the instrument's bytes arrive
// in the chunks given (none: the readings are typed), and each reading is taken by "展点" as soon
// as its record has come, or by the automatic mode's ticks, with the code the surveyor types for it.
CaptureOutcome CaptureRecordedSurvey(const std::vector<std::string>* chunks, Delivery delivery = {}) {
    TestApp t;
    t.form1.Load();
    StationSetup& s = t.app.station;
    s.StationX = {1000, 1000, 1100, 1.5};
    s.StationY = {2000, 2100, 2000, 1.5};
    s.StationH = {50, 0, 0, 2};
    OpenCaptureWindow(t.app, true);
    sbclF3& w = *t.app.captureWindow;
    w.Command1_MouseUp();
    w.Option6.Click();
    const auto& survey = RecordedSurvey();
    CaptureOutcome outcome;
    size_t next = 0;
    auto take = [&] {
        w.Text6.SetText(survey[next].code);
        w.Command5_Click();
        if (next < 2) outcome.reports.push_back(w.Text7.Text());
        ++next;
    };
    if (!chunks) {
        for (const SurveyedRecord& record : survey) {
            const size_t fields = record.line.find(',', record.line.find(',', record.line.find(',') + 1) + 1) + 1;
            std::string rest = record.line.substr(fields);
            for (TextBox* box : {&w.Text1, &w.Text2, &w.Text3}) {
                const size_t comma = rest.find(',');
                box->SetText(rest.substr(0, comma));
                rest = comma == std::string::npos ? "" : rest.substr(comma + 1);
            }
            take();
        }
    } else if (delivery.automatic) {
        // The code for the next reading is typed before each tick; a tick that was not idle took it.
        auto tick = [&] {
            if (next < survey.size()) w.Text6.SetText(survey[next].code);
            w.Timer1_Timer();
            if (w.Text7.Text().ends_with("空闲")) return;
            if (next < 2) outcome.reports.push_back(w.Text7.Text());
            ++next;
        };
        LoopbackSerialPort& port = *t.platform.serial.LastPort();
        w.Command2_Click();
        for (size_t k = 0; k < chunks->size(); ++k) {
            port.Inject((*chunks)[k]);
            if (delivery.pauses) PauseLine(t);
            if (k % 2 == 1) tick();
        }
        for (int ticks = 0; ticks < 100 && next < survey.size(); ++ticks) tick();
        EXPECT_EQ(next, survey.size());
        // Every reading was taken once: the next ticks are idle.
        tick();
        EXPECT_EQ(next, survey.size());
        w.Command3_Click();
    } else {
        LoopbackSerialPort& port = *t.platform.serial.LastPort();
        for (const std::string& chunk : *chunks) {
            port.Inject(chunk);
            if (delivery.pauses) PauseLine(t);
            // Nothing but the fields of a whole record ever reaches the boxes.
            const std::string reading = w.Text1.Text() + "," + w.Text2.Text() + "," + w.Text3.Text() + ",";
            bool whole = reading == "10,360.0000,0.0001,";
            for (const SurveyedRecord& record : survey)
                whole = whole || (record.line + ",").find("," + reading) != std::string::npos;
            EXPECT_TRUE(whole) << reading;
            if (next < survey.size() && w.ReceivedText == survey[next].line) take();
        }
        EXPECT_EQ(next, survey.size());
    }
    const int layer = SurveyTargetLayer(t.app);
    outcome.records = CapturedRecords(t.app, layer);
    // Sound points only: every height near the station's 50 m (unused vertices hold 0).
    for (int slot = 0; slot <= t.app.store.Count(layer); ++slot) {
        const MapRecord& r = t.app.store.Get(layer, slot);
        for (float z : {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4}) EXPECT_TRUE(z >= 0 && z <= 100) << slot;
    }
    return outcome;
}

TEST(CaptureOverTheLine, ARecordedSurveyStoresTheSamePointsHoweverItsBytesArrive) {
    const CaptureOutcome typed = CaptureRecordedSurvey(nullptr);
    ASSERT_EQ(typed.reports.size(), 2u);
    EXPECT_NE(typed.reports[1].find("检查方向读数误差"), std::string::npos);
    // 26 points: 12 records, the empty slot before the first line, and a line in progress.
    EXPECT_EQ(typed.records.size(), 14u);

    std::string stream;
    std::vector<std::string> whole, bytes, chunks;
    for (const SurveyedRecord& record : RecordedSurvey()) {
        whole.push_back(ToGbk(record.line) + "\r\n");
        stream += whole.back();
    }
    for (char c : stream) bytes.emplace_back(1, c);
    std::mt19937 random(61);
    for (size_t at = 0; at < stream.size();) {
        const size_t n = 1 + random() % 16;
        chunks.push_back(stream.substr(at, n));
        at += n;
    }
    EXPECT_EQ(CaptureRecordedSurvey(&whole), typed);
    EXPECT_EQ(CaptureRecordedSurvey(&bytes), typed);
    EXPECT_EQ(CaptureRecordedSurvey(&chunks), typed);

    // Records with no end mark, each ended by the pause before the next; records ended by ETX,
    // in chunks of any size.
    std::vector<std::string> unended, etxChunks;
    std::string etxStream;
    for (const SurveyedRecord& record : RecordedSurvey()) {
        unended.push_back(ToGbk(record.line));
        etxStream += ToGbk(record.line) + "\x03";
    }
    for (size_t at = 0; at < etxStream.size();) {
        const size_t n = 1 + random() % 16;
        etxChunks.push_back(etxStream.substr(at, n));
        at += n;
    }
    EXPECT_EQ(CaptureRecordedSurvey(&unended, {.pauses = true}), typed);
    EXPECT_EQ(CaptureRecordedSurvey(&etxChunks), typed);
}

TEST(CaptureOverTheLine, TheAutomaticModeTakesEveryReadingInTurnThoughTheyComeFasterThanItsTicks) {
    const CaptureOutcome typed = CaptureRecordedSurvey(nullptr);
    // Two readings between ticks: each is plotted once, in the order received.
    std::vector<std::string> whole, unended;
    for (const SurveyedRecord& record : RecordedSurvey()) {
        whole.push_back(ToGbk(record.line) + "\r\n");
        unended.push_back(ToGbk(record.line));
    }
    EXPECT_EQ(CaptureRecordedSurvey(&whole, {.automatic = true}), typed);
    EXPECT_EQ(CaptureRecordedSurvey(&unended, {.pauses = true, .automatic = true}), typed);
}

TEST_F(CaptureWindow, AMissingDeviceIsNamedInTheMessage) {
    w->Command4_Click();
    EXPECT_FALSE(w->Loaded());
    t.app.survey.SurveyPortDevice = "/dev/ttyNONE";
    OpenCaptureWindow(t.app, true);  // the poll fails silently
    EXPECT_TRUE(prompt().questions.empty());
    w->Command1_MouseUp();
    EXPECT_EQ(prompt().LastText(), "端口/dev/ttyNONE不存在");
    // The device typed into the port box is kept for the run.
    w->Combo1.SetText("/dev/ttyUSB0");
    w->Command3_Click();
    w->Command1_MouseUp();
    EXPECT_EQ(t.app.survey.SurveyPortDevice, "/dev/ttyUSB0");
    EXPECT_TRUE(t.platform.serial.LastPort()->IsOpen());
}

TEST_F(CaptureWindow, TheCodeLightsItsSymbolButton) {
    w->Text6.SetText("36");
    EXPECT_EQ(t.form1.Command5(36).BackColor(), MakeRgb(0, 0, 255));
    EXPECT_EQ(&t.form1.FrontPanel(), &t.form1.Frame1(0));
    EXPECT_FALSE(t.form1.Frame2.Enabled());
    w->Text6.SetText("650");  // a line type: its page comes forward
    EXPECT_EQ(&t.form1.FrontPanel(), &t.form1.Frame1(6));
    w->Text6.SetText("37");
    EXPECT_EQ(t.form1.Command5(36).BackColor(), MakeRgb(255, 255, 255));
    EXPECT_EQ(t.form1.Command5(37).BackColor(), MakeRgb(0, 0, 255));
    w->Text6.SetText("750");  // no button: the highlight stays
    EXPECT_EQ(t.form1.Command5(37).BackColor(), MakeRgb(0, 0, 255));
    w->Text6.SetText("-3");
    EXPECT_EQ(t.form1.Command5(37).BackColor(), MakeRgb(255, 255, 255));
    w->Text6.SetText("99999999");  // beyond a code: nothing happens
}

}  // namespace
}  // namespace movra

namespace movra {
namespace {

TEST(SurvyButton, ClickPollsAndRenamesF1OnlyShows) {
    TestApp t;
    t.form1.Load();
    EXPECT_EQ(t.form1.Command9.Caption(), "Survy(&F)");
    int f1 = KeyF1;
    t.form1.Command9.KeyUp(f1, 0);
    ASSERT_TRUE(t.app.captureWindow);
    EXPECT_TRUE(t.app.captureWindow->Visible());
    EXPECT_EQ(t.platform.serial.LastPort(), nullptr);  // no poll
    EXPECT_EQ(t.form1.Command9.Caption(), "Survy(&F)");
    t.form1.Command9.Click();
    EXPECT_EQ(t.form1.Command9.Caption(), "survy(& )");
    ASSERT_NE(t.platform.serial.LastPort(), nullptr);
    EXPECT_TRUE(t.platform.serial.LastPort()->IsOpen());
}

}  // namespace
}  // namespace movra
