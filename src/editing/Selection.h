#pragma once
#include <cstdint>
#include <vector>

namespace movra {

// Column k (from 1) of the selection list: the layer and slot of selected record k.
struct SelectedRecord {
    std::int32_t Layer = 0;
    std::int32_t Slot = 0;
};

// The selected records and the point list the canvas tools build.
struct Selection {
    // Entry 0's Layer holds the number of selected records + 1 (nothing selected at 1 or less);
    // entries 1..n are the selected records. One cleared entry is the empty selection.
    std::vector<SelectedRecord> SelectionList = std::vector<SelectedRecord>(1);
    // x, y pairs from index 0.
    std::vector<double> WorkPolygon;
    // The ground distance within which the point pick hits a segment: one screen millimetre,
    // set by the method panel at each press of its buttons; 0 until then, so that no segment hits.
    float SelectTolerance = 0;
    // Counts the selections made on the canvas (window selection and point pick), so that a window
    // offering the selected record's text can tell a new pick from a list it filled itself.
    std::uint32_t CanvasSelections = 0;
};

}  // namespace movra
