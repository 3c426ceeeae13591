#pragma once
// The lines of text in hand (an article annotation, attribute values) shown at the cursor before
// they are placed. Printing the same preview again in the background colour erases it.
#include "platform/Color.h"

namespace movra {

struct App;

// The pending lines as a placed paragraph will stand: from (x, y) downwards in "宋体" at the map's
// text size, each line indented by four blanks and wrapped at ParagraphWrapColumns (set to 32 when
// it is 1 or below), one paragraph line step (TextSize / 2.5 + ScaleFactor) per printed line.
// A failure reaches the caller.
void DrawTextPreview(App& app, float x, float y, Rgb color);

// The pending lines as they are, in 9-point type, four screen millimetres apart. A failure is
// written into Text2.
void DrawTextPreview2(App& app, float x, float y, Rgb color);

}  // namespace movra
