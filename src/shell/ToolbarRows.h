#pragma once
// The rows of the toolbars' handlers: one procedure per key, run inside the frame of its handler.
#include <functional>
#include <map>
#include <string>

namespace movra {

struct App;

// What a row tells the frame: go on to the lamp and the beep, or stop at once.
enum class RowEnd { Done, ReturnAtOnce };
using Row = std::function<RowEnd(App&)>;
using RowTable = std::map<std::string, Row>;

// The Toolbar1 rows that edit the selection, arm the editing and view tools and handle linked
// images (ToolbarEditing.cpp): the button keys and the menu keys.
const RowTable& EditingButtonRows();
const RowTable& EditingMenuRows();

// A row that runs a command and goes on to the lamp and the beep.
Row Calls(void (*command)(App&));

}  // namespace movra
