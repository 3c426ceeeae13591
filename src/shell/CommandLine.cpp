#include "shell/CommandLine.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "display/Redraw.h"
#include "display/HighlightRenderer.h"
#include "document/RecordTypes.h"
#include "document/StoreRecord.h"
#include "exchange/PointLists.h"
#include "symbols/LoadSymbolStandard.h"
#include "symbols/ZfhFile.h"
#include "shell/stForm1.h"

namespace movra {

namespace {
constexpr Rgb LampBlue = MakeRgb(0, 0, 255);
constexpr Rgb LampYellow = MakeRgb(255, 255, 0);
constexpr int PointerCrossHair = 2;
// The canvas margin around a placed point in paper millimetres.
constexpr double JumpMargin = 30;

// The material words the letters after "zj:" stand for.
struct MaterialShortcut {
    const char* letter;
    const char* word;
};
constexpr MaterialShortcut MaterialShortcuts[] = {
    {"z", "砖"}, {"m", "木"}, {"t", "土"}, {"d", "砼"}, {"j", "简"}, {"c", "厕"},
};

// What a "*" code from 350 on arms: the tool, and the offset from the code to its line type's
// index. Codes below 350 are point symbols, named by the code itself.
struct CodeRange {
    double from;
    double to;
    std::uint8_t mode;
    int lineTypeOffset;
};
constexpr CodeRange CodeRanges[] = {
    {350, 549, ModeLine, 349},
    {550, 597, ModeFill, 349},
    {598, 608, ModeLine, 349},
};

const std::string& Part(const std::vector<std::string>& parts, size_t i) {
    if (i >= parts.size()) Raise(ErrSubscriptOutOfRange);
    return parts[i];
}

}  // namespace

double StrictNumber(const std::string& text) {
    const std::string t = Trim(text);
    const bool plain = !t.empty() && t.find_first_not_of("0123456789+-.eE") == std::string::npos;
    if (!plain) Raise(ErrTypeMismatch);
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(t.c_str(), &end);
    if (end != t.c_str() + t.size()) Raise(ErrTypeMismatch);
    if (errno == ERANGE || !std::isfinite(value)) Raise(ErrOverflow);
    return value;
}

std::vector<std::string> SplitText(const std::string& text, const std::string& separator) {
    std::vector<std::string> parts;
    if (separator.empty()) return {text};
    size_t start = 0;
    for (;;) {
        const size_t at = text.find(separator, start);
        if (at == std::string::npos) break;
        parts.push_back(text.substr(start, at - start));
        start = at + separator.size();
    }
    parts.push_back(text.substr(start));
    return parts;
}

void stForm1::RepaintLamp() {
    Label6.SetBackColor(app.tool.CommandMode == ModeIdle ? LampBlue : LampYellow);
}

void stForm1::Text8_Change() {
    try {
        const std::string s = Trim(Text8.Text());
        const std::string p = movra::Left(s, 3);
        if (EqualsIgnoreCase(p, "zj:")) {
            app.tool.CommandMode = ModeMaterialText;
            const std::string letter = Mid(s, 4, 1);
            for (const MaterialShortcut& shortcut : MaterialShortcuts) {
                if (!EqualsIgnoreCase(letter, shortcut.letter)) continue;
                // Written while this handler runs, the new line does not run it again: the
                // parser below reads the replaced line once.
                Text8.SetText(std::string("zj:") + shortcut.word);
                if (letter == "t" || letter == "T") Text2.SetText("注记：砼____d");
                Text8.SetSelStart(static_cast<int>(Len(Text8.Text())));
                break;
            }
            Text8_Click();
        } else if (EqualsIgnoreCase(p, "xg:") || EqualsIgnoreCase(p, "xg：")) {
            // The selection offers its rename line with a full-width colon; both colons rename.
            const auto& list = app.selection.SelectionList;
            if (list.empty() || list[0].Layer <= 1 || list.size() < 2) return;
            const auto layer = static_cast<std::uint8_t>(list[1].Layer);
            const auto slot = static_cast<std::int16_t>(list[1].Slot);
            MapRecord& record = app.store.At(layer, slot);
            // The selection offers the record's own text: until the user edits it nothing changes,
            // and the record keeps its highlight and the map its saved state.
            const std::string renamed = Mid(s, 4);
            if (record.RecordText == renamed) return;
            刷图元(app, layer, slot, app.view.BackgroundColor);
            record.RecordText = renamed;
            app.current.ModifiedFlag = -1;
            刷图元(app, layer, slot, app.current.CurrentColor);
        } else if (EqualsIgnoreCase(p, "ZXY")) {
            if (!EqualsIgnoreCase(s, "ZXY:")) Text2.SetText("单击确认高程或z,x,y");
        } else {
            Text8_Click();
        }
    } catch (...) {
        app.tool.CommandMode = ModeIdle;
        Text2.SetText("有错！");
    }
}

void stForm1::Text8_Click() {
    GuardSilently([this] {
        const std::string s = Trim(Text8.Text());
        if (s.empty()) {
            Text8.SetFocus();
            return;
        }
        if (Val(s) == 0) {
            const std::string first = movra::Left(s, 1);
            const std::string p = movra::Left(s, 3);
            ToolState& tool = app.tool;
            Prompt& prompt = platform().prompt();
            if (first == "#") {
                Text2.SetText("自制符号插入，按下_移");
                tool.CommandMode = ModeSelfMadeSymbol;
                if (app.selfMade.SelfMadeSymbolsLoaded == 0) {
                    if (prompt.MsgBox("自制符号未加载，要加载吗？", MsgYesNo, "加载自制符号") == AnswerNo) return;
                    LoadSelfMadeSymbols(app);
                }
            } else if (first == "*") {
                Text2.SetText("图式符号形插入，按下_移");
                const double c = Val(Mid(s, 2));
                SymbolStandard& standard = app.symbolStandard;
                if (standard.SymbolStandardLoaded == 0) {
                    if (prompt.MsgBox("要加载图式吗？", MsgYesNo, "加载图式") == AnswerNo) return;
                    // The loader says itself whether the standard loaded.
                    LoadSymbolStandard(app);
                }
                if (standard.SymbolStandardLoaded == -1) {
                    if (c < 350) {
                        tool.CommandMode = ModeMapSymbol;
                        tool.CommandArgument = PlainNumberText(c);
                        Text2.SetText(standard.SymbolNames.At(ToInt16(c)));
                    }
                    for (const CodeRange& range : CodeRanges) {
                        if (c < range.from || c > range.to) continue;
                        tool.CommandMode = range.mode;
                        tool.CommandArgument = PlainNumberText(c);
                        Text2.SetText(standard.LineTypeNames.At(ToInt16(c) - range.lineTypeOffset));
                        break;
                    }
                    Picture1.SetMousePointer(PointerCrossHair);
                }
            } else if (first == "z" || first == "Z") {
                if (EqualsIgnoreCase(p, "zj:")) {
                    tool.CommandMode = ModeMaterialText;
                    const std::string rest = Trim(Mid(s, 4));
                    app.current.PendingText = rest.empty() ? "砖" : rest;
                } else if (EqualsIgnoreCase(p, "ZXY")) {
                    ParseXyzQuery();
                }
            } else if (EqualsIgnoreCase(p, "xx:")) {
                const std::string r = Trim(Mid(s, 4));
                CurrentAttributes& current = app.current;
                current.DashWidth = static_cast<float>(Val(r));
                if (!r.empty()) {
                    const auto parts = SplitText(r, current.FieldSeparator);
                    current.DashWidth = static_cast<float>(StrictNumber(Part(parts, 0)));
                    current.DashOn = static_cast<float>(StrictNumber(Part(parts, 1)));
                    current.DashOff = static_cast<float>(StrictNumber(Part(parts, 2)));
                }
            }
        }
        RepaintLamp();
    });
}

void stForm1::Text8_DblClick() {
    GuardSilently([this] {
        const std::string s = Trim(Text8.Text());
        if (s.empty()) {
            Text8.SetFocus();
            return;
        }
        if (Val(s) != 0) return;
        if (EqualsIgnoreCase(movra::Left(s, 3), "xyz")) JumpToCoordinates();
    });
}

void stForm1::Text2_DblClick() { Text2.SetText("停止进程"); }

void stForm1::ParseXyzQuery() {
    GuardSilently([this] {
        app.tool.CommandMode = ModeIdle;
        if (EqualsIgnoreCase(Trim(Text8.Text()), "xyz:")) return;
        const std::string v = Mid(Text8.Text(), 5);
        if (v == "0") return;
        if (v.find(',') != std::string::npos) {
            JumpToCoordinates();
            return;
        }
        app.current.PendingText = v;
        app.tool.CommandMode = ModeElevationPoint;
        if (v == "999") Text2.SetText("999时可查询地物高程属性");
    });
}

void stForm1::JumpToCoordinates() {
    GuardSilently([this] {
        if (EqualsIgnoreCase(Trim(Text8.Text()), "xyz:")) return;
        CurrentAttributes& current = app.current;
        const std::string v = Mid(Text8.Text(), 5);
        // The same entry confirmed again places no second point.
        if (v == current.LastJumpText) return;
        current.LastJumpText = v;
        if (v == "0") return;
        const auto parts = SplitText(v, current.FieldSeparator);
        const size_t n = parts.size();
        if (n == 1) {
            current.PendingText = v;
            return;
        }
        if (n < 3 || n > 5) return;
        // Every part is converted before anything is written, so a bad one leaves the open slot
        // clean.
        const double z = StrictNumber(parts[0]);
        const double x = StrictNumber(parts[1]);
        const double y = StrictNumber(parts[2]);
        const std::string text = n == 3 ? parts[0] : parts[3];
        const double grade = n == 5 ? StrictNumber(parts[4]) : (n == 4 ? 8 : 14);
        // A point beyond what the store and the view can hold is refused, and the message line
        // says why: once saved, it would leave every view of the map at infinity.
        if (!IsStorablePoint(x, y) || !std::isfinite(static_cast<float>(z))) {
            Text2.SetText(MessageLineText(RuntimeError(ErrOverflow)));
            return;
        }

        RecordStore& store = app.store;
        const int layer = store.CurrentLayer;
        MapRecord& record = OpenPointSlot(app, TypeNamedSymbolPoint, x, y, 8, text);
        record.RecordZ1 = static_cast<float>(z);
        record.RecordZ4 = static_cast<float>(grade);
        record.RecordPen = 8;
        record.RecordFont = current.CurrentFont;
        store.Count(layer) += 1;
        current.ModifiedFlag = -1;
        app.tool.CommandMode = ModeIdle;
        const double margin = JumpMargin * app.view.ScaleFactor;
        Picture1.SetScale(x - margin, y + margin, Picture1.ScaleWidth(), Picture1.ScaleHeight());
        刷新(app);
    });
}

}  // namespace movra
