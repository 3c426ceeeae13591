#pragma once
// Reads a DXF file into the store in place of the drawing its caller has just cleared: the
// program's own dialect and other programs' files of release 13 and later (those whose entities
// carry subclass markers). It reads the layer table, the header's scale and extents, and lines,
// light and 2-D polylines, traces and solids, circles and arcs. Extended data of our own
// application brings our line-type and symbol codes back; that of the "SOUTH" application and
// foreign line-type names go through the proxy table.
//
// The file is read line by line (CR LF, LF or CR ends a line), in code page 936, or in UTF-8 when
// its "$ACADVER" is AC1021 or later. The reader compares lines with the words it knows rather than
// pairing every group code with its value.
#include <cstdint>
#include <string>
#include <string_view>

#include "document/ImportSeams.h"

namespace movra {

struct App;

// Reads the file at `path`. It shows no message of its own: the outcome says how far it got and
// why it stopped. Whatever happens, each layer that received records ends with its count at the
// open slot after its last record, the slots above it cleared.
DxfImportOutcome ImportDxf(App& app, const std::string& path);

// The number at the start of a DXF value line, blanks, tabs and line feeds taken out first: an
// optional sign, digits with "." and an optional exponent; 0 when the text starts with none. A
// number beyond the range of a double raises error 6.
double DxfNumber(std::string_view text);

}  // namespace movra
