#pragma once
#include <string_view>

namespace movra {

// What a SymbolCode selects. Codes travel as text (in RecordText and the armed command's
// argument); these helpers take the whole number the text stands for.
enum class SymbolCodeKind {
    None,         // no range of the standard
    PointSymbol,  // 0..349: point symbol n
    LineType,     // 350..549 and 598..608: line type code - 349
    FillPreset,   // 550..553
    FillPattern,  // 554..597
    SpecialLine,  // 1090..1093: fixed bank, bank, dashed line with width, wall
};

constexpr int LineTypeCodeBase = 349;
constexpr int FirstSpecialLineCode = 1090;
constexpr int LastSpecialLineCode = 1093;

SymbolCodeKind ClassifySymbolCode(int code);
// The line type a line-type code selects (code - 349); 0 for a code of any other kind.
int LineTypeOfCode(int code);
// The code of line type t (349 + t).
constexpr int LineTypeCode(int lineType) { return LineTypeCodeBase + lineType; }
// A self-made symbol is selected by its name, which begins with "#".
bool IsSelfMadeSymbolName(std::string_view code);

}  // namespace movra
