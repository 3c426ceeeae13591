#pragma once
// The highlight renderer: one record drawn at once in a colour its caller names, and the drawers
// it shares with the vertex-drag preview. Both are lighter forms of the full renderer: their
// tables are the full table with the rows where they draw otherwise replaced.
#include <cstdint>

#include "display/RecordRenderer.h"
#include "platform/Color.h"

namespace movra {

struct App;

// Draws the record at (pn, kn) once in the colour ys0 (0 is black for most types), without
// culling and without the pen cache, whatever its layer's state. PenColor keeps ys0, or the
// record's own colour when ys0 is 0, also for a record that draws nothing. Failures end the
// call silently.
void 刷图元(App& app, std::uint8_t pn, std::int16_t kn, Rgb ys0);

// The highlight's table.
const RecordTable& HighlightRecordTable();

// Parcel boundary points as the highlight and the preview mark them: a circle of the point-mark
// radius about each point, filled with the background in `fillStyle`, and the point's Z value
// printed at its centre in the text colour, in face FontNames(1) at pen byte x zoom + 1 points.
// The fill style stays as set.
void DrawMarkedBoundaryPoints(RecordDrawCall& c, int fillStyle);

}  // namespace movra
