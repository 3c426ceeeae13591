#pragma once
// What the clipboard link and the point-group import share: the field order of a point list and
// the appending of a point to the current layer.
#include <array>
#include <cstdint>
#include <string>

namespace movra {

struct App;
struct MapRecord;

// The field numbers of the legend "[1-编号],2-点名,3-纵坐标,4-横坐标,5-高程,[6-等级代码],[7-备注]".
enum PointField : int {
    PointNumberField = 1,
    PointNameField = 2,
    PointNorthField = 3,
    PointEastField = 4,
    PointElevationField = 5,
    PointGradeField = 6,
    PointRemarkField = 7,
};

// Which column (from 0) of a line holds each field.
struct PointFieldOrder {
    // Indexed by field number 1..7; -1 where the order does not name the field.
    std::array<int, 8> columns{-1, -1, -1, -1, -1, -1, -1, -1};

    int Column(PointField field) const { return columns[static_cast<std::size_t>(field)]; }
    bool Names(PointField field) const { return Column(field) >= 0; }
    // A point needs both coordinates: an order without them describes no point.
    bool DescribesPoints() const { return Names(PointNorthField) && Names(PointEastField); }
    // How many fields a line needs for the columns of name, coordinates and elevation.
    int FieldsNeeded() const;
};

// A comma-separated list of field numbers, one per column in column order: a token "1".."7"
// (blanks around it aside) gives that field its column, a later column with the same number wins,
// other tokens are ignored.
PointFieldOrder ParsePointFieldOrder(const std::string& order);

// Appends a point record of `type` at the open slot of the current layer with the current colour
// and pen, vertex 1 (x, y), RecordX2 `x2`, RecordY2 0 and the text, growing the layer first when
// the slot and the open slot after it do not fit. The caller completes the record and then raises
// the layer's count. A layer that cannot grow raises RuntimeError 9 with nothing written.
MapRecord& OpenPointSlot(App& app, std::uint8_t type, double x, double y, double x2, const std::string& text);

}  // namespace movra
