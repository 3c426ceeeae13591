#pragma once
// Pouring ink: covering the region around a seed point with level spans found between the line
// work that surrounds it, kept as ink-fill records (type 81: up to four spans, each a left end
// and a length) so that the fill is redrawn, saved and printed like the rest of the map.
//
// All three take the seed and colour by `fangs`: 1, the point (pn, kn) in CurrentColor; any
// other value, vertex 1 and the colour of the record in layer pn, slot kn. The line work of the
// layers that are on, within 100 paper millimetres of the seed, bounds them; their records go to
// the end of CurrentLayer, which grows for them (where it cannot, they stop with the layer-full
// message), and the layer's count ends right after the last of them. A seed record the ink tool
// left in the open slot is taken away when nothing overwrote it. ScaleFactor 0 or below does
// nothing. Failures end them silently; what was drawn and stored stays.
#include <cstdint>

namespace movra {

struct App;

// Scans upward and then downward from the seed line, one span per line between the nearest
// boundary crossings left and right of a seed x that follows the middle of the last span. A seed
// inside a closed box (type 6, from its upper left corner clockwise) adds that box filled (type
// 10) instead; inside a filled box or a fill head it recolours and redraws that record.
void 墨水填充(App& app, std::int32_t pn, std::int32_t kn, std::uint8_t fangs);

// As 墨水填充, bounded by the line families only, following the two boundary segments of the
// previous line wherever both reach the next one, with coarser stop rules and no shape test.
void 墨水填充A(App& app, std::int32_t pn, std::int32_t kn, std::uint8_t fangs);

// Traces the outline of the region around the seed from the boundary segment left of it, edge
// by edge through segments that meet end to end, yielding to the window system after each edge,
// and stores the closed outline as a hatch-filled area (code "5"). Without line work on one side
// of the seed it shows the half window and "距离超过两倍".
void 墨水tc(App& app, std::int32_t pn, std::int32_t kn, std::uint8_t fangs);

}  // namespace movra
