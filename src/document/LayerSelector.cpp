#include "document/LayerSelector.h"

#include <algorithm>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "shell/stForm1.h"

namespace movra {

namespace {
constexpr Rgb White = 0xFFFFFF;
}

void RebuildLayerSelector(App& app, int n) {
    auto& store = app.store;
    n = std::clamp(n, 0, 255);
    if (stForm1* form = app.form1) {
        ImageCombo& combo = form->ImageCombo1;
        if (!combo.ImageListRef()) combo.SetImageList(&form->ImageList2);
        combo.ClearItems();
        combo.SetBackColor(White);
        for (int i = 1; i <= n; ++i) {
            const auto layer = static_cast<size_t>(i);
            combo.AddItem(i, "k" + PlainNumberText(static_cast<std::int32_t>(i)), store.LayerNames[layer],
                          store.LayerColorIndex[layer], 0);
        }
        combo.SetText(store.LayerNames[static_cast<size_t>(n)]);
    }
    // Layer n itself is chosen, not the first layer that bears its name: names may repeat or be
    // empty.
    SelectLayer(app, n);
}

void SelectLayer(App& app, int layer) {
    auto& store = app.store;
    layer = std::clamp(layer, 0, 255);
    const auto i = static_cast<size_t>(layer);
    const int colorIndex = store.LayerColorIndex[i];
    app.current.CurrentColor = app.tables.ColorPalette[static_cast<size_t>(colorIndex)];
    ShowColorInSelector(app, colorIndex);
    store.LayerOnFlag[i] = -1;
    store.LayerLockFlag[i] = 0;
    store.CurrentLayer = static_cast<std::uint8_t>(layer);
}

bool SelectLayerByName(App& app, const std::string& name) {
    auto& store = app.store;
    for (int layer = 1; layer <= store.LayerCount; ++layer) {
        const auto i = static_cast<size_t>(layer);
        if (!EqualsIgnoreCase(store.LayerNames[i], name)) continue;
        SelectLayer(app, layer);
        return true;
    }
    return false;
}

void ShowColorInSelector(App& app, int colorIndex) {
    stForm1* form = app.form1;
    if (!form) return;
    colorIndex = std::clamp(colorIndex, 0, 255);
    ImageCombo& combo = form->ImageCombo2;
    // Colour 0 has no item of its own; the box still names it.
    if (colorIndex >= 1 && colorIndex <= combo.ItemCount()) combo.SetSelectedItem(colorIndex);
    combo.SetText(app.tables.ColorNames[static_cast<size_t>(colorIndex)]);
    combo.SetBackColor(app.tables.ColorPalette[static_cast<size_t>(colorIndex)]);
}

void stForm1::ImageCombo1_Click() {
    GuardToMessageLine([this](const std::string& text) { Text2.SetText(text); },
                       [this] { SelectLayerByName(app, ImageCombo1.Text()); });
}

}  // namespace movra
