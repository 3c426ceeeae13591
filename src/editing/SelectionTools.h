#pragma once
// The selection: the window selection and the point pick that fill the SelectionList, and the
// point-in-area test the window selection uses for filled areas.
#include <cstdint>

namespace movra {

struct App;

// The selection list never grows past this many records.
constexpr std::int32_t SelectionLimit = 31999;

inline constexpr const char* ClipSaveQuestion = "要保存复照图吗？，y/保存，n/重来，esc/无";
inline constexpr const char* ClipSaveTitle = "复照图元";
// Text8 takes this prefix and the text of a single selected record, ready for renaming.
inline constexpr const char* RenamePrefix = "xg：";

// Window selection from the press point (x1, y1), taken as the upper-left corner, to the release
// point (x2, y2), the lower-right one (the corners are not reordered). Four passes: records with
// a vertex strictly inside; else one line record crossed by the window's diagonal; else a circle
// through the window's centre; else nothing when the centre lies in a filled area. Failures write
// Text2 and turn CurrentColor black.
void SelectInWindow(App& app, double x1, double y1, double x2, double y2);

// Point pick at (x, y): a record with a vertex within one paper millimetre; else a segment within
// SelectTolerance; else a shape (box, band, fill head) whose box holds the point.
void PickAtPoint(App& app, double x, double y);

// Even-odd test of (px, py) against the polygon held in ScratchXY (k vertices as x, y pairs and
// one spare pair behind them). inside becomes -1 when the point lies inside, else 0; an inside
// point is marked on the canvas by its chord and a small tick.
void PointInWorkingPolygon(App& app, double px, double py, std::int16_t& inside);

}  // namespace movra
