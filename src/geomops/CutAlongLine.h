#pragma once
// Cutting the line work of the layers that are on along a drawn cutting line: the lines,
// quadrilaterals, circles and arcs it crosses are either cut (the piece beyond the line, on its
// right, removed) or split into separate records at the crossing.
#include <cstdint>

namespace movra {

struct App;

enum CutMode : std::uint8_t {
    CutPreview = 0,  // only marks the crossings and draws what a cut would remove
    CutSplit = 1,    // splits at the crossing, losing nothing
    CutAway = 2,     // removes the piece beyond the line (any other value acts so too)
};

// Cuts along P1 (x1, y1) -> P2 (x2, y2) every line record (one to four vertices and the chain
// links of the line families), quadrilateral, circle and arc of the layers 1..LayerCount that
// are on, each at its first crossing. The line goes into ScratchXY 2..5 (grown to 14 elements),
// its length and azimuths into 10..12. New pieces go to each layer's open slot; the layer grows
// first, and where it cannot, the pass stops with the layer-full message. Failures end the pass
// with a message box; what was cut before stays cut.
void CutLinesAndAreas(App& app, double x1, double y1, double x2, double y2, std::uint8_t mode);

// The arc from `start` counter-clockwise to `end` (radians from +x) cut by the piece from c0
// counter-clockwise to c1: the arcs that remain, as (start, end) pairs, the first the one the
// record keeps. An arc holding neither crossing angle, an arc with start equal to end and c0
// equal to c1 give the arc unchanged. Split gives the arc divided at the crossing angles inside
// it; cut away the parts outside c0 -> c1.
// Room in the layer for `needed` more records with its open slot after them: the layer grows
// while it can without the automatic split of the current layer. Without room it shows the
// layer-full message and gives false.
bool RoomForPieces(App& app, int layer, int needed);

struct ArcPiece {
    double start, end;
};
int CutArc(double start, double end, double c0, double c1, bool split, ArcPiece out[3]);

}  // namespace movra
