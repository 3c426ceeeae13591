#pragma once
#include <cstdint>
#include <string>

namespace movra {

struct App;
struct MapRecord;

// Which fields StoreRecord writes.
enum StoreMode : std::uint8_t {
    StoreFull = 0,         // every field from the arguments and the current attributes; commits
    StoreChainOpen = 1,    // opens a chain record with vertex 1
    StoreChainVertex2 = 2,
    StoreChainVertex3 = 3,
    StoreChainVertex4 = 4,
    StoreChainCommit = 5,  // sets the type of the full record and commits
    StoreSizedText = 6,    // pen = the size in x2; text = PendingText
    StoreSplitText = 7,    // text split at FieldSeparator into text and extra
    StoreFromFile = 10,    // type, vertices and text only: the file readers set the rest
    StoreImage = 15,       // RecordY2 = -y2; colour left to the caller
};

// The messages of a layer running out of slots.
inline constexpr const char* LayerFullMessage = "本层已满，请换（加）层";
inline constexpr const char* LayerFullWarning = "警告！！！本层已满，请换（加）层";

// The capacity from which GrowLayerCapacity makes room by splitting the current layer.
constexpr int LayerSplittingCapacity = 31100;

// Raises LayerCapacity of every layer by one step (1000, 500, 100, 10 as it nears 32767),
// telling the user in the upper steps and splitting the current layer in the last one.
// Ends quietly on any error.
void GrowLayerCapacity(App& app);

// The next free slot of CurrentLayer, after growing (or splitting) until that slot and `spare - 1`
// after it fit under LayerCapacity; RuntimeError 9 when no growth makes room.
int SlotWithRoom(App& app, int spare);

// Writes the fields of `mode` into the open slot of CurrentLayer and commits where the mode does.
// Without room for the slot and the open slot after it, shows LayerFullMessage and writes nothing.
// A position of the type (PositionsOf) that is not storable (IsStorablePoint) writes nothing; the
// other fields are not judged. Ends quietly on any error.
void StoreRecord(App& app, std::uint8_t mode, std::uint8_t type, double x1, double y1, double x2,
                 double y2, double x3, double y3, double x4, double y4, const std::string& text);

// The record just appended to CurrentLayer when its count rose from `countBefore` (the map is then
// marked modified), else null: how a tool learns whether StoreRecord took its record.
MapRecord* AppendedRecord(App& app, std::int32_t countBefore);

// Writes a two-vertex record into the open slot of CurrentLayer without committing it; the caller
// sets what else it needs and raises the count. Without room it shows LayerFullMessage and raises
// RuntimeError 9 so that the caller stops; a position of the type that is not storable raises RuntimeError 6
// (溢出) before anything is written.
void AddRecord2(App& app, std::uint8_t type, double x1, double y1, double x2, double y2,
                const std::string& text);

// Appends the fill head and boundary chain of WorkPolygon to CurrentLayer; the fill code selects
// the head's type and pattern text. A polygon with a coordinate that is not storable writes nothing.
// Ends quietly on any error.
void StorePolylineFromList(App& app, const std::string& fillCode);

}  // namespace movra
