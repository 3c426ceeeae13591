#pragma once
// What the text-placing tools share: the look of the text in hand under the cursor, the record
// type a placed text takes, and printing a text at a map point.
#include <cstdint>
#include <string>

#include "platform/Color.h"

namespace movra {

struct App;
struct MapRecord;

// The record type of a placed annotation text: 64 when Text7 says "右斜", 63 when it says "左斜",
// else 65 for a size below 255 and 67 for a larger one.
std::uint8_t AnnotationTextType(App& app);

// The rubber preview of PendingText (the material text, the elevation and the parcel number):
// printed in the canvas font for an angle from 0 to 1, else turned by TextAngle; the text shown
// last is printed again in the background colour to erase it. The cursor becomes RubberPoint.
void PreviewPendingText(App& app, double x, double y);
// Takes a text preview off the canvas, when one is shown (the pending text's, or the lines'):
// the map is drawn again, since printing it away would take the map under it along.
void ErasePendingTextPreview(App& app);

// The rubber previews of the text in hand as lines: the paragraph of the article annotation
// (also the single attribute fields) and the attribute values of the class tools. The lines shown
// last are printed again in the background colour to erase them; the cursor becomes RubberPoint.
void PreviewParagraph(App& app, double x, double y);
void PreviewAttributeLines(App& app, double x, double y);

// The rubber preview of a printed text (the area in hand): as PreviewPendingText, upright.
void PreviewPrintedText(App& app, double x, double y, const std::string& text);

// Prints `text` at (x, y) in the canvas font and `color`.
void PrintTextAt(App& app, double x, double y, const std::string& text, Rgb color);


// Draws the record at (layer, slot) as the redraw would.
void DrawStoredRecord(App& app, int layer, std::int32_t slot);

}  // namespace movra
