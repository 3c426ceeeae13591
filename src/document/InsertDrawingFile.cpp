#include "document/InsertDrawingFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/BrokenLines.h"
#include "document/RecordPositions.h"
#include "document/CoordinateReduction.h"
#include "document/DrawingExtents.h"
#include "document/FileRecord.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "document/OpenDialogs.h"
#include "document/RecordTypes.h"
#include "document/RedrawSeams.h"
#include "document/StoreRecord.h"
#include "document/TextPlacement.h"
#include "document/UndoJournal.h"
#include "document/WtwFile.h"
#include "platform/PictureBox.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

constexpr double TwoPi = 6.28318530717958;
// The highest layer a merge adds: the layer numbers are 8-bit and the next one must stay valid.
constexpr int HighestAddedLayer = 254;

struct LayerDefinition {
    std::string name;
    std::uint8_t colorIndex = 0;
    std::int16_t on = 0;
};

// Starts the next merge: false (nothing changed) when the 8-bit counter is used up.
bool BeginMerge(App& app, const std::string& path) {
    auto& merged = app.mapFile;
    if (merged.MergedFileCount >= 255) {
        app.platform.prompt().MsgBox(MergedFilesFullMessage, MsgOkOnly);
        return false;
    }
    ++merged.MergedFileCount;
    merged.MergedFileNames.resize(merged.MergedFileCount);
    merged.MergedFileNames.push_back(FileNameOf(path));
    return true;
}

// Layers first..last of the file become layers of the map when the file has more layers.
void AddFileLayers(App& app, int fileLayers, const std::vector<LayerDefinition>& table) {
    auto& store = app.store;
    const int last = std::min(fileLayers, HighestAddedLayer);
    if (last <= store.LayerCount) return;
    for (int i = store.NextLayerIndex; i <= last; ++i) {
        if (i < 0 || static_cast<size_t>(i) >= table.size()) continue;
        const auto k = static_cast<size_t>(i);
        store.LayerNames[k] = table[k].name;
        store.LayerColorIndex[k] = table[k].colorIndex;
        store.LayerOnFlag[k] = table[k].on;
    }
    store.NextLayerIndex = static_cast<std::uint8_t>(last + 1);
    AddLayer(app);
}

std::vector<LayerDefinition> LayerTable(const std::vector<FileRecord>& records) {
    std::vector<LayerDefinition> table(256);
    for (const auto& r : records) {
        auto& d = table[static_cast<size_t>(r.slot & 0xFF)];
        d.name = Trim(r.text);
        d.colorIndex = static_cast<std::uint8_t>(r.color & 0xFF);
        d.on = r.x1 != 0 ? -1 : 0;
    }
    return table;
}

void SetCanvasBack(App& app, std::int32_t color) {
    if (app.form1) app.form1->Picture1.SetBackColor(color);
}

// --- The small DXF reader ---

class DxfLines {
public:
    explicit DxfLines(std::vector<std::string> lines) : lines_(std::move(lines)) {}
    // The next line as it is; false at the end of the file.
    bool NextRaw(std::string& line) {
        if (pos_ >= lines_.size()) return false;
        line = lines_[pos_++];
        return true;
    }
    // The next line with blanks removed at both ends.
    bool Next(std::string& line) {
        if (!NextRaw(line)) return false;
        line = Trim(line);
        return true;
    }
    void Skip(int count) { pos_ = std::min(lines_.size(), pos_ + static_cast<size_t>(std::max(count, 0))); }
    // The number of the last line read (1 for the first line of the file).
    size_t LineNumber() const { return pos_; }

private:
    std::vector<std::string> lines_;
    size_t pos_ = 0;
};

bool Is(const std::string& line, const char* text) { return EqualsIgnoreCase(line, text); }

struct DxfMerge {
    App& app;
    DxfLines& in;
    std::array<LayerDefinition, 11> table{};
    int n = 0;
    bool ended = false;  // the file's "EOF" or its end was reached

    RecordStore& store() { return app.store; }

    // Makes room for the slot about to be committed and the open slot after it.
    int RoomedSlot() {
        auto& s = store();
        int slot = s.Count(s.CurrentLayer);
        while (slot + 2 > s.LayerCapacity) {
            const int before = s.LayerCapacity;
            GrowLayerCapacity(app);
            slot = s.Count(s.CurrentLayer);
            if (s.LayerCapacity <= before && slot + 2 > s.LayerCapacity) Raise(ErrSubscriptOutOfRange);
        }
        return slot;
    }
    MapRecord& OpenSlot() { return store().At(store().CurrentLayer, store().Count(store().CurrentLayer)); }
    // Commits the open slot of the current layer as a record of `type`.
    MapRecord& Commit(std::uint8_t type) {
        const int slot = RoomedSlot();
        MapRecord& m = store().At(store().CurrentLayer, slot);
        m.RecordSource = app.mapFile.MergedFileCount;
        m.RecordType = type;
        store().Count(store().CurrentLayer) = slot + 1;
        return m;
    }

    bool Value(double& v, const char* end) {
        std::string line;
        if (!in.Next(line)) { ended = true; return false; }
        if (Is(line, end)) return false;
        v = Val(line);
        return true;
    }

    void ReadLayerTable() {
        in.Skip(6);
        std::string line;
        while (in.Next(line) && !Is(line, "ENDTAB")) {
            if (Is(line, "LAYER")) {
                n = std::min(n + 1, 10);
            } else if (line == "2") {
                std::string name;
                if (!in.Next(name)) break;
                table[static_cast<size_t>(n)].name = name;
                table[static_cast<size_t>(n)].on = -1;
            } else if (line == "62") {
                std::string value;
                if (!in.Next(value)) break;
                const double v = std::min(std::fabs(Val(value)), 255.0);
                table[static_cast<size_t>(n)].colorIndex = ToByte(v);
            }
        }
        if (n >= store().LayerCount) {
            std::vector<LayerDefinition> defs(table.begin(), table.end());
            AddFileLayers(app, n, defs);
        }
    }

    void Text() {
        MapRecord& m = Commit(65);
        m.RecordFont = "黑体";
        std::string code;
        double v = 0;
        while (in.Next(code) && !Is(code, "AcDbText") && !Is(code, "EOF")) {
            if (code == "1") {
                std::string text;
                if (!in.NextRaw(text)) { ended = true; return; }
                if (Is(Trim(text), "AcDbText")) return;
                m.RecordText = text;
                m.RecordY3 = DisplayWidth(text);
                continue;
            }
            if (!Value(v, "AcDbText")) return;
            if (code == "10") m.RecordX1 = v;
            else if (code == "20") m.RecordY1 = v;
            else if (code == "30") m.RecordZ1 = static_cast<float>(v);
            else if (code == "40") {
                const double scale = app.view.ScaleFactor;
                double h = std::fabs((v / scale - 2) * 3.3 + 7);
                if (!std::isfinite(h)) h = 32767;
                h = std::min(h, 32767.0);
                const double whole = std::floor(h + 0.5);
                if (h < 255) {
                    m.RecordPen = static_cast<std::uint8_t>(whole);
                } else {
                    m.RecordType = 67;
                }
                m.RecordX2 = whole;
                m.RecordY1 += 0.18 * h;
            } else if (code == "41") {
                m.RecordY2 = v * 0.7;
                if (m.RecordY2 != 0.7) m.RecordType = 66;
            } else if (code == "50") {
                m.RecordZ2 = static_cast<float>(v);
                m.RecordY2 = 0.7;
                m.RecordType = 66;
            }
        }
        if (Is(code, "EOF")) ended = true;
    }

    // Trace, line and circle: pairs of code and value lines up to "0". A circle becomes an arc at
    // its "AcDbArc" marker, wherever the marker stands: as the value of a "100" subclass code, as
    // the standard writes it, or on a line of its own; the arc's angles follow as codes 50 and 51.
    void Vertices(std::uint8_t type) {
        MapRecord* m = &Commit(type);
        const int layer = store().CurrentLayer;
        const int slot = store().Count(layer) - 1;
        std::string code;
        double v = 0;
        bool arc = false;
        while (in.Next(code) && code != "0") {
            if (type == 7 && Is(code, "AcDbArc")) {
                arc = true;
                continue;
            }
            if (code == "100") {
                std::string marker;
                if (!in.Next(marker)) { ended = true; break; }
                if (type == 7 && Is(marker, "AcDbArc")) arc = true;
                continue;
            }
            if (!Value(v, "0")) break;
            m = &store().At(layer, slot);
            if (arc) m->RecordType = 8;
            if (arc && code == "50") { m->RecordX3 = Radians(v); continue; }
            if (arc && code == "51") { m->RecordY3 = Radians(v); continue; }
            const int c = static_cast<int>(Val(code));
            const int axis = c / 10, vertex = c % 10;
            if (code == "40" && type == 7) { m->RecordX2 = v; m->RecordY2 = 1; continue; }
            if (axis < 1 || axis > 3 || vertex > 3 || (type != 6 && vertex > 1)) continue;
            double* xs[] = {&m->RecordX1, &m->RecordX2, &m->RecordX3, &m->RecordX4};
            double* ys[] = {&m->RecordY1, &m->RecordY2, &m->RecordY3, &m->RecordY4};
            float* zs[] = {&m->RecordZ1, &m->RecordZ2, &m->RecordZ3, &m->RecordZ4};
            if (axis == 1) *xs[vertex] = v;
            else if (axis == 2) *ys[vertex] = v;
            else *zs[vertex] = static_cast<float>(v);
        }
        if (arc) store().At(layer, slot).RecordType = 8;
    }

    static double Radians(double degrees) {
        double r = degrees * TwoPi / 360;
        if (r > TwoPi) r -= TwoPi;
        return r;
    }

    void Polyline() {
        MapRecord first = OpenSlot();
        Commit(1);
        const int layer = store().CurrentLayer;
        int slot = store().Count(layer) - 1;
        const int firstSlot = slot;
        int k = 0;
        in.Skip(6);
        std::string code;
        while (in.Next(code) && code != "0") {
            if (code != "10") continue;
            double x = 0, y = 0;
            if (!Value(x, "0")) break;
            in.Skip(1);
            if (!Value(y, "0")) break;
            if (k == 4) {
                store().At(layer, slot).RecordType = 5;
                MapRecord& next = store().At(layer, store().Count(layer));
                next.RecordColor = first.RecordColor;
                next.RecordPen = first.RecordPen;
                Commit(1);
                slot = store().Count(layer) - 1;
                k = 0;
            }
            MapRecord& m = store().At(layer, slot);
            double* xs[] = {&m.RecordX1, &m.RecordX2, &m.RecordX3, &m.RecordX4};
            double* ys[] = {&m.RecordY1, &m.RecordY2, &m.RecordY3, &m.RecordY4};
            *xs[k] = x;
            *ys[k] = y;
            m.RecordType = static_cast<std::uint8_t>(k + 1);
            ++k;
        }
        // A closed four-cornered polyline: its repeated first vertex folds into one closed record.
        if (slot > firstSlot && store().Count(layer) == slot + 1) {
            MapRecord& last = store().At(layer, slot);
            MapRecord& before = store().At(layer, slot - 1);
            if (last.RecordType == 1 && last.RecordX1 == before.RecordX1 && last.RecordY1 == before.RecordY1) {
                before.RecordType = 6;
                last = MapRecord{};
                store().Count(layer) = slot;
            }
        }
    }

    void Entities() {
        std::string line;
        while (!ended && in.Next(line)) {
            if (Is(line, "ENDSEC")) return;
            if (Is(line, "EOF")) { ended = true; return; }
            if (line == "8") {
                std::string name, raw;
                if (!in.Next(name)) break;
                for (int k = 1; k <= n; ++k) {
                    if (EqualsIgnoreCase(table[static_cast<size_t>(k)].name, name) && k <= store().LayerCount) {
                        store().CurrentLayer = static_cast<std::uint8_t>(k);
                        break;
                    }
                }
                if (!in.NextRaw(raw)) break;
                if (raw == "  6") {
                    std::string typeName;
                    if (!in.Next(typeName)) break;
                    const double v = Val(typeName);
                    RoomedSlot();
                    OpenSlot().RecordPen = static_cast<std::uint8_t>(v > 30 ? 2 : std::min(std::fabs(std::nearbyint(v)), 2.0));
                }
            } else if (line == "62") {
                std::string value;
                if (!in.Next(value)) break;
                const double v = Val(value);
                RoomedSlot();
                OpenSlot().RecordColor = v < 255 ? app.tables.ColorPalette[store().CurrentLayer]
                                                 : static_cast<std::int32_t>(std::min(std::nearbyint(v), double{0xFFFFFF}));
            } else if (Is(line, "AcDbText")) {
                Text();
            } else if (Is(line, "AcDbTrace")) {
                Vertices(6);
            } else if (Is(line, "AcDbLine")) {
                Vertices(2);
            } else if (Is(line, "AcDbCircle")) {
                Vertices(7);
            } else if (Is(line, "AcDbPolyline")) {
                Polyline();
            }
        }
        ended = true;
    }

    void Run() {
        std::string line;
        while (in.Next(line) && !Is(line, "ENDTAB")) {
        }
        while (!ended && in.Next(line)) {
            if (Is(line, "LAYER")) ReadLayerTable();
            else if (Is(line, "BLOCKS")) { while (in.Next(line) && !Is(line, "ENDSEC")) {} }
            else if (Is(line, "ENTITIES")) Entities();
            else if (Is(line, "EOF")) {
                app.display.Redraw.SuppressTerrainPoints = -1;
                return;
            }
        }
    }
};

// Where a merge stopped, for the user: the merges name it before they raise.
void NoteStop(std::string* stoppedAt, const std::string& where) {
    if (stoppedAt) *stoppedAt = where;
}

// A map file cut inside a record, and without its end record before the cut, is damaged: nothing
// of it is merged. The compact file's records are whole, or it ends at its end record.
void ProveJdxWhole(const std::string& bytes, std::int64_t firstDrawing, std::string* stoppedAt) {
    if (bytes.size() % FixedRecordSize == 0) return;
    for (std::size_t at = static_cast<std::size_t>(std::max<std::int64_t>(firstDrawing - 1, 0)) * FixedRecordSize;
         at + FixedRecordSize <= bytes.size(); at += FixedRecordSize) {
        if (bytes[at] == 0) return;  // the end record, or the layer-0 record that ends the merge
    }
    NoteStop(stoppedAt, RecordWhere(static_cast<long long>(bytes.size() / FixedRecordSize) + 1));
    Raise(ErrInputPastEnd);
}

// The full file's records run whole up to its end record or to the end of the file.
void ProveWtwWhole(std::string_view bytes, std::string* stoppedAt) {
    std::size_t pos = 0;
    FileRecord r;
    for (long long n = 1; pos < bytes.size(); ++n) {
        if (!DecodeVariableRecord(bytes, pos, r)) {
            NoteStop(stoppedAt, RecordWhere(n));
            Raise(ErrInputPastEnd);
        }
        if (r.layer == 0 && EqualsIgnoreCase(Trim(r.text), EndRecordText)) return;
    }
}

// A merged record reaching beyond the farthest storable coordinate (a 1e308 or a NaN in the file)
// would make the zoom to the extents and every later computation useless: it is deleted (neither
// drawn nor saved), and the user is told how many were.
void DeleteFarMergedRecords(App& app, const std::string& path) {
    // Map records are left out as they come in (as empty slots); entities are caught here.
    int far = app.mapFile.LastReadUnusableRecords;
    auto& store = app.store;
    const std::uint8_t thisMerge = app.mapFile.MergedFileCount;
    for (int layer = 1; layer <= store.LayerCount && layer <= store.LayerDimension(); ++layer) {
        for (int slot = 0; slot < store.Count(layer); ++slot) {
            const MapRecord& r = store.Get(layer, slot);
            if (r.RecordSource != thisMerge || IsDeletedType(r.RecordType) || HasStorablePositions(r)) continue;
            MapRecord& deleted = store.At(layer, slot);
            deleted.RecordType = static_cast<std::uint8_t>(r.RecordType + DeletedTypeOffset);
            // Cleared too, so that nothing that walks the slots meets the far coordinates.
            deleted.RecordX1 = deleted.RecordY1 = deleted.RecordX2 = deleted.RecordY2 = 0;
            deleted.RecordX3 = deleted.RecordY3 = deleted.RecordX4 = deleted.RecordY4 = 0;
            ++far;
        }
    }
    if (far > 0) far += LeaveOutBrokenLines(store, thisMerge);
    if (far > 0)
        app.platform.prompt().MsgBox(FileNameOf(path) + "：" + std::to_string(far) + DxfFarEntitiesMessage, MsgOkOnly);
}

// The open map as a merge found it, so that a merge that fails half-way can be taken back whole:
// the records it appended behind each layer's records, the layers it added, its place in the
// merge bookkeeping.
class MergeRollback {
public:
    explicit MergeRollback(App& app)
        : app_(app),
          counts_(app.store.LayerRecordCount),
          layerCount_(app.store.LayerCount),
          nextLayer_(app.store.NextLayerIndex),
          currentLayer_(app.store.CurrentLayer),
          names_(app.store.LayerNames),
          colors_(app.store.LayerColorIndex),
          on_(app.store.LayerOnFlag),
          mergedCount_(app.mapFile.MergedFileCount),
          mergedNames_(app.mapFile.MergedFileNames),
          suppressTerrain_(app.display.Redraw.SuppressTerrainPoints),
          clip_(app.clip) {
        if (app.form1) backColor_ = app.form1->Picture1.BackColor();
    }

    // False when the merge moved records out of a layer (a full layer spilled into a new one): the
    // map cannot be put back exactly and what was merged stays.
    bool TakeBack() {
        auto& store = app_.store;
        const int kept = std::min<int>(layerCount_, store.LayerDimension());
        for (int layer = 1; layer <= kept; ++layer)
            if (store.Count(layer) < counts_[static_cast<size_t>(layer)]) return false;
        for (int layer = 1; layer <= kept; ++layer) store.ClearFrom(layer, counts_[static_cast<size_t>(layer)]);
        if (store.LayerDimension() > layerCount_) store.DimensionKeep(layerCount_);
        store.LayerRecordCount = counts_;
        store.LayerCount = layerCount_;
        store.NextLayerIndex = nextLayer_;
        store.CurrentLayer = currentLayer_;
        store.LayerNames = names_;
        store.LayerColorIndex = colors_;
        store.LayerOnFlag = on_;
        app_.mapFile.MergedFileCount = mergedCount_;
        app_.mapFile.MergedFileNames = mergedNames_;
        app_.display.Redraw.SuppressTerrainPoints = suppressTerrain_;
        app_.clip = clip_;
        if (app_.form1) app_.form1->Picture1.SetBackColor(backColor_);
        RestoreLayerSelector(app_);
        return true;
    }

private:
    App& app_;
    std::vector<std::int32_t> counts_;
    std::uint8_t layerCount_, nextLayer_, currentLayer_;
    std::array<std::string, LayerTableSize> names_;
    std::array<std::uint8_t, LayerTableSize> colors_;
    std::array<std::int16_t, LayerTableSize> on_;
    std::uint8_t mergedCount_;
    std::vector<std::string> mergedNames_;
    std::int16_t suppressTerrain_;
    ClipBuffer clip_;
    Rgb backColor_ = 0;
};

}  // namespace

bool MergeJdxFile(App& app, const std::string& path, std::string* stoppedAt) {
    const std::string bytes = ReadWholeFile(path);
    const std::int64_t count = (static_cast<std::int64_t>(bytes.size()) + FixedRecordSize / 2) / FixedRecordSize;
    auto record = [&bytes, stoppedAt](std::int64_t n) {
        const size_t at = static_cast<size_t>(n - 1) * FixedRecordSize;
        if (n < 1 || at + FixedRecordSize > bytes.size()) {
            NoteStop(stoppedAt, RecordWhere(n));
            Raise(ErrInputPastEnd);
        }
        return DecodeFixedRecord(std::string_view(bytes).substr(at, FixedRecordSize));
    };
    if (count < 1) return false;
    FileRecord header = record(1);
    if (!EqualsIgnoreCase(Trim(header.text), JdxMagic)) {
        if (count < 2) return false;
        header = record(2);
        if (!EqualsIgnoreCase(Trim(header.text), JdxMagic)) return false;
    }
    const int fileLayers = header.layer;
    ProveJdxWhole(bytes, fileLayers + 2, stoppedAt);
    SetCanvasBack(app, header.color);
    if (fileLayers > app.store.LayerCount) {
        std::vector<FileRecord> layers;
        for (int i = 2; i <= fileLayers + 1 && i <= count; ++i) layers.push_back(record(i));
        AddFileLayers(app, fileLayers, LayerTable(layers));
    }
    if (!BeginMerge(app, path)) return true;
    for (std::int64_t i = fileLayers + 2; i <= count; ++i) {
        if (static_cast<size_t>(i) * FixedRecordSize > bytes.size()) break;
        const FileRecord r = record(i);
        if (r.layer == 0) break;
        AppendDrawingRecord(app, r, Trim(r.text), nullptr);
    }
    return true;
}

bool MergeWtwFile(App& app, const std::string& path, std::string* stoppedAt) {
    const std::string bytes = ReadWholeFile(path);
    size_t pos = 0;
    FileRecord header;
    if (!DecodeVariableRecord(bytes, pos, header) || !EqualsIgnoreCase(Trim(header.text), WtwMagic)) return false;
    ProveWtwWhole(bytes, stoppedAt);
    SetCanvasBack(app, header.color);
    std::vector<FileRecord> layers;
    FileRecord r;
    for (int i = 0; i < header.layer && DecodeVariableRecord(bytes, pos, r); ++i) layers.push_back(r);
    AddFileLayers(app, header.layer, LayerTable(layers));
    if (!BeginMerge(app, path)) return true;
    while (DecodeVariableRecord(bytes, pos, r)) {
        if (r.layer == 0) {
            if (EqualsIgnoreCase(Trim(r.text), EndRecordText)) break;
            continue;
        }
        const long bang = InStr(r.text, "!");
        if (bang > 0) {
            const std::string text = Left(r.text, bang - 1);
            std::string rest = Mid(r.text, bang + 1);
            const long second = InStr(rest, "!");
            const std::string extra = Trim(second > 0 ? Left(rest, second - 1) : rest);
            AppendDrawingRecord(app, r, text, &extra);
        } else {
            AppendDrawingRecord(app, r, Trim(r.text), nullptr);
        }
    }
    return true;
}

bool MergeDxfFile(App& app, const std::string& path, std::string* stoppedAt) {
    std::vector<std::string> lines = ReadTextLines(path);
    if (lines.size() < 6 || !EqualsIgnoreCase(Trim(lines[5]), "$ACADVER")) return false;
    if (!BeginMerge(app, path)) return true;
    DxfLines in(std::move(lines));
    DxfMerge merge{app, in};
    try {
        merge.Run();
    } catch (...) {
        NoteStop(stoppedAt, LineWhere(static_cast<long long>(in.LineNumber())));
        throw;
    }
    return true;
}

void InsertDrawingFile(App& app) {
    SetCanvasPointer(app, PointerSizeAll);
    for (;;) {
        FileDialogRequest request;
        request.title = "插入*.wtw*.jdx*.dxf\"";
        request.filter = "Movra_jdx_文件|*.jdx|Movra_wtw_文件|*.wtw|CAD_dxf|*.dxf";
        request.filterIndex = 1;
        request.fileMustExist = true;
        const FileDialogResult chosen = app.platform.dialogs().ShowOpen(request);
        if (chosen.cancelled || chosen.fileName.empty()) {
            SetCanvasPointer(app, PointerCross);
            return;
        }
        app.current.DialogFilePath = chosen.fileName;
        app.platform.events().DoEvents();
        bool merged = false;
        const std::string& path = chosen.fileName;
        MergeRollback rollback(app);
        const std::uint8_t mergedBefore = app.mapFile.MergedFileCount;
        std::string stoppedAt;
        app.mapFile.LastReadUnusableRecords = 0;
        try {
            RequireRegularFile(path);
            if (chosen.filterIndex == 1) merged = MergeJdxFile(app, path, &stoppedAt);
            else if (chosen.filterIndex == 2) merged = MergeWtwFile(app, path, &stoppedAt);
            else if (chosen.filterIndex == 3) merged = MergeDxfFile(app, path, &stoppedAt);
            else { SetCanvasPointer(app, PointerCross); return; }
        } catch (const std::exception& e) {
            const auto* runtime = dynamic_cast<const RuntimeError*>(&e);
            const RuntimeError error = runtime ? *runtime : RuntimeError(ErrOutOfMemory);
            // A file that fails half-way is taken back whole; only when the merge moved records
            // between layers does what it merged stay, journaled like a whole merge.
            const bool keptOpenMap = rollback.TakeBack();
            ShowMessageLine(app, ReadStoppedText(FileNameOf(path), stoppedAt, error,
                                                 keptOpenMap ? OpenMapKeptText : InsertPartlyMergedText));
            if (keptOpenMap) {
                SetCanvasPointer(app, PointerCross);
                return;
            }
            merged = true;
        }
        if (!merged) {
            ShowMessageLine(app, InsertWrongFileMessage);
            continue;
        }
        if (app.mapFile.MergedFileCount != mergedBefore) DeleteFarMergedRecords(app, path);
        break;
    }
    SetCanvasPointer(app, PointerCross);
    app.current.ModifiedFlag = -1;
    ReduceCoordinates(app);
    ComputeDrawingExtents(app);
    ZoomToExtentsSeam(app);
    RedrawSeam(app);
    UndoCheckpoint(app, 1);
}

}  // namespace movra
