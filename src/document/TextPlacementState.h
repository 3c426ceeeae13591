#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace movra {

// The wrap width a paragraph takes when none is set.
constexpr std::int16_t DefaultParagraphWrapColumns = 32;

// The lines of text in hand and the width they are wrapped to when placed as a paragraph.
struct TextPlacementState {
    // Wrap width of paragraphs in full-width characters (a narrow character counts a half);
    // 0 at start-up, set to 32 by the paragraph placement and preview when it is 1 or below.
    std::int16_t ParagraphWrapColumns = 0;
    // The lines of text in hand, filled by the article annotation and attribute dialogs.
    std::vector<std::string> PendingTextLines = {std::string()};
};

}  // namespace movra
