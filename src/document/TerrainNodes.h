#pragma once
#include <array>
#include <cstdint>
#include <vector>

namespace movra {

// Terrain model nodes 0..NodeCount with up to ten links each (numbers of linked nodes, 0 empty).
// Snapping reads NodeX, NodeY and NodeCount.
struct TerrainNodeLinks {
    std::vector<double> NodeX = std::vector<double>(1);
    std::vector<double> NodeY = std::vector<double>(1);
    std::vector<double> NodeZ = std::vector<double>(1);
    std::int16_t NodeCount = 0;
    std::vector<std::array<std::int16_t, 10>> NodeLinks = std::vector<std::array<std::int16_t, 10>>(1);
};

}  // namespace movra
