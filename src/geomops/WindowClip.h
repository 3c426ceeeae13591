#pragma once
#include <cstdint>

namespace movra {

struct App;

// The window clip: copies what the visible map holds inside a window into the clip buffer
// (app.clip), without changing the store. Point-like records whose position lies inside and line
// records wholly inside are copied whole; other line records are cut into one-segment pieces at
// the border. The clip tool calls ClipWindow with its press point as (left, top) and its release
// point as (right, bottom); a window dragged from any corner is taken the same way.
//
// Every layer that holds records and is on or locked takes part. The buffer keeps at most
// ClipBufferPlainLimit items (one more when the last copy is a chain followed by its end item).
// A failure ends the clip quietly with the items appended so far.
void ClipWindow(App& app, float left, float top, float right, float bottom);

// Clips the segment (x1, y1)-(x2, y2) to the clip rectangle (ClipXMin .. ClipYMin of app.clip).
// `state` becomes 0 (nothing inside), 12 (both ends inside, the border counting as inside),
// 13 or 23 (only the first or second end inside: the piece runs from that end to the crossing)
// or 34 (both ends outside; the piece runs between the crossings, the edges taken in the order
// top, right, bottom, left). A segment along a border line, or with both ends on the outer side
// of one border line, gives 0. Unless the state is 0 the piece is left in ScratchXY elements
// 6 to 9 (start x, y, end x, y) and the state in element 0.
void ClipSegmentToWindow(App& app, double x1, double y1, double x2, double y2, std::uint8_t& state);

// Appends the piece that the last segment clip left in ScratchXY as an item of type `kind`,
// with the Z values, colour, pen, texts, font and source tag of the store record (layer, slot).
// Does nothing unless 11 <= state <= 34.
void ClipBufferAppendPiece(App& app, std::uint8_t layer, std::int16_t slot, std::uint8_t state, std::uint8_t kind);

// Appends a whole copy of the store record (layer, slot). Texts of types 66 and 68 carry their
// device-font metrics at the present DisplayZoom in vertex 4 (height, character width,
// escapement in tenths of a degree). A chain record (5, 45, 75, 95) is followed by a chain-end
// item (1, 41, 71, 91) at the first vertex of the next slot, so that its last segment ends there.
void ClipBufferCopyRecord(App& app, std::uint8_t layer, std::int16_t slot);

// Decides by the record's type how the store record (layer, slot) enters the buffer: copied
// whole, cut into pieces, or left out.
void ClipRecord(App& app, std::uint8_t layer, std::int16_t slot);

// The window widened by the margin within which records are looked at.
struct ClipCandidateBounds {
    float left = 0, right = 0, bottom = 0, top = 0;
};

// Whether the record (layer, slot) is worth clipping for the widened window: a point-like record
// by its first vertex, a line record by the box of its vertices (a chain's with the next slot's
// first vertex), an image by its extent. Types the clip never carries are not candidates.
bool ClipRecordIsCandidate(const App& app, std::uint8_t layer, std::int16_t slot, const ClipCandidateBounds& bounds);

}  // namespace movra
