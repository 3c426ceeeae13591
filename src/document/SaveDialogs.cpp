#include "document/SaveDialogs.h"

#include "App.h"
#include "basic/Files.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/JdxFile.h"
#include "document/RecordTypes.h"
#include "document/WtwFile.h"
#include "platform/PictureBox.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr const char* FailureCaption = "MOVRA_";

void SetCaption(App& app, const std::string& caption) {
    if (app.form1) app.form1->SetCaption(caption);
}

// The save dialog as the commands set it up; empty when cancelled.
bool AskSaveName(App& app, const char* title, const char* filter, int filterIndex, FileDialogResult& chosen) {
    FileDialogRequest request;
    request.title = title;
    request.filter = filter;
    request.filterIndex = filterIndex;
    chosen = app.platform.dialogs().ShowSave(request);
    return !chosen.cancelled && !chosen.fileName.empty();
}

// True when the path may be written: no such file, or the user agreed to overwrite it.
bool MayOverwrite(App& app, const std::string& path, const char* title) {
    if (!FileExists(path)) return true;
    // The writers replace the old file only once the new one is complete, so it is not deleted
    // first: a failed write leaves it as it was.
    return app.platform.prompt().MsgBox(OverwriteQuestion, MsgYesNo, title) == AnswerYes;
}

void ShowExchangeMissing(App& app) { app.platform.prompt().MsgBox(ExchangeMissingMessage, MsgOkOnly); }

enum class MapKind { Jdx, Wtw };
enum class SaveResult { Cancelled, Written, Failed };

// The common steps of the map save dialogs.
SaveResult SaveMapThroughDialog(App& app, const char* title, const char* filter, const char* captionPrefix,
                          bool chooseByFilter) {
    for (;;) {
        FileDialogResult chosen;
        if (!AskSaveName(app, title, filter, 2, chosen)) return SaveResult::Cancelled;
        app.current.DialogFilePath = chosen.fileName;
        MapKind kind = MapKind::Wtw;
        std::string prefix = captionPrefix;
        if (chooseByFilter) {
            if (chosen.filterIndex == 1) {
                kind = MapKind::Jdx;
                prefix = "Movra_jdx_";
            } else if (chosen.filterIndex == 2) {
                prefix = "Movra_wtw_";
            } else {
                return SaveResult::Cancelled;
            }
        } else {
            kind = EqualsIgnoreCase(Right(filter, 4), ".jdx") ? MapKind::Jdx : MapKind::Wtw;
        }
        SetCaption(app, prefix + FileNameOf(chosen.fileName));
        const bool jdx = kind == MapKind::Jdx;
        const std::string path = ForceExtension(chosen.fileName, jdx ? ".jdx" : ".wtw");
        app.current.DialogFilePath = path;
        if (jdx && !ConfirmCompactSave(app)) continue;
        if (!MayOverwrite(app, path, jdx ? "保存jdx" : "保存WTW")) continue;
        if (jdx)
            WriteJdxFile(app, path);
        else
            WriteWtwFile(app, path);
        // A failed writer has said so and named the map still open in the caption.
        return app.current.ModifiedFlag == 0 && app.current.CurrentFilePath == path ? SaveResult::Written
                                                                                   : SaveResult::Failed;
    }
}

}  // namespace

std::string ForceExtension(const std::string& path, const std::string& ext) {
    const size_t nameStart = path.find_last_of("\\/") == std::string::npos ? 0 : path.find_last_of("\\/") + 1;
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart || dot == nameStart) return path + ext;
    if (EqualsIgnoreCase(path.substr(dot), ext)) return path;
    return path.substr(0, dot) + ext;
}

void SaveAsJdxDialog(App& app) {
    const SaveResult result =
        SaveMapThroughDialog(app, "保存为*.jdx（简短型）", "所有文件|*.*|Movra_jdx_文件|*.jdx", "Movra_", false);
    if (result != SaveResult::Failed) SetCaption(app, FailureCaption + app.current.DialogFilePath);
}

void SaveAsWtwDialog(App& app) {
    const SaveResult result = SaveMapThroughDialog(app, "保存为*.wtw（文本+矢量图+位图）",
                                                   "所有文件|*.*|Movra_wtw_文件|*.wtw", "Movra_", false);
    if (result == SaveResult::Cancelled) SetCaption(app, FailureCaption + app.current.DialogFilePath);
}

void SaveFileDialog(App& app) {
    if (SaveMapThroughDialog(app, "保存文件", "Movra_jdx_文件|*.jdx|Movra_wtw_文件|*.wtw", "", true) !=
        SaveResult::Written) {
        SetCaption(app, FailureCaption + app.current.CurrentFilePath);
    }
}

void SaveAsDxfDialog(App& app) {
    for (;;) {
        FileDialogResult chosen;
        if (!AskSaveName(app, "保存为*.dxf", "dxf_低版本|*.dxf|dxf_wtw格式|*.dxf|text_文本格式|*.txt", 1, chosen)) {
            SetCaption(app, FailureCaption + app.current.DialogFilePath);
            return;
        }
        if (chosen.filterIndex < 1 || chosen.filterIndex > 3) return;
        app.current.DialogFilePath = chosen.fileName;
        SetCaption(app, "Movra_" + FileNameOf(chosen.fileName));
        const std::string path = ForceExtension(chosen.fileName, chosen.filterIndex == 3 ? ".txt" : ".dxf");
        app.current.DialogFilePath = path;
        if (!MayOverwrite(app, path, "保存dxf")) continue;
        const ExportSeams& seams = app.exportSeams;
        const ExportSeams::Exporter& exporter = chosen.filterIndex == 1   ? seams.dxfR12
                                                : chosen.filterIndex == 2 ? seams.dxfOwnDialect
                                                                          : seams.coordinateText;
        if (!exporter) {
            ShowExchangeMissing(app);
            return;
        }
        // An exporter replaces the old file only once the new one is complete.
        SetCanvasPointer(app, PointerHourglass);
        exporter(app, path);
        SetCanvasPointer(app, PointerCross);
        return;
    }
}

void SaveClipDialog(App& app) {
    for (;;) {
        FileDialogResult chosen;
        if (!AskSaveName(app, "保存为*.wtw（文本+矢量图+位图）", "Movra_wtw_文件|*.wtw", 1, chosen)) {
            SetCaption(app, FailureCaption + app.current.DialogFilePath);
            return;
        }
        const std::string path = WithDefaultExtension(chosen.fileName, ".wtw");
        // Only the length is looked at; no empty file is left behind for a name the user drops.
        std::int64_t length = 0;
        try {
            if (FileExists(path)) length = FileLength(path);
        } catch (const std::exception&) {
        }
        const bool ask = EqualsIgnoreCase(path, app.current.CurrentFilePath) || length > 100;
        if (ask && app.platform.prompt().MsgBox(OverwriteQuestion, MsgYesNo, "保存WTW") != AnswerYes) continue;
        WriteClipWtwFile(app, path);
        return;
    }
}

bool ConfirmCompactSave(App& app) {
    const auto& store = app.store;
    bool texts = false, images = false;
    for (int layer = 1; layer <= store.LayerCount && layer <= store.LayerDimension(); ++layer) {
        for (int slot = 0; slot < store.Count(layer) && slot <= store.LayerCapacity; ++slot) {
            const MapRecord& m = store.Get(layer, slot);
            if (IsDeletedType(m.RecordType)) continue;  // not saved in either file
            if (m.RecordType == TypeImage) images = true;
            if (!m.RecordExtra.empty()) texts = true;
        }
    }
    bool fieldNames = false;
    for (int c = 1; c <= 4; ++c) {
        for (const auto& name : app.mapFile.AttributeFieldNames[static_cast<std::size_t>(c)])
            if (IsFieldNamed(name)) fieldNames = true;
    }
    std::string lost;
    auto add = [&lost](bool present, const char* what) {
        if (!present) return;
        if (!lost.empty()) lost += "、";
        lost += what;
    };
    add(texts, "属性文本");
    add(fieldNames, "属性字段名");
    add(images, "链接图像");
    if (lost.empty()) return true;
    const std::string question = "简短型jdx文件不保存本图的" + lost + "，存为jdx后这些内容将丢失。\n" +
                                 "要完整保存，请存为wtw文件（文本+矢量图+位图）。\n仍要保存为jdx吗？";
    return app.platform.prompt().MsgBox(question, MsgYesNo | MsgExclamation, CompactSaveTitle) == AnswerYes;
}

bool SaveBeforeReplacing(App& app) {
    if (app.current.ModifiedFlag != -1) return true;
    const int answer = app.platform.prompt().MsgBox(SaveQuestion, MsgYesNoCancel);
    if (answer == AnswerNo) return true;
    if (answer != AnswerYes) return false;
    const std::string path = app.current.CurrentFilePath;
    const std::string ext = LCase(Right(path, 4));
    if (ext == ".jdx") {
        if (ConfirmCompactSave(app)) WriteJdxFile(app, path);
    } else if (ext == ".wtw")
        WriteWtwFile(app, path);
    else
        SaveFileDialog(app);
    // A save that was cancelled or failed keeps the map: the command does not go on.
    if (app.current.ModifiedFlag == 0) return true;
    app.platform.prompt().MsgBox(NotSavedMessage, MsgOkOnly);
    return false;
}

}  // namespace movra
