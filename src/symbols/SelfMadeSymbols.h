#pragma once
#include <string>

namespace movra {

struct App;

// Placing a self-made symbol of the loaded library by name ("#hd"): the symbol tool previews it under
// the pointer and inserts it where the user clicks; staging copies it into layer 0's scratch slots.
// Copies the named symbol's records into the current layer at the ground point (x, y).
void InsertSelfMadeSymbol(App& app, double x, double y, const std::string& name);
// Draws the named symbol at (x, y) without storing it; drawn twice at one point it disappears.
void PreviewSelfMadeSymbol(App& app, double x, double y, const std::string& name);
// Copies the named symbol into layer 0's scratch slots and lists its library slots in the
// selection; false when no symbol of that name is loaded.
bool StageSelfMadeSymbol(App& app, const std::string& name);

}  // namespace movra
