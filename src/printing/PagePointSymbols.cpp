#include "printing/PagePointSymbols.h"

#include <cmath>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/PointSymbols.h"
#include "symbols/LoadSymbolStandard.h"

namespace movra {

void StartPrintedSymbols(App& app) { app.printState.SymbolStandardTried = false; }

void PrintPointSymbol(App& app, double x, double y, const std::string& code, double dx, double dy,
                      Rgb color) {
    // One attempt per job: a standard that does not load would otherwise be read, and its
    // failure told, once for every symbol of the map.
    if (app.symbolStandard.SymbolStandardLoaded == 0 && !app.printState.SymbolStandardTried) {
        app.printState.SymbolStandardTried = true;
        GuardSilently([&] { LoadSymbolStandard(app); });
    }
    Surface& page = app.platform.printer().Page();
    GuardSilently([&] {
        const double n = std::nearbyint(Val(code));
        page.SetDrawWidth(1);
        page.SetDrawStyle(0);
        if (app.symbolStandard.SymbolStandardLoaded == 0) return;
        if (!(n >= 0 && n <= 349)) return;
        // Radii scale like the vertices, so a symbol printed at another scale keeps its shape.
        const double f = app.view.ScaleFactor;
        DrawSymbolElements(page, app.symbolStandard, static_cast<int>(n), x, y, dx, dy, color, f, f);
    });
}

}  // namespace movra
