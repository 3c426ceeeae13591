#pragma once
#include <string>

namespace movra {

// A standard whose line types did not reach their end (or whose file is missing).
inline constexpr const char* SymbolStandardNotReadMessage = "图式未能加载。";

struct App;

// Dimensions the symbol tables afresh and reads the point symbols and line types of the standard
// chosen in the settings window. Says "已加载图式。" when the standard loaded to its end, and that
// it did not otherwise.
void LoadSymbolStandard(App& app);

// The settings window's switches: load or unload the standard, load or unload the self-made
// library, choose the library by name, number the symbol buttons (check value 0, 1 or 2).
void SymbolStandardSwitch(App& app);
void SelfMadeSymbolSwitch(App& app);
void ChooseSelfMadeLibrary(App& app, const std::string& name);
void NumberSymbolButtons(App& app, int checkValue);

// Program folder & "\符号库\" & name & ".Zfh".
std::string SelfMadeLibraryPath(const App& app, const std::string& name);

}  // namespace movra
