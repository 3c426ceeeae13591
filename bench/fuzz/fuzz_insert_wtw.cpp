// libFuzzer target: a full map file inserted over an open map. A file the insert does not merge
// leaves the open map as it was; it merges exactly the files the open command reads.
#include "FuzzInsert.h"
#include "document/WtwFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::fuzz::FuzzInsert(data, size, ".wtw", 2,
                            [](movra::App& app, const std::string& path) { return movra::ReadWtwFile(app, path); });
    return 0;
}
