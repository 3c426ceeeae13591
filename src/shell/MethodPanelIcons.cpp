#include <array>
#include <functional>

#include "shell/IconCanvas.h"
#include "shell/MethodPanel.h"

namespace movra {

namespace {

constexpr std::uint32_t Black = 0x202020, White = 0xFFFFFF, Grey = 0xA0A0A0, Red = 0xD02020, Green = 0x20A040,
                        Blue = 0x2060D0, Yellow = 0xF0C030, Brown = 0x9A6A30, Sky = 0x8CC8F0, Dark = 0x505050,
                        Orange = 0xE07818, Purple = 0x8040B0, Cyan = 0x18A0B0;

using Drawing = std::function<void(IconCanvas&)>;

void Dot(IconCanvas& c, double x, double y, std::uint32_t rgb = Red) { c.Disc(x, y, 1.4, rgb); }

// The layers of the layer buttons: three sheets, each in its colour.
void Sheets(IconCanvas& c, std::uint32_t top, std::uint32_t middle, std::uint32_t bottom) {
    const std::uint32_t colours[3] = {top, middle, bottom};
    for (int k = 0; k < 3; ++k) {
        const double y = 4 + k * 5;
        c.Line(2, y + 3, 7, y, colours[k], 2);
        c.Line(7, y, 18, y, colours[k], 2);
        c.Line(2, y + 3, 13, y + 3, colours[k], 2);
        c.Line(13, y + 3, 18, y, colours[k], 2);
    }
}

// An attribute table: a header in the class's colour over rows, and the class number.
void Table(IconCanvas& c, std::uint32_t header, int number) {
    c.Box(2, 3, 15, 17, White, Dark);
    c.Fill(3, 4, 14, 7, header);
    for (double y : {10.0, 13.0}) c.Line(3, y, 14, y, Grey);
    c.Line(7, 7, 7, 16, Grey);
    c.Digit(15.5, 11, number, header);
}

void Polygon(IconCanvas& c, std::uint32_t rgb, int width = 1) {
    c.Line(3, 15, 5, 4, rgb, width);
    c.Line(5, 4, 15, 3, rgb, width);
    c.Line(15, 3, 17, 14, rgb, width);
    c.Line(17, 14, 3, 15, rgb, width);
}

// One picture per button of the method panel, told apart by what its tool makes.
const std::array<Drawing, MethodPanelButtonCount>& Drawings() {
    static const std::array<Drawing, MethodPanelButtonCount> drawings = {{
        // 0 more exact coordinates, everything back in view
        [](IconCanvas& c) { c.Ring(10, 10, 6, Blue); c.Line(10, 1, 10, 19, Dark); c.Line(1, 10, 19, 10, Dark);
                            c.Disc(10, 10, 2, Red); },
        // 1 move the selection
        [](IconCanvas& c) { c.Box(7, 7, 13, 13, Sky, Blue); c.Arrow(10, 7, 10, 1, Black); c.Arrow(10, 13, 10, 19, Black);
                            c.Arrow(7, 10, 1, 10, Black); c.Arrow(13, 10, 19, 10, Black); },
        // 2 rotate the selection
        [](IconCanvas& c) { c.Arc(10, 10, 7, 7, 0.3, 5.2, Blue, 2); c.Arrow(14, 16, 17, 12, Blue);
                            c.Box(8, 8, 12, 12, Sky, Blue); },
        // 3 self-made symbol drawing
        [](IconCanvas& c) { c.Frame(2, 2, 17, 17, Grey); c.Line(10, 3, 13, 15, Purple, 2); c.Line(13, 15, 4, 7, Purple, 2);
                            c.Line(4, 7, 16, 7, Purple, 2); c.Line(16, 7, 7, 15, Purple, 2); c.Line(7, 15, 10, 3, Purple, 2); },
        // 4 the selection saved as a block
        [](IconCanvas& c) { c.Dashed(2, 2, 11, 2, Dark); c.Dashed(11, 2, 11, 10, Dark); c.Dashed(2, 10, 11, 10, Dark);
                            c.Dashed(2, 2, 2, 10, Dark); c.Box(10, 10, 19, 19, Blue, Black); c.Box(12, 11, 17, 14, White, Dark);
                            c.Arrow(5, 6, 13, 16, Green); },
        // 5 a block inserted
        [](IconCanvas& c) { c.Box(1, 1, 10, 10, Yellow, Brown); c.Dashed(8, 8, 19, 8, Dark); c.Dashed(19, 8, 19, 19, Dark);
                            c.Dashed(8, 19, 19, 19, Dark); c.Dashed(8, 8, 8, 19, Dark); c.Arrow(5, 5, 14, 14, Green); },
        // 6 a window of the map saved as a copy
        [](IconCanvas& c) { c.Dashed(2, 4, 18, 4, Red); c.Dashed(18, 4, 18, 16, Red); c.Dashed(2, 16, 18, 16, Red);
                            c.Dashed(2, 4, 2, 16, Red); c.Line(4, 14, 9, 7, Black); c.Line(9, 7, 16, 12, Black);
                            c.Ring(16, 17, 2, Dark); c.Ring(12, 17, 2, Dark); },
        // 7 flipped upside down
        [](IconCanvas& c) { c.Dashed(1, 10, 19, 10, Red); c.Line(5, 8, 10, 2, Blue, 2); c.Line(10, 2, 15, 8, Blue, 2);
                            c.Line(5, 8, 15, 8, Blue, 2); c.Line(5, 12, 10, 18, Grey, 2); c.Line(10, 18, 15, 12, Grey, 2);
                            c.Line(5, 12, 15, 12, Grey, 2); },
        // 8 flipped left to right
        [](IconCanvas& c) { c.Dashed(10, 1, 10, 19, Red); c.Line(8, 5, 2, 10, Blue, 2); c.Line(2, 10, 8, 15, Blue, 2);
                            c.Line(8, 5, 8, 15, Blue, 2); c.Line(12, 5, 18, 10, Grey, 2); c.Line(18, 10, 12, 15, Grey, 2);
                            c.Line(12, 5, 12, 15, Grey, 2); },
        // 9 the symbol demonstration: a sun and its planets
        [](IconCanvas& c) { c.Fill(0, 0, 20, 20, 0x101838); c.Ellipse(10, 10, 8, 4, Grey); c.Disc(10, 10, 3, Yellow);
                            c.Disc(17, 11, 1.3, Sky); c.Disc(4, 8, 1, Red); },
        // 10 every layer on
        [](IconCanvas& c) { Sheets(c, Blue, Blue, Blue); },
        // 11 only the current layer
        [](IconCanvas& c) { Sheets(c, Grey, Red, Grey); },
        // 12 the crossing of two lines
        [](IconCanvas& c) { c.Line(2, 16, 18, 4, Black); c.Line(2, 5, 18, 15, Black); c.Ring(10, 10, 2.5, Red, 2); },
        // 13 the distance of two points
        [](IconCanvas& c) { Dot(c, 3, 14); Dot(c, 17, 14); c.Arrow(10, 8, 3, 8, Blue); c.Arrow(10, 8, 17, 8, Blue);
                            c.Line(3, 5, 3, 12, Grey); c.Line(17, 5, 17, 12, Grey); },
        // 14 separate segments
        [](IconCanvas& c) { c.Line(2, 16, 8, 6, Black, 2); c.Line(10, 14, 17, 4, Black, 2); Dot(c, 2, 16, Blue);
                            Dot(c, 8, 6, Blue); Dot(c, 10, 14, Blue); Dot(c, 17, 4, Blue); },
        // 15 a vertex added into a line
        [](IconCanvas& c) { c.Line(2, 16, 10, 4, Black); c.Line(10, 4, 18, 16, Black); Dot(c, 2, 16, Blue);
                            Dot(c, 18, 16, Blue); Dot(c, 10, 4, Blue); c.Disc(14, 10, 2, Red); },
        // 16 the angle between two lines
        [](IconCanvas& c) { c.Line(3, 17, 18, 17, Black, 2); c.Line(3, 17, 14, 3, Black, 2);
                            c.Arc(3, 17, 9, 9, 0, 0.9, Red, 1); },
        // 17 a line
        [](IconCanvas& c) { c.Line(2, 16, 7, 5, Blue, 2); c.Line(7, 5, 13, 13, Blue, 2); c.Line(13, 13, 18, 3, Blue, 2); },
        // 18 any vertex moved
        [](IconCanvas& c) { c.Dashed(3, 16, 9, 11, Grey); c.Dashed(9, 11, 17, 16, Grey); c.Line(3, 16, 10, 3, Blue, 2);
                            c.Line(10, 3, 17, 16, Blue, 2); Dot(c, 10, 3); c.Arrow(9, 11, 10, 5, Red); },
        // 19 a line of a typed length
        [](IconCanvas& c) { c.Line(2, 13, 18, 13, Blue, 2); c.Line(2, 10, 2, 16, Dark); c.Line(18, 10, 18, 16, Dark);
                            c.Digit(6, 2, 1, Red); c.Digit(11, 2, 0, Red); },
        // 20 a run of perpendiculars
        [](IconCanvas& c) { c.Line(2, 15, 18, 15, Black, 2); c.Line(5, 15, 5, 4, Blue); c.Line(10, 15, 10, 6, Blue);
                            c.Line(15, 15, 15, 3, Blue); c.Frame(5, 12, 7, 14, Red); },
        // 21 the stubs beyond a crossing trimmed
        [](IconCanvas& c) { c.Line(2, 6, 18, 6, Black, 2); c.Line(6, 2, 6, 18, Black, 2); c.Line(6, 2, 6, 5, Red, 2);
                            c.Line(2, 6, 5, 6, Red, 2); c.Line(15, 12, 19, 16, Red); c.Line(19, 12, 15, 16, Red); },
        // 22 the foot of a perpendicular
        [](IconCanvas& c) { c.Line(2, 16, 18, 16, Black, 2); Dot(c, 10, 3, Blue); c.Dashed(10, 3, 10, 16, Blue);
                            c.Frame(10, 13, 12, 15, Red); Dot(c, 10, 16); },
        // 23 a segment offset
        [](IconCanvas& c) { c.Line(2, 15, 15, 4, Black, 2); c.Dashed(6, 18, 19, 7, Blue); c.Arrow(8, 10, 11, 13, Red); },
        // 24 parallels at a typed distance
        [](IconCanvas& c) { c.Line(2, 6, 18, 6, Black, 2); c.Line(2, 14, 18, 14, Blue, 2); c.Arrow(10, 7, 10, 13, Red); },
        // 25 a rectangle
        [](IconCanvas& c) { c.Frame(3, 5, 17, 15, Blue); c.Frame(4, 6, 16, 14, Blue); },
        // 26 a segment offset, second kind
        [](IconCanvas& c) { c.Line(2, 5, 18, 5, Black, 2); c.Dashed(2, 15, 18, 15, Blue); c.Line(2, 5, 2, 15, Grey);
                            c.Line(18, 5, 18, 15, Grey); c.Arrow(10, 6, 10, 14, Red); },
        // 27 a closed ring offset
        [](IconCanvas& c) { c.Frame(2, 2, 17, 17, Black); c.Frame(6, 6, 13, 13, Blue); c.Arrow(3, 3, 6, 6, Red); },
        // 28 a circle through three points
        [](IconCanvas& c) { c.Ring(10, 10, 7, Blue); Dot(c, 3, 10); Dot(c, 15, 5); Dot(c, 14, 15.5); },
        // 29 an arc through three points
        [](IconCanvas& c) { c.Arc(10, 14, 8, 8, 0, M_PI, Blue, 2); Dot(c, 2, 14); Dot(c, 10, 6); Dot(c, 18, 14); },
        // 30 what lies inside a cutting line kept
        [](IconCanvas& c) { c.Frame(2, 2, 17, 17, Grey); c.Line(5, 5, 15, 15, Blue, 2); c.Line(5, 15, 15, 5, Blue, 2);
                            c.Dashed(1, 1, 19, 1, Red); c.Dashed(1, 19, 19, 19, Red); c.Dashed(1, 1, 1, 19, Red);
                            c.Dashed(19, 1, 19, 19, Red); },
        // 31 an ellipse
        [](IconCanvas& c) { c.Ellipse(10, 10, 8, 5, Blue, 2); c.Line(2, 10, 18, 10, Grey); },
        // 32 a smooth curve
        [](IconCanvas& c) { c.Arc(6, 10, 4, 5, 0, M_PI, Blue, 2); c.Arc(14, 10, 4, 5, M_PI, 2 * M_PI, Blue, 2); },
        // 33 a pipe rectangle filled
        [](IconCanvas& c) { c.Frame(2, 5, 17, 15, Black);
                            for (int k = 0; k < 5; ++k) c.Line(3 + k * 3, 14, 6 + k * 3, 6, Cyan); },
        // 34 a circle about its centre
        [](IconCanvas& c) { c.Ring(10, 10, 7, Blue, 2); c.Disc(10, 10, 1.5, Red); c.Line(10, 10, 17, 10, Red); },
        // 35 freehand pencil
        [](IconCanvas& c) { c.Arc(5, 14, 3, 3, 0, M_PI, Blue, 2); c.Arc(11, 14, 3, 3, M_PI, 2 * M_PI, Blue, 2);
                            c.Line(12, 9, 18, 2, Yellow, 3); c.Line(12, 9, 11, 11, Black, 2); },
        // 36 ink poured into a region
        [](IconCanvas& c) { c.Line(3, 4, 10, 11, Dark, 2); c.Line(10, 11, 15, 6, Dark, 2); c.Line(3, 4, 8, -1, Dark, 2);
                            c.Line(15, 6, 8, -1, Dark, 2); c.Disc(16, 15, 3, Blue); c.Line(15, 7, 16, 12, Blue, 2); },
        // 37 a circle of 1.0 mm
        [](IconCanvas& c) { c.Ring(5, 13, 3.5, Red, 2); c.Digit(10, 3, 1, Black); c.Disc(14.2, 8, 0.6, Black); c.Digit(15, 3, 0, Black); },
        // 38 the paddy field mark
        [](IconCanvas& c) { for (double x : {5.0, 14.0}) { c.Line(x - 3, 12, x + 3, 12, Blue, 2); c.Line(x, 12, x, 6, Blue, 2); }
                            c.Line(7, 17, 13, 17, Blue, 2); c.Line(10, 17, 10, 13, Blue, 2); },
        // 39 a circle of 1.6 mm
        [](IconCanvas& c) { c.Ring(6, 13, 5, Red, 2); c.Digit(10, 1, 1, Black); c.Disc(14.2, 6, 0.6, Black); c.Digit(15, 1, 6, Black); },
        // 40 a circle of 0.5 mm
        [](IconCanvas& c) { c.Ring(4, 14, 2, Red, 2); c.Digit(10, 4, 0, Black); c.Disc(14.2, 9, 0.6, Black); c.Digit(15, 4, 5, Black); },
        // 41 the dry field mark
        [](IconCanvas& c) { for (double x : {5.0, 14.0}) { c.Line(x - 3, 8, x + 3, 8, Brown, 2); c.Line(x - 2, 8, x - 2, 4, Brown);
                                                           c.Line(x + 2, 8, x + 2, 4, Brown); }
                            c.Line(7, 17, 13, 17, Brown, 2); c.Line(8, 17, 8, 13, Brown); c.Line(12, 17, 12, 13, Brown); },
        // 42 a symbol of the standard (a tree)
        [](IconCanvas& c) { c.Ring(10, 7, 5, Green, 2); c.Line(10, 12, 10, 18, Brown, 2); c.Line(6, 18, 14, 18, Brown, 2); },
        // 43 a self-made symbol
        [](IconCanvas& c) { c.Line(7, 2, 5, 18, Purple, 2); c.Line(14, 2, 12, 18, Purple, 2); c.Line(2, 7, 18, 7, Purple, 2);
                            c.Line(2, 13, 18, 13, Purple, 2); },
        // 44 an elevation point
        [](IconCanvas& c) { c.Disc(5, 14, 1.8, Black); c.Digit(9, 8, 2, Red); c.Disc(13.2, 13, 0.5, Red); c.Digit(14, 8, 5, Red); },
        // 45 an area filled with a pattern
        [](IconCanvas& c) { c.Frame(2, 2, 17, 17, Black); for (int k = 0; k < 6; ++k) c.Line(3, 5 + k * 3, 5 + k * 3, 3, Green); },
        // 46 a block of four points
        [](IconCanvas& c) { c.Fill(4, 5, 16, 15, Orange); c.Frame(4, 5, 16, 15, Black); Dot(c, 4, 5, Blue); Dot(c, 16, 5, Blue);
                            Dot(c, 4, 15, Blue); Dot(c, 16, 15, Blue); },
        // 47 a material note
        [](IconCanvas& c) { c.Box(2, 2, 18, 18, 0xC86040, Dark); for (double y : {6.0, 10.0, 14.0}) c.Line(3, y, 17, y, White);
                            c.Line(9, 2, 9, 6, White); c.Line(6, 6, 6, 10, White); c.Line(12, 6, 12, 10, White);
                            c.Line(9, 10, 9, 14, White); },
        // 48 attributes of class 1
        [](IconCanvas& c) { Table(c, Blue, 1); },
        // 49 an area computed
        [](IconCanvas& c) { Polygon(c, Black); c.Digit(6, 6, 5, Blue); c.Digit(10.5, 6, 2, Blue); },
        // 50 parcel boundary points
        [](IconCanvas& c) { Polygon(c, Grey); for (auto [x, y] : {std::pair{3.0, 15.0}, {5.0, 4.0}, {15.0, 3.0}, {17.0, 14.0}})
                                c.Ring(x, y, 2, Red, 2); },
        // 51 attributes of class 2
        [](IconCanvas& c) { Table(c, Green, 2); },
        // 52 the height of a building
        [](IconCanvas& c) { c.Frame(3, 9, 12, 17, Black); c.Line(3, 9, 7.5, 4, Black); c.Line(7.5, 4, 12, 9, Black);
                            c.Line(16, 17, 16, 3, Red); c.Arrow(16, 10, 16, 3, Red); c.Line(14, 17, 18, 17, Red); },
        // 53 a parcel boundary edge
        [](IconCanvas& c) { Polygon(c, Grey); c.Line(5, 4, 15, 3, Red, 3); c.Ring(5, 4, 2, Red); c.Ring(15, 3, 2, Red); },
        // 54 attributes of class 3
        [](IconCanvas& c) { Table(c, Orange, 3); },
        // 55 a name or a house number
        [](IconCanvas& c) { c.Disc(10, 6, 3.5, Brown); c.Arc(10, 18, 7, 6, 0, M_PI, Brown, 2); },
        // 56 a parcel number
        [](IconCanvas& c) { Polygon(c, Black); c.Digit(6, 6, 1, Red); c.Digit(10.5, 6, 7, Red); },
        // 57 attributes of class 4
        [](IconCanvas& c) { Table(c, Purple, 4); },
        // 58 a telephone number
        [](IconCanvas& c) { c.Arc(10, 10, 7, 7, 0.6, M_PI - 0.6, Black, 3); c.Box(2, 9, 7, 13, Dark, Black);
                            c.Box(13, 9, 18, 13, Dark, Black); c.Box(6, 14, 14, 18, Grey, Black); },
        // 59 the attribute tables viewed
        [](IconCanvas& c) { c.Box(1, 1, 13, 13, White, Dark); c.Fill(2, 2, 12, 5, Cyan); c.Line(2, 8, 12, 8, Grey);
                            c.Ring(13, 13, 4, Black, 2); c.Line(16, 16, 19, 19, Brown, 2); },
    }};
    return drawings;
}

}  // namespace

Picture MethodPanelIcon(int index, int size) {
    IconCanvas canvas(size);
    if (index >= 0 && index < MethodPanelButtonCount)
        Drawings()[static_cast<size_t>(index)](canvas);
    else
        canvas.Box(3, 3, 17, 17, White, Dark);
    return canvas.Take();
}

}  // namespace movra
