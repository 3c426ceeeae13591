#include "document/MapFileCommon.h"

#include <exception>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Text.h"
#include "document/AfterMapRead.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "platform/PictureBox.h"

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
    } catch (const std::exception&) {
        SetCanvasPointer(app, PointerCross);
        ReportMapFileFailure(app);
        app.current.ModifiedFlag = -1;
    }
}

void ReadMapFile(App& app, const std::string& path, const std::function<bool(FileWindow& file)>& read) {
    try {
        SetCanvasPointer(app, PointerHourglass);
        FileWindow file(path);
        if (!read(file)) return;

        app.current.CurrentFilePath = path;
        SetCanvasPointer(app, PointerCross);
        FinishMapRead(app, path);
    } catch (const std::exception&) {
        SetCanvasPointer(app, PointerCross);
        ReportMapFileFailure(app);
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

void TakeOverMapHead(App& app, const FileRecord& header, const std::vector<FileRecord>& layerRecords,
                     const std::vector<std::int32_t>& recordsPerFileLayer) {
    ApplyMapHeader(app, header);
    for (const auto& r : layerRecords) ApplyLayerRecord(app, r);
    新建层(app);
    ReserveLayerSlots(app, recordsPerFileLayer);
}

}  // namespace movra
