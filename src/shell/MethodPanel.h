#pragma once
// The method panel "方法" of the main window: sixty picture buttons that arm the editing tools or
// act at once, and the symbol pages, pen, size and font combos beside it.
#include <string>

#include "platform/Picture.h"

namespace movra {

struct App;

// The buttons of the method panel (`MethodPanelCommand` 0..59).
constexpr int MethodPanelButtonCount = 60;

// The picture of method-panel button `index`, drawn by the program itself.
Picture MethodPanelIcon(int index, int size = 24);

// The two pictures of the symbol demonstration, under the program folder.
inline constexpr const char* DemoPictureFirst = "\\mytemp\\bkbmp\\sunsystem.bmp";
inline constexpr const char* DemoPictureSecond = "\\mytemp\\bkbmp\\sunsystemB.bmp";

// The sizes the text-size combo lists.
inline constexpr int TextSizeChoices[] = {
    1,   2,   3,   4,   5,   6,   7,   8,   9,   10,  11,  12,  13,  14,  15,   16,   18,   20,   22,   24,
    26,  28,  30,  32,  36,  40,  44,  48,  52,  56,  60,  68,  72,  80,  88,   96,   100,  110,  120,  140,
    160, 180, 200, 240, 280, 320, 380, 420, 460, 520, 600, 800, 900, 1000, 1200, 1500, 1800, 2000,
};

// The caption of symbol button `index`: the name of its line type or pattern for 351..599, empty
// for the others.
std::string SymbolButtonCaption(int index);

}  // namespace movra
