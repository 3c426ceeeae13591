#pragma once
#include <cstddef>
#include <string>

#include "symbols/SymbolStandard.h"
#include "symbols/TusItem.h"

namespace movra {

struct App;

// How a reader of a symbol-standard file ended.
enum class TusReadEnd {
    EndMarker,    // its section's end marker ("*LL" for point symbols, "*$" for line types)
    EndOfFile,    // the items ran out (or the last one ran past the end) before the marker
    MissingFile,  // the file could not be opened
    Failure,      // a bad line or a table bound; what was stored before stays
    Damaged,      // an item's byte count did not fit its text (TusItemReader::Damaged)
};

// Where and why a reader stopped, for the user.
struct TusStop {
    std::size_t item = 0;  // the item (line of the source) it stopped at; 0 when none was read
    int errorNumber = 0;   // for a failure, the error's number and text
    std::string errorText;
    int symbolsRead = 0;   // point symbols read whole
    int lineTypesRead = 0;  // line types read whole
};

// Dimension the tables afresh (every cell cleared) before the readers fill them.
void DimensionSymbolTables(SymbolStandard& standard);
void DimensionLineTypeTables(SymbolStandard& standard);

// The point-symbol section into SymbolNames, SymbolX, SymbolY, SymbolElementCount.
// Leaves SymbolStandardLoaded alone. `stop`, when given, learns where and why it stopped.
TusReadEnd ReadSymbolDefinitions(SymbolStandard& standard, TusItemReader& items, TusStop* stop = nullptr);
// Skips the point-symbol section and reads the line types into LineTypeNames, LineTypeWidth,
// LineTypePattern; sets SymbolStandardLoaded to -1 only at the end marker "*$". `stop`, when
// given, learns where and why it stopped.
TusReadEnd ReadLineTypes(SymbolStandard& standard, TusItemReader& items, TusStop* stop = nullptr);

// The file of the chosen standard: "<name>.tus" in the work folder when one is there (a user's
// own copy), otherwise in the program folder.
std::string SymbolStandardPath(App& app);

// The readers over the chosen standard's file; they record its path in SymbolStandardFile.
// Both stop quietly at a failure, at a damaged item, at the end of the file or when the file is
// missing, and say how they ended and, through `stop`, where and why.
TusReadEnd LoadSymbolDefinitions(App& app, TusStop* stop = nullptr);
TusReadEnd LoadLineTypes(App& app, TusStop* stop = nullptr);

// The name of the standard chosen in the settings window ("电子图式" until one is chosen).
std::string ChosenSymbolStandardName(App& app);
// Once a standard is loaded completely the main window's symbol-page button becomes usable and
// the symbol buttons show their symbols.
void EnableSymbolPageButton(App& app);

}  // namespace movra
