#pragma once
// The redraw of the whole map with level of detail: full detail when zoomed in, straight lines at
// middle zoom, one chord per record far out; then the print ranges, the centre cross with the
// sheet grid and, for very wide views, the 100 km grid or the globe backdrop.
#include <cstdint>

namespace movra {

struct App;

// Which renderer a zoom takes and whether slots are culled on their first vertex first.
enum class DetailLevel { Full, FullCulled, Lines, Outline };
DetailLevel DetailLevelFor(double displayZoom);

// Full redraw of the layers that are on or locked. An error is written into Text2.
void 刷新(App& app);
// Thinned redraw of the layers that are on, for panning and drag-zoom. Ends silently on an error.
void RedrawOpenLayers(App& app);

// One record as straight lines through its vertices / as one chord, in its colour, with the
// canvas's current width and style. End silently on an error.
void DrawRecordLines(App& app, std::uint8_t& layer, std::int16_t& slot);
void DrawRecordOutline(App& app, std::uint8_t& layer, std::int16_t& slot);

// The print ranges of layer 0 (slots 800 on) as blue boxes.
void DrawPrintRanges(App& app);
// The centre cross and the sheet grid while ShowGrid is 1.
void DrawGridCrosses(App& app);
// The 100 km grid, or the globe with the backdrop for the widest views.
void DrawKilometreGrid(App& app);

// The backdrop picture: a dark starfield of the given size, the same every time.
struct Picture;
Picture MakeStarfieldPicture(int width, int height);

}  // namespace movra
