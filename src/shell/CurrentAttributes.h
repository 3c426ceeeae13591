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
    // The width, dash and gap of the dashed width line "1092".
    float DashWidth = 0;
    float DashOn = 0;
    float DashOff = 0;

    std::int16_t ModifiedFlag = 0;  // -1 while the map has unsaved changes
    std::string CurrentFilePath;
    std::string DialogFilePath;
    std::string LastPicturePath;    // the document name of a new map
};

}  // namespace movra
