#pragma once
#include <cstdint>
#include <string>

namespace movra {

struct App;
struct MapRecord;

// The old value (the search) and the new one (the replacement), each as text without leading and
// trailing blanks and as the number it begins with.
struct ReplaceValues {
    std::string oldText;
    double oldNumber = 0;
    std::string newText;
    double newNumber = 0;
    std::uint8_t fieldIndex = 0;
};

ReplaceValues MakeReplaceValues(const std::string& searchTyped, const std::string& replacementTyped,
                                std::uint8_t fieldIndex);

enum class ReplaceOutcome {
    Done,            // the rule ran (it may have found nothing to change)
    SymbolTooLarge,  // a point symbol's code must be below 350
    LineTypeTooSmall,  // a line type's code must be above 349
    NotANumber,      // a code that is no number: the click ends without a word
};

// What replacing does to a hit, by query kind: which fields take the new value. Kinds that
// replace nothing (the coordinates, the attribute classes) leave the record as it is.
struct ReplaceRule {
    std::uint8_t kind;
    ReplaceOutcome (*apply)(const App& app, MapRecord& record, const ReplaceValues& values);
};

// The rule of a kind; null for a kind that replaces nothing.
const ReplaceRule* FindReplaceRule(std::uint8_t kind);

// Applies the kind's rule to the record at (layer, slot) and marks the map modified when the
// record changed. A record that cannot be reached is left alone (Done).
ReplaceOutcome ReplaceInRecord(App& app, std::uint8_t kind, int layer, int slot, const ReplaceValues& values);

}  // namespace movra
