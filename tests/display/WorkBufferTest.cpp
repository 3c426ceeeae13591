#include <cstdint>

#include "DisplayFixture.h"
#include "basic/Numbers.h"
#include "display/ClipBufferItemRenderer.h"
#include "display/HighlightRenderer.h"
#include "display/VertexDrag.h"
#include "display/WorkBuffer.h"
#include "document/Layers.h"

namespace movra {
namespace {

class WorkBufferTest : public DisplayTest {
protected:
    WorkBufferTest() {
        app.store.Count(1) = 10;
        app.store.LayerOnFlag[1] = True;
        canvas.SetScale(200, 300, 100, -100);  // cleared slots at (0, 0) lie outside
        canvas.ClearRecords();
    }
    MapRecord& Put(int slot, int type, double x1, double y1) {
        MapRecord& r = app.store.At(1, slot);
        r = MapRecord{};
        r.RecordType = static_cast<std::uint8_t>(type);
        r.RecordColor = MakeRgb(200, 10, 10);
        r.RecordX1 = x1; r.RecordY1 = y1; r.RecordX2 = x1 + 5; r.RecordY2 = y1 + 5;
        r.RecordX3 = x1 + 10; r.RecordY3 = y1; r.RecordX4 = x1 + 15; r.RecordY4 = y1 + 5;
        return r;
    }
};

TEST_F(WorkBufferTest, HighlightDrawsGivenColourAndSetsPenColorForDeleted) {
    Put(0, 2, 10, 10).RecordColor = MakeRgb(1, 2, 3);
    刷图元(app, 1, 0, 0);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].color, 0);
    EXPECT_EQ(app.display.PenColor, MakeRgb(1, 2, 3));
    Put(1, 102, 10, 10).RecordColor = MakeRgb(9, 9, 9);
    canvas.ClearRecords();
    刷图元(app, 1, 1, 0);
    EXPECT_TRUE(canvas.primitives.empty());
    EXPECT_EQ(app.display.PenColor, MakeRgb(9, 9, 9));
}

TEST_F(WorkBufferTest, BoundaryChainHandledInHighlightPlainInPreview) {
    Put(0, 30, 210, 210);
    Put(1, 26, 260, 260);
    刷图元(app, 1, 1, 0);
    EXPECT_TRUE(Lines().empty());  // one vertex: nothing
    刷图元(app, 1, 0, MakeRgb(0, 0, 255));
    ASSERT_GE(Lines().size(), 4u);  // four handled segments, the last to the next slot
    EXPECT_EQ(Lines()[0].color, MakeRgb(0, 0, 255));
    canvas.ClearRecords();
    DrawVertexDrag(app, 0, 0, 1, 0, 0, 1);
    ASSERT_EQ(Lines().size(), 4u);  // slot 0's four plain segments; 26 draws nothing
    EXPECT_EQ(Lines()[3].x2, 260);
}

// A canvas whose drawing fails part-way, as a full disk or a bad font would make a real one fail.
class FailingSurface : public RecordingSurface {
public:
    void Line(double x1, double y1, double x2, double y2, Rgb color, LineShape shape) override {
        if (++lines_ == 2) {
            failed = true;
            throw RuntimeError(ErrOverflow);
        }
        RecordingSurface::Line(x1, y1, x2, y2, color, shape);
    }
    bool failed = false;

private:
    int lines_ = 0;
};

TEST_F(WorkBufferTest, VertexDragPutsTheVertexBackWhenDrawingFails) {
    for (int s = 0; s <= 5; ++s) Put(s, 2, 10 * s, 10);
    const MapRecord before = app.store.Get(1, 2);
    FailingSurface failing;
    app.display.Redraw.CanvasRedirect = &failing;
    try {
        DrawVertexDrag(app, 77, 88, 1, 2, 2, 1);
    } catch (const RuntimeError&) {
        // Where the failure surfaces is the renderer's choice; the store must be whole either way.
    }
    app.display.Redraw.CanvasRedirect = nullptr;
    ASSERT_TRUE(failing.failed);
    EXPECT_EQ(app.store.Get(1, 2), before);
}

TEST_F(WorkBufferTest, VertexDragDrawsFourSlotsAndRestoresTheVertex) {
    for (int s = 0; s <= 5; ++s) Put(s, 2, 10 * s, 10);
    const MapRecord before = app.store.Get(1, 2);
    DrawVertexDrag(app, 77, 88, 1, 2, 2, 1);
    EXPECT_EQ(Lines().size(), 4u);  // slots 1..4
    bool sawMoved = false;
    for (const auto& l : Lines()) sawMoved = sawMoved || (l.x2 == 77 && l.y2 == 88);
    EXPECT_TRUE(sawMoved);
    EXPECT_EQ(app.store.Get(1, 2), before);
    // Slots past the store: refused before anything moves.
    EXPECT_THROW(DrawVertexDrag(app, 1, 1, 1, app.store.LayerCapacity, 1, 1), RuntimeError);
}

TEST_F(WorkBufferTest, PlainFillAddsLinkItemAndTextSizes) {
    app.view.TiltSin = 1;
    app.view.DisplayZoom = 2;
    Put(0, 5, 210, 210);
    Put(1, 2, 500, 500);  // out of the window: only read as the link
    MapRecord& t = Put(2, 66, 220, 220);
    t.RecordX2 = 3; t.RecordY2 = 0.8; t.RecordZ2 = 30;
    float dxiao = 2;
    xzldk(app, dxiao);
    ASSERT_EQ(app.clip.ClipBufferCount, 3);
    EXPECT_EQ(app.clip.Items[2].RecordType, 1);
    EXPECT_EQ(app.clip.Items[2].RecordX1, 500);
    EXPECT_EQ(app.clip.Items[3].RecordX4, 7);
    EXPECT_EQ(app.clip.Items[3].RecordY4, 3);
    EXPECT_EQ(app.clip.Items[3].RecordZ4, 300);
}

TEST_F(WorkBufferTest, TiltedFillOfFillGroupAndBadCount) {
    app.view.TiltSin = 0.5;
    app.view.TiltAngle = 30;
    Put(0, 13, 210, 210).RecordZ4 = 3;
    for (int s = 1; s <= 3; ++s) Put(s, 27, 600, 600);
    Put(4, 13, 210, 210).RecordZ4 = 1000;  // past the layer: cut to its records
    float dxiao = 1;
    xzldk(app, dxiao);
    EXPECT_EQ(app.clip.Items[1].RecordType, 13);
    EXPECT_EQ(app.clip.ClipBufferCount, 4 + 1 + 5);
}

TEST_F(WorkBufferTest, Limits) {
    Put(0, 2, 10, 10);
    std::uint8_t layer = 1;
    std::int16_t slot = 0;
    app.clip.ClipBufferCount = ClipBufferPlainLimit;
    AppendRecordToClipBuffer(app, layer, slot);
    EXPECT_EQ(app.clip.ClipBufferCount, ClipBufferPlainLimit);
    app.clip.ClipBufferCount = ClipBufferTiltedLimit;
    AppendTiltedRecord(app, layer, slot);
    EXPECT_EQ(app.clip.ClipBufferCount, ClipBufferTiltedLimit);
}

TEST_F(WorkBufferTest, Draw3DViewOfEmptyBufferDrawsGroundLineAndKeepsTop) {
    app.view.TiltSin = 0.5;
    app.clip.ClipBufferCount = 0;
    Draw3DView(app);
    ASSERT_EQ(Lines().size(), 1u);
    EXPECT_EQ(Lines()[0].color, 0xFF0000);
    EXPECT_EQ(canvas.ScaleTop(), 300);
}

// A layer holding one record goes into the buffer like a full one, whether its record stands in
// slot 0 or, as a DXF import leaves a layer, in slot 1 after an empty slot 0; flat and tilted.
TEST_F(WorkBufferTest, ALayerOfOneRecordAmongFullOnesGoesIntoTheBuffer) {
    app.store.LayerCount = 4;
    app.store.NextLayerIndex = 5;
    新建层(app);
    auto put = [&](int layer, int slot, double x) {
        MapRecord& r = app.store.At(layer, slot);
        r.RecordType = 2;
        r.RecordX1 = x, r.RecordY1 = 250, r.RecordX2 = x + 1, r.RecordY2 = 251;
        app.store.Count(layer) = slot + 1;
    };
    for (int layer = 1; layer <= 4; ++layer) app.store.LayerOnFlag[static_cast<std::size_t>(layer)] = True;
    for (int k = 0; k < 4; ++k) put(1, k, 210 + k);
    put(2, 0, 250.5);  // one record in slot 0
    for (int k = 0; k < 4; ++k) put(3, k, 220 + k);
    put(4, 1, 260.5);  // slot 0 empty, one record in slot 1
    for (const bool tilted : {false, true}) {
        SCOPED_TRACE(tilted ? "tilted" : "flat");
        app.view.TiltSin = tilted ? 0.5 : 1;
        app.view.TiltAngle = tilted ? 30 : 90;
        float dxiao = 0;
        xzldk(app, dxiao);
        int lines = 0;
        bool second = false, fourth = false;
        for (int i = 1; i <= app.clip.ClipBufferCount; ++i) {
            const MapRecord& item = app.clip.Items[static_cast<std::size_t>(i)];
            lines += item.RecordType == 2;
            second = second || item.RecordX1 == 250.5;
            fourth = fourth || item.RecordX1 == 260.5;
        }
        EXPECT_TRUE(second);
        EXPECT_TRUE(fourth);
        EXPECT_EQ(lines, 10);
    }
}

}  // namespace
}  // namespace movra
