#include "geomops/InkFillSpans.h"

#include "App.h"
#include "document/RecordTypes.h"
#include "document/RecordVertices.h"
#include "geomops/CutAlongLine.h"
#include "shell/stForm1.h"

namespace movra {

InkSpanWriter::InkSpanWriter(App& app, Rgb color) : app_(app), layer_(app.store.CurrentLayer), color_(color) {}

InkSpanWriter::~InkSpanWriter() {
    try {
        Finish();
    } catch (...) {
        // A record that cannot be committed stays out of the count.
    }
}

bool InkSpanWriter::Add(double left, double y, double length) {
    RecordStore& store = app_.store;
    if (place_ == 0) {
        if (!RoomForPieces(app_, layer_, 1)) return false;
        MapRecord& r = store.At(layer_, store.Count(layer_));
        r = MapRecord{};
        r.RecordType = TypeTicksLevel;  // each span a level tick from its left end
        r.RecordColor = color_;
        r.RecordPen = InkFillPen;
    }
    MapRecord& r = store.At(layer_, store.Count(layer_));
    SetVertexPoint(r, place_ + 1, {left, y});
    VertexZ(r, place_ + 1) = static_cast<float>(length);
    app_.current.ModifiedFlag = -1;
    if (++place_ == 4) Finish();
    return true;
}

void InkSpanWriter::Finish() {
    if (place_ == 0) return;
    ++app_.store.Count(layer_);
    place_ = 0;
}

InkFillScope::InkFillScope(App& app) : app_(app), layer_(app.store.CurrentLayer) {
    if (app.form1) canvas_ = &app.form1->Picture1.surface();
    if (canvas_) canvas_->SetDrawWidth(2);
}

InkFillScope::~InkFillScope() {
    try {
        if (canvas_) canvas_->SetDrawWidth(1);
        app_.geometry.ScratchXY.assign(1, 0.0);
        RecordStore& store = app_.store;
        const std::int32_t open = store.Count(layer_);
        // The seed the ink tool leaves in the open slot before the fill.
        if (open >= 0 && open <= store.LayerCapacity && store.Get(layer_, open).RecordType == TypeInkFill)
            store.At(layer_, open) = MapRecord{};
    } catch (...) {
        // Ends quietly, as the fill does.
    }
}

}  // namespace movra
