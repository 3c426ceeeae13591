#pragma once
// The map as a DXF file of the program's own dialect, labelled "AC1015": group-code and value
// lines after the DXF pattern, carrying the program's own record data (type, RGB colour, pen,
// line-type and symbol code, height) where DXF has other meanings. The program's DXF reader
// depends on every line as written here, odd ones included (a table section without its name, a
// lone "2", doubled "  0" lines, header names with a blank), so standard readers do not take it.
#include <string>

namespace movra {

struct App;

// The header template in the program folder (the work folder's copy first): its first line is
// dropped, every further line is copied unchanged into the HEADER section.
inline constexpr const char* DxfHeaderTemplate = "dxf头文档.txt";

// Writes the whole map (every layer, on or off, layer 0 included) to `path`. The store and the
// rest of the program stay as they were. A failure (no template, a write error) leaves no file and
// is shown in the message line; false then.
bool ExportDxfOwnDialect(App& app, const std::string& path);

}  // namespace movra
