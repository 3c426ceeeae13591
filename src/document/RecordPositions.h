#pragma once
// Which vertices of a record are positions on the map (the others hold sizes, directions, counts
// or values of their own), by record type. Moving, reducing, measuring and the storable-coordinate
// guard visit these and no others.
//
// The fields of each record type, and which of them are positions (P). Z1..Z4 are never positions
// (heights, angles, pattern numbers, point numbers, symbol codes, slot counts, a house height).
//
//   type                          X1 Y1  X2 Y2               X3 Y3                  X4 Y4
//   1, 41, 71, 91 chain ends      P      -                   -                      -
//   2..5 pen lines, 42..45 line-  P      P                   P from 3, 43, 73, 93   P from 4, 44, 74, 94
//   type lines, 72..75 wide lines,
//   92..95 special lines
//   6 quadrilateral, 36 grid      P      P                   P                      P
//   7 circle                      P      radius, aspect      -                      -
//   8 arc                         P      radius, aspect      start and end angle    -
//   9 rotated ellipse             P      the semi-axes       X3 direction angle     -
//   10, 14, 58, 59 shapes         P      P                   P                      P
//   11, 13 fill heads             P      P                   P                      P (the box corners)
//   12 line-type segment          P      P                   X3 run length, (Y3, X4) unit direction
//   15 point symbol               P      direction           -                      -
//   16..19 land-use marks         P      -                   -                      -
//   21..23 parcel edges           P      P                   -                      -
//   25, 65, 67 texts              P      X2 height           -                      -
//   26..30 fill boundary          P      P from 27           P from 28              P from 29
//   31..34 parcel points          P      P from 32           P from 33              P (34)
//   46..49 height points          P      P from 47           P from 48              P (49)
//   50, 51 symbol points          P      direction, X2 also the label size
//   52 cross                      P      P                   P                      P
//   53 class-0 attributes         P      text size, width    X3 area                telephone 1 and 2
//   54..57 class 1..4 attributes  P      text size, width    -                      -
//   61 terrain point              P      X2 text height      -                      P (the point)
//   62 turned text with a point   P      height, width       -                      P (the point)
//   63, 64, 66, 68 turned texts   P      height, width       -                      -
//   69 frame placeholder          P      -                   -                      -
//   70 linked image               P      width, height       -                      -
//   80, 81, 85 ticks, 87 rows     P      P2, P3, P4 up to the first of them at exactly (0, 0)
//   86 ink-fill region            P      -                   -                      -
//   99 erasing line               P      P                   -                      -
//   201, 211 sheet-cut segments   P      P                   -                      -
//   any other code                P      -                   -                      -
//
// A value that is not a position is kept as it came, however large (a mobile telephone number of
// eleven digits, the area of a large parcel, a count): only positions must lie in the storable
// range, since only they are drawn, reduced, measured and zoomed to.

#include <functional>

#include "document/FileRecord.h"
#include "document/MapRecord.h"

namespace movra {

enum class Positions { First, FirstTwo, FirstThree, All, FirstAndFourth, Ticks };

// A deleted record (type + 100) answers as the record it was, so that an undo brings back a
// record moved as a whole.
Positions PositionsOf(int type);

// Calls `visit` with each position vertex of the record, in vertex order. Tick records list
// their further ticks up to the first that starts exactly at (0, 0).
void ForEachPosition(MapRecord& record, const std::function<void(double& x, double& y)>& visit);
void ForEachPosition(const MapRecord& record, const std::function<void(double x, double y)>& visit);

// The storable-coordinate guard: whether every position of a record of `type` with these vertices
// is a storable point (IsStorablePoint). The other fields are not judged. Every path that puts a
// record into the store (the writers, the tools, the map and block readers, the merge, the
// self-made library, the imports) asks this one question.
bool HasStorablePositions(int type, double x1, double y1, double x2, double y2, double x3, double y3,
                          double x4, double y4);
bool HasStorablePositions(const MapRecord& r);
bool HasStorablePositions(const FileRecord& r);

}  // namespace movra
