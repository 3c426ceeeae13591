#pragma once
#include <string>
#include <vector>

namespace movra {

// Measures of the screen the main window is on. A twip is 1/1440 inch.
class Screen {
public:
    virtual ~Screen() = default;
    virtual int WidthTwips() const = 0;
    virtual int HeightTwips() const = 0;
    virtual int TwipsPerPixelX() const = 0;
    virtual int TwipsPerPixelY() const = 0;
    // Installed font families, for the font lists.
    virtual std::vector<std::string> FontFamilies() const = 0;
};

}  // namespace movra
