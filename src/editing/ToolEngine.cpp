#include "editing/ToolEngine.h"

#include <string>

#include "App.h"
#include "document/CoordinateReduction.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/Redraw.h"
#include "document/SlotEditing.h"
#include "document/StoreRecord.h"
#include "document/UndoJournal.h"
#include "editing/CopyPaste.h"
#include "editing/LinkedImages.h"
#include "editing/RubberLine.h"
#include "editing/Snapping.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolFamilies.h"
#include "platform/DrawModeScope.h"
#include "symbols/SymbolMaking.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr Rgb LampRed = MakeRgb(255, 0, 0);
constexpr Rgb LampBlue = MakeRgb(0, 0, 255);
constexpr Rgb LampYellow = MakeRgb(255, 255, 0);

// Toolbar1's buttons that act on a selection.
constexpr int DeleteButton = 8;
constexpr int CutButton = 10;
constexpr int CopyButton = 11;

// A layer about to hold more than its capacity less this is grown before any tool writes.
constexpr int CapacityReserve = 5;
// Slots that make one percent of a full 31,000-slot layer.
constexpr int SlotsPerPercent = 310;

constexpr int KeyB = 'B';
constexpr int KeyX = 'X';

stForm1& Form(App& app) { return *app.form1; }

void WriteText2(App& app, const std::string& text) {
    if (app.form1) app.form1->Text2.SetText(text);
}

template <class F>
void GuardHandler(App& app, F&& body) {
    GuardToMessageLine([&app](const std::string& text) { WriteText2(app, text); }, std::forward<F>(body));
}


// The pen of the current style on the canvas: codes below 7 are line styles at width 1, from 7 on
// solid lines of width code - 6.
void ApplyCurrentPen(App& app) {
    Surface& canvas = Canvas(app);
    const int pen = app.current.CurrentPen;
    if (pen >= 7) {
        canvas.SetDrawStyle(DrawStyleSolid);
        canvas.SetDrawWidth(pen - 6);
    } else {
        canvas.SetDrawWidth(1);
        canvas.SetDrawStyle(pen);
    }
}

void ShowCapacity(App& app) {
    const std::int32_t count = app.store.Count(app.store.CurrentLayer);
    Form(app).Text1.SetText("容量已使用" + PlainNumberText(static_cast<std::int32_t>(Int(count / double(SlotsPerPercent)))) +
                            "%");
}

// The right press pauses the armed tool, or resumes the paused one when none is armed.
void RightClickSwap(App& app) {
    ToolState& tool = app.tool;
    if (tool.CommandMode == ModeIdle) {
        tool.CommandMode = static_cast<std::uint8_t>(tool.PreviousMode & 0xFF);
    } else {
        tool.PreviousMode = tool.CommandMode;
        tool.CommandMode = ModeIdle;
    }
    tool.ClickCount = 0;
}

// What every release ends with: the reduction offset in Text1, the self-made symbol's
// normalisation, the inverting pen again, the view state and the lamp.
void EndSteps(App& app) {
    const CoordinateReductionState& r = app.reduction;
    Form(app).Text1.SetText(PlainNumberText(r.ReductionOffsetX) + ";" + PlainNumberText(r.ReductionOffsetY));
    if (app.tool.SymbolMakingMode == -1) NormalizeDrawnSymbol(app);
    Canvas(app).SetDrawMode(DrawModeNotXorPen);
    Form(app).Text4_Click();
    LampIdleOrArmed(app);
}

void ScrollView(App& app, int keyCode) {
    PictureBox& canvas = Form(app).Picture1;
    const double left = canvas.ScaleLeft(), top = canvas.ScaleTop();
    const double width = canvas.ScaleWidth(), height = canvas.ScaleHeight();
    switch (keyCode) {
        case KeyLeft: canvas.SetScaleLeft(left - width / 4); break;
        case KeyUp: canvas.SetScaleTop(top - height / 4); break;
        case KeyRight: canvas.SetScaleLeft(left + width / 4); break;
        case KeyDown: canvas.SetScaleTop(top + height / 4); break;
        default: return;
    }
    刷新(app);
}

void ArmSelection(App& app) {
    ToolState& tool = app.tool;
    tool.SelectionArmed = -1;
    Form(app).Label4.SetBackColor(app.tables.ColorPalette[7]);
    Form(app).Label4.SetCaption("选择(X)");
    app.selection.SelectionList.assign(2, SelectedRecord{});
    tool.SelectionCount = 1;
    tool.CommandMode = ModeSelect;
}

bool FamilyTookKey(App& app, int keyCode) {
    const ToolModeHooks* hooks = HooksFor(app.tool.CommandMode);
    return hooks && hooks->key && hooks->key(app, keyCode);
}

}  // namespace

std::string CursorText(const App& app, double x, double y) {
    const FalseOrigin origin = FalseOriginOf(app);
    return DecimalNumberText(origin.TrueX(x), 3) + ";" + DecimalNumberText(origin.TrueY(y), 3);
}

void LampBusy(App& app) { Form(app).Label6.SetBackColor(LampRed); }

void LampIdleOrArmed(App& app) {
    Form(app).Label6.SetBackColor(app.tool.CommandMode == ModeIdle ? LampBlue : LampYellow);
}

void SetSnapping(App& app, bool on) {
    Label& label = Form(app).Label3;
    EraseSnapMarker(app);
    if (on) {
        app.tool.SnapOn = -1;
        app.tool.SnapBoxDrawn = 0;
        label.SetBackColor(app.tables.ColorPalette[7]);
        label.SetCaption("捕捉(B)");
    } else {
        app.tool.SnapOn = 0;
        label.SetBackColor(app.tables.ColorPalette[8]);
        label.SetCaption("不捕(B)");
    }
}

void StopRoaming(App& app) {
    if (app.form1) app.form1->Timer2.SetEnabled(false);
}

void StartRoaming(App& app) {
    if (app.form1) app.form1->Timer2.SetEnabled(true);
}

void DisableSelectionButtons(App& app) {
    for (int button : {DeleteButton, CutButton, CopyButton}) SetToolbar1Button(app, button, false);
}

void EraseToolPreviews(App& app) {
    if (!app.form1) return;
    ToolState& tool = app.tool;
    const DrawModeScope inverting(Canvas(app), DrawModeNotXorPen);
    // The marker first: a preview that goes with a redraw takes the marker's pixels too.
    EraseSnapMarker(app);
    const ToolModeHooks* hooks = HooksFor(tool.CommandMode);
    if (hooks && hooks->erasePreview) {
        if (tool.RubberShown == -1) hooks->erasePreview(app);
    } else if (hooks && hooks->rubber && (tool.RubberShown == -1 || tool.PreviewShown == -1)) {
        // A preview with no eraser of its own (a circle through the clicks, a mark, a moved
        // selection, and the construction lines drawn on the way) goes with the map drawn again.
        EraseRubberEdges(app);
    }
    // Nothing of the tool's is on the canvas now: its next preview must not "erase" one.
    tool.RubberShown = 0;
    tool.PreviewShown = 0;
    tool.CurvePreviewShown = 0;
    tool.DragLineShown = 0;
}

void CanvasMouseDown(App& app, int button, int /*shift*/, float x, float y) {
    if (!app.form1 || app.tool.LongCommandRunning == -1) return;
    GuardHandler(app, [&] {
        ToolState& tool = app.tool;
        LampBusy(app);
        Canvas(app).SetDrawMode(DrawModeNotXorPen);
        const std::uint8_t mode = tool.CommandMode;
        if (button == LeftButton) {
            // The press starts the next step: the preview drawn from the last one goes first,
            // while its points are still known.
            if (tool.RubberShown == -1)
                if (const ToolModeHooks* hooks = HooksFor(mode); hooks && hooks->pressErasesPreview && hooks->erasePreview) {
                    hooks->erasePreview(app);
                    tool.RubberShown = 0;
                }
            RecordStore& store = app.store;
            if (store.Count(store.CurrentLayer) + CapacityReserve > store.LayerCapacity) GrowLayerCapacity(app);
            tool.AnchorX = tool.ClickOriginX = x;
            tool.AnchorY = tool.ClickOriginY = y;
            tool.PressPoint = tool.RubberPoint = {x, y};
            if (PressTakesCandidate(app, x, y)) tool.PressPoint = tool.RubberPoint = tool.SnapCandidate;
            tool.PenPhase = 0;
            tool.PenVertex = 0;
            Canvas(app).SetDrawWidth(1);
            if (const ToolModeHooks* hooks = HooksFor(mode); hooks && hooks->press) hooks->press(app, x, y);
            // The aspect drag keeps the pen and the readout of the circle it reshapes.
            if (mode == ModeCircleAspect) return;
        } else if (button == RightButton) {
            // A tool that pauses takes its preview with it.
            if (mode != ModeIdle) EraseToolPreviews(app);
            if (const ToolModeHooks* hooks = HooksFor(mode); hooks && hooks->rightPress)
                hooks->rightPress(app, x, y);
            RightClickSwap(app);
        }
        ApplyCurrentPen(app);
        ShowCapacity(app);
    });
}

void CanvasMouseMove(App& app, int button, int /*shift*/, float x, float y) {
    if (!app.form1 || app.tool.LongCommandRunning == -1) return;
    GuardHandler(app, [&] {
        ToolState& tool = app.tool;
        const ToolModeHooks* hooks = HooksFor(tool.CommandMode);
        if (button == 0) {
            if (tool.SnapOn == -1) {
                HoverSnap(app, x, y);
            } else {
                // Snapping was switched off with the marker shown (a key, a tool, the status label).
                EraseSnapMarker(app);
                tool.SnapCandidate = {0, 0};
                if (tool.CommandMode != ModePan) Form(app).Text1.SetText(CursorText(app, x, y));
            }
            if (tool.ClickCount > 0) {
                if (hooks && hooks->rubber)
                    hooks->rubber(app, x, y);
                else
                    tool.RubberShown = -1;
            }
        } else if (button == LeftButton) {
            if (hooks && hooks->drag) hooks->drag(app, x, y);
        }
    });
}

void CanvasMouseUp(App& app, int button, int /*shift*/, float x, float y) {
    if (!app.form1 || app.tool.LongCommandRunning == -1) return;
    GuardHandler(app, [&] {
        ToolState& tool = app.tool;
        Canvas(app).SetDrawMode(DrawModeCopyPen);
        app.display.Redraw.SuppressTerrainPoints = 0;
        if (button == RightButton) {
            tool.ClickCount = 0;
            Form(app).Text5.SetText("");
            StopRoaming(app);
            const auto paused = static_cast<std::uint8_t>(tool.PreviousMode & 0xFF);
            if (const ToolModeHooks* hooks = HooksFor(paused);
                tool.PreviousMode == paused && hooks && hooks->pausedRightRelease)
                hooks->pausedRightRelease(app);
            EndSteps(app);
            return;
        }
        if (button != LeftButton) {
            EndSteps(app);
            return;
        }
        Form(app).Text1.SetText(CursorText(app, x, y));
        if (tool.ClickCount > 0)
            tool.ReleasePoint = ReleaseTakesCandidate(app, x, y) ? tool.SnapCandidate : CanvasXY{x, y};
        if (const ToolModeHooks* hooks = HooksFor(tool.CommandMode); hooks && hooks->release)
            if (hooks->release(app, x, y) == ReleaseEnd::EndNow) return;
        // The common tail, on the mode the branch left armed.
        const std::uint8_t mode = tool.CommandMode;
        if (mode == ModeSelect) return;
        DisableSelectionButtons(app);
        if (mode == ModePan || mode == ModeZoomDrag || mode == ModeZoomIn) return;
        UndoCheckpoint(app, mode);
        EndSteps(app);
    });
}

void CanvasKeyDown(App& app, int keyCode, int shift) {
    if (!app.form1 || app.tool.LongCommandRunning == -1) return;
    GuardSilently([&] {
        LampBusy(app);
        // Ctrl alone: the copy and paste keys of the copy buffer; the lamp stays red.
        if (shift == CtrlMask) {
            CopyPasteKey(app, keyCode);
            return;
        }
        switch (keyCode) {
            case KeyDelete:
                DeleteSelectionOrStagedImage(app);
                break;
            case KeyB: SetSnapping(app, app.tool.SnapOn != -1); break;
            case KeyX:
                EraseToolPreviews(app);
                ArmSelection(app);
                break;
            case KeyLeft:
            case KeyUp:
            case KeyRight:
            case KeyDown:
                if (!FamilyTookKey(app, keyCode)) ScrollView(app, keyCode);
                break;
            default: break;
        }
        Form(app).Label6.SetBackColor(LampBlue);
    });
}

}  // namespace movra
