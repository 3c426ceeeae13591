#pragma once
// A line of several records (each record that goes on draws from its last vertex to the first
// vertex of the next slot) cannot be shown with one of its records left out of a read: the record
// before would draw on to the cleared slot's (0, 0), and what follows is the rest of a broken line.
// Such a line is left out whole.
#include <cstdint>

namespace movra {

class RecordStore;
struct MapRecord;

// Whether a record was left out of a read: marked deleted with every coordinate cleared, as the
// readers leave a record whose coordinates are no numbers or lie beyond the storable range.
bool IsLeftOutOfRead(const MapRecord& r);

// Marks deleted every record of the lines that a record of `source` left out of a read belongs to,
// among the records of `source`: those before it that go on to it, and, when the left-out record
// went on itself, those after it up to the line's last. Returns how many more records it marked.
int LeaveOutBrokenLines(RecordStore& store, std::uint8_t source);

}  // namespace movra
