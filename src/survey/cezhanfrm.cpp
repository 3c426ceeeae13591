#include "survey/cezhanfrm.h"

#include <algorithm>

#include "App.h"
#include "basic/Numbers.h"
#include "document/Geometry.h"
#include "document/PointSearch.h"
#include "editing/ToolEngine.h"
#include "editing/ToolState.h"
#include "survey/SurveyCapture.h"

namespace movra {

namespace {

std::string Num(double value) { return PlainNumberText(value); }

}  // namespace

cezhanfrm::cezhanfrm(App& application)
    : FormModel(application.platform, "cezhanfrm"),
      app(application),
      Label1(*this, "Label1"), Label2(*this, "Label2"), Label3(*this, "Label3"),
      Label7(*this, "Label7"), Label4(*this, "Label4"), Label5(*this, "Label5"), Label6(*this, "Label6"),
      Text1(*this, "Text1"), Text2(*this, "Text2"), Text3(*this, "Text3"), Text4(*this, "Text4"),
      Text5(*this, "Text5"), Text6(*this, "Text6"), Text7(*this, "Text7"), Text8(*this, "Text8"),
      Text9(*this, "Text9"), Text10(*this, "Text10"), Text11(*this, "Text11"), Text12(*this, "Text12"),
      Label12(*this, "Label12"), Label13(*this, "Label13"),
      Text17(*this, "Text17"), Text18(*this, "Text18"), Text19(*this, "Text19"), Text20(*this, "Text20"),
      Label8(*this, "Label8"), Label9(*this, "Label9"), Label10(*this, "Label10"), Label11(*this, "Label11"),
      Text13(*this, "Text13"), Text14(*this, "Text14"), Text15(*this, "Text15"), Text16(*this, "Text16"),
      Label19(*this, "Label19"), Text26(*this, "Text26"),
      Command1(*this, "Command1"), Command2(*this, "Command2"), Command4(*this, "Command4") {
    SetCaption("测站设置");
    Move(0, 0, 9600, 4500);
    // Three rows under the column captions; the azimuth and distance of the two directions to the
    // right of their rows; the heights in a line below with the zero reading beside them.
    const double rowCaptionLeft = 120, column0 = 1320, columnStep = 1500, columnWidth = 1400;
    const double rowTop[3] = {540, 960, 1380};
    Label7.Move(column0, 180, columnWidth, 300);
    Label4.Move(column0 + columnStep, 180, columnWidth, 300);
    Label5.Move(column0 + 2 * columnStep, 180, columnWidth, 300);
    Label6.Move(column0 + 3 * columnStep, 180, columnWidth, 300);
    Label12.Move(column0 + 4 * columnStep, 180, 1000, 300);
    Label13.Move(column0 + 4 * columnStep + 1100, 180, 1000, 300);
    Label* rowCaptions[3] = {&Label1, &Label2, &Label3};
    for (int row = 0; row < 3; ++row) {
        rowCaptions[row]->Move(rowCaptionLeft, rowTop[row] + 30, 1100, 300);
        for (int column = 0; column < 4; ++column)
            Box(row, column).Move(column0 + column * columnStep, rowTop[row], columnWidth, 330);
    }
    const Rgb grey = MakeRgb(192, 192, 192);
    Text17.Move(column0 + 4 * columnStep, rowTop[1], 1000, 330);
    Text18.Move(column0 + 4 * columnStep + 1100, rowTop[1], 1000, 330);
    Text19.Move(column0 + 4 * columnStep, rowTop[2], 1000, 330);
    Text20.Move(column0 + 4 * columnStep + 1100, rowTop[2], 1000, 330);
    for (TextBox* display : {&Text17, &Text18, &Text19, &Text20}) {
        display->SetBackColor(grey);
        display->SetLocked(true);
    }
    Label* heightCaptions[4] = {&Label8, &Label9, &Label10, &Label11};
    TextBox* heights[4] = {&Text13, &Text14, &Text15, &Text16};
    for (int k = 0; k < 4; ++k) {
        heightCaptions[k]->Move(column0 + k * columnStep, 1920, columnWidth, 300);
        heights[k]->Move(column0 + k * columnStep, 2250, columnWidth, 330);
    }
    Label19.Move(column0 + 4 * columnStep, 1920, 2100, 300);
    Text26.Move(column0 + 4 * columnStep, 2250, 2100, 330);
    Command1.Move(column0, 3000, 1400, 420);
    Command2.Move(column0 + columnStep, 3000, 1400, 420);
    Command4.Move(column0 + 3 * columnStep, 3000, 1800, 420);

    Label1.SetCaption("测站");
    Label2.SetCaption("零方向");
    Label3.SetCaption("检查方向");
    Label7.SetCaption("点名");
    Label4.SetCaption("纵坐标");
    Label5.SetCaption("横坐标");
    Label6.SetCaption("高程");
    Label12.SetCaption("方位角");
    Label13.SetCaption("距离");
    Label8.SetCaption("仪器高");
    Label9.SetCaption("砧标高1");
    Label10.SetCaption("砧标高2");
    Label11.SetCaption("砧标高3");
    Label19.SetCaption("零方向读数");
    Command1.SetCaption("屏选");
    Command2.SetCaption("调整");
    Command4.SetCaption("设置完毕");

    for (int row = 0; row < 3; ++row) {
        Box(row, 0).onChange = [this, row] { NameBox_Change(row); };
        Box(row, 0).onClick = [this, row] { NameBox_Click(row); };
    }
    for (TextBox* box : {&Text2, &Text3, &Text4}) box->onChange = [this] { StationBox_Change(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
}

cezhanfrm::~cezhanfrm() {
    // A pick armed by this dialog must not reach it once it is gone.
    if (app.tool.StationPicked) app.tool.StationPicked = nullptr;
}

TextBox& cezhanfrm::Box(int row, int column) {
    static constexpr TextBox cezhanfrm::* boxes[3][4] = {
        {&cezhanfrm::Text1, &cezhanfrm::Text2, &cezhanfrm::Text3, &cezhanfrm::Text4},
        {&cezhanfrm::Text5, &cezhanfrm::Text6, &cezhanfrm::Text7, &cezhanfrm::Text8},
        {&cezhanfrm::Text9, &cezhanfrm::Text10, &cezhanfrm::Text11, &cezhanfrm::Text12},
    };
    return this->*boxes[std::clamp(row, 0, 2)][std::clamp(column, 0, 3)];
}

// Azimuth (ddd.mmss) and distance from the station to row 1 or 2, from the stored set-up.
void cezhanfrm::ShowDirection(int row) {
    const StationSetup& s = app.station;
    const double azimuth = RadToDms(Azimuth(s.StationX[0], s.StationY[0], s.StationX[row], s.StationY[row]));
    const double distance = Dist(s.StationX[0], s.StationY[0], s.StationX[row], s.StationY[row]);
    (row == 1 ? Text17 : Text19).SetText(DmsText(azimuth));
    (row == 1 ? Text18 : Text20).SetText(Num(distance));
}

void cezhanfrm::SetRowEnabled(int row, bool enabled) {
    for (int column = 0; column < 4; ++column) Box(row, column).SetEnabled(enabled);
}

void cezhanfrm::FillRowNumbers(int row) {
    const StationSetup& s = app.station;
    Box(row, 1).SetText(Num(s.StationY[row]));
    Box(row, 2).SetText(Num(s.StationX[row]));
    Box(row, 3).SetText(Num(s.StationH[row]));
}

void cezhanfrm::Form_Load() {
    StationSetup& s = app.station;
    for (int row = 0; row < 3; ++row) {
        // The name goes in first: its look-up may fill the row, which the stored values then
        // overwrite with the same numbers.
        const std::string name = s.StationName[row];
        Box(row, 0).SetText(name);
        FillRowNumbers(row);
    }
    Text13.SetText(Num(s.StationY[3]));
    Text14.SetText(Num(s.StationX[3]));
    Text15.SetText(Num(s.StationH[3]));
    Text16.SetText(Num(s.StationAux[3]));
    Text26.SetText(DmsText(RadToDms(s.StationAngles[0])));
    ShowDirection(2);
    ShowDirection(1);
}

void cezhanfrm::NameBox_Change(int row) {
    try {
        StationSetup& s = app.station;
        const std::string& name = Box(row, 0).Text();
        s.StationName[row] = name;
        if (PickArmed == -1) return;
        // An emptied name box is no name to look for (an unnamed point would match it).
        if (name.empty()) return;
        if (FindPointByName(app, name, static_cast<std::uint8_t>(row))) {
            FillRowNumbers(row);
            SetRowEnabled(row, false);
            s.PickRow = static_cast<std::uint8_t>(row);
            if (row != 0) ShowDirection(row);
        } else {
            for (int column = 1; column < 4; ++column) Box(row, column).SetText("");
        }
    } catch (...) {
    }
}

void cezhanfrm::NameBox_Click(int row) { app.station.PickRow = static_cast<std::uint8_t>(row); }

void cezhanfrm::StationBox_Change() {
    try {
        ShowDirection(2);
        ShowDirection(1);
    } catch (...) {
    }
}

void cezhanfrm::Command1_Click() {
    if (!Box(app.station.PickRow, 0).Enabled()) return;
    SetSnapping(app, true);
    app.tool.SnapOn = -1;
    app.tool.CommandMode = ModePickStation;
    app.tool.StationPicked = [this](App&) { PickStationPoint(); };
    PickArmed = -1;
    Hide();
}

void cezhanfrm::PickStationPoint() {
    StationSetup& s = app.station;
    const int row = std::min<int>(s.PickRow, 2);
    try {
        const SnapVertexRef v = app.tool.PickedStation;
        if (v.Vertex >= 1 && v.Vertex <= 4) {
            const MapRecord& r = app.store.Get(v.Layer, v.Slot);
            const double xs[4] = {r.RecordX1, r.RecordX2, r.RecordX3, r.RecordX4};
            const double ys[4] = {r.RecordY1, r.RecordY2, r.RecordY3, r.RecordY4};
            const float zs[4] = {r.RecordZ1, r.RecordZ2, r.RecordZ3, r.RecordZ4};
            s.StationX[row] = xs[v.Vertex - 1];
            s.StationY[row] = ys[v.Vertex - 1];
            s.StationH[row] = zs[v.Vertex - 1];
            s.StationName[row] = std::string(r.RecordText);
        }
    } catch (...) {
        // A vertex that is no longer in the store leaves the row as it was.
    }
    FillRowNumbers(row);
    Box(row, 0).SetText(s.StationName[row]);
    SetRowEnabled(row, false);
    if (row != 0) ShowDirection(row);
    s.PickRow = static_cast<std::uint8_t>((row + 1) % 3);
    SetSnapping(app, false);
    app.tool.SnapOn = 0;
    app.tool.CommandMode = ModeIdle;
    app.tool.StationPicked = nullptr;
    Show(true);
}

void cezhanfrm::Command2_Click() {
    StationSetup& s = app.station;
    const int next = (std::min<int>(s.PickRow, 2) + 1) % 3;
    SetRowEnabled(next, true);
    s.PickRow = static_cast<std::uint8_t>(next);
    PickArmed = 0;
}

void cezhanfrm::StoreStationSetup() {
    try {
        StationSetup& s = app.station;
        for (int row = 0; row < 3; ++row) {
            s.StationName[row] = Box(row, 0).Text();
            s.StationY[row] = NumericPrefix(Box(row, 1).Text());
            s.StationX[row] = NumericPrefix(Box(row, 2).Text());
            s.StationH[row] = NumericPrefix(Box(row, 3).Text());
        }
        s.StationY[3] = NumericPrefix(Text13.Text());
        s.StationX[3] = NumericPrefix(Text14.Text());
        s.StationH[3] = NumericPrefix(Text15.Text());
        s.StationAux[3] = NumericPrefix(Text16.Text());
        ShowDirection(2);
        ShowDirection(1);
        s.StationAngles[0] = DmsToRad(NumericPrefix(Text26.Text()));
        s.StationAngles[1] = Azimuth(s.StationX[0], s.StationY[0], s.StationX[1], s.StationY[1]);
    } catch (...) {
    }
}

void cezhanfrm::Form_Click() { StoreStationSetup(); }

void cezhanfrm::Command4_Click() {
    StoreStationSetup();
    ResetSurveyVertexStates(app);
    app.tool.CommandMode = ModeIdle;
    app.tool.StationPicked = nullptr;
    Unload();
}

void ShowStationSetup(App& app) {
    if (!app.stationDialog || !app.stationDialog->Loaded()) app.stationDialog = std::make_shared<cezhanfrm>(app);
    app.stationDialog->Show(true);
}

}  // namespace movra
