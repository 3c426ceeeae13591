#pragma once
#include <functional>

#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

// The attribute dialog "注属性". In field design (the command box holds exactly "1sxsj" when 确定
// is pressed) the user edits the field-name lists of classes 1 to 4 in Text1; otherwise the user
// types the values of one attribute record into Text2, one per line, and 确定 hands them to the
// placing tool as the text in hand. Modal in field design, modeless in value entry, where it
// stays loaded while hidden between placements.
class shuxfrm : public FormModel {
public:
    explicit shuxfrm(App& app);

    App& app;

    CommandButton Command2;
    // Item i is class i.
    ListBox List1;
    CommandButton Command1;
    // The values, one per line.
    TextBox Text2;
    // The field names, one per line.
    TextBox Text1;
    Label Label2;
    Label Label1;

    // Selects the class the main window's command box begins with and shows its field list.
    void Form_Load() override;
    void List1_Click();
    void Command1_Click();
    void Command2_Click();
};

// The command box text that makes 确定 store field names.
inline constexpr const char* FieldDesignCommand = "1sxsj";

// The attribute dialog: the loaded one, or a new one with its design values.
shuxfrm& AttributeDialog(App& app);
// The field design, started from the settings window's "属性字段名": a fresh dialog with class 1,
// editable names and read-only values, shown modally. `beforeShow` runs just before the modal
// show (the settings window hides itself there).
void ShowAttributeFieldDesign(App& app, const std::function<void()>& beforeShow = {});
// Shows the dialog modelessly for value entry: the method panel's attribute buttons, after writing
// the class into the command box and arming the placing tool, and the placing tool after each
// record it placed. A dialog still loaded (hidden) keeps the class it showed.
void ShowAttributeDialog(App& app);

}  // namespace movra
