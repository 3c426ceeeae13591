#include "shell/ClipboardLink.h"

#include <cfloat>
#include <cmath>
#include <utility>
#include <vector>

#include "App.h"
#include "basic/Colors.h"
#include "basic/Guards.h"
#include "basic/Text.h"
#include "display/HighlightRenderer.h"
#include "document/RecordTypes.h"
#include "display/Redraw.h"
#include "document/MapRecord.h"
#include "editing/ToolEngine.h"
#include "exchange/PointLists.h"
#include "shell/CommandLine.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr Rgb LampYellow = MakeRgb(255, 255, 0);
constexpr Rgb LampBlue = MakeRgb(0, 0, 255);

// The layouts named by letters and the field orders they stand for.
const std::pair<const char*, const char*> LetterLayouts[] = {
    {"Id,y,x,z", "1,3,4,5"}, {"Idyxz", "1,3,4,5"}, {"Id,x,y,z", "1,4,3,5"}, {"Idxyz", "1,4,3,5"},
    {"m,y,x,z", "2,3,4,5"},  {"myxz", "2,3,4,5"},  {"m,x,y,z", "2,4,3,5"},  {"mxyz", "2,4,3,5"},
    {"x,y,z", "4,3,5"},      {"xyz", "4,3,5"},     {"y,x,z", "3,4,5"},      {"yxz", "3,4,5"},
};

// The field order of a layout, letter case ignored; field numbers stand for themselves.
PointFieldOrder LinkLayout(const std::string& format) {
    for (const auto& [name, order] : LetterLayouts)
        if (EqualsIgnoreCase(format, name)) return ParsePointFieldOrder(order);
    return ParsePointFieldOrder(format);
}

// A field that must be a number as a whole, white space around it allowed; RuntimeError otherwise.
double LinkNumber(const std::string& field) {
    const char* space = " \t\r\n\v\f";
    const std::size_t first = field.find_first_not_of(space);
    if (first == std::string::npos) return StrictNumber({});
    return StrictNumber(field.substr(first, field.find_last_not_of(space) - first + 1));
}

// The view's left or top edge moved so that `v` lies within [edge, edge + extent] (extent negative
// for the y axis, which points up): a value beyond an edge ends a quarter of the view inside it.
double EdgeFollowing(double edge, double extent, double v) {
    const bool beforeStart = extent >= 0 ? v < edge : v > edge;
    const bool beyondEnd = extent >= 0 ? v > edge + extent : v < edge + extent;
    if (beforeStart) return v - extent / 4;
    if (beyondEnd) return v - 0.75 * extent;
    return edge;
}

// The map drawn again with the last point of the current layer standing out in the current
// colour plus one.
void DrawLastLinkedPoint(App& app);

}  // namespace

void Timer1_Timer(App& app) {
    if (!app.form1) return;
    stForm1& form = *app.form1;
    form.Timer1.SetEnabled(false);
    GuardSilently([&] {
        LampBusy(app);
        const std::string text = app.platform.clipboard().GetText();
        if (text.empty() || text == "0") return;
        ReceiveLinkText(app, text);
        form.Label6.SetBackColor(LampBlue);
    });
    form.Timer1.SetEnabled(true);
}

void ReceiveLinkText(App& app, const std::string& text) {
    if (!app.form1) return;
    stForm1& form = *app.form1;
    ClipboardLinkState& link = form.link;
    form.Label6.SetBackColor(LampYellow);
    if (EqualsIgnoreCase(text, link.LastLinkText)) {
        SplitLinkRecords(app);
        return;
    }
    const std::string& separator = app.settings.RecordSeparator;
    const bool ended = !separator.empty() && text.size() >= separator.size() &&
                       text.compare(text.size() - separator.size(), separator.size(), separator) == 0;
    if (!ended) return;
    if (link.LinkBuffer.empty())
        link.LinkBuffer = text;
    else
        link.LinkBuffer += separator + text;
    link.LastLinkText = text;
}

void SplitLinkRecords(App& app) {
    if (!app.form1) return;
    ClipboardLinkState& link = app.form1->link;
    if (link.LinkBuffer.empty()) return;
    const std::string batch = std::exchange(link.LinkBuffer, std::string());
    // Every point moves the view as it comes, but the map is drawn once, after the last point:
    // a full redraw for every point of a long batch would hold the window for many seconds, and
    // each would be drawn over by the next.
    bool stored = false;
    for (const std::string& record : SplitText(batch, app.settings.RecordSeparator))
        stored = ParsePointRecord(app, record, LinkRedraw::Deferred) || stored;
    if (stored) DrawLastLinkedPoint(app);
}

bool ParsePointRecord(App& app, const std::string& record, LinkRedraw redraw) {
    if (!app.form1) return false;
    ClipboardLinkState& link = app.form1->link;
    if (record.size() >= 3 && EqualsIgnoreCase(record.substr(0, 3), "GS:")) {
        link.ClipboardLinkFormat = Trim(record.substr(3));
        return false;
    }
    const std::string& separator = app.current.FieldSeparator;
    if (separator.empty() || record.find(separator) == std::string::npos) return false;
    const std::vector<std::string> fields = SplitText(record, separator);
    if (fields.size() < 3 || fields.size() > 8) return false;
    const PointFieldOrder order = LinkLayout(link.ClipboardLinkFormat);
    if (!order.DescribesPoints() || static_cast<int>(fields.size()) < order.FieldsNeeded()) return false;
    const auto field = [&](PointField f) -> const std::string& {
        return fields[static_cast<std::size_t>(order.Column(f))];
    };

    // Everything is converted before the slot is written, so a bad number leaves the store as it
    // was and the records after it still come in.
    double x = 0, y = 0, z = 0;
    const bool numbers = GuardSilently([&] {
        x = LinkNumber(field(PointEastField));
        y = LinkNumber(field(PointNorthField));
        if (order.Names(PointElevationField)) z = LinkNumber(field(PointElevationField));
    });
    if (!numbers || std::fabs(z) > FLT_MAX) return false;
    // The name is kept as the sender wrote it: a line break before a record of a multi-line
    // text stays at the start of its name.
    const std::string text = order.Names(PointNameField)     ? field(PointNameField)
                             : order.Names(PointNumberField) ? std::string("0")
                                                             : std::string();
    const bool stored = GuardSilently([&] {
        RecordStore& store = app.store;
        MapRecord& r = OpenPointSlot(app, TypeHeightPoints1, x, y, 0, text);
        r.RecordZ1 = static_cast<float>(z);
        r.RecordX3 = r.RecordY3 = r.RecordX4 = r.RecordY4 = 0;
        store.Count(store.CurrentLayer) += 1;
        app.current.ModifiedFlag = -1;
    });
    if (stored) KeepPointInView(app, redraw);
    return stored;
}

void KeepPointInView(App& app, LinkRedraw redraw) {
    GuardSilently([&] {
        if (!app.form1) return;
        const RecordStore& store = app.store;
        const int slot = store.Count(store.CurrentLayer) - 1;
        if (slot < 0) return;
        const MapRecord& point = store.Get(store.CurrentLayer, slot);
        PictureBox& canvas = app.form1->Picture1;
        const double width = canvas.ScaleWidth();
        const double height = canvas.ScaleHeight();
        canvas.SetScale(EdgeFollowing(canvas.ScaleLeft(), width, point.RecordX1),
                        EdgeFollowing(canvas.ScaleTop(), height, point.RecordY1), width, height);
    });
    if (redraw == LinkRedraw::Now) DrawLastLinkedPoint(app);
}

namespace {

void DrawLastLinkedPoint(App& app) {
    GuardSilently([&] {
        const RecordStore& store = app.store;
        const int layer = store.CurrentLayer;
        const int slot = store.Count(layer) - 1;
        if (slot < 0) return;
        刷新(app);
        刷图元(app, static_cast<std::uint8_t>(layer), static_cast<std::int16_t>(slot),
               PackedColorSum(app.current.CurrentColor, 1));
    });
}

}  // namespace

}  // namespace movra
