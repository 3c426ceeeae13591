#include "symbols/SelfMadeSymbols.h"

#include <algorithm>
#include <functional>

#include "App.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/StoreRecord.h"
#include "platform/Surface.h"
#include "shell/stForm1.h"
#include "symbols/SelfMadeElements.h"
#include "symbols/ZfhFile.h"

namespace movra {

namespace {

// Staging gives up this many slots after its anchor.
constexpr int StagingReach = 49;

void WriteText2(App& app, const std::string& text) {
    if (app.form1) app.form1->Text2.SetText(text);
}

// One past the last slot of the loaded library: a name is looked for only among its records,
// never in whatever layer 0 holds above them.
int LibraryEnd(const App& app) {
    if (app.selfMade.SelfMadeSymbolsLoaded != -1) return Layer0Slots::SymbolLibraryFirst;
    return std::min<int>(app.selfMade.Layer0SavedCount, app.store.LayerCapacity);
}

// Calls `each` with every slot of the first run of library records named `name` (compared
// without regard to letter case, the stored name with its blanks trimmed) until it returns false.
void ForEachSymbolSlot(App& app, const std::string& name, const std::function<bool(int slot)>& each) {
    const std::string wanted = Trim(name);
    bool matched = false;
    for (int i = Layer0Slots::SymbolLibraryFirst; i < LibraryEnd(app); ++i) {
        if (EqualsIgnoreCase(Trim(std::string_view(app.store.Get(0, i).RecordText)), wanted)) {
            matched = true;
            if (!each(i)) return;
        } else if (matched) {
            return;
        }
    }
}

// The insertion scale: the size in TextSize tenths times ScaleFactor, as every paper size of the
// standard's symbols is, so that a 10 mm symbol covers 10 mm of paper at any scale.
double InsertionScale(const App& app) {
    const auto s = static_cast<float>(app.current.TextSize / 10 * app.view.ScaleFactor);
    return s == 0 ? app.view.ScaleFactor : s;
}

int SizeSteps(const App& app) { return static_cast<int>(Int(app.current.TextSize / 10)); }

void ClearStagingSlots(App& app) {
    for (int s = Layer0Slots::SymbolCopyFirst; s <= Layer0Slots::SymbolCopyLast; ++s) {
        MapRecord& m = app.store.At(0, s);
        ClearSymbolSlot(m);
        m.RecordFont = "";
    }
}

}  // namespace

void InsertSelfMadeSymbol(App& app, double x, double y, const std::string& name) {
    GuardToMessageLine([&app](const std::string& text) { WriteText2(app, text); }, [&] {
        const double s = InsertionScale(app);
        const std::uint8_t pen = ToByte(SizeSteps(app) + 6);
        if (app.form1) app.form1->Picture1.surface().SetDrawWidth(1);
        RecordStore& store = app.store;
        ForEachSymbolSlot(app, name, [&](int slot) {
            const MapRecord& element = store.Get(0, slot);
            if (!IsSymbolElementType(element.RecordType)) return true;
            // Room for the record and the open slot after it, growing the layers when needed.
            if (store.Count(store.CurrentLayer) + 1 > store.LayerCapacity) GrowLayerCapacity(app);
            const int layer = store.CurrentLayer;
            const int n = store.Count(layer);
            if (n + 1 > store.LayerCapacity) {
                WriteText2(app, LayerFullMessage);
                return false;
            }
            MapRecord& target = store.At(layer, n);
            PlaceSymbolElement(element, target, {.originX = x, .originY = y, .multiplier = s});
            target.RecordColor = app.current.CurrentColor;
            target.RecordPen = pen;
            store.Count(layer) = n + 1;
            app.current.ModifiedFlag = -1;
            return true;
        });
    });
}

void PreviewSelfMadeSymbol(App& app, double x, double y, const std::string& name) {
    if (!app.form1) return;
    GuardToMessageLine([&app](const std::string& text) { WriteText2(app, text); }, [&] {
        const double s = InsertionScale(app);
        Surface& canvas = app.form1->Picture1.surface();
        canvas.SetDrawWidth(std::max(1, SizeSteps(app) + 1));
        ForEachSymbolSlot(app, name, [&](int slot) {
            DrawSymbolElement(canvas, app.store.Get(0, slot), {.originX = x, .originY = y, .multiplier = s},
                              app.current.CurrentColor);
            return true;
        });
    });
}

bool StageSelfMadeSymbol(App& app, const std::string& name) {
    std::vector<SelectedRecord>& list = app.selection.SelectionList;
    list.assign(2, SelectedRecord{});
    if (app.selfMade.SelfMadeSymbolsLoaded == 0) {
        if (app.platform.prompt().MsgBox("自制符号未加载，要加载吗？", MsgYesNo, "加载自制符号") != AnswerYes)
            return false;
        LoadSelfMadeSymbols(app);
    }
    bool found = false;
    const bool scanned = GuardSilently([&] {
        ClearStagingSlots(app);
        int k = 1;
        int anchor = Layer0Slots::SymbolLibraryFirst;
        for (int i = Layer0Slots::SymbolLibraryFirst; i < LibraryEnd(app); ++i) {
            if (k < 2) anchor = i;
            const MapRecord& record = app.store.Get(0, i);
            if (EqualsIgnoreCase(std::string_view(record.RecordText), name)) {
                list[static_cast<std::size_t>(k)] = {0, i};
                MapRecord& copy = app.store.At(0, Layer0Slots::SymbolCopyFirst - 1 + k);
                const std::uint8_t source = copy.RecordSource;
                const RecordExtraValue extra = copy.RecordExtra;
                copy = record;
                copy.RecordSource = source;
                copy.RecordExtra = extra;
                if (k == 2) anchor = i;
                ++k;
                list.resize(static_cast<std::size_t>(k) + 1);
            }
            if (k > 1) found = true;
            if (i - anchor > StagingReach) break;
        }
        if (found) list[0].Layer = k;
    });
    return scanned && found;
}

}  // namespace movra
