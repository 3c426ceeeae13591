#pragma once
// "碎部测量", the total-station capture: one reading at a time (slope distance, direction,
// vertical angle) from the instrument's serial port or typed in, plotted as a detail point on
// demand or once a second, or used to orient and check the circle on the station's zero and check
// directions. A narrow panel at the right edge of the screen; modeless.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/FormModel.h"
#include "platform/SerialPort.h"
#include "platform/Timer.h"
#include "platform/TimerControl.h"
#include "survey/SerialLines.h"

namespace movra {

struct App;

class sbclF3 : public FormModel {
public:
    explicit sbclF3(App& app);
    ~sbclF3() override;

    App& app;

    // The reading.
    Label Label1, Label2, Label3;
    TextBox Text1;  // slope distance
    TextBox Text2;  // direction (ddd.mmss)
    TextBox Text3;  // vertical angle (ddd.mmss)
    // Heights: the instrument height, the target height and its choice.
    Label Label4, Label5;
    TextBox Text4;
    TextBox Text5;
    Frame Frame1;
    OptionButton Option1, Option2, Option3, Option4;
    // The measuring mode: detail point, zero direction, check direction.
    Frame Frame2;
    OptionButton Option5, Option6, Option7;
    // The point code, the line switch, terrain modelling.
    Label Label6;
    TextBox Text6;
    Label Label10;
    CheckBox Check2;
    // The layer choice.
    Label Label7;
    ListBox List1;
    Label Label8;
    Label Label9;
    // The station.
    Label Label11, Label12, Label13;
    // The instrument port: its device and line settings.
    Label Label14;
    ComboBox Combo1;
    Label Label15;
    TextBox Text8;
    CommandButton Command1;  // "开始(&S)"
    CommandButton Command2;  // "自动"
    CommandButton Command3;  // "停止"
    CommandButton Command6;  // "新值"
    CommandButton Command5;  // "展点"
    CommandButton Command4;  // "退出(&X)"
    TextBox Text7;           // status
    TimerControl Timer1;

    // The serial port of the instrument; made when it is first opened.
    std::unique_ptr<SerialPort> MSComm1;

    std::int16_t ReceivingOn = 0;
    // The last record received while receiving, without its line end.
    std::string ReceivedText;
    std::uint8_t MeasureMode = 0;
    std::int32_t TickCount = 0;
    std::int32_t CycleCount = 0;
    double LastReading[2] = {0, 0};

    void Form_Load() override;
    void Form_Unload(int& cancel) override;

    // Opens the port when closed and takes what the instrument has sent.
    void PollInstrumentPort();
    // Puts fields 3, 4, 5 of a record into the reading boxes.
    void ParseInstrumentRecord(const std::string& text);
    void OpenSurveyPort();
    void MSComm1_OnComm();
    // The instrument's port went away (its device unplugged): the port is closed.
    void MSComm1_OnLost();
    // No byte has come for a while: the record in progress is ended (an instrument that ends its
    // records with nothing).
    void MSComm1_OnQuiet();
    // Adds a received record to the status box, which shows the last few of them.
    void ShowReceivedText(const std::string& text);

    void Command1_MouseUp();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Timer1_Timer();
    void Option_Click(int index);
    void Label10_Click();
    void List1_Click();
    void Text6_Change();
    void Combo1_Change();
    void Text8_Change();

    bool AutoRunning() const { return autoRunning_; }

    void ComputeAndPlotDetailPoint();
    void CheckZeroDirection();

private:
    const std::string& LineBreak() const;
    double Slope() const;
    double Direction() const;
    bool ReadingAlreadyTaken() const;
    void TakeLastReading();
    void SetReadingLocked(bool locked);
    // The device the port number stands for, as the user chose it; the number itself when none.
    std::string PortName() const;
    // Opens the instrument port with the chosen device and settings (closed before).
    void OpenPort();
    void ShowPoint(double e, double n);
    // Runs a step of receiving from the open port, never inside another.
    void Receive(const std::function<void()>& step);
    // The records completed by what the port holds now.
    std::vector<std::string> TakeArrivedRecords();
    // The records the bytes complete; a record they leave in progress is ended by the quiet after.
    std::vector<std::string> AddArrivedBytes(const std::string& bytes);
    // Forgets the record in progress (a port opened anew, closed or lost).
    void ClearArrivedBytes();
    // What the records received mean: before "开始" the newest reading waits for the next poll;
    // while receiving they are shown and their reading is taken into the boxes, or in the
    // automatic mode queued for its ticks.
    void TakeRecords(const std::vector<std::string>& records);
    // The status box: the last records received and what has come of the next.
    void ShowArrived();
    // A received record's fields, and whether it holds a reading (a status line does not).
    std::vector<std::string> RecordFields(const std::string& record) const;
    bool IsReading(const std::string& record) const;
    // Of the records, oldest first, the newest that is a reading; when none is, the newest
    // record, so that what is no reading is still reported. Empty when there is no record.
    std::string NewestReading(const std::vector<std::string>& records) const;
    // The newest reading of the record waiting from before and those completed now; none waits.
    std::string TakeNewestReading();
    std::string TakeNewestReading(std::vector<std::string> records);
    // Puts the reading fields of a record into the boxes; false when the record is no reading.
    bool FillReading(const std::vector<std::string>& fields);
    // Ends the automatic mode: its timer stops and the boxes take typed readings again.
    void StopAutomaticMode();
    bool receiving_ = false;
    // What arrives on the instrument's port, gathered into records.
    SerialLineCollector instrumentLines_;
    // The newest record that arrived before "开始", kept for the next poll.
    std::string waitingRecord_;
    // The last records shown in the status box.
    std::deque<std::string> shownRecords_;
    // Ends a record of an instrument that sends no end mark, once the line has been quiet.
    std::unique_ptr<Timer> quietTimer_;
    // The automatic mode is on (its timer pauses while a tick works).
    bool autoRunning_ = false;
    // Readings received while the automatic mode runs, oldest first, each for one tick, so that a
    // reading is never replaced by the next before a tick has taken it.
    std::deque<std::string> autoQueue_;
    // A tick has dealt with the reading in the boxes: the next takes the next in the queue.
    bool boxesTicked_ = false;
};

// The main window's "Survy(&F)": makes and places the capture window, shows it and, when asked,
// takes what the instrument has sent.
void OpenCaptureWindow(App& app, bool poll);

}  // namespace movra
