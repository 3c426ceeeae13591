#include "shell/ToolbarIcons.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace movra {

namespace {

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

constexpr std::uint32_t Black = 0x202020, White = 0xFFFFFF, Grey = 0x9A9A9A, Red = 0xD02020,
                        Green = 0x20A040, Blue = 0x2060D0, Yellow = 0xF0C030, Brown = 0x9A6A30,
                        Sky = 0x8CC8F0, Dark = 0x505050;

void Magnifier(IconCanvas& c) {
    c.Ring(8, 8, 5.5, Black, 2);
    c.Line(12, 12, 18, 18, Brown, 3);
}

const std::map<std::string, std::function<void(IconCanvas&)>>& Drawings() {
    static const std::map<std::string, std::function<void(IconCanvas&)>> drawings = {
        {"打开", [](IconCanvas& c) { c.Box(2, 5, 18, 17, Yellow, Brown); c.Box(2, 3, 9, 6, Yellow, Brown); }},
        {"存盘", [](IconCanvas& c) { c.Box(2, 2, 18, 18, Blue, Black); c.Box(5, 3, 15, 9, White, Dark);
                                    c.Fill(6, 12, 14, 18, Dark); }},
        {"打印", [](IconCanvas& c) { c.Box(5, 2, 15, 9, White, Black); c.Box(2, 8, 18, 15, Grey, Black);
                                    c.Box(5, 13, 15, 18, White, Black); }},
        {"设层", [](IconCanvas& c) {
             for (int k = 0; k < 3; ++k) {
                 const double y = 4 + k * 5;
                 c.Line(2, y + 3, 8, y, Blue, 2); c.Line(8, y, 18, y, Blue, 2); c.Line(2, y + 3, 12, y + 3, Blue, 2);
                 c.Line(12, y + 3, 18, y, Blue, 2);
             }
         }},
        {"撤消", [](IconCanvas& c) { c.Arrow(17, 10, 3, 10, Blue); c.Line(17, 10, 17, 16, Blue, 2); }},
        {"反撤", [](IconCanvas& c) { c.Arrow(3, 10, 17, 10, Blue); c.Line(3, 10, 3, 16, Blue, 2); }},
        {"删除", [](IconCanvas& c) { c.Line(3, 3, 16, 16, Red, 3); c.Line(16, 3, 3, 16, Red, 3); }},
        {"剪切", [](IconCanvas& c) { c.Ring(5, 15, 3, Black, 2); c.Ring(15, 15, 3, Black, 2);
                                    c.Line(7, 13, 14, 2, Grey, 2); c.Line(13, 13, 6, 2, Grey, 2); }},
        {"拷贝", [](IconCanvas& c) { c.Box(2, 2, 12, 14, White, Black); c.Box(8, 6, 18, 18, White, Black);
                                    c.Line(10, 10, 16, 10, Grey); c.Line(10, 13, 16, 13, Grey); }},
        {"粘贴", [](IconCanvas& c) { c.Box(3, 3, 17, 19, Brown, Black); c.Box(7, 1, 13, 5, Grey, Black);
                                    c.Box(6, 7, 15, 17, White, Dark); }},
        {"注记", [](IconCanvas& c) { c.Line(4, 17, 10, 2, Black, 2); c.Line(10, 2, 16, 17, Black, 2);
                                    c.Line(6, 12, 14, 12, Black, 2); }},
        {"建模", [](IconCanvas& c) { c.Line(2, 17, 10, 3, Green, 2); c.Line(10, 3, 18, 17, Green, 2);
                                    c.Line(2, 17, 18, 17, Green, 2); c.Line(10, 3, 10, 17, Green);
                                    c.Line(6, 10, 14, 10, Green); }},
        {"设置", [](IconCanvas& c) {
             for (int k = 0; k < 8; ++k) {
                 const double a = k * M_PI / 4;
                 c.Line(10, 10, 10 + 8 * std::cos(a), 10 + 8 * std::sin(a), Dark, 3);
             }
             c.Disc(10, 10, 5.5, Grey); c.Disc(10, 10, 2, White);
         }},
        {"插入", [](IconCanvas& c) { c.Fill(8, 3, 12, 17, Green); c.Fill(3, 8, 17, 12, Green); }},
        {"图像", [](IconCanvas& c) { c.Box(2, 3, 18, 17, Sky, Black); c.Disc(14, 7, 2, Yellow);
                                    c.Line(3, 16, 8, 9, Green, 2); c.Line(8, 9, 13, 16, Green, 2); }},
        {"查询A", [](IconCanvas& c) { c.Ring(10, 7, 4.5, Blue, 2); c.Fill(10, 11, 12, 14, Blue);
                                     c.Fill(10, 16, 12, 18, Blue); }},
        {"放大2", [](IconCanvas& c) { Magnifier(c); c.Line(5, 8, 11, 8, Black, 2); c.Line(8, 5, 8, 11, Black, 2); }},
        {"刷新2", [](IconCanvas& c) { c.Ring(10, 10, 6.5, Green, 2); c.Arrow(16, 6, 17, 11, Green); }},
        {"复原2", [](IconCanvas& c) {
             c.Line(2, 2, 7, 2, Black, 2); c.Line(2, 2, 2, 7, Black, 2); c.Line(18, 2, 13, 2, Black, 2);
             c.Line(18, 2, 18, 7, Black, 2); c.Line(2, 18, 7, 18, Black, 2); c.Line(2, 18, 2, 13, Black, 2);
             c.Line(18, 18, 13, 18, Black, 2); c.Line(18, 18, 18, 13, Black, 2); c.Box(7, 7, 13, 13, Blue, Blue);
         }},
        {"缩放2", [](IconCanvas& c) { Magnifier(c); c.Line(5, 8, 11, 8, Black, 2); }},
        {"移动2", [](IconCanvas& c) { c.Arrow(10, 10, 10, 2, Black); c.Arrow(10, 10, 10, 18, Black);
                                     c.Arrow(10, 10, 2, 10, Black); c.Arrow(10, 10, 18, 10, Black); }},
    };
    return drawings;
}

}  // namespace

Picture ToolbarIcon(const std::string& key, int size) {
    IconCanvas canvas(size);
    const auto& drawings = Drawings();
    auto found = drawings.find(key);
    if (found != drawings.end())
        found->second(canvas);
    else
        canvas.Box(3, 3, 17, 17, White, Dark);
    return canvas.Take();
}

}  // namespace movra
