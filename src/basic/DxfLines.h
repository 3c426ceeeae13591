#pragma once
// The lines of a DXF file as both DXF readers (the open's import and the insert's merge) take
// them: CR LF, LF or CR ends a line; the texts are in code page 936, or in UTF-8 when the file's
// "$ACADVER" is AC1021 or later. A file ends at its line "EOF": reading past its last line raises
// 62, so a file cut short is never taken for a whole one, and the number of the last line read
// says where reading stopped.
#include <cstdint>
#include <string>

#include "basic/Files.h"

namespace movra {

class DxfLineReader {
public:
    explicit DxfLineReader(std::string bytes);
    // Reads the whole file (raises as ReadWholeFile does).
    static DxfLineReader FromFile(const std::string& path);

    // The next line as it is, in UTF-8; raises 62 past the last line.
    std::string Raw();
    // The next line with blanks removed at both ends; raises 62 past the last line.
    std::string Line();
    // The number of the last line read (1 for the first line of the file, 0 before it).
    std::int64_t LineNumber() const { return lineNumber_; }

private:
    TextLineReader lines_;
    bool utf8_ = false;
    std::int64_t lineNumber_ = 0;
};

// A group code line read as the number it must be, 0 to 9999 (1 to 4 digits, blanks around them);
// -1 for any other line, so that no line turns into a code beyond the range of the codes.
int DxfGroupCode(const std::string& line);

}  // namespace movra
