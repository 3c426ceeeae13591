#include <algorithm>
#include <map>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Text.h"
#include "display/HighlightRenderer.h"
#include "editing/SelectionPreviews.h"
#include "editing/Snapping.h"
#include "editing/ToolEngine.h"
#include "shell/CommandLine.h"
#include "shell/StartUp.h"
#include "shell/stForm1.h"

namespace movra {

namespace {
constexpr Rgb Black = MakeRgb(0, 0, 0);
constexpr int ToggleOnColor = 7;
constexpr int ToggleOffColor = 8;
constexpr int SwappedLampColor = 252;
constexpr std::uint8_t ArcType = 8;

// A toggle label's two states.
struct ToggleLook {
    const char* onCaption;
    const char* offCaption;
};

// The label shows the state of its flag: on (-1) or off.
void ShowToggle(App& app, Label& label, std::int16_t flag, const ToggleLook& look) {
    const auto& palette = app.tables.ColorPalette;
    label.SetBackColor(palette[flag == -1 ? ToggleOnColor : ToggleOffColor]);
    label.SetCaption(flag == -1 ? look.onCaption : look.offCaption);
}

// Flips the flag between -1 and 0; `switchOn` runs before the label shows the on state,
// `switchOff` after it shows the off state.
template <class On, class Off>
void Toggle(App& app, Label& label, std::int16_t& flag, const ToggleLook& look, On switchOn, Off switchOff) {
    if (flag == -1) {
        flag = 0;
        ShowToggle(app, label, flag, look);
        switchOff();
    } else {
        flag = -1;
        switchOn();
        ShowToggle(app, label, flag, look);
    }
}

constexpr ToggleLook SymbolDirectionLook{"任意方向", "正北符号"};

// Line records that carry a line-type code in their text.
bool CarriesLineType(std::uint8_t type) {
    return type == 12 || (type >= 41 && type <= 45) || (type >= 92 && type <= 95);
}
}  // namespace

void ShowSymbolDirection(App& app) {
    if (app.form1) ShowToggle(app, app.form1->Label5, app.current.SymbolAnyDirection, SymbolDirectionLook);
}

std::string PartnerLineType(const std::string& code) {
    static const std::map<std::string, std::string> partners = [] {
        std::map<std::string, std::string> table = {
            {"472", "511"}, {"511", "472"}, {"512", "472"}, {"358", "600"}, {"600", "358"},
            {"407", "408"}, {"408", "407"}, {"467", "468"}, {"468", "467"}, {"598", "351"},
            {"352", "599"}, {"599", "352"}, {"402", "510"},
        };
        for (const char* c : {"351", "403", "471", "479", "522"}) table[c] = "598";
        for (const char* c : {"321", "404", "410", "411", "478", "490", "510"}) table[c] = "402";
        return table;
    }();
    const auto found = partners.find(code);
    return found == partners.end() ? std::string() : found->second;
}

void stForm1::ImageCombo1_Change() {
    GuardSilently([this] {
        RecordStore& store = app.store;
        for (int i = 1; i <= ImageCombo1.ItemCount() && i <= store.LayerDimension(); ++i) {
            const auto layer = static_cast<size_t>(i);
            if (!EqualsIgnoreCase(store.LayerNames.at(layer), ImageCombo1.Text())) continue;
            app.current.CurrentColor = app.tables.ColorPalette.at(static_cast<size_t>(store.LayerColorIndex.at(layer)));
            ImageCombo1.SetForeColor(Black);
            store.LayerOnFlag.at(layer) = -1;
            store.LayerLockFlag.at(layer) = 0;
            store.CurrentLayer = static_cast<std::uint8_t>(i);
            return;
        }
    });
}

void stForm1::ImageCombo2_Click() {
    GuardSilently([this] {
        for (int i = 1; i <= ImageCombo2.ItemCount() && i < 256; ++i) {
            const auto index = static_cast<size_t>(i);
            if (!EqualsIgnoreCase(app.tables.ColorNames[index], ImageCombo2.Text())) continue;
            const Rgb color = app.tables.ColorPalette[index];
            ImageCombo2.SetBackColor(color);
            app.current.CurrentColor = color;
            if (app.tool.CommandMode == ModeSelect) ApplyColor(app);
            return;
        }
    });
}

void stForm1::Label3_Click() {
    // A marker left from before snapping went off goes now, not at some later hover.
    Toggle(app, Label3, app.tool.SnapOn, {"捕捉", "不捕捉"}, [this] { EraseSnapMarker(app); }, [] {});
}

void stForm1::Label4_Click() {
    // Either way the armed tool gives up the canvas, and its preview goes with it.
    EraseToolPreviews(app);
    Toggle(
        app, Label4, app.tool.SelectionArmed, {"选择(X)", "不选择"},
        [this] {
            app.selection.SelectionList.assign(2, SelectedRecord{});
            app.tool.SelectionCount = 1;
            app.tool.CommandMode = ModeSelect;
        },
        [this] { app.tool.CommandMode = ModeIdle; });
}

void stForm1::Label5_Click() {
    Toggle(app, Label5, app.current.SymbolAnyDirection, SymbolDirectionLook, [] {}, [] {});
}

void stForm1::Label6_Click() {
    GuardToMessageLine([this](const std::string& text) { Text2.SetText(text); }, [this] {
        const std::uint8_t mode = app.tool.CommandMode;
        if (mode == ModeLine || mode == ModePen) {
            const std::string t = Trim(Text8.Text());
            if (movra::Left(t, 1) != "*") return;
            const std::string partner = PartnerLineType(Mid(t, 2));
            if (!partner.empty()) Text8.SetText("*" + partner);
            return;
        }
        const auto& list = app.selection.SelectionList;
        if (list.size() < 2 || list[0].Layer <= 1) return;
        const auto layer = static_cast<std::uint8_t>(list[1].Layer);
        const auto slot = static_cast<std::int16_t>(list[1].Slot);
        app.current.DashOff = 0;
        刷图元(app, layer, slot, app.view.BackgroundColor);
        MapRecord& record = app.store.At(layer, slot);
        const Rgb swapped = app.tables.ColorPalette[SwappedLampColor];
        if (record.RecordType == ArcType) {
            // The arc runs the other way round; its other fields stay as they were.
            std::swap(record.RecordX3, record.RecordY3);
            app.current.ModifiedFlag = -1;
            Text8.SetText("");
            Label6.SetBackColor(swapped);
        } else if (CarriesLineType(record.RecordType)) {
            const std::string partner = PartnerLineType(record.RecordText);
            if (!partner.empty()) {
                record.RecordText = partner;
                app.current.ModifiedFlag = -1;
            }
            Text8.SetText("");
            Label6.SetBackColor(swapped);
        }
        刷图元(app, layer, slot, app.current.CurrentColor);
        app.display.PenColor = 0;
    });
}

}  // namespace movra
