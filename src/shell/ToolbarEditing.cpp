// The Toolbar1 rows that edit the selection, arm the editing and view tools, handle linked images
// and open the settings: they run inside the frames of MainToolbar.cpp.
#include <optional>
#include <string>

#include "App.h"
#include "basic/Numbers.h"
#include "display/Redraw.h"
#include "document/BlockFile.h"
#include "document/SlotEditing.h"
#include "document/UndoJournal.h"
#include "editing/CopyPaste.h"
#include "editing/LinkedImages.h"
#include "editing/ViewExtents.h"
#include "shell/ToolbarRows.h"
#include "shell/stForm1.h"
#include "shell/szForm3.h"
#include "survey/xpdxFrm.h"

namespace movra {

namespace {

constexpr int DeleteButton = 8;
constexpr int CutButton = 10;
constexpr int PasteButton = 12;
// The method button that turns every layer on and unlocks it.
constexpr int AllLayersButton = 10;
// The tilted view that 移立面 starts with: 10 degrees (packed), its sine as the tilt tool takes it.
constexpr double StartTiltAngle = 10;
constexpr double StartTiltSin = 0.7;

constexpr const char* ImageRulesText =
    "插入图像后跟随点击图象，否则作废!\r\n"
    "操作图像只是链接，不复制，不修改原图象文件，副本加“c”。\r\n"
    "wtw等主文件保存或复制时，也不复制或另存图像，仅共享图像有限链接，\r\n"
    "你应自行组织复制这些图象文件。\r\n"
    "链接功能是强大的，不用担心无法恢复!";

bool MakingSymbol(const App& app) { return app.tool.SymbolMakingMode == -1; }

void SetPointer(App& app, int pointer) {
    if (app.form1) app.form1->Picture1.SetMousePointer(pointer);
}

Row Arms(std::uint8_t mode) {
    return [mode](App& app) {
        app.tool.CommandMode = mode;
        return RowEnd::Done;
    };
}

// Arms an image tool that starts without a pick in hand.
Row ArmsImageTool(std::uint8_t mode) {
    return [mode](App& app) {
        app.tool.CommandMode = mode;
        app.tool.ClickCount = 0;
        return RowEnd::Done;
    };
}

RowEnd Delete(App& app) {
    DeleteSelectionOrStagedImage(app);
    return RowEnd::Done;
}

RowEnd Cut(App& app) {
    CopyForPaste(app);
    DeleteSelectionWithUndo(app);
    SetToolbar1Button(app, DeleteButton, false);
    SetToolbar1Button(app, CutButton, false);
    SetToolbar1Button(app, PasteButton, true);
    return RowEnd::Done;
}

RowEnd Copy(App& app) {
    CopyForPaste(app);
    return RowEnd::Done;
}

// The copy of this run, or the temporary block file when nothing was copied in this run; another
// value of the flag pastes nothing.
RowEnd Paste(App& app) {
    const std::int16_t flag = app.copyBuffer.CopyBufferFlag;
    if (flag == -1)
        PasteCopyBuffer(app, 0);
    else if (flag == 0)
        PasteTemporaryBlock(app, 0);
    else
        return RowEnd::Done;
    app.tool.CommandMode = ModeMoveSelection;
    return RowEnd::Done;
}

// Pastes the copy (with an undo step) or the temporary block file; false when the flag names
// neither.
bool PasteWithUndo(App& app, std::int16_t toCurrent) {
    const std::int16_t flag = app.copyBuffer.CopyBufferFlag;
    if (flag == -1) {
        PasteCopyBuffer(app, toCurrent);
        UndoCheckpoint(app, 1);
    } else if (flag == 0) {
        PasteTemporaryBlock(app, toCurrent);
    } else {
        return false;
    }
    return true;
}

// Each record back to its own layer: every layer is made visible and editable first.
RowEnd PasteInPlace(App& app) {
    if (app.form1) app.form1->Command8_Click(AllLayersButton);
    if (PasteWithUndo(app, 0)) app.tool.CommandMode = ModeIdle;
    return RowEnd::Done;
}

RowEnd PasteToCurrentLayer(App& app) {
    if (PasteWithUndo(app, -1)) app.tool.CommandMode = ModeMoveSelection;
    return RowEnd::Done;
}

RowEnd ChooseColor(App& app) {
    // A cancelled dialog keeps the colour.
    if (const std::optional<Rgb> color = app.platform.dialogs().ShowColor(app.current.CurrentColor))
        app.current.CurrentColor = *color;
    return RowEnd::Done;
}

RowEnd Settings(App& app) {
    if (app.form1) app.form1->SettingsWindow().Show(false);
    return RowEnd::Done;
}

RowEnd ZoomIn(App& app) {
    if (MakingSymbol(app)) return RowEnd::ReturnAtOnce;
    SetPointer(app, PointerSizeNWSE);
    app.tool.CommandMode = ModeZoomIn;
    return RowEnd::Done;
}

RowEnd ZoomDrag(App& app) {
    app.tool.CommandMode = ModeZoomDrag;
    SetPointer(app, PointerSizeNWSE);
    return RowEnd::Done;
}

RowEnd Restore(App& app) {
    if (MakingSymbol(app)) return RowEnd::ReturnAtOnce;
    ZoomToExtents(app);
    刷新(app);
    app.tool.CommandMode = ModeRestored;
    return RowEnd::Done;
}

RowEnd TiltView(App& app) {
    if (MakingSymbol(app)) return RowEnd::ReturnAtOnce;
    app.view.TiltAngle = StartTiltAngle;
    app.view.TiltSin = StartTiltSin;
    if (app.tool.CommandMode == ModePickStation) app.tool.PreviousMode = ModePickStation;
    app.tool.CommandMode = ModeTiltView;
    if (app.form1) app.form1->Text2.SetText("！！须大于本比例尺" + PlainNumberText(app.view.ProjectParams[0]));
    return RowEnd::Done;
}

RowEnd InsertBlock(App& app) {
    std::string path;
    if (!LoadBlockFile(app, path)) return RowEnd::Done;
    PasteBlockBuffer(app, 0);
    UndoCheckpoint(app, 1);
    app.tool.CommandMode = ModeMoveSelection;
    return RowEnd::Done;
}

RowEnd InsertImage(App& app) {
    if (MakingSymbol(app)) return RowEnd::Done;
    app.tool.CommandMode = ModePlaceImage;
    InsertLinkedImage(app);
    return RowEnd::Done;
}

RowEnd Crop(App& app) {
    app.tool.CommandMode = ModeIdle;
    CropLinkedImage(app);
    刷新(app);
    return RowEnd::Done;
}

RowEnd PhotoOrientation(App& app) {
    ShowPhotoOrientationWindow(app);
    return RowEnd::Done;
}

RowEnd ImageRules(App& app) {
    app.platform.prompt().MsgBox(ImageRulesText, MsgOkOnly);
    return RowEnd::Done;
}

}  // namespace

const RowTable& EditingButtonRows() {
    static const RowTable rows = {
        {"删除", Delete},
        {"剪切", Cut},
        {"拷贝", Copy},
        {"粘贴", Paste},
        {"图像", ChooseColor},
        {"设置", Settings},
    };
    return rows;
}

const RowTable& EditingMenuRows() {
    static const RowTable rows = {
        {"打开bmp", Calls(LoadBackgroundBitmap)},
        {"卸载bmp背景", Calls(UnloadBackgroundBitmap)},
        {"原位粘贴", PasteInPlace},
        {"至当前层", PasteToCurrentLayer},
        {"矩形", Arms(ModeRectangle)},
        {"类圆", Arms(ModeCircle)},
        {"放大", ZoomIn},
        {"缩放", ZoomDrag},
        {"复原", Restore},
        {"移立面", TiltView},
        {"小菜单移动", Arms(ModeDragMenu)},
        {"插入块", InsertBlock},
        {"插入图像", InsertImage},
        {"移动图像", ArmsImageTool(ModeMoveImage)},
        {"伸缩图像", ArmsImageTool(ModeStretchImage)},
        {"图像裁留范围", Arms(ModeImageCropRange)},
        {"图像裁留", Crop},
        {"图像纠正", PhotoOrientation},
        {"图象操作问答", ImageRules},
    };
    return rows;
}

}  // namespace movra
