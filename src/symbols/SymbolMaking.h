#pragma once

namespace movra {

struct App;

// Drawing a self-made symbol: the canvas is magnified onto a 10 mm box with a grid, every tool
// draws into layer 0 slots 800..899, and after each mouse-up the drawing is copied reduced to
// millimetres about the box centre into slots 900..999 and previewed at one tenth beside the box.
// On leaving, the copy is saved to the self-made library under a name.

// Enters the symbol-making mode when it is off, leaves it (asking whether to save) when it is on.
void ToggleSymbolMakingMode(App& app);

// Rebuilds the millimetre copy from the drawing and draws its preview in the small box.
void NormalizeDrawnSymbol(App& app);

}  // namespace movra
