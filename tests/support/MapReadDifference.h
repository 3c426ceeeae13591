#pragma once
// Whether two reads of one map file left the same thing: every slot (numbers compared as bits, so
// that NaNs a file carries count as equal), the counts and dimensions, the extents, the current
// layer, the path, the caption and the message line. Shared by the tests of the map readers and by
// the fuzzer that reads every input in two ways.
#include <cstring>
#include <string>

#include "App.h"
#include "shell/stForm1.h"

namespace movra::test {

template <typename T>
bool SameBits(T a, T b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

inline bool SameRecord(const MapRecord& a, const MapRecord& b) {
    return a.RecordType == b.RecordType && a.RecordPen == b.RecordPen && a.RecordSource == b.RecordSource &&
           a.RecordColor == b.RecordColor && SameBits(a.RecordX1, b.RecordX1) && SameBits(a.RecordY1, b.RecordY1) &&
           SameBits(a.RecordX2, b.RecordX2) && SameBits(a.RecordY2, b.RecordY2) && SameBits(a.RecordX3, b.RecordX3) &&
           SameBits(a.RecordY3, b.RecordY3) && SameBits(a.RecordX4, b.RecordX4) && SameBits(a.RecordY4, b.RecordY4) &&
           SameBits(a.RecordZ1, b.RecordZ1) && SameBits(a.RecordZ2, b.RecordZ2) && SameBits(a.RecordZ3, b.RecordZ3) &&
           SameBits(a.RecordZ4, b.RecordZ4) && a.RecordFont == b.RecordFont && a.RecordText == b.RecordText &&
           a.RecordExtra == b.RecordExtra;
}

// The first thing in which the two reads differ, or "" when they left the same.
inline std::string FirstReadDifference(const App& a, const stForm1& formA, const App& b, const stForm1& formB) {
    const RecordStore& s = a.store;
    const RecordStore& t = b.store;
    if (s.LayerCount != t.LayerCount || s.LayerDimension() != t.LayerDimension()) return "layer count";
    if (s.LayerCapacity != t.LayerCapacity) return "capacity";
    if (s.CurrentLayer != t.CurrentLayer) return "current layer";
    for (int layer = 0; layer <= s.LayerCount && layer <= s.LayerDimension(); ++layer) {
        const std::string at = "layer " + std::to_string(layer);
        if (s.Count(layer) != t.Count(layer)) return at + " count";
        if (s.AllocatedSlots(layer) != t.AllocatedSlots(layer)) return at + " allocated slots";
        for (int slot = 0; slot < s.AllocatedSlots(layer); ++slot) {
            if (!SameRecord(s.Get(layer, slot), t.Get(layer, slot))) return at + " slot " + std::to_string(slot);
        }
    }
    const DrawingExtents& e = a.extents;
    const DrawingExtents& f = b.extents;
    if (!SameBits(e.ExtentMinX, f.ExtentMinX) || !SameBits(e.ExtentMaxX, f.ExtentMaxX) ||
        !SameBits(e.ExtentMinY, f.ExtentMinY) || !SameBits(e.ExtentMaxY, f.ExtentMaxY))
        return "extents";
    if (a.current.CurrentFilePath != b.current.CurrentFilePath) return "path";
    if (formA.Caption() != formB.Caption()) return "caption";
    if (formA.Text2.Text() != formB.Text2.Text()) return "message line";
    return "";
}

}  // namespace movra::test
