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

// The canvas at 0.856 of the window's size and the two scroll bars along it.
void LayoutCanvasAndScrollBars(App& app, double windowWidth, double windowHeight);

}  // namespace movra
