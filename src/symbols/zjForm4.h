#pragma once
#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

// The article annotation dialog "注记": takes an article of several lines or a single line and
// arms the tool that places it with the next click: a paragraph of wrapped lines, or one text when
// a single line fits the line length. Modeless.
class zjForm4 : public FormModel {
public:
    explicit zjForm4(App& app);

    App& app;

    // The text, several lines allowed; it starts as the text in hand.
    TextBox Text8;
    // The line length in characters, at most 32.
    Label Label10;
    TextBox Text4;
    // The sequence number and the click origin, shown only.
    Label Label1;
    TextBox Text1;
    Label Label2, Label3;
    TextBox Text2, Text3;
    CommandButton Command1;
    CommandButton Command2;

    void Form_Load() override;
    void Text4_Change();
    void Command1_Click();
    void Command2_Click();
};

// The longest line length the dialog takes.
inline constexpr int MaxArticleLineLength = 32;

// The toolbar's "注记": the prompt into the message line, the dialog shown without waiting, then
// the paragraph tool armed.
void ShowArticleAnnotation(App& app);

}  // namespace movra
