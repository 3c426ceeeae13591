#include "document/RedrawSeams.h"

#include "App.h"

namespace movra {

void RedrawSeam(App& app) {
    if (app.seams.Redraw) app.seams.Redraw(app);
}

void ZoomToExtentsSeam(App& app) {
    if (app.seams.ZoomToExtents) app.seams.ZoomToExtents(app);
}

void HighlightRecordSeam(App& app, int layer, int slot, Rgb color) {
    if (layer < 0 || layer > 255 || slot < -32768 || slot > 32767) return;
    if (app.seams.HighlightRecord) app.seams.HighlightRecord(app, layer, slot, color);
}

}  // namespace movra
