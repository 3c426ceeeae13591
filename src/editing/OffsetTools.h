#pragma once
// The polyline geometry of the offset tools: the parallel twin of a polyline drawn point by point,
// and parallel rings about a clicked closed ring. Both read the clicked vertices from ScratchXY
// (vertex k in elements 10 + 2k and 11 + 2k; the highest element is the newest vertex's y) and
// write line records into the current layer in CurrentColor and CurrentPen.
//
// Sign rule: a segment A -> B is offset by a signed distance s by adding
// (-(By - Ay), Bx - Ax) * s / |AB| to both ends, so a positive s lies to its left. The distances
// are paper millimetres times ScaleFactor.

namespace movra {

struct App;

// Tool 124: after each new vertex, the parallel piece of the newest segment at minus the number in
// Text8 (0 or no number: +1, the left), as a type-52 record holding the segment (P1, P2) and its
// parallel (P3, P4); from the third vertex on the previous piece is ended at the joint of the two
// parallels (its P4 moved there). A zero-length segment stores nothing. Errors are written into
// Text2 (description, then number).
void BuildParallelOffsetFromText(App& app);

// Tool 127: the ring of vertices 0..n (vertex n the click that closed it, near vertex 0) offset by
// `w` millimetres (0 taken as 1), as one chain of line records (types 2..5 and 1). Returns false,
// with the layer's count and slots as before, when two neighbouring sides are parallel (their
// offsets do not meet) or the layer has no room.
bool BuildParallelOffset(App& app, double w);

}  // namespace movra
