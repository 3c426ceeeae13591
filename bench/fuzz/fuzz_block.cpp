// libFuzzer target: the block file reader on any bytes.
#include "FuzzApp.h"
#include "document/BlockFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::fuzz::FuzzApp f;
    std::string path = movra::fuzz::WriteInput(data, size, ".Qvk");
    movra::LoadBlockFile(f.app, path);
    return 0;
}
