#pragma once
#include <string>
#include <vector>

#include "platform/Screen.h"

namespace movra {

// A screen of fixed size (1920 x 1080 pixels at 15 twips per pixel unless the test says otherwise).
class FakeScreen : public Screen {
public:
    int WidthTwips() const override { return widthPixels * twipsPerPixel; }
    int HeightTwips() const override { return heightPixels * twipsPerPixel; }
    int TwipsPerPixelX() const override { return twipsPerPixel; }
    int TwipsPerPixelY() const override { return twipsPerPixel; }
    std::vector<std::string> FontFamilies() const override { return families; }

    int widthPixels = 1920;
    int heightPixels = 1080;
    int twipsPerPixel = 15;
    std::vector<std::string> families{"宋体", "黑体", "楷体_GB2312", "仿宋_GB2312", "华文细黑", "Arial",
                                      "Times New Roman"};
};

}  // namespace movra
