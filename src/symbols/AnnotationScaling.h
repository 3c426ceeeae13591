#pragma once
#include <cstdint>

namespace movra {

struct App;

// The annotation records whose RecordX2 is the text height: types 25, 61 and 64 to 68.
bool IsScaledAnnotationType(int type);

// Multiplies the text height of the record at (layer, slot) by the factor (the single widened to a
// double) when it is an annotation record; any other record, or one that cannot be reached, is
// left alone. Marks the map modified and returns true when the record was scaled.
bool ScaleAnnotationRecord(App& app, std::uint8_t layer, std::int16_t slot, float factor);

}  // namespace movra
