#pragma once
// Point symbols of the symbol standard: one symbol turned to a direction, the diagonal symbol
// rows of type 87, and the runs of upright symbols of the symbol fills.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Color.h"

namespace movra {

struct App;
class LineSink;
class Surface;
struct SymbolStandard;

// ---- Shared by the screen and the printed page.

// The elements of symbol `symbol` drawn in the colour at (x, y), its top turned towards (dx, dy)
// (clockwise by the azimuth of the direction; (0, 1) is upright, (0, 0) a half turn). Element
// positions are scaled by `positionScale`, circle and arc radii by `radiusScale` (ground units
// per paper millimetre; the printer scales the two differently). Arcs turn with the symbol.
// Raises RuntimeError 9 for a symbol or element outside the loaded tables; the elements drawn
// before stay.
void DrawSymbolElements(Surface& canvas, const SymbolStandard& standard, int symbol, double x,
                        double y, double dx, double dy, Rgb color, double positionScale,
                        double radiusScale);

// How far any element of symbol `symbol` reaches from its insertion point, in the symbol's
// millimetres, whichever way it is turned: for deciding whether a symbol can show in a window.
// A symbol outside the loaded tables reaches nowhere (0).
double SymbolReach(const SymbolStandard& standard, int symbol);

// The diagonal row of type 87: upright symbols from (x, y) up and to the right, `spacing` along
// each axis, while x stays below x + length - spacing / 4. A spacing of 0 or below draws the first
// symbol only.
void LaySymbolRow(LineSink& sink, double x, double y, float length, float spacing,
                  const std::string& code, Rgb color);
// The places of the symbols of that row.
void ForEachSymbolRowPlace(double x, double y, float length, float spacing,
                           const std::function<void(double x, double y)>& place);

// Upright symbols from one paper millimetre right of and above the left end of the segment (the
// end with the smaller x; on a tie the second point), stepping by (stepX, stepY) while x stays a
// millimetre short of the other end. A stepX of 0 or below draws the first symbol only.
void LaySymbolsAlongSegment(LineSink& sink, double x1, double y1, double x2, double y2,
                            Rgb color, const std::string& code, float stepX, float stepY,
                            double sizeFactor);

// ---- The screen: the main window's canvas at ScaleFactor.

// The symbol number a code names: its value to the nearest whole number c; from 349 up c - 349.
// Raises RuntimeError 6 for a value beyond 32 bits.
int SymbolNumberOfCode(const std::string& code);

// Sets draw width 1 and style solid, then draws the symbol of the code. On a failure (standard
// not loaded, a number outside 0..349, a bad element) it draws the 1 mm filled square right of and
// below (x, y) and writes the error into Text2.
void DrawPointSymbol(App& app, double x, double y, const std::string& code, double dx, double dy,
                     Rgb color);

// The symbol row of the type-87 record at (layer, slot) from its vertex k (1..4): colour, code
// and spacing (RecordExtra) of the record, the row's length in Zk. Ends silently on a failure.
void DrawSymbolRow(App& app, std::uint8_t layer, std::int16_t slot, std::uint8_t k);

// A run of upright symbols of a symbol fill (see LaySymbolsAlongSegment). Ends silently on a
// failure.
void RepeatSymbolAlongSegment(App& app, double x1, double y1, double x2, double y2, Rgb color,
                              const std::string& code, float stepX, float stepY);

}  // namespace movra
