#pragma once
// The canvas tool engine: the four events of the canvas Picture1 run a fixed frame (busy lamp,
// capacity guard, snapping, pen, readouts, the right-click pause, the undo checkpoint) and, inside
// it, the hooks of the armed tool's family (ToolFamilies.h).
#include <cstdint>
#include <string>

namespace movra {

struct App;

// Button: 1 left, 2 right, 0 none (hovering). x, y: the event point in map units.
void CanvasMouseDown(App& app, int button, int shift, float x, float y);
void CanvasMouseMove(App& app, int button, int shift, float x, float y);
void CanvasMouseUp(App& app, int button, int shift, float x, float y);
// Shift 2 is Ctrl alone.
void CanvasKeyDown(App& app, int keyCode, int shift);

// Takes what the armed tool shows while it waits (its rubber preview, the snap marker) off the
// canvas: the tool pauses, or another command takes the canvas.
void EraseToolPreviews(App& app);

// A canvas position as the status box shows it: in true coordinates (a reduced map's offset added
// back), to the millimetre.
std::string CursorText(const App& app, double x, double y);

// The busy lamp Label6.
void LampBusy(App& app);                  // red: a command runs
void LampIdleOrArmed(App& app);           // blue with no tool armed, yellow with one

// Snapping on or off by the canvas key B: the flag and the look of Label3.
void SetSnapping(App& app, bool on);

// Roaming view timer Timer2.
void StopRoaming(App& app);
void StartRoaming(App& app);

// Toolbar1's delete, cut and copy buttons are disabled: no selection is left to act on.
void DisableSelectionButtons(App& app);

}  // namespace movra
