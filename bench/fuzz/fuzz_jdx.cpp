// libFuzzer target: the compact map file reader on any bytes, over an open map. A file the
// reader refuses (wrong magic, cut inside a record, counts past its end) must leave the open map as
// it was, field for field, with its path, caption and flag. Read again on three threads, whatever
// the size of the file, it must leave exactly what one thread left.
#include <cstring>

#include "FuzzApp.h"
#include "document/JdxFile.h"

namespace {

// Numbers compared as bits: a file may carry NaNs, which both readers must pass on alike.
template <typename T>
bool Same(T a, T b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

bool SameRecord(const movra::MapRecord& a, const movra::MapRecord& b) {
    return a.RecordType == b.RecordType && a.RecordPen == b.RecordPen && a.RecordSource == b.RecordSource &&
           a.RecordColor == b.RecordColor && Same(a.RecordX1, b.RecordX1) && Same(a.RecordY1, b.RecordY1) &&
           Same(a.RecordX2, b.RecordX2) && Same(a.RecordY2, b.RecordY2) && Same(a.RecordX3, b.RecordX3) &&
           Same(a.RecordY3, b.RecordY3) && Same(a.RecordX4, b.RecordX4) && Same(a.RecordY4, b.RecordY4) &&
           Same(a.RecordZ1, b.RecordZ1) && Same(a.RecordZ2, b.RecordZ2) && Same(a.RecordZ3, b.RecordZ3) &&
           Same(a.RecordZ4, b.RecordZ4) && a.RecordFont == b.RecordFont && a.RecordText == b.RecordText &&
           a.RecordExtra == b.RecordExtra;
}

bool SameRead(const movra::fuzz::FuzzApp& one, const movra::fuzz::FuzzApp& threaded) {
    const movra::RecordStore& a = one.app.store;
    const movra::RecordStore& b = threaded.app.store;
    if (a.LayerCount != b.LayerCount || a.LayerCapacity != b.LayerCapacity || a.CurrentLayer != b.CurrentLayer ||
        a.LayerDimension() != b.LayerDimension())
        return false;
    for (int layer = 0; layer <= a.LayerCount && layer <= a.LayerDimension(); ++layer) {
        if (a.Count(layer) != b.Count(layer) || a.AllocatedSlots(layer) != b.AllocatedSlots(layer)) return false;
        for (int slot = 0; slot < a.AllocatedSlots(layer); ++slot) {
            if (!SameRecord(a.Get(layer, slot), b.Get(layer, slot))) return false;
        }
    }
    const movra::DrawingExtents& e = one.app.extents;
    const movra::DrawingExtents& f = threaded.app.extents;
    return Same(e.ExtentMinX, f.ExtentMinX) && Same(e.ExtentMaxX, f.ExtentMaxX) && Same(e.ExtentMinY, f.ExtentMinY) &&
           Same(e.ExtentMaxY, f.ExtentMaxY) && one.app.current.CurrentFilePath == threaded.app.current.CurrentFilePath &&
           one.form1.Text2.Text() == threaded.form1.Text2.Text();
}

}  // namespace

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
    if (movra::ReadJdxFile(threaded.app, path) != read || !SameRead(f, threaded)) std::abort();
    return 0;
}
