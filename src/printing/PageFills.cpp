#include "printing/PageFills.h"

#include <algorithm>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "display/AreaFills.h"
#include "platform/Surface.h"
#include "printing/PageLines.h"

namespace movra {

namespace {

// Separate crossings of a hatch line closer than this are taken for one met twice.
constexpr double HatchDropDistance = 0.3;

// The outline of the area, or an empty one when nothing of it can show in the cell: its box
// (that of its points) must meet the closed cell.
FillOutline OutlineOnPage(const App& app, std::uint8_t layer, std::int16_t slot) {
    const PrintDialogState& s = app.printState;
    FillOutline outline = GatherFillOutline(app.store, layer, slot, OutlineProbe::EveryPoint,
                                            [](double, double) { return false; });
    if (outline.Degenerate()) return {};
    const auto [minX, maxX] = std::minmax_element(outline.x.begin(), outline.x.end());
    const auto [minY, maxY] = std::minmax_element(outline.y.begin(), outline.y.end());
    if (*maxX < s.CellLeft || *minX > s.CellRight || *maxY < s.CellBottom || *minY > s.CellTop) return {};
    outline.visible = true;
    return outline;
}

}  // namespace

void PrintHatchFill(App& app, std::uint8_t layer, std::int16_t slot) {
    GuardSilently([&] {
        const FillOutline outline = OutlineOnPage(app, layer, slot);
        if (!outline.visible) return;
        const PrintDialogState& s = app.printState;
        Surface& page = app.platform.printer().Page();
        page.SetDrawStyle(DrawStyleSolid);
        page.SetDrawWidth(3);
        page.SetDrawMode(DrawModeCopyPen);
        const MapRecord& head = app.store.Get(layer, slot);
        HatchScan scan;
        scan.bottom = head.RecordY4;
        scan.top = head.RecordY1;
        scan.guideX = (head.RecordX1 + head.RecordX2) / 2;
        scan.step = static_cast<float>(s.MetresPerPaperMm * 0.2 / s.MapToPrintRatio);
        scan.dropX = HatchDropDistance;
        // Lines beyond the cell would be clipped away whole.
        scan.windowLow = s.CellBottom;
        scan.windowHigh = s.CellTop;
        PageSink sink(app);
        ScanHatchLines(app, outline, scan, sink, s.LineColor);
    });
}

void PrintSymbolFill(App& app, std::uint8_t layer, std::int16_t slot) {
    GuardSilently([&] {
        const FillOutline outline = OutlineOnPage(app, layer, slot);
        if (!outline.visible) return;
        Surface& page = app.platform.printer().Page();
        page.SetDrawWidth(1);
        page.SetDrawStyle(DrawStyleSolid);
        const MapRecord& head = app.store.Get(layer, slot);
        const double sizeFactor = app.view.ScaleFactor;
        // Code 4 keeps the steps of row 216 as they are: a zero step prints nothing.
        const FillPattern pattern =
            ChooseFillPattern(app.symbolStandard, ToInt32(Val(std::string(head.RecordText))), sizeFactor, false);
        PageSink sink(app, true);
        SweepPatternFill(app, outline, (head.RecordX1 + head.RecordX2) / 2, (head.RecordY1 + head.RecordY3) / 2,
                         pattern, sink, head.RecordColor, sizeFactor);
    });
}


}  // namespace movra
