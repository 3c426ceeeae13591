#include "document/MapFileCommon.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <exception>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Gbk.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/AfterMapRead.h"
#include "document/BrokenLines.h"
#include "document/DrawingExtents.h"
#include "document/DrawingRecordDecoder.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "document/RecordTypes.h"
#include "document/StoreRecord.h"
#include "platform/PictureBox.h"
#include "shell/stForm1.h"

namespace movra {

namespace {

// Records are gathered in memory and handed to the file in stretches of this size.
constexpr std::size_t WriteChunkBytes = 1 << 20;

}  // namespace

ChunkedRecordWriter::ChunkedRecordWriter(const std::string& path, RecordAppender append, std::size_t slack)
    : out_(path), append_(append) {
    capacity_ = WriteChunkBytes + std::max<std::size_t>(slack, 1024);
    buffer_ = std::make_unique_for_overwrite<char[]>(capacity_);
}

char* ChunkedRecordWriter::Room(std::size_t bytes) {
    if (used_ + bytes > capacity_) {
        Flush();
        if (bytes > capacity_) {
            buffer_ = std::make_unique_for_overwrite<char[]>(bytes);
            capacity_ = bytes;
        }
    }
    return buffer_.get() + used_;
}

void ChunkedRecordWriter::Done(std::size_t bytes) {
    used_ += bytes;
    if (used_ >= WriteChunkBytes) Flush();
}

void ChunkedRecordWriter::Flush() {
    out_.Write(std::string_view(buffer_.get(), used_));
    used_ = 0;
}

void ChunkedRecordWriter::Add(const FileRecord& record) {
    scratch_.clear();
    append_(scratch_, record);
    std::memcpy(Room(scratch_.size()), scratch_.data(), scratch_.size());
    Done(scratch_.size());
}

void ChunkedRecordWriter::Finish(const FileRecord& last) {
    Add(MakeEndRecord(last));
    Flush();
    out_.Commit();
}

// --- Drawing records straight from the store ---

namespace {

void PutHead(char* out, const MapRecord& m, int layer, int slot) {
    PutFieldAt<std::uint8_t>(out, 0, static_cast<std::uint8_t>(layer));
    PutFieldAt<std::int16_t>(out, 1, static_cast<std::int16_t>(slot));
    PutFieldAt<std::int16_t>(out, 3, 0);
    PutFieldAt<std::uint8_t>(out, 5, m.RecordType);
    PutFieldAt<std::int32_t>(out, 6, m.RecordColor);
    PutFieldAt<double>(out, 10, m.RecordX1);
    PutFieldAt<double>(out, 18, m.RecordY1);
    PutFieldAt<float>(out, 26, m.RecordZ1);
    PutFieldAt<double>(out, 30, m.RecordX2);
    PutFieldAt<double>(out, 38, m.RecordY2);
    PutFieldAt<float>(out, 46, m.RecordZ2);
    PutFieldAt<double>(out, 50, m.RecordX3);
    PutFieldAt<double>(out, 58, m.RecordY3);
    PutFieldAt<float>(out, 66, m.RecordZ3);
    PutFieldAt<double>(out, 70, m.RecordX4);
    PutFieldAt<double>(out, 78, m.RecordY4);
    PutFieldAt<float>(out, 86, m.RecordZ4);
    PutFieldAt<std::int16_t>(out, 90, m.RecordPen);
}

void PutCount(char* out, std::size_t count) { PutFieldAt<std::uint16_t>(out, 0, static_cast<std::uint16_t>(count)); }

}  // namespace

const std::string& DrawingRecordEncoder::FontBytes(const FaceName& font) {
    const std::size_t i = font.Index();
    if (i >= fontKnown_.size()) {
        fontKnown_.resize(i + 1, false);
        fontBytes_.resize(i + 1);
    }
    if (!fontKnown_[i]) {
        fontBytes_[i] = TextToFileField(font.str(), MaxVariableStringBytes);
        fontKnown_[i] = true;
    }
    return fontBytes_[i];
}

void DrawingRecordEncoder::Fixed(ChunkedRecordWriter& out, const MapRecord& m, int layer, int slot) {
    Fixed(out.Room(FixedRecordSize), m, layer, slot);
    out.Done(FixedRecordSize);
}

void DrawingRecordEncoder::Fixed(char* r, const MapRecord& m, int layer, int slot) {
    PutHead(r, m, layer, slot);
    char* text = r + RecordHeadSize;
    const std::size_t n = EncodeGbk(m.RecordText.View(), text, FixedTextWidth);
    std::memset(text + n, ' ', FixedTextWidth - n);
    // The font field is cut on a character boundary like the text.
    const std::string& font = FontBytes(m.RecordFont);
    std::size_t f = 0;
    while (f < font.size()) {
        const std::size_t step = static_cast<unsigned char>(font[f]) >= 0x81 && f + 1 < font.size() ? 2 : 1;
        if (f + step > FixedFontWidth) break;
        f += step;
    }
    std::memcpy(text + FixedTextWidth, font.data(), f);
    std::memset(text + FixedTextWidth + f, ' ', FixedFontWidth - f);
}

void DrawingRecordEncoder::Variable(ChunkedRecordWriter& out, const MapRecord& m, int layer, int slot) {
    const std::string_view text = m.RecordText.View();
    const std::string_view extra = m.RecordExtra.View();
    const std::string& font = FontBytes(m.RecordFont);
    // Code page 936 never takes more bytes than UTF-8.
    const std::size_t textRoom = std::min(text.size() + (extra.empty() ? 0 : 1 + extra.size()), MaxVariableStringBytes);
    char* r = out.Room(RecordHeadSize + 4 + textRoom + font.size());
    PutHead(r, m, layer, slot);
    char* at = r + RecordHeadSize + 2;
    // The text and the attribute string joined by "!", cut as one text would be.
    std::size_t n = EncodeGbk(text, at, MaxVariableStringBytes);
    if (!extra.empty() && n < MaxVariableStringBytes) {
        at[n++] = '!';
        n += EncodeGbk(extra, at + n, MaxVariableStringBytes - n);
    }
    PutCount(at - 2, n);
    at += n;
    PutCount(at, font.size());
    std::memcpy(at + 2, font.data(), font.size());
    out.Done(RecordHeadSize + 4 + n + font.size());
}

DrawingRecordSink::DrawingRecordSink(App& app) : app_(app), headerExtents_(app.extents), widen_(app.form1 != nullptr) {}

void DrawingRecordSink::Append(const char* head, std::string_view textBytes, std::string_view fontBytes,
                               bool splitExtra) {
    if (held_) {
        held_ = false;
        // A held cleared record was not the end of its layer after all.
        if (head[0] == heldHead_[0]) Store(heldHead_.data(), {}, {}, false);
    }
    if (decoder_.IsHeldBack(head, textBytes, fontBytes)) {
        std::memcpy(heldHead_.data(), head, RecordHeadSize);
        held_ = true;
        return;
    }
    Store(head, textBytes, fontBytes, splitExtra);
}

void DrawingRecordSink::Store(const char* head, std::string_view textBytes, std::string_view fontBytes,
                              bool splitExtra) {
    App& app = app_;
    auto& store = app.store;
    const int layer = std::min<int>(FieldAt<std::uint8_t>(head, 0), store.LayerCount);
    if (layer < 1 || layer > store.LayerDimension()) Raise(ErrSubscriptOutOfRange);
    store.CurrentLayer = static_cast<std::uint8_t>(layer);
    int slot = store.Count(layer);
    // A file may announce less room than it fills: make room before the store is asked.
    while (slot + 1 > store.LayerCapacity) {
        const int before = store.LayerCapacity;
        if (before >= 31100) widen_ = false;  // records may move to a new layer
        GrowLayerCapacity(app);
        slot = store.Count(store.CurrentLayer);
        if (store.LayerCapacity <= before && slot + 1 > store.LayerCapacity) Raise(ErrSubscriptOutOfRange);
    }
    const int target = store.CurrentLayer;
    MapRecord& m = store.FillSlot(target, slot);
    decoder_.Fill(head, textBytes, fontBytes, splitExtra, app.mapFile.MergedFileCount, m, store);
    store.Count(target) = slot + 1;

    if (widen_) {
        // The extents visit the layers in order: a file that goes back to a lower layer is widened
        // again once it is read.
        if (target < lastLayer_) widen_ = false;
        lastLayer_ = target;
        if (store.LayerOnFlag[static_cast<std::size_t>(target)] == -1) WidenDrawingExtents(app.extents, m.RecordX1, m.RecordY1);
    }
    if (store.Count(store.CurrentLayer) > store.LayerCapacity - 10) {
        if (store.LayerCapacity >= 31100) widen_ = false;
        GrowLayerCapacity(app);
    }
}

bool DrawingRecordSink::FinishExtents() {
    held_ = false;
    app_.mapFile.LastReadUnusableRecords = Unusable();
    // The records were widened over as ComputeDrawingExtents visits them, a layer of one record
    // included, so they stand unless the file went back to a lower layer.
    if (!widen_) app_.extents = headerExtents_;
    return widen_;
}

void WriteMapFile(App& app, const std::string& path, const MapFileLayout& layout) {
    try {
        SetCanvasPointer(app, PointerHourglass);
        const auto& store = app.store;
        ChunkedRecordWriter out(path, layout.append, layout.slack);

        FileRecord last = MakeMapHeader(app, layout.magic, ExtentsToShow(app));
        out.Add(last);
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            last = MakeLayerRecord(app, layer, layout.layerRecordType);
            out.Add(last);
        }
        if (layout.afterLayers) layout.afterLayers(app, out, last);
        DrawingRecordEncoder encoder;
        const MapRecord* lastRecord = nullptr;
        int lastLayer = 0, lastSlot = 0;
        for (int layer = 1; layer <= store.LayerCount; ++layer) {
            const int limit = SavedSlotLimit(app, layer);
            for (int slot = 0; slot <= limit; ++slot) {
                const MapRecord& m = store.Get(layer, slot);
                if (!layout.keepRecord(m)) continue;
                if (layout.variable) {
                    encoder.Variable(out, m, layer, slot);
                } else {
                    encoder.Fixed(out, m, layer, slot);
                }
                lastRecord = &m;
                lastLayer = layer;
                lastSlot = slot;
            }
        }
        // The end record repeats the fields of the record before it.
        if (lastRecord) last = MakeDrawingRecord(*lastRecord, lastLayer, lastSlot, std::string());
        out.Finish(last);

        app.current.CurrentFilePath = path;
        SetCanvasPointer(app, PointerCross);
        app.current.ModifiedFlag = 0;
        FinishMapWrite(app, path);
    } catch (const std::exception& e) {
        SetCanvasPointer(app, PointerCross);
        app.current.ModifiedFlag = -1;
        ReportMapSaveFailure(app, path, SaveFailureReason(e));
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
    // The sheet frame template lives in layer 0 of the kept store.
    std::int16_t frameItemCount = 0;
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
    kept->frameItemCount = app_.sheets.FrameItemCount;
    // The new map starts from the tables the store had; lock flags are never reset by a read. Its
    // slots come from the memory the maps before it gave up.
    RecordStore fresh;
    fresh.ShareBlocksOf(kept->store);
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
    app_.sheets.FrameItemCount = kept->frameItemCount;
}

void OpenMapKeeper::Drop() { kept_.reset(); }

bool ReadMapFile(App& app, const std::string& path,
                 const std::function<bool(FileWindow& file, OpenMapKeeper& keeper, bool& extentsWidened)>& read) {
    OpenMapKeeper keeper(app);
    app.mapFile.LastReadUnusableRecords = 0;
    try {
        SetCanvasPointer(app, PointerHourglass);
        FileWindow file(path);
        bool extentsWidened = false;
        if (!read(file, keeper, extentsWidened)) {
            keeper.PutBack();
            return false;
        }
        keeper.Drop();

        app.current.CurrentFilePath = path;
        SetCanvasPointer(app, PointerCross);
        // A line with a record left out is left out whole. The extents are then computed again
        // over the records as they stand (a record left out, its coordinates cleared, counts for
        // nothing), rather than trusted as widened while the records came in.
        if (app.mapFile.LastReadUnusableRecords > 0)
            app.mapFile.LastReadUnusableRecords += LeaveOutBrokenLines(app.store, app.mapFile.MergedFileCount);
        const int unusable = app.mapFile.LastReadUnusableRecords;
        FinishMapRead(app, path, extentsWidened && unusable == 0);
        if (unusable > 0)
            ShowMessageLine(app, FileNameOf(path) + "：" + std::to_string(unusable) + NonFiniteRecordsMessage);
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

bool ReadMapHead(App& app, const std::string& path, const std::function<bool(FileRecord&)>& next,
                 std::string_view magic, const char* wrongFileMessage, FileRecord& header,
                 std::vector<FileRecord>& layerRecords) {
    if (!next(header)) Raise(ErrInputPastEnd);
    if (!EqualsIgnoreCase(header.text, magic)) {
        SetCanvasPointer(app, PointerCross);
        ShowMessageLine(app, FileNameOf(path) + "：" + wrongFileMessage);
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
                     const std::vector<FileRecord>& layerRecords) {
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
}

}  // namespace movra
