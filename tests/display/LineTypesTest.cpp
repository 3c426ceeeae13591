#include "display/LineTypes.h"

#include "display/DisplayFixture.h"

#include <algorithm>
#include <cmath>

namespace movra {
namespace {

constexpr int Dash = 6, Gap = 7, Sym = 8, Left = 9, Right = 10;

class LineTypes : public DisplayTest {
protected:
    LineTypes() {
        app.view.ProjectParams[0] = 1000;  // 1:1000, ScaleFactor 1
        SetElement(5, 0, 1, {{0, 0}, {0, 1}});  // symbol 5: a stroke to its top
        // The canvas shows every run the tests lay: a run is laid only where it can be seen.
        canvas.SetScale(-100, 100, 1200, -200);
        canvas.ClearRecords();
    }
    // A line-type line record P1-P2 in slot 1 of layer 1.
    MapRecord& LineRecord(double x2, double y2, const char* code) {
        MapRecord& r = app.store.At(1, 1);
        r.RecordType = 42;
        r.RecordText = code;
        r.RecordColor = 0x00FF00;
        r.RecordX1 = 1000;
        r.RecordY1 = 0.5;  // not (0, 0): such an end is not drawn
        r.RecordX2 = 1000 + x2;
        r.RecordY2 = 0.5 + y2;
        return r;
    }
};

TEST_F(LineTypes, DashesAndGapsLaidEndToEnd) {
    SetLineType(2, 3, {{Dash, 4}, {Gap, 1}});
    DrawLineTypeSegment(app, 0, 0, 10, 0, "351");
    ExpectLines({{0, 0, 4, 0}, {5, 0, 9, 0}});  // the second gap ends exactly at B
    EXPECT_EQ(canvas.DrawWidth(), 3);

    canvas.ClearRecords();
    DrawLineTypeSegment(app, 0, 0, 9.5, 0, "351");
    ExpectLines({{0, 0, 4, 0}, {5, 0, 9, 0}});

    canvas.ClearRecords();
    DrawLineTypeSegment(app, 0, 0, 7, 0, "351");
    ExpectLines({{0, 0, 4, 0}, {5, 0, 7, 0}});  // a dash passing B is cut there
}

// A run reaching far off the canvas lays only the periods seen, in step with the pattern as it
// starts at the run's first end.
TEST_F(LineTypes, ARunReachingFarOffTheCanvasLaysOnlyWhatIsSeen) {
    SetLineType(2, 3, {{Dash, 4}, {Gap, 1}});
    canvas.SetScale(-20, 20, 40, -40);
    const double ax = -1e7 + 0.25;
    DrawLineTypeSegment(app, ax, 0.5, 1e7, 0.5, "351");
    const auto lines = Lines();
    ASSERT_FALSE(lines.empty());
    EXPECT_LT(lines.size(), 100u);
    double reachedLow = 1e300, reachedHigh = -1e300;
    for (const auto& l : lines) {
        const double periods = (l.x1 - ax) / 5;
        EXPECT_NEAR(periods, std::round(periods), 1e-6) << l.x1;
        EXPECT_NEAR(l.x2 - l.x1, 4, 1e-6);
        reachedLow = std::min(reachedLow, l.x1);
        reachedHigh = std::max(reachedHigh, l.x2);
    }
    EXPECT_LT(reachedLow, -20);  // the canvas is covered from edge to edge
    EXPECT_GT(reachedHigh, 20);
}

TEST_F(LineTypes, MarkersSideLinesAndSymbols) {
    SetLineType(3, 0, {{Dash, 100}, {Sym, 5}});
    DrawLineTypeSegment(app, 0, 0, 10, 0, "352");
    ExpectLines({{1, 0, 9, 0}, {10, 0, 10, 1}});  // the dash 1 mm in from each end, symbol 5 at B

    SetLineType(4, 0, {{Gap, 50}, {Sym, 5}, {Dash, 3}, {Sym, 5}});
    canvas.ClearRecords();
    DrawLineTypeSegment(app, 0, 0, 10, 0, "353");
    ExpectLines({{5, 0, 5, 1}, {10, 0, 10, 1}});

    SetLineType(5, 0, {{Left, 1}, {Right, 1}, {Dash, 5}});
    canvas.ClearRecords();
    DrawLineTypeSegment(app, 0, 0, 10, 0, "354");
    ExpectLines({{0, 1, 10, 1}, {0, -1, 10, -1}, {0, 0, 5, 0}, {5, 0, 10, 0}});  // sides once per call

    // Symbols stand with their top to the left of the run: upright going east, west going north.
    SetLineType(6, 2, {{Sym, 5}, {Dash, 10}});
    canvas.ClearRecords();
    DrawLineTypeSegment(app, 0, 0, 0, 10, "355");
    ExpectLines({{0, 0, -1, 0}, {0, 0, 0, 10}});
    EXPECT_EQ(Lines()[1].drawWidth, 2);  // the type's width again after the symbol
}

TEST_F(LineTypes, TheDirectionLeftForTheToolAndTheScale) {
    SetLineType(2, 0, {{Dash, 4}, {Gap, 1}});
    app.view.ProjectParams[0] = 2000;
    DrawLineTypeSegment(app, 0, 0, 30, 40, "351");
    EXPECT_EQ(app.view.ScaleFactor, 2);
    EXPECT_NEAR(app.display.UnitDirection[0], 50, 1e-12);
    EXPECT_NEAR(app.display.UnitDirection[1], 0.6, 1e-12);
    EXPECT_NEAR(app.display.UnitDirection[2], 0.8, 1e-12);

    // A map without a scale keeps its factor; an undefined type leaves the direction cleared.
    app.view.ProjectParams[0] = 0;
    DrawLineTypeSegment(app, 0, 0, 30, 40, "360");
    EXPECT_EQ(app.view.ScaleFactor, 2);
    EXPECT_EQ(app.display.UnitDirection[0], 0);
}

TEST_F(LineTypes, TheCodesOfTheThreeOperations) {
    SetLineType(2, 0, {{Dash, 4}, {Gap, 1}});
    SetLineType(5, 0, {{Dash, 2}, {Gap, 8}});
    LineRecord(10, 0, "351");
    DrawRecordSegmentLineType(app, 1, 1, 2);
    ExpectLines({{1000, 0.5, 1004, 0.5}, {1005, 0.5, 1009, 0.5}});

    // 349 is type 0: nothing between two points, a plain line for a record's segment.
    canvas.ClearRecords();
    DrawLineTypeSegment(app, 0, 0, 10, 0, "349");
    EXPECT_TRUE(Lines().empty());
    LineRecord(10, 0, "349");
    DrawRecordSegmentLineType(app, 1, 1, 2);
    ExpectLines({{1000, 0.5, 1010, 0.5}});

    // Type 12 reads small codes as the type itself: 5 is type 5, 349 is beyond the table.
    MapRecord& r = app.store.At(1, 2);
    r = MapRecord{};
    r.RecordType = 12;
    r.RecordText = "5";
    r.RecordX2 = 20;
    r.RecordX3 = 20;  // stored length and unit direction (1, 0)
    r.RecordY3 = 1;
    canvas.ClearRecords();
    DrawRecordChainLineType(app, 1, 2);
    ExpectLines({{0, 0, 2, 0}, {10, 0, 12, 0}});
    EXPECT_EQ(canvas.DrawStyle(), 0);

    r.RecordText = "349";
    t.form1.Text2.SetText("");
    DrawRecordChainLineType(app, 1, 2);
    EXPECT_EQ(t.form1.Text2.Text(), "下标越界9");

    app.symbolStandard.SymbolStandardLoaded = 0;
    canvas.ClearRecords();
    r.RecordText = "5";
    DrawRecordChainLineType(app, 1, 2);
    EXPECT_TRUE(canvas.primitives.empty());
}

TEST_F(LineTypes, RecordSegmentsTakePenColorOrTheirOwn) {
    SetLineType(2, 0, {{Dash, 20}});
    LineRecord(10, 0, "351");
    app.display.PenColor = 0;
    DrawRecordSegmentLineType(app, 1, 1, 2);
    app.display.PenColor = 255;
    DrawRecordSegmentLineType(app, 1, 1, 2);
    const auto lines = Lines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].color, 0x00FF00);
    EXPECT_EQ(lines[1].color, 255);
    EXPECT_EQ(app.display.PenColor, 255);

    // Selector 5 runs to P1 of the next slot; other selectors and ends at (0, 0) draw nothing.
    MapRecord& r = LineRecord(10, 0, "351");
    r.RecordX4 = 5;
    r.RecordY4 = 5;
    app.store.At(1, 2).RecordX1 = 5;
    app.store.At(1, 2).RecordY1 = 15;
    canvas.ClearRecords();
    DrawRecordSegmentLineType(app, 1, 1, 5);
    DrawRecordSegmentLineType(app, 1, 1, 6);
    DrawRecordSegmentLineType(app, 1, 1, 3);  // P3 is (0, 0)
    ExpectLines({{5, 5, 5, 15}});

    // Selector 1: the marker sample, 20 units east of the marker, in CurrentColor while PenColor
    // is 0.
    app.display.MarkerX = 30;
    app.display.MarkerY = 40;
    app.display.MarkerCode = 351;
    app.display.PenColor = 0;
    app.current.CurrentColor = 77;
    canvas.ClearRecords();
    DrawRecordSegmentLineType(app, 1, 1, 1);
    ExpectLines({{30, 40, 50, 40}});
    EXPECT_EQ(Lines()[0].color, 77);
}

TEST_F(LineTypes, ASymbolThatWouldPassTheEndMovesIntoTheLastGap) {
    SetLineType(2, 0, {{Dash, 3}, {Gap, 2}, {Sym, 5}});
    LineRecord(4.5, 0, "351");
    DrawRecordSegmentLineType(app, 1, 1, 2);
    // Dash 0-3; the gap reaches 5, past B: the gap is closed with a line and the symbol stands
    // 70 % into it, also on a segment that runs straight east.
    ExpectLines({{1000, 0.5, 1003, 0.5}, {1003, 0.5, 1004.5, 0.5}, {1004.4, 0.5, 1004.4, 1.5}});

    // A dash after a gap that passed B draws nothing back from beyond B.
    SetLineType(3, 0, {{Dash, 3}, {Gap, 2}, {Dash, 1}});
    LineRecord(4.5, 0, "352");
    canvas.ClearRecords();
    DrawRecordSegmentLineType(app, 1, 1, 2);
    ExpectLines({{1000, 0.5, 1003, 0.5}});
}

TEST_F(LineTypes, RunsWithoutLengthEndAfterOnePass) {
    SetLineType(2, 0, {{Sym, 5}});  // period 0
    DrawLineTypeSegment(app, 0, 0, 10, 0, "351");
    EXPECT_EQ(Lines().size(), 1u);

    // A scale factor of 0 lays one pass, wherever it is read from.
    SetLineType(3, 0, {{Dash, 4}, {Gap, 1}});
    app.view.ProjectParams[0] = 0;
    app.view.ScaleFactor = 0;
    canvas.ClearRecords();
    DrawLineTypeSegment(app, 0, 0, 10, 0, "352");
    LineRecord(10, 0, "352");
    DrawRecordSegmentLineType(app, 1, 1, 2);
    EXPECT_EQ(Lines().size(), 2u);
}

TEST_F(LineTypes, FailuresGoToTheMessageLine) {
    DrawLineTypeSegment(app, 0, 0, 10, 0, "1000");  // type 651
    EXPECT_EQ(t.form1.Text2.Text(), "下标越界9");
    SetLineType(2, 0, {{Dash, 100}});  // the marker names element 2, which holds no symbol
    app.symbolStandard.LineTypePattern.At(2, 0, 0) = 17;
    app.symbolStandard.LineTypePattern.At(2, 17, 0) = Gap;
    app.symbolStandard.LineTypePattern.At(2, 17, 1) = 100;  // names element 18
    app.symbolStandard.LineTypePattern.At(2, 1, 0) = 0;
    t.form1.Text2.SetText("");
    DrawLineTypeSegment(app, 0, 0, 10, 0, "351");
    EXPECT_EQ(t.form1.Text2.Text(), "下标越界9");
}

}  // namespace
}  // namespace movra
