#pragma once
// The printed page's straight lines: segments clipped to the page cell, and line types laid
// along a segment through the shared pattern walker.
#include <string>

#include "display/LineSink.h"

namespace movra {

struct App;

// The part of a segment that lies in the closed page cell, in the segment's own direction.
struct VisiblePart {
    bool visible = false;
    double x1 = 0, y1 = 0, x2 = 0, y2 = 0;
};

// Clips the segment A-B to the cell left..right, bottom..top (edges belong to the cell). A
// segment lying on a side is visible along it; one that only touches the cell at a corner or
// from outside is not. A zero-length segment inside is visible as a point.
VisiblePart ClipToCell(double left, double right, double top, double bottom, double ax, double ay,
                       double bx, double by);

// The quick test of the special lines and single segments: false when both ends lie beyond the
// same side of the cell. A segment lying on a side passes, as it does in ClipToCell, so the
// first cell of a drawing, which starts exactly at its extents, still prints its edges.
bool SegmentNearCell(const App& app, double x1, double y1, double x2, double y2);
// Whether anything drawn within `reach` of the segment can show in the closed cell.
bool SegmentReachesCell(const App& app, double x1, double y1, double x2, double y2, double reach);

// The visible part of the segment in LineColor at the page's current width and style.
void PrintClippedSegment(App& app, double x1, double y1, double x2, double y2);

// The line type of the code (350 and up) along the segment, on a page whose cell its pattern can
// reach. The pattern is laid from the segment's start on every page, the page clipping it to the
// cell, so that its dashes and symbols join across a seam.
void PrintLineTypeAlongSegment(App& app, double x1, double y1, double x2, double y2,
                               const std::string& code);

// The line type of the code along the whole segment, unclipped, sizes at the print scale.
void PrintLineTypePattern(App& app, double x1, double y1, double x2, double y2,
                          const std::string& code);

// The printed page as a sink of the shared figure drawers: every line goes through
// PrintClippedSegment (clipped to the cell, in LineColor whatever colour the drawer gives);
// dots in their own colour; symbols through PrintPointSymbol, or, for the symbols of a patterned
// fill, only those whose body can reach into the cell (the page clips the rest).
class PageSink final : public LineSink {
public:
    explicit PageSink(App& app, bool symbolsNearCellOnly = false);
    Surface& Canvas() override { return page_; }
    void Line(double x1, double y1, double x2, double y2, Rgb color) override;
    void Dot(double x, double y, Rgb color) override;
    void Symbol(double x, double y, const std::string& code, double dx, double dy,
                Rgb color) override;
    // The page cell: a fill or pattern reaching far beyond the page does only the work the cell
    // shows, as on the screen.
    std::optional<Area> Visible() const override;

private:
    App& app_;
    Surface& page_;
    bool symbolsNearCellOnly_;
};

// The same, but lines are drawn whole, for the page's clip rectangle to cut at the cell: a line
// type laid from its segment's start, marks and ellipses reaching over the cell's edge. It too
// tells the cell it shows, so that a line type running far beyond the page lays only the periods
// near it (each page of a long run would otherwise hold the whole run's pattern).
class UnclippedPageSink final : public LineSink {
public:
    explicit UnclippedPageSink(App& app);
    Surface& Canvas() override { return page_; }
    void Line(double x1, double y1, double x2, double y2, Rgb color) override;
    void Dot(double x, double y, Rgb color) override;
    void Symbol(double x, double y, const std::string& code, double dx, double dy,
                Rgb color) override;
    std::optional<Area> Visible() const override;

private:
    App& app_;
    Surface& page_;
};

}  // namespace movra
