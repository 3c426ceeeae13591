#pragma once
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

#include "platform/Picture.h"

namespace movra {

// A small canvas on a picture: coordinates in a 20 x 20 grid, scaled to the icon's size.
class IconCanvas {
public:
    explicit IconCanvas(int size) : scale_(size / 20.0) {
        picture_.width = size;
        picture_.height = size;
        picture_.pixels.assign(static_cast<size_t>(size) * size, 0x00000000u);  // transparent
    }
    Picture Take() { return std::move(picture_); }

    void Dot(int x, int y, std::uint32_t rgb) {
        if (x < 0 || y < 0 || x >= picture_.width || y >= picture_.height) return;
        picture_.pixels[static_cast<size_t>(y) * picture_.width + x] = 0xFF000000u | rgb;
    }
    void Fill(double x0, double y0, double x1, double y1, std::uint32_t rgb) {
        for (int y = Px(y0); y < Px(y1); ++y)
            for (int x = Px(x0); x < Px(x1); ++x) Dot(x, y, rgb);
    }
    void Line(double x0, double y0, double x1, double y1, std::uint32_t rgb, int width = 1) {
        const double steps = std::max(std::abs(x1 - x0), std::abs(y1 - y0)) * scale_ * 2 + 1;
        for (int i = 0; i <= steps; ++i) {
            const double t = i / steps;
            const int x = Px(x0 + (x1 - x0) * t), y = Px(y0 + (y1 - y0) * t);
            for (int dy = 0; dy < width; ++dy)
                for (int dx = 0; dx < width; ++dx) Dot(x + dx, y + dy, rgb);
        }
    }
    void Frame(double x0, double y0, double x1, double y1, std::uint32_t rgb) {
        Line(x0, y0, x1, y0, rgb);
        Line(x1, y0, x1, y1, rgb);
        Line(x1, y1, x0, y1, rgb);
        Line(x0, y1, x0, y0, rgb);
    }
    void Box(double x0, double y0, double x1, double y1, std::uint32_t fill, std::uint32_t edge) {
        Fill(x0, y0, x1, y1, fill);
        Frame(x0, y0, x1 - 1 / scale_, y1 - 1 / scale_, edge);
    }
    void Ring(double cx, double cy, double r, std::uint32_t rgb, int width = 1) {
        for (int a = 0; a < 72; ++a) {
            const double t0 = a * M_PI / 36, t1 = (a + 1) * M_PI / 36;
            Line(cx + r * std::cos(t0), cy + r * std::sin(t0), cx + r * std::cos(t1), cy + r * std::sin(t1), rgb,
                 width);
        }
    }
    void Disc(double cx, double cy, double r, std::uint32_t rgb) {
        for (int y = Px(cy - r); y <= Px(cy + r); ++y)
            for (int x = Px(cx - r); x <= Px(cx + r); ++x) {
                const double dx = x / scale_ - cx, dy = y / scale_ - cy;
                if (dx * dx + dy * dy <= r * r) Dot(x, y, rgb);
            }
    }
    void Ellipse(double cx, double cy, double rx, double ry, std::uint32_t rgb, int width = 1) {
        Arc(cx, cy, rx, ry, 0, 2 * M_PI, rgb, width);
    }
    // Part of an ellipse, angles in radians counter-clockwise from +x (y of the grid points down).
    void Arc(double cx, double cy, double rx, double ry, double a0, double a1, std::uint32_t rgb, int width = 1) {
        const int steps = 48;
        for (int k = 0; k < steps; ++k) {
            const double t0 = a0 + (a1 - a0) * k / steps, t1 = a0 + (a1 - a0) * (k + 1) / steps;
            Line(cx + rx * std::cos(t0), cy - ry * std::sin(t0), cx + rx * std::cos(t1), cy - ry * std::sin(t1), rgb,
                 width);
        }
    }
    // A line drawn in dashes of `on` grid units with gaps of `off`.
    void Dashed(double x0, double y0, double x1, double y1, std::uint32_t rgb, double on = 2, double off = 1.5) {
        const double length = std::hypot(x1 - x0, y1 - y0);
        if (length <= 0) return;
        for (double d = 0; d < length; d += on + off) {
            const double e = std::min(length, d + on);
            Line(x0 + (x1 - x0) * d / length, y0 + (y1 - y0) * d / length, x0 + (x1 - x0) * e / length,
                 y0 + (y1 - y0) * e / length, rgb);
        }
    }
    // A digit 0..9 as seven segments in a box 3 wide and 5 high from (x, y).
    void Digit(double x, double y, int digit, std::uint32_t rgb) {
        static const unsigned char segments[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
        const unsigned char on = segments[((digit % 10) + 10) % 10];
        const double w = 3, h = 2.5;
        if (on & 0x01) Line(x, y, x + w, y, rgb);
        if (on & 0x02) Line(x + w, y, x + w, y + h, rgb);
        if (on & 0x04) Line(x + w, y + h, x + w, y + 2 * h, rgb);
        if (on & 0x08) Line(x, y + 2 * h, x + w, y + 2 * h, rgb);
        if (on & 0x10) Line(x, y + h, x, y + 2 * h, rgb);
        if (on & 0x20) Line(x, y, x, y + h, rgb);
        if (on & 0x40) Line(x, y + h, x + w, y + h, rgb);
    }
    void Arrow(double x0, double y0, double x1, double y1, std::uint32_t rgb) {
        Line(x0, y0, x1, y1, rgb, 2);
        const double a = std::atan2(y1 - y0, x1 - x0);
        for (double side : {2.5, -2.5})
            Line(x1, y1, x1 - 5 * std::cos(a + side / 3), y1 - 5 * std::sin(a + side / 3), rgb, 2);
    }

private:
    int Px(double v) const { return static_cast<int>(std::lround(v * scale_)); }
    double scale_;
    Picture picture_;
};

}  // namespace movra
