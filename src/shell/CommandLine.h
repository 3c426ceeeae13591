#pragma once
#include <string>
#include <vector>

namespace movra {

// A text that must be a number as a whole (blanks around it allowed): its value, or RuntimeError 13
// (类型不匹配) for anything else, the empty text included.
double StrictNumber(const std::string& text);

// The text cut at every occurrence of `separator` (at least one part).
std::vector<std::string> SplitText(const std::string& text, const std::string& separator);

// The mirrored partner of a directed line-type code ("472" gives "511"), empty when the code has
// none.
std::string PartnerLineType(const std::string& code);

}  // namespace movra
