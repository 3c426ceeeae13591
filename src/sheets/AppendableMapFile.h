#pragma once
// A compact map file that records are added to: a new file gets its head from the caller; an
// existing one keeps every record it holds, its header (the caller may change it) and its layer
// table, and the new records take the place of its end record. The whole file is written again
// through a temporary file renamed over it, so a failure leaves the old file as it was.
#include <cstdint>
#include <string>
#include <vector>

#include "document/FileRecord.h"
#include "document/MapFileCommon.h"

namespace movra {

class PendingFolderSyncs;

class AppendableMapFile {
public:
    enum class State {
        New,       // no file of that name
        Existing,  // a compact map file: records are added behind its own
        Foreign,   // something else of that name (a folder, a short or foreign file): left alone
    };

    // Looks at the file; raises nothing (an unreadable file counts as foreign).
    explicit AppendableMapFile(std::string path);

    State state() const { return state_; }
    // The header of an existing file.
    const FileRecord& header() const { return header_; }
    // The whole records the file keeps before the added ones (header and layer table included).
    std::int64_t keptRecords() const { return static_cast<std::int64_t>(kept_.size() / FixedRecordSize); }
    // The next slot number of a layer: its drawing records so far, in the file and added.
    std::int16_t NextSlot(int layer);
    // The highest slot number a drawing record was given since the file was opened; -1 when none.
    int highestNewSlot() const { return highestNewSlot_; }

    // Makes room for that many more records to be added.
    void Reserve(std::size_t records) { added_.reserve(added_.size() + records * FixedRecordSize); }
    // Adds a record behind those there (a new file takes them after its header).
    void Add(const FileRecord& record);
    // Adds a drawing record under the next slot of its layer.
    void AddDrawing(FileRecord record);
    // The same, encoded straight from a record of the map, which must stay as it is until Commit.
    void AddDrawing(const MapRecord& record, int layer);
    // A temporary record would be gone by then.
    void AddDrawing(MapRecord&& record, int layer) = delete;
    // Writes the file: the header, what it kept, the added records and an end record. Raises
    // when the file cannot be written (the old file stays whole). Not for a foreign file. With
    // `later`, its folder is synced by the caller (AtomicFileWriter::Commit).
    void Commit(const FileRecord& header, PendingFolderSyncs* later = nullptr);

private:
    std::string path_;
    State state_ = State::Foreign;
    FileRecord header_;
    std::string kept_;  // bytes of the records kept, header first
    std::string added_;
    FileRecord last_;  // the end record repeats the record before it
    bool hasLast_ = false;
    // The last record added, when it came straight from the map: its file record is made only
    // for the end record.
    const MapRecord* lastDrawing_ = nullptr;
    int lastDrawingLayer_ = 0, lastDrawingSlot_ = 0;
    DrawingRecordEncoder encoder_;
    std::vector<std::int32_t> slots_ = std::vector<std::int32_t>(256, 0);
    int highestNewSlot_ = -1;
};

}  // namespace movra
