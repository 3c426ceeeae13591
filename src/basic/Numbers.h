#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace movra {

// Flags are integers: -1 true, 0 false.
constexpr int16_t True = -1;
constexpr int16_t False = 0;
constexpr int16_t Flag(bool b) { return b ? True : False; }

// Int(x): the greatest integer not above x (as a double, like the notation).
double Int(double x);

// The farthest a ground coordinate may lie from the origin, in metres. Beyond it (or not finite) a
// coordinate cannot be drawn, reduced or saved soundly, so no command, box or file may store it.
constexpr double FarthestCoordinate = 1e9;
bool IsStorableCoordinate(double v);
inline bool IsStorablePoint(double x, double y) { return IsStorableCoordinate(x) && IsStorableCoordinate(y); }

// Conversions of a real to an integer type, rounding half to even. A value outside the type's
// range (or NaN) raises RuntimeError 6 (溢出).
std::uint8_t ToByte(double x);
std::int16_t ToInt16(double x);
std::int32_t ToInt32(double x);

// Val(t): the number at the start of t, blanks skipped (also between digits), 0 when none.
// "&H1F" and "&O17" are read as hexadecimal and octal: a value that fits 16 bits is a 16-bit
// integer ("&HFFFF" is -1), a larger one a 32-bit integer ("&HFFFFFFFF" is -1). An exponent may be
// written with "E" or "D". A number too large for its type raises RuntimeError 6.
double Val(std::string_view text);

// The plain numeric prefix of a text: blanks at the start skipped, then the longest leading part
// that forms a decimal number (sign, digits, "." as the decimal point whatever the locale, an
// exponent with "E" or "e"); 0 when there is none. It never fails: a number beyond the range of a
// double reads as the largest double of its sign, one too small for it as 0.
double NumericPrefix(std::string_view text);

// Whether the text, blanks at both ends aside, is one decimal number as a whole: an optional sign,
// digits with "." as the decimal point (at least one digit), an optional exponent with "E" or "e".
// "12abc", "x" and "" are not. Its value is then NumericPrefix(text).
bool IsWholeNumber(std::string_view text);

// Plain form: decimal text with "." and no blanks; 15 significant digits for a double, 7 for a single;
// no trailing zeros, "0" before the point for magnitudes below 1; exponent form ("1E+16",
// "1E-05") where the digits would not show the value.
std::string PlainNumberText(double value);
std::string PlainNumberText(float value);
std::string PlainNumberText(std::int32_t value);
std::string PlainNumberText(std::uint8_t value);

// Decimal form: the plain form rounded to at most `maxDecimals` decimals, but never in exponent
// form ("0.00004", not "4E-05"): for values read at a glance, such as a check error of 0.4".
std::string DecimalNumberText(double value, int maxDecimals);

// A scale denominator as a user reads it: the shortest form that holds the same single value, so
// a view fitted to 1:1000 reads "1000" and not the 999.999977024221 the twips arithmetic leaves.
std::string ScaleDenominatorText(double value);

// Exponent form from a decimal exponent of 15 (7 for a single) upward and below 1E-04; the
// exponent has a sign and at least two digits ("1E+16", "1.5E-05"). NaN and infinity, which no
// computation of the program should produce, read "NaN" and "Inf".

// Print form: " " for values >= 0 or "-", then the plain form of the magnitude, then " ".
// The 0 before the point of a magnitude below 1 is kept (" 0.7 ").
std::string PrintNumberText(double value);
std::string PrintNumberText(float value);
std::string PrintNumberText(std::int32_t value);
std::string PrintNumberText(std::uint8_t value);

// Str form: the print form without the trailing blank (" 12", "-3.5").
std::string StrNumber(double value);
std::string StrNumber(float value);
std::string StrNumber(std::int32_t value);

}  // namespace movra
