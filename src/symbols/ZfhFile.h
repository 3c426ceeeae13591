#pragma once
#include <string>

namespace movra {

struct App;

// The self-made symbol library: 132-byte records, one run of records per symbol sharing its name
// (beginning with "#"), ended by a record of type 0 whose text is "JVQ".

// Reads the library SelfMadeSymbolFile into layer 0 from slot 1000; a missing or unreadable
// library ends the load quietly.
void LoadSelfMadeSymbols(App& app);

// Appends the symbol drawn in layer 0 slots 900..998 under the name (a "#" put in front when
// missing), over the library's old end record. False when the library could not be written: the
// user has been told why and the library is as it was.
bool SaveSymbolToLibrary(App& app, std::string name);

}  // namespace movra
