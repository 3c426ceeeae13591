#pragma once
#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

// The print dialog "打印选项": printer, paper, orientation, colour, scale, range, quality and the
// true paper frame, and the commands that start, preview and stop printing. It keeps the printer
// in step with the paper, orientation and colour as they are chosen. Printing is allowed only
// once the user has double-clicked the system's default printer in the printer list.
class dayinfrm : public FormModel {
public:
    explicit dayinfrm(App& app);
    ~dayinfrm() override;

    App& app;

    Label Label1;
    ListBox List1;
    TextBox Text1;
    Frame Frame1;
    OptionButton Option1, Option2;
    TextBox Text2;
    ListBox List2;
    Label Label2;
    TextBox Text3;
    Label Label4;
    TextBox Text6;
    Label Label3;
    TextBox Text4;
    Label Label5;
    TextBox Text7;
    Frame Frame2;
    OptionButton Option3, Option4, Option5;
    TextBox Text5;
    Frame Frame3;
    OptionButton Option6, Option7, Option8;
    Frame Frame4;
    OptionButton Option9, Option10;
    Frame Frame5;
    OptionButton Option11, Option12;
    Frame Frame7;
    OptionButton Option13, Option14, Option15;
    CheckBox Check1;
    CommandButton Command1, Command2, Command3, Command4, Command5, Command6;

    // The dialog's mouse pointer (the hourglass while pages are cut, the cross afterwards).
    int MousePointer = 0;

    void Form_Load() override;
    void List1_DblClick();
    // The paper handler: applies the paper of Text2 and the orientation to the printer.
    void Option1_Click();
    void Option2_Click() {}
    void List2_Click();
    void Option11_Click();
    void Option12_Click();
    void Option9_Click();
    void Option10_Click();
    void Option3_Click();
    void Option4_Click();
    void Option5_Click();
    void Text5_Change();
    void Command1_Click();
    void Command2_Click();
    // "开始打印".
    void Command3_Click();
    // "立即终止打印": abandons the printer's document.
    void Command4_Click();
    // "打印预览": frames the pages on the canvas without printing.
    void Command5_Click();
    // "换页": closes the page and the document.
    void Command6_Click();

private:
    void Layout();
};

// The print dialog of the run, made on first use (its load runs then).
dayinfrm& PrintDialog(App& app);
// What the toolbar's "打印" does: shows the dialog without blocking the main window, in its
// normal window state.
void ShowPrintDialog(App& app);

}  // namespace movra
