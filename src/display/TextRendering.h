#pragma once
// Map texts that need a font of their own: turned texts with a width factor, italic texts, texts
// put out at device pixels with leaning letters, texts in device-unit fonts for the work buffer,
// and texts spread character by character along a direction. A created font is expensive, so the
// last one stays selected on the canvas with the values it was made for, and a run of texts of
// one style shares it.
#include <cstdint>
#include <string>

#include "platform/Color.h"
#include "platform/Surface.h"

namespace movra {

struct App;
struct ColorFontTables;

// The text font state of the main window, shared by every renderer that prints text.
struct TextFontState {
    // The colour value last given to the canvas fore colour by a text procedure.
    Rgb LastTextColor = 0;
    // The face and size last given to the canvas's own font by a renderer's print branch; the
    // face is emptied whenever a font is created here.
    std::string CanvasFontName;
    float CanvasFontSize = 0;
    // What the created font was made for. The face is compared without regard to case; the
    // italic and the pixel texts store their faces with "y" and "z" appended, so that a turned
    // text of the plain face never takes their font.
    std::string FontCacheFace;
    float FontCacheAngle = 0;
    float FontCacheWidth = 0;
    float FontCacheSize = 0;
    // The font asked for, its handle, the font it replaced and the surface it lives on.
    LogicalFont TextLogFont;
    FontHandle TextFontHandle = 0;
    FontHandle PreviousFontHandle = 0;
    Surface* TextDeviceContext = nullptr;
    // -1 once DrawTextAngled, DrawTextItalic or DrawTextGdi made a font (the record renderer
    // releases it before it prints with the canvas font); -1 once DrawTextDeviceFont made one.
    std::int16_t ScaledFontSelected = 0;
    std::int16_t DeviceFontSelected = 0;
};

// ---- Shared by the screen and the printed page.

// Colours of turned texts: 0..254 name a palette colour, 255 and above are RGB values. A negative
// value raises error 9.
Rgb TextColorFromPalette(const ColorFontTables& tables, Rgb color);

// The face a screen text asks the device for: the face itself, NUL-terminated as the device
// record holds it, unless it is empty or begins with a number above 0; then "华文细黑".
std::string ScreenTextFace(const std::string& face);

// Escapement and orientation (tenths of a degree) of the texts with leaning letters: a negative
// angle runs downwards with upright letters, 0 leans the letters 12 degrees, a positive angle
// runs along it with the letters 12 degrees further.
struct TextAngles {
    int escapement = 0;
    int orientation = 0;
};
TextAngles LeaningTextAngles(double angleDegrees);

// The font a device draws for a requested one. Outside the advanced graphics mode a device turns
// the letters with the line and ignores the orientation; only the leaning texts ask for that mode.
LogicalFont DeviceFontFor(const LogicalFont& requested, bool advancedGraphicsMode);

// Prints at (x, y) with the font selected on the surface: the current position becomes (x, y)
// (single precision, as the canvas takes it) and the text's top left stands there, turned about
// it. Raises error 6 for a point beyond the pixel range.
void PrintInSelectedFont(Surface& surface, double x, double y, const std::string& text);

// Creates the font, selects it, puts the text out at the pixel, selects the font it replaced
// back and deletes it: the surface keeps no created font. When escapement and orientation differ
// the letters are set one by one, each turned by the orientation, along the escapement, a narrow
// character advancing by the font's width and a wide one by twice that.
void TextOutInFont(Surface& surface, const LogicalFont& font, int pixelX, int pixelY,
                   const std::string& text);

// ---- The screen: the main window's canvas at DisplayZoom pixels per ground unit.

// Makes the next canvas text set its font size again, whatever its height: after a zoom, or
// when the canvas font was changed behind the print branches' backs. (No height compares equal
// to the forgotten size.)
void ForgetCanvasFontSize(App& app);

// Deselects and deletes the created font and resets the cache to "宋体", 0, 1, 8.
void ReleaseTextFont(App& app);

// Turned text (types 62, 66): `size` its height in ground units, `widthFactor` the letters'
// width to height (0 taken as 0.5), `angle` in degrees. Reuses the created font when face, angle,
// width factor and size are those it was made for. Nothing for a height below one pixel.
// `unused` is not read (callers pass the record's Y3). Ends silently on a failure.
void DrawTextAngled(App& app, double x, double y, const std::string& text, double size,
                    double widthFactor, double angle, std::int16_t unused,
                    const std::string& face, Rgb color);

// Italic text (type 64): as DrawTextAngled, always with a new thin italic font.
void DrawTextItalic(App& app, double x, double y, const std::string& text, double size,
                    double widthFactor, double angle, std::int16_t unused,
                    const std::string& face, Rgb color);

// Text put out at device pixels (type 63) with leaning letters, letters half as wide as high; the
// font is deleted again before it returns. A failure writes "........" into Text2.
void DrawTextGdi(App& app, double x, double y, const std::string& text, double size,
                 double widthFactor, double angle, std::int16_t unused, const std::string& face,
                 Rgb color);

// Text of the work buffer in a font measured in device units: height and width in pixels, angle
// in tenths of a degree; the face as given. Cached as DrawTextAngled. Ends silently on a failure.
void DrawTextDeviceFont(App& app, double x, double y, const std::string& text, double height,
                        double width, float angle, std::int16_t unused, const std::string& face,
                        Rgb color);

// The text of the record at (layer, slot) as separate characters along its direction, in the
// canvas's own font: in the record's colour when drawFlag is -1, else in the background colour
// (erasing). Ends silently on a failure.
void DrawTextSpaced(App& app, std::uint8_t layer, std::int16_t slot, std::int16_t drawFlag);

}  // namespace movra
