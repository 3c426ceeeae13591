#pragma once
// The open commands of the main window: a map file chosen through the common file dialog replaces
// the open map; a recent file is opened from the tool bar's menu; DXF files go to the data
// exchange.
#include <cstdint>
#include <optional>
#include <string>

#include "document/ImportSeams.h"

namespace movra {

struct App;

// Compact or full map file by the filter chosen; with "所有文件" by the file's own extension.
// These ask no save question: the commands that call them ask first (SaveBeforeReplacing).
void OpenDrawingDialog(App& app);
void OpenJdxFile(App& app);
void OpenWtwFile(App& app);
// Asks the save question itself, then reads the DXF file into a new document.
void OpenDxfFile(App& app);
// Opens RecentFiles entry n (0..3) after the save question, as the other open commands do.
void OpenRecentFile(App& app, std::int16_t n);

// Opens the map named on the command line (as the file manager starts the program) as the open
// commands open a file of its type: .jdx and .wtw maps, .dxf drawings. A file that cannot be read
// gets the reader's message and leaves the empty map. A relative name is taken from the current
// folder and the map known by its absolute path (the recent files keep that).
void OpenNamedMap(App& app, const std::string& path);

// Reads the DXF file as the open command reads it, into a map apart that shares only the palette,
// the settings and the scale of `app`, and tells how the reading ended; `app` is not touched.
// The insert takes a DXF file only when this read it to its end. Nothing when the data exchange is
// not there to read it.
std::optional<DxfImportOutcome> ReadDxfAsOpened(App& app, const std::string& path);

// What the settings dialog does when an opened map's settings are shown and taken over: the scale
// factor and the sizes derived from the scale.
void ApplyOpenedMapSettings(App& app);

// The DXF open commands' messages: a file that is no DXF file, and a release-12 file, whose
// entities carry no subclass markers.
inline constexpr const char* NotDxfMessage = "不是dxf文件，未打开";
// Both leave the open map as it was.
inline constexpr const char* DxfLayersOnlyMessage = "该文件为R12版本的dxf文件，没有可读入的图元，打开的图未改变。";
// A file whose entities are all of kinds the program does not keep (hatches, points, ...).
inline constexpr const char* DxfNothingHeldMessage = "文件中没有可读入的图元（如只有填充或点），打开的图未改变。";
// Follows the number of entities left out for a coordinate beyond the farthest storable one.
inline constexpr const char* DxfFarEntitiesMessage = "个图元的坐标超出范围（离原点超过10亿米），未读入。";

}  // namespace movra
