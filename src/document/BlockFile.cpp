#include "document/BlockFile.h"

#include <algorithm>
#include <cmath>
#include <exception>

#include "App.h"
#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Numbers.h"
#include "basic/Paths.h"
#include "basic/Text.h"
#include "document/FileRecord.h"
#include "document/RecordPositions.h"
#include "document/JdxFile.h"
#include "document/SaveFailure.h"
#include "document/WtwFile.h"

namespace movra {

namespace {

void SetVertices(FileRecord& r, double v1, double v2, double v3, double v4) {
    r.x1 = r.y1 = v1; r.z1 = static_cast<float>(v1);
    r.x2 = r.y2 = v2; r.z2 = static_cast<float>(v2);
    r.x3 = r.y3 = v3; r.z3 = static_cast<float>(v3);
    r.x4 = r.y4 = v4; r.z4 = static_cast<float>(v4);
}

// Asks for a block file; raises the cancel error when the user cancels.
std::string AskBlockPath(App& app, bool save) {
    FileDialogRequest request;
    request.title = save ? BlockSaveTitle : BlockOpenTitle;
    request.filter = BlockFilter;
    request.filterIndex = 2;
    auto& dialogs = app.platform.dialogs();
    const FileDialogResult chosen = save ? dialogs.ShowSave(request) : dialogs.ShowOpen(request);
    if (chosen.cancelled) throw RuntimeError(CancelErrorNumber, "取消");
    app.platform.events().DoEvents();
    return WithDefaultExtension(chosen.fileName, BlockDefaultExt);
}

void WriteBlock(const std::string& path, int headerSlot, const std::vector<FileRecord>& records) {
    std::string bytes;
    AppendVariableRecord(bytes, MakeBlockHeader(headerSlot));
    for (const auto& r : records) AppendVariableRecord(bytes, r);
    AppendVariableRecord(bytes, MakeBlockEnd());
    WriteWholeFile(path, bytes);
}

}  // namespace

FileRecord MakeBlockHeader(int slot) {
    FileRecord h;
    h.slot = static_cast<std::int16_t>(std::clamp(slot, 0, 32767));
    h.type = 1;
    h.color = 2;
    h.pen = 3;
    SetVertices(h, 1, 2, 3, 4);
    h.text = BlockMagic;
    h.font = "4";
    return h;
}

FileRecord MakeBlockEnd() {
    FileRecord e;
    e.layer = 1;
    e.slot = 1;
    e.reserved = 1;
    e.type = 1;
    e.color = 1;
    e.pen = 1;
    SetVertices(e, 1, 2, 3, 4);
    e.text = BlockEndText;
    e.font = "4";
    return e;
}

bool IsBlockEnd(const FileRecord& record) {
    // Block records carry 0 in the reserved field: a record whose own text is "jvqQvk" is no end.
    return record.reserved == 1 && EqualsIgnoreCase(record.text, BlockEndText);
}

std::string TempBlockFilePath(const App& app) {
    return ResolveWritable(PathsFromFolders(app.platform.folders()), TempBlockFileName);
}

void SaveSelectionAsBlock(App& app, std::string& path) {
    try {
        const auto& list = app.selection.SelectionList;
        const int n = list.empty() ? 0 : list[0].Layer;
        if (n <= 2) {
            ShowMessageLine(app, TooFewRecordsMessage);
            return;
        }
        if (path.empty()) path = AskBlockPath(app, true);

        const auto& store = app.store;
        std::vector<FileRecord> records;
        const int last = std::min(n - 1, static_cast<int>(list.size()) - 1);
        for (int k = 1; k <= last; ++k) {
            const int layer = list[static_cast<std::size_t>(k)].Layer;
            const int slot = list[static_cast<std::size_t>(k)].Slot;
            if (layer < 0 || layer > store.LayerDimension() || slot < 0 || slot > store.LayerCapacity) continue;
            const MapRecord& m = store.Get(layer, slot);
            if (m.RecordType >= 100) continue;
            records.push_back(MakeDrawingRecord(m, layer, slot, JoinTextAndExtra(m.RecordText, m.RecordExtra)));
        }
        WriteBlock(path, n, records);
    } catch (const RuntimeError& e) {
        // A cancelled dialog ends quietly; a block that could not be written is told. The file
        // that was there stays whole either way.
        if (e.number != CancelErrorNumber) TellSaveFailed(app, path, e.description);
    } catch (const std::exception& e) {
        TellSaveFailed(app, path, SaveFailureReason(e));
    }
}

bool SaveCopyBufferAsBlock(App& app, std::string& path) {
    try {
        const auto& entries = app.copyBuffer.Entries;
        const int count = entries.empty() ? 0 : entries[0].Layer;
        // A single buffered record is kept too, so that a later paste never loads an older block.
        if (count < 1) {
            ShowMessageLine(app, TooFewRecordsMessage);
            return false;
        }
        path = TempBlockFilePath(app);

        std::vector<FileRecord> records;
        const int last = std::min(count, static_cast<int>(entries.size()) - 1);
        for (int i = 1; i <= last; ++i) {
            const CopyBufferEntry& e = entries[static_cast<std::size_t>(i)];
            if (e.Type >= 100) continue;
            FileRecord r;
            r.layer = static_cast<std::uint8_t>(e.Layer & 0xFF);
            r.slot = e.Slot;
            r.type = e.Type;
            r.color = e.Color;
            r.pen = static_cast<std::int16_t>(e.Pen & 0xFFFF);
            r.x1 = e.X1; r.y1 = e.Y1; r.z1 = e.Z1;
            r.x2 = e.X2; r.y2 = e.Y2; r.z2 = e.Z2;
            r.x3 = e.X3; r.y3 = e.Y3; r.z3 = e.Z3;
            r.x4 = e.X4; r.y4 = e.Y4; r.z4 = e.Z4;
            r.text = e.Text;
            r.font = e.Font;
            records.push_back(std::move(r));
        }
        WriteBlock(path, count + 1, records);
        return true;
    } catch (const std::exception& e) {
        // The block file that was there stays whole, holding an older copy: the user hears of it.
        TellSaveFailed(app, path, SaveFailureReason(e));
        return false;
    }
}

bool LoadBlockFile(App& app, std::string& path) {
    // The records go into a buffer apart and replace the copy buffer only once the block was read
    // to its end record (or its announced count): a cut or damaged block keeps what was copied.
    std::vector<CopyBufferEntry> entries;
    long long record = 0;
    try {
        if (path.empty() || !FileExists(path)) path = AskBlockPath(app, false);
        const std::string bytes = ReadWholeFile(path);
        VariableRecordReader reader(bytes);
        FileRecord header;
        record = 1;
        if (!reader.Next(header)) Raise(ErrInputPastEnd);
        if (!EqualsIgnoreCase(header.text, BlockMagic)) {
            ShowMessageLine(app, FileNameOf(path) + "：" + BlockWrongFileMessage);
            return false;
        }
        const int n = header.slot;
        if (n < 0) Raise(ErrSubscriptOutOfRange);

        entries.assign(static_cast<std::size_t>(n) + 1, CopyBufferEntry{});
        entries[0].Slot = static_cast<std::int16_t>(n);
        int filled = 0;
        FileRecord r;
        for (int i = 1; i <= n; ++i) {
            ++record;
            if (!reader.Next(r)) Raise(ErrInputPastEnd);
            if (IsBlockEnd(r)) break;
            // A vertex that is no number, or lies beyond the storable range, would reach the map
            // at the paste: such a block is not taken.
            if (!HasStorablePositions(r)) {
                ShowMessageLine(app, FileNameOf(path) + "：" + RecordWhere(record) + BlockNonFiniteText + CopyBufferKeptText);
                return false;
            }
            CopyBufferEntry& e = entries[static_cast<std::size_t>(++filled)];
            e.Layer = r.layer;
            e.Slot = r.slot;
            e.Type = r.type;
            e.Color = r.color;
            e.Pen = r.pen;
            e.X1 = r.x1; e.Y1 = r.y1; e.Z1 = r.z1;
            e.X2 = r.x2; e.Y2 = r.y2; e.Z2 = r.z2;
            e.X3 = r.x3; e.Y3 = r.y3; e.Z3 = r.z3;
            e.X4 = r.x4; e.Y4 = r.y4; e.Z4 = r.z4;
            e.Text = r.text;  // a text holding "!" is kept whole
            e.Font = r.font;
        }
        entries[0].Layer = filled;
    } catch (const RuntimeError& e) {
        if (e.number == CancelErrorNumber) {
            ShowMessageLine(app, BlockNotChosenMessage);
        } else {
            ShowMessageLine(app, ReadStoppedText(FileNameOf(path), record > 0 ? RecordWhere(record) : std::string(), e,
                                                 CopyBufferKeptText));
        }
        return false;
    } catch (const std::exception&) {
        ShowMessageLine(app, ReadStoppedText(FileNameOf(path), record > 0 ? RecordWhere(record) : std::string(),
                                             RuntimeError(ErrOutOfMemory), CopyBufferKeptText));
        return false;
    }
    app.copyBuffer.Entries = std::move(entries);
    return true;
}

void FlushCopyBuffer(App& app) {
    if (app.copyBuffer.CopyBufferFlag != -1) return;
    std::string path = TempBlockFilePath(app);
    const bool empty = app.copyBuffer.Entries.empty() || app.copyBuffer.Entries[0].Layer < 1;
    // Kept or nothing to keep: the paste reads the block file from now on. A copy the block file
    // could not take (a full disk) stays the one the paste takes, from memory.
    if (SaveCopyBufferAsBlock(app, path) || empty) app.copyBuffer.CopyBufferFlag = 0;
}

}  // namespace movra
