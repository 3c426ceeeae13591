// libFuzzer target: the compact map file reader on any bytes.
#include "FuzzApp.h"
#include "document/JdxFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::fuzz::FuzzApp f;
    movra::ReadJdxFile(f.app, movra::fuzz::WriteInput(data, size, ".jdx"));
    return 0;
}
