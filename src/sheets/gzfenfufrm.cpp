#include "sheets/gzfenfufrm.h"

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <memory>
#include <system_error>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "display/LineSink.h"
#include "display/RecordRenderer.h"
#include "document/RecordTypes.h"
#include "display/Redraw.h"
#include "document/RecordStore.h"
#include "document/SaveFailure.h"
#include "platform/CommonDialog.h"
#include "platform/Events.h"
#include "platform/Prompt.h"
#include "sheets/FrameInsertion.h"
#include "sheets/SheetFiles.h"
#include "sheets/SheetFrameTemplate.h"
#include "sheets/SheetIndex.h"
#include "sheets/SheetLineCut.h"
#include "sheets/SheetPlacement.h"

namespace movra {

namespace {

constexpr double ExtentStart = 1000000000;
constexpr double ProgressTop = 200;

const char* const StopCaption = "停止分幅";
const char* const DoneCaption = "已完成分幅";
const char* const StoppedCaption = "已停止分幅";
const char* const ScaleNotSetMessage = "工程比例尺未设置，不能分幅";
const char* const FolderNotMadeMessage = "分幅图保存位置无法建立，未分幅：";

// The vertices that give a record's extent, by type.
int ExtentVertices(int type) {
    switch (type) {
        case 2: case 12: case 42: case 201: case 211: return 2;
        case 3: case 43: return 3;
        case 4: case 5: case 6: case 44: case 45: return 4;
        case 7: case 8: case 9: case 62: return 1;
        default:
            if ((type >= 15 && type <= 19) || (type >= 64 && type <= 68)) return 1;
            return 0;
    }
}

double VertexXOf(const MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordX1;
        case 2: return r.RecordX2;
        case 3: return r.RecordX3;
        default: return r.RecordX4;
    }
}
double VertexYOf(const MapRecord& r, int k) {
    switch (k) {
        case 1: return r.RecordY1;
        case 2: return r.RecordY2;
        case 3: return r.RecordY3;
        default: return r.RecordY4;
    }
}

// The folder name as typed: "\" taken as "/", blanks trimmed.
std::string FolderOf(const std::string& text) {
    std::string folder = Trim(text);
    for (char& c : folder)
        if (c == '\\') c = '/';
    return folder;
}

}  // namespace

gzfenfufrm::gzfenfufrm(App& application)
    : FormModel(application.platform, "gzfenfufrm"),
      app(application),
      Label1(*this, "Label1"),
      Label2(*this, "Label2"),
      Text1(*this, "Text1"),
      Label3(*this, "Label3"),
      Label4(*this, "Label4"),
      Label5(*this, "Label5"),
      Label6(*this, "Label6"),
      Label7(*this, "Label7"),
      Label8(*this, "Label8"),
      Label9(*this, "Label9"),
      Label10(*this, "Label10"),
      Label11(*this, "Label11"),
      Label12(*this, "Label12"),
      Label13(*this, "Label13"),
      Text2(*this, "Text2"),
      Text3(*this, "Text3"),
      Text4(*this, "Text4"),
      Text5(*this, "Text5"),
      Text6(*this, "Text6"),
      Text7(*this, "Text7"),
      Text8(*this, "Text8"),
      Text9(*this, "Text9"),
      Text10(*this, "Text10"),
      Text11(*this, "Text11"),
      Command1(*this, "Command1"),
      Command2(*this, "Command2"),
      Command3(*this, "Command3"),
      Command4(*this, "Command4"),
      ProgressBar1(*this, "ProgressBar1") {
    SetCaption("gzfenfufrm");
    Label1.SetCaption("规则分幅的比例尺为1：");
    Label2.SetCaption("分幅图保存位置（文件夹）：例“D:\\temp\\”");
    Text1.SetText(JoinPath(app.platform.folders().DesktopFolder(), "分幅图/"));
    Label3.SetCaption("其它位置...");
    struct Field {
        Label& label;
        TextBox& text;
        const char* caption;
        const char* value;
    };
    Field fields[] = {
        {Label4, Text2, "作业单位全称：", "Velmar"},
        {Label5, Text3, "测图日期与方法：", "2000年1月XXX测图。"},
        {Label6, Text4, "坐标系：", "1954年北京坐标系。"},
        {Label7, Text5, "高程基准：", "1985国家高程基准，等高距为1米。"},
        {Label8, Text6, "图式版本：", "1996年版图式。"},
        {Label9, Text7, "测量员：", "李明"},
        {Label10, Text8, "绘图员：", "王芳"},
        {Label11, Text9, "检查员：", "张伟"},
        {Label12, Text10, "密级：", "秘密"},
        {Label13, Text11, "附注：", ""},
    };
    // Twips: labels in the left column, boxes to their right.
    Label1.Move(120, 120, 6000, 300);
    Label2.Move(120, 480, 6000, 300);
    Text1.Move(120, 800, 5000, 330);
    Label3.Move(5220, 830, 1000, 300);
    double top = 1300;
    for (Field& f : fields) {
        f.label.SetCaption(f.caption);
        f.text.SetText(f.value);
        f.label.Move(120, top + 30, 1800, 300);
        f.text.Move(1950, top, 4300, 330);
        top += 400;
    }
    ProgressBar1.SetMin(0);
    ProgressBar1.SetMax(ProgressTop);
    ProgressBar1.Move(120, top + 60, 6130, 260);
    top += 420;
    Command1.SetCaption("插入一副图廓");
    Command2.SetCaption("退出");
    Command3.SetCaption("开始分幅");
    Command4.SetCaption(StopCaption);
    Command1.Move(120, top, 1450, 420);
    Command2.Move(1680, top, 1450, 420);
    Command3.Move(3240, top, 1450, 420);
    Command4.Move(4800, top, 1450, 420);

    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Label3.onClick = [this] { Label3_Click(); };
    Label3.onMouseMove = [this](int button, int shift, double x, double y) { Label3_MouseMove(button, shift, x, y); };
}

void gzfenfufrm::Form_Load() {
    Label1.SetCaption("规则分幅的比例尺为1：" + PlainNumberText(app.view.ProjectParams[0]));
    app.sheets.SheetOutputFolder = Trim(Text1.Text());
    if (app.sheets.FrameItemCount > 60) {
        auto text = [this](int slot) { return std::string(app.store.Get(0, slot).RecordText); };
        // The four annotations with a prefix of three characters ("测量员", "附注：") lose it.
        auto after3 = [&](int slot) { return Mid(text(slot), 4); };
        Text10.SetText(text(740));
        Text3.SetText(text(741));
        Text4.SetText(text(742));
        Text5.SetText(text(743));
        Text6.SetText(text(744));
        Text2.SetText(text(748));
        Text7.SetText(after3(745));
        Text8.SetText(after3(746));
        Text9.SetText(after3(747));
        Text11.SetText(after3(749));
    }
}

namespace {

SheetFrameTexts TextsOf(const gzfenfufrm& f) {
    SheetFrameTexts t;
    t.Text2 = f.Text2.Text();
    t.Text3 = f.Text3.Text();
    t.Text4 = f.Text4.Text();
    t.Text5 = f.Text5.Text();
    t.Text6 = f.Text6.Text();
    t.Text7 = f.Text7.Text();
    t.Text8 = f.Text8.Text();
    t.Text9 = f.Text9.Text();
    t.Text10 = f.Text10.Text();
    t.Text11 = f.Text11.Text();
    return t;
}

}  // namespace

void gzfenfufrm::Command1_Click() {
    if (BuildSheetFrameTemplate(app, TextsOf(*this))) AddSheetFrame(app, app.tool.AnchorX, app.tool.AnchorY);
    Unload();
}

void gzfenfufrm::Command2_Click() { Unload(); }

void gzfenfufrm::Command4_Click() {
    params.StopFlag = -1;
    Command1.SetEnabled(true);
    Command2.SetEnabled(true);
    Command3.SetEnabled(true);
    Text1.SetEnabled(true);
}

void gzfenfufrm::Label3_MouseMove(int button, int, double, double) {
    if (button == 0) {
        Label3.SetBorderStyle(1);
        Label3.SetForeColor(MakeRgb(0, 0, 255));
    }
}

void gzfenfufrm::Label3_Click() {
    Label3.SetBorderStyle(0);
    Label3.SetForeColor(SystemColor);
    FileDialogRequest request;
    request.title = "保存为*.jdx（简短型）";
    request.filter = "*.jdx|*.jdx";
    request.initialDir = FolderOf(Text1.Text());
    const FileDialogResult chosen = app.platform.dialogs().ShowSave(request);
    if (chosen.cancelled || chosen.fileName.empty()) return;
    std::string name = FolderOf(chosen.fileName);
    const auto cut = name.find_last_of('/');
    const std::string folder = cut == std::string::npos ? std::string() : name.substr(0, cut + 1);
    Text1.SetText(folder);
    app.sheets.SheetOutputFolder = folder;
}

// The folder was taken from Text1 when the window loaded, or from the picker since; what is typed
// into Text1 afterwards does not move it.
bool gzfenfufrm::PrepareOutputFolder() {
    const std::string folder = FolderOf(app.sheets.SheetOutputFolder);
    std::error_code error;
    bool usable = !folder.empty();
    if (usable) {
        const std::filesystem::path path(folder);
        std::filesystem::create_directories(path, error);
        usable = std::filesystem::is_directory(path, error);
        if (usable) {
            // A folder that exists can still refuse new files.
            const std::filesystem::path probe = path / ".movra-probe";
            { std::ofstream out(probe); usable = static_cast<bool>(out); }
            std::filesystem::remove(probe, error);
        }
    }
    if (!usable) app.platform.prompt().MsgBox(FolderNotMadeMessage + folder, MsgOkOnly, "分幅");
    return usable;
}

void gzfenfufrm::Step(double amount, double wrapTo) {
    double value = ProgressBar1.Value() + amount;
    if (value > ProgressTop - 10) value = wrapTo;
    ProgressBar1.SetValue(std::clamp(value, 0.0, ProgressTop));
}

void gzfenfufrm::RedLine(double x1, double y1, double x2, double y2) {
    CanvasLine(MainCanvas(app), x1, y1, x2, y2, app.tables.ColorPalette[1]);
}

void gzfenfufrm::NoteFailure(const SheetWriteFailure& failure) {
    if (failure.index) ++outcome.indexFailed;
    if (outcome.firstFailurePath.empty()) {
        outcome.firstFailurePath = failure.path;
        outcome.firstFailureReason = failure.reason;
    }
}

void gzfenfufrm::Command3_Click() {
    if (!(app.view.ProjectParams[0] > 0)) {
        app.platform.prompt().MsgBox(ScaleNotSetMessage, MsgOkOnly, "分幅");
        return;
    }
    if (!PrepareOutputFolder()) return;
    outcome = {};
    params.StopFlag = 0;
    Command1.SetEnabled(false);
    Command2.SetEnabled(false);
    Command3.SetEnabled(false);
    Command4.SetEnabled(true);
    Command4.SetCaption(StopCaption);
    Text1.SetEnabled(false);
    ProgressBar1.SetValue(0);
    // The division yields to the window as it goes; meanwhile only its stop button acts.
    struct LongCommand {
        explicit LongCommand(App& a) : app(a) { app.tool.LongCommandRunning = -1; }
        ~LongCommand() { app.tool.LongCommandRunning = 0; }
        App& app;
    } running(app);

    GuardToMessageBox(app.platform.prompt(), [&] {
        if (!BuildSheetFrameTemplate(app, TextsOf(*this))) params.StopFlag = -1;
    });
    ProgressBar1.SetValue(10);
    ComputeMapExtent();
    ProgressBar1.SetValue(20);
    CutAlongSheetGrid();
    ProgressBar1.SetValue(100);
    SaveAllSheets();
    ProgressBar1.SetValue(ProgressTop);

    outcome.stopped = params.StopFlag == -1;
    params.StopFlag = -1;
    Command1.SetEnabled(true);
    Command2.SetEnabled(true);
    Command3.SetEnabled(true);
    std::string failures;
    if (outcome.failed > 0) failures += "，" + std::to_string(outcome.failed) + "幅未能保存";
    if (outcome.indexFailed > 0) failures += "，" + std::to_string(outcome.indexFailed) + "幅未记入索引卷";
    if (outcome.stopped)
        Command4.SetCaption(StoppedCaption);
    else
        Command4.SetCaption(DoneCaption + failures);
    Command4.SetEnabled(false);
    // Once, at the end: the first file that failed and why, and how many did.
    if (!outcome.firstFailurePath.empty())
        TellSaveFailed(app, outcome.firstFailurePath, outcome.firstFailureReason + "\n" + failures.substr(std::string("，").size()));
}

void gzfenfufrm::ComputeMapExtent() {
    params.MinX = params.MinY = ExtentStart;
    params.MaxX = params.MaxY = 0;
    auto take = [this](double x, double y) {
        if (!(x >= 1 || y >= 1) || !std::isfinite(x) || !std::isfinite(y)) return;
        params.MinX = std::min(params.MinX, x);
        params.MinY = std::min(params.MinY, y);
        params.MaxX = std::max(params.MaxX, x);
        params.MaxY = std::max(params.MaxY, y);
    };
    bool stopped = false;
    GuardToMessageBox(app.platform.prompt(), [&] {
        const auto& store = app.store;
        for (int layer = 1; layer <= store.LayerCount && !stopped; ++layer) {
            const int count = store.Count(layer);
            if (count < 1) continue;
            double value = ProgressBar1.Value() + 1;
            if (value == ProgressTop) value = 1;
            ProgressBar1.SetValue(value);
            for (int slot = 0; slot < count; ++slot) {
                if (params.StopFlag == -1) {
                    stopped = true;
                    break;
                }
                const MapRecord& r = store.Get(layer, slot);
                const int type = r.RecordType;
                const int n = ExtentVertices(type);
                for (int k = 1; k <= n; ++k) take(VertexXOf(r, k), VertexYOf(r, k));
                // The point by which a sheet takes the record counts too, or a record placed
                // outside the vertices above would be in no sheet.
                if (type != TypeEmpty && !IsDeletedType(type)) {
                    const bool byFourth = type == 8 || type == 61 || type == 62;
                    take(byFourth ? r.RecordX4 : r.RecordX1, byFourth ? r.RecordY4 : r.RecordY1);
                }
            }
        }
    });
    if (stopped) return;
    Surface& canvas = MainCanvas(app);
    canvas.Line(params.MinX, params.MinY, params.MaxX, params.MaxY, app.tables.ColorPalette[1], LineShape::Box);
}

void gzfenfufrm::CutAlongSheetGrid() {
    const double side = SheetSide(app);
    if (!(side > 0)) return;
    GuardToMessageBox(app.platform.prompt(), [&] {
        double x = side * std::floor((side + params.MinX) / side);
        do {
            app.platform.events().DoEvents();
            if (params.StopFlag == -1) return;
            CutFeaturesAlongLine(app, x, params.MinY, x, params.MaxY);
            RedLine(x, params.MinY, x, params.MaxY);
            Step(10, 20);
            x += side;
        } while (x <= params.MaxX);
        double y = side * std::floor((side + params.MinY) / side);
        do {
            app.platform.events().DoEvents();
            if (params.StopFlag == -1) return;
            CutFeaturesAlongLine(app, params.MinX, y, params.MaxX, y);
            RedLine(params.MinX, y, params.MaxX, y);
            Step(10, 50);
            y += side;
        } while (y <= params.MaxY);
    });
}

void gzfenfufrm::SaveAllSheets() {
    const double side = SheetSide(app);
    if (!(side > 0)) return;
    // Each sheet file is synced as it is written; the index, with the entries of every sheet this
    // pass made, and the folder once, when the pass ends however it ends: the division says it is
    // done only after that.
    PendingFolderSyncs folderSyncs;
    SheetWriteContext context{params.MinX, params.MinY, params.MaxX, params.MaxY,
                              [this](const std::string& caption) { SetCaption(caption); },
                              [this](const SheetWriteFailure& failure) { NoteFailure(failure); }, &folderSyncs};
    SheetIndexBatch index(app, context);
    context.index = &index;
    GuardToMessageBox(app.platform.prompt(), [&] {
        // Every record sorted into its sheets at once: each sheet is then written from its own
        // list, and a cell without one writes nothing. Only the stop button acts while the pass
        // yields, so the store stays as it was sorted.
        const SheetContents contents = SortRecordsIntoSheets(app, side);
        const double firstColumn = std::floor(params.MinX / side);
        const double firstRow = std::floor(params.MinY / side);
        double reset = 100;
        // The cell that holds the maximum belongs to the pass too.
        for (double row = firstRow; row * side <= params.MaxY; ++row) {
            for (double column = firstColumn; column * side <= params.MaxX; ++column) {
                app.platform.events().DoEvents();
                if (params.StopFlag == -1) return;
                const double x0 = column * side, y0 = row * side;
                const std::vector<RecordPlace>& records = contents.Of(column, row);
                if (!records.empty()) {
                    if (SaveSheet(app, x0, y0, side, records, context)) {
                        ++outcome.written;
                        RedLine(x0, y0, x0 + side, y0 + side);
                    } else {
                        ++outcome.failed;
                    }
                }
                Step(10, std::min(reset, ProgressTop - 10));
            }
            reset += 5;
        }
    });
    index.Commit();
    folderSyncs.Sync();
}

void ShowSheetFrameWindow(App& app) {
    auto window = std::make_shared<gzfenfufrm>(app);
    window->Load();
    window->Command3.SetEnabled(false);
    window->Command4.SetEnabled(false);
    window->Show(true);
    刷新(app);
}

void ShowStandardDivisionWindow(App& app) {
    if (app.sheetDivisionWindow && app.sheetDivisionWindow->Loaded()) app.sheetDivisionWindow->Unload();
    app.sheetDivisionWindow = std::make_shared<gzfenfufrm>(app);
    app.sheetDivisionWindow->Show(false);
}

void ShowIrregularDivisionWindow(App& app) {
    auto window = std::make_shared<gzfenfufrm>(app);
    window->Load();
    window->Command3.SetEnabled(true);
    window->Command4.SetEnabled(true);
    window->Show(true);
}

}  // namespace movra
