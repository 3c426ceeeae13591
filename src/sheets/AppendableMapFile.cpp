#include "sheets/AppendableMapFile.h"

#include <algorithm>
#include <exception>

#include "basic/Errors.h"
#include "basic/Files.h"
#include "basic/Text.h"
#include "document/JdxFile.h"
#include "document/RecordStore.h"

namespace movra {

AppendableMapFile::AppendableMapFile(std::string path) : path_(std::move(path)) {
    try {
        if (FolderExists(path_)) return;
        if (!FileExists(path_)) {
            state_ = State::New;
            return;
        }
        std::string bytes = ReadWholeFile(path_);
        // A file of whole records that begins with a compact map file's header and layer table.
        if (bytes.size() % FixedRecordSize != 0 || bytes.size() < FixedRecordSize) return;
        header_ = DecodeFixedRecord(bytes);
        if (!MapHeaderUsable(header_) || !EqualsIgnoreCase(header_.text, JdxMagic)) return;
        const std::size_t records = bytes.size() / FixedRecordSize;
        const std::size_t headRecords = 1 + static_cast<std::size_t>(header_.layer);
        if (records < headRecords) return;

        // The drawing ends at the first end record: a reader never looks behind it.
        std::size_t end = records;
        last_ = DecodeFixedRecord(std::string_view(bytes).substr((headRecords - 1) * FixedRecordSize));
        hasLast_ = true;
        for (std::size_t r = headRecords; r < records; ++r) {
            const FileRecord record = DecodeFixedRecord(std::string_view(bytes).substr(r * FixedRecordSize));
            if (IsEndRecord(record)) {
                end = r;
                break;
            }
            last_ = record;
            if (record.layer != 0) ++slots_[record.layer];
        }
        bytes.resize(end * FixedRecordSize);
        kept_ = std::move(bytes);
        state_ = State::Existing;
    } catch (const std::exception&) {
        state_ = State::Foreign;
    }
}

std::int16_t AppendableMapFile::NextSlot(int layer) {
    auto& count = slots_.at(static_cast<std::size_t>(layer));
    const std::int32_t slot = count++;
    // Readers do not place records by their slot: past the 16-bit range the number stays there.
    return static_cast<std::int16_t>(std::min<std::int32_t>(slot, MaxLayerCapacity));
}

void AppendableMapFile::Add(const FileRecord& record) {
    AppendFixedRecord(added_, record);
    last_ = record;
    hasLast_ = true;
    lastDrawing_ = nullptr;
}

void AppendableMapFile::AddDrawing(FileRecord record) {
    record.slot = NextSlot(record.layer);
    highestNewSlot_ = std::max<int>(highestNewSlot_, record.slot);
    Add(record);
}

void AppendableMapFile::AddDrawing(const MapRecord& record, int layer) {
    const std::int16_t slot = NextSlot(layer);
    highestNewSlot_ = std::max<int>(highestNewSlot_, slot);
    const std::size_t at = added_.size();
    added_.resize(at + FixedRecordSize);
    encoder_.Fixed(added_.data() + at, record, layer, slot);
    lastDrawing_ = &record;
    lastDrawingLayer_ = layer;
    lastDrawingSlot_ = slot;
    hasLast_ = true;
}

void AppendableMapFile::Commit(const FileRecord& header, PendingFolderSyncs* later) {
    if (state_ == State::Foreign) Raise(ErrPathFileAccess);
    AtomicFileWriter out(path_);
    std::string head;
    AppendFixedRecord(head, header);
    out.Write(head);
    if (kept_.size() > FixedRecordSize) out.Write(std::string_view(kept_).substr(FixedRecordSize));
    out.Write(added_);
    std::string end;
    if (lastDrawing_) {
        last_ = MakeDrawingRecord(*lastDrawing_, lastDrawingLayer_, lastDrawingSlot_, lastDrawing_->RecordText);
        lastDrawing_ = nullptr;
    }
    AppendFixedRecord(end, MakeEndRecord(hasLast_ ? last_ : header));
    out.Write(end);
    out.Commit(later);
}

}  // namespace movra
