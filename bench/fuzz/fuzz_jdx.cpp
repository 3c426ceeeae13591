// libFuzzer target: the compact map file reader on any bytes, over an open map. A file the
// reader refuses (wrong magic, cut inside a record, counts past its end) must leave the open map as
// it was, field for field, with its path, caption and flag.
#include "FuzzApp.h"
#include "document/JdxFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    movra::fuzz::FuzzApp f;
    movra::fuzz::MakeOpenMap(f.app, f.form1);
    const movra::fuzz::OpenMapPrint before = movra::fuzz::PrintOf(f.app, f.form1);
    const bool read = movra::ReadJdxFile(f.app, movra::fuzz::WriteInput(data, size, ".jdx"));
    movra::fuzz::CheckRefusalKeptTheMap(read, before, f.app, f.form1);
    return 0;
}
