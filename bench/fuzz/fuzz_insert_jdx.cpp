// libFuzzer target: a compact map file inserted over an open map. A file the insert does not merge
// leaves the open map as it was; it merges exactly the files the open command reads.
#include "FuzzInsert.h"
#include "document/JdxFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::fuzz::FuzzInsert(data, size, ".jdx", 1, [](movra::App& app, const std::string& path) {
        app.mapFile.ParallelReadMinimumRecords = 1 << 30;
        return movra::ReadJdxFile(app, path);
    });
    return 0;
}
