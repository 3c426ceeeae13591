#pragma once
// The clipboard link's dialog: started from "启动超级链" it starts the link (poll interval, column
// layout, syntax help, demonstration); from the point-group menus it chooses the line format of
// the import (standard, custom or article). Shown modally.
#include <cstdint>
#include <string>

#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

class wbxxFrm : public FormModel {
public:
    explicit wbxxFrm(App& app);

    App& app;

    Label Label4;          // "链刷新间隔"
    ListBox List1;         // poll intervals in milliseconds
    Label Label5;          // "超级链格式"
    ListBox List2;         // column layouts of the link
    CommandButton Command2;  // "超级链语法"
    CommandButton Command3;  // "超级链示范"
    OptionButton Option1;  // standard line format, shown in Label3
    Label Label3;
    OptionButton Option2;  // custom line format, typed into Text1
    TextBox Text1;
    OptionButton Option3;  // article lines, no coordinates
    Label Label2;
    Label Label1;          // the column legends
    Label Label6;
    CommandButton Command1;  // "确定"
    CommandButton Command4;  // "取消(关闭超级链)", "取消" in format mode

    // The task number of the demonstration editor; 0 before it was started, after a failed start
    // and after the stop button.
    std::int64_t DemoTaskId = 0;

    void Form_Load() override;
    void Form_Unload(int& cancel) override;
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void List1_Click();
    void List2_Click();
    void Option1_Click();
    void Option2_Click();
    void Option3_Click();
    void Text1_Change();

private:
    // Writes the line format of the import and the link's layout.
    void SetLineFormat(const std::string& format);
    void LockCustomFormat(bool locked);
};

// The seven lines of the syntax help.
extern const char* const LinkSyntaxLines[7];

// The file the demonstration opens in the text editor: sample records to copy to the clipboard.
inline constexpr const char* LinkDemoFileName = "超级链示范.txt";

// Shows the dialog modally, loaded afresh when it is not loaded.
void ShowLinkDialog(App& app);

// The line format of the point-group import, kept in layer 0, slot 0.
std::string PointGroupFormat(const App& app);
void SetPointGroupFormat(App& app, const std::string& format);

}  // namespace movra
