#pragma once
// How the scan-line fills keep what they find: spans drawn on the canvas and packed four to an
// ink-fill record at the end of the current layer, and the frame every ink fill runs in.
#include <cstdint>

#include "platform/Color.h"

namespace movra {

struct App;
class Surface;

constexpr std::uint8_t InkFillPen = 8;  // solid, width 2

// Writes spans into ink-fill records from the current layer's open slot on: a record is opened
// by its first span and committed by its fourth (or by Finish). The layer grows before a record
// is opened; where it cannot, Add shows the layer-full message and gives false.
class InkSpanWriter {
public:
    InkSpanWriter(App& app, Rgb color);
    ~InkSpanWriter();
    InkSpanWriter(const InkSpanWriter&) = delete;
    InkSpanWriter& operator=(const InkSpanWriter&) = delete;

    // The span from (left, y) to (left + length, y).
    bool Add(double left, double y, double length);
    // Commits a record that holds one to three spans.
    void Finish();

private:
    App& app_;
    int layer_;
    Rgb color_;
    int place_ = 0;  // spans in the open record; 0 when none is open
};

// The frame of one ink fill: the canvas draws at width 2 while it runs and at 1 after it, the
// scratch points are given up, and a seed the ink tool left in the open slot, which no record
// overwrote, is taken away, so that the layer's count ends right after what the fill stored.
class InkFillScope {
public:
    explicit InkFillScope(App& app);
    ~InkFillScope();
    InkFillScope(const InkFillScope&) = delete;
    InkFillScope& operator=(const InkFillScope&) = delete;

    // The main window's canvas, or none.
    Surface* Canvas() const { return canvas_; }

private:
    App& app_;
    Surface* canvas_ = nullptr;
    int layer_;
};

}  // namespace movra
