#pragma once
// The save-as-DXF command's way to the data exchange, which lies above the map document: the
// shell sets these at start-up. Each writes the map to the path and returns true when it did.
#include <string>

namespace movra {

struct App;

struct ExportSeams {
    using Exporter = bool (*)(App& app, const std::string& path);
    Exporter dxfR12 = nullptr;         // filter 1 "dxf_低版本"
    Exporter dxfOwnDialect = nullptr;  // filter 2 "dxf_wtw格式"
    Exporter coordinateText = nullptr; // filter 3 "text_文本格式"
};

}  // namespace movra
