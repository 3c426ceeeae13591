#pragma once
// The pictures of the selection while it is being moved or rotated, and the restyling of the
// selected records at once (colour, font, slant and size of texts).
#include <cstdint>
#include <string>

namespace movra {

struct App;

// Draws the selection turned as 旋转后(x11, y11, x22, y22, flag) would turn it, without touching
// the records: the pivot is P1 of the first selected record, or (AnchorX, AnchorY) for flag 255.
// The figures are simple stand-ins (boxes, segments, polylines, ticks); a lone text is shown at
// its place at the angle the rotation would give it, several texts level at their turned anchors.
// On the inverting canvas a second call with the same points takes the figures off again; texts
// are taken off by a call with flag 0, which prints them in the background colour. Nothing
// happens with nothing selected; a failure ends the call silently.
void PreviewRotation(App& app, double x11, double y11, double x22, double y22, std::uint8_t flag);

// Sets DashOff to 0, then draws the selection as the one-record drawing draws it, shifted so that
// P1 of the first selected record lies on (x, y); the press point is not used. Texts are printed
// in the background colour with flag 0 and in their own colour otherwise; the labels of points
// and attribute records always in their own colour. Ends by inverting RubberShown. A failure
// writes its description and number into Text2.
void PreviewMove(App& app, double x, double y, double pressX, double pressY, std::uint8_t flag);

// Sets DashOff to 0, then restyles the selected texts (types 63..68): a font that is not empty
// becomes theirs; code 63 or 64 becomes their type; any other code but 0 becomes their height and
// its low byte their pen. Each restyled text is drawn in CurrentColor. Other records are skipped.
void ApplyTextStyle(App& app, const std::string& font, int code);

// Sets DashOff to 0, then gives every selected record CurrentColor, except a linked image, whose
// colour field holds its picture holder; every selected record is drawn in CurrentColor.
void ApplyColor(App& app);

}  // namespace movra
