#include "printing/PagePointSymbols.h"

#include <algorithm>
#include <cmath>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/AreaFills.h"
#include "display/PointSymbols.h"
#include "document/RecordTypes.h"
#include "symbols/LoadSymbolStandard.h"

namespace movra {

namespace {

// A record whose figure comes from the symbol standard: line-type lines, point symbols and
// symbol points, symbol rows, and the fills whose pattern is a row of the standard.
bool PrintsFromTheStandard(const MapRecord& r) {
    switch (r.RecordType) {
        case 12:
        case 42:
        case 43:
        case 44:
        case 45:
        case 15:
        case 50:
        case 51:
        case 87: return true;
        case 13: {
            const double pattern = Val(std::string(r.RecordText));  // as the fill reads its number
            return std::fabs(pattern) < 1e9 && FillPatternFromStandard(ToInt32(pattern));
        }
        default: return false;
    }
}

bool MapPrintsFromTheStandard(const App& app) {
    const RecordStore& store = app.store;
    const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());
    for (int layer = 1; layer <= lastLayer; ++layer) {
        if (store.LayerOnFlag[layer] != True) continue;
        const int lastSlot = std::min<int>(store.Count(layer), store.LayerCapacity);
        for (int slot = 0; slot <= lastSlot; ++slot)
            if (PrintsFromTheStandard(store.Get(layer, slot))) return true;
    }
    return false;
}

}  // namespace

double SymbolReachOnPage(const App& app, double code) {
    const double n = std::nearbyint(code);
    if (app.symbolStandard.SymbolStandardLoaded != True || !(n >= 0 && n <= 349))
        return 1.5 * app.printState.MetresPerPaperMm;
    return SymbolReach(app.symbolStandard, static_cast<int>(n)) * app.view.ScaleFactor;
}

void StartPrintedSymbols(App& app, bool printing) {
    app.printState.SymbolFailureTold = false;
    // Loaded before the first page, not at the first symbol met: the line types and fills laid
    // before it would print nothing on that page, and symbols be culled by a guessed size.
    if (!printing || app.symbolStandard.SymbolStandardLoaded != 0 || !MapPrintsFromTheStandard(app)) return;
    GuardSilently([&] { LoadSymbolStandard(app); });  // the load says how it went
}

bool SymbolFailureToldInJob(const App& app, const RuntimeError& error) {
    const PrintDialogState& s = app.printState;
    return s.SymbolFailureTold && error.number == s.SymbolFailureNumber && error.description == s.SymbolFailureText;
}

void PrintPointSymbol(App& app, double x, double y, const std::string& code, double dx, double dy,
                      Rgb color) {
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
        PrintDialogState& s = app.printState;
        if (!s.SymbolFailureTold) {
            s.SymbolFailureTold = true;
            s.SymbolFailureNumber = error.number;
            s.SymbolFailureText = error.description;
            ShowRuntimeError(app.platform.prompt(), error);
        }
    }
}

}  // namespace movra
