#include "symbols/shuxfrm.h"

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "shell/stForm1.h"
#include "symbols/Attributes.h"

namespace movra {

namespace {

constexpr const char* PageBreakLine = "$（分页符）";

std::string CommandBoxText(const App& app) { return app.form1 ? app.form1->Text8.Text() : std::string(); }

}  // namespace

shuxfrm::shuxfrm(App& application)
    : FormModel(application.platform, "shuxfrm"),
      app(application),
      Command2(*this, "Command2"),
      List1(*this, "List1"),
      Command1(*this, "Command1"),
      Text2(*this, "Text2"),
      Text1(*this, "Text1"),
      Label2(*this, "Label2"),
      Label1(*this, "Label1") {
    SetCaption("注属性");
    Move(0, 0, 6600, 3900);
    const std::string brk = app.settings.LineBreak;
    Label1.SetCaption("字段名");
    Label1.Move(120, 120, 2400, 255);
    Text1.SetMultiLine(true);
    Text1.SetText("字段名" + brk);
    Text1.Move(120, 420, 2400, 2760);
    Label2.SetCaption("属性值");
    Label2.Move(2640, 120, 2400, 255);
    Text2.SetMultiLine(true);
    Text2.SetText("$" + brk);
    Text2.Move(2640, 420, 2400, 2760);
    for (const char* item : AttributeClassItems) List1.AddItem(item);
    List1.Move(5160, 420, 1200, 1500);
    Command1.SetCaption("确定");
    Command1.SetDefault(true);
    Command1.Move(5160, 2160, 1200, 420);
    Command2.SetCaption("退出");
    Command2.Move(5160, 2760, 1200, 420);

    List1.onClick = [this] { List1_Click(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void shuxfrm::Form_Load() {
    Text1.SetLocked(true);
    try {
        const int c = ToInt16(Val(CommandBoxText(app)));
        if (c < 0 || c >= AttributeClassCount) return;
        // Choosing the class shows its list; choosing the class already chosen shows it again.
        if (List1.ListIndex() == c)
            List1_Click();
        else
            List1.SetListIndex(c);
    } catch (...) {
        // A command box without a class leaves none chosen.
    }
}

void shuxfrm::List1_Click() {
    try {
        const int c = List1.ListIndex();
        if (c < 0 || c >= AttributeClassCount) return;
        const std::string& brk = app.settings.LineBreak;
        if (c == 0) {
            std::string text;
            for (const char* name : Class0FieldNames) text += std::string(name) + brk;
            Text1.SetText(text + PageBreakLine);
            return;
        }
        std::string text;
        for (const std::string& name : FieldNamesShown(app, c)) text += name + brk;
        Text1.SetText(text + AnchorWordItem + brk);
    } catch (...) {
        // The display ends quietly.
    }
}

void shuxfrm::Command1_Click() {
    const int c = List1.ListIndex();
    Prompt& prompt = app.platform.prompt();
    if (CommandBoxText(app) == FieldDesignCommand) {
        if (c < 0 || c >= AttributeClassCount) return;
        if (c == 0) {
            prompt.MsgBox("第0类属性固定，不改！", MsgOkOnly);
            List1_Click();
            return;
        }
        // The list as shown ends with the anchor line and a line break: neither is a field name,
        // so confirming a shown list again leaves it as it was.
        std::vector<std::string> names = SplitLines(app, Text1.Text());
        if (names.size() > 1 && names.back().empty()) names.pop_back();
        if (!names.empty() && names.back() == AnchorWordItem) names.pop_back();
        if (names.empty()) names.emplace_back();
        if (static_cast<int>(names.size()) > MaxAttributeFieldNames) {
            prompt.MsgBox("字段名不能多于" + PlainNumberText(static_cast<std::int32_t>(MaxAttributeFieldNames)) +
                              "个，第" + PlainNumberText(static_cast<std::int32_t>(c)) + "类属性未改！",
                          MsgOkOnly);
            return;
        }
        app.mapFile.AttributeFieldNames[static_cast<std::size_t>(c)] = std::move(names);
        // The names are saved with the map.
        app.current.ModifiedFlag = -1;
        prompt.MsgBox("第" + PlainNumberText(static_cast<std::int32_t>(c)) + "类属性已改！", MsgOkOnly);
        return;
    }
    app.attributes.AttributeRecordType = static_cast<std::uint8_t>(AttributeTypeBase + c);
    SetPendingText(app, Text2.Text());
    Hide();
}

void shuxfrm::Command2_Click() {
    app.tool.CommandMode = ModeIdle;
    Unload();
}

shuxfrm& AttributeDialog(App& app) {
    if (!app.attributeDialog || !app.attributeDialog->Loaded())
        app.attributeDialog = std::make_shared<shuxfrm>(app);
    return *app.attributeDialog;
}

void ShowAttributeFieldDesign(App& app, const std::function<void()>& beforeShow) {
    if (app.attributeDialog && app.attributeDialog->Loaded()) app.attributeDialog->Unload();
    if (app.form1) app.form1->Text8.SetText(FieldDesignCommand);
    shuxfrm& dialog = AttributeDialog(app);
    dialog.Load();
    dialog.SetCaption("设计属性字段");
    dialog.Text1.SetLocked(false);
    dialog.Text2.SetBackColor(app.tables.ColorPalette[251]);
    dialog.Text2.SetLocked(true);
    // Kept alive while shown, even should another opening replace the dialog of the run.
    const std::shared_ptr<shuxfrm> keep = app.attributeDialog;
    if (beforeShow) beforeShow();
    dialog.Show(true);
}

void ShowAttributeDialog(App& app) { AttributeDialog(app).Show(false); }

}  // namespace movra
