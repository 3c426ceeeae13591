#pragma once
// Point symbols of the symbol standard on the printed page.
#include <string>

#include "platform/Color.h"

namespace movra {

struct App;
struct RuntimeError;

// The symbol of the code (its number to the nearest whole, halves to even) at (x, y), its top
// turned towards (dx, dy), in the colour. Sets draw width 1 and the solid style. Codes above 349,
// and every code while no standard is loaded, draw nothing. A failing symbol ends with a message
// box of the failure, the first of a job only; what was drawn stays.
void PrintPointSymbol(App& app, double x, double y, const std::string& code, double dx,
                      double dy, Rgb color);

// How far from its point a symbol of the code can reach on the page, in ground units. Without a
// standard, and for a code outside it, 1.5 paper millimetres: the square a failing symbol leaves.
double SymbolReachOnPage(const App& app, double code);

// Starts a print job's symbols: no failure told yet, and, for a job that prints, the symbol
// standard loaded before the first page when a layer that prints holds a record drawn from it
// and it is not loaded yet (the load tells how it went), so every page prints alike.
void StartPrintedSymbols(App& app, bool printing);

// Whether the job told this failure already, through a symbol that failed with it.
bool SymbolFailureToldInJob(const App& app, const RuntimeError& error);

}  // namespace movra
