#include "symbols/SelfMadeSymbols.h"

#include "App.h"

namespace movra {

// Placeholders until the symbol library's placement is written.
void InsertSelfMadeSymbol(App&, double, double, const std::string&) {}
void PreviewSelfMadeSymbol(App&, double, double, const std::string&) {}
bool StageSelfMadeSymbol(App&, const std::string&) { return false; }

}  // namespace movra
