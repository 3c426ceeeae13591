#include "survey/sbclF3.h"

#include <algorithm>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Gbk.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "document/Geometry.h"
#include "platform/SerialSettings.h"
#include "shell/stForm1.h"
#include "survey/SurveyCapture.h"

namespace movra {

namespace {

constexpr Rgb White = MakeRgb(255, 255, 255);
constexpr Rgb Blue = MakeRgb(0, 0, 255);
constexpr Rgb LampRed = MakeRgb(255, 0, 0);
constexpr Rgb LampYellow = MakeRgb(255, 255, 0);
constexpr Rgb PointRed = MakeRgb(255, 0, 0);
// The received records the status box shows, and the characters shown of each: noise at full
// rate must not grow the box without end.
constexpr size_t ShownRecords = 5;
constexpr long ShownRecordLength = 120;
constexpr int AutoInterval = 1000;
constexpr int IdleInterval = 3000;
// The pause that ends a record with no end mark: far longer than the gap between two bytes of a
// record at any baud rate an instrument uses, far shorter than the time between two readings.
constexpr int QuietEndMs = 200;
// Paper millimetres between the plotted point and the canvas's top edge.
constexpr double PointBelowTopMm = 20;

std::string Num(double value) { return PlainNumberText(value); }

// The record's fields at the field separator, every one kept (empty ones too).
std::vector<std::string> Fields(const std::string& text, const std::string& separator) {
    std::vector<std::string> fields;
    if (separator.empty()) return {text};
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos) break;
        fields.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    fields.push_back(text.substr(start));
    return fields;
}

// A reading: a slope distance, a direction and a vertical angle in fields 3, 4 and 5.
bool AreReadingFields(const std::vector<std::string>& fields) {
    return fields.size() >= 6 && IsWholeNumber(fields[3]) && IsWholeNumber(fields[4]) && IsWholeNumber(fields[5]);
}

}  // namespace

sbclF3::sbclF3(App& application)
    : FormModel(application.platform, "sbclF3"),
      app(application),
      Label1(*this, "Label1"), Label2(*this, "Label2"), Label3(*this, "Label3"),
      Text1(*this, "Text1"), Text2(*this, "Text2"), Text3(*this, "Text3"),
      Label4(*this, "Label4"), Label5(*this, "Label5"),
      Text4(*this, "Text4"), Text5(*this, "Text5"),
      Frame1(*this, "Frame1"),
      Option1(*this, "Option1", &Frame1), Option2(*this, "Option2", &Frame1),
      Option3(*this, "Option3", &Frame1), Option4(*this, "Option4", &Frame1),
      Frame2(*this, "Frame2"),
      Option5(*this, "Option5", &Frame2), Option6(*this, "Option6", &Frame2), Option7(*this, "Option7", &Frame2),
      Label6(*this, "Label6"), Text6(*this, "Text6"), Label10(*this, "Label10"), Check2(*this, "Check2"),
      Label7(*this, "Label7"), List1(*this, "List1"), Label8(*this, "Label8"), Label9(*this, "Label9"),
      Label11(*this, "Label11"), Label12(*this, "Label12"), Label13(*this, "Label13"),
      Label14(*this, "Label14"), Combo1(*this, "Combo1"), Label15(*this, "Label15"), Text8(*this, "Text8"),
      Command1(*this, "Command1"), Command2(*this, "Command2"), Command3(*this, "Command3"),
      Command6(*this, "Command6"), Command5(*this, "Command5"), Command4(*this, "Command4"),
      Text7(*this, "Text7"), Timer1(*this, "Timer1"),
      quietTimer_(application.platform.timers().CreateTimer()) {
    SetCaption("碎部测量");
    Move(0, 0, 3500, 9400);
    Label1.Move(100, 120, 700, 300);
    Text1.Move(820, 60, 2400, 400);
    Label2.Move(100, 580, 700, 300);
    Text2.Move(820, 520, 2400, 400);
    Label3.Move(100, 1040, 700, 300);
    Text3.Move(820, 980, 2400, 400);
    Label4.Move(100, 1500, 700, 300);
    Text4.Move(820, 1460, 700, 360);
    Label5.Move(1600, 1500, 700, 300);
    Text5.Move(2320, 1460, 900, 360);
    Frame1.Move(100, 1900, 3120, 600);
    Option1.Move(100, 260, 620, 280);
    Option2.Move(740, 260, 620, 280);
    Option3.Move(1380, 260, 620, 280);
    Option4.Move(2020, 260, 1000, 280);
    Frame2.Move(100, 2560, 3120, 600);
    Option5.Move(100, 260, 900, 280);
    Option6.Move(1100, 260, 900, 280);
    Option7.Move(2100, 260, 900, 280);
    Label6.Move(100, 3300, 700, 300);
    Text6.Move(820, 3240, 1200, 400);
    Label10.Move(2120, 3240, 500, 400);
    Check2.Move(100, 3720, 1500, 300);
    Label7.Move(1700, 3720, 1500, 300);
    List1.Move(100, 4080, 1000, 1700);
    Label8.Move(1200, 4080, 2000, 300);
    Label9.Move(1200, 4420, 600, 300);
    Label11.Move(1200, 4760, 2000, 300);
    Label12.Move(1200, 5100, 2000, 300);
    Label13.Move(1200, 5440, 2000, 300);
    Label14.Move(100, 5900, 600, 300);
    Combo1.Move(720, 5860, 2500, 360);
    Label15.Move(100, 6300, 600, 300);
    Text8.Move(720, 6260, 2500, 360);
    Command1.Move(100, 6740, 1000, 420);
    Command2.Move(1160, 6740, 1000, 420);
    Command3.Move(2220, 6740, 1000, 420);
    Command6.Move(100, 7220, 1000, 420);
    Command5.Move(1160, 7220, 1000, 420);
    Command4.Move(2220, 7220, 1000, 420);
    Text7.Move(100, 7720, 3120, 1100);
    Text7.SetMultiLine(true);
    for (TextBox* box : {&Text1, &Text2, &Text3}) box->SetFontSize(12);
    Label10.SetFontSize(14.25);
    for (int layer = 1; layer <= 65; ++layer) List1.AddItem(Num(layer));

    Command1.onMouseUp = [this](int button, int, double, double) {
        if (button == LeftButton) Command1_MouseUp();
    };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Command6.onClick = [this] { Command6_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    OptionButton* options[7] = {&Option1, &Option2, &Option3, &Option4, &Option5, &Option6, &Option7};
    for (int k = 0; k < 7; ++k) options[k]->onClick = [this, k] { Option_Click(k + 1); };
    Label10.onClick = [this] { Label10_Click(); };
    List1.onClick = [this] { List1_Click(); };
    Text6.onChange = [this] { Text6_Change(); };
    Combo1.onChange = [this] { Combo1_Change(); };
    Combo1.onClick = [this] { Combo1_Change(); };
    Text8.onChange = [this] { Text8_Change(); };
    quietTimer_->onTimeout = [this] { MSComm1_OnQuiet(); };
}

sbclF3::~sbclF3() {
    quietTimer_->Stop();
    quietTimer_->onTimeout = nullptr;
    if (MSComm1) {
        MSComm1->onReceive = nullptr;
        MSComm1->Close();
    }
}

const std::string& sbclF3::LineBreak() const { return app.settings.LineBreak; }
double sbclF3::Slope() const { return NumericPrefix(Text1.Text()); }
double sbclF3::Direction() const { return NumericPrefix(Text2.Text()); }

bool sbclF3::ReadingAlreadyTaken() const { return Slope() == LastReading[0] && Direction() == LastReading[1]; }

void sbclF3::TakeLastReading() {
    LastReading[0] = Slope();
    LastReading[1] = Direction();
}

void sbclF3::SetReadingLocked(bool locked) {
    for (TextBox* box : {&Text1, &Text2, &Text3}) box->SetLocked(locked);
}

void sbclF3::Form_Load() {
    GuardToMessageBox(app.platform.prompt(), [this] {
        // Every opening starts from the window's design.
        Text1.SetText("10");
        Text2.SetText("360.0000");
        Text3.SetText("0.0001");
        SetReadingLocked(false);
        Label1.SetCaption("斜距");
        Label2.SetCaption("方向值");
        Label3.SetCaption("垂直角");
        Label4.SetCaption("仪器高");
        Label5.SetCaption("占标高");
        Text4.SetEnabled(false);
        Frame1.SetCaption("占标高选择");
        Option4.SetCaption("输入");
        Frame2.SetCaption("碎部点.零方向.检测");
        Option5.SetCaption("碎");
        Option6.SetCaption("零");
        Option7.SetCaption("检");
        Label6.SetCaption("点代码");
        Text6.SetText("999");
        Check2.SetCaption("地形建模");
        Check2.SetValue(Unchecked);
        Label7.SetCaption("层选择");
        Label8.SetCaption("层属性");
        Label9.SetCaption("ys");
        Label14.SetCaption("端口");
        Label15.SetCaption("设置");
        Command1.SetCaption("开始(&S)");
        Command2.SetCaption("自动");
        Command3.SetCaption("停止");
        Command6.SetCaption("新值");
        Command5.SetCaption("展点");
        Command4.SetCaption("退出(&X)");
        Text7.SetText("");
        MeasureMode = 0;
        TickCount = 0;
        CycleCount = 0;

        SizeSurveyVertexStates(app);
        Timer1.SetEnabled(false);
        Move(app.platform.screen().WidthTwips() - Width(), Top(), Width(), Height());
        const StationSetup& s = app.station;
        Label11.SetCaption("零读数:" + DmsText(RadToDms(s.StationAngles[0])));
        Label12.SetCaption("起点X:" + Num(s.StationX[0]));
        Label13.SetCaption("起点Y:" + Num(s.StationY[0]));
        Text4.SetText(Num(s.StationY[3]));
        Option1.SetCaption(Num(s.StationX[3]));
        Option2.SetCaption(Num(s.StationH[3]));
        Option3.SetCaption(Num(s.StationAux[3]));
        Option5.SetValue(true);
        Option1.SetValue(true);
        Text5.SetText(Option1.Caption());
        Text5.SetEnabled(false);
        Label10.SetCaption(app.survey.SurveyLineContinue == -1 ? "连" : "新");
        if (app.survey.SurveyLayer >= 1 && app.survey.SurveyLayer <= 65)
            List1.SetListIndex(app.survey.SurveyLayer - 1);

        // The port: the devices the machine offers, the one chosen before, its settings.
        Combo1.Clear();
        for (const std::string& device : app.platform.serialPorts().DeviceNames()) Combo1.AddItem(device);
        if (app.survey.SurveyPortDevice.empty() && Combo1.ListCount() > 0)
            app.survey.SurveyPortDevice = Combo1.List(0);
        Combo1.SetText(app.survey.SurveyPortDevice);
        Text8.SetText(app.survey.SurveyPortSettings);

        TakeLastReading();
        ReceivingOn = 0;
    });
}

void sbclF3::Form_Unload(int&) {
    if (MSComm1 && MSComm1->IsOpen()) MSComm1->Close();
    ReceivingOn = 0;
    StopAutomaticMode();
    TickCount = 0;
}

std::string sbclF3::PortName() const {
    if (!app.survey.SurveyPortDevice.empty()) return app.survey.SurveyPortDevice;
    return PlainNumberText(static_cast<std::int32_t>(app.settings.SurveyPortNumber));
}

void sbclF3::Combo1_Change() { app.survey.SurveyPortDevice = Trim(Combo1.Text()); }

void sbclF3::Text8_Change() { app.survey.SurveyPortSettings = Trim(Text8.Text()); }

void sbclF3::OpenPort() {
    SerialPortFactory& ports = app.platform.serialPorts();
    const int number = app.settings.SurveyPortNumber;
    if (!app.survey.SurveyPortDevice.empty()) ports.NameDevice(number, app.survey.SurveyPortDevice);
    // A fresh port takes the device just named; never replace the port whose event is running.
    if (!MSComm1 || (!MSComm1->IsOpen() && !receiving_)) {
        MSComm1 = ports.CreateSerialPort();
        MSComm1->onReceive = [this] { MSComm1_OnComm(); };
        MSComm1->onLost = [this] { MSComm1_OnLost(); };
    }
    // A session starts with no record in progress.
    ClearArrivedBytes();
    waitingRecord_.clear();
    MSComm1->Open(number, app.survey.SurveyPortSettings);
}

std::vector<std::string> sbclF3::TakeArrivedRecords() { return AddArrivedBytes(MSComm1->Read()); }

std::vector<std::string> sbclF3::AddArrivedBytes(const std::string& bytes) {
    std::vector<std::string> records = instrumentLines_.Add(bytes);
    if (!bytes.empty()) {
        if (instrumentLines_.InProgress())
            quietTimer_->Start(QuietEndMs);  // from the last byte
        else
            quietTimer_->Stop();
    }
    return records;
}

void sbclF3::ClearArrivedBytes() {
    quietTimer_->Stop();
    instrumentLines_.Clear();
}

std::vector<std::string> sbclF3::RecordFields(const std::string& record) const {
    return Fields(FromGbk(record), app.current.FieldSeparator);
}

bool sbclF3::IsReading(const std::string& record) const { return AreReadingFields(RecordFields(record)); }

std::string sbclF3::NewestReading(const std::vector<std::string>& records) const {
    for (auto record = records.rbegin(); record != records.rend(); ++record)
        if (IsReading(*record)) return *record;
    return records.empty() ? std::string() : records.back();
}

std::string sbclF3::TakeNewestReading() { return TakeNewestReading(TakeArrivedRecords()); }

std::string sbclF3::TakeNewestReading(std::vector<std::string> records) {
    if (!waitingRecord_.empty()) records.insert(records.begin(), waitingRecord_);
    waitingRecord_.clear();
    return NewestReading(records);
}

bool sbclF3::FillReading(const std::vector<std::string>& fields) {
    if (!AreReadingFields(fields)) return false;
    Text1.SetText(fields[3]);
    Text2.SetText(fields[4]);
    Text3.SetText(fields[5]);
    return true;
}

void sbclF3::PollInstrumentPort() {
    GuardSilently([this] {
        if (!MSComm1 || !MSComm1->IsOpen()) OpenPort();
        // The newest whole record that is a reading; one still arriving waits for its line end.
        const std::string record = TakeNewestReading();
        if (!record.empty()) ParseInstrumentRecord(FromGbk(record));
    });
}

void sbclF3::ParseInstrumentRecord(const std::string& text) {
    try {
        const auto fields = Fields(text, app.current.FieldSeparator);
        if (fields.size() < 6) Raise(ErrSubscriptOutOfRange);
        if (!FillReading(fields)) Raise(ErrTypeMismatch);
        const StationSetup& s = app.station;
        Text4.SetText(Num(s.StationY[3]));
        Option1.SetCaption(Num(s.StationX[3]));
        Option2.SetCaption(Num(s.StationH[3]));
        Option3.SetCaption(Num(s.StationAux[3]));
    } catch (...) {
        if (app.form1) app.form1->Text2.SetText(MessageLineText(CurrentRuntimeError()));
        app.platform.prompt().MsgBox("站未设置");
    }
}

void sbclF3::OpenSurveyPort() {
    try {
        if (MSComm1 && MSComm1->IsOpen()) {
            MSComm1->Close();
            if (MSComm1->IsOpen()) return;
        }
        ReceivingOn = -1;
        shownRecords_.clear();
        OpenPort();
        const std::string& lb = LineBreak();
        Text7.SetText(std::string(MSComm1->CarrierDetect() ? "有信号" : "无信号") + lb +
                      (MSComm1->ClearToSend() ? "你开始" : "等一下") + lb +
                      (MSComm1->DataSetReady() ? "我好了" : "我未准备好") + lb);
    } catch (...) {
        const RuntimeError error = CurrentRuntimeError();
        if (error.number == SerialErrorBadPort)
            app.platform.prompt().MsgBox("端口" + PortName() + "不存在");
        else
            ShowRuntimeError(app.platform.prompt(), error);
        if (MSComm1 && MSComm1->IsOpen()) MSComm1->Close();
    }
}

void sbclF3::Receive(const std::function<void()>& step) {
    if (receiving_ || !MSComm1 || !MSComm1->IsOpen()) return;
    receiving_ = true;
    struct Done {
        bool& flag;
        ~Done() { flag = false; }
    } done{receiving_};
    GuardSilently(step);
}

void sbclF3::MSComm1_OnComm() {
    // What arrives is gathered as it comes; only records whose end has arrived count.
    Receive([this] { TakeRecords(TakeArrivedRecords()); });
}

void sbclF3::MSComm1_OnQuiet() {
    quietTimer_->Stop();
    // A receive at work now looks again once it is done.
    if (receiving_) {
        quietTimer_->Start(QuietEndMs);
        return;
    }
    Receive([this] {
        // Bytes that came while the program was busy, not yet handed over by the event loop: the
        // line was not quiet after all.
        const std::string bytes = MSComm1->Read();
        if (!bytes.empty()) {
            TakeRecords(AddArrivedBytes(bytes));
            return;
        }
        std::string record = instrumentLines_.EndPending();
        if (!record.empty()) TakeRecords({std::move(record)});
    });
}

void sbclF3::TakeRecords(const std::vector<std::string>& records) {
    // Until "开始" the newest reading waits for the next poll.
    if (ReceivingOn != -1 || !Loaded()) {
        waitingRecord_ = TakeNewestReading(records);
        return;
    }
    const size_t firstShown = records.size() > ShownRecords ? records.size() - ShownRecords : 0;
    for (size_t k = firstShown; k < records.size(); ++k) ShowReceivedText(FromGbk(records[k]));
    // Also what has come of a record still arriving, so that the user sees the line is alive.
    ShowArrived();
    if (records.empty()) return;
    ReceivedText = FromGbk(records.back());
    if (autoRunning_) {
        // The automatic mode takes every reading in turn, one a tick.
        for (const std::string& record : records)
            if (IsReading(record)) autoQueue_.push_back(record);
        return;
    }
    // A received reading goes into the boxes, where "展点" takes it; of several that came together
    // the newest stands. A record that is no reading fills nothing.
    FillReading(RecordFields(NewestReading(records)));
}

void sbclF3::MSComm1_OnLost() {
    ClearArrivedBytes();
    waitingRecord_.clear();
    if (!Loaded()) return;
    // The port closed itself; "开始" opens it again once the device is back. Nothing more can
    // arrive, so the automatic mode stops too and the boxes take typed readings again, before the
    // message box whose wait would let a tick run.
    ReceivingOn = 0;
    if (autoRunning_) StopAutomaticMode();
    Text7.SetText("接收已停止。");
    app.platform.prompt().MsgBox("端口" + PortName() + "不存在");
}

void sbclF3::ShowReceivedText(const std::string& text) {
    if (text.empty() || text == " ") return;
    shownRecords_.push_back(movra::Left(text, ShownRecordLength));
    while (shownRecords_.size() > ShownRecords) shownRecords_.pop_front();
    ShowArrived();
}

void sbclF3::ShowArrived() {
    const std::string arriving = movra::Left(FromGbk(instrumentLines_.Pending()), ShownRecordLength);
    if (shownRecords_.empty() && arriving.empty()) return;
    // The box holds as many lines as ever: the record arriving takes the place of the oldest.
    const size_t shownCount = std::min(shownRecords_.size(), arriving.empty() ? ShownRecords : ShownRecords - 1);
    std::string shown;
    for (size_t k = shownRecords_.size() - shownCount; k < shownRecords_.size(); ++k)
        shown += (shown.empty() ? "" : LineBreak()) + shownRecords_[k];
    if (!arriving.empty()) shown += (shown.empty() ? "" : LineBreak()) + arriving;
    Text7.SetText(shown);
}

void sbclF3::Command1_MouseUp() {
    if (ReceivingOn == 0)
        OpenSurveyPort();
    else
        Text7.SetText("尚未停止过！");
}

void sbclF3::Command2_Click() {
    try {
        if (!autoRunning_) {
            autoQueue_.clear();
            boxesTicked_ = false;
        }
        Timer1.SetInterval(AutoInterval);
        Timer1.SetEnabled(true);
        autoRunning_ = true;
        SetReadingLocked(true);
    } catch (...) {
        Text7.SetText(MessageLineText(CurrentRuntimeError()));
    }
}

void sbclF3::StopAutomaticMode() {
    // Readings no tick took are left as a reading received without the automatic mode: the
    // newest in the boxes, for "展点".
    if (!autoQueue_.empty()) FillReading(RecordFields(autoQueue_.back()));
    autoQueue_.clear();
    autoRunning_ = false;
    Timer1.SetEnabled(false);
    SetReadingLocked(false);
}

void sbclF3::Command3_Click() {
    if (autoRunning_) {
        StopAutomaticMode();
        Text7.SetText("已停止自动取数展点！" + LineBreak() + "接收未停止。");
        return;
    }
    if (MSComm1 && MSComm1->IsOpen()) MSComm1->Close();
    ReceivingOn = 0;
    Text7.SetText("接收已停止。");
}

void sbclF3::Command6_Click() {
    if (autoRunning_) {
        Text7.SetText("自动状态未停止。" + LineBreak() + "自动取数！");
        return;
    }
    app.platform.events().DoEvents();
}

void sbclF3::Command4_Click() {
    if (MSComm1 && MSComm1->IsOpen()) MSComm1->Close();
    ReceivingOn = 0;
    StopAutomaticMode();
    TickCount = 0;
    Unload();
}

void sbclF3::Command5_Click() {
    if (autoRunning_) {
        Text7.SetText("正在自动工作！");
        return;
    }
    if (ReadingAlreadyTaken()) {
        Text7.SetText("前面数据已过时或无效！");
        return;
    }
    switch (MeasureMode) {
        case 1:
            Label11.SetCaption("零读数:" + Text2.Text());
            CheckZeroDirection();
            Option7.SetValue(true);
            MeasureMode = 2;
            break;
        case 2:
            CheckZeroDirection();
            Option5.SetValue(true);
            MeasureMode = 0;
            break;
        default:
            ComputeAndPlotDetailPoint();
            TakeLastReading();
            break;
    }
}

void sbclF3::Timer1_Timer() {
    // The timer waits while a tick works, so that ticks never overlap; a stop meanwhile stays.
    Timer1.SetEnabled(false);
    app.platform.events().DoEvents();
    // Stopped meanwhile ("停止", "退出", the port lost): the tick does nothing, so that what the
    // stop showed stays.
    if (!Loaded() || !autoRunning_) return;
    int interval = AutoInterval;
    GuardSilently([&] {
        if (app.form1) {
            Label& lamp = app.form1->Label6;
            lamp.SetBackColor(lamp.BackColor() == LampRed ? LampYellow : LampRed);
        }
        ++TickCount;
        const std::string counts = PlainNumberText(TickCount) + "_" + PlainNumberText(CycleCount);
        Text7.SetText(counts);
        // The reading in the boxes first, then those received since, in turn.
        if (!autoQueue_.empty() && (boxesTicked_ || ReadingAlreadyTaken())) {
            FillReading(RecordFields(autoQueue_.front()));
            autoQueue_.pop_front();
            boxesTicked_ = false;
        }
        if (ReadingAlreadyTaken()) {
            interval = IdleInterval;
            Text7.SetText(counts + LineBreak() + "空闲");
            return;
        }
        switch (MeasureMode) {
            case 1:
                CheckZeroDirection();
                Option7.SetValue(true);
                MeasureMode = 2;
                break;
            case 2:
                CheckZeroDirection();
                Option5.SetValue(true);
                MeasureMode = 0;
                break;
            default:
                if (Slope() != 0 || Direction() != 0) {
                    ComputeAndPlotDetailPoint();
                    TakeLastReading();
                }
                ++CycleCount;
                break;
        }
        boxesTicked_ = true;
        app.platform.events().DoEvents();
    });
    // "停止" or "退出" pressed while the tick worked have the last word.
    if (!Loaded() || !autoRunning_) return;
    Timer1.SetInterval(interval);
    Timer1.SetEnabled(true);
}

void sbclF3::Option_Click(int index) {
    switch (index) {
        case 1: Text5.SetText(Option1.Caption()); Text5.SetEnabled(false); break;
        case 2: Text5.SetText(Option2.Caption()); Text5.SetEnabled(false); break;
        case 3: Text5.SetText(Option3.Caption()); Text5.SetEnabled(false); break;
        case 4: Text5.SetEnabled(true); Text5.SetBackColor(White); break;
        case 5: MeasureMode = 0; break;
        case 6: MeasureMode = 1; break;
        case 7: MeasureMode = 2; break;
        default: break;
    }
}

void sbclF3::Label10_Click() {
    if (Label10.Caption() == "连") {
        Label10.SetCaption("新");
        app.survey.SurveyLineContinue = 0;
    } else {
        Label10.SetCaption("连");
        app.survey.SurveyLineContinue = -1;
    }
}

void sbclF3::List1_Click() {
    GuardToMessageBox(app.platform.prompt(), [this] {
        const double n = NumericPrefix(List1.Text());
        if (n < 1) return;
        if (n > app.store.LayerCount) {
            app.platform.prompt().MsgBox("超过设置层数");
            return;
        }
        const int layer = static_cast<int>(n);
        Label8.SetCaption(PlainNumberText(static_cast<std::int32_t>(layer)) + "层：" +
                          app.store.LayerNames[static_cast<size_t>(layer)]);
        app.survey.SurveyLayer = static_cast<std::uint8_t>(layer);
        Label9.SetBackColor(app.tables.ColorPalette[app.store.LayerColorIndex[static_cast<size_t>(layer)]]);
    });
}

void sbclF3::Text6_Change() {
    GuardSilently([this] {
        if (!app.form1) return;
        stForm1& main = *app.form1;
        // The symbol pages come forward over the method panel.
        main.Frame2.ZOrder(1);
        main.Frame2.SetEnabled(false);
        const int c = ToInt16(NumericPrefix(Text6.Text()));
        if (c > 899) return;
        if (c >= 0 && c <= 699) {
            main.Frame1(c / 100).ZOrder(0);
            main.SymbolPageIndex = static_cast<std::int16_t>(c / 100);
        }
        if (c >= 700) return;
        auto& buttons = main.Command5;
        int& lit = app.survey.HighlightedCode;
        if (lit >= 0 && buttons.Exists(lit)) buttons(lit).SetBackColor(White);
        lit = -1;
        if (c < 0 || !buttons.Exists(c)) return;
        buttons(c).SetBackColor(Blue);
        lit = c;
    });
}

void sbclF3::ShowPoint(double e, double n) {
    if (!app.form1) return;
    PictureBox& canvas = app.form1->Picture1;
    const double width = canvas.ScaleWidth();
    canvas.SetScale(e - width / 2, n + PointBelowTopMm * app.view.ScaleFactor, width, canvas.ScaleHeight());
    刷新(app);
    // The new point is marked after the redraw, which would otherwise clear the mark.
    Surface& surface = canvas.surface();
    const int drawWidth = surface.DrawWidth();
    surface.SetDrawWidth(2);
    surface.PSet(e, n, PointRed);
    surface.SetDrawWidth(drawWidth);
    if (Loaded() && Visible()) Show();
}

void sbclF3::ComputeAndPlotDetailPoint() {
    GuardToMessageBox(app.platform.prompt(), [this] {
        SurveyReading reading;
        reading.slope = NumericPrefix(Text1.Text());
        reading.vertical = NumericPrefix(Text3.Text());
        reading.direction = NumericPrefix(Text2.Text());
        reading.instrumentHeight = NumericPrefix(Text4.Text());
        reading.targetHeight = NumericPrefix(Text5.Text());
        const std::string code = SurveyPointCode(Text6.Text(), Check2.Value() == Checked);
        SurveyCodeNumber(code);  // a code that is no number stops before anything is computed
        const DetailPoint point = ComputeDetailPoint(app, reading);
        if (StoreDetailPoint(app, point, code)) Label10.SetCaption("连");
        ShowPoint(point.E, point.N);
    });
}

void sbclF3::CheckZeroDirection() {
    GuardToMessageBox(app.platform.prompt(), [this] {
        const double reading = NumericPrefix(Text2.Text());
        if (MeasureMode == 1)
            Text7.SetText(OrientOnZeroDirection(app, reading, LineBreak()));
        else
            Text7.SetText(CheckDirectionError(app, reading, LineBreak()));
        TakeLastReading();
    });
}

void OpenCaptureWindow(App& app, bool poll) {
    if (!app.captureWindow) app.captureWindow = std::make_shared<sbclF3>(app);
    sbclF3& window = *app.captureWindow;
    window.Load();
    if (app.form1) {
        const stForm1& main = *app.form1;
        window.Move(window.Left(), main.Top() + main.Height() - window.Height(), window.Width(), window.Height());
    }
    window.Show(false);
    if (poll) window.PollInstrumentPort();
}

}  // namespace movra
