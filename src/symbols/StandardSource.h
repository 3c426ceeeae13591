#pragma once
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace movra {

// The readable source of a shipped symbol standard, compiled into the item lines of its .tus
// file. Every item is written with its code ("@351 *陡坎" and the lines under it), so a missing
// or doubled code is an error rather than a silent shift of every code after it; the compiler
// lays the items out in code order, as the readers number them.
//
// A source may start with "@基于 NAME": it then holds the standard NAME with the items it lists
// replaced, so a standard of another scale writes down only where it differs.
struct StandardSourceResult {
    std::string itemLines;            // one item per line, LF ends; EncodeTusSource makes the file
    std::vector<std::string> errors;  // "line N: what is wrong"; empty when the source is sound
};

// Returns the source text of the named base standard, or nothing when there is none.
using StandardSourceReader = std::function<std::optional<std::string>(const std::string& name)>;

StandardSourceResult CompileStandardSource(std::string_view source, const StandardSourceReader& readBase);

// The first code after the codes the symbol pages use (0..608 must all be there).
constexpr int FirstCodeBeyondPages = 609;

}  // namespace movra
