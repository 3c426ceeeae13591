#include "exchange/PointGroupImport.h"

#include <cfloat>
#include <cmath>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/MapRecord.h"
#include "editing/ToolState.h"
#include "exchange/PointLists.h"
#include "exchange/wbxxFrm.h"
#include "platform/PacedEvents.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr std::uint8_t PointPen = 8;
// The label size of a named point.
constexpr double PointLabelSize = 8;
// The point symbol of a line without a grade.
constexpr float DefaultGrade = 7;

bool EndsList(const std::string& trimmed) {
    return EqualsIgnoreCase(trimmed, "EOF") || EqualsIgnoreCase(trimmed, "END");
}

// The lines of the file up to the end mark, trimmed.
std::vector<std::string> ReadPointGroupLines(const std::string& path, PacedEvents& events) {
    std::vector<std::string> lines;
    for (const std::string& line : ReadTextLines(path)) {
        std::string trimmed = Trim(line);
        if (EndsList(trimmed)) break;
        lines.push_back(std::move(trimmed));
        events.Step();
    }
    return lines;
}

void ArmArticle(App& app) {
    if (app.form1) {
        stForm1& form = *app.form1;
        form.Text2.SetText("文章张贴");
        const int wrap = app.textPlacement.ParagraphWrapColumns > 1 ? app.textPlacement.ParagraphWrapColumns
                                                                    : DefaultParagraphWrapColumns;
        form.Text8.SetText(PlainNumberText(static_cast<std::int32_t>(wrap)));
        form.Text8.SetLocked(true);
    }
    app.tool.CommandMode = ModeArticleText;
}

// A number that a single keeps as it is; larger ones make the line a bad one.
bool FitsSingle(double v) { return std::fabs(v) <= FLT_MAX; }

// Why a line of the list gave no point.
enum class LineSkipped { No, TooFewFields, CoordinateNotNumber, CoordinateTooFar, ValueTooLarge };

const char* SkipReason(LineSkipped why) {
    switch (why) {
        case LineSkipped::TooFewFields: return "字段数少于行格式所需";
        case LineSkipped::CoordinateNotNumber: return "坐标不是数字";
        case LineSkipped::CoordinateTooFar: return "坐标超出范围（离原点超过10亿米）";
        case LineSkipped::ValueTooLarge: return "高程或等级代码超出范围";
        case LineSkipped::No: break;
    }
    return "";
}

// One line as a point. A line is skipped when it lacks a field the format reads, when a
// coordinate is not a number as a whole (a name or a letter would put the point at 0) or lies
// beyond the farthest storable coordinate, or when a number is beyond what a point keeps.
LineSkipped StorePointLine(App& app, const PointFieldOrder& order, std::uint8_t type, const std::string& line) {
    const std::vector<std::string> fields = PointGroupFields(line);
    const int count = static_cast<int>(fields.size());
    if (count < order.FieldsNeeded()) return LineSkipped::TooFewFields;
    const auto field = [&](PointField f) -> const std::string* {
        const int column = order.Column(f);
        return column >= 0 && column < count ? &fields[static_cast<std::size_t>(column)] : nullptr;
    };
    const auto number = [&](PointField f, double otherwise) {
        const std::string* text = field(f);
        return text ? NumericPrefix(*text) : otherwise;
    };
    for (PointField coordinate : {PointEastField, PointNorthField}) {
        const std::string* text = field(coordinate);
        if (!text || !IsWholeNumber(*text)) return LineSkipped::CoordinateNotNumber;
    }
    const double x = number(PointEastField, 0);
    const double y = number(PointNorthField, 0);
    if (!IsStorablePoint(x, y)) return LineSkipped::CoordinateTooFar;
    const double z = number(PointElevationField, 0);
    const double grade = number(PointGradeField, DefaultGrade);
    if (!FitsSingle(z) || !FitsSingle(grade)) return LineSkipped::ValueTooLarge;
    const std::string name =
        order.Names(PointNameField) ? Trim(fields[static_cast<std::size_t>(order.Column(PointNameField))]) : std::string();

    RecordStore& store = app.store;
    MapRecord& r = OpenPointSlot(app, type, x, y, PointLabelSize, name);
    r.RecordPen = PointPen;
    r.RecordZ1 = static_cast<float>(z);
    r.RecordZ2 = static_cast<float>(z);
    r.RecordZ4 = static_cast<float>(grade);
    r.RecordFont = app.tables.FontNames[2];
    store.Count(store.CurrentLayer) += 1;
    app.current.ModifiedFlag = -1;
    return LineSkipped::No;
}

// Stores the lines as points and tells the user how many were stored and how many lines were
// skipped, and why the first of them was.
void StorePointLines(App& app, const PointFieldOrder& order, std::uint8_t type, const std::string& fileName,
                     const std::vector<std::string>& lines, PacedEvents& events) {
    int stored = 0;
    int skipped = 0;
    std::size_t firstSkipped = 0;
    LineSkipped firstWhy = LineSkipped::No;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        // A blank line between the points is no point and no fault of the list.
        if (lines[i].empty()) continue;
        events.Step();
        const LineSkipped why = StorePointLine(app, order, type, lines[i]);
        if (why == LineSkipped::No) {
            ++stored;
            continue;
        }
        if (skipped++ == 0) {
            firstSkipped = i + 1;
            firstWhy = why;
        }
    }
    std::string message = fileName + "：读入" + std::to_string(stored) + "个点";
    if (skipped > 0)
        message += "，跳过" + std::to_string(skipped) + "行（" + LineWhere(static_cast<long long>(firstSkipped)) +
                   "：" + SkipReason(firstWhy) + "）";
    app.platform.prompt().MsgBox(message + "。", MsgOkOnly);
}

}  // namespace

std::vector<std::string> PointGroupFields(const std::string& line) {
    std::string blanked;
    blanked.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ':' || line[i] == ';') {
            blanked += ' ';
            ++i;
        } else if (line.compare(i, 3, "，") == 0 || line.compare(i, 3, "；") == 0) {
            blanked += ' ';
            i += 3;
        } else {
            blanked += line[i++];
        }
    }
    // A line is blank-separated when a blank stands apart from any comma; otherwise its commas
    // separate (a list written by a spreadsheet or another program, "K1,3456800.125,...").
    const std::size_t n = blanked.size();
    bool blankSeparated = false;
    for (std::size_t i = 0; i < n && !blankSeparated;) {
        if (blanked[i] != ' ') {
            ++i;
            continue;
        }
        const std::size_t from = i;
        while (i < n && blanked[i] == ' ') ++i;
        blankSeparated = !(from > 0 && blanked[from - 1] == ',') && !(i < n && blanked[i] == ',');
    }
    // A comma with blanks beside it, and in a comma-separated line every comma, ends a field
    // together with the blanks beside it; a bare comma in a blank-separated line belongs to its
    // field, as in the point name "P4,5".
    std::string spaced;
    spaced.reserve(n);
    std::size_t separatorEnd = 0;  // the end of the last comma's separator in `spaced`
    for (std::size_t i = 0; i < n;) {
        const bool blankBeside = (i > 0 && blanked[i - 1] == ' ') || (i + 1 < n && blanked[i + 1] == ' ');
        if (blanked[i] != ',' || (blankSeparated && !blankBeside)) {
            spaced += blanked[i++];
            continue;
        }
        // The blanks right before the comma are part of it, not separators of their own.
        while (!spaced.empty() && spaced.back() == ' ' && spaced.size() > separatorEnd) spaced.pop_back();
        spaced += ' ';
        ++i;
        while (i < n && blanked[i] == ' ') ++i;
        separatorEnd = spaced.size();
    }
    std::vector<std::string> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t blank = spaced.find(' ', start);
        fields.push_back(spaced.substr(start, blank == std::string::npos ? std::string::npos : blank - start));
        if (blank == std::string::npos) break;
        start = blank + 1;
    }
    return fields;
}

void ImportPointGroupText(App& app, const std::string& typeCode) {
    bool articleArmed = false;
    GuardSilently([&] {
        const std::string format = PointGroupFormat(app);
        const bool article = format == ArticleLineFormat;
        const PointFieldOrder order = ParsePointFieldOrder(format);

        FileDialogRequest request;
        request.title = "打开文本*.txt";
        request.filter = "所有文件|*.*|文本*.txt|*.txt";
        request.filterIndex = 2;
        request.fileMustExist = true;
        const FileDialogResult chosen = app.platform.dialogs().ShowOpen(request);
        if (chosen.cancelled || chosen.fileName.empty()) return;
        app.platform.events().DoEvents();

        auto& pending = app.textPlacement.PendingTextLines;
        PacedEvents events(app.platform.events());
        std::vector<std::string> lines;
        try {
            lines = ReadPointGroupLines(chosen.fileName, events);
        } catch (const RuntimeError& e) {
            ShowRuntimeError(app.platform.prompt(),
                             RuntimeError(e.number, ReadStoppedText(FileNameOf(chosen.fileName), "", e, "")));
            return;
        }
        pending = std::move(lines);
        if (article) {
            ArmArticle(app);
            articleArmed = true;
            return;
        }
        // An order without both coordinates describes no point: nothing is stored under it.
        if (!order.DescribesPoints()) {
            app.platform.prompt().MsgBox(PointFormatWithoutCoordinatesMessage, MsgOkOnly);
            return;
        }
        const std::uint8_t type = ToByte(Val(typeCode));
        StorePointLines(app, order, type, FileNameOf(chosen.fileName), pending, events);
    });
    // The article waits for its click with the tool's own pointer.
    if (articleArmed) return;
    GuardSilently([&] {
        if (app.linkDialog && app.linkDialog->Loaded()) app.linkDialog->Unload();
        if (app.form1) app.form1->Picture1.SetMousePointer(PointerArrow);
    });
}

}  // namespace movra
