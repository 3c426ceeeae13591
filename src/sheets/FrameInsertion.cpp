#include "sheets/FrameInsertion.h"

#include <cmath>
#include <exception>
#include <string>

#include "App.h"
#include "basic/Numbers.h"
#include "document/SlotEditing.h"
#include "sheets/SheetFrameTemplate.h"

namespace movra {

namespace {

constexpr const char* OverwriteQuestion = "已加图廓，要覆盖吗？，y/覆盖，n/不动，esc/删除";

// Equal within a millionth of the sheet side: the frame's corners are sums of the corner and of
// template offsets, so they may differ from a recomputation in the last bits.
bool Near(double a, double b, double side) { return std::abs(a - b) <= 1e-6 * std::abs(side); }

bool IsSquareAt(const MapRecord& r, double x0, double y0, double x1, double y1, double side) {
    return Near(r.RecordX1, x0, side) && Near(r.RecordY1, y0, side) && Near(r.RecordX2, x1, side) &&
           Near(r.RecordY2, y0, side) && Near(r.RecordX3, x1, side) && Near(r.RecordY3, y1, side) &&
           Near(r.RecordX4, x0, side) && Near(r.RecordY4, y1, side);
}

}  // namespace

std::int16_t FrameExistsAt(const App& app, int layer, double x, double y) {
    try {
        const auto& store = app.store;
        const double side = SheetSide(app);
        if (!(side > 0) || store.Count(layer) < FrameItems) return -1;
        const MapRecord& inner = store.Get(layer, 0);
        const MapRecord& outer = store.Get(layer, 1);
        if (inner.RecordType != FrameQuadType || outer.RecordType != FrameQuadType ||
            store.Get(layer, 2).RecordType != FrameQuadType) {
            return -1;
        }
        const double x0 = inner.RecordX1;
        const double y0 = inner.RecordY1;
        const double margin = FrameOuterMargin * app.view.ScaleFactor;
        const bool onGrid = Near(x0, side * std::round(x0 / side), side) && Near(y0, side * std::round(y0 / side), side);
        if (!onGrid || !IsSquareAt(inner, x0, y0, x0 + side, y0 + side, side) ||
            !IsSquareAt(outer, x0 - margin, y0 - margin, x0 + side + margin, y0 + side + margin, side)) {
            return -1;
        }
        return x0 == x && y0 == y ? 0 : 1;
    } catch (const std::exception&) {
        return -1;
    }
}

void AddSheetFrame(App& app, double x, double y) {
    try {
        if (!(app.view.ProjectParams[0] > 0) || !FrameTemplateBuilt(app)) return;
        auto& store = app.store;
        const double side = SheetSide(app);
        const double x0 = side * Int(x / side);
        const double y0 = side * Int(y / side);
        if (!std::isfinite(x0) || !std::isfinite(y0)) return;
        const int items = app.sheets.FrameItemCount + 1;

        switch (FrameExistsAt(app, 1, x0, y0)) {
            case -1: {
                const int before = store.Count(1);
                InsertSlots(app, 1, 0, static_cast<std::int16_t>(items));
                // Without the room the frame would overwrite the layer's own records.
                if (store.Count(1) != before + items) return;
                break;
            }
            case 1:
                break;
            default: {
                const std::string text =
                    OverwriteQuestion + PlainNumberText(y0) + "-" + PlainNumberText(x0) + "图廓";
                const int answer = app.platform.prompt().MsgBox(text, MsgYesNoCancel, FrameTitle);
                if (answer == AnswerNo) return;
                if (answer != AnswerYes) {
                    DeleteSlots(app, 1, 0, static_cast<std::int16_t>(items));
                    app.current.ModifiedFlag = -1;
                    return;
                }
            }
        }

        for (int i = 0; i < items; ++i) {
            const MapRecord& item = store.Get(0, Layer0Slots::FrameTemplateFirst + i);
            const auto placed = PlaceFrameItem(app, item, x0, y0);
            if (!placed) continue;
            MapRecord& target = store.At(1, i);
            // The slot keeps its own second text and merged-file tag.
            const std::string extra = target.RecordExtra;
            const std::uint8_t source = target.RecordSource;
            target = *placed;
            target.RecordExtra = extra;
            target.RecordSource = source;
        }
        app.current.ModifiedFlag = -1;
    } catch (const std::exception&) {
        // Ends quietly, keeping what was written.
    }
}

}  // namespace movra
