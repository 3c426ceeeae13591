#pragma once
#include <cstdint>
#include <string>

#include "platform/Color.h"
#include "platform/Picture.h"

namespace movra {

// Draw modes of the canvas pen (the raster operation of lines, circles, points and boxes).
enum DrawModeCode : int {
    DrawModeBlackness = 1,
    DrawModeInvert = 6,
    DrawModeXorPen = 7,
    DrawModeNotXorPen = 10,  // the inverting pen of previews: drawing twice restores the picture
    DrawModeNop = 11,
    DrawModeCopyPen = 13,
    DrawModeWhiteness = 16,
};

// Pen styles (the low codes of a record's pen).
enum DrawStyleCode : int {
    DrawStyleSolid = 0,
    DrawStyleDash = 1,
    DrawStyleDot = 2,
    DrawStyleDashDot = 3,
    DrawStyleDashDotDot = 4,
    DrawStyleInvisible = 5,
    DrawStyleInsideSolid = 6,
};

// Fill styles of closed figures (circles, boxes drawn with a box shape).
enum FillStyleCode : int {
    FillStyleSolid = 0,
    FillStyleTransparent = 1,
    FillStyleHorizontal = 2,
    FillStyleVertical = 3,
    FillStyleUpwardDiagonal = 4,
    FillStyleDownwardDiagonal = 5,
    FillStyleCross = 6,
    FillStyleDiagonalCross = 7,
};

enum class LineShape { Line, Box, FilledBox };

// Flood fill kinds: fill up to a border colour, or fill the area of one surface colour.
enum FloodFillKind : int { FloodFillBorder = 0, FloodFillSurface = 1 };

// A font created on the device for rotated and sheared text. Heights and widths are in pixels
// (a negative height is the character height), angles in tenths of a degree counter-clockwise.
struct LogicalFont {
    int height = 0;
    int width = 0;
    int escapement = 0;
    int orientation = 0;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
    int charSet = 134;  // GB2312
    std::string faceName;
};
using FontHandle = std::intptr_t;  // 0: no font

// An affine transform for device text: x' = m11 x + m21 y + dx, y' = m12 x + m22 y + dy (pixels).
struct WorldTransform {
    double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
};

// The canvas drawing model shared by the screen canvas and the printer: a user coordinate system
// over a pixel grid, a pen with colour, width, style and draw mode, a fill, a text font and a
// current position. Every operation takes user coordinates unless its name says pixels.
// The state is left exactly as the last caller set it; drawers rely on that.
class Surface {
public:
    virtual ~Surface() = default;

    // Size of the pixel grid.
    virtual int PixelWidth() const = 0;
    virtual int PixelHeight() const = 0;
    // Resizing keeps the user scale's left/top and recomputes nothing else; the content is cleared.
    virtual void Resize(int pixelWidth, int pixelHeight) = 0;

    // User scale: the left and top edges and the width and height in user units.
    // A negative height makes y point up.
    virtual void SetScale(double left, double top, double width, double height) = 0;
    virtual double ScaleLeft() const = 0;
    virtual double ScaleTop() const = 0;
    virtual double ScaleWidth() const = 0;
    virtual double ScaleHeight() const = 0;

    // Conversions between user units and pixels.
    virtual double ToPixelX(double x) const = 0;
    virtual double ToPixelY(double y) const = 0;
    virtual double FromPixelX(double px) const = 0;
    virtual double FromPixelY(double py) const = 0;

    // Pen, fill and background.
    virtual void SetForeColor(Rgb color) = 0;
    virtual Rgb ForeColor() const = 0;
    virtual void SetBackColor(Rgb color) = 0;  // also clears, as a canvas does
    virtual Rgb BackColor() const = 0;
    virtual void SetDrawWidth(int pixels) = 0;
    virtual int DrawWidth() const = 0;
    virtual void SetDrawStyle(int style) = 0;
    virtual int DrawStyle() const = 0;
    virtual void SetDrawMode(int mode) = 0;
    virtual int DrawMode() const = 0;
    virtual void SetFillStyle(int style) = 0;
    virtual int FillStyle() const = 0;
    virtual void SetFillColor(Rgb color) = 0;
    virtual Rgb FillColor() const = 0;

    // The current position, where printed text starts and where a line ends.
    virtual void SetCurrentX(double x) = 0;
    virtual void SetCurrentY(double y) = 0;
    virtual double CurrentX() const = 0;
    virtual double CurrentY() const = 0;

    // A line (or a box, or a filled box) from (x1, y1) to (x2, y2) in the given colour, or the fore
    // colour when color is negative. The current position moves to (x2, y2).
    virtual void Line(double x1, double y1, double x2, double y2, Rgb color = -1,
                      LineShape shape = LineShape::Line) = 0;
    // A circle, an arc or an ellipse. The radius is along the longer axis; aspect is height / width.
    // Angles in radians counter-clockwise as seen on the surface; a negative angle also draws the
    // radius to that end. hasArc false draws the whole figure.
    virtual void Circle(double x, double y, double radius, Rgb color = -1, bool hasArc = false,
                        double start = 0, double end = 0, double aspect = 1.0) = 0;
    // One point in the given colour (fore colour when negative), DrawWidth pixels wide.
    virtual void PSet(double x, double y, Rgb color = -1) = 0;
    // The colour of the pixel under a user point; -1 outside the surface.
    virtual Rgb Point(double x, double y) const = 0;
    virtual void Cls() = 0;
    // The picture a clear leaves on the surface: at its own pixel size from the upper-left corner,
    // over the back colour. An empty picture clears to the back colour alone. Applies from the
    // next clear on.
    virtual void SetClearPicture(const Picture& picture) = 0;
    virtual const Picture& ClearPicture() const = 0;

    // Text at the current position in the surface font and the fore colour. The current position
    // then moves below the text (newLine) or behind it.
    virtual void SetFont(const std::string& faceName, double sizePoints, bool bold = false,
                         bool italic = false, bool underline = false) = 0;
    virtual std::string FontName() const = 0;
    virtual double FontSize() const = 0;
    virtual void SetFontTransparent(bool transparent) = 0;
    virtual void Print(const std::string& text, bool newLine = true) = 0;
    virtual double TextWidth(const std::string& text) const = 0;   // user units
    virtual double TextHeight(const std::string& text) const = 0;  // user units

    // A picture painted into the user rectangle (x, y) width w, height h (h may be negative).
    virtual void PaintPicture(const Picture& picture, double x, double y, double w, double h) = 0;

    // Fill the region around a pixel with the fill colour and style.
    virtual void FloodFill(int pixelX, int pixelY, Rgb color, int kind) = 0;

    // Fonts created on the device for rotated and sheared text.
    virtual FontHandle CreateFontIndirect(const LogicalFont& font) = 0;
    virtual FontHandle SelectFont(FontHandle font) = 0;  // returns the font selected before
    virtual bool DeleteFont(FontHandle font) = 0;
    // Text at a pixel position with the selected device font and the fore colour, the font's
    // escapement applied about that point.
    virtual void TextOut(int pixelX, int pixelY, const std::string& text) = 0;
    virtual void SetWorldTransform(const WorldTransform& transform) = 0;
    virtual void ResetWorldTransform() = 0;

    // Keeps drawing inside a rectangle of user units (edges included) until cleared; a printed
    // page clips everything of a record to its cell so that neighbouring pages join without
    // drawing the same piece twice. Surfaces that never clip ignore it.
    virtual void SetClipRect(double /*left*/, double /*top*/, double /*right*/, double /*bottom*/) {}
    virtual void ClearClipRect() {}

    // What is on the surface now, as a picture.
    virtual Picture Snapshot() const = 0;
    // Shows pending drawing (the Qt canvas repaints its widget).
    virtual void Refresh() = 0;
};

}  // namespace movra
