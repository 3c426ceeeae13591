#pragma once
// "测站设置", the station set-up: the station, the zero direction and the check direction, each
// by a name the map holds, a vertex picked on the canvas or typed coordinates; the instrument and
// target heights and the circle reading on the zero direction. The set-up lives in app.station.
#include <cstdint>

#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

class cezhanfrm : public FormModel {
public:
    explicit cezhanfrm(App& app);
    ~cezhanfrm() override;

    App& app;

    Label Label1, Label2, Label3;            // row captions
    Label Label7, Label4, Label5, Label6;    // column captions
    TextBox Text1, Text2, Text3, Text4;      // station: name, northing, easting, elevation
    TextBox Text5, Text6, Text7, Text8;      // zero direction
    TextBox Text9, Text10, Text11, Text12;   // check direction
    Label Label12, Label13;                  // "方位角", "距离"
    TextBox Text17, Text18;                  // azimuth and distance to the zero direction
    TextBox Text19, Text20;                  // azimuth and distance to the check direction
    Label Label8, Label9, Label10, Label11;  // height captions
    TextBox Text13, Text14, Text15, Text16;  // instrument height, target heights 1 to 3
    Label Label19;
    TextBox Text26;                          // circle reading on the zero direction (ddd.mmss)
    CommandButton Command1;                  // "屏选"
    CommandButton Command2;                  // "调整"
    CommandButton Command4;                  // "设置完毕"

    // -1 once "屏选" was pressed, 0 after "调整": while -1 the name boxes look nothing up.
    std::int16_t PickArmed = 0;

    void Form_Load() override;
    void Form_Click();
    void NameBox_Change(int row);
    void NameBox_Click(int row);
    void StationBox_Change();
    void Command1_Click();
    void Command2_Click();
    void Command4_Click();
    // Copies the boxes into the stored set-up.
    void StoreStationSetup();
    // Fills the row PickRow from the snapped vertex, locks it and shows the dialog again.
    void PickStationPoint();

    // The four boxes of a row: name, northing, easting, elevation.
    TextBox& Box(int row, int column);

private:
    void ShowDirection(int row);
    void SetRowEnabled(int row, bool enabled);
    void FillRowNumbers(int row);
};

// The menu command "设站": shows the station set-up modally over the stored set-up.
void ShowStationSetup(App& app);

}  // namespace movra
