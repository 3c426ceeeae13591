#include "shell/ToolbarIcons.h"

#include "shell/IconCanvas.h"

#include <cmath>
#include <cstdlib>
#include <functional>
#include <map>

namespace movra {

namespace {

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
