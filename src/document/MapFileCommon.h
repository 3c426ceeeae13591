#pragma once
// The steps both map files take the same way: the header and the layer table first, the drawing
// layer by layer and slot by slot, the end record last; the same report on success and failure.
// The files differ only in the record form and in what they leave out or add.

#include <cstddef>
#include <cstdint>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "basic/Files.h"
#include "document/CoordinateReductionState.h"
#include "document/DrawingRecordDecoder.h"
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
    // Room for a record of at most `bytes` bytes, to be encoded in place and then taken with Done.
    char* Room(std::size_t bytes);
    void Done(std::size_t bytes);
    // Adds the end record (repeating `last`), writes what is left and puts the file in place.
    void Finish(const FileRecord& last);

private:
    void Flush();
    AtomicFileWriter out_;
    RecordAppender append_;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
    std::size_t capacity_ = 0;
    std::string scratch_;
};

// Encodes a drawing record of the map record at (layer, slot) straight from the record: the fixed
// form of 132 bytes, or the variable form with the attribute string joined to the text by "!".
class DrawingRecordEncoder {
public:
    void Fixed(ChunkedRecordWriter& out, const MapRecord& record, int layer, int slot);
    // The fixed form into `out`, which must hold FixedRecordSize bytes.
    void Fixed(char* out, const MapRecord& record, int layer, int slot);
    void Variable(ChunkedRecordWriter& out, const MapRecord& record, int layer, int slot);

private:
    // The font field of each face name met, by its place in the table of names.
    const std::string& FontBytes(const FaceName& font);
    std::vector<std::string> fontBytes_;
    std::vector<bool> fontKnown_;
};

// Decodes the drawing records of a map file straight into the slots of the store, in one pass:
// the texts from code page 936 with blanks removed at both ends, the fonts through a cache of the
// names met, and the drawing extents widened as the records are stored.
class DrawingRecordSink {
public:
    explicit DrawingRecordSink(App& app);
    // Appends a drawing record (its 92 head bytes, its text and font fields as they are in the
    // file) to its layer (layers above LayerCount go to LayerCount), growing the capacity as
    // needed. `splitExtra`: a "!" in the text starts the attribute string. Raises when the store
    // refuses the record.
    // The writers write each layer's open slot, a cleared record of type 0; one that ends its layer
    // is no record and is not committed, so that a map read and saved again keeps its size. Such a
    // record is held back until the next record shows whether its layer goes on.
    void Append(const char* head, std::string_view textBytes, std::string_view fontBytes, bool splitExtra);
    // Call after the last record: a record still held back ended its layer and is dropped. Returns
    // whether the extents were widened in the order ComputeDrawingExtents visits the records; when
    // not, they are put back as the header gave them.
    bool FinishExtents();

    // For a reader that stores the records itself, on several threads: whether the extents are
    // widened as records are stored, and the stop to it when the records did not come in layer order.
    bool Widening() const { return widen_; }
    void StopWidening() { widen_ = false; }
    // Records read with a vertex beyond the storable range, marked deleted (DrawingRecordDecoder);
    // a reader on several threads adds those its decoders found.
    int Unusable() const { return decoder_.Unusable() + unusableElsewhere_; }
    void AddUnusable(int count) { unusableElsewhere_ += count; }

private:
    void Store(const char* head, std::string_view textBytes, std::string_view fontBytes, bool splitExtra);

    App& app_;
    DrawingExtents headerExtents_;
    bool widen_ = false;
    int lastLayer_ = 0;
    int unusableElsewhere_ = 0;
    DrawingRecordDecoder decoder_;
    // The head of a cleared record held back, when `held_`.
    std::array<char, RecordHeadSize> heldHead_{};
    bool held_ = false;
};

// How a map file lays out its records.
struct MapFileLayout {
    std::string_view magic;
    std::uint8_t layerRecordType = 0;
    RecordAppender append = nullptr;
    std::size_t slack = 0;
    // What the file keeps between the layer table and the drawing (updating `last`); may be null.
    void (*afterLayers)(const App& app, ChunkedRecordWriter& out, FileRecord& last) = nullptr;
    // Whether a map record goes into the file.
    bool (*keepRecord)(const MapRecord& record) = nullptr;
    // The variable form, with the attribute string; otherwise the fixed form.
    bool variable = false;
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
// line says why the file was not read. `read` may say that it widened the drawing extents itself
// (FinishMapRead).
bool ReadMapFile(App& app, const std::string& path,
                 const std::function<bool(FileWindow& file, OpenMapKeeper& keeper, bool& extentsWidened)>& read);

// Reads the header and the layer records with `next`. False, with the message shown (naming the
// file at `path`) and the failure reported, when the header does not carry `magic`; raises when the
// header is unusable or the file ends inside the layer table. Nothing is taken over yet.
bool ReadMapHead(App& app, const std::string& path, const std::function<bool(FileRecord&)>& next,
                 std::string_view magic, const char* wrongFileMessage, FileRecord& header,
                 std::vector<FileRecord>& layerRecords);
// Takes over the header and the layer table (the open map goes to `keeper`) and makes the layers.
// Layer table entries above the file's layer count are reset: they belonged to the map before.
void TakeOverMapHead(App& app, OpenMapKeeper& keeper, const FileRecord& header,
                     const std::vector<FileRecord>& layerRecords);

}  // namespace movra
