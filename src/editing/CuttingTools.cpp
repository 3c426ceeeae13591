// The cutting tools: a cutting line drawn with two clicks cuts or splits the lines and areas it
// crosses, trims the stubs beyond it, or keeps the pieces of itself that lie inside the line work
// (and, click after click, of its parallels). The cutting itself is the geometric operations';
// these tools draw the line, ask, and journal around it.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "document/Geometry.h"
#include "document/UndoJournal.h"
#include "editing/AnchoredRubber.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolFamilies.h"
#include "geomops/GeomopsSeams.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// ScratchXY of the cutting tools: 0, 1 the side point; 2..5 the cutting line; 6..9 its parallel;
// the operations use the rest.
constexpr std::size_t CuttingScratch = 14;

constexpr std::uint8_t PreviewMode = 0;
constexpr std::uint8_t SplitMode = 1;
constexpr std::uint8_t CutAwayMode = 2;

std::vector<double>& Scratch(App& app) { return app.geometry.ScratchXY; }

// Distance of the side point (elements 0, 1) from the cutting line (2..5). Not PointLineDist,
// which reads a line end at y = -1 as a radius.
double SidePointDistance(const std::vector<double>& s) {
    const double dx = s[4] - s[2], dy = s[5] - s[3];
    const double length = std::hypot(dx, dy);
    if (length == 0) return std::hypot(s[0] - s[2], s[1] - s[3]);
    return std::fabs(dx * (s[1] - s[3]) - dy * (s[0] - s[2])) / length;
}

// The first click: a fresh ScratchXY with the press point as the line's start.
void StartCuttingLine(App& app) {
    std::vector<double>& s = Scratch(app);
    s.assign(CuttingScratch, 0.0);
    s[2] = app.tool.PressPoint.x;
    s[3] = app.tool.PressPoint.y;
    app.tool.ClickCount = 1;
    app.tool.PreviewShown = 0;
}

// Until the second click, the rubber from the line's start to the cursor.
void CuttingRubber(App& app, double x, double y) {
    const std::vector<double>& s = Scratch(app);
    if (s.size() < CuttingScratch) return;
    DrawAnchoredRubber(app, s[2], s[3], x, y);
}

// The second click: the press point as the line's end, and the line drawn.
void EndCuttingLine(App& app) {
    std::vector<double>& s = Scratch(app);
    if (s.size() < CuttingScratch) s.resize(CuttingScratch, 0.0);
    EraseAnchoredRubber(app, s[2], s[3]);
    s[4] = app.tool.PressPoint.x;
    s[5] = app.tool.PressPoint.y;
    Canvas(app).Line(s[2], s[3], s[4], s[5], app.current.CurrentColor);
}

// Without its operation the tool says so, draws the map again over its line, and starts anew.
bool OperationMissing(App& app, bool present, const std::string& name) {
    if (present) return false;
    app.form1->Text2.SetText(OperationMissingMessage(name));
    app.tool.ClickCount = 0;
    刷新(app);
    return true;
}

// ---- Cutting lines and areas.

ReleaseEnd CutAreasRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        StartCuttingLine(app);
        return ReleaseEnd::CommonTail;
    }
    EndCuttingLine(app);
    const auto& cut = app.geomopsSeams.CutLinesAndAreas;
    if (OperationMissing(app, static_cast<bool>(cut), "裁割线、面")) return ReleaseEnd::CommonTail;
    const std::vector<double> line(Scratch(app).begin() + 2, Scratch(app).begin() + 6);
    cut(app, line[0], line[1], line[2], line[3], PreviewMode);
    const int answer = app.platform.prompt().MsgBox("要割掉虚线部分吗？，y/割掉，n/割裂，esc/无", MsgYesNoCancel, "裁割线、面");
    if (answer == AnswerYes || answer == AnswerNo) {
        const auto layer = static_cast<std::uint8_t>(app.store.CurrentLayer);
        UndoStepSnapshot(app, layer, 0, -1);
        cut(app, line[0], line[1], line[2], line[3], answer == AnswerYes ? CutAwayMode : SplitMode);
        UndoStepSnapshot(app, layer, 0, 0);
    }
    tool.ClickCount = 0;
    // The snapshots are this cut's undo steps: the common tail must add no checkpoint.
    tool.CommandMode = ModeJournalHold;
    刷新(app);
    return ReleaseEnd::CommonTail;
}

// ---- Trimming stubs.

ReleaseEnd TrimRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        StartCuttingLine(app);
        return ReleaseEnd::CommonTail;
    }
    EndCuttingLine(app);
    const auto& trim = app.geomopsSeams.CutLines;
    if (OperationMissing(app, static_cast<bool>(trim), "裁割线")) return ReleaseEnd::CommonTail;
    const std::vector<double> line(Scratch(app).begin() + 2, Scratch(app).begin() + 6);
    trim(app, line[0], line[1], line[2], line[3], PreviewMode);
    if (app.platform.prompt().MsgBox("要割掉虚线部分吗？，y/割掉，n/取消", MsgYesNo, "裁割线") == AnswerYes)
        trim(app, line[0], line[1], line[2], line[3], CutAwayMode);
    tool.ClickCount = 0;
    刷新(app);
    return ReleaseEnd::CommonTail;
}

// ---- Keeping the inside pieces.

// The parallel of the cutting line through the side point (elements 0, 1), into 6..9.
bool ParallelThroughSidePoint(App& app) {
    std::vector<double>& s = Scratch(app);
    const double d = SidePointDistance(s);
    return OffsetSegmentBySide(app, d);
}

void DrawParallel(App& app) {
    const std::vector<double>& s = Scratch(app);
    Canvas(app).Line(s[6], s[7], s[8], s[9], app.current.CurrentColor);
}

// From the second click on, the cutting line moved parallel through the cursor.
void KeepInsideRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount < 2) {
        CuttingRubber(app, x, y);
        return;
    }
    std::vector<double>& s = Scratch(app);
    if (s.size() < CuttingScratch) return;
    if (tool.PreviewShown == -1) {
        s[0] = tool.PreviewPoint.x;
        s[1] = tool.PreviewPoint.y;
        if (ParallelThroughSidePoint(app)) DrawParallel(app);
    }
    s[0] = x;
    s[1] = y;
    if (ParallelThroughSidePoint(app)) DrawParallel(app);
    tool.PreviewPoint = tool.RubberPoint = {x, y};
    tool.PreviewShown = tool.RubberShown = -1;
}

ReleaseEnd KeepInsideRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    stForm1& form = *app.form1;
    if (tool.ClickCount == 0) {
        StartCuttingLine(app);
        form.Text5.SetText("");
        return ReleaseEnd::CommonTail;
    }
    const auto& keep = app.geomopsSeams.AddInsidePieces;
    if (tool.ClickCount == 1) {
        EndCuttingLine(app);
        if (OperationMissing(app, static_cast<bool>(keep), "割线截留")) return ReleaseEnd::CommonTail;
        keep(app);
        tool.ClickCount = 2;
    } else {
        std::vector<double>& s = Scratch(app);
        if (s.size() < CuttingScratch) s.resize(CuttingScratch, 0.0);
        // The click is the side point; the distance is the typed one, else the click's.
        s[0] = tool.PressPoint.x;
        s[1] = tool.PressPoint.y;
        double d = Val(Trim(form.Text5.Text()));
        if (d == 0) d = SidePointDistance(s);
        if (!OffsetSegmentBySide(app, d)) return ReleaseEnd::CommonTail;
        // The parallel becomes the cutting line, running the other way.
        s[2] = s[6];
        s[3] = s[7];
        s[4] = s[8];
        s[5] = s[9];
        Canvas(app).Line(s[2], s[3], s[4], s[5], app.current.CurrentColor);
        if (!keep) return ReleaseEnd::CommonTail;
        keep(app);
        // The count stops at its top rather than wrapping into a new first click.
        if (tool.ClickCount < 255) ++tool.ClickCount;
    }
    tool.PreviewShown = 0;
    刷新(app);
    return ReleaseEnd::CommonTail;
}

}  // namespace

const ToolFamily& CuttingToolFamily() {
    static const ToolFamily family{
        "cutting",
        {
            {.mode = ModeCutLinesAndAreas, .rubber = CuttingRubber, .release = CutAreasRelease},
            {.mode = ModeTrimStubs, .rubber = CuttingRubber, .release = TrimRelease},
            {.mode = ModeKeepInside, .rubber = KeepInsideRubber, .release = KeepInsideRelease},
        },
    };
    return family;
}

}  // namespace movra
