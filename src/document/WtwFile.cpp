#include "document/WtwFile.h"

#include <algorithm>
#include <exception>
#include <vector>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Text.h"
#include "document/DrawingExtents.h"
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
    layout.keepRecord = [](const MapRecord& m) { return m.RecordType < 100; };  // not the deleted
    layout.variable = true;
    WriteMapFile(app, path, layout);
}

bool ReadWtwFile(App& app, const std::string& path) {
    return ReadMapFile(app, path, [&app, &path](FileWindow& file, OpenMapKeeper& keeper, bool& extentsWidened) {
        auto next = [&file](FileRecord& record) { return ReadVariableRecord(file, record); };
        FileRecord header;
        std::vector<FileRecord> layerRecords;
        if (!ReadMapHead(app, path, next, WtwMagic, WtwWrongFileMessage, header, layerRecords)) return false;
        TakeOverMapHead(app, keeper, header, layerRecords);

        DrawingRecordSink sink(app);
        FileRecord record;
        for (;;) {
            // A record cut short by the end of the file makes the file damaged: the open map is put
            // back. A file that simply ends without its end record is read to its end.
            bool cut = false;
            const std::size_t size = EnsureVariableRecord(file, &cut);
            if (size == 0) {
                if (cut) Raise(ErrInputPastEnd);
                break;
            }
            const char* r = file.Available().data();
            if (r[0] != 0) {
                // A drawing record goes straight from the file's bytes into its slot.
                const std::size_t textSize = static_cast<unsigned char>(r[RecordHeadSize]) |
                                             static_cast<unsigned char>(r[RecordHeadSize + 1]) << 8;
                const char* text = r + RecordHeadSize + 2;
                const char* font = text + textSize + 2;
                const std::size_t fontSize = static_cast<unsigned char>(font[-2]) | static_cast<unsigned char>(font[-1]) << 8;
                sink.Append(r, std::string_view(text, textSize), std::string_view(font, fontSize), true);
                file.Consume(size);
                continue;
            }
            ReadVariableRecord(file, record);
            if (IsEndRecord(record)) break;
            if (record.type >= FieldNameRecordType1 && record.type <= FieldNameRecordType1 + 3) {
                ApplyFieldNameRecord(app, record);
            }
            // any other record of layer 0 is no drawing
        }
        extentsWidened = sink.FinishExtents();
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
        FileRecord last = MakeMapHeader(app, WtwMagic, ExtentsToShow(app));
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

        // Only the work buffer went to the file: the open map keeps its own saved state, so that
        // leaving still asks to save its edits.
        SetCanvasPointer(app, PointerCross);
    } catch (const std::exception& e) {
        SetCanvasPointer(app, PointerCross);
        // The map is not touched; the user is told that the work buffer was not saved.
        TellSaveFailed(app, path, SaveFailureReason(e));
    }
}

}  // namespace movra
