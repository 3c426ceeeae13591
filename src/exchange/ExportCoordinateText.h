#pragma once
// The map's line work and points as a plain coordinate list: first every line as a polyline, its
// vertices joined across the chained records ("jvqa,n", n lines "x,y", "jvqb"), then every point,
// symbol, height point and text as one line "x,y,z,text" per vertex, the blocks opened by "jvqa"
// and the file closed by "jvqb".
#include <string>

namespace movra {

struct App;

// Writes the layers 1 to LayerCount, on or off, to `path`; layer 0 is not exported. The store and
// the rest of the program stay as they were. A failure leaves no file and is shown in the message
// line; false then.
bool ExportCoordinateText(App& app, const std::string& path);

}  // namespace movra
