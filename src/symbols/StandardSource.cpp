#include "symbols/StandardSource.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "basic/Text.h"
#include "symbols/SymbolCode.h"
#include "symbols/SymbolStandard.h"

namespace movra {

namespace {

constexpr int LastCode = LineTypeCodeBase + MaxLineTypeIndex - 1;  // the end marker takes the last type
constexpr int MostSymbolElements = MaxSymbolElementIndex + 1;
constexpr int MostPolylinePoints = 5;
constexpr int MostPatternElements = 16;
constexpr int MostBaseDepth = 4;
const std::string BaseKeyword = "@基于";

struct Item {
    int line = 0;  // where its name stands in its source, for the messages
    std::string name;
    std::vector<std::string> lines;
};

using Items = std::map<int, Item>;

std::vector<std::string> SplitBlanks(std::string_view text) {
    std::vector<std::string> tokens;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(' ', start);
        if (end == std::string_view::npos) end = text.size();
        tokens.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return tokens;
}

// A whole number written out in full, as codes are.
std::optional<int> WholeNumber(std::string_view text) {
    if (text.empty() || text.size() > 6) return std::nullopt;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return std::nullopt;
    return std::atoi(std::string(text).c_str());
}

std::optional<double> Number(std::string_view text) {
    const std::string s(text);
    char* end = nullptr;
    const double v = std::strtod(s.c_str(), &end);
    if (s.empty() || end != s.c_str() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::string At(int line, const std::string& what) { return "line " + std::to_string(line) + ": " + what; }

bool ParseItems(std::string_view source, const StandardSourceReader& readBase, int depth, Items& items,
                std::vector<std::string>& errors) {
    std::set<int> ownCodes;
    Item* current = nullptr;
    bool sawItem = false;
    int lineNumber = 0;
    size_t start = 0;
    while (start < source.size()) {
        size_t end = source.find('\n', start);
        if (end == std::string_view::npos) end = source.size();
        std::string_view raw = source.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (!raw.empty() && raw.back() == '\r') raw.remove_suffix(1);
        const std::string line(raw);
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed.rfind("//", 0) == 0) continue;
        // The section ends are the compiler's to write; the code says which section an item is in.
        if (EqualsIgnoreCase(trimmed, "*LL") || trimmed == "*$") {
            current = nullptr;
            continue;
        }
        if (trimmed.rfind(BaseKeyword, 0) == 0) {
            const std::string name = Trim(trimmed.substr(BaseKeyword.size()));
            if (sawItem || depth >= MostBaseDepth) {
                errors.push_back(At(lineNumber, "a base standard is named only once, before the first item"));
                return false;
            }
            const std::optional<std::string> base = readBase ? readBase(name) : std::nullopt;
            if (!base) {
                errors.push_back(At(lineNumber, "no base standard " + name));
                return false;
            }
            std::vector<std::string> baseErrors;
            if (!ParseItems(*base, readBase, depth + 1, items, baseErrors)) {
                for (const std::string& e : baseErrors) errors.push_back(name + ": " + e);
                return false;
            }
            continue;
        }
        if (trimmed[0] == '@') {
            sawItem = true;
            const size_t blank = trimmed.find(' ');
            const std::optional<int> code = WholeNumber(trimmed.substr(1, blank == std::string::npos ? std::string::npos : blank - 1));
            const std::string name = blank == std::string::npos ? "" : Trim(trimmed.substr(blank + 1));
            if (!code || *code > LastCode) {
                errors.push_back(At(lineNumber, "an item starts with \"@code *name\", code 0.." + std::to_string(LastCode)));
                current = nullptr;
                continue;
            }
            if (name.size() < 2 || name[0] != '*' || EqualsIgnoreCase(name, "*LL") || name == "*$") {
                errors.push_back(At(lineNumber, "code " + std::to_string(*code) + " needs a name \"*...\""));
            }
            if (!ownCodes.insert(*code).second) {
                errors.push_back(At(lineNumber, "code " + std::to_string(*code) + " is written twice"));
                current = nullptr;
                continue;
            }
            // An item of this source replaces the base standard's item of the same code.
            current = &items[*code];
            *current = Item{lineNumber, name, {}};
            continue;
        }
        if (!current) {
            errors.push_back(At(lineNumber, "a line outside any item"));
            continue;
        }
        current->lines.push_back(line);
    }
    return errors.empty();
}

bool IsPatternLine(std::string_view trimmed) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(trimmed[0])));
    return c == '+' || c == '-' || c == 'g' || c == 'z' || c == 'y';
}

void CheckPointSymbol(int code, const Item& item, std::vector<std::string>& errors) {
    int elements = 0;
    for (const std::string& line : item.lines) {
        const std::string trimmed = Trim(line);
        const std::vector<std::string> tokens = SplitBlanks(line);
        const bool kind = trimmed.size() > 1 && trimmed[0] >= '1' && trimmed[0] <= '5' && trimmed[1] == ' ';
        bool sound = kind && line == trimmed;
        const char k = kind ? trimmed[0] : '0';
        const size_t vertices = tokens.size() - 1;
        if (k == '1') sound = sound && vertices == 2;
        if (k == '2') sound = sound && vertices >= 2 && vertices <= MostPolylinePoints;
        if (k == '3') sound = sound && vertices == 2 && Number(tokens[2]).has_value();
        if (k == '4') sound = sound && vertices == 3;
        if (k == '5') sound = sound && vertices == 1;
        for (size_t v = 1; sound && v < tokens.size(); ++v) {
            if (k == '3' && v == 2) continue;
            const size_t comma = tokens[v].find(',');
            sound = comma != std::string::npos && Number(tokens[v].substr(0, comma)) &&
                    Number(tokens[v].substr(comma + 1));
        }
        // The screen turns an arc whose centre lies below the insertion point the other way round
        // than the printer does, so the shipped symbols keep their arc centres at or above it.
        if (sound && k == '4' && *Number(tokens[1].substr(tokens[1].find(',') + 1)) < 0) {
            errors.push_back(At(item.line, "symbol " + std::to_string(code) + " has an arc centred below its insertion point"));
            continue;
        }
        if (!sound) {
            errors.push_back(At(item.line, "symbol " + std::to_string(code) + " has a line the reader would not take whole: \"" +
                                               line + "\""));
            continue;
        }
        ++elements;
    }
    if (elements == 0) errors.push_back(At(item.line, "symbol " + std::to_string(code) + " draws nothing"));
    if (elements > MostSymbolElements)
        errors.push_back(At(item.line, "symbol " + std::to_string(code) + " has more than " +
                                           std::to_string(MostSymbolElements) + " elements"));
}

void CheckLineType(int code, const Item& item, const Items& items, std::vector<std::string>& errors) {
    const std::string which = "line type " + std::to_string(code);
    int elements = 0;
    double period = 0;
    bool pattern = false;
    for (const std::string& line : item.lines) {
        const std::string trimmed = Trim(line);
        if (!IsPatternLine(trimmed) || trimmed.find(' ') == std::string::npos) {
            errors.push_back(At(item.line, which + " has a line that is no pattern: \"" + line + "\""));
            continue;
        }
        pattern = true;
        for (const std::string& token : SplitBlanks(line)) {
            const char c = token.empty() ? ' ' : static_cast<char>(std::tolower(static_cast<unsigned char>(token[0])));
            const std::optional<double> value =
                c == '+' || c == '-' ? Number(token) : token.size() > 1 ? Number(token.substr(1)) : std::nullopt;
            if (c == 'w') {
                if (!value || *value <= 0 || *value * 10 > 255)
                    errors.push_back(At(item.line, which + " has a width outside 0..25.5: " + token));
                continue;
            }
            if (!value || (c != '+' && c != '-' && c != 'g' && c != 'z' && c != 'y')) {
                errors.push_back(At(item.line, which + " has a token the reader skips: \"" + token + "\""));
                continue;
            }
            ++elements;
            if (c == '+' || c == '-') period += std::fabs(*value);
            if (c == 'g') {
                const double symbol = *value;
                if (symbol != std::floor(symbol) || symbol < 0 || symbol > MaxSymbolIndex || !items.count(static_cast<int>(symbol)))
                    errors.push_back(At(item.line, which + " places symbol " + token.substr(1) + ", which is not there"));
            }
        }
    }
    if (!pattern) errors.push_back(At(item.line, which + " has no pattern"));
    if (elements > MostPatternElements)
        errors.push_back(At(item.line, which + " has more than " + std::to_string(MostPatternElements) + " elements"));
    // Without dashes or gaps a run along the line would never come to its end.
    if (pattern && period <= 0) errors.push_back(At(item.line, which + " has no dash or gap"));
}

// A fill pattern row is one value line "1 0 a 0 b symbol": rows a apart, symbols b apart along them.
void CheckFillPattern(int code, const Item& item, const Items& items, std::vector<std::string>& errors) {
    const std::string which = "fill pattern " + std::to_string(code);
    if (item.lines.size() != 1) {
        errors.push_back(At(item.line, which + " is one line \"1 0 row-spacing 0 spacing symbol\""));
        return;
    }
    const std::vector<std::string> tokens = SplitBlanks(item.lines[0]);
    std::vector<double> values;
    for (const std::string& token : tokens) values.push_back(Number(token).value_or(NAN));
    const bool shaped = tokens.size() == 6 && values[0] == 1 && values[1] == 0 && values[3] == 0;
    if (!shaped || !(values[2] > 0) || !(values[4] > 0)) {
        errors.push_back(At(item.line, which + " needs \"1 0 row-spacing 0 spacing symbol\" with both spacings above 0"));
        return;
    }
    const double symbol = values[5];
    if (symbol != std::floor(symbol) || symbol < 0 || symbol > MaxSymbolIndex || !items.count(static_cast<int>(symbol)))
        errors.push_back(At(item.line, which + " lays symbol " + tokens[5] + ", which is not there"));
}

}  // namespace

StandardSourceResult CompileStandardSource(std::string_view source, const StandardSourceReader& readBase) {
    StandardSourceResult result;
    Items items;
    ParseItems(source, readBase, 0, items, result.errors);
    if (!result.errors.empty()) return result;

    for (int code = 0; code < FirstCodeBeyondPages; ++code)
        if (!items.count(code)) result.errors.push_back("code " + std::to_string(code) + " of the symbol pages is missing");
    for (const auto& [code, item] : items) {
        switch (ClassifySymbolCode(code)) {
            case SymbolCodeKind::PointSymbol: CheckPointSymbol(code, item, result.errors); break;
            case SymbolCodeKind::FillPreset:
                if (!item.lines.empty())
                    result.errors.push_back(At(item.line, "fill preset " + std::to_string(code) + " holds no lines"));
                break;
            case SymbolCodeKind::FillPattern: CheckFillPattern(code, item, items, result.errors); break;
            default: CheckLineType(code, item, items, result.errors); break;
        }
    }
    if (!result.errors.empty()) return result;

    std::string& out = result.itemLines;
    auto put = [&](const std::string& line) { out += line + "\n"; };
    auto putItem = [&](const Item& item) {
        put(item.name);
        for (const std::string& line : item.lines) put(line);
    };
    for (int code = 0; code <= MaxSymbolIndex; ++code) putItem(items.at(code));
    put("*LL");
    const int lastCode = items.rbegin()->first;
    for (int code = LineTypeCodeBase + 1; code <= lastCode; ++code) {
        // A code past the pages that the source skips still takes its type number.
        if (items.count(code))
            putItem(items.at(code));
        else
            put("*");
    }
    put("*$");
    return result;
}

}  // namespace movra
