#pragma once
// The decorated frame every sheet carries: the inner frame of 50 cm by 50 cm, the thick outer frame
// 12 mm outside it, kilometre ticks and grid crosses, the diagram of the eight adjoining sheets,
// the sheet number, the corner values, the scale and the annotations of the sheet division window.
//
// It is built as a template of 67 items in layer 0 (slots 700 to 766), in paper millimetres times
// ScaleFactor relative to the lower-left corner of a sheet at the origin. Texts that depend on the
// sheet are placeholders (type 69) whose text is a FramePlaceholderCode; whoever places the frame
// at a sheet corner shifts the items and resolves the placeholders (PlaceFrameItem).
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "document/MapRecord.h"

namespace movra {

struct App;

// The frame's annotations, as the sheet division window's boxes hold them.
struct SheetFrameTexts {
    std::string Text2;   // full name of the surveying organisation
    std::string Text3;   // survey date and method
    std::string Text4;   // coordinate system
    std::string Text5;   // elevation datum and contour interval
    std::string Text6;   // edition of the symbol standard
    std::string Text7;   // surveyor
    std::string Text8;   // draughtsman
    std::string Text9;   // checker
    std::string Text10;  // security class
    std::string Text11;  // remark
};

// Record types of the frame items.
inline constexpr std::uint8_t FrameQuadType = 6;          // closed quadrilateral P1-P2-P3-P4
inline constexpr std::uint8_t FrameSegmentsType = 52;     // the segments P1-P2 and P3-P4
inline constexpr std::uint8_t FramePlaceholderType = 69;  // a text resolved per sheet
inline constexpr std::uint8_t FrameResolvedTextType = 66; // what a placeholder becomes
// The number of frame items and the last item's index.
inline constexpr int FrameItems = 67;
inline constexpr std::int16_t FrameLastItem = FrameItems - 1;
// Colour index of every frame item.
inline constexpr int FrameColorIndex = 7;
// The outer frame stands this many paper millimetres outside the inner one.
inline constexpr double FrameOuterMargin = 12;

// Shown when the map's scale denominator is not set: no frame can be sized.
inline constexpr const char* FrameScaleNotSetMessage = "工程比例尺未设置，不能加图廓";
inline constexpr const char* FrameTitle = "加饰图廓";

// The side of a sheet in ground units: 500 paper millimetres at the map scale.
double SheetSide(const App& app);

// Builds the template from the window's texts (each trimmed of blanks): ScaleFactor becomes the
// scale denominator / 1000, then items 0 to 66 are written into layer 0, FrameItemCount following
// the item being written. When the scale denominator is not above 0 it says so in a message box
// and builds nothing: false.
bool BuildSheetFrameTemplate(App& app, const SheetFrameTexts& texts);

// The item adders of the builder: each writes one item at slot 700 + FrameItemCount of layer 0, in
// paper millimetres; the whole slot is written anew, so nothing of an earlier use stays in it.
// A shape: type 6 or 52, four vertices, pen 7, font "黑体".
void AddFrameShape(App& app, std::uint8_t type, double x1, double y1, double x2, double y2, double x3,
                   double y3, double x4, double y4);
// A cross of arms 5 mm about (x, y), as a type-52 shape.
void AddFrameCross(App& app, double x, double y);
// A text anchored at (x, y): X2 the size (not scaled), Y2 the width factor, Z2 the angle, Y3 the
// width in half-width columns, the pen the size.
void AddFrameText(App& app, std::uint8_t type, double x, double y, const std::string& text, std::uint8_t size,
                  double widthFactor, double angle, const std::string& font);

// Whether layer 0 holds a built template (FrameItemCount is set back to 0 when the store was
// dimensioned anew since the build and the template is gone).
bool FrameTemplateBuilt(App& app);

// The text of a placeholder for the sheet with lower-left corner (x0, y0), stored coordinates, its
// numbers read from the true coordinates (the false origin of a reduced map added): "0" the sheet's number
// (northing, "─", easting, each in kilometres within 100 km), "1" to "8" the adjoining sheets'
// numbers (with "-"), "9" to "16" the kilometre values at the frame corners; other codes give "".
std::string FrameLabelText(const App& app, std::string_view code, double x0, double y0);

// Template item `item` placed at the sheet corner (x0, y0): shapes shifted whole, texts at their
// anchor, a placeholder resolved into a type-66 text of its width. Nothing for other types.
// RecordExtra and RecordSource come back empty.
std::optional<MapRecord> PlaceFrameItem(const App& app, const MapRecord& item, double x0, double y0);

// The high and low parts of the kilometre digits of a coordinate: the last four characters of
// Int(v / 10); a high part below 10 gets a leading "0".
struct KilometreDigits {
    std::string high;
    std::string low;
};
KilometreDigits KilometreParts(double v);

}  // namespace movra
