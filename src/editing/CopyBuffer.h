#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace movra {

// One record held by the copy buffer: where it came from and its fields.
struct CopyBufferEntry {
    std::int32_t Layer = 0;   // entry 0: the number of buffered records
    std::int16_t Slot = 0;    // entry 0: the size the buffer was dimensioned for (block loads)
    std::int16_t Source = 0;  // merged-file tag
    std::uint8_t Type = 0;
    std::int32_t Color = 0;
    std::int32_t Pen = 0;
    double X1 = 0, Y1 = 0;
    float Z1 = 0;
    double X2 = 0, Y2 = 0;
    float Z2 = 0;
    double X3 = 0, Y3 = 0;
    float Z3 = 0;
    double X4 = 0, Y4 = 0;
    float Z4 = 0;
    std::string Text;
    std::string Font;
    // The record's second text (house or neighbour parcel numbers); kept in memory only, a block
    // file does not carry it.
    std::string Extra;
};

// The copy buffer of the copy, cut and paste commands. Entries 1..count hold the records; the
// count lives in the Layer field of entry 0, which always exists.
struct CopyBuffer {
    std::vector<CopyBufferEntry> Entries = std::vector<CopyBufferEntry>(1);
    // -1 while the buffer holds copied records not yet kept in the temporary block file; the
    // paste commands use the buffer while it is -1 and load the temporary block file otherwise.
    std::int16_t CopyBufferFlag = 0;
};

}  // namespace movra
