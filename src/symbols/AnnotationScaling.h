#pragma once
#include <cstdint>

namespace movra {

struct App;

// The annotation records whose RecordX2 is the text height: types 25, 61 and 64 to 68.
bool IsScaledAnnotationType(int type);

// Multiplies the text height of the record at (layer, slot) by the factor (the single widened to a
// double) when it is an annotation record; any other record is left alone.
void ScaleAnnotationRecord(App& app, std::uint8_t layer, std::int16_t slot, float factor);

// Scales every annotation record of the layers that are on or locked and hold a record. A record
// that fails is passed over. Marks the map modified when a record changed.
void ScaleAnnotations(App& app, float factor);

}  // namespace movra
