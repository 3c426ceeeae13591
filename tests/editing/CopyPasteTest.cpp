#include <filesystem>
#include <string>
#include <vector>

#include "CanvasFixture.h"
#include "document/BlockFile.h"
#include "editing/CopyPaste.h"
#include "platform/fake/FakePlatform.h"
#include "shell/stForm1.h"

namespace movra {
namespace {

class CopyPasteTest : public CanvasTest {
protected:
    CopyPasteTest() {
        app.store.LayerCount = 3;
        app.store.DimensionKeep(3);
        for (int layer : {1, 2, 3}) app.store.LayerOnFlag[layer] = -1;
        app.store.CurrentLayer = 1;
    }
    void Select(std::vector<std::pair<int, int>> records) {
        auto& list = app.selection.SelectionList;
        list.assign(records.size() + 2, SelectedRecord{});
        list[0].Layer = static_cast<std::int32_t>(records.size()) + 1;
        for (std::size_t k = 0; k < records.size(); ++k) list[k + 1] = {records[k].first, records[k].second};
    }
    void Buffer(std::vector<int> layers) {
        auto& e = app.copyBuffer.Entries;
        e.assign(layers.size() + 1, CopyBufferEntry{});
        e[0].Layer = static_cast<std::int32_t>(layers.size());
        for (std::size_t k = 0; k < layers.size(); ++k) {
            e[k + 1].Layer = layers[k];
            e[k + 1].Slot = static_cast<std::int16_t>(k);
            e[k + 1].Type = 2;
            e[k + 1].X1 = static_cast<double>(k);
        }
    }
    std::int32_t CountElement() const { return app.selection.SelectionList[0].Layer; }
    ScriptedPrompt& Prompts() { return t.platform.promptScript; }
};

TEST_F(CopyPasteTest, TheTargetLayerRule) {
    app.store.LayerOnFlag[2] = 0;
    app.store.LayerLockFlag[3] = -1;
    struct Case {
        int layer;
        std::int16_t toCurrent;
        bool block;
        int target;
    };
    for (const Case& c : {Case{2, 0, false, 1}, Case{9, 0, false, 1}, Case{3, 0, false, 3}, Case{3, -1, false, 1},
                          Case{3, 0, true, 3}, Case{0, 0, true, 1}, Case{3, -1, true, 1}}) {
        Buffer({c.layer});
        const std::int32_t before = app.store.Count(c.target);
        if (c.block)
            PasteBlockBuffer(app, c.toCurrent);
        else
            PasteCopyBuffer(app, c.toCurrent);
        EXPECT_EQ(app.store.Count(c.target), before + 1) << c.layer << " " << c.toCurrent << " " << c.block;
        EXPECT_EQ(app.selection.SelectionList[1].Layer, c.target);
        EXPECT_EQ(app.selection.SelectionList[1].Slot, before);
        EXPECT_EQ(app.tool.CommandMode, c.block ? ModeMoveSelection : ModeIdle);
    }
}

TEST_F(CopyPasteTest, ACopyPastesAgainWhileABlockIsPastedOnce) {
    Put(2, 0, {1, 2}).RecordText = "a";
    Put(2, 1, {3, 4}).RecordExtra = "门牌12";
    Select({{2, 0}, {2, 1}});
    app.tool.SelectionArmed = -1;
    CopySelection(app);
    EXPECT_EQ(app.tool.SelectionArmed, 0);
    EXPECT_EQ(form.Label4.Caption(), "不选择");
    app.store.At(2, 2).RecordExtra = "stale";  // an old text in the slot the paste writes
    PasteCopyBuffer(app, 0);
    PasteCopyBuffer(app, 0);
    EXPECT_EQ(app.store.Count(2), 6);
    EXPECT_EQ(app.store.Get(2, 4).RecordText, "a");
    EXPECT_EQ(app.store.Get(2, 2).RecordExtra, "");
    EXPECT_EQ(app.store.Get(2, 5).RecordExtra, "门牌12");
    EXPECT_EQ(CountElement(), 3);
    EXPECT_EQ(app.selection.SelectionList[2].Slot, 5);

    PasteBlockBuffer(app, 0);
    EXPECT_EQ(app.store.Count(2), 8);
    EXPECT_EQ(app.store.Get(2, 7).RecordExtra, "");  // a block carries no second text
    EXPECT_EQ(app.copyBuffer.Entries[0].Layer, 0);
    PasteBlockBuffer(app, 0);
    EXPECT_EQ(app.store.Count(2), 8);
    EXPECT_EQ(CountElement(), 1);
}

TEST_F(CopyPasteTest, AChainCopiedWithoutItsSuccessorEndsAtItsLastVertex) {
    Put(1, 0, {0, 0, 1, 1, 2, 2, 3, 3}, 5);
    Put(1, 1, {4, 4, 5, 5, 6, 6, 7, 7}, 5);
    Put(1, 2, {8, 8}, 1);
    Select({{1, 0}});
    CopySelection(app);
    PasteCopyBuffer(app, 0);
    ASSERT_EQ(app.store.Count(1), 5);
    const MapRecord& end = app.store.Get(1, 4);
    EXPECT_EQ(end.RecordType, 1);
    EXPECT_EQ(end.RecordX1, 3);
    EXPECT_EQ(end.RecordY1, 3);
    EXPECT_EQ(CountElement(), 2);

    // Copied with its own successors, the chain takes no extra record.
    Select({{1, 0}, {1, 1}, {1, 2}});
    CopySelection(app);
    PasteCopyBuffer(app, 0);
    EXPECT_EQ(app.store.Count(1), 8);
}

TEST_F(CopyPasteTest, AFullLayerStopsThePasteAndTheSelectionKeepsWhatWasPasted) {
    app.store.LayerCapacity = 32767;
    app.store.Count(3) = 31100;
    Buffer({1, 3, 3});
    PasteCopyBuffer(app, 0);
    EXPECT_EQ(Prompts().LastText(), "3层容量满，请换(加)层,粘贴请撤消");
    EXPECT_EQ(app.store.Count(3), 31101);
    EXPECT_EQ(CountElement(), 3);
    EXPECT_EQ(app.selection.SelectionList[2].Layer, 3);
    EXPECT_EQ(app.copyBuffer.Entries[0].Layer, 3);  // the buffer stays

    app.store.Count(3) = 32001;
    Buffer({3, 3});
    PasteBlockBuffer(app, 0);
    EXPECT_EQ(Prompts().LastText(), "3层容量满，请换(加)层,粘贴请撤消");
    EXPECT_EQ(app.store.Count(3), 32001);
    EXPECT_EQ(CountElement(), 1);
}

TEST_F(CopyPasteTest, TheCtrlKeysCopyAndPaste) {
    Put(1, 0, {1, 1}).RecordText = "old";
    Select({{1, 0}});
    Key('C', CtrlMask);
    EXPECT_EQ(app.copyBuffer.CopyBufferFlag, -1);
    EXPECT_TRUE(toolbar.Buttons(12).Enabled());

    // Nothing selected: the older copy stays and is pasted.
    Select({});
    app.copyBuffer.CopyBufferFlag = 0;
    Key('C', CtrlMask);
    EXPECT_EQ(app.copyBuffer.CopyBufferFlag, -1);
    Key('V', CtrlMask);
    EXPECT_EQ(app.store.Count(1), 2);
    EXPECT_EQ(app.store.Get(1, 1).RecordText, "old");
    EXPECT_EQ(app.tool.CommandMode, ModeMoveSelection);

    // Flag 0: the temporary block file of an earlier map is read.
    Put(1, 1, {2, 2}).RecordText = "kept";
    Select({{1, 0}, {1, 1}});
    CopySelection(app);
    std::string path = TempBlockFilePath(app);
    SaveCopyBufferAsBlock(app, path);
    ASSERT_TRUE(std::filesystem::exists(path));
    app.copyBuffer.Entries.assign(1, CopyBufferEntry{});
    app.copyBuffer.CopyBufferFlag = 0;
    Key('V', CtrlMask);
    EXPECT_EQ(app.store.Count(1), 4);
    EXPECT_EQ(app.store.Get(1, 3).RecordText, "kept");
    EXPECT_EQ(app.copyBuffer.Entries[0].Layer, 0);

    // Without the file a block file is asked for.
    std::filesystem::remove(path);
    t.platform.dialogScript.QueueCancel();
    Key('V', CtrlMask);
    ASSERT_EQ(t.platform.dialogScript.requests.size(), 1u);
    EXPECT_EQ(app.store.Count(1), 4);
}

}  // namespace
}  // namespace movra
