#pragma once
// "GPS导航", the GPS navigation window: reads the receiver's NMEA position over a serial port,
// projects it (Gauss-Krüger, three-degree zones, WGS-84), keeps the canvas on it and marks it with
// a small red square at every tick of its positioning timer. Modeless.
#include <cstdint>
#include <memory>
#include <string>

#include "platform/Controls.h"
#include "platform/FormModel.h"
#include "platform/SerialPort.h"
#include "platform/TimerControl.h"

namespace movra {

struct App;

class GPSdaohang : public FormModel {
public:
    explicit GPSdaohang(App& app);
    ~GPSdaohang() override;

    App& app;

    Label Label1;             // "设备型号选择"
    ComboBox Combo1;          // "GPS接收机"
    Label Label3;             // "串口序号"
    ComboBox List1;           // the receiver's port: a device the machine offers, or one typed
    Label Label2;             // "串口参数"
    TextBox Text1;            // the line settings, "4800,N,8,1"
    Frame Frame1;             // "导航模式"
    OptionButton Option1;     // "导航为主(自动)"
    OptionButton Option2;     // "隐式导航(手控)"
    Label Label4;             // "定位间隔"
    ComboBox Combo2;          // seconds between ticks
    Label Label5;             // "秒"
    CommandButton Command1;   // "信号测试"
    CommandButton Command2;   // "启动"
    CommandButton Command4;   // "关闭导航"
    CommandButton Command5;   // "结束"
    CommandButton Command6;   // "起始位置"
    TimerControl Timer1;

    // The receiver's port; made when first opened, and again when another device is chosen.
    std::unique_ptr<SerialPort> MSComm1;

    // -1 while what arrives on the port is collected; 0 once navigation is closed.
    std::int16_t ReceiveArmed = 0;
    // What arrived and is not yet taken by a complete sentence.
    std::string NmeaBuffer;
    // The last valid position as the receiver sends it (ddmm.mmmm, south and west negative).
    double FixLatitude = 0;
    double FixLongitude = 0;
    std::string FixTime;
    double FixSpeed = 0;
    double FixCourse = 0;
    // The central meridian of the last projection, and the marker's map position (0, 0 until
    // the first projection or the first tick).
    double FixZoneMeridian = 0;
    double FixEasting = 0;
    double FixNorthing = 0;

    // The port the receiver is on and its line settings, kept for the run.
    std::string PortDevice;
    std::string PortSettings = "4800,N,8,1";

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    void Command5_Click();
    void MSComm1_OnComm();
    // The receiver's port went away (its device unplugged): the port is closed.
    void MSComm1_OnLost();
    // Takes the complete sentences of the buffer into the fix.
    void ParseGprmc(std::string& buffer);
    void Timer1_Timer();
    // Projects the fix when it changed since the last projection.
    void UpdateFixProjection();
    void List1_Change();
    void Text1_Change();

private:
    // Opens the receiver's port (closed first) on the chosen device and settings.
    void OpenPort();
    void ClosePort();
    void DrawMarker(double easting, double northing);
    // The device the port was made for.
    std::string portDevice_;
    bool fixTaken_ = false;
    // The receiver was lost after the last fix: it is no longer the position, and the ticks leave
    // the view and mark nothing until a fix comes again.
    bool fixLost_ = false;
    bool fixProjected_ = false;
    double projectedLatitude_ = 0;
    double projectedLongitude_ = 0;
};

// The port number the GPS window names its device under.
constexpr int GpsPortNumber = 1;
// The positioning interval in milliseconds for the text of the interval box (seconds), held
// within 1 to 65 s: a text that is no number, 0 or less gives 1 s, more than 65 gives 65 s.
int GpsTimerInterval(const std::string& seconds);

// The main window's "GPS(&G)": shows the navigation window, made on first use.
void ShowGpsWindow(App& app);

}  // namespace movra
