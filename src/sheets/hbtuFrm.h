#pragma once
#include "platform/Controls.h"
#include "platform/FormModel.h"

namespace movra {

struct App;

// Takes the records of one merged map file out of the drawing again. A file taken out keeps its
// place in the list, its name marked with "！"; the base map (file 1) is never taken out.
class hbtuFrm : public FormModel {
public:
    explicit hbtuFrm(App& app);

    App& app;

    Label Label1;
    ComboBox Combo1;
    TextBox Text1;
    CommandButton Command1, Command2;
    // The window's pointer: 11 busy, 1 the arrow.
    int MousePointer = 0;

    void Form_Load() override;
    void Combo1_Click();
    // "撤消这一幅图".
    void Command1_Click();
    // "完成".
    void Command2_Click();
    void Form_Resize() override;
};

// What the toolbar's "撤消插入图" does: the window modal, then the drawing zoomed to its extents
// and redrawn.
void ShowMergedMapUndoWindow(App& app);

}  // namespace movra
