#include "document/TextPlacement.h"

#include <exception>
#include <string_view>
#include <vector>

#include "App.h"
#include "basic/Text.h"
#include "basic/Utf8.h"
#include "document/StoreRecord.h"

namespace movra {

namespace {

// The record type of one line of a paragraph.
constexpr std::uint8_t ParagraphLineType = 65;
// The indent of every paragraph line: four narrow characters.
constexpr std::string_view ParagraphIndent = "    ";
// The wrap width a paragraph takes when none was set.
// Slots kept free in the layer before a record is stored, as the canvas tools keep them.
constexpr int FreeSlotMargin = 5;

bool IsNarrow(char32_t c) { return c >= 32 && c <= 127; }

}  // namespace

std::int16_t DisplayWidth(const std::string& text) {
    const int width = DisplayColumns(text);
    return width > INT16_MAX ? std::int16_t{3} : static_cast<std::int16_t>(width);
}

std::string SplitFirstLine(App& app, std::string& text) {
    const long wrap = app.textPlacement.ParagraphWrapColumns;
    if (Len(text) <= wrap) return text;
    long characters = 0;
    long narrow = 0;
    size_t pos = 0;
    char32_t c = 0;
    while (pos < text.size()) {
        pos += DecodeUtf8At(text, pos, c);
        ++characters;
        if (IsNarrow(c)) ++narrow;
        // Full-width characters so far, an odd narrow character counting as a whole one.
        if (characters - narrow / 2 >= wrap) {
            std::string piece = text.substr(0, pos);
            text.erase(0, pos);
            return piece;
        }
    }
    std::string piece;
    piece.swap(text);
    return piece;
}

void PlaceParagraph(App& app, float x, float y) {
    try {
        TextPlacementState& placement = app.textPlacement;
        if (placement.ParagraphWrapColumns <= 1) placement.ParagraphWrapColumns = DefaultParagraphWrapColumns;
        const float step = static_cast<float>(-(app.current.TextSize / 2.5 + app.view.ScaleFactor));
        float position = y;
        RecordStore& store = app.store;

        for (const std::string& line : placement.PendingTextLines) {
            std::string rest = std::string(ParagraphIndent) + line;
            while (true) {
                const size_t before = rest.size();
                const std::string piece = SplitFirstLine(app, rest);
                if (store.Count(store.CurrentLayer) + FreeSlotMargin > store.LayerCapacity) {
                    GrowLayerCapacity(app);
                }
                // Growing may hand the upper part of the layer to a new one; count afresh.
                const int layer = store.CurrentLayer;
                const std::int32_t count = store.Count(layer);
                StoreRecord(app, StoreFull, ParagraphLineType, x, position, app.current.TextSize, 0, 0, 0,
                            0, 0, piece);
                // A layer without room refuses (and says so): the paragraph stops there.
                if (store.Count(layer) != count + 1) return;
                position += step;
                // Done when the piece was the whole of what it was cut from.
                if (piece.size() == before) break;
            }
        }
        placement.PendingTextLines.assign(1, std::string());
    } catch (const std::exception&) {
        // Stops; the records stored so far stay and the pending lines are kept.
    }
}

}  // namespace movra
