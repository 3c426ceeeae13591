#pragma once
#include <cstdint>
#include <string>

namespace movra {

// One item of the map: the contents of one (layer, slot) of the record store.
// A default-made record is a cleared slot: type 0, colour 0, coordinates 0, pen 0, source 0,
// empty strings. The members are ordered for a compact layout (a store holds a million of them).
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
    std::string RecordFont;   // font face of text records
    std::string RecordText;   // text, point name, symbol or line-type code, image file name
    std::string RecordExtra;  // second text (attribute string)

    bool operator==(const MapRecord&) const = default;
};

}  // namespace movra
