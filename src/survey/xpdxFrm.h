#pragma once
// "相片定向", photo orientation: the user pricks two corners of a linked photo on the canvas, types
// the ground coordinates they should have, and the photo's record is rescaled and moved onto them.
// Modal; it hides while a corner is pricked and shows again after the pick.
#include "platform/ControlArray.h"
#include "platform/Controls.h"
#include "platform/FormModel.h"
#include "survey/PhotoOrientation.h"

namespace movra {

struct App;
struct LinkedImageState;

class xpdxFrm : public FormModel {
public:
    explicit xpdxFrm(App& app);

    App& app;

    // The corner buttons by corner number: 0 "左上刺点", 1 "右下刺点", 2 "右上刺点", 3 "左下刺点".
    ControlArray<CommandButton> Command1;
    // The typed east and north of corner k in 2k and 2k + 1, and its height in Text2(k).
    ControlArray<TextBox> Text1;
    ControlArray<TextBox> Text2;
    CommandButton Command2;  // "纠正相片"
    CommandButton Command3;  // "取消"
    Label Label1;            // "相片名："

    // The picks and the image record they were made on, as the pricking tool of the canvas keeps
    // them for the run (closing and reopening the window keeps them).
    LinkedImageState& photo;

    void Form_Load() override;
    void Command1_Click(int index);
    void Command2_Click();
    void Command3_Click();
    void Label1_Click();
};

// Shows the photo orientation window modally, made on first use.
void ShowPhotoOrientationWindow(App& app);

}  // namespace movra
