#include "shell/InstallSeams.h"

#include <cstdint>

#include "App.h"
#include "display/HighlightRenderer.h"
#include "display/Redraw.h"
#include "editing/ViewExtents.h"
#include "exchange/ExportCoordinateText.h"
#include "exchange/ExportDxfOwnDialect.h"
#include "exchange/ExportDxfR12.h"
#include "exchange/ImportDxf.h"
#include "geomops/CutAlongLine.h"
#include "geomops/InkFill.h"
#include "geomops/KeepInside.h"
#include "geomops/TrimStubs.h"

namespace movra {

void InstallRedrawSeams(App& app) {
    app.seams.Redraw = [](App& a) { 刷新(a); };
    app.seams.ZoomToExtents = [](App& a) { ZoomToExtents(a); };
    app.seams.HighlightRecord = [](App& a, int layer, int slot, Rgb color) {
        刷图元(a, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot), color);
    };
}

void InstallExportSeams(App& app) {
    app.exportSeams.dxfR12 = ExportDxfR12;
    app.exportSeams.dxfOwnDialect = ExportDxfOwnDialect;
    app.exportSeams.coordinateText = ExportCoordinateText;
    app.importSeams.dxf = ImportDxf;
    // The cutting tools' operations.
    app.geomopsSeams.CutLinesAndAreas = CutLinesAndAreas;
    app.geomopsSeams.AddInsidePieces = AddInsidePieces;
    app.geomopsSeams.CutLines = CutLines;
    app.geomopsSeams.墨水填充 = 墨水填充;
}

}  // namespace movra
