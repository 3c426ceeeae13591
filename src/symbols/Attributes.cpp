#include "symbols/Attributes.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "App.h"
#include "basic/Colors.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "document/StoreRecord.h"
#include "shell/stForm1.h"

namespace movra {

const char* const Class0FieldNames[6] = {"姓名", "门牌", "电话1", "电话2", "面积", "房高"};

namespace {

constexpr const char* PopupFont = "宋体";
constexpr double PopupFontSize = 9;

// The number a typed value begins with; 0 when it begins with none or is too large to hold.
double TypedNumber(std::string_view text) {
    try {
        return Val(text);
    } catch (...) {
        return 0;
    }
}

std::string Line(const std::vector<std::string>& lines, std::size_t k) {
    return k < lines.size() ? lines[k] : std::string();
}

void WriteMessageLine(App& app, const std::string& text) {
    if (app.form1) app.form1->Text2.SetText(text);
}

// The marker square and the lines of a record's popup: the square fills one paper millimetre
// above and left of the point, the lines run down from the point four screen millimetres apart.
void PaintPopup(App& app, const MapRecord& record, Rgb squareColor, Rgb textColor) {
    if (!app.form1) return;
    Surface& canvas = app.form1->Picture1.surface();
    const double x = record.RecordX1;
    const double y = record.RecordY1;
    const double k = app.view.ScaleFactor;
    const double spacing = 4 * app.view.GroundPerScreenMm;
    const std::vector<std::string> lines = AttributePopupLines(app, record);

    // A popup is painted over the map, whatever pen a preview left on the canvas.
    const int mode = canvas.DrawMode();
    canvas.SetDrawMode(DrawModeCopyPen);
    canvas.Line(x - k, y + k, x, y, squareColor, LineShape::FilledBox);
    canvas.SetForeColor(textColor);
    canvas.SetFont(PopupFont, PopupFontSize);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        canvas.SetCurrentX(x);
        canvas.SetCurrentY(y - static_cast<double>(i) * spacing);
        canvas.Print(lines[i]);
    }
    canvas.SetDrawMode(mode);
    canvas.Refresh();
}

}  // namespace

Class0Values Class0ValuesFromLines(const std::vector<std::string>& lines) {
    Class0Values v;
    v.name = Line(lines, FieldName);
    v.houseNumber = Line(lines, FieldHouseNumber);
    v.phone1 = TypedNumber(Line(lines, FieldPhone1));
    v.phone2 = TypedNumber(Line(lines, FieldPhone2));
    v.area = TypedNumber(Line(lines, FieldArea));
    v.height = static_cast<float>(TypedNumber(Line(lines, FieldHeight)));
    return v;
}

std::vector<std::string> SplitLines(const App& app, const std::string& text) {
    std::vector<std::string> pieces;
    const std::string& brk = app.settings.LineBreak;
    if (brk.empty()) return {text};
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find(brk, from);
        if (at == std::string::npos) break;
        pieces.push_back(text.substr(from, at - from));
        from = at + brk.size();
    }
    pieces.push_back(text.substr(from));
    return pieces;
}

const std::vector<std::string>& FieldNamesShown(App& app, int c) {
    auto& names = app.mapFile.AttributeFieldNames.at(static_cast<std::size_t>(c));
    if (names.empty()) names.emplace_back();
    for (std::string& name : names)
        if (name.empty()) name = UnnamedFieldText;
    return names;
}

void SetPendingText(App& app, const std::string& text) {
    app.current.PendingText = text;
    app.textPlacement.PendingTextLines = SplitLines(app, text);
}

bool StoreClass0Record(App& app, double x, double y, const Class0Values& values) {
    const std::int32_t before = app.store.Count(app.store.CurrentLayer);
    StoreRecord(app, StoreFull, AttributeTypeBase, x, y, app.current.TextSize, app.settings.TextWidthFactor,
                values.area, 0, values.phone1, values.phone2, values.name);
    MapRecord* r = AppendedRecord(app, before);
    if (!r) return false;
    r->RecordExtra = values.houseNumber;
    r->RecordZ1 = r->RecordZ2 = r->RecordZ3 = 0;
    r->RecordZ4 = values.height;
    return true;
}

bool StoreAttributeRecord(App& app, double x, double y) {
    try {
        const std::uint8_t type = app.attributes.AttributeRecordType;
        if (!IsAttributeRecordType(type)) return false;
        if (type == AttributeTypeBase)
            return StoreClass0Record(app, x, y, Class0ValuesFromLines(app.textPlacement.PendingTextLines));
        const std::int32_t before = app.store.Count(app.store.CurrentLayer);
        StoreRecord(app, StoreFull, type, x, y, app.current.TextSize, app.settings.TextWidthFactor, 0, 0, 0, 0,
                    app.current.PendingText);
        MapRecord* r = AppendedRecord(app, before);
        if (!r) return false;
        r->RecordExtra = std::string_view();
        r->RecordZ1 = r->RecordZ2 = r->RecordZ3 = r->RecordZ4 = 0;
        return true;
    } catch (...) {
        return false;
    }
}

MapRecord* PickedClass0RecordNear(App& app, double x, double y) {
    try {
        const AttributeState& a = app.attributes;
        const MapRecord& r = app.store.Get(a.PickedLayer, a.PickedSlot);
        if (r.RecordType != AttributeTypeBase) return nullptr;
        const double reach = 5 * app.view.GroundPerScreenMm;
        if (std::abs(r.RecordX1 - x) >= reach || std::abs(r.RecordY1 - y) >= reach) return nullptr;
        return &app.store.At(a.PickedLayer, a.PickedSlot);
    } catch (...) {
        return nullptr;
    }
}

std::vector<std::string> AttributePopupLines(const App& app, const MapRecord& r) {
    if (!IsAttributeRecordType(r.RecordType)) return {};
    if (r.RecordType == AttributeTypeBase) {
        return {"姓名：" + std::string(r.RecordText),
                "门牌号：" + std::string(r.RecordExtra),
                "电话1：" + PlainNumberText(r.RecordX4),
                "电话2：" + PlainNumberText(r.RecordY4),
                "面积：" + PlainNumberText(r.RecordX3) + "平米",
                "房高：" + PlainNumberText(r.RecordZ4) + "米"};
    }
    const std::string text(r.RecordText);
    if (text.empty()) return {};
    const auto& names = app.mapFile.AttributeFieldNames[static_cast<std::size_t>(r.RecordType - AttributeTypeBase)];
    const std::vector<std::string> values = SplitLines(app, text);
    std::vector<std::string> lines;
    lines.reserve(values.size());
    for (std::size_t k = 0; k < values.size(); ++k)
        lines.push_back((k < names.size() ? names[k] : std::string()) + ":" + values[k]);
    return lines;
}

void 查类属性(App& app, std::int16_t& yssbie) {
    GuardToMessageLine([&app](const std::string& text) { WriteMessageLine(app, text); }, [&] {
        const AttributeState& a = app.attributes;
        const MapRecord& r = app.store.Get(a.PickedLayer, a.PickedSlot);
        if (!IsAttributeRecordType(r.RecordType)) return;
        const Rgb color = yssbie == -1 ? app.current.CurrentColor : app.view.BackgroundColor;
        PaintPopup(app, r, color, color);
    });
}

void ShowAttributeHover(App& app, double x, double y) {
    GuardToMessageLine([&app](const std::string& text) { WriteMessageLine(app, text); }, [&] {
        const RecordStore& store = app.store;
        AttributeState& a = app.attributes;
        const double d = 8 * app.view.DisplayZoomInverse;
        const int lastLayer = std::min<int>(store.LayerCount, store.LayerDimension());
        bool pickedInReach = false;
        for (int layer = 1; layer <= lastLayer; ++layer) {
            const std::int32_t count = store.Count(layer);
            // A layer that holds any record is searched, also one whose only record is in slot 0.
            if (store.LayerOnFlag[static_cast<std::size_t>(layer)] != -1 || count < 1) continue;
            const int last = std::min<int>(count, store.LayerCapacity);
            for (int slot = 0; slot <= last; ++slot) {
                const MapRecord& r = store.Get(layer, slot);
                if (!IsAttributeRecordType(r.RecordType)) continue;
                if (!(std::abs(r.RecordX1 - x) < d && std::abs(r.RecordY1 - y) < d)) continue;
                if (layer == a.PickedLayer && slot == a.PickedSlot) {
                    pickedInReach = true;
                    continue;
                }
                std::int16_t erase = 0;
                查类属性(app, erase);
                PaintPopup(app, r, app.current.CurrentColor, PackedColorSum(app.current.CurrentColor, 500));
                a.PickedLayer = static_cast<std::uint8_t>(layer);
                a.PickedSlot = static_cast<std::int16_t>(slot);
                return;
            }
        }
        // The popup shown stays picked while the cursor is still near its record.
        if (!pickedInReach) {
            a.PickedLayer = 0;
            a.PickedSlot = 0;
        }
    });
}

}  // namespace movra
