#pragma once
// What the three exporters share: the output file written line by line (GBK, CR LF, replaced only
// when complete), the Z form of heights, and the walk over the record store.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "basic/Files.h"
#include "document/DrawingExtents.h"

namespace movra {

struct App;
struct MapRecord;
class RecordStore;

// Lines of an export file. Fixed words and numbers go out as they are; map texts (layer names,
// record texts, fonts) through Text, in code page 936. Nothing replaces the file at `path` until
// Commit: a failure leaves the old file, or none, and no half-written one.
class ExportLineWriter {
public:
    explicit ExportLineWriter(std::string path) : out_(std::move(path)) {}
    void Line(std::string_view ascii) { out_.WriteRawLine(ascii); }
    // A line break inside a text would put the lines after it out of step: it is written as a
    // blank.
    void Text(std::string_view utf8);
    // A group-code line and its value line.
    void Pair(std::string_view code, std::string_view value) {
        Line(code);
        Line(value);
    }
    void Commit() { out_.Commit(); }

private:
    TextFileWriter out_;
};

// The Z form of a height: "0" followed by the plain form of the single ("00", "02.5").
std::string ZNumberText(float z);

// The highest slot an export visits in a layer: the layer's open slot included, kept inside the
// store; -1 when the store holds no such layer.
int LastExportSlot(const RecordStore& store, int layer);
// The extents an export's header carries, in stored coordinates: the map's extents (ExtentsToShow)
// widened to hold every record the export visits, its positions and the reach of its circles,
// arcs and ellipses. The map's extents follow the fitted view, which after a reduction or a zoom
// need not hold the whole drawing; a program that zooms to a file's extents must see all of it.
DrawingExtents ExportedExtents(const App& app);
// The record in the slot after `slot` of the same layer, or nullptr when that slot lies beyond the
// store's slot dimension.
const MapRecord* NextSlotRecord(const RecordStore& store, int layer, int slot);

// Runs one export: a failure leaves no file behind and is shown in the main window's message
// line (description and number). True when the file was written.
bool RunExport(App& app, const std::function<void()>& write);

}  // namespace movra
