#pragma once
// A fresh program over the fake platform with the canvas as a recording surface, ScaleFactor 1
// (1:1000) and a small symbol standard made in memory.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <utility>
#include <vector>

#include "platform/fake/RecordingSurface.h"
#include "support/PictureTestHelpers.h"
#include "support/TestApp.h"

namespace movra {

using Kind = SurfacePrimitive::Kind;

struct Segment {
    double x1, y1, x2, y2;
};

inline bool Near(double a, double b) { return std::fabs(a - b) < 1e-4; }

inline bool SameSegment(const SurfacePrimitive& p, const Segment& s) {
    return Near(p.x1, s.x1) && Near(p.y1, s.y1) && Near(p.x2, s.x2) && Near(p.y2, s.y2);
}

class DisplayTest : public ::testing::Test {
protected:
    DisplayTest() : canvas(static_cast<RecordingSurface&>(t.form1.Picture1.surface())) {
        app.view.ScaleFactor = 1;
        app.view.DisplayZoom = 1;
        DimensionStandard();
        canvas.ClearRecords();
    }

    void DimensionStandard() { DimensionEmptyStandard(app.symbolStandard); }
    void SetElement(int n, int e, int kind, std::initializer_list<std::pair<double, double>> points) {
        SetSymbolElement(app.symbolStandard, n, e, kind, points);
    }
    void SetLineType(int t, int width, std::initializer_list<std::pair<int, float>> elements) {
        SetLineTypeElements(app.symbolStandard, t, width, elements);
    }

    std::vector<SurfacePrimitive> Lines() const { return canvas.PrimitivesOf(Kind::Line); }
    std::vector<SurfacePrimitive> Of(Kind kind) const { return canvas.PrimitivesOf(kind); }

    void ExpectLines(const std::vector<Segment>& expected) const {
        const auto lines = Lines();
        ASSERT_EQ(lines.size(), expected.size());
        for (size_t i = 0; i < expected.size(); ++i) {
            EXPECT_TRUE(SameSegment(lines[i], expected[i]))
                << "line " << i << ": (" << lines[i].x1 << ", " << lines[i].y1 << ")-(" << lines[i].x2
                << ", " << lines[i].y2 << ") expected (" << expected[i].x1 << ", " << expected[i].y1
                << ")-(" << expected[i].x2 << ", " << expected[i].y2 << ")";
        }
    }

    std::vector<SurfaceStateCall> PenCalls() const {
        std::vector<SurfaceStateCall> calls;
        for (const auto& c : canvas.stateCalls) {
            if (c.name == "DrawWidth" || c.name == "DrawStyle") calls.push_back(c);
        }
        return calls;
    }

    TestApp t;
    App& app = t.app;
    RecordingSurface& canvas;
};

}  // namespace movra
