#pragma once
// The compact map file (*.jdx): fixed 132-byte records addressed by number. Record 1 is the header,
// records 2..L+1 the layer records of layers 1..L, then the drawing records layer by layer, slot
// by slot, and the end record. It keeps the map settings, the layer table and the vector drawing;
// not the image records, the attribute strings, the field names or the merged-file tags.
//
// The record builders and appliers below are shared by both map files, the sheet files and the
// layer rebuild, so that every file of the program lays out its header and layers one way.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "document/FileRecord.h"
#include "document/MapRecord.h"
#include "document/SaveFailure.h"

namespace movra {

struct App;
struct DrawingExtents;

inline constexpr const char* JdxMagic = "MOVRAJDX1";
inline constexpr const char* EndRecordText = "JVQ";
inline constexpr std::uint8_t EndRecordType = 11;
inline constexpr std::uint8_t HeaderRecordType = 255;
inline constexpr std::uint8_t JdxLayerRecordType = 1;
// The main window's caption after a map file failed to be read or written: this followed by
// CurrentFilePath, the map that is still open.
inline constexpr const char* MapFileFailureCaption = "MOVRA_";
// Shown in the message line when a file is not a compact map file; it is left unread.
inline constexpr const char* JdxWrongFileMessage = "不是jdx图形文件，未读入";
// Shown in the message line when a map file could not be read whole (followed by the file's name
// and the reason); the open map stays as it was.
inline constexpr const char* MapFileNotReadMessage = "图形文件未读入：";
// Follows the number of records whose coordinates were no numbers or beyond the storable range,
// left out of a map read.
inline constexpr const char* NonFiniteRecordsMessage = "个图元的坐标不是有效数字或超出范围，已删除（不显示也不保存）。";

// Writes the map to `path` (through a temporary file renamed over it). On success CurrentFilePath
// becomes the path, the map counts as saved and the path enters the recent files; on failure the
// caption reports it and the map counts as unsaved.
void WriteJdxFile(App& app, const std::string& path);
// Replaces the map with the file's and returns true. A file that is not a compact map file, or
// that is damaged (cut inside a record and without its end record, unusable header or layer
// records), leaves the map, its path and flag as they were; the caption names the open map again
// and the message line says why.
bool ReadJdxFile(App& app, const std::string& path);

// --- Records shared by the map files ---

// The header: layer count, capacity, background colour, project parameters, extents and
// reduction offsets (three of them in single precision), next layer index, magic text, font "3".
// The whole map's files give ExtentsToShow, so that a new map opens again showing its drawing.
FileRecord MakeMapHeader(const App& app, std::string_view magic, const DrawingExtents& extents);
// The layer record of `layer` with the given record type (1 in a compact, 255 in a full file).
FileRecord MakeLayerRecord(const App& app, int layer, std::uint8_t type);
// A drawing record of the map record at (layer, slot) with the text as given.
FileRecord MakeDrawingRecord(const MapRecord& record, int layer, int slot, std::string text);
// The end record: layer 0, slot 0, type 11, text "JVQ"; the other fields repeat `previous`.
FileRecord MakeEndRecord(const FileRecord& previous);
bool IsEndRecord(const FileRecord& record);
// The same test on the bytes of a fixed record, and the text and font fields of those bytes.
bool IsFixedEndRecord(const char* record);
std::string_view FixedTextField(const char* record);
std::string_view FixedFontField(const char* record);

// Whether a slot goes into a map file: layers whose count is 1 or more, slots 0..count (the open
// slot included), within the store's dimensions.
int SavedSlotLimit(const App& app, int layer);
// A double in a single-precision field; beyond its range it becomes an infinity, not undefined.
float ToFileSingle(double value);

// Reading. A header is usable when it names at least one layer and a capacity of 0 or more.
bool MapHeaderUsable(const FileRecord& header);
// Takes over the header's settings (the canvas takes its colour as back colour).
void ApplyMapHeader(App& app, const FileRecord& header);
// Takes over a layer record into the layer table entry its slot names (ignored outside 0..255).
void ApplyLayerRecord(App& app, const FileRecord& record);
// Appends a drawing record to its layer (layers above LayerCount go to LayerCount) with the given
// text and attribute string, growing the capacity as needed. Raises when the store refuses it.
void AppendDrawingRecord(App& app, const FileRecord& record, const std::string& text,
                         const std::string* extra);
// The failure report of the map file procedures: the caption names the map still open.
void ReportMapFileFailure(App& app);
// A save that failed: the caption names the map still open, and a message box names the file and
// the reason.
void ReportMapSaveFailure(App& app, const std::string& path, const std::string& reason);
// The canvas pointer: the hourglass while a file is read or written, the cross-hair afterwards.
void SetCanvasPointer(App& app, int pointer);
// The message line of the main window, when there is one.
void ShowMessageLine(App& app, const std::string& text);

}  // namespace movra
