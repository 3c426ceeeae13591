#pragma once
// Turning, shifting and mirroring the records of the selection in place. Only vertex coordinates
// change (and the angle and kind of a lone rotated text); which vertices are coordinates depends
// on the record type (TransformVertices). Each operation does nothing when nothing is selected.
#include <cstdint>

namespace movra {

struct App;

// The vertices of a record that the transforms move: bit k - 1 of Mask for Pk. With WhileSet,
// P2..P4 are taken in order only while set (X or Y not 0); the first unset one ends the record.
struct VertexSet {
    std::uint8_t Mask = 1;
    bool WhileSet = false;
};
VertexSet TransformVertices(int recordType);

// Turns the selection by the clockwise angle from the direction pivot→(x11, y11) to the direction
// pivot→(x22, y22); the pivot is (AnchorX, AnchorY) when xcc is 255, otherwise P1 of the first
// selected record. A lone text (64..68) is pointed from the pivot towards (x22, y22) and becomes
// kind 66. Each rotated record is highlighted in palette colour 1. Errors go into Text2.
void 旋转后(App& app, double x11, double y11, double x22, double y22, std::uint8_t xcc);

// The angle in whole degrees that a lone rotated text takes: it points from the pivot (px, py)
// towards (x22, y22). The rotation stores it and the rotation preview shows it.
float LoneTextAngle(double px, double py, double x22, double y22);

// Shifts the selection by (-x1, -y1) when xcc is 255, otherwise so that P1 of the first selected
// record lands on (x1, y1). x2, y2 are not used. Errors go into Text2.
void 平移后(App& app, double x1, double y1, double x2, double y2, std::uint8_t xcc);

// The point of a record, mirrored as the first selected record about its own P1, that lies on the
// axis: its P1, or for a fill head, whose corners are put back in order, the corner P1 became.
void MirrorAxisPoint(int recordType, double x[4], double y[4], bool acrossVertical, double& ax, double& ay);

// Mirrors the selection across a vertical axis (x' = 2a - x): through P1 of the first selected
// record with xyjx 0, through x = xjx with 1, through x = 0 otherwise. Errors go into Text2.
void X镜像(App& app, double xjx, double yjx, std::uint8_t xyjx);

// Mirrors the selection across a horizontal axis (y' = 2a - y), the axis chosen as in X镜像 from
// yjx. It has no error trap of its own: its callers handle a failure.
void Y镜像(App& app, double xjx, double yjx, std::uint8_t xyjx);

}  // namespace movra
