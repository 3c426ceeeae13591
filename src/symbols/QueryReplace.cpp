#include "symbols/QueryReplace.h"

#include <array>
#include <cctype>

#include "App.h"
#include "basic/Text.h"
#include "document/RecordTypes.h"
#include "symbols/Attributes.h"
#include "symbols/QueryKinds.h"

namespace movra {

namespace {

// A text that is a decimal number as a whole: sign, digits with one point, an exponent.
bool IsWholeNumber(const std::string& text) {
    std::size_t i = 0, n = text.size();
    auto digits = [&] {
        const std::size_t start = i;
        while (i < n && std::isdigit(static_cast<unsigned char>(text[i]))) ++i;
        return i - start;
    };
    if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
    std::size_t mantissa = digits();
    if (i < n && text[i] == '.') {
        ++i;
        mantissa += digits();
    }
    if (mantissa == 0) return false;
    if (i < n && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < n && (text[i] == '+' || text[i] == '-')) ++i;
        if (digits() == 0) return false;
    }
    return i == n;
}

ReplaceOutcome NewText(const App&, MapRecord& r, const ReplaceValues& v) {
    r.RecordText = v.newText;
    return ReplaceOutcome::Done;
}

// Only the Z values that hold the old number change; the others keep theirs.
ReplaceOutcome MatchingZ(const App&, MapRecord& r, const ReplaceValues& v) {
    const float oldZ = static_cast<float>(v.oldNumber), newZ = static_cast<float>(v.newNumber);
    for (float* z : {&r.RecordZ1, &r.RecordZ2, &r.RecordZ3, &r.RecordZ4})
        if (*z == oldZ) *z = newZ;
    return ReplaceOutcome::Done;
}

ReplaceOutcome EdgeTexts(const App&, MapRecord& r, const ReplaceValues& v) {
    if (r.RecordText == v.oldText) r.RecordText = v.newText;
    if (r.RecordExtra == v.oldText) r.RecordExtra = v.newText;
    return ReplaceOutcome::Done;
}

// A text with fewer lines than the field index has no such field and is left as it is.
ReplaceOutcome AttributeField(const App& app, MapRecord& r, const ReplaceValues& v) {
    std::vector<std::string> lines = SplitLines(app, std::string(r.RecordText));
    if (v.fieldIndex >= lines.size() || lines[v.fieldIndex] != v.oldText) return ReplaceOutcome::Done;
    lines[v.fieldIndex] = v.newText;
    std::string joined;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) joined += app.settings.LineBreak;
        joined += lines[k];
    }
    r.RecordText = joined;
    return ReplaceOutcome::Done;
}

// Point symbols (type 15) take the codes up to 349, every other record the line-type codes above.
ReplaceOutcome SymbolCode(const App&, MapRecord& r, const ReplaceValues& v) {
    if (!IsWholeNumber(v.newText)) return ReplaceOutcome::NotANumber;
    if (r.RecordType == TypePointSymbol) {
        if (v.newNumber > 349) return ReplaceOutcome::SymbolTooLarge;
    } else if (v.newNumber <= 349) {
        return ReplaceOutcome::LineTypeTooSmall;
    }
    r.RecordText = v.newText;
    return ReplaceOutcome::Done;
}

ReplaceOutcome TextHeight(const App&, MapRecord& r, const ReplaceValues& v) {
    r.RecordX2 = v.newNumber;
    return ReplaceOutcome::Done;
}

ReplaceOutcome Font(const App&, MapRecord& r, const ReplaceValues& v) {
    r.RecordFont = v.newText;
    return ReplaceOutcome::Done;
}

// A slant above 1 makes an upright text (65, 67) a slanted one (66, 68), any other slant the reverse.
ReplaceOutcome Slant(const App&, MapRecord& r, const ReplaceValues& v) {
    r.RecordZ2 = static_cast<float>(v.newNumber);
    if (v.newNumber > 1) {
        if (r.RecordType == TypeText65 || r.RecordType == TypeText67) ++r.RecordType;
    } else if (r.RecordType == TypeTurnedText || r.RecordType == TypeTurnedText68) {
        --r.RecordType;
    }
    return ReplaceOutcome::Done;
}

constexpr std::array<ReplaceRule, 11> Rules = {{
    {QueryAnnotation, NewText},
    {QueryElevation, MatchingZ},
    {QueryPointName, NewText},
    {QueryBoundaryPointNumber, MatchingZ},
    {QueryParcelNumber, NewText},
    {QueryBoundaryEdge, EdgeTexts},
    {QueryAttribute, AttributeField},
    {QueryLineType, SymbolCode},
    {QueryTextHeight, TextHeight},
    {QueryFont, Font},
    {QuerySlant, Slant},
}};

}  // namespace

ReplaceValues MakeReplaceValues(const std::string& searchTyped, const std::string& replacementTyped,
                                std::uint8_t fieldIndex) {
    ReplaceValues v;
    v.oldText = Trim(searchTyped);
    v.oldNumber = QueryNumber(v.oldText);
    v.newText = Trim(replacementTyped);
    v.newNumber = QueryNumber(v.newText);
    v.fieldIndex = fieldIndex;
    return v;
}

const ReplaceRule* FindReplaceRule(std::uint8_t kind) {
    for (const ReplaceRule& rule : Rules)
        if (rule.kind == kind) return &rule;
    return nullptr;
}

ReplaceOutcome ReplaceInRecord(App& app, std::uint8_t kind, int layer, int slot, const ReplaceValues& values) {
    const ReplaceRule* rule = FindReplaceRule(kind);
    if (!rule) return ReplaceOutcome::Done;
    try {
        const MapRecord& before = app.store.Get(layer, slot);
        // Only records are replaced in: an empty slot or a deleted record stays as it is.
        if (before.RecordType == TypeEmpty || IsDeletedType(before.RecordType)) return ReplaceOutcome::Done;
        MapRecord changed = before;
        const ReplaceOutcome outcome = rule->apply(app, changed, values);
        if (outcome == ReplaceOutcome::Done && !(changed == before)) {
            app.store.At(layer, slot) = changed;
            app.current.ModifiedFlag = -1;
        }
        return outcome;
    } catch (...) {
        return ReplaceOutcome::Done;
    }
}

}  // namespace movra
