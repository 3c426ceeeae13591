#pragma once
// Decodes one drawing record of a map file, as its bytes lie in the file, straight into a slot of
// the record store: no record in between, the texts from code page 936 with the blanks that pad a
// fixed field removed, the fonts through a cache of the few names a map uses. One decoder serves one
// thread; a reader decoding on several threads gives each its own and its own text writer.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "basic/FaceName.h"
#include "document/MapRecord.h"

namespace movra {

class RecordStore;

class DrawingRecordDecoder {
public:
    // Writes every field of `m` from the record's 92 head bytes and its text and font fields (a
    // record without storable positions, see HasStorableCoordinates, comes in deleted and counted,
    // see Unusable); the layer and slot in the head are left to the caller. `splitExtra`: a "!" in the text starts the
    // attribute string (further pieces are dropped). Long texts go to the store's text writer
    // `writer`.
    void Fill(const char* head, std::string_view textBytes, std::string_view fontBytes, bool splitExtra,
              std::uint8_t source, MapRecord& m, RecordStore& store, int writer = 0);
    // A text field in UTF-8 with blanks removed at both ends and a character cut in half by the
    // field left out; valid until the next call that decodes into the same buffer.
    std::string_view Text(std::string_view bytes) { return Decode(bytes, textBuffer_); }
    FaceName Font(std::string_view bytes);
    // A cleared record with blank text and font: the writers end each layer with one, and a reader
    // holds it back until the next record shows whether its layer goes on.
    bool IsHeldBack(const char* head, std::string_view textBytes, std::string_view fontBytes);
    // Records Fill found with a position that is no finite number or lies beyond the storable range
    // (a NaN, an infinity or a 1e308 of a damaged or foreign file). Fill marks such a record
    // deleted: it cannot be drawn, reduced, measured or zoomed to, so it is neither drawn nor saved.
    int Unusable() const { return unusable_; }

private:
    int unusable_ = 0;
    static std::string_view Decode(std::string_view bytes, std::string& buffer);

    std::string textBuffer_;
    std::string fontBuffer_;
    // Font fields up to eight bytes, by their bytes.
    struct CachedFont {
        std::uint64_t bytes = 0;
        std::uint8_t size = 0xFF;
        FaceName font;
    };
    std::array<CachedFont, 64> fonts_{};
    CachedFont lastFont_;
};

// Whether a record's head is that of a cleared record: type 0 and every number 0.
bool IsClearedHead(const char* head);
// Whether every position of a record's head is storable (HasStorablePositions, by the head's type;
// the other fields are not judged). A record that is not is decoded as deleted, its coordinates
// cleared to 0.
bool HasStorableCoordinates(const char* head);

}  // namespace movra
