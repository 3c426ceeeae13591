#include "shell/MethodPanel.h"

#include <array>
#include <cmath>
#include <functional>

#include "App.h"
#include "editing/ToolEngine.h"
#include "basic/Errors.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "document/BlockFile.h"
#include "document/CoordinateReduction.h"
#include "document/DrawingExtents.h"
#include "document/RecordTransforms.h"
#include "document/UndoJournal.h"
#include "document/csForm2.h"
#include "editing/CopyPaste.h"
#include "editing/ViewExtents.h"
#include "editing/ViewTimers.h"
#include "shell/ViewStateFormulas.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr Rgb LampBlue = MakeRgb(0, 0, 255);
constexpr Rgb LampYellow = MakeRgb(255, 255, 0);
constexpr std::int16_t True = -1;

// The row of one button: what it writes and does after the common frame.
using Row = std::function<void(stForm1&, App&)>;

void Prompt(stForm1& f, const std::string& text) { f.Text2.SetText(text); }

// A row that arms its tool with a prompt (none when empty) and nothing else.
Row Arms(const char* prompt) {
    return [prompt](stForm1& f, App&) {
        if (*prompt) Prompt(f, prompt);
    };
}

// Two variants of one tool: the prompt shows which one is meant, and a press switches it.
Row Toggles(const char* first, const char* second) {
    return [first, second](stForm1& f, App&) {
        Prompt(f, EqualsIgnoreCase(f.Text2.Text(), first) ? second : first);
    };
}

void SnappingOn(stForm1& f, App& app) {
    app.tool.SnapOn = True;
    app.tool.SnapBoxDrawn = 0;
    f.Label3.SetBackColor(app.tables.ColorPalette[7]);
    f.Label3.SetCaption("捕捉");
}

double CommandNumber(const stForm1& f) { return Val(f.Text8.Text()); }

// A row whose tool reads a value from the command line: `value` is written when `replace` says
// the line holds none that fits, then the prompt.
Row Defaults(const char* prompt, const char* value, std::function<bool(const stForm1&)> replace) {
    return [prompt, value, replace](stForm1& f, App&) {
        if (replace(f)) f.Text8.SetText(value);
        Prompt(f, prompt);
    };
}

// A row that writes its value into the command line, then its prompt.
Row Writes(const char* prompt, const char* value) {
    return Defaults(prompt, value, [](const stForm1&) { return true; });
}

// A procedure of another part of the program, or the message that it is not there yet.
void CallOther(stForm1& f, const std::function<void()>& call, const char* what) {
    if (call)
        call();
    else
        Prompt(f, std::string(what) + "尚未提供，本命令未执行");
}

// A row of the attribute classes: the class into the command line, then the attribute dialog.
Row AttributeClass(const char* prompt, const char* classNumber) {
    return [prompt, classNumber](stForm1& f, App&) {
        Prompt(f, prompt);
        f.Text8.SetText(classNumber);
        CallOther(f, f.otherParts.ShowAttributeDialog, "属性窗口");
    };
}

void ReduceAndShowAll(stForm1& f, App& app) {
    Prompt(f, "提高图解精度_和目标归位");
    ReduceCoordinates(app);
    ComputeDrawingExtents(app);
    ZoomToExtents(app);
    刷新(app);
}

void SaveBlock(stForm1& f, App& app) {
    app.tool.CommandMode = ModeIdle;
    Prompt(f, "已选目标存为块");
    CopySelection(app);
    std::string path;
    SaveSelectionAsBlock(app, path);
}

void InsertBlock(stForm1& f, App& app) {
    Prompt(f, "插入块");
    std::string path;
    if (!LoadBlockFile(app, path)) return;
    PasteBlockBuffer(app, 0);
    UndoCheckpoint(app, 1);
    app.tool.CommandMode = ModeMoveSelection;
}

// The selection mirrored about the P1 of its first record, redrawn, and journalled as one step.
void Flip(stForm1& f, App& app, bool upDown) {
    Prompt(f, upDown ? "已选目标上下翻转" : "已选目标左右翻转");
    const auto& list = app.selection.SelectionList;
    if ((list.empty() ? 0 : list[0].Layer) <= 1) {
        Prompt(f, "目标尚未选择");
        app.tool.CommandMode = ModeIdle;
    }
    if (upDown)
        Y镜像(app, 0, 0, 0);
    else
        X镜像(app, 0, 0, 0);
    刷新(app);
    UndoStepSelection(app, 0, 0, 0);
    UndoStepSelection(app, 1, 0, 0);
}

// The symbol demonstration: the first picture, then the second with the bouncing marker, then
// neither, round and round.
void Demonstration(stForm1& f, App& app) {
    Prompt(f, "已选目标炸碎");
    const std::string folder = app.platform.folders().ProgramFolder();
    const std::string first = JoinPath(folder, DemoPictureFirst);
    const std::string second = JoinPath(folder, DemoPictureSecond);
    std::string& shown = app.current.LastPicturePath;
    auto load = [&](const std::string& path) {
        const std::optional<Picture> picture = app.platform.pictureFiles().Load(path);
        if (!picture) Raise(ErrFileNotFound);
        f.Picture1.SetPicture(*picture);
    };
    bool startMarker = false;
    if (EqualsIgnoreCase(shown, first)) {
        shown = second;
        load(second);
        startMarker = true;
        if (app.symbolStandard.SymbolStandardLoaded == 0) Prompt(f, "图式加载了吗？");
    } else if (EqualsIgnoreCase(shown, second)) {
        shown.clear();
        f.Picture1.SetPicture(Picture{});
        f.Timer3.SetEnabled(false);
    } else {
        shown = first;
        load(first);
        f.Timer3.SetEnabled(false);
        Prompt(f, "下一个，图式演示。");
    }
    刷新(app);
    // After the redraw, so that the marker the first tick erases is on the canvas.
    if (startMarker) StartDemoMarker(app);
}

// The layer manager's button of layer k, while the manager is open.
CommandButton* LayerButton(App& app, int layer) {
    if (!app.form2 || !app.form2->Loaded()) return nullptr;
    const int element = layer < 66 ? layer : 66;
    return app.form2->Command3.Exists(element) ? &app.form2->Command3(element) : nullptr;
}

Rgb LayerColor(App& app, int layer) {
    return app.tables.ColorPalette[app.store.LayerColorIndex[static_cast<size_t>(layer)]];
}

void AllLayersOn(stForm1& f, App& app) {
    Prompt(f, "打开所有层");
    RecordStore& store = app.store;
    for (int k = 1; k <= store.LayerCount; ++k) {
        if (CommandButton* button = LayerButton(app, k)) button->SetBackColor(LayerColor(app, k));
        store.LayerOnFlag[static_cast<size_t>(k)] = True;
        store.LayerLockFlag[static_cast<size_t>(k)] = 0;
    }
    app.tool.CommandMode = ModeIdle;
    app.display.Redraw.SuppressTerrainPoints = 0;
    刷新(app);
}

// One press hides every layer but the current one, the next shows them again locked.
void CurrentLayerOnly(stForm1& f, App& app) {
    RecordStore& store = app.store;
    const bool showLocked = EqualsIgnoreCase(f.Text2.Text(), "仅开当前一层,关闭其余层");
    Prompt(f, showLocked ? "锁定其余层" : "仅开当前一层,关闭其余层");
    for (int k = 1; k <= store.LayerCount; ++k) {
        const auto at = static_cast<size_t>(k);
        store.LayerOnFlag[at] = showLocked ? True : 0;
        store.LayerLockFlag[at] = showLocked && k != store.CurrentLayer ? True : 0;
    }
    for (int k = 1; k <= store.LayerCount; ++k) {
        const auto at = static_cast<size_t>(k);
        const bool current = k == store.CurrentLayer;
        if (CommandButton* button = LayerButton(app, k)) {
            if (current) button->SetEnabled(true);
            button->SetBackColor(current ? LayerColor(app, k) : LayerOffGrey);
        }
        store.LayerOnFlag[at] = current ? True : 0;
    }
    app.display.Redraw.SuppressTerrainPoints = 0;
    刷新(app);
}

void LockOtherLayers(App& app) {
    RecordStore& store = app.store;
    for (int k = 1; k <= store.LayerCount; ++k)
        store.LayerLockFlag[static_cast<size_t>(k)] = k == store.CurrentLayer ? 0 : True;
}

const std::array<Row, MethodPanelButtonCount>& Rows() {
    static const std::array<Row, MethodPanelButtonCount> rows = {{
        /* 0 */ ReduceAndShowAll,
        /* 1 */ [](stForm1& f, App& app) { app.tool.CommandMode = ModeMoveSelection; Prompt(f, "移动已选目标"); },
        /* 2 */ [](stForm1& f, App& app) { app.tool.CommandMode = ModeRotateSelection; Prompt(f, "旋转已选目标"); },
        /* 3 */ [](stForm1& f, App&) {
            Prompt(f, "自制符号");
            CallOther(f, f.otherParts.ToggleSymbolMakingMode, "自制符号绘制");
        },
        /* 4 */ SaveBlock,
        /* 5 */ InsertBlock,
        /* 6 */ [](stForm1& f, App& app) {
            Prompt(f, "裁选目标保存(复照一块，不改原数据)");
            app.tool.SelectionArmed = True;
        },
        /* 7 */ [](stForm1& f, App& app) { Flip(f, app, true); },
        /* 8 */ [](stForm1& f, App& app) { Flip(f, app, false); },
        /* 9 */ Demonstration,
        /* 10 */ AllLayersOn,
        /* 11 */ CurrentLayerOnly,
        /* 12 */ Arms("求两线交点"),
        /* 13 */ Writes("两点距离", "=距离"),
        /* 14 */ Arms(""),
        /* 15 */ [](stForm1& f, App& app) {
            Prompt(f, "线中加一点_折线(其余层锁定)");
            SnappingOn(f, app);
            LockOtherLayers(app);
        },
        /* 16 */ Writes("求两线夹角°′″", "=α"),
        /* 17 */ [](stForm1&, App& app) { app.tool.CommandMode = ModeLine; },
        /* 18 */ [](stForm1& f, App& app) { Prompt(f, "移动任意一点"); SnappingOn(f, app); },
        /* 19 */ SnappingOn,
        /* 20 */ Arms("连续垂线"),
        /* 21 */ [](stForm1& f, App& app) { app.tool.CommandMode = ModeTrimStubs; Prompt(f, "割去零头(对当前一层有效)"); },
        /* 22 */ Arms(""),
        /* 23 */ Arms(""),
        /* 24 */ Defaults("平行线，输入线间距", "0.5", [](const stForm1& f) { return CommandNumber(f) == 0; }),
        /* 25 */ [](stForm1& f, App& app) {
            app.tool.CommandMode = ModeRectangle;
            f.Text8.SetText("");
            Prompt(f, "矩形，输入1为方格纸");
        },
        /* 26 */ Arms(""),
        /* 27 */ Defaults("闭合环平行缩放，输入缩放线间距", "0.5", [](const stForm1& f) {
            const double v = CommandNumber(f);
            return v == 0 || std::fabs(v) > 10;
        }),
        /* 28 */ Arms(""),
        /* 29 */ Writes("3点弧", "0"),
        /* 30 */ Writes("割线截留", "0"),
        /* 31 */ Arms(""),
        /* 32 */ Arms(""),
        /* 33 */ [](stForm1& f, App&) {
            f.Text8.SetText("0");
            f.Text5.SetText("宽，顶高，底高");
            Prompt(f, "矩形填充.0规则其他管线");
        },
        /* 34 */ [](stForm1& f, App& app) { app.tool.CommandMode = ModeCircle; Prompt(f, "中心类圆"); },
        /* 35 */ [](stForm1& f, App& app) { app.tool.CommandMode = ModePen; Prompt(f, "陡手铅笔(平滑)线"); },
        /* 36 */ [](stForm1& f, App& app) {
            f.Text8.SetText("7");
            f.Picture1.surface().SetForeColor(app.current.CurrentColor);
            Prompt(f, "倒墨水");
        },
        /* 37 */ [](stForm1& f, App& app) { Text4_Click(app); Writes("加1.0mm圆", "1.0")(f, app); },
        /* 38 */ Toggles("加注水田符号", "加注水生作物符号"),
        /* 39 */ [](stForm1& f, App& app) { Text4_Click(app); Writes("加1.6mm圆", "1.6")(f, app); },
        /* 40 */ [](stForm1& f, App& app) { Text4_Click(app); Writes("加0.5mm圆", "0.5")(f, app); },
        /* 41 */ Toggles("加注旱地符号", "加注草地符号"),
        /* 42 */ [](stForm1& f, App& app) {
            app.tool.CommandMode = ModeMapSymbol;
            Prompt(f, "图式命令，如“*228”");
            if (movra::Left(f.Text8.Text(), 1) != "*") f.Text8.SetText("*228");
        },
        /* 43 */ [](stForm1& f, App& app) {
            app.tool.CommandMode = ModeSelfMadeSymbol;
            Prompt(f, "自制符号命令，如“#hd”");
            if (movra::Left(f.Text8.Text(), 1) != "#") f.Text8.SetText("#dou");
            f.Combo2.SetText("10");
            app.current.TextSize = 10;
        },
        /* 44 */ [](stForm1& f, App&) {
            Prompt(f, "输入：高程，[横X，纵Y]，[点名，等级0-14]8=图根");
            f.Text8.SetText("ZXY:999");
            f.Text8.SetSelStart(5);
        },
        /* 45 */ Defaults("填充。0粗填，1右斜，2左斜，3交叉，4砂粒，5规则", "5", [](const stForm1& f) {
            const double v = CommandNumber(f);
            return f.Text8.Text().empty() || v < 0 || v > 5;
        }),
        /* 46 */ Defaults("四点色块、四点台阶，四点长坡线，请输入间距", "1.5",
                          [](const stForm1& f) { return CommandNumber(f) == 0; }),
        /* 47 */ [](stForm1& f, App& app) {
            app.tool.CommandMode = ModeMaterialText;
            Prompt(f, "加注记z_砖，m_木，t_土，d_砼，j_简，z=空格+z...");
            f.Text8.SetText("zj:");
            f.Text8.SetSelStart(static_cast<int>(Len(f.Text8.Text())));
            app.selection.SelectionList.assign(1, SelectedRecord{});
        },
        /* 48 */ [](stForm1& f, App& app) {
            app.tool.CommandMode = ModeAttributeClass;
            AttributeClass("加属性(10属性)", "1")(f, app);
        },
        /* 49 */ [](stForm1& f, App& app) {
            f.Text8.SetText("0");
            Prompt(f, "加计算面积(04属性)");
            app.geometry.ScratchXY.assign(1, 0.0);
        },
        /* 50 */ [](stForm1& f, App& app) {
            f.Text8.SetText("1");
            Prompt(f, "绘界址点，先符号，后编号");
            app.tool.ToolStep = 1;
        },
        /* 51 */ [](stForm1& f, App& app) {
            app.tool.CommandMode = ModeAttributeClass;
            AttributeClass("加属性(20属性)", "2")(f, app);
        },
        /* 52 */ Writes("加物体高，如房高等(05属性)", "6.0"),
        /* 53 */ [](stForm1& f, App& app) {
            f.Text8.SetText("1");
            Prompt(f, "绘界址边，两个宗地号" + app.settings.LineBreak + "2争议界，3临时界");
            SnappingOn(f, app);
            f.Text5.SetFontSize(10);
            if (f.Text5.Text().empty()) f.Text5.SetText("本宗地号,邻宗地号");
            f.Text5.ZOrder(0);
        },
        /* 54 */ AttributeClass("加属性(30属性)", "3"),
        /* 55 */ Toggles("加姓名(00属性)", "加门牌(01属性)"),
        /* 56 */ [](stForm1& f, App&) {
            f.Text8.SetText("");
            Prompt(f, "加注宗地号");
        },
        /* 57 */ AttributeClass("加属性(40属性)", "4"),
        /* 58 */ [](stForm1& f, App& app) {
            Toggles("加电话号码1(02属性)", "加电话号码2(03属性)")(f, app);
            app.tool.SnapOn = 0;
        },
        /* 59 */ [](stForm1& f, App& app) {
            f.Text8.SetText("0");
            Prompt(f, "查看属性表0，1，2，3，4");
            app.tool.ClickCount = 1;
        },
    }};
    return rows;
}

}  // namespace

void stForm1::Command8_Click(int index) {
    if (app.tool.LongCommandRunning == -1) return;
    try {
        Text2.SetLocked(false);
        Text2.SetFontSize(10);
        if (app.view.DisplayZoom == 0) app.view.DisplayZoom = 1;
        app.selection.SelectTolerance = static_cast<float>(app.view.GroundPerScreenMm);
        Timer2.SetEnabled(false);
        if (index < 0 || index >= MethodPanelButtonCount) Raise(ErrSubscriptOutOfRange);
        // The tool that had the canvas takes its preview with it.
        EraseToolPreviews(app);
        if (index != 10 && index != 11) app.tool.CommandMode = static_cast<std::uint8_t>(100 + index);
        // Drawing tools need a drawing layer; layer 0 takes only the self-made symbol being drawn.
        if (index >= 12 && app.store.CurrentLayer == 0 && app.tool.SymbolMakingMode == 0) {
            platform().prompt().MsgBox("层未选择", MsgOkOnly);
            app.tool.CommandMode = ModeIdle;
            return;
        }
        app.tool.RubberShown = 0;
        Picture1.SetMousePointer(PointerCross);
        app.tool.ClickCount = 0;
        Rows()[static_cast<size_t>(index)](*this, app);
        Label6.SetBackColor(app.tool.CommandMode == ModeIdle ? LampBlue : LampYellow);
        app.current.ModifiedFlag = -1;
    } catch (...) {
        platform().sound().Beep(11, 11);
    }
}

}  // namespace movra
