#include "document/JdxFile.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/RecordPositions.h"
#include "document/StoreRecord.h"
#include "document/Layers.h"
#include "document/MapFileCommon.h"
#include "document/ParallelDrawingRead.h"
#include "document/RecordTypes.h"
#include "document/WtwFile.h"
#include "shell/stForm1.h"

namespace movra {

// --- Shared records ---

float ToFileSingle(double value) {
    constexpr double most = std::numeric_limits<float>::max();
    if (value > most) return std::numeric_limits<float>::infinity();
    if (value < -most) return -std::numeric_limits<float>::infinity();
    return static_cast<float>(value);
}

FileRecord MakeMapHeader(const App& app, std::string_view magic, const DrawingExtents& extents) {
    const auto& store = app.store;
    const auto& params = app.view.ProjectParams;
    FileRecord h;
    h.layer = store.LayerCount;
    h.slot = store.LayerCapacity;
    h.type = HeaderRecordType;
    h.color = app.view.BackgroundColor;
    h.x1 = params[0];
    h.y1 = params[1];
    h.z1 = ToFileSingle(params[2]);
    h.x2 = params[3];
    h.y2 = params[4];
    h.z2 = ToFileSingle(params[5]);
    h.x3 = extents.ExtentMinX;
    h.y3 = extents.ExtentMinY;
    h.z3 = ToFileSingle(extents.ExtentMaxX);
    h.x4 = extents.ExtentMaxY;
    h.y4 = app.reduction.ReductionOffsetX;
    h.z4 = ToFileSingle(app.reduction.ReductionOffsetY);
    h.pen = store.NextLayerIndex;
    h.text = std::string(magic);
    h.font = "3";
    return h;
}

FileRecord MakeLayerRecord(const App& app, int layer, std::uint8_t type) {
    const auto& store = app.store;
    const auto i = static_cast<std::size_t>(layer);
    FileRecord r;
    r.slot = static_cast<std::int16_t>(layer);
    r.type = type;
    r.color = store.LayerColorIndex.at(i);
    r.x1 = store.LayerOnFlag.at(i) != 0 ? -1 : 0;
    r.y1 = 1;
    r.text = store.LayerNames.at(i);
    r.font = "3";
    return r;
}

FileRecord MakeDrawingRecord(const MapRecord& m, int layer, int slot, std::string text) {
    FileRecord r;
    r.layer = static_cast<std::uint8_t>(layer);
    r.slot = static_cast<std::int16_t>(slot);
    r.type = m.RecordType;
    r.color = m.RecordColor;
    r.x1 = m.RecordX1; r.y1 = m.RecordY1; r.z1 = m.RecordZ1;
    r.x2 = m.RecordX2; r.y2 = m.RecordY2; r.z2 = m.RecordZ2;
    r.x3 = m.RecordX3; r.y3 = m.RecordY3; r.z3 = m.RecordZ3;
    r.x4 = m.RecordX4; r.y4 = m.RecordY4; r.z4 = m.RecordZ4;
    r.pen = m.RecordPen;
    r.text = std::move(text);
    r.font = m.RecordFont;
    return r;
}

FileRecord MakeEndRecord(const FileRecord& previous) {
    FileRecord end = previous;
    end.layer = 0;
    end.slot = 0;
    end.type = EndRecordType;
    end.text = EndRecordText;
    return end;
}

std::string_view FixedTextField(const char* record) { return {record + RecordHeadSize, FixedTextWidth}; }
std::string_view FixedFontField(const char* record) {
    return {record + RecordHeadSize + FixedTextWidth, FixedFontWidth};
}

bool IsFixedEndRecord(const char* record) {
    return record[0] == 0 && static_cast<unsigned char>(record[5]) == EndRecordType &&
           EqualsIgnoreCase(TextFromFileField(FixedTextField(record)), EndRecordText);
}

bool IsEndRecord(const FileRecord& record) {
    // Layer and type as well as the text: a layer or field named "jvq" is not the end.
    return record.layer == 0 && record.type == EndRecordType && EqualsIgnoreCase(record.text, EndRecordText);
}

int SavedSlotLimit(const App& app, int layer) {
    const auto& store = app.store;
    if (layer < 1 || layer > store.LayerDimension()) return -1;
    const int count = store.Count(layer);
    // A layer holding a single record is saved too; an empty one is skipped.
    if (count < 1) return -1;
    return std::min(count, static_cast<int>(store.LayerCapacity));
}

bool MapHeaderUsable(const FileRecord& header) { return header.layer >= 1 && header.slot >= 0; }

void ApplyMapHeader(App& app, const FileRecord& h) {
    auto& store = app.store;
    store.LayerCount = h.layer;
    store.LayerCapacity = h.slot;
    // The next layer number never falls back onto a layer the map already has; a map of 255 layers
    // has no number left and keeps 255.
    const int next = h.pen & 0xFF;
    store.NextLayerIndex = static_cast<std::uint8_t>(std::min(std::max(next, store.LayerCount + 1), 255));
    auto& params = app.view.ProjectParams;
    params[0] = h.x1;
    params[1] = h.y1;
    params[2] = h.z1;
    params[3] = h.x2;
    params[4] = h.y2;
    params[5] = h.z2;
    // Extents or an origin beyond the storable range would leave every view at infinity: the map
    // then starts from empty extents, which its records set, and from no false origin.
    if (IsStorablePoint(h.x3, h.y3) && IsStorablePoint(h.z3, h.x4)) {
        app.extents = DrawingExtents{h.x3, h.y3, h.z3, h.x4};
    } else {
        app.extents = DrawingExtents{};
    }
    const bool storableOrigin = IsStorablePoint(h.y4, h.z4);
    app.reduction.ReductionOffsetX = storableOrigin ? h.y4 : 0;
    app.reduction.ReductionOffsetY = storableOrigin ? h.z4 : 0;
    if (app.form1) app.form1->Picture1.SetBackColor(h.color);
}

void ApplyLayerRecord(App& app, const FileRecord& r) {
    const int k = r.slot;
    if (k < 0 || k >= LayerTableSize) return;
    auto& store = app.store;
    const auto i = static_cast<std::size_t>(k);
    store.LayerNames[i] = r.text;
    store.LayerColorIndex[i] = static_cast<std::uint8_t>(r.color & 0xFF);
    store.LayerOnFlag[i] = r.x1 != 0 ? -1 : 0;
}

void AppendDrawingRecord(App& app, const FileRecord& r, const std::string& text, const std::string* extra) {
    auto& store = app.store;
    const int layer = std::min<int>(r.layer, store.LayerCount);
    if (layer < 1 || layer > store.LayerDimension()) Raise(ErrSubscriptOutOfRange);
    store.CurrentLayer = static_cast<std::uint8_t>(layer);
    // A file may announce less room than it fills: make room before the store is asked.
    const int slot = SlotWithRoom(app, 1);
    const int target = store.CurrentLayer;
    MapRecord& m = store.At(target, slot);
    m.RecordSource = app.mapFile.MergedFileCount;
    m.RecordFont = r.font;
    if (extra) m.RecordExtra = *extra;
    // A record no view can show comes in cleared and deleted, and is counted, so that the merge
    // can say how many it left out.
    if (!HasStorablePositions(r)) {
        ++app.mapFile.LastReadUnusableRecords;
        m.RecordColor = 0;
        m.RecordZ1 = m.RecordZ2 = m.RecordZ3 = m.RecordZ4 = 0;
        m.RecordPen = 0;
        StoreRecord(app, StoreFromFile, 0, 0, 0, 0, 0, 0, 0, 0, 0, text);
        // Deleted under its own type, as the other readers leave such a record, so that the line
        // it belonged to can be told and left out whole (LeaveOutBrokenLines).
        if (store.Count(target) == slot + 1 && !IsDeletedType(r.type) && r.type != TypeEmpty)
            store.At(target, slot).RecordType = static_cast<std::uint8_t>(r.type + DeletedTypeOffset);
    } else {
        m.RecordColor = r.color;
        m.RecordZ1 = r.z1;
        m.RecordZ2 = r.z2;
        m.RecordZ3 = r.z3;
        m.RecordZ4 = r.z4;
        m.RecordPen = static_cast<std::uint8_t>(r.pen & 0xFF);
        StoreRecord(app, StoreFromFile, r.type, r.x1, r.y1, r.x2, r.y2, r.x3, r.y3, r.x4, r.y4, text);
    }
    // The store refuses quietly; a record it did not take ends the reading instead of being lost.
    if (store.Count(target) != slot + 1) Raise(ErrSubscriptOutOfRange);
    if (store.Count(store.CurrentLayer) > store.LayerCapacity - 10) GrowLayerCapacity(app);
}

void ReportMapFileFailure(App& app) {
    if (app.form1) app.form1->SetCaption(MapFileFailureCaption + app.current.CurrentFilePath);
}

void ReportMapSaveFailure(App& app, const std::string& path, const std::string& reason) {
    ReportMapFileFailure(app);
    TellSaveFailed(app, path, reason);
}

void SetCanvasPointer(App& app, int pointer) {
    if (app.form1) app.form1->Picture1.SetMousePointer(pointer);
}

void ShowMessageLine(App& app, const std::string& text) {
    if (app.form1) app.form1->Text2.SetText(text);
}

// --- The compact map file ---

void WriteJdxFile(App& app, const std::string& path) {
    MapFileLayout layout;
    layout.magic = JdxMagic;
    layout.layerRecordType = JdxLayerRecordType;
    layout.append = AppendFixedRecord;
    layout.slack = FixedRecordSize;
    // Deleted records and linked images stay out of the compact file.
    layout.keepRecord = [](const MapRecord& m) { return m.RecordType < 100 && m.RecordType != 70; };
    WriteMapFile(app, path, layout);
}

bool ReadJdxFile(App& app, const std::string& path) {
    return ReadMapFile(app, path, [&app, &path](FileWindow& file, OpenMapKeeper& keeper, bool& extentsWidened) {
        // Only whole records are read; a cut record at the end is no record.
        auto next = [&file](FileRecord& record) {
            if (!file.Ensure(FixedRecordSize)) return false;
            record = DecodeFixedRecord(file.Available());
            file.Consume(FixedRecordSize);
            return true;
        };

        FileRecord header;
        std::vector<FileRecord> layerRecords;
        if (!ReadMapHead(app, path, next, JdxMagic, JdxWrongFileMessage, header, layerRecords)) return false;
        TakeOverMapHead(app, keeper, header, layerRecords);

        // The end record closes the drawing; a file without one (a sheet file) is read to its last
        // whole record. Each record goes straight from the file's bytes into its slot; should the
        // file prove damaged, the open map is put back.
        DrawingRecordSink sink(app);
        bool ended = false;
        if (AppendFixedDrawingInParallel(app, file, sink, ended)) {
            extentsWidened = sink.FinishExtents();
            return true;
        }
        while (!ended && file.Ensure(FixedRecordSize)) {
            const std::string_view view = file.Available();
            const std::size_t whole = view.size() / FixedRecordSize;
            std::size_t i = 0;
            for (; i < whole; ++i) {
                const char* r = view.data() + i * FixedRecordSize;
                if (r[0] == 0) {
                    if (IsFixedEndRecord(r)) {
                        ended = true;
                        ++i;
                        break;
                    }
                    continue;
                }
                sink.Append(r, FixedTextField(r), FixedFontField(r), false);
            }
            file.Consume(i * FixedRecordSize);
        }
        // A sheet file holds whole records without an end record; a map file cut inside a record
        // and without its end is damaged, and nothing of it is taken over.
        if (!ended && !file.Available().empty()) Raise(ErrInputPastEnd);
        extentsWidened = sink.FinishExtents();
        return true;
    });
}

}  // namespace movra
