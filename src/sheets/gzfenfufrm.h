#pragma once
#include <cstdint>
#include <string>

#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;
struct SheetWriteFailure;

// The window's own state while it is loaded.
struct SheetDivisionParams {
    // -1 a stop was requested (or no division runs), 0 a division may go on.
    std::int16_t StopFlag = 0;
    // The map extent in ground units.
    double MinX = 0, MinY = 0, MaxX = 0, MaxY = 0;
};

// How a division ended.
struct SheetDivisionOutcome {
    bool stopped = false;
    int written = 0;   // sheets written
    int failed = 0;    // sheets that hold features but could not be written
    int indexFailed = 0;  // sheets written but not entered in the sheet index
    // The first file that could not be written and why: told when the division ends.
    std::string firstFailurePath, firstFailureReason;
};

// The sheet division window: cuts the whole map along the sheet grid and writes one compact map
// file per sheet that holds features, with the sheet index, into the output folder; or inserts one
// decorated sheet frame at the sheet of the last picked point.
class gzfenfufrm : public FormModel {
public:
    explicit gzfenfufrm(App& app);

    App& app;

    Label Label1, Label2;
    TextBox Text1;
    Label Label3;
    Label Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label11, Label12, Label13;
    TextBox Text2, Text3, Text4, Text5, Text6, Text7, Text8, Text9, Text10, Text11;
    CommandButton Command1, Command2, Command3, Command4;
    ProgressBar ProgressBar1;

    SheetDivisionParams params;
    SheetDivisionOutcome outcome;

    void Form_Load() override;
    // "插入一副图廓": one frame at the sheet of the last picked point, then the window closes.
    void Command1_Click();
    // "退出".
    void Command2_Click();
    // "开始分幅".
    void Command3_Click();
    // "停止分幅".
    void Command4_Click();
    // "其它位置...": picks the output folder through a save dialog.
    void Label3_Click();
    void Label3_MouseMove(int button, int shift, double x, double y);

    void ComputeMapExtent();
    void CutAlongSheetGrid();
    void SaveAllSheets();

private:
    void Step(double amount, double wrapTo);
    void RedLine(double x1, double y1, double x2, double y2);
    void NoteFailure(const SheetWriteFailure& failure);
    bool PrepareOutputFolder();
};

// What the toolbar's "图廓一幅" does: the window modal with only "插入一副图廓" and "退出" usable,
// then the canvas redrawn.
void ShowSheetFrameWindow(App& app);
// What the settings window's "进行标准分幅" does: the window shown without waiting, its buttons as
// designed; it stays loaded until it is closed or shown again.
void ShowStandardDivisionWindow(App& app);
// What "进行不规则分幅" does: the window modal with both division buttons usable.
void ShowIrregularDivisionWindow(App& app);

}  // namespace movra
