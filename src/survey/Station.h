#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace movra {

// The survey station arrays, rows 0 station, 1 zero direction, 2 check direction, 3 heights:
// StationX(3) target height 1, StationY(3) instrument height, StationH(3) target height 2,
// StationAux(3) target height 3. Eastings in X, northings in Y.
struct StationSetup {
    std::array<std::string, 4> StationName;
    std::array<double, 4> StationX{};
    std::array<double, 4> StationY{};
    std::array<double, 4> StationH{};
    std::array<double, 4> StationAux{};
    // 0: the circle reading on the zero direction; 1: the azimuth from the station to it (radians).
    std::array<double, 4> StationAngles{};
    // The row (0, 1, 2) the next canvas pick fills.
    std::uint8_t PickRow = 0;
};

// What the record in progress of a layer holds, so that a capture of another kind can close it.
enum SurveyRecordKind : std::uint8_t { SurveyNothing = 0, SurveyLine = 1, SurveyElevations = 2 };

// The total-station capture's state for the whole run.
struct SurveyCapture {
    // Per layer: 0 nothing in progress, 1..3 vertices in the record at the layer's open slot,
    // 4 a four-vertex line record just completed in the slot before it.
    std::vector<std::uint8_t> SurveyVertexState;
    // Per layer: the kind of the record in progress.
    std::vector<std::uint8_t> SurveyVertexKind;
    // The layer chosen in the capture window; 0 until one is chosen.
    std::uint8_t SurveyLayer = 0;
    // -1 while the next line vertex continues the line in progress ("连").
    std::int16_t SurveyLineContinue = 0;
    // The device and line settings of the instrument port, chosen in the capture window.
    std::string SurveyPortDevice;
    std::string SurveyPortSettings = "9600,N,8,1";
    // The symbol button the point code lights on the main window; -1 none.
    int HighlightedCode = -1;
};

}  // namespace movra
