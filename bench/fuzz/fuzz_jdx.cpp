// libFuzzer target: the compact map file reader on any bytes, over an open map. A file the
// reader refuses (wrong magic, cut inside a record, counts past its end) must leave the open map as
// it was, field for field, with its path, caption and flag. Read again on three threads, whatever
// the size of the file, it must leave exactly what one thread left.
#include "../../tests/support/MapReadDifference.h"
#include "FuzzApp.h"
#include "document/JdxFile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string path = movra::fuzz::WriteInput(data, size, ".jdx");
    movra::fuzz::FuzzApp f;
    movra::fuzz::MakeOpenMap(f.app, f.form1);
    const movra::fuzz::OpenMapPrint before = movra::fuzz::PrintOf(f.app, f.form1);
    f.app.mapFile.ParallelReadMinimumRecords = 1 << 30;
    const bool read = movra::ReadJdxFile(f.app, path);
    movra::fuzz::CheckRefusalKeptTheMap(read, before, f.app, f.form1);

    movra::fuzz::FuzzApp threaded;
    movra::fuzz::MakeOpenMap(threaded.app, threaded.form1);
    threaded.app.mapFile.ReadThreads = 3;
    threaded.app.mapFile.ParallelReadMinimumRecords = 0;
    if (movra::ReadJdxFile(threaded.app, path) != read ||
        !movra::test::FirstReadDifference(f.app, f.form1, threaded.app, threaded.form1).empty())
        std::abort();
    return 0;
}
