#pragma once
// The canvas saved as a picture file, at screen size or three times larger.
#include <cstdint>

namespace movra {

struct App;

// Asks for a file name and saves the redrawn view there as a bitmap, three times the canvas
// size in each direction while LargeBitmapExport is -1. A cancel saves nothing; a failing redraw
// or write ends quietly with the canvas back at its normal size.
void SaveCanvasBitmap(App& app);

// Only while LargeBitmapExport is -1: mode -1 lays out an offscreen canvas three times the size
// of Picture1 showing the same map window (the zoom grows with it) and sends the screen drawers
// there; mode 0 returns them to Picture1 with the zoom it had. Other modes do nothing.
void LayoutCanvas(App& app, std::int16_t mode);

}  // namespace movra
