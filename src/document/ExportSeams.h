#pragma once
// The save-as-DXF command's way to the data exchange, which lies above the map document. The shell
// sets these when the main window is made; each writes the map to the path and returns true when
// it did.
#include <functional>
#include <string>

namespace movra {

struct App;

struct ExportSeams {
    using Exporter = std::function<bool(App& app, const std::string& path)>;
    Exporter dxfR12;          // filter 1 "dxf_低版本"
    Exporter dxfOwnDialect;   // filter 2 "dxf_wtw格式"
    Exporter coordinateText;  // filter 3 "text_文本格式"
};

}  // namespace movra
