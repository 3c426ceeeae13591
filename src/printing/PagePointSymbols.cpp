#include "printing/PagePointSymbols.h"

#include <cmath>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/PointSymbols.h"
#include "symbols/LoadSymbolStandard.h"

namespace movra {

double SymbolReachOnPage(const App& app, double code) {
    const double n = std::nearbyint(code);
    if (app.symbolStandard.SymbolStandardLoaded != True || !(n >= 0 && n <= 349))
        return 1.5 * app.printState.MetresPerPaperMm;
    return SymbolReach(app.symbolStandard, static_cast<int>(n)) * app.view.ScaleFactor;
}

void StartPrintedSymbols(App& app) {
    app.printState.SymbolStandardTried = false;
    app.printState.SymbolFailureTold = false;
}

void PrintPointSymbol(App& app, double x, double y, const std::string& code, double dx, double dy,
                      Rgb color) {
    // One attempt per job: a standard that does not load would otherwise be read once for every
    // symbol of the map, and its failure told as often. The load says how it went.
    if (app.symbolStandard.SymbolStandardLoaded == 0 && !app.printState.SymbolStandardTried) {
        app.printState.SymbolStandardTried = true;
        GuardSilently([&] { LoadSymbolStandard(app); });
    }
    Surface& page = app.platform.printer().Page();
    try {
        const double n = std::nearbyint(Val(code));
        page.SetDrawWidth(1);
        page.SetDrawStyle(0);
        // Codes from 350 are line types, and without a standard there is nothing to draw.
        if (!(n <= 349) || app.symbolStandard.SymbolStandardLoaded == 0) return;
        if (n < 0) Raise(ErrSubscriptOutOfRange);  // the tables hold no such symbol
        // Radii scale like the vertices, so a symbol printed at another scale keeps its shape.
        const double f = app.view.ScaleFactor;
        DrawSymbolElements(page, app.symbolStandard, static_cast<int>(n), x, y, dx, dy, color, f, f);
    } catch (...) {
        // What was drawn stays. A map of a thousand failing symbols asks once per job, not a
        // thousand times.
        const RuntimeError error = CurrentRuntimeError();
        if (!app.printState.SymbolFailureTold) {
            app.printState.SymbolFailureTold = true;
            ShowRuntimeError(app.platform.prompt(), error);
        }
    }
}

}  // namespace movra
