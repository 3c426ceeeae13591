#pragma once
// Shared by the geometry sources only: checked access to ScratchXY and the message box that
// reports a failure of a geometry procedure.

#include <cstddef>

#include "App.h"
#include "basic/Errors.h"

namespace movra::geometry_detail {

// Raises error 9 (下标越界) unless ScratchXY has elements 0..highest.
void RequireScratch(const App& app, std::size_t highest);

// A message box with the error's description as text and its number as title, OK only.
void ReportGeometryError(App& app, const RuntimeError& error);

// Distance of P from the infinite line through A and B (from A when A and B coincide). Unlike
// PointLineDist it never reads by = -1 as a radius: the toolkit's own points may lie at y = -1.
double LineDistance(double px, double py, double ax, double ay, double bx, double by);

}  // namespace movra::geometry_detail
