#include "survey/GPSdaohang.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "platform/DrawModeScope.h"
#include "shell/stForm1.h"
#include "survey/GaussKruger.h"
#include "survey/Nmea.h"

namespace movra {

namespace {

constexpr Rgb MarkerRed = MakeRgb(255, 0, 0);
constexpr int ShortestInterval = 1000;
constexpr int LongestInterval = 65000;

}  // namespace

int GpsTimerInterval(const std::string& seconds) {
    const double ms = std::round(NumericPrefix(seconds) * 1000);
    if (!(ms >= ShortestInterval)) return ShortestInterval;
    return static_cast<int>(std::min<double>(ms, LongestInterval));
}

GPSdaohang::GPSdaohang(App& application)
    : FormModel(application.platform, "GPSdaohang"),
      app(application),
      Label1(*this, "Label1"), Combo1(*this, "Combo1"),
      Label3(*this, "Label3"), List1(*this, "List1"),
      Label2(*this, "Label2"), Text1(*this, "Text1"),
      Frame1(*this, "Frame1"), Option1(*this, "Option1", &Frame1), Option2(*this, "Option2", &Frame1),
      Label4(*this, "Label4"), Combo2(*this, "Combo2"), Label5(*this, "Label5"),
      Command1(*this, "Command1"), Command2(*this, "Command2"), Command4(*this, "Command4"),
      Command5(*this, "Command5"), Command6(*this, "Command6"),
      Timer1(*this, "Timer1") {
    SetCaption("GPS导航");
    Move(0, 0, 4200, 4300);
    Label1.Move(120, 150, 1300, 300);
    Combo1.Move(1480, 100, 2400, 360);
    Label3.Move(120, 560, 1300, 300);
    List1.Move(1480, 510, 2400, 360);
    Label2.Move(120, 970, 1300, 300);
    Text1.Move(1480, 920, 2400, 360);
    Frame1.Move(120, 1380, 3760, 700);
    Option1.Move(120, 280, 1700, 300);
    Option2.Move(1900, 280, 1700, 300);
    Label4.Move(120, 2250, 1000, 300);
    Combo2.Move(1180, 2200, 900, 360);
    Label5.Move(2160, 2250, 400, 300);
    Command1.Move(120, 2800, 1200, 420);
    Command2.Move(1400, 2800, 1200, 420);
    Command6.Move(2680, 2800, 1200, 420);
    Command4.Move(120, 3350, 1800, 420);
    Command5.Move(2080, 3350, 1800, 420);

    Label1.SetCaption("设备型号选择");
    Combo1.AddItem("GPS接收机");
    Combo1.SetText("GPS接收机");
    Label3.SetCaption("串口序号");
    Label2.SetCaption("串口参数");
    Frame1.SetCaption("导航模式");
    Option1.SetCaption("导航为主(自动)");
    Option2.SetCaption("隐式导航(手控)");
    Option1.SetValue(true);
    Label4.SetCaption("定位间隔");
    for (const char* seconds : {"1", "2", "3", "5", "10", "20", "30", "60"}) Combo2.AddItem(seconds);
    Combo2.SetText("1");
    Label5.SetCaption("秒");
    Command1.SetCaption("信号测试");
    Command2.SetCaption("启动");
    Command4.SetCaption("关闭导航");
    Command5.SetCaption("结束");
    Command6.SetCaption("起始位置");
    Command6.SetToolTipText("图上鼠标刺点");
    Timer1.SetEnabled(false);

    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
    List1.onChange = [this] { List1_Change(); };
    List1.onClick = [this] { List1_Change(); };
    Text1.onChange = [this] { Text1_Change(); };
}

GPSdaohang::~GPSdaohang() {
    if (MSComm1) {
        MSComm1->onReceive = nullptr;
        MSComm1->Close();
    }
}

void GPSdaohang::List1_Change() { PortDevice = Trim(List1.Text()); }
void GPSdaohang::Text1_Change() { PortSettings = Trim(Text1.Text()); }

void GPSdaohang::Form_Load() {
    // Every opening starts without a position.
    ReceiveArmed = -1;
    NmeaBuffer.clear();
    FixLatitude = FixLongitude = 0;
    FixTime.clear();
    FixSpeed = FixCourse = 0;
    FixZoneMeridian = FixEasting = FixNorthing = 0;
    fixTaken_ = fixProjected_ = fixLost_ = false;
    Timer1.SetEnabled(false);
    // The port: the devices the machine offers, the one chosen before (or the first), its
    // settings. Filling the boxes must not change the choice.
    std::string device = PortDevice;
    const std::string settings = PortSettings;
    List1.Clear();
    for (const std::string& offered : app.platform.serialPorts().DeviceNames()) List1.AddItem(offered);
    if (device.empty() && List1.ListCount() > 0) device = List1.List(0);
    List1.SetText(device);
    Text1.SetText(settings);
    PortDevice = device;
    PortSettings = settings;
    // A port that cannot be opened leaves the window without input; the user sees it by the
    // signal test.
    GuardSilently([this] { OpenPort(); });
}

void GPSdaohang::Form_Unload(int&) {
    Timer1.SetEnabled(false);
    ClosePort();
    ReceiveArmed = 0;
}

void GPSdaohang::OpenPort() {
    ClosePort();
    // A port stands for the device it was made for: another device needs a port made anew.
    if (!MSComm1 || portDevice_ != PortDevice) {
        SerialPortFactory& ports = app.platform.serialPorts();
        if (!PortDevice.empty()) ports.NameDevice(GpsPortNumber, PortDevice);
        MSComm1 = ports.CreateSerialPort();
        MSComm1->onReceive = [this] { MSComm1_OnComm(); };
        MSComm1->onLost = [this] { MSComm1_OnLost(); };
        portDevice_ = PortDevice;
    }
    MSComm1->Open(GpsPortNumber, PortSettings);
}

void GPSdaohang::ClosePort() {
    GuardSilently([this] {
        if (MSComm1 && MSComm1->IsOpen()) MSComm1->Close();
    });
}

void GPSdaohang::MSComm1_OnComm() {
    GuardSilently([this] {
        if (!MSComm1 || !MSComm1->IsOpen()) return;
        const std::string received = MSComm1->Read();
        if (ReceiveArmed != -1) return;
        NmeaBuffer += received;
        ParseGprmc(NmeaBuffer);
    });
}

void GPSdaohang::MSComm1_OnLost() {
    // A sentence cut off by the loss is no sentence; the signal test opens the port again.
    NmeaBuffer.clear();
    fixLost_ = fixTaken_;
    if (!Loaded()) return;
    const std::string device = portDevice_.empty() ? PlainNumberText(static_cast<std::int32_t>(GpsPortNumber)) : portDevice_;
    app.platform.prompt().MsgBox("端口" + device + "不存在");
}

void GPSdaohang::ParseGprmc(std::string& buffer) {
    const auto fix = TakeNmeaFix(buffer);
    if (!fix) return;
    FixLatitude = fix->latitude;
    FixLongitude = fix->longitude;
    FixTime = fix->time;
    FixSpeed = fix->speed;
    FixCourse = fix->course;
    fixTaken_ = true;
    fixLost_ = false;
}

void GPSdaohang::UpdateFixProjection() {
    if (!fixTaken_) return;
    if (fixProjected_ && FixLatitude == projectedLatitude_ && FixLongitude == projectedLongitude_) return;
    projectedLatitude_ = FixLatitude;
    projectedLongitude_ = FixLongitude;
    fixProjected_ = true;
    const double latitude = NmeaToDegrees(FixLatitude);
    const double longitude = NmeaToDegrees(FixLongitude);
    FixZoneMeridian = ThreeDegreeZoneMeridian(longitude);
    const PlanePoint p = GaussKrugerForwardWgs84(latitude, longitude, FixZoneMeridian);
    FixEasting = p.easting;
    FixNorthing = p.northing;
}

void GPSdaohang::DrawMarker(double easting, double northing) {
    if (!app.form1) return;
    // One paper millimetre square, the position at its lower left corner; on the canvas only, so
    // the marks of earlier ticks stay as a track until the next redraw.
    // Red whatever pen an armed tool left on the canvas (its inverting pen would show cyan).
    Surface& surface = app.form1->Picture1.surface();
    const DrawModeScope copyPen(surface, DrawModeCopyPen);
    const double size = app.view.ScaleFactor;
    surface.Line(easting, northing, easting + size, northing + size, MarkerRed, LineShape::FilledBox);
}

void GPSdaohang::Timer1_Timer() {
    GuardSilently([this] {
        if (!app.form1 || fixLost_) return;
        UpdateFixProjection();
        PictureBox& canvas = app.form1->Picture1;
        const double L = canvas.ScaleLeft(), T = canvas.ScaleTop();
        const double W = canvas.ScaleWidth(), H = canvas.ScaleHeight();
        if (FixEasting == 0) {
            FixEasting = L + W / 2;
            FixNorthing = T + H / 2;
            DrawMarker(FixEasting, FixNorthing);
            return;
        }
        const bool outside = FixEasting < L || FixEasting > L + W || FixNorthing > T || FixNorthing < T + H;
        if (outside) {
            canvas.SetScale(FixEasting - W / 2, FixNorthing - H / 2, W, H);
            刷新(app);
        }
        // The marker stands where this tick put the view, whatever arrives meanwhile.
        const double easting = FixEasting, northing = FixNorthing;
        app.platform.events().DoEvents();
        DrawMarker(easting, northing);
    });
}

void GPSdaohang::Command1_Click() {
    // Every step is tried, whatever failed before it. The port opens on the device and settings
    // chosen now; while navigation collects positions it stays open afterwards, so that testing
    // the signal never cuts the receiver off.
    GuardSilently([this] { OpenPort(); });
    bool carrier = false;
    GuardSilently([this, &carrier] { carrier = MSComm1 && MSComm1->IsOpen() && MSComm1->CarrierDetect(); });
    const std::string& lb = app.settings.LineBreak;
    GuardSilently([&] {
        if (carrier)
            app.platform.prompt().MsgBox("有信号" + lb + "你开始" + lb + "我好了" + lb);
        else
            app.platform.prompt().MsgBox("无信号" + lb + "等一下" + lb + "我未准备好!" + lb);
    });
    if (ReceiveArmed != -1) ClosePort();
}

void GPSdaohang::Command2_Click() {
    GuardSilently([this] {
        Timer1.SetInterval(GpsTimerInterval(Combo2.Text()));
        Timer1.SetEnabled(true);
    });
}

void GPSdaohang::Command4_Click() {
    Timer1.SetEnabled(false);
    ClosePort();
    ReceiveArmed = 0;
}

void GPSdaohang::Command5_Click() {
    Timer1.SetEnabled(false);
    ClosePort();
    ReceiveArmed = 0;
    FixEasting = 0;
    FixNorthing = 0;
    GuardSilently([this] { Unload(); });
}

void ShowGpsWindow(App& app) {
    if (!app.gpsWindow) app.gpsWindow = std::make_shared<GPSdaohang>(app);
    app.gpsWindow->Show(false);
}

}  // namespace movra
