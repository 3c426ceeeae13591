#pragma once
#include <cstdint>

#include "basic/FaceName.h"
#include "basic/Numbers.h"
#include "basic/PackedText.h"

namespace movra {

// The text of a record: up to 13 bytes of UTF-8 inline (a point name, a code, a number, a short
// annotation), a longer one in a block of its own or in the store's text buffer.
using RecordTextValue = PackedText<14>;
// The attribute string: up to 7 bytes inline; mostly empty.
using RecordExtraValue = PackedText<8>;

// One item of the map: the contents of one (layer, slot) of the record store.
// A default-made record is a cleared slot: type 0, colour 0, coordinates 0, pen 0, source 0,
// empty strings; every one of its bytes is 0. The members are ordered for a compact layout (a
// store holds a million of them) in the order code names them in designated initializers; the
// texts need no alignment and fill the record to 112 bytes.
struct MapRecord {
    std::uint8_t RecordType = 0;    // record type code; 0 empty; 100 added marks a deleted record
    std::uint8_t RecordPen = 0;     // pen code
    std::uint8_t RecordSource = 0;  // merged-file tag
    std::int32_t RecordColor = 0;   // 0x00BBGGRR; an image record keeps its holder number here
    double RecordX1 = 0, RecordY1 = 0;
    double RecordX2 = 0, RecordY2 = 0;
    double RecordX3 = 0, RecordY3 = 0;
    double RecordX4 = 0, RecordY4 = 0;
    float RecordZ1 = 0, RecordZ2 = 0, RecordZ3 = 0, RecordZ4 = 0;
    FaceName RecordFont;            // font face of text records
    RecordTextValue RecordText;     // text, point name, symbol or line-type code, image file name
    RecordExtraValue RecordExtra;   // second text (attribute string)

    bool operator==(const MapRecord&) const = default;
};

static_assert(sizeof(MapRecord) == 112, "the record layout is part of the store's memory budget");

}  // namespace movra
