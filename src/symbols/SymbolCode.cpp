#include "symbols/SymbolCode.h"

namespace movra {

SymbolCodeKind ClassifySymbolCode(int code) {
    if (code >= 0 && code <= 349) return SymbolCodeKind::PointSymbol;
    if (code >= 350 && code <= 549) return SymbolCodeKind::LineType;
    if (code >= 550 && code <= 553) return SymbolCodeKind::FillPreset;
    if (code >= 554 && code <= 597) return SymbolCodeKind::FillPattern;
    if (code >= 598 && code <= 608) return SymbolCodeKind::LineType;
    if (code >= FirstSpecialLineCode && code <= LastSpecialLineCode) return SymbolCodeKind::SpecialLine;
    return SymbolCodeKind::None;
}

int LineTypeOfCode(int code) {
    return ClassifySymbolCode(code) == SymbolCodeKind::LineType ? code - LineTypeCodeBase : 0;
}

bool IsSelfMadeSymbolName(std::string_view code) { return !code.empty() && code.front() == '#'; }

}  // namespace movra
