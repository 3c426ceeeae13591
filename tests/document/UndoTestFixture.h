#pragma once
// A map of three layers over the fake platform, with the main tool bar's undo and redo buttons,
// and helpers to draw records, select them and read the layers back.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "document/ColorTable.h"
#include "document/StoreRecord.h"
#include "document/UndoJournal.h"
#include "platform/Toolbar.h"
#include "support/TestApp.h"

namespace movra {

class UndoFixture : public ::testing::Test {
protected:
    UndoFixture() {
        FillColorAndFontTables(app);
        app.store.LayerCount = 3;
        app.store.NextLayerIndex = 4;
        app.store.DimensionKeep(3);
        app.tool.CommandMode = 17;  // a drawing tool
        t.form1.Picture1.SetScale(0, 1000, 1500, -1000);
    }

    // Appends a record to the layer the way the drawing tools do.
    int Add(int layer, int type, double x1, double y1, double x2 = 0, double y2 = 0, double x3 = 0,
            double y3 = 0, double x4 = 0, double y4 = 0, const std::string& text = "") {
        app.store.CurrentLayer = static_cast<std::uint8_t>(layer);
        StoreRecord(app, StoreFull, static_cast<std::uint8_t>(type), x1, y1, x2, y2, x3, y3, x4, y4, text);
        return app.store.Count(layer) - 1;
    }

    // Appends a record and ends the command with its checkpoint.
    int Draw(int layer, int type, double x1, double y1, double x2 = 0, double y2 = 0) {
        const int slot = Add(layer, type, x1, y1, x2, y2);
        UndoCheckpoint(app, 1);
        return slot;
    }

    void Open() {
        ResetUndo(app);
        UndoCheckpoint(app, 0);
    }

    void Select(const std::vector<std::pair<int, int>>& records) {
        auto& list = app.selection.SelectionList;
        list.assign(1, SelectedRecord{});
        for (auto [layer, slot] : records) list.push_back({layer, slot});
        list[0].Layer = static_cast<std::int32_t>(list.size());
    }

    const MapRecord& R(int layer, int slot) const { return app.store.Get(layer, slot); }
    bool Button(int index) { return toolbar.Buttons(index).Enabled(); }

    // Every record below the count of every layer, and the counts.
    std::vector<std::vector<MapRecord>> State() const {
        std::vector<std::vector<MapRecord>> state;
        for (int layer = 1; layer <= app.store.LayerCount; ++layer) {
            std::vector<MapRecord> records;
            for (int slot = 0; slot < app.store.Count(layer); ++slot) records.push_back(app.store.Get(layer, slot));
            state.push_back(std::move(records));
        }
        return state;
    }

    TestApp t;
    App& app = t.app;
    Toolbar& toolbar = t.form1.Toolbar1;
};

}  // namespace movra
