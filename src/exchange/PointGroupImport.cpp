#include "exchange/PointGroupImport.h"

#include <cfloat>
#include <cmath>

#include "App.h"
#include "basic/Files.h"
#include "basic/Guards.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/MapRecord.h"
#include "editing/ToolState.h"
#include "exchange/PointLists.h"
#include "exchange/wbxxFrm.h"
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
std::vector<std::string> ReadPointGroupLines(App& app, const std::string& path) {
    std::vector<std::string> lines;
    for (const std::string& line : ReadTextLines(path)) {
        std::string trimmed = Trim(line);
        if (EndsList(trimmed)) break;
        lines.push_back(std::move(trimmed));
        app.platform.events().DoEvents();
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

// One line as a point; false when the line lacks a field the format reads or holds a number
// beyond what a point keeps.
bool StorePointLine(App& app, const PointFieldOrder& order, std::uint8_t type, const std::string& line) {
    const std::vector<std::string> fields = PointGroupFields(line);
    const int count = static_cast<int>(fields.size());
    if (count < order.FieldsNeeded()) return false;
    const auto number = [&](PointField f, double otherwise) {
        const int column = order.Column(f);
        return column >= 0 && column < count ? NumericPrefix(fields[static_cast<std::size_t>(column)]) : otherwise;
    };
    const double x = number(PointEastField, 0);
    const double y = number(PointNorthField, 0);
    const double z = number(PointElevationField, 0);
    const double grade = number(PointGradeField, DefaultGrade);
    if (!FitsSingle(z) || !FitsSingle(grade)) return false;
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
    return true;
}

}  // namespace

std::vector<std::string> PointGroupFields(const std::string& line) {
    std::string spaced;
    spaced.reserve(line.size());
    for (std::size_t i = 0; i < line.size();) {
        if (line[i] == ':' || line[i] == ';') {
            spaced += ' ';
            ++i;
        } else if (line.compare(i, 3, "，") == 0 || line.compare(i, 3, "；") == 0) {
            spaced += ' ';
            i += 3;
        } else {
            spaced += line[i++];
        }
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
        pending.clear();
        pending = ReadPointGroupLines(app, chosen.fileName);
        if (article) {
            ArmArticle(app);
            articleArmed = true;
            return;
        }
        // An order without both coordinates describes no point: nothing is stored under it.
        if (!order.DescribesPoints()) return;
        const std::uint8_t type = ToByte(Val(typeCode));
        for (const std::string& line : pending) StorePointLine(app, order, type, line);
    });
    // The article waits for its click with the tool's own pointer.
    if (articleArmed) return;
    GuardSilently([&] {
        if (app.linkDialog && app.linkDialog->Loaded()) app.linkDialog->Unload();
        if (app.form1) app.form1->Picture1.SetMousePointer(PointerArrow);
    });
}

}  // namespace movra
