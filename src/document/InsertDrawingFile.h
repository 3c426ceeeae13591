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
// Ends the message of a merge that failed after it had moved records between layers.
inline constexpr const char* InsertPartlyMergedText = "已插入的部分保留在图中。";

// Asks for the file and merges it. The open map keeps its own path, so a later save does not
// write over the inserted file.
void InsertDrawingFile(App& app);

// The merges by file type; false when the file is not of that type (nothing merged). Exposed for
// the tests; InsertDrawingFile picks one by the dialog's filter. A merge that raises first writes
// where it stopped ("第3条记录", "第12行") into `stoppedAt`, when given; the caller takes the
// merge back.
bool MergeJdxFile(App& app, const std::string& path, std::string* stoppedAt = nullptr);
bool MergeWtwFile(App& app, const std::string& path, std::string* stoppedAt = nullptr);
// True when the file was merged (also when it ended early); the closing steps are the caller's.
bool MergeDxfFile(App& app, const std::string& path, std::string* stoppedAt = nullptr);

}  // namespace movra
