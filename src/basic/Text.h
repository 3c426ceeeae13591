#pragma once
#include <string>
#include <string_view>

namespace movra {

// Text inside the program is UTF-8. These count and cut characters, not bytes.
// Positions are 1-based, as the notation writes them. A byte that is not valid UTF-8 counts as one
// character. A start below 1 or a negative length for Left/Right raises RuntimeError 5, as in
// the notation.

long Len(std::string_view text);
// Mid(t, start, length): `length` characters from character `start`; all the rest when length < 0.
std::string Mid(std::string_view text, long start, long length = -1);
std::string Left(std::string_view text, long length);
std::string Right(std::string_view text, long length);
// Position of the first `find` in `text` at or after character `start`; 0 when absent.
long InStr(std::string_view text, std::string_view find, long start = 1);
// Without leading and trailing blanks (spaces only, as the notation's Trim).
std::string Trim(std::string_view text);
// The same as a view into `text`, for readers that decode many fields and keep few.
std::string_view TrimmedView(std::string_view text);
std::string LTrim(std::string_view text);
std::string RTrim(std::string_view text);
// Case mapping of the ASCII letters and the full-width Latin letters.
std::string LCase(std::string_view text);
std::string UCase(std::string_view text);
// Equality ignoring letter case.
bool EqualsIgnoreCase(std::string_view a, std::string_view b);

// Columns a text takes on screen: blank and characters 33..127 count one, every other character two.
int DisplayColumns(std::string_view text);

// One character (U+FFFD for a value that is no character), and the code point of the first
// character (0 for an empty text).
std::string Chr(char32_t codePoint);
char32_t FirstCodePoint(std::string_view text);

}  // namespace movra
