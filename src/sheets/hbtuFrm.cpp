#include "sheets/hbtuFrm.h"

#include <memory>
#include <string>

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "document/DrawingExtents.h"
#include "document/UndoRedo.h"
#include "editing/ViewExtents.h"

namespace movra {

namespace {

const std::string TakenOutMark = "！";

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

hbtuFrm::hbtuFrm(App& application)
    : FormModel(application.platform, "hbtuFrm"),
      app(application),
      Label1(*this, "Label1"),
      Combo1(*this, "Combo1"),
      Text1(*this, "Text1"),
      Command1(*this, "Command1"),
      Command2(*this, "Command2") {
    SetCaption("hbtuFrm_撤消合并图");
    Label1.Move(120, 120, 4600, 300);
    Combo1.Move(120, 480, 4600, 330);
    Combo1.SetComboStyle(ComboBox::DropdownList);
    Text1.Move(120, 900, 4600, 330);
    Command1.SetCaption("撤消这一幅图");
    Command2.SetCaption("完成");
    Command1.Move(120, 1350, 2200, 420);
    Command2.Move(2520, 1350, 2200, 420);
    Combo1.onClick = [this] { Combo1_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void hbtuFrm::Form_Load() {
    Text1.SetLocked(true);
    Label1.SetForeColor(app.tables.ColorPalette[5]);
    const auto& files = app.mapFile;
    const int count = files.MergedFileCount;
    if (count > 1) {
        Command1.SetEnabled(true);
        for (int k = 1; k <= count; ++k)
            Combo1.AddItem(k < static_cast<int>(files.MergedFileNames.size()) ? files.MergedFileNames[k] : std::string());
        // The last merged file is preselected.
        Combo1.SetListIndex(count - 1);
        Text1.SetText(std::to_string(count));
    } else {
        Label1.SetForeColor(app.tables.ColorPalette[1]);
        Text1.SetText("无");
        Command1.SetEnabled(false);
    }
    Label1.SetCaption("已有" + std::to_string(count - 1) + " 幅图 并入");
}

void hbtuFrm::Combo1_Click() {
    if (Combo1.ListIndex() >= 0) Text1.SetText(std::to_string(Combo1.ListIndex() + 1));
}

void hbtuFrm::Command1_Click() {
    const double number = Val(Text1.Text());
    auto& files = app.mapFile;
    if (!(number > 1)) {
        Command2.SetCaption("本幅，不！");
        return;
    }
    // Only the files the list names can be taken out.
    if (number > files.MergedFileCount || number >= static_cast<double>(files.MergedFileNames.size())) return;
    const int k = static_cast<int>(number);
    Command2.SetCaption("忙！");
    MousePointer = 11;
    if (!EndsWith(files.MergedFileNames[k], TakenOutMark)) {
        if (DeleteBySourceTag(app, static_cast<std::uint8_t>(k)) > 0) {
            app.current.ModifiedFlag = -1;
            const std::string marked = files.MergedFileNames[k] + TakenOutMark;
            Combo1.AddItem(marked, k - 1);
            files.MergedFileNames[k] = marked;
            Combo1.RemoveItem(k);
        }
    }
    Command2.SetCaption("完成");
    MousePointer = 1;
}

void hbtuFrm::Command2_Click() { Unload(); }

void hbtuFrm::Form_Resize() {
    if (ScaleWidth() > 240) Text1.SetWidth(ScaleWidth() - 240);
}

void ShowMergedMapUndoWindow(App& app) {
    auto window = std::make_shared<hbtuFrm>(app);
    window->Show(true);
    ComputeDrawingExtents(app);
    ZoomToExtents(app);
    刷新(app);
}

}  // namespace movra
