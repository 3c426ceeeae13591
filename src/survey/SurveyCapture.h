#pragma once
// The computation of a detail point from a total-station reading and the station set-up, and its
// storing into the record store as a point symbol, a terrain point, a line vertex or an elevation
// point.
#include <cstdint>
#include <string>
#include <vector>

namespace movra {

struct App;

// What the capture needs of the station set-up, in the order the window reads it.
struct StationData {
    double northing = 0;     // StationY(0)
    double easting = 0;      // StationX(0)
    double elevation = 0;    // StationH(0)
    double zeroAzimuth = 0;  // StationAngles(1)
    double zeroReading = 0;  // StationAngles(0)
};
StationData GetStationData(const App& app);

// One reading: slope distance (m), horizontal circle reading and vertical angle (ddd.mmss),
// instrument and target heights (m).
struct SurveyReading {
    double slope = 0;
    double direction = 0;
    double vertical = 0;
    double instrumentHeight = 0;
    double targetHeight = 0;
};

struct DetailPoint {
    double E = 0;
    double N = 0;
    double H = 0;  // rounded to centimetres, halves upward
};

// The polar method with trigonometric heighting. A result outside any survey (not finite, or
// farther than a million kilometres) raises RuntimeError 6.
DetailPoint ComputeDetailPoint(const App& app, const SurveyReading& reading);

// What a point code stands for.
enum class SurveyPointKind { Terrain, Symbol, LineVertex, Elevation };

// The code as the window gives it: "998" when terrain modelling is ticked, else the code box
// trimmed. A code that is not a number raises RuntimeError 13.
double SurveyCodeNumber(const std::string& code);
SurveyPointKind KindOfCode(const std::string& code, double number);

// The layer that receives points: the chosen one, or the current layer until one is chosen.
int SurveyTargetLayer(const App& app);

// Sizes the per-layer states to the layers the store has, keeping them.
void SizeSurveyVertexStates(App& app);
// Closes the record in progress of every layer (nothing captured is lost) and sets every state 0.
void ResetSurveyVertexStates(App& app);

// Stores the point under the code into the target layer. Returns true when "连" must be shown
// (a new line record started). Raises RuntimeError on a bad code or a full layer, before writing.
bool StoreDetailPoint(App& app, const DetailPoint& point, const std::string& code);

// The code text as it is stored: "998" with terrain modelling, else the box trimmed.
std::string SurveyPointCode(const std::string& codeBox, bool terrainModelling);

// The orientation report of the zero direction (mode 1) and the check error (mode 2).
// Mode 1 also stores the zero reading and the azimuth to the zero direction.
std::string OrientOnZeroDirection(App& app, double directionReading, const std::string& lineBreak);
std::string CheckDirectionError(const App& app, double directionReading, const std::string& lineBreak);

}  // namespace movra
