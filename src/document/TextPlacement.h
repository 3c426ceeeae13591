#pragma once
// Map text mixes wide Chinese characters with narrow Latin letters, digits and blanks. These
// measure text in half-width columns and lay out the pending lines as a wrapped paragraph.

#include <cstdint>
#include <string>

namespace movra {

struct App;

// A character is narrow when it is the blank or of code 33..127; every other character (Chinese
// characters, other double-byte characters, control characters such as a carriage return) is wide.
//
// Width of a text in half-width columns: narrow characters count one, wide ones two. A text wider
// than a 16-bit number holds gives 3, the width of a short word, as every failure does.
std::int16_t DisplayWidth(const std::string& text);

// Cuts the first line of ParagraphWrapColumns full-width characters (a narrow character counting a
// half, an odd one a whole) off `text`: returns the piece and leaves the rest in `text`. A text of
// at most that many characters is returned whole and left unchanged; a text that never reaches
// the width is returned whole and `text` becomes empty.
std::string SplitFirstLine(App& app, std::string& text);

// Stores the PendingTextLines as a paragraph of text records (type 65) on CurrentLayer, the
// first line beginning at (x, y): each line indented by four blanks and wrapped at
// ParagraphWrapColumns (32 when it is 1 or below), every piece one line step below the last.
// Grows the layer before a record when it runs short of slots. Afterwards PendingTextLines holds
// one empty line; when a record cannot be stored it stops, keeping the records stored so far and
// leaving PendingTextLines as it was.
void PlaceParagraph(App& app, float x, float y);

}  // namespace movra
