#include "document/Layers.h"

#include <algorithm>
#include <cmath>
#include <ctime>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "document/ColorTable.h"
#include "document/NodeLinks.h"
#include "document/UndoJournal.h"
#include "document/LayerSelector.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// The colour of the scale box's text (red 40, green 52, blue 1).
constexpr Rgb ScaleBoxTextColor = 78888;

// Layer definitions up to NextLayerIndex - 1 become layers of the store. Every record is kept,
// layer 0's reserved ranges included (they lie above its count); in the drawing layers the slots
// above the count come back empty. A NextLayerIndex at or below LayerCount drops no layer.
void GrowLayerDimension(App& app) {
    auto& store = app.store;
    if (store.NextLayerIndex == 0) return;
    const int oldCount = std::min(int{store.LayerCount}, store.LayerDimension());
    const int newCount = std::max(int{store.LayerCount}, store.NextLayerIndex - 1);
    store.LayerRecordCount.resize(static_cast<size_t>(newCount) + 2, 0);
    for (int layer = 1; layer <= oldCount; ++layer) store.ClearFrom(layer, store.Count(layer) + 1);
    store.DimensionKeep(newCount);
    store.LayerCount = static_cast<std::uint8_t>(newCount);
    RebuildLayerSelector(app, newCount);
}

bool IsFillHead(std::uint8_t type) {
    return type == 11 || type == 13 || type == 111 || type == 113;
}

}  // namespace

std::string NewDocumentName() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return std::string("newfilse_") + text;
}

void 新建层(App& app) {
    auto& store = app.store;
    RebuildLayerSelector(app, store.LayerCount);
    // The sheet frame template lived in layer 0, which is emptied with the rest.
    app.sheets.FrameItemCount = 0;
    store.LayerRecordCount.assign(static_cast<size_t>(store.LayerCount) + 2, 0);
    store.DimensionEmpty(store.LayerCount);
}

void RestoreLayerSelector(App& app) { RebuildLayerSelector(app, app.store.LayerCount); }

void AddLayer(App& app) {
    try {
        GrowLayerDimension(app);
        // The work buffer served as scratch space while the layers were copied.
        app.clip.Items.assign(1, MapRecord{});
        app.clip.ClipBufferCount = 0;
    } catch (...) {
    }
}

void 硬盘建层(App& app) {
    try {
        GrowLayerDimension(app);
    } catch (...) {
    }
}

void 自动加层(App& app) {
    try {
        auto& store = app.store;
        const int c = store.CurrentLayer;
        const int m = std::max(int{store.NextLayerIndex}, store.LayerCount + 1);
        if (m > 254) {
            app.platform.prompt().MsgBox(LayersFullMessage, MsgOkOnly);
            return;
        }
        store.LayerNames[static_cast<size_t>(m)] = store.LayerNames[static_cast<size_t>(c)] + "j";
        store.LayerColorIndex[static_cast<size_t>(m)] = store.LayerColorIndex[static_cast<size_t>(c)];
        store.LayerOnFlag[static_cast<size_t>(m)] = store.LayerOnFlag[static_cast<size_t>(c)];
        store.NextLayerIndex = static_cast<std::uint8_t>(m + 1);
        app.current.DialogFilePath = app.current.CurrentFilePath;
        硬盘建层(app);
        if (store.LayerDimension() < m) return;

        // Cut after the first record from slot 10000 that ends what it belongs to: a type that is
        // a multiple of 5 goes on in the next slot, and a fill head owns the chain after it.
        int cut = 10000;
        for (int i = 10000; i <= store.LayerCapacity - 1; ++i) {
            const std::uint8_t type = store.Get(c, i).RecordType;
            if (type % 5 != 0 && !IsFillHead(type)) {
                cut = i + 1;
                break;
            }
        }
        const int allocated = store.AllocatedSlots(c);
        for (int i = cut; i < allocated; ++i) store.At(m, i - cut) = std::move(store.At(c, i));
        store.ClearFrom(c, cut);

        const int count = store.Count(c);
        store.Count(m) = std::max(0, count - cut);
        store.Count(c) = std::min(count, cut);
        store.CurrentLayer = static_cast<std::uint8_t>(c);
    } catch (...) {
    }
}

void NewDocument(App& app) {
    stForm1* form = app.form1;
    auto writeText2 = [form](const std::string& text) {
        if (form) form->Text2.SetText(text);
    };
    GuardToMessageLine(writeText2, [&app, form] {
        auto& store = app.store;
        auto& tables = app.tables;
        // The lock flags stay as the user last set them.
        store.LayerNames.fill(std::string());
        store.LayerColorIndex.fill(0);
        store.LayerOnFlag.fill(0);
        store.LayerCapacity = NewDocumentCapacity;
        store.DimensionEmpty(1);
        store.LayerRecordCount.assign(LayerTableSize, 0);
        app.selection.SelectionList.assign(1, SelectedRecord{});
        app.mapFile.MergedFileCount = 1;
        app.mapFile.MergedFileNames.assign(2, std::string());
        // The field names stay for the new map, but not the stand-ins a dialog put in for names
        // never given.
        for (auto& names : app.mapFile.AttributeFieldNames)
            for (std::string& name : names)
                if (name == UnnamedFieldText) name.clear();
        // The new map has no false origin: records drawn in it are at their true coordinates.
        app.reduction.ReductionOffsetX = 0;
        app.reduction.ReductionOffsetY = 0;
        // Nor does it keep the last map's extents: its first records set them, and its file header
        // carries its own, so that it reopens showing its drawing.
        app.extents = DrawingExtents{};

        const double screenWidth = app.platform.screen().WidthTwips();
        const double screenHeight = app.platform.screen().HeightTwips();
        app.view.ScreenAspect = screenWidth > 0 ? screenHeight / screenWidth : 0;
        // One map unit is 100 twips of canvas, y up.
        ViewRect& view = app.view.View;
        view.Left = -0.856 * screenWidth / 200;
        view.Right = 0.856 * screenWidth / 200;
        view.Top = std::abs(view.Left) * app.view.ScreenAspect;
        view.Bottom = -view.Top;
        if (form) {
            form->SetWindowState(WindowMaximized);
            PictureBox& canvas = form->Picture1;
            // The scroll bars go back to 0 before the new view is set, so that their change
            // handlers cannot move it.
            // The canvas fills the window as it is; one map unit is 100 twips of it across and
            // down, so the new map is not stretched.
            form->LayoutCanvasAndScrollBars(form->ScaleWidth() > 0 ? form->ScaleWidth() : screenWidth,
                                            form->ScaleHeight() > 0 ? form->ScaleHeight() : screenHeight);
            view.Left = -canvas.Width() / 200;
            view.Right = canvas.Width() / 200;
            view.Top = canvas.Height() / 200;
            view.Bottom = -view.Top;
            canvas.SetScale(view.Left, view.Top, view.Right - view.Left, view.Bottom - view.Top);
            canvas.surface().SetDrawWidth(1);
            canvas.surface().SetDrawStyle(0);
            canvas.surface().SetDrawMode(10);
            form->Text4.SetBackColor(canvas.BackColor());
            form->Text4.SetForeColor(ScaleBoxTextColor);
            form->Text4_Click();

            ImageCombo& layers = form->ImageCombo1;
            layers.SetImageList(&form->ImageList2);
            layers.ClearItems();
            layers.AddItem(1, "k1", "层1", 254, 0);
            layers.SetSelectedItem(1);
        }
        app.tool.CommandMode = ModeZoomIn;
        store.CurrentLayer = 1;
        app.view.DisplayZoom = 2;

        ShowColorInSelector(app, 5);
        app.current.CurrentColor = tables.ColorPalette[5];
        if (form) form->ImageCombo1.SetBackColor(tables.ColorPalette[5]);

        store.LayerNames[0] = "层0";
        store.LayerColorIndex[0] = 6;
        store.LayerOnFlag[0] = -1;
        store.LayerNames[1] = "层1";
        store.LayerColorIndex[1] = 5;
        store.LayerOnFlag[1] = -1;

        store.LayerCount = 1;
        store.NextLayerIndex = 2;
        store.Count(0) = Layer0Slots::NewDocumentCount;
        // The journal starts empty over the new map.
        ResetUndo(app);
        app.undo.SnapshotCounter = 0;
        ResetNodeLinks(app);
        app.current.CurrentPen = 0;
        app.view.BackgroundColor = 0;
        app.current.ModifiedFlag = 0;

        app.current.LastPicturePath = NewDocumentName();
        if (form) {
            form->SetCaption("movra_" + app.current.LastPicturePath);
            Surface& surface = form->Picture1.surface();
            surface.SetDrawWidth(1);
            surface.SetDrawStyle(0);
            surface.Cls();
            surface.SetDrawMode(13);
        }
        // The sheet frame template of layer 0 went with the store; nothing is left to undo or redo.
        app.sheets.FrameItemCount = 0;
        SetToolbar1Button(app, 6, false);
        SetToolbar1Button(app, 7, false);
        ClearImageSlots(app);
    });
}

void ClearImageSlots(App& app) {
    RecordImageState& images = app.display.Images;
    for (Picture& picture : images.Image1) picture = Picture{};
    for (int h = 0; h < ImageHolderCount; ++h) images.ImageSlotNames[h].clear();
    images.LocateAsked.clear();
}

}  // namespace movra
