#pragma once
// Merging another map file (compact, full or DXF) into the open map. Layers the file has beyond
// the map's are added; every inserted record carries the merge's number in RecordSource, so that
// one merged file can later be removed as a whole. MergedFileCount and MergedFileNames (in
// MapFileState) keep the count and the names of the files in the map.
#include <string>

namespace movra {

struct App;

inline constexpr const char* InsertWrongFileMessage = "不是可插入的图形文件，请重新选择";
inline constexpr const char* MergedFilesFullMessage = "已合并255个文件，不能再插入";

// Asks for the file and merges it. The open map keeps its own path, so a later save does not
// write over the inserted file.
void InsertDrawingFile(App& app);

// The merges by file type; false when the file is not of that type (nothing merged). Exposed for
// the tests; InsertDrawingFile picks one by the dialog's filter.
bool MergeJdxFile(App& app, const std::string& path);
bool MergeWtwFile(App& app, const std::string& path);
// True when the file was merged (also when it ended early); the closing steps are the caller's.
bool MergeDxfFile(App& app, const std::string& path);

}  // namespace movra
