#pragma once
// State of the main window's redraw that lives across redraws: the terrain-point switch, the
// backdrop flags and the canvas export flag.
#include <cstdint>
#include <memory>
#include <string>

namespace movra {

class Surface;

struct RedrawState {
    // -1 after a DXF merge: the full renderer draws no terrain point until the next canvas
    // mouse-up (or one of the commands that clear it).
    std::int16_t SuppressTerrainPoints = 0;
    // -1 after the widest backdrop was drawn (the drag-zoom stops zooming out then).
    std::int16_t BackdropDrawn = 0;
    // -1 while the backdrop picture is the canvas picture.
    std::int16_t BackdropPictureLoaded = 0;
    std::string PicturePath;
    // -1: the canvas export writes a picture three times the canvas size.
    std::int16_t LargeBitmapExport = 0;
    // Italic state of the canvas's own font, which the surface does not report back.
    bool CanvasFontItalic = false;
    // While set, the screen drawers draw here instead of on Picture1 (the large export).
    Surface* CanvasRedirect = nullptr;
    // The offscreen canvas of the large export while it is laid out, and the zoom it replaced.
    std::shared_ptr<Surface> LargeCanvas;
    double SavedDisplayZoom = 0;
    double SavedGroundPerScreenMm = 0;
};

}  // namespace movra
