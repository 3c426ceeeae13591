#pragma once
// The DXF open commands' way to the data exchange, which lies above the map document. The shell
// sets it when the main window is made.
#include <cstdint>
#include <functional>
#include <string>

namespace movra {

struct App;

// What one DXF import tells its caller.
struct DxfImportOutcome {
    // -1 once the file's entity section was reached, else 0.
    std::int16_t result = 0;
    // The import stopped early (a cut file, a bad number): what was read stays; `failureNumber`
    // and `failureText` describe it.
    bool failed = false;
    int failureNumber = 0;
    std::string failureText;
    // The last line read before the import stopped (1 for the first line of the file; 0 when
    // the file could not be read at all).
    std::int64_t failureLine = 0;
    // Entities left out because a coordinate lay beyond the farthest storable one.
    int farEntitiesSkipped = 0;
    // Entities were there but none carried a subclass marker (a release-12 file): only the layers
    // were read.
    bool layersOnly = false;
};

struct ImportSeams {
    std::function<DxfImportOutcome(App& app, const std::string& path)> dxf;
};

}  // namespace movra
