// libFuzzer target: a DXF file inserted over an open map, with the redraw that ends a merge. A file
// the insert does not merge (cut short, a number no double holds, nothing it keeps) leaves the open
// map as it was, and no group code line, whatever it holds, may stop the sanitizers.
#include "FuzzInsert.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::fuzz::FuzzInsert(data, size, ".dxf", 3);
    return 0;
}
