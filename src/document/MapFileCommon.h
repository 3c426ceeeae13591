#pragma once
// The steps both map files take the same way: the header and the layer table first, the drawing
// layer by layer and slot by slot, the end record last; the same report on success and failure.
// The files differ only in the record form and in what they leave out or add.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "basic/Files.h"
#include "document/FileRecord.h"
#include "document/MapRecord.h"

namespace movra {

struct App;

using RecordAppender = void (*)(std::string& out, const FileRecord& record);

// Records gathered in memory and handed to the file in stretches of about a mebibyte, so that a
// large map is neither written record by record nor held in memory twice.
class ChunkedRecordWriter {
public:
    // `slack`: room kept beyond a stretch for the record that fills it.
    ChunkedRecordWriter(const std::string& path, RecordAppender append, std::size_t slack = 0);
    void Add(const FileRecord& record);
    // Adds the end record (repeating `last`), writes what is left and puts the file in place.
    void Finish(const FileRecord& last);

private:
    AtomicFileWriter out_;
    RecordAppender append_;
    std::string buffer_;
};

// How a map file lays out its records.
struct MapFileLayout {
    std::string_view magic;
    std::uint8_t layerRecordType = 0;
    RecordAppender append = nullptr;
    std::size_t slack = 0;
    // What the file keeps between the layer table and the drawing (updating `last`); may be null.
    void (*afterLayers)(const App& app, ChunkedRecordWriter& out, FileRecord& last) = nullptr;
    // The text a map record is written with; false keeps the record out of the file.
    bool (*drawingText)(const MapRecord& record, std::string& text) = nullptr;
};

// Writes the map to `path` in the given layout. On success CurrentFilePath becomes the path, the
// map counts as saved and the path enters the recent files; on failure the caption reports it and
// the map counts as unsaved.
void WriteMapFile(App& app, const std::string& path, const MapFileLayout& layout);

// The open map as a reader found it. The reader proves the whole file before it takes anything
// over; should the reading fail after all (the file changed under it, memory ran out), the map,
// its tables and settings are put back as they were, so that a damaged file never leaves half a
// map behind that a later save would write over the good file.
class OpenMapKeeper {
public:
    explicit OpenMapKeeper(App& app);
    ~OpenMapKeeper();
    OpenMapKeeper(const OpenMapKeeper&) = delete;
    OpenMapKeeper& operator=(const OpenMapKeeper&) = delete;

    // Takes the open map aside; the store is left empty with the lock flags kept.
    void Keep();
    // Puts the kept map back (nothing when nothing was kept).
    void PutBack();
    // The new map is complete: the kept one is let go.
    void Drop();

private:
    struct Kept;
    App& app_;
    std::unique_ptr<Kept> kept_;
};

// Reads a map file: `read` takes the file over and returns false when it refused the file (and said
// so). On success CurrentFilePath becomes the path and the map is finished as read, and true is
// returned; on failure the open map stays as it was, the caption names it again and the message
// line says why the file was not read.
bool ReadMapFile(App& app, const std::string& path,
                 const std::function<bool(FileWindow& file, OpenMapKeeper& keeper)>& read);

// Reads the header and the layer records with `next`. False, with the message shown and the
// failure reported, when the header does not carry `magic`; raises when the header is unusable or
// the file ends inside the layer table. Nothing is taken over yet.
bool ReadMapHead(App& app, const std::function<bool(FileRecord&)>& next, std::string_view magic,
                 const char* wrongFileMessage, FileRecord& header, std::vector<FileRecord>& layerRecords);
// Takes over the header and the layer table (the open map goes to `keeper`), makes the layers and
// reserves the room the drawing records (counted per file layer) are about to take. Layer table
// entries above the file's layer count are reset: they belonged to the map before.
void TakeOverMapHead(App& app, OpenMapKeeper& keeper, const FileRecord& header,
                     const std::vector<FileRecord>& layerRecords, const std::vector<std::int32_t>& recordsPerFileLayer);

// Appends the drawing records of a file in order. The writers write each layer's open slot, a
// cleared record of type 0; one that ends its layer is no record and is not committed, so that a
// map read and saved again keeps its size.
class DrawingRecordSink {
public:
    explicit DrawingRecordSink(App& app) : app_(app) {}
    // `extra` may be null (no attribute string).
    void Add(const FileRecord& record, std::string text, const std::string* extra);
    // Commits what is still held back; call after the last record.
    void Finish() { held_.reset(); }

private:
    void CommitHeld();
    App& app_;
    std::unique_ptr<FileRecord> held_;
};

// A record as the writers write an open slot: type 0 and every field cleared.
bool IsClearedRecord(const FileRecord& record);

}  // namespace movra
