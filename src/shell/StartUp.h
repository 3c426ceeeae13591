#pragma once

namespace movra {

struct App;

// The main window's load: every table dimensioned, the work settings file read, the file types
// registered once, the palette and the font list built, the canvas laid out, the settings window
// loaded and closed, the selectors filled and the defaults set.
void RunStartUp(App& app);

// Empty recent-file entries become "1." to "4."; a monitor width below 100 mm becomes 365, screen
// twips per metre above 60000 become 60000 and 0 becomes 50000.
void ApplyWorkSettingDefaults(App& app);

// The main window's query-unload: asks "要退出吗？", rewrites the work settings file and offers to
// save a modified map. cancel 1 keeps the program running.
void RunShutdown(App& app, int& cancel, int& unloadMode);

// The symbol-direction label shows the state point symbols are placed in, from the start.
void ShowSymbolDirection(App& app);

// Saves the open map through the save dialog; false when the user cancelled or the save failed.
bool SaveMapBeforeExit(App& app);

}  // namespace movra
