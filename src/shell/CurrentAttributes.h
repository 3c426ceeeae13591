#pragma once
#include <cstdint>
#include <string>

#include "platform/Color.h"

namespace movra {

// What new records take, and the state of the open map's file.
struct CurrentAttributes {
    Rgb CurrentColor = 0;
    std::int16_t CurrentPen = 0;  // pen code; the store writers take its low byte
    std::string CurrentFont = "宋体";
    double TextSize = 10;
    std::string PendingText;      // the text the next canvas click places
    std::string FieldSeparator = ",";
    // The dashed line with width: its width, dash and gap in paper millimetres.
    float DashWidth = 0;
    float DashOn = 0;
    float DashOff = 0;
    // The numbers typed into the entry box: a distance and two heights.
    double TypedDistance = 0;
    double TypedZ1 = 0;
    double TypedZ2 = 0;
    // -1: point symbols are placed in any direction; 0: north-up.
    std::int16_t SymbolAnyDirection = 0;
    // The coordinate text of the last point placed from the command line.
    std::string LastJumpText;
    // The last canvas colour other than white and black, for the canvas colour switch.
    Rgb SavedCanvasColor = 0;

    std::int16_t ModifiedFlag = 0;  // -1 while the map has unsaved changes
    std::string CurrentFilePath;
    std::string DialogFilePath;
    std::string LastPicturePath;    // the document name of a new map
};

}  // namespace movra
