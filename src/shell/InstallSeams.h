#pragma once

namespace movra {

struct App;

// Connects the map's ways up (RedrawSeams) to the display and the view tools.
void InstallRedrawSeams(App& app);

}  // namespace movra
