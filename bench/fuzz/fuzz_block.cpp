// libFuzzer target: the block file reader on any bytes. A block never fills the copy buffer with
// more entries than it holds, and a file that is no block leaves the buffer as it was.
#include <cstdlib>

#include "FuzzApp.h"
#include "document/BlockFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::fuzz::FuzzApp f;
    f.app.copyBuffer.Entries.assign(3, movra::CopyBufferEntry{});
    f.app.copyBuffer.Entries[0].Layer = 2;
    f.app.copyBuffer.Entries[1].Text = "原";
    std::string path = movra::fuzz::WriteInput(data, size, ".Qvk");
    movra::LoadBlockFile(f.app, path);
    const auto& entries = f.app.copyBuffer.Entries;
    if (entries.empty()) std::abort();
    const int count = entries[0].Layer;
    if (count < 0 || static_cast<std::size_t>(count) >= entries.size()) std::abort();
    return 0;
}
