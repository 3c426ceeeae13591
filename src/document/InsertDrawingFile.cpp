#include "document/InsertDrawingFile.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <optional>
#include <vector>

#include "App.h"
#include "basic/DxfLines.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Guards.h"
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

// A merge refused because the 8-bit counter of merged files is used up (the user was told).
struct MergesFull {};

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

// The lines of the file as the open reads them: reading past the last line raises 62, so that a file
// cut short is never merged as if it had ended there.
class DxfLines {
public:
    explicit DxfLines(std::string bytes) : lines_(std::move(bytes)) {}
    // The next line as it is.
    std::string NextRaw() { return lines_.Raw(); }
    // The next line with blanks removed at both ends.
    std::string Next() { return lines_.Line(); }
    void Skip(int count) {
        for (int i = 0; i < count; ++i) lines_.Raw();
    }
    // The number of the last line read (1 for the first line of the file).
    std::int64_t LineNumber() const { return lines_.LineNumber(); }

private:
    DxfLineReader lines_;
};

bool Is(const std::string& line, const char* text) { return EqualsIgnoreCase(line, text); }

struct DxfMerge {
    App& app;
    DxfLines& in;
    std::array<LayerDefinition, 11> table{};
    int n = 0;
    bool ended = false;           // the file's "EOF" was read
    bool entityLinesSeen = false; // the entity section held anything at all
    bool markerSeen = false;      // an entity carried its subclass marker

    RecordStore& store() { return app.store; }

    // Makes room for the slot about to be committed and the open slot after it.
    int RoomedSlot() { return SlotWithRoom(app, 2); }
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
        const std::string line = in.Next();
        if (Is(line, end)) return false;
        v = Val(line);
        return true;
    }

    void ReadLayerTable() {
        in.Skip(6);
        for (std::string line = in.Next(); !Is(line, "ENDTAB"); line = in.Next()) {
            if (Is(line, "LAYER")) {
                n = std::min(n + 1, 10);
            } else if (line == "2") {
                const std::string name = in.Next();
                table[static_cast<size_t>(n)].name = name;
                table[static_cast<size_t>(n)].on = -1;
            } else if (line == "62") {
                const double v = std::min(std::fabs(Val(in.Next())), 255.0);
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
        while (!Is(code = in.Next(), "AcDbText") && !Is(code, "EOF")) {
            if (code == "1") {
                const std::string text = in.NextRaw();
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
        while ((code = in.Next()) != "0") {
            if (type == 7 && Is(code, "AcDbArc")) {
                arc = true;
                continue;
            }
            if (code == "100") {
                if (type == 7 && Is(in.Next(), "AcDbArc")) arc = true;
                continue;
            }
            if (!Value(v, "0")) break;
            m = &store().At(layer, slot);
            if (arc) m->RecordType = 8;
            if (arc && code == "50") { m->RecordX3 = Radians(v); continue; }
            if (arc && code == "51") { m->RecordY3 = Radians(v); continue; }
            // A code line holding anything but a code (a huge number, a text) names no vertex.
            const int c = DxfGroupCode(code);
            const int axis = c < 0 ? 0 : c / 10, vertex = c < 0 ? 0 : c % 10;
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
        while ((code = in.Next()) != "0") {
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
        while (!ended) {
            const std::string line = in.Next();
            if (Is(line, "ENDSEC")) return;
            if (Is(line, "EOF")) { ended = true; return; }
            entityLinesSeen = true;
            if (Is(line, "AcDbEntity")) markerSeen = true;
            if (line == "8") {
                const std::string name = in.Next();
                for (int k = 1; k <= n; ++k) {
                    if (EqualsIgnoreCase(table[static_cast<size_t>(k)].name, name) && k <= store().LayerCount) {
                        store().CurrentLayer = static_cast<std::uint8_t>(k);
                        break;
                    }
                }
                if (in.NextRaw() == "  6") {
                    const double v = Val(in.Next());
                    RoomedSlot();
                    OpenSlot().RecordPen = static_cast<std::uint8_t>(v > 30 ? 2 : std::min(std::fabs(std::nearbyint(v)), 2.0));
                }
            } else if (line == "62") {
                const double v = Val(in.Next());
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
    }

    // Reads the file up to its "EOF"; a file that ends before raises.
    void Run() {
        while (!Is(in.Next(), "ENDTAB")) {
        }
        while (!ended) {
            const std::string line = in.Next();
            if (Is(line, "LAYER")) ReadLayerTable();
            else if (Is(line, "BLOCKS")) { while (!Is(in.Next(), "ENDSEC")) {} }
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

[[noreturn]] void StopAt(std::string* stoppedAt, const std::string& where, int error) {
    NoteStop(stoppedAt, where);
    Raise(error);
}

// A compact map file is merged only when the open would read it: a usable header, the whole layer
// table, and whole records up to its end record, or up to the end of the file when it has none (a
// sheet file). A file cut or shifted inside (its end record no longer on a record boundary) fails.
void ProveJdxWhole(const std::string& bytes, const FileRecord& header, std::int64_t headerRecord,
                   std::string* stoppedAt) {
    if (!MapHeaderUsable(header)) StopAt(stoppedAt, RecordWhere(headerRecord), ErrBadRecordNumber);
    const auto whole = static_cast<std::int64_t>(bytes.size() / FixedRecordSize);
    const std::int64_t firstDrawing = header.layer + 2;
    if (firstDrawing - 1 > whole) StopAt(stoppedAt, RecordWhere(whole + 1), ErrInputPastEnd);
    for (std::int64_t n = firstDrawing; n <= whole; ++n)
        if (IsFixedEndRecord(bytes.data() + static_cast<std::size_t>(n - 1) * FixedRecordSize)) return;
    if (bytes.size() % FixedRecordSize != 0) StopAt(stoppedAt, RecordWhere(whole + 1), ErrInputPastEnd);
}

// The same for the full map file: its records run whole up to its end record or to the end of the
// file, after a usable header and the whole layer table.
void ProveWtwWhole(std::string_view bytes, std::string* stoppedAt) {
    std::size_t pos = 0;
    FileRecord r;
    long long layerRecords = 0;
    for (long long n = 1; pos < bytes.size() || n <= layerRecords + 1; ++n) {
        if (!DecodeVariableRecord(bytes, pos, r)) StopAt(stoppedAt, RecordWhere(n), ErrInputPastEnd);
        if (n == 1) {
            if (!MapHeaderUsable(r)) StopAt(stoppedAt, RecordWhere(1), ErrBadRecordNumber);
            layerRecords = r.layer;
        } else if (n > layerRecords + 1 && IsEndRecord(r)) {
            return;
        }
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

// The open map's frame without its records: the layer tables, the capacity, the current layer, the
// merge bookkeeping, the settings the merges read and the way to the open's DXF reader. A file is
// read into it first, so that the open map is touched only once the whole file has been read.
struct MapApart {
    explicit MapApart(App& open) : map(std::make_unique<App>(open.platform)) {
        App& m = *map;
        m.tables = open.tables;
        m.settings = open.settings;
        m.view = open.view;
        m.current = open.current;
        m.mapFile = open.mapFile;
        m.mapFile.LastReadUnusableRecords = 0;
        m.importSeams = open.importSeams;
        m.display.Redraw.SuppressTerrainPoints = open.display.Redraw.SuppressTerrainPoints;
        RecordStore& s = m.store;
        const RecordStore& o = open.store;
        s.ShareBlocksOf(o);
        s.DimensionEmpty(std::min<int>(o.LayerCount, o.LayerDimension()));
        s.LayerRecordCount.assign(std::max<std::size_t>(o.LayerRecordCount.size(), LayerTableSize), 0);
        s.LayerCount = o.LayerCount;
        s.LayerCapacity = o.LayerCapacity;
        s.NextLayerIndex = o.NextLayerIndex;
        s.CurrentLayer = o.CurrentLayer;
        s.LayerNames = o.LayerNames;
        s.LayerColorIndex = o.LayerColorIndex;
        s.LayerOnFlag = o.LayerOnFlag;
        s.LayerLockFlag = o.LayerLockFlag;
    }

    bool HoldsAnyRecord() const {
        const RecordStore& s = map->store;
        for (int layer = 1; layer <= s.LayerCount && layer <= s.LayerDimension(); ++layer)
            if (s.Count(layer) > 0) return true;
        return false;
    }

    std::unique_ptr<App> map;
    // The inserted map file's colour, which the canvas takes as its back colour.
    std::optional<Rgb> backColor;
};

// Appends the records read apart behind the records of each layer of the open map, after the layers
// the file added, and takes over the merge bookkeeping.
void TakeMergedFile(App& app, MapApart& apart) {
    RecordStore& store = app.store;
    const App& read = *apart.map;
    const RecordStore& from = read.store;
    if (from.LayerCount > store.LayerCount) {
        for (int i = store.LayerCount + 1; i <= from.LayerCount; ++i) {
            const auto k = static_cast<std::size_t>(i);
            store.LayerNames[k] = from.LayerNames[k];
            store.LayerColorIndex[k] = from.LayerColorIndex[k];
            store.LayerOnFlag[k] = from.LayerOnFlag[k];
        }
        store.NextLayerIndex = from.NextLayerIndex;
        AddLayer(app);
        if (store.LayerCount < from.LayerCount) Raise(ErrSubscriptOutOfRange);
    }
    bool split = false;
    for (int layer = 1; layer <= from.LayerCount && layer <= from.LayerDimension(); ++layer) {
        if (from.Count(layer) == 0) continue;
        store.CurrentLayer = static_cast<std::uint8_t>(layer);
        for (int i = 0; i < from.Count(layer); ++i) {
            // A full layer passes its upper part to a new layer near the 16-bit limit: the records
            // go on behind it, as the file's records did in the merge.
            const int slot = SlotWithRoom(app, 1);
            store.At(store.CurrentLayer, slot) = from.Get(layer, i);
            store.Count(store.CurrentLayer) = slot + 1;
            if (store.Count(store.CurrentLayer) > store.LayerCapacity - 10) GrowLayerCapacity(app);
            split = split || store.CurrentLayer != layer;
        }
    }
    if (!split && from.CurrentLayer <= store.LayerCount) store.CurrentLayer = from.CurrentLayer;
    app.mapFile.MergedFileCount = read.mapFile.MergedFileCount;
    app.mapFile.MergedFileNames = read.mapFile.MergedFileNames;
    app.mapFile.LastReadUnusableRecords = read.mapFile.LastReadUnusableRecords;
    app.display.Redraw.SuppressTerrainPoints = read.display.Redraw.SuppressTerrainPoints;
    if (apart.backColor) SetCanvasBack(app, *apart.backColor);
}

// The open map as a merge found it, so that a merge whose taking over fails (memory ran out) can be
// taken back whole: the records it appended behind each layer's records, the layers it added, its
// place in the merge bookkeeping.
class MergeRollback {
public:
    explicit MergeRollback(App& app)
        : app_(app),
          counts_(app.store.LayerRecordCount),
          layerCount_(app.store.LayerCount),
          capacity_(app.store.LayerCapacity),
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
        store.LayerCapacity = capacity_;
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
    std::uint8_t layerCount_;
    std::int16_t capacity_;
    std::uint8_t nextLayer_, currentLayer_;
    std::array<std::string, LayerTableSize> names_;
    std::array<std::uint8_t, LayerTableSize> colors_;
    std::array<std::int16_t, LayerTableSize> on_;
    std::uint8_t mergedCount_;
    std::vector<std::string> mergedNames_;
    std::int16_t suppressTerrain_;
    ClipBuffer clip_;
    Rgb backColor_ = 0;
};

// The merges read the file into the map apart; false when the file is not of their type.
bool ReadJdxApart(MapApart& apart, const std::string& path, std::string* stoppedAt) {
    App& app = *apart.map;
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
    std::int64_t headerRecord = 1;
    if (!EqualsIgnoreCase(Trim(header.text), JdxMagic)) {
        if (count < 2) return false;
        header = record(headerRecord = 2);
        if (!EqualsIgnoreCase(Trim(header.text), JdxMagic)) return false;
    }
    const int fileLayers = header.layer;
    ProveJdxWhole(bytes, header, headerRecord, stoppedAt);
    apart.backColor = header.color;
    if (fileLayers > app.store.LayerCount) {
        std::vector<FileRecord> layers;
        for (int i = 2; i <= fileLayers + 1 && i <= count; ++i) layers.push_back(record(i));
        AddFileLayers(app, fileLayers, LayerTable(layers));
    }
    if (!BeginMerge(app, path)) throw MergesFull{};
    // As the open reads it: the end record ends the drawing, other records of layer 0 are none.
    for (std::int64_t i = fileLayers + 2; i <= count; ++i) {
        if (static_cast<size_t>(i) * FixedRecordSize > bytes.size()) break;
        if (IsFixedEndRecord(bytes.data() + static_cast<size_t>(i - 1) * FixedRecordSize)) break;
        const FileRecord r = record(i);
        if (r.layer == 0) continue;
        AppendDrawingRecord(app, r, Trim(r.text), nullptr);
    }
    return true;
}

bool ReadWtwApart(MapApart& apart, const std::string& path, std::string* stoppedAt) {
    App& app = *apart.map;
    const std::string bytes = ReadWholeFile(path);
    size_t pos = 0;
    FileRecord header;
    if (!DecodeVariableRecord(bytes, pos, header) || !EqualsIgnoreCase(Trim(header.text), WtwMagic)) return false;
    ProveWtwWhole(bytes, stoppedAt);
    apart.backColor = header.color;
    std::vector<FileRecord> layers;
    FileRecord r;
    for (int i = 0; i < header.layer && DecodeVariableRecord(bytes, pos, r); ++i) layers.push_back(r);
    AddFileLayers(app, header.layer, LayerTable(layers));
    if (!BeginMerge(app, path)) throw MergesFull{};
    while (DecodeVariableRecord(bytes, pos, r)) {
        if (r.layer == 0) {
            if (IsEndRecord(r)) break;
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

// A DXF file is read as the open reads its lines; false when its sixth line is not "$ACADVER".
// Nothing is merged from a file that holds no entity the merge keeps: `layersOnly` tells a file
// whose entities carry no subclass markers (release 12).
bool ReadDxfApart(MapApart& apart, const std::string& path, std::string* stoppedAt, bool& layersOnly) {
    App& app = *apart.map;
    std::string bytes = ReadWholeFile(path);
    {
        TextLineReader head(bytes.substr(0, 65536));
        std::string line;
        for (int n = 0; n < 6; ++n)
            if (!head.ReadLine(line)) return false;
        if (!EqualsIgnoreCase(Trim(line), "$ACADVER")) return false;
    }
    if (!BeginMerge(app, path)) throw MergesFull{};
    // The merge reads only the entities it keeps; the open reads more of them, and checks each
    // number it reads. A file the open would refuse (a damaged number in a 2-D polyline's vertex or
    // in a release-12 entity) is refused here too, with the open's reason and line.
    if (const std::optional<DxfImportOutcome> opened = ReadDxfAsOpened(app, path); opened && opened->failed) {
        NoteStop(stoppedAt, opened->failureLine > 0 ? LineWhere(opened->failureLine) : std::string());
        throw RuntimeError(opened->failureNumber, opened->failureText);
    }
    DxfLines in(std::move(bytes));
    DxfMerge merge{app, in};
    try {
        merge.Run();
    } catch (...) {
        NoteStop(stoppedAt, LineWhere(static_cast<long long>(in.LineNumber())));
        throw;
    }
    layersOnly = merge.entityLinesSeen && !merge.markerSeen;
    return true;
}

}  // namespace

MergeResult MergeDrawingFile(App& app, int filterIndex, const std::string& path, std::string* stoppedAt) {
    MapApart apart(app);
    bool layersOnly = false;
    try {
        const bool read = filterIndex == 1   ? ReadJdxApart(apart, path, stoppedAt)
                          : filterIndex == 2 ? ReadWtwApart(apart, path, stoppedAt)
                                             : ReadDxfApart(apart, path, stoppedAt, layersOnly);
        if (!read) return MergeResult::WrongFile;
    } catch (const MergesFull&) {
        return MergeResult::MergesFull;
    }
    if (filterIndex == 3 && !apart.HoldsAnyRecord())
        return layersOnly ? MergeResult::LayersOnly : MergeResult::NothingHeld;
    MergeRollback rollback(app);
    try {
        TakeMergedFile(app, apart);
    } catch (...) {
        // Taking over fails only for want of memory or room: the open map is put back, unless
        // records were moved between layers on the way; what was merged then stays.
        const RuntimeError error = CurrentRuntimeError();
        if (rollback.TakeBack()) throw error;
        ShowMessageLine(app, ReadStoppedText(FileNameOf(path), std::string(), error, InsertPartlyMergedText));
    }
    return MergeResult::Merged;
}

void InsertDrawingFile(App& app) {
    SetCanvasPointer(app, PointerSizeAll);
    bool merged = false;
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
        if (chosen.filterIndex < 1 || chosen.filterIndex > 3) break;
        MergeResult result = MergeResult::WrongFile;
        const std::string& path = chosen.fileName;
        const std::uint8_t mergedBefore = app.mapFile.MergedFileCount;
        std::string stoppedAt;
        app.mapFile.LastReadUnusableRecords = 0;
        try {
            RequireRegularFile(path);
            result = MergeDrawingFile(app, chosen.filterIndex, path, &stoppedAt);
        } catch (...) {
            // The file was read apart, or its taking over was taken back: the open map is as it was.
            ShowMessageLine(app, ReadStoppedText(FileNameOf(path), stoppedAt, CurrentRuntimeError(), OpenMapKeptText));
            SetCanvasPointer(app, PointerCross);
            return;
        }
        if (result == MergeResult::WrongFile) {
            ShowMessageLine(app, FileNameOf(path) + "：" + InsertWrongFileMessage);
            continue;
        }
        if (result != MergeResult::Merged) {
            // Nothing merged: the open map stays as it was, and the user is told why.
            if (result != MergeResult::MergesFull)
                ShowMessageLine(app, FileNameOf(path) + "：" +
                                         (result == MergeResult::LayersOnly ? DxfLayersOnlyMessage : DxfNothingHeldMessage));
            SetCanvasPointer(app, PointerCross);
            return;
        }
        if (app.mapFile.MergedFileCount != mergedBefore) DeleteFarMergedRecords(app, path);
        merged = true;
        break;
    }
    SetCanvasPointer(app, PointerCross);
    if (!merged) return;
    app.current.ModifiedFlag = -1;
    ReduceCoordinates(app);
    ComputeDrawingExtents(app);
    ZoomToExtentsSeam(app);
    RedrawSeam(app);
    UndoCheckpoint(app, 1);
}

}  // namespace movra
