#pragma once
#include <array>

namespace movra {

// The survey station arrays, rows 0 station, 1 zero direction, 2 check direction, 3 heights.
struct StationSetup {
    std::array<double, 4> StationX{};
    std::array<double, 4> StationY{};
    std::array<double, 4> StationH{};
};

}  // namespace movra
