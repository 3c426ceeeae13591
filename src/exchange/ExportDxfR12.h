#pragma once
// The map as a plain release-12 DXF file ("AC1009") for other CAD programs: the standard header
// and tables, an empty BLOCKS section, and the lines, polygons, grid paper, circles, arcs, point
// symbols and symbol rows, points, terrain points and texts as LINE, CIRCLE, ARC, POINT and TEXT
// entities. Records that no release-12 entity draws as the map does (ellipses, fills, shapes built
// by drawing rules, attributes) and records never drawn (frame placeholders) stay out. Every
// entity lies on layer "0" and carries the number of its map layer as its colour; records of the
// dashed pen get the line type "HIDDEN2".
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace movra {

struct App;
class ExportLineWriter;

// A release-12 file being written: opened by WriteDxfR12HeaderAndTables, finished by
// WriteDxfR12End. Until then nothing replaces a file at its path.
class DxfR12Dialect {
public:
    DxfR12Dialect();
    ~DxfR12Dialect();
    ExportLineWriter& Out();

private:
    friend void WriteDxfR12HeaderAndTables(App& app, DxfR12Dialect& file, const std::string& path);
    std::unique_ptr<ExportLineWriter> out_;
};

// Writes the whole map (every layer, on or off, layer 0 included) to `path`. The store and the
// rest of the program stay as they were. A failure leaves no file and is shown in the message
// line; false then.
bool ExportDxfR12(App& app, const std::string& path);

// Opens the file and writes HEADER, TABLES, BLOCKS and the opening of ENTITIES up to its first
// "  0" line.
void WriteDxfR12HeaderAndTables(App& app, DxfR12Dialect& file, const std::string& path);
// The entities. Numbers go out in the print form of their own type: coordinates and a radius as
// doubles, a point symbol's radius as the integer 1, a height as a single, an angle as a single or
// the integer 0. An empty line type is written as "CONTINUOUS".
void WriteDxfR12Line(DxfR12Dialect& file, double x1, double y1, double x2, double y2, std::int32_t color,
                     std::string_view lineType);
void WriteDxfR12Circle(DxfR12Dialect& file, double x, double y, double radius, std::int32_t color,
                       std::string_view lineType);
void WriteDxfR12Circle(DxfR12Dialect& file, double x, double y, std::int16_t radius, std::int32_t color,
                       std::string_view lineType);
void WriteDxfR12Text(DxfR12Dialect& file, double x, double y, float height, float angle, std::int32_t color,
                     std::string_view text);
void WriteDxfR12Text(DxfR12Dialect& file, double x, double y, float height, std::int16_t angle,
                     std::int32_t color, std::string_view text);
// An arc from `startDegrees` counter-clockwise to `endDegrees`.
void WriteDxfR12Arc(DxfR12Dialect& file, double x, double y, double radius, double startDegrees, double endDegrees,
                    std::int32_t color, std::string_view lineType);
// A point at its elevation.
void WriteDxfR12Point(DxfR12Dialect& file, double x, double y, float z, std::int32_t color);
// Writes "ENDSEC", "  0", "EOF" and puts the file in place.
void WriteDxfR12End(DxfR12Dialect& file);

}  // namespace movra
