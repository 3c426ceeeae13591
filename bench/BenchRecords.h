#pragma once
// What the benchmarks that generate maps share when they lay records.
#include <random>

#include "document/MapRecord.h"

namespace movra::bench {

// Vertices 2 to 4 of the record, each a random step on from the one before, starting at vertex 1:
// a short wandering line of three segments.
inline void WalkFromFirstVertex(MapRecord& r, std::mt19937& rng, std::uniform_real_distribution<double>& step) {
    r.RecordX2 = r.RecordX1 + step(rng), r.RecordY2 = r.RecordY1 + step(rng);
    r.RecordX3 = r.RecordX2 + step(rng), r.RecordY3 = r.RecordY2 + step(rng);
    r.RecordX4 = r.RecordX3 + step(rng), r.RecordY4 = r.RecordY3 + step(rng);
}

}  // namespace movra::bench
