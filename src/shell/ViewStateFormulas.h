#pragma once

namespace movra {

struct App;

// The view state from the canvas's window: the display scale denominator (shown in the scale box
// Text4), the zoom against the map's scale, its inverse and the ground length of one screen
// millimetre. Stops quietly at the first failure, keeping what was computed before.
void Text4_Click(App& app);

// The scroll bar's steps for the view's zoom: large and small.
struct ScrollSteps {
    int large = 0;
    int small = 0;
};
ScrollSteps HorizontalScrollSteps(double displayZoomInverse);

ScrollSteps VerticalScrollSteps(double displayZoom, double displayZoomInverse);

// The vertical scroll bar moved: the window goes north or south by the change of its value.
void VScroll1_Change(App& app);

// The horizontal scroll bar moved: the window goes east or west by the change of its value.
void HScroll1_Change(App& app);

// The canvas filling the window's inner area (sizes in twips) right of and below its corner,
// and the two scroll bars along it.
void LayoutCanvasAndScrollBars(App& app, double clientWidth, double clientHeight);

// The canvas changed its size in pixels: its ground window keeps the ground length of one pixel
// and its centre, and takes the new shape.
void KeepCanvasScale(App& app, int oldPixelWidth, int newPixelWidth, int newPixelHeight);

// The canvas's resize: from the size it had (updated here) it keeps the map's scale and centre;
// once the program has started, the view state follows and the map is drawn again on the
// canvas, which a resize leaves blank.
void CanvasResized(App& app, int& lastPixelWidth, int& lastPixelHeight);

// The smallest inner area of the main window in twips (800 by 584 pixels at 15 twips each): the
// selector column and the method panel under it still fit.
inline constexpr double MinimumClientWidth = 12000;
inline constexpr double MinimumClientHeight = 8760;

}  // namespace movra
