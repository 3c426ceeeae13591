#include "document/OpenDialogs.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

#include "App.h"
#include "basic/Paths.h"
#include "basic/Files.h"
#include "basic/Gbk.h"
#include "basic/Errors.h"
#include "basic/Guards.h"
#include "basic/Text.h"
#include "document/BlockFile.h"
#include "document/CoordinateReduction.h"
#include "document/Layers.h"
#include "document/LayerSelector.h"
#include "document/RecordTypes.h"
#include "document/JdxFile.h"
#include "document/NodeLinks.h"
#include "document/RedrawSeams.h"
#include "document/SaveDialogs.h"
#include "document/WtwFile.h"
#include "shell/stForm1.h"
#include "shell/szForm3.h"

namespace movra {

namespace {

enum class Reader { None, Jdx, Wtw };

void SetCaption(App& app, const std::string& caption) {
    if (app.form1) app.form1->SetCaption(caption);
}

Reader ReaderByExtension(const std::string& path) {
    const std::string ext = LCase(Right(path, 4));
    if (ext == ".jdx") return Reader::Jdx;
    if (ext == ".wtw") return Reader::Wtw;
    return Reader::None;
}

// Reads the map file as the open commands do: the merge bookkeeping starts anew with the file as
// entry 1, node links and copied records are dealt with, then the reader replaces the map. A file
// that is not read leaves the open map with its own bookkeeping and node links.
bool ReadMap(App& app, Reader reader, const std::string& path, const std::string& mergedName) {
    const std::uint8_t mergedCount = app.mapFile.MergedFileCount;
    std::vector<std::string> mergedNames = app.mapFile.MergedFileNames;
    app.mapFile.MergedFileCount = 1;
    app.mapFile.MergedFileNames.assign({std::string(), mergedName});
    FlushCopyBuffer(app);
    const bool read = reader == Reader::Jdx ? ReadJdxFile(app, path) : ReadWtwFile(app, path);
    if (!read) {
        app.mapFile.MergedFileCount = mergedCount;
        app.mapFile.MergedFileNames = std::move(mergedNames);
        return false;
    }
    ResetNodeLinks(app);
    // The map is now what its file holds: changes made to the map it replaced (kept by a "No" to
    // the save question) no longer count.
    app.current.ModifiedFlag = 0;
    return true;
}

struct OpenSetup {
    const char* title;
    const char* filter;
    Reader reader;         // the reader of the dialog's own file type
    bool applySettings;
};

void OpenThroughDialog(App& app, const OpenSetup& setup, bool byFilter) {
    FileDialogRequest request;
    request.title = setup.title;
    request.filter = setup.filter;
    request.filterIndex = 2;
    request.fileMustExist = true;
    const FileDialogResult chosen = app.platform.dialogs().ShowOpen(request);
    if (chosen.cancelled || chosen.fileName.empty()) return;
    const std::string& path = chosen.fileName;
    app.current.DialogFilePath = path;

    Reader reader = setup.reader;
    if (byFilter) reader = chosen.filterIndex == 2 ? Reader::Jdx : chosen.filterIndex == 3 ? Reader::Wtw : Reader::None;
    // "所有文件" lets the user pick any file: it is read by its own extension.
    if (chosen.filterIndex == 1) {
        const Reader byExtension = ReaderByExtension(path);
        if (byExtension != Reader::None) reader = byExtension;
        else if (byFilter) reader = Reader::None;
    }
    SetCaption(app, (reader == Reader::Wtw ? "Movra_wtw_" : "Movra_jdx_") + FileNameOf(path));
    app.platform.events().DoEvents();
    if (reader == Reader::None) return;
    if (!ReadMap(app, reader, path, FileNameOf(path))) return;
    if (setup.applySettings) ApplyOpenedMapSettings(app);
    RedrawSeam(app);
}

void ShowExchangeMissing(App& app) { app.platform.prompt().MsgBox(ExchangeMissingMessage, MsgOkOnly); }

// A DXF file is taken when its sixth line names the version variable, or is the comment line our
// own older files begin with. A file that cannot be read raises, so that the user is told why
// rather than that it is no DXF file.
bool LooksLikeDxf(const std::string& path) {
    TextLineReader lines = TextLineReader::FromFile(path);
    std::string line;
    for (int n = 0; n < 6; ++n)
        if (!lines.ReadLine(line)) return false;
    const std::string sixth = Trim(FromGbk(line));
    return EqualsIgnoreCase(sixth, "$ACADVER") || EqualsIgnoreCase(sixth, "来自 Pold 的图形 for AUTOAcad DXF 14.0");
}

// Tells the user why a DXF file was not taken: its name, where reading stopped and that the open
// map stays.
void ShowDxfNotRead(App& app, const std::string& path, const RuntimeError& error, std::int64_t line) {
    const std::string where = line > 0 ? LineWhere(line) : std::string();
    ShowRuntimeError(app.platform.prompt(),
                     RuntimeError(error.number, ReadStoppedText(FileNameOf(path), where, error, OpenMapKeptText)));
}

// Whether a layer holds a record the program keeps. The DXF reader leaves slot 0 of a layer empty
// and may end with the count on an empty slot, so the records are looked at rather than the
// count: a layer of one entity counts, and a layer whose entities were all left out does not.
bool HoldsAnyRecord(const RecordStore& store) {
    const int top = std::min<int>(store.LayerCount, store.LayerDimension());
    for (int layer = 1; layer <= top; ++layer) {
        const int last = std::min<int>(store.Count(layer), store.LayerCapacity);
        for (int slot = 0; slot <= last; ++slot) {
            const int type = store.Get(layer, slot).RecordType;
            if (type != TypeEmpty && !IsDeletedType(type)) return true;
        }
    }
    return false;
}

// The DXF file is read into a map apart, over an empty document of its own that shares only the
// palette, the settings and the scale of the open map: a file that fails half-way, or holds nothing
// the program keeps, never touches the open map.
struct DxfMapApart {
    explicit DxfMapApart(App& app) : map(app.platform) {
        map.tables = app.tables;
        map.settings = app.settings;
        map.view = app.view;
        map.current = app.current;
        NewDocument(map);
        map.store.LayerLockFlag = app.store.LayerLockFlag;
    }
    App map;
};

// Puts the map read apart in place of the open one, as a new document.
void TakeOverDxfMap(App& app, App& read, const std::string& path) {
    // Lock flags are the user's: a read never resets them (the import's layer choices on the way
    // do not count; the layer chosen at the end is unlocked as choosing it does).
    const auto locks = app.store.LayerLockFlag;
    NewDocument(app);
    app.store = std::move(read.store);
    app.store.LayerLockFlag = locks;
    app.extents = read.extents;
    app.reduction.ReductionOffsetX = read.reduction.ReductionOffsetX;
    app.reduction.ReductionOffsetY = read.reduction.ReductionOffsetY;
    app.view.ScaleFactor = read.view.ScaleFactor;
    app.view.ProjectParams[0] = read.view.ProjectParams[0];
    app.view.PointMarkRadius = read.view.PointMarkRadius;
    app.mapFile.MergedFileCount = read.mapFile.MergedFileCount;
    app.mapFile.MergedFileNames = read.mapFile.MergedFileNames;
    app.current.CurrentFilePath = path;
    RestoreLayerSelector(app);
}

// Replaces the map by the DXF file's drawing when the whole file was read and it held records the
// program keeps; otherwise the open map, its path, caption and modified flag stay, and the user is
// told why.
void ReadDxfMap(App& app, const std::string& path) {
    if (!app.importSeams.dxf) {
        ShowExchangeMissing(app);
        return;
    }
    try {
        RequireRegularFile(path);
        if (!LooksLikeDxf(path)) {
            app.platform.prompt().MsgBox(FileNameOf(path) + "：" + NotDxfMessage, MsgOkOnly);
            return;
        }
    } catch (...) {
        ShowDxfNotRead(app, path, CurrentRuntimeError(), 0);
        return;
    }
    if (!SaveBeforeReplacing(app)) return;
    // The status box in blue, with the import's first progress mark.
    if (app.form1) {
        app.form1->Text1.SetForeColor(MakeRgb(0, 0, 255));
        app.form1->Text1.SetText(app.settings.ImportProgressMark);
    }
    auto apart = std::make_unique<DxfMapApart>(app);
    const DxfImportOutcome outcome = app.importSeams.dxf(apart->map, path);
    if (outcome.failed) {
        ShowDxfNotRead(app, path, RuntimeError(outcome.failureNumber, outcome.failureText), outcome.failureLine);
        return;
    }
    const std::string farEntities =
        FileNameOf(path) + "：" + std::to_string(outcome.farEntitiesSkipped) + DxfFarEntitiesMessage;
    if (outcome.result != -1 || !HoldsAnyRecord(apart->map.store)) {
        // A file whose entities all lay too far holds nothing either, but not for want of kinds the
        // program keeps: the user is told why they were left out.
        std::string why = FileNameOf(path) + "：" + (outcome.layersOnly ? DxfLayersOnlyMessage : DxfNothingHeldMessage);
        if (outcome.farEntitiesSkipped > 0) why = farEntities + OpenMapKeptText;
        app.platform.prompt().MsgBox(why, MsgOkOnly);
        return;
    }
    TakeOverDxfMap(app, apart->map, path);
    apart.reset();
    // Terrain points stay undrawn until the next command: an imported survey would bury the
    // drawing under their names.
    app.display.Redraw.SuppressTerrainPoints = -1;
    SetCaption(app, path);
    SelectLayer(app, app.store.CurrentLayer);
    ReduceCoordinates(app);
    FinishMapRead(app, path);
    ZoomToExtentsSeam(app);
    RedrawSeam(app);
    if (outcome.farEntitiesSkipped > 0) app.platform.prompt().MsgBox(farEntities, MsgOkOnly);
}

}  // namespace

std::optional<DxfImportOutcome> ReadDxfAsOpened(App& app, const std::string& path) {
    if (!app.importSeams.dxf) return std::nullopt;
    auto apart = std::make_unique<DxfMapApart>(app);
    return app.importSeams.dxf(apart->map, path);
}

void ApplyOpenedMapSettings(App& app) {
    // The settings window is shown with the opened map's settings and closed at once: its close
    // rule derives the scale factor and the sizes that follow from the map's scale.
    if (!app.form1) return;
    szForm3& settings = app.form1->SettingsWindow();
    settings.Load();
    settings.Unload();
}

void OpenDrawingDialog(App& app) {
    OpenThroughDialog(app, {"打开文件", "所有文件|*.*|Movra_jdx_文件|*.jdx|Movra_wtw_文件|*.wtw", Reader::None, false}, true);
}

void OpenJdxFile(App& app) {
    OpenThroughDialog(app, {"选择目标文件", "所有文件|*.*|Movra_jdx_文件|*.jdx", Reader::Jdx, true}, false);
}

void OpenWtwFile(App& app) {
    OpenThroughDialog(app, {"打开*.wtw", "所有文件|*.*|Movra_wtw文件|*.wtw|cad_dgn文件|*.dgn", Reader::Wtw, true}, false);
}

void OpenDxfFile(App& app) {
    FileDialogRequest request;
    request.title = "打开.*.dxf";
    request.filter = "所有文件|*.*|dxf文件|*.dxf";
    request.filterIndex = 2;
    request.fileMustExist = true;
    const FileDialogResult chosen = app.platform.dialogs().ShowOpen(request);
    if (chosen.cancelled || chosen.fileName.empty()) return;
    app.current.DialogFilePath = chosen.fileName;
    app.platform.events().DoEvents();
    ReadDxfMap(app, chosen.fileName);
}

void OpenRecentFile(App& app, std::int16_t n) {
    if (n < 0 || n > 3) return;
    const std::string path = app.mapFile.RecentFiles[static_cast<size_t>(n)];
    app.current.DialogFilePath = path;
    const std::string ext = LCase(Right(path, 4));
    if (ext == ".dxf") {
        ReadDxfMap(app, path);
        return;
    }
    if (ext == ".wtw" || ext == ".jdx") {
        if (!SaveBeforeReplacing(app)) return;
        if (!ReadMap(app, ext == ".jdx" ? Reader::Jdx : Reader::Wtw, path, path)) return;
        ApplyOpenedMapSettings(app);
    } else if (ext != "veqa") {
        return;
    }
    SetCaption(app, path);
    app.platform.events().DoEvents();
    RedrawSeam(app);
}

void OpenNamedMap(App& app, const std::string& named) {
    if (named.empty()) return;
    // A name relative to where the program was started means nothing once the recent files list
    // it in a later run started elsewhere: the map is known by its absolute path.
    std::error_code failed;
    const std::filesystem::path absolute = std::filesystem::absolute(named, failed);
    const std::string path = failed ? named : absolute.lexically_normal().string();
    app.current.DialogFilePath = path;
    if (LCase(Right(path, 4)) == ".dxf") {
        ReadDxfMap(app, path);
        return;
    }
    // Any other name is read as the file type the program registers for itself.
    const Reader reader = ReaderByExtension(path) == Reader::Wtw ? Reader::Wtw : Reader::Jdx;
    if (!SaveBeforeReplacing(app)) return;
    if (!ReadMap(app, reader, path, FileNameOf(path))) return;
    ApplyOpenedMapSettings(app);
    SetCaption(app, (reader == Reader::Wtw ? "Movra_wtw_" : "Movra_jdx_") + FileNameOf(path));
    RedrawSeam(app);
}

}  // namespace movra
