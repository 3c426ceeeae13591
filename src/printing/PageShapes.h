#pragma once
// The printed page's special boundary lines, shapes built from four vertices, symbol rows and
// land-use marks, all on the shared figure drawers of the screen with the page's own sizes.
// Each ends silently on a failure; what it printed stays and the page goes on.
#include <cstdint>
#include <string>

#include "platform/Color.h"

namespace movra {

struct App;

// ---- Special boundary lines of the types 92 to 95, one segment at a time. Sizes are paper
// millimetres at the print scale; base lines, ticks and dashes go through PrintClippedSegment.

// The line of the code ("1090" fixed bank, "1091" bank, "1092" dashed with width, "1093" wall)
// along the segment; any other code prints nothing. `color` is the record's own colour, which
// only the fixed bank's dots use. Width, dash and gap (paper millimetres) are the dashed line's.
void PrintSpecialPattern(App& app, double x1, double y1, double x2, double y2, Rgb color,
                         const std::string& code, double width, double dash, double gap);
void PrintWallLine(App& app, double x1, double y1, double x2, double y2, Rgb color);
void PrintBankLine(App& app, double x1, double y1, double x2, double y2, Rgb color);
// The fixed bank's dots are set whole, beside the line, even beyond the cell.
void PrintFixedBankLine(App& app, double x1, double y1, double x2, double y2, Rgb color);
// The dashed line goes on with the rhythm of the segment before when it starts exactly where
// that one ended (DashChainEndX, DashChainEndY, DashCarry of the print state, kept for the run).
void PrintDashedWidthLine(App& app, double x1, double y1, double x2, double y2, float width,
                          float dash, float gap, Rgb color);

// ---- Shapes.

// The ellipse about (cx, cy), semi-axis a along the azimuth w (radians, clockwise from north), b
// across it, as 36 chords drawn whole in the colour at the pen in force.
void PrintRotatedEllipse(App& app, double cx, double cy, float a, float b, float w, Rgb color);
// The record at (layer, slot): a band of lines 0.2 mm apart at the map's scale (type 10), or the
// 1 mm grid inside a grid-paper rectangle, every tenth line at width 2 (type 36).
void PrintRenderRecord(App& app, std::uint8_t layer, std::int16_t slot);
// The record at (layer, slot): rungs between P1-P4 and P2-P3 (type 58), or chevrons P1-P2-P3
// shrinking towards P4 (type 59). Their count follows RecordZ4 and is at most 32,000.
void PrintStripShape(App& app, std::uint8_t layer, std::int16_t slot);

// ---- Symbol rows (type 87) and land-use marks (types 16 to 19).

// Row k (1 to 4) of the symbol-row record: upright symbols of RecordText in the record's own
// colour from vertex k, one step (RecordExtra) right and up each, over the extent Zk along x.
void PrintSymbolRow(App& app, std::uint8_t layer, std::int16_t slot, std::uint8_t k);
// Mark 1 to 4 at its base point, whole and unclipped, in CurrentColor with the pen in force;
// ScaledMetresPerPaperMm to the millimetre.
void PrintLandUseMark1(App& app, double x, double y);
void PrintLandUseMark2(App& app, double x, double y);
void PrintLandUseMark3(App& app, double x, double y);
void PrintLandUseMark4(App& app, double x, double y);

}  // namespace movra
