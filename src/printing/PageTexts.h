#pragma once
// Texts of the printed page that need a font of their own (types 62 to 64, 66 and 68): the font
// record is worked out here in the printer's logical units, one unit of height being 4.2 twips
// of paper, and the page draws it through its own font mapping. Each call creates its font and
// deletes it again before it returns.
#include <cstdint>
#include <string>

#include "platform/Color.h"
#include "platform/Surface.h"

namespace movra {

struct App;

// Twips of paper per logical unit of a printed text's font.
inline constexpr double TwipsPerTextUnit = 4.2;

enum class PrintedTextStyle {
    Angled,  // printed at the current position; weight 400
    Out,     // put out at the device point; weight 200
    Italic,  // as Out, italic
    Gdi,     // as Out, letters half as wide as high, leaning 12 degrees against the line
};

// The font of a text of height h (map scale), width factor w (0: 0.68) and angle a (degrees):
// height Int(3 h MapToPrintRatio + 0.5); width Int(height w + 0.5), or half the height for Gdi;
// escapement and orientation Int(10 a), or LeaningTextAngles for Gdi. False, with no font, when
// the height comes out below 1.
bool PrintedTextFont(PrintedTextStyle style, double h, double w, double a, const std::string& face,
                     double mapToPrintRatio, LogicalFont& font);

// The text with its first character's top left at the ground point (x, y), in `color` (below 255
// an index of the palette). `spare` is not read. The Gdi text writes "........" into the main
// window's message line on a failure; the others end silently.
void PrintTextAngled(App& app, double x, double y, const std::string& text, double h, double w, double a,
                     std::int16_t spare, const std::string& face, Rgb color);
void PrintTextOut(App& app, double x, double y, const std::string& text, double h, double w, double a,
                  std::int16_t spare, const std::string& face, Rgb color);
void PrintTextItalic(App& app, double x, double y, const std::string& text, double h, double w, double a,
                     std::int16_t spare, const std::string& face, Rgb color);
void PrintTextGdi(App& app, double x, double y, const std::string& text, double h, double w, double a,
                  std::int16_t spare, const std::string& face, Rgb color);

}  // namespace movra
