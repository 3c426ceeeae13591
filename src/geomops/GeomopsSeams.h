#pragma once
// The ways from the canvas tools to the cutting operations and the ink fill. The tools call the
// operations through these, so that each operation plugs in where it is built (the shell sets
// them with the main window) and tests can put recording doubles in their place. A tool whose
// operation is not set stops with OperationMissingMessage in Text2 and changes nothing.
#include <cstdint>
#include <functional>
#include <string>

namespace movra {

struct App;

struct GeomopsSeams {
    // Cuts (mode 2) or splits (mode 1) the line records and areas that the cutting line crosses;
    // mode 0 only draws what a cut would remove.
    std::function<void(App&, double x1, double y1, double x2, double y2, std::uint8_t mode)> CutLinesAndAreas;
    // Trims one line end beyond the cutting line (mode 2); mode 0 only draws the stubs.
    std::function<void(App&, double x1, double y1, double x2, double y2, std::uint8_t mode)> CutLines;
    // Stores the pieces of the segment in ScratchXY 2..5 that lie between crossings with the map.
    std::function<void(App&)> AddInsidePieces;
    // Pours ink around the point (pn, kn) (fangs 1) or the first vertex of record (pn, kn): its
    // records start at the current layer's open slot and it leaves the count right after them.
    std::function<void(App&, std::int32_t pn, std::int32_t kn, std::uint8_t fangs)> 墨水填充;
};

// What Text2 says when a tool's operation is not there: the operation's name and that nothing
// was done.
inline std::string OperationMissingMessage(const std::string& operation) {
    return operation + "尚未提供，本命令未执行";
}

}  // namespace movra
