#pragma once
#include <cstdint>
#include <string>

namespace movra {

// The self-made symbol library and its copy in layer 0 from slot 1000.
struct SelfMadeLibrary {
    std::int16_t SelfMadeSymbolsLoaded = 0;  // -1 while the library is in layer 0
    // Program folder & "\符号库\" & name & ".Zfh"; set at start-up and by the library chooser.
    std::string SelfMadeSymbolFile;
    // The first slot of layer 0 after the loaded library.
    std::int32_t Layer0SavedCount = 0;
    // The highest slot the last load filled, so a smaller library loaded over it clears the rest.
    std::int32_t LoadedUpTo = 0;

    // The symbol-making mode: the layer that was current when it was entered, and the centre of
    // its 10 mm box, fixed at entry so that panning between two strokes cannot shift the copy.
    std::uint8_t SymbolMakingSavedLayer = 0;
    double SymbolBoxCentreX = 0;
    double SymbolBoxCentreY = 0;
};

}  // namespace movra
