#pragma once
#include <string>

namespace movra {

struct App;

// The self-made symbol library: 132-byte records, one run of records per symbol sharing its name
// (beginning with "#"), ended by a record of type 0 whose text is "JVQ".

// Reads the library SelfMadeSymbolFile into layer 0 from slot 1000. A missing or unreadable
// library, and a file that is not one (a record of another layer or kind, a name without "#", a
// coordinate that is no finite number within the farthest storable one), load nothing and say so.
void LoadSelfMadeSymbols(App& app);

// Ends the message of a library that could not be read.
inline constexpr const char* SelfMadeNotLoadedText = "自制符号未加载。";
// Ends the message of a file that is not a library.
inline constexpr const char* NotSelfMadeLibraryMessage = "不是自制符号库，未加载。";
// Why a symbol was not saved into a file that is no library.
inline constexpr const char* NotSelfMadeLibraryText = "不是自制符号库，符号未存入。";

// Appends the symbol drawn in layer 0 slots 900..998 under the name (a "#" put in front when
// missing), over the library's old end record. False when the library could not be written: the
// user has been told why and the library is as it was.
bool SaveSymbolToLibrary(App& app, std::string name);

}  // namespace movra
