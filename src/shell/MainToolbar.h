#pragma once
#include <string>

#include "shell/ToolbarRows.h"

namespace movra {

struct App;
class stForm1;
class ToolbarButton;
class ButtonMenu;

// Fills the main command bar Toolbar1 (its buttons, drop-down menus and icons) and the floating
// view bar Toolbar2 of the main window.
void BuildMainToolbars(stForm1& form);

// The frames of the two handlers of Toolbar1: the lamp red and the roaming timer off, the row of
// the key, then the lamp blue (no tool armed) or yellow and a short beep. A row that ends the
// command at once, or fails, leaves the lamp red and makes no beep.
void Toolbar1_ButtonClick(App& app, ToolbarButton& button);
void Toolbar1_ButtonMenuClick(App& app, ButtonMenu& menu);

// Runs the row of a key as the handlers do, frame included (for the keyboard and the tests).
void RunToolbarKey(App& app, const std::string& key);

}  // namespace movra
