#pragma once

namespace movra {

struct App;

// Hands the exporters to the save-as-DXF command of the map document.
void InstallExchangeSeams(App& app);

}  // namespace movra
