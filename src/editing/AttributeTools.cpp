// The attribute tools: a record of the class chosen in the attribute dialog placed at a click,
// one field of class 0 (name, house number, phones, height) attached to the record whose popup
// is shown or placed as a new record, the area of a clicked ring registered as a record's 面积,
// and the viewer that shows the popup of the attribute record under the cursor.
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "App.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/Geometry.h"
#include "editing/PointLists.h"
#include "editing/RubberLine.h"
#include "editing/TextToolSupport.h"
#include "editing/ToolCanvas.h"
#include "editing/ToolFamilies.h"
#include "shell/stForm1.h"
#include "symbols/Attributes.h"
#include "symbols/shuxfrm.h"

namespace movra {

namespace {

// The size single-field entries are placed at.
constexpr double FieldTextSize = 5;
constexpr double AreaFontSize = 8;
// The most clicks ClickCount counts; a ring that long takes no more points.
constexpr int MostClicks = 255;

// ---- The attribute classes (151, 154, 157): the record of the class the dialog confirmed.

ReleaseEnd ClassRelease(App& app, double, double) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        tool.ClickCount = 1;
        return ReleaseEnd::CommonTail;
    }
    StoreAttributeRecord(app, tool.PressPoint.x, tool.PressPoint.y);
    ShowAttributeDialog(app);
    tool.ClickCount = 0;
    return ReleaseEnd::CommonTail;
}

// ---- One field of class 0 (152, 155, 158): the prompt in Text2 names the field.

struct FieldRow {
    const char* prompt;
    Class0Field field;
};

constexpr FieldRow FieldRows[] = {
    {"加电话号码1(02属性)", FieldPhone1},
    {"加电话号码2(03属性)", FieldPhone2},
    {"加姓名(00属性)", FieldName},
    {"加门牌(01属性)", FieldHouseNumber},
    {"加物体高，如房高等(05属性)", FieldHeight},
};

const FieldRow* FieldNamedBy(const std::string& prompt) {
    for (const FieldRow& row : FieldRows)
        if (EqualsIgnoreCase(prompt, row.prompt)) return &row;
    return nullptr;
}

void SetField(Class0Values& v, Class0Field field, const std::string& text) {
    switch (field) {
        case FieldName: v.name = text; break;
        case FieldHouseNumber: v.houseNumber = text; break;
        case FieldPhone1: v.phone1 = Val(text); break;
        case FieldPhone2: v.phone2 = Val(text); break;
        case FieldArea: v.area = Val(text); break;
        case FieldHeight: v.height = static_cast<float>(Val(text)); break;
    }
}

void SetField(MapRecord& r, Class0Field field, const std::string& text) {
    switch (field) {
        case FieldName: r.RecordText = text; break;
        case FieldHouseNumber: r.RecordExtra = text; break;
        case FieldPhone1: r.RecordX4 = Val(text); break;
        case FieldPhone2: r.RecordY4 = Val(text); break;
        case FieldArea: r.RecordX3 = Val(text); break;
        case FieldHeight: r.RecordZ4 = static_cast<float>(Val(text)); break;
    }
}

// The value goes into the record whose popup is shown when the click is on it, else into a new
// class-0 record at the press point named by the text in hand.
void AttachOrAppend(App& app, double x, double y, Class0Field field, const std::string& text) {
    if (MapRecord* picked = PickedClass0RecordNear(app, x, y)) {
        SetField(*picked, field, text);
        app.current.ModifiedFlag = -1;
        return;
    }
    Class0Values v;
    v.name = app.current.PendingText;
    SetField(v, field, text);
    StoreClass0Record(app, app.tool.PressPoint.x, app.tool.PressPoint.y, v);
}

ReleaseEnd FieldRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.ClickCount == 0) {
        tool.ClickCount = 1;
        std::string face = Canvas(app).FontName();
        if (!app.current.CurrentFont.empty()) face = app.current.CurrentFont;
        app.current.TextSize = FieldTextSize;
        Canvas(app).SetFont(face, app.view.DisplayZoom * FieldTextSize);
        return ReleaseEnd::CommonTail;
    }
    if (const FieldRow* row = FieldNamedBy(app.form1->Text2.Text()))
        AttachOrAppend(app, x, y, row->field, app.form1->Text8.Text());
    tool.ClickCount = 0;
    tool.CommandMode = ModeIdle;
    return ReleaseEnd::CommonTail;
}

// ---- The area register (149): a typed area or the area of a clicked ring becomes a 面积.

std::vector<double>& Scratch(App& app) { return app.geometry.ScratchXY; }

void Connect(App& app, const CanvasXY& a, const CanvasXY& b) {
    Canvas(app).Line(a.x, a.y, b.x, b.y, app.current.CurrentColor);
}

// The area so far, in Text8 and printed at the canvas's current position.
void ShowArea(App& app) {
    const std::string text = PlainNumberText(app.tool.RegisteredArea);
    app.form1->Text8.SetText(text);
    Surface& canvas = Canvas(app);
    canvas.SetForeColor(app.current.CurrentColor);
    canvas.SetFont(canvas.FontName(), AreaFontSize);
    canvas.Print(text);
}

ReleaseEnd RegisterArea(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const double area = std::fabs(tool.RegisteredArea);
    if (MapRecord* picked = PickedClass0RecordNear(app, x, y)) {
        picked->RecordX3 = area;
        app.current.ModifiedFlag = -1;
    } else {
        Class0Values v;
        v.name = app.current.PendingText;
        v.area = area;
        StoreClass0Record(app, tool.PressPoint.x, tool.PressPoint.y, v);
    }
    tool.CommandMode = ModeIdle;
    app.form1->Text2.SetText("已寄存!");
    return ReleaseEnd::EndNow;
}

ReleaseEnd AreaRelease(App& app, double x, double y) {
    ToolState& tool = app.tool;
    const int k = tool.ClickCount;
    const CanvasXY& p = tool.PressPoint;
    if (k == 0) {
        tool.AreaPending = 0;
        Scratch(app).assign(2, 0.0);
        SetListPoint(Scratch(app), 0, p);
        tool.ClickCount = 1;
        const double typed = Val(app.form1->Text8.Text());
        if (typed > 0) {
            tool.ClickCount = 3;
            tool.AreaPending = -1;
            tool.SnapOn = 0;
            tool.RegisteredArea = typed;
        }
        return ReleaseEnd::CommonTail;
    }
    if (k == 1) {
        SetListPoint(Scratch(app), 1, p);
        tool.ClickCount = 2;
        Connect(app, ListPoint(Scratch(app), 0), p);
        return ReleaseEnd::CommonTail;
    }
    if (k == 2) {
        SetListPoint(Scratch(app), 2, p);
        Connect(app, ListPoint(Scratch(app), 1), p);
        Connect(app, ListPoint(Scratch(app), 0), p);
        tool.RegisteredArea = PolygonArea(app, 2);
        ShowArea(app);
        tool.ClickCount = 3;
        return ReleaseEnd::CommonTail;
    }
    if (tool.AreaPending == -1) return RegisterArea(app, x, y);
    const double sf = app.view.ScaleFactor;
    const CanvasXY first = ListPoint(Scratch(app), 0);
    if (Dist(p.x, p.y, first.x, first.y) < sf) {
        app.platform.prompt().MsgBox("OK，请点击位置寄存面积", MsgOkOnly);
        tool.AreaPending = -1;
        tool.SnapOn = 0;
        return ReleaseEnd::EndNow;
    }
    // A ring as long as the counter goes takes no further point.
    if (k >= MostClicks) return ReleaseEnd::CommonTail;
    SetListPoint(Scratch(app), k, p);
    Connect(app, ListPoint(Scratch(app), k - 1), p);
    Connect(app, first, p);
    Canvas(app).Line(first.x - sf, first.y + sf, first.x + sf, first.y - sf, app.current.CurrentColor, LineShape::Box);
    tool.RegisteredArea = std::nearbyint(PolygonArea(app, k) * 1000) / 1000;
    ShowArea(app);
    tool.ClickCount = static_cast<std::uint8_t>(k + 1);
    return ReleaseEnd::CommonTail;
}

void AreaRubber(App& app, double x, double y) {
    ToolState& tool = app.tool;
    if (tool.AreaPending != -1) {
        DrawRubberLine(app, x, y);
        return;
    }
    PreviewPrintedText(app, x, y, PlainNumberText(tool.RegisteredArea));
    ShowAttributeHover(app, x, y);
}

// ---- The attribute viewer (159).

ReleaseEnd ViewerRelease(App& app, double, double) {
    if (app.tool.ClickCount == 0) app.tool.ClickCount = 1;
    return ReleaseEnd::CommonTail;
}

void ViewerRubber(App& app, double x, double y) {
    ShowAttributeHover(app, x, y);
    app.tool.RubberShown = -1;
}

}  // namespace

const ToolFamily& AttributeToolFamily() {
    static const ToolFamily family{
        "attributes",
        {
            {.mode = ModeAreaRegister, .rubber = AreaRubber, .release = AreaRelease},
            // The attribute records draw nothing: the text previewed where one is placed goes
            // at the click's press, with the map drawn again where it passed.
            {.mode = ModeAttributeClass, .rubber = PreviewAttributeLines, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = ClassRelease},
            {.mode = ModeAttributeClass3, .rubber = PreviewAttributeLines, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = ClassRelease},
            {.mode = ModeAttributeClass4, .rubber = PreviewAttributeLines, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = ClassRelease},
            {.mode = ModeHeightAttribute, .rubber = PreviewParagraph, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = FieldRelease},
            {.mode = ModeNameAttribute, .rubber = PreviewParagraph, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = FieldRelease},
            {.mode = ModePhoneAttribute, .rubber = PreviewParagraph, .erasePreview = ErasePendingTextPreview, .pressErasesPreview = true, .release = FieldRelease},
            {.mode = ModeViewAttributes, .rubber = ViewerRubber, .release = ViewerRelease},
        },
    };
    return family;
}

}  // namespace movra
