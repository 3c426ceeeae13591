#pragma once
// The special boundary lines ("1090".."1093"), the land-use marks and the boundary segments
// with boundary-point marks.
#include <string>

#include "display/DisplayState.h"
#include "platform/Color.h"

namespace movra {

struct App;
class LineSink;

// The four special line codes, held in RecordText of line records of types 92 to 95.
inline constexpr const char* FixedBankLineCode = "1090";
inline constexpr const char* BankLineCode = "1091";
inline constexpr const char* DashedWidthLineCode = "1092";
inline constexpr const char* WallLineCode = "1093";

// ---- Shared by the screen and the printed page. `sizeFactor` is ground units per paper
// millimetre. These raise RuntimeError on a failure; the callers guard as they report.

// The wall, bank and fixed bank lines: the base line, then ticks on the right side of A->B at
// half a spacing, one and a half spacings, ... as long as they reach no farther than B (the first
// always). The fixed bank adds a dot 1 mm right of each whole spacing. A segment of length 0
// draws its base line only.
enum class TickLineKind { Wall, Bank, FixedBank };
void DrawTickLine(LineSink& sink, TickLineKind kind, double x1, double y1, double x2, double y2,
                  Rgb color, double sizeFactor);

// The dashed line with width (paper millimetres for width, dash and gap). A segment that starts
// exactly where the last one of `state` ended goes on with the dash rhythm it left.
void DrawDashedWidthLine(LineSink& sink, DashState& state, double x1, double y1, double x2,
                         double y2, float width, float dash, float gap, Rgb color,
                         double sizeFactor);

// Land-use mark 1..4 (paddy field, aquatic crop, dry land, grassland) with its base point at
// (x, y), `unit` ground units to the millimetre, in the pen the caller set.
void DrawLandUseMark(LineSink& sink, int mark, double x, double y, Rgb color, double unit);

// ---- The screen: the main window's canvas at ScaleFactor.

// Draws the segment in the line of the code; other codes draw nothing. A failure is written into
// Text2.
void DrawSpecialPattern(App& app, double x1, double y1, double x2, double y2, Rgb color,
                        const std::string& code, double width, double dash, double gap);
void DrawWallLine(App& app, double x1, double y1, double x2, double y2, Rgb color);
void DrawBankLine(App& app, double x1, double y1, double x2, double y2, Rgb color);
void DrawFixedBankLine(App& app, double x1, double y1, double x2, double y2, Rgb color);
void DrawDashedWidthLine(App& app, double x1, double y1, double x2, double y2, float width,
                         float dash, float gap, Rgb color);

// The marks of record types 16 to 19, at width 1 in CurrentColor whatever the record's colour.
void DrawLandUseMark1(App& app, float x, float y);
void DrawLandUseMark2(App& app, float x, float y);
void DrawLandUseMark3(App& app, float x, float y);
void DrawLandUseMark4(App& app, float x, float y);

// A parcel edge (types 21, 22, 23) with a boundary-point mark (ring and dot) at each end.
void DrawHandledSegment(App& app, double x1, double y1, double z1, double x2, double y2,
                        double z2, Rgb color);
void DrawHandledSegmentDotted(App& app, double x1, double y1, double z1, double x2, double y2,
                              double z2, Rgb color);
void DrawHandledSegmentDashed(App& app, double x1, double y1, double z1, double x2, double y2,
                              double z2, Rgb color);

}  // namespace movra
