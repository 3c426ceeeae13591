#pragma once
// The display's own state that lives for the whole run: the pen cache, the colour of the record
// being drawn, the dash rhythm carried from segment to segment and the direction the line-type
// drawer leaves for the tools.
#include <array>
#include <cstdint>

#include "display/RecordImages.h"
#include "display/RedrawState.h"
#include "display/TextRendering.h"
#include "platform/Color.h"

namespace movra {

// Where a dashed line with width stands in its dash period when the last segment ended.
struct DashState {
    double DashCarry = 0;  // ground units of the current period still to come beyond the last end
    double DashLastX = 0;  // end point of the last segment drawn
    double DashLastY = 0;
};

struct DisplayState {
    // The pen code the record renderers last applied to the canvas; no redraw resets it.
    std::uint8_t PenCache = 0;
    // The colour of the record being drawn, for the drawers that read it.
    Rgb PenColor = 0;
    // The main window's dash continuation, shared by every screen caller of the dashed line.
    DashState Dash;
    // Length, unit vector x and y, 0: left by DrawLineTypeSegment for the record the tool stores.
    std::array<double, 4> UnitDirection{};
    // The marker animation of the main window: where its sample stands and the symbol or
    // line-type code it shows.
    float MarkerX = 0;
    float MarkerY = 0;
    std::int16_t MarkerCode = 0;
    // The created-font cache of the text drawers and the picture holders of image records.
    TextFontState TextFont;
    RecordImageState Images;
    RedrawState Redraw;
};

}  // namespace movra
