#include "shell/MainToolbar.h"

#include <functional>
#include <map>

#include "App.h"
#include "editing/ToolEngine.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/CanvasPictures.h"
#include "display/Redraw.h"
#include "document/BlockFile.h"
#include "document/InsertDrawingFile.h"
#include "document/Layers.h"
#include "document/OpenDialogs.h"
#include "document/SaveDialogs.h"
#include "document/JdxFile.h"
#include "document/UndoJournal.h"
#include "document/UndoRedo.h"
#include "document/WtwFile.h"
#include "document/csForm2.h"
#include "exchange/PointGroupImport.h"
#include "exchange/wbxxFrm.h"
#include "platform/Toolbar.h"
#include "printing/dayinfrm.h"
#include "sheets/gzfenfufrm.h"
#include "sheets/hbtuFrm.h"
#include "shell/ToolbarIcons.h"
#include "shell/ToolbarRows.h"
#include "shell/hlep_frm.h"
#include "shell/stForm1.h"
#include "survey/Tyhdfrm.h"
#include "survey/cezhanfrm.h"
#include "symbols/chaxunfrm.h"
#include "symbols/zjForm4.h"

namespace movra {

namespace {

constexpr Rgb LampRed = MakeRgb(255, 0, 0);
constexpr Rgb LampBlue = MakeRgb(0, 0, 255);
constexpr Rgb LampYellow = MakeRgb(255, 255, 0);

struct MenuEntry {
    const char* text;
    const char* key;  // the text when null
    bool enabled = true;
};
struct ButtonEntry {
    const char* caption;
    const char* key;  // null: a separator
    bool dropDown = false;
    std::vector<MenuEntry> menu;
};

const std::vector<ButtonEntry>& MainButtons() {
    static const std::vector<ButtonEntry> buttons = {
        {"打开", "打开", true,
         {{"新建", nullptr}, {"打开VEQA数据库", nullptr, false}, {"打开jdx", nullptr}, {"打开dxf", nullptr},
          {"打开bmp", nullptr}, {"卸载bmp背景", nullptr}, {"打开wtw", nullptr}, {"1.", "最近文件1"},
          {"2.", "最近文件2"}, {"3.", "最近文件3"}, {"4.", "最近文件4"}, {"退出", nullptr}}},
        {"保存", "存盘", true,
         {{"另存为...", "另存为"}, {"另存为jdx", nullptr}, {"另存为dxf", nullptr}, {"另存为bmp", nullptr},
          {"另存为大图片bmp", nullptr}, {"另存为wtw", nullptr}, {"put to VEQA库", "导入VEQA库", false}}},
        {"打印", "打印", true, {{"选打印范围", nullptr}}},
        {"设层", "设层", true, {{"加层", nullptr}}},
        {"", nullptr},
        {"撤消", "撤消"},
        {"反撤", "反撤"},
        {"删除", "删除"},
        {"", nullptr},
        {"cut", "剪切"},
        {"(&c)", "拷贝"},
        {"(&v)", "粘贴", true, {{"原位粘贴", nullptr}, {"至当前层", nullptr}}},
        {"", nullptr},
        {"注记", "注记", true,
         {{"矩形", nullptr}, {"类圆", nullptr}, {"裁剪", nullptr}, {"放大", nullptr}, {"缩放", nullptr},
          {"复原", nullptr}, {"移立面", nullptr}}},
        {"建模", "建模", true,
         {{"生成等高线", nullptr, false}, {"手工两点模", nullptr, false}, {"清除模", nullptr, false},
          {"选建模范围", nullptr, false}}},
        {"", nullptr},
        {"设置", "设置", true,
         {{"仪器设置", nullptr, false}, {"设站", nullptr}, {"小菜单移动", nullptr}, {"投影换带", nullptr}}},
        {"插入", "插入", true,
         {{"插入块", nullptr}, {"控制点群", nullptr}, {"碎部点群", nullptr}, {"合并图文件", nullptr},
          {"图廓一幅", nullptr}, {"撤消插入图", nullptr}, {"*************", nullptr, false},
          {"启动超级链", nullptr}}},
        {"图像", "图像", true,
         {{"插入图像", nullptr}, {"移动图像", nullptr}, {"伸缩图像", nullptr}, {"图像矢量化", nullptr, false},
          {"图像裁留范围", nullptr}, {"图像裁留", nullptr}, {"图像纠正", nullptr}, {"图象操作问答", nullptr}}},
        {"问？", "查询A", true, {{"帮助", nullptr}}},
        {"", nullptr},
    };
    return buttons;
}

const char* const ViewBarKeys[] = {"放大2", "刷新2", "复原2", "缩放2", "移动2"};

void SetText2(App& app, const std::string& text) {
    if (app.form1) app.form1->Text2.SetText(text);
}

// The roaming timer belongs to the roaming view; the toolbar only stops it.
void StopRoamingTimer(App& app) {
    if (app.form1) app.form1->Timer2.SetEnabled(false);
}

void PaintLamp(App& app, Rgb color) {
    if (app.form1) app.form1->Label6.SetBackColor(color);
}


// The question before a command replaces the open map. False when the command must stop: Cancel,
// or a Yes whose save was cancelled or failed (the map is kept rather than lost).
bool AskToSaveFirst(App& app, const std::string& text, const std::string& title) {
    if (app.current.ModifiedFlag != -1) return true;
    const int answer = app.platform.prompt().MsgBox(text, MsgYesNoCancel, title);
    if (answer == AnswerCancel) return false;
    FlushCopyBuffer(app);
    if (answer == AnswerYes) {
        SaveFileDialog(app);
        // The writers clear the flag once the file is complete.
        if (app.current.ModifiedFlag == -1) return false;
    }
    return true;
}

constexpr const char* SaveFirstText = "文件未保存，要保存吗？是_保存，否_不保存，取消";

void ClearReduction(App& app) {
    app.reduction.ReductionOffsetX = 0;
    app.reduction.ReductionOffsetY = 0;
}

void EmptySelection(App& app) { app.selection.SelectionList.assign(1, SelectedRecord{}); }

RowEnd Open(App& app) {
    if (!AskToSaveFirst(app, SaveFirstText, "打开前先保存文件！")) return RowEnd::ReturnAtOnce;
    ClearReduction(app);
    OpenDrawingDialog(app);
    刷新(app);
    return RowEnd::Done;
}

RowEnd SaveByExtension(App& app) {
    const std::string& path = app.current.CurrentFilePath;
    const std::string ending = Right(path, 4);
    if (EqualsIgnoreCase(ending, ".jdx")) {
        if (ConfirmCompactSave(app)) WriteJdxFile(app, path);
    } else if (EqualsIgnoreCase(ending, ".wtw"))
        WriteWtwFile(app, path);
    else
        app.platform.prompt().MsgBox(NotSavedMessage, MsgOkOnly);
    return RowEnd::Done;
}

RowEnd LayerDialog(App& app) {
    if (app.store.NextLayerIndex >= 255) {
        app.platform.prompt().MsgBox("层已满", MsgOkOnly);
        if (app.form2) app.form2->Unload();
        return RowEnd::ReturnAtOnce;
    }
    OpenLayerManager(app);
    return RowEnd::Done;
}

RowEnd UndoRow(App& app) {
    Undo(app);
    app.display.Redraw.SuppressTerrainPoints = 0;
    EmptySelection(app);
    刷新(app);
    return RowEnd::Done;
}

RowEnd RedoRow(App& app) {
    Redo(app);
    EmptySelection(app);
    app.display.Redraw.SuppressTerrainPoints = 0;
    刷新(app);
    return RowEnd::Done;
}

RowEnd NewMap(App& app) {
    if (!AskToSaveFirst(app, "文件未保存，要保存吗？是_保存，否_不保存，取消_不新建", "新建"))
        return RowEnd::ReturnAtOnce;
    NewDocument(app);
    ClearReduction(app);
    // The new map has no file yet: 存盘 must not write it over the map opened before.
    app.current.CurrentFilePath.clear();
    return RowEnd::Done;
}

Row OpenWith(const char* title, void (*open)(App&)) {
    return [title, open](App& app) {
        if (!AskToSaveFirst(app, SaveFirstText, title)) return RowEnd::ReturnAtOnce;
        ClearReduction(app);
        open(app);
        刷新(app);
        return RowEnd::Done;
    };
}

Row RecentFile(std::int16_t n) {
    return [n](App& app) {
        OpenRecentFile(app, n);
        return RowEnd::Done;
    };
}

Row Bitmap(std::int16_t large) {
    return [large](App& app) {
        app.display.Redraw.LargeBitmapExport = large;
        SaveCanvasBitmap(app);
        return RowEnd::Done;
    };
}

RowEnd PrintRanges(App& app) {
    app.tool.CommandMode = ModePrintRange;
    SetText2(app, "按下（左键）移出矩形范围");
    const int answer =
        app.platform.prompt().MsgBox("新开始吗？是_新开始，否_继续前面，取消_结束", MsgYesNoCancel, "选打印范围");
    if (answer == AnswerYes) {
        app.store.At(0, Layer0Slots::PrintRangeFirst).RecordZ3 = 0;
    } else if (answer == AnswerCancel) {
        app.tool.CommandMode = ModeIdle;
        SetText2(app, "");
    }
    return RowEnd::Done;
}

RowEnd AddLayerRow(App& app) {
    Prompt& prompt = app.platform.prompt();
    if (prompt.MsgBox("一但加层，将无法删除！", MsgYesNo, "要加层吗") != AnswerYes) return RowEnd::Done;
    auto& store = app.store;
    if (store.NextLayerIndex >= store.LayerCount + 1) {
        AddLayer(app);
        prompt.MsgBox("层已加,已有" + PlainNumberText(store.LayerCount) + "层", MsgOkOnly);
    } else {
        prompt.MsgBox("层未加，原有" + PlainNumberText(store.LayerCount) + "层", MsgOkOnly);
    }
    return RowEnd::Done;
}

// The cutting tool works on the layers that are on: only the current one stays on and unlocked.
RowEnd ArmCutting(App& app) {
    auto& store = app.store;
    app.tool.ClickCount = 0;
    SetText2(app, "割去(其余层锁定)");
    for (int k = 1; k <= store.NextLayerIndex && k < LayerTableSize; ++k) {
        store.LayerLockFlag[static_cast<std::size_t>(k)] = -1;
        store.LayerOnFlag[static_cast<std::size_t>(k)] = 0;
    }
    store.LayerLockFlag[store.CurrentLayer] = 0;
    store.LayerOnFlag[store.CurrentLayer] = -1;
    app.tool.CommandMode = ModeCutLinesAndAreas;
    刷新(app);
    return RowEnd::Done;
}

// The set-up stored before is kept: the dialog shows it again.
RowEnd StationSetUp(App& app) {
    ShowStationSetup(app);
    return RowEnd::Done;
}

RowEnd Exit(App& app) {
    if (app.form1) app.form1->Unload(UnloadFromCode);
    return RowEnd::Done;
}


// The print dialog, made on first use, beside the main window.
RowEnd PrintWindow(App& app) {
    ShowPrintDialog(app);
    return RowEnd::Done;
}

// The link dialog comes up in start mode: it starts the poll at once.
RowEnd StartClipboardLink(App& app) {
    app.settings.ClipboardLinkIdle = -1;
    ShowLinkDialog(app);
    return RowEnd::Done;
}

// The link dialog in format mode chooses the line format; the file's points come in as one step
// of the journal.
RowEnd PointGroup(App& app) {
    ShowLinkDialog(app);
    ImportPointGroupText(app, "50");
    UndoCheckpoint(app, 1);
    刷新(app);
    return RowEnd::Done;
}

RowEnd Help(App& app) {
    ShowHelpViewer(app);
    return RowEnd::Done;
}

// A table of this file's rows with the editing rows added.
RowTable WithEditingRows(RowTable rows, const RowTable& editing) {
    rows.insert(editing.begin(), editing.end());
    return rows;
}

const std::map<std::string, Row>& ButtonRows() {
    static const std::map<std::string, Row> rows = WithEditingRows({
        {"打开", Open},
        {"存盘", SaveByExtension},
        {"打印", PrintWindow},
        {"设层", LayerDialog},
        {"撤消", UndoRow},
        {"反撤", RedoRow},
        {"注记", [](App& app) { ShowArticleAnnotation(app); return RowEnd::Done; }},
        {"查询A", [](App& app) { ShowQueryDialog(app); return RowEnd::Done; }},
    }, EditingButtonRows());
    return rows;
}

const std::map<std::string, Row>& MenuRows() {
    static const std::map<std::string, Row> rows = WithEditingRows({
        {"新建", NewMap},
        {"打开jdx", OpenWith("打开jdx前先保存文件！", OpenJdxFile)},
        {"打开wtw", OpenWith("打开wtw前先保存文件！", OpenWtwFile)},
        {"打开dxf", [](App& app) { OpenDxfFile(app); 刷新(app); return RowEnd::Done; }},
        {"最近文件1", RecentFile(0)},
        {"最近文件2", RecentFile(1)},
        {"最近文件3", RecentFile(2)},
        {"最近文件4", RecentFile(3)},
        {"退出", Exit},
        {"另存为", Calls(SaveFileDialog)},
        {"另存为jdx", Calls(SaveAsJdxDialog)},
        {"另存为wtw", Calls(SaveAsWtwDialog)},
        {"另存为dxf", Calls(SaveAsDxfDialog)},
        {"另存为bmp", Bitmap(0)},
        {"另存为大图片bmp", Bitmap(-1)},
        {"选打印范围", PrintRanges},
        {"加层", AddLayerRow},
        {"裁剪", ArmCutting},
        {"投影换带", Calls(ShowProjectionDialog)},
        {"设站", StationSetUp},
        {"控制点群", PointGroup},
        {"碎部点群", PointGroup},
        {"合并图文件", Calls(InsertDrawingFile)},
        {"图廓一幅", Calls(ShowSheetFrameWindow)},
        {"撤消插入图", Calls(ShowMergedMapUndoWindow)},
        {"启动超级链", StartClipboardLink},
        {"帮助", Help},
    }, EditingMenuRows());
    return rows;
}

// The first row whose key equals the key, letter case ignored.
const Row* FindRow(const std::map<std::string, Row>& rows, const std::string& key) {
    for (const auto& [rowKey, row] : rows)
        if (EqualsIgnoreCase(rowKey, key)) return &row;
    return nullptr;
}

void RunFramed(App& app, const std::map<std::string, Row>& rows, const std::string& key) {
    if (app.tool.LongCommandRunning == -1) return;
    StopRoamingTimer(app);
    // A toolbar command takes the canvas from the armed tool: its preview goes first.
    EraseToolPreviews(app);
    PaintLamp(app, LampRed);
    RowEnd end = RowEnd::ReturnAtOnce;
    const bool ran = GuardToMessageLine([&app](const std::string& text) { SetText2(app, text); }, [&] {
        const Row* row = FindRow(rows, key);
        end = row ? (*row)(app) : RowEnd::Done;
    });
    if (!ran || end == RowEnd::ReturnAtOnce) return;
    PaintLamp(app, app.tool.CommandMode == ModeIdle ? LampBlue : LampYellow);
    app.platform.sound().Beep(11, 11);
}

}  // namespace

Row Calls(void (*command)(App&)) {
    return [command](App& app) {
        command(app);
        return RowEnd::Done;
    };
}

void BuildMainToolbars(stForm1& form) {
    Toolbar& bar = form.Toolbar1;
    form.ImageList1.Clear();
    for (const ButtonEntry& entry : MainButtons()) {
        if (!entry.key) {
            bar.AddButton("", "", ButtonSeparator);
            continue;
        }
        form.ImageList1.Add(ToolbarIcon(entry.key));
        ToolbarButton& button =
            bar.AddButton(entry.key, entry.caption, entry.dropDown ? ButtonDropdown : ButtonDefault,
                          form.ImageList1.Count());
        button.SetToolTipText(entry.caption);
        for (const MenuEntry& item : entry.menu) {
            ButtonMenu& menu = button.AddMenu(item.key ? item.key : item.text, item.text);
            menu.SetEnabled(item.enabled);
        }
    }
    bar.imageList = &form.ImageList1;

    Toolbar& view = form.Toolbar2;
    view.SetAlignTop(false);
    // Light, so that its icons stand out over the black canvas.
    view.SetBackColor(MakeRgb(236, 236, 236));
    form.ImageList3.Clear();
    for (const char* key : ViewBarKeys) {
        form.ImageList3.Add(ToolbarIcon(key));
        view.AddButton(key, "", ButtonDefault, form.ImageList3.Count());
    }
    view.imageList = &form.ImageList3;
}

void Toolbar1_ButtonClick(App& app, ToolbarButton& button) { RunFramed(app, ButtonRows(), button.Key()); }

void Toolbar1_ButtonMenuClick(App& app, ButtonMenu& menu) { RunFramed(app, MenuRows(), menu.Key()); }

void RunToolbarKey(App& app, const std::string& key) {
    if (FindRow(ButtonRows(), key))
        RunFramed(app, ButtonRows(), key);
    else
        RunFramed(app, MenuRows(), key);
}

}  // namespace movra
