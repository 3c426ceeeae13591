// A random sequence of edits, undone to its start and redone to its end.
#include <cmath>
#include <map>
#include <random>

#include "document/SlotEditing.h"
#include "document/UndoRedo.h"
#include "document/UndoTestFixture.h"
#include "document/RecordTransforms.h"

namespace movra {
namespace {

using Layers = std::vector<std::vector<MapRecord>>;

// Coordinates may differ by rounding after a transform and its inverse; every other field exactly.
void ExpectSameState(const Layers& got, const Layers& want, const std::string& when) {
    ASSERT_EQ(got.size(), want.size()) << when;
    for (size_t layer = 0; layer < want.size(); ++layer) {
        ASSERT_EQ(got[layer].size(), want[layer].size()) << when << ": count of layer " << layer + 1;
        for (size_t slot = 0; slot < want[layer].size(); ++slot) {
            MapRecord a = got[layer][slot];
            MapRecord b = want[layer][slot];
            double* ca[] = {&a.RecordX1, &a.RecordY1, &a.RecordX2, &a.RecordY2,
                            &a.RecordX3, &a.RecordY3, &a.RecordX4, &a.RecordY4};
            double* cb[] = {&b.RecordX1, &b.RecordY1, &b.RecordX2, &b.RecordY2,
                            &b.RecordX3, &b.RecordY3, &b.RecordX4, &b.RecordY4};
            for (int k = 0; k < 8; ++k) {
                ASSERT_NEAR(*ca[k], *cb[k], 1e-6) << when << ": layer " << layer + 1 << " slot " << slot;
                *ca[k] = *cb[k];
            }
            ASSERT_EQ(a, b) << when << ": layer " << layer + 1 << " slot " << slot;
        }
    }
}

class UndoSequenceTest : public UndoFixture {
protected:
    std::mt19937 random{12345};

    int Pick(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); }
    double Coordinate() { return std::uniform_real_distribution<double>(-500, 500)(random); }

    // Some records of the layers that hold any.
    void SelectSome() {
        std::vector<std::pair<int, int>> chosen;
        const int n = Pick(1, 3);
        for (int k = 0; k < n; ++k) {
            const int layer = Pick(1, 3);
            if (app.store.Count(layer) == 0) continue;
            const int slot = Pick(0, app.store.Count(layer) - 1);
            bool seen = false;
            for (auto& c : chosen) seen = seen || (c.first == layer && c.second == slot);
            if (!seen) chosen.emplace_back(layer, slot);
        }
        Select(chosen);
    }

    void Append() {
        app.tool.CommandMode = 17;
        static const int types[] = {2, 3, 4, 6, 7, 11, 15, 33, 44, 45, 61, 64, 66, 74, 80, 95};
        const int records = Pick(1, 3);
        for (int k = 0; k < records; ++k) {
            const int type = types[Pick(0, 15)];
            const int slot = Add(Pick(1, 3), type, Coordinate(), Coordinate(), Coordinate(), Coordinate(),
                                 Coordinate(), Coordinate(), Coordinate(), Coordinate(), "r");
            MapRecord& r = app.store.At(app.store.CurrentLayer, slot);
            r.RecordZ2 = static_cast<float>(Pick(0, 359));
            r.RecordSource = static_cast<std::uint8_t>(Pick(1, 3));
            r.RecordExtra = "x" + std::to_string(slot);
        }
        UndoCheckpoint(app, 1);
    }

    int lastEdit = -1;
    void Edit() {
        lastEdit = Pick(0, 6);
        switch (lastEdit) {
            case 0:
            case 1:
                Append();
                break;
            case 2:
                SelectSome();
                DeleteSelectionWithUndo(app);
                break;
            case 3: {
                SelectSome();
                if (app.selection.SelectionList[0].Layer < 2) break;
                app.tool.CommandMode = ModeMoveSelection;
                UndoStepSelection(app, 0, Coordinate(), Coordinate());
                const double x = Coordinate(), y = Coordinate();
                平移后(app, x, y, 0, 0, 0);
                UndoStepSelection(app, 1, x, y);
                break;
            }
            case 4: {
                SelectSome();
                if (app.selection.SelectionList[0].Layer < 2) break;
                app.tool.CommandMode = ModeRotateSelection;
                app.tool.StepParamA = Coordinate();
                app.tool.StepParamB = Coordinate();
                UndoStepSelection(app, 0, app.tool.StepParamA, app.tool.StepParamB);
                const double x = Coordinate(), y = Coordinate();
                UndoStepSelection(app, 1, x, y);
                旋转后(app, app.tool.StepParamA, app.tool.StepParamB, x, y, 1);
                break;
            }
            case 5: {
                SelectSome();
                if (app.selection.SelectionList[0].Layer < 2) break;
                const bool upDown = Pick(0, 1) == 0;
                app.tool.CommandMode = upDown ? ModeFlipUpDown : ModeFlipLeftRight;
                if (upDown) Y镜像(app, 0, 0, 0);
                else X镜像(app, 0, 0, 0);
                UndoStepSelection(app, 0, 0, 0);
                UndoStepSelection(app, 1, 0, 0);
                break;
            }
            default: {
                const int layer = Pick(1, 3);
                if (app.store.Count(layer) == 0) break;
                const int slot = Pick(0, app.store.Count(layer) - 1);
                app.tool.CommandMode = ModeInsertVertex;
                UndoStepSnapshot(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), -1);
                InsertVertex(app, Coordinate(), Coordinate(), static_cast<std::uint8_t>(layer),
                             static_cast<std::int16_t>(slot), static_cast<std::uint8_t>(Pick(1, 4)));
                UndoStepSnapshot(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), 0);
                app.tool.CommandMode = ModeJournalHold;
                UndoCheckpoint(app, ModeInsertVertex);  // the canvas's checkpoint: held, nothing recorded
                break;
            }
        }
    }
};

TEST_F(UndoSequenceTest, UndoingEverythingGivesTheStartAndRedoingEverythingTheEnd) {
    // An opened map with records: its base group is where undoing ends.
    for (int layer = 1; layer <= 3; ++layer) Add(layer, 2, 0, 0, 1, 1);
    for (int round = 0; round < 8; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Each round starts from the map the previous one left, opened anew (the journal may hold).
        Open();
        const Layers start = State();
        // The state after each edit, by the journal step it ended on: undoing passes through each.
        std::map<int, std::pair<int, Layers>> after;
        for (int k = 0; k < 60; ++k) {
            Edit();
            after[app.undo.UndoCurrentStep] = {lastEdit, State()};
        }
        const Layers end = State();
        for (int k = 0; k < 400 && Button(6); ++k) {
            auto it = after.find(app.undo.UndoLastStep);
            if (it != after.end())
                ExpectSameState(State(), it->second.second, "undoing to after edit kind " + std::to_string(it->second.first));
            Undo(app);
        }
        ExpectSameState(State(), start, "after undoing everything");
        EXPECT_FALSE(Button(6));
        for (int k = 0; k < 400 && Button(7); ++k) Redo(app);
        ExpectSameState(State(), end, "after redoing everything");
        EXPECT_EQ(app.undo.UndoLastStep, app.undo.UndoCurrentStep);
    }
}

}  // namespace
}  // namespace movra
