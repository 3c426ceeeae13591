#include "sheets/SheetFrameTemplate.h"

#include <array>
#include <cmath>
#include <exception>

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/CoordinateReduction.h"
#include "document/StoreRecord.h"
#include "document/TextPlacement.h"

namespace movra {

namespace {

constexpr const char* ShapeFont = "黑体";
constexpr const char* PlainFont = "华文细黑";
constexpr std::uint8_t ShapePen = 7;
constexpr std::uint8_t OuterFramePen = 9;

struct ShapeRow {
    std::uint8_t type;
    double x1, y1, x2, y2, x3, y3, x4, y4;
};

// Items 0 to 20: the frames, the diagram's box, the corner lines, the diagram's hatching and the
// kilometre ticks along the four edges.
constexpr std::array<ShapeRow, 21> FrameShapes{{
    {6, 0, 0, 500, 0, 500, 500, 0, 500},
    {6, -12, -12, 512, -12, 512, 512, -12, 512},
    {6, 0, 515, 45, 515, 45, 539, 0, 539},
    {52, 0, 0, -12, 0, 0, 0, 0, -12},
    {52, 500, 0, 512, 0, 500, 0, 500, -12},
    {52, 500, 500, 512, 500, 500, 500, 500, 512},
    {52, 0, 500, -12, 500, 0, 500, 0, 512},
    {52, 15, 530, 16, 531, 15, 528, 18, 531},
    {52, 15, 526, 20, 531, 15, 524, 22, 531},
    {52, 16, 523, 24, 531, 18, 523, 26, 531},
    {52, 20, 523, 28, 531, 22, 523, 30, 531},
    {52, 24, 523, 30, 529, 26, 523, 30, 527},
    {52, 28, 523, 30, 525, 29.5, 523, 30, 523.5},
    {52, 100, 0, 100, 5, 200, 0, 200, 5},
    {52, 300, 0, 300, 5, 400, 0, 400, 5},
    {52, 100, 500, 100, 495, 200, 500, 200, 495},
    {52, 300, 500, 300, 495, 400, 500, 400, 495},
    {52, 0, 100, 5, 100, 0, 200, 5, 200},
    {52, 0, 300, 5, 300, 0, 400, 5, 400},
    {52, 500, 100, 495, 100, 500, 200, 495, 200},
    {52, 500, 300, 495, 300, 500, 400, 495, 400},
}};

// Items 37 and 38: the diagram's row and column lines.
constexpr std::array<ShapeRow, 2> DiagramLines{{
    {52, 0, 523, 45, 523, 0, 531, 45, 531},
    {52, 15, 515, 15, 539, 30, 515, 30, 539},
}};

// Items 51 to 66: the neighbours' numbers in the diagram's outer cells, then the kilometre values
// at the frame corners.
struct PlaceholderRow {
    double x, y;
};
constexpr std::array<PlaceholderRow, 8> NeighbourAnchors{{
    {1, 536}, {1, 528}, {1, 520}, {16, 536}, {16, 520}, {31, 536}, {31, 528}, {31, 520},
}};
constexpr std::array<PlaceholderRow, 8> CornerAnchors{{
    {-4, -8}, {-11, 4}, {-4, 511}, {-11, 504}, {496, 511}, {504, 504}, {496, -8}, {504, 4},
}};

MapRecord& TemplateSlot(App& app) {
    MapRecord& r = app.store.At(0, Layer0Slots::FrameTemplateFirst + app.sheets.FrameItemCount);
    r = MapRecord{};
    r.RecordColor = app.tables.ColorPalette[FrameColorIndex];
    return r;
}

// Layer 0 must reach the template's last slot.
void MakeRoomForTemplate(App& app) {
    auto& store = app.store;
    while (store.LayerCapacity < Layer0Slots::FrameTemplateLast) {
        const auto before = store.LayerCapacity;
        GrowLayerCapacity(app);
        if (store.LayerCapacity <= before) break;
    }
}

}  // namespace

double SheetSide(const App& app) { return app.view.ScaleFactor * 500; }

void AddFrameShape(App& app, std::uint8_t type, double x1, double y1, double x2, double y2, double x3,
                   double y3, double x4, double y4) {
    const double k = app.view.ScaleFactor;
    MapRecord& r = TemplateSlot(app);
    r.RecordType = type;
    r.RecordX1 = x1 * k; r.RecordY1 = y1 * k;
    r.RecordX2 = x2 * k; r.RecordY2 = y2 * k;
    r.RecordX3 = x3 * k; r.RecordY3 = y3 * k;
    r.RecordX4 = x4 * k; r.RecordY4 = y4 * k;
    r.RecordPen = ShapePen;
    r.RecordFont = ShapeFont;
}

void AddFrameCross(App& app, double x, double y) {
    AddFrameShape(app, FrameSegmentsType, x - 5, y, x + 5, y, x, y - 5, x, y + 5);
}

void AddFrameText(App& app, std::uint8_t type, double x, double y, const std::string& text, std::uint8_t size,
                  double widthFactor, double angle, const std::string& font) {
    const double k = app.view.ScaleFactor;
    MapRecord& r = TemplateSlot(app);
    r.RecordType = type;
    r.RecordX1 = x * k;
    r.RecordY1 = y * k;
    r.RecordX2 = size;
    r.RecordY2 = widthFactor;
    r.RecordZ2 = static_cast<float>(angle);
    r.RecordY3 = DisplayWidth(text);
    r.RecordPen = size;
    r.RecordText = text;
    r.RecordFont = font;
}

bool BuildSheetFrameTemplate(App& app, const SheetFrameTexts& texts) {
    const double denominator = app.view.ProjectParams[0];
    if (!(denominator > 0) || !std::isfinite(denominator)) {
        app.platform.prompt().MsgBox(FrameScaleNotSetMessage, MsgOkOnly, FrameTitle);
        return false;
    }
    try {
        app.view.ScaleFactor = denominator / 1000;
        MakeRoomForTemplate(app);
        std::int16_t& item = app.sheets.FrameItemCount;
        item = 0;
        auto next = [&item](auto&& add) {
            add();
            ++item;
        };
        for (const ShapeRow& s : FrameShapes) {
            next([&] { AddFrameShape(app, s.type, s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4); });
        }
        for (double x : {100.0, 200.0, 300.0, 400.0}) {
            for (double y : {100.0, 200.0, 300.0, 400.0}) next([&] { AddFrameCross(app, x, y); });
        }
        for (const ShapeRow& s : DiagramLines) {
            next([&] { AddFrameShape(app, s.type, s.x1, s.y1, s.x2, s.y2, s.x3, s.y3, s.x4, s.y4); });
        }
        struct TextRow {
            std::uint8_t type;
            double x, y;
            std::uint8_t size;
            double widthFactor, angle;
            const char* font;
            std::string text;
        };
        const std::array<TextRow, 11> annotations{{
            {65, 240, -21, 16, 1, 0, ShapeFont, "1:" + PlainNumberText(denominator)},
            {66, 485, 520, 10, 1.3, 0, PlainFont, Trim(texts.Text10)},
            {65, 0, -15, 9, 1, 0, PlainFont, Trim(texts.Text3)},
            {65, 0, -19, 9, 1, 0, PlainFont, Trim(texts.Text4)},
            {65, 0, -23, 9, 1, 0, PlainFont, Trim(texts.Text5)},
            {65, 0, -27, 9, 1, 0, PlainFont, Trim(texts.Text6)},
            {65, 450, -17, 9, 1, 0, PlainFont, "测量员  " + Trim(texts.Text7)},
            {65, 450, -22, 9, 1, 0, PlainFont, "绘图员  " + Trim(texts.Text8)},
            {65, 450, -27, 9, 1, 0, PlainFont, "检查员  " + Trim(texts.Text9)},
            {64, -20, 52, 16, 0.68, -90, ShapeFont, Trim(texts.Text2)},
            {64, 516, 100, 9, 0.68, -90, PlainFont, "附注： " + Trim(texts.Text11)},
        }};
        for (const TextRow& t : annotations) {
            next([&] { AddFrameText(app, t.type, t.x, t.y, t.text, t.size, t.widthFactor, t.angle, t.font); });
        }
        next([&] { AddFrameText(app, FramePlaceholderType, 232, 522, "0", 22, 0.5, 0, ShapeFont); });
        int code = 1;
        for (const auto& anchors : {NeighbourAnchors, CornerAnchors}) {
            const std::uint8_t size = code == 1 ? 8 : 10;
            for (const PlaceholderRow& a : anchors) {
                const std::string text = std::to_string(code++);
                next([&] { AddFrameText(app, FramePlaceholderType, a.x, a.y, text, size, 0.5, 0, PlainFont); });
            }
        }
        // The counter names the last item written.
        item = FrameLastItem;
        app.store.At(0, Layer0Slots::FrameTemplateFirst + 1).RecordPen = OuterFramePen;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool FrameTemplateBuilt(App& app) {
    auto& count = app.sheets.FrameItemCount;
    if (count != FrameLastItem) return false;
    const auto& store = app.store;
    const bool there = store.LayerCapacity >= Layer0Slots::FrameTemplateLast &&
                       store.Get(0, Layer0Slots::FrameTemplateFirst).RecordType == FrameQuadType &&
                       store.Get(0, Layer0Slots::FrameTemplateLast).RecordType == FramePlaceholderType;
    if (!there) count = 0;
    return there;
}

KilometreDigits KilometreParts(double v) {
    const std::string digits = Right(PlainNumberText(Int(v / 10)), 4);
    KilometreDigits parts{Left(digits, 2), Right(digits, 2)};
    const double high = Val(parts.high);
    if (high < 10) parts.high = "0" + PlainNumberText(high);
    return parts;
}

std::string FrameLabelText(const App& app, std::string_view code, double x0, double y0) {
    try {
        const double s = SheetSide(app);
        // The corner each code reads, as steps of a sheet side in x and y.
        struct Shift {
            int dx, dy;
        };
        static constexpr std::array<Shift, 17> shifts{{
            {0, 0}, {-1, 1}, {-1, 0}, {-1, -1}, {0, 1}, {0, -1}, {1, 1}, {1, 0}, {1, -1},
            {0, 0}, {0, 0}, {0, 0}, {0, 1}, {1, 0}, {0, 1}, {1, 0}, {0, 0},
        }};
        int n = -1;
        for (int i = 0; i < static_cast<int>(shifts.size()); ++i) {
            if (EqualsIgnoreCase(code, std::to_string(i))) n = i;
        }
        if (n < 0) return {};
        const auto& shift = shifts[static_cast<std::size_t>(n)];
        // The labels name the sheet by its true coordinates, whatever origin the map was reduced to.
        const FalseOrigin origin = FalseOriginOf(app);
        const KilometreDigits x = KilometreParts(origin.TrueX(x0) + shift.dx * s);
        const KilometreDigits y = KilometreParts(origin.TrueY(y0) + shift.dy * s);
        if (n == 0) return y.high + "." + y.low + "─" + x.high + "." + x.low;
        if (n <= 8) return y.high + "." + y.low + "-" + x.high + "." + x.low;
        if (n % 2 == 1) return x.high + "." + x.low;
        return y.high + "." + y.low;
    } catch (const std::exception&) {
        return {};
    }
}

std::optional<MapRecord> PlaceFrameItem(const App& app, const MapRecord& item, double x0, double y0) {
    MapRecord r = item;
    r.RecordExtra.clear();
    r.RecordSource = 0;
    switch (item.RecordType) {
        case FrameQuadType:
        case FrameSegmentsType:
            r.RecordX1 += x0; r.RecordY1 += y0;
            r.RecordX2 += x0; r.RecordY2 += y0;
            r.RecordX3 += x0; r.RecordY3 += y0;
            r.RecordX4 += x0; r.RecordY4 += y0;
            return r;
        case 64:
        case 65:
        case 66:
        case 67:
            r.RecordX1 += x0; r.RecordY1 += y0;
            return r;
        case FramePlaceholderType:
            r.RecordType = FrameResolvedTextType;
            r.RecordX1 += x0; r.RecordY1 += y0;
            r.RecordText = FrameLabelText(app, item.RecordText, x0, y0);
            r.RecordY3 = DisplayWidth(r.RecordText);
            return r;
        default:
            return std::nullopt;
    }
}

}  // namespace movra
