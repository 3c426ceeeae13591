#pragma once
#include <cstdint>
#include <string>

namespace movra {

// What the sheet frame and the sheet files keep between uses.
struct SheetState {
    // Index of the last frame template item written into layer 0 (66 once a template is built,
    // 0 before). Layer 0 is emptied when the store is dimensioned anew; FrameTemplateBuilt tells
    // whether the template is still there.
    std::int16_t FrameItemCount = 0;
    // The folder that receives the sheet files and the sheet index.
    std::string SheetOutputFolder;
};

}  // namespace movra
