#include "document/MapFileCommon.h"

#include <array>
#include <exception>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/AfterMapRead.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "platform/PictureBox.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// Records are gathered in memory and handed to the file in stretches of this size.
constexpr std::size_t WriteChunkBytes = 1 << 20;

}  // namespace

ChunkedRecordWriter::ChunkedRecordWriter(const std::string& path, RecordAppender append, std::size_t slack)
    : out_(path), append_(append) {
    if (slack > 0) buffer_.reserve(WriteChunkBytes + slack);
}

void ChunkedRecordWriter::Add(const FileRecord& record) {
    append_(buffer_, record);
    if (buffer_.size() >= WriteChunkBytes) {
        out_.Write(buffer_);
        buffer_.clear();
    }
}

void ChunkedRecordWriter::Finish(const FileRecord& last) {
    append_(buffer_, MakeEndRecord(last));
    out_.Write(buffer_);
    out_.Commit();
}

void WriteMapFile(App& app, const std::string& path, const MapFileLayout& layout) {
    try {
        SetCanvasPointer(app, PointerHourglass);
        const auto& store = app.store;
        ChunkedRecordWriter out(path, layout.append, layout.slack);

        FileRecord last = MakeMapHeader(app, layout.magic);
        out.Add(last);
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            last = MakeLayerRecord(app, layer, layout.layerRecordType);
            out.Add(last);
        }
        if (layout.afterLayers) layout.afterLayers(app, out, last);
        std::string text;
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            const int limit = SavedSlotLimit(app, layer);
            for (int slot = 0; slot <= limit; ++slot) {
                const MapRecord& m = store.Get(layer, slot);
                if (!layout.drawingText(m, text)) continue;
                last = MakeDrawingRecord(m, layer, slot, std::move(text));
                out.Add(last);
            }
        }
        out.Finish(last);

        app.current.CurrentFilePath = path;
        SetCanvasPointer(app, PointerCross);
        app.current.ModifiedFlag = 0;
        FinishMapWrite(app, path);
    } catch (const std::exception& e) {
        SetCanvasPointer(app, PointerCross);
        app.current.ModifiedFlag = -1;
        const auto* error = dynamic_cast<const RuntimeError*>(&e);
        ReportMapSaveFailure(app, path, error ? error->description : std::string(e.what()));
    }
}

struct OpenMapKeeper::Kept {
    RecordStore store;
    std::array<double, 6> params{};
    DrawingExtents extents{};
    double offsetX = 0, offsetY = 0;
    Rgb canvasBackColor = 0;
    bool hasCanvas = false;
    std::array<std::vector<std::string>, 5> fieldNames{};
    Rgb currentColor = 0;
};

OpenMapKeeper::OpenMapKeeper(App& app) : app_(app) {}
OpenMapKeeper::~OpenMapKeeper() = default;

void OpenMapKeeper::Keep() {
    if (kept_) return;
    auto kept = std::make_unique<Kept>();
    kept->store = std::move(app_.store);
    kept->params = app_.view.ProjectParams;
    kept->extents = app_.extents;
    kept->offsetX = app_.reduction.ReductionOffsetX;
    kept->offsetY = app_.reduction.ReductionOffsetY;
    if (app_.form1) {
        kept->canvasBackColor = app_.form1->Picture1.BackColor();
        kept->hasCanvas = true;
    }
    kept->fieldNames = app_.mapFile.AttributeFieldNames;
    kept->currentColor = app_.current.CurrentColor;
    // The new map starts from the tables the store had; lock flags are never reset by a read.
    RecordStore fresh;
    fresh.LayerNames = kept->store.LayerNames;
    fresh.LayerColorIndex = kept->store.LayerColorIndex;
    fresh.LayerOnFlag = kept->store.LayerOnFlag;
    fresh.LayerLockFlag = kept->store.LayerLockFlag;
    fresh.LayerCount = kept->store.LayerCount;
    fresh.LayerCapacity = kept->store.LayerCapacity;
    fresh.NextLayerIndex = kept->store.NextLayerIndex;
    fresh.CurrentLayer = kept->store.CurrentLayer;
    app_.store = std::move(fresh);
    kept_ = std::move(kept);
}

void OpenMapKeeper::PutBack() {
    if (!kept_) return;
    std::unique_ptr<Kept> kept = std::move(kept_);
    app_.store = std::move(kept->store);
    app_.view.ProjectParams = kept->params;
    app_.extents = kept->extents;
    app_.reduction.ReductionOffsetX = kept->offsetX;
    app_.reduction.ReductionOffsetY = kept->offsetY;
    if (kept->hasCanvas && app_.form1) app_.form1->Picture1.SetBackColor(kept->canvasBackColor);
    app_.mapFile.AttributeFieldNames = std::move(kept->fieldNames);
    // The selector lists the kept layers again; choosing a layer there touches its flags and the
    // current colour, which go back to what they were.
    const auto onFlags = app_.store.LayerOnFlag;
    const auto lockFlags = app_.store.LayerLockFlag;
    const auto current = app_.store.CurrentLayer;
    RestoreLayerSelector(app_);
    app_.store.LayerOnFlag = onFlags;
    app_.store.LayerLockFlag = lockFlags;
    app_.store.CurrentLayer = current;
    app_.current.CurrentColor = kept->currentColor;
}

void OpenMapKeeper::Drop() { kept_.reset(); }

bool ReadMapFile(App& app, const std::string& path,
                 const std::function<bool(FileWindow& file, OpenMapKeeper& keeper)>& read) {
    OpenMapKeeper keeper(app);
    try {
        SetCanvasPointer(app, PointerHourglass);
        FileWindow file(path);
        if (!read(file, keeper)) {
            keeper.PutBack();
            return false;
        }
        keeper.Drop();

        app.current.CurrentFilePath = path;
        SetCanvasPointer(app, PointerCross);
        // A message left by an earlier failed read no longer holds.
        ClearMapFileMessage(app);
        FinishMapRead(app, path);
        return true;
    } catch (const std::exception& e) {
        try {
            keeper.PutBack();
        } catch (...) {
        }
        SetCanvasPointer(app, PointerCross);
        ReportMapFileFailure(app);
        const auto* error = dynamic_cast<const RuntimeError*>(&e);
        ShowMessageLine(app, std::string(MapFileNotReadMessage) + FileNameOf(path) + "（" +
                                 (error ? error->description : std::string("文件已损坏")) + "）");
        return false;
    }
}

bool ReadMapHead(App& app, const std::function<bool(FileRecord&)>& next, std::string_view magic,
                 const char* wrongFileMessage, FileRecord& header, std::vector<FileRecord>& layerRecords) {
    if (!next(header)) Raise(ErrInputPastEnd);
    if (!EqualsIgnoreCase(header.text, magic)) {
        SetCanvasPointer(app, PointerCross);
        ShowMessageLine(app, wrongFileMessage);
        ReportMapFileFailure(app);
        return false;
    }
    if (!MapHeaderUsable(header)) Raise(ErrBadRecordNumber);
    // The header and the layer table are only taken over when the file holds all of them.
    layerRecords.assign(header.layer, FileRecord{});
    for (auto& r : layerRecords) {
        if (!next(r)) Raise(ErrInputPastEnd);
    }
    return true;
}

void TakeOverMapHead(App& app, OpenMapKeeper& keeper, const FileRecord& header,
                     const std::vector<FileRecord>& layerRecords, const std::vector<std::int32_t>& recordsPerFileLayer) {
    keeper.Keep();
    ApplyMapHeader(app, header);
    auto& store = app.store;
    // Names and colours of layers the file does not have belonged to the map before.
    for (int i = store.LayerCount + 1; i < LayerTableSize; ++i) {
        const auto k = static_cast<std::size_t>(i);
        store.LayerNames[k].clear();
        store.LayerColorIndex[k] = 0;
        store.LayerOnFlag[k] = 0;
    }
    for (const auto& r : layerRecords) ApplyLayerRecord(app, r);
    新建层(app);
    ReserveLayerSlots(app, recordsPerFileLayer);
}

bool IsClearedRecord(const FileRecord& r) {
    return r.type == 0 && r.color == 0 && r.x1 == 0 && r.y1 == 0 && r.z1 == 0 && r.x2 == 0 && r.y2 == 0 &&
           r.z2 == 0 && r.x3 == 0 && r.y3 == 0 && r.z3 == 0 && r.x4 == 0 && r.y4 == 0 && r.z4 == 0 &&
           r.pen == 0 && r.text.empty() && r.font.empty();
}

void DrawingRecordSink::CommitHeld() {
    if (!held_) return;
    std::unique_ptr<FileRecord> held = std::move(held_);
    AppendDrawingRecord(app_, *held, held->text, nullptr);
}

void DrawingRecordSink::Add(const FileRecord& record, std::string text, const std::string* extra) {
    // A held cleared record was not the end of its layer after all.
    if (held_ && held_->layer == record.layer) CommitHeld();
    held_.reset();
    if (IsClearedRecord(record) && text.empty() && (!extra || extra->empty())) {
        held_ = std::make_unique<FileRecord>(record);
        return;
    }
    AppendDrawingRecord(app_, record, text, extra);
}

}  // namespace movra
