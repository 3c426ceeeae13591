#pragma once
// The full map file (*.wtw): variable-form records one after the other, so texts are never cut.
// Header, the layer records of layers 1..L, the attribute field names of classes 1..4, the drawing
// records (image records included, each text joined with its attribute string by "!") and the end
// record. The layout of header, layer and end records is the compact file's.

#include <cstdint>
#include <string>

namespace movra {

struct App;

inline constexpr const char* WtwMagic = "MOVRAWTW1";
inline constexpr std::uint8_t WtwLayerRecordType = 255;
// Record types of the field-name records of attribute classes 1..4 (53 + class).
inline constexpr std::uint8_t FieldNameRecordType1 = 54;
inline constexpr const char* WtwWrongFileMessage = "不是wtw图形文件，未读入";

// Writes the map to `path` (through a temporary file renamed over it). On success CurrentFilePath
// becomes the path, the map counts as saved and the path enters the recent files; on failure the
// caption reports it and the map counts as unsaved.
void WriteWtwFile(App& app, const std::string& path);
// Replaces the map with the file's, with attribute strings and field names, and returns true. A
// file that is not a full map file, or that is damaged (cut inside a record, unusable header or
// layer records), leaves the map, its path and flag as they were; the caption names the open map
// again and the message line says why.
bool ReadWtwFile(App& app, const std::string& path);
// Writes the work buffer as a one-layer full map file; the map, its path and the recent files stay
// as they are. A failure is shown in a message box.
void WriteClipWtwFile(App& app, const std::string& path);

// "text!extra" when the record has an attribute string, the text alone otherwise.
std::string JoinTextAndExtra(const std::string& text, const std::string& extra);

}  // namespace movra
