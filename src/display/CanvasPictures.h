#pragma once
// The canvas saved as a picture file, at screen size or three times larger.
#include <cstdint>

namespace movra {

struct App;

// Asks for a file name and saves the redrawn view there as a bitmap (a PNG or a JPEG where the
// name's extension asks for one; ".bmp" is added to a name without an extension), three times the
// canvas size in each direction while LargeBitmapExport is -1. A cancel saves nothing; the file is
// written whole or not at all, a failure is told as a map's save failure, and either way the
// canvas comes back to its normal size.
void SaveCanvasBitmap(App& app);

// Only while LargeBitmapExport is -1: mode -1 lays out an offscreen canvas three times the size
// of Picture1 showing the same map window (the zoom grows with it) and sends the screen drawers
// there; mode 0 returns them to Picture1 with the zoom it had. Other modes do nothing.
void LayoutCanvas(App& app, std::int16_t mode);

}  // namespace movra
