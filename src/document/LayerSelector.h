#pragma once
#include <string>

namespace movra {

struct App;

// Lists layers 1..n in the layer selector ImageCombo1 (key "k" & i, the layer's name, its colour's
// swatch), shows layer n's name and chooses layer n (SelectLayer). Without a main window only the
// choice is made.
void RebuildLayerSelector(App& app, int n);

// The layer becomes the current layer, on and unlocked, and its colour the current colour, shown
// in the colour selector.
void SelectLayer(App& app, int layer);

// Chooses the first of layers 1..LayerCount named `name` (letter case ignored). False, with nothing
// changed, when no layer has that name.
bool SelectLayerByName(App& app, const std::string& name);

// Shows a palette colour in the colour selector ImageCombo2: its name, and the colour as back
// colour. Colour 0 has no item of its own but is named all the same.
void ShowColorInSelector(App& app, int colorIndex);

}  // namespace movra
