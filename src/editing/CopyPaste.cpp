#include "editing/CopyPaste.h"

#include <algorithm>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Guards.h"
#include "document/BlockFile.h"
#include "document/StoreRecord.h"
#include "document/UndoJournal.h"
#include "editing/ToolEngine.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr int PasteButton = 12;
constexpr int KeyC = 'C';
constexpr int KeyV = 'V';

void SetPointer(App& app, int pointer) {
    if (app.form1) app.form1->Picture1.SetMousePointer(pointer);
}

// The selection is used up: the tool is disarmed and Label4 says so.
void Disarm(App& app) {
    app.tool.SelectionArmed = 0;
    if (!app.form1) return;
    app.form1->Label4.SetBackColor(app.tables.ColorPalette[8]);
    app.form1->Label4.SetCaption("不选择");
}

int TargetLayer(const App& app, const CopyBufferEntry& e, std::int16_t toCurrent, bool block) {
    const auto layer = static_cast<std::uint8_t>(e.Layer & 0xFF);
    const RecordStore& store = app.store;
    const bool own = store.LayerOnFlag[layer] != 0 && layer <= store.LayerCount && toCurrent != -1 &&
                     !(block && layer == 0);
    return own ? layer : store.CurrentLayer;
}

void WriteRecord(MapRecord& r, const CopyBufferEntry& e, std::uint8_t source) {
    r = MapRecord{};
    r.RecordSource = source;
    r.RecordType = e.Type;
    r.RecordColor = e.Color;
    r.RecordPen = static_cast<std::uint8_t>(e.Pen & 0xFF);
    r.RecordX1 = e.X1, r.RecordY1 = e.Y1, r.RecordZ1 = e.Z1;
    r.RecordX2 = e.X2, r.RecordY2 = e.Y2, r.RecordZ2 = e.Z2;
    r.RecordX3 = e.X3, r.RecordY3 = e.Y3, r.RecordZ3 = e.Z3;
    r.RecordX4 = e.X4, r.RecordY4 = e.Y4, r.RecordZ4 = e.Z4;
    r.RecordText = e.Text;
    r.RecordFont = e.Font;
    r.RecordExtra = e.Extra;
}

bool IsChainRecord(std::uint8_t type) { return type == 5 || type == 45 || type == 75 || type == 95; }

// The selection becomes the n entries about to be pasted.
void ResetSelectionTo(App& app, std::int32_t n) {
    app.selection.SelectionList.assign(n + 2, SelectedRecord{});
    app.selection.SelectionList[0].Layer = n + 1;
}

// A record a paste adds belongs to the map: leaving it or replacing it asks to save first.
void Added(App& app, std::int32_t& count) {
    ++count;
    app.current.ModifiedFlag = -1;
}

// A full layer stops the paste: the selection keeps only the records pasted before entry i.
void StopFull(App& app, int layer, std::int32_t i) {
    app.selection.SelectionList[0].Layer = i;
    app.selection.SelectionList.resize(i + 1);
    app.platform.prompt().MsgBox(std::to_string(layer) + PasteLayerFullMessage, MsgOkOnly);
}

}  // namespace

void CopySelection(App& app) {
    GuardSilently([&] {
        const auto& list = app.selection.SelectionList;
        const std::int32_t countElement = list.empty() ? 0 : list[0].Layer;
        if (countElement < 2) return;
        const std::int32_t n = std::min<std::int32_t>(countElement - 1, static_cast<std::int32_t>(list.size()) - 1);
        std::vector<CopyBufferEntry> entries(n + 1);
        entries[0].Layer = n;
        for (std::int32_t i = 1; i <= n; ++i) {
            const SelectedRecord& sel = list[i];
            const MapRecord& r = app.store.Get(sel.Layer & 0xFF, static_cast<std::int16_t>(sel.Slot));
            CopyBufferEntry& e = entries[i];
            e.Layer = sel.Layer;
            e.Slot = static_cast<std::int16_t>(sel.Slot);
            e.Source = r.RecordSource;
            e.Type = r.RecordType;
            e.Color = r.RecordColor;
            e.Pen = r.RecordPen;
            e.X1 = r.RecordX1, e.Y1 = r.RecordY1, e.Z1 = r.RecordZ1;
            e.X2 = r.RecordX2, e.Y2 = r.RecordY2, e.Z2 = r.RecordZ2;
            e.X3 = r.RecordX3, e.Y3 = r.RecordY3, e.Z3 = r.RecordZ3;
            e.X4 = r.RecordX4, e.Y4 = r.RecordY4, e.Z4 = r.RecordZ4;
            e.Text = r.RecordText;
            e.Font = r.RecordFont;
            e.Extra = r.RecordExtra;
        }
        app.copyBuffer.Entries = std::move(entries);
        Disarm(app);
        app.tool.CommandMode = ModeIdle;
    });
}

void PasteBlockBuffer(App& app, std::int16_t toCurrent) {
    GuardSilently([&] {
        auto& entries = app.copyBuffer.Entries;
        if (entries.empty()) entries.resize(1);
        std::int32_t n = static_cast<std::int16_t>(entries[0].Layer);
        n = std::max(0, std::min(n, static_cast<std::int32_t>(entries.size()) - 1));
        SetPointer(app, PointerHourglass);
        ResetSelectionTo(app, n);
        RecordStore& store = app.store;
        for (std::int32_t i = 1; i <= n; ++i) {
            const CopyBufferEntry& e = entries[i];
            const int layer = TargetLayer(app, e, toCurrent, true);
            const std::int32_t slot = store.Count(layer);
            app.selection.SelectionList[i] = {layer, slot};
            CopyBufferEntry plain = e;
            plain.Extra.clear();
            WriteRecord(store.At(layer, slot), plain, 0);
            if (store.Count(layer) > BlockPasteLimit) {
                StopFull(app, layer, i);
                SetPointer(app, PointerCross);
                return;
            }
            if (store.Count(layer) + 1 > store.LayerCapacity - 5) GrowLayerCapacity(app);
            Added(app, store.Count(layer));
        }
        Disarm(app);
        app.tool.CommandMode = ModeMoveSelection;
        SetPointer(app, PointerCross);
        entries.assign(1, CopyBufferEntry{});
    });
    SetPointer(app, PointerCross);
}

void PasteCopyBuffer(App& app, std::int16_t toCurrent) {
    GuardSilently([&] {
        auto& entries = app.copyBuffer.Entries;
        if (entries.empty()) entries.resize(1);
        SetPointer(app, PointerHourglass);
        const std::int32_t n =
            std::max(0, std::min(entries[0].Layer, static_cast<std::int32_t>(entries.size()) - 1));
        ResetSelectionTo(app, n);
        if (n == 0) {
            SetPointer(app, PointerCross);
            return;
        }
        RecordStore& store = app.store;
        for (std::int32_t i = 1; i <= n; ++i) {
            const CopyBufferEntry& e = entries[i];
            const int layer = TargetLayer(app, e, toCurrent, false);
            const std::int32_t slot = store.Count(layer);
            app.selection.SelectionList[i] = {layer, slot};
            const auto source = static_cast<std::uint8_t>(e.Source & 0xFF);
            WriteRecord(store.At(layer, slot), e, source);
            // A chained line whose successor was not copied ends at its own last vertex.
            if (IsChainRecord(e.Type) && (i == n || entries[i + 1].Slot != e.Slot + 1)) {
                Added(app, store.Count(layer));
                CopyBufferEntry end;
                end.Type = static_cast<std::uint8_t>(e.Type - 4);
                end.Color = e.Color;
                end.Pen = e.Pen;
                end.X1 = e.X4, end.Y1 = e.Y4, end.Z1 = e.Z4;
                end.Text = e.Text;
                end.Font = e.Font;
                end.Extra = e.Extra;
                WriteRecord(store.At(layer, slot + 1), end, source);
            }
            if (store.Count(layer) > CopyPasteLimit) {
                StopFull(app, layer, i);
                SetPointer(app, PointerCross);
                return;
            }
            if (store.LayerCapacity < store.Count(layer) + 100) GrowLayerCapacity(app);
            Added(app, store.Count(layer));
        }
        Disarm(app);
        app.tool.CommandMode = ModeIdle;
        SetPointer(app, PointerCross);
    });
    SetPointer(app, PointerCross);
}

void CopyForPaste(App& app) {
    CopySelection(app);
    SetToolbar1Button(app, PasteButton, true);
    app.copyBuffer.CopyBufferFlag = -1;
}

void PasteTemporaryBlock(App& app, std::int16_t toCurrent) {
    std::string path = TempBlockFilePath(app);
    if (!LoadBlockFile(app, path)) return;
    PasteBlockBuffer(app, toCurrent);
    UndoCheckpoint(app, 1);
}

bool CopyPasteKey(App& app, int keyCode) {
    if (keyCode == KeyC) {
        CopyForPaste(app);
        return true;
    }
    if (keyCode != KeyV) return false;
    // The paste arms the move tool: the armed tool's preview goes first.
    EraseToolPreviews(app);
    if (app.copyBuffer.CopyBufferFlag == -1)
        PasteCopyBuffer(app, 0);
    else
        PasteTemporaryBlock(app, 0);
    app.tool.CommandMode = ModeMoveSelection;
    return true;
}

}  // namespace movra
