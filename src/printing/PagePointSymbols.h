#pragma once
// Point symbols of the symbol standard on the printed page.
#include <string>

#include "platform/Color.h"

namespace movra {

struct App;

// The symbol of the code (its number to the nearest whole, halves to even) at (x, y), its top
// turned towards (dx, dy), in the colour. Sets draw width 1 and the solid style. Loads the
// standard when it is not loaded, at most once per print job (the load tells how it went).
// Codes above 349, and every code while no standard is loaded, draw nothing. A failing symbol
// ends with a message box of the failure, the first of a job only; what was drawn stays.
void PrintPointSymbol(App& app, double x, double y, const std::string& code, double dx,
                      double dy, Rgb color);

// How far from its point a symbol of the code can reach on the page, in ground units. Before the
// standard is loaded (the first symbol of a job loads it), and for a code outside it, 1.5 paper
// millimetres: the square a failing symbol leaves.
double SymbolReachOnPage(const App& app, double code);

// Starts a print job's once-only state (the attempt to load the standard).
void StartPrintedSymbols(App& app);

}  // namespace movra
