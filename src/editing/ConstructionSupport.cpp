#include "editing/ConstructionSupport.h"

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "shell/stForm1.h"

namespace movra {

void SwitchSnapping(App& app, bool on) {
    app.tool.SnapOn = on ? -1 : 0;
    if (on) app.tool.SnapBoxDrawn = 0;
    if (!app.form1) return;
    Label& label = app.form1->Label3;
    label.SetBackColor(app.tables.ColorPalette[on ? 7 : 8]);
    label.SetCaption(on ? "捕捉" : "不捕捉");
}

double TypedDistance(const App& app) {
    if (!app.form1) return 0;
    return NumericPrefix(Trim(app.form1->Text5.Text()));
}

void ClearTypedDistance(App& app, bool front) {
    if (!app.form1) return;
    app.form1->Text5.SetText("");
    app.form1->Text5.ZOrder(front ? 0 : 1);
}

void FreshScratch(App& app, std::size_t size) { app.geometry.ScratchXY.assign(size, 0.0); }

}  // namespace movra
