#include "symbols/zjForm4.h"

#include <memory>
#include <string>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "shell/stForm1.h"
#include "symbols/Attributes.h"

namespace movra {

zjForm4::zjForm4(App& application)
    : FormModel(application.platform, "zjForm4"),
      app(application),
      Text8(*this, "Text8"),
      Label10(*this, "Label10"),
      Text4(*this, "Text4"),
      Label1(*this, "Label1"),
      Text1(*this, "Text1"),
      Label2(*this, "Label2"),
      Label3(*this, "Label3"),
      Text2(*this, "Text2"),
      Text3(*this, "Text3"),
      Command1(*this, "Command1"),
      Command2(*this, "Command2") {
    SetCaption("注记");
    Move(0, 0, 7200, 4200);
    Text8.SetMultiLine(true);
    Text8.Move(120, 120, 6840, 2400);
    Label10.SetCaption("行长度");
    Label10.Move(120, 2700, 720, 300);
    Text4.SetText("28");
    Text4.Move(840, 2660, 600, 300);
    Label1.SetCaption("顺号");
    Label1.Move(1680, 2700, 600, 300);
    Text1.SetText("1");
    Text1.Move(2280, 2660, 600, 300);
    Label2.SetCaption("x");
    Label2.Move(3120, 2700, 240, 300);
    Text2.Move(3360, 2660, 1560, 300);
    Label3.SetCaption("y");
    Label3.Move(5160, 2700, 240, 300);
    Text3.Move(5400, 2660, 1560, 300);
    Command1.SetCaption("确定");
    Command1.Move(3960, 3240, 1320, 420);
    Command2.SetCaption("取消");
    Command2.SetCancel(true);
    Command2.Move(5640, 3240, 1320, 420);

    Text4.onChange = [this] { Text4_Change(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
}

void zjForm4::Form_Load() {
    Text8.SetText(app.current.PendingText);
    Text4.SetText("28");
    Text1.SetText("1");
    Text2.SetText(PlainNumberText(app.tool.ClickOriginX));
    Text3.SetText(PlainNumberText(app.tool.ClickOriginY));
}

void zjForm4::Text4_Change() {
    double length = 0;
    try {
        length = Val(Text4.Text());
    } catch (...) {
        // A number too large to read is longer than any line.
        length = MaxArticleLineLength + 1;
    }
    if (length > MaxArticleLineLength) Text4.SetText(PlainNumberText(static_cast<std::int32_t>(MaxArticleLineLength)));
}

void zjForm4::Command1_Click() {
    const bool done = GuardToMessageBox(app.platform.prompt(), [this] {
        auto& lines = app.textPlacement.PendingTextLines;
        lines.assign(1, std::string());
        const std::string text = Trim(Text8.Text());
        app.current.PendingText = text;
        bool paragraph = true;
        if (text.find(app.settings.LineBreak) != std::string::npos) {
            lines = SplitLines(app, text);
        } else if (static_cast<double>(Len(text)) > Val(Text4.Text())) {
            lines[0] = text;
        } else {
            app.tool.CommandMode = ModeMaterialText;
            paragraph = false;
        }
        if (paragraph) {
            if (app.form1) {
                app.form1->Text2.SetText("成篇文章注记");
                app.form1->Text8.SetText(Text4.Text());
                app.form1->Text8.SetLocked(true);
            }
            app.tool.CommandMode = ModeArticleText;
        }
    });
    if (done) Unload();
}

void zjForm4::Command2_Click() {
    app.textPlacement.PendingTextLines.assign(1, std::string());
    Unload();
}

void ShowArticleAnnotation(App& app) {
    if (app.form1) app.form1->Text2.SetText("成篇文章注记");
    if (!app.annotationDialog || !app.annotationDialog->Loaded())
        app.annotationDialog = std::make_shared<zjForm4>(app);
    app.annotationDialog->Show(false);
    app.tool.CommandMode = ModeArticleText;
}

}  // namespace movra
