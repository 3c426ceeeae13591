#pragma once

namespace movra {

struct App;

// Connects the map's ways up (RedrawSeams) to the display and the view tools.
void InstallRedrawSeams(App& app);
// Hands the exporters of the data exchange to the save-as-DXF command (ExportSeams), and the
// geometric operations to the cutting tools (GeomopsSeams).
void InstallExportSeams(App& app);

}  // namespace movra
