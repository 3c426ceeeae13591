#pragma once
// The point-group text import of the menus "控制点群" and "碎部点群": a text file of one point per
// line (fields separated by blanks, ",", ":", ";", "；" or "，") read into the current layer as named
// points, or, under the line format "999", its lines kept as an article for the paragraph tool.
#include <string>
#include <vector>

namespace movra {

struct App;

// The line format under which a point-group file is an article for the paragraph tool.
inline constexpr const char* ArticleLineFormat = "999";
// A line format that names no column for one of the coordinates.
inline constexpr const char* PointFormatWithoutCoordinatesMessage = "行格式中没有纵坐标（3）和横坐标（4），未读入任何点。";

// Asks for the file ("打开文本*.txt") and reads it until a line "EOF" or "END" (any letter case)
// or its end into PendingTextLines, trimmed. Under "999" arms the paragraph tool; otherwise every
// line with the fields the format reads and numbers for coordinates becomes a record of `typeCode`
// in the current layer; afterwards a message says how many points were stored and how many lines
// were skipped, and why the first was. Cancel ends the import quietly; a file that cannot be read
// is named in a message. Closes the link dialog when it is still loaded.
void ImportPointGroupText(App& app, const std::string& typeCode);

// The fields of one line of a point-group file: ":", "，", "；" and ";" count as blanks, and every
// blank ends a field (two blanks in a row enclose an empty one). A comma with blanks beside it ends
// a field together with those blanks; a bare comma ends one only in a line whose blanks all stand
// beside commas (a comma-separated list), and in a blank-separated line stays inside its field.
std::vector<std::string> PointGroupFields(const std::string& line);

}  // namespace movra
