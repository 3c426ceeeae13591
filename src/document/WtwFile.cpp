#include "document/WtwFile.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/FileRecord.h"
#include "document/JdxFile.h"
#include "document/Layers.h"
#include "document/MapFileCommon.h"
#include "platform/PictureBox.h"

namespace movra {

namespace {

// The field names of classes 1..4. A class is written when it names at least one field, a single
// name in entry 0 included.
void AppendFieldNameRecords(const App& app, ChunkedRecordWriter& out, FileRecord& last) {
    for (int c = 1; c <= 4; ++c) {
        const auto& names = app.mapFile.AttributeFieldNames[static_cast<std::size_t>(c)];
        if (names.empty() || (names.size() == 1 && names[0].empty())) continue;
        const std::size_t upper = std::min<std::size_t>(names.size() - 1, 32767);
        for (std::size_t k = 0; k <= upper; ++k) {
            FileRecord r;
            r.slot = static_cast<std::int16_t>(k);
            r.type = static_cast<std::uint8_t>(FieldNameRecordType1 + c - 1);
            r.color = app.current.CurrentColor;
            r.x1 = c;
            r.y1 = 1;
            r.text = names[k];
            r.font = "3";
            out.Add(r);
            last = std::move(r);
        }
    }
}

void ApplyFieldNameRecord(App& app, const FileRecord& r) {
    if (r.slot < 0) return;
    auto& names = app.mapFile.AttributeFieldNames[static_cast<std::size_t>(r.type - FieldNameRecordType1 + 1)];
    names.resize(static_cast<std::size_t>(r.slot) + 1);
    names[static_cast<std::size_t>(r.slot)] = r.text;
}

// The drawing records per file layer from the window's position on, found by their counted
// strings alone; the window is left at the end of what was counted. A record cut short by the end
// of the file makes the file damaged: it raises before anything of the file is taken over.
std::vector<std::int32_t> CountRecordsPerLayer(FileWindow& file) {
    std::vector<std::int32_t> perLayer(256, 0);
    for (;;) {
        bool cut = false;
        const std::size_t size = EnsureVariableRecord(file, &cut);
        if (cut) Raise(ErrInputPastEnd);
        if (size == 0) break;
        const std::string_view view = file.Available();
        const auto layer = static_cast<unsigned char>(view[0]);
        if (layer == 0 && static_cast<unsigned char>(view[5]) == EndRecordType) break;
        if (layer != 0) ++perLayer[layer];
        file.Consume(size);
    }
    return perLayer;
}

}  // namespace

std::string JoinTextAndExtra(const std::string& text, const std::string& extra) {
    return extra.empty() ? text : text + "!" + extra;
}

void WriteWtwFile(App& app, const std::string& path) {
    MapFileLayout layout;
    layout.magic = WtwMagic;
    layout.layerRecordType = WtwLayerRecordType;
    layout.append = AppendVariableRecord;
    layout.slack = 1024;
    layout.afterLayers = AppendFieldNameRecords;
    layout.drawingText = [](const MapRecord& m, std::string& text) {
        if (m.RecordType >= 100) return false;  // deleted
        text = JoinTextAndExtra(m.RecordText, m.RecordExtra);
        return true;
    };
    WriteMapFile(app, path, layout);
}

bool ReadWtwFile(App& app, const std::string& path) {
    return ReadMapFile(app, path, [&app](FileWindow& file, OpenMapKeeper& keeper) {
        auto next = [&file](FileRecord& record) { return ReadVariableRecord(file, record); };
        FileRecord header;
        std::vector<FileRecord> layerRecords;
        if (!ReadMapHead(app, next, WtwMagic, WtwWrongFileMessage, header, layerRecords)) return false;
        const std::vector<std::int32_t> perLayer = CountRecordsPerLayer(file);
        TakeOverMapHead(app, keeper, header, layerRecords, perLayer);

        file.Rewind();
        FileRecord record;
        for (std::size_t skip = 0; skip <= layerRecords.size(); ++skip) ReadVariableRecord(file, record);
        DrawingRecordSink sink(app);
        for (;;) {
            // The file was proven whole; a record cut short now means it changed under the reader.
            // A file that simply ends without its end record is read to its end.
            bool cut = false;
            if (!ReadVariableRecord(file, record, &cut)) {
                if (cut) Raise(ErrInputPastEnd);
                break;
            }
            if (IsEndRecord(record)) break;
            if (record.layer == 0) {
                if (record.type >= FieldNameRecordType1 && record.type <= FieldNameRecordType1 + 3) {
                    ApplyFieldNameRecord(app, record);
                }
                continue;  // any other record of layer 0 is no drawing
            }
            const std::string& t = record.text;
            const std::size_t bang = t.find('!');
            if (bang == std::string::npos) {
                sink.Add(record, t, nullptr);
            } else {
                // The attribute string is the second piece; further pieces are dropped.
                const std::size_t end = t.find('!', bang + 1);
                const std::string extra =
                    Trim(t.substr(bang + 1, end == std::string::npos ? std::string::npos : end - bang - 1));
                sink.Add(record, t.substr(0, bang), &extra);
            }
        }
        sink.Finish();
        return true;
    });
}

void WriteClipWtwFile(App& app, const std::string& path) {
    try {
        SetCanvasPointer(app, PointerHourglass);
        const auto& clip = app.clip;
        const auto& store = app.store;
        ChunkedRecordWriter out(path, AppendVariableRecord);

        const int count = std::clamp<int>(clip.ClipBufferCount, 0, static_cast<int>(clip.Items.size()) - 1);
        FileRecord last = MakeMapHeader(app, WtwMagic);
        last.layer = 1;
        last.slot = static_cast<std::int16_t>(std::min(count, 32767));
        last.pen = 2;
        out.Add(last);

        // The only layer is named by the map's layer count and layer 1's name ("3道路").
        last = MakeLayerRecord(app, 1, WtwLayerRecordType);
        last.text = PlainNumberText(static_cast<std::int32_t>(store.LayerCount)) + store.LayerNames[1];
        out.Add(last);
        AppendFieldNameRecords(app, out, last);

        for (int i = 1; i <= count; ++i) {
            const MapRecord& item = clip.Items[static_cast<std::size_t>(i)];
            if (item.RecordType >= 100) continue;
            last = MakeDrawingRecord(item, 1, std::min(i, 32767), JoinTextAndExtra(item.RecordText, item.RecordExtra));
            out.Add(last);
        }
        out.Finish(last);

        SetCanvasPointer(app, PointerCross);
        app.current.ModifiedFlag = 0;
    } catch (const std::exception& e) {
        SetCanvasPointer(app, PointerCross);
        // The map is not touched; the user is told that the work buffer was not saved.
        const auto* error = dynamic_cast<const RuntimeError*>(&e);
        app.platform.prompt().MsgBox(std::string(MapSaveFailedMessage) + path + "\n" +
                                         (error ? error->description : std::string(e.what())),
                                     MsgOkOnly | MsgExclamation, MapSaveFailedTitle);
    }
}

}  // namespace movra
