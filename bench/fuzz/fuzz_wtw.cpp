// libFuzzer target: the full map file reader on any bytes.
#include "FuzzApp.h"
#include "document/WtwFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::fuzz::FuzzApp f;
    movra::ReadWtwFile(f.app, movra::fuzz::WriteInput(data, size, ".wtw"));
    return 0;
}
