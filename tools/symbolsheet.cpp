// Draws every point symbol and every line type of a symbol-standard file into one PNG sheet, so
// a person can look at the shapes. The drawing follows the figures' own rules (paper millimetres,
// y up, symbols along a line turned to its left normal) with a small rasteriser of its own; it is
// an inspection aid, not the program's renderer.
//
//   symbolsheet STANDARD.tus OUTPUT.png [pixels-per-mm]

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "platform/Picture.h"
#include "symbols/SymbolCode.h"
#include "symbols/TusFile.h"
#include "symbols/TusItem.h"

using namespace movra;

namespace {

constexpr double Pi = 3.14159265358979323846;

// ---- PNG without compression (stored deflate blocks) ----

std::uint32_t Crc32(const std::string& bytes, size_t from) {
    static std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> t{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[n] = c;
        }
        return t;
    }();
    std::uint32_t c = 0xFFFFFFFFu;
    for (size_t i = from; i < bytes.size(); ++i)
        c = table[(c ^ static_cast<unsigned char>(bytes[i])) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

void PutBE32(std::string& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>((v >> shift) & 0xFF));
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
    PutBE32(png, static_cast<std::uint32_t>(data.size()));
    const size_t start = png.size();
    png += type;
    png += data;
    PutBE32(png, Crc32(png, start));
}

bool SavePng(const Picture& picture, const std::string& path) {
    std::string raw;
    raw.reserve(static_cast<size_t>(picture.height) * (picture.width * 3 + 1));
    for (int y = 0; y < picture.height; ++y) {
        raw.push_back('\0');
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t p = picture.At(x, y);
            raw.push_back(static_cast<char>((p >> 16) & 0xFF));
            raw.push_back(static_cast<char>((p >> 8) & 0xFF));
            raw.push_back(static_cast<char>(p & 0xFF));
        }
    }
    std::string z = "\x78\x01";
    std::uint32_t a = 1, b = 0;
    for (unsigned char c : raw) {
        a = (a + c) % 65521;
        b = (b + a) % 65521;
    }
    for (size_t pos = 0; pos < raw.size() || pos == 0;) {
        const size_t n = std::min<size_t>(65535, raw.size() - pos);
        const bool last = pos + n >= raw.size();
        z.push_back(last ? 1 : 0);
        z.push_back(static_cast<char>(n & 0xFF));
        z.push_back(static_cast<char>(n >> 8));
        z.push_back(static_cast<char>(~n & 0xFF));
        z.push_back(static_cast<char>((~n >> 8) & 0xFF));
        z.append(raw, pos, n);
        pos += n;
        if (last) break;
    }
    PutBE32(z, (b << 16) | a);

    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBE32(header, static_cast<std::uint32_t>(picture.width));
    PutBE32(header, static_cast<std::uint32_t>(picture.height));
    header += std::string("\x08\x02\x00\x00\x00", 5);
    PutChunk(png, "IHDR", header);
    PutChunk(png, "IDAT", z);
    PutChunk(png, "IEND", "");
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(png.data(), static_cast<std::streamsize>(png.size()));
    return static_cast<bool>(out);
}

// ---- a canvas in paper millimetres, y up ----

struct Canvas {
    Picture picture;
    double pxPerMm = 8;
    double heightMm = 0;
    std::uint32_t color = 0xFF000000;
    double widthPx = 1;

    Canvas(double widthMm, double heightMmIn, double scale) : pxPerMm(scale), heightMm(heightMmIn) {
        picture.width = static_cast<int>(widthMm * scale);
        picture.height = static_cast<int>(heightMm * scale);
        picture.pixels.assign(static_cast<size_t>(picture.width) * picture.height, 0xFFFFFFFF);
    }
    void Dot(double px, double py) {
        const double r = std::max(0.5, widthPx / 2);
        for (int y = static_cast<int>(std::floor(py - r)); y <= static_cast<int>(std::ceil(py + r)); ++y)
            for (int x = static_cast<int>(std::floor(px - r)); x <= static_cast<int>(std::ceil(px + r)); ++x) {
                if (x < 0 || y < 0 || x >= picture.width || y >= picture.height) continue;
                const double dx = x + 0.5 - px, dy = y + 0.5 - py;
                if (dx * dx + dy * dy <= r * r + 0.25) picture.pixels[static_cast<size_t>(y) * picture.width + x] = color;
            }
    }
    double Px(double xMm) const { return xMm * pxPerMm; }
    double Py(double yMm) const { return (heightMm - yMm) * pxPerMm; }
    void Line(double x1, double y1, double x2, double y2) {
        const double len = std::hypot(Px(x2) - Px(x1), Py(y2) - Py(y1));
        const int steps = std::max(1, static_cast<int>(len * 2));
        for (int i = 0; i <= steps; ++i) {
            const double t = static_cast<double>(i) / steps;
            Dot(Px(x1 + (x2 - x1) * t), Py(y1 + (y2 - y1) * t));
        }
    }
    // Counter-clockwise from start to end (radians); a full circle when start == end.
    void Arc(double cx, double cy, double r, double start, double end) {
        double sweep = end - start;
        while (sweep <= 0) sweep += 2 * Pi;
        const int steps = std::max(16, static_cast<int>(r * pxPerMm * sweep * 2));
        for (int i = 0; i <= steps; ++i) {
            const double a = start + sweep * i / steps;
            Dot(Px(cx + r * std::cos(a)), Py(cy + r * std::sin(a)));
        }
    }
};

// Small digits, 3 x 5, for the numbers beside the figures.
void Digits(Canvas& canvas, double xMm, double yMm, int number) {
    static const char* glyphs[10] = {"111101101101111", "010110010010111", "111001111100111",
                                     "111001111001111", "101101111001001", "111100111001111",
                                     "111100111101111", "111001001001001", "111101111101111",
                                     "111101111001111"};
    const std::string text = std::to_string(number);
    const double cell = 0.25;
    const double saved = canvas.widthPx;
    canvas.widthPx = 1;
    for (size_t c = 0; c < text.size(); ++c) {
        const char* g = glyphs[text[c] - '0'];
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col)
                if (g[row * 3 + col] == '1') {
                    const double x = xMm + (c * 4 + col) * cell, y = yMm - row * cell;
                    for (int sy = 0; sy < 2; ++sy)
                        for (int sx = 0; sx < 2; ++sx)
                            canvas.Dot(canvas.Px(x) + sx, canvas.Py(y) + sy);
                }
    }
    canvas.widthPx = saved;
}

// Turns (vx, vy) clockwise by the azimuth of (dx, dy) (north = 0, clockwise).
void Turn(double vx, double vy, double dx, double dy, double& ox, double& oy) {
    const double a = std::atan2(dx, dy);
    ox = vx * std::cos(a) + vy * std::sin(a);
    oy = -vx * std::sin(a) + vy * std::cos(a);
}

void DrawSymbol(Canvas& canvas, SymbolStandard& st, int n, double x, double y, double dx, double dy,
                double size = 1) {
    if (n < 0 || n > MaxSymbolIndex) return;
    const double saved = canvas.widthPx;
    canvas.widthPx = 1;
    const int last = static_cast<int>(std::lround(st.SymbolElementCount.At(n)));
    const double turn = std::atan2(dx, dy);
    auto point = [&](int e, int k, double& px, double& py) {
        Turn(st.SymbolX.At(n, e, k) * size, st.SymbolY.At(n, e, k) * size, dx, dy, px, py);
        px += x;
        py += y;
    };
    for (int e = 0; e <= last && e <= MaxSymbolElementIndex; ++e) {
        const int kind = static_cast<int>(st.SymbolX.At(n, e, 0));
        double x1, y1, x2, y2;
        switch (kind) {
        case SymbolSegment:
            point(e, 1, x1, y1);
            point(e, 2, x2, y2);
            canvas.Line(x1, y1, x2, y2);
            break;
        case SymbolPolyline: {
            const int k = std::min(5, static_cast<int>(std::lround(st.SymbolY.At(n, e, 0))));
            for (int j = 1; j < k; ++j) {
                point(e, j, x1, y1);
                point(e, j + 1, x2, y2);
                canvas.Line(x1, y1, x2, y2);
            }
            break;
        }
        case SymbolCircle:
            point(e, 1, x1, y1);
            canvas.Arc(x1, y1, st.SymbolX.At(n, e, 2) * size, 0, 0);
            break;
        case SymbolArc: {
            point(e, 1, x1, y1);
            const double cx = st.SymbolX.At(n, e, 1), cy = st.SymbolY.At(n, e, 1);
            const double r = std::hypot(st.SymbolX.At(n, e, 2) - cx, st.SymbolY.At(n, e, 2) - cy) * size;
            const double a1 = std::atan2(st.SymbolY.At(n, e, 2) - cy, st.SymbolX.At(n, e, 2) - cx) - turn;
            const double a2 = std::atan2(st.SymbolY.At(n, e, 3) - cy, st.SymbolX.At(n, e, 3) - cx) - turn;
            canvas.Arc(x1, y1, r, a1, a2);
            break;
        }
        case SymbolPoint:
            point(e, 1, x1, y1);
            canvas.widthPx = 2;
            canvas.Line(x1, y1, x1, y1);
            canvas.widthPx = 1;
            break;
        default:
            break;
        }
    }
    canvas.widthPx = saved;
}

int SymbolOfCode(double value) {
    const long c = std::lround(value);
    return static_cast<int>(c >= 349 ? c - 349 : c);
}

// One segment of a line type, laid from A as the line-type figure lays it.
void DrawLineTypeSegment(Canvas& canvas, SymbolStandard& st, int t, double ax, double ay, double bx, double by) {
    const double len = std::hypot(bx - ax, by - ay);
    if (len <= 0 || st.LineTypeWidth.At(t, 0) == 0) return;
    const double ux = (bx - ax) / len, uy = (by - ay) / len;
    const int width = st.LineTypeWidth.At(t, 1);
    canvas.widthPx = width > 0 ? width * canvas.pxPerMm / 10.0 * 1.0 : 1;
    const int n = static_cast<int>(std::lround(st.LineTypePattern.At(t, 0, 0)));
    const double period = st.LineTypePattern.At(t, 0, 1);
    auto beyond = [&](double qx, double qy) {
        return std::fabs(qx - ax) > std::fabs(bx - ax) + 1e-9 || std::fabs(qy - ay) > std::fabs(by - ay) + 1e-9;
    };
    auto value = [&](int i) { return i <= MaxLineTypeElementIndex ? st.LineTypePattern.At(t, i, 1) : 0.0f; };
    auto symbol = [&](double px, double py, double code) {
        const double w = canvas.widthPx;
        DrawSymbol(canvas, st, SymbolOfCode(code), px, py, -uy, ux);
        canvas.widthPx = w;
    };
    double px = ax, py = ay, acc = 0;
    bool left = false, right = false;
    int passes = 0;
    do {
        for (int i = 1; i <= n && i <= MaxLineTypeElementIndex; ++i) {
            const int kind = static_cast<int>(st.LineTypePattern.At(t, i, 0));
            const double v = value(i);
            if (kind == LineDash) {
                if (v == 100) {
                    canvas.Line(px + ux, py + uy, bx - ux, by - uy);
                    symbol(bx, by, value(i + 1));
                    return;
                }
                const double qx = px + v * ux, qy = py + v * uy;
                if (beyond(qx, qy)) {
                    canvas.Line(px, py, bx, by);
                    return;
                }
                canvas.Line(px, py, qx, qy);
                px = qx, py = qy;
            } else if (kind == LineGap) {
                if (v == 50) {
                    symbol((ax + bx) / 2, (ay + by) / 2, value(i + 1));
                    symbol(bx, by, value(i + 3));
                    return;
                }
                if (v == 100) {
                    symbol(bx, by, value(i + 1));
                    return;
                }
                const double qx = px + v * ux, qy = py + v * uy;
                if (beyond(qx, qy)) return;
                px = qx, py = qy;
            } else if (kind == LineSymbol) {
                symbol(px, py, v);
            } else if (kind == LineLeftSide && !left) {
                left = true;
                canvas.Line(ax - v * uy, ay + v * ux, bx - v * uy, by + v * ux);
            } else if (kind == LineRightSide && !right) {
                right = true;
                canvas.Line(ax + v * uy, ay - v * ux, bx + v * uy, by - v * ux);
            }
        }
        acc += period;
    } while (acc < len && period > 0 && ++passes < 10000);
}

// Point symbols [firstSymbol, endSymbol) in a grid, then the line types listed, each labelled
// with its code.
bool SaveSheet(SymbolStandard& st, int firstSymbol, int endSymbol, const std::vector<int>& types,
               double scale, const std::string& path) {
    constexpr int columns = 10;
    constexpr double cell = 12;        // mm per point-symbol cell
    constexpr double lineRow = 14;     // mm per line-type row
    constexpr int lineColumns = 2;
    constexpr double lineColumnWidth = cell * columns / lineColumns;
    const int symbols = std::max(0, endSymbol - firstSymbol);
    const int lineTypes = static_cast<int>(types.size());
    const int symbolRows = (symbols + columns - 1) / columns;
    const int lineRows = (lineTypes + lineColumns - 1) / lineColumns;
    const double heightMm = symbolRows * cell + lineRows * lineRow + 4;
    Canvas canvas(cell * columns, heightMm, scale);

    for (int m = 0; m < symbols; ++m) {
        const int n = firstSymbol + m;
        const double x0 = (m % columns) * cell, top = heightMm - (m / columns) * cell;
        canvas.color = 0xFFC8C8C8;
        canvas.widthPx = 1;
        canvas.Line(x0, top, x0 + cell, top);
        canvas.Line(x0, top, x0, top - cell);
        canvas.color = 0xFF0000FF;
        Digits(canvas, x0 + 0.4, top - 0.4, n);
        // The insertion point as a faint cross, the symbol in black over it.
        const double cx = x0 + cell / 2, cy = top - cell / 2 - 0.5;
        canvas.color = 0xFFFF9999;
        canvas.Line(cx - 0.6, cy, cx + 0.6, cy);
        canvas.Line(cx, cy - 0.6, cx, cy + 0.6);
        canvas.color = 0xFF000000;
        DrawSymbol(canvas, st, n, cx, cy, 0, 1);
    }
    const double linesTop = heightMm - symbolRows * cell - 2;
    for (int m = 0; m < lineTypes; ++m) {
        const int t = types[static_cast<size_t>(m)];
        const int row = m / lineColumns, col = m % lineColumns;
        const double x0 = col * lineColumnWidth, y = linesTop - row * lineRow - lineRow / 2;
        canvas.color = 0xFF0000FF;
        canvas.widthPx = 1;
        Digits(canvas, x0 + 0.4, y + 1, LineTypeCode(t));
        canvas.color = 0xFF000000;
        // A run east, then one slanting up, so a turned symbol shows its side.
        DrawLineTypeSegment(canvas, st, t, x0 + 5, y, x0 + 38, y);
        DrawLineTypeSegment(canvas, st, t, x0 + 38, y, x0 + 55, y + 5);
    }
    return SavePng(canvas.picture, path);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: symbolsheet STANDARD.tus OUTPUT.png [pixels-per-mm]\n");
        return 2;
    }
    const double scale = argc > 3 ? std::atof(argv[3]) : 8;
    std::optional<std::string> bytes;
    try {
        bytes = ReadWholeFile(argv[1]);
    } catch (const RuntimeError&) {
        std::fprintf(stderr, "symbolsheet: cannot read %s\n", argv[1]);
        return 1;
    }
    SymbolStandard st;
    DimensionSymbolTables(st);
    DimensionLineTypeTables(st);
    TusItemReader pointItems(*bytes);
    ReadSymbolDefinitions(st, pointItems);
    TusItemReader lineItems(*bytes);
    ReadLineTypes(st, lineItems);

    int symbols = 0;
    while (symbols <= MaxSymbolIndex && !st.SymbolNames.At(symbols).empty()) ++symbols;
    // The line types with a pattern to lay; fill rows and unused numbers have none.
    std::vector<int> lineTypes;
    for (int t = 1; t <= MaxLineTypeIndex && st.LineTypeNames.At(t) != "*$"; ++t)
        if (st.LineTypePattern.At(t, 0, 0) >= 1) lineTypes.push_back(t);

    // The whole sheet, then the same in pages small enough to look at closely.
    const std::string output = argv[2];
    const std::string stem = output.size() > 4 ? output.substr(0, output.size() - 4) : output;
    bool written = SaveSheet(st, 0, symbols, lineTypes, scale, output);
    for (int first = 0; first < symbols; first += 40)
        written = SaveSheet(st, first, std::min(symbols, first + 40), {}, scale,
                            stem + "-points" + std::to_string(first / 40 + 1) + ".png") && written;
    for (size_t first = 0; first < lineTypes.size(); first += 16) {
        const std::vector<int> page(lineTypes.begin() + static_cast<long>(first),
                                    lineTypes.begin() + static_cast<long>(std::min(lineTypes.size(), first + 16)));
        written = SaveSheet(st, 0, 0, page, scale, stem + "-lines" + std::to_string(first / 16 + 1) + ".png") && written;
    }
    if (!written) {
        std::fprintf(stderr, "symbolsheet: cannot write %s\n", argv[2]);
        return 1;
    }
    std::printf("%d point symbols, %zu line types\n", symbols, lineTypes.size());
    return 0;
}
