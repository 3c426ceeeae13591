#include "shell/StartUp.h"

#include <algorithm>
#include <cmath>
#include <memory>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/BlockFile.h"
#include "document/ColorTable.h"
#include "document/FontTable.h"
#include "document/Layers.h"
#include "document/RecentFiles.h"
#include "document/SaveDialogs.h"
#include "document/UndoJournal.h"
#include "document/WorkSettings.h"
#include "shell/FileTypeRegistration.h"
#include "shell/StartupChime.h"
#include "shell/ViewStateFormulas.h"
#include "shell/frmSplash.h"
#include "shell/stForm1.h"
#include "shell/szForm3.h"
#include "symbols/LoadSymbolStandard.h"

namespace movra {

namespace {

constexpr Rgb ScaleBoxTextColor = 78888;
constexpr double CanvasShare = 0.856;

void DimensionTables(App& app) {
    auto& store = app.store;
    store.LayerNames.fill(std::string());
    store.LayerColorIndex.fill(0);
    store.LayerOnFlag.fill(0);
    store.LayerLockFlag.fill(0);
    store.LayerCapacity = NewDocumentCapacity;
    store.DimensionEmpty(1);
    store.LayerRecordCount.assign(LayerTableSize, 0);
    app.tables = ColorFontTables{};
    app.selection.SelectionList.assign(1, SelectedRecord{});
    ResetUndo(app);
    app.mapFile.AttributeFieldNames = {};
    for (int k = 1; k <= 4; ++k) app.mapFile.AttributeFieldNames[static_cast<size_t>(k)].assign(1, std::string());
    app.mapFile.RecentFiles = {};
}

}  // namespace

void ApplyWorkSettingDefaults(App& app) {
    auto& recent = app.mapFile.RecentFiles;
    for (size_t k = 0; k < recent.size(); ++k)
        if (recent[k].empty()) recent[k] = std::to_string(k + 1) + ".";
    if (app.work.ScreenWidthMm < 100) app.work.ScreenWidthMm = 365;
    if (app.work.ScreenTwipsPerMetre > 60000) app.work.ScreenTwipsPerMetre = 60000;
    if (app.work.ScreenTwipsPerMetre == 0) app.work.ScreenTwipsPerMetre = 50000;
}

namespace {

void LayOutWindowAndCanvas(App& app, stForm1& form) {
    Screen& screen = app.platform.screen();
    const double sw = screen.WidthTwips();
    const double sh = screen.HeightTwips();
    form.Move(form.Left(), form.Top(), sw, sh);
    form.SetWindowState(WindowMaximized);
    PictureBox& canvas = form.Picture1;
    // The canvas in whole pixels, so that one ground metre is exactly 100 twips across and down.
    const double twipsX = std::max(1, screen.TwipsPerPixelX()), twipsY = std::max(1, screen.TwipsPerPixelY());
    const double canvasWidth = std::floor(CanvasShare * sw / twipsX) * twipsX;
    const double canvasHeight = std::floor(CanvasShare * sh / twipsY) * twipsY;
    canvas.Move(stForm1::CanvasLeft, stForm1::CanvasTop, canvasWidth, canvasHeight);
    auto& view = app.view;
    view.ScreenAspect = sw > 0 ? sh / sw : 0;
    view.View.Left = -canvasWidth / 200;
    view.View.Top = canvasHeight / 200;
    view.View.Right = canvasWidth / 200;
    view.View.Bottom = -view.View.Top;
    canvas.SetScale(view.View.Left, view.View.Top, view.View.Right - view.View.Left,
                    view.View.Bottom - view.View.Top);
    canvas.SetBackColor(MakeRgb(0, 0, 0));
    LayoutCanvasAndScrollBars(app, sw, sh);
    // The canvas keeps the place start-up gave it; the bars follow it.
    canvas.Move(stForm1::CanvasLeft, stForm1::CanvasTop, canvasWidth, canvasHeight);
    form.ArrangeControls();
}

void FillSelectors(App& app, stForm1& form) {
    auto& store = app.store;
    auto& tables = app.tables;
    // The swatch of palette colour i is picture i: the selectors show it beside each name.
    form.ImageList2.Clear();
    for (int i = 1; i <= 255; ++i) form.ImageList2.AddSwatch(tables.ColorPalette[static_cast<size_t>(i)]);
    form.ImageCombo1.SetImageList(&form.ImageList2);
    form.ImageCombo1.ClearItems();
    store.CurrentLayer = 1;
    app.view.DisplayZoom = 2.0;
    app.view.ScaleFactor = 0.5;
    form.ImageCombo1.AddItem(1, "k1", "层1", 254);
    store.LayerColorIndex[0] = 6;
    store.LayerNames[0] = "层0";
    store.LayerOnFlag[0] = -1;
    store.LayerColorIndex[1] = 5;
    store.LayerNames[1] = "层1";
    store.LayerOnFlag[1] = -1;
    store.Count(0) = 1000;
    store.LayerCount = 1;
    store.LayerCapacity = NewDocumentCapacity;
    // As after a new map: layer 1 exists, so the next layer defined is layer 2.
    store.NextLayerIndex = 2;

    form.ImageCombo2.ClearItems();
    form.ImageCombo2.SetImageList(&form.ImageList2);
    for (int i = 1; i <= 254; ++i) {
        app.platform.events().DoEvents();
        form.ImageCombo2.AddItem(i, "k" + std::to_string(i), tables.ColorNames[static_cast<size_t>(i)], i, 0);
        form.ImageCombo2.SetText(tables.ColorNames[static_cast<size_t>(i)]);
    }
}

}  // namespace

void RunStartUp(App& app) {
    stForm1* formPointer = app.form1;
    if (!formPointer) return;
    stForm1& form = *formPointer;
    auto& view = app.view;
    auto& tables = app.tables;

    auto splash = std::make_unique<frmSplash>(app.platform);
    splash->Show();
    DimensionTables(app);
    PlayStartupChime(app);
    try {
        ReadWorkIni(app);
    } catch (...) {
        // An unreadable settings file is not reported; the defaults below apply.
    }
    ApplyWorkSettingDefaults(app);
    ShowRecentFilesInMenu(app);
    if (!EqualsIgnoreCase(app.settings.FileTypesRegistered, FileTypesRegisteredMark)) RegisterFileTypes(app);
    app.selfMade.SelfMadeSymbolFile = SelfMadeLibraryPath(app, "符号库1");
    form.Picture1.SetMousePointer(PointerArrow);

    form.Combo3.Clear();
    for (int i = 0; i <= 254; ++i) {
        app.platform.events().DoEvents();
        const auto index = static_cast<std::uint8_t>(i);
        tables.ColorPalette[index] = ColorIndexToRgb(index);
        tables.ColorNames[index] = ColorIndexName(index);
        tables.FontNames[index] = FontIndexToName(index);
        if (i <= 153) form.Combo3.AddItem(tables.FontNames[index]);
    }

    LayOutWindowAndCanvas(app, form);
    szForm3& settings = form.SettingsWindow();
    settings.Load();

    form.Picture1.surface().SetDrawWidth(1);
    form.Picture1.surface().SetDrawMode(10);
    app.tool.CommandMode = ModeZoomIn;
    app.undo.SnapshotCounter = 0;
    form.Text4.SetBackColor(form.Picture1.BackColor());
    form.Text4.SetForeColor(ScaleBoxTextColor);
    Text4_Click(app);

    FillSelectors(app, form);
    form.Command5.LoadRange(0, 350);
    for (int k = 0; k <= 350; ++k) {
        CommandButton& button = form.Command5(k);
        button.SetFontSize(7);
        button.SetCaption("");
        button.SetBackColor(MakeRgb(255, 255, 255));
    }
    app.settings.ClipboardLinkIdle = 0;

    form.ImageCombo2.SetText(tables.ColorNames[5]);
    form.ImageCombo2.SetBackColor(tables.ColorPalette[5]);
    app.current.CurrentColor = tables.ColorPalette[5];
    form.ImageCombo1.SetSelectedItem(1);
    form.ImageCombo1.SetText(app.store.LayerNames[1]);
    form.ImageCombo1.SetBackColor(tables.ColorPalette[5]);

    form.Combo2.SetText("10");
    form.Combo3.SetText("细黑");
    app.current.CurrentPen = 0;
    form.Picture1.surface().SetDrawWidth(1);
    form.Picture1.surface().SetDrawStyle(0);
    app.current.TextSize = 10;
    app.settings.TextWidthFactor = 0.68;
    app.settings.TextAngle = 0;
    view.BackgroundColor = 0;
    app.current.CurrentFont = "宋体";
    app.settings.SurveyPortNumber = 3;
    form.Label5.SetToolTipText("符号方向选择");
    ShowSymbolDirection(app);
    form.SetCaption("movra_newfilse");
    app.current.LastPicturePath = NewDocumentName();

    for (int k = 0; k <= 6; ++k) {
        const double t = k / 6.0;
        app.settings.SmoothCoefficients[static_cast<size_t>(k)] = {(1 - t) * (1 - t), 2 * t * (1 - t), t * t};
    }
    app.current.ModifiedFlag = 0;
    app.settings.LineBreak = "\r\n";
    app.settings.RecordSeparator = "'";
    app.current.FieldSeparator = ",";
    app.settings.ImportProgressMark = "■";

    // Nothing to undo, redo, delete, cut or copy yet; paste takes the block clipboard file.
    for (int button : {6, 7, 8, 10, 11}) form.Toolbar1.Buttons(button).SetEnabled(false);
    form.Toolbar1.Buttons(12).SetEnabled(true);

    splash->Unload();
    splash.reset();
    settings.Unload();
    app.copyBuffer.CopyBufferFlag = 0;
}

bool SaveMapBeforeExit(App& app) {
    SaveFileDialog(app);
    // The map writers clear the flag once the file is complete; a cancelled dialog or a failed
    // write leaves it set.
    return app.current.ModifiedFlag != -1;
}

void RunShutdown(App& app, int& cancel, int& unloadMode) {
    Prompt& prompt = app.platform.prompt();
    if (prompt.MsgBox("要退出吗？", MsgYesNo) != AnswerYes) {
        cancel = 1;
        return;
    }
    try {
        WriteWorkIni(app);
    } catch (const RuntimeError& error) {
        // The settings are lost, the map is not: say so and go on leaving.
        prompt.MsgBox("工作设置文件未能保存：" + error.description, MsgOkOnly | MsgExclamation);
    } catch (...) {
        prompt.MsgBox("工作设置文件未能保存。", MsgOkOnly | MsgExclamation);
    }
    if (app.current.ModifiedFlag == -1) {
        const int answer = prompt.MsgBox("要保存文件吗？", MsgYesNoCancel);
        if (answer == AnswerCancel) {
            cancel = 1;
            return;
        }
        try {
            FlushCopyBuffer(app);
        } catch (...) {
        }
        if (answer == AnswerYes) {
            bool saved = false;
            try {
                saved = SaveMapBeforeExit(app);
            } catch (...) {
                saved = false;
            }
            // A map that was not saved is not thrown away.
            if (!saved) {
                cancel = 1;
                return;
            }
        }
    }
    cancel = 0;
    unloadMode = 4;
}

}  // namespace movra
