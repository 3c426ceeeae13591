#include "symbols/chaxunfrm.h"

#include <memory>
#include <string>

#include "App.h"
#include "basic/Colors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/RedrawSeams.h"
#include "shell/stForm1.h"
#include "symbols/Attributes.h"
#include "symbols/QueryKinds.h"
#include "symbols/QueryReplace.h"

namespace movra {

namespace {

// The flash interval, and the slower one while a replaced hit is shown.
constexpr int FlashMs = 200;
constexpr int ReplacedFlashMs = 500;

bool ShowsPopup(std::uint8_t kind) { return kind == QueryAttribute || (kind >= QueryClass0 && kind <= QueryClass4); }

// An attribute record is shown by its popup, any other record by drawing it in the colour.
void ShowHit(App& app, bool popup, int layer, int slot, Rgb color) {
    if (popup) {
        app.attributes.PickedLayer = static_cast<std::uint8_t>(layer);
        app.attributes.PickedSlot = static_cast<std::int16_t>(slot);
        std::int16_t paint = -1;
        查类属性(app, paint);
    } else {
        HighlightRecordSeam(app, layer, slot, color);
    }
}

std::string HitsCaption(int hits) { return "查询到" + PlainNumberText(static_cast<std::int32_t>(hits)) + " 个"; }

}  // namespace

chaxunfrm::chaxunfrm(App& application)
    : FormModel(application.platform, "chaxunfrm"),
      app(application),
      Command5(*this, "Command5"),
      Text4(*this, "Text4"),
      Command4(*this, "Command4"),
      Text3(*this, "Text3"),
      Timer1(*this, "Timer1"),
      Command3(*this, "Command3"),
      Command2(*this, "Command2"),
      Command1(*this, "Command1"),
      Frame1(*this, "Frame1"),
      Option13(*this, "Option13", &Frame1),
      Option12(*this, "Option12", &Frame1),
      Option11(*this, "Option11", &Frame1),
      Option10(*this, "Option10", &Frame1),
      Text2(*this, "Text2"),
      Option9(*this, "Option9", &Frame1),
      List2(*this, "List2"),
      List1(*this, "List1"),
      Option8(*this, "Option8", &Frame1),
      Option7(*this, "Option7", &Frame1),
      Option6(*this, "Option6", &Frame1),
      Option5(*this, "Option5", &Frame1),
      Option4(*this, "Option4", &Frame1),
      Option3(*this, "Option3", &Frame1),
      Option2(*this, "Option2", &Frame1),
      Option1(*this, "Option1", &Frame1),
      Label1(*this, "Label1"),
      Text1(*this, "Text1"),
      Label2(*this, "Label2") {
    SetCaption("chaxunfrm");
    Move(0, 0, 8160, 5640);

    Frame1.SetCaption("查询对象");
    Frame1.Move(120, 60, 4320, 2760);
    static constexpr const char* OptionCaptions[13] = {
        "注记", "高程", "点名", "界址号", "宗地号", "界址边", "横坐标x,纵坐标y",
        "属性", "线型", "字高", "字体", "字倾斜角", "电话"};
    for (int n = 1; n <= 13; ++n) {
        OptionButton& option = KindOption(n);
        option.SetCaption(OptionCaptions[n - 1]);
        // Seven in the first column, six in the second.
        const int row = n <= 7 ? n - 1 : n - 8;
        option.Move(n <= 7 ? 120 : 2400, 300 + row * 345, n <= 7 ? 2220 : 1800, 300);
    }
    Option1.SetValue(true);

    for (const char* item : AttributeClassItems) List1.AddItem(item);
    List1.Move(4560, 120, 1380, 1560);
    List2.Move(6060, 120, 1920, 1560);
    Text2.SetText("0");
    Text2.Move(4560, 1800, 900, 330);
    Label1.SetCaption("天文点");
    Label1.Move(5580, 1830, 2400, 300);

    Text1.Move(120, 2940, 4320, 360);
    Command1.SetCaption("查询");
    Command1.SetDefault(true);
    Command1.Move(4560, 2340, 1500, 420);
    Command3.SetCaption("显示查询结果");
    Command3.Move(6180, 2340, 1800, 420);

    Label2.SetCaption("替换为");
    Label2.Move(120, 3480, 780, 300);
    Text3.SetText("1");
    Text3.Move(960, 3420, 1560, 360);
    Command4.SetCaption("替换");
    Command4.Move(2640, 3390, 1080, 420);
    Command5.SetCaption("全部替换");
    Command5.Move(3840, 3390, 1260, 420);
    Command2.SetCaption("退出");
    Command2.SetCancel(true);
    Command2.Move(6180, 2880, 1800, 420);

    Text4.SetMultiLine(true);
    Text4.SetText("结果");
    Text4.Move(120, 3960, 7860, 1140);

    for (int n = 1; n <= 12; ++n) KindOption(n).onClick = [this, n] { Option_Click(n); };
    Option13.onClick = [this] { Option13_Click(); };
    List1.onClick = [this] { List1_Click(); };
    List2.onClick = [this] { List2_Click(); };
    Text1.onChange = [this] { Text1_Change(); };
    Text1.onClick = [this] { Text1_Click(); };
    Text2.onChange = [this] { Text2_Change(); };
    Command1.onClick = [this] { Command1_Click(); };
    Command2.onClick = [this] { Command2_Click(); };
    Command3.onClick = [this] { Command3_Click(); };
    Command4.onClick = [this] { Command4_Click(); };
    Command5.onClick = [this] { Command5_Click(); };
    Timer1.onTimer = [this] { Timer1_Timer(); };
}

OptionButton& chaxunfrm::KindOption(int number) {
    OptionButton* options[13] = {&Option1, &Option2, &Option3,  &Option4,  &Option5,  &Option6, &Option7,
                                 &Option8, &Option9, &Option10, &Option11, &Option12, &Option13};
    return *options[number - 1];
}

void chaxunfrm::Form_Load() {
    Timer1.SetEnabled(false);
    Command4.SetEnabled(false);
    QueryKind = QueryAnnotation;
}

void chaxunfrm::Option_Click(int number) {
    if (KindOption(number).Value()) QueryKind = static_cast<std::uint8_t>(number);
    Command4.SetEnabled(false);
}

void chaxunfrm::Option13_Click() {
    if (Option13.Value()) {
        QueryKind = QueryClass0;
        QueryFieldIndex = FieldPhone1;
    }
    Command4.SetEnabled(false);
}

void chaxunfrm::List1_Click() {
    GuardSilently([this] {
        const int c = List1.ListIndex();
        if (c < 0 || c >= AttributeClassCount) return;
        List2.Clear();
        if (c == 0) {
            for (const char* name : Class0FieldNames) List2.AddItem(name);
        } else {
            for (const std::string& name : FieldNamesShown(app, c)) List2.AddItem(name);
            List2.AddItem(AnchorWordItem);
        }
        QueryKind = static_cast<std::uint8_t>(QueryClass0 + c);
    });
    Command4.SetEnabled(false);
}

void chaxunfrm::List2_Click() {
    if (List2.ListIndex() >= 0 && List2.ListIndex() <= 255) QueryFieldIndex = static_cast<std::uint8_t>(List2.ListIndex());
    Command4.SetEnabled(false);
}

void chaxunfrm::Text1_Change() { Command4.SetEnabled(false); }

// A click into an empty search box offers the selected record's text; a typed search stays.
void chaxunfrm::Text1_Click() {
    if (Text1.Text().empty()) TakeSelectedText();
}

// Coming back to the dialog after picking a record on the canvas makes that record the search.
// Without a new pick the boxes stay: the list then holds what they were filled from, or the
// query's own hits, and a search typed or found must survive a look at the main window.
void chaxunfrm::Form_GotFocus() {
    if (TakenCanvasSelection != app.selection.CanvasSelections) TakeSelectedText();
}

void chaxunfrm::Form_LostFocus() { Timer1.SetEnabled(false); }

// With nothing selected the search boxes keep what they hold.
void chaxunfrm::TakeSelectedText() {
    TakenCanvasSelection = app.selection.CanvasSelections;
    GuardSilently([this] {
        const auto& list = app.selection.SelectionList;
        if (list.size() < 2 || list[0].Layer < 2) return;
        const std::string text(app.store.Get(list[1].Layer, list[1].Slot).RecordText);
        Text1.SetText(text);
        Text2.SetText(text);
    });
}

void chaxunfrm::Text2_Change() {
    GuardSilently([this] {
        const SymbolStandard& standard = app.symbolStandard;
        if (standard.SymbolStandardLoaded != -1) {
            Label1.SetCaption("图式未加载");
            return;
        }
        const std::int16_t code = ToInt16(QueryNumber(Trim(Text2.Text())));
        // A negative code names nothing: the label stays as it is.
        if (code < 0) return;
        if (code < 350)
            Label1.SetCaption(standard.SymbolNames.At(code));
        else if (code <= 549)
            Label1.SetCaption(standard.LineTypeNames.At(code - 349));
        else if (code <= 608)
            Label1.SetCaption(PlainNumberText(static_cast<std::int32_t>(code)));
    });
}

void chaxunfrm::Command1_Click() {
    Timer1.SetEnabled(false);
    QueryHitCounter = 1;
    auto& list = app.selection.SelectionList;
    list.assign(2, SelectedRecord{});
    const QueryTerms terms = MakeQueryTerms(app, Text1.Text(), QueryFieldIndex);
    Command1.SetCaption("查询");
    Command3.SetCaption("无");
    if (terms.text.empty()) return;
    Command3.SetCaption("显示查询结果");
    if (QueryNeedsNumber(QueryKind) && terms.text != "0" && terms.number == 0) return;

    const bool popup = ShowsPopup(QueryKind);
    const Rgb color = app.current.CurrentColor;
    ScanForHits(app, QueryKind, terms, QueryHitLimit, [&](int layer, int slot) {
        GuardSilently([&] { ShowHit(app, popup, layer, slot, color); });
        list[static_cast<std::size_t>(QueryHitCounter)] = {layer, slot};
        ++QueryHitCounter;
        list.resize(static_cast<std::size_t>(QueryHitCounter) + 1);
    });
    if (QueryHitCounter > 1) Command1.SetCaption(HitsCaption(QueryHitCounter - 1));
    list[0].Layer = QueryHitCounter;
    QueryCursor = 0;
    Command4.SetEnabled(true);
}

void chaxunfrm::Command2_Click() {
    app.selection.SelectionList.assign(1, SelectedRecord{});
    Timer1.SetEnabled(false);
    Unload();
}

int chaxunfrm::CountCell() const {
    const auto& list = app.selection.SelectionList;
    return list.empty() ? 0 : list[0].Layer;
}

// The hits are the positions the query left; a list changed since then (a selection on the canvas)
// is read only as far as it goes.
bool chaxunfrm::CursorOnHit() const {
    return QueryCursor < CountCell() && QueryCursor < static_cast<int>(app.selection.SelectionList.size());
}

void chaxunfrm::StartFlash() {
    Timer1.SetInterval(FlashMs);
    Timer1.SetEnabled(true);
}

bool chaxunfrm::GoToHit() {
    return GuardSilently([this] {
        const SelectedRecord& hit = app.selection.SelectionList.at(static_cast<std::size_t>(QueryCursor));
        const MapRecord& r = app.store.Get(hit.Layer, hit.Slot);
        CurrentHitLayer = static_cast<std::uint8_t>(hit.Layer);
        CurrentHitSlot = static_cast<std::int16_t>(hit.Slot);
        if (app.form1) {
            PictureBox& canvas = app.form1->Picture1;
            // The hit in the middle across, 20 paper millimetres below the top edge.
            canvas.SetScale(r.RecordX1 - canvas.ScaleWidth() / 2, r.RecordY1 + 20 * app.view.ScaleFactor,
                            canvas.ScaleWidth(), canvas.ScaleHeight());
        }
        RedrawSeam(app);
        HighlightRecordSeam(app, hit.Layer, hit.Slot, PackedColorSum(app.current.CurrentColor, 1));
    });
}

void chaxunfrm::ShowHitCaptions() {
    Command1.SetCaption(HitsCaption(QueryHitCounter - 1) + PlainNumberText(static_cast<std::int32_t>(QueryCursor)));
    Command3.SetCaption("下一个");
}

void chaxunfrm::Command3_Click() {
    StartFlash();
    ++QueryCursor;
    if (CursorOnHit()) {
        if (GoToHit()) {
            GuardSilently([this] {
                const MapRecord& r = app.store.Get(CurrentHitLayer, CurrentHitSlot);
                const std::string& brk = app.settings.LineBreak;
                Text4.SetText(std::string(r.RecordText) + brk + std::string(r.RecordExtra) + brk);
            });
        }
        ShowHitCaptions();
        return;
    }
    QueryCursor = 0;
    Timer1.SetEnabled(false);
    Command3.SetCaption("查毕");
}

bool chaxunfrm::ReplaceInHit() {
    const ReplaceValues values = MakeReplaceValues(Text1.Text(), Text3.Text(), QueryFieldIndex);
    switch (ReplaceInRecord(app, QueryKind, CurrentHitLayer, CurrentHitSlot, values)) {
        case ReplaceOutcome::Done: return true;
        case ReplaceOutcome::NotANumber: return false;
        case ReplaceOutcome::SymbolTooLarge: app.platform.prompt().MsgBox("独立地物须小于350"); break;
        case ReplaceOutcome::LineTypeTooSmall: app.platform.prompt().MsgBox("线型须大于349"); break;
    }
    app.platform.prompt().MsgBox("未替换");
    return false;
}

void chaxunfrm::Command4_Click() {
    StartFlash();
    Command4.SetCaption("替换");
    if (QueryCursor == 0) QueryCursor = 1;
    if (CursorOnHit()) {
        if (GoToHit()) {
            if (FindReplaceRule(QueryKind)) Timer1.SetInterval(ReplacedFlashMs);
            if (!ReplaceInHit()) return;
        }
        ShowHitCaptions();
        return;
    }
    QueryCursor = 0;
    Timer1.SetEnabled(false);
    Command4.SetCaption("替换毕");
}

void chaxunfrm::Command5_Click() {
    StartFlash();
    if (QueryCursor == 0) QueryCursor = 1;
    while (CursorOnHit()) {
        if (GoToHit()) {
            if (QueryKind == QueryParcelNumber || QueryKind == QueryFont) Timer1.SetInterval(ReplacedFlashMs);
            if (!ReplaceInHit()) return;
        }
        ++QueryCursor;
    }
    QueryCursor = 0;
    Timer1.SetEnabled(false);
    Command4.SetCaption("替换毕");
}

void chaxunfrm::Timer1_Timer() {
    if (FlashColor != 0) {
        FlashColor = 0;
    } else {
        if (++FlashBeepCount > 5) {
            FlashBeepCount = 0;
            app.platform.sound().Beep(11, 11);
        }
        FlashColor = PackedColorSum(app.current.CurrentColor, 500);
    }
    GuardSilently([this] {
        const MapRecord& r = app.store.Get(CurrentHitLayer, CurrentHitSlot);
        ShowHit(app, IsAttributeRecordType(r.RecordType), CurrentHitLayer, CurrentHitSlot, FlashColor);
    });
}

void ShowQueryDialog(App& app) {
    if (!app.queryDialog || !app.queryDialog->Loaded()) app.queryDialog = std::make_shared<chaxunfrm>(app);
    app.queryDialog->Show(false);
}

}  // namespace movra
